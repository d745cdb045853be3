#include "apoyo/Proxy_Central.h"
#include "data/Valores_Campo.h"
#include "generation/Folios.h"
#include "generation/Siembra_Central.h"
#include "issuing_config/Guardar_Configuracion.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

using Perfiles_Emision = Prueba_Central;

// Profiles load with their folders ("*" back to the separator); a branch without one gets a blank
// profile. The loaded folio stays until the next load.
TEST_F(Perfiles_Emision, LoadWithTheirFoldersAndAreBlankWhenMissing) {
    Cargar_Datos_de_Emision();
    EXPECT_TRUE(Datos_Emision_Sucursales().empty());
    EXPECT_EQ(Obtener_Datos_Emision(3), Datos_Emision{});

    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 15);
    Sembrar_Sucursal(4, "Norte", "B", 1);
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET Referencia = NULL, "
        "Ruta_Facturas_NO_Validas = 'sin_asterisco' WHERE ID_Sucursal = 3");
    Cargar_Datos_de_Emision();
    ASSERT_EQ(Datos_Emision_Sucursales().size(), 2u);
    const Datos_Emision d = Obtener_Datos_Emision(3);
    EXPECT_EQ(d.ID_Sucursal, 3);
    EXPECT_EQ(d.Ruta_Cola_Facturas + "|" + d.Ruta_Facturas_Validas,
              carpetas.cola + "|" + carpetas.validas);
    EXPECT_EQ(d.Ruta_Facturas_NO_Validas + "|" + d.Serie_Facturas + d.Folio_Inicial_Facturas + "|" +
                  d.Referencia,
              "sin_asterisco|A15|");
    EXPECT_EQ(Obtener_Datos_Emision(4).Serie_Facturas, "B");
    EXPECT_EQ(Obtener_Datos_Emision(5), Datos_Emision{});

    En_Central([](Conexion& c) { Actualizar_Proximo_Folio(c, 3); });
    EXPECT_EQ(Obtener_Datos_Emision(3).Folio_Inicial_Facturas, "15");
    Cargar_Datos_de_Emision();
    EXPECT_EQ(Obtener_Datos_Emision(3).Folio_Inicial_Facturas, "16");
}

// A profile loaded and saved back as it is leaves each text column's own value in place, except the
// emptied promissory-note legend; the e-mail addresses are not the window's to save.
TEST_F(Perfiles_Emision, AProfileSavedAsLoadedKeepsEveryValueInItsColumn) {
    Sembrar_Sucursal(3, "Centro", "A", 15);
    Recordset columnas = Consultar_Central(
        "SELECT COLUMN_NAME, ORDINAL_POSITION FROM information_schema.COLUMNS WHERE TABLE_SCHEMA "
        "= 'Morvane_Central' AND TABLE_NAME = 'Configuracion_Facturas_Electronicas' AND "
        "DATA_TYPE IN ('varchar', 'text') ORDER BY ORDINAL_POSITION");
    std::string asignaciones, lista, esperado;
    for (; !columnas.Fin(); columnas.Mover_Siguiente()) {
        const std::string columna = columnas.Texto(size_t{0});
        const std::string valor = (columna.starts_with("Ruta_") ? "*v" : "v") + columnas.Texto(1);
        asignaciones += (asignaciones.empty() ? "" : ", ") + columna + " = '" + valor + "'";
        lista += ", " + columna;
        esperado += "|" + (columna == "Leyenda_de_Pagare_Facturas" ? "" : valor);
    }
    ASSERT_GT(lista.size(), 30 * 4u);
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET " + asignaciones);
    Cargar_Datos_de_Emision();
    Datos_Emision d = Obtener_Datos_Emision(3);
    d.email_envio = "nunca@example.com";
    Ejecutar_Central(Sentencia_Guardar_Datos_Emision(d, 16));
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', ''" + lista +
                            ") FROM Configuracion_Facturas_Electronicas"),
              esperado);
    EXPECT_EQ(Folio_Siguiente(3), "16");
}

// A load that fails leaves the profiles loaded before, never an empty table; a save whose reload
// fails still says that the profile was stored, for it was.
TEST_F(Perfiles_Emision, UnaCargaFallidaConservaLosPerfilesYElGuardadoLoDice) {
    Sembrar_Sucursal(3, "Centro", "A", 15);
    Cargar_Datos_de_Emision();
    {
        Tabla_Ausente perfiles("Configuracion_Facturas_Electronicas");
        EXPECT_THROW(Cargar_Datos_de_Emision(), Error_Plataforma);
    }
    EXPECT_EQ(Obtener_Datos_Emision(3).Serie_Facturas, "A");

    Datos_Capturados datos = Obtener_Datos_Emision(3);
    datos.Serie_Facturas = "B";
    {
        const Proxy_Central proxy("SELECT * FROM Configuracion_Facturas_Electronicas",
                                  Proxy_Central::Corte::Antes_de_Ejecutar);
        EXPECT_TRUE(Aceptar_Datos_Emision(datos, Cajas_Llenadas::De_Su_Perfil));
    }
    EXPECT_EQ(Valor_Central("SELECT CONCAT(Serie_Facturas, Folio_Inicial_Facturas) FROM "
                            "Configuracion_Facturas_Electronicas"),
              "B15");
    EXPECT_EQ(Obtener_Datos_Emision(3).Serie_Facturas, "A");
    const auto avisos = entorno.operador.De_Tipo("advertencia");
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_TRUE(Empieza(avisos[0].texto,
                        "Se almacenó correctamente la configuración para la emisión de Facturas "
                        "Electrónicas, pero no se pudieron volver a leer los perfiles"));
}

