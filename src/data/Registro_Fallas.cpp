#include "data/Registro_Fallas.h"

#include <exception>

#include "data/Log.h"
#include "data/Turno_Central.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

constexpr long long kSegundos_Entre_Repeticiones = 60;

// A line written at "escrita" may be written again from "ahora" on. A clock set back (a change
// of time by hand) counts as enough time gone by, so the failure is not hidden for long.
bool Puede_Repetirse(const Fecha_Hora& escrita, const Fecha_Hora& ahora) {
    return ahora < escrita || ahora >= Sumar_Segundos(escrita, kSegundos_Entre_Repeticiones);
}

}  // namespace

void Registro_Fallas::Registrar(const std::string& descripcion, const std::string& contexto) {
    falla_en_ciclo_ = true;
    en_falla_ = true;
    Escribir_Una_Vez("Error:  " + descripcion + "  -  " + contexto);
}

void Registro_Fallas::Registrar_Conflicto(const std::string& descripcion,
                                          const std::string& contexto) {
    Escribir_Una_Vez("Conflicto:  " + descripcion + "  -  " + contexto);
}

void Registro_Fallas::Escribir_Una_Vez(const std::string& linea) {
    const Fecha_Hora ahora = Ahora();
    Olvidar_Lineas_Vencidas(ahora);
    if (escritas_.contains(linea))
        return;
    escritas_.emplace(linea, ahora);
    Escribir_Log(linea);
}

void Registro_Fallas::Cerrar_Ciclo() {
    if (!falla_en_ciclo_ && en_falla_) {
        en_falla_ = false;
        escritas_.clear();
        Escribir_Log(kLinea_Recuperacion);
    }
    falla_en_ciclo_ = false;
}

void Registro_Fallas::Olvidar_Lineas_Vencidas(const Fecha_Hora& ahora) {
    std::erase_if(escritas_,
                  [&](const auto& escrita) { return Puede_Repetirse(escrita.second, ahora); });
}

Registro_Fallas& Fallas_Programa() {
    static Registro_Fallas fallas;
    return fallas;
}

bool Ejecutar_Registrando_Falla(const std::string& paso, const std::function<void()>& accion) {
    try {
        accion();
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
