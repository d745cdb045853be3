#include "app/Bitacora_Solicitud.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string_view>

#include "data/Poda_Log.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr const char* kGrupo =
    " La cuenta del operador debe pertenecer al grupo facturador para leerla.";

// The daily logs of the folder dated from `desde` on, by date; a folder that cannot be read is
// told in the avisos.
std::map<Fecha_Hora, std::string> Bitacoras(const std::string& carpeta, const Fecha_Hora& desde,
                                            Lineas_Bitacora& lineas) {
    std::map<Fecha_Hora, std::string> bitacoras;
    try {
        for (const std::string& nombre : Archivos_en_Carpeta(carpeta))
            if (const auto fecha = Fecha_de_Log(nombre); fecha && *fecha >= Solo_Fecha(desde))
                bitacoras.emplace(*fecha, Unir_Ruta(carpeta, nombre));
    } catch (const Error_Plataforma& e) {
        lineas.Avisos.push_back("No se pueden leer las bitácoras de " + carpeta + ": " +
                                e.Descripcion + "." + kGrupo);
    }
    return bitacoras;
}

// The first and the last of them when there are too many.
std::map<Fecha_Hora, std::string> Extremos(std::map<Fecha_Hora, std::string> bitacoras) {
    while (bitacoras.size() > kBitacoras_Leidas) {
        auto medio = bitacoras.begin();
        std::advance(medio, kBitacoras_Leidas / 2);
        bitacoras.erase(medio);
    }
    return bitacoras;
}

// "Ver. V. 5.3.0 - 10:15 -  mensaje" as "dd/mm/yyyy 10:15  mensaje".
std::string Con_Fecha(const Fecha_Hora& fecha, std::string_view linea) {
    if (const size_t version = linea.find(" - ");
        linea.starts_with("Ver. ") && version != std::string_view::npos)
        linea.remove_prefix(version + 3);
    std::string texto(linea);
    if (const size_t separador = texto.find(" -  "); separador != std::string::npos)
        texto.replace(separador, 4, "  ");
    return Formato_Fecha(fecha) + " " + texto;
}

void Leer_Bitacora(const Fecha_Hora& fecha, const std::string& ruta, int32_t id,
                   Lineas_Bitacora& lineas) {
    std::string texto;
    try {
        // The service's folder is not the console's: a link or a pipe standing at a log's name
        // is not followed or waited on, and a huge log costs no more than its beginning.
        const Contenido_Archivo leido = Leer_Archivo_Regular(ruta, kMaximo_Bitacora);
        texto = Texto_Leido(leido.Bytes);
        if (!leido.Completo)
            lineas.Avisos.push_back(ruta + " es demasiado grande: se leyeron sus primeros " +
                                    std::to_string(kMaximo_Bitacora >> 20) + " MB.");
    } catch (const Error_Plataforma& e) {
        lineas.Avisos.push_back("No se puede leer " + ruta + ": " + e.Descripcion + "." + kGrupo);
        return;
    }
    std::string_view resto = texto;
    while (!resto.empty()) {
        const size_t fin = std::min(resto.find('\n'), resto.size());
        std::string_view linea = resto.substr(0, fin);
        resto.remove_prefix(std::min(fin + 1, resto.size()));
        if (linea.ends_with('\r'))
            linea.remove_suffix(1);
        if (Linea_Nombra_Solicitud(linea, id))
            lineas.Lineas.push_back(Con_Fecha(fecha, linea));
    }
}

}  // namespace

bool Linea_Nombra_Solicitud(std::string_view linea, int32_t id) {
    const std::string numero = std::to_string(id);
    for (const std::string_view marca : {"Solicitud ID: ", "Error en solicitud: "}) {
        const std::string buscado = std::string(marca) + numero;
        for (size_t i = linea.find(buscado); i != std::string_view::npos;
             i = linea.find(buscado, i + 1)) {
            const size_t despues = i + buscado.size();
            if (despues == linea.size() ||
                !std::isdigit(static_cast<unsigned char>(linea[despues])))
                return true;
        }
    }
    return false;
}

Lineas_Bitacora Lineas_de_Solicitud(const std::vector<std::string>& carpetas, int32_t id,
                                    const Fecha_Hora& desde) {
    Lineas_Bitacora lineas;
    std::map<Fecha_Hora, std::vector<std::string>> por_fecha;
    std::set<Fecha_Hora> leidas;
    size_t omitidas = 0;
    for (const std::string& carpeta : std::set<std::string>(carpetas.begin(), carpetas.end())) {
        const auto todas = Bitacoras(carpeta, desde, lineas);
        const auto bitacoras = Extremos(todas);
        omitidas += todas.size() - bitacoras.size();
        for (const auto& [fecha, ruta] : bitacoras) {
            leidas.insert(fecha);
            Lineas_Bitacora de_una;
            Leer_Bitacora(fecha, ruta, id, de_una);
            auto& destino = por_fecha[fecha];
            destino.insert(destino.end(), de_una.Lineas.begin(), de_una.Lineas.end());
            lineas.Avisos.insert(lineas.Avisos.end(), de_una.Avisos.begin(), de_una.Avisos.end());
        }
    }
    // The worker's and the console's lines of one day in the order of their times.
    for (auto& [fecha, de_fecha] : por_fecha) {
        std::stable_sort(de_fecha.begin(), de_fecha.end(), [](const auto& a, const auto& b) {
            return a.compare(0, 16, b, 0, 16) < 0;
        });
        lineas.Lineas.insert(lineas.Lineas.end(), de_fecha.begin(), de_fecha.end());
    }
    lineas.Alcance = leidas.empty() ? "No hay bitácoras desde el " + Formato_Fecha(desde) + "."
                                    : "Bitácoras del " + Formato_Fecha(*leidas.begin()) + " al " +
                                          Formato_Fecha(*leidas.rbegin()) + "." +
                                          (omitidas ? " Se omitieron " + std::to_string(omitidas) +
                                                          " bitácoras intermedias."
                                                    : "");
    return lineas;
}

}  // namespace facturador
