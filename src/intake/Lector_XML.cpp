#include "intake/Lector_XML.h"

#include <cerrno>

#include "intake/Almacenabilidad.h"
#include "platform/Archivos.h"
#include "platform/Documento_XML.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

std::string Leer_Texto_XML(const std::string& ruta) {
    const Contenido_Archivo leido = Leer_Archivo_Regular(ruta, kMaximo_Documento);
    if (!leido.Completo)
        throw Error_Plataforma(
            EFBIG, "el XML pesa más de " + std::to_string(kMaximo_Documento) + " bytes: " + ruta);
    Texto_XML texto = Decodificar_XML(leido.Bytes);
    if (!texto.Texto)
        throw Error_Plataforma(EILSEQ, texto.Problema + ": " + ruta);
    return std::move(*texto.Texto);
}

}  // namespace facturador
