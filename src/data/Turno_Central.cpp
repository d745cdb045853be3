#include "data/Turno_Central.h"

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <exception>
#include <random>

#include <fmt/format.h>

#include "data/Conexiones.h"
#include "data/Tablas_Propias.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

// The same definition as sql/01_esquema.sql's.
constexpr std::string_view kTabla_Turno = "Turno_Facturador";

// Room that Titular (255 characters) leaves for the program folder, in bytes: the machine takes
// up to 73, the pid and the token 33.
constexpr size_t kLargo_Carpeta = 140;

const std::string kVence = fmt::format("NOW(6) + INTERVAL {} SECOND", kSegundos_Turno);

std::string Texto(const Conexion& conexion, const std::string& valor) {
    return "'" + conexion.Escapar(valor) + "'";
}

// The lease row of this central database: one worker per database.
std::string Del_Turno(const Conexion& conexion) {
    return " WHERE Nombre = " + Texto(conexion, kBase_Central);
}

int64_t Numero(const std::string& texto) {
    int64_t numero = 0;
    std::from_chars(texto.data(), texto.data() + texto.size(), numero);
    return numero;
}

// The folder's last bytes when it is too long for the row, cut where a character starts.
std::string Carpeta_Abreviada(const std::string& carpeta) {
    if (carpeta.size() <= kLargo_Carpeta)
        return carpeta;
    size_t desde = carpeta.size() - kLargo_Carpeta + 3;
    while (desde < carpeta.size() && (static_cast<unsigned char>(carpeta[desde]) & 0xC0) == 0x80)
        ++desde;
    return "..." + carpeta.substr(desde);
}

// The machine: its host name and, where the system keeps one, the start of its machine id, so that
// two machines given the same name (a cloned template) do not pass for one.
std::string Maquina() {
    char nombre[256] = {};
    std::string maquina = gethostname(nombre, sizeof nombre - 1) == 0 ? nombre : "?";
    maquina = maquina.substr(0, 64);
    try {
        const std::string id = Leer_Archivo("/etc/machine-id");
        if (id.size() >= 8)
            maquina += "/" + id.substr(0, 8);
    } catch (const Error_Plataforma&) {
        // Without one, the host name alone.
    }
    return maquina;
}

// The row as it is; a missing table is the server's error.
std::optional<Lectura_Turno> Leer_Fila(Conexion& conexion) {
    Recordset rs = conexion.Ejecutar(
        "SELECT Titular, Epoca, IFNULL(Vence, ''), IFNULL(TIMESTAMPDIFF(SECOND, NOW(6), Vence), "
        "0) FROM Turno_Facturador" +
        Del_Turno(conexion));
    if (rs.Fin())
        return std::nullopt;
    return Lectura_Turno{rs.Texto(size_t{0}), Numero(rs.Texto(1)), rs.Texto(2),
                         Numero(rs.Texto(3))};
}

}  // namespace

bool Es_Conflicto(long numero) {
    return numero == 1213 || numero == 1205 || numero == kError_Clave_Tomada;
}

bool Es_Sin_Permiso(long numero) {
    // ER_DBACCESS_DENIED_ERROR, ER_TABLEACCESS_DENIED_ERROR, ER_COLUMNACCESS_DENIED_ERROR
    return numero == 1044 || numero == 1142 || numero == 1143;
}

std::optional<Lectura_Turno> Leer_Turno(Conexion& conexion) {
    try {
        return Leer_Fila(conexion);
    } catch (const Error_Plataforma& e) {
        if (e.Numero == kError_Tabla_Inexistente)
            return std::nullopt;
        throw;
    }
}

Turno_Central::Turno_Central(std::string titular, std::string propio)
    : titular_(std::move(titular)), propio_(std::move(propio)) {
    if (const char* traza = std::getenv("FACTURADOR_TRAZA_UNIDADES"))
        traza_ = traza;
}

Turno_Central::Estado Turno_Central::Asegurar() noexcept {
    return Asegurar(Abrir_Conexion_Central);
}

Turno_Central::Estado Turno_Central::Asegurar(const Abrir_Central& abrir) noexcept {
    Conexion conexion;
    try {
        abrir(conexion);
        ajeno_.clear();
        const Estado estado = Renovar(conexion) ? Estado::Tenido : Tomar(conexion);
        Cerrar_Conexion(conexion);
        falla_.clear();
        return estado;
    } catch (const Error_Plataforma& e) {
        Cerrar_Conexion(conexion);
        if (Es_Sin_Permiso(e.Numero)) {
            epoca_.reset();
            falla_ = e.Descripcion;
            return Estado::Sin_Permiso;
        }
        if (Es_Conflicto(e.Numero)) {
            // Another copy wrote the row at the same moment: whether this one still holds the
            // lease is told by the next cycle.
            epoca_.reset();
            return Estado::Ocupado;
        }
        falla_ = e.Descripcion;
    } catch (const std::exception& e) {
        Cerrar_Conexion(conexion);
        falla_ = e.what();
    }
    return Estado::Sin_Servidor;
}

// This copy's row: its name and epoch. Expired or not, nobody took the lease meanwhile, or the
// epoch would have changed.
std::string Turno_Central::Mio(const Conexion& conexion) const {
    return Del_Turno(conexion) + " AND Titular = " + Texto(conexion, titular_) +
           " AND Epoca = " + std::to_string(epoca_.value_or(-1));
}

