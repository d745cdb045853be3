#include "cancellation/Cancelacion.h"

#include <exception>
#include <optional>

#include "cancellation/Archivo_Cancelacion.h"
#include "cancellation/Factura_a_Cancelar.h"
#include "data/Conexiones.h"
#include "data/Sucursales.h"
#include "data/Valores_Campo.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

using enum Control_Cancelacion;

constexpr const char* kTitulo_Sin_Datos = "No se puede proceder con la cancelación";
constexpr const char* kFalta_Serie = "Favor de ingresar la Serie de la Factura a cancelar.";
constexpr const char* kFalta_Folio = "Favor de ingresar el Folio de la Factura a cancelar.";
constexpr const char* kFolio_Fuera_De_Rango =
    "El Folio ingresado es mayor que el máximo permitido (2147483647), favor de verificar.";
constexpr const char* kNombre_Fuera_De_Cola =
    "La Serie y el Folio de la Factura a cancelar no pueden contener el carácter \"/\", favor "
    "de verificar.";

constexpr const char* kTitulo_No_Cancelable = "No se puede Cancelar la Factura";
constexpr const char* kFalta_Motivo =
    "Favor de especificar el Motivo por el cual se cancelará la Factura.";
constexpr const char* kNo_Existe_Emitida =
    "No existe Factura emitida con los datos ingresados, favor de verificar.";
constexpr const char* kTitulo_Ya_Cancelada = "Atención";
constexpr const char* kYa_Cancelada =
    "La factura ya está cancelada en sistema y se intentará cancelar ante el SAT.";

constexpr const char* kTitulo_No_Realizada = "No se realizó la cancelación";
constexpr const char* kTitulo_Sin_Timbre = "No se puede realizar la cacenlación";
constexpr const char* kSin_RFC =
    "La factura seleccionada no tiene RFC del emisor, favor de verificar.";
constexpr const char* kSin_UUID =
    "La factura seleccionada no tiene el código único UUID, favor de verificar.";
constexpr const char* kSin_Cola =
    "La sucursal de la factura no tiene configurado el folder para Facturas por Timbrar, "
    "favor de configurarlo antes de cancelar la factura. No se realizó ningún cambio.";

constexpr const char* kTitulo_Atencion = "ATENCION";
constexpr const char* kProceso_Iniciado =
    "Se inició el proceso de Cancelación de la factura ingresada.";

constexpr const char* kTitulo_Falla = "Se produjo un error";
constexpr const char* kMensaje_Falla =
    "No se pudo cancelar la factura; no se realizó ningún cambio. Detalle: ";
constexpr const char* kMensaje_Sin_Registrar =
    "La solicitud de cancelación quedó en la carpeta del programa de timbrado, pero la "
    "cancelación no se pudo registrar en el sistema. Favor de volver a cancelar la factura. "
    "Detalle: ";

enum class Resultado { Hecha, Rechazada, Detenida };

void Avisar(const char* titulo, const std::string& mensaje) {
    Operador_Actual().Mostrar_Advertencia(titulo, mensaje);
}

bool Falta(Vista_Cancelacion& vista, Control_Cancelacion caja, const char* mensaje) {
    if (!Recortar(vista.Texto(caja)).empty())
        return false;
    Avisar(kTitulo_Sin_Datos, mensaje);
    vista.Poner_Texto(caja, "");
    vista.Enfocar(caja);
    return true;
}

// The series and folio to look up, or nothing when the typed ones cannot be used.
std::optional<Clave_Factura> Leer_Clave(Vista_Cancelacion& vista) {
    const auto folio = Entero_Redondeado(Valor_Inicial(vista.Texto(txtNro)));
    if (!folio) {
        Avisar(kTitulo_Sin_Datos, kFolio_Fuera_De_Rango);
        vista.Enfocar(txtNro);
        return std::nullopt;
    }
    if (!Queda_En_Su_Carpeta(
            Nombre_Archivo_Cancelacion(vista.Texto(txtSerie), vista.Texto(txtNro)))) {
        Avisar(kTitulo_Sin_Datos, kNombre_Fuera_De_Cola);
        vista.Enfocar(txtSerie);
        return std::nullopt;
    }
    return Clave_Factura{Recortar(vista.Texto(txtSerie)), *folio};
}

