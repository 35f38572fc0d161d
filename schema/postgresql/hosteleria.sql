-- Base de datos de ventas (hosteleria) para PostgreSQL.
-- Fechas en date, horas en time y marcas de tiempo en timestamp, sin zona horaria: la caja
-- trabaja siempre en la hora del establecimiento.
-- Los campos si/no son enteros: 0 es falso y cualquier otro valor verdadero (la suite escribia -1),
-- asi que se preguntan siempre con <> 0 o = 0.
-- Los importes y cantidades son double precision. Los codigos que la suite compara entre comillas son texto,
-- los demas enteros. Solo hay clave primaria donde el valor es unico en toda la suite.
-- Los archivos de ejercicios cerrados usan este mismo esquema. Se puede ejecutar varias veces.

-- Configuracion de cada puesto: una fila por identificador de terminal.
-- El programa solo escribe tipo_programa cuando llega vacio. cajafastfood no es un si/no
-- como los demas: solo el valor 1 marca una caja de comida rapida.
CREATE TABLE IF NOT EXISTS opciones (
    identificador text PRIMARY KEY,
    nombre text,
    direccion text,
    poblacion text,
    cif text,
    telefono text,
    simbolo text,
    terminal text,
    cajafastfood integer DEFAULT 0,
    tipo_programa text,
    rutafotos text,
    idioma text,
    modulo_factura integer DEFAULT 0,
    numdecimales integer
);

-- La clave es el identificador del puesto seguido del sufijo de cronicastemporal.
CREATE TABLE IF NOT EXISTS opciones_terminal (
    identificador text PRIMARY KEY,
    id_color integer,
    empleado integer,
    colorpredefinido integer DEFAULT 0
);

-- Pares clave-valor de la suite. indice se repite (ActivadoVigia lleva una fila por puesto), asi que no es clave.
CREATE TABLE IF NOT EXISTS relaciones_fijas (
    indice text,
    datoa text,
    otros text
);

CREATE TABLE IF NOT EXISTS valores_fijos (
    emailinformes text
);

-- impresora guarda el nombre de dispositivo del sistema, no un codigo.
CREATE TABLE IF NOT EXISTS impresoras (
    codigo integer PRIMARY KEY,
    impresora text,
    fuente text,
    numcaracteres integer
);

-- impresora apunta a impresoras.codigo, tipoimpresora es T (tiquet) o F (folio).
CREATE TABLE IF NOT EXISTS terminalimpresora (
    terminal text,
    impresora integer,
    tipoimpresora text
);

-- El orden de las columnas importa: la paleta se lee por posicion (1 a 14) tras id_color.
CREATE TABLE IF NOT EXISTS colores (
    id_color integer PRIMARY KEY,
    color1 integer,
    color2 integer,
    color3 integer,
    color4 integer,
    color5 integer,
    color6 integer,
    color7 integer,
    color8 integer,
    color9 integer,
    color10 integer,
    color11 integer,
    color12 integer,
    color13 integer,
    color14 integer
);

CREATE TABLE IF NOT EXISTS traducciones (
    caption text,
    traduccion text
);

CREATE TABLE IF NOT EXISTS configuracionregional (
    nombre text
);

-- Catalogo de botones restringibles. codigo lo asigna el propio programa (maximo mas uno).
CREATE TABLE IF NOT EXISTS atributos (
    codigo integer PRIMARY KEY,
    form text,
    form_desc text,
    boton text,
    boton_desc text,
    boton_auxiliar text
);

-- Una fila significa que ese empleado no puede usar ese boton.
CREATE TABLE IF NOT EXISTS empleadosatributos (
    codempleado integer,
    codatributo integer
);

-- libra es la letra del dia libre (l, m, x, j, v, s, d).
CREATE TABLE IF NOT EXISTS empleados (
    codigo integer PRIMARY KEY,
    nombre text,
    apellidos text,
    direccion text,
    cp text,
    telefono text,
    dni text,
    localidad text,
    provincia text,
    sueldobase double precision,
    fechaalta date,
    fechabaja date,
    horario text,
    funcion text,
    libra text,
    usuario text,
    clave text,
    ss text,
    baja integer DEFAULT 0
);

