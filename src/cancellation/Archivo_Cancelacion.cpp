#include "cancellation/Archivo_Cancelacion.h"

#include <filesystem>

#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

// Hidden, and of another form than the names the stamping program reads or that a file to stamp
// waits under, so that nobody takes it for a request.
std::string Ruta_Parcial(const std::filesystem::path& ruta) {
    return (ruta.parent_path() / ("." + ruta.filename().string() + ".parcial")).string();
}

}  // namespace

std::string Nombre_Archivo_Cancelacion(const std::string& serie, const std::string& nro) {
    return "Cancelar_" + serie + nro + ".xml";
}

std::string Linea_Cancelacion(const std::string& rfc_emisor, const std::string& uuid) {
    return A_Windows_1252(Sin_Controles(rfc_emisor) + "|" + Sin_Controles(uuid)) + "\r\n";
}

void Generar_Archivo_Cancelacion(const std::string& ruta, const std::string& rfc_emisor,
                                 const std::string& uuid) {
    const std::filesystem::path destino(ruta);
    if (Sube_de_Carpeta(ruta))
        throw Error_Plataforma(EINVAL, "la carpeta de cola sube de carpeta con '..': " + ruta);
    // Created new under its hidden name (one left by a crash, or a link planted there, is
    // removed, never written through), then renamed over whatever stands at the name.
    Publicar_Archivo_Nuevo(Ruta_Parcial(destino), ruta, Linea_Cancelacion(rfc_emisor, uuid));
    try {
        Asegurar_Carpeta_en_Disco(destino.parent_path().string());
    } catch (const Error_Plataforma& e) {
        throw Cancelacion_Sin_Registrar(e.Descripcion);
    }
}

}  // namespace facturador
