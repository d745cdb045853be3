-- Cuentas de la base central: la del facturador y las de quienes trabajan a su lado.
-- Se puede ejecutar varias veces: solo crea las cuentas que faltan y da los permisos que falten,
-- y nunca cambia la contraseña que una cuenta ya tenga, que puede ser una propia de la
-- instalación (/etc/facturador/*.conf). Va después de 01_esquema.sql: un permiso sobre una tabla
-- solo se da cuando la tabla existe.

-- El facturador (el servicio, /etc/facturador/central.conf): genera, recibe, cancela, reencola.
CREATE USER IF NOT EXISTS 'usuarios'@'localhost' IDENTIFIED BY 'm58kbwTavRz07';
-- CREATE: al arrancar, el facturador crea las tablas propias que le falten a una base
-- central anterior a ellas (nunca borra ni altera una tabla).
GRANT SELECT, INSERT, UPDATE, DELETE, CREATE ON Morvane_Central.* TO 'usuarios'@'localhost';

-- Las otras dos cuentas nacen bloqueadas y sin contraseña: nadie entra con ellas hasta que el
-- administrador les da una propia y la escribe en su archivo (ALTER USER ... IDENTIFIED BY ...
-- ACCOUNT UNLOCK). Sus permisos son exactamente los de este archivo: cada ejecución les quita
-- los que tuvieran y les da estos.

-- El monitoreo (facturador --estado, /etc/facturador/monitoreo.conf): solo lee lo que el informe
-- de salud consulta.
CREATE USER IF NOT EXISTS 'facturador_monitoreo'@'localhost' ACCOUNT LOCK;
REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'facturador_monitoreo'@'localhost';
GRANT SELECT ON Morvane_Central.Sucursales TO 'facturador_monitoreo'@'localhost';
GRANT SELECT ON Morvane_Central.Solicitudes_de_Facturas_OL TO 'facturador_monitoreo'@'localhost';
GRANT SELECT ON Morvane_Central.Configuracion_Facturas_Electronicas
  TO 'facturador_monitoreo'@'localhost';
GRANT SELECT ON Morvane_Central.Zonas_Horarias_Sucursales TO 'facturador_monitoreo'@'localhost';
GRANT SELECT ON Morvane_Central.Turno_Facturador TO 'facturador_monitoreo'@'localhost';

-- La consola del operador (facturador-consola, /etc/facturador/consola.conf): lee la historia
-- completa de cada solicitud; cancela facturas (estado y comentario de la factura, el ticket
-- vuelve a poder facturarse, sus montos se anulan), edita los perfiles de emisión y el mensaje
-- del correo, reactiva solicitudes rechazadas y pide reencolados. No puede tomar el turno de
-- trabajo ni registrar facturas: eso lo hace el servicio.
CREATE USER IF NOT EXISTS 'facturador_consola'@'localhost' ACCOUNT LOCK;
REVOKE ALL PRIVILEGES, GRANT OPTION FROM 'facturador_consola'@'localhost';
GRANT SELECT ON Morvane_Central.Sucursales TO 'facturador_consola'@'localhost';
GRANT SELECT ON Morvane_Central.Zonas_Horarias_Sucursales TO 'facturador_consola'@'localhost';
GRANT SELECT ON Morvane_Central.Turno_Facturador TO 'facturador_consola'@'localhost';
GRANT SELECT ON Morvane_Central.Comprobantes_Fiscales TO 'facturador_consola'@'localhost';
GRANT SELECT, UPDATE (Status, Resultado) ON Morvane_Central.Solicitudes_de_Facturas_OL
  TO 'facturador_consola'@'localhost';
GRANT SELECT, UPDATE (Status, Comentario) ON Morvane_Central.Facturas_Electronicas
  TO 'facturador_consola'@'localhost';
GRANT SELECT, UPDATE (Se_dio_Factura) ON Morvane_Central.Tickets
  TO 'facturador_consola'@'localhost';
GRANT SELECT, UPDATE (Status) ON Morvane_Central.Montos_Facturados
  TO 'facturador_consola'@'localhost';
GRANT SELECT, UPDATE ON Morvane_Central.Configuracion_Facturas_Electronicas
  TO 'facturador_consola'@'localhost';
GRANT SELECT, UPDATE (Mensaje_Facturacion_en_Email) ON Morvane_Central.Configuracion
  TO 'facturador_consola'@'localhost';
GRANT SELECT, INSERT ON Morvane_Central.Pedidos_Reencolado TO 'facturador_consola'@'localhost';
-- Cada búsqueda copia antes a su índice las solicitudes nuevas que ningún cambio copió todavía.
GRANT SELECT, INSERT ON Morvane_Central.Indice_Solicitudes TO 'facturador_consola'@'localhost';
