#include "platform/Credenciales_Central.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

// The system account the package creates for the service.
constexpr const char* kCuenta_Servicio = "facturador";

[[noreturn]] void Rechazar(int numero, const std::string& ruta, const std::string& motivo) {
    throw Error_Plataforma(numero, "Archivo de credenciales " + ruta + ": " + motivo);
}

// Root, the service's account or the one running this copy.
bool Dueno_Admitido(uid_t dueno) {
    const passwd* servicio = getpwnam(kCuenta_Servicio);
    return dueno == 0 || dueno == geteuid() || (servicio && dueno == servicio->pw_uid);
}

// Only root or the program's own account may own it, and nobody outside its group may read it:
// it holds the password of the account that writes every invoice.
void Verificar_Resguardo(const struct stat& datos, const std::string& ruta) {
    if (!S_ISREG(datos.st_mode))
        Rechazar(EINVAL, ruta, "no es un archivo regular");
    if (!Dueno_Admitido(datos.st_uid))
        Rechazar(EPERM, ruta,
                 "es del usuario " + std::to_string(datos.st_uid) +
                     "; debe ser de root o de la cuenta " + kCuenta_Servicio);
    if (datos.st_mode & (S_IRWXO | S_IWGRP)) {
        char modo[8];
        std::snprintf(modo, sizeof modo, "%04o", static_cast<unsigned>(datos.st_mode & 07777));
        Rechazar(EPERM, ruta,
                 std::string("tiene el modo ") + modo +
                     ": otros usuarios pueden leerlo o su grupo escribirlo (déjelo en 0640)");
    }
}

std::string Leer_Resguardado(const std::string& ruta, bool& existe) {
    const int fd = open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
    existe = fd >= 0 || (errno != ENOENT && errno != ENOTDIR);
    if (fd < 0) {
        if (existe)
            Rechazar(errno, ruta, std::string("no se puede leer: ") + std::strerror(errno));
        return {};
    }
    std::string contenido;
    try {
        struct stat datos {};
        if (fstat(fd, &datos) != 0)
            Rechazar(errno, ruta, std::strerror(errno));
        Verificar_Resguardo(datos, ruta);
        char bloque[4096];
        ssize_t leidos = 0;
        while ((leidos = read(fd, bloque, sizeof bloque)) > 0)
            contenido.append(bloque, static_cast<size_t>(leidos));
        if (leidos < 0)
            Rechazar(errno, ruta, std::string("no se puede leer: ") + std::strerror(errno));
    } catch (...) {
        close(fd);
        throw;
    }
    close(fd);
    return contenido;
}

std::optional<std::string>* Campo(Credenciales_Central& c, std::string_view clave) {
    if (clave == "usuario")
        return &c.Usuario;
    if (clave == "contrasena")
        return &c.Contrasena;
    if (clave == "socket")
        return &c.Socket;
    return nullptr;
}

void Leer_Linea(std::string_view linea, int numero, const std::string& ruta,
                Credenciales_Central& c) {
    if (linea.ends_with('\r'))
        linea.remove_suffix(1);
    const std::string texto = Recortar(linea);
    if (texto.empty() || texto.front() == '#')
        return;
    const std::string donde = "línea " + std::to_string(numero) + ": ";
    const auto igual = texto.find('=');
    auto* campo = igual == std::string::npos ? nullptr : Campo(c, Recortar(texto.substr(0, igual)));
    if (!campo)
        Rechazar(EINVAL, ruta, donde + "se esperaba usuario=, contrasena= o socket=");
    if (campo->has_value())
        Rechazar(EINVAL, ruta, donde + "la clave ya se dio antes");
    *campo = Recortar(texto.substr(igual + 1));
    if ((*campo)->empty() && campo != &c.Contrasena)
        Rechazar(EINVAL, ruta, donde + "falta el valor");
}

}  // namespace

Credenciales_Central Leer_Credenciales_Central(const std::string& ruta) {
    bool existe = false;
    const std::string contenido = Leer_Resguardado(ruta, existe);
    Credenciales_Central credenciales;
    size_t inicio = 0;
    for (int numero = 1; existe && inicio <= contenido.size(); ++numero) {
        size_t fin = contenido.find('\n', inicio);
        if (fin == std::string::npos)
            fin = contenido.size();
        Leer_Linea(std::string_view(contenido).substr(inicio, fin - inicio), numero, ruta,
                   credenciales);
        inicio = fin + 1;
    }
    return credenciales;
}

Credenciales_Central& Credenciales_Vigentes() {
    static Credenciales_Central vigentes;
    return vigentes;
}

Parametros_Central Parametros_de_Conexion(std::string_view cadena) {
    Parametros_Central p = Leer_Cadena_Central(cadena);
    const Credenciales_Central& c = Credenciales_Vigentes();
    p.Usuario = c.Usuario.value_or(p.Usuario);
    p.Contrasena = c.Contrasena.value_or(p.Contrasena);
    p.Socket = c.Socket.value_or(p.Socket);
    return p;
}

}  // namespace facturador
