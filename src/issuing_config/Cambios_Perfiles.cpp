#include "issuing_config/Cambios_Perfiles.h"

#include <set>

#include "data/Log.h"
#include "data/Sucursales.h"
#include "data/Tablas_Propias.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

// Every column of a profile the program reads but the next folio. QUOTE keeps the columns apart
// (and a Null apart from a text), so no two different rows give the same text.
constexpr const char* kColumnas_Perfil =
    "ID_Sucursal, QUOTE(Calle_Domicilio_Expedicion), QUOTE(Nro_Exterior_Domicilio_Expedicion), "
    "QUOTE(Nro_Interior_Domicilio_Expedicion), QUOTE(Colonia_Domicilio_Expedicion), "
    "QUOTE(Ciudad_Domicilio_Expedicion), QUOTE(Delegacion_Domicilio_Expedicion), "
    "QUOTE(Estado_Domicilio_Expedicion), QUOTE(CP_Domicilio_Expedicion), "
    "QUOTE(Pais_Domicilio_Expedicion), QUOTE(Referencia_Domicilio_Expedicion), "
    "QUOTE(Lugar_de_Expedicion_Facturas), QUOTE(Regimen_Fiscal_Facturas), "
    "QUOTE(Ruta_Cola_Facturas), QUOTE(Ruta_Facturas_Validas), QUOTE(Ruta_Facturas_NO_Validas), "
    "QUOTE(email_envio), QUOTE(email_envio_copia), QUOTE(Serie_Facturas), "
    "QUOTE(Razon_Social_Emisor), QUOTE(RFC_Emisor), QUOTE(Calle), QUOTE(Nro_Exterior), "
    "QUOTE(Nro_Interior), QUOTE(Colonia), QUOTE(Ciudad), QUOTE(Delegacion), QUOTE(Estado), "
    "QUOTE(CP), QUOTE(Pais), QUOTE(Referencia)";

// The rows' count and the exclusive or of their MD5s, in two 64-bit halves: independent of the
// order the rows come in, and changed by any change of any row.
std::string Huella_de(Conexion& conexion, const std::string& columnas, const std::string& tabla) {
    const Recordset rs = conexion.Ejecutar(
        "SELECT COUNT(*), BIT_XOR(CAST(CONV(LEFT(h, 16), 16, 10) AS UNSIGNED)), "
        "BIT_XOR(CAST(CONV(RIGHT(h, 16), 16, 10) AS UNSIGNED)) FROM (SELECT MD5(CONCAT_WS(',', " +
        columnas + ")) AS h FROM " + tabla + ") filas");
    if (rs.Fin())
        return "-";
    return rs.Texto(size_t{0}) + ":" + rs.Texto(size_t{1}) + ":" + rs.Texto(size_t{2});
}

std::string Huella_Ajustes_Zona(Conexion& conexion) {
    try {
        return Huella_de(conexion, "ID_Sucursal, QUOTE(Zona_Horaria)", "Zonas_Horarias_Sucursales");
    } catch (const Error_Plataforma& e) {
        if (e.Numero != kError_Tabla_Inexistente)
            throw;
        return "0:0:0";  // as an empty table
    }
}

// The profile as far as the fingerprint sees it: the next folio left out.
Datos_Emision Sin_Folio(Datos_Emision perfil) {
    perfil.Folio_Inicial_Facturas.clear();
    return perfil;
}

// The first profile of the branch in the list (the one the program works with), if any.
const Datos_Emision* Perfil_en(const std::vector<Datos_Emision>& perfiles, int32_t id) {
    for (const Datos_Emision& perfil : perfiles)
        if (perfil.ID_Sucursal == id)
            return &perfil;
    return nullptr;
}

bool Mismo_Perfil(const Datos_Emision* a, const Datos_Emision* b) {
    if (!a || !b)
        return a == b;
    return Sin_Folio(*a) == Sin_Folio(*b);
}

}  // namespace

std::string Leer_Huella_Perfiles(Conexion& conexion) {
    return Huella_de(conexion, kColumnas_Perfil, "Configuracion_Facturas_Electronicas") + "/" +
           Huella_Ajustes_Zona(conexion);
}

std::optional<Lectura_Datos_Emision> Leer_Perfiles_Cambiados(Conexion& conexion,
                                                             const std::string& conocida) {
    if (Leer_Huella_Perfiles(conexion) == conocida)
        return std::nullopt;
    return Leer_Datos_de_Emision(conexion);
}

bool Tomar_Perfiles_Cambiados(Conexion& conexion) {
    std::optional<Lectura_Datos_Emision> nuevos =
        Leer_Perfiles_Cambiados(conexion, Huella_Datos_de_Emision());
    if (!nuevos)
        return false;
    Fijar_Datos_de_Emision(std::move(*nuevos));
    return true;
}

Perfiles_Anteriores Perfiles_Antes_de_Recargar() {
    Perfiles_Anteriores antes{Datos_Emision_Sucursales(), {}};
    for (const Datos_Emision& perfil : antes.perfiles)
        antes.zonas.emplace(perfil.ID_Sucursal, Zona_de_Sucursal(perfil.ID_Sucursal));
    return antes;
}

void Anotar_Perfiles_Nuevos(const Perfiles_Anteriores& antes) {
    const std::vector<Datos_Emision>& ahora = Datos_Emision_Sucursales();
    std::set<int32_t> sucursales;
    for (const auto* lista : {&antes.perfiles, &ahora})
        for (const Datos_Emision& perfil : *lista)
            sucursales.insert(perfil.ID_Sucursal);
    for (const int32_t id : sucursales) {
        const Datos_Emision* nuevo = Perfil_en(ahora, id);
        const auto zona = antes.zonas.find(id);
        const bool otra_zona =
            nuevo && (zona == antes.zonas.end() || zona->second != Zona_de_Sucursal(id));
        if (Mismo_Perfil(Perfil_en(antes.perfiles, id), nuevo) && !otra_zona)
            continue;
        const std::string nombre = Nombre_Sucursal(id);
        Escribir_Log("Se tomó el perfil nuevo de la sucursal " + std::to_string(id) + " (" +
                     nombre + ")" + (nuevo ? "." : ": ya no tiene perfil de emisión.") +
                     (otra_zona ? " " + Texto_Zona_Sucursal(id, nombre, Zona_de_Sucursal(id))
                                : std::string()));
    }
}

}  // namespace facturador