// From the command line only a profile's three folders change, stored as the window stores them;
// a missing folder or a branch without profile changes nothing.
TEST_F(Perfiles_Emision, LasCarpetasDeUnaSucursalSeGuardanSinTocarElRestoDelPerfil) {
    Sembrar_Sucursal(3, "Centro", "A", 15);
    const auto otras = Sembrar_Sucursal(4, "Norte", "B", 1);
    Cargar_Datos_de_Emision();
    const Datos_Emision antes = Obtener_Datos_Emision(3);
    Datos_Emision esperado = antes;
    Datos_Capturados carpetas;
    carpetas.ID_Sucursal = 9;
    carpetas.Ruta_Cola_Facturas = esperado.Ruta_Cola_Facturas = otras.cola;
    carpetas.Ruta_Facturas_Validas = esperado.Ruta_Facturas_Validas = otras.validas;
    carpetas.Ruta_Facturas_NO_Validas = esperado.Ruta_Facturas_NO_Validas = otras.no_validas;
    EXPECT_EQ(Guardar_Carpetas_Sucursal(carpetas).Mensaje,
              "Sucursal 9: La sucursal seleccionada no tiene registro de configuración de "
              "Facturas Electrónicas en la base de datos central; no se almacenó ningún cambio.");
    carpetas.ID_Sucursal = 3;
    carpetas.Ruta_Facturas_Validas += "/falta";
    const Resultado_Carpetas sin_carpeta = Guardar_Carpetas_Sucursal(carpetas);
    EXPECT_FALSE(sin_carpeta.Hecho);
    EXPECT_EQ(sin_carpeta.Mensaje, "Sucursal 3: no existe la carpeta " +
                                       carpetas.Ruta_Facturas_Validas +
                                       "; no se almacenó ningún cambio.");
    Cargar_Datos_de_Emision();
    EXPECT_EQ(Obtener_Datos_Emision(3), antes);
    carpetas.Ruta_Facturas_Validas = otras.validas;
    EXPECT_TRUE(Guardar_Carpetas_Sucursal(carpetas).Hecho);
    EXPECT_EQ(Valor_Central("SELECT Ruta_Facturas_Validas FROM Configuracion_Facturas_Electronicas "
                            "WHERE ID_Sucursal = 3"),
              Ruta_Para_BD(otras.validas));
    Cargar_Datos_de_Emision();
    EXPECT_EQ(Obtener_Datos_Emision(3), esperado);
}

// Crash recovery tells a waiting file's request and worker from its name alone: it must read back
// exactly (one from before the lease as epoch 0) and nothing else in the queue may pass for one.
TEST(Intercambio_Timbrado, ElNombreTemporalSeLeeDeVueltaYNingunOtroPasaPorUno) {
    const std::string nombre = Nombre_Archivo_para_Timbrar("A.B", 1501);
    EXPECT_EQ(nombre, "Factura A.B Folio 1501.txt");
    EXPECT_EQ(Nombre_Temporal_en_Cola(nombre, 57, 12),
              ".Factura A.B Folio 1501.txt.57.turno12.pendiente");
    for (const auto& [texto, epoca] :
         {std::pair{Nombre_Temporal_en_Cola(nombre, 57, 12), 12},
          std::pair{std::string(".Factura A.B Folio 1501.txt.57.pendiente"), 0}}) {
        const auto leido = Leer_Nombre_Temporal(texto);
        ASSERT_TRUE(leido) << texto;
        EXPECT_EQ(leido->Nombre_Archivo, nombre);
        EXPECT_EQ(leido->ID_Solicitud, 57);
        EXPECT_EQ(leido->Epoca, epoca);
    }
    for (const char* otro :
         {"Factura A Folio 1.txt", ".Factura A Folio 1.txt.copiando",
          ".Factura A Folio 1.txt..pendiente", "..57.pendiente",
          ".Factura A Folio 1.txt.5x.pendiente", "Cancelar_A1.xml",
          ".Factura A Folio 1.txt.99999999999.pendiente",
          ".Factura A Folio 1.txt.57.turno.pendiente", ".Factura A Folio 1.txt.turno3.pendiente"})
        EXPECT_FALSE(Leer_Nombre_Temporal(otro)) << otro;
}

}  // namespace
}  // namespace facturador::pruebas
