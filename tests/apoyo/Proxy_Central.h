#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace facturador::pruebas {

// Stands in front of the private test server on its own socket path (the server's socket is moved
// aside while it lives), so that every connection made meanwhile goes through it; the idle
// connections of the program's pool are dropped when it starts and ends. It can break, once, the
// connection that sends a given statement, in the two ways a client cannot tell apart: before the
// server gets the statement, or after the server has carried it out, keeping its answer.
class Proxy_Central {
  public:
    enum class Corte { Antes_de_Ejecutar, Sin_Respuesta };

    Proxy_Central();
    ~Proxy_Central();
    Proxy_Central(const Proxy_Central&) = delete;
    Proxy_Central& operator=(const Proxy_Central&) = delete;

    // The next statement that starts with `inicio` breaks its connection.
    void Cortar(const std::string& inicio, Corte corte);
    bool Cortado() const { return cortado_; }

  private:
    struct Par;
    void Bucle();
    void Aceptar();
    bool Del_Cliente(Par& par);
    bool Del_Servidor(Par& par);

    int escucha_ = -1;
    int despertar_[2] = {-1, -1};
    std::vector<std::unique_ptr<Par>> pares_;
    std::mutex mutex_;
    std::string inicio_;
    Corte corte_ = Corte::Antes_de_Ejecutar;
    std::atomic<bool> cortado_ = false;
    std::thread hilo_;
};

}  // namespace facturador::pruebas
