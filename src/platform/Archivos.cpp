#include "platform/Archivos.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/Error_Plataforma.h"

namespace facturador {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fallar_Con_Numero(int numero, const std::string& ruta) {
    throw Error_Plataforma(numero, std::string(std::strerror(numero)) + ": " + ruta);
}

[[noreturn]] void Fallar_Con_Errno(const std::string& ruta) {
    Fallar_Con_Numero(errno, ruta);
}

[[noreturn]] void Fallar_Con(const std::error_code& ec, const std::string& ruta) {
    throw Error_Plataforma(ec.value(), ec.message() + ": " + ruta);
}

[[noreturn]] void Fallar_No_Regular(const std::string& ruta) {
    throw Error_Plataforma(kError_No_Regular,
                           "no es un archivo regular (es un enlace, una tubería, una carpeta o un "
                           "dispositivo): " +
                               ruta);
}

// A descriptor that is closed when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int fd() const { return fd_; }
    // Hands the descriptor over to the caller, who closes it.
    int Soltar() { return std::exchange(fd_, -1); }
    // Closes it now; a write error the file system reports late shows here.
    void Cerrar(const std::string& ruta) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            Fallar_Con_Errno(ruta);
    }

  private:
    int fd_;
};

Entrada_Archivo Entrada_de(const struct stat& datos) {
    Entrada_Archivo entrada;
    entrada.Regular = S_ISREG(datos.st_mode);
    entrada.Tamano = static_cast<uintmax_t>(datos.st_size);
    entrada.Inodo = datos.st_ino;
    entrada.Modificado_ns = datos.st_mtim.tv_sec * 1000000000LL + datos.st_mtim.tv_nsec;
    entrada.Dueno = datos.st_uid;
    entrada.Modo = datos.st_mode & 07777;
    return entrada;
}

void Escribir_Todo(int fd, std::string_view bytes, const std::string& ruta) {
    while (!bytes.empty()) {
        const ssize_t escritos = ::write(fd, bytes.data(), bytes.size());
        if (escritos < 0 && errno == EINTR)
            continue;
        if (escritos < 0)
            Fallar_Con_Errno(ruta);
        bytes.remove_prefix(static_cast<size_t>(escritos));
    }
}

}  // namespace

std::string Unir_Ruta(std::string_view carpeta, std::string_view nombre) {
    std::string ruta(carpeta);
    ruta += fs::path::preferred_separator;
    ruta += nombre;
    return ruta;
}

bool Queda_En_Su_Carpeta(std::string_view nombre) {
    const auto control = [](unsigned char c) { return c < 0x20 || c == 0x7F; };
    return nombre.find('/') == std::string_view::npos &&
           nombre.find("..") == std::string_view::npos &&
           std::none_of(nombre.begin(), nombre.end(), control);
}

bool Sube_de_Carpeta(std::string_view ruta) {
    for (size_t inicio = 0; inicio <= ruta.size();) {
        const size_t fin = std::min(ruta.find('/', inicio), ruta.size());
        if (ruta.substr(inicio, fin - inicio) == "..")
            return true;
        inicio = fin + 1;
    }
    return false;
}

bool Existe_Archivo(const std::string& ruta) {
    std::error_code ec;
    return fs::is_regular_file(ruta, ec);
}

int Error_de_Lectura(const std::string& ruta) {
    return ::access(ruta.c_str(), R_OK) == 0 ? 0 : errno;
}

std::optional<Entrada_Archivo> Examinar_Entrada(const std::string& ruta) {
    struct stat datos {};
    if (::lstat(ruta.c_str(), &datos) != 0)
        return std::nullopt;
    return Entrada_de(datos);
}

bool Existe_Carpeta(const std::string& ruta) {
    std::error_code ec;
    return fs::is_directory(ruta, ec);
}

void Borrar_Archivo_Ignorando_Errores(const std::string& ruta) noexcept {
    std::error_code ec;
    fs::remove(ruta, ec);
}

int Abrir_Archivo_Regular(const std::string& ruta, int banderas, mode_t modo,
                          Entrada_Archivo* entrada) {
    const int fd = ::open(ruta.c_str(), banderas | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, modo);
    if (fd < 0) {
        // ELOOP: a link; ENXIO: a socket, or a pipe nobody reads, opened for writing.
        if (errno == ELOOP || errno == ENXIO)
            Fallar_No_Regular(ruta);
        Fallar_Con_Errno(ruta);
    }
    Descriptor descriptor(fd);
    struct stat datos {};
    if (::fstat(fd, &datos) != 0)
        Fallar_Con_Errno(ruta);
    if (!S_ISREG(datos.st_mode))
        Fallar_No_Regular(ruta);
    if (entrada)
        *entrada = Entrada_de(datos);
    return descriptor.Soltar();
}

void Anexar_Archivo(const std::string& ruta, std::string_view bytes) {
    Descriptor descriptor(Abrir_Archivo_Regular(ruta, O_WRONLY | O_APPEND | O_CREAT, 0666));
    Escribir_Todo(descriptor.fd(), bytes, ruta);
    descriptor.Cerrar(ruta);
}

