#include "Banco.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>

#include "data/Conexiones.h"
#include "data/Turno_Central.h"
#include "platform/Entorno.h"

namespace facturador {

namespace {

// Nobody sits at the machine: whatever would be shown goes to stderr.
class Operador_Ausente : public Operador {
  public:
    void Mensaje_Estandar(const std::string& texto, const std::string& titulo) override {
        std::fprintf(stderr, "[%s] %s\n", titulo.c_str(), texto.c_str());
    }
    void Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) override {
        Mensaje_Estandar(mensaje, titulo);
    }
    bool Pedir_Confirmacion(const std::string&, const std::string&) override { return false; }
    void Configurar_Ruta_BD() override {}
    std::string Elegir_Carpeta(const std::string&) override { return {}; }
    void Abrir_Documento(const std::string&) override {}
};

std::string Crear_Carpeta_Programa(const char* nombre) {
    std::string carpeta =
        (std::filesystem::temp_directory_path() / (std::string(nombre) + "-XXXXXX")).string();
    if (!mkdtemp(carpeta.data()))
        throw std::runtime_error("cannot create a program folder");
    return carpeta;
}

}  // namespace

void Tomar_Turno_Banco() {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    conexion.Ejecutar("DELETE FROM Turno_Facturador");
    Cerrar_Conexion(conexion);
    if (Turno_Programa().Asegurar() != Turno_Central::Estado::Tenido)
        throw std::runtime_error("the lease cannot be taken: " + Turno_Programa().Falla());
}

int Correr_Banco(const char* nombre, const std::function<void(const std::string& carpeta)>& medir) {
    static Operador_Ausente operador;
    try {
        const std::string carpeta = Crear_Carpeta_Programa(nombre);
        Entorno_Actual() = Entorno{nullptr, &operador, carpeta};
        medir(carpeta);
        std::filesystem::remove_all(carpeta);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", nombre, e.what());
        return 1;
    }
}

}  // namespace facturador
