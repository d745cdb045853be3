#include "data/Configuracion.h"

#include "data/Conexiones.h"
#include "data/Historial_Sincronizaciones.h"
#include "data/Log.h"
#include "platform/Archivos.h"
#include "platform/Credenciales_Central.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Motor_MariaDB.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr const char* kColumna_Dias_Log = "Dias_Conservar_Log";
constexpr const char* kColumna_Carpeta_Servicio = "Carpeta_Servicio";

std::string Numero_Y_Descripcion(const Error_Plataforma& e) {
    return std::to_string(e.Numero) + " " + e.Descripcion;
}

// The central database is always the one on this machine, whatever the local row names.
void Armar_Conexion_Central(Configuracion_Programa& cfg) {
    cfg.Servidor_Central = kServidor_Local;
    cfg.Base_Central = kBase_Central;
    cfg.Cadena_Conexion_Central =
        Armar_Cadena_Central(cfg.Base_Central, cfg.Servidor_Central, "3306");
}

void Probar_Conexion(const std::string& cadena) {
    Conexion conexion;
    conexion.Abrir(cadena);
    Cerrar_Conexion(conexion);
}

// The real cause, told beside the operator's message (which names none) in the daily log and on
// standard error, where an administrator of a service without windows reads it.
void Avisar_Causa(const std::string& que, const Error_Plataforma& e) {
    Escribir_Aviso(que + ": error " + std::to_string(e.Numero) + " - " + e.Descripcion);
}

enum class Resultado_Local { Lista, Sin_Servidor, Terminar };

// Without a display nobody can give another database, and the central one is always this
// machine's: a server that does not answer is no reason to stop. The program comes up, each
// cycle tries the connection again and says how it went.
constexpr const char* kSigue_Sin_Servidor =
    "El programa sigue sin ventanas: cada ciclo vuelve a intentar la conexión con la base de "
    "datos central.";

// Terminar when the local configuration could not be read or, with an operator who can give
// another database, the central database not reached; the operator has then been asked for the
// database location.
Resultado_Local Cargar_Configuracion_Local(Configuracion_Programa& cfg) {
    std::string paso = "No se pudo leer la configuración local " +
                       Unir_Ruta(Carpeta_Programa(), kArchivo_Configuracion_Local);
    bool servidor = false;
    try {
        Leer_Configuracion_Local(cfg);
        Armar_Conexion_Central(cfg);
        paso = "No se pudo conectar con la base de datos central " + cfg.Base_Central + " (" +
               Describir_Destino(Parametros_de_Conexion(cfg.Cadena_Conexion_Central)) + ")";
        servidor = true;
        Probar_Conexion(cfg.Cadena_Conexion_Central);
        return Resultado_Local::Lista;
    } catch (const Error_Plataforma& e) {
        Avisar_Causa(paso, e);
        if (servidor && Operador_Actual().Sin_Pantalla()) {
            Escribir_Aviso(kSigue_Sin_Servidor);
            return Resultado_Local::Sin_Servidor;
        }
        Operador_Actual().Mostrar_Advertencia(
            "Se produjo un error",
            "Favor de seleccionar la base de datos y reiniciar el programa.");
        Operador_Actual().Configurar_Ruta_BD();
        return Resultado_Local::Terminar;
    }
}

// Reads the central configuration row once; nothing is taken from it. A failure is only logged:
// the next step reads the same table and asks the operator when it cannot.
void Verificar_Configuracion_Central(const Configuracion_Programa& cfg) {
    try {
        Conexion conexion;
        conexion.Abrir(cfg.Cadena_Conexion_Central);
        Recordset rs = conexion.Ejecutar("SELECT * FROM Configuracion");
        if (!rs.Fin())
            rs.Mover_Primero();
        rs.Cerrar();
        Cerrar_Conexion(conexion);
    } catch (const Error_Plataforma& e) {
        Escribir_Log("No se pudo leer la configuración central. Error: " + Numero_Y_Descripcion(e));
    }
}

void Leer_Fecha_Apertura_Turno(Configuracion_Programa& cfg) {
    Conexion conexion;
    conexion.Abrir(cfg.Cadena_Conexion_Central);
    Recordset rs = conexion.Ejecutar("Select * FROM Configuracion");
    if (!rs.Fin()) {
        rs.Mover_Primero();
        cfg.Fecha_Apertura_Turno = Fecha_Como_Texto(rs.Texto("Fecha_Apertura_Turno"));
    }
    rs.Cerrar();
    Cerrar_Conexion(conexion);
}

void Cargar_Fecha_Apertura_Turno(Configuracion_Programa& cfg) {
    try {
        Leer_Fecha_Apertura_Turno(cfg);
    } catch (const Error_Plataforma& e) {
        Operador_Actual().Mensaje_Estandar("Error: " + Numero_Y_Descripcion(e), "Error");
        Operador_Actual().Configurar_Ruta_BD();
    }
}

}  // namespace

void Leer_Configuracion_Local(Configuracion_Programa& cfg) {
    Conexion conexion;
    conexion.Abrir(Cadena_Conexion_Local());
    Recordset rs = conexion.Ejecutar("SELECT * FROM Configuracion");
    if (!rs.Fin()) {
        rs.Mover_Primero();
        cfg.Ruta_BD = rs.Texto("Ruta_BD");
        cfg.Ruta_BD_Documentos = rs.Texto("Ruta_BD_Documentos");
        cfg.Ruta_BD_Fotos = rs.Texto("Ruta_BD_Fotos");
        cfg.Base_Central = rs.Texto("BD_MySQL");
        cfg.Servidor_Central = rs.Texto("IP_Servidor");
        // Added after the table: a local.dll without the column keeps the default.
        if (rs.Tiene_Columna(kColumna_Dias_Log))
            cfg.Dias_Conservar_Log = Leer_Dias_Conservar_Log(rs.Texto(kColumna_Dias_Log));
        if (rs.Tiene_Columna(kColumna_Carpeta_Servicio))
            cfg.Carpeta_Servicio = Recortar(rs.Texto(kColumna_Carpeta_Servicio));
    }
    rs.Cerrar();
    Cerrar_Conexion(conexion);
}

std::string Carpeta_del_Servicio() {
    if (!Configuracion().Carpeta_Servicio.empty())
        return Configuracion().Carpeta_Servicio;
    if (Carpeta_Del_Ejecutable() == kCarpeta_Ejecutable_Instalado)
        return kCarpeta_Programa_Instalado;
    return Carpeta_Programa();
}

Configuracion_Programa& Configuracion() {
    static Configuracion_Programa configuracion;
    return configuracion;
}

void Reiniciar_Configuracion() {
    Configuracion() = Configuracion_Programa{};
}

Resultado_Configuracion Cargar_Configuracion() {
    Configuracion_Programa& cfg = Configuracion();
    cfg.Cadena_Conexion_Historial = Armar_Cadena_Historial();
    const Resultado_Local local = Cargar_Configuracion_Local(cfg);
    if (local == Resultado_Local::Terminar)
        return Resultado_Configuracion::Terminar_Programa;
    // Both read the central database just found unreachable: the first says nothing new and the
    // second would ask for the database location, which nobody can give.
    if (local == Resultado_Local::Lista) {
        Verificar_Configuracion_Central(cfg);
        Cargar_Fecha_Apertura_Turno(cfg);
    }
    Cargar_Horarios_Sincronizacion();
    return Resultado_Configuracion::Continuar;
}

}  // namespace facturador
