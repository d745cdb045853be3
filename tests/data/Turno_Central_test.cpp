// The worker's lease between two copies of the program, each with its own connections.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

#include "apoyo/Bd_Central.h"
#include "apoyo/Siembra.h"
#include "data/Conexiones.h"
#include "data/Turno_Central.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

class Turno_Test : public testing::Test {
  protected:
    Turno_Test() { Vaciar_Base_Central(); }

    // Whether a unit of `copia` commits (refused, the pool rolls it back).
    static bool Unidad(Turno_Central& copia) {
        Conexion_Abierta conexion;
        conexion.Iniciar_Transaccion();
        try {
            copia.Comprobar_Turno(conexion);
        } catch (const Error_Plataforma& e) {
            if (e.Numero == kError_Sin_Turno)
                return false;
            throw;
        }
        conexion.Confirmar_Transaccion();
        return true;
    }
    static std::string Fila() {
        return Valor_Central(
            "SELECT CONCAT_WS('|', Titular, Epoca, Unidades) FROM Turno_Facturador");
    }
    // Run out a moment ago: less than the second the server counts in.
    static void Vencer() {
        Ejecutar_Central("UPDATE Turno_Facturador SET Vence = NOW(6) - INTERVAL 0.3 SECOND");
    }

    Entorno_Pruebas entorno;
    Turno_Central a{"a:/srv/f pid 1 #1", "a:/srv/f pid "};
    Turno_Central b{"b:/srv/f pid 2 #2", "b:/srv/f pid "};
};

// The holder's units commit, the other's are refused until the lease runs out and it takes over
// with the next epoch; a clean exit, or a restart in the holder's folder, frees it at once.
TEST_F(Turno_Test, Uno_Trabaja_Y_El_Otro_Toma_Al_Vencer_Con_La_Epoca_Siguiente) {
    ASSERT_EQ(a.Asegurar(), Turno_Central::Estado::Tenido);
    EXPECT_EQ(b.Asegurar(), Turno_Central::Estado::Ocupado);
    EXPECT_EQ(b.Titular_Ajeno(), a.Titular());
    EXPECT_TRUE(Unidad(a));
    EXPECT_FALSE(Unidad(b));
    EXPECT_EQ(Fila(), a.Titular() + "|1|1");
    EXPECT_EQ(Valor_Central("SELECT TIMESTAMPDIFF(SECOND, NOW(6), Vence) BETWEEN 28 AND 30 FROM "
                            "Turno_Facturador"),
              "1");

    // Expired and not taken, the holder renews it in the same epoch; its late unit is refused.
    Vencer();
    EXPECT_EQ(a.Asegurar(), Turno_Central::Estado::Tenido);
    EXPECT_EQ(a.Epoca(), 1);
    Vencer();
    EXPECT_FALSE(Unidad(a));
    EXPECT_FALSE(a.Tenido());
    ASSERT_EQ(b.Asegurar(), Turno_Central::Estado::Tenido);
    EXPECT_EQ(b.Epoca(), 2);
    EXPECT_EQ(a.Asegurar(), Turno_Central::Estado::Ocupado);
    EXPECT_TRUE(Unidad(b));
    {  // another copy wrote the row at the same moment: whether b still holds it is told later
        const Conflicto_Temporal conflicto("Turno_Facturador", "UPDATE");
        EXPECT_EQ(b.Asegurar(), Turno_Central::Estado::Ocupado);
        EXPECT_FALSE(b.Tenido());
        EXPECT_EQ(b.Titular_Ajeno(), "");  // no holder seen: not a's, seen before b took it
    }
    ASSERT_EQ(b.Asegurar(), Turno_Central::Estado::Tenido);
    EXPECT_EQ(b.Epoca(), 3);

    b.Soltar();
    EXPECT_EQ(Fila(), "|3|2");
    EXPECT_FALSE(Unidad(b));
    ASSERT_EQ(a.Asegurar(), Turno_Central::Estado::Tenido);
    EXPECT_EQ(a.Epoca(), 4);

    // A restart in a's folder (holding its lock) takes the lease at once; another folder's waits.
    Turno_Central otra_carpeta("a:/srv/f2 pid 3 #3", "a:/srv/f2 pid ");
    EXPECT_EQ(otra_carpeta.Asegurar(), Turno_Central::Estado::Ocupado);
    Turno_Central de_nuevo("a:/srv/f pid 9 #9", "a:/srv/f pid ");
    ASSERT_EQ(de_nuevo.Asegurar(), Turno_Central::Estado::Tenido);
    EXPECT_EQ(de_nuevo.Epoca(), 5);
    EXPECT_FALSE(Unidad(a));
}

