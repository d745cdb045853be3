#include "platform/Fecha_Hora.h"

#include <fmt/format.h>

#include <charconv>
#include <chrono>
#include <vector>

namespace facturador {

namespace {

using namespace std::chrono;

sys_days Dias_Desde_Epoca(const Fecha_Hora& f) {
    return sys_days{year{f.Anio} / month{static_cast<unsigned>(f.Mes)} /
                    day{static_cast<unsigned>(f.Dia)}};
}

// Splits "12/05/2026 10:15:40" into its numbers and the separators between them.
struct Partes {
    std::vector<int> numeros;
    std::vector<int> anchos;
    std::string separadores;
};

std::optional<Partes> Partir(std::string_view texto) {
    Partes p;
    size_t i = 0;
    while (i < texto.size()) {
        size_t j = i;
        while (j < texto.size() && texto[j] >= '0' && texto[j] <= '9')
            ++j;
        if (j == i || j - i > 4)
            return std::nullopt;
        int valor = 0;
        std::from_chars(texto.data() + i, texto.data() + j, valor);
        p.numeros.push_back(valor);
        p.anchos.push_back(static_cast<int>(j - i));
        if (j == texto.size())
            break;
        p.separadores.push_back(texto[j]);
        i = j + 1;
        if (i == texto.size())
            return std::nullopt;
    }
    return p;
}

bool Fecha_Valida(const Fecha_Hora& f) {
    const year_month_day ymd{year{f.Anio}, month{static_cast<unsigned>(f.Mes)},
                             day{static_cast<unsigned>(f.Dia)}};
    return ymd.ok() && f.Hora < 24 && f.Minuto < 60 && f.Segundo < 60;
}

void Poner_Hora(Fecha_Hora& f, const std::vector<int>& n, size_t desde) {
    if (desde < n.size())
        f.Hora = n[desde];
    if (desde + 1 < n.size())
        f.Minuto = n[desde + 1];
    if (desde + 2 < n.size())
        f.Segundo = n[desde + 2];
}

std::optional<Fecha_Hora> Interpretar(const Partes& p) {
    const auto& n = p.numeros;
    const auto& s = p.separadores;
    Fecha_Hora f;
    if (n.size() >= 3 && (s.substr(0, 2) == "//" || s.substr(0, 2) == "--")) {
        if (p.anchos[0] == 4) {
            f.Anio = n[0], f.Mes = n[1], f.Dia = n[2];
        } else if (p.anchos[2] == 4) {
            f.Dia = n[0], f.Mes = n[1], f.Anio = n[2];
        } else {
            return std::nullopt;
        }
        // At most "hh:mm:ss" after the date, set off by a blank or a "T".
        if (n.size() > 6)
            return std::nullopt;
        if (n.size() > 3 &&
            ((s[2] != ' ' && s[2] != 'T') || s.find_first_not_of(':', 3) != std::string::npos))
            return std::nullopt;
        Poner_Hora(f, n, 3);
    } else if (n.size() >= 2 && n.size() <= 3 && s.find_first_not_of(':') == std::string::npos) {
        Poner_Hora(f, n, 0);
    } else {
        return std::nullopt;
    }
    if (!Fecha_Valida(f))
        return std::nullopt;
    return f;
}

}  // namespace

Fecha_Hora Desde_Segundos(long long total) {
    const long long dias = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    const long long resto = total - dias * 86400;
    const year_month_day ymd{sys_days{days{dias}}};
    return Fecha_Hora{static_cast<int>(ymd.year()),
                      static_cast<int>(static_cast<unsigned>(ymd.month())),
                      static_cast<int>(static_cast<unsigned>(ymd.day())),
                      static_cast<int>(resto / 3600),
                      static_cast<int>(resto % 3600 / 60),
                      static_cast<int>(resto % 60)};
}

long long En_Segundos(const Fecha_Hora& f) {
    return static_cast<long long>(Dias_Desde_Epoca(f).time_since_epoch().count()) * 86400 +
           f.Hora * 3600LL + f.Minuto * 60LL + f.Segundo;
}

std::string Formato_Fecha(const Fecha_Hora& f) {
    return fmt::format("{:02}/{:02}/{:04}", f.Dia, f.Mes, f.Anio);
}

std::string Formato_Hora(const Fecha_Hora& f) {
    return fmt::format("{:02}:{:02}", f.Hora, f.Minuto);
}

std::string Formato_Fecha_Hora(const Fecha_Hora& f) {
    return Formato_Fecha(f) + " " + Formato_Hora(f);
}

std::string Formato_Fecha_Corta(const Fecha_Hora& f) {
    return fmt::format("{:02}-{:02}-{:02}", f.Dia, f.Mes, f.Anio % 100);
}

std::string Formato_Fecha_SQL(const Fecha_Hora& f) {
    return fmt::format("{:04}/{:02}/{:02}", f.Anio, f.Mes, f.Dia);
}

std::string Formato_Fecha_Hora_SQL(const Fecha_Hora& f) {
    return Formato_Fecha_SQL(f) + fmt::format(" {:02}:{:02}:{:02}", f.Hora, f.Minuto, f.Segundo);
}

std::string Formato_ISO(const Fecha_Hora& f) {
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}", f.Anio, f.Mes, f.Dia, f.Hora,
                       f.Minuto, f.Segundo);
}

std::optional<Fecha_Hora> Leer_Fecha_Hora(std::string_view texto) {
    while (!texto.empty() && texto.front() == ' ')
        texto.remove_prefix(1);
    while (!texto.empty() && texto.back() == ' ')
        texto.remove_suffix(1);
    // Fractions of a second, as some drivers give them, are of no use here.
    if (const auto punto = texto.find('.'); punto != std::string_view::npos && punto > 10)
        texto = texto.substr(0, punto);
    const auto partes = Partir(texto);
    if (!partes)
        return std::nullopt;
    return Interpretar(*partes);
}

Fecha_Hora Sumar_Segundos(const Fecha_Hora& f, long long segundos) {
    return Desde_Segundos(En_Segundos(f) + segundos);
}

long long Segundos_Entre(const Fecha_Hora& a, const Fecha_Hora& b) {
    return En_Segundos(b) - En_Segundos(a);
}

Fecha_Hora Sumar_Dias(const Fecha_Hora& f, int dias) {
    return Sumar_Segundos(f, dias * 86400LL);
}

int Dias_Entre(const Fecha_Hora& a, const Fecha_Hora& b) {
    return static_cast<int>((Dias_Desde_Epoca(b) - Dias_Desde_Epoca(a)).count());
}

Fecha_Hora Solo_Fecha(const Fecha_Hora& f) {
    return Fecha_Hora{f.Anio, f.Mes, f.Dia, 0, 0, 0};
}

}  // namespace facturador
