#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace facturador::pruebas {

// What a member of the branch folders' group can leave under a name the program uses: a link to a
// file of someone else's, a pipe that nobody writes to, or a huge file that takes no disk (sparse)
// whose first line is `primera_linea`. With `reemplazar`, whatever stands at the name is replaced;
// without it, a name already taken is left alone. True when it was planted.
bool Plantar_Enlace(const std::string& ruta, const std::string& destino, bool reemplazar = true);
bool Plantar_Tuberia(const std::string& ruta, bool reemplazar = true);
inline constexpr long long kTamano_Disperso = 4LL << 30;
bool Plantar_Disperso(const std::string& ruta, const std::string& primera_linea,
                      long long tamano = kTamano_Disperso, bool reemplazar = true);

// A neighbour that plants a link to `destino` at each of `rutas` again and again, as fast as it
// can, from another thread, until it goes: whatever the program removes there comes back at once,
// and it races every create of the program at those names.
class Enlaces_en_Carrera {
  public:
    Enlaces_en_Carrera(std::vector<std::string> rutas, std::string destino);
    ~Enlaces_en_Carrera();
    Enlaces_en_Carrera(const Enlaces_en_Carrera&) = delete;
    Enlaces_en_Carrera& operator=(const Enlaces_en_Carrera&) = delete;

    // Links planted so far.
    long Plantados() const { return plantados_; }

  private:
    std::vector<std::string> rutas_;
    std::string destino_;
    std::atomic<bool> parar_{false};
    std::atomic<long> plantados_{0};
    std::thread hilo_;
};

}  // namespace facturador::pruebas
