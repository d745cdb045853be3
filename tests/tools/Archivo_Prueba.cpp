#include "Archivo_Prueba.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/Archivos.h"
#include "platform/Texto.h"

namespace timbrador::pruebas {

namespace fs = std::filesystem;

std::string Texto_para_Timbrar(const Datos_Prueba& d) {
    const std::vector<std::string> lineas = {"[Comprobante]",
                                             "Version=4.0",
                                             "Serie=" + d.serie,
                                             "Folio=" + d.folio,
                                             "Fecha=" + d.fecha,
                                             "FormaPago=01",
                                             "CondicionesDePago=Contado",
                                             "MetodoPago=PUE",
                                             "SubTotal=" + d.subtotal,
                                             "Descuento=0.00",
                                             "Moneda=MXN",
                                             "TipoCambio=1",
                                             "Total=" + d.total,
                                             "TipoDeComprobante=I",
                                             "Exportacion=01",
                                             "LugarExpedicion=" + d.lugar_expedicion,
                                             "Confirmacion=",
                                             "",
                                             "[Emisor]",
                                             "Rfc=" + d.rfc_emisor,
                                             "Nombre=" + d.nombre_emisor,
                                             "RegimenFiscal=601",
                                             "Calle=Av. Insurgentes",
                                             "NoExterior=120",
                                             "NoInterior=",
                                             "Colonia=Roma",
                                             "Localidad=Ciudad de México",
                                             "Referencia=",
                                             "Municipio=Ciudad de México",
                                             "Estado=Ciudad de México",
                                             "Pais=México",
                                             "CodigoPostal=06700",
                                             "",
                                             "[Receptor]",
                                             "Rfc=" + d.rfc_receptor,
                                             "Nombre=" + d.nombre_receptor,
                                             "Calle=Jacarandas",
                                             "NoExterior=7",
                                             "NoInterior=B",
                                             "Colonia=Del Valle",
                                             "Localidad=Ciudad de México",
                                             "Referencia=",
                                             "Municipio=",
                                             "Estado=Ciudad de México",
                                             "Pais=México",
                                             "CodigoPostal=" + d.cp_receptor,
                                             "DomicilioFiscalReceptor=" + d.cp_receptor,
                                             "ResidenciaFiscal=",
                                             "NumRegIdTrib=",
                                             "RegimenFiscalReceptor=612",
                                             "UsoCFDI=" + d.uso,
                                             "",
                                             "[Concepto1]",
                                             "ClaveProdServ=90101501",
                                             "Cantidad=1",
                                             "ClaveUnidad=E48",
                                             "Unidad=No Aplica",
                                             "Descripcion=CONSUMO Nro. TICKET 4417",
                                             "ValorUnitario=" + d.subtotal,
                                             "Importe=" + d.subtotal,
                                             "Descuento=0.00",
                                             "ObjetoImp=02",
                                             "TrasladoBase1=" + d.subtotal,
                                             "TrasladoImpuesto1=002",
                                             "TrasladoTipoFactor1=Tasa",
                                             "TrasladoTasaOCuota1=0.160000",
                                             "TrasladoImporte1=" + d.iva,
                                             "",
                                             "[Impuestos]",
                                             "TotalImpuestosRetenidos=",
                                             "TotalImpuestosTrasladados=" + d.iva,
                                             "TrasladoBase1=" + d.subtotal,
                                             "TrasladoImpuesto1=002",
                                             "TrasladoTipoFactor1=Tasa",
                                             "TrasladoTasaOCuota1=0.160000",
                                             "TrasladoImporte1=" + d.iva,
                                             ""};
    std::string texto;
    for (const std::string& l : lineas)
        texto += l + "\r\n";
    return facturador::A_Windows_1252(texto);
}

Instante Ahora_Fijo() {
    using namespace std::chrono;
    return sys_days{year{2026} / 12 / 5} + hours{16} + minutes{15} + seconds{40};
}

Sucursal_Prueba::Sucursal_Prueba() {
    const fs::path raiz(temporal.Ruta());
    carpetas = {"sucursal de prueba", (raiz / "cola").string(), (raiz / "validas").string(),
                (raiz / "no_validas").string()};
    for (const std::string& c : {carpetas.cola, carpetas.validas, carpetas.no_validas})
        fs::create_directory(c);
}

std::string Sucursal_Prueba::Encolar(const std::string& nombre, const std::string& bytes,
                                     int antiguedad) const {
    const std::string ruta = facturador::Unir_Ruta(carpetas.cola, nombre);
    facturador::Escribir_Archivo(ruta, bytes);
    fs::last_write_time(
        ruta, std::chrono::file_clock::from_sys(Ahora_Fijo() - std::chrono::seconds(antiguedad)));
    return ruta;
}

std::string Sucursal_Prueba::Listado(const std::string& carpeta) {
    std::vector<std::string> nombres;
    for (const fs::directory_entry& e : fs::directory_iterator(carpeta))
        nombres.push_back(e.path().filename().string());
    std::sort(nombres.begin(), nombres.end());
    std::string listado;
    for (const std::string& n : nombres)
        listado += (listado.empty() ? "" : "|") + n;
    return listado;
}

}  // namespace timbrador::pruebas
