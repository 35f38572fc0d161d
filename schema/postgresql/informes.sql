-- Base de datos de informes (Informes) para PostgreSQL: tablas de trabajo, nada que conservar.
-- Las columnas fecha son timestamp sin zona horaria. Se puede ejecutar varias veces.

-- Tabla de trabajo que vacia y rellena cada informe y que leen las plantillas. Sin clave.
-- La columna fila guarda el orden de escritura. No cambiar el orden de las columnas:
-- la salida CSV de un informe lo sigue tal cual.
CREATE TABLE IF NOT EXISTS informes (
    texto1 text,
    texto2 text,
    texto3 text,
    texto4 text,
    texto5 text,
    texto6 text,
    texto7 text,
    texto8 text,
    texto9 text,
    texto10 text,
    texto11 text,
    texto12 text,
    texto13 text,
    texto14 text,
    texto15 text,
    texto16 text,
    texto17 text,
    texto18 text,
    texto19 text,
    texto20 text,
    texto21 text,
    texto22 text,
    texto23 text,
    texto24 text,
    texto25 text,
    texto26 text,
    texto27 text,
    texto28 text,
    texto29 text,
    texto30 text,
    texto31 text,
    texto32 text,
    texto33 text,
    texto34 text,
    texto35 text,
    numerico1 double precision,
    numerico2 double precision,
    numerico3 double precision,
    numerico4 double precision,
    numerico5 double precision,
    numerico6 double precision,
    numerico7 double precision,
    numerico8 double precision,
    numerico9 double precision,
    numerico10 double precision,
    numerico11 double precision,
    numerico12 double precision,
    numerico13 double precision,
    numerico14 double precision,
    numerico15 double precision,
    numerico16 double precision,
    numerico17 double precision,
    numerico18 double precision,
    numerico19 double precision,
    numerico20 double precision,
    numerico21 double precision,
    numerico22 double precision,
    fecha1 timestamp,
    fecha2 timestamp,
    fecha3 timestamp,
    fecha4 timestamp,
    entero3 integer,
    doble1 double precision,
    doble2 double precision,
    -- Orden en que el constructor escribió la fila: las plantillas y el CSV
    -- las leen en ese orden, y ningún motor garantiza el de la tabla.
    fila integer
);

-- Una sola fila: list1 es el sufijo que se anade al identificador del puesto.
CREATE TABLE IF NOT EXISTS cronicastemporal (
    list1 text,
    list2 text
);
