#pragma once

#include <string>
#include <string_view>

namespace timbrador {

// What stamping adds to an invoice: the issuer's seal and certificate on the document, and the
// digital tax stamp (folio fiscal UUID, stamp date, the authority's certificate and seal).
// The seals and certificates are random bytes of the real sizes, not real signatures.
struct Timbre {
    std::string uuid;
    std::string fecha_timbrado;
    std::string rfc_prov_certif;
    std::string no_certificado;
    std::string certificado;
    std::string sello;
    std::string no_certificado_sat;
    std::string sello_sat;
};

// A fresh stamp made at `fecha_timbrado` ("yyyy-mm-ddThh:mm:ss"): a random version 4 UUID in
// upper case, 344-character seals and a 2,140-character certificate.
Timbre Nuevo_Timbre(const std::string& fecha_timbrado);

std::string Base64(std::string_view bytes);

}  // namespace timbrador
