// The central accounts of sql/02_cuenta.sql, each with the rights its work needs: monitoring reads
// what --estado reads and writes nothing; the operator's console cancels, edits profiles,
// reactivates and asks for re-queues, but never takes the lease nor registers an invoice.

#include <sys/stat.h>

#include <filesystem>
#include <utility>

#include "Apoyo_App.h"
#include "app/Acciones_Solicitud.h"
#include "app/Arranque.h"
#include "app/Busqueda_Solicitudes.h"
#include "app/Historia_Solicitud.h"
#include "app/Salida_Salud.h"
#include "app/Salud.h"
#include "app/Turno_Trabajo.h"
#include "cancellation/Factura_a_Cancelar.h"
#include "data/Conexiones.h"
#include "issuing_config/Cambios_Perfiles.h"
#include "issuing_config/Guardar_Configuracion.h"
#include "platform/Cuentas_Centrales.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

// An account of 02_cuenta.sql, given a password and unlocked as installing does, while it lives.
struct En_Cuenta {
    explicit En_Cuenta(const std::string& usuario) {
        EXPECT_TRUE(Administrar_Central("ALTER USER '" + usuario +
                                        "'@'localhost' IDENTIFIED BY 'Prueba 1' ACCOUNT UNLOCK"));
        Credenciales_Vigentes() = {usuario, "Prueba 1", std::nullopt};
    }
    ~En_Cuenta() { Credenciales_Vigentes() = {}; }
};

// The server's number when `sql` fails with the account in force; 0 when it works.
long Numero_Falla(const std::string& sql) {
    try {
        return En_Central([&](Conexion& c) { return c.Ejecutar(sql), 0L; });
    } catch (const Error_Plataforma& e) {
        return e.Numero;
    }
}

void Esperar_Negadas(const std::vector<std::string>& sentencias) {
    for (const std::string& sql : sentencias)
        EXPECT_TRUE(Es_Sin_Permiso(Numero_Falla(sql))) << sql;
}

// Branch 3 with an invoice stamped for ticket 4711, its amount in force and its ticket invoiced;
// requests 1 (that invoice's), 2 (rejected) and 3 (pending).
class Cuentas_Test : public Prueba_Ciclo {
  protected:
    Cuentas_Test() {
        Administrar_Central("DELETE FROM Pedidos_Reencolado");
        sucursal = Sembrar_Sucursal(entorno.Carpeta(), 3, "Centro", "A", 16);
        Sembrar_Ticket(4711, 3, "116");
        Ejecutar_Central("UPDATE Tickets SET Se_dio_Factura = 1");
        Ejecutar_Central(
            "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, ID_Sucursal, "
            "Nro_Ticket, Status) VALUES (-1, 'A', 15, 3, 4711, 2)");
        Ejecutar_Central(
            "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Sucursal, Total) VALUES "
            "(4711, 3, 116)");
        Sembrar_Solicitud(1, {{"Status", "3"}, {"ID_Factura", "-1"}});
        Sembrar_Solicitud(2, {{"Status", "4"}, {"Resultado", "'Error: rechazada'"}});
        Sembrar_Solicitud(3);
    }
    Carpetas_Sucursal sucursal;
};

// Monitoring's --estado tells what the service's does, writes nothing, reads no invoice, and warns
// of the built-in password while the service's credentials file is missing or gives none.
TEST_F(Cuentas_Test, El_Monitoreo_Lee_El_Informe_No_Escribe_Nada_Y_Sabe_De_La_Contrasena) {
    entorno.Crear_Bases_Locales();
    ASSERT_EQ(Turno_Programa().Asegurar(), Turno_Central::Estado::Tenido);
    const std::string con_servicio = Salud_En_JSON(Evaluar_Salud());
    EXPECT_EQ(con_servicio.find("No se puede consultar"), std::string::npos) << con_servicio;
    const En_Cuenta monitoreo("facturador_monitoreo");
    EXPECT_EQ(Salud_En_JSON(Evaluar_Salud()), con_servicio);
    Esperar_Negadas({"UPDATE Turno_Facturador SET Vence = NULL",
                     "INSERT INTO Solicitudes_de_Facturas_OL (ID) VALUES (9)",
                     "UPDATE Solicitudes_de_Facturas_OL SET Status = 1",
                     "UPDATE Configuracion_Facturas_Electronicas SET Folio_Inicial_Facturas = 1",
                     "DELETE FROM Sucursales",
                     "INSERT INTO Pedidos_Reencolado (ID_Solicitud) VALUES (3)",
                     "CREATE TABLE Intrusa (ID INT)", "SELECT COUNT(*) FROM Facturas_Electronicas",
                     "SELECT COUNT(*) FROM Comprobantes_Fiscales"});
    Reiniciar_Turno_Programa();
    EXPECT_EQ(Turno_Programa().Asegurar(), Turno_Central::Estado::Sin_Permiso);

    Carpeta_Temporal etc;
    Carpeta_Credenciales() = etc.Ruta();
    Cuenta_Vigente() = Cuenta_Central::Monitoreo;
    const auto avisa = [] {
        const auto motivos = Evaluar_Salud().Motivos;
        return std::ranges::count(motivos, std::string(kAviso_Contrasena_de_Fabrica)) == 1;
    };
    const std::string central = Unir_Ruta(etc.Ruta(), "central.conf");
    for (const auto& [contenido, fabrica] : {std::pair{"", true},
                                             {"usuario=usuarios\n", true},
                                             {"usuario=usuarios\ncontrasena=Propia 1\n", false}}) {
        Escribir_Archivo(central, contenido);
        chmod(central.c_str(), 0640);
        EXPECT_EQ(avisa(), fabrica) << contenido;
    }
    std::filesystem::remove(central);
    EXPECT_TRUE(avisa());
    Cuenta_Vigente() = Cuenta_Central::Servicio;
    Carpeta_Credenciales() = kCarpeta_Credenciales;
}

