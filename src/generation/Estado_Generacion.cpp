#include "generation/Estado_Generacion.h"

#include "data/Log.h"

namespace facturador {

Estado_Generacion& Estado_Generacion_Actual() {
    static Estado_Generacion estado;
    return estado;
}

const std::vector<Solicitud_Factura>& Solicitudes_Pendientes() {
    return Estado_Generacion_Actual().Solicitudes_Pendientes;
}

void Reiniciar_Estado_Generacion() {
    Estado_Generacion_Actual() = Estado_Generacion{};
}

bool Primer_Aviso(const std::string& clave) {
    return Estado_Generacion_Actual().Avisos_Dados.insert(clave).second;
}

void Olvidar_Aviso(const std::string& clave) {
    Estado_Generacion_Actual().Avisos_Dados.erase(clave);
}

void Avisar_Falla_Repetida(const std::string& sujeto, const std::string& tipo,
                           const std::string& linea) {
    if (const auto escrita =
            Estado_Generacion_Actual().Fallas_Repetidas.Ocurre(sujeto + " | " + tipo, linea))
        Escribir_Log(*escrita);
}

void Cerrar_Ronda_de_Fallas() {
    for (const std::string& linea : Estado_Generacion_Actual().Fallas_Repetidas.Cerrar_Ronda())
        Escribir_Log(linea);
}

}  // namespace facturador
