#include "platform/Carpeta_Runtime.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace facturador {

namespace {

std::string Carpeta_Temporal() {
    const char* tmpdir = std::getenv("TMPDIR");
    return tmpdir && *tmpdir ? tmpdir : "/tmp";
}

bool Es_Privada_Del_Usuario(const std::string& carpeta) {
    struct stat st {};
    return lstat(carpeta.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & 0777) == 0700;
}

}  // namespace

void Asegurar_Carpeta_Runtime() {
    const char* actual = std::getenv("XDG_RUNTIME_DIR");
    if (actual && *actual)
        return;
    const passwd* usuario = getpwuid(geteuid());
    if (!usuario)
        return;
    const std::string carpeta = Carpeta_Temporal() + "/runtime-" + usuario->pw_name;
    mkdir(carpeta.c_str(), 0700);
    if (Es_Privada_Del_Usuario(carpeta))
        setenv("XDG_RUNTIME_DIR", carpeta.c_str(), 1);
}

}  // namespace facturador
