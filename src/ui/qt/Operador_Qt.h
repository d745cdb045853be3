#pragma once

#include <functional>
#include <string>

#include "platform/Entorno.h"
#include "platform/Operador_Sin_Pantalla.h"

namespace facturador {

// The person at the machine, reached through the program's windows. Usable before the main window
// exists: start-up failures are reported through it.
//
// Without a display nobody can answer a dialog: then it is the operator of Operador_Sin_Pantalla,
// whose lines go to the registro.
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

    bool Sin_Pantalla() const override;
    // True once the database location was asked for and nobody could be asked: the program must
    // end with a failure, as it would end after the dialog.
    bool Ruta_BD_Sin_Respuesta() const { return sin_pantalla_.Ruta_BD_Sin_Respuesta(); }

    void Mensaje_Estandar(const std::string& texto, const std::string& titulo) override;
    void Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) override;
    bool Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) override;
    void Configurar_Ruta_BD() override;
    std::string Elegir_Carpeta(const std::string& titulo) override;
    void Abrir_Documento(const std::string& ruta) override;
    void Avisos_Resueltos(const std::string& titulo) override;

  private:
    std::function<void()> configurar_ruta_bd_;
    Pantalla pantalla_;
    Operador_Sin_Pantalla sin_pantalla_;
};

}  // namespace facturador
