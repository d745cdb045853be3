#include "issuing_config/Guardar_Configuracion.h"

#include <exception>

#include "data/Conexiones.h"
#include "data/Valores_Campo.h"
#include "issuing_config/Avisos_Configuracion.h"
#include "issuing_config/Validacion_Perfil.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr const char* kFolio_Fuera_De_Rango =
    "El Siguiente Folio a Emitir no puede ser mayor que 2147483647, favor de verificar.";
constexpr const char* kSin_Registro =
    "La sucursal seleccionada no tiene registro de configuración de Facturas Electrónicas en la "
    "base de datos central; no se almacenó ningún cambio.";
constexpr const char* kFalla_Guardar =
    "No se pudo almacenar la configuración; no se realizó ningún cambio. Detalle: ";
constexpr const char* kFalla_Guardar_Sin_Saber =
    "Se perdió la conexión con la base de datos central mientras se almacenaba la configuración; "
    "no se sabe si quedó almacenada. Vuelva a pulsar Aceptar para almacenarla. Detalle: ";
constexpr const char* kFalla_Recargar =
    "No se pudieron leer los perfiles de emisión de las sucursales de la base de datos central. "
    "Detalle: ";
constexpr const char* kSin_Carga =
    "Los perfiles de emisión no se pudieron leer de la base de datos central al abrir esta "
    "ventana; no se almacenó ningún cambio. Cierre la ventana y vuelva a abrirla.";
constexpr const char* kAlmacenada_Sin_Recargar =
    ", pero no se pudieron volver a leer los perfiles de emisión de la base de datos central: el "
    "programa sigue con los que tenía hasta que se lean de nuevo (al abrir esta ventana o al "
    "reiniciar el programa). Detalle: ";

void Avisar(const char* titulo, const std::string& mensaje) {
    Operador_Actual().Mostrar_Advertencia(titulo, mensaje);
}

std::string Asignar(const char* columna, const std::string& valor) {
    return std::string(columna) + " = '" + Escapar_Central(valor) + "', ";
}

std::string Asignar_Domicilio_Fiscal(const Datos_Capturados& d) {
    return Asignar("Calle", d.Calle) + Asignar("Nro_Exterior", d.Nro_Exterior) +
           Asignar("Nro_Interior", d.Nro_Interior) + Asignar("Colonia", d.Colonia) +
           Asignar("Ciudad", d.Ciudad) + Asignar("Delegacion", d.Delegacion) +
           Asignar("Estado", d.Estado) + Asignar("CP", d.CP) + Asignar("Pais", d.Pais) +
           Asignar("Referencia", d.Referencia);
}

std::string Asignar_Domicilio_Expedicion(const Datos_Capturados& d) {
    return Asignar("Calle_Domicilio_Expedicion", d.Calle_Domicilio_Expedicion) +
           Asignar("Nro_Exterior_Domicilio_Expedicion", d.Nro_Exterior_Domicilio_Expedicion) +
           Asignar("Nro_Interior_Domicilio_Expedicion", d.Nro_Interior_Domicilio_Expedicion) +
           Asignar("Colonia_Domicilio_Expedicion", d.Colonia_Domicilio_Expedicion) +
           Asignar("Ciudad_Domicilio_Expedicion", d.Ciudad_Domicilio_Expedicion) +
           Asignar("Delegacion_Domicilio_Expedicion", d.Delegacion_Domicilio_Expedicion) +
           Asignar("Estado_Domicilio_Expedicion", d.Estado_Domicilio_Expedicion) +
           Asignar("CP_Domicilio_Expedicion", d.CP_Domicilio_Expedicion) +
           Asignar("Pais_Domicilio_Expedicion", d.Pais_Domicilio_Expedicion) +
           Asignar("Referencia_Domicilio_Expedicion", d.Referencia_Domicilio_Expedicion);
}

// The three folders with "*" for every separator, as the window has always stored them.
std::string Asignar_Carpetas(const Datos_Capturados& d) {
    return Asignar("Ruta_Cola_Facturas", Ruta_Para_BD(d.Ruta_Cola_Facturas)) +
           Asignar("Ruta_Facturas_Validas", Ruta_Para_BD(d.Ruta_Facturas_Validas)) +
           "Ruta_Facturas_NO_Validas = '" +
           Escapar_Central(Ruta_Para_BD(d.Ruta_Facturas_NO_Validas)) + "' ";
}

std::string Asignar_Folios_y_Carpetas(const Datos_Capturados& d, int32_t folio) {
    return Asignar("Serie_Facturas", d.Serie_Facturas) +
           "Folio_Inicial_Facturas = " + std::to_string(folio) + ", " +
           Asignar("Lugar_de_Expedicion_Facturas", Recortar(d.Lugar_de_Expedicion_Facturas)) +
           Asignar("Regimen_Fiscal_Facturas", Recortar(d.Regimen_Fiscal_Facturas)) +
           Asignar("Leyenda_de_Pagare_Facturas", "") + Asignar_Carpetas(d);
}

bool Tiene_Registro(Conexion& conexion, int32_t sucursal) {
    return !conexion
                .Ejecutar(
                    "SELECT ID_Sucursal FROM Configuracion_Facturas_Electronicas WHERE "
                    "ID_Sucursal = " +
                    std::to_string(sucursal))
                .Fin();
}

