#include "data/Registro_Fallas.h"

#include <exception>

#include "data/Log.h"
#include "data/Turno_Central.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

void Registro_Fallas::Registrar(const std::string& descripcion, const std::string& contexto) {
    falla_en_ciclo_ = true;
    en_falla_ = true;
    Escribir_Limitada(contexto, "Error:  " + descripcion + "  -  " + contexto);
}

void Registro_Fallas::Registrar_Conflicto(const std::string& descripcion,
                                          const std::string& contexto) {
    Escribir_Limitada(contexto, "Conflicto:  " + descripcion + "  -  " + contexto);
}

void Registro_Fallas::Escribir_Limitada(const std::string& contexto, const std::string& linea) {
    if (const auto escrita = repeticiones_.Ocurre(contexto + " | " + linea, linea))
        Escribir_Log(*escrita);
}

void Registro_Fallas::Resolver(const std::string& contexto) {
    for (const std::string& linea : repeticiones_.Cesan(contexto))
        Escribir_Log(linea);
}

void Registro_Fallas::Cerrar_Ciclo() {
    // A conflict of this very cycle is no failure, and is not over yet.
    if (!falla_en_ciclo_) {
        for (const std::string& linea : repeticiones_.Cerrar_Ronda())
            Escribir_Log(linea);
        if (en_falla_)
            Escribir_Log(kLinea_Recuperacion);
        en_falla_ = false;
    }
    repeticiones_.Empezar_Ronda();
    falla_en_ciclo_ = false;
}

Registro_Fallas& Fallas_Programa() {
    static Registro_Fallas fallas;
    return fallas;
}

bool Ejecutar_Registrando_Falla(const std::string& paso, const std::function<void()>& accion) {
    try {
        accion();
        Fallas_Programa().Resolver(paso);
        return true;
    } catch (const Error_Plataforma& e) {
        if (Es_Conflicto(e.Numero))
            Fallas_Programa().Registrar_Conflicto(e.Descripcion, paso);
        else if (e.Numero != kError_Sin_Turno)
            Fallas_Programa().Registrar(e.Descripcion, paso);
    } catch (const std::exception& e) {
        Fallas_Programa().Registrar(e.what(), paso);
    }
    return false;
}

}  // namespace facturador
