#include "Proceso_Facturador.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "platform/Archivos.h"

namespace facturador::pruebas {

using namespace std::chrono_literals;

Proceso_Facturador::Proceso_Facturador(const std::string& carpeta) {
    const std::string programa = Unir_Ruta(carpeta, "facturador");
    Copiar_Archivo(EJECUTABLE_FACTURADOR, programa);
    chmod(programa.c_str(), 0755);
    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("cannot start the program");
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The program finds its databases next to its executable, not in the working folder.
        if (chdir("/") != 0)
            _exit(126);
        const int nulo = open("/dev/null", O_RDONLY);
        dup2(nulo, STDIN_FILENO);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(programa.c_str(), programa.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

Proceso_Facturador::~Proceso_Facturador() {
    if (Recoger())
        return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

bool Proceso_Facturador::Sigue_Corriendo() {
    return !Recoger();
}

void Proceso_Facturador::Enviar(int senal) const {
    kill(pid_, senal);
}

std::optional<int> Proceso_Facturador::Esperar_Fin(std::chrono::seconds plazo) {
    const auto limite = std::chrono::steady_clock::now() + plazo;
    while (!Recoger() && std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(50ms);
    return estado_;
}

bool Proceso_Facturador::Recoger() {
    if (estado_)
        return true;
    int estado = 0;
    if (waitpid(pid_, &estado, WNOHANG) == pid_)
        estado_ = estado;
    return estado_.has_value();
}

bool Termino_Con_Codigo_0(const std::optional<int>& estado) {
    return estado && WIFEXITED(*estado) && WEXITSTATUS(*estado) == 0;
}

}  // namespace facturador::pruebas
