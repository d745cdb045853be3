#include "cancellation/Archivo_Cancelacion.h"

#include <filesystem>

#include "platform/Archivos.h"
#include "platform/Texto.h"

namespace facturador {

std::string Nombre_Archivo_Cancelacion(const std::string& serie, const std::string& nro) {
    return "Cancelar_" + serie + nro + ".xml";
}

bool Queda_En_Su_Carpeta(const std::string& nombre_archivo) {
    return !std::filesystem::path(nombre_archivo).has_parent_path();
}

void Borrar_Archivo_Cancelacion(const std::string& ruta) noexcept {
    try {
        Quitar_Solo_Lectura(ruta);
    } catch (...) {
    }
    Borrar_Archivo_Ignorando_Errores(ruta);
}

void Generar_Archivo_Cancelacion(const std::string& ruta, const std::string& rfc_emisor,
                                 const std::string& uuid) {
    if (Existe_Archivo(ruta))
        Borrar_Archivo_Cancelacion(ruta);
    Escribir_Archivo(ruta, A_Windows_1252(rfc_emisor + "|" + uuid) + "\r\n");
}

}  // namespace facturador
