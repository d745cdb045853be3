#pragma once

#include <string>
#include <vector>

namespace facturador {

// The states of Mexico as the issuing profiles name them, in the order the combos show them;
// "Todos" comes first when the all entry is asked for.
std::vector<std::string> Lista_Estados(bool con_todos);

}  // namespace facturador
