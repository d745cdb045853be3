#include "platform/Cuenta_Carpeta.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Carpeta_Runtime.h"

namespace facturador {

namespace {

std::string Texto_Errno() {
    return std::strerror(errno);
}

// The environment of the account taken: root's home and runtime folder are not its own.
void Poner_Entorno(const passwd& cuenta) {
    setenv("HOME", cuenta.pw_dir, 1);
    setenv("USER", cuenta.pw_name, 1);
    setenv("LOGNAME", cuenta.pw_name, 1);
    unsetenv("XDG_RUNTIME_DIR");
    Asegurar_Carpeta_Runtime();
}

}  // namespace

std::optional<std::string> Tomar_Cuenta_de_Carpeta(const std::string& carpeta) {
    if (geteuid() != 0)
        return std::nullopt;
    struct stat datos {};
    if (stat(carpeta.c_str(), &datos) != 0 || datos.st_uid == 0)
        return std::nullopt;
    const std::string de_quien =
        "la carpeta del programa " + carpeta + " es del usuario " + std::to_string(datos.st_uid);
    errno = 0;
    const passwd* cuenta = getpwuid(datos.st_uid);
    if (!cuenta)
        return de_quien +
               ", que no tiene cuenta en esta máquina; root no trabaja en ella (dejaría archivos "
               "suyos que el dueño de la carpeta no puede tocar)";
    const std::string nombre = cuenta->pw_name;
    if (initgroups(cuenta->pw_name, cuenta->pw_gid) != 0 || setgid(cuenta->pw_gid) != 0 ||
        setuid(cuenta->pw_uid) != 0)
        return de_quien + " (" + nombre + ") y no se pudo tomar su cuenta: " + Texto_Errno();
    Poner_Entorno(*cuenta);
    return std::nullopt;
}

}  // namespace facturador
