// The health report (--estado) and what the running program publishes for it.

#include "app/Salud.h"

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <filesystem>

#include "Apoyo_App.h"
#include "app/Arranque.h"
#include "app/Estado_Publicado.h"
#include "app/Salida_Salud.h"
#include "issuing_config/Zona_Sucursal.h"
#include "platform/Instancia_Unica.h"

namespace facturador::pruebas {
namespace {

const Fecha_Hora kAhora{2026, 12, 5, 10, 15, 40};

// Root without the right to pass over a file's permissions, as monitoring runs --estado; only the
// effective set changes, so the end of the scope gives the right back.
struct Sin_Pasar_Permisos {
    Sin_Pasar_Permisos() {
        syscall(SYS_capget, &cabecera, antes);
        __user_cap_data_struct despues[2] = {antes[0], antes[1]};
        despues[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &cabecera, despues);
    }
    ~Sin_Pasar_Permisos() { syscall(SYS_capset, &cabecera, antes); }
    __user_cap_header_struct cabecera{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct antes[2]{};
};

Estado_Publicado Estado_En_Archivo() {
    return Leer_Estado_Publicado(Leer_Archivo(Unir_Ruta(Carpeta_Programa(), kArchivo_Estado)));
}

using Seguimiento_Test = Prueba_Ciclo;

// Since when each request waits is kept from cycle to cycle and across a restart; a request the
// generation pass never takes, for want of an RFC, is told in the daily log once.
TEST_F(Seguimiento_Test, Anota_Desde_Cuando_Esperan_Y_Lo_Conserva_Al_Reiniciar) {
    entorno.Crear_Bases_Locales();
    Sembrar_Solicitud(1, {{"RFC", "NULL"}});
    Sembrar_Solicitud(2, {{"Status", "2"}});
    ciclo.tmrTimer_Timer();
    Estado_Publicado estado = Estado_En_Archivo();
    using Vistas = std::map<Clave_Espera, Fecha_Hora>;
    EXPECT_EQ(estado.Seguimiento.Vistas, (Vistas{{{1, 1}, kAhora}, {{2, 2}, kAhora}}));
    EXPECT_EQ(estado.Seguimiento.Ultimo_Ciclo_Exitoso, kAhora);

    entorno.reloj.Avanzar_Segundos(400);
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Status = 3 WHERE ID = 2");
    Reiniciar_Estado_Aplicacion();
    ASSERT_EQ(Cargar_Datos_Iniciales(), Resultado_Arranque::Continuar);
    ciclo.tmrTimer_Timer();
    estado = Estado_En_Archivo();
    EXPECT_EQ(estado.Seguimiento.Vistas, (Vistas{{{1, 1}, kAhora}}));
    EXPECT_EQ(estado.Seguimiento.Ultimo_Ciclo_Exitoso, Sumar_Segundos(kAhora, 400));
    EXPECT_TRUE(Una_Vez(Leer_Log(), "Solicitud ID: 1 - Sucursal: 3 - No tiene RFC del receptor"));
}

class Salud_Test : public Prueba_App {
  protected:
    Informe_Salud Informe() {
        const Informe_Salud informe = Evaluar_Salud();
        texto = Salud_En_Texto(informe);
        json = Salud_En_JSON(informe);
        return informe;
    }
    // The program of the folder running, its last cycle ended `hace` seconds ago.
    void Programa_Corriendo(long long hace) {
        if (!programa)
            programa.emplace(Archivo_Candado_de_Carpeta(entorno.Carpeta()));
        Estado_Publicado publicado = Cargar_Estado_Publicado();
        publicado.Seguimiento.Ultimo_Ciclo = Sumar_Segundos(kAhora, -hace);
        Escribir_Estado_Publicado(publicado);
    }
    std::string texto, json;
    std::optional<Instancia_Unica> programa;
};

// Unknown without local settings; critical without the database, the program, or a cycle for two
// minutes; else good, unless the account has its built-in password. The lease's holder is told.
TEST_F(Salud_Test, Desconocido_Critico_O_Bien_Segun_Base_Y_Programa) {
    EXPECT_EQ(Informe().Estado, Estado_Salud::Desconocido);
    EXPECT_TRUE(Empieza(texto,
                        "FACTURADOR DESCONOCIDO - No se puede leer la configuración "
                        "local (local.dll): "));
    entorno.Crear_Bases_Locales();
    Programa_Corriendo(0);
    {
        const Servidor_Detenido servidor;
        EXPECT_EQ(Informe().Estado, Estado_Salud::Critico);
    }
    EXPECT_TRUE(Contiene(json, R"("motivos":["No se puede consultar la base de datos central: )"));

    programa.reset();
    EXPECT_EQ(Informe().Estado, Estado_Salud::Critico);
    EXPECT_EQ(texto, "FACTURADOR CRÍTICO - El programa no corre con la carpeta " +
                         entorno.Carpeta() +
                         " (su candado está libre).\nTurno de trabajo: libre\n");
    // A lock file this account cannot open tells nothing of the program, nor of its last cycle.
    Programa_Corriendo(600);
    programa.reset();
    const std::string candado = Archivo_Candado_de_Carpeta(entorno.Carpeta());
    EXPECT_EQ(std::filesystem::status(candado).permissions() & std::filesystem::perms::others_all,
              std::filesystem::perms::none);  // no other account may lock the service out
    std::filesystem::remove(candado);
    std::filesystem::create_symlink("/dev/null", candado);
    EXPECT_EQ(Informe().Estado, Estado_Salud::Bien) << texto;
    EXPECT_TRUE(Contiene(json, R"("programa_corriendo":null,)")) << json;
    std::filesystem::remove(candado);

    Programa_Corriendo(120);
    EXPECT_EQ(Informe().Estado, Estado_Salud::Bien);
    EXPECT_TRUE(Empieza(texto,
                        "FACTURADOR BIEN - La facturación está al día.\nTurno de "
                        "trabajo: libre\nÚltimo ciclo exitoso: no consta\n"));
    // The built-in password, in every copy of the program, is a warning of its own.
    Credenciales_Vigentes() = {};
    EXPECT_EQ(Informe().Estado, Estado_Salud::Advertencia);
    EXPECT_TRUE(Empieza(texto,
                        "FACTURADOR ADVERTENCIA - Aviso: la cuenta central usa la "
                        "contraseña de fábrica"));
    Usar_Cuenta_Propia();

    Turno_Central otra("nodo2:/srv/f pid 7 #1", "nodo2:/srv/f pid ");
    ASSERT_EQ(otra.Asegurar(), Turno_Central::Estado::Tenido);
    Programa_Corriendo(121);
    EXPECT_EQ(Informe().Estado, Estado_Salud::Critico);
    EXPECT_TRUE(Empieza(texto,
                        "FACTURADOR CRÍTICO - El programa corre pero no termina un ciclo "
                        "desde hace 2 min (más de 2 min).\nTurno de trabajo: nodo2:/srv/"
                        "f pid 7 #1 (época 1), vence 20"));
    EXPECT_TRUE(
        Contiene(json, R"("programa_corriendo":true,"ultimo_ciclo":"2026-12-05T10:13:39","turno":)"
                       R"({"titular":"nodo2:/srv/f pid 7 #1","epoca":1,"vence":"20)"));
}

// Long waits, intake observations, missing folders, refused profiles and a stale cycle each warn. A
// queue folder monitoring may not list is not missing: its count is unknown, and the total's too.
TEST_F(Salud_Test, Cada_Espera_Larga_U_Observacion_Es_Una_Advertencia) {
    entorno.Crear_Bases_Locales();
    const auto cerrada =
        Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s1"), 1, "Centro \"Norte\"", "A", 1);
    ASSERT_EQ(chmod(cerrada.cola.c_str(), 0), 0);
    const std::string s2 = Unir_Ruta(entorno.Carpeta(), "s2");
    Sembrar_Sucursal(s2, 2, "Sur", "B", 1, false);
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET RFC_Emisor = 'ALT15031' "
        "WHERE ID_Sucursal = 2");
    Sembrar_Solicitud(10, {{"ID_Sucursal", "1"}});  // seen 6 minutes ago
    Sembrar_Solicitud(11, {{"Status", "2"}, {"ID_Sucursal", "1"}, {"Fecha", "'2026/12/04'"}});
    Sembrar_Solicitud(12, {{"ID_Sucursal", "2"}, {"RFC", "''"}});  // after the program's last look
    Sembrar_Solicitud(13, {{"Status", "3"}, {"ID_Sucursal", "2"}});
    Estado_Publicado publicado;
    publicado.Seguimiento.Ultimo_Ciclo_Exitoso = Sumar_Segundos(kAhora, -400);
    publicado.Seguimiento.Ultimo_Ciclo = kAhora;
    publicado.Seguimiento.Revision = Sumar_Segundos(kAhora, -20);
    publicado.Seguimiento.Vistas[{1, 10}] = Sumar_Segundos(kAhora, -360);
    publicado.Seguimiento.Vistas[{2, 11}] = Sumar_Segundos(kAhora, -2400);
    publicado.Observaciones.Atascadas[11] = {
        11, 1, 9001, "A", 7, "sin \"archivo\"\t\\ ni\r\nresultado", kAhora};
    publicado.Observaciones.Discrepancias[13] = {13, 2, 9002, "B", 1, "ya no en 2", kAhora};
    // A single refused result of a request still in 2 is a warning.
    publicado.Observaciones.Discrepancias[11] = {11, 1, 9001, "A", 7, "otro folio", kAhora};
    Escribir_Estado_Publicado(publicado);
    programa.emplace(Archivo_Candado_de_Carpeta(entorno.Carpeta()));

    const Informe_Salud informe = [&] {
        const Sin_Pasar_Permisos monitoreo;
        return Informe();
    }();
    EXPECT_EQ(informe.Estado, Estado_Salud::Advertencia);
    EXPECT_EQ(informe.Motivos,
              (std::vector<std::string>{
                  "La solicitud 10 espera en status 1 desde hace 6 min (más de 5 min).",
                  "La solicitud 11 espera en status 2 desde hace 40 min (más de 30 min).",
                  "Hay solicitudes en espera y el último ciclo exitoso fue hace 6 min.",
                  "Solicitudes atascadas en status 2: 1.",
                  "Resultados que no corresponden a su solicitud: 1.",
                  "Sucursal 2 Sur: falta la carpeta cola: " + s2 + "/cola.",
                  "Sucursal 2 Sur: falta la carpeta válidas: " + s2 + "/validas.",
                  "Sucursal 2 Sur: falta la carpeta NO válidas: " + s2 + "/no_validas.",
                  "Sucursal 2 Sur: sus solicitudes no se envían a timbrar, su perfil de emisión "
                  "tiene un error: R.F.C. del emisor con formato inválido: ALT15031."}));
    ASSERT_EQ(informe.Sucursales.size(), 2u);
    EXPECT_EQ(informe.Sucursales[1].Mas_Antigua_1->ID, 12);
    EXPECT_EQ(informe.Sucursales[1].Mas_Antigua_1->Segundos, 20);
    EXPECT_EQ(informe.Total.Sin_RFC, 1);
    EXPECT_EQ(informe.Total.Discrepancias, 1);
    EXPECT_EQ(informe.Total.Por_Status, (std::array<long, 5>{0, 2, 1, 1, 0}));
    EXPECT_EQ(informe.Sucursales[0].Archivos_En_Cola, std::nullopt);
    EXPECT_EQ(informe.Total.Archivos_En_Cola, std::nullopt);
    EXPECT_TRUE(Contiene(texto, "       ?  6 min (ID 10)"));
    EXPECT_TRUE(
        Contiene(json, R"({"id":1,"nombre":"Centro \"Norte\"","status_1":1,"status_2":1,)"));
    EXPECT_TRUE(Contiene(
        json, R"("perfil_invalido":"R.F.C. del emisor con formato inválido: ALT15031"}])"));
    // The published file keeps one line per entry: the tab and the line break come back blank.
    EXPECT_TRUE(Contiene(json, R"("detalle":"sin \"archivo\" \\ ni  resultado"})"));
    // Down, the program comes first, before every warning: the line a monitoring check shows.
    programa.reset();
    EXPECT_EQ(Informe().Motivos.size(), 10u);
    EXPECT_TRUE(Empieza(texto, "FACTURADOR CRÍTICO - El programa no corre"));
}

// Start-up creates the hand-set zones' table as the schema writes it, and logs each branch's zone
// once (both reckonings where the catalogue differs); a reload logs only a changed zone. A set zone
// tzdata lacks or the state cannot keep holds the branch; --estado lists them and names each zone.
TEST_F(Salud_Test, La_Zona_De_Cada_Sucursal_Al_Arrancar_Y_En_El_Estado) {
    entorno.Crear_Bases_Locales();
    Reiniciar_Datos_de_Emision();
    entorno.reloj = Reloj_Fijo(kAhora, "Etc/UTC");
    const auto creacion = [] {
        return Consultar_Central("SHOW CREATE TABLE Zonas_Horarias_Sucursales").Texto(size_t{1});
    };
    const std::string esquema = creacion();
    ASSERT_TRUE(Administrar_Central("DROP TABLE Zonas_Horarias_Sucursales"));
    for (const auto& [id, nombre] :
         {std::pair{1, "Centro"}, {2, "Norte"}, {3, "Juárez"}, {4, "Jalisco"}})
        Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), nombre), id, nombre, "A", 1);
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET CP_Domicilio_Expedicion = "
        "ELT(ID_Sucursal, '53100', '17000', '32000', '44100')");
    ASSERT_EQ(Cargar_Datos_Iniciales(), Resultado_Arranque::Continuar);
    EXPECT_EQ(creacion(), esquema);
    const std::string centro =
        "Sucursal 1 (Centro): zona horaria America/Mexico_City por el "
        "código postal 53100 (Estado de México, municipio 057)";
    const std::string desconocida =
        "la zona horaria \"America/Guadalajara\" de Zonas_Horarias_"
        "Sucursales no está en la base de zonas horarias del sistema";
    const std::string madrid =
        "la zona horaria \"Europe/Madrid\" de Zonas_Horarias_Sucursales no "
        "es una zona horaria de Jalisco (America/Mexico_City)";
    const std::string catalogo =
        "; el catálogo c_CodigoPostal le da Tiempo del Centro en Frontera (verano UTC-7, invierno "
        "UTC-6): sus facturas llevan la más temprana de las dos horas";
    Ejecutar_Central(
        "INSERT INTO Zonas_Horarias_Sucursales VALUES (3, ' America/Ciudad_Juarez "
        "'), (1, 'America/Guadalajara'), (4, 'Europe/Madrid')");
    for (int recarga = 0; recarga < 2; ++recarga)
        Cargar_Datos_de_Emision();
    for (const std::string& linea :
         {centro, centro + ". No emite facturas: " + desconocida,
          std::string("Sucursal 2 (Norte): zona horaria ninguna: el código postal de expedición "
                      "\"17000\" no es de ningún estado"),
          "Sucursal 3 (Juárez): zona horaria America/Ciudad_Juarez por el código postal 32000 "
          "(Chihuahua, municipio 037)" +
              catalogo,
          "Sucursal 3 (Juárez): zona horaria America/Ciudad_Juarez por Zonas_Horarias_Sucursales" +
              catalogo,
          "Sucursal 4 (Jalisco): zona horaria America/Mexico_City por el código postal 44100 "
          "(Jalisco, municipio 039). No emite facturas: " +
              madrid})
        EXPECT_TRUE(Una_Vez(Leer_Log(), linea + "\r\n")) << linea;

