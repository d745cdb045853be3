#include "Carpetas.h"

#include <algorithm>
#include <filesystem>

#include "data/Valores_Campo.h"
#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"

namespace timbrador {

namespace fs = std::filesystem;

namespace {

// The branch folder when it holds a queue, with its result folders made ready.
void Agregar_Si_Tiene_Cola(std::vector<Carpetas_Sucursal>& carpetas, const fs::path& carpeta,
                           const std::string& nombre) {
    std::error_code ec;
    if (!fs::is_directory(carpeta / "cola", ec))
        return;
    Carpetas_Sucursal c{nombre, (carpeta / "cola").string(), (carpeta / "validas").string(),
                        (carpeta / "no_validas").string()};
    for (const std::string& resultado : {c.validas, c.no_validas}) {
        fs::create_directories(resultado, ec);
        if (ec)
            throw facturador::Error_Plataforma(ec.value(), ec.message() + ": " + resultado);
    }
    carpetas.push_back(std::move(c));
}

}  // namespace

std::vector<Carpetas_Sucursal> Carpetas_Desde_BD(const std::string& cadena_conexion) {
    facturador::Conexion conexion;
    conexion.Abrir(cadena_conexion);
    facturador::Recordset rs = conexion.Ejecutar(
        "SELECT ID_Sucursal, Ruta_Cola_Facturas, Ruta_Facturas_Validas, Ruta_Facturas_NO_Validas "
        "FROM Configuracion_Facturas_Electronicas ORDER BY ID_Sucursal");
    conexion.Cerrar();
    std::vector<Carpetas_Sucursal> carpetas;
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente()) {
        Carpetas_Sucursal c{"sucursal " + rs.Texto("ID_Sucursal"),
                            facturador::Ruta_Desde_BD(rs.Texto("Ruta_Cola_Facturas")),
                            facturador::Ruta_Desde_BD(rs.Texto("Ruta_Facturas_Validas")),
                            facturador::Ruta_Desde_BD(rs.Texto("Ruta_Facturas_NO_Validas"))};
        if (!c.cola.empty())
            carpetas.push_back(std::move(c));
    }
    return carpetas;
}

std::vector<Carpetas_Sucursal> Carpetas_Desde_Base(const std::string& base) {
    std::vector<Carpetas_Sucursal> carpetas;
    fs::path raiz(base);
    if (!raiz.has_filename())
        raiz = raiz.parent_path();  // "demo/" names itself "demo"
    Agregar_Si_Tiene_Cola(carpetas, raiz, raiz.filename().string());
    std::error_code ec;
    std::vector<fs::path> subcarpetas;
    for (const fs::directory_entry& e : fs::directory_iterator(raiz, ec))
        if (e.is_directory(ec))
            subcarpetas.push_back(e.path());
    std::sort(subcarpetas.begin(), subcarpetas.end());
    for (const fs::path& s : subcarpetas)
        Agregar_Si_Tiene_Cola(carpetas, s, s.filename().string());
    if (carpetas.empty())
        throw facturador::Error_Plataforma(
            ENOENT, "no hay carpeta cola en " + base + " ni en sus subcarpetas");
    return carpetas;
}

}  // namespace timbrador
