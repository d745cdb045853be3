#include "issuing_config/Mensaje_Email.h"

#include <exception>

#include "data/Conexiones.h"
#include "issuing_config/Avisos_Configuracion.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr const char* kFalta_Mensaje =
    "Favor de ingresar el mensaje que desea que se envíe, en el cuerpo del email, junto a los "
    "comprobantes fiscales.";
constexpr const char* kFalla_Mensaje =
    "No se pudo almacenar el mensaje del email; no se realizó ningún cambio. Detalle: ";
constexpr const char* kFalla_Mensaje_Sin_Saber =
    "Se perdió la conexión con la base de datos central mientras se almacenaba el mensaje del "
    "email; no se sabe si quedó almacenado. Vuelva a pulsar Aceptar para almacenarlo. Detalle: ";

std::string& Mensaje() {
    static std::string mensaje;
    return mensaje;
}

void Almacenar(Lugar_Consultas& lugar, const std::string& texto) {
    Consultar_en_Conexion<void>(lugar, [texto](Conexion& conexion) {
        conexion.Ejecutar("UPDATE Configuracion SET Mensaje_Facturacion_en_Email = '" +
                          conexion.Escapar(texto) + "'");
    });
}

}  // namespace

const std::string& Mensaje_Facturacion_Email() {
    return Mensaje();
}

void Reiniciar_Mensaje_Facturacion_Email() {
    Mensaje().clear();
}

Resultado_Mensaje_Email Guardar_Mensaje_Facturacion_Email(const std::string& texto,
                                                          Lugar_Consultas& lugar) {
    const std::string mensaje = Recortar(texto);
    Operador& operador = Operador_Actual();
    if (mensaje.empty()) {
        operador.Mostrar_Advertencia(kTitulo_Atencion_Configuracion, kFalta_Mensaje);
        return Resultado_Mensaje_Email::Vacio;
    }
    try {
        Almacenar(lugar, mensaje);
    } catch (const std::exception& e) {
        operador.Mostrar_Advertencia(
            kTitulo_Falla_Configuracion,
            (Respuesta_Perdida(e) ? kFalla_Mensaje_Sin_Saber : kFalla_Mensaje) +
                std::string(e.what()));
        return Resultado_Mensaje_Email::Fallido;
    }
    Mensaje() = mensaje;
    operador.Mostrar_Advertencia(kTitulo_Atencion_Configuracion, kConfiguracion_Almacenada);
    return Resultado_Mensaje_Email::Guardado;
}

}  // namespace facturador
