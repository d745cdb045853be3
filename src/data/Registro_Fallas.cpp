#include "data/Registro_Fallas.h"

#include <exception>

#include "data/Log.h"

namespace facturador {

void Registro_Fallas::Registrar(const std::string& descripcion, const std::string& contexto) {
    falla_en_ciclo_ = true;
    en_falla_ = true;
    const std::string linea = "Error:  " + descripcion + "  -  " + contexto;
    if (const auto escrita = repeticiones_.Ocurre(linea, linea))
        Escribir_Log(*escrita);
}

void Registro_Fallas::Cerrar_Ciclo() {
    if (!falla_en_ciclo_ && en_falla_) {
        en_falla_ = false;
        repeticiones_ = Repeticiones{};
        Escribir_Log(kLinea_Recuperacion);
    }
    falla_en_ciclo_ = false;
}

Registro_Fallas& Fallas_Programa() {
    static Registro_Fallas fallas;
    return fallas;
}

bool Ejecutar_Registrando_Falla(const std::string& paso, const std::function<void()>& accion) {
    try {
        accion();
        return true;
    } catch (const std::exception& e) {
        Fallas_Programa().Registrar(e.what(), paso);
        return false;
    }
}

}  // namespace facturador
