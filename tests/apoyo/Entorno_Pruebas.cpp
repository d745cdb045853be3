#include "Entorno_Pruebas.h"

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

#include "platform/Archivos.h"

namespace facturador::pruebas {

namespace fs = std::filesystem;

Carpeta_Temporal::Carpeta_Temporal() {
    std::string plantilla = (fs::temp_directory_path() / "facturador-prueba-XXXXXX").string();
    if (!mkdtemp(plantilla.data()))
        throw std::runtime_error("cannot create a temporary folder");
    ruta_ = plantilla;
}

Carpeta_Temporal::~Carpeta_Temporal() {
    std::error_code ec;
    fs::remove_all(ruta_, ec);
}

Entorno_Pruebas::Entorno_Pruebas() : anterior_(Entorno_Actual()) {
    Entorno_Actual() = Entorno{&reloj, &operador, carpeta.Ruta()};
}

Entorno_Pruebas::~Entorno_Pruebas() {
    Entorno_Actual() = anterior_;
}

void Entorno_Pruebas::Crear_Bases_Locales() const {
    Ejecutar_Script_SQLite(Unir_Ruta(Carpeta(), "local.dll"), "sql/local/local.sql");
    Ejecutar_Script_SQLite(Unir_Ruta(Carpeta(), "Taldo.dll"), "sql/local/taldo.sql");
}

std::string Leer_Fuente(const std::string& relativo) {
    return Leer_Archivo(std::string(RAIZ_FUENTES) + "/" + relativo);
}

void Ejecutar_SQLite(const std::string& archivo_bd, const std::string& sql) {
    sqlite3* bd = nullptr;
    if (sqlite3_open(archivo_bd.c_str(), &bd) != SQLITE_OK) {
        sqlite3_close(bd);
        throw std::runtime_error("cannot open " + archivo_bd);
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(bd, sql.c_str(), nullptr, nullptr, &error);
    const std::string texto = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(bd);
    if (rc != SQLITE_OK)
        throw std::runtime_error("SQLite: " + texto + " in: " + sql);
}

void Ejecutar_Script_SQLite(const std::string& archivo_bd, const std::string& script_relativo) {
    Ejecutar_SQLite(archivo_bd, Leer_Fuente(script_relativo));
}

}  // namespace facturador::pruebas
