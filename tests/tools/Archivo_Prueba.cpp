#include "Archivo_Prueba.h"

#include <stdexcept>

#include "generation/Archivo_Timbrar.h"
#include "platform/Texto.h"

namespace timbrador::pruebas {

std::string Texto_para_Timbrar(const std::string& linea, const std::string& por) {
    facturador::Solicitud_Factura receptor;
    receptor.RFC = "PEÑJ800101AB1";
    receptor.Nombre = "Juan Peña Güemes";
    receptor.Codigo_Postal = "03100";
    receptor.Regimen_Fiscal = "612";
    receptor.Uso = "G03";
    receptor.Metodo = "01";
    receptor.Total = 116;
    receptor.Nro_Ticket = 4417;
    facturador::Datos_Emision emisor;
    emisor.RFC_Emisor = "TCO010101AB1";
    emisor.Razon_Social_Emisor = "Tulipanes Comercial SA de CV";
    emisor.Regimen_Fiscal_Facturas = "601";
    emisor.CP_Domicilio_Expedicion = "06000";
    std::string texto =
        facturador::Texto_para_Timbrar(receptor, emisor, "A", 1501, "2026-12-05T10:15:40");
    if (!linea.empty()) {
        const size_t donde = texto.find("\r\n" + linea + "\r\n");
        if (donde == std::string::npos)
            throw std::invalid_argument("the file to stamp has no line " + linea);
        texto.replace(donde + 2, linea.size(), por);
    }
    return facturador::A_Windows_1252(texto);
}

}  // namespace timbrador::pruebas
