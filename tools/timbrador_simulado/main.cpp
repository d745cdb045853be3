// timbrador_simulado: plays the external stamping program beside the facturador, for demos and
// tests. See README.md.

#include <csignal>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "Carpetas.h"
#include "Opciones.h"
#include "Timbrador.h"
#include "data/Conexiones.h"
#include "platform/Archivos.h"
#include "platform/Credenciales_Central.h"
#include "platform/Error_Plataforma.h"

using namespace timbrador;

namespace {

volatile std::sig_atomic_t g_terminar = 0;

extern "C" void Al_Recibir_Senal(int) {
    g_terminar = 1;
}

void Instalar_Senales() {
    struct sigaction accion {};
    accion.sa_handler = Al_Recibir_Senal;
    sigemptyset(&accion.sa_mask);
    sigaction(SIGINT, &accion, nullptr);
    sigaction(SIGTERM, &accion, nullptr);
}

// One second in short steps, so that a signal ends the wait at once.
void Esperar_Un_Segundo() {
    for (int i = 0; i < 10 && !g_terminar; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

std::vector<Carpetas_Sucursal> Leer_Carpetas(const Opciones& o) {
    if (o.carpeta_base)
        return Carpetas_Desde_Base(*o.carpeta_base);
    return Carpetas_Desde_BD(facturador::Armar_Cadena_Central(facturador::kBase_Central,
                                                              facturador::kServidor_Local, ""));
}

void Mostrar_Carpetas(const std::vector<Carpetas_Sucursal>& sucursales) {
    std::cout << "Colas atendidas:" << (sucursales.empty() ? " ninguna" : "") << '\n';
    for (const Carpetas_Sucursal& c : sucursales)
        std::cout << "  " << c.nombre << ": " << c.cola
                  << (facturador::Existe_Carpeta(c.cola) ? "" : " (no existe)") << '\n';
}

// What the loop remembers between passes, so that it reports changes and not every second.
struct Memoria {
    std::vector<Carpetas_Sucursal> carpetas;
    bool carpetas_leidas = false;
    std::string ultimo_error;
};

// The folders are shown when they change, not on every pass.
void Informar_Carpetas(const std::vector<Carpetas_Sucursal>& carpetas, Memoria& memoria) {
    if (!memoria.carpetas_leidas || carpetas != memoria.carpetas)
        Mostrar_Carpetas(carpetas);
    memoria.carpetas = carpetas;
    memoria.carpetas_leidas = true;
}

// The same failure pass after pass is reported once.
void Informar_Falla(const std::string& falla, Memoria& memoria) {
    if (falla != memoria.ultimo_error)
        std::cerr << "timbrador_simulado: pasada interrumpida: " << falla << std::endl;
    memoria.ultimo_error = falla;
}

// One pass over every queue; false when something could not be done.
bool Pasada(const Opciones& o, Memoria& memoria, std::ostream* registro) {
    try {
        const std::vector<Carpetas_Sucursal> carpetas = Leer_Carpetas(o);
        Informar_Carpetas(carpetas, memoria);
        const Resumen_Pasada r = Atender_Colas(
            carpetas, o.comportamiento, std::chrono::system_clock::now(), std::cout, registro);
        std::cout.flush();
        memoria.ultimo_error.clear();
        return r.fallas == 0;
    } catch (const std::exception& e) {
        std::cout.flush();
        Informar_Falla(e.what(), memoria);
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    Opciones opciones;
    try {
        opciones = Leer_Opciones(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const Error_Opciones& e) {
        std::cerr << "timbrador_simulado: " << e.what() << "\n\n" << Texto_Uso();
        return 2;
    }
    if (opciones.ayuda) {
        std::cout << Texto_Uso();
        return 0;
    }
    std::ofstream registro;
    if (opciones.registro) {
        registro.open(*opciones.registro, std::ios::app);
        if (!registro) {
            std::cerr << "timbrador_simulado: no se puede abrir " << *opciones.registro << '\n';
            return 2;
        }
    }
    // The branch profiles are read with the installation's central account, as the facturador
    // reads them; a file that cannot be trusted stops it, saying why.
    if (!opciones.carpeta_base) {
        try {
            facturador::Credenciales_Vigentes() =
                facturador::Leer_Credenciales_Central(opciones.credenciales);
        } catch (const facturador::Error_Plataforma& e) {
            std::cerr << "timbrador_simulado: " << e.what() << '\n';
            return 2;
        }
    }
    std::ostream* destino = opciones.registro ? &registro : nullptr;
    Instalar_Senales();
    Memoria memoria;
    bool bien = Pasada(opciones, memoria, destino);
    while (!opciones.una_vez && !g_terminar) {
        Esperar_Un_Segundo();
        if (!g_terminar)
            bien = Pasada(opciones, memoria, destino);
    }
    return bien ? 0 : 1;
}
