#include "app/Busqueda_Solicitudes.h"

#include "Apoyo_App.h"
#include "data/Conexiones.h"

// Criteria are written with designated initializers: the fields left out keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace facturador::pruebas {
namespace {

// Two branches and requests of every kind: names with and without accents, in any case, with a
// hyphen, an apostrophe, a stopword of the full-text index and a two-letter word; statuses,
// dates, tickets, RFCs and reasons of their own.
class Busqueda_Test : public Prueba_App {
  protected:
    Busqueda_Test() {
        Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (1, 'Norte'), (2, 'Sur')");
        const auto solicitud = [](int id, const char* nombre, int sucursal, int ticket,
                                  const char* rfc, int status, const char* fecha,
                                  const char* resultado = "") {
            Sembrar_Solicitud(id, {{"Nombre", Literal(nombre)},
                                   {"ID_Sucursal", std::to_string(sucursal)},
                                   {"Nro_Ticket", std::to_string(ticket)},
                                   {"RFC", Literal(rfc)},
                                   {"Status", std::to_string(status)},
                                   {"Fecha", Literal(fecha)},
                                   {"Resultado", Literal(resultado)},
                                   {"Total", std::to_string(100 * id)}});
        };
        solicitud(1, "Roberto Sánchez Díaz", 1, 2002, "SADR800101AB1", 3, "2026/01/10");
        solicitud(2, "ROSA SANCHEZ", 2, 2002, "SARO750505XY2", 4, "2026/02/11", "Error: uno");
        solicitud(3, "Will Smith", 1, 3003, "SMWI700101AA3", 1, "2026/02/12");
        solicitud(4, "María José Núñez", 2, 4004, "NUMA900303BB4", 4, "2026/03/01", "Error: dos");
        solicitud(5, "Ángel O'Brien", 1, 5005, "OBAN850808CC5", 2, "2026/03/02");
        solicitud(6, "Li Wu", 2, 6006, "WULI910909DD6", 4, "2026/03/03", "Error: uno");
        solicitud(7, "Juan Perez-Garcia", 1, 7007, "PEGJ880808EE7", 3, "2026/04/04");
        solicitud(8, "Pérez 100% _x", 2, 8008, "SAXX000000FF8", 3, "2026/04/05");
    }

    static std::vector<int32_t> Ids_De(const Pagina_Solicitudes& pagina) {
        std::vector<int32_t> ids;
        for (const Fila_Solicitud& f : pagina.Filas)
            ids.push_back(f.ID);
        return ids;
    }

