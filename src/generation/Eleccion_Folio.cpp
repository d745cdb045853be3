#include "generation/Eleccion_Folio.h"

#include <limits>
#include <optional>
#include <string>

#include "data/Valores_Campo.h"
#include "generation/Cola_Timbrado.h"
#include "generation/Estado_Generacion.h"
#include "generation/Ocupacion_Folio.h"
#include "generation/Registro_Factura.h"
#include "issuing_config/Serie_Facturas.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr int32_t kUltimo_Folio = std::numeric_limits<int32_t>::max();

bool Trae_Serie_o_Folio(const Solicitud_Factura& s) {
    return !s.Serie.empty() || Valor_Inicial(s.Folio) != 0;
}

void Avisar_Serie_Ignorada(const Solicitud_Factura& s, Diario_Diferido& diario) {
    if (!Primer_Aviso("serie ignorada " + std::to_string(s.ID)))
        return;
    diario.Anotar(Encabezado_Log(s) + "Se ignoran la Serie \"" + Sin_Controles(s.Serie) +
                  "\" y el Folio " + s.Folio +
                  " que trae la solicitud: su sucursal no tiene una factura con ellos para su "
                  "ticket; se le asigna el siguiente folio de la sucursal.");
}

// True when another request of the branch went to stamping, or was stamped, with this series and
// folio: sending this one with them would stamp the folio twice.
bool De_Otra_Solicitud(Conexion& conexion, const Solicitud_Factura& s, const Serie_y_Folio& sf) {
    return !conexion
                .Ejecutar(
                    "SELECT ID FROM Solicitudes_de_Facturas_OL WHERE (ID_Sucursal = " +
                    std::to_string(s.ID_Sucursal) + ") AND (Serie = '" +
                    conexion.Escapar(sf.Serie) + "') AND (Folio = " + std::to_string(sf.Folio) +
                    ") AND ((Status = 2) OR (Status = 3)) AND (ID <> " + std::to_string(s.ID) + ")")
                .Fin();
}

// What already holds the series and folio in the branch, as the log tells it.
std::optional<std::string> Ocupante(Conexion& conexion, const Solicitud_Factura& s,
                                    const Datos_Emision& perfil, const Serie_y_Folio& sf) {
    const auto archivo =
        Archivo_Existente(perfil, sf, Estado_Generacion_Actual().Temporales_en_Cola);
    if (archivo)
        return "ya existe " + *archivo;
    if (const auto factura = Buscar_Factura_Registrada(conexion, sf, s.ID_Sucursal))
        return "ya está registrada la factura " + std::to_string(*factura);
    return std::nullopt;
}

}  // namespace

Eleccion_Folio Elegir_Serie_y_Folio(Conexion& conexion, const Solicitud_Factura& s,
                                    Diario_Diferido& diario) {
    if (Tiene_Serie_y_Folio_Propios(s)) {
        const Serie_y_Folio propios = Serie_y_Folio_Propios(s);
        const auto factura =
            Buscar_Factura_Registrada(conexion, propios, s.ID_Sucursal, s.Nro_Ticket);
        if (factura && !De_Otra_Solicitud(conexion, s, propios))
            return {propios, false, *factura};
    }
    if (Trae_Serie_o_Folio(s))
        Avisar_Serie_Ignorada(s, diario);
    return {Obtener_Serie_y_Folio(conexion, s.ID_Sucursal), true, 0};
}

void Comprobar_Serie_y_Folio(const Eleccion_Folio& eleccion, int32_t sucursal) {
    const Serie_y_Folio& sf = eleccion.Serie_Folio;
    const std::string de_la_sucursal = " de la sucursal " + std::to_string(sucursal);
    if (!Serie_Valida(sf.Serie))
        throw Error_Sin_Rutas("La Serie de Facturas \"" + Sin_Controles(sf.Serie) + "\"" +
                              de_la_sucursal + " no se puede usar: " + kMotivo_Serie_Invalida +
                              ".");
    if (eleccion.Nueva && sf.Folio == kUltimo_Folio)
        throw Error_Sin_Rutas("El Siguiente Folio a Emitir" + de_la_sucursal + " es " +
                              std::to_string(kUltimo_Folio) +
                              ", el mayor posible: no se puede emitir otro folio de la serie " +
                              sf.Serie + ".");
}

bool Saltar_Folios_Ocupados(Conexion& conexion, const Solicitud_Factura& s,
                            const Datos_Emision& perfil, Eleccion_Folio& eleccion,
                            Diario_Diferido& diario) {
    Serie_y_Folio& sf = eleccion.Serie_Folio;
    for (int saltados = 0;; ++saltados) {
        const auto ocupante = Ocupante(conexion, s, perfil, sf);
        if (!ocupante)
            return true;
        if (saltados == kMaximo_Folios_Saltados) {
            diario.Anotar_Si_Confirma(
                Encabezado_Log(s) + "Se saltaron " + std::to_string(saltados) +
                " folios ocupados de la serie " + sf.Serie +
                " sin hallar uno libre; la solicitud espera al siguiente ciclo.");
            return false;
        }
        diario.Anotar_Si_Confirma(Encabezado_Log(s) + "Se salta el folio " +
                                  std::to_string(sf.Folio) + " de la serie " + sf.Serie + ": " +
                                  *ocupante + ".");
        Actualizar_Proximo_Folio(conexion, s.ID_Sucursal);
        ++sf.Folio;
        Comprobar_Serie_y_Folio(eleccion, s.ID_Sucursal);
    }
}

}  // namespace facturador
