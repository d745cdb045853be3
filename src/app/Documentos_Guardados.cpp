#include "app/Documentos_Guardados.h"

#include "platform/Archivos.h"

namespace facturador {

namespace {

// The name's last part, after any "/" or "\" (a name stored by a Windows copy); a document
// without a usable one is named after its row.
std::string Nombre_de_Copia(const Documento_de_Solicitud& documento) {
    const std::string& nombre = documento.Nombre_Archivo;
    const size_t separador = nombre.find_last_of("/\\");
    std::string parte = separador == std::string::npos ? nombre : nombre.substr(separador + 1);
    if (parte.empty() || parte == "." || parte == "..")
        parte = "Documento " + std::to_string(documento.ID) + "." + documento.Descripcion;
    return parte;
}

}  // namespace

const Documento_de_Solicitud* Documento_Guardado(const Historia_Solicitud& h,
                                                 std::string_view tipo) {
    const Documento_de_Solicitud* hallado = nullptr;
    for (const Documento_de_Solicitud& documento : h.Documentos)
        if (documento.Descripcion == tipo)
            hallado = &documento;
    return hallado;
}

std::optional<std::string> Leer_Documento_Guardado(Conexion& conexion, int32_t id_documento) {
    Recordset rs = conexion.Ejecutar("SELECT Documento FROM Comprobantes_Fiscales WHERE ID = " +
                                     std::to_string(id_documento));
    if (rs.Fin())
        return std::nullopt;
    return rs.Texto(size_t{0});
}

std::string Escribir_Copia_Documento(const std::string& carpeta,
                                     const Documento_de_Solicitud& documento,
                                     std::string_view bytes) {
    const std::string ruta = Unir_Ruta(carpeta, Nombre_de_Copia(documento));
    Escribir_Archivo(ruta, bytes);
    return ruta;
}

}  // namespace facturador
