-- local.dll: where the central database lives, as the operator last entered it, how many days
-- the daily logs are kept (Null: 365) and, for a console, the worker's program folder where its
-- daily logs and Log_Error_Timbrado.txt are (Null: /var/lib/facturador for the installed program,
-- else this folder).
CREATE TABLE IF NOT EXISTS Configuracion (
    Ruta_BD            TEXT,
    Ruta_BD_Documentos TEXT,
    Ruta_BD_Fotos      TEXT,
    BD_MySQL           TEXT,
    IP_Servidor        TEXT,
    Dias_Conservar_Log INTEGER,
    Carpeta_Servicio   TEXT
);
INSERT INTO Configuracion (Ruta_BD, Ruta_BD_Documentos, Ruta_BD_Fotos, BD_MySQL, IP_Servidor)
SELECT '', '', '', 'Morvane_Central', 'localhost'
WHERE NOT EXISTS (SELECT 1 FROM Configuracion);
