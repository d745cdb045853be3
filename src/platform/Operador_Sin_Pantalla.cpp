#include "platform/Operador_Sin_Pantalla.h"

#include <iostream>

#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr const char* kTitulo_Ruta_BD = "Configurar ruta de la base de datos principal";
constexpr const char* kSin_Ventana_Ruta_BD =
    "El programa corre sin ventanas y no puede pedir la base de datos: revise local.dll en la "
    "carpeta del programa y reinicie el programa.";
constexpr const char* kRespuesta_No = " (sin operador: se responde No)";

}  // namespace

void Operador_Sin_Pantalla::Escribir(const std::string& linea) {
    if (!registro_ || registrando_) {
        std::cerr << Sin_Controles(linea) << std::endl;
        return;
    }
    registrando_ = true;
    struct Fin {
        bool& registrando;
        ~Fin() { registrando = false; }
    } fin{registrando_};
    registro_(linea);
}

void Operador_Sin_Pantalla::Registrar(const std::string& titulo, const std::string& texto) {
    if (const auto linea = repeticiones_.Ocurre(titulo + " | " + texto, titulo + ": " + texto))
        Escribir(*linea);
}

void Operador_Sin_Pantalla::Mensaje_Estandar(const std::string& texto, const std::string& titulo) {
    Registrar(titulo, texto);
}

void Operador_Sin_Pantalla::Mostrar_Advertencia(const std::string& titulo,
                                                const std::string& mensaje) {
    Registrar(titulo, mensaje);
}

bool Operador_Sin_Pantalla::Pedir_Confirmacion(const std::string& titulo,
                                               const std::string& mensaje) {
    Registrar(titulo, mensaje + kRespuesta_No);
    return false;
}

void Operador_Sin_Pantalla::Configurar_Ruta_BD() {
    ruta_bd_sin_respuesta_ = true;
    Registrar(kTitulo_Ruta_BD, kSin_Ventana_Ruta_BD);
}

void Operador_Sin_Pantalla::Avisos_Resueltos(const std::string& titulo) {
    for (const std::string& linea : repeticiones_.Cesan(titulo))
        Escribir(linea);
}

}  // namespace facturador