// The console's account cancels an invoice (with its ticket and amount), stores a profile,
// reactivates and asks for a re-queue; it can neither take the lease nor alter what stamping wrote.
TEST_F(Cuentas_Test, La_Consola_Cancela_Edita_Y_Reactiva_Pero_No_Trabaja) {
    Cargar_Datos_de_Emision();
    {
        const En_Cuenta consola("facturador_consola");
        Conexion_Abierta conexion;
        const auto factura = Leer_Factura_a_Cancelar(conexion, {"A", 15});
        ASSERT_TRUE(factura);
        Aplicar_Cancelacion(Abrir_Conexion_Central, *factura, 4711,
                            Unir_Ruta(sucursal.cola, "Cancelar A 15.txt"));
        Datos_Capturados perfil = Obtener_Datos_Emision(3);
        perfil.Serie_Facturas = "B";
        EXPECT_TRUE(Aceptar_Datos_Emision(perfil, Cajas_Llenadas::De_Su_Perfil));
        Conexion_Abierta de_la_consola;
        Reactivar_Solicitudes_Rechazadas(de_la_consola);
        EXPECT_EQ(Numero_Falla("INSERT INTO Pedidos_Reencolado (ID_Solicitud) VALUES (1)"), 0);
        EXPECT_EQ(Numero_Falla("SELECT * FROM Pedidos_Reencolado"), 0);
        Esperar_Negadas({"UPDATE Turno_Facturador SET Vence = NULL",
                         "INSERT INTO Turno_Facturador (Nombre) VALUES ('x')",
                         "INSERT INTO Facturas_Electronicas (ID_Factura) VALUES (-2)",
                         "UPDATE Facturas_Electronicas SET UUID = 'otro'",
                         "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Sucursal) VALUES (1, 3)",
                         "INSERT INTO Comprobantes_Fiscales (ID, ID_Factura) VALUES (-1, -1)",
                         "UPDATE Solicitudes_de_Facturas_OL SET ID_Factura = -1",
                         "UPDATE Pedidos_Reencolado SET Status = 1",
                         "DELETE FROM Solicitudes_de_Facturas_OL",
                         "CREATE TABLE Intrusa (ID INT)"});
        EXPECT_EQ(Turno_Programa().Asegurar(), Turno_Central::Estado::Sin_Permiso);
    }
    EXPECT_EQ(Valor_Central("SELECT CONCAT(f.Status, t.Se_dio_Factura, m.Status, c.Serie_Facturas) "
                            "FROM Facturas_Electronicas f, Tickets t, Montos_Facturados m, "
                            "Configuracion_Facturas_Electronicas c"),
              "301B");
    EXPECT_EQ(Estados_Solicitudes(), "3,1,1");
    EXPECT_EQ(Valor_Central("SELECT CONCAT((SELECT COUNT(*) FROM Pedidos_Reencolado), "
                            "(SELECT COUNT(*) FROM Turno_Facturador))"),
              "10");
    EXPECT_TRUE(Existe_Archivo(Unir_Ruta(sucursal.cola, "Cancelar A 15.txt")));
}

