-- Datos de demostración de la base central: cuatro sucursales de la cadena
-- "Antojería Los Tulipanes", su perfil de emisión, tickets de venta y
-- solicitudes de factura en línea listas para procesarse.
-- Las carpetas llevan el marcador @DEMO@, que el guion de demostración cambia por
-- la carpeta real escrita con "*" en lugar del separador, por ejemplo:
--   sed "s#@DEMO@#*tmp*demo#g" datos_demo.sql | mariadb ...
-- Se puede cargar varias veces: primero vacía las tablas, también las que llena
-- el facturador, para que los folios vuelvan a empezar en 1 sin duplicarse.

USE Morvane_Central;

DELETE FROM Comprobantes_Fiscales;
DELETE FROM Montos_Facturados;
DELETE FROM Facturas_Electronicas;
DELETE FROM Solicitudes_de_Facturas_OL;
DELETE FROM Tickets;
DELETE FROM Configuracion_Facturas_Electronicas;
DELETE FROM Configuracion;
DELETE FROM Sucursales;

-- Sucursales
INSERT INTO Sucursales (ID, Nombre) VALUES
  (1, 'Los Tulipanes Centro'),
  (2, 'Los Tulipanes Coyoacán'),
  (3, 'Los Tulipanes Satélite'),
  (4, 'Los Tulipanes Juárez');

-- Configuración general
INSERT INTO Configuracion (ID, Fecha_Apertura_Turno, Mensaje_Facturacion_en_Email) VALUES
  (1, '2026-12-01',
   'Estimado cliente: le enviamos adjuntos el XML y el PDF de su factura electrónica. Gracias por su preferencia.');

-- Perfil de emisión de cada sucursal (mismo emisor, serie propia por sucursal)
INSERT INTO Configuracion_Facturas_Electronicas (
  ID_Sucursal, Razon_Social_Emisor, RFC_Emisor,
  Calle, Nro_Exterior, Nro_Interior, Colonia, Ciudad, Delegacion, Estado, CP, Pais, Referencia,
  Calle_Domicilio_Expedicion, Nro_Exterior_Domicilio_Expedicion, Nro_Interior_Domicilio_Expedicion,
  Colonia_Domicilio_Expedicion, Ciudad_Domicilio_Expedicion, Delegacion_Domicilio_Expedicion,
  Estado_Domicilio_Expedicion, CP_Domicilio_Expedicion, Pais_Domicilio_Expedicion,
  Referencia_Domicilio_Expedicion,
  Serie_Facturas, Folio_Inicial_Facturas, Lugar_de_Expedicion_Facturas, Regimen_Fiscal_Facturas,
  Leyenda_de_Pagare_Facturas,
  Ruta_Cola_Facturas, Ruta_Facturas_Validas, Ruta_Facturas_NO_Validas,
  email_envio, email_envio_copia
) VALUES
  (1, 'ANTOJERIA LOS TULIPANES', 'ALT150312AB1',
   'Avenida de los Tulipanes', '120', '', 'Centro', 'Ciudad de México', 'Cuauhtémoc',
   'Ciudad de México', '06000', 'México', 'Entre Calle Jazmín y Calle Azucena',
   'Avenida de los Tulipanes', '120', 'Local 1', 'Centro', 'Ciudad de México', 'Cuauhtémoc',
   'Ciudad de México', '06000', 'México', 'Frente al jardín',
   'A', 1, '06000', '601', '',
   '@DEMO@*sucursal1*cola', '@DEMO@*sucursal1*validas', '@DEMO@*sucursal1*no_validas',
   'facturas.centro@example.com', 'contabilidad@example.com'),
  (2, 'ANTOJERIA LOS TULIPANES', 'ALT150312AB1',
   'Avenida de los Tulipanes', '120', '', 'Centro', 'Ciudad de México', 'Cuauhtémoc',
   'Ciudad de México', '06000', 'México', 'Entre Calle Jazmín y Calle Azucena',
   'Calle Ahuehuetes', '45', '', 'Villa Coyoacán', 'Ciudad de México', 'Coyoacán',
   'Ciudad de México', '04000', 'México', 'A media cuadra de la plaza',
   'B', 1, '04000', '601', '',
   '@DEMO@*sucursal2*cola', '@DEMO@*sucursal2*validas', '@DEMO@*sucursal2*no_validas',
   'facturas.coyoacan@example.com', 'contabilidad@example.com'),
  (3, 'ANTOJERIA LOS TULIPANES', 'ALT150312AB1',
   'Avenida de los Tulipanes', '120', '', 'Centro', 'Ciudad de México', 'Cuauhtémoc',
   'Ciudad de México', '06000', 'México', 'Entre Calle Jazmín y Calle Azucena',
   'Circuito de las Magnolias', '18', 'Local 4', 'Ciudad Satélite', 'Naucalpan de Juárez',
   'Naucalpan de Juárez', 'Estado de México', '53100', 'México', 'Junto a la farmacia',
   'C', 1, '53100', '601', '',
   '@DEMO@*sucursal3*cola', '@DEMO@*sucursal3*validas', '@DEMO@*sucursal3*no_validas',
   'facturas.satelite@example.com', 'contabilidad@example.com'),
  -- En Ciudad Juárez: su zona sale de su código postal (America/Ciudad_Juarez), sin renglón en
  -- Zonas_Horarias_Sucursales, y sus facturas llevan la hora más temprana entre la legal y la
  -- que el catálogo c_CodigoPostal da a ese código.
  (4, 'ANTOJERIA LOS TULIPANES', 'ALT150312AB1',
   'Avenida de los Tulipanes', '120', '', 'Centro', 'Ciudad de México', 'Cuauhtémoc',
   'Ciudad de México', '06000', 'México', 'Entre Calle Jazmín y Calle Azucena',
   'Avenida 16 de Septiembre', '901', '', 'Centro', 'Juárez', 'Juárez',
   'Chihuahua', '32000', 'México', 'Frente a la catedral',
   'D', 1, '32000', '601', '',
   '@DEMO@*sucursal4*cola', '@DEMO@*sucursal4*validas', '@DEMO@*sucursal4*no_validas',
   'facturas.juarez@example.com', 'contabilidad@example.com');

