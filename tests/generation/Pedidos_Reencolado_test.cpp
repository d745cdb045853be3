#include "generation/Pedidos_Reencolado.h"

#include "Siembra_Central.h"
#include "apoyo/Proxy_Central.h"
#include "data/Turno_Central.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

class Pedidos_Reencolado : public Prueba_Central {
  protected:
    Pedidos_Reencolado() {
        c = Sembrar_Sucursal(3, "Centro", "B", 90);
        Sembrar_Solicitud(194, kEn_Cola_B65);
        Cargar_Datos();
    }

    static void Pedir(int id_solicitud, int status = 0) {
        Ejecutar_Central(
            "INSERT INTO Pedidos_Reencolado (ID_Solicitud, Pedido_Por, Fecha_Pedido, Status) "
            "VALUES (" +
            std::to_string(id_solicitud) + ", 'operador', '2026/12/05 10:15:00', " +
            std::to_string(status) + ")");
    }
    static void Atender() { En_Central(Atender_Pedidos_Reencolado); }
    // Each ask as "Status|Resultado|attended?", in order.
    static std::string Pedidos() {
        return Valor_Central(
            "SELECT GROUP_CONCAT(CONCAT_WS('|', Status, Resultado, Fecha_Atendido IS NOT NULL) "
            "ORDER BY ID SEPARATOR '\\n') FROM Pedidos_Reencolado");
    }
    std::vector<std::string> Cola() const { return Archivos_Ordenados(c.cola); }

    std::string Escrito() const {
        return "Se escribió de nuevo el archivo para timbrar " +
               Unir_Ruta(c.cola, "Factura B Folio 65.txt") +
               "; la copia que trabaja lo pone en la cola.";
    }

    Carpetas_Sucursal c;
};

// The worker carries each ask out as --reencolar would, published in the same cycle; an ask that
// does not hold is closed with the reason. The daily log names who asked.
TEST_F(Pedidos_Reencolado, Cada_Pedido_Se_Atiende_Una_Vez_Como_Lo_Haria_Reencolar) {
    Sembrar_Solicitud(195, {{"Status", "3"}});
    Pedir(194);
    Pedir(195);
    Atender();
    Ejecutar_Pase();
    EXPECT_EQ(Cola(), std::vector<std::string>{"Factura B Folio 65.txt"});
    EXPECT_EQ(Pedidos(),
              "2|" + Escrito() +
                  "|1\n3|No se reencola: la solicitud está en status 3 y sólo se reencola una "
                  "solicitud en status 2.|1");
    EXPECT_TRUE(Una_Vez(
        Leer_Log(), "Solicitud ID: 194 - Pedido de reencolado de operador: hecho. " + Escrito()));

    Pedir(194);
    Atender();
    Atender();
    EXPECT_EQ(Pedidos().substr(Pedidos().rfind('\n') + 1),
              "3|No se reencola: ya existe " + Unir_Ruta(c.cola, "Factura B Folio 65.txt") + ".|1");
    EXPECT_EQ(Cola().size(), 1u);
}

// Without the lease nothing is claimed or written; a conflict leaves the ask for the next cycle.
TEST_F(Pedidos_Reencolado, Sin_Turno_O_En_Conflicto_Nada_Se_Toma) {
    Pedir(194);
    {
        const Conflicto_Temporal conflicto("Pedidos_Reencolado", "UPDATE");
        Atender();
        EXPECT_TRUE(Una_Vez(Leer_Log(), "Conflicto:  "));
    }
    Ejecutar_Central("UPDATE Turno_Facturador SET Vence = NOW(6) - INTERVAL 1 SECOND");
    Turno_Central otra_copia("otra:/srv/f pid 1 #1", "otra:/srv/f pid ");
    ASSERT_EQ(otra_copia.Asegurar(), Turno_Central::Estado::Tenido);
    try {
        Atender();
        ADD_FAILURE() << "atendido sin turno";
    } catch (const Error_Plataforma& e) {
        EXPECT_EQ(e.Numero, kError_Sin_Turno);
    }
    EXPECT_EQ(Pedidos(), "0||0");
    EXPECT_TRUE(Cola().empty());
}

// A worker cut off after writing the file leaves the ask claimed: the next copy publishes that file
// once and closes the ask as done; cut off before writing it, the ask is simply carried out.
TEST_F(Pedidos_Reencolado, Una_Caida_A_Medio_Pedido_No_Reencola_Dos_Veces) {
    Pedir(194);
    {
        const Proxy_Central proxy("UPDATE Pedidos_Reencolado SET Status = 2",
                                  Proxy_Central::Corte::Antes_de_Ejecutar);
        EXPECT_THROW(Atender(), Error_Plataforma);
        EXPECT_TRUE(proxy.Cortado());
    }
    EXPECT_EQ(Pedidos(), "1||0");
    EXPECT_EQ(Cola(), std::vector<std::string>{".Factura B Folio 65.txt.194.turno1.pendiente"});

    Reiniciar_Turno_Programa();  // the program started again in the same folder
    ASSERT_EQ(Turno_Programa().Asegurar(), Turno_Central::Estado::Tenido);
    Atender();
    Ejecutar_Pase();
    EXPECT_EQ(Cola(), std::vector<std::string>{"Factura B Folio 65.txt"});
    EXPECT_EQ(Pedidos(), "2|El archivo para timbrar ya estaba escrito por un intento anterior: " +
                             Unir_Ruta(c.cola, ".Factura B Folio 65.txt.194.turno1.pendiente") +
                             "|1");

    std::filesystem::remove(Unir_Ruta(c.cola, "Factura B Folio 65.txt"));
    Pedir(194, 1);  // claimed by a copy that stopped before writing anything
    Atender();
    EXPECT_EQ(Pedidos().substr(Pedidos().rfind('\n') + 1), "2|" + Escrito() + "|1");
    EXPECT_EQ(Cola().size(), 1u);
}

}  // namespace
}  // namespace facturador::pruebas
