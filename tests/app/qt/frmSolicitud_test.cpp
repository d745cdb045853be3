#include "app/qt/frmSolicitud.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

#include "../Apoyo_App.h"
#include "apoyo/Proxy_Central.h"
#include "apoyo/qt/Ventanas.h"
#include "issuing_config/Datos_Emision.h"

namespace facturador::pruebas {
namespace {

// Branch 3 and a request of each status, each with what it left in the branch's folders.
class Historia_Ventana_Test : public Prueba_App, protected Ventana_Con_Consultas<frmSolicitud> {
  protected:
    Historia_Ventana_Test()
        : c(Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s"), 3, "Centro", "A", 9)) {
        Sembrar_Ticket(4711, 3, "1000");
        Sembrar_Solicitud(11);
        Sembrar_Solicitud(12, Con_Archivo(2, 5));
        Sembrar_Solicitud(13, Con_Archivo(3, 6));
        Escribir_Archivo(Unir_Ruta(c.validas, "Factura A Folio 6.xml"), "<x/>");
        Escribir_Archivo(Unir_Ruta(c.validas, "Factura A Folio 6.pdf"), "%PDF");
        Sembrar_Fila(
            "Facturas_Electronicas",
            {{"ID_Factura", "-6"}, {"serie", "'A'"}, {"folio", "6"}, {"UUID", "'UUID-6'"}});
        Columnas rechazada = Con_Archivo(4, 7);
        rechazada["Resultado"] = "'Error: RFC del receptor inexistente'";
        Sembrar_Solicitud(14, rechazada);
        Escribir_Archivo(Unir_Ruta(c.no_validas, "Factura A Folio 7-error timbrado.txt"), "x");
        Sembrar_Solicitud(15, Con_Archivo(2, 8));
        Escribir_Archivo(Unir_Ruta(c.cola, "Factura A Folio 8.txt"), "x");
        Cargar_Sucursales();
    }
    ~Historia_Ventana_Test() override { delete ventana.data(); }

    static Columnas Con_Archivo(int status, int folio) {
        return {{"Status", std::to_string(status)},
                {"Serie", "'A'"},
                {"Folio", std::to_string(folio)},
                {"ID_Factura", std::to_string(-folio)},
                {"Archivo", "'Factura A Folio " + std::to_string(folio) + "'"}};
    }
    void Abrir(int id) {
        ventana = Mostrar_Historia_Solicitud(id);
        Esperar();
    }
    QString Texto(const char* etiqueta) { return Ctl<QLabel>(etiqueta)->text(); }
    QStringList Habilitados() {
        QStringList nombres;
        for (const char* b :
             {"cmdAbrir_PDF", "cmdAbrir_XML", "cmdCopiar_UUID", "cmdReactivar", "cmdReencolar"})
            if (Ctl(b)->isEnabled())
                nombres.append(b);
        return nombres;
    }

