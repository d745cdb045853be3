#include "generation/Fecha_Factura.h"

#include <fmt/format.h>

namespace facturador {

std::string Fecha_para_Timbrar(const Fecha_Hora& fecha_solicitud, const Fecha_Hora& ahora) {
    const int dias = Dias_Entre(fecha_solicitud, ahora);
    Fecha_Hora fecha = ahora;
    if (dias >= 3) {
        const Fecha_Hora dia = dias == 3 ? fecha_solicitud : Sumar_Dias(ahora, -3);
        fecha = Fecha_Hora{dia.Anio, dia.Mes, dia.Dia, 23, 59, 50};
    }
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}", fecha.Anio, fecha.Mes, fecha.Dia,
                       fecha.Hora, fecha.Minuto, fecha.Segundo);
}

}  // namespace facturador
