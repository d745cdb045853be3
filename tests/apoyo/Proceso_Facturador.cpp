#include "apoyo/Proceso_Facturador.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "Bd_Central.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {

namespace {

using namespace std::chrono_literals;

// The program finds its databases next to its executable, not in the working folder.
std::string Copiar_Programa(const std::string& carpeta, const std::string& ejecutable = "") {
    const std::string programa = Unir_Ruta(carpeta, "facturador");
    Copiar_Archivo(ejecutable.empty() ? EJECUTABLE_FACTURADOR : ejecutable, programa);
    chmod(programa.c_str(), 0755);
    return programa;
}

// In the child: the rest of the start, which ends in the program or in _exit. Everything it needs
// is built before the fork. The output file is opened before the user changes, and the death
// signal is set after it, since a change of user clears it.
[[noreturn]] void Ejecutar_En_Hijo(const char* programa, char* const* argv,
                                   const Arranque_Hijo& arranque) {
    if (chdir("/") != 0)
        _exit(126);
    const int nulo = open("/dev/null", O_RDONLY);
    dup2(nulo, STDIN_FILENO);
    if (!arranque.salida.empty()) {
        const int archivo = open(arranque.salida.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (archivo < 0)
            _exit(126);
        dup2(archivo, STDOUT_FILENO);
        dup2(archivo, STDERR_FILENO);
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    unsetenv("FACTURADOR_CARPETA");  // its program folder is the one it was copied into
    for (const std::string& variable : arranque.entorno)
        putenv(const_cast<char*>(variable.c_str()));
    if (const auto& u = arranque.usuario)
        if (setgroups(0, nullptr) != 0 || setgid(u->second) != 0 || setuid(u->first) != 0)
            _exit(126);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    execv(programa, argv);
    _exit(127);
}

}  // namespace

Proceso_Hijo::Proceso_Hijo(const std::string& programa, const std::vector<std::string>& argumentos,
                           const std::string& salida)
    : Proceso_Hijo(programa, argumentos, Arranque_Hijo{salida, {}, {}, {}}) {}

Proceso_Hijo::Proceso_Hijo(const std::string& programa, const std::vector<std::string>& argumentos,
                           const Arranque_Hijo& arranque) {
    std::vector<char*> argv{const_cast<char*>(programa.c_str())};
    for (const std::string& a : argumentos)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("cannot start " + programa);
    if (pid_ == 0)
        Ejecutar_En_Hijo(programa.c_str(), argv.data(), arranque);
}

Proceso_Hijo::~Proceso_Hijo() {
    if (Recoger())
        return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

void Proceso_Hijo::Enviar(int senal) const {
    kill(pid_, senal);
}

std::optional<int> Proceso_Hijo::Esperar_Fin(std::chrono::seconds plazo) {
    const auto limite = std::chrono::steady_clock::now() + plazo;
    while (!Recoger() && std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(50ms);
    return estado_;
}

bool Proceso_Hijo::Recoger() {
    if (estado_)
        return true;
    int estado = 0;
    if (waitpid(pid_, &estado, WNOHANG) == pid_)
        estado_ = estado;
    return estado_.has_value();
}

Proceso_Facturador::Proceso_Facturador(const std::string& carpeta, const std::string& salida,
                                       const std::vector<std::string>& argumentos)
    : Proceso_Hijo(Copiar_Programa(carpeta), argumentos, salida) {}

Proceso_Facturador::Proceso_Facturador(const std::string& carpeta, const Arranque_Hijo& arranque)
    : Proceso_Hijo(Copiar_Programa(carpeta, arranque.programa), {}, arranque) {}

bool Esperar(const std::function<bool()>& cumplido, std::chrono::seconds plazo) {
    const auto limite = std::chrono::steady_clock::now() + plazo;
    while (!cumplido()) {
        if (std::chrono::steady_clock::now() > limite)
            return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

bool Esperar_Status(int id, const std::string& status) {
    return Esperar([&] { return Solicitud(id, "Status") == status; }, 40s);
}

bool Termino_Con_Codigo_0(const std::optional<int>& estado) {
    return Codigo_De_Salida(estado) == 0;
}

int Codigo_De_Salida(const std::optional<int>& estado) {
    return estado && WIFEXITED(*estado) ? WEXITSTATUS(*estado) : -1;
}

}  // namespace facturador::pruebas
