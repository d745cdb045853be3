#include "intake/Resultado_Timbrado.h"

#include "data/Rechazo_Solicitud.h"
#include "data/Registro_Fallas.h"
#include "data/Sentencias_Pendientes.h"
#include "data/Turno_Central.h"
#include "intake/Montos_Facturados.h"
#include "intake/Observaciones_Recepcion.h"
#include "intake/Solicitudes_Timbradas.h"
#include "intake/Toma_Resultado.h"
#include "intake/Vigilancia_Cola.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

// The invoice updates and the amount of a request taken in, its status 3 to come at the end of the
// scan; if they fail on their own in the batch, its result is set aside as not storable.
void Encolar(const Solicitud_Timbrado& s, int32_t status, const Resultado_Tomado& tomado) {
    for (const std::string& sentencia : tomado.Sentencias)
        Agregar_Sentencia_de_Solicitud(s.ID, sentencia);
    Agregar_Solicitud_Timbrada(s.ID);
    Asentar_Monto_Facturado(s);
    Al_Fallar_Solicitud(s.ID, [s, status, huella = tomado.Huella](const std::string& falla) {
        Apartar_No_Almacenable(s, status, "sus sentencias fallaron: " + falla, huella);
    });
}

}  // namespace

Carpetas_Solicitud Carpetas_de_Sucursal(int32_t id_sucursal) {
    const Datos_Emision datos = Obtener_Datos_Emision(id_sucursal);
    return {{datos.Ruta_Facturas_Validas, datos.Ruta_Facturas_NO_Validas},
            datos.Ruta_Cola_Facturas};
}

void Procesar_Resultado_Timbrado(const Solicitud_Timbrado& s, const Carpetas_Solicitud& carpetas,
                                 int32_t status, const Fecha_Hora& ahora) {
    const Rutas_Resultado rutas = Rutas_de_Resultado(s.Archivo, carpetas.Resultado);
    const auto xml = Examinar_Entrada(rutas.XML);
    const auto pdf = xml ? Examinar_Entrada(rutas.PDF) : std::nullopt;
    const std::string contexto =
        "Almacenar el comprobante timbrado de la Solicitud ID: " + std::to_string(s.ID);
    try {
        if (!xml || !pdf) {
            // A refused result taken away: nothing of it is left to report.
            Quitar_Observaciones_Resultado(s.ID);
            if (Registrar_Error_Timbrado(rutas.Error, s.ID) || xml)
                Terminar_Vigilancia(s.ID);
            else if (status == 2)
                Vigilar_Sin_Resultado(s, carpetas.Cola, rutas, ahora);
            return;
        }
        Terminar_Vigilancia(s.ID);
        if (const auto tomado = Tomar_Resultado_Timbrado(s, rutas, *xml, *pdf, status))
            Encolar(s, status, *tomado);
    } catch (const Error_Plataforma& e) {
        // A conflict waits for the next scan; this copy without the lease ends the scan.
        if (Es_Conflicto(e.Numero))
            Fallas_Programa().Registrar_Conflicto(e.Descripcion, contexto);
        else if (e.Numero == kError_Sin_Turno || !xml || !pdf)
            throw;
        else
            Fallas_Programa().Registrar(e.Descripcion, contexto);
    }
}

bool Registrar_Error_Timbrado(const std::string& ruta_error, int32_t id_solicitud) {
    // A plain file only: the first line of whatever a link points at (a system file) must never
    // become the request's reason.
    const auto entrada = Examinar_Entrada(ruta_error);
    if (!entrada || !entrada->Regular)
        return false;
    std::string motivo = "Error: " + Leer_Primera_Linea(ruta_error);
    Rechazar_Solicitud(id_solicitud, motivo);
    return true;
}

std::string Leer_Primera_Linea(const std::string& ruta) {
    const std::string contenido = Leer_Archivo(ruta);
    return Texto_Leido(contenido.substr(0, contenido.find_first_of("\r\n")));
}

}  // namespace facturador
