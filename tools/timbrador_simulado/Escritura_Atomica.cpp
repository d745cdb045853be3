#include "Escritura_Atomica.h"

#include <unistd.h>

#include <filesystem>

#include "platform/Archivos.h"

namespace timbrador {

namespace {

// "<folder>/.<name>.<pid>.parcial": hidden, and never a name the program looks for.
std::string Ruta_Temporal(const std::string& ruta) {
    const std::filesystem::path p(ruta);
    const std::string nombre =
        "." + p.filename().string() + "." + std::to_string(::getpid()) + ".parcial";
    return (p.parent_path() / nombre).string();
}

}  // namespace

void Escribir_Atomico(const std::string& ruta, std::string_view bytes) {
    const std::string temporal = Ruta_Temporal(ruta);
    try {
        facturador::Escribir_Archivo_Sincronizado(temporal, bytes);
        facturador::Renombrar_Archivo(temporal, ruta);
    } catch (...) {
        facturador::Borrar_Archivo_Ignorando_Errores(temporal);
        throw;
    }
}

}  // namespace timbrador