-- numero, piso y puerta son texto porque forman parte de la direccion (12 bis, 3 izq).
CREATE TABLE IF NOT EXISTS clientes (
    codigo integer PRIMARY KEY,
    nombre text,
    apellidos text,
    direccion text,
    numero text,
    piso text,
    puerta text,
    codigo_postal text,
    poblacion text,
    telefono text,
    fax text,
    cif text,
    e_mail text,
    descuento double precision
);

-- El codigo es texto numerico: productos.proveedor y pedidos.proveedor lo comparan entre comillas.
CREATE TABLE IF NOT EXISTS proveedores (
    codigo text PRIMARY KEY,
    nombre text,
    direccion text,
    poblacion text,
    provincia text,
    codigopostal text,
    telefono text,
    fax text,
    contacto text,
    nif text,
    email text,
    borrar integer DEFAULT 0
);

-- Familias y menus. hechoen vale 1 en barra y 2 en cocina, impuesto es el tipo en tanto por ciento.
CREATE TABLE IF NOT EXISTS seccion (
    codigo text PRIMARY KEY,
    nombre text,
    nombrecompleto text,
    descnumerica text,
    hechoen integer,
    precio double precision,
    impuesto double precision,
    coste double precision,
    menu integer DEFAULT 0,
    borrar integer DEFAULT 0
);

-- seccion y proveedor son texto como los codigos a los que apuntan. Un producto sin familia
-- puede llevar seccion '-1'. codigobarras es texto para no perder los ceros iniciales de un EAN.
CREATE TABLE IF NOT EXISTS productos (
    codigo text PRIMARY KEY,
    nombre text,
    descripcion text,
    descnumerica text,
    precio double precision,
    coste double precision,
    iva double precision,
    entrada double precision,
    salida double precision,
    stock double precision,
    stockminimo double precision,
    stockconsumointerno double precision,
    seccion text,
    proveedor text,
    tipoprod integer,
    codigobarras text,
    borrar integer DEFAULT 0
);

-- Escandallo: de que productos se compone un producto elaborado.
CREATE TABLE IF NOT EXISTS productoelaborado_producto (
    productopadre text,
    productohijo text,
    cantidad double precision
);

-- Movimientos de almacen. descripciontipo 2 es una salida por venta.
CREATE TABLE IF NOT EXISTS historicostock (
    id integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    codigo text,
    cantidad double precision,
    fecha date,
    descripciontipo integer
);

CREATE TABLE IF NOT EXISTS pedidos (
    cod integer PRIMARY KEY,
    fecha date,
    proveedor text
);

CREATE TABLE IF NOT EXISTS pedidosdet (
    pedido integer,
    producto text,
    coste double precision,
    unidades double precision
);

-- Comandas de cocina. numfactura queda a nulo mientras la venta sigue abierta.
CREATE TABLE IF NOT EXISTS cocifac (
    fecha date,
    numventa integer,
    numfactura integer
);

CREATE TABLE IF NOT EXISTS salones (
    codigo integer PRIMARY KEY,
    nombre text
);

-- nummesa es el rotulo que ve el camarero, por eso es texto.
CREATE TABLE IF NOT EXISTS mesas (
    codigo integer PRIMARY KEY,
    nummesa text,
    salon integer
);

CREATE TABLE IF NOT EXISTS formapago (
    codigo integer PRIMARY KEY,
    nombre text,
    tarjeta integer DEFAULT 0,
    borrar integer DEFAULT 0
);

CREATE TABLE IF NOT EXISTS promociones (
    numero integer PRIMARY KEY,
    descripcion text
);

-- Ventas cobradas. fecha es el dia en que se abrio la venta y fechaventa el dia de negocio
-- en que se cerro, que es el que filtran los informes. efectivo y tarjeta solo llevan
-- importe cuando el cobro se reparte entre los dos medios.
-- total es lo cobrado: el precio de las lineas no borradas mas recargo menos descuento
-- (descuento incluye el de la factura entera, que no esta en ninguna linea). impuesto es
-- la cuota que va dentro de total. Ningun informe vuelve a sumar el recargo ni a restar
-- el descuento a total: la base es total - impuesto.
CREATE TABLE IF NOT EXISTS cabecera_factura (
    numero integer PRIMARY KEY,
    fecha date,
    fechaventa date,
    hora time,
    hora_inicio time,
    camarero text,
    codigo_camarero integer,
    zona_venta integer,
    mesa integer,
    total double precision,
    impuesto double precision,
    recargo double precision,
    descuento double precision,
    impuestoincluido integer DEFAULT 0,
    pago integer,
    efectivo double precision,
    tarjeta double precision,
    cliente integer,
    modoventa integer,
    repartidor integer,
    terminal text,
    borrar integer DEFAULT 0
);

