#include "Siembra.h"

#include "Bd_Central.h"
#include "data/Log.h"
#include "platform/Archivos.h"
#include "platform/Texto.h"

namespace facturador::pruebas {

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
