#include "Mundo_Fallas.h"

#include <pwd.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/Archivos.h"

namespace facturador::pruebas {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Sends the signal to a running child, waits for it to end and forgets it.
template <typename Proceso>
void Terminar(std::unique_ptr<Proceso>& proceso, int senal, std::chrono::seconds espera) {
    if (!proceso)
        return;
    proceso->Enviar(senal);
    proceso->Esperar_Fin(espera);
    proceso.reset();
}

// Large enough for every result of a long run; filled on purpose by the full-disk fault.
constexpr const char* kOpciones_Tmpfs = "size=256m,mode=0755";

std::optional<std::pair<uid_t, gid_t>> Usuario_Sin_Privilegios() {
    if (geteuid() != 0)
        return std::nullopt;
    const passwd* nadie = getpwnam("nobody");
    if (!nadie)
        throw std::runtime_error("there is no user nobody to run the programs as");
    return std::make_pair(nadie->pw_uid, nadie->pw_gid);
}

}  // namespace

Mundo_Fallas::Mundo_Fallas(const std::string& carpeta_servidor)
    : carpeta_servidor_(carpeta_servidor.empty() ? Unir_Ruta(Carpeta(), "servidor")
                                                 : carpeta_servidor),
      usuario_(Usuario_Sin_Privilegios()) {
    chmod(Carpeta().c_str(), 0755);
    con_tmpfs_ = geteuid() == 0;
    setenv("FACTURADOR_BD_DURABLE", "1", 1);
    setenv("MYSQL_UNIX_PORT", (carpeta_servidor_ + "/mysqld.sock").c_str(), 1);
    Servidor("iniciar");

    Crear_Sucursal(1, "A", 1, false);
    Crear_Sucursal(2, "B", 500, false);
    Crear_Sucursal(3, "C", 1, con_tmpfs_);
    Crear_Sucursal(4, "D'1", 1, false);

    // A copy beside the run, so the unprivileged user can run it wherever the build lives.
    timbrador_copiado_ = Unir_Ruta(Carpeta(), "timbrador_simulado");
    Copiar_Archivo(EJECUTABLE_TIMBRADOR, timbrador_copiado_);
    chmod(timbrador_copiado_.c_str(), 0755);
    programa_ = Unir_Ruta(Carpeta(), "programa");
    runtime_ = Unir_Ruta(Carpeta(), "runtime");
    fs::create_directory(programa_);
    fs::create_directory(runtime_);
    chmod(runtime_.c_str(), 0700);
    Ejecutar_Script_SQLite(Unir_Ruta(programa_, "local.dll"), "sql/local/local.sql");
    Ejecutar_Script_SQLite(Unir_Ruta(programa_, "Taldo.dll"), "sql/local/taldo.sql");
    Escribir_Archivo(Registro_Timbrados(), "");
    for (const std::string& ruta : {programa_, runtime_, Unir_Ruta(programa_, "local.dll"),
                                    Unir_Ruta(programa_, "Taldo.dll"), Registro_Timbrados()})
        Ceder(ruta);
}

Mundo_Fallas::~Mundo_Fallas() {
    facturador_.reset();
    timbrador_.reset();
    try {
        Servidor("detener");
    } catch (...) {
    }
    for (const Sucursal_Fallas& s : sucursales_)
        if (s.en_tmpfs)
            umount2(s.base.c_str(), MNT_DETACH);
}

std::string Mundo_Fallas::Registro_Timbrados() const {
    return Unir_Ruta(Carpeta(), "timbrados.tsv");
}

void Mundo_Fallas::Crear_Sucursal(int id, const std::string& serie, int folio, bool en_tmpfs) {
    Sucursal_Fallas s{id, serie,   folio, Unir_Ruta(Carpeta(), "sucursal" + std::to_string(id)),
                      {}, en_tmpfs};
    fs::create_directory(s.base);
    if (en_tmpfs && mount("tmpfs", s.base.c_str(), "tmpfs", 0, kOpciones_Tmpfs) != 0) {
        std::fprintf(stderr, "no tmpfs can be mounted here: the full-disk fault is left out\n");
        s.en_tmpfs = con_tmpfs_ = false;
    }
    s.carpetas = Sembrar_Sucursal(s.base, id, "Sucursal " + std::to_string(id), serie, folio);
    for (const std::string& ruta :
         {s.base, s.carpetas.cola, s.carpetas.validas, s.carpetas.no_validas})
        Ceder(ruta);
    sucursales_.push_back(s);
}

void Mundo_Fallas::Ceder(const std::string& ruta) const {
    if (usuario_ && chown(ruta.c_str(), usuario_->first, usuario_->second) != 0)
        throw std::runtime_error("cannot hand " + ruta + " to the programs' user");
}

Arranque_Hijo Mundo_Fallas::Arranque(const std::string& salida) const {
    return {Unir_Ruta(Carpeta(), salida),
            {"XDG_RUNTIME_DIR=" + runtime_, "HOME=" + programa_},
            usuario_};
}

void Mundo_Fallas::Arrancar_Programa() {
    facturador_ = std::make_unique<Proceso_Facturador>(programa_, Arranque("facturador.txt"));
}

bool Mundo_Fallas::Programa_Vivo() {
    return facturador_ && facturador_->Sigue_Corriendo();
}

void Mundo_Fallas::Senal_Programa(int senal) {
    if (facturador_)
        facturador_->Enviar(senal);
}

void Mundo_Fallas::Matar_Programa() {
    Terminar(facturador_, SIGKILL, 10s);
}

void Mundo_Fallas::Arrancar_Timbrador() {
    timbrador_ = std::make_unique<Proceso_Hijo>(
        timbrador_copiado_, std::vector<std::string>{"--registro", Registro_Timbrados()},
        Arranque("timbrador.txt"));
}

void Mundo_Fallas::Detener_Timbrador() {
    Terminar(timbrador_, SIGTERM, 20s);
}

void Mundo_Fallas::Servidor(const std::string& accion) const {
    const std::string orden =
        std::string(SCRIPT_BD_PRIVADA) + " " + accion + " '" + carpeta_servidor_ + "' >/dev/null";
    if (std::system(orden.c_str()) != 0)
        throw std::runtime_error("private server: " + accion + " failed");
}

void Mundo_Fallas::Reiniciar_Servidor() const {
    Servidor("reiniciar");
}

void Mundo_Fallas::Matar_y_Arrancar_Servidor() const {
    Servidor("matar");
    Servidor("reiniciar");
}

}  // namespace facturador::pruebas
