#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace timbrador {

// One transferred tax of a concept or of the whole invoice.
struct Traslado {
    std::string base;
    std::string impuesto;
    std::string tipo_factor;
    std::string tasa_o_cuota;
    std::string importe;
};

// The file to stamp as the program leaves it in the queue: sections such as [Comprobante] or
// [Receptor] holding "key=value" lines.
class Archivo_para_Timbrar {
  public:
    // From the file's bytes (Windows-1252, lines ended by CR LF); values are kept in UTF-8, as
    // written, without trimming. The first occurrence of a repeated key wins.
    static Archivo_para_Timbrar Leer(std::string_view bytes);

    bool Tiene_Seccion(const std::string& seccion) const;
    // The value of the key in the section; empty when either is missing.
    std::string Valor(const std::string& seccion, const std::string& clave) const;
    // "Concepto1", "Concepto2", ... as far as they go without a gap.
    std::vector<std::string> Conceptos() const;
    // The section's "TrasladoBase1", "TrasladoImpuesto1", ... groups, as far as they go.
    std::vector<Traslado> Traslados(const std::string& seccion) const;

  private:
    std::map<std::string, std::map<std::string, std::string>> secciones_;
};

}  // namespace timbrador