-- Tickets de venta (el 1001 existe en dos sucursales: la clave es número + sucursal)
INSERT INTO Tickets (Numero, ID_Sucursal, Total, Cancelado, Se_dio_Factura) VALUES
  (1001, 1, 116,     0, 0),
  (1002, 1, 350.5,   0, 0),
  (1003, 1, 89.9,    0, 0),
  (1001, 2, 580,     0, 0),
  (2002, 2, 1250.75, 0, 0),
  (2003, 2, 45,      0, 0),
  (3001, 3, 232,     0, 0),
  (3002, 3, 999.99,  0, 0),
  (2004, 2, 174,     0, 0),
  (3003, 3, 58,      0, 0),
  (4001, 4, 348,     0, 0),
  (4002, 4, 10,      0, 0);

-- Solicitudes de factura en línea: ocho pendientes (Status 1) y una rechazada.
-- Las 103 y 104 facturan entre las dos el total exacto del ticket 2002.
-- La 107 pide el uso G03 (gastos en general) con el régimen 616 (sin obligaciones fiscales),
-- combinación que el catálogo c_UsoCFDI no admite: se rechaza sin llegar a timbrarse.
-- La 108 es la factura de un cliente sin RFC: el RFC genérico XAXX010101000 con el nombre del
-- propio cliente, el régimen 616, el uso S01 y como domicilio fiscal el código postal del lugar
-- de expedición de su sucursal (04000); se timbra como cualquier otra.
-- La 109 pone PUBLICO EN GENERAL como nombre, que solo corresponde a la factura global (con el
-- nodo InformacionGlobal, que este programa no emite): se rechaza sin llegar a timbrarse.
-- La 110 es de la sucursal de Ciudad Juárez. La 111 pide un total con tres decimales (4.725),
-- que una factura en pesos no admite: se rechaza sin llegar a timbrarse.
INSERT INTO Solicitudes_de_Facturas_OL (
  ID, ID_Cliente, Nombre, ID_Sucursal,
  Direccion, Numero_Exterior, Numero_Interior, Colonia, Ciudad, Delegacion, Estado,
  Codigo_Postal, Pais, Referencia, Telefono, Fax, E_Mail, Comentario,
  Cuenta, Condiciones, Forma_Pago,
  RFC, Regimen_Fiscal, Nro_Ticket, Metodo, Total, Fecha, Uso, Status, Resultado
) VALUES
  (101, 501, 'SERVICIOS INTEGRALES DEL VALLE', 1,
   'Avenida Coyoacán', '1520', 'Piso 3', 'Del Valle', 'Ciudad de México', 'Benito Juárez',
   'Ciudad de México', '03100', 'México', '', '5555123456', '', 'compras@example.com', '',
   '', 'Contado', 'Tarjeta de crédito',
   'SIV120704TR6', '601', 1001, '04', 116, '2026/11/29', 'G03', 1, ''),
  (102, 502, 'JULIA RAMIREZ LOPEZ', 1,
   'Calle Pedro Moreno', '845', '', 'Americana', 'Guadalajara', 'Guadalajara',
   'Jalisco', '44100', 'México', '', '3331234567', '', 'julia.ramirez@example.com', '',
   '', 'Contado', 'Efectivo',
   'RALJ900215QW1', '612', 1002, '01', 200.25, '2026/11/30', 'G03', 1, ''),
  (103, 503, 'COMERCIALIZADORA BAJIO NORTE', 2,
   'Avenida Constituyentes', '300', 'Bodega 7', 'Centro', 'Santiago de Querétaro', 'Querétaro',
   'Querétaro', '76000', 'México', '', '4421234567', '', 'facturas@example.net', '',
   '', 'Contado', 'Transferencia',
   'CBN080521KP3', '601', 2002, '03', 600, '2026/12/01', 'G03', 1, ''),
  (104, 0, 'LUIS MENDOZA VEGA', 2,
   'Calle Padre Mier', '210', '', 'Centro', 'Monterrey', 'Monterrey',
   'Nuevo León', '64000', 'México', '', '8181234567', '', 'luis.mendoza@example.org', '',
   '', '', '',
   'MEVL781103AB7', '626', 2002, '', 650.75, '2026/12/01', 'G03', 1, ''),
  (105, 505, 'ANA SOFIA TORRES NUÑEZ', 3,
   'Calle 5 de Mayo', '12', 'Depto 2', 'Centro', 'Puebla', 'Puebla',
   'Puebla', '72000', 'México', '', '2221234567', '', 'ana.torres@example.com', '',
   '', 'Contado', 'Tarjeta de débito',
   'TONA950620LM2', '605', 3001, '28', 232, '2026/12/01', 'S01', 1, ''),
  (106, 501, 'SERVICIOS INTEGRALES DEL VALLE', 3,
   'Avenida Coyoacán', '1520', 'Piso 3', 'Del Valle', 'Ciudad de México', 'Benito Juárez',
   'Ciudad de México', '03100', 'México', '', '5555123456', '', 'compras@example.com', '',
   '', 'Contado', 'Tarjeta de crédito',
   'SIV120704TR6', '601', 3002, '04', 1200, '2026/11/30', 'G03', 4,
   'El Monto de la Solicitud ($ 1,200.00) Excede al monto del Ticket Nro: 3002  (Sucursal: Los Tulipanes Satélite) ($ 999.99)'),
  (107, 507, 'MARTHA GOMEZ RUIZ', 1,
   'Calle Tonalá', '58', '', 'Roma Norte', 'Ciudad de México', 'Cuauhtémoc',
   'Ciudad de México', '06700', 'México', '', '5551234567', '', 'martha.gomez@example.com', '',
   '', 'Contado', 'Efectivo',
   'GORM870412HT5', '616', 1003, '01', 89.9, '2026/12/01', 'G03', 1, ''),
  (108, 0, 'Roberto Sánchez Díaz', 2,
   '', '', '', '', '', '', '', '04000', 'México', '', '', '', 'roberto.sanchez@example.com', '',
   '', 'Contado', 'Efectivo',
   'XAXX010101000', '616', 2004, '01', 174, '2026/12/01', 'S01', 1, ''),
  (109, 0, 'PUBLICO EN GENERAL', 3,
   '', '', '', '', '', '', '', '53100', 'México', '', '', '', '', '',
   '', 'Contado', 'Efectivo',
   'XAXX010101000', '616', 3003, '01', 58, '2026/12/01', 'S01', 1, ''),
  (110, 510, 'MARIA ELENA CASTRO RUIZ', 4,
   'Avenida Tecnológico', '1770', '', 'Partido Senecú', 'Juárez', 'Juárez',
   'Chihuahua', '32000', 'México', '', '6561234567', '', 'maria.castro@example.com', '',
   '', 'Contado', 'Transferencia',
   'CARM850312KJ4', '612', 4001, '03', 348, '2026/12/01', 'G03', 1, ''),
  (111, 511, 'JORGE LUIS PENA SOTO', 4,
   'Calle Mina', '12', '', 'Centro', 'Juárez', 'Juárez',
   'Chihuahua', '32000', 'México', '', '6567654321', '', 'jorge.pena@example.com', '',
   '', 'Contado', 'Efectivo',
   'PESJ800101AB2', '612', 4002, '01', 4.725, '2026/12/01', 'G03', 1, '');
