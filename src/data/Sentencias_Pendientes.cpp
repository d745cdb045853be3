#include "data/Sentencias_Pendientes.h"

#include <algorithm>
#include <exception>
#include <map>
#include <optional>
#include <utility>

#include "data/Conexiones.h"
#include "data/Log.h"
#include "data/Registro_Fallas.h"
#include "data/Turno_Central.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

using Indices = std::vector<size_t>;

// The queue of the running cycle, in the order the statements were added.
struct Cola_Sentencias {
    std::vector<std::string> sentencias_pendientes;
    // For each statement, at the same index: the request it belongs to (0 for none) and the
    // daily-log line that tells it was done, written once it is committed.
    struct Origen_Sentencia {
        int32_t solicitud = 0;
        std::string linea_log;
    };
    std::vector<Origen_Sentencia> origenes_sentencias;
    // What to do, by request, when the statements of the request fail on their own.
    std::map<int32_t, std::function<void(const std::string& falla)>> al_fallar_solicitud;
};

Cola_Sentencias& Cola() {
    static Cola_Sentencias cola;
    return cola;
}

struct Falla_Lote {
    std::string descripcion;
    std::string sentencia;  // the last one started, as the log names it
    // Whether a statement failed on its own: not the connection, the server or the commit.
    bool de_sentencia = false;
    long numero = 0;  // the platform's number, 0 for any other failure

    bool Conflicto() const { return Es_Conflicto(numero); }
    bool Sin_Turno() const { return numero == kError_Sin_Turno; }
    // Written to the daily log, as a failure or as the conflict it is; a batch that found this copy
    // without the lease is not (the lease's change is told where it is renewed).
    void Registrar() const {
        if (Conflicto())
            Fallas_Programa().Registrar_Conflicto(descripcion, sentencia);
        else if (!Sin_Turno())
            Fallas_Programa().Registrar(descripcion, sentencia);
    }
};

// Failures that say nothing about the statement that met them: the connection or the server
// went away, or the statement lost a race for a lock.
bool Es_Pasajera(long numero) {
    constexpr long kPasajeras[] = {1040, 1053, 1152, 1153, 1158, 1159, 1160,
                                   1161, 1180, 1181, 1205, 1213, 1927};
    if (numero < 1000 || (numero >= 2000 && numero < 3000))
        return true;
    return std::find(std::begin(kPasajeras), std::end(kPasajeras), numero) != std::end(kPasajeras);
}

void Deshacer_Ignorando_Errores(Conexion& conexion) noexcept {
    if (!conexion.Abierta())
        return;
    try {
        conexion.Deshacer_Transaccion();
    } catch (const std::exception&) {
        // The connection is lost; the server drops the transaction with it.
    }
}

// Runs the statements at `indices` of the queue in one transaction on a connection of its own,
// rolled back and closed before it returns on a failure: the caller writes to the log, which may
// wait on a message box, and the batch's row locks must not be held meanwhile. Nothing when they
// were committed; `sin_conexion` when the connection did not open and nothing was done.
std::optional<Falla_Lote> Ejecutar_Lote(const Indices& indices, bool& sin_conexion) {
    const auto& textos = Cola().sentencias_pendientes;
    Falla_Lote falla;
    bool ejecutando = false;
    Conexion conexion;
    try {
        Abrir_Conexion_Central(conexion);
        sin_conexion = !conexion.Abierta();
        if (sin_conexion)
            return std::nullopt;
        conexion.Iniciar_Transaccion();
        for (const size_t i : indices) {
            falla.sentencia = textos[i];
            ejecutando = !textos[i].empty();
            if (ejecutando)
                conexion.Ejecutar(textos[i]);
            ejecutando = false;
        }
        Confirmar_Unidad(conexion);
        Cerrar_Conexion(conexion);
        return std::nullopt;
    } catch (const std::exception& e) {
        const auto* plataforma = dynamic_cast<const Error_Plataforma*>(&e);
        falla.descripcion = e.what();
        falla.numero = plataforma ? plataforma->Numero : 0;
        falla.de_sentencia = ejecutando && plataforma && !Es_Pasajera(plataforma->Numero);
    }
    Deshacer_Ignorando_Errores(conexion);
    Cerrar_Conexion(conexion);
    return falla;
}

