#include "app/Salida_Salud.h"

#include <fmt/format.h>

#include <cstdlib>

#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr const char* kNombres_Estado[] = {"bien", "advertencia", "critico", "desconocido"};
constexpr const char* kTitulos_Estado[] = {"BIEN", "ADVERTENCIA", "CRÍTICO", "DESCONOCIDO"};

// --- JSON ---

std::string Cadena(std::string_view texto) {
    std::string json = "\"";
    for (const char c : Texto_Leido(texto)) {
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20)
                    json += fmt::format("\\u{:04x}", static_cast<unsigned char>(c));
                else
                    json += c;
        }
    }
    return json + "\"";
}

std::string Momento(const std::optional<Fecha_Hora>& momento) {
    return momento ? Cadena(Formato_ISO(*momento)) : "null";
}

template <typename Elemento, typename Convertir>
std::string Lista(const std::vector<Elemento>& elementos, Convertir convertir) {
    std::string json = "[";
    for (const Elemento& e : elementos)
        json += (json.size() > 1 ? "," : "") + convertir(e);
    return json + "]";
}

std::string Espera_JSON(const std::optional<Espera_Solicitud>& espera) {
    if (!espera)
        return "null";
    return fmt::format(R"({{"id":{},"desde":{},"segundos":{}}})", espera->ID,
                       Cadena(Formato_ISO(espera->Desde)), espera->Segundos);
}

std::string Cifras_JSON(const Salud_Sucursal& s) {
    return fmt::format(R"("status_1":{},"status_2":{},"status_3":{},"status_4":{},"sin_rfc":{},)"
                       R"("mas_antigua_1":{},"mas_antigua_2":{},"atascadas":{},"discrepancias":{},)"
                       R"("no_almacenables":{},"archivos_en_cola":{})",
                       s.Por_Status[1], s.Por_Status[2], s.Por_Status[3], s.Por_Status[4],
                       s.Sin_RFC, Espera_JSON(s.Mas_Antigua_1), Espera_JSON(s.Mas_Antigua_2),
                       s.Atascadas, s.Discrepancias, s.No_Almacenables,
                       s.Archivos_En_Cola ? std::to_string(*s.Archivos_En_Cola) : "null");
}

std::string Sucursal_JSON(const Salud_Sucursal& s) {
    return fmt::format(
        R"({{"id":{},"nombre":{},{},"carpetas_faltantes":{},"zona_horaria":{},"huso_catalogo":{},)"
        R"("perfil_invalido":{}}})",
        s.ID, Cadena(s.Nombre), Cifras_JSON(s), Lista(s.Carpetas_Faltantes, Cadena),
        Cadena(s.Zona_Horaria), s.Huso_Catalogo.empty() ? "null" : Cadena(s.Huso_Catalogo),
        s.Perfil_Invalido ? Cadena(*s.Perfil_Invalido) : "null");
}

std::string Observacion_JSON(const Observacion_Informada& o) {
    const Observacion_Solicitud& s = o.Observacion;
    return fmt::format(
        R"({{"tipo":{},"id":{},"sucursal":{},"ticket":{},"serie":{},"folio":{},"desde":{},)"
        R"("detalle":{}}})",
        Cadena(o.Tipo), s.ID, s.ID_Sucursal, s.Nro_Ticket, Cadena(s.Serie), s.Folio,
        Cadena(Formato_ISO(s.Desde)), Cadena(s.Detalle));
}

std::string Turno_JSON(const std::optional<Lectura_Turno>& turno) {
    if (!turno)
        return "null";
    return fmt::format(R"({{"titular":{},"epoca":{},"vence":{},"segundos_restantes":{}}})",
                       Cadena(turno->Titular), turno->Epoca,
                       turno->Vence.empty() ? "null" : Cadena(turno->Vence),
                       turno->Segundos_Restantes);
}

std::string Booleano(const std::optional<bool>& valor) {
    return valor ? (*valor ? "true" : "false") : "null";
}

// --- text ---

std::string Texto_Turno(const Lectura_Turno& turno) {
    if (turno.Titular.empty())
        return "Turno de trabajo: libre\n";
    const long long restantes = turno.Segundos_Restantes;
    return fmt::format("Turno de trabajo: {} (época {}), {} {} ({} {})\n",
                       Sin_Controles(turno.Titular), turno.Epoca,
                       restantes > 0 ? "vence" : "venció", turno.Vence,
                       restantes > 0 ? "en" : "hace", Texto_Duracion(std::abs(restantes)));
}

std::string Texto_Espera(const std::optional<Espera_Solicitud>& espera) {
    return espera ? fmt::format("{} (ID {})", Texto_Duracion(espera->Segundos), espera->ID) : "-";
}

std::string Fila(const std::string& nombre, const Salud_Sucursal& s) {
    return fmt::format("{:<26} {:>9} {:>9} {:>9} {:>9} {:>8} {:>8}  {:<20} {}\n", nombre,
                       s.Por_Status[1], s.Por_Status[2], s.Por_Status[3], s.Por_Status[4],
                       s.Sin_RFC, s.Archivos_En_Cola ? std::to_string(*s.Archivos_En_Cola) : "?",
                       Texto_Espera(s.Mas_Antigua_1), Texto_Espera(s.Mas_Antigua_2));
}

