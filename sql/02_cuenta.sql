-- Cuenta con la que el facturador trabaja en la base central.
-- Se puede ejecutar varias veces: solo crea la cuenta si falta, y nunca cambia la contraseña que
-- ya tenga, que puede ser una propia de la instalación (/etc/facturador/central.conf).

CREATE USER IF NOT EXISTS 'usuarios'@'localhost' IDENTIFIED BY 'm58kbwTavRz07';
-- CREATE: al arrancar, el facturador crea las tablas propias que le falten a una base
-- central anterior a ellas (nunca borra ni altera una tabla).
GRANT SELECT, INSERT, UPDATE, DELETE, CREATE ON Morvane_Central.* TO 'usuarios'@'localhost';
