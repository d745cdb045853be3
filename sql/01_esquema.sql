-- Base de datos central de facturación electrónica (CFDI 4.0).
-- Se puede ejecutar varias veces: solo crea lo que todavía no existe.
-- Convenciones que respetan los tipos elegidos:
--   * las claves que crea el facturador son negativas y descienden (sin AUTO_INCREMENT);
--   * las fechas llegan como 'aaaa/mm/dd', los importes como texto decimal corto;
--   * las rutas de carpeta se guardan con "*" en lugar de "\".

CREATE DATABASE IF NOT EXISTS Morvane_Central
  CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;

USE Morvane_Central;

-- Sucursales de la cadena: número de sucursal y nombre que ve el operador.
CREATE TABLE IF NOT EXISTS Sucursales (
  ID      INT          NOT NULL,
  Nombre  VARCHAR(100) NULL DEFAULT '',
  PRIMARY KEY (ID),
  KEY idx_sucursales_nombre (Nombre)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Configuración general de la central: fecha de apertura del turno y el texto
-- que acompaña a los comprobantes fiscales en el correo al cliente (una fila).
CREATE TABLE IF NOT EXISTS Configuracion (
  ID                            INT  NOT NULL DEFAULT 1,
  Fecha_Apertura_Turno          DATE NULL DEFAULT NULL,
  Mensaje_Facturacion_en_Email  TEXT NULL DEFAULT NULL,
  PRIMARY KEY (ID)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Perfil de emisión de cada sucursal: datos fiscales del emisor, domicilio fiscal
-- y de expedición, serie y siguiente folio a emitir, y las tres carpetas que se
-- comparten con el programa de timbrado (cola, válidas, NO válidas).
CREATE TABLE IF NOT EXISTS Configuracion_Facturas_Electronicas (
  ID_Sucursal                         INT          NOT NULL,
  Razon_Social_Emisor                 VARCHAR(300) NULL DEFAULT '',
  RFC_Emisor                          VARCHAR(20)  NULL DEFAULT '',
  -- domicilio fiscal
  Calle                               VARCHAR(150) NULL DEFAULT '',
  Nro_Exterior                        VARCHAR(50)  NULL DEFAULT '',
  Nro_Interior                        VARCHAR(50)  NULL DEFAULT '',
  Colonia                             VARCHAR(150) NULL DEFAULT '',
  Ciudad                              VARCHAR(150) NULL DEFAULT '',
  Delegacion                          VARCHAR(150) NULL DEFAULT '',
  Estado                              VARCHAR(60)  NULL DEFAULT '',
  CP                                  VARCHAR(10)  NULL DEFAULT '',
  Pais                                VARCHAR(60)  NULL DEFAULT '',
  Referencia                          VARCHAR(200) NULL DEFAULT '',
  -- domicilio de expedición
  Calle_Domicilio_Expedicion          VARCHAR(150) NULL DEFAULT '',
  Nro_Exterior_Domicilio_Expedicion   VARCHAR(50)  NULL DEFAULT '',
  Nro_Interior_Domicilio_Expedicion   VARCHAR(50)  NULL DEFAULT '',
  Colonia_Domicilio_Expedicion        VARCHAR(150) NULL DEFAULT '',
  Ciudad_Domicilio_Expedicion         VARCHAR(150) NULL DEFAULT '',
  Delegacion_Domicilio_Expedicion     VARCHAR(150) NULL DEFAULT '',
  Estado_Domicilio_Expedicion         VARCHAR(60)  NULL DEFAULT '',
  CP_Domicilio_Expedicion             VARCHAR(10)  NULL DEFAULT '',
  Pais_Domicilio_Expedicion           VARCHAR(60)  NULL DEFAULT '',
  Referencia_Domicilio_Expedicion     VARCHAR(200) NULL DEFAULT '',
  -- serie y siguiente folio a emitir (lo incrementa el facturador)
  Serie_Facturas                      VARCHAR(25)  NULL DEFAULT '',
  Folio_Inicial_Facturas              INT          NOT NULL DEFAULT 1,
  Lugar_de_Expedicion_Facturas        VARCHAR(200) NULL DEFAULT '',
  Regimen_Fiscal_Facturas             VARCHAR(100) NULL DEFAULT '',
  Leyenda_de_Pagare_Facturas          TEXT         NULL DEFAULT NULL,
  -- carpetas del programa de timbrado, con "*" en lugar de "\"
  Ruta_Cola_Facturas                  VARCHAR(500) NULL DEFAULT '',
  Ruta_Facturas_Validas               VARCHAR(500) NULL DEFAULT '',
  Ruta_Facturas_NO_Validas            VARCHAR(500) NULL DEFAULT '',
  email_envio                         VARCHAR(200) NULL DEFAULT '',
  email_envio_copia                   VARCHAR(200) NULL DEFAULT '',
  PRIMARY KEY (ID_Sucursal)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Zona horaria fijada a mano a una sucursal cuya hora local no es la que su
-- código postal de expedición da por el catálogo c_CodigoPostal (un municipio
-- que el catálogo no registra bien). Zona_Horaria es un nombre de la base de
-- zonas horarias del sistema (tzdata), como 'America/Ciudad_Juarez', y debe ser
-- una zona que el estado de ese código postal puede tener por ley; otra detiene
-- a la sucursal. Sin renglón, la sucursal toma la zona de su código postal. El
-- facturador crea esta tabla si falta.
CREATE TABLE IF NOT EXISTS Zonas_Horarias_Sucursales (
  ID_Sucursal   INT          NOT NULL,
  Zona_Horaria  VARCHAR(64)  NOT NULL,
  PRIMARY KEY (ID_Sucursal)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Tickets de venta de las sucursales; el total del ticket es el tope de lo que
-- se puede facturar contra él.
CREATE TABLE IF NOT EXISTS Tickets (
  Numero          INT     NOT NULL,
  ID_Sucursal     INT     NOT NULL,
  Total           DOUBLE  NULL DEFAULT NULL,
  Cancelado       TINYINT NOT NULL DEFAULT 0,
  Se_dio_Factura  TINYINT NOT NULL DEFAULT 0,
  PRIMARY KEY (ID_Sucursal, Numero)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Solicitudes de factura en línea que captura el cliente para un ticket. Las escribe
-- otro sistema: Nro_Ticket, Total y Fecha pueden llegar vacíos (Null) y el facturador
-- debe saltar esas filas sin detener la facturación de las demás.
-- Status: 1 pendiente, 2 archivo en cola y factura registrada,
-- 3 timbrada y almacenada, 4 rechazada (el motivo queda en Resultado).
CREATE TABLE IF NOT EXISTS Solicitudes_de_Facturas_OL (
  ID               INT          NOT NULL AUTO_INCREMENT,
  ID_Cliente       INT          NOT NULL DEFAULT 0,
  Nombre           VARCHAR(300) NULL DEFAULT '',
  ID_Sucursal      INT          NULL DEFAULT NULL,
  -- domicilio del receptor
  Direccion        VARCHAR(200) NULL DEFAULT '',
  Numero_Exterior  VARCHAR(50)  NULL DEFAULT '',
  Numero_Interior  VARCHAR(50)  NULL DEFAULT '',
  Colonia          VARCHAR(150) NULL DEFAULT '',
  Ciudad           VARCHAR(150) NULL DEFAULT '',
  Delegacion       VARCHAR(150) NULL DEFAULT '',
  Estado           VARCHAR(60)  NULL DEFAULT '',
  Codigo_Postal    VARCHAR(10)  NULL DEFAULT '',
  Pais             VARCHAR(60)  NULL DEFAULT '',
  Referencia       VARCHAR(200) NULL DEFAULT '',
  Telefono         VARCHAR(50)  NULL DEFAULT '',
  Fax              VARCHAR(50)  NULL DEFAULT '',
  E_Mail           VARCHAR(200) NULL DEFAULT '',
  Comentario       VARCHAR(500) NULL DEFAULT '',
  Cuenta           VARCHAR(50)  NULL DEFAULT '',
  Condiciones      VARCHAR(100) NULL DEFAULT '',
  Forma_Pago       VARCHAR(100) NULL DEFAULT '',
  -- datos fiscales del receptor y de la factura pedida
  RFC              VARCHAR(20)  NULL DEFAULT '',
  Regimen_Fiscal   VARCHAR(100) NULL DEFAULT '',
  Serie            VARCHAR(25)  NULL DEFAULT '',
  Folio            INT          NULL DEFAULT 0,
  Nro_Ticket       INT          NULL,
  Metodo           VARCHAR(20)  NULL DEFAULT '',
  Total            DOUBLE       NULL,
  Fecha            DATE         NULL DEFAULT (CURRENT_DATE),
  Uso              VARCHAR(10)  NULL DEFAULT '',
  -- seguimiento
  Status           TINYINT      NOT NULL DEFAULT 1,
  Resultado        VARCHAR(255) NULL DEFAULT '',
  ID_Factura       INT          NULL DEFAULT 0,
  Archivo          VARCHAR(255) NULL DEFAULT '',
  Ruta_Archivo     VARCHAR(500) NULL DEFAULT '',
  PRIMARY KEY (ID),
  KEY idx_solicitudes_status (Status, ID),
  KEY idx_solicitudes_ticket (ID_Sucursal, Nro_Ticket, Status)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Índice de búsqueda de la consola (ventana "Solicitudes"): copia de las columnas por las que el
-- operador busca y ordena, con un índice por cada forma de buscar y por cada columna de orden
-- (su columna, el ID para los empates, y status, sucursal, fecha y motivo para filtrar sin leer la
-- fila). Vive aparte para que la inserción de cada solicitud desde la web no pague esos índices:
-- los disparadores la llevan al día en la misma transacción de cada cambio o borrado de una
-- solicitud, y la consola copia antes de cada búsqueda las solicitudes que nadie cambió todavía
-- (las pendientes y las que falten entre las diez mil más nuevas). La búsqueda lee de aquí solo
-- los ID, y solo cuando la copia tiene todos sus índices; lo que muestra lo lee de la solicitud.
-- Sobre una base anterior a ella, ejecutar de nuevo este archivo la crea, la llena con lo que ya
-- había (leído sin bloquear la tabla de solicitudes) y al final le agrega los índices, que se
-- construyen más rápido sobre la tabla ya llena.
CREATE TABLE IF NOT EXISTS Indice_Solicitudes (
  ID               INT          NOT NULL,
  Nombre           VARCHAR(300) NULL DEFAULT '',
  ID_Sucursal      INT          NULL DEFAULT NULL,
  RFC              VARCHAR(20)  NULL DEFAULT '',
  Serie            VARCHAR(25)  NULL DEFAULT '',
  Folio            INT          NULL DEFAULT 0,
  Nro_Ticket       INT          NULL,
  Total            DOUBLE       NULL,
  Fecha            DATE         NULL,
  Status           TINYINT      NOT NULL DEFAULT 1,
  Resultado        VARCHAR(255) NULL DEFAULT '',
  PRIMARY KEY (ID)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE OR REPLACE TRIGGER trg_solicitudes_indice_cambio
  AFTER UPDATE ON Solicitudes_de_Facturas_OL FOR EACH ROW
  INSERT INTO Indice_Solicitudes (ID, Nombre, ID_Sucursal, RFC, Serie, Folio, Nro_Ticket, Total,
                                  Fecha, Status, Resultado)
  VALUES (NEW.ID, NEW.Nombre, NEW.ID_Sucursal, NEW.RFC, NEW.Serie, NEW.Folio, NEW.Nro_Ticket,
          NEW.Total, NEW.Fecha, NEW.Status, NEW.Resultado)
  ON DUPLICATE KEY UPDATE Nombre = NEW.Nombre, ID_Sucursal = NEW.ID_Sucursal, RFC = NEW.RFC,
    Serie = NEW.Serie, Folio = NEW.Folio, Nro_Ticket = NEW.Nro_Ticket, Total = NEW.Total,
    Fecha = NEW.Fecha, Status = NEW.Status, Resultado = NEW.Resultado;

CREATE OR REPLACE TRIGGER trg_solicitudes_indice_borrado
  AFTER DELETE ON Solicitudes_de_Facturas_OL FOR EACH ROW
  DELETE FROM Indice_Solicitudes WHERE ID = OLD.ID;

SET TRANSACTION ISOLATION LEVEL READ COMMITTED;
INSERT IGNORE INTO Indice_Solicitudes (ID, Nombre, ID_Sucursal, RFC, Serie, Folio, Nro_Ticket,
                                       Total, Fecha, Status, Resultado)
  SELECT ID, Nombre, ID_Sucursal, RFC, Serie, Folio, Nro_Ticket, Total, Fecha, Status, Resultado
  FROM Solicitudes_de_Facturas_OL;

ALTER TABLE Indice_Solicitudes
  ADD INDEX IF NOT EXISTS idx_solicitudes_fecha (Fecha, ID, Status, ID_Sucursal, Resultado),
  ADD INDEX IF NOT EXISTS idx_solicitudes_rfc
    (RFC, ID, Status, ID_Sucursal, Fecha, Resultado),
  ADD INDEX IF NOT EXISTS idx_solicitudes_nro_ticket
    (Nro_Ticket, ID, Status, ID_Sucursal, Fecha, Resultado),
  ADD INDEX IF NOT EXISTS idx_solicitudes_motivo (Status, Resultado),
  ADD INDEX IF NOT EXISTS idx_solicitudes_orden_sucursal
    (ID_Sucursal, ID, Status, Fecha, Resultado),
  ADD INDEX IF NOT EXISTS idx_solicitudes_orden_nombre
    (Nombre, ID, Status, ID_Sucursal, Fecha, Resultado),
  ADD INDEX IF NOT EXISTS idx_solicitudes_orden_total
    (Total, ID, Status, ID_Sucursal, Fecha, Resultado),
  ADD INDEX IF NOT EXISTS idx_solicitudes_orden_status
    (Status, ID, ID_Sucursal, Fecha, Resultado),
  ADD INDEX IF NOT EXISTS idx_solicitudes_orden_folio
    (Serie, Folio, ID, Status, ID_Sucursal, Fecha, Resultado),
  ADD INDEX IF NOT EXISTS idx_solicitudes_orden_motivo
    (Resultado, ID, Status, ID_Sucursal, Fecha),
  ADD FULLTEXT INDEX IF NOT EXISTS ft_solicitudes_nombre (Nombre);

-- Facturas electrónicas: una fila por factura. Se registra al mandar a timbrar
-- (con valores provisionales) y se completa con los atributos del CFDI timbrado.
-- Status: 1 registrada, 2 timbrada, 3 cancelada.
CREATE TABLE IF NOT EXISTS Facturas_Electronicas (
  ID_Factura                 INT           NOT NULL,
  Nro_Ticket                 INT           NULL DEFAULT 0,
  Fecha_Emision              DATE          NULL DEFAULT NULL,
  Consumo                    DOUBLE        NULL DEFAULT 0,
  Descuento                  DOUBLE        NULL DEFAULT 0,
  -- atributos del comprobante
  noCertificado              VARCHAR(30)   NULL DEFAULT '',
  LugarExpedicion            VARCHAR(20)   NULL DEFAULT '',
  tipoDeComprobante          VARCHAR(10)   NULL DEFAULT '',
  total                      DOUBLE        NULL DEFAULT 0,
  subTotal                   DOUBLE        NULL DEFAULT 0,
  formaDePago                VARCHAR(20)   NULL DEFAULT '',
  folio                      INT           NULL DEFAULT 0,
  serie                      VARCHAR(25)   NULL DEFAULT '',
  version                    VARCHAR(10)   NULL DEFAULT '',
  fecha                      VARCHAR(30)   NULL DEFAULT '',
  certificado                TEXT          NULL DEFAULT NULL,
  sello                      TEXT          NULL DEFAULT NULL,
  -- emisor
  nombre_emisor              VARCHAR(500)  NULL DEFAULT '',
  rfc_emisor                 VARCHAR(30)   NULL DEFAULT '',
  codigoPostal_emisor        VARCHAR(10)   NULL DEFAULT '',
  pais_emisor                VARCHAR(60)   NULL DEFAULT '',
  estado_emisor              VARCHAR(60)   NULL DEFAULT '',
  municipio_emisor           VARCHAR(150)  NULL DEFAULT '',
  localidad_emisor           VARCHAR(150)  NULL DEFAULT '',
  colonia_emisor             VARCHAR(150)  NULL DEFAULT '',
  noInterior_emisor          VARCHAR(50)   NULL DEFAULT '',
  noExterior_emisor          VARCHAR(50)   NULL DEFAULT '',
  calle_emisor               VARCHAR(200)  NULL DEFAULT '',
  Regimen                    VARCHAR(100)  NULL DEFAULT '',
  -- receptor (codigoPostal_cliente recibe el UsoCFDI del comprobante)
  nombre_cliente             VARCHAR(500)  NULL DEFAULT '',
  rfc_cliente                VARCHAR(30)   NULL DEFAULT '',
  codigoPostal_cliente       VARCHAR(20)   NULL DEFAULT '',
  pais_cliente               VARCHAR(60)   NULL DEFAULT '',
  estado_cliente             VARCHAR(60)   NULL DEFAULT '',
  municipio_cliente          VARCHAR(150)  NULL DEFAULT '',
  localidad_cliente          VARCHAR(150)  NULL DEFAULT '',
  colonia_cliente            VARCHAR(150)  NULL DEFAULT '',
  noInterior_cliente         VARCHAR(50)   NULL DEFAULT '',
  noExterior_cliente         VARCHAR(50)   NULL DEFAULT '',
  calle_cliente              VARCHAR(200)  NULL DEFAULT '',
  -- concepto (importes como texto, tal como vienen en el XML)
  importe                    VARCHAR(50)   NULL DEFAULT '',
  valorUnitario              VARCHAR(50)   NULL DEFAULT '',
  descripcion                TEXT          NULL DEFAULT NULL,
  unidad                     VARCHAR(50)   NULL DEFAULT '',
  cantidad                   VARCHAR(50)   NULL DEFAULT '',
  -- impuesto trasladado
  totalImpuestosTrasladados  VARCHAR(50)   NULL DEFAULT '',
  importe_traslado           VARCHAR(50)   NULL DEFAULT '',
  tasa_traslado              VARCHAR(20)   NULL DEFAULT '',
  impuesto_traslado          VARCHAR(20)   NULL DEFAULT '',
  -- timbre fiscal digital
  selloSAT                   TEXT          NULL DEFAULT NULL,
  noCertificadoSAT           VARCHAR(30)   NULL DEFAULT '',
  selloCFD                   TEXT          NULL DEFAULT NULL,
  FechaTimbrado              VARCHAR(30)   NULL DEFAULT '',
  UUID                       VARCHAR(50)   NULL DEFAULT '',
  -- control interno
  ID_Cliente_Ticket          INT           NULL DEFAULT 0,
  ID_Cliente                 INT           NULL DEFAULT 0,
  Status                     TINYINT       NOT NULL DEFAULT 1,
  ID_Sucursal                INT           NULL DEFAULT 0,
  ID_Usuario                 INT           NULL DEFAULT 0,
  Comentario                 TEXT          NULL DEFAULT NULL,
  PDF                        VARCHAR(255)  NULL DEFAULT '',
  Tamanio_PDF                INT           NULL DEFAULT 0,
  XML                        VARCHAR(255)  NULL DEFAULT '',
  Tamanio_XML                INT           NULL DEFAULT 0,
  FUM                        DATE          NULL DEFAULT NULL,
  PRIMARY KEY (ID_Factura),
  KEY idx_facturas_serie_folio (serie, folio, ID_Sucursal)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Comprobantes fiscales guardados como documentos binarios (XML timbrado y PDF),
-- un renglón por archivo, ligados a su factura. FUM es texto 'dd/mm/aaaa'.
CREATE TABLE IF NOT EXISTS Comprobantes_Fiscales (
  ID                 INT           NOT NULL,
  ID_Factura         INT           NOT NULL,
  Titulo             VARCHAR(200)  NULL DEFAULT '',
  Nombre_Archivo     VARCHAR(255)  NULL DEFAULT '',
  Tamanio_Documento  INT           NULL DEFAULT 0,
  Documento          LONGBLOB      NULL,
  Tipo_Archivo       SMALLINT      NOT NULL DEFAULT 0,
  Tipo               SMALLINT      NOT NULL DEFAULT 0,
  Sub_Tipo           SMALLINT      NOT NULL DEFAULT 0,
  Status             SMALLINT      NOT NULL DEFAULT 1,
  Descripcion        VARCHAR(200)  NULL DEFAULT '',
  FUM                VARCHAR(20)   NULL DEFAULT '',
  ID_Sucursal        INT           NULL DEFAULT 0,
  PRIMARY KEY (ID),
  KEY idx_comprobantes_factura (ID_Factura, Titulo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Montos facturados contra cada ticket: un renglón por factura timbrada.
-- Status: 0 vigente (cuenta contra el total del ticket), 1 anulado.
CREATE TABLE IF NOT EXISTS Montos_Facturados (
  ID            INT          NOT NULL AUTO_INCREMENT,
  Nro_Ticket    INT          NOT NULL,
  ID_Solicitud  INT          NULL DEFAULT 0,
  ID_Sucursal   INT          NOT NULL,
  Fecha         DATE         NULL DEFAULT NULL,
  Hora          TIME         NULL DEFAULT NULL,
  Total         DOUBLE       NOT NULL DEFAULT 0,
  Status        TINYINT      NOT NULL DEFAULT 0,
  Serie         VARCHAR(25)  NULL DEFAULT '',
  Folio         INT          NULL DEFAULT 0,
  FUM           DATE         NULL DEFAULT NULL,
  PRIMARY KEY (ID),
  KEY idx_montos_ticket (ID_Sucursal, Nro_Ticket, Status),
  KEY idx_montos_solicitud (ID_Solicitud)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Turno de trabajo: la copia del facturador que lo tiene es la única que genera,
-- recibe comprobantes, recupera archivos en espera y reencola (una fila por base
-- central). Se toma y se renueva con sentencias comunes, que un clúster Galera
-- replica; Vence está en el reloj de la base. Cada unidad de trabajo escribe la
-- fila en su propia transacción para confirmar que su copia aún lo tiene.
CREATE TABLE IF NOT EXISTS Turno_Facturador (
  Nombre    VARCHAR(64)  NOT NULL PRIMARY KEY,  -- nombre de la base central
  Titular   VARCHAR(255) NOT NULL DEFAULT '',   -- equipo:carpeta pid N #ficha; '' si está libre
  Epoca     BIGINT       NOT NULL DEFAULT 0,    -- +1 cada vez que el turno cambia de manos
  Vence     DATETIME(6)  NULL,                  -- vencimiento, en el reloj de la base
  Unidades  BIGINT       NOT NULL DEFAULT 0     -- unidades de trabajo confirmadas, +1 cada una
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_bin;

-- Pedidos de reencolado: la consola del operador pide aquí que se vuelva a escribir el archivo
-- para timbrar de una solicitud en status 2 (como `facturador --reencolar`), y la copia que tiene
-- el turno lo hace en su siguiente ciclo, dentro de sus unidades de trabajo cercadas. La consola
-- nunca escribe archivos en la cola.
-- Status: 0 pedido, 1 en curso (el archivo puede estar ya escrito), 2 hecho, 3 no se hizo
-- (el motivo queda en Resultado). El facturador crea esta tabla si falta.
CREATE TABLE IF NOT EXISTS Pedidos_Reencolado (
  ID              INT          NOT NULL AUTO_INCREMENT,
  ID_Solicitud    INT          NOT NULL,
  Pedido_Por      VARCHAR(100) NULL DEFAULT '',   -- cuenta del operador que lo pidió
  Fecha_Pedido    DATETIME     NULL DEFAULT NULL,
  Status          TINYINT      NOT NULL DEFAULT 0,
  Resultado       VARCHAR(255) NULL DEFAULT '',
  Fecha_Atendido  DATETIME     NULL DEFAULT NULL,
  PRIMARY KEY (ID),
  KEY idx_pedidos_status (Status, ID),
  KEY idx_pedidos_solicitud (ID_Solicitud, ID)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
