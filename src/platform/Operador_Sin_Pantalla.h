#pragma once

#include <functional>
#include <string>

#include "platform/Entorno.h"
#include "platform/Repeticiones.h"

namespace facturador {

// The person at the machine when there is none: a service, or a program without a display. A
// modal dialog would stop the program for good, so every message (standard box, message dialog)
// is written as one line "title: text" to the registro (standard error and the daily log in the
// program) and returns at once; a confirmation is answered No, so nothing destructive happens
// unattended; the database location dialog is not shown either.
//
// The same line is written once, then at most once an hour with the count of its repeats, and
// once more as "Se resolvió: title: text" when whoever shows it says it is over (see
// Repeticiones).
class Operador_Sin_Pantalla : public Operador {
  public:
    // Takes one line for the operator nobody can show; without it the line goes to standard error.
    using Registro = std::function<void(const std::string& linea)>;

    explicit Operador_Sin_Pantalla(Registro registro = {}) : registro_(std::move(registro)) {}

    bool Sin_Pantalla() const override { return true; }
    // True once the database location was asked for and nobody could be asked: the program must
    // end with a failure, as it would end after the dialog.
    bool Ruta_BD_Sin_Respuesta() const { return ruta_bd_sin_respuesta_; }

    void Mensaje_Estandar(const std::string& texto, const std::string& titulo) override;
    void Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) override;
    bool Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) override;
    void Configurar_Ruta_BD() override;
    std::string Elegir_Carpeta(const std::string&) override { return {}; }
    void Abrir_Documento(const std::string&) override {}
    void Avisos_Resueltos(const std::string& titulo) override;

  private:
    void Registrar(const std::string& titulo, const std::string& texto);
    void Escribir(const std::string& linea);

    Registro registro_;
    // The registro may itself report through this operator (the daily log reports its own write
    // failures with the standard box): such a message goes to standard error only.
    bool registrando_ = false;
    bool ruta_bd_sin_respuesta_ = false;
    Repeticiones repeticiones_;  // by "<title> | <text>"
};

}  // namespace facturador