// Everything the requests window and a request's story do works with the console's account: the
// search, its index check, reasons, the story, a reactivation, a re-queue ask, the edited profiles.
TEST_F(Cuentas_Test, La_Consola_Busca_Cuenta_La_Historia_Reactiva_Y_Pide_Reencolar) {
    Cargar_Datos_de_Emision();
    Ejecutar_Central("UPDATE Montos_Facturados SET ID_Solicitud = 1");
    Ejecutar_Central(
        "UPDATE Solicitudes_de_Facturas_OL SET Status = 2, Serie = 'A', Folio = 16, "
        "ID_Factura = -1, Archivo = 'Factura A Folio 16' WHERE ID = 3");
    const En_Cuenta consola("facturador_consola");
    Conexion_Abierta conexion;
    const Indices_Busqueda indices = Leer_Indices_Busqueda(conexion);
    EXPECT_TRUE(indices.Completos());
    Criterios_Busqueda criterios;
    criterios.Nombre = "julia";
    EXPECT_EQ(Buscar_Solicitudes(conexion, criterios, indices).Filas.size(), 3u);
    criterios.Orden = Columna_Solicitudes::Total;
    EXPECT_EQ(Buscar_Solicitudes(conexion, criterios, indices, {1, 1}).Filas.size(), 3u);
    ASSERT_EQ(Motivos_Rechazo(conexion, indices).size(), 1u);
    {
        // Without the right to copy new requests the search fails and says why, never silently
        // leaves them out.
        const Cambio_Temporal sin_copiar(
            "REVOKE INSERT ON Morvane_Central.Indice_Solicitudes FROM "
            "'facturador_consola'@'localhost'",
            "GRANT INSERT ON Morvane_Central.Indice_Solicitudes TO "
            "'facturador_consola'@'localhost'");
        try {
            Buscar_Solicitudes(conexion, criterios, indices);
            ADD_FAILURE() << "la búsqueda no falló";
        } catch (const Error_Plataforma& e) {
            EXPECT_EQ(e.Numero, 1142);
        }
    }
    const auto historia = Leer_Historia_Solicitud(conexion, 1);
    ASSERT_TRUE(historia);
    EXPECT_TRUE(historia->Factura);
    EXPECT_EQ(historia->Montos.size(), 1u);
    EXPECT_EQ(Pedir_Reencolado(conexion, 3, "operador", entorno.reloj.Ahora()), std::nullopt);
    EXPECT_EQ(Leer_Historia_Solicitud(conexion, 3)->Pedidos.size(), 1u);
    EXPECT_EQ(Reactivar_Solicitudes(conexion, {1, 2}).Solicitudes.size(), 1u);
    EXPECT_FALSE(Tomar_Perfiles_Cambiados(conexion));
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET Serie_Facturas = 'C'");
    EXPECT_TRUE(Tomar_Perfiles_Cambiados(conexion));
    Cerrar_Conexion(conexion);
    EXPECT_EQ(Estados_Solicitudes(), "3,1,2");
}

// A console that may not take the lease, nobody at work: no cycle fails, nothing is generated, it
// says why once to the log and the operator; the warning ends while the service works, and recurs.
TEST_F(Cuentas_Test, La_Consola_Sin_Turno_Atiende_Lo_Suyo_Sin_Fallar_Ciclos) {
    entorno.Crear_Bases_Locales();
    Turno_Central servicio("servicio:/var/lib/facturador pid 1", "servicio:/var/lib/facturador");
    const En_Cuenta consola("facturador_consola");
    ASSERT_EQ(Cargar_Datos_Iniciales(), Resultado_Arranque::Continuar);
    for (int i = 0; i < 3; ++i)
        ciclo.tmrTimer_Timer();
    EXPECT_TRUE(Una_Vez(Leer_Log(), kLinea_Turno_Sin_Permiso)) << Leer_Log();
    const auto avisos = entorno.operador.De_Tipo("advertencia");
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_TRUE(avisos[0].texto.starts_with(kLinea_Turno_Sin_Permiso));
    EXPECT_EQ(vista.Cuantas("ver_errores:1"), 3);
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Facturas_Electronicas WHERE Status = 1"), "0");

    const auto como_servicio = [&](auto accion) {
        const Credenciales_Central propias = std::exchange(Credenciales_Vigentes(), {});
        accion();
        Credenciales_Vigentes() = propias;
    };
    EXPECT_TRUE(entorno.operador.resueltos.empty());
    como_servicio([&] { ASSERT_EQ(servicio.Asegurar(), Turno_Central::Estado::Tenido); });
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(entorno.operador.resueltos, std::vector<std::string>{kTitulo_Turno_Sin_Permiso});
    como_servicio([&] { servicio.Soltar(); });
    ciclo.tmrTimer_Timer();
    const std::string log = Leer_Log();
    EXPECT_TRUE(Una_Vez(log, kLinea_Otra_Copia_Trabaja));
    EXPECT_EQ(Veces(log, kLinea_Turno_Sin_Permiso), 2) << log;
    EXPECT_EQ(Veces(log, "Error:"), 0) << log;
    EXPECT_FALSE(Fallas_Programa().En_Falla());
}

}  // namespace
}  // namespace facturador::pruebas
