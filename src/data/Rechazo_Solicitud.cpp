#include "data/Rechazo_Solicitud.h"

#include "data/Conexiones.h"
#include "data/Turno_Central.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

// Resultado holds up to 199 characters of the reason.
constexpr size_t kLargo_Resultado = 199;

std::string Sin_Caracter(const std::string& texto, char quitar) {
    std::string resultado = texto;
    std::erase(resultado, quitar);
    return Recortar(resultado);
}

}  // namespace

std::string Texto_Sin_Tilde(const std::string& texto) {
    return Sin_Caracter(texto, '\'');
}

std::string Texto_Sin_Comillas(const std::string& texto) {
    return Sin_Caracter(texto, '"');
}

std::string Primeros_Caracteres(const std::string& texto, size_t cantidad) {
    size_t caracteres = 0;
    for (size_t i = 0; i < texto.size(); ++i) {
        // A byte 10xxxxxx continues the character before it.
        if ((static_cast<unsigned char>(texto[i]) & 0xC0) == 0x80)
            continue;
        if (caracteres++ == cantidad)
            return texto.substr(0, i);
    }
    return texto;
}

void Rechazar_Solicitud(int32_t id_solicitud, std::string& motivo) {
    motivo = Texto_Sin_Comillas(Texto_Sin_Tilde(motivo));
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    try {
        const std::string id = std::to_string(id_solicitud);
        En_Unidad_Cercada(conexion, [&] {
            conexion.Ejecutar("UPDATE Solicitudes_de_Facturas_OL SET Status = 4, Resultado = '" +
                              conexion.Escapar(Primeros_Caracteres(motivo, kLargo_Resultado)) +
                              "' WHERE ID = " + id);
            conexion.Ejecutar("UPDATE Montos_Facturados SET Status=1 WHERE ID_Solicitud = " + id);
        });
    } catch (...) {
        Cerrar_Conexion(conexion);
        throw;
    }
    Cerrar_Conexion(conexion);
}

}  // namespace facturador
