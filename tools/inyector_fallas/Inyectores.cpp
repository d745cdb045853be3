#include "Inyectores.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "Inyectores_Cluster.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::array<const char*, static_cast<size_t>(Falla::Cuantas)> kNombres_Falla = {
    "matar_en_generacion", "matar_en_recepcion", "reiniciar_servidor", "matar_servidor",
    "cola_desaparece",     "cola_solo_lectura",  "cola_llena",         "filas_hostiles",
    "matar_copia",         "matar_nodo",         "parar_nodo",         "matar_ambos",
    "aislar_nodo",         "detener_nodo",       "pausar_copia",       "reiniciar_otro"};

bool Es_De_Cluster(Falla falla) {
    return falla >= Falla::Matar_Copia;
}

int Entre(std::mt19937& azar, int desde, int hasta) {
    return std::uniform_int_distribution<int>(desde, hasta)(azar);
}

void Dormir_Hasta(std::mt19937& azar, int milisegundos) {
    std::this_thread::sleep_for(std::chrono::milliseconds(Entre(azar, 0, milisegundos)));
}

long Iniciadas(const Mundo_Fallas& mundo) {
    long iniciadas = 0;
    std::error_code ec;
    for (size_t copia = 0; copia < mundo.Copias(); ++copia)
        for (const fs::directory_entry& e :
             fs::directory_iterator(mundo.Carpeta_Programa(copia), ec))
            if (e.path().filename().string().starts_with("log_"))
                iniciadas += Veces(Leer_Archivo(e.path().string()), "Se inicia el proceso");
    return iniciadas;
}

namespace {

// Long enough for a few cycles of the program to meet the fault.
constexpr auto kDuracion_Falla = 2500ms;
const std::vector<int> kTodas = {1, 2, 3, 4};

// Bytes in the files of a folder.
uintmax_t Bytes_En(const std::string& carpeta) {
    uintmax_t bytes = 0;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(carpeta, ec))
        bytes += e.is_regular_file(ec) ? e.file_size(ec) : 0;
    return bytes;
}

void Matar_Durante_Pase(Mundo_Fallas& mundo, Siembra_Fallas& siembra, std::mt19937& azar,
                        const std::function<void()>& golpe) {
    const long antes = Iniciadas(mundo);
    siembra.Validas(Entre(azar, 15, 40), kTodas);
    Esperar([&] { return Iniciadas(mundo) > antes; }, 5s);
    Dormir_Hasta(azar, 400);
    golpe();
}

void Matar_en_Recepcion(Mundo_Fallas& mundo, Siembra_Fallas& siembra, std::mt19937& azar) {
    uintmax_t antes = 0;
    for (const Sucursal_Fallas& s : mundo.Sucursales())
        antes += Bytes_En(s.carpetas.validas);
    siembra.Validas(Entre(azar, 10, 25), kTodas);
    Esperar(
        [&] {
            uintmax_t ahora = 0;
            for (const Sucursal_Fallas& s : mundo.Sucursales())
                ahora += Bytes_En(s.carpetas.validas);
            return ahora > antes;
        },
        8s);
    Dormir_Hasta(azar, 1500);
    mundo.Matar_Programa();
}

// The queue comes back as it was; files the program may have put into a new folder of the same
// name meanwhile stay.
void Quitar_Cola(const Sucursal_Fallas& s, const std::function<void()>& durante) {
    const std::string fuera = s.carpetas.cola + ".fuera";
    fs::rename(s.carpetas.cola, fuera);
    durante();
    if (!fs::exists(s.carpetas.cola)) {
        fs::rename(fuera, s.carpetas.cola);
        return;
    }
    for (const fs::directory_entry& e : fs::directory_iterator(fuera))
        fs::rename(e.path(), fs::path(s.carpetas.cola) / e.path().filename());
    fs::remove(fuera);
}

// Takes every byte left on the branch's small file system until `durante` ends.
void Llenar(const Sucursal_Fallas& s, const std::function<void()>& durante) {
    const std::string relleno = Unir_Ruta(s.base, "relleno");
    struct statvfs libre {};
    statvfs(s.base.c_str(), &libre);
    const int fd = open(relleno.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_fallocate(fd, 0, static_cast<off_t>(libre.f_bavail * libre.f_frsize));
    close(fd);
    durante();
    fs::remove(relleno);
}

void Inyectar_en_Servidor(Falla falla, Mundo_Fallas& mundo, Siembra_Fallas& siembra,
                          std::mt19937& azar) {
    const Sucursal_Fallas& sucursal = mundo.Sucursales()[Entre(azar, 0, 3)];
    const auto durante = [&] {
        siembra.Validas(Entre(azar, 3, 8), {sucursal.id});
        std::this_thread::sleep_for(kDuracion_Falla);
    };
    switch (falla) {
        case Falla::Matar_en_Generacion:
            return Matar_Durante_Pase(mundo, siembra, azar, [&] { mundo.Matar_Programa(); });
        case Falla::Matar_en_Recepcion:
            return Matar_en_Recepcion(mundo, siembra, azar);
        case Falla::Reiniciar_Servidor:
            return Matar_Durante_Pase(mundo, siembra, azar, [&] { mundo.Reiniciar_Servidor(); });
        case Falla::Matar_Servidor:
            return Matar_Durante_Pase(mundo, siembra, azar,
                                      [&] { mundo.Matar_y_Arrancar_Servidor(); });
        case Falla::Cola_Desaparece:
            return Quitar_Cola(sucursal, durante);
        case Falla::Cola_Solo_Lectura:
            chmod(sucursal.carpetas.cola.c_str(), 0555);
            durante();
            chmod(sucursal.carpetas.cola.c_str(), 0755);
            return;
        case Falla::Cola_Llena:
            for (const Sucursal_Fallas& s : mundo.Sucursales())
                if (s.en_tmpfs)
                    return Llenar(s, [&] {
                        siembra.Validas(Entre(azar, 3, 8), {s.id});
                        std::this_thread::sleep_for(kDuracion_Falla);
                    });
            return;
        case Falla::Filas_Hostiles:
            siembra.Hostiles(sucursal.id);
            return durante();
        default:
            return;
    }
}

}  // namespace

std::optional<double> Inyectar(Falla falla, Mundo_Fallas& mundo, Siembra_Fallas& siembra,
                               std::mt19937& azar) {
    if (Es_De_Cluster(falla))
        return Inyectar_en_Cluster(falla, mundo, siembra, azar);
    Inyectar_en_Servidor(falla, mundo, siembra, azar);
    return std::nullopt;
}

}  // namespace facturador::pruebas
