#include "data/Historial_Sincronizaciones.h"

#include "data/Conexiones.h"
#include "data/Log.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

constexpr const char* kHora_Exitosa_Predeterminada = "08:01";
constexpr Fecha_Hora kPrimera_Fecha_Mostrada{2014, 6, 1, 0, 0, 0};

std::string Como_Texto(const std::string& valor, std::string (*formato)(const Fecha_Hora&)) {
    if (valor.empty())
        return "";
    const auto fecha = Leer_Fecha_Hora(valor);
    return fecha ? formato(*fecha) : valor;
}

// "Hh:Nn" of the Hora of the first row the query gives, or the empty text without rows.
std::string Leer_Hora_Mas_Reciente(const std::string& sql) {
    Conexion conexion;
    conexion.Abrir(Configuracion().Cadena_Conexion_Historial);
    Recordset rs = conexion.Ejecutar(sql);
    std::string hora;
    if (!rs.Fin()) {
        rs.Mover_Primero();
        hora = Hora_Como_Texto(rs.Texto("Hora"));
    }
    rs.Cerrar();
    Cerrar_Conexion(conexion);
    return hora;
}

void Leer_Horas_Historial(Configuracion_Programa& cfg) {
    cfg.Hora_Ultima.clear();
    cfg.Hora_Ultima_Exitosa.clear();
    try {
        cfg.Hora_Ultima =
            Leer_Hora_Mas_Reciente("SELECT * FROM Sincronizaciones ORDER BY ID_Movimiento DESC");
        cfg.Hora_Ultima_Exitosa = Leer_Hora_Mas_Reciente(
            "SELECT * FROM Sincronizaciones WHERE (Exitosa = True) ORDER BY ID_Movimiento DESC");
    } catch (const Error_Plataforma& e) {
        Escribir_Log("No se pudo leer el historial de sincronizaciones. Error: " +
                     std::to_string(e.Numero) + " " + e.Descripcion);
    }
}

}  // namespace

std::string Fecha_Como_Texto(const std::string& valor) {
    return Como_Texto(valor, Formato_Fecha);
}

std::string Hora_Como_Texto(const std::string& valor) {
    return Como_Texto(valor, Formato_Hora);
}

void Cargar_Horarios_Sincronizacion() {
    Configuracion_Programa& cfg = Configuracion();
    Leer_Horas_Historial(cfg);
    Calcular_Horarios(cfg, Ahora());
}

void Calcular_Horarios(Configuracion_Programa& cfg, const Fecha_Hora& ahora) {
    const Fecha_Hora hoy = Solo_Fecha(ahora);
    cfg.Fecha_Ultima = Formato_Fecha(hoy);
    cfg.Fecha_Ultima_Exitosa = Formato_Fecha(hoy);
    if (cfg.Hora_Ultima_Exitosa.empty())
        cfg.Hora_Ultima_Exitosa = kHora_Exitosa_Predeterminada;

    // Today at the last run's minute (midnight without one), plus 10 seconds.
    const Fecha_Hora ultima =
        Leer_Fecha_Hora(cfg.Fecha_Ultima + " " + cfg.Hora_Ultima).value_or(hoy);
    cfg.Proxima_Sincronizacion = Formato_Fecha_Hora(Sumar_Segundos(ultima, 10));

    if (hoy < kPrimera_Fecha_Mostrada)
        cfg.Fecha_Ultima = Formato_Fecha(kPrimera_Fecha_Mostrada);
}

}  // namespace facturador
