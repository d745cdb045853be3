#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Entorno.h"

namespace facturador::pruebas {

// An operator that records everything shown to it and answers from a script.
class Operador_Guionado : public Operador {
  public:
    struct Mostrado {
        std::string
            tipo;  // "estandar", "advertencia", "confirmacion", "ruta_bd", "carpeta", "abrir"
        std::string titulo;
        std::string texto;
    };

    void Mensaje_Estandar(const std::string& texto, const std::string& titulo) override;
    void Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) override;
    bool Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) override;
    void Configurar_Ruta_BD() override;
    std::string Elegir_Carpeta(const std::string& titulo) override;
    void Abrir_Documento(const std::string& ruta) override;
    void Avisos_Resueltos(const std::string& titulo) override { resueltos.push_back(titulo); }
    bool Sin_Pantalla() const override { return sin_pantalla; }

    // Only the entries of one kind.
    std::vector<Mostrado> De_Tipo(const std::string& tipo) const;
    // Everything shown, in order, each as "kind: title / text".
    std::vector<std::string> Textos() const;

    std::vector<Mostrado> mostrados;
    std::vector<std::string> resueltos;  // the titles whose warnings were said to be over
    std::deque<bool> respuestas;                  // for Pedir_Confirmacion; none left answers "no"
    std::deque<std::string> carpetas;             // for Elegir_Carpeta; none left is a cancel
    std::function<void()> al_configurar_ruta_bd;  // what the operator does in that dialog
    bool sin_pantalla = false;                    // nobody at the machine (a service)
};

}  // namespace facturador::pruebas
