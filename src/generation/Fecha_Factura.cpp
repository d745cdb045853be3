#include "generation/Fecha_Factura.h"

namespace facturador {

std::string Fecha_para_Timbrar(const Fecha_Hora& fecha_solicitud, const Relojes_Lugar& relojes,
                               Instante ahora) {
    const Fecha_Hora hoy = Hora_Temprana(relojes, ahora);
    const int dias = Dias_Entre(fecha_solicitud, hoy);
    if (dias < 3)
        return Formato_ISO(hoy);
    const Fecha_Hora dia = dias == 3 ? fecha_solicitud : Sumar_Dias(hoy, -3);
    const Fecha_Hora descrita{dia.Anio, dia.Mes, dia.Dia, 23, 59, 50};
    const Instante limite = ahora - kAtraso_Maximo + kMargen_Atraso;
    if (Primer_Instante(relojes, descrita) >= limite)
        return Formato_ISO(descrita);
    return Formato_ISO(Hora_Tardia(relojes, limite));
}

}  // namespace facturador