// The queue's indices by request, in the order of each request's first statement; the statements
// of no request are one more group, where their first one stands.
std::vector<std::pair<int32_t, Indices>> Grupos_por_Solicitud() {
    const auto& origenes = Cola().origenes_sentencias;
    std::vector<std::pair<int32_t, Indices>> grupos;
    for (size_t i = 0; i < origenes.size(); ++i) {
        const int32_t solicitud = origenes[i].solicitud;
        auto grupo = std::find_if(grupos.begin(), grupos.end(),
                                  [&](const auto& g) { return g.first == solicitud; });
        if (grupo == grupos.end())
            grupo = grupos.insert(grupos.end(), {solicitud, {}});
        grupo->second.push_back(i);
    }
    return grupos;
}

void Escribir_Lineas_Confirmadas(const std::vector<bool>& confirmadas) {
    const auto& origenes = Cola().origenes_sentencias;
    for (size_t i = 0; i < origenes.size(); ++i)
        if (confirmadas[i] && !origenes[i].linea_log.empty())
            Escribir_Log(origenes[i].linea_log);
}

// The safety net after a failed batch: each request on its own. Stops at a failure of the
// connection or the server, which the next cycle meets again with the whole queue, and when this
// copy has lost the lease; a request whose statements meet a conflict waits for the next cycle.
void Ejecutar_por_Solicitud() {
    auto& estado = Cola();
    std::vector<bool> confirmadas(estado.sentencias_pendientes.size(), false);
    std::vector<std::pair<int32_t, std::string>> fallidas;
    for (const auto& [solicitud, indices] : Grupos_por_Solicitud()) {
        bool sin_conexion = false;
        const auto falla = Ejecutar_Lote(indices, sin_conexion);
        if (sin_conexion)
            break;
        if (!falla) {
            for (const size_t i : indices)
                confirmadas[i] = true;
            continue;
        }
        falla->Registrar();
        if (falla->Conflicto())
            continue;
        if (!falla->de_sentencia)
            break;
        fallidas.emplace_back(solicitud, falla->descripcion + "  -  " + falla->sentencia);
    }
    Escribir_Lineas_Confirmadas(confirmadas);
    for (const auto& [solicitud, falla] : fallidas)
        if (const auto accion = estado.al_fallar_solicitud.find(solicitud);
            accion != estado.al_fallar_solicitud.end() && accion->second)
            accion->second(falla);
}

}  // namespace

void Reiniciar_Sentencias_Pendientes() {
    auto& estado = Cola();
    estado.sentencias_pendientes.clear();
    estado.origenes_sentencias.clear();
    estado.al_fallar_solicitud.clear();
}

void Agregar_Sentencia_Pendiente(const std::string& sentencia) {
    Agregar_Sentencia_de_Solicitud(0, sentencia);
}

void Agregar_Sentencia_de_Solicitud(int32_t id_solicitud, const std::string& sentencia,
                                    const std::string& linea_log) {
    auto& estado = Cola();
    estado.sentencias_pendientes.push_back(sentencia);
    estado.origenes_sentencias.push_back({id_solicitud, linea_log});
}

void Al_Fallar_Solicitud(int32_t id_solicitud,
                         std::function<void(const std::string& falla)> accion) {
    Cola().al_fallar_solicitud[id_solicitud] = std::move(accion);
}

const std::vector<std::string>& Sentencias_Pendientes() {
    return Cola().sentencias_pendientes;
}

void Ejecutar_Sentencias_Pendientes() {
    auto& estado = Cola();
    if (estado.sentencias_pendientes.empty())
        return;
    Indices todas(estado.sentencias_pendientes.size());
    for (size_t i = 0; i < todas.size(); ++i)
        todas[i] = i;
    bool sin_conexion = false;
    const auto falla = Ejecutar_Lote(todas, sin_conexion);
    if (sin_conexion)
        return;
    if (!falla) {
        Escribir_Lineas_Confirmadas(std::vector<bool>(todas.size(), true));
        return;
    }
    falla->Registrar();
    if (falla->de_sentencia || falla->Conflicto())
        Ejecutar_por_Solicitud();
}

}  // namespace facturador
