#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "apoyo/Bd_Central.h"
#include "apoyo/Siembra.h"
#include "data/Conexiones.h"
#include "data/Sucursales.h"
#include "data/Valores_Campo.h"
#include "generation/Estado_Generacion.h"
#include "generation/Generacion.h"
#include "generation/Solicitudes.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"
#include "platform/Texto.h"

namespace facturador::pruebas {

// The regular files of a folder, hidden ones included, in order of name.
inline std::vector<std::string> Archivos_Ordenados(const std::string& carpeta) {
    std::vector<std::string> nombres = Archivos_en_Carpeta(carpeta);
    std::sort(nombres.begin(), nombres.end());
    return nombres;
}

// A request in status 2 whose file, invoice B 65 with invoice row -1, went to the queue.
inline const Columnas kEn_Cola_B65 = {{"Status", "2"},
                                      {"Serie", "'B'"},
                                      {"Folio", "65"},
                                      {"ID_Factura", "-1"},
                                      {"Archivo", "'Factura B Folio 65'"}};

// An empty central database, fresh program-wide state, and the clock at 05/12/2026 10:15:40.
class Prueba_Central : public Prueba_Sembrada {
  protected:
    Prueba_Central() {
        Reiniciar_Estado_Generacion();
        Reiniciar_Datos_de_Emision();
        Reiniciar_Sucursales();
    }

    // A branch with its issuing profile and its three folders (created unless told otherwise),
    // whose paths hold an apostrophe and a backslash, as typed paths may.
    Carpetas_Sucursal Sembrar_Sucursal(int id, const std::string& nombre,
                                       const std::string& serie = "A", int folio = 1500,
                                       bool crear_carpetas = true) {
        return pruebas::Sembrar_Sucursal(
            Unir_Ruta(entorno.Carpeta(), "sucursal'" + std::to_string(id) + "\\"), id, nombre,
            serie, folio, crear_carpetas);
    }

    // Branch 3 "Centro" (series A from 1500), its ticket 4711 for `total` and request 10, loaded.
    Carpetas_Sucursal Sembrar_Solicitud_10(const std::string& total, bool crear_carpetas = true) {
        const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 1500, crear_carpetas);
        Sembrar_Ticket(4711, 3, total);
        Sembrar_Solicitud(10);
        Cargar_Datos();
        return carpetas;
    }

    // Loads what start-up loads: the branch list and the issuing profiles.
    void Cargar_Datos() {
        Cargar_Sucursales();
        Cargar_Datos_de_Emision();
    }

    static void Cargar_Pendientes() { En_Central(Cargar_Solicitudes_Pendientes); }
    static void Ejecutar_Pase() { En_Central(Generar_Archivos_para_Timbrar); }

    std::string Folio_Siguiente(int sucursal) const {
        return Valor_Central(
            "SELECT Folio_Inicial_Facturas FROM Configuracion_Facturas_Electronicas WHERE "
            "ID_Sucursal = " +
            std::to_string(sucursal));
    }

    std::string Facturas() const {
        return Valor_Central("SELECT COUNT(*) FROM Facturas_Electronicas");
    }
};

}  // namespace facturador::pruebas
