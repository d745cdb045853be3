// The central credentials file: who may own and read it, its lines, a connection with its account.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Vecino_Hostil.h"
#include "data/Conexiones.h"
#include "platform/Archivos.h"
#include "platform/Credenciales_Central.h"
#include "platform/Error_Plataforma.h"

namespace facturador {
namespace {

std::string Archivo(const pruebas::Carpeta_Temporal& carpeta, const std::string& texto,
                    mode_t modo) {
    const std::string ruta = Unir_Ruta(carpeta.Ruta(), "central.conf");
    Escribir_Archivo(ruta, texto);
    chmod(ruta.c_str(), modo);
    return ruta;
}

std::string Rechazo(const std::string& ruta) {
    try {
        Leer_Credenciales_Central(ruta);
        return "";
    } catch (const Error_Plataforma& e) {
        return e.what();
    }
}

TEST(Credenciales_Central, SoloSeLeenDeUnArchivoResguardadoYBienEscrito) {
    pruebas::Carpeta_Temporal carpeta;
    EXPECT_FALSE(Leer_Credenciales_Central(carpeta.Ruta() + "/central.conf").Usuario);
    const std::string texto =
        "# cuenta propia\r\n usuario = facturador \r\ncontrasena= s3=to\n\n"
        "socket=/run/otro.sock";
    const auto abiertos = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const auto antes = abiertos();
    const Credenciales_Central c = Leer_Credenciales_Central(Archivo(carpeta, texto, 0640));
    EXPECT_EQ(abiertos(), antes);  // the file is closed again
    EXPECT_EQ(*c.Usuario + "|" + *c.Contrasena + "|" + *c.Socket,
              "facturador|s3=to|/run/otro.sock");

    EXPECT_NE(Rechazo(Archivo(carpeta, texto, 0644)).find("tiene el modo 0644"), std::string::npos);
    EXPECT_NE(Rechazo(Archivo(carpeta, texto, 0660)).find("tiene el modo 0660"), std::string::npos);
    // A line is named by its number and never repeated: it may hold the password.
    for (const auto& [lineas, motivo] : std::vector<std::pair<std::string, std::string>>{
             {"clave_suelta", "línea 1: se esperaba"},
             {"\npassword=clave_suelta", "línea 2: se esperaba"},
             {"usuario=a\nusuario=clave_suelta", "línea 2: la clave ya se dio antes"},
             {"contrasena=\nsocket= ", "línea 2: falta el valor"}}) {
        const std::string rechazo = Rechazo(Archivo(carpeta, lineas, 0600));
        EXPECT_NE(rechazo.find(motivo), std::string::npos) << rechazo;
        EXPECT_EQ(rechazo.find("clave_suelta"), std::string::npos) << rechazo;
    }
    if (geteuid() == 0) {
        const std::string ajeno = Archivo(carpeta, texto, 0600);
        ASSERT_EQ(chown(ajeno.c_str(), 65534, 0), 0);
        EXPECT_NE(Rechazo(ajeno).find("es del usuario 65534; debe ser de root"), std::string::npos);
    }
    // A link to a good file, or a pipe, in its place: never followed, never waited on.
    const std::string bueno = Archivo(carpeta, texto, 0640), ruta = carpeta.Ruta() + "/otro.conf";
    for (const bool tuberia : {false, true}) {
        ASSERT_TRUE(tuberia ? pruebas::Plantar_Tuberia(ruta)
                            : pruebas::Plantar_Enlace(ruta, bueno));
        EXPECT_NE(Rechazo(ruta).find("no es un archivo regular"), std::string::npos);
    }
}

// Puts credentials in force for one test; the built-in account comes back after it.
struct Credenciales_En_Vigor {
    explicit Credenciales_En_Vigor(Credenciales_Central c) { Credenciales_Vigentes() = c; }
    ~Credenciales_En_Vigor() { Credenciales_Vigentes() = {}; }
};

// An account of its own, reached through the file's socket rather than MYSQL_UNIX_PORT's; with
// the built-in password instead of its own it is refused.
TEST(Credenciales_Central, UnaCuentaPropiaConectaPorElSocketDelArchivo) {
    pruebas::Como_Administrador(
        "CREATE OR REPLACE USER 'cuenta_propia'@'localhost' IDENTIFIED BY 'Otra 7'");
    pruebas::Como_Administrador("GRANT SELECT ON Morvane_Central.* TO 'cuenta_propia'@'localhost'");
    const Credenciales_En_Vigor propia({"cuenta_propia", "Otra 7", SOCKET_BD_PRUEBAS});
    Conexion c;
    Abrir_Conexion_Central(c);
    EXPECT_EQ(c.Ejecutar("SELECT CURRENT_USER()").Texto(size_t{0}), "cuenta_propia@localhost");
    Cerrar_Conexion(c);
    Credenciales_Vigentes().Socket = "/no/existe.sock";
    EXPECT_THROW(Abrir_Conexion_Central(c), Error_Plataforma);
    Credenciales_Vigentes().Socket = SOCKET_BD_PRUEBAS;
    Credenciales_Vigentes().Contrasena = kContrasena_Central;
    EXPECT_THROW(Abrir_Conexion_Central(c), Error_Plataforma);
}

}  // namespace
}  // namespace facturador
