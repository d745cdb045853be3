#pragma once

#include <cstdint>
#include <string>

namespace facturador {

// One file of an invoice to be kept in Comprobantes_Fiscales. The invoice and the title identify
// the document.
struct Documento_Fiscal {
    int32_t ID_Factura = 0;
    std::string Nombre_Archivo;  // without folder
    std::string Contenido;       // the file's bytes, as the result's checks read them
    std::string Titulo;
    std::string Descripcion;
    int32_t ID_Sucursal = 0;
};

// Stores the file's bytes as the invoice's document with this title, at once (not through the
// statement queue). A document of the invoice with the same title is replaced and keeps its key; a
// new one gets a new negative key. The replacement is one unit of work fenced by the lease, so a
// failure (an Error_Plataforma, passed to the caller) leaves the earlier document as it was.
void Almacenar_Documento(const Documento_Fiscal& documento);

}  // namespace facturador
