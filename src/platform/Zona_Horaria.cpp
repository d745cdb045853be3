#include "platform/Zona_Horaria.h"

#include <QByteArray>
#include <QDateTime>
#include <QTimeZone>

#include <stdexcept>

namespace facturador {

namespace {

bool Es_Caracter_de_Zona(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '+';
}

// Parts made of tzdata's characters, joined by single "/": never ".", "..", an absolute path or
// the offsets Qt reads by itself ("UTC+05:00"), which no zone of tzdata is.
bool Es_Nombre_de_Zona(std::string_view zona) {
    if (zona.empty() || zona.size() > 64 || zona.front() == '/' || zona.back() == '/' ||
        (zona.starts_with("UTC") && zona.size() > 3))
        return false;
    for (size_t i = 0; i < zona.size(); ++i)
        if (!Es_Caracter_de_Zona(zona[i]) && !(zona[i] == '/' && zona[i - 1] != '/'))
            return false;
    return true;
}

QTimeZone Zona_Qt(std::string_view zona) {
    if (Es_Nombre_de_Zona(zona)) {
        QTimeZone qt(QByteArray(zona.data(), static_cast<qsizetype>(zona.size())));
        if (qt.isValid())
            return qt;
    }
    throw std::invalid_argument("zona horaria desconocida: " + std::string(zona));
}

}  // namespace

bool Es_Zona_Conocida(std::string_view zona) {
    try {
        Zona_Qt(zona);
        return true;
    } catch (const std::invalid_argument&) {
        return false;
    }
}

Fecha_Hora Hora_Local(Instante instante, std::string_view zona) {
    const QDateTime momento = QDateTime::fromSecsSinceEpoch(instante, Zona_Qt(zona));
    const QDate d = momento.date();
    const QTime t = momento.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

Instante Instante_Local(const Fecha_Hora& local, std::string_view zona) {
    const QDateTime momento(QDate(local.Anio, local.Mes, local.Dia),
                            QTime(local.Hora, local.Minuto, local.Segundo), Zona_Qt(zona));
    return momento.toSecsSinceEpoch();
}

long long Diferencia_UTC_Zona(std::string_view zona, Instante instante) {
    const QTimeZone qt = Zona_Qt(zona);
    return qt.offsetFromUtc(QDateTime::fromSecsSinceEpoch(instante, QTimeZone::utc()));
}

std::vector<Instante> Cambios_de_Hora(std::string_view zona, Instante desde, Instante hasta) {
    std::vector<Instante> cambios;
    const QTimeZone qt = Zona_Qt(zona);
    for (const QTimeZone::OffsetData& cambio :
         qt.transitions(QDateTime::fromSecsSinceEpoch(desde, QTimeZone::utc()),
                        QDateTime::fromSecsSinceEpoch(hasta, QTimeZone::utc())))
        cambios.push_back(cambio.atUtc.toSecsSinceEpoch());
    return cambios;
}

std::string Zona_del_Sistema() {
    return QTimeZone::systemTimeZoneId().toStdString();
}

}  // namespace facturador