void Crear_Archivo_Nuevo(const std::string& ruta, std::string_view bytes, mode_t modo) {
    // unlink removes a link itself, never what it points at.
    if (::unlink(ruta.c_str()) != 0 && errno != ENOENT)
        Fallar_Con_Errno(ruta);
    Descriptor descriptor(
        ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo));
    if (descriptor.fd() < 0)
        Fallar_Con_Errno(ruta);
    try {
        Escribir_Todo(descriptor.fd(), bytes, ruta);
        if (::fsync(descriptor.fd()) != 0)
            Fallar_Con_Errno(ruta);
        descriptor.Cerrar(ruta);
    } catch (const Error_Plataforma&) {
        ::unlink(ruta.c_str());
        throw;
    }
}

void Publicar_Archivo_Nuevo(const std::string& temporal, const std::string& ruta,
                            std::string_view bytes, mode_t modo) {
    Crear_Archivo_Nuevo(temporal, bytes, modo);
    try {
        Renombrar_Archivo(temporal, ruta);
    } catch (const Error_Plataforma&) {
        Borrar_Archivo_Ignorando_Errores(temporal);
        throw;
    }
}

Contenido_Archivo Leer_Archivo_Regular(const std::string& ruta, size_t limite) {
    Contenido_Archivo contenido;
    Descriptor descriptor(Abrir_Archivo_Regular(ruta, O_RDONLY, 0, &contenido.Entrada));
    // One byte past the limit tells a file that holds more.
    const size_t buscado = limite + 1;
    char bloque[65536];
    while (contenido.Bytes.size() < buscado) {
        const size_t pedido = std::min(sizeof bloque, buscado - contenido.Bytes.size());
        const ssize_t leidos = ::read(descriptor.fd(), bloque, pedido);
        if (leidos < 0 && errno == EINTR)
            continue;
        if (leidos < 0)
            Fallar_Con_Errno(ruta);
        if (leidos == 0)
            break;
        contenido.Bytes.append(bloque, static_cast<size_t>(leidos));
    }
    if (contenido.Bytes.size() > limite) {
        contenido.Bytes.resize(limite);
        contenido.Completo = false;
    }
    return contenido;
}

std::string Leer_Archivo(const std::string& ruta) {
    std::FILE* archivo = std::fopen(ruta.c_str(), "rb");
    if (!archivo)
        Fallar_Con_Errno(ruta);
    std::string contenido;
    char bloque[65536];
    size_t leidos;
    while ((leidos = std::fread(bloque, 1, sizeof bloque, archivo)) > 0)
        contenido.append(bloque, leidos);
    const bool fallo = std::ferror(archivo);
    std::fclose(archivo);
    if (fallo)
        Fallar_Con_Errno(ruta);
    return contenido;
}

void Escribir_Archivo(const std::string& ruta, std::string_view bytes) {
    std::FILE* archivo = std::fopen(ruta.c_str(), "wb");
    if (!archivo)
        Fallar_Con_Errno(ruta);
    const bool escrito = std::fwrite(bytes.data(), 1, bytes.size(), archivo) == bytes.size();
    const int numero = errno;
    const bool cerrado = std::fclose(archivo) == 0;
    if (!escrito)
        Fallar_Con_Numero(numero, ruta);
    if (!cerrado)
        Fallar_Con_Errno(ruta);
}

void Copiar_Archivo(const std::string& origen, const std::string& destino) {
    std::error_code ec;
    fs::copy_file(origen, destino, fs::copy_options::overwrite_existing, ec);
    if (ec)
        Fallar_Con(ec, destino);
}

void Renombrar_Archivo(const std::string& origen, const std::string& destino) {
    std::error_code ec;
    fs::rename(origen, destino, ec);
    if (ec)
        Fallar_Con(ec, destino);
}

void Reemplazar_Archivo(const std::string& ruta, std::string_view bytes) {
    Publicar_Archivo_Nuevo(ruta + ".nuevo", ruta, bytes);
}

void Poner_Solo_Lectura(const std::string& ruta) {
    std::error_code ec;
    fs::permissions(ruta, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove, ec);
    if (ec)
        Fallar_Con(ec, ruta);
}

void Quitar_Solo_Lectura(const std::string& ruta) {
    std::error_code ec;
    fs::permissions(ruta, fs::perms::owner_write, fs::perm_options::add, ec);
    if (ec)
        Fallar_Con(ec, ruta);
}

std::vector<std::string> Archivos_en_Carpeta(const std::string& carpeta) {
    std::vector<std::string> nombres;
    std::error_code ec;
    fs::directory_iterator entrada(carpeta, ec);
    for (; !ec && entrada != fs::directory_iterator(); entrada.increment(ec)) {
        std::error_code ec_tipo;
        if (entrada->symlink_status(ec_tipo).type() == fs::file_type::regular)
            nombres.push_back(entrada->path().filename().string());
    }
    if (ec)
        Fallar_Con(ec, carpeta);
    return nombres;
}

void Asegurar_Carpeta_en_Disco(const std::string& carpeta) {
    Descriptor descriptor(::open(carpeta.c_str(), O_DIRECTORY | O_RDONLY | O_CLOEXEC));
    if (descriptor.fd() < 0)
        Fallar_Con_Errno(carpeta);
    if (::fsync(descriptor.fd()) != 0)
        Fallar_Con_Errno(carpeta);
}

std::string Carpeta_Del_Ejecutable() {
    std::error_code ec;
    const fs::path ejecutable = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path().string();
    return ejecutable.parent_path().string();
}

}  // namespace facturador
