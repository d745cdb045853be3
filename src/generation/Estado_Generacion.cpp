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

void Avisar_Una_Vez(const std::string& clave, const std::string& linea) {
    if (Primer_Aviso(clave))
        Escribir_Log(linea);
}

void Olvidar_Aviso(const std::string& clave) {
    Estado_Generacion_Actual().Avisos_Dados.erase(clave);
}

}  // namespace facturador
