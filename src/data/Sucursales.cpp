#include "data/Sucursales.h"

#include <charconv>

#include "data/Conexiones.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

std::vector<Sucursal>& Lista() {
    static std::vector<Sucursal> sucursales;
    return sucursales;
}

int32_t Leer_Numero(const std::string& texto) {
    int32_t numero = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), numero);
    if (error != std::errc() || fin != texto.data() + texto.size())
        throw Error_Plataforma(13, "No coinciden los tipos: número de sucursal \"" + texto + "\"");
    return numero;
}

std::vector<Sucursal> Leer_Sucursales(Recordset& rs) {
    std::vector<Sucursal> sucursales;
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        sucursales.push_back(Sucursal{Leer_Numero(rs.Texto("ID")), rs.Texto("Nombre")});
    return sucursales;
}

}  // namespace

void Cargar_Sucursales() {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    Recordset rs = conexion.Ejecutar("SELECT * FROM Sucursales ORDER BY Nombre ASC");
    Lista() = Leer_Sucursales(rs);
    rs.Cerrar();
    Cerrar_Conexion(conexion);
}

std::string Buscar_Nombre_Sucursal(const std::vector<Sucursal>& sucursales, int32_t id) {
    for (const Sucursal& s : sucursales)
        if (s.ID == id)
            return s.Nombre;
    return "";
}

std::string Nombre_Sucursal(int32_t id) {
    return Buscar_Nombre_Sucursal(Lista(), id);
}

const std::vector<Sucursal>& Sucursales_Cargadas() {
    return Lista();
}

void Reiniciar_Sucursales() {
    Lista().clear();
}

}  // namespace facturador
