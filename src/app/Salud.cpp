#include "app/Salud.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <map>

#include "app/Estado_Publicado.h"
#include "app/Solicitudes_En_Espera.h"
#include "data/Conexiones.h"
#include "data/Configuracion.h"
#include "data/Valores_Campo.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Zona_Sucursal.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Instancia_Unica.h"

namespace facturador {

namespace {

using Sucursales_Por_ID = std::map<int32_t, Salud_Sucursal>;

// What the central database says, read on one connection.
struct Lectura_Central {
    std::vector<Solicitud_En_Espera> en_espera;
    std::vector<Datos_Emision> perfiles;
    Ajustes_Zona ajustes;
    std::optional<Lectura_Turno> turno;
};

Salud_Sucursal& Sucursal(Sucursales_Por_ID& sucursales, int32_t id) {
    Salud_Sucursal& sucursal = sucursales[id];
    sucursal.ID = id;
    return sucursal;
}

int32_t Numero(const Recordset& rs, const char* columna) {
    return Entero_Redondeado(Valor_Inicial(rs.Texto(columna))).value_or(0);
}

void Leer_Nombres_Y_Terminadas(Conexion& conexion, Sucursales_Por_ID& sucursales) {
    Recordset rs = conexion.Ejecutar("SELECT ID, Nombre FROM Sucursales");
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        Sucursal(sucursales, Numero(rs, "ID")).Nombre = rs.Texto("Nombre");
    rs = conexion.Ejecutar(
        "SELECT ID_Sucursal, Status, COUNT(*) AS Cantidad FROM Solicitudes_de_Facturas_OL WHERE "
        "(Status = 3) OR (Status = 4) GROUP BY ID_Sucursal, Status");
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        Sucursal(sucursales, Numero(rs, "ID_Sucursal")).Por_Status[Numero(rs, "Status")] +=
            Numero(rs, "Cantidad");
}

Lectura_Central Leer_Central(Sucursales_Por_ID& sucursales) {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    Leer_Nombres_Y_Terminadas(conexion, sucursales);
    Lectura_Central lectura;
    lectura.en_espera = Leer_Solicitudes_En_Espera(conexion);
    Recordset rs = conexion.Ejecutar("SELECT * FROM Configuracion_Facturas_Electronicas");
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        lectura.perfiles.push_back(Leer_Datos_Emision(rs));
    lectura.ajustes = Leer_Ajustes_Zona(conexion);
    lectura.turno = Leer_Turno(conexion);
    Cerrar_Conexion(conexion);
    return lectura;
}

Fecha_Hora Desde_Cuando(const Solicitud_En_Espera& s, const Seguimiento_Solicitudes& seguimiento,
                        const Fecha_Hora& ahora) {
    if (const auto vista = seguimiento.Vistas.find({s.Status, s.ID});
        vista != seguimiento.Vistas.end())
        return vista->second;
    std::optional<Fecha_Hora> desde;
    if (s.Fecha)
        desde = Solo_Fecha(*s.Fecha);
    if (seguimiento.Revision && (!desde || *desde < *seguimiento.Revision))
        desde = seguimiento.Revision;
    return desde.value_or(ahora);
}

void Anotar_Espera(std::optional<Espera_Solicitud>& mas_antigua, const Espera_Solicitud& espera) {
    if (!mas_antigua || espera.Desde < mas_antigua->Desde)
        mas_antigua = espera;
}

void Contar_En_Espera(const std::vector<Solicitud_En_Espera>& en_espera,
                      const Seguimiento_Solicitudes& seguimiento, const Fecha_Hora& ahora,
                      Sucursales_Por_ID& sucursales) {
    for (const Solicitud_En_Espera& s : en_espera) {
        Salud_Sucursal& sucursal = Sucursal(sucursales, s.ID_Sucursal);
        ++sucursal.Por_Status[s.Status];
        sucursal.Sin_RFC += s.Sin_RFC;
        const Fecha_Hora desde = Desde_Cuando(s, seguimiento, ahora);
        const Espera_Solicitud espera{s.ID, desde, std::max(0LL, Segundos_Entre(desde, ahora))};
        Anotar_Espera(s.Status == 1 ? sucursal.Mas_Antigua_1 : sucursal.Mas_Antigua_2, espera);
    }
}

void Revisar_Carpetas(const Datos_Emision& perfil, Salud_Sucursal& sucursal) {
    const std::pair<const char*, const std::string*> carpetas[] = {
        {"cola", &perfil.Ruta_Cola_Facturas},
        {"válidas", &perfil.Ruta_Facturas_Validas},
        {"NO válidas", &perfil.Ruta_Facturas_NO_Validas}};
    for (const auto& [nombre, ruta] : carpetas)
        if (!Existe_Carpeta(*ruta))
            sucursal.Carpetas_Faltantes.push_back(std::string(nombre) + ": " +
                                                  (ruta->empty() ? "(sin carpeta)" : *ruta));
    try {
        if (Existe_Carpeta(perfil.Ruta_Cola_Facturas))
            for (const std::string& nombre : Archivos_en_Carpeta(perfil.Ruta_Cola_Facturas))
                // A hidden name is a file still on its way in, not one waiting to be stamped.
                *sucursal.Archivos_En_Cola += !nombre.starts_with('.');
    } catch (const Error_Plataforma& e) {
        // Whether the service may list it is not for another account to tell.
        if (e.Numero == EACCES)
            sucursal.Archivos_En_Cola.reset();
        else
            sucursal.Carpetas_Faltantes.push_back("cola: " + perfil.Ruta_Cola_Facturas +
                                                  " (ilegible)");
    }
}

struct Lista_Observada {
    const char* tipo;
    std::map<int32_t, Observacion_Solicitud> Observaciones_Recepcion::*lista;
    long Salud_Sucursal::*cuenta;
};

constexpr Lista_Observada kListas_Observadas[] = {
    {"atascada", &Observaciones_Recepcion::Atascadas, &Salud_Sucursal::Atascadas},
    {"discrepancia", &Observaciones_Recepcion::Discrepancias, &Salud_Sucursal::Discrepancias},
    {"no_almacenable", &Observaciones_Recepcion::No_Almacenables,
     &Salud_Sucursal::No_Almacenables}};

// The running program's observations of requests still in status 2; the others have cleared.
void Contar_Observaciones(const Observaciones_Recepcion& observaciones,
                          const std::vector<Solicitud_En_Espera>& en_espera,
                          Sucursales_Por_ID& sucursales, Informe_Salud& informe) {
    std::map<int32_t, int32_t> sucursal_en_status_2;
    for (const Solicitud_En_Espera& s : en_espera)
        if (s.Status == 2)
            sucursal_en_status_2[s.ID] = s.ID_Sucursal;
    for (const Lista_Observada& lista : kListas_Observadas) {
        for (const auto& [id, observacion] : observaciones.*lista.lista) {
            const auto solicitud = sucursal_en_status_2.find(id);
            if (solicitud == sucursal_en_status_2.end())
                continue;
            ++(Sucursal(sucursales, solicitud->second).*lista.cuenta);
            informe.Observaciones.push_back({lista.tipo, observacion});
        }
    }
}

void Sumar(const Salud_Sucursal& s, Salud_Sucursal& total) {
    for (size_t i = 0; i < s.Por_Status.size(); ++i)
        total.Por_Status[i] += s.Por_Status[i];
    total.Sin_RFC += s.Sin_RFC;
    if (s.Mas_Antigua_1)
        Anotar_Espera(total.Mas_Antigua_1, *s.Mas_Antigua_1);
    if (s.Mas_Antigua_2)
        Anotar_Espera(total.Mas_Antigua_2, *s.Mas_Antigua_2);
    total.Atascadas += s.Atascadas;
    total.Discrepancias += s.Discrepancias;
    total.No_Almacenables += s.No_Almacenables;
    if (total.Archivos_En_Cola && s.Archivos_En_Cola)
        *total.Archivos_En_Cola += *s.Archivos_En_Cola;
    else
        total.Archivos_En_Cola.reset();
}

void Advertir_Esperas(Informe_Salud& informe) {
    const auto advertir = [&](const std::optional<Espera_Solicitud>& espera, int status,
                              long long maximo) {
        if (espera && espera->Segundos > maximo)
            informe.Motivos.push_back(fmt::format(
                "La solicitud {} espera en status {} desde hace {} (más de {}).", espera->ID,
                status, Texto_Duracion(espera->Segundos), Texto_Duracion(maximo)));
    };
    advertir(informe.Total.Mas_Antigua_1, 1, kEspera_Maxima_Status_1);
    advertir(informe.Total.Mas_Antigua_2, 2, kEspera_Maxima_Status_2);
    const long esperando = informe.Total.Por_Status[1] + informe.Total.Por_Status[2];
    if (esperando == 0)
        return;
    if (!informe.Ultimo_Ciclo_Exitoso)
        informe.Motivos.push_back(
            "Hay solicitudes en espera y no consta ningún ciclo exitoso del programa.");
    else if (const long long antiguedad =
                 Segundos_Entre(*informe.Ultimo_Ciclo_Exitoso, informe.Ahora);
             antiguedad > kAntiguedad_Maxima_Ciclo)
        informe.Motivos.push_back(
            fmt::format("Hay solicitudes en espera y el último ciclo exitoso fue hace {}.",
                        Texto_Duracion(antiguedad)));
}

void Advertir(Informe_Salud& informe) {
    Advertir_Esperas(informe);
    if (Usa_Contrasena_de_Fabrica())
        informe.Motivos.push_back(kAviso_Contrasena_de_Fabrica);
    const Salud_Sucursal& t = informe.Total;
    if (t.Atascadas > 0)
        informe.Motivos.push_back(
            fmt::format("Solicitudes atascadas en status 2: {}.", t.Atascadas));
    if (t.Discrepancias > 0)
        informe.Motivos.push_back(
            fmt::format("Resultados que no corresponden a su solicitud: {}.", t.Discrepancias));
    if (t.No_Almacenables > 0)
        informe.Motivos.push_back(fmt::format(
            "Comprobantes timbrados que la base central no puede guardar: {}.", t.No_Almacenables));
    for (const Salud_Sucursal& s : informe.Sucursales) {
        for (const std::string& carpeta : s.Carpetas_Faltantes)
            informe.Motivos.push_back(
                fmt::format("Sucursal {} {}: falta la carpeta {}.", s.ID, s.Nombre, carpeta));
        if (s.Perfil_Invalido)
            informe.Motivos.push_back(fmt::format(
                "Sucursal {} {}: sus solicitudes no se envían a timbrar, su perfil de emisión "
                "tiene un error: {}.",
                s.ID, s.Nombre, *s.Perfil_Invalido));
    }
    if (!informe.Motivos.empty())
        informe.Estado = Estado_Salud::Advertencia;
}

Informe_Salud Fallido(Informe_Salud informe, Estado_Salud estado, const std::string& motivo) {
    informe.Estado = estado;
    informe.Motivos = {motivo};
    return informe;
}

// Nothing is invoiced while the program of this folder does not run, or runs without ending its
// cycles (a database that stopped answering, a hung folder): both are critical, and said first.
void Revisar_Programa(const Seguimiento_Solicitudes& publicado, Informe_Salud& informe) {
    informe.Programa_Corriendo =
        Instancia_Corriendo(Archivo_Candado_de_Carpeta(Carpeta_Programa()));
    informe.Ultimo_Ciclo = publicado.Ultimo_Ciclo;
    std::string motivo;
    if (informe.Programa_Corriendo == false)
        motivo = "El programa no corre con la carpeta " + Carpeta_Programa() +
                 " (su candado está libre).";
    else if (informe.Programa_Corriendo && informe.Ultimo_Ciclo)
        if (const long long sin_ciclo = Segundos_Entre(*informe.Ultimo_Ciclo, informe.Ahora);
            sin_ciclo > kSin_Ciclo_Maximo)
            motivo = fmt::format(
                "El programa corre pero no termina un ciclo desde hace {} (más "
                "de {}).",
                Texto_Duracion(sin_ciclo), Texto_Duracion(kSin_Ciclo_Maximo));
    if (motivo.empty())
        return;
    informe.Motivos.insert(informe.Motivos.begin(), motivo);
    informe.Estado = Estado_Salud::Critico;
}

}  // namespace

Informe_Salud Evaluar_Salud() {
    Informe_Salud informe;
    informe.Ahora = Ahora();
    try {
        Configuracion_Programa local;
        Leer_Configuracion_Local(local);
    } catch (const std::exception& e) {
        return Fallido(
            informe, Estado_Salud::Desconocido,
            std::string("No se puede leer la configuración local (local.dll): ") + e.what());
    }
    const Estado_Publicado publicado = Cargar_Estado_Publicado();
    informe.Ultimo_Ciclo_Exitoso = publicado.Seguimiento.Ultimo_Ciclo_Exitoso;
    Sucursales_Por_ID sucursales;
    Lectura_Central central;
    try {
        central = Leer_Central(sucursales);
    } catch (const std::exception& e) {
        informe =
            Fallido(informe, Estado_Salud::Critico,
                    std::string("No se puede consultar la base de datos central: ") + e.what());
        Revisar_Programa(publicado.Seguimiento, informe);
        return informe;
    }
    informe.Turno = central.turno.value_or(Lectura_Turno{});
    Contar_En_Espera(central.en_espera, publicado.Seguimiento, informe.Ahora, sucursales);
    for (const Datos_Emision& perfil : central.perfiles) {
        Salud_Sucursal& sucursal = Sucursal(sucursales, perfil.ID_Sucursal);
        Revisar_Carpetas(perfil, sucursal);
        const Zona_Sucursal zona = Elegir_Zona_Sucursal(perfil, central.ajustes);
        sucursal.Zona_Horaria = zona.Zona;
        sucursal.Huso_Catalogo = Huso_Distinto(zona);
        sucursal.Perfil_Invalido = Motivo_Sucursal_Detenida(perfil, zona);
    }
    Contar_Observaciones(publicado.Observaciones, central.en_espera, sucursales, informe);
    for (auto& [id, sucursal] : sucursales) {
        Sumar(sucursal, informe.Total);
        informe.Sucursales.push_back(std::move(sucursal));
    }
    Advertir(informe);
    Revisar_Programa(publicado.Seguimiento, informe);
    return informe;
}

std::string Texto_Duracion(long long segundos) {
    if (segundos < 60)
        return fmt::format("{} s", segundos);
    if (segundos < 3600)
        return fmt::format("{} min", segundos / 60);
    if (segundos < 86400)
        return fmt::format("{} h {:02} min", segundos / 3600, segundos % 3600 / 60);
    return fmt::format("{} d {} h", segundos / 86400, segundos % 86400 / 3600);
}

}  // namespace facturador
