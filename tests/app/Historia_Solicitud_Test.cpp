#include "app/Historia_Solicitud.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "Apoyo_App.h"
#include "app/Acciones_Solicitud.h"
#include "app/Bitacora_Solicitud.h"
#include "app/Documentos_Guardados.h"
#include "data/Conexiones.h"

namespace facturador::pruebas {
namespace {

// Branch 3's folders and requests of every status, each with what it would have left behind.
class Historia_Test : public Prueba_App {
  protected:
    Historia_Test() : c(Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s"), 3, "Centro", "A", 9)) {}

    static Columnas En_Cola(int folio, const char* status = "2") {
        return {{"Status", status},
                {"Serie", "'A'"},
                {"Folio", std::to_string(folio)},
                {"ID_Factura", std::to_string(-folio)},
                {"Archivo", "'Factura A Folio " + std::to_string(folio) + "'"}};
    }
    static Historia_Solicitud Leer(int id) {
        auto historia = En_Central([&](Conexion& c) { return Leer_Historia_Solicitud(c, id); });
        EXPECT_TRUE(historia.has_value()) << id;
        return historia.value_or(Historia_Solicitud{});
    }
    static std::string Donde(const Historia_Solicitud& h) {
        std::string donde;
        for (const Archivo_de_Solicitud& a : h.Archivos)
            donde +=
                (donde.empty() ? "" : "|") + a.Donde + ":" + a.Ruta.substr(a.Ruta.rfind('/') + 1);
        return donde;
    }

    Carpetas_Sucursal c;
};

// Where each request's files are now, whether --reencolar's conditions hold for it, and the rows a
// stamped request left: its invoice, invoiced amount, stored documents and re-queue asks.
TEST_F(Historia_Test, Los_Archivos_De_Cada_Status_Y_Lo_Que_Dejo_La_Timbrada) {
    Sembrar_Solicitud(11);
    Sembrar_Solicitud(12, En_Cola(5));
    Escribir_Archivo(Unir_Ruta(c.cola, ".Factura A Folio 5.txt.12.turno1.pendiente"), "x");
    Escribir_Archivo(Unir_Ruta(c.cola, ".Factura A Folio 50.txt.12.turno1.pendiente"), "otra");
    Sembrar_Solicitud(13, En_Cola(6));
    Escribir_Archivo(Unir_Ruta(c.cola, "Factura A Folio 6.txt"), "x");
    Sembrar_Solicitud(14, En_Cola(7));
    Sembrar_Solicitud(15, En_Cola(8, "3"));
    Escribir_Archivo(Unir_Ruta(c.validas, "Factura A Folio 8.xml"), "<x/>");
    Escribir_Archivo(Unir_Ruta(c.validas, "Factura A Folio 8.pdf"), "%PDF");
    Columnas rechazada = En_Cola(9, "4");
    rechazada["Resultado"] = "'Error: RFC inexistente'";
    Sembrar_Solicitud(16, rechazada);
    Escribir_Archivo(Unir_Ruta(c.no_validas, "Factura A Folio 9-error timbrado.txt"), "RFC");

    const std::string no_status2 = " y sólo se reencola una solicitud en status 2.";
    const std::tuple<int, std::string, std::optional<std::string>> casos[] = {
        {11, "", "la solicitud está en status 1" + no_status2},
        {12, "En espera:.Factura A Folio 5.txt.12.turno1.pendiente",
         "ya existe " + Unir_Ruta(c.cola, ".Factura A Folio 5.txt.12.turno1.pendiente") + "."},
        {13, "En cola:Factura A Folio 6.txt",
         "ya existe " + Unir_Ruta(c.cola, "Factura A Folio 6.txt") + "."},
        {14, "", std::nullopt},
        {15, "Válidas:Factura A Folio 8.xml|Válidas:Factura A Folio 8.pdf",
         "la solicitud está en status 3" + no_status2},
        {16, "NO válidas:Factura A Folio 9-error timbrado.txt",
         "la solicitud está en status 4" + no_status2},
    };
    for (const auto& [id, donde, impedimento] : casos) {
        const Historia_Solicitud h = Leer(id);
        EXPECT_EQ(Donde(h), donde) << id;
        EXPECT_EQ(h.Impedimento_Reencolado, impedimento) << id;
        for (const Archivo_de_Solicitud& a : h.Archivos)
            EXPECT_EQ(a.Modificado.size(), 19u) << a.Ruta;
    }
    EXPECT_EQ(Leer(16).Resultado, "Error: RFC inexistente");

    Ejecutar_Central(
        "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, UUID, fecha, total, Status) "
        "VALUES (-8, 'A', 8, '5F0A6C1E-0000-4000-8000-000000000008', '2026-12-05T10:15:40', "
        "1160.5, 2)");
    Ejecutar_Central(
        "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Solicitud, ID_Sucursal, Fecha, Hora, Total, "
        "Status, Serie, Folio) VALUES (4711, 15, 3, '2026/12/05', '10:15:40', 116, 0, 'A', 8)");
    Ejecutar_Central(
        "INSERT INTO Comprobantes_Fiscales (ID, ID_Factura, Titulo, Nombre_Archivo, "
        "Tamanio_Documento, Descripcion, FUM) VALUES (-1, -8, 'Documento PDF  A8', "
        "'Factura A Folio 8.pdf', 4, 'PDF', '05/12/2026')");
    Ejecutar_Central(
        "INSERT INTO Pedidos_Reencolado (ID_Solicitud, Pedido_Por, Status, Resultado) VALUES "
        "(15, 'operador', 3, 'No se reencola: ...')");
    const Historia_Solicitud h = Leer(15);
    ASSERT_TRUE(h.Factura.has_value());
    EXPECT_EQ(h.Factura->UUID, "5F0A6C1E-0000-4000-8000-000000000008");
    EXPECT_EQ(
        h.Factura->Serie + h.Factura->Folio + " " + h.Factura->Total + " " + h.Factura->Status,
        "A8 1,160.50 Timbrada");
    ASSERT_EQ(h.Montos.size(), 1u);
    EXPECT_EQ(h.Montos[0].Fecha + " " + h.Montos[0].Total + " " + h.Montos[0].Status,
              "05/12/2026 10:15 116.00 Vigente");
    ASSERT_EQ(h.Documentos.size(), 1u);
    EXPECT_EQ(h.Documentos[0].Titulo + "|" + h.Documentos[0].Descripcion, "Documento PDF  A8|PDF");
    ASSERT_EQ(h.Pedidos.size(), 1u);
    EXPECT_FALSE(h.Pedido_Abierto());
    EXPECT_EQ(h.Campos.front(), (std::pair<std::string, std::string>{"ID", "15"}));
    EXPECT_EQ(h.Campos.size(),
              Consultar_Central("SELECT * FROM Solicitudes_de_Facturas_OL").Columnas().size());
    EXPECT_EQ(h.PDF + h.XML, Unir_Ruta(c.validas, "Factura A Folio 8.pdf") +
                                 Unir_Ruta(c.validas, "Factura A Folio 8.xml"));

    Ejecutar_Central("DELETE FROM Configuracion_Facturas_Electronicas");
    EXPECT_EQ(Leer(13).Aviso_Archivos,
              "La sucursal 3 no tiene perfil de emisión: no se sabe en qué carpetas buscar.");
    EXPECT_FALSE(En_Central([](Conexion& c) { return Leer_Historia_Solicitud(c, 404); }));
}

// The lines that name request 101 (not 1010), from the worker's and the console's daily logs
// dated from the request's date on, in the order of their days and times.
TEST_F(Historia_Test, Las_Lineas_De_Las_Bitacoras_Que_La_Nombran) {
    const Carpeta_Temporal servicio;
    const auto escribir = [](const std::string& carpeta, const char* nombre, const char* texto) {
        Escribir_Archivo(Unir_Ruta(carpeta, nombre), texto);
    };
    escribir(servicio.Ruta(), "log_04_12_2026.txt",
             "Ver. V. 5.3.0 - 09:00 -  Solicitud ID: 101 - de antes\r\n \r\n");
    escribir(servicio.Ruta(), "log_05_12_2026.txt",
             "Ver. V. 5.3.0 - 10:15 -  Solicitud ID: 101 - Ticket Nro. 4711 - Se inicia\r\n \r\n"
             "Ver. V. 5.3.0 - 10:16 -  Solicitud ID: 1010 - otra\r\n \r\n"
             "Ver. V. 5.3.0 - 10:20 -  Error en solicitud: 101 - Ticket Nro. 4711 - falla\r\n");
    escribir(entorno.Carpeta(), "log_05_12_2026.txt",
             "Ver. V. 5.3.0 - 10:17 -  Solicitud ID: 101 - Reactivada por el operador ana\r\n");
    escribir(entorno.Carpeta(), "log_06_12_2026.txt.bak", "Solicitud ID: 101 - copia\r\n");
    // A log's name in the service's folder is read only as a regular file, up to its limit: a pipe
    // is not waited on, a link not followed, a huge log costs its first megabytes.
    ASSERT_EQ(mkfifo(Unir_Ruta(servicio.Ruta(), "log_06_12_2026.txt").c_str(), 0600), 0);
    escribir(entorno.Carpeta(), "ajeno.txt",
             "Ver. V. 5.3.0 - 11:00 -  Solicitud ID: 101 - ajena\r\n");
    std::filesystem::create_symlink(Unir_Ruta(entorno.Carpeta(), "ajeno.txt"),
                                    Unir_Ruta(servicio.Ruta(), "log_07_12_2026.txt"));
    const std::string enorme = Unir_Ruta(servicio.Ruta(), "log_08_12_2026.txt");
    Escribir_Archivo(enorme, "Ver. V. 5.3.0 - 08:00 -  Solicitud ID: 101 - al principio\r\n");
    std::filesystem::resize_file(enorme, kMaximo_Bitacora + 1);
    const Lineas_Bitacora l = Lineas_de_Solicitud(
        {servicio.Ruta(), entorno.Carpeta(), Unir_Ruta(entorno.Carpeta(), "no_existe")}, 101,
        {2026, 12, 5});
    EXPECT_EQ(l.Lineas, (std::vector<std::string>{
                            "05/12/2026 10:15  Solicitud ID: 101 - Ticket Nro. 4711 - Se inicia",
                            "05/12/2026 10:17  Solicitud ID: 101 - Reactivada por el operador ana",
                            "05/12/2026 10:20  Error en solicitud: 101 - Ticket Nro. 4711 - falla",
                            "08/12/2026 08:00  Solicitud ID: 101 - al principio"}));
    EXPECT_EQ(l.Alcance, "Bitácoras del 05/12/2026 al 08/12/2026.");
    ASSERT_EQ(l.Avisos.size(), 2u);
    EXPECT_EQ(std::ranges::count(l.Avisos, enorme + " es demasiado grande: se leyeron sus primeros "
                                                    "32 MB."),
              1);
    const auto ilegible = [&](const std::string& aviso) {
        return aviso.starts_with("No se pueden leer las bitácoras de " +
                                 Unir_Ruta(entorno.Carpeta(), "no_existe")) &&
               aviso.ends_with(
                   ". La cuenta del operador debe pertenecer al grupo facturador para leerla.");
    };
    EXPECT_EQ(std::ranges::count_if(l.Avisos, ilegible), 1);
    for (const auto& [linea, nombra] : {std::pair{"Solicitud ID: 101", true},
                                        {"Solicitud ID: 1010 -", false},
                                        {"x Solicitud ID: 101 - y", true},
                                        {"Error en solicitud: 1012", false},
                                        {"solicitud 101", false}})
        EXPECT_EQ(Linea_Nombra_Solicitud(linea, 101), nombra) << linea;
}

// A stored document is written into the operator's folder under the last part of its stored name,
// whichever separator a copy stored it with; a name with no usable last part is the row's.
TEST(Documentos_Guardados, La_Copia_Queda_En_La_Carpeta_Con_El_Ultimo_Tramo_Del_Nombre) {
    const Carpeta_Temporal carpeta;
    for (const auto& [guardado, escrito] :
         {std::pair{"Factura A Folio 6.pdf", "Factura A Folio 6.pdf"},
          {"../../fuera.pdf", "fuera.pdf"},
          {"C:\\Facturas\\A 6.pdf", "A 6.pdf"},
          {"", "Documento 7.PDF"},
          {"cola/.", "Documento 7.PDF"},
          {"..", "Documento 7.PDF"},
          {"validas/", "Documento 7.PDF"}}) {
        const Documento_de_Solicitud documento{7, "", guardado, "PDF", 0, ""};
        EXPECT_EQ(Escribir_Copia_Documento(carpeta.Ruta(), documento, "%PDF"),
                  Unir_Ruta(carpeta.Ruta(), escrito))
            << guardado;
    }
}

}  // namespace
}  // namespace facturador::pruebas
