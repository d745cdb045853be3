#include "generation/Cola_Timbrado.h"

#include <fmt/format.h>

#include <cerrno>

#include "data/Log.h"
#include "generation/Archivo_Timbrar.h"
#include "generation/Estado_Generacion.h"
#include "generation/Fecha_Factura.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr long kError_Tipos = 13;

struct Rutas_Archivo {
    std::string cola;
    // Hidden name in the queue folder under which the copy is made, then renamed to `cola`, so the
    // stamping program never sees a file half copied.
    std::string llegando;
    std::string temporal;
    // The folders involved, as the operator reads them in a failure.
    std::string texto;
};

Fecha_Hora Fecha_de(const Solicitud_Factura& solicitud) {
    const auto fecha = Leer_Fecha_Hora(solicitud.Fecha);
    if (!fecha)
        throw Error_Plataforma(kError_Tipos, "No coinciden los tipos: fecha de la solicitud \"" +
                                                 solicitud.Fecha + "\"");
    return *fecha;
}

Rutas_Archivo Armar_Rutas(const Datos_Emision& emisor, const std::string& nombre,
                          const Fecha_Hora& ahora) {
    Rutas_Archivo rutas;
    rutas.cola = Unir_Ruta(emisor.Ruta_Cola_Facturas, nombre);
    rutas.llegando = Unir_Ruta(emisor.Ruta_Cola_Facturas, "." + nombre + ".copiando");
    rutas.temporal = Unir_Ruta(
        Carpeta_Programa(),
        fmt::format("_{:02}_{:02}_{:02}_", ahora.Hora, ahora.Minuto, ahora.Segundo) + nombre);
    rutas.texto = "Validas: " + emisor.Ruta_Facturas_Validas + "  -  " + rutas.temporal +
                  "  ---- Para timbrar: " + rutas.cola;
    return rutas;
}

void Mostrar_Archivo(const std::string& nombre) {
    const auto& mostrar = Estado_Generacion_Actual().Mostrar_Archivo;
    if (mostrar)
        mostrar(nombre);
}

}  // namespace

Archivo_Encolado Crear_Archivo_para_Timbrar(const Solicitud_Factura& solicitud,
                                            const std::string& serie, int32_t folio) {
    Rutas_Archivo rutas;
    bool copiando = false;
    try {
        const Fecha_Hora ahora = Ahora();
        const std::string fecha = Fecha_para_Timbrar(Fecha_de(solicitud), ahora);
        const Datos_Emision emisor = Obtener_Datos_Emision(solicitud.ID_Sucursal);
        const std::string nombre = Nombre_Archivo_para_Timbrar(serie, folio);
        Mostrar_Archivo(nombre);
        rutas = Armar_Rutas(emisor, nombre, ahora);
        if (emisor.Ruta_Cola_Facturas.empty())
            throw Error_Plataforma(ENOENT, "La sucursal " + std::to_string(solicitud.ID_Sucursal) +
                                               " no tiene carpeta de cola de facturas");
        Borrar_Archivo_Ignorando_Errores(Unir_Ruta(emisor.Ruta_Cola_Facturas, "Cancelar.xml"));
        Borrar_Archivo_Ignorando_Errores(rutas.temporal);
        Borrar_Archivo_Ignorando_Errores(rutas.cola);
        Borrar_Archivo_Ignorando_Errores(rutas.llegando);  // left by a copy cut short
        Escribir_Archivo(rutas.temporal, A_Windows_1252(Texto_para_Timbrar(solicitud, emisor, serie,
                                                                           folio, fecha)));
        Poner_Solo_Lectura(rutas.temporal);
        copiando = true;
        Copiar_Archivo(rutas.temporal, rutas.llegando);
        Renombrar_Archivo(rutas.llegando, rutas.cola);
        Borrar_Archivo_Ignorando_Errores(rutas.temporal);
        return {nombre.substr(0, nombre.size() - 4), emisor.Ruta_Facturas_Validas, rutas.cola};
    } catch (const Error_Plataforma& e) {
        if (!rutas.temporal.empty())
            Borrar_Archivo_Ignorando_Errores(rutas.temporal);
        // A copy cut short must not reach the stamping program.
        if (copiando) {
            Borrar_Archivo_Ignorando_Errores(rutas.llegando);
            Borrar_Archivo_Ignorando_Errores(rutas.cola);
        }
        throw Error_Archivo_Timbrar("Rutas: " + rutas.texto + "  --  " + e.Descripcion);
    }
}

void Avisar_Error_Archivo_para_Timbrar(int32_t id_solicitud, const Error_Archivo_Timbrar& error) {
    Escribir_Log("Solicitud ID: " + std::to_string(id_solicitud) +
                 " - Error creando archivo para timbrar - " + error.what());
    Operador_Actual().Mensaje_Estandar(error.what(), "Error creando archivo para timbrar");
}

}  // namespace facturador
