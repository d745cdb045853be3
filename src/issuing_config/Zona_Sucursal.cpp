#include "issuing_config/Zona_Sucursal.h"

#include <fmt/format.h>

#include <utility>

#include "data/Log.h"
#include "data/Sucursales.h"
#include "data/Tablas_Propias.h"
#include "data/Valores_Campo.h"
#include "issuing_config/Validacion_Perfil.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"
#include "platform/Zona_Horaria.h"

namespace facturador {

namespace {

// How far ahead the two reckonings of a place are compared: a year holds every change of both.
constexpr long long kAnio = 366 * 86400LL;

struct Zonas_Elegidas {
    std::map<int32_t, Zona_Sucursal> zonas;
    std::map<int32_t, std::string> anotadas;  // the text last written to the daily log
};

Zonas_Elegidas& Elegidas() {
    static Zonas_Elegidas elegidas;
    return elegidas;
}

std::string Unir(const std::string& a, const std::string& b) {
    return a.empty() ? b : a + "; " + b;
}

std::string Lista(const std::set<std::string>& zonas) {
    std::string lista;
    for (const std::string& zona : zonas)
        lista += (lista.empty() ? "" : ", ") + zona;
    return lista;
}

// Why a zone set by hand cannot date the branch's invoices, or nothing: tzdata must have it, and
// the branch's state must be able to keep it by law, so that no override puts a branch on another
// country's or another state's time.
std::optional<std::string> Falla_Ajuste(const std::string& zona,
                                        const std::optional<Zona_Lugar>& lugar) {
    const std::string ajuste = "la zona horaria \"" + zona + "\" de Zonas_Horarias_Sucursales";
    if (!Es_Zona_Conocida(zona))
        return ajuste + " no está en la base de zonas horarias del sistema";
    if (!lugar)
        return ajuste +
               " no se puede comprobar: su código postal de expedición no es de ningún "
               "estado";
    const std::set<std::string> legales = Zonas_del_Estado(lugar->Estado);
    if (!legales.contains(zona))
        return fmt::format("{} no es una zona horaria de {} ({})", ajuste,
                           Nombre_Estado(lugar->Estado), Lista(legales));
    return std::nullopt;
}

std::string Texto_Lugar(const Zona_Sucursal& z) {
    if (!z.Lugar)
        return "";
    const std::string estado = Nombre_Estado(z.Lugar->Estado);
    if (!z.Lugar->Huso)
        return " (" + estado + "; el código no está en el catálogo c_CodigoPostal)";
    return " (" + estado + ", " +
           (z.Lugar->Municipio.empty() ? "sin municipio en el catálogo"
                                       : "municipio " + z.Lugar->Municipio) +
           ")";
}

}  // namespace

Zona_Sucursal Elegir_Zona_Sucursal(const Datos_Emision& perfil, const Ajustes_Zona& ajustes) {
    Zona_Sucursal z;
    z.Codigo_Postal = Recortar(perfil.CP_Domicilio_Expedicion);
    z.Lugar = Zona_de_Codigo_Postal(z.Codigo_Postal);
    if (const auto ajuste = ajustes.find(perfil.ID_Sucursal); ajuste != ajustes.end()) {
        const std::string nombre = Recortar(ajuste->second);
        const auto falla = Falla_Ajuste(nombre, z.Lugar);
        if (!falla) {
            z.Zona = nombre;
            z.Origen = Origen_Zona::Ajuste;
            return z;
        }
        z.Falla = *falla;
    }
    if (!z.Lugar)
        return z;
    if (!Es_Zona_Conocida(z.Lugar->Zona)) {
        z.Falla = Unir(z.Falla, "la zona horaria " + z.Lugar->Zona +
                                    " de su lugar de expedición no está en la base de zonas "
                                    "horarias del sistema");
        return z;
    }
    z.Zona = z.Lugar->Zona;
    z.Origen = Origen_Zona::Codigo_Postal;
    return z;
}

Relojes_Lugar Relojes_de(const Zona_Sucursal& zona) {
    return {zona.Zona, zona.Lugar ? zona.Lugar->Huso : std::nullopt};
}

std::optional<std::string> Motivo_Sucursal_Detenida(const Datos_Emision& perfil,
                                                    const Zona_Sucursal& zona) {
    if (auto motivo = Motivo_Perfil_Invalido(perfil))
        return motivo;
    if (!zona.Falla.empty())
        return zona.Falla;
    return std::nullopt;
}

Ajustes_Zona Leer_Ajustes_Zona(Conexion& conexion) {
    Ajustes_Zona ajustes;
    try {
        Recordset rs =
            conexion.Ejecutar("SELECT ID_Sucursal, Zona_Horaria FROM Zonas_Horarias_Sucursales");
        for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
            ajustes[Entero_Redondeado(Valor_Inicial(rs.Texto("ID_Sucursal"))).value_or(0)] =
                rs.Texto("Zona_Horaria");
    } catch (const Error_Plataforma& e) {
        if (e.Numero != kError_Tabla_Inexistente)
            throw;
    }
    return ajustes;
}

void Fijar_Zonas_Sucursales(const std::vector<Datos_Emision>& perfiles,
                            const Ajustes_Zona& ajustes) {
    Zonas_Elegidas& elegidas = Elegidas();
    elegidas.zonas.clear();
    // The first profile of a branch is the one the program works with.
    for (const Datos_Emision& perfil : perfiles)
        elegidas.zonas.emplace(perfil.ID_Sucursal, Elegir_Zona_Sucursal(perfil, ajustes));
}

void Fijar_Zona_Sucursal(const Datos_Emision& perfil, const Ajustes_Zona& ajustes) {
    Elegidas().zonas[perfil.ID_Sucursal] = Elegir_Zona_Sucursal(perfil, ajustes);
}

void Anotar_Zonas_Sucursales() {
    Zonas_Elegidas& elegidas = Elegidas();
    for (const auto& [id, zona] : elegidas.zonas) {
        const std::string texto = Texto_Zona_Sucursal(id, Nombre_Sucursal(id), zona);
        if (std::exchange(elegidas.anotadas[id], texto) != texto)
            Escribir_Log(texto);
    }
}

Zona_Sucursal Zona_de_Sucursal(int32_t id_sucursal) {
    const auto& zonas = Elegidas().zonas;
    const auto zona = zonas.find(id_sucursal);
    return zona != zonas.end() ? zona->second : Zona_Sucursal{};
}

Relojes_Lugar Relojes_Sucursal(int32_t id_sucursal) {
    return Relojes_de(Zona_de_Sucursal(id_sucursal));
}

Fecha_Hora Ahora_en_Sucursal(int32_t id_sucursal) {
    return Hora_Temprana(Relojes_Sucursal(id_sucursal), Instante_Ahora());
}

std::string Huso_Distinto(const Zona_Sucursal& zona) {
    const Instante ahora = Instante_Ahora();
    if (!zona.Lugar || !zona.Lugar->Huso ||
        !Relojes_Difieren(Relojes_de(zona), ahora, ahora + kAnio))
        return "";
    return Texto_Huso(*zona.Lugar->Huso);
}

std::string Texto_Zona_Sucursal(int32_t id_sucursal, const std::string& nombre,
                                const Zona_Sucursal& zona) {
    std::string texto = fmt::format("Sucursal {} ({}): zona horaria ", id_sucursal, nombre);
    if (zona.Origen == Origen_Zona::Ajuste)
        texto += zona.Zona + " por Zonas_Horarias_Sucursales";
    else if (zona.Origen == Origen_Zona::Codigo_Postal)
        texto += zona.Zona + " por el código postal " + zona.Codigo_Postal + Texto_Lugar(zona);
    else
        texto += "ninguna: el código postal de expedición \"" + zona.Codigo_Postal +
                 "\" no es de ningún estado";
    if (const std::string huso = Huso_Distinto(zona); !huso.empty())
        texto += "; el catálogo c_CodigoPostal le da " + huso +
                 ": sus facturas llevan la más temprana de las dos horas";
    if (!zona.Falla.empty())
        texto += ". No emite facturas: " + zona.Falla;
    return texto;
}

void Reiniciar_Zonas_Sucursales() {
    Elegidas() = {};
}

}  // namespace facturador