bool Turno_Central::Renovar(Conexion& conexion) {
    if (!epoca_)
        return false;
    conexion.Ejecutar("UPDATE Turno_Facturador SET Vence = " + kVence + Mio(conexion));
    if (conexion.Filas_Afectadas() == 1)
        return true;
    epoca_.reset();
    return false;
}

// Takes the lease when it is free, expired or left by this folder's copy that is gone. The
// UPDATE asks all of it again of the row it changes, so a renewal that slipped in after the
// look is never overrun; on a cluster, a take-over racing another copy's write is refused at
// COMMIT by certification.
Turno_Central::Estado Turno_Central::Tomar(Conexion& conexion) {
    const auto leer = [&] { return Leer_Fila(conexion); };
    std::optional<Lectura_Turno> visto = Con_Tabla_Propia(conexion, kTabla_Turno, leer);
    if (!visto) {
        conexion.Ejecutar("INSERT IGNORE INTO Turno_Facturador (Nombre) VALUES (" +
                          Texto(conexion, kBase_Central) + ")");
        visto = Lectura_Turno{};
    }
    const bool ajeno = !visto->Titular.empty() && !visto->Titular.starts_with(propio_);
    if (ajeno && visto->Segundos_Restantes > 0) {
        ajeno_ = visto->Titular;
        return Estado::Ocupado;
    }
    const std::string propio = Texto(conexion, propio_);
    const std::string libre =
        "(Titular = '' OR Vence IS NULL OR Vence <= NOW(6) OR LEFT(Titular, "
        "CHAR_LENGTH(" +
        propio + ")) = " + propio + ")";
    conexion.Ejecutar("UPDATE Turno_Facturador SET Epoca = Epoca + 1, Titular = " +
                      Texto(conexion, titular_) + ", Vence = " + kVence + Del_Turno(conexion) +
                      " AND Titular = " + Texto(conexion, visto->Titular) +
                      " AND Epoca = " + std::to_string(visto->Epoca) + " AND " + libre);
    if (conexion.Filas_Afectadas() != 1) {
        // Another copy wrote the row between the look and the update: the holder is who it
        // names now, not who let it run out.
        const std::optional<Lectura_Turno> ahora = Leer_Fila(conexion);
        ajeno_ = ahora ? ahora->Titular : "";
        return Estado::Ocupado;
    }
    epoca_ = visto->Epoca + 1;
    return Estado::Tenido;
}

void Turno_Central::Soltar() noexcept {
    if (!epoca_)
        return;
    Conexion conexion;
    try {
        Abrir_Conexion_Central(conexion);
        conexion.Ejecutar("UPDATE Turno_Facturador SET Titular = '', Vence = NULL" + Mio(conexion));
    } catch (const std::exception&) {
        // Not freed, it expires by itself.
    }
    Cerrar_Conexion(conexion);
    epoca_.reset();
}

void Turno_Central::Comprobar_Turno(Conexion& conexion) {
    conexion.Ejecutar("UPDATE Turno_Facturador SET Unidades = Unidades + 1, Vence = " + kVence +
                      Mio(conexion) + " AND Vence > NOW(6)");
    if (conexion.Filas_Afectadas() != 1) {
        epoca_.reset();
        throw Error_Plataforma(kError_Sin_Turno,
                               "Esta copia del programa ya no tiene el turno de trabajo con la "
                               "base de datos central; su trabajo se deshizo.");
    }
    if (!traza_.empty())
        unidades_anotadas_ =
            Numero(conexion.Ejecutar("SELECT Unidades FROM Turno_Facturador" + Del_Turno(conexion))
                       .Texto(size_t{0}));
}

void Turno_Central::Unidad_Confirmada() const {
    if (traza_.empty())
        return;
    const std::string linea = fmt::format("{} {} {}\n", Epoca(), unidades_anotadas_, titular_);
    const int fd = open(traza_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    // One write: lines of several copies appending to the same file never mix.
    [[maybe_unused]] const ssize_t escritos = write(fd, linea.data(), linea.size());
    close(fd);
}

namespace {

std::optional<Turno_Central>& Turno_de_Esta_Copia() {
    static std::optional<Turno_Central> turno;
    return turno;
}

}  // namespace

Turno_Central& Turno_Programa() {
    if (!Turno_de_Esta_Copia())
        Reiniciar_Turno_Programa();
    return *Turno_de_Esta_Copia();
}

void Reiniciar_Turno_Programa() {
    std::random_device azar;
    const uint64_t ficha = (static_cast<uint64_t>(azar()) << 32) | azar();
    const std::string propio = Maquina() + ":" + Carpeta_Abreviada(Carpeta_Programa()) + " pid ";
    Turno_de_Esta_Copia().emplace(
        propio + std::to_string(getpid()) + fmt::format(" #{:016x}", ficha), propio);
}

void Confirmar_Unidad(Conexion& conexion) {
    Turno_Central& turno = Turno_Programa();
    turno.Comprobar_Turno(conexion);
    conexion.Confirmar_Transaccion();
    turno.Unidad_Confirmada();
}

void En_Unidad_Cercada(Conexion& conexion, const std::function<void()>& trabajo) {
    conexion.Iniciar_Transaccion();
    try {
        trabajo();
        Confirmar_Unidad(conexion);
    } catch (...) {
        try {
            conexion.Deshacer_Transaccion();
        } catch (const std::exception&) {
            // The connection is lost, and the transaction with it.
        }
        throw;
    }
}

}  // namespace facturador
