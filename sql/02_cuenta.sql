-- Cuenta con la que el facturador trabaja en la base central.
-- Se puede ejecutar varias veces: ALTER USER restablece la contraseña si cambió.

CREATE USER IF NOT EXISTS 'usuarios'@'localhost' IDENTIFIED BY 'm58kbwTavRz07';
ALTER USER 'usuarios'@'localhost' IDENTIFIED BY 'm58kbwTavRz07';
-- CREATE: al arrancar, el facturador crea las tablas propias que le falten a una base
-- central anterior a ellas (nunca borra ni altera una tabla).
GRANT SELECT, INSERT, UPDATE, DELETE, CREATE ON Morvane_Central.* TO 'usuarios'@'localhost';
