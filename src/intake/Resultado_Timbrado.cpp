#include "intake/Resultado_Timbrado.h"

#include <vector>

#include "app/Estado_Aplicacion.h"
#include "app/Sentencias_Pendientes.h"
#include "generation/Rechazo.h"
#include "intake/Actualizacion_Factura.h"
#include "intake/Almacen_Comprobantes.h"
#include "intake/Montos_Facturados.h"
#include "intake/Solicitudes_Timbradas.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

Documento_Fiscal Documento(const Solicitud_Timbrado& s, const std::string& extension,
                           const std::string& ruta, const std::string& tipo) {
    // Two blanks after the type, then series and folio with nothing between them.
    return {s.ID_Factura, s.Archivo + extension,
            ruta,         "Documento " + tipo + "  " + s.Serie + std::to_string(s.Folio),
            tipo,         s.ID_Sucursal};
}

// Reads the XML and stores both documents before anything of the request is queued.
void Tomar_Comprobante_Timbrado(const Solicitud_Timbrado& s, const Rutas_Resultado& rutas) {
    const std::vector<std::string> actualizaciones =
        Leer_Comprobante_Timbrado(rutas.XML, s.ID_Factura);
    Almacenar_Documento(Documento(s, ".pdf", rutas.PDF, "PDF"));
    Almacenar_Documento(Documento(s, ".xml", rutas.XML, "XML"));
    for (const std::string& sentencia : actualizaciones)
        Agregar_Sentencia_de_Solicitud(s.ID, sentencia);
    Agregar_Solicitud_Timbrada(s.ID);
    Asentar_Monto_Facturado(s);
}

}  // namespace

Carpetas_Resultado Carpetas_de_Resultado(int32_t id_sucursal) {
    const Datos_Emision datos = Obtener_Datos_Emision(id_sucursal);
    return {datos.Ruta_Facturas_Validas, datos.Ruta_Facturas_NO_Validas};
}

void Procesar_Resultado_Timbrado(const Solicitud_Timbrado& s, const Carpetas_Resultado& carpetas) {
    const Rutas_Resultado rutas = Rutas_de_Resultado(s.Archivo, carpetas);
    if (!Existe_Archivo(rutas.XML) || !Existe_Archivo(rutas.PDF)) {
        Registrar_Error_Timbrado(rutas.Error, s.ID);
        return;
    }
    try {
        Tomar_Comprobante_Timbrado(s, rutas);
    } catch (const Error_Plataforma& e) {
        Estado_App().fallas.Registrar(e.Descripcion,
                                      "Almacenar el comprobante timbrado de la "
                                      "Solicitud ID: " +
                                          std::to_string(s.ID));
    }
}

void Registrar_Error_Timbrado(const std::string& ruta_error, int32_t id_solicitud) {
    if (!Existe_Archivo(ruta_error))
        return;
    std::string motivo = "Error: " + Leer_Primera_Linea(ruta_error);
    Rechazar_Solicitud(id_solicitud, motivo);
}

std::string Leer_Primera_Linea(const std::string& ruta) {
    const std::string contenido = Leer_Archivo(ruta);
    return Texto_Leido(contenido.substr(0, contenido.find_first_of("\r\n")));
}

}  // namespace facturador