// A copy that loses a run-out lease to a third between its look and its update names the taker.
TEST_F(Turno_Test, Quien_Pierde_La_Carrera_Espera_Y_Nombra_Al_Que_Tomo) {
    ASSERT_EQ(a.Asegurar(), Turno_Central::Estado::Tenido);
    Vencer();
    Conexion_Abierta tercera;  // halfway through its own take-over: the row is locked
    tercera.Iniciar_Transaccion();
    tercera.Ejecutar("UPDATE Turno_Facturador SET Titular = 'c:/srv/f pid 3 #3', Epoca = Epoca + "
                     "1, Vence = NOW(6) + INTERVAL 30 SECOND");
    auto estado = std::async(std::launch::async, [this] { return b.Asegurar(); });
    // b's update waits on the lock (the account sees its own connections' statements).
    for (int vuelta = 0; Valor_Central("SELECT COUNT(*) FROM information_schema.PROCESSLIST "
                                       "WHERE INFO LIKE 'UPDATE Turno_Facturador SET Epoca%'") !=
                         "1";
         ++vuelta) {
        ASSERT_LT(vuelta, 3000) << "b never reached its update";
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    tercera.Confirmar_Transaccion();
    EXPECT_EQ(estado.get(), Turno_Central::Estado::Ocupado);
    EXPECT_FALSE(b.Tenido());
    EXPECT_EQ(b.Titular_Ajeno(), "c:/srv/f pid 3 #3");
}

// A database older than the lease gets the schema script's table from the program; every unit is
// appended to the trace file the environment names.
TEST_F(Turno_Test, Crea_Su_Tabla_Si_Falta_Y_Anota_Cada_Unidad_En_La_Traza) {
    const std::string esquema = Consultar_Central("SHOW CREATE TABLE Turno_Facturador").Texto(1);
    ASSERT_TRUE(Administrar_Central("DROP TABLE Turno_Facturador"));
    const std::string traza = Unir_Ruta(entorno.Carpeta(), "traza.txt");
    setenv("FACTURADOR_TRAZA_UNIDADES", traza.c_str(), 1);
    Reiniciar_Turno_Programa();
    unsetenv("FACTURADOR_TRAZA_UNIDADES");
    Turno_Central& copia = Turno_Programa();
    ASSERT_EQ(copia.Asegurar(), Turno_Central::Estado::Tenido);
    EXPECT_EQ(Consultar_Central("SHOW CREATE TABLE Turno_Facturador").Texto(1), esquema);

    Conexion_Abierta conexion;
    for (int i = 0; i < 2; ++i)
        En_Unidad_Cercada(conexion, [] {});
    EXPECT_THROW(En_Unidad_Cercada(conexion, [] { throw Error_Plataforma(1, "falla"); }),
                 Error_Plataforma);
    Cerrar_Conexion(conexion);
    EXPECT_EQ(Leer_Archivo(traza), "1 1 " + copia.Titular() + "\n1 2 " + copia.Titular() + "\n");
    // Named by its machine; restarted with the same folder and process number, told by its token.
    const std::string titular = copia.Titular();
    char maquina[256] = {};
    ASSERT_EQ(gethostname(maquina, sizeof maquina - 1), 0);
    EXPECT_EQ(titular.rfind(maquina, 0), 0u) << titular;
    Reiniciar_Turno_Programa();
    EXPECT_NE(Turno_Programa().Titular(), titular);
}

}  // namespace
}  // namespace facturador::pruebas