    Carpetas_Sucursal c;
};

// Each status in words, the reason, where the files are, and only the actions that apply.
TEST_F(Historia_Ventana_Test, La_Historia_De_Cada_Status_Con_Sus_Archivos) {
    const struct {
        int id;
        const char* titulo;
        QStringList donde;
        QStringList habilitados;
    } casos[] = {
        {11, "Solicitud 11 · Pendiente", {}, {}},
        {12, "Solicitud 12 · En espera de timbrado", {}, {"cmdReencolar"}},
        {13,
         "Solicitud 13 · Timbrada",
         {"Válidas|Factura A Folio 6.xml", "Válidas|Factura A Folio 6.pdf"},
         {"cmdAbrir_PDF", "cmdAbrir_XML", "cmdCopiar_UUID"}},
        {14,
         "Solicitud 14 · Rechazada",
         {"NO válidas|Factura A Folio 7-error timbrado.txt"},
         {"cmdReactivar"}},
        {15, "Solicitud 15 · En espera de timbrado", {"En cola|Factura A Folio 8.txt"}, {}},
    };
    for (const auto& caso : casos) {
        Abrir(caso.id);
        EXPECT_EQ(Texto("lblTitulo"), QString::fromUtf8(caso.titulo));
        QStringList donde;
        for (const QString& fila : Filas("tblArchivos"))
            donde.append(fila.section('|', 0, 0) + "|" + fila.section('|', 1, 1).section('/', -1));
        EXPECT_EQ(donde, caso.donde) << caso.id;
        EXPECT_EQ(Habilitados(), caso.habilitados) << caso.id;
    }
    EXPECT_EQ(Textos_Botones(*ventana),
              "Abrir PDF|Abrir XML|Copiar UUID|Reactivar|Reencolar|Actualizar|Cerrar");
    for (const QPushButton* boton : ventana->findChildren<QPushButton*>())  // in one row
        EXPECT_EQ(boton->y(), Ctl("cmdCerrar")->y()) << boton->text().toStdString();
    EXPECT_EQ(Encabezados_Tablas(*ventana),
              "tblPedidos: Pedido|Por|Fecha|Status|Resultado|Atendido\n"
              "tblArchivos: Dónde|Archivo|Modificado\n"
              "tblFactura: Factura|\n"
              "tblMontos: Monto facturado|Total|Status|Serie y Folio\n"
              "tblDocumentos: Documento|Título|Archivo|Tipo|Tamaño|Fecha\n"
              "tblCampos: Campo|Valor");
    Abrir(14);
    EXPECT_EQ(Texto("lblMotivo"), "Motivo: Error: RFC del receptor inexistente");
    EXPECT_TRUE(
        Ctl("cmdReencolar")->toolTip().startsWith("No se reencola: la solicitud está en status 4"));
    Abrir(13);
    EXPECT_TRUE(Filas("tblFactura").contains("UUID|UUID-6"));
    EXPECT_TRUE(Filas("tblCampos").contains("Nombre|JULIA RAMIREZ LOPEZ"));
    // Its daily logs are read from the request's own date on, however long ago that was.
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Fecha = '2026/10/26' WHERE ID = 11");
    Escribir_Archivo(Unir_Ruta(entorno.Carpeta(), "log_26_10_2026.txt"),
                     "Ver. V. 5.3.0 - 09:00 -  Solicitud ID: 11 - recibida\r\n");
    Abrir(11);
    EXPECT_EQ(Ctl<QPlainTextEdit>("txtBitacora")->toPlainText(),
              "26/10/2026 09:00  Solicitud ID: 11 - recibida");
    Abrir(404);
    EXPECT_EQ(Texto("lblEstado"), "No existe la solicitud 404.");
    EXPECT_TRUE(Habilitados().isEmpty());
}

// PDF and XML open in the viewer, the UUID goes to the clipboard; a rejected request is reactivated
// on a confirmation naming its reason, logged, unless another console did it first.
TEST_F(Historia_Ventana_Test, Abrir_Copiar_Y_Reactivar_Con_Sus_Guardas) {
    Abrir(13);
    Clic("cmdAbrir_PDF");
    Clic("cmdAbrir_XML");
    Clic("cmdCopiar_UUID");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "UUID-6");
    EXPECT_EQ(
        entorno.operador.Textos(),
        (std::vector<std::string>{"abrir:  / " + Unir_Ruta(c.validas, "Factura A Folio 6.pdf"),
                                  "abrir:  / " + Unir_Ruta(c.validas, "Factura A Folio 6.xml")}));

    Abrir(14);
    entorno.operador.respuestas = {false};
    Clic("cmdReactivar");
    EXPECT_EQ(Solicitud(14, "Status"), "4");
    EXPECT_EQ(entorno.operador.De_Tipo("confirmacion").back().titulo, "ATENCION");
    EXPECT_EQ(entorno.operador.De_Tipo("confirmacion").back().texto,
              "Se reactivará la Solicitud de Factura 14, rechazada por: Error: RFC del receptor "
              "inexistente");
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Status = 1 WHERE ID = 14");
    entorno.operador.respuestas = {true};
    Clic("cmdReactivar");
    EXPECT_TRUE(
        Texto("lblEstado").startsWith("La solicitud 14 ya no estaba rechazada; no se modificó. "));
    EXPECT_EQ(Veces(Leer_Log(), "Reactivada"), 0);

