#include "intake/Resultado_Timbrado.h"

#include <cerrno>
#include <utility>

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

// The most of an error text read for its first line: the reason keeps 199 characters of it.
constexpr size_t kMaximo_Texto_Error = 4096;
// A hostile name must neither break the log line nor flood it.
constexpr size_t kLargo_Mostrado = 80;

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

// Neither the XML nor the PDF is complete. An error file rejects the request; one that is not a
// regular file is a result that does not match, listed and logged once. Without it the request is
// left as it is, and one in status 2 is watched for a file to stamp that has gone.
void Procesar_Sin_Comprobante(const Solicitud_Timbrado& s, const Carpetas_Solicitud& carpetas,
                              int32_t status, const Fecha_Hora& ahora, const Rutas_Resultado& rutas,
                              bool con_xml) {
    const Error_Timbrado error = Registrar_Error_Timbrado(rutas.Error, s.ID);
    if (error == Error_Timbrado::No_Regular) {
        Terminar_Vigilancia(s.ID);
        return Anotar_Discrepancia(s, status, "el texto de error no es un archivo regular");
    }
    // A refused result taken away: nothing of it is left to report.
    Quitar_Observaciones_Resultado(s.ID);
    if (error == Error_Timbrado::Registrado || con_xml)
        Terminar_Vigilancia(s.ID);
    else if (status == 2)
        Vigilar_Sin_Resultado(s, carpetas.Cola, rutas, ahora);
}

// A first line cut by the limit may end inside a UTF-8 character: without that broken end it is
// still read as the UTF-8 it is, not as Windows-1252.
std::string_view Sin_Caracter_Cortado(std::string_view linea) {
    for (size_t quitar = 1; quitar <= 3 && quitar < linea.size(); ++quitar)
        if (Es_UTF8_Valido(linea.substr(0, linea.size() - quitar)))
            return linea.substr(0, linea.size() - quitar);
    return linea;
}

}  // namespace

Carpetas_Solicitud Carpetas_de_Sucursal(int32_t id_sucursal) {
    const Datos_Emision datos = Obtener_Datos_Emision(id_sucursal);
    return {{datos.Ruta_Facturas_Validas, datos.Ruta_Facturas_NO_Validas},
            datos.Ruta_Cola_Facturas};
}

void Procesar_Resultado_Timbrado(const Solicitud_Timbrado& s, const Carpetas_Solicitud& carpetas,
                                 int32_t status, const Fecha_Hora& ahora) {
    if (const auto motivo = Motivo_Rutas_Rechazadas(s.Archivo, carpetas.Resultado)) {
        Terminar_Vigilancia(s.ID);
        return Anotar_Discrepancia(s, status, *motivo);
    }
    const Rutas_Resultado rutas = Rutas_de_Resultado(s.Archivo, carpetas.Resultado);
    const auto xml = Examinar_Entrada(rutas.XML);
    const auto pdf = xml ? Examinar_Entrada(rutas.PDF) : std::nullopt;
    const std::string contexto =
        "Almacenar el comprobante timbrado de la Solicitud ID: " + std::to_string(s.ID);
    try {
        if (!xml || !pdf)
            return Procesar_Sin_Comprobante(s, carpetas, status, ahora, rutas, xml.has_value());
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

Error_Timbrado Registrar_Error_Timbrado(const std::string& ruta_error, int32_t id_solicitud) {
    std::string linea;
    try {
        linea = Leer_Primera_Linea(ruta_error);
    } catch (const Error_Plataforma& e) {
        if (e.Numero == ENOENT || e.Numero == ENOTDIR)
            return Error_Timbrado::Ausente;
        // The first line of whatever a link points at (a system file) must never become the
        // request's reason, and a pipe must never hold the scan.
        if (e.Numero == kError_No_Regular)
            return Error_Timbrado::No_Regular;
        throw;
    }
    std::string motivo = "Error: " + linea;
    Rechazar_Solicitud(id_solicitud, motivo);
    return Error_Timbrado::Registrado;
}

std::string Leer_Primera_Linea(const std::string& ruta) {
    const Contenido_Archivo contenido = Leer_Archivo_Regular(ruta, kMaximo_Texto_Error);
    const std::string_view bytes = contenido.Bytes;
    const size_t fin = bytes.find_first_of("\r\n");
    const std::string_view linea = bytes.substr(0, fin);
    const bool cortada = fin == std::string_view::npos && !contenido.Completo;
    return Texto_Leido(cortada && !Es_UTF8_Valido(linea) ? Sin_Caracter_Cortado(linea) : linea);
}

std::optional<std::string> Motivo_Rutas_Rechazadas(const std::string& archivo,
                                                   const Carpetas_Resultado& carpetas) {
    if (!Queda_En_Su_Carpeta(archivo))
        return "su Archivo " + Una_Linea("'" + archivo + "'", kLargo_Mostrado) +
               " no es un nombre de archivo: se saldría de su carpeta";
    for (const auto& [carpeta, cual] :
         {std::pair{&carpetas.Validas, "válidas"}, std::pair{&carpetas.No_Validas, "NO válidas"}})
        if (Sube_de_Carpeta(*carpeta))
            return "la carpeta de facturas " + std::string(cual) + " " +
                   Una_Linea(*carpeta, kLargo_Mostrado) + " sube de carpeta con '..'";
    return std::nullopt;
}

}  // namespace facturador
