#include "issuing_config/Zona_Sucursal.h"

#include <fmt/format.h>

#include <utility>

#include "data/Log.h"
#include "data/Sucursales.h"
#include "data/Tablas_Propias.h"
#include "data/Valores_Campo.h"
#include "issuing_config/Zonas_Horarias.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"
#include "platform/Zona_Horaria.h"

namespace facturador {

namespace {

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

// The zone of the postal code, when tzdata has it; what stands in the way otherwise.
std::optional<std::string> Zona_del_Codigo(const std::string& cp, std::string& aviso) {
    const auto zona = Zona_de_Codigo_Postal(cp);
    if (zona && Es_Zona_Conocida(zona->Zona))
        return zona->Zona;
    aviso = Unir(aviso, zona ? fmt::format("el código postal de expedición {} es de la zona {}, "
                                           "que la base de zonas horarias del sistema no tiene",
                                           cp, zona->Zona)
                             : fmt::format("el código postal de expedición \"{}\" no corresponde "
                                           "a ninguna zona horaria",
                                           cp));
    return std::nullopt;
}

}  // namespace

Zona_Sucursal Elegir_Zona_Sucursal(const Datos_Emision& perfil, const Ajustes_Zona& ajustes,
                                   const std::string& zona_maquina) {
    Zona_Sucursal z;
    z.Codigo_Postal = Recortar(perfil.CP_Domicilio_Expedicion);
    if (const auto ajuste = ajustes.find(perfil.ID_Sucursal); ajuste != ajustes.end()) {
        const std::string nombre = Recortar(ajuste->second);
        if (Es_Zona_Conocida(nombre)) {
            z.Zona = nombre;
            z.Origen = Origen_Zona::Ajuste;
            return z;
        }
        z.Aviso = fmt::format(
            "la zona horaria \"{}\" de Zonas_Horarias_Sucursales no está en la "
            "base de zonas horarias del sistema y no se usa",
            ajuste->second);
    }
    if (const auto zona = Zona_del_Codigo(z.Codigo_Postal, z.Aviso)) {
        z.Zona = *zona;
        z.Origen = Origen_Zona::Codigo_Postal;
        return z;
    }
    z.Zona = zona_maquina;
    z.Aviso = Unir(z.Aviso, "sus facturas llevan la hora de esta máquina (" + zona_maquina + ")");
    return z;
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
    const std::string maquina = Zona_Maquina();
    // The first profile of a branch is the one the program works with.
    for (const Datos_Emision& perfil : perfiles)
        elegidas.zonas.emplace(perfil.ID_Sucursal, Elegir_Zona_Sucursal(perfil, ajustes, maquina));
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
    if (zona != zonas.end())
        return zona->second;
    Zona_Sucursal maquina;
    maquina.Zona = Zona_Maquina();
    return maquina;
}

Fecha_Hora Ahora_en_Sucursal(int32_t id_sucursal) {
    const Zona_Sucursal zona = Zona_de_Sucursal(id_sucursal);
    return zona.Origen == Origen_Zona::Maquina ? Ahora() : Ahora_en_Zona(zona.Zona);
}

std::string Texto_Zona_Sucursal(int32_t id_sucursal, const std::string& nombre,
                                const Zona_Sucursal& zona) {
    const std::string origen =
        zona.Origen == Origen_Zona::Codigo_Postal ? "por el código postal " + zona.Codigo_Postal
        : zona.Origen == Origen_Zona::Ajuste      ? std::string("por Zonas_Horarias_Sucursales")
                                                  : std::string("de esta máquina");
    return fmt::format("Sucursal {} ({}): zona horaria {} {}{}", id_sucursal, nombre, zona.Zona,
                       origen, zona.Aviso.empty() ? "" : ". Atención: " + zona.Aviso);
}

void Reiniciar_Zonas_Sucursales() {
    Elegidas() = {};
}

}  // namespace facturador
