-- Base de datos de informes (Informes) para SQLite: tablas de trabajo, nada que conservar.
-- Las columnas fecha guardan texto AAAA-MM-DD o AAAA-MM-DD HH:MM:SS. Se puede ejecutar varias veces.

-- Tabla de trabajo que vacia y rellena cada informe y que leen las plantillas. Sin clave.
-- La columna fila guarda el orden de escritura. No cambiar el orden de las columnas:
-- la salida CSV de un informe lo sigue tal cual.
CREATE TABLE IF NOT EXISTS informes (
    texto1 TEXT,
    texto2 TEXT,
    texto3 TEXT,
    texto4 TEXT,
    texto5 TEXT,
    texto6 TEXT,
    texto7 TEXT,
    texto8 TEXT,
    texto9 TEXT,
    texto10 TEXT,
    texto11 TEXT,
    texto12 TEXT,
    texto13 TEXT,
    texto14 TEXT,
    texto15 TEXT,
    texto16 TEXT,
    texto17 TEXT,
    texto18 TEXT,
    texto19 TEXT,
    texto20 TEXT,
    texto21 TEXT,
    texto22 TEXT,
    texto23 TEXT,
    texto24 TEXT,
    texto25 TEXT,
    texto26 TEXT,
    texto27 TEXT,
    texto28 TEXT,
    texto29 TEXT,
    texto30 TEXT,
    texto31 TEXT,
    texto32 TEXT,
    texto33 TEXT,
    texto34 TEXT,
    texto35 TEXT,
    numerico1 REAL,
    numerico2 REAL,
    numerico3 REAL,
    numerico4 REAL,
    numerico5 REAL,
    numerico6 REAL,
    numerico7 REAL,
    numerico8 REAL,
    numerico9 REAL,
    numerico10 REAL,
    numerico11 REAL,
    numerico12 REAL,
    numerico13 REAL,
    numerico14 REAL,
    numerico15 REAL,
    numerico16 REAL,
    numerico17 REAL,
    numerico18 REAL,
    numerico19 REAL,
    numerico20 REAL,
    numerico21 REAL,
    numerico22 REAL,
    fecha1 TEXT,
    fecha2 TEXT,
    fecha3 TEXT,
    fecha4 TEXT,
    entero3 INTEGER,
    doble1 REAL,
    doble2 REAL,
    -- Orden en que el constructor escribió la fila: las plantillas y el CSV
    -- las leen en ese orden, y ningún motor garantiza el de la tabla.
    fila INTEGER
);

-- Una sola fila: list1 es el sufijo que se anade al identificador del puesto.
CREATE TABLE IF NOT EXISTS cronicastemporal (
    list1 TEXT,
    list2 TEXT
);
