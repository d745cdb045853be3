#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "apoyo/Bd_Central.h"
#include "apoyo/Siembra.h"
#include "app/Estado_Aplicacion.h"
#include "data/Formatos_Importe.h"
#include "data/Limites_Columnas.h"
#include "data/Sentencias_Pendientes.h"
#include "data/Valores_Campo.h"
#include "intake/Observaciones_Recepcion.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {

// Real stamped CFDI kept with the tests (see tests/fixtures/cfdi/SOURCES.md).
inline constexpr const char* kCfdi_Una_Linea = "cfdi40-single-line-finkok-retenciones.xml";
inline constexpr const char* kCfdi_CRLF = "cfdi40-pretty-crlf-1concepto-retenciones.xml";
inline constexpr const char* kCfdi_LF = "cfdi40-pretty-lf-2conceptos-serie-folio.xml";
inline constexpr const char* kCfdi33_Pago = "cfdi33-pretty-lf-no-declaration-pago10-before-tfd.xml";

inline std::string Muestra_Cfdi(const std::string& archivo) {
    return Leer_Fuente("tests/fixtures/cfdi/" + archivo);
}

// Bytes no text holds: NUL, quotes, a backslash, high bytes.
inline std::string Contenido_PDF() {
    static const char kBytes[] = "%PDF-1.4\n\0'\"\\\xff\xfe%%EOF\r\n";
    return std::string(kBytes, sizeof kBytes - 1);
}

// A new file in place of whatever was there.
inline void Dejar(const std::string& ruta, const std::string& contenido) {
    std::filesystem::remove(ruta);
    Escribir_Archivo(ruta, contenido);
}

// The sample with `valor` for the attribute of the first element `elemento` (qualified name):
// replaced, or added first when the element has none.
inline std::string Con_Atributo(std::string xml, const std::string& elemento,
                                const std::string& atributo, const std::string& valor) {
    const size_t inicio = xml.find("<" + elemento + " ");
    const size_t fin = xml.find('>', inicio);
    const std::string nombre = " " + atributo + "=\"";
    const size_t en = xml.find(nombre, inicio);
    if (en < fin) {
        const size_t valor_en = en + nombre.size();
        return xml.replace(valor_en, xml.find('"', valor_en) - valor_en, valor);
    }
    return xml.insert(inicio + elemento.size() + 1, nombre + valor + "\"");
}

// An empty central database with the profile and folders of branch 3, the state of a program
// just started, and the clock at 05/12/2026 10:15:40.
class Prueba_Recepcion : public Prueba_Sembrada {
  protected:
    Prueba_Recepcion() {
        Reiniciar_Estado_Aplicacion();
        Reiniciar_Observaciones_Recepcion();
        Reiniciar_Limites_Columnas();
        Sembrar_Sucursal(entorno.Carpeta(), 3, "Centro", "A", 1);
        Cargar_Datos_de_Emision();
        Reiniciar_Sentencias_Pendientes();
    }

    // A request of branch 3 for ticket 4711 in status 2, folio 1500 + id, with its invoice -id
    // registered; `cambios` replaces columns by SQL literal.
    void Sembrar_Solicitud(int id, const Columnas& cambios = {}) {
        Sembrar_Fila("Solicitudes_de_Facturas_OL",
                     {{"ID", std::to_string(id)},
                      {"ID_Sucursal", "3"},
                      {"Serie", "'A'"},
                      {"Folio", Folio(id)},
                      {"Nro_Ticket", "4711"},
                      {"RFC", "'EKU9003173C9'"},
                      {"Total", "116.5"},
                      {"Status", "2"},
                      {"ID_Factura", Factura(id)},
                      {"Archivo", "'F" + Folio(id) + "'"}},
                     cambios);
        Ejecutar_Central("INSERT INTO Facturas_Electronicas (ID_Factura) VALUES (" + Factura(id) +
                         ")");
    }

    static std::string Factura(int id) { return std::to_string(-id); }
    static std::string Folio(int id) { return std::to_string(1500 + id); }

    std::string Ruta_XML(int id) const { return Unir_Ruta(validas, "F" + Folio(id) + ".xml"); }
    std::string Ruta_PDF(int id) const { return Unir_Ruta(validas, "F" + Folio(id) + ".pdf"); }
    std::string Ruta_Error(int id) const {
        return Unir_Ruta(no_validas, "F" + Folio(id) + "-error timbrado.txt");
    }
    // A real sample stamped for request `id`: its series, folio, receiver's RFC and total (as the
    // file to stamp writes it).
    static std::string Cfdi_Para(int id, const std::string& muestra = kCfdi_Una_Linea) {
        const Recordset rs = Consultar_Central(
            "SELECT Serie, Folio, RFC, Total FROM Solicitudes_de_Facturas_OL WHERE ID = " +
            std::to_string(id));
        std::string xml = Muestra_Cfdi(muestra);
        xml = Con_Atributo(xml, "cfdi:Comprobante", "Serie", rs.Texto("Serie"));
        xml = Con_Atributo(xml, "cfdi:Comprobante", "Folio", rs.Texto("Folio"));
        xml = Con_Atributo(xml, "cfdi:Comprobante", "Total",
                           Formato_Importe_Archivo(Valor_Inicial(rs.Texto("Total"))));
        return Con_Atributo(xml, "cfdi:Receptor", "Rfc", rs.Texto("RFC"));
    }
    // What the stamping program leaves for a stamped request.
    void Dejar_Timbrado(int id, const std::string& muestra = kCfdi_Una_Linea) {
        Dejar(Ruta_XML(id), Cfdi_Para(id, muestra));
        Dejar(Ruta_PDF(id), Contenido_PDF());
    }

    static const std::vector<std::string>& Cola() { return Sentencias_Pendientes(); }

    // The documents this system keyed (negative keys), highest key first: columns separated by
    // "|", rows ended by ";".
    static std::string Documentos(const std::string& columnas) {
        Recordset rs = Consultar_Central(
            "SELECT " + columnas + " FROM Comprobantes_Fiscales WHERE ID < 0 ORDER BY ID DESC");
        std::string filas;
        for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente()) {
            for (size_t c = 0; c < rs.Columnas().size(); ++c)
                filas += (c ? "|" : "") + rs.Texto(c);
            filas += ";";
        }
        return filas;
    }

    const std::string validas = Unir_Ruta(entorno.Carpeta(), "validas");
    const std::string no_validas = Unir_Ruta(entorno.Carpeta(), "no_validas");
    const std::string cola = Unir_Ruta(entorno.Carpeta(), "cola");
};

}  // namespace facturador::pruebas
