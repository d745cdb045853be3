#include "Invariantes.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

#include "Timbrador.h"
#include "apoyo/Bd_Central.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {

namespace fs = std::filesystem;

const std::array<const char*, kCuantas_Violaciones> kNombres_Violacion = {
    "folio_repetido",   "contador",      "sin_archivo",    "archivo_huerfano", "timbrado_doble",
    "lineas_sobrantes", "bloqueado",     "no_completada",  "rechazada",        "dos_trabajadores",
    "sin_reanudar",     "archivo_ajeno", "indice_desigual"};

namespace {

// The file to stamp has 77 lines, each ended by CR LF.
constexpr long kLineas_Archivo = 77;

std::string Numero(int n) {
    return std::to_string(n);
}

// A regular file at the path itself: a link or a pipe a neighbour planted is not one.
bool Es_Regular(const std::string& ruta) {
    const auto entrada = Examinar_Entrada(ruta);
    return entrada && entrada->Regular;
}

bool Tiene_Resultado(const std::string& archivo, const Carpetas_Sucursal& c) {
    const Rutas_Resultado r = Rutas_de_Resultado(archivo, {c.validas, c.no_validas});
    return (Es_Regular(r.XML) && Es_Regular(r.PDF)) || Es_Regular(r.Error);
}

// The regular files of the folder (a neighbour's links and pipes are nobody's files); none when it
// cannot be read.
std::vector<std::string> Archivos_en_Carpeta_O_Nada(const std::string& carpeta) {
    try {
        return Archivos_en_Carpeta(carpeta);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

void Invariantes::Anotar(Conteo& conteo, Violacion violacion, const std::string& descripcion) {
    if (!vistas_.insert(descripcion).second)
        return;
    ++conteo[violacion];
    nuevas.push_back(std::string(kNombres_Violacion[violacion]) + ": " + descripcion);
}

const Sucursal_Fallas* Invariantes::Sucursal(int id) const {
    for (const Sucursal_Fallas& s : mundo_.Sucursales())
        if (s.id == id)
            return &s;
    return nullptr;
}

Conteo Invariantes::Revisar() {
    Conteo conteo{};
    Revisar_Folios(conteo);
    Revisar_Colas(conteo);
    Revisar_Registro(conteo);
    Revisar_Traza(conteo);
    Revisar_Indice(conteo);
    if (ajenos_cambiados)
        for (const std::string& ruta : ajenos_cambiados())
            Anotar(conteo, kArchivo_Ajeno, ruta);
    return conteo;
}

// Each branch issues under one series, and the stamped XML writes its series back into the invoice
// row as the XML spells it ("D&apos;1" for D'1), so folios are compared per branch, not per
// series text.
void Invariantes::Revisar_Folios(Conteo& conteo) {
    Recordset rs = Consultar_Central(
        "SELECT ID_Sucursal, MIN(serie), folio, COUNT(*) FROM Facturas_Electronicas GROUP BY "
        "ID_Sucursal, folio HAVING COUNT(*) > 1");
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        Anotar(conteo, kFolio_Repetido,
               "sucursal " + rs.Texto(size_t{0}) + ", " + rs.Texto(1) + " " + rs.Texto(2) + " en " +
                   rs.Texto(3) + " facturas");
    for (const Sucursal_Fallas& s : mundo_.Sucursales()) {
        const std::string id = Numero(s.id);
        const std::string contador = Valor_Central(
            "SELECT Folio_Inicial_Facturas FROM Configuracion_Facturas_Electronicas WHERE "
            "ID_Sucursal = " +
            id);
        const std::string maximo =
            Valor_Central("SELECT MAX(folio) FROM Facturas_Electronicas WHERE ID_Sucursal = " + id);
        const std::string esperado =
            maximo.empty() ? Numero(s.folio_inicial) : std::to_string(std::stoll(maximo) + 1);
        if (contador != esperado)
            Anotar(conteo, kContador,
                   "sucursal " + id + " en " + contador + ", su folio más alto " + maximo);
    }
}

void Invariantes::Revisar_Colas(Conteo& conteo) {
    std::set<std::pair<int, std::string>> esperados;  // branch and published name
    Recordset rs = Consultar_Central(
        "SELECT ID, ID_Sucursal, Archivo FROM Solicitudes_de_Facturas_OL WHERE Status = 2");
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente()) {
        const int id = std::stoi(rs.Texto(size_t{0}));
        const Sucursal_Fallas* s = Sucursal(std::stoi("0" + rs.Texto(1)));
        const std::string nombre = rs.Texto(2) + ".txt";
        if (s)
            esperados.emplace(s->id, nombre);
        const bool tiene = s && (Es_Regular(Unir_Ruta(s->carpetas.cola, nombre)) ||
                                 Hay_Temporal_en_Cola(s->carpetas.cola, nombre, id) ||
                                 Tiene_Resultado(rs.Texto(2), s->carpetas));
        if (!tiene)
            Anotar(conteo, kSin_Archivo, "solicitud " + Numero(id) + " (" + nombre + ")");
    }
    for (const Sucursal_Fallas& s : mundo_.Sucursales()) {
        for (const std::string& nombre : Archivos_en_Carpeta_O_Nada(s.carpetas.cola)) {
            if (Leer_Nombre_Temporal(nombre))
                continue;
            // A file the stamping program took and whose result it wrote, left under its hidden
            // name when the queue folder went away beneath it: the stamping program drops it on its
            // next pass, as it does after a crash. Without a result it goes back to the queue, so
            // it counts as the file it was.
            const std::optional<std::string> tomado = timbrador::Nombre_de_Tomado(nombre);
            if (tomado && tomado->ends_with(".txt") &&
                Tiene_Resultado(tomado->substr(0, tomado->size() - 4), s.carpetas))
                continue;
            if (!esperados.contains({s.id, tomado.value_or(nombre)}))
                Anotar(conteo, kArchivo_Huerfano, "sucursal " + Numero(s.id) + ": " + nombre);
        }
    }
}

// New lines of the stamping record: "timbrada|rechazada, branch, series, folio, UUID, lines".
void Invariantes::Revisar_Registro(Conteo& conteo) {
    const std::string registro = Leer_Archivo(mundo_.Registro_Timbrados());
    const size_t fin = registro.rfind('\n');
    if (fin == std::string::npos || fin + 1 <= leido_)
        return;
    std::istringstream lineas(registro.substr(leido_, fin + 1 - leido_));
    leido_ = fin + 1;
    for (std::string linea; std::getline(lineas, linea);) {
        std::vector<std::string> campos;
        std::istringstream partes(linea);
        for (std::string campo; std::getline(partes, campo, '\t');)
            campos.push_back(campo);
        campos.resize(6);
        const std::string folio = campos[1] + ", " + campos[2] + " " + campos[3];
        if (campos[0] == "timbrada" && !timbradas_.insert(folio).second)
            Anotar(conteo, kTimbrado_Doble, folio + " otra vez, UUID " + campos[4]);
        if (campos[0] == "rechazada")
            Anotar(conteo, kRechazada, folio);
        if (campos[5] != std::to_string(kLineas_Archivo))
            Anotar(conteo, kLineas_Agregadas, folio + " con " + campos[5] + " líneas");
    }
}

// Every committed unit counted itself on the lease row and appended "<Epoca> <Unidades> <Titular>".
// One worker at a time means: each count belongs to one unit, each epoch to one copy, and epochs
// never go back as the count grows (a unit of an older epoch committed after a newer one began
// would be work of a copy that had lost the lease).
void Invariantes::Revisar_Traza(Conteo& conteo) {
    std::map<long long, std::pair<long long, std::string>> unidades;
    std::map<long long, std::string> titulares;
    std::istringstream traza(Leer_Archivo(mundo_.Traza_Unidades()));
    for (std::string linea; std::getline(traza, linea);) {
        std::istringstream partes(linea);
        long long epoca = 0, unidad = 0;
        std::string titular;
        if (!(partes >> epoca >> unidad) || !std::getline(partes >> std::ws, titular))
            continue;
        if (!unidades.emplace(unidad, std::pair{epoca, titular}).second)
            Anotar(conteo, kDos_Trabajadores, "la unidad " + std::to_string(unidad) + " dos veces");
        if (const auto [t, nueva] = titulares.emplace(epoca, titular);
            !nueva && t->second != titular)
            Anotar(conteo, kDos_Trabajadores,
                   "la época " + std::to_string(epoca) + " de " + t->second + " y de " + titular);
    }
    long long epoca_previa = 0;
    for (const auto& [unidad, de] : unidades) {
        if (de.first < epoca_previa)
            Anotar(conteo, kDos_Trabajadores,
                   "la unidad " + std::to_string(unidad) + " de la época " +
                       std::to_string(de.first) + " tras la época " + std::to_string(epoca_previa));
        epoca_previa = std::max(epoca_previa, de.first);
    }
}

// The triggers change the search's copy in the transaction that changes the request, so no kill of
// the program or the server between them leaves the two apart. A request still pending may not
// be in the copy yet (the console's search brings it).
void Invariantes::Revisar_Indice(Conteo& conteo) {
    std::string iguales = "TRUE";
    for (const char* columna : {"Nombre", "ID_Sucursal", "RFC", "Serie", "Folio", "Nro_Ticket",
                                "Total", "Fecha", "Status", "Resultado"})
        iguales += std::string(" AND c.") + columna + " <=> s." + columna;
    Recordset rs = Consultar_Central(
        "SELECT s.ID FROM Solicitudes_de_Facturas_OL s LEFT JOIN Indice_Solicitudes c ON c.ID = "
        "s.ID WHERE IF(c.ID IS NULL, s.Status <> 1, NOT (" +
        iguales + "))");
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        Anotar(conteo, kIndice_Desigual, "solicitud " + rs.Texto(size_t{0}));
}

// Requests whose stamped values the central database cannot hold (a hostile 300-character name
// grows past its column once the XML escapes it): they rightly stay in 2, told in the daily log.
std::set<int> Invariantes::No_Almacenables() const {
    std::set<int> ids;
    const std::string marca = "no cabe en la base de datos central";
    for (size_t copia = 0; copia < mundo_.Copias(); ++copia)
        for (const auto& archivo : fs::directory_iterator(mundo_.Carpeta_Programa(copia))) {
            if (!archivo.path().filename().string().starts_with("log_"))
                continue;
            std::istringstream log(Leer_Archivo(archivo.path().string()));
            for (std::string linea; std::getline(log, linea);)
                if (const size_t i = linea.find("Solicitud ID: ");
                    i != std::string::npos && linea.find(marca) != std::string::npos)
                    ids.insert(std::atoi(linea.c_str() + i + 14));
        }
    return ids;
}

Conteo Invariantes::Revisar_Final(const std::vector<int>& validas) {
    Conteo conteo = Revisar();
    const std::set<int> no_almacenables = No_Almacenables();
    for (const int id : validas) {
        if (no_almacenables.contains(id))
            continue;
        Recordset rs = Consultar_Central(
            "SELECT Status, ID_Factura, Archivo, ID_Sucursal FROM Solicitudes_de_Facturas_OL "
            "WHERE ID = " +
            Numero(id));
        const std::string descripcion = "solicitud " + Numero(id);
        if (rs.Fin() || rs.Texto(size_t{0}) != "3") {
            Anotar(conteo, kNo_Completada,
                   descripcion + " en status " + (rs.Fin() ? "?" : rs.Texto(size_t{0})));
            continue;
        }
        const Sucursal_Fallas* s = Sucursal(std::stoi(rs.Texto(3)));
        const Rutas_Resultado r = Rutas_de_Resultado(rs.Texto(2), {s->carpetas.validas, ""});
        for (const auto& [tipo, ruta] : {std::pair{"XML", r.XML}, std::pair{"PDF", r.PDF}}) {
            const std::string guardado = Valor_Central(
                "SELECT Documento FROM Comprobantes_Fiscales WHERE ID_Factura = " + rs.Texto(1) +
                " AND Descripcion = '" + tipo + "'");
            if (!Existe_Archivo(ruta) || guardado != Leer_Archivo(ruta))
                Anotar(conteo, kNo_Completada, descripcion + ": su " + tipo + " no es el archivo");
        }
    }
    return conteo;
}

}  // namespace facturador::pruebas