std::string Tabla(const Informe_Salud& informe) {
    std::string texto = fmt::format("{:<26} {:>9} {:>9} {:>9} {:>9} {:>8} {:>8}  {:<20} {}\n",
                                    "Sucursal", "Status 1", "Status 2", "Status 3", "Status 4",
                                    "Sin RFC", "En cola", "Más antigua en 1", "Más antigua en 2");
    for (const Salud_Sucursal& s : informe.Sucursales)
        texto += Fila(fmt::format("{} {}", s.ID, s.Nombre), s);
    return texto + Fila("Total", informe.Total);
}

// Each branch's zone, and its catalogue row's reckoning where it differs.
std::string Texto_Zonas(const Informe_Salud& informe) {
    std::string texto = "Zonas horarias:\n";
    for (const Salud_Sucursal& s : informe.Sucursales)
        if (!s.Zona_Horaria.empty())
            texto += fmt::format(
                "  {} {}: {}{}\n", s.ID, Sin_Controles(s.Nombre), s.Zona_Horaria,
                s.Huso_Catalogo.empty() ? "" : "; catálogo c_CodigoPostal: " + s.Huso_Catalogo);
    return texto;
}

std::string Texto_Observaciones(const Informe_Salud& informe) {
    if (informe.Observaciones.empty())
        return "";
    std::string texto = "Observaciones de la recepción:\n";
    for (const Observacion_Informada& o : informe.Observaciones)
        texto += fmt::format("  {}: solicitud {}, sucursal {}, ticket {}, {} {}, desde {}: {}\n",
                             o.Tipo, o.Observacion.ID, o.Observacion.ID_Sucursal,
                             o.Observacion.Nro_Ticket, o.Observacion.Serie, o.Observacion.Folio,
                             Formato_Fecha_Hora(o.Observacion.Desde),
                             Sin_Controles(o.Observacion.Detalle));
    return texto;
}

std::string Texto_Ultimo_Ciclo(const Informe_Salud& informe) {
    if (!informe.Ultimo_Ciclo_Exitoso)
        return "Último ciclo exitoso: no consta\n";
    const Fecha_Hora& ciclo = *informe.Ultimo_Ciclo_Exitoso;
    return fmt::format("Último ciclo exitoso: {} {:02}:{:02}:{:02} (hace {})\n",
                       Formato_Fecha(ciclo), ciclo.Hora, ciclo.Minuto, ciclo.Segundo,
                       Texto_Duracion(std::max(
                           0LL, Segundos_Entre(*informe.Ultimo_Ciclo_Exitoso, informe.Ahora))));
}

}  // namespace

std::string Salud_En_Texto(const Informe_Salud& informe) {
    const int codigo = Codigo_Salida(informe.Estado);
    const std::string primero =
        informe.Motivos.empty() ? "La facturación está al día." : informe.Motivos.front();
    std::string texto =
        fmt::format("FACTURADOR {} - {}\n", kTitulos_Estado[codigo], Sin_Controles(primero));
    for (size_t i = 1; i < informe.Motivos.size(); ++i)
        texto += "- " + Sin_Controles(informe.Motivos[i]) + "\n";
    if (informe.Estado == Estado_Salud::Desconocido)
        return texto;
    if (informe.Turno)
        texto += Texto_Turno(*informe.Turno);
    if (informe.Estado == Estado_Salud::Critico)
        return texto;
    return texto + Texto_Ultimo_Ciclo(informe) + Tabla(informe) + Texto_Zonas(informe) +
           Texto_Observaciones(informe);
}

std::string Salud_En_JSON(const Informe_Salud& informe) {
    const int codigo = Codigo_Salida(informe.Estado);
    const bool con_cifras =
        informe.Estado == Estado_Salud::Bien || informe.Estado == Estado_Salud::Advertencia;
    return fmt::format(
        R"({{"estado":{},"codigo":{},"ahora":{},"motivos":{},"ultimo_ciclo_exitoso":{},)"
        R"("programa_corriendo":{},"ultimo_ciclo":{},"turno":{},)"
        R"("total":{},"sucursales":{},"observaciones":{}}})"
        "\n",
        Cadena(kNombres_Estado[codigo]), codigo, Cadena(Formato_ISO(informe.Ahora)),
        Lista(informe.Motivos, Cadena), Momento(informe.Ultimo_Ciclo_Exitoso),
        Booleano(informe.Programa_Corriendo), Momento(informe.Ultimo_Ciclo),
        Turno_JSON(informe.Turno), con_cifras ? "{" + Cifras_JSON(informe.Total) + "}" : "null",
        Lista(informe.Sucursales, Sucursal_JSON), Lista(informe.Observaciones, Observacion_JSON));
}

}  // namespace facturador
