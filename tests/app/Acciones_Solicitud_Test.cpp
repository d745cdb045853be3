#include "app/Acciones_Solicitud.h"

#include <filesystem>

#include "Apoyo_App.h"
#include "apoyo/Proxy_Central.h"
#include "data/Conexiones.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

using Acciones_Test = Prueba_App;

// Only rejected requests go back to pending, the answer naming each with its reason; a reason's
// reactivation stops at the last request the operator saw of it. The log names the operator.
TEST_F(Acciones_Test, Solo_Se_Reactivan_Rechazadas_Y_Se_Anotan_Con_La_Cuenta) {
    for (const int id : {1, 5, 6})
        Sembrar_Solicitud(id, {{"Status", "4"}, {"Resultado", "'Error: uno'"}});
    Sembrar_Solicitud(2, {{"Status", "3"}, {"Resultado", "'Timbrada'"}});
    Sembrar_Solicitud(3, {{"Status", "4"}, {"Resultado", "'Error: dos'"}});
    const auto reactivadas = En_Central([](Conexion& c) {
        return Reactivar_Solicitudes(c, {2, 3, 404});
    });
    EXPECT_EQ(reactivadas.Solicitudes, (std::vector<Reactivada>{{3, "Error: dos"}}));
    EXPECT_FALSE(reactivadas.Sin_Confirmar);
    EXPECT_EQ(Estados_y_Resultados(),
              "1:4:Error: uno,2:3:Timbrada,3:1:,5:4:Error: uno,6:4:Error: uno");
    EXPECT_TRUE(
        En_Central([](Conexion& c) { return Reactivar_Solicitudes(c, {}); }).Solicitudes.empty());

    const auto por_motivo =
        En_Central([](Conexion& c) { return Reactivar_Motivo(c, "Error: uno", 5); });
    EXPECT_EQ(por_motivo.Solicitudes,
              (std::vector<Reactivada>{{1, "Error: uno"}, {5, "Error: uno"}}));
    EXPECT_EQ(Estados_y_Resultados(), "1:1:,2:3:Timbrada,3:1:,5:1:,6:4:Error: uno");

    Anotar_Reactivadas(por_motivo, "ana");
    EXPECT_TRUE(Una_Vez(Leer_Log(),
                        "Solicitud ID: 1 - Reactivada por el operador ana; estaba "
                        "rechazada: Error: uno"));
    EXPECT_TRUE(Una_Vez(Leer_Log(), "Solicitud ID: 5 - Reactivada"));
}

// A cut before the COMMIT rolls the reactivation back and fails; a COMMIT whose answer was lost,
// kept by the server or not, is told as unconfirmed with the requests it would have changed, and
// goes to the daily log as such. A lost COMMIT that had nothing to change changed nothing.
TEST_F(Acciones_Test, Una_Confirmacion_Perdida_Se_Dice_Sin_Confirmar) {
    using enum Proxy_Central::Corte;
    Sembrar_Solicitud(7, {{"Resultado", "'Error: siete'"}});
    const auto reactivar = [] {
        return En_Central([](Conexion& c) {
            const Reactivacion r = Reactivar_Solicitudes(c, {7});
            EXPECT_FALSE(c.Abierta()) << "a broken connection is opened anew";
            return r;
        });
    };
    for (const auto& [inicio, corte, status] :
         std::vector<std::tuple<const char*, Proxy_Central::Corte, const char*>>{
             {"UPDATE", Antes_de_Ejecutar, "4"},
             {"COMMIT", Antes_de_Ejecutar, "4"},
             {"COMMIT", Sin_Respuesta, "1"}}) {
        Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Status = 4 WHERE ID = 7");
        const Proxy_Central proxy(inicio, corte);
        if (std::string_view(inicio) == "UPDATE") {
            EXPECT_THROW(reactivar(), Error_Plataforma);
        } else {
            const Reactivacion r = reactivar();
            EXPECT_TRUE(r.Sin_Confirmar) << inicio;
            EXPECT_EQ(r.Solicitudes, (std::vector<Reactivada>{{7, "Error: siete"}}));
        }
        EXPECT_TRUE(proxy.Cortado()) << inicio;
        EXPECT_EQ(Valor_Central("SELECT Status FROM Solicitudes_de_Facturas_OL WHERE ID = 7"),
                  status)
            << inicio;
    }
    Anotar_Reactivadas({{{7, "Error: siete"}}, true}, "ana");
    EXPECT_TRUE(Una_Vez(Leer_Log(),
                        "Solicitud ID: 7 - Reactivación sin confirmar (se perdió la conexión al "
                        "confirmarla) por el operador ana; estaba rechazada: Error: siete"));
    const Proxy_Central proxy("COMMIT", Sin_Respuesta);
    EXPECT_FALSE(reactivar().Sin_Confirmar) << "nothing was rejected any more";
}

// A re-queue is asked only when --reencolar would write the file, and once at a time; the ask
// records who asked and when.
TEST_F(Acciones_Test, El_Reencolado_Se_Pide_Solo_Cuando_Procede) {
    const auto c = Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s"), 3, "Centro", "A", 9);
    const Columnas en_cola = {
        {"Status", "2"}, {"Serie", "'A'"}, {"Folio", "5"}, {"Archivo", "'Factura A Folio 5'"}};
    Sembrar_Solicitud(12, en_cola);
    Sembrar_Solicitud(13);
    const Fecha_Hora ahora{2026, 12, 5, 10, 15, 40};
    const auto pedir = [&](int id) {
        return En_Central([&](Conexion& cx) { return Pedir_Reencolado(cx, id, "ana", ahora); });
    };
    EXPECT_EQ(pedir(13),
              "la solicitud está en status 1 y sólo se reencola una solicitud en status 2.");
    const std::string archivo = Unir_Ruta(c.cola, "Factura A Folio 5.txt");
    Escribir_Archivo(archivo, "x");
    EXPECT_EQ(pedir(12), "ya existe " + archivo + ".");
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Pedidos_Reencolado"), "0");

    std::filesystem::remove(archivo);
    EXPECT_EQ(pedir(12), std::nullopt);
    EXPECT_EQ(pedir(12), "ya hay un pedido de reencolado de esta solicitud sin atender.");
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', ID_Solicitud, Pedido_Por, Fecha_Pedido, "
                            "Status) FROM Pedidos_Reencolado"),
              "12|ana|2026-12-05 10:15:40|0");
    Anotar_Pedido_Reencolado(12, "ana");
    EXPECT_TRUE(Una_Vez(Leer_Log(), "Solicitud ID: 12 - El operador ana pidió reencolarla"));
}

}  // namespace
}  // namespace facturador::pruebas
