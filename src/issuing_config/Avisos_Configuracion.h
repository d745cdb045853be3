#pragma once

namespace facturador {

// Titles and messages the configuration window's two "Aceptar" buttons share.
inline constexpr const char* kTitulo_Atencion_Configuracion = "Atención";
inline constexpr const char* kConfiguracion_Almacenada =
    "Se almacenó correctamente la configuración para la emisión de Facturas Electrónicas";
inline constexpr const char* kTitulo_Falla_Configuracion = "Se produjo un error";

}  // namespace facturador
