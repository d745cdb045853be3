#include "platform/Texto.h"

#include <array>
#include <optional>

#include "platform/Texto_Unicode.h"

namespace facturador {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kBloque_80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

struct Caracter {
    char32_t codigo;
    size_t longitud;
};

// The character that starts at `i`, or nothing when the bytes there are not valid UTF-8.
std::optional<Caracter> Leer_Caracter(std::string_view b, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(b[k]); };
    const unsigned char primero = byte(i);
    if (primero < 0x80)
        return Caracter{primero, 1};
    size_t longitud;
    char32_t minimo;
    if (primero >= 0xC2 && primero <= 0xDF) {
        longitud = 2, minimo = 0x80;
    } else if (primero >= 0xE0 && primero <= 0xEF) {
        longitud = 3, minimo = 0x800;
    } else if (primero >= 0xF0 && primero <= 0xF4) {
        longitud = 4, minimo = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + longitud > b.size())
        return std::nullopt;
    char32_t codigo = primero & (0x7F >> longitud);
    for (size_t k = 1; k < longitud; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return std::nullopt;
        codigo = (codigo << 6) | (byte(i + k) & 0x3F);
    }
    if (codigo < minimo || codigo > 0x10FFFF || (codigo >= 0xD800 && codigo <= 0xDFFF))
        return std::nullopt;
    return Caracter{codigo, longitud};
}

void Anexar_UTF8(std::string& destino, char32_t c) {
    if (c < 0x80) {
        destino += static_cast<char>(c);
    } else if (c < 0x800) {
        destino += static_cast<char>(0xC0 | (c >> 6));
        destino += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        destino += static_cast<char>(0xE0 | (c >> 12));
        destino += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        destino += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        destino += static_cast<char>(0xF0 | (c >> 18));
        destino += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        destino += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        destino += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char Byte_Windows_1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (size_t k = 0; k < kBloque_80.size(); ++k)
        if (kBloque_80[k] == c)
            return static_cast<char>(0x80 + k);
    return '?';
}

}  // namespace

std::string A_Windows_1252(std::string_view utf8) {
    std::string resultado;
    resultado.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto caracter = Leer_Caracter(utf8, i);
        resultado += caracter ? Byte_Windows_1252(caracter->codigo) : '?';
        i += caracter ? caracter->longitud : 1;
    }
    return resultado;
}

bool Cabe_en_Windows_1252(std::string_view utf8) {
    for (size_t i = 0; i < utf8.size();) {
        const auto caracter = Leer_Caracter(utf8, i);
        if (!caracter || (caracter->codigo != '?' && Byte_Windows_1252(caracter->codigo) == '?'))
            return false;
        i += caracter->longitud;
    }
    return true;
}

std::string Desde_Windows_1252(std::string_view bytes) {
    std::string resultado;
    resultado.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        Anexar_UTF8(resultado, byte >= 0x80 && byte < 0xA0 ? kBloque_80[byte - 0x80] : byte);
    }
    return resultado;
}

std::optional<std::string> Desde_UTF16(std::string_view bytes, bool big_endian) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto unidad = [&](size_t i) -> char32_t {
        const auto alto = static_cast<unsigned char>(bytes[big_endian ? i : i + 1]);
        const auto bajo = static_cast<unsigned char>(bytes[big_endian ? i + 1 : i]);
        return static_cast<char32_t>(alto << 8 | bajo);
    };
    std::string texto;
    texto.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); i += 2) {
        char32_t c = unidad(i);
        if (c >= 0xDC00 && c <= 0xDFFF)
            return std::nullopt;
        if (c >= 0xD800 && c <= 0xDBFF) {
            i += 2;
            const char32_t baja = i < bytes.size() ? unidad(i) : 0;
            if (baja < 0xDC00 || baja > 0xDFFF)
                return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (baja - 0xDC00);
        }
        Anexar_UTF8(texto, c);
    }
    return texto;
}

bool Es_UTF8_Valido(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto caracter = Leer_Caracter(bytes, i);
        if (!caracter)
            return false;
        i += caracter->longitud;
    }
    return true;
}

size_t Contar_Caracteres(std::string_view utf8) {
    size_t caracteres = 0;
    for (const char c : utf8)
        caracteres += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return caracteres;
}

std::string Texto_Leido(std::string_view bytes) {
    return Es_UTF8_Valido(bytes) ? std::string(bytes) : Desde_Windows_1252(bytes);
}

std::string Recortar(std::string_view texto) {
    const auto inicio = texto.find_first_not_of(' ');
    if (inicio == std::string_view::npos)
        return "";
    return std::string(texto.substr(inicio, texto.find_last_not_of(' ') - inicio + 1));
}

std::string Mayusculas(std::string_view texto) {
    std::string resultado(texto);
    for (size_t i = 0; i < resultado.size(); ++i) {
        const auto byte = static_cast<unsigned char>(resultado[i]);
        if (byte >= 'a' && byte <= 'z') {
            resultado[i] = static_cast<char>(byte - 0x20);
        } else if (byte == 0xC3 && i + 1 < resultado.size()) {
            // U+00E0 to U+00FE, but for the division sign U+00F7, lie 0x20 above their capitals.
            const auto siguiente = static_cast<unsigned char>(resultado[i + 1]);
            if (siguiente >= 0xA0 && siguiente <= 0xBE && siguiente != 0xB7)
                resultado[++i] = static_cast<char>(siguiente - 0x20);
        }
    }
    return resultado;
}

std::string Forma_Fiscal(std::string_view texto) {
    return Mayusculas(Forma_Nombre(texto));
}

std::string Sin_Controles(std::string_view texto) {
    std::string limpio;
    limpio.reserve(texto.size());
    for (size_t i = 0; i < texto.size();) {
        const auto caracter = Leer_Caracter(texto, i);
        const size_t longitud = caracter ? caracter->longitud : 1;
        const bool control = caracter && (caracter->codigo < 0x20 || caracter->codigo == 0x7F ||
                                          (caracter->codigo >= 0x80 && caracter->codigo <= 0x9F));
        if (control)
            limpio += ' ';
        else
            limpio.append(texto.substr(i, longitud));
        i += longitud;
    }
    return limpio;
}

}  // namespace facturador
