#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/Turno_Central.h"
#include "intake/Observaciones_Recepcion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// The monitoring plugins' convention, which is also the exit status of --estado.
enum class Estado_Salud { Bien = 0, Advertencia = 1, Critico = 2, Desconocido = 3 };

// Waiting longer than these in status 1 (5 minutes) or 2 (30 minutes) is a warning; so is the
// last successful cycle being older than 5 minutes while requests wait.
inline constexpr long long kEspera_Maxima_Status_1 = 5 * 60;
inline constexpr long long kEspera_Maxima_Status_2 = 30 * 60;
inline constexpr long long kAntiguedad_Maxima_Ciclo = 5 * 60;
// A running program that has not ended a cycle for this long is stuck: critical.
inline constexpr long long kSin_Ciclo_Maximo = 2 * 60;

// The request that has waited longest in one status.
struct Espera_Solicitud {
    int32_t ID = 0;
    Fecha_Hora Desde;
    long long Segundos = 0;
};

// The figures of one branch, or of all of them.
struct Salud_Sucursal {
    int32_t ID = 0;
    std::string Nombre;
    std::array<long, 5> Por_Status{};  // [1] to [4]: requests in each status
    long Sin_RFC = 0;                  // in status 1, never taken for want of an RFC
    std::optional<Espera_Solicitud> Mas_Antigua_1;
    std::optional<Espera_Solicitud> Mas_Antigua_2;
    long Atascadas = 0;
    long Discrepancias = 0;
    long No_Almacenables = 0;
    // Files to stamp the stamping program has not taken yet; unknown when the account running the
    // report may not list the queue folder (monitoring is not of the branch folders' group).
    std::optional<long> Archivos_En_Cola = 0;
    // The profile's folders that are not there: "cola: /ruta", "validas: (sin carpeta)".
    std::vector<std::string> Carpetas_Faltantes;
    std::string Zona_Horaria;  // the legal zone of its invoices
    // The reckoning of its place's row in c_CodigoPostal, where it differs from the legal one.
    std::string Huso_Catalogo;
    // Why the tax authority would refuse its profile, or why its zone set by hand cannot be used,
    // which keeps its requests from stamping.
    std::optional<std::string> Perfil_Invalido;
};

// One observation of the running program's result intake, with its list's name.
struct Observacion_Informada {
    std::string Tipo;  // "atascada", "discrepancia" or "no_almacenable"
    Observacion_Solicitud Observacion;
};

struct Informe_Salud {
    Estado_Salud Estado = Estado_Salud::Bien;
    std::vector<std::string> Motivos;  // why it is not healthy, one sentence each
    Fecha_Hora Ahora;
    std::optional<Fecha_Hora> Ultimo_Ciclo_Exitoso;
    // The program of this program folder: whether it runs (its lock file is held; nothing when
    // that cannot be told), and when it last ended a cycle, successful or not, or started.
    std::optional<bool> Programa_Corriendo;
    std::optional<Fecha_Hora> Ultimo_Ciclo;
    // Who works with the central database, as its lease row says (no row: free); nothing when the
    // central database could not be read.
    std::optional<Lectura_Turno> Turno;
    std::vector<Salud_Sucursal> Sucursales;  // by ascending ID
    Salud_Sucursal Total;
    std::vector<Observacion_Informada> Observaciones;
};

// The health report, from the local configuration, the central database, the branches' folders
// and the state file the running program publishes (Estado_Publicado.h). Works whether the
// program runs or not, and changes nothing. A program that does not run in this program folder,
// or runs without ending a cycle for two minutes, is critical.
//
// Since when a request waits in its status: when the running program first saw it there; for one
// it never saw, the later of the request's date at 00:00 and the program's last look at the
// requests (it got there after that look); with neither, now.
Informe_Salud Evaluar_Salud();

// A length of time as a person reads it: "40 s", "6 min", "1 h 05 min", "2 d 3 h".
std::string Texto_Duracion(long long segundos);

}  // namespace facturador