    Programa_Corriendo(0);
    const Informe_Salud informe = Informe();
    EXPECT_EQ(informe.Estado, Estado_Salud::Advertencia);
    const std::string no_timbra =
        ": sus solicitudes no se envían a timbrar, su perfil de emisión tiene un error: ";
    EXPECT_EQ(informe.Motivos,
              (std::vector<std::string>{
                  "Sucursal 1 Centro" + no_timbra + desconocida + ".",
                  "Sucursal 2 Norte" + no_timbra +
                      "C.P. del Domicilio de Expedición no existe en el catálogo c_CodigoPostal "
                      "del SAT: 17000.",
                  "Sucursal 4 Jalisco" + no_timbra + madrid + "."}));
    EXPECT_TRUE(Contiene(json,
                         R"x("zona_horaria":"America/Ciudad_Juarez","huso_catalogo":"Tiempo )x"
                         R"x(del Centro en Frontera (verano UTC-7, invierno UTC-6)",)x"
                         R"x("perfil_invalido":null})x"));
    EXPECT_TRUE(Contiene(texto,
                         "Zonas horarias:\n  1 Centro: America/Mexico_City\n  3 Juárez: America/"
                         "Ciudad_Juarez; catálogo c_CodigoPostal: Tiempo del Centro en Frontera "
                         "(verano UTC-7, invierno UTC-6)\n  4 Jalisco: America/Mexico_City\n"));
}

}  // namespace
}  // namespace facturador::pruebas
