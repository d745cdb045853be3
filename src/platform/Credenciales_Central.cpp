#include "platform/Credenciales_Central.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

// Far more than the few lines the file holds.
constexpr size_t kMaximo_Archivo = 64 * 1024;

[[noreturn]] void Rechazar(int numero, const std::string& ruta, const std::string& motivo) {
    throw Error_Plataforma(numero, "Archivo de credenciales " + ruta + ": " + motivo);
}

// Root's file, read by the accounts of its group and nobody else: it holds the password of an
// account of the central database. An account other than root reads a file of root's only
// through its group, so the group is the reader's own; a file of another owner (the service's
// account itself, which could rewrite it) is refused.
void Verificar_Resguardo(const Entrada_Archivo& entrada, const std::string& ruta) {
    if (entrada.Dueno != 0)
        Rechazar(EPERM, ruta,
                 "es del usuario " + std::to_string(entrada.Dueno) + "; debe ser de root");
    if (entrada.Modo & (S_IRWXO | S_IWGRP)) {
        char modo[16];
        std::snprintf(modo, sizeof modo, "%04o", entrada.Modo & 07777u);
        Rechazar(EPERM, ruta,
                 std::string("tiene el modo ") + modo +
                     ": otros usuarios pueden leerlo o su grupo escribirlo (déjelo en 0640)");
    }
}

// The file's text, or nothing when there is no file. Never read through a link or from a pipe.
std::optional<std::string> Leer_Resguardado(const std::string& ruta) {
    Contenido_Archivo contenido;
    try {
        contenido = Leer_Archivo_Regular(ruta, kMaximo_Archivo);
    } catch (const Error_Plataforma& e) {
        if (e.Numero == ENOENT || e.Numero == ENOTDIR)
            return std::nullopt;
        if (e.Numero == kError_No_Regular)
            Rechazar(EINVAL, ruta, "no es un archivo regular (un enlace no se sigue)");
        Rechazar(static_cast<int>(e.Numero), ruta, "no se puede leer: " + e.Descripcion);
    }
    Verificar_Resguardo(contenido.Entrada, ruta);
    if (!contenido.Completo)
        Rechazar(EFBIG, ruta, "pasa de " + std::to_string(kMaximo_Archivo) + " bytes");
    return contenido.Bytes;
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
    Credenciales_Central credenciales;
    const std::optional<std::string> contenido = Leer_Resguardado(ruta);
    if (!contenido)
        return credenciales;
    size_t inicio = 0;
    for (int numero = 1; inicio <= contenido->size(); ++numero) {
        size_t fin = contenido->find('\n', inicio);
        if (fin == std::string::npos)
            fin = contenido->size();
        Leer_Linea(std::string_view(*contenido).substr(inicio, fin - inicio), numero, ruta,
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
