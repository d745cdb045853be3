#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "app/Ciclo_Sincronizacion.h"
#include "app/Estado_Aplicacion.h"
#include "data/Configuracion.h"
#include "data/Log.h"
#include "data/Sucursales.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {

// A main window that writes down what the cycle asks of it, one entry per call.
class Vista_Falsa : public Vista_Ciclo {
  public:
    void Mostrar_Status(const std::string& texto) override { Anotar("status:" + texto); }
    void Mostrar_Ver_Errores(bool visible) override { Anotar(Con_Valor("ver_errores", visible)); }
    void Mostrar_Datos() override { Anotar("datos"); }
    void Procesar_Eventos() override {
        Anotar("eventos");
        if (al_procesar_eventos)
            al_procesar_eventos();
    }
    void Habilitar_Timer(bool habilitado) override {
        timer = habilitado;
        Anotar(Con_Valor("timer", habilitado));
    }
    bool Timer_Habilitado() const override { return timer; }
    void Habilitar_Ocultamiento(bool habilitado) override {
        Anotar(Con_Valor("ocultamiento", habilitado));
    }

    long Cuantas(const std::string& llamada) const {
        return std::count(llamadas.begin(), llamadas.end(), llamada);
    }

    std::vector<std::string> llamadas;
    bool timer = true;
    std::function<void()> al_procesar_eventos;

  private:
    static std::string Con_Valor(const std::string& nombre, bool valor) {
        return nombre + (valor ? ":1" : ":0");
    }
    void Anotar(const std::string& llamada) { llamadas.push_back(llamada); }
};

inline std::string Leer_Log() {
    const std::string ruta = Unir_Ruta(Carpeta_Programa(), Nombre_Archivo_Log());
    return Existe_Archivo(ruta) ? Leer_Archivo(ruta) : "";
}

inline long Veces(const std::string& texto, const std::string& parte) {
    long veces = 0;
    for (size_t i = texto.find(parte); i != std::string::npos; i = texto.find(parte, i + 1))
        ++veces;
    return veces;
}

inline void Ejecutar_Orden(const std::string& orden) {
    if (std::system((orden + " >/dev/null 2>&1").c_str()) != 0)
        throw std::runtime_error("failed: " + orden);
}

// Breaks the central database on purpose by moving a table out of the way, as its administrator;
// puts it back when the test ends.
class Tabla_Retirada {
  public:
    explicit Tabla_Retirada(std::string tabla) : tabla_(std::move(tabla)) {
        Renombrar(tabla_, tabla_ + "_retirada");
    }
    ~Tabla_Retirada() {
        try {
            Devolver();
        } catch (...) {
        }
    }
    void Devolver() {
        if (!retirada_)
            return;
        Renombrar(tabla_ + "_retirada", tabla_);
        retirada_ = false;
    }

  private:
    static void Renombrar(const std::string& de, const std::string& a) {
        Ejecutar_Orden(std::string("mariadb --no-defaults --socket=") + SOCKET_BD_PRUEBAS +
                       " -uroot Morvane_Central -e 'RENAME TABLE " + de + " TO " + a + "'");
    }
    std::string tabla_;
    bool retirada_ = true;
};

// Stops the private central server; it comes back, with its data, when the test ends.
class Servidor_Detenido {
  public:
    Servidor_Detenido() { Ejecutar_Orden(Script("detener")); }
    ~Servidor_Detenido() {
        try {
            Arrancar();
        } catch (...) {
        }
    }
    void Arrancar() {
        if (arrancado_)
            return;
        Ejecutar_Orden(Script("reiniciar"));
        arrancado_ = true;
    }

  private:
    static std::string Script(const char* accion) {
        return std::string(SCRIPT_BD_PRIVADA) + " " + accion + " " + CARPETA_BD_PRUEBAS;
    }
    bool arrancado_ = false;
};

// A program just started, with an empty central database and the clock at 05/12/2026 10:15:40.
class Prueba_App : public ::testing::Test {
  protected:
    Prueba_App() {
        Reiniciar_Estado_Aplicacion();
        Reiniciar_Configuracion();
        Reiniciar_Sucursales();
        Vaciar_Base_Central();
    }

    Entorno_Pruebas entorno;
    Vista_Falsa vista;
    Ciclo_Sincronizacion ciclo{vista};
};

}  // namespace facturador::pruebas
