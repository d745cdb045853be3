-- Taldo.dll: the history of synchronization runs, written by the branch synchronizer.
-- Fecha is 'yyyy-mm-dd', Hora 'hh:mm:ss'; Exitosa is 1 for a successful run.
CREATE TABLE IF NOT EXISTS Sincronizaciones (
    ID_Movimiento INTEGER PRIMARY KEY,
    Fecha         TEXT,
    Hora          TEXT,
    Resultado     TEXT,
    Exitosa       BOOLEAN NOT NULL DEFAULT 0
);
