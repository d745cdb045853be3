#include <gtest/gtest.h>

#include "intake/Almacen_Comprobantes.h"
#include "intake/Apoyo_Recepcion.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

class Almacen_Comprobantes : public Prueba_Recepcion {
  protected:
    Documento_Fiscal PDF(int32_t factura, const std::string& contenido) {
        const std::string ruta = Unir_Ruta(validas, "F" + std::to_string(-factura) + ".pdf");
        Dejar(ruta, contenido);
        return {factura, "F.pdf", ruta, "Documento PDF  A1500", "PDF", 3};
    }
};

// Keys come from Nuevo_ID: -1 while the table holds only others' positive keys, then counting
// down from the lowest. A document of the same invoice and title is replaced in one transaction,
// after the new file was read, and keeps its key.
TEST_F(Almacen_Comprobantes, StoredWholeUnderNegativeKeysAndReplacedOnlyWhenAllWentWell) {
    Ejecutar_Central("INSERT INTO Comprobantes_Fiscales (ID, ID_Factura) VALUES (25, -2)");
    Almacenar_Documento(PDF(-12, Contenido_PDF()));
    EXPECT_EQ(Documentos("ID, ID_Factura, Titulo, Nombre_Archivo, Tamanio_Documento, Tipo_Archivo, "
                         "Tipo, Sub_Tipo, Status, Descripcion, FUM, ID_Sucursal"),
              "-1|-12|Documento PDF  A1500|F.pdf|" + std::to_string(Contenido_PDF().size()) +
                  "|0|0|0|1|PDF|05/12/2026|3;");
    EXPECT_EQ(Valor_Central("SELECT Documento FROM Comprobantes_Fiscales WHERE ID = -1"),
              Contenido_PDF());

    Almacenar_Documento(PDF(-13, "otra factura"));
    Ejecutar_Central("INSERT INTO Comprobantes_Fiscales (ID, ID_Factura) VALUES (-10, -1)");
    Documento_Fiscal xml = PDF(-12, "<xml/>");
    xml.Titulo = "Documento XML  A1500";
    Almacenar_Documento(xml);
    Almacenar_Documento(PDF(-12, "segundo, mas largo"));
    EXPECT_EQ(Documentos("ID, ID_Factura, Titulo, Documento, Tamanio_Documento"),
              "-1|-12|Documento PDF  A1500|segundo, mas largo|18;"
              "-2|-13|Documento PDF  A1500|otra factura|12;-10|-1|||0;"
              "-11|-12|Documento XML  A1500|<xml/>|6;");

    // The earlier document stays when the new file cannot be read, or the new row is refused.
    const std::string antes = Documentos("ID, Documento, FUM");
    Documento_Fiscal ilegible = PDF(-12, "");
    Hacer_Ilegible(ilegible.Ruta);
    EXPECT_THROW(Almacenar_Documento(ilegible), Error_Plataforma);
    Documento_Fiscal rechazado = PDF(-12, "tercero");
    rechazado.Nombre_Archivo = std::string(300, 'n') + ".pdf";
    entorno.reloj.Avanzar_Segundos(86400);
    EXPECT_THROW(Almacenar_Documento(rechazado), Error_Plataforma);
    EXPECT_EQ(Documentos("ID, Documento, FUM"), antes);
}

}  // namespace
}  // namespace facturador::pruebas
