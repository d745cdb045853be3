#include "data/Poda_Log.h"

#include <algorithm>
#include <cctype>

#include "data/Valores_Campo.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"

namespace facturador {

namespace {

bool Son_Digitos(std::string_view texto) {
    return std::all_of(texto.begin(), texto.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

std::optional<Fecha_Hora> Fecha_de_Log(std::string_view nombre) {
    // "log_dd_mm_yyyy.txt"
    if (nombre.size() != 18 || !nombre.starts_with("log_") || !nombre.ends_with(".txt") ||
        nombre[6] != '_' || nombre[9] != '_')
        return std::nullopt;
    const std::string_view dia = nombre.substr(4, 2), mes = nombre.substr(7, 2),
                           anio = nombre.substr(10, 4);
    if (!Son_Digitos(dia) || !Son_Digitos(mes) || !Son_Digitos(anio))
        return std::nullopt;
    return Leer_Fecha_Hora(std::string(dia) + "/" + std::string(mes) + "/" + std::string(anio));
}

int Podar_Logs(int dias) {
    const Fecha_Hora hoy = Solo_Fecha(Ahora());
    int borrados = 0;
    for (const std::string& nombre : Archivos_en_Carpeta(Carpeta_Programa())) {
        const auto fecha = Fecha_de_Log(nombre);
        if (!fecha || Dias_Entre(*fecha, hoy) <= dias)
            continue;
        const std::string ruta = Unir_Ruta(Carpeta_Programa(), nombre);
        const auto entrada = Examinar_Entrada(ruta);
        if (!entrada || !entrada->Regular)
            continue;
        Borrar_Archivo_Ignorando_Errores(ruta);
        borrados += !Existe_Archivo(ruta);
    }
    return borrados;
}

int Leer_Dias_Conservar_Log(const std::string& valor) {
    const auto dias = Leer_Entero(valor);
    return dias && *dias >= 1 ? *dias : kDias_Conservar_Log;
}

}  // namespace facturador
