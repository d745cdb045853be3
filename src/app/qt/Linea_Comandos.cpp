#include "app/qt/Linea_Comandos.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace facturador {

namespace {

constexpr const char* kDescripcion =
    "Genera las facturas electrónicas (CFDI 4.0) que los clientes de las sucursales solicitan en "
    "línea: cada segundo convierte las solicitudes pendientes en archivos para timbrar y recoge "
    "los comprobantes timbrados.";

struct Opciones {
    QCommandLineOption ayuda{{QStringLiteral("h"), QStringLiteral("help")},
                             QString::fromUtf8("Muestra esta ayuda y termina.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QString::fromUtf8("Muestra la versión del programa y termina.")};
    QCommandLineOption sin_ventanas{
        QStringLiteral("sin-ventanas"),
        QString::fromUtf8("Corre sin ventana ni ícono de bandeja (como servicio); los avisos van "
                          "al log diario y a la salida de errores.")};
    QCommandLineOption carpeta{
        QStringLiteral("carpeta"),
        QString::fromUtf8("Carpeta del programa, con local.dll, Taldo.dll y "
                          "los logs diarios (por omisión, la del ejecutable)."),
        QStringLiteral("carpeta")};
    QCommandLineOption reencolar{
        QStringLiteral("reencolar"),
        QString::fromUtf8("Vuelve a escribir el archivo para timbrar de la solicitud <id> en "
                          "status 2 cuando no hay archivo ni resultado suyo, para que la copia "
                          "que trabaja lo ponga en la cola, y termina."),
        QStringLiteral("id")};
    QCommandLineOption estado{
        QStringLiteral("estado"),
        QString::fromUtf8(
            "Informa cómo está la facturación y termina: 0 bien, 1 advertencia, "
            "2 crítico (base central inalcanzable, programa detenido o sin ciclos), 3 "
            "desconocido (configuración "
            "local ilegible).")};
    QCommandLineOption json{QStringLiteral("json"),
                            QString::fromUtf8("Con --estado, el informe como un objeto JSON.")};
};

QString Error_De(const Opciones& o, const QCommandLineParser& parser) {
    if (!parser.positionalArguments().isEmpty())
        return QString::fromUtf8("Argumento no reconocido: %1")
            .arg(parser.positionalArguments().constFirst());
    if (parser.isSet(o.estado) && parser.isSet(o.reencolar))
        return QString::fromUtf8("--estado y --reencolar no van juntos.");
    if (parser.isSet(o.json) && !parser.isSet(o.estado))
        return QString::fromUtf8("--json solo acompaña a --estado.");
    return {};
}

void Leer_Carpeta(const QString& carpeta, Linea_Comandos& linea) {
    const QFileInfo info(carpeta);
    if (!info.isDir()) {
        linea.error =
            QString::fromUtf8("La carpeta del programa no existe: %1").arg(carpeta).toStdString();
        return;
    }
    linea.carpeta = QDir::cleanPath(info.absoluteFilePath()).toStdString();
}

void Leer_Id(const QString& texto, Linea_Comandos& linea) {
    bool valido = false;
    linea.id_solicitud = texto.toInt(&valido);
    if (!valido)
        linea.error =
            QString::fromUtf8("El ID de solicitud no es un número: %1").arg(texto).toStdString();
}

}  // namespace

Linea_Comandos Leer_Linea_Comandos(const QStringList& argumentos) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescripcion));
    const Opciones o;
    parser.addOptions(
        {o.ayuda, o.version, o.sin_ventanas, o.carpeta, o.reencolar, o.estado, o.json});

    Linea_Comandos linea;
    linea.ayuda = parser.helpText().toStdString();
    if (!parser.parse(argumentos)) {
        linea.error = parser.errorText().toStdString();
        return linea;
    }
    if (parser.isSet(o.ayuda)) {
        linea.orden = Linea_Comandos::Orden::Ayuda;
        return linea;
    }
    if (parser.isSet(o.version)) {
        linea.orden = Linea_Comandos::Orden::Version;
        return linea;
    }
    linea.error = Error_De(o, parser).toStdString();
    linea.sin_ventanas = parser.isSet(o.sin_ventanas);
    linea.json = parser.isSet(o.json);
    if (parser.isSet(o.estado))
        linea.orden = Linea_Comandos::Orden::Estado;
    if (parser.isSet(o.reencolar)) {
        linea.orden = Linea_Comandos::Orden::Reencolar;
        Leer_Id(parser.value(o.reencolar), linea);
    }
    if (parser.isSet(o.carpeta) && linea.error.empty())
        Leer_Carpeta(parser.value(o.carpeta), linea);
    return linea;
}

bool Pide_Sin_Pantalla(int argc, char** argv) {
    static const char* const kSin_Pantalla[] = {
        "--sin-ventanas", "--estado", "--reencolar", "--help", "-h",
        "--help-all",     "-?",       "--version",   "-v"};
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--reencolar=", 12) == 0)
            return true;
        for (const char* opcion : kSin_Pantalla)
            if (std::strcmp(argv[i], opcion) == 0)
                return true;
    }
    return false;
}

}  // namespace facturador
