-- Cuenta con la que el facturador trabaja en la base central.
-- Se puede ejecutar varias veces: ALTER USER restablece la contraseña si cambió.

CREATE USER IF NOT EXISTS 'usuarios'@'localhost' IDENTIFIED BY 'm58kbwTavRz07';
ALTER USER 'usuarios'@'localhost' IDENTIFIED BY 'm58kbwTavRz07';
GRANT SELECT, INSERT, UPDATE, DELETE ON Morvane_Central.* TO 'usuarios'@'localhost';
-- El programa crea su tabla de turno si falta (una base creada antes de ella).
GRANT CREATE ON Morvane_Central.Turno_Facturador TO 'usuarios'@'localhost';