-- Ventas eliminadas, mismas columnas que cabecera_factura. Sin clave: las anuladas sin
-- numero de factura llevan numero 0 o negativo y pueden repetirse.
CREATE TABLE IF NOT EXISTS cabecera_factura_anulaciones (
    numero integer,
    fecha date,
    fechaventa date,
    hora time,
    hora_inicio time,
    camarero text,
    codigo_camarero integer,
    zona_venta integer,
    mesa integer,
    total double precision,
    impuesto double precision,
    recargo double precision,
    descuento double precision,
    impuestoincluido integer DEFAULT 0,
    pago integer,
    efectivo double precision,
    tarjeta double precision,
    cliente integer,
    modoventa integer,
    repartidor integer,
    terminal text,
    borrar integer DEFAULT 0
);

-- Ventas abiertas todavia sin cobrar, mismas columnas que cabecera_factura. Sin clave:
-- los informes solo la consultan por numero y no hay por que imponer unicidad a la suite.
CREATE TABLE IF NOT EXISTS cabecera_factura_temp (
    numero integer,
    fecha date,
    fechaventa date,
    hora time,
    hora_inicio time,
    camarero text,
    codigo_camarero integer,
    zona_venta integer,
    mesa integer,
    total double precision,
    impuesto double precision,
    recargo double precision,
    descuento double precision,
    impuestoincluido integer DEFAULT 0,
    pago integer,
    efectivo double precision,
    tarjeta double precision,
    cliente integer,
    modoventa integer,
    repartidor integer,
    terminal text,
    borrar integer DEFAULT 0
);

-- Lineas de venta. precio es el importe de la linea e impuesto su cuota, tipoimpuesto el
-- tipo en tanto por ciento. Un menu es una linea cabecera (menu y orden 0) seguida de sus
-- platos (productodemenu y orden mayor que 0).
CREATE TABLE IF NOT EXISTS detalle_factura (
    num_factura integer,
    indice integer,
    orden integer,
    codigo text,
    producto text,
    precio double precision,
    precio_unit double precision,
    unidades double precision,
    impuesto double precision,
    tipoimpuesto double precision,
    descuento double precision,
    recargo double precision,
    codcamarero integer,
    nombrecamarero text,
    menu integer DEFAULT 0,
    productodemenu integer DEFAULT 0,
    codmenu text,
    promocion integer,
    unidadespromocion double precision,
    borrar integer DEFAULT 0
);

-- Lineas eliminadas. Sin clave: varias anulaciones de una misma venta repiten num_factura.
CREATE TABLE IF NOT EXISTS detalle_factura_anulaciones (
    num_factura integer,
    indice integer,
    orden integer,
    codigo text,
    producto text,
    precio double precision,
    precio_unit double precision,
    unidades double precision,
    impuesto double precision,
    tipoimpuesto double precision,
    descuento double precision,
    recargo double precision,
    codcamarero integer,
    nombrecamarero text,
    menu integer DEFAULT 0,
    productodemenu integer DEFAULT 0,
    codmenu text,
    promocion integer,
    unidadespromocion double precision,
    borrar integer DEFAULT 0,
    num_facturaorigen integer,
    fechaanulacion date,
    servido integer DEFAULT 0
);

CREATE TABLE IF NOT EXISTS propinas (
    id integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    numventa integer,
    importe double precision,
    codempleado integer,
    nomempleado text,
    fecha date
);

-- Comprobantes fiscales (NCF) de la Republica Dominicana.
CREATE TABLE IF NOT EXISTS facturatiporepdom (
    nrofactura integer,
    cfc text,
    tipo integer,
    nroactual integer
);

