#pragma once

#include <functional>
#include <string>
#include <vector>

namespace facturador::pruebas {

// What a member of the branch folders' group can leave at a name the program uses (replacing what
// is there, or not): a link, a pipe, a huge sparse file. True when it was planted.
bool Plantar_Enlace(const std::string& ruta, const std::string& destino, bool reemplazar = true);
bool Plantar_Tuberia(const std::string& ruta, bool reemplazar = true);
inline constexpr long long kTamano_Disperso = 4LL << 30;
bool Plantar_Disperso(const std::string& ruta, const std::string& primera_linea,
                      long long tamano = kTamano_Disperso, bool reemplazar = true);

// Runs `accion` while another thread plants links to `destino` at `rutas` as fast as it can,
// racing every create there; answers how many it planted, and removes them.
long Con_Enlaces_en_Carrera(const std::vector<std::string>& rutas, const std::string& destino,
                            const std::function<void()>& accion);

}  // namespace facturador::pruebas