    // A COMMIT whose answer was lost: said unknown, and the request read anew shows where it is.
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Status = 4 WHERE ID = 14");
    {
        const Proxy_Central proxy("COMMIT", Proxy_Central::Corte::Sin_Respuesta);
        delete ventana.data();  // a new window, whose connection goes through the proxy
        Abrir(14);
        entorno.operador.respuestas = {true};
        Clic("cmdReactivar");
        EXPECT_TRUE(proxy.Cortado());
    }
    EXPECT_TRUE(
        Texto("lblEstado")
            .startsWith("Se perdió la conexión con la base de datos central al confirmar la "
                        "reactivación; no se sabe si la solicitud 14 quedó reactivada: su estado "
                        "abajo lo dice. "));
    EXPECT_EQ(Texto("lblTitulo"), "Solicitud 14 · Pendiente");
    EXPECT_EQ(Veces(Leer_Log(), "Solicitud ID: 14 - Reactivación sin confirmar"), 1);

    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Status = 4 WHERE ID = 14");
    delete ventana.data();  // its connection went with the proxy
    Abrir(14);
    entorno.operador.respuestas = {true};
    Clic("cmdReactivar");
    EXPECT_EQ(Solicitud(14, "CONCAT(Status, Resultado)"), "1");
    EXPECT_EQ(Texto("lblTitulo"), "Solicitud 14 · Pendiente");
    EXPECT_TRUE(
        Texto("lblEstado").startsWith("Se reactivó la solicitud 14; vuelve a pendientes. "));
    EXPECT_FALSE(Ctl("cmdReactivar")->isEnabled());
    EXPECT_EQ(
        Veces(Leer_Log(), "Solicitud ID: 14 - Reactivada por el operador " + Cuenta_Usuario()), 1);
}

// Documents gone from the valid folder open from the central database's copies, written byte for
// byte into the operator's own folder under their names (never leading out of it).
TEST_F(Historia_Ventana_Test, Sin_Archivos_En_Validas_Se_Abren_Los_Guardados) {
    Sembrar_Solicitud(16, Con_Archivo(3, 10));
    const auto guardar = [](const char* id, const char* nombre, const char* tipo,
                            const char* bytes) {
        Sembrar_Fila("Comprobantes_Fiscales", {{"ID", id},
                                               {"ID_Factura", "-10"},
                                               {"Nombre_Archivo", nombre},
                                               {"Descripcion", tipo},
                                               {"Documento", bytes}});
    };
    guardar("1", "'../../Factura A Folio 10.pdf'", "'PDF'", "UNHEX('255044460A00FF')");
    guardar("2", "'Factura A Folio 10.xml'", "'XML'", "'<x>é</x>'");
    Abrir(16);
    EXPECT_EQ(Habilitados(), (QStringList{"cmdAbrir_PDF", "cmdAbrir_XML"}));
    Clic("cmdAbrir_PDF");
    Clic("cmdAbrir_XML");
    EXPECT_EQ(Texto("lblEstado"), QString::fromUtf8("El XML no está en la carpeta de válidas: se "
                                                    "abrió el guardado en la base de datos "
                                                    "central."));
    const auto abiertos = entorno.operador.De_Tipo("abrir");
    ASSERT_EQ(abiertos.size(), 2u);
    const std::filesystem::path pdf = abiertos[0].texto, xml = abiertos[1].texto;
    EXPECT_EQ(pdf.filename(), "Factura A Folio 10.pdf");
    EXPECT_EQ(xml.parent_path(), pdf.parent_path());
    EXPECT_EQ(Leer_Archivo(pdf), std::string("%PDF\n\0\xFF", 7));
    EXPECT_EQ(Leer_Archivo(xml), "<x>é</x>");
    EXPECT_EQ(std::filesystem::status(pdf.parent_path()).permissions(),
              std::filesystem::perms::owner_all);

    Ejecutar_Central("DELETE FROM Comprobantes_Fiscales WHERE ID = 1");
    Clic("cmdAbrir_PDF");
    EXPECT_EQ(Texto("lblEstado"), "El PDF ya no está guardado en la base de datos central.");
    // A stored name longer than a file name may be (200 "é" are 400 bytes): the window says why.
    guardar("3", ("'" + QString(200, u'é').toStdString() + ".pdf'").c_str(), "'PDF'", "'%PDF'");
    Abrir(16);
    Clic("cmdAbrir_PDF");
    EXPECT_TRUE(Texto("lblEstado").startsWith("No se pudo abrir el PDF: "))
        << Texto("lblEstado").toStdString();
    {
        const Proxy_Central proxy("SELECT Documento", Proxy_Central::Corte::Colgado);
        delete ventana.data();  // a new window, whose connection goes through the proxy
        Abrir(16);
        ventana->cmdAbrir_XML_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return proxy.Cortado(); }, kEspera_ms));
        EXPECT_EQ(Texto("lblEstado"), QString::fromUtf8("Leyendo…"));
    }
    Esperar();
    EXPECT_TRUE(Texto("lblEstado").startsWith("No se pudo leer el XML: error "))
        << Texto("lblEstado").toStdString();
    EXPECT_EQ(entorno.operador.De_Tipo("abrir").size(), 2u);
}

