#pragma once

#include <optional>
#include <random>

#include "Inyectores.h"

namespace facturador::pruebas {

// A fault on a cluster, aimed at the copy that holds the lease and at its node, struck while that
// copy queues files; everything it stopped is started again once another copy took up the work.
// Returns the seconds from the moment it struck until a copy issued one of the requests written
// right after it (nothing when none was issued within two minutes).
std::optional<double> Inyectar_en_Cluster(Falla falla, Mundo_Fallas& mundo, Siembra_Fallas& siembra,
                                          std::mt19937& azar);

}  // namespace facturador::pruebas
