#include "issuing_config/Datos_Emision.h"

#include "data/Conexiones.h"
#include "data/Valores_Campo.h"
#include "issuing_config/Cambios_Perfiles.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador {

namespace {

struct Perfiles_Cargados {
    std::vector<Datos_Emision> perfiles;
    std::string huella;  // Leer_Huella_Perfiles as the last load read it; empty before any
};

Perfiles_Cargados& Cargados() {
    static Perfiles_Cargados cargados;
    return cargados;
}

std::vector<Datos_Emision>& Perfiles() {
    return Cargados().perfiles;
}

int32_t Numero_de(const Recordset& rs, const char* columna) {
    return Entero_Redondeado(Valor_Inicial(rs.Texto(columna))).value_or(0);
}

}  // namespace

Datos_Emision Leer_Datos_Emision(const Recordset& rs) {
    const auto texto = [&](const char* columna) { return rs.Texto(columna); };
    const auto ruta = [&](const char* columna) { return Ruta_Desde_BD(rs.Texto(columna)); };
    Datos_Emision d;
    d.ID_Sucursal = Numero_de(rs, "ID_Sucursal");
    d.Calle_Domicilio_Expedicion = texto("Calle_Domicilio_Expedicion");
    d.Nro_Exterior_Domicilio_Expedicion = texto("Nro_Exterior_Domicilio_Expedicion");
    d.Nro_Interior_Domicilio_Expedicion = texto("Nro_Interior_Domicilio_Expedicion");
    d.Colonia_Domicilio_Expedicion = texto("Colonia_Domicilio_Expedicion");
    d.Ciudad_Domicilio_Expedicion = texto("Ciudad_Domicilio_Expedicion");
    d.Delegacion_Domicilio_Expedicion = texto("Delegacion_Domicilio_Expedicion");
    d.Estado_Domicilio_Expedicion = texto("Estado_Domicilio_Expedicion");
    d.CP_Domicilio_Expedicion = texto("CP_Domicilio_Expedicion");
    d.Pais_Domicilio_Expedicion = texto("Pais_Domicilio_Expedicion");
    d.Referencia_Domicilio_Expedicion = texto("Referencia_Domicilio_Expedicion");
    d.Lugar_de_Expedicion_Facturas = texto("Lugar_de_Expedicion_Facturas");
    d.Regimen_Fiscal_Facturas = texto("Regimen_Fiscal_Facturas");
    d.Ruta_Cola_Facturas = ruta("Ruta_Cola_Facturas");
    d.Ruta_Facturas_Validas = ruta("Ruta_Facturas_Validas");
    d.Ruta_Facturas_NO_Validas = ruta("Ruta_Facturas_NO_Validas");
    d.email_envio = texto("email_envio");
    d.email_envio_copia = texto("email_envio_copia");
    d.Serie_Facturas = texto("Serie_Facturas");
    d.Folio_Inicial_Facturas = std::to_string(Numero_de(rs, "Folio_Inicial_Facturas"));
    d.Razon_Social_Emisor = texto("Razon_Social_Emisor");
    d.RFC_Emisor = texto("RFC_Emisor");
    d.Calle = texto("Calle");
    d.Nro_Exterior = texto("Nro_Exterior");
    d.Nro_Interior = texto("Nro_Interior");
    d.Colonia = texto("Colonia");
    d.Ciudad = texto("Ciudad");
    d.Delegacion = texto("Delegacion");
    d.Estado = texto("Estado");
    d.CP = texto("CP");
    d.Pais = texto("Pais");
    d.Referencia = texto("Referencia");
    return d;
}

Lectura_Datos_Emision Leer_Datos_de_Emision(Conexion& conexion) {
    Lectura_Datos_Emision lectura;
    // Read before the rows: an edit made meanwhile leaves the fingerprint behind the rows, and the
    // next cycle loads them again, never the other way round.
    lectura.huella = Leer_Huella_Perfiles(conexion);
    Recordset rs = conexion.Ejecutar("SELECT * FROM Configuracion_Facturas_Electronicas");
    lectura.perfiles.reserve(rs.Cantidad_Filas());
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        lectura.perfiles.push_back(Leer_Datos_Emision(rs));
    lectura.ajustes_zona = Leer_Ajustes_Zona(conexion);
    return lectura;
}

void Fijar_Datos_de_Emision(Lectura_Datos_Emision lectura) {
    const bool recarga = !Cargados().huella.empty();
    const Perfiles_Anteriores antes = Perfiles_Antes_de_Recargar();
    Perfiles() = std::move(lectura.perfiles);
    Cargados().huella = std::move(lectura.huella);
    Fijar_Zonas_Sucursales(Perfiles(), lectura.ajustes_zona);
    // The first load's zones are written by start-up; a reload tells what it changed.
    if (recarga)
        Anotar_Perfiles_Nuevos(antes);
}

void Cargar_Datos_de_Emision(Lugar_Consultas& lugar) {
    Fijar_Datos_de_Emision(
        Consultar_en_Conexion<Lectura_Datos_Emision>(lugar, Leer_Datos_de_Emision));
}

Datos_Emision Obtener_Datos_Emision(int32_t id_sucursal) {
    for (const Datos_Emision& d : Perfiles())
        if (d.ID_Sucursal == id_sucursal)
            return d;
    return Datos_Emision{};
}

const std::vector<Datos_Emision>& Datos_Emision_Sucursales() {
    return Perfiles();
}

const std::string& Huella_Datos_de_Emision() {
    return Cargados().huella;
}

void Reiniciar_Datos_de_Emision() {
    Cargados() = {};
    Reiniciar_Zonas_Sucursales();
}

}  // namespace facturador
