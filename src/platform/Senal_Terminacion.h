#pragma once

#include <chrono>

namespace facturador {

// Turns SIGTERM and SIGINT into something the program looks at when it is free (never in the
// middle of a cycle's database work), so that it ends as if the operator had closed it: the
// handler only writes a byte into a socket pair whose other end is Descriptor().
// One instance per process; the default handlers come back when it goes.
class Senal_Terminacion {
  public:
    Senal_Terminacion();
    ~Senal_Terminacion();
    Senal_Terminacion(const Senal_Terminacion&) = delete;
    Senal_Terminacion& operator=(const Senal_Terminacion&) = delete;

    // Readable once a termination was asked for (for an event loop to watch).
    int Descriptor() const;
    // Waits up to `plazo` for a termination; true when one was asked for, now or before.
    bool Esperar(std::chrono::milliseconds plazo);
    // Takes what the handler wrote; true when a termination was asked for.
    bool Leer();

  private:
    bool pedida_ = false;
};

}  // namespace facturador
