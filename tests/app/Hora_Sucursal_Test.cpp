// Every path that writes a branch's date, on a machine clock kept in UTC for a branch in Tijuana:
// at 03:00 UTC on 6 December it is still 19:00 on the 5th there.

#include "cancellation/Factura_a_Cancelar.h"
#include "generation/Reencolado.h"
#include "generation/Siembra_Central.h"
#include "intake/Apoyo_Recepcion.h"
#include "intake/Recepcion.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador::pruebas {
namespace {

class Hora_Sucursal : public Prueba_Central {
  protected:
    Hora_Sucursal() {
        Reiniciar_Estado_Aplicacion();
        Reiniciar_Sentencias_Pendientes();
        entorno.reloj = Reloj_Fijo({2026, 12, 6, 3, 0, 0}, "Etc/UTC");
    }
    static std::string Fecha_en(const std::string& archivo) {
        const std::string texto = Leer_Archivo(archivo);
        const size_t fecha = texto.find("\r\nFecha=");
        return fecha == std::string::npos ? texto : texto.substr(fecha + 8, 19);
    }
};

// Generation (the file's Fecha and the invoice row), --reencolar in a process that loaded nothing,
// the result intake (amount and documents) and the cancellation's note take Tijuana's time.
TEST_F(Hora_Sucursal, CadaCaminoQueEscribeUnaFechaTomaLaHoraDeLaSucursal) {
    const auto c = pruebas::Sembrar_Sucursal(entorno.Carpeta(), 3, "Tijuana", "A", 1500);
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET CP_Domicilio_Expedicion = "
        "'22000', Regimen_Fiscal_Facturas = '601'");
    Sembrar_Ticket(4711, 3, "300");
    Sembrar_Solicitud(10, {{"Total", "116.5"}});
    Cargar_Datos();
    Ejecutar_Pase();
    const std::string archivo = Unir_Ruta(c.cola, "Factura A Folio 1500.txt");
    EXPECT_EQ(Fecha_en(archivo), "2026-12-05T19:00:00");
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', Fecha_Emision, FUM) FROM Facturas_Electronicas"),
              "2026-12-05|2026-12-05");

    std::filesystem::remove(archivo);
    Reiniciar_Datos_de_Emision();
    entorno.reloj.Avanzar_Segundos(30 * 60);
    ASSERT_TRUE(Reencolar_Solicitud(10).Hecho);
    const auto espera = Archivos_en_Carpeta(c.cola);
    ASSERT_EQ(espera.size(), 1u);
    EXPECT_EQ(Fecha_en(Unir_Ruta(c.cola, espera[0])), "2026-12-05T19:30:00");

    std::filesystem::remove(Unir_Ruta(c.cola, espera[0]));
    Cargar_Datos();
    std::string xml = Muestra_Cfdi(kCfdi_Una_Linea);
    for (const auto& [atributo, valor] :
         {std::pair{"Serie", "A"}, {"Folio", "1500"}, {"Total", "116.50"}})
        xml = Con_Atributo(xml, "cfdi:Comprobante", atributo, valor);
    Dejar(Unir_Ruta(c.validas, "Factura A Folio 1500.xml"),
          Con_Atributo(xml, "cfdi:Receptor", "Rfc", "RALJ900215QW1"));
    Dejar(Unir_Ruta(c.validas, "Factura A Folio 1500.pdf"), Contenido_PDF());
    Almacenar_Comprobantes_Pendientes();
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', Fecha, Hora, FUM) FROM Montos_Facturados"),
              "2026-12-05|19:30:00|2026-12-05");
    EXPECT_EQ(Valor_Central("SELECT GROUP_CONCAT(DISTINCT FUM) FROM Comprobantes_Fiscales"),
              "05/12/2026");

    Conexion_Abierta conexion;
    auto cancelar = Leer_Factura_a_Cancelar(conexion, {"A", 1500});
    ASSERT_TRUE(cancelar);
    Anotar_Cancelacion(*cancelar, "prueba");
    EXPECT_TRUE(cancelar->Comentario.ends_with("Cancelada el: 05-12-26, Motivo: prueba"))
        << cancelar->Comentario;
}

}  // namespace
}  // namespace facturador::pruebas
