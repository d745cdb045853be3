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
    facturador::Publicar_Archivo_Nuevo(Ruta_Temporal(ruta), ruta, bytes, 0644);
}

}  // namespace timbrador
