#pragma once

#include <functional>
#include <string>

namespace facturador {

// Runs a benchmark as the program runs unattended: nobody at the machine, the system clock, and a
// program folder of its own, passed to `medir` and removed when it ends well. A failure ends it
// with its text on stderr; the result is the process's exit status.
int Correr_Banco(const char* nombre, const std::function<void(const std::string& carpeta)>& medir);

// The benchmark itself works as the copy that holds the lease, as the program's passes need: the
// lease an earlier run left goes, and this process takes it.
void Tomar_Turno_Banco();

}  // namespace facturador
