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
#include <sstream>
#include <stdexcept>

#include "apoyo/Bd_Central.h"
#include "platform/Archivos.h"
#include "platform/Credenciales_Central.h"
#include "platform/Pool_Central.h"

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

void Ordenar(const std::string& script, const std::string& orden) {
    const std::string linea = script + " " + orden + " >/dev/null";
    if (std::system(linea.c_str()) != 0)
        throw std::runtime_error(script + " " + orden + " failed");
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

Mundo_Fallas::Mundo_Fallas(const std::string& carpeta_servidor, int nodos)
    : carpeta_servidor_(carpeta_servidor.empty()
                            ? Unir_Ruta(Carpeta(), nodos > 0 ? "cluster" : "servidor")
                            : carpeta_servidor),
      usuario_(Usuario_Sin_Privilegios()),
      nodos_(nodos) {
    chmod(Carpeta().c_str(), 0755);
    con_tmpfs_ = geteuid() == 0;
    setenv("FACTURADOR_BD_DURABLE", "1", 1);
    if (nodos_ > 0) {
        // Ports of their own, apart from a cluster started by hand for the demo or a benchmark.
        setenv("GALERA_PUERTO_BASE", "24600", 0);
        Cluster("iniciar " + std::to_string(nodos_));
        Leer_Desde(1);
    } else {
        Leer_Desde(0);
        Servidor("iniciar");
    }

    Crear_Sucursal(1, "A", 1, false);
    Crear_Sucursal(2, "B", 500, false);
    Crear_Sucursal(3, "C", 1, con_tmpfs_);
    Crear_Sucursal(4, "D'1", 1, false);

    // A copy beside the run, so the unprivileged user can run it wherever the build lives.
    timbrador_copiado_ = Unir_Ruta(Carpeta(), "timbrador_simulado");
    Copiar_Archivo(EJECUTABLE_TIMBRADOR, timbrador_copiado_);
    chmod(timbrador_copiado_.c_str(), 0755);
    Escribir_Archivo(Registro_Timbrados(), "");
    Escribir_Archivo(Traza_Unidades(), "");
    for (const std::string& ruta : {Registro_Timbrados(), Traza_Unidades()})
        Ceder(ruta);
    if (nodos_ == 0)
        Crear_Copia("programa", 0);
    for (int n = 1; n <= nodos_; ++n)
        Crear_Copia("programa" + std::to_string(n), n);
}

void Mundo_Fallas::Crear_Copia(const std::string& nombre, int nodo) {
    Copia_Fallas copia{Unir_Ruta(Carpeta(), nombre), Unir_Ruta(Carpeta(), "runtime_" + nombre),
                       nodo, nullptr};
    fs::create_directory(copia.programa);
    fs::create_directory(copia.runtime);
    chmod(copia.runtime.c_str(), 0700);
    Ejecutar_Script_SQLite(Unir_Ruta(copia.programa, "local.dll"), "sql/local/local.sql");
    Ejecutar_Script_SQLite(Unir_Ruta(copia.programa, "Taldo.dll"), "sql/local/taldo.sql");
    for (const std::string& ruta :
         {copia.programa, copia.runtime, Unir_Ruta(copia.programa, "local.dll"),
          Unir_Ruta(copia.programa, "Taldo.dll")})
        Ceder(ruta);
    copias_.push_back(std::move(copia));
}

Mundo_Fallas::~Mundo_Fallas() {
    copias_.clear();
    timbrador_.reset();
    try {
        if (nodos_ > 0)
            Cluster("detener");
        else
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

std::string Mundo_Fallas::Traza_Unidades() const {
    return Unir_Ruta(Carpeta(), "unidades.txt");
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

Arranque_Hijo Mundo_Fallas::Arranque(const std::string& salida, const Copia_Fallas* copia) const {
    const Copia_Fallas& c = copia ? *copia : copias_.front();
    Arranque_Hijo arranque{Unir_Ruta(Carpeta(), salida),
                           {"XDG_RUNTIME_DIR=" + c.runtime, "HOME=" + c.programa},
                           usuario_,
                           {}};
    if (copia)
        arranque.entorno.insert(
            arranque.entorno.end(),
            {"MYSQL_UNIX_PORT=" + Socket(c.nodo), "FACTURADOR_TRAZA_UNIDADES=" + Traza_Unidades()});
    return arranque;
}

void Mundo_Fallas::Arrancar_Programa(size_t copia) {
    Copia_Fallas& c = copias_[copia];
    const std::string salida =
        copias_.size() == 1 ? "facturador.txt" : "facturador" + std::to_string(c.nodo) + ".txt";
    c.proceso = std::make_unique<Proceso_Facturador>(c.programa, Arranque(salida, &c));
}

bool Mundo_Fallas::Programa_Vivo(size_t copia) {
    return copias_[copia].proceso && copias_[copia].proceso->Sigue_Corriendo();
}

void Mundo_Fallas::Senal_Programa(int senal, size_t copia) {
    if (copias_[copia].proceso)
        copias_[copia].proceso->Enviar(senal);
}

void Mundo_Fallas::Matar_Programa(size_t copia) {
    Terminar(copias_[copia].proceso, SIGKILL, 10s);
}

std::optional<size_t> Mundo_Fallas::Copia_Con_Turno() const {
    std::string titular;
    try {
        titular = Valor_Central("SELECT Titular FROM Turno_Facturador WHERE Vence > NOW(6)");
    } catch (const std::exception&) {
        return std::nullopt;  // the node is joining the cluster again
    }
    for (size_t c = 0; c < copias_.size(); ++c)
        if (!titular.empty() &&
            titular.find(":" + copias_[c].programa + " pid ") != std::string::npos)
            return c;
    return std::nullopt;
}

void Mundo_Fallas::Arrancar_Timbrador() {
    timbrador_ = std::make_unique<Proceso_Hijo>(
        timbrador_copiado_, std::vector<std::string>{"--registro", Registro_Timbrados()},
        Arranque("timbrador.txt"));
}

void Mundo_Fallas::Detener_Timbrador() {
    Terminar(timbrador_, SIGTERM, 20s);
}

std::string Mundo_Fallas::Socket(int nodo) const {
    return nodo == 0 ? carpeta_servidor_ + "/mysqld.sock"
                     : carpeta_servidor_ + "/nodo" + std::to_string(nodo) + "/mysqld.sock";
}

void Mundo_Fallas::Servidor(const std::string& accion) const {
    Ordenar(SCRIPT_BD_PRIVADA, accion + " '" + carpeta_servidor_ + "'");
}

void Mundo_Fallas::Cluster(const std::string& accion) const {
    const size_t espacio = accion.find(' ');
    Ordenar(SCRIPT_GALERA, accion.substr(0, espacio) + " '" + carpeta_servidor_ + "'" +
                               (espacio == std::string::npos ? "" : accion.substr(espacio)));
}

void Mundo_Fallas::Nodo(const std::string& accion, int nodo) const {
    Cluster(accion + " " + std::to_string(nodo));
}

pid_t Mundo_Fallas::Pid_Nodo(int nodo) const {
    try {
        return std::stoi(
            Leer_Archivo(carpeta_servidor_ + "/nodo" + std::to_string(nodo) + "/mysqld.pid"));
    } catch (const std::exception&) {
        return -1;
    }
}

void Mundo_Fallas::Sanar_Nodos() const {
    for (int n = 1; n <= nodos_; ++n)
        Nodo("sanar", n);
}

std::string Mundo_Fallas::Errores_Nodo(int nodo) const {
    std::string log;
    try {
        log = Leer_Archivo(carpeta_servidor_ + "/nodo" + std::to_string(nodo) + "/error.log");
    } catch (const std::exception&) {
        return "\n";
    }
    std::vector<std::string> errores;
    std::istringstream lineas(log);
    for (std::string linea; std::getline(lineas, linea);)
        if (linea.find("[ERROR]") != std::string::npos)
            errores.push_back(linea);
    std::string ultimas;
    for (size_t i = errores.size() > 3 ? errores.size() - 3 : 0; i < errores.size(); ++i)
        ultimas += errores[i] + "\n";
    return ultimas.empty() ? "\n" : ultimas;
}

// The client library reads MYSQL_UNIX_PORT once per process: the run's own connections are
// pointed at the node through the credentials in force, the children through their environment.
void Mundo_Fallas::Leer_Desde(int nodo) const {
    setenv("MYSQL_UNIX_PORT", Socket(nodo).c_str(), 1);
    Credenciales_Vigentes().Socket = Socket(nodo);
    Vaciar_Pool_Central();
}

bool Mundo_Fallas::Nodos_Al_Dia() const {
    const auto aplicadas = [&](int nodo) {
        Leer_Desde(nodo);
        return Valor_Central(
            "SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS WHERE "
            "VARIABLE_NAME = 'WSREP_LAST_COMMITTED'");
    };
    const bool al_dia = Esperar(
        [&] {
            const std::string primero = aplicadas(1);
            for (int n = 2; n <= nodos_; ++n)
                if (aplicadas(n) != primero)
                    return false;
            return true;
        },
        30s);
    Leer_Del_Primero();
    return al_dia;
}

void Mundo_Fallas::Reiniciar_Servidor() const {
    Servidor("reiniciar");
}

void Mundo_Fallas::Matar_y_Arrancar_Servidor() const {
    Servidor("matar");
    Servidor("reiniciar");
}

}  // namespace facturador::pruebas
