#include "Pase_Generacion.h"

#include "Banco.h"
#include "Siembra_Banco.h"
#include "data/Conexiones.h"
#include "data/Sucursales.h"
#include "generation/Estado_Generacion.h"
#include "generation/Generacion.h"
#include "issuing_config/Datos_Emision.h"

namespace facturador {

void Preparar_Generacion(const std::string& carpeta) {
    Conexion preparacion;
    Abrir_Conexion_Central(preparacion);
    Vaciar_Tablas_Centrales(preparacion);
    Sembrar_Sucursales(preparacion, carpeta);
    Cerrar_Conexion(preparacion);
    Reiniciar_Estado_Generacion();
    Tomar_Turno_Banco();
    Cargar_Sucursales();
    Cargar_Datos_de_Emision();
}

Pase_Generacion Medir_Pase_Generacion(int primero, int cantidad) {
    Conexion preparacion;
    Abrir_Conexion_Central(preparacion);
    Sembrar_Solicitudes(preparacion, primero, cantidad);
    Cerrar_Conexion(preparacion);

    Pase_Generacion pase;
    pase.Cantidad = cantidad;
    pase.Gasto = Medir([] {
        Conexion ciclo;
        Abrir_Conexion_Central(ciclo);
        Generar_Archivos_para_Timbrar(ciclo);
        Cerrar_Conexion(ciclo);
    });

    Abrir_Conexion_Central(preparacion);
    const std::string desde = std::to_string(primero);
    pase.En_Status_2 = Contar(
        preparacion,
        "SELECT COUNT(*) FROM Solicitudes_de_Facturas_OL WHERE Status = 2 AND ID >= " + desde);
    Cerrar_Conexion(preparacion);
    return pase;
}

}  // namespace facturador
