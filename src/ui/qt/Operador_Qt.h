#pragma once

#include <functional>
#include <string>

#include "platform/Entorno.h"
#include "platform/Repeticiones.h"

namespace facturador {

// The person at the machine, reached through the program's windows. Usable before the main window
// exists: start-up failures are reported through it.
//
// Without a display nobody can answer a dialog, and a modal one would stop the program for good.
// Then every message (standard box, message dialog) is written as one line "title: text" to the
// registro, standard error and the daily log in the program, and returns at once; a confirmation
// is answered No, so nothing destructive happens unattended; the database location dialog is not
// shown either. The same line is written once, then at most once an hour with the count of its
// repeats (see Repeticiones).
class Operador_Qt : public Operador {
  public:
    // Segun_Plataforma: no display on Qt's "offscreen" and "minimal" platforms.
    enum class Pantalla { Segun_Plataforma, Presente, Ausente };
    // Takes one line for the operator nobody can show; without it the line goes to standard error.
    using Registro = std::function<void(const std::string& linea)>;

    // `configurar_ruta_bd` opens the database location window, which belongs to the data
    // subsystem; without it, Configurar_Ruta_BD does nothing.
    explicit Operador_Qt(std::function<void()> configurar_ruta_bd = {},
                         Pantalla pantalla = Pantalla::Segun_Plataforma, Registro registro = {});

    bool Sin_Ventanas() const;
    // True once the database location was asked for and nobody could be asked: the program must
    // end with a failure, as it would end after the dialog.
    bool Ruta_BD_Sin_Respuesta() const { return ruta_bd_sin_respuesta_; }

    void Mensaje_Estandar(const std::string& texto, const std::string& titulo) override;
    void Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) override;
    bool Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) override;
    void Configurar_Ruta_BD() override;
    std::string Elegir_Carpeta(const std::string& titulo) override;
    void Abrir_Documento(const std::string& ruta) override;

  private:
    void Registrar(const std::string& titulo, const std::string& texto);

    std::function<void()> configurar_ruta_bd_;
    Pantalla pantalla_;
    Registro registro_;
    // The registro may itself report through this operator (the daily log reports its own write
    // failures with the standard box): such a message goes to standard error only.
    bool registrando_ = false;
    bool ruta_bd_sin_respuesta_ = false;
    Repeticiones repeticiones_;  // by the line itself
};

}  // namespace facturador
