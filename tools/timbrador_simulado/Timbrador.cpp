#include "Timbrador.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <utility>

#include "Archivo_para_Timbrar.h"
#include "Comprobante_XML.h"
#include "Escritura_Atomica.h"
#include "Factura_PDF.h"
#include "Timbre.h"
#include "Validacion.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace timbrador {

namespace fs = std::filesystem;

namespace {

enum class Clase { Para_Timbrar, Cancelacion, Ajeno };

bool Termina_En(const std::string& nombre, std::string_view sufijo) {
    if (nombre.size() < sufijo.size())
        return false;
    return std::equal(sufijo.begin(), sufijo.end(), nombre.end() - sufijo.size(),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

Clase Clase_De(const std::string& nombre) {
    if (nombre.empty() || nombre.front() == '.')
        return Clase::Ajeno;
    if (nombre.starts_with("Cancelar") && Termina_En(nombre, ".xml"))
        return Clase::Cancelacion;
    if (Termina_En(nombre, ".txt"))
        return Clase::Para_Timbrar;
    return Clase::Ajeno;
}

std::vector<fs::path> Archivos_En_Cola(const std::string& cola) {
    std::vector<fs::path> archivos;
    std::error_code ec;
    // A link or a pipe a neighbour planted in the queue is nobody's file to stamp.
    for (const fs::directory_entry& e : fs::directory_iterator(cola, ec))
        if (e.symlink_status(ec).type() == fs::file_type::regular)
            archivos.push_back(e.path());
    std::sort(archivos.begin(), archivos.end());
    return archivos;
}

// A file written less than this long ago may still be being copied into the queue.
constexpr std::chrono::seconds kRecien_Llegado{1};

bool Debe_Esperar(const fs::path& ruta, std::chrono::seconds demora, Instante ahora) {
    std::error_code ec;
    const auto escrito = fs::last_write_time(ruta, ec);
    return !ec && ahora - Instante_De(escrito) < std::max(demora, kRecien_Llegado);
}

void Anotar(std::ostream& bitacora, Instante ahora, const Carpetas_Sucursal& c,
            const std::string& archivo, const std::string& texto) {
    bitacora << Fecha_ISO(ahora) << "  " << c.nombre << "  " << archivo << ": " << texto << '\n';
}

// What one file to stamp leaves behind: each file with its contents, and a line for the log.
struct Resultado {
    std::vector<std::pair<std::string, std::string>> archivos;
    std::string resumen;
    bool timbrado = false;
    std::string uuid;
};

Resultado Rechazo(const Carpetas_Sucursal& c, const std::string& base, const std::string& nombre,
                  const std::string& motivo, Instante ahora) {
    const std::string texto =
        motivo + "\r\n\r\nArchivo: " + nombre + "\r\nFecha: " + Fecha_ISO(ahora) + "\r\n";
    return {{{facturador::Unir_Ruta(c.no_validas, base + "-error timbrado.txt"),
              facturador::A_Windows_1252(texto)}},
            "rechazada: " + motivo,
            false,
            {}};
}

Resultado Timbrado(const Carpetas_Sucursal& c, const std::string& base,
                   const Archivo_para_Timbrar& archivo, Entrega entrega, Instante ahora) {
    const Timbre t = Nuevo_Timbre(Fecha_ISO(ahora));
    Resultado r{{}, "timbrada, UUID " + t.uuid, true, t.uuid};
    if (entrega != Entrega::Solo_PDF)
        r.archivos.emplace_back(facturador::Unir_Ruta(c.validas, base + ".xml"),
                                Comprobante_XML(archivo, t));
    if (entrega != Entrega::Solo_XML)
        r.archivos.emplace_back(facturador::Unir_Ruta(c.validas, base + ".pdf"),
                                Factura_PDF(archivo, t));
    if (entrega == Entrega::Solo_XML)
        r.resumen += " (sólo el XML)";
    if (entrega == Entrega::Solo_PDF)
        r.resumen += " (sólo el PDF)";
    return r;
}

Resultado Resultado_Para(const Carpetas_Sucursal& c, const std::string& nombre,
                         std::string_view bytes, const Comportamiento& comportamiento,
                         Instante ahora) {
    const std::string base = nombre.substr(0, nombre.size() - 4);  // without ".txt"
    if (comportamiento.falla)
        return Rechazo(c, base, nombre, *comportamiento.falla, ahora);
    const Archivo_para_Timbrar archivo = Archivo_para_Timbrar::Leer(bytes);
    if (const auto motivo = Motivo_Rechazo(archivo))
        return Rechazo(c, base, nombre, *motivo, ahora);
    return Timbrado(c, base, archivo, comportamiento.entrega, ahora);
}

// Writes every file of the result or, when one fails, removes those already written.
void Entregar(const Resultado& r) {
    std::vector<std::string> escritos;
    try {
        for (const auto& [ruta, bytes] : r.archivos) {
            Escribir_Atomico(ruta, bytes);
            escritos.push_back(ruta);
        }
    } catch (...) {
        for (const std::string& ruta : escritos)
            facturador::Borrar_Archivo_Ignorando_Errores(ruta);
        throw;
    }
}

// A file of the queue, never through a link, never from a pipe, and no more than a file to stamp
// or a cancellation request can hold.
std::string Leer_de_Cola(const fs::path& ruta) {
    constexpr size_t kMaximo = 64 * 1024;
    const facturador::Contenido_Archivo leido =
        facturador::Leer_Archivo_Regular(ruta.string(), kMaximo);
    if (!leido.Completo)
        throw facturador::Error_Plataforma(EFBIG, "el archivo pasa de 64 KiB");
    return leido.Bytes;
}

// Takes the file out of the queue before its result appears, so that it is never stamped twice.
void Sacar_De_Cola(const fs::path& ruta) {
    if (!fs::remove(ruta))
        throw facturador::Error_Plataforma(ENOENT, "el archivo ya no está en la cola");
}

// The hidden name a file to stamp has while it is being stamped. A rename needs no room on the
// disk, so a file whose result cannot be written (a full disk) always goes back to the queue.
fs::path Nombre_Tomado(const fs::path& ruta) {
    return ruta.parent_path() / ("." + ruta.filename().string() + ".tomado");
}

// A file left taken by a pass that never ended: gone when its result is there, back in the queue
// otherwise.
void Devolver_Tomados(const Carpetas_Sucursal& c) {
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(c.cola, ec)) {
        const std::optional<std::string> tomado = Nombre_de_Tomado(e.path().filename().string());
        if (!tomado || !Termina_En(*tomado, ".txt"))
            continue;
        const std::string& nombre = *tomado;
        const std::string base = nombre.substr(0, nombre.size() - 4);
        const bool con_resultado =
            facturador::Existe_Archivo(facturador::Unir_Ruta(c.validas, base + ".xml")) ||
            facturador::Existe_Archivo(
                facturador::Unir_Ruta(c.no_validas, base + "-error timbrado.txt"));
        std::error_code ec_archivo;
        if (con_resultado)
            fs::remove(e.path(), ec_archivo);
        else
            fs::rename(e.path(), e.path().parent_path() / nombre, ec_archivo);
    }
}

// One line per file taken, written and flushed at once, so that a record survives whatever
// happens next: outcome, branch, series, folio, UUID (empty when rejected) and the file's lines.
void Registrar(std::ostream* registro, const Carpetas_Sucursal& c, std::string_view bytes,
               const Resultado& r) {
    if (!registro)
        return;
    const Archivo_para_Timbrar archivo = Archivo_para_Timbrar::Leer(bytes);
    size_t lineas = 0;
    for (size_t i = bytes.find("\r\n"); i != std::string_view::npos; i = bytes.find("\r\n", i + 2))
        ++lineas;
    *registro << (r.timbrado ? "timbrada" : "rechazada") << '\t' << c.nombre << '\t'
              << archivo.Valor("Comprobante", "Serie") << '\t'
              << archivo.Valor("Comprobante", "Folio") << '\t' << r.uuid << '\t' << lineas
              << std::endl;
}

void Timbrar_Archivo(const fs::path& ruta, const Carpetas_Sucursal& c,
                     const Comportamiento& comportamiento, Instante ahora, std::ostream& bitacora,
                     Resumen_Pasada& resumen, std::ostream* registro) {
    const std::string nombre = ruta.filename().string();
    const std::string bytes = Leer_de_Cola(ruta);
    const Resultado r = Resultado_Para(c, nombre, bytes, comportamiento, ahora);
    const fs::path tomado = Nombre_Tomado(ruta);
    facturador::Renombrar_Archivo(ruta.string(), tomado.string());
    try {
        Entregar(r);
    } catch (const std::exception&) {
        std::error_code ec;
        fs::rename(tomado, ruta, ec);
        if (ec)
            Anotar(bitacora, ahora, c, nombre,
                   "no se pudo devolver a la cola: " + ec.message() + "; queda como " +
                       tomado.filename().string());
        throw;
    }
    facturador::Borrar_Archivo_Ignorando_Errores(tomado.string());
    Registrar(registro, c, bytes, r);
    ++(r.timbrado ? resumen.timbrados : resumen.rechazados);
    Anotar(bitacora, ahora, c, nombre, r.resumen);
}

void Atender_Cancelacion(const fs::path& ruta, const Carpetas_Sucursal& c, Instante ahora,
                         std::ostream& bitacora, Resumen_Pasada& resumen) {
    const std::string bytes = Leer_de_Cola(ruta);
    Sacar_De_Cola(ruta);
    const std::string linea = facturador::Desde_Windows_1252(bytes.substr(0, bytes.find('\r')));
    ++resumen.cancelaciones;
    Anotar(bitacora, ahora, c, ruta.filename().string(),
           "solicitud de cancelación recibida (" + linea + "); no se deja respuesta");
}

}  // namespace

Resumen_Pasada& Resumen_Pasada::operator+=(const Resumen_Pasada& otro) {
    timbrados += otro.timbrados;
    rechazados += otro.rechazados;
    cancelaciones += otro.cancelaciones;
    en_espera += otro.en_espera;
    fallas += otro.fallas;
    return *this;
}

Resumen_Pasada Atender_Cola(const Carpetas_Sucursal& carpetas, const Comportamiento& comportamiento,
                            Instante ahora, std::ostream& bitacora, std::ostream* registro) {
    Resumen_Pasada resumen;
    Devolver_Tomados(carpetas);
    for (const fs::path& ruta : Archivos_En_Cola(carpetas.cola)) {
        const Clase clase = Clase_De(ruta.filename().string());
        if (clase == Clase::Ajeno)
            continue;
        if (Debe_Esperar(ruta, comportamiento.demora, ahora)) {
            ++resumen.en_espera;
            continue;
        }
        try {
            if (clase == Clase::Cancelacion)
                Atender_Cancelacion(ruta, carpetas, ahora, bitacora, resumen);
            else
                Timbrar_Archivo(ruta, carpetas, comportamiento, ahora, bitacora, resumen, registro);
        } catch (const std::exception& e) {
            ++resumen.fallas;
            Anotar(bitacora, ahora, carpetas, ruta.filename().string(),
                   std::string("no se atendió: ") + e.what());
        }
    }
    return resumen;
}

Resumen_Pasada Atender_Colas(const std::vector<Carpetas_Sucursal>& sucursales,
                             const Comportamiento& comportamiento, Instante ahora,
                             std::ostream& bitacora, std::ostream* registro) {
    Resumen_Pasada total;
    for (const Carpetas_Sucursal& c : sucursales)
        total += Atender_Cola(c, comportamiento, ahora, bitacora, registro);
    return total;
}

std::optional<std::string> Nombre_de_Tomado(std::string_view oculto) {
    constexpr std::string_view kFin = ".tomado";
    if (oculto.size() <= 1 + kFin.size() || !oculto.starts_with('.') || !oculto.ends_with(kFin))
        return std::nullopt;
    return std::string(oculto.substr(1, oculto.size() - 1 - kFin.size()));
}

}  // namespace timbrador
