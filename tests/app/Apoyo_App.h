#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Siembra.h"
#include "app/Ciclo_Sincronizacion.h"
#include "app/Estado_Aplicacion.h"
#include "data/Configuracion.h"
#include "data/Log.h"
#include "data/Sucursales.h"
#include "data/Turno_Central.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Archivos.h"
#include "platform/Credenciales_Central.h"

namespace facturador::pruebas {

// A main window that writes down what the cycle asks of it, one entry per call.
class Vista_Falsa : public Vista_Ciclo {
  public:
    void Mostrar_Status(const std::string& texto) override { Anotar("status:" + texto); }
    void Mostrar_Ver_Errores(bool v) override { Anotar("ver_errores", v); }
    void Mostrar_Datos() override { Anotar("datos"); }
    void Procesar_Eventos() override {
        Anotar("eventos");
        if (al_procesar_eventos)
            al_procesar_eventos();
    }
    void Habilitar_Timer(bool v) override { Anotar("timer", timer = v); }
    bool Timer_Habilitado() const override { return timer; }
    void Habilitar_Ocultamiento(bool v) override { Anotar("ocultamiento", v); }
    long Cuantas(const std::string& llamada) const {
        return std::count(llamadas.begin(), llamadas.end(), llamada);
    }

    std::vector<std::string> llamadas;
    bool timer = true;
    std::function<void()> al_procesar_eventos;

  private:
    void Anotar(const std::string& llamada, int valor = -1) {
        llamadas.push_back(valor < 0 ? llamada : llamada + ":" + std::to_string(valor));
    }
};

// A program just started: no lease, an empty central database, the clock at 05/12/2026 10:15:40.
class Prueba_App : public ::testing::Test {
  protected:
    Prueba_App() {
        Reiniciar_Estado_Aplicacion();
        Reiniciar_Turno_Programa();
        Reiniciar_Configuracion();
        Reiniciar_Sucursales();
        // Unless a test says otherwise, its own password: the built-in one is a warning of its own.
        Usar_Cuenta_Propia();
        Reiniciar_Datos_de_Emision();
        Vaciar_Base_Central();
    }
    ~Prueba_App() override { Credenciales_Vigentes() = {}; }
    Entorno_Pruebas entorno;
};

// The same, with a synchronization cycle driving a recording window.
class Prueba_Ciclo : public Prueba_App {
  protected:
    Vista_Falsa vista;
    Ciclo_Sincronizacion ciclo{vista};
};

}  // namespace facturador::pruebas
