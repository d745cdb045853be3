#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "data/Consulta_Aparte.h"
#include "platform/Conexion.h"
#include "platform/Recordset.h"

namespace facturador {

// One branch's issuing profile, as its row of Configuracion_Facturas_Electronicas holds it. The
// three folders come with the platform's separator; Folio_Inicial_Facturas is the decimal text
// of the next folio as it was when the profiles were loaded.
struct Datos_Emision {
    int32_t ID_Sucursal = 0;
    std::string Calle_Domicilio_Expedicion;
    std::string Nro_Exterior_Domicilio_Expedicion;
    std::string Nro_Interior_Domicilio_Expedicion;
    std::string Colonia_Domicilio_Expedicion;
    std::string Ciudad_Domicilio_Expedicion;
    std::string Delegacion_Domicilio_Expedicion;
    std::string Estado_Domicilio_Expedicion;
    std::string CP_Domicilio_Expedicion;
    std::string Pais_Domicilio_Expedicion;
    std::string Referencia_Domicilio_Expedicion;
    std::string Lugar_de_Expedicion_Facturas;
    std::string Regimen_Fiscal_Facturas;
    std::string Ruta_Cola_Facturas;
    std::string Ruta_Facturas_Validas;
    std::string Ruta_Facturas_NO_Validas;
    std::string email_envio;
    std::string email_envio_copia;
    std::string Serie_Facturas;
    std::string Folio_Inicial_Facturas;
    std::string Razon_Social_Emisor;
    std::string RFC_Emisor;
    std::string Calle;
    std::string Nro_Exterior;
    std::string Nro_Interior;
    std::string Colonia;
    std::string Ciudad;
    std::string Delegacion;
    std::string Estado;
    std::string CP;
    std::string Pais;
    std::string Referencia;

    bool operator==(const Datos_Emision&) const = default;
};

// Replaces every loaded profile with those of the central database, in the order the query gives
// them, once all of them have been read: a failure (passed on to the caller) leaves the profiles
// loaded before as they were, never an empty or half table that would blank a branch's folders
// or let a blank profile be saved over a real one.
// The time zone of each branch is chosen again with them (Zona_Sucursal.h); a load after the first
// writes to the daily log each branch whose profile or zone it changed (Cambios_Perfiles.h).
// The reading runs where `lugar` runs its queries; the loaded profiles change on the caller's
// thread.
void Cargar_Datos_de_Emision(Lugar_Consultas& lugar = Consultas_En_Sitio());

// What a load reads from the central database. The reading touches nothing of the program's
// state, so a thread other than the program's may do it; the program's own then takes it.
struct Lectura_Datos_Emision {
    std::string huella;  // Leer_Huella_Perfiles, read before the rows
    std::vector<Datos_Emision> perfiles;
    std::map<int32_t, std::string> ajustes_zona;  // Leer_Ajustes_Zona
};
Lectura_Datos_Emision Leer_Datos_de_Emision(Conexion& conexion);
// The second half of Cargar_Datos_de_Emision: `lectura` becomes the loaded profiles and zones.
void Fijar_Datos_de_Emision(Lectura_Datos_Emision lectura);
// A copy of the first loaded profile of the branch, or a blank one when the branch has none.
Datos_Emision Obtener_Datos_Emision(int32_t id_sucursal);

// The profile of the current row of a "SELECT * FROM Configuracion_Facturas_Electronicas".
Datos_Emision Leer_Datos_Emision(const Recordset& rs);

const std::vector<Datos_Emision>& Datos_Emision_Sucursales();
// The fingerprint of the profiles and zone overrides the last load read (Cambios_Perfiles.h);
// empty before the first load.
const std::string& Huella_Datos_de_Emision();
void Reiniciar_Datos_de_Emision();

}  // namespace facturador