// A re-queue is asked through the database and done by the worker's next cycle, the story showing
// both; one whose file is already queued is never asked for.
TEST_F(Historia_Ventana_Test, El_Reencolado_Pedido_Lo_Hace_El_Trabajador_Y_La_Historia_Lo_Sigue) {
    Abrir(15);
    EXPECT_EQ(Ctl("cmdReencolar")->toolTip(),
              "No se reencola: ya existe " +
                  QString::fromStdString(Unir_Ruta(c.cola, "Factura A Folio 8.txt")) + ".");
    entorno.operador.respuestas = {true};
    ventana->cmdReencolar_Click();
    Esperar();
    EXPECT_TRUE(Texto("lblEstado").startsWith("No se pide el reencolado: ya existe"));
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Pedidos_Reencolado"), "0");

    Abrir(12);
    entorno.operador.respuestas = {true};
    Clic("cmdReencolar");
    ASSERT_EQ(Filas("tblPedidos").size(), 1);
    EXPECT_EQ(Filas("tblPedidos")[0].section('|', 1, 3),
              QString::fromStdString(Cuenta_Usuario()) + "|2026-12-05 10:15:40|pedido");
    EXPECT_FALSE(Ctl("cmdReencolar")->isEnabled());

    Cargar_Datos_de_Emision();
    Vista_Falsa vista;
    Ciclo_Sincronizacion trabajador(vista);
    trabajador.tmrTimer_Timer();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return Filas("tblPedidos")[0].contains("|hecho|"); }, kEspera_ms));
    ASSERT_EQ(Filas("tblArchivos").size(), 1);
    EXPECT_EQ(Filas("tblArchivos")[0].section('|', 0, 1),
              "En cola|" + QString::fromStdString(Unir_Ruta(c.cola, "Factura A Folio 5.txt")));
    const QString bitacora = Ctl<QPlainTextEdit>("txtBitacora")->toPlainText();
    EXPECT_TRUE(bitacora.contains("pidió reencolarla")) << bitacora.toStdString();
    EXPECT_TRUE(bitacora.contains("Pedido de reencolado de " +
                                  QString::fromStdString(Cuenta_Usuario()) + ": hecho."))
        << bitacora.toStdString();
}

// A hung server leaves the window free, saying it reads; the broken connection is said.
TEST_F(Historia_Ventana_Test, Un_Servidor_Colgado_No_Congela_Y_La_Falla_Se_Dice) {
    {
        const Proxy_Central proxy("SELECT", Proxy_Central::Corte::Colgado);
        ventana = Mostrar_Historia_Solicitud(11);
        ASSERT_TRUE(QTest::qWaitFor([&] { return proxy.Cortado(); }, kEspera_ms));
        bool temporizador = false;
        QTimer::singleShot(50, [&] { temporizador = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return temporizador; }, kEspera_ms));
        EXPECT_TRUE(ventana->Ocupada());
        EXPECT_EQ(Texto("lblEstado"), "Leyendo…");
    }
    Esperar();
    EXPECT_TRUE(Texto("lblEstado").startsWith("No se pudo leer la solicitud: error "))
        << Texto("lblEstado").toStdString();
    Clic("cmdActualizar");
    EXPECT_EQ(Texto("lblTitulo"), "Solicitud 11 · Pendiente");
}

}  // namespace
}  // namespace facturador::pruebas
