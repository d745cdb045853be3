#include "app/Ordenes.h"

#include <iostream>

#include "app/Salida_Salud.h"
#include "app/Salud.h"
#include "data/Version_Programa.h"
#include "generation/Reencolado.h"
#include "issuing_config/Guardar_Configuracion.h"
#include "platform/Archivos.h"
#include "platform/Credenciales_Central.h"
#include "platform/Cuenta_Carpeta.h"
#include "platform/Cuentas_Centrales.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

int Reencolar(int32_t id_solicitud) {
    const Resultado_Reencolado resultado = Reencolar_Solicitud(id_solicitud);
    (resultado.Hecho ? std::cout : std::cerr) << resultado.Mensaje << std::endl;
    return resultado.Hecho ? 0 : 1;
}

int Mostrar_Informe(const Informe_Salud& informe, bool json) {
    std::cout << (json ? Salud_En_JSON(informe) : Salud_En_Texto(informe)) << std::flush;
    return Codigo_Salida(informe.Estado);
}

int Guardar_Carpetas(const Linea_Comandos& linea) {
    Datos_Emision carpetas;
    carpetas.ID_Sucursal = linea.id_sucursal;
    carpetas.Ruta_Cola_Facturas = linea.carpetas_sucursal[0];
    carpetas.Ruta_Facturas_Validas = linea.carpetas_sucursal[1];
    carpetas.Ruta_Facturas_NO_Validas = linea.carpetas_sucursal[2];
    const Resultado_Carpetas resultado = Guardar_Carpetas_Sucursal(carpetas);
    (resultado.Hecho ? std::cout : std::cerr) << resultado.Mensaje << std::endl;
    return resultado.Hecho ? 0 : 1;
}

// Run by root, every order that writes in the program folder (the program itself, --reencolar,
// --carpetas-sucursal) works as the folder's owner, or not at all. --estado only reads, and stays
// root's where root runs it.
std::optional<int> Tomar_Cuenta(const Linea_Comandos& linea) {
    if (linea.orden == Linea_Comandos::Orden::Estado)
        return std::nullopt;
    const auto falla = Tomar_Cuenta_de_Carpeta(Carpeta_Programa());
    if (!falla)
        return std::nullopt;
    std::cerr << "facturador: " << *falla << "." << std::endl;
    return 1;
}

// The installation's own central account for the order (the service's, the console's or
// monitoring's), when it has one. A file that cannot be trusted stops
// the program (telling the operator, or the daily log without a display) and every order (as a
// monitoring plugin's unknown for --estado): the built-in account would fail where the
// administrator replaced it, or work where they meant it not to.
std::optional<int> Cargar_Credenciales(const Linea_Comandos& linea) {
    try {
        Cuenta_Vigente() = linea.cuenta;
        Credenciales_Vigentes() = Leer_Credenciales_Central(Archivo_Credenciales_de(linea.cuenta));
        return std::nullopt;
    } catch (const Error_Plataforma& e) {
        if (linea.orden == Linea_Comandos::Orden::Estado) {
            Informe_Salud informe;
            informe.Estado = Estado_Salud::Desconocido;
            informe.Ahora = Ahora();
            informe.Motivos = {e.what()};
            return Mostrar_Informe(informe, linea.json);
        }
        if (linea.orden == Linea_Comandos::Orden::Programa)
            Operador_Actual().Mostrar_Advertencia("Se produjo un error", e.what());
        else
            std::cerr << e.what() << std::endl;
        return 1;
    }
}

}  // namespace

std::optional<int> Responder_Linea(const Linea_Comandos& linea) {
    if (!linea.error.empty()) {
        std::cerr << "facturador: " << linea.error << "\nVea las opciones con: facturador --help"
                  << std::endl;
        return kSalida_Uso_Incorrecto;
    }
    if (linea.orden == Linea_Comandos::Orden::Ayuda) {
        std::cout << linea.ayuda;
        return 0;
    }
    if (linea.orden == Linea_Comandos::Orden::Version) {
        std::cout << "Facturador " << Version_Programa << std::endl;
        return 0;
    }
    return std::nullopt;
}

void Fijar_Entorno(const Linea_Comandos& linea, const Reloj& reloj, Operador& operador,
                   Gestor_Servicio& servicio) {
    Entorno_Actual() = Entorno{&reloj, &operador,
                               linea.carpeta.empty() ? Carpeta_Del_Ejecutable() : linea.carpeta};
    Entorno_Actual().servicio = &servicio;
}

std::optional<int> Correr_Orden(const Linea_Comandos& linea) {
    if (const auto falla = Tomar_Cuenta(linea))
        return falla;
    if (const auto falla = Cargar_Credenciales(linea))
        return falla;
    switch (linea.orden) {
    case Linea_Comandos::Orden::Estado:
        return Mostrar_Informe(Evaluar_Salud(), linea.json);
    case Linea_Comandos::Orden::Reencolar:
        return Reencolar(linea.id_solicitud);
    case Linea_Comandos::Orden::Carpetas_Sucursal:
        return Guardar_Carpetas(linea);
    default:
        return std::nullopt;
    }
}

}  // namespace facturador
