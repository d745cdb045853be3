#include "Timbre.h"

#include <algorithm>
#include <random>

#include <fmt/format.h>

namespace timbrador {

namespace {

// Stands for the certified provider in every stamp; a made-up tax identifier.
constexpr const char* kRfc_Proveedor = "SIM010101AA1";

std::mt19937_64& Generador() {
    static thread_local std::mt19937_64 generador{std::random_device{}()};
    return generador;
}

std::string Bytes_Al_Azar(size_t cantidad) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(cantidad, '\0');
    for (char& b : bytes)
        b = static_cast<char>(byte(Generador()));
    return bytes;
}

std::string Uuid_V4() {
    std::string b = Bytes_Al_Azar(16);
    b[6] = static_cast<char>((b[6] & 0x0F) | 0x40);
    b[8] = static_cast<char>((b[8] & 0x3F) | 0x80);
    std::string texto;
    for (size_t i = 0; i < b.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            texto += '-';
        texto += fmt::format("{:02X}", static_cast<unsigned char>(b[i]));
    }
    return texto;
}

// Certificate numbers are 20 digits, the first eleven fixed by the authority.
std::string Numero_Certificado() {
    std::uniform_int_distribution<long> resto(0, 999'999'999);
    return fmt::format("00001000000{:09}", resto(Generador()));
}

// A DER-looking certificate: a SEQUENCE header of 1,601 content bytes, as "MIIGQ..." begins.
std::string Certificado() {
    return Base64(std::string("\x30\x82\x06\x41", 4) + Bytes_Al_Azar(1601));
}

// A 2048-bit RSA signature is 256 bytes.
std::string Sello() {
    return Base64(Bytes_Al_Azar(256));
}

}  // namespace

std::string Base64(std::string_view bytes) {
    static constexpr char kAlfabeto[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string texto;
    texto.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        unsigned grupo = 0;
        for (size_t j = 0; j < 3; ++j)
            grupo = (grupo << 8) | (j < n ? static_cast<unsigned char>(bytes[i + j]) : 0u);
        for (size_t j = 0; j < 4; ++j)
            texto += j <= n ? kAlfabeto[(grupo >> (18 - 6 * j)) & 0x3F] : '=';
    }
    return texto;
}

Timbre Nuevo_Timbre(const std::string& fecha_timbrado) {
    Timbre t;
    t.uuid = Uuid_V4();
    t.fecha_timbrado = fecha_timbrado;
    t.rfc_prov_certif = kRfc_Proveedor;
    t.no_certificado = Numero_Certificado();
    t.certificado = Certificado();
    t.sello = Sello();
    t.no_certificado_sat = Numero_Certificado();
    t.sello_sat = Sello();
    return t;
}

}  // namespace timbrador
