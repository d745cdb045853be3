#include "Siembra.h"

#include <cstdlib>
#include <stdexcept>

#include "Bd_Central.h"
#include "data/Log.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"
#include "platform/Texto.h"

namespace facturador::pruebas {

std::string Literal(const std::string& texto) {
    return "'" + Escapar_Central(texto) + "'";
}

namespace {
// Renaming a table takes rights the program's own user lacks.
bool Renombrar_Tabla(const std::string& de, const std::string& a) {
    const std::string orden = std::string("mariadb --no-defaults --socket=") + SOCKET_BD_PRUEBAS +
                              " -uroot Morvane_Central -e 'RENAME TABLE " + de + " TO " + a +
                              "' >/dev/null 2>&1";
    return std::system(orden.c_str()) == 0;
}
}  // namespace

Tabla_Ausente::Tabla_Ausente(std::string tabla) : tabla_(std::move(tabla)) {
    if (!Renombrar_Tabla(tabla_, tabla_ + "_ausente"))
        throw std::runtime_error("cannot take away table " + tabla_);
}

Tabla_Ausente::~Tabla_Ausente() {
    EXPECT_TRUE(Renombrar_Tabla(tabla_ + "_ausente", tabla_)) << "table " << tabla_ << " not back";
}

void Sembrar_Fila(const std::string& tabla, Columnas columnas, const Columnas& cambios) {
    for (const auto& [columna, valor] : cambios)
        columnas[columna] = valor;
    std::string nombres, valores;
    for (const auto& [columna, valor] : columnas) {
        nombres += (nombres.empty() ? "" : ", ") + columna;
        valores += (valores.empty() ? "" : ", ") + valor;
    }
    Ejecutar_Central("INSERT INTO " + tabla + " (" + nombres + ") VALUES (" + valores + ")");
}

Prueba_Sembrada::Prueba_Sembrada() {
    Vaciar_Base_Central();
}

std::string Prueba_Sembrada::Solicitud(int id, const std::string& columna) {
    return Valor_Central("SELECT " + columna +
                         " FROM Solicitudes_de_Facturas_OL WHERE ID = " + std::to_string(id));
}

std::string Prueba_Sembrada::Leer_Log() const {
    const std::string ruta = Unir_Ruta(entorno.Carpeta(), Nombre_Archivo_Log());
    return Existe_Archivo(ruta) ? Texto_Leido(Leer_Archivo(ruta)) : "";
}

long Prueba_Sembrada::Veces(const std::string& texto, const std::string& parte) {
    long veces = 0;
    for (size_t i = texto.find(parte); i != std::string::npos; i = texto.find(parte, i + 1))
        ++veces;
    return veces;
}

}  // namespace facturador::pruebas