bool Validar_Cancelacion(Vista_Cancelacion& vista, const Clave_Factura& clave) {
    if (Recortar(vista.Texto(txtMotivo)).empty()) {
        vista.Enfocar(txtMotivo);
        Avisar(kTitulo_No_Cancelable, kFalta_Motivo);
        return false;
    }
    const Factura_Buscada buscada = Consultar_en_Conexion<Factura_Buscada>(
        vista, [clave](Conexion& conexion) { return Buscar_Factura_a_Cancelar(conexion, clave); });
    vista.Poner_Texto(lblTicket, buscada.ticket);
    if (!buscada.encontrada) {
        vista.Enfocar(txtSerie);
        Avisar(kTitulo_No_Cancelable, kNo_Existe_Emitida);
        return false;
    }
    if (!buscada.cancelada.empty())
        Avisar(kTitulo_Ya_Cancelada, kYa_Cancelada);
    return true;
}

std::string Pregunta_Confirmacion(const Clave_Factura& clave, const Factura_a_Cancelar& f) {
    return "Se cancelará la Factura Serie: " + clave.serie +
           "   Folio: " + std::to_string(clave.folio) +
           "  Emitido por la sucursal: " + Nombre_Sucursal(f.ID_Sucursal);
}

// Why the invoice cannot be cancelled, as title and message; nothing when it can.
std::optional<std::pair<const char*, std::string>> Impedimento(
    const Clave_Factura& clave, const std::optional<Factura_a_Cancelar>& factura) {
    if (!factura)
        return std::pair{kTitulo_No_Realizada, "No existe factura con la Serie " + clave.serie +
                                                   "  Folio: " + std::to_string(clave.folio) +
                                                   ". Favor de verificar."};
    if (factura->rfc_emisor.empty())
        return std::pair{kTitulo_Sin_Timbre, std::string(kSin_RFC)};
    if (factura->UUID.empty())
        return std::pair{kTitulo_Sin_Timbre, std::string(kSin_UUID)};
    return std::nullopt;
}

Resultado Realizar_Cancelacion(Vista_Cancelacion& vista, const Clave_Factura& clave) {
    vista.Poner_Texto(lblUUID, "");
    auto factura = Consultar_en_Conexion<std::optional<Factura_a_Cancelar>>(
        vista, [clave](Conexion& conexion) { return Leer_Factura_a_Cancelar(conexion, clave); });
    if (const auto impedimento = Impedimento(clave, factura)) {
        Avisar(impedimento->first, impedimento->second);
        return Resultado::Rechazada;
    }
    Anotar_Cancelacion(*factura, Recortar(vista.Texto(txtMotivo)));
    const std::string cola = Obtener_Datos_Emision(factura->ID_Sucursal).Ruta_Cola_Facturas;
    if (cola.empty()) {
        Avisar(kTitulo_No_Realizada, kSin_Cola);
        return Resultado::Detenida;
    }
    vista.Poner_Texto(lblUUID, factura->UUID);
    if (!Operador_Actual().Pedir_Confirmacion(kTitulo_Atencion,
                                              Pregunta_Confirmacion(clave, *factura)))
        return Resultado::Rechazada;
    const std::string ruta =
        Unir_Ruta(cola, Nombre_Archivo_Cancelacion(vista.Texto(txtSerie), vista.Texto(txtNro)));
    Consultar_Central<void>(vista, [factura = *factura, ticket = Valor_Inicial(vista.Texto(lblTicket)),
                                    ruta](const Abrir_Central& abrir) {
        Aplicar_Cancelacion(abrir, factura, ticket, ruta);
    });
    return Resultado::Hecha;
}

void Limpiar(Vista_Cancelacion& vista) {
    for (const auto caja : {txtMotivo, txtNro, txtSerie, lblUUID})
        vista.Poner_Texto(caja, "");
    vista.Poner_Texto(lblTicket, "0");
    vista.Enfocar(txtSerie);
}

}  // namespace

void Aceptar_Cancelacion(Vista_Cancelacion& vista) {
    if (Falta(vista, txtSerie, kFalta_Serie) || Falta(vista, txtNro, kFalta_Folio))
        return;
    const auto clave = Leer_Clave(vista);
    if (!clave)
        return;
    vista.Poner_Texto(lblUUID, "");
    vista.Poner_Texto(lblTicket, "0");
    try {
        if (!Validar_Cancelacion(vista, *clave))
            return;
        const Resultado resultado = Realizar_Cancelacion(vista, *clave);
        if (resultado == Resultado::Detenida)
            return;
        if (resultado == Resultado::Hecha)
            Avisar(kTitulo_Atencion, kProceso_Iniciado);
    } catch (const Cancelacion_Sin_Registrar& e) {
        Avisar(kTitulo_Falla, kMensaje_Sin_Registrar + std::string(e.what()));
        return;
    } catch (const std::exception& e) {
        Avisar(kTitulo_Falla, kMensaje_Falla + std::string(e.what()));
        return;
    }
    Limpiar(vista);
}

}  // namespace facturador
