#include "app/Estado_Publicado.h"

#include <charconv>
#include <exception>
#include <vector>

#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr const char* kEncabezado = "Facturador estado 1";
// Far more than thousands of observed requests take; a larger file is read up to here.
constexpr size_t kMaximo_Estado = 64 * 1024 * 1024;

struct Lista_Observaciones {
    const char* nombre;
    std::map<int32_t, Observacion_Solicitud> Observaciones_Recepcion::*lista;
};

constexpr Lista_Observaciones kListas[] = {
    {"atascada", &Observaciones_Recepcion::Atascadas},
    {"discrepancia", &Observaciones_Recepcion::Discrepancias},
    {"no_almacenable", &Observaciones_Recepcion::No_Almacenables},
};

std::string Linea(std::initializer_list<std::string> campos) {
    std::string linea;
    for (const std::string& campo : campos)
        linea += (linea.empty() ? "" : "\t") + Sin_Controles(campo);
    return linea + "\n";
}

std::string Texto_Observacion(const char* lista, const Observacion_Solicitud& o) {
    return Linea({lista, std::to_string(o.ID), std::to_string(o.ID_Sucursal),
                  std::to_string(o.Nro_Ticket), o.Serie, std::to_string(o.Folio),
                  Formato_ISO(o.Desde), o.Detalle});
}

std::vector<std::string_view> Partir(std::string_view linea) {
    std::vector<std::string_view> campos;
    for (size_t tab; (tab = linea.find('\t')) != std::string_view::npos;
         linea.remove_prefix(tab + 1))
        campos.push_back(linea.substr(0, tab));
    campos.push_back(linea);
    return campos;
}

std::optional<int32_t> Numero(std::string_view texto) {
    int32_t valor = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (error != std::errc() || fin != texto.data() + texto.size())
        return std::nullopt;
    return valor;
}

// Puts a line of eight fields in its list of observations, if it is one.
void Leer_Observacion(const std::vector<std::string_view>& c, Observaciones_Recepcion& destino) {
    for (const Lista_Observaciones& lista : kListas) {
        if (c[0] != lista.nombre)
            continue;
        const auto id = Numero(c[1]), sucursal = Numero(c[2]), ticket = Numero(c[3]),
                   folio = Numero(c[5]);
        const auto desde = Leer_Fecha_Hora(c[6]);
        if (!id || !sucursal || !ticket || !folio || !desde)
            return;
        (destino.*lista.lista)[*id] = Observacion_Solicitud{
            *id, *sucursal, *ticket, std::string(c[4]), *folio, std::string(c[7]), *desde};
    }
}

void Leer_Linea(std::string_view linea, Estado_Publicado& estado) {
    const std::vector<std::string_view> c = Partir(linea);
    Seguimiento_Solicitudes& s = estado.Seguimiento;
    if (c.size() == 2 && c[0] == "ultimo_ciclo_exitoso") {
        s.Ultimo_Ciclo_Exitoso = Leer_Fecha_Hora(c[1]);
    } else if (c.size() == 2 && c[0] == "ultimo_ciclo") {
        s.Ultimo_Ciclo = Leer_Fecha_Hora(c[1]);
    } else if (c.size() == 2 && c[0] == "revision") {
        s.Revision = Leer_Fecha_Hora(c[1]);
    } else if (c.size() == 4 && c[0] == "vista") {
        const auto status = Numero(c[1]), id = Numero(c[2]);
        const auto desde = Leer_Fecha_Hora(c[3]);
        if (status && id && desde)
            s.Vistas[{*status, *id}] = *desde;
    } else if (c.size() == 2 && c[0] == "sin_rfc") {
        if (const auto id = Numero(c[1]))
            s.Sin_RFC_Avisadas.insert(*id);
    } else if (c.size() == 8) {
        Leer_Observacion(c, estado.Observaciones);
    }
}

std::string Ruta_Estado() {
    return Unir_Ruta(Carpeta_Programa(), kArchivo_Estado);
}

}  // namespace

std::string Texto_Estado_Publicado(const Estado_Publicado& estado) {
    const Seguimiento_Solicitudes& s = estado.Seguimiento;
    std::string texto = std::string(kEncabezado) + "\n";
    if (s.Ultimo_Ciclo_Exitoso)
        texto += Linea({"ultimo_ciclo_exitoso", Formato_ISO(*s.Ultimo_Ciclo_Exitoso)});
    if (s.Ultimo_Ciclo)
        texto += Linea({"ultimo_ciclo", Formato_ISO(*s.Ultimo_Ciclo)});
    if (s.Revision)
        texto += Linea({"revision", Formato_ISO(*s.Revision)});
    for (const auto& [clave, desde] : s.Vistas)
        texto += Linea({"vista", std::to_string(clave.first), std::to_string(clave.second),
                        Formato_ISO(desde)});
    for (const int32_t id : s.Sin_RFC_Avisadas)
        texto += Linea({"sin_rfc", std::to_string(id)});
    for (const Lista_Observaciones& lista : kListas)
        for (const auto& [id, observacion] : estado.Observaciones.*lista.lista)
            texto += Texto_Observacion(lista.nombre, observacion);
    return texto;
}

Estado_Publicado Leer_Estado_Publicado(std::string_view texto) {
    Estado_Publicado estado;
    while (!texto.empty()) {
        const size_t fin = texto.find('\n');
        Leer_Linea(texto.substr(0, fin), estado);
        texto.remove_prefix(fin == std::string_view::npos ? texto.size() : fin + 1);
    }
    return estado;
}

void Escribir_Estado_Publicado(const Estado_Publicado& estado) {
    Reemplazar_Archivo(Ruta_Estado(), Texto_Estado_Publicado(estado));
}

Estado_Publicado Cargar_Estado_Publicado() {
    try {
        return Leer_Estado_Publicado(Leer_Archivo_Regular(Ruta_Estado(), kMaximo_Estado).Bytes);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace facturador
