// Nobody watches: lines instead of dialogs, a repeated failure once an hour, and its end told.

#include "platform/Operador_Sin_Pantalla.h"

#include <gtest/gtest.h>

#include "apoyo/Entorno_Pruebas.h"

namespace facturador::pruebas {
namespace {

TEST(Operador_Sin_Pantalla, Escribe_Una_Vez_Por_Hora_No_Confirma_Y_Dice_Cuando_Termina) {
    Entorno_Pruebas entorno;  // 10:15:40
    std::vector<std::string> lineas;
    Operador_Sin_Pantalla operador([&](const std::string& l) { lineas.push_back(l); });
    EXPECT_TRUE(operador.Sin_Pantalla());
    operador.Mensaje_Estandar("Error en solicitud: 7", "Pase");
    operador.Mostrar_Advertencia("Archivo", "Rutas: /x");
    operador.Mensaje_Estandar("Error en solicitud: 7", "Pase");  // the same hour: kept back
    EXPECT_FALSE(operador.Pedir_Confirmacion("ATENCION", "¿Reactivar?"));
    operador.Avisos_Resueltos("Pase");
    operador.Avisos_Resueltos("Pase");  // told once
    operador.Avisos_Resueltos("Pas");   // another title
    operador.Avisos_Resueltos("Archivo");
    entorno.reloj.Avanzar_Segundos(3599);
    operador.Mensaje_Estandar("Error en solicitud: 7", "Pase");  // after its end, new
    operador.Mensaje_Estandar("Error en solicitud: 7", "Pase");
    entorno.reloj.Avanzar_Segundos(3600);
    operador.Mensaje_Estandar("Error en solicitud: 7", "Pase");
    EXPECT_FALSE(operador.Ruta_BD_Sin_Respuesta());
    operador.Configurar_Ruta_BD();
    EXPECT_TRUE(operador.Ruta_BD_Sin_Respuesta());
    EXPECT_EQ(lineas, (std::vector<std::string>{
                          "Pase: Error en solicitud: 7",
                          "Archivo: Rutas: /x",
                          "ATENCION: ¿Reactivar? (sin operador: se responde No)",
                          "Se resolvió: Pase: Error en solicitud: 7 [se repitió 1 vez desde las "
                          "10:15]",
                          "Se resolvió: Archivo: Rutas: /x",
                          "Pase: Error en solicitud: 7",
                          "Pase: Error en solicitud: 7 [se repitió 1 vez desde las 11:15]",
                          "Configurar ruta de la base de datos principal: El programa corre sin "
                          "ventanas y no puede pedir la base de datos: revise local.dll en la "
                          "carpeta del programa y reinicie el programa.",
                      }));
}

}  // namespace
}  // namespace facturador::pruebas
