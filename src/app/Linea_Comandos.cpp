#include "app/Linea_Comandos.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstring>

#include "data/Configuracion.h"
#include "platform/Archivos.h"

namespace facturador {

namespace {

// The installed program works on the package's folder (kCarpeta_Programa_Instalado), so that
// `facturador --estado` works from any shell; a copy run from elsewhere (build/) keeps its folder
// beside it.
constexpr const char* kVariable_Carpeta = "FACTURADOR_CARPETA";

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
        QString::fromUtf8("Carpeta del programa, con local.dll, Taldo.dll y los logs diarios (por "
                          "omisión, la de FACTURADOR_CARPETA; si no, /var/lib/facturador para el "
                          "programa instalado en /usr/bin, o la del ejecutable)."),
        QStringLiteral("carpeta")};
    QCommandLineOption reencolar{
        QStringLiteral("reencolar"),
        QString::fromUtf8("Vuelve a escribir el archivo para timbrar de la solicitud <id> en "
                          "status 2 cuando no hay archivo ni resultado suyo, para que la copia "
                          "que trabaja lo ponga en la cola, y termina."),
        QStringLiteral("id")};
    QCommandLineOption estado{
        QStringLiteral("estado"),
        QString::fromUtf8("Informa cómo está la facturación y termina: 0 bien, 1 advertencia, "
                          "2 crítico (base central inalcanzable, programa detenido o sin ciclos), "
                          "3 desconocido (configuración local ilegible).")};
    QCommandLineOption carpetas_sucursal{
        QStringLiteral("carpetas-sucursal"),
        QString::fromUtf8("Guarda en el perfil de emisión de la sucursal <id> sus carpetas de "
                          "cola, válidas y NO válidas, dadas después (tres carpetas que existen), "
                          "y termina."),
        QStringLiteral("id")};
    QCommandLineOption cuenta{
        QStringLiteral("cuenta"),
        QString::fromUtf8("Cuenta de la base central con la que trabaja: servicio "
                          "(/etc/facturador/central.conf), consola (consola.conf) o monitoreo "
                          "(monitoreo.conf). Por omisión, monitoreo para --estado y servicio "
                          "para lo demás; sin consola.conf o monitoreo.conf, la del servicio."),
        QStringLiteral("cuenta")};
    QCommandLineOption json{QStringLiteral("json"),
                            QString::fromUtf8("Con --estado, el informe como un objeto JSON.")};
};

QString Error_De(const Opciones& o, const QCommandLineParser& parser) {
    const int ordenes =
        parser.isSet(o.estado) + parser.isSet(o.reencolar) + parser.isSet(o.carpetas_sucursal);
    if (parser.isSet(o.carpetas_sucursal) && ordenes == 1 &&
        parser.positionalArguments().size() != 3)
        return QString::fromUtf8(
            "--carpetas-sucursal lleva el ID y tres carpetas: cola, válidas y NO válidas.");
    if (!parser.positionalArguments().isEmpty() && !parser.isSet(o.carpetas_sucursal))
        return QString::fromUtf8("Argumento no reconocido: %1")
            .arg(parser.positionalArguments().constFirst());
    if (ordenes > 1)
        return QString::fromUtf8("--estado, --reencolar y --carpetas-sucursal no van juntos.");
    if (parser.isSet(o.json) && !parser.isSet(o.estado))
        return QString::fromUtf8("--json solo acompaña a --estado.");
    return {};
}

std::string Ruta_Absoluta(const QString& carpeta) {
    return QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath()).toStdString();
}

void Leer_Carpeta(const QString& carpeta, const char* origen, Linea_Comandos& linea) {
    if (!QFileInfo(carpeta).isDir()) {
        linea.error = QString::fromUtf8("La carpeta del programa no existe: %1%2")
                          .arg(carpeta, QString::fromUtf8(origen))
                          .toStdString();
        return;
    }
    linea.carpeta = Ruta_Absoluta(carpeta);
}

void Elegir_Carpeta(const Opciones& o, const QCommandLineParser& parser, Linea_Comandos& linea) {
    if (parser.isSet(o.carpeta))
        Leer_Carpeta(parser.value(o.carpeta), "", linea);
    else if (!qEnvironmentVariableIsEmpty(kVariable_Carpeta))
        Leer_Carpeta(qEnvironmentVariable(kVariable_Carpeta), " (FACTURADOR_CARPETA)", linea);
    else if (Carpeta_Del_Ejecutable() == kCarpeta_Ejecutable_Instalado)
        linea.carpeta = kCarpeta_Programa_Instalado;
}

void Elegir_Cuenta(const Opciones& o, const QCommandLineParser& parser, Linea_Comandos& linea) {
    if (!parser.isSet(o.cuenta)) {
        linea.cuenta = linea.orden == Linea_Comandos::Orden::Estado ? Cuenta_Central::Monitoreo
                                                                    : Cuenta_Central::Servicio;
        return;
    }
    if (const auto cuenta = Cuenta_por_Nombre(parser.value(o.cuenta).toStdString()))
        linea.cuenta = *cuenta;
    else
        linea.error = QString::fromUtf8("--cuenta es servicio, consola o monitoreo, no %1")
                          .arg(parser.value(o.cuenta))
                          .toStdString();
}

void Leer_Id(const QString& texto, const char* que, int32_t& id, Linea_Comandos& linea) {
    bool valido = false;
    id = texto.toInt(&valido);
    if (!valido)
        linea.error = QString::fromUtf8("El ID de %1 no es un número: %2")
                          .arg(QString::fromUtf8(que), texto)
                          .toStdString();
}

}  // namespace

Linea_Comandos Leer_Linea_Comandos(const std::vector<std::string>& argumentos) {
    QStringList lista;
    for (const std::string& argumento : argumentos)
        lista.append(QString::fromStdString(argumento));
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescripcion));
    const Opciones o;
    parser.addOptions({o.ayuda, o.version, o.sin_ventanas, o.carpeta, o.cuenta, o.reencolar,
                       o.estado, o.json, o.carpetas_sucursal});

    Linea_Comandos linea;
    linea.ayuda = parser.helpText().toStdString();
    if (!parser.parse(lista)) {
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
        Leer_Id(parser.value(o.reencolar), "solicitud", linea.id_solicitud, linea);
    }
    if (parser.isSet(o.carpetas_sucursal) && linea.error.empty()) {
        linea.orden = Linea_Comandos::Orden::Carpetas_Sucursal;
        Leer_Id(parser.value(o.carpetas_sucursal), "sucursal", linea.id_sucursal, linea);
        for (const QString& carpeta : parser.positionalArguments())
            linea.carpetas_sucursal.push_back(Ruta_Absoluta(carpeta));
    }
    if (linea.error.empty())
        Elegir_Cuenta(o, parser, linea);
    if (linea.error.empty())
        Elegir_Carpeta(o, parser, linea);
    return linea;
}

bool Pide_Ventanas(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--carpeta") == 0 || std::strcmp(argv[i], "--cuenta") == 0) {
            ++i;
            continue;
        }
        if (std::strncmp(argv[i], "--carpeta=", 10) != 0 &&
            std::strncmp(argv[i], "--cuenta=", 9) != 0)
            return false;
    }
    return true;
}

}  // namespace facturador
