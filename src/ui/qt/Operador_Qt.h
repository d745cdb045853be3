#pragma once

#include <functional>
#include <string>

#include "platform/Entorno.h"

namespace facturador {

// The person at the machine, reached through the program's windows. Usable before the main window
// exists: start-up failures are reported through it.
class Operador_Qt : public Operador {
  public:
    // `configurar_ruta_bd` opens the database location window, which belongs to the data
    // subsystem; without it, Configurar_Ruta_BD does nothing.
    explicit Operador_Qt(std::function<void()> configurar_ruta_bd = {});

    void Mensaje_Estandar(const std::string& texto, const std::string& titulo) override;
    void Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) override;
    bool Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) override;
    void Configurar_Ruta_BD() override;
    std::string Elegir_Carpeta(const std::string& titulo) override;
    void Abrir_Documento(const std::string& ruta) override;

  private:
    std::function<void()> configurar_ruta_bd_;
};

}  // namespace facturador