    // The IDs found, the same within the budget, past it (by the bounding index) and by any plan.
    static std::vector<int32_t> Buscar(const Criterios_Busqueda& c) {
        Conexion_Abierta conexion;
        const Indices_Busqueda indices = Leer_Indices_Busqueda(conexion);
        const std::vector<int32_t> ids = Ids_De(Buscar_Solicitudes(conexion, c, indices));
        EXPECT_EQ(Ids_De(Buscar_Solicitudes(conexion, c, indices, {2, 2})), ids)
            << "sin presupuesto";
        for (const auto plan :
             {Plan_Busqueda::Natural, Plan_Busqueda::Indice_Nombre, Plan_Busqueda::Indice_Fecha,
              Plan_Busqueda::Indice_Motivo, Plan_Busqueda::Indice_Orden}) {
            Recordset rs = conexion.Ejecutar(Sentencia_Busqueda(c, conexion, indices, plan));
            std::vector<int32_t> del_plan;
            for (; !rs.Fin(); rs.Mover_Siguiente())
                del_plan.push_back(std::stoi(rs.Texto("ID")));
            if (del_plan.size() > static_cast<size_t>(c.Por_Pagina))
                del_plan.resize(static_cast<size_t>(c.Por_Pagina));
            EXPECT_EQ(del_plan, ids) << "plan " << static_cast<int>(plan);
        }
        return ids;
    }
};

using Lista = std::vector<int32_t>;

// Each field alone and combined, newest first. A name's words each begin a word of the name (after
// a blank or a hyphen), in any order, case or accents; what is typed is taken literally.
TEST_F(Busqueda_Test, Cada_Campo_Solo_Y_Combinado) {
    const Fecha_Hora feb1{2026, 2, 1}, feb11{2026, 2, 11}, feb28{2026, 2, 28};
    const Fecha_Hora mar1{2026, 3, 1}, mar2{2026, 3, 2};
    const std::tuple<const char*, Criterios_Busqueda, Lista> casos[] = {
        {"nada", {}, {8, 7, 6, 5, 4, 3, 2, 1}},
        {"ID", {.ID = 4}, {4}},
        {"ticket", {.Nro_Ticket = 2002}, {2, 1}},
        {"RFC, su principio en minúsculas", {.RFC = "sa"}, {8, 2, 1}},
        {"principio de una palabra", {.Nombre = "pére"}, {8, 7}},
        {"cliente sin acentos", {.Nombre = "sanchez"}, {2, 1}},
        {"cliente con acentos y mayúsculas", {.Nombre = "SÁNCH"}, {2, 1}},
        {"palabras en otro orden", {.Nombre = "díaz  roberto"}, {1}},
        {"principio de palabra, no su medio", {.Nombre = "anchez"}, {}},
        {"palabra vacía del índice", {.Nombre = "will"}, {3}},
        {"eñe y tildes", {.Nombre = "nunez maria"}, {4}},
        {"apóstrofo", {.Nombre = "o'brien"}, {5}},
        {"palabra corta", {.Nombre = "li"}, {6}},
        {"tras un guion", {.Nombre = "garcia"}, {7}},
        {"comodines literales", {.Nombre = "100%"}, {8}},
        {"comodín que no está", {.Nombre = "1_0"}, {}},
        {"sucursal", {.ID_Sucursal = 2}, {8, 6, 4, 2}},
        {"status", {.Status = 4}, {6, 4, 2}},
        {"desde", {.Desde = mar2}, {8, 7, 6, 5}},
        {"hasta", {.Hasta = feb11}, {2, 1}},
        {"un día", {.Desde = mar1, .Hasta = mar1}, {4}},
        {"motivo", {.Motivo = "Error: uno"}, {6, 2}},
        {"rechazadas de un motivo", {.Status = 4, .Motivo = "Error: uno"}, {6, 2}},
        {"sucursal y status", {.ID_Sucursal = 2, .Status = 4}, {6, 4, 2}},
        {"cliente, sucursal y fechas",
         {.Nombre = "sanchez", .ID_Sucursal = 2, .Desde = feb1, .Hasta = feb28},
         {2}},
        {"ticket y RFC que no coinciden", {.Nro_Ticket = 2002, .RFC = "NU"}, {}},
    };
    for (const auto& [caso, criterios, esperados] : casos)
        EXPECT_EQ(Buscar(criterios), esperados) << caso;
}

// By pages, and in the order asked for by a column over all the results, ties by ID in the same
// direction. A row shows the branch's name, the date, the total with thousands, series and folio.
TEST_F(Busqueda_Test, Por_Paginas_Ordenada_Y_Cada_Fila_Como_Se_Muestra) {
    Conexion_Abierta conexion;
    Criterios_Busqueda c;
    const Indices_Busqueda indices = Leer_Indices_Busqueda(conexion);
    // Pages of three, the last one short; of four, the last one exactly full.
    for (const auto& [por_pagina, pagina, ids, siguiente] : {std::tuple{3, 0, Lista{8, 7, 6}, true},
                                                             {3, 1, Lista{5, 4, 3}, true},
                                                             {3, 2, Lista{2, 1}, false},
                                                             {3, 3, Lista{}, false},
                                                             {4, 1, Lista{4, 3, 2, 1}, false}}) {
        c.Por_Pagina = por_pagina;
        c.Pagina = pagina;
        const Pagina_Solicitudes p = Buscar_Solicitudes(conexion, c, indices);
        EXPECT_EQ(Ids_De(p), ids) << pagina;
        EXPECT_EQ(p.Hay_Siguiente, siguiente) << pagina;
    }
    c.Pagina = 0;
    c.Por_Pagina = 50;
    for (const auto& [columna, descendente, ids] :
         {std::tuple{Columna_Solicitudes::ID, false, Lista{1, 2, 3, 4, 5, 6, 7, 8}},
          {Columna_Solicitudes::Total, false, Lista{1, 2, 3, 4, 5, 6, 7, 8}},
          {Columna_Solicitudes::Cliente, false, Lista{5, 7, 6, 4, 8, 1, 2, 3}},
          {Columna_Solicitudes::Status, true, Lista{6, 4, 2, 8, 7, 1, 5, 3}},
          {Columna_Solicitudes::Sucursal, false, Lista{1, 3, 5, 7, 2, 4, 6, 8}},
          {Columna_Solicitudes::Motivo, true, Lista{6, 2, 4, 8, 7, 5, 3, 1}}}) {
        c.Orden = columna;
        c.Descendente = descendente;
        EXPECT_EQ(Ids_De(Buscar_Solicitudes(conexion, c, indices)), ids)
            << static_cast<int>(columna);
    }

    Ejecutar_Central(
        "UPDATE Solicitudes_de_Facturas_OL SET Serie = 'A', Folio = 1501, Total = "
        "1234.5 WHERE ID = 1");
    const Pagina_Solicitudes p = Buscar_Solicitudes(conexion, {.ID = 1}, indices);
    ASSERT_EQ(p.Filas.size(), 1u);
    EXPECT_EQ(p.Filas[0],
              (Fila_Solicitud{1, "10/01/2026", 1, "1 Norte", "2002", "Roberto Sánchez Díaz",
                              "SADR800101AB1", "1,234.50", 3, "A 1501", ""}));
    EXPECT_EQ(Motivos_Rechazo(conexion, indices),
              (std::vector<Motivo_Rechazo>{{"Error: uno", 2, 6}, {"Error: dos", 1, 4}}));
    EXPECT_TRUE(Leer_Indices_Busqueda(conexion).Completos());
    // Without the full-text index or one column's sort index, searches may be slow.
    for (const auto& [quitar, poner] :
         {std::pair{"DROP INDEX ft_solicitudes_nombre",
                    "ADD FULLTEXT INDEX ft_solicitudes_nombre (Nombre)"},
          {"DROP INDEX idx_solicitudes_orden_total",
           "ADD INDEX idx_solicitudes_orden_total (Total, ID, Status, ID_Sucursal, Fecha, "
           "Resultado)"}}) {
        const std::string tabla = "ALTER TABLE Indice_Solicitudes ";
        const Cambio_Temporal sin_indice(tabla + quitar, tabla + poner);
        EXPECT_FALSE(Leer_Indices_Busqueda(conexion).Completos()) << quitar;
    }
    EXPECT_EQ(Status_en_Palabras(2), "En espera de timbrado");
    EXPECT_EQ(Status_en_Palabras(7), "Status 7");
}

// The copy the search reads follows each change and deletion of a request, whoever makes it, and
// takes in the requests no change has reached: a pending one at any ID, a new one of any status.
// A lock on the copy (another node copying the same request) leaves it for the next search; a lock
// on the request does not hold the copy back.
// Without the copy the search reads the requests themselves and finds the same.
TEST_F(Busqueda_Test, La_Copia_Sigue_A_Cada_Solicitud) {
    EXPECT_EQ(Buscar({}), (Lista{8, 7, 6, 5, 4, 3, 2, 1}));
    Ejecutar_Central(
        "UPDATE Solicitudes_de_Facturas_OL SET Nombre = 'Rosa Zamora', Status = 3, Resultado = "
        "'' WHERE ID = 2");
    Ejecutar_Central("DELETE FROM Solicitudes_de_Facturas_OL WHERE ID IN (3, 6)");
    // Pending, older than the newest ten thousand; stamped, the oldest of them; rejected, the
    // newest.
    Sembrar_Solicitud(3, {{"Nombre", "'Nuevo Pendiente'"}, {"Status", "1"}});
    Sembrar_Solicitud(10010, {{"Nombre", "'Otra Timbrada'"}, {"Status", "3"}});
    Sembrar_Solicitud(20009, {{"Nombre", "'Nueva Rechazada'"},
                              {"Status", "4"},
                              {"Resultado", "'Error: dos'"},
                              {"Fecha", "'2026/05/01'"}});
    Conexion_Abierta conexion;
    EXPECT_EQ(Motivos_Rechazo(conexion, Leer_Indices_Busqueda(conexion)),
              (std::vector<Motivo_Rechazo>{{"Error: dos", 2, 20009}}));
    const std::tuple<const char*, Criterios_Busqueda, Lista> casos[] = {
        {"nombre cambiado", {.Nombre = "zamora"}, {2}},
        {"nombre de antes", {.Nombre = "rosa sanchez"}, {}},
        {"status cambiado", {.Status = 3}, {10010, 8, 7, 2, 1}},
        {"pendiente de un ID ya visto", {.Nombre = "nuevo"}, {3}},
    };
    for (const auto& [caso, criterios, esperados] : casos)
        EXPECT_EQ(Buscar(criterios), esperados) << caso;
    const std::string columnas =
        "SELECT GROUP_CONCAT(CONCAT_WS('|', ID, Nombre, ID_Sucursal, RFC, Serie, Folio, "
        "Nro_Ticket, Total, Fecha, Status, Resultado) ORDER BY ID) FROM ";
    EXPECT_EQ(Valor_Central(columnas + "Indice_Solicitudes"),
              Valor_Central(columnas + "Solicitudes_de_Facturas_OL"));

    Sembrar_Solicitud(30000, {{"Nombre", "'Con Candado'"}});
    {
        // The worker holding a pending request (read for update) does not hold the copy back.
        Conexion_Abierta otra;
        otra.Ejecutar("START TRANSACTION");
        otra.Ejecutar("SELECT ID FROM Solicitudes_de_Facturas_OL WHERE ID = 30000 FOR UPDATE");
        conexion.Ejecutar("SET SESSION innodb_lock_wait_timeout = 1");
        EXPECT_EQ(Ids_De(Buscar_Solicitudes(conexion, {.Nombre = "candado"},
                                            Leer_Indices_Busqueda(conexion))),
                  Lista{30000});
        otra.Ejecutar("ROLLBACK");
    }
    Ejecutar_Central("DELETE FROM Indice_Solicitudes WHERE ID = 30000");
    {
        Conexion_Abierta otra;
        otra.Ejecutar("START TRANSACTION");
        otra.Ejecutar("INSERT INTO Indice_Solicitudes (ID) VALUES (30000)");
        EXPECT_EQ(Ids_De(Buscar_Solicitudes(conexion, {.Nombre = "candado"},
                                            Leer_Indices_Busqueda(conexion))),
                  Lista{});
        otra.Ejecutar("ROLLBACK");
    }
    EXPECT_EQ(Buscar({.Nombre = "candado"}), Lista{30000});

    const Tabla_Ausente sin_copia("Indice_Solicitudes");
    const Indices_Busqueda indices = Leer_Indices_Busqueda(conexion);
    EXPECT_FALSE(indices.Copia);
    EXPECT_EQ(Ids_De(Buscar_Solicitudes(conexion, {.Nombre = "zamora"}, indices)), Lista{2});
    EXPECT_EQ(
        Ids_De(Buscar_Solicitudes(
            conexion, {.Orden = Columna_Solicitudes::Cliente, .Descendente = false}, indices)),
        (Lista{5, 30000, 7, 4, 20009, 3, 10010, 8, 1, 2}));
    EXPECT_EQ(Motivos_Rechazo(conexion, indices),
              (std::vector<Motivo_Rechazo>{{"Error: dos", 2, 20009}}));
}

// Past its budget a search takes the index that bounds it best.
TEST(Plan_Acotado, Fechas_Cortas_Antes_Que_Nombre_Y_Solo_Con_Indice) {
    Indices_Busqueda todos{true, true, true, true, true, true};
    Indices_Busqueda sin_texto = todos;
    sin_texto.Nombre = false;
    const Fecha_Hora enero{2026, 1, 1}, marzo{2026, 3, 31}, junio{2026, 6, 30};
    using Fecha = std::optional<Fecha_Hora>;
    const std::tuple<const char*, Fecha, Fecha, Indices_Busqueda, Plan_Busqueda> casos[] = {
        {"sanchez", {}, {}, todos, Plan_Busqueda::Indice_Nombre},
        {"li", {}, {}, todos, Plan_Busqueda::Natural},
        {"o'brien will", {}, {}, todos, Plan_Busqueda::Natural},
        {"sanchez", {}, {}, sin_texto, Plan_Busqueda::Natural},
        {"", enero, {}, todos, Plan_Busqueda::Indice_Fecha},
        {"sanchez", enero, marzo, todos, Plan_Busqueda::Indice_Fecha},
        {"sanchez", enero, junio, todos, Plan_Busqueda::Indice_Nombre},
        {"sanchez", enero, junio, sin_texto, Plan_Busqueda::Indice_Fecha},
        {"", enero, marzo, Indices_Busqueda{}, Plan_Busqueda::Natural},
    };
    for (const auto& [nombre, desde, hasta, indices, plan] : casos)
        EXPECT_EQ(Plan_Acotado({.Nombre = nombre, .Desde = desde, .Hasta = hasta}, indices), plan)
            << nombre;
    // A name the budget found often is common: the server's own plan finds the rest.
    const Criterios_Busqueda comun{.Nombre = "garcia"};
    EXPECT_EQ(Plan_Acotado(comun, todos, 15), Plan_Busqueda::Indice_Nombre);
    EXPECT_EQ(Plan_Acotado(comun, todos, 16), Plan_Busqueda::Natural);
}

}  // namespace
}  // namespace facturador::pruebas
