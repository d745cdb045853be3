#pragma once

#include <string>

#include "Carpetas.h"
#include "Instante.h"
#include "apoyo/Entorno_Pruebas.h"

namespace timbrador::pruebas {

// The values of a file to stamp that the tests vary; the rest is fixed.
struct Datos_Prueba {
    std::string serie = "A";
    std::string folio = "1501";
    std::string fecha = "2026-12-05T10:15:40";
    std::string subtotal = "100.00";
    std::string iva = "16.00";
    std::string total = "116.00";
    std::string lugar_expedicion = "06000";
    std::string rfc_emisor = "TCO010101AB1";
    std::string nombre_emisor = "Tulipanes Comercial SA de CV";
    std::string rfc_receptor = "PEÑJ800101AB1";
    std::string nombre_receptor = "Juan Peña Güemes";
    std::string cp_receptor = "03100";
    std::string uso = "G03";
};

// The 77 lines of a file to stamp as the program writes them: Windows-1252, CR LF.
std::string Texto_para_Timbrar(const Datos_Prueba& d = {});

// A fixed moment, so that no test depends on the real date.
Instante Ahora_Fijo();

// A temporary branch with its cola/, validas/ and no_validas/ folders.
class Sucursal_Prueba {
  public:
    Sucursal_Prueba();
    // Writes the file into the queue, last written `antiguedad` seconds before Ahora_Fijo().
    std::string Encolar(const std::string& nombre, const std::string& bytes,
                        int antiguedad = 3600) const;
    // Names of the files in a folder, hidden ones included, in order.
    static std::string Listado(const std::string& carpeta);

    facturador::pruebas::Carpeta_Temporal temporal;
    Carpetas_Sucursal carpetas;
};

}  // namespace timbrador::pruebas
