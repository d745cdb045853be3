#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace facturador::pruebas {

// Stands on the test server's socket path while it lives, so every connection made meanwhile
// goes through it (the pool's idle ones are dropped at both ends). The connection sending a
// statement that starts with `inicio` is, once, broken before the server gets it, or after the
// server ran it, its answer kept (a client cannot tell these apart); or hung: nothing more reaches
// that client while the proxy lives.
class Proxy_Central {
  public:
    enum class Corte { Antes_de_Ejecutar, Sin_Respuesta, Colgado };

    Proxy_Central(std::string inicio, Corte corte);
    ~Proxy_Central();
    Proxy_Central(const Proxy_Central&) = delete;
    Proxy_Central& operator=(const Proxy_Central&) = delete;
    bool Cortado() const { return cortado_; }

  private:
    struct Par;
    void Bucle();
    bool Del_Cliente(Par& par);

    const std::string inicio_;
    const Corte corte_;
    int escucha_ = -1;
    int despertar_[2] = {-1, -1};
    std::vector<std::unique_ptr<Par>> pares_;
    std::atomic<bool> cortado_ = false;
    std::thread hilo_;
};

}  // namespace facturador::pruebas
