#include "Opciones.h"

#include <charconv>

namespace timbrador {

namespace {

// The value that follows an option such as --demora; missing is an error.
const std::string& Valor_De(const std::vector<std::string>& argumentos, size_t& i) {
    if (i + 1 >= argumentos.size())
        throw Error_Opciones("falta el valor de " + argumentos[i]);
    return argumentos[++i];
}

std::chrono::seconds Leer_Segundos(const std::string& texto) {
    long long segundos = -1;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), segundos);
    if (error != std::errc() || fin != texto.data() + texto.size() || segundos < 0)
        throw Error_Opciones("--demora espera un número entero de segundos, no \"" + texto + "\"");
    return std::chrono::seconds(segundos);
}

void Poner_Entrega(Comportamiento& c, Entrega entrega) {
    if (c.entrega != Entrega::XML_y_PDF && c.entrega != entrega)
        throw Error_Opciones("--solo-xml y --solo-pdf no pueden ir juntas");
    c.entrega = entrega;
}

}  // namespace

Opciones Leer_Opciones(const std::vector<std::string>& argumentos) {
    Opciones o;
    for (size_t i = 0; i < argumentos.size(); ++i) {
        const std::string& a = argumentos[i];
        if (a == "--una-vez") {
            o.una_vez = true;
        } else if (a == "--demora") {
            o.comportamiento.demora = Leer_Segundos(Valor_De(argumentos, i));
        } else if (a == "--solo-xml") {
            Poner_Entrega(o.comportamiento, Entrega::Solo_XML);
        } else if (a == "--solo-pdf") {
            Poner_Entrega(o.comportamiento, Entrega::Solo_PDF);
        } else if (a == "--fallar") {
            o.comportamiento.falla = Valor_De(argumentos, i);
            if (o.comportamiento.falla->empty())
                throw Error_Opciones("--fallar espera un motivo");
        } else if (a == "--carpeta-base") {
            o.carpeta_base = Valor_De(argumentos, i);
        } else if (a == "--registro") {
            o.registro = Valor_De(argumentos, i);
        } else if (a == "--credenciales") {
            o.credenciales = Valor_De(argumentos, i);
        } else if (a == "--ayuda" || a == "-h" || a == "--help") {
            o.ayuda = true;
        } else {
            throw Error_Opciones("opción desconocida: " + a);
        }
    }
    return o;
}

std::string Texto_Uso() {
    return "Uso: timbrador_simulado [--una-vez] [--demora N] [--solo-xml | --solo-pdf]\n"
           "                          [--fallar \"motivo\"] [--carpeta-base CARPETA]\n"
           "                          [--registro ARCHIVO] [--credenciales ARCHIVO]\n"
           "\n"
           "Atiende las carpetas de cola de las sucursales como lo haría el programa de\n"
           "timbrado: deja XML y PDF timbrados en la carpeta de válidas, o el texto de error\n"
           "en la de NO válidas.\n"
           "\n"
           "  --una-vez         una sola pasada y termina (sin ella: una pasada por segundo\n"
           "                    hasta SIGINT o SIGTERM)\n"
           "  --demora N        un archivo se atiende cuando lleva N segundos en la cola\n"
           "                    (nunca antes de un segundo, por si aún se está copiando)\n"
           "  --solo-xml        deja sólo el XML timbrado\n"
           "  --solo-pdf        deja sólo el PDF\n"
           "  --fallar MOTIVO   rechaza todo archivo con ese motivo\n"
           "  --carpeta-base C  atiende C/cola (o C/*/cola) en lugar de las carpetas de los\n"
           "                    perfiles de emisión de la base central; los resultados van a\n"
           "                    validas/ y no_validas/ junto a cada cola\n"
           "  --registro A      añade a A una línea por archivo atendido (timbrada o\n"
           "                    rechazada, sucursal, serie, folio, UUID, líneas del archivo)\n"
           "  --credenciales A  la cuenta de la base central, como la lee el facturador\n"
           "                    (por omisión /etc/facturador/central.conf; si no existe, la\n"
           "                    cuenta integrada)\n";
}

}  // namespace timbrador
