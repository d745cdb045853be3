#include "generation/Ocupacion_Folio.h"

#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Archivos.h"

namespace facturador {

namespace {

// A folder the profile leaves empty holds nothing: its files are not looked for at the root.
bool Existe_En(const std::string& carpeta, const std::string& ruta) {
    return !carpeta.empty() && Existe_Archivo(ruta);
}

}  // namespace

Temporales_Cola Temporales_en_Carpeta(const std::string& carpeta_cola) {
    Temporales_Cola temporales;
    for (const std::string& nombre : Archivos_en_Carpeta(carpeta_cola))
        if (const auto temporal = Leer_Nombre_Temporal(nombre))
            temporales.emplace(Unir_Ruta(carpeta_cola, temporal->Nombre_Archivo),
                               Unir_Ruta(carpeta_cola, nombre));
    return temporales;
}

std::optional<std::string> Archivo_Existente(const Datos_Emision& perfil, const Serie_y_Folio& sf,
                                             const Temporales_Cola& temporales) {
    const std::string cola =
        Unir_Ruta(perfil.Ruta_Cola_Facturas, Nombre_Archivo_para_Timbrar(sf.Serie, sf.Folio));
    if (Existe_En(perfil.Ruta_Cola_Facturas, cola))
        return cola;
    if (const auto temporal = temporales.find(cola); temporal != temporales.end())
        return temporal->second;
    const Rutas_Resultado resultado =
        Rutas_de_Resultado(Archivo_Base(sf.Serie, sf.Folio),
                           {perfil.Ruta_Facturas_Validas, perfil.Ruta_Facturas_NO_Validas});
    for (const std::string* ruta : {&resultado.XML, &resultado.PDF})
        if (Existe_En(perfil.Ruta_Facturas_Validas, *ruta))
            return *ruta;
    if (Existe_En(perfil.Ruta_Facturas_NO_Validas, resultado.Error))
        return resultado.Error;
    return std::nullopt;
}

}  // namespace facturador