CREATE TABLE IF NOT EXISTS cierre_caja (
    id integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    fecha date,
    hora time,
    recuento double precision,
    caja double precision,
    tarjeta double precision,
    cajainicialsiguientedia double precision,
    nom_empleado text
);

-- La suite reparte el gasto en importe e importe_decimal y cada informe los combina a su
-- manera (los dos, solo importe_decimal, o este cuando no es cero), asi que no se funden.
CREATE TABLE IF NOT EXISTS gastos (
    id integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    fecha date,
    hora time,
    codigoempleado integer,
    importe double precision,
    importe_decimal double precision,
    motivo text
);

CREATE TABLE IF NOT EXISTS retiradas (
    id integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    empleado integer,
    fecha date,
    hora time,
    importe double precision
);

-- mesa es texto libre de la reserva, no una clave de mesas.
CREATE TABLE IF NOT EXISTS reservas (
    id integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    telefono text,
    fecha date,
    hora time,
    nombre text,
    mesa text,
    numcomensales integer
);

-- Indices para los rangos de fechas y los cruces por numero de venta que hacen los informes.
-- Los rangos se escriben siempre sobre la columna desnuda para que estos indices sirvan.
CREATE INDEX IF NOT EXISTS ix_cabecera_factura_fechaventa ON cabecera_factura (fechaventa);
CREATE INDEX IF NOT EXISTS ix_cabecera_factura_anulaciones_fechaventa ON cabecera_factura_anulaciones (fechaventa);
CREATE INDEX IF NOT EXISTS ix_cabecera_factura_anulaciones_fecha ON cabecera_factura_anulaciones (fecha);
CREATE INDEX IF NOT EXISTS ix_cabecera_factura_anulaciones_numero ON cabecera_factura_anulaciones (numero);
CREATE INDEX IF NOT EXISTS ix_cabecera_factura_temp_numero ON cabecera_factura_temp (numero);
CREATE INDEX IF NOT EXISTS ix_detalle_factura_num_factura_indice ON detalle_factura (num_factura, indice);
CREATE INDEX IF NOT EXISTS ix_detalle_factura_codigo ON detalle_factura (codigo);
-- Solo las lineas vendidas con promocion, que son pocas: el informe de promociones las
-- encuentra sin recorrer todas las lineas del periodo.
CREATE INDEX IF NOT EXISTS ix_detalle_factura_promocion ON detalle_factura (num_factura, indice) WHERE promocion > 0;
CREATE INDEX IF NOT EXISTS ix_detalle_factura_anulaciones_num_factura ON detalle_factura_anulaciones (num_factura);
CREATE INDEX IF NOT EXISTS ix_detalle_factura_anulaciones_fechaanulacion ON detalle_factura_anulaciones (fechaanulacion);
CREATE INDEX IF NOT EXISTS ix_empleadosatributos_codempleado ON empleadosatributos (codempleado);
CREATE INDEX IF NOT EXISTS ix_historicostock_fecha ON historicostock (fecha);
CREATE INDEX IF NOT EXISTS ix_pedidos_fecha ON pedidos (fecha);
CREATE INDEX IF NOT EXISTS ix_pedidosdet_pedido ON pedidosdet (pedido);
CREATE INDEX IF NOT EXISTS ix_cocifac_fecha ON cocifac (fecha);
CREATE INDEX IF NOT EXISTS ix_cocifac_numfactura ON cocifac (numfactura);
CREATE INDEX IF NOT EXISTS ix_propinas_numventa ON propinas (numventa);
CREATE INDEX IF NOT EXISTS ix_propinas_fecha ON propinas (fecha);
CREATE INDEX IF NOT EXISTS ix_facturatiporepdom_nrofactura ON facturatiporepdom (nrofactura);
CREATE INDEX IF NOT EXISTS ix_cierre_caja_fecha ON cierre_caja (fecha);
CREATE INDEX IF NOT EXISTS ix_gastos_fecha ON gastos (fecha);
CREATE INDEX IF NOT EXISTS ix_retiradas_fecha ON retiradas (fecha);
CREATE INDEX IF NOT EXISTS ix_reservas_fecha ON reservas (fecha);
CREATE INDEX IF NOT EXISTS ix_reservas_telefono ON reservas (telefono);
