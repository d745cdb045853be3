#include "intake/Almacen_Comprobantes.h"

#include "data/Conexiones.h"
#include "data/Nuevo_ID.h"
#include "data/Turno_Central.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador {

namespace {

// The key of the document: that of the earlier row with the same invoice and title, which is
// deleted so that the new row takes its place, or a new one.
int32_t Clave_Documento(Conexion& conexion, const Documento_Fiscal& d) {
    Recordset rs = conexion.Ejecutar(
        "SELECT ID FROM Comprobantes_Fiscales WHERE ID_Factura = " + std::to_string(d.ID_Factura) +
        " AND Titulo = '" + conexion.Escapar(d.Titulo) + "'");
    if (rs.Fin())
        return Nuevo_ID(conexion, "Comprobantes_Fiscales", "ID");
    const std::string clave = rs.Texto("ID");
    conexion.Ejecutar("DELETE FROM Comprobantes_Fiscales WHERE ID = " + clave);
    return std::stoi(clave);
}

// The content travels as a bound parameter, never inside the SQL text.
void Insertar_Documento(Conexion& conexion, const Documento_Fiscal& d, int32_t clave) {
    const auto texto = [&](const std::string& valor) {
        return "'" + conexion.Escapar(valor) + "'";
    };
    conexion.Ejecutar_Con_Parametros(
        "INSERT INTO Comprobantes_Fiscales (Nombre_Archivo, Tamanio_Documento, Documento, "
        "Tipo_Archivo, Tipo, Sub_Tipo, Titulo, Status, Descripcion, FUM, ID_Sucursal, ID, "
        "ID_Factura) VALUES (" +
            texto(d.Nombre_Archivo) + ", " + std::to_string(d.Contenido.size()) + ", ?, 0, 0, 0, " +
            texto(d.Titulo) + ", 1, " + texto(d.Descripcion) + ", " +
            texto(Formato_Fecha(Ahora_en_Sucursal(d.ID_Sucursal))) + ", " +
            std::to_string(d.ID_Sucursal) + ", " + std::to_string(clave) + ", " +
            std::to_string(d.ID_Factura) + ")",
        {d.Contenido});
}

}  // namespace

void Almacenar_Documento(const Documento_Fiscal& documento) {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    try {
        En_Unidad_Cercada(conexion, [&] {
            const int32_t clave = Clave_Documento(conexion, documento);
            Insertar_con_Clave_Nueva([&] { Insertar_Documento(conexion, documento, clave); });
        });
    } catch (...) {
        Cerrar_Conexion(conexion);
        throw;
    }
    Cerrar_Conexion(conexion);
}

}  // namespace facturador
