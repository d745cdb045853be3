#include "issuing_config/Cajas_Perfil.h"

#include <array>

namespace facturador {

namespace {

using D = Datos_Emision;
using enum Uso_Caja;

const Caja_Perfil kCajas[] = {
    {"txtRazon_Social", "Razón Social", 200, &D::Razon_Social_Emisor, Llenar_y_Guardar},
    {"txtRFC", "R.F.C.", 15, &D::RFC_Emisor, Llenar_y_Guardar, "ABCD050505ABCD"},
    {"txtRegimen", "Régimen Fiscal", 100, &D::Regimen_Fiscal_Facturas, Llenar_y_Guardar},
    {"txtSerie_Folios", "Serie de Facturas", 3, &D::Serie_Facturas, Llenar_y_Guardar},
    {"txtLugar", "Lugar de Expedición", 200, &D::Lugar_de_Expedicion_Facturas, Llenar_y_Guardar, "",
     false},
    {"txtFolio", "Siguiente Folio a Emitir", 12, &D::Folio_Inicial_Facturas, Llenar_y_Guardar},
    {"txtDireccion", "Calle", 100, &D::Calle, Llenar_y_Guardar},
    {"txtNro_Exterior", "Nro. Exterior", 50, &D::Nro_Exterior, Llenar_y_Guardar},
    {"txtNro_Interior", "Nro. Interior", 50, &D::Nro_Interior, Llenar_y_Guardar},
    {"txtColonia", "Colonia", 100, &D::Colonia, Llenar_y_Guardar},
    {"txtCiudad", "Ciudad", 100, &D::Ciudad, Llenar_y_Guardar},
    {"txtDelegacion", "Delegación", 100, &D::Delegacion, Llenar_y_Guardar},
    {"txtCP", "C.P.", 10, &D::CP, Llenar_y_Guardar, "99999"},
    {"txtPais", "País", 50, &D::Pais, Llenar_y_Guardar, "México"},
    {"txtReferencia", "Referencia", 150, &D::Referencia, Llenar_y_Guardar},
    {"txtCalle_Expedicion", "Calle", 100, &D::Calle_Domicilio_Expedicion, Llenar_y_Guardar},
    {"txtNro_Exterior_Expedicion", "Nro. Exterior", 50, &D::Nro_Exterior_Domicilio_Expedicion,
     Llenar_y_Guardar},
    {"txtNro_Interior_Expedicion", "Nro. Interior", 50, &D::Nro_Interior_Domicilio_Expedicion,
     Llenar_y_Guardar},
    {"txtColonia_Expedicion", "Colonia", 100, &D::Colonia_Domicilio_Expedicion, Llenar_y_Guardar},
    {"txtCiudad_Expedicion", "Ciudad", 100, &D::Ciudad_Domicilio_Expedicion, Llenar_y_Guardar},
    {"txtDelegacion_Expedicion", "Delegación", 100, &D::Delegacion_Domicilio_Expedicion,
     Llenar_y_Guardar},
    {"txtCP_Expedicion", "C.P.", 10, &D::CP_Domicilio_Expedicion, Llenar_y_Guardar, "99999"},
    {"txtPais_Expedicion", "País", 50, &D::Pais_Domicilio_Expedicion, Llenar_y_Guardar, "México"},
    {"txtReferencia_Expedicion", "Referencia", 150, &D::Referencia_Domicilio_Expedicion,
     Llenar_y_Guardar},
    {"txtFolder_Cola", "Folder para Facturas por Timbrar", 250, &D::Ruta_Cola_Facturas,
     Llenar_y_Guardar, "", false},
    {"txtFolder_Validas", "Folder para Facturas Válidas", 250, &D::Ruta_Facturas_Validas,
     Llenar_y_Guardar, "", false},
    {"txtFolder_No_Validas", "Folder para Facturas NO Válidas", 250, &D::Ruta_Facturas_NO_Validas,
     Llenar_y_Guardar, "", false},
    {"txtFolio_Inicial", "Folio Inicial", 15, nullptr, Ninguno},
    {"txtFolio_Final", "Folio Final", 15, &D::Folio_Inicial_Facturas, Solo_Llenar},
    {"txtNro_Aprobacion", "Nro. Aprobación", 20, nullptr, Vaciar},
    {"txtFecha_Aprobacion", "Fecha Aprobación", 10, nullptr, Vaciar},
    {"txtEmail_Copia", "Diección de email p/ envío de copia", 200, nullptr, Ninguno, "", false},
    {"Text5", "Leyenda", 32767, nullptr, Ninguno, "", false},
};

constexpr std::array<const char*, 33> kOrden_Tabulacion = {
    "txtRazon_Social",
    "txtRFC",
    "txtRegimen",
    "txtSerie_Folios",
    "txtLugar",
    "txtFolio",
    "txtDireccion",
    "txtNro_Exterior",
    "txtNro_Interior",
    "txtColonia",
    "txtCiudad",
    "txtDelegacion",
    "cboEstado",
    "txtCP",
    "txtPais",
    "txtReferencia",
    "txtCalle_Expedicion",
    "txtNro_Exterior_Expedicion",
    "txtNro_Interior_Expedicion",
    "txtColonia_Expedicion",
    "txtCiudad_Expedicion",
    "txtDelegacion_Expedicion",
    "cboEstado_Expedicion",
    "txtCP_Expedicion",
    "txtPais_Expedicion",
    "txtReferencia_Expedicion",
    "txtFolder_Cola",
    "txtFolder_Validas",
    "txtFolder_No_Validas",
    "txtFolio_Inicial",
    "txtFolio_Final",
    "txtNro_Aprobacion",
    "txtFecha_Aprobacion",
};

}  // namespace

std::span<const Caja_Perfil> Cajas_Perfil() {
    return kCajas;
}

std::span<const char* const> Orden_Tabulacion_Perfil() {
    return kOrden_Tabulacion;
}

}  // namespace facturador
