-- A short run history for the demo: the last run and the last successful one.
INSERT INTO Sincronizaciones (ID_Movimiento, Fecha, Hora, Resultado, Exitosa) VALUES
    (1, '2026-12-01', '08:05:00', 'Sincronización completa', 1),
    (2, '2026-12-01', '13:40:00', 'Sin conexión con la sucursal 2', 0);