// Runs `sentencia`, an UPDATE of the branch's profile row; false when the branch has no row.
bool Actualizar_Registro(Conexion& conexion, int32_t sucursal, const std::string& sentencia) {
    if (!Tiene_Registro(conexion, sucursal))
        return false;
    conexion.Ejecutar(sentencia);
    return true;
}

// Stores the profile; false when the branch has no row to store it in.
bool Guardar_Datos_Emision(Lugar_Consultas& lugar, const Datos_Capturados& datos, int32_t folio) {
    return Consultar_en_Conexion<bool>(lugar, [datos, folio](Conexion& conexion) {
        return Actualizar_Registro(conexion, datos.ID_Sucursal,
                                   Sentencia_Guardar_Datos_Emision(datos, folio));
    });
}

}  // namespace

std::optional<int32_t> Folio_Capturado(std::string_view texto) {
    return Entero_Redondeado(Valor_Inicial(texto));
}

std::string Sentencia_Guardar_Datos_Emision(const Datos_Capturados& d, int32_t folio) {
    return "UPDATE Configuracion_Facturas_Electronicas SET " +
           Asignar("Razon_Social_Emisor", d.Razon_Social_Emisor) +
           Asignar("RFC_Emisor", d.RFC_Emisor) + Asignar_Domicilio_Fiscal(d) +
           Asignar_Domicilio_Expedicion(d) + Asignar_Folios_y_Carpetas(d, folio) +
           " WHERE ID_Sucursal = " + std::to_string(d.ID_Sucursal);
}

bool Recargar_Datos_de_Emision(Lugar_Consultas& lugar) {
    try {
        Cargar_Datos_de_Emision(lugar);
        return true;
    } catch (const std::exception& e) {
        Avisar(kTitulo_Falla_Configuracion, kFalla_Recargar + std::string(e.what()));
        return false;
    }
}

namespace {

// Why what the boxes hold cannot be stored as it stands, or nothing.
std::optional<std::string> Negativa(const Datos_Capturados& datos, Cajas_Llenadas cajas) {
    if (cajas == Cajas_Llenadas::Sin_Carga)
        return kSin_Carga;
    if (cajas == Cajas_Llenadas::Sin_Perfil)
        return kSin_Registro;
    if (!Folio_Capturado(datos.Folio_Inicial_Facturas))
        return kFolio_Fuera_De_Rango;
    if (const auto motivo = Motivo_Perfil_Invalido(datos))
        return *motivo + ", favor de verificar.";
    return std::nullopt;
}

}  // namespace

bool Aceptar_Datos_Emision(const Datos_Capturados& datos, Cajas_Llenadas cajas,
                           Lugar_Consultas& lugar) {
    if (const auto negativa = Negativa(datos, cajas)) {
        Avisar(kTitulo_Atencion_Configuracion, *negativa);
        return false;
    }
    try {
        if (!Guardar_Datos_Emision(lugar, datos, *Folio_Capturado(datos.Folio_Inicial_Facturas))) {
            Avisar(kTitulo_Atencion_Configuracion, kSin_Registro);
            return false;
        }
    } catch (const std::exception& e) {
        Avisar(kTitulo_Falla_Configuracion,
               (Respuesta_Perdida(e) ? kFalla_Guardar_Sin_Saber : kFalla_Guardar) +
                   std::string(e.what()));
        return false;
    }
    try {
        Cargar_Datos_de_Emision(lugar);
        Avisar(kTitulo_Atencion_Configuracion, kConfiguracion_Almacenada);
    } catch (const std::exception& e) {
        Avisar(kTitulo_Atencion_Configuracion,
               kConfiguracion_Almacenada + std::string(kAlmacenada_Sin_Recargar) + e.what());
    }
    return true;
}

Resultado_Carpetas Guardar_Carpetas_Sucursal(const Datos_Capturados& carpetas) {
    const std::string sucursal = "Sucursal " + std::to_string(carpetas.ID_Sucursal) + ": ";
    for (const std::string* carpeta :
         {&carpetas.Ruta_Cola_Facturas, &carpetas.Ruta_Facturas_Validas,
          &carpetas.Ruta_Facturas_NO_Validas})
        if (!Existe_Carpeta(*carpeta))
            return {false, sucursal + "no existe la carpeta " + *carpeta +
                               "; no se almacenó ningún cambio."};
    try {
        Conexion conexion;
        Abrir_Conexion_Central(conexion);
        if (!Actualizar_Registro(conexion, carpetas.ID_Sucursal,
                                 "UPDATE Configuracion_Facturas_Electronicas SET " +
                                     Asignar_Carpetas(carpetas) + "WHERE ID_Sucursal = " +
                                     std::to_string(carpetas.ID_Sucursal)))
            return {false, sucursal + kSin_Registro};
        Cerrar_Conexion(conexion);
    } catch (const std::exception& e) {
        return {false, sucursal + kFalla_Guardar + e.what()};
    }
    return {true, sucursal +
                      "se almacenaron sus carpetas de cola, válidas y NO válidas; si el "
                      "programa ya corre, las toma sin reiniciarse."};
}

}  // namespace facturador
