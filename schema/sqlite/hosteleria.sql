-- Base de datos de ventas (hosteleria) para SQLite.
-- Fechas como texto AAAA-MM-DD, horas HH:MM:SS y marcas de tiempo AAAA-MM-DD HH:MM:SS, para que
-- ordenar y comparar como texto sea ordenar y comparar en el tiempo.
-- Los campos si/no son enteros: 0 es falso y cualquier otro valor verdadero (la suite escribia -1),
-- asi que se preguntan siempre con <> 0 o = 0.
-- Los importes y cantidades son REAL. Los codigos que la suite compara entre comillas son texto,
-- los demas enteros. Solo hay clave primaria donde el valor es unico en toda la suite.
-- Los archivos de ejercicios cerrados usan este mismo esquema. Se puede ejecutar varias veces.

-- Configuracion de cada puesto: una fila por identificador de terminal.
-- El programa solo escribe tipo_programa cuando llega vacio. cajafastfood no es un si/no
-- como los demas: solo el valor 1 marca una caja de comida rapida.
CREATE TABLE IF NOT EXISTS opciones (
    identificador TEXT PRIMARY KEY,
    nombre TEXT,
    direccion TEXT,
    poblacion TEXT,
    cif TEXT,
    telefono TEXT,
    simbolo TEXT,
    terminal TEXT,
    cajafastfood INTEGER DEFAULT 0,
    tipo_programa TEXT,
    rutafotos TEXT,
    idioma TEXT,
    modulo_factura INTEGER DEFAULT 0,
    numdecimales INTEGER
);

-- La clave es el identificador del puesto seguido del sufijo de cronicastemporal.
CREATE TABLE IF NOT EXISTS opciones_terminal (
    identificador TEXT PRIMARY KEY,
    id_color INTEGER,
    empleado INTEGER,
    colorpredefinido INTEGER DEFAULT 0
);

-- Pares clave-valor de la suite. indice se repite (ActivadoVigia lleva una fila por puesto), asi que no es clave.
CREATE TABLE IF NOT EXISTS relaciones_fijas (
    indice TEXT,
    datoa TEXT,
    otros TEXT
);

CREATE TABLE IF NOT EXISTS valores_fijos (
    emailinformes TEXT
);

-- impresora guarda el nombre de dispositivo del sistema, no un codigo.
CREATE TABLE IF NOT EXISTS impresoras (
    codigo INTEGER PRIMARY KEY,
    impresora TEXT,
    fuente TEXT,
    numcaracteres INTEGER
);

-- impresora apunta a impresoras.codigo, tipoimpresora es T (tiquet) o F (folio).
CREATE TABLE IF NOT EXISTS terminalimpresora (
    terminal TEXT,
    impresora INTEGER,
    tipoimpresora TEXT
);

-- El orden de las columnas importa: la paleta se lee por posicion (1 a 14) tras id_color.
CREATE TABLE IF NOT EXISTS colores (
    id_color INTEGER PRIMARY KEY,
    color1 INTEGER,
    color2 INTEGER,
    color3 INTEGER,
    color4 INTEGER,
    color5 INTEGER,
    color6 INTEGER,
    color7 INTEGER,
    color8 INTEGER,
    color9 INTEGER,
    color10 INTEGER,
    color11 INTEGER,
    color12 INTEGER,
    color13 INTEGER,
    color14 INTEGER
);

CREATE TABLE IF NOT EXISTS traducciones (
    caption TEXT,
    traduccion TEXT
);

CREATE TABLE IF NOT EXISTS configuracionregional (
    nombre TEXT
);

-- Catalogo de botones restringibles. codigo lo asigna el propio programa (maximo mas uno).
CREATE TABLE IF NOT EXISTS atributos (
    codigo INTEGER PRIMARY KEY,
    form TEXT,
    form_desc TEXT,
    boton TEXT,
    boton_desc TEXT,
    boton_auxiliar TEXT
);

-- Una fila significa que ese empleado no puede usar ese boton.
CREATE TABLE IF NOT EXISTS empleadosatributos (
    codempleado INTEGER,
    codatributo INTEGER
);

-- libra es la letra del dia libre (l, m, x, j, v, s, d).
CREATE TABLE IF NOT EXISTS empleados (
    codigo INTEGER PRIMARY KEY,
    nombre TEXT,
    apellidos TEXT,
    direccion TEXT,
    cp TEXT,
    telefono TEXT,
    dni TEXT,
    localidad TEXT,
    provincia TEXT,
    sueldobase REAL,
    fechaalta TEXT,
    fechabaja TEXT,
    horario TEXT,
    funcion TEXT,
    libra TEXT,
    usuario TEXT,
    clave TEXT,
    ss TEXT,
    baja INTEGER DEFAULT 0
);

-- numero, piso y puerta son texto porque forman parte de la direccion (12 bis, 3 izq).
CREATE TABLE IF NOT EXISTS clientes (
    codigo INTEGER PRIMARY KEY,
    nombre TEXT,
    apellidos TEXT,
    direccion TEXT,
    numero TEXT,
    piso TEXT,
    puerta TEXT,
    codigo_postal TEXT,
    poblacion TEXT,
    telefono TEXT,
    fax TEXT,
    cif TEXT,
    e_mail TEXT,
    descuento REAL
);

-- El codigo es texto numerico: productos.proveedor y pedidos.proveedor lo comparan entre comillas.
CREATE TABLE IF NOT EXISTS proveedores (
    codigo TEXT PRIMARY KEY,
    nombre TEXT,
    direccion TEXT,
    poblacion TEXT,
    provincia TEXT,
    codigopostal TEXT,
    telefono TEXT,
    fax TEXT,
    contacto TEXT,
    nif TEXT,
    email TEXT,
    borrar INTEGER DEFAULT 0
);

-- Familias y menus. hechoen vale 1 en barra y 2 en cocina, impuesto es el tipo en tanto por ciento.
CREATE TABLE IF NOT EXISTS seccion (
    codigo TEXT PRIMARY KEY,
    nombre TEXT,
    nombrecompleto TEXT,
    descnumerica TEXT,
    hechoen INTEGER,
    precio REAL,
    impuesto REAL,
    coste REAL,
    menu INTEGER DEFAULT 0,
    borrar INTEGER DEFAULT 0
);

-- seccion y proveedor son texto como los codigos a los que apuntan. Un producto sin familia
-- puede llevar seccion '-1'. codigobarras es texto para no perder los ceros iniciales de un EAN.
CREATE TABLE IF NOT EXISTS productos (
    codigo TEXT PRIMARY KEY,
    nombre TEXT,
    descripcion TEXT,
    descnumerica TEXT,
    precio REAL,
    coste REAL,
    iva REAL,
    entrada REAL,
    salida REAL,
    stock REAL,
    stockminimo REAL,
    stockconsumointerno REAL,
    seccion TEXT,
    proveedor TEXT,
    tipoprod INTEGER,
    codigobarras TEXT,
    borrar INTEGER DEFAULT 0
);

-- Escandallo: de que productos se compone un producto elaborado.
CREATE TABLE IF NOT EXISTS productoelaborado_producto (
    productopadre TEXT,
    productohijo TEXT,
    cantidad REAL
);

-- Movimientos de almacen. descripciontipo 2 es una salida por venta.
CREATE TABLE IF NOT EXISTS historicostock (
    id INTEGER PRIMARY KEY,
    codigo TEXT,
    cantidad REAL,
    fecha TEXT,
    descripciontipo INTEGER
);

CREATE TABLE IF NOT EXISTS pedidos (
    cod INTEGER PRIMARY KEY,
    fecha TEXT,
    proveedor TEXT
);

CREATE TABLE IF NOT EXISTS pedidosdet (
    pedido INTEGER,
    producto TEXT,
    coste REAL,
    unidades REAL
);

-- Comandas de cocina. numfactura queda a nulo mientras la venta sigue abierta.
CREATE TABLE IF NOT EXISTS cocifac (
    fecha TEXT,
    numventa INTEGER,
    numfactura INTEGER
);

CREATE TABLE IF NOT EXISTS salones (
    codigo INTEGER PRIMARY KEY,
    nombre TEXT
);

-- nummesa es el rotulo que ve el camarero, por eso es texto.
CREATE TABLE IF NOT EXISTS mesas (
    codigo INTEGER PRIMARY KEY,
    nummesa TEXT,
    salon INTEGER
);

CREATE TABLE IF NOT EXISTS formapago (
    codigo INTEGER PRIMARY KEY,
    nombre TEXT,
    tarjeta INTEGER DEFAULT 0,
    borrar INTEGER DEFAULT 0
);

CREATE TABLE IF NOT EXISTS promociones (
    numero INTEGER PRIMARY KEY,
    descripcion TEXT
);

-- Ventas cobradas. fecha es el dia en que se abrio la venta y fechaventa el dia de negocio
-- en que se cerro, que es el que filtran los informes. efectivo y tarjeta solo llevan
-- importe cuando el cobro se reparte entre los dos medios.
-- total es lo cobrado: el precio de las lineas no borradas mas recargo menos descuento
-- (descuento incluye el de la factura entera, que no esta en ninguna linea). impuesto es
-- la cuota que va dentro de total. Ningun informe vuelve a sumar el recargo ni a restar
-- el descuento a total: la base es total - impuesto.
CREATE TABLE IF NOT EXISTS cabecera_factura (
    numero INTEGER PRIMARY KEY,
    fecha TEXT,
    fechaventa TEXT,
    hora TEXT,
    hora_inicio TEXT,
    camarero TEXT,
    codigo_camarero INTEGER,
    zona_venta INTEGER,
    mesa INTEGER,
    total REAL,
    impuesto REAL,
    recargo REAL,
    descuento REAL,
    impuestoincluido INTEGER DEFAULT 0,
    pago INTEGER,
    efectivo REAL,
    tarjeta REAL,
    cliente INTEGER,
    modoventa INTEGER,
    repartidor INTEGER,
    terminal TEXT,
    borrar INTEGER DEFAULT 0
);

-- Ventas eliminadas, mismas columnas que cabecera_factura. Sin clave: las anuladas sin
-- numero de factura llevan numero 0 o negativo y pueden repetirse.
CREATE TABLE IF NOT EXISTS cabecera_factura_anulaciones (
    numero INTEGER,
    fecha TEXT,
    fechaventa TEXT,
    hora TEXT,
    hora_inicio TEXT,
    camarero TEXT,
    codigo_camarero INTEGER,
    zona_venta INTEGER,
    mesa INTEGER,
    total REAL,
    impuesto REAL,
    recargo REAL,
    descuento REAL,
    impuestoincluido INTEGER DEFAULT 0,
    pago INTEGER,
    efectivo REAL,
    tarjeta REAL,
    cliente INTEGER,
    modoventa INTEGER,
    repartidor INTEGER,
    terminal TEXT,
    borrar INTEGER DEFAULT 0
);

-- Ventas abiertas todavia sin cobrar, mismas columnas que cabecera_factura. Sin clave:
-- los informes solo la consultan por numero y no hay por que imponer unicidad a la suite.
CREATE TABLE IF NOT EXISTS cabecera_factura_temp (
    numero INTEGER,
    fecha TEXT,
    fechaventa TEXT,
    hora TEXT,
    hora_inicio TEXT,
    camarero TEXT,
    codigo_camarero INTEGER,
    zona_venta INTEGER,
    mesa INTEGER,
    total REAL,
    impuesto REAL,
    recargo REAL,
    descuento REAL,
    impuestoincluido INTEGER DEFAULT 0,
    pago INTEGER,
    efectivo REAL,
    tarjeta REAL,
    cliente INTEGER,
    modoventa INTEGER,
    repartidor INTEGER,
    terminal TEXT,
    borrar INTEGER DEFAULT 0
);

-- Lineas de venta. precio es el importe de la linea e impuesto su cuota, tipoimpuesto el
-- tipo en tanto por ciento. Un menu es una linea cabecera (menu y orden 0) seguida de sus
-- platos (productodemenu y orden mayor que 0).
CREATE TABLE IF NOT EXISTS detalle_factura (
    num_factura INTEGER,
    indice INTEGER,
    orden INTEGER,
    codigo TEXT,
    producto TEXT,
    precio REAL,
    precio_unit REAL,
    unidades REAL,
    impuesto REAL,
    tipoimpuesto REAL,
    descuento REAL,
    recargo REAL,
    codcamarero INTEGER,
    nombrecamarero TEXT,
    menu INTEGER DEFAULT 0,
    productodemenu INTEGER DEFAULT 0,
    codmenu TEXT,
    promocion INTEGER,
    unidadespromocion REAL,
    borrar INTEGER DEFAULT 0
);

-- Lineas eliminadas. Sin clave: varias anulaciones de una misma venta repiten num_factura.
CREATE TABLE IF NOT EXISTS detalle_factura_anulaciones (
    num_factura INTEGER,
    indice INTEGER,
    orden INTEGER,
    codigo TEXT,
    producto TEXT,
    precio REAL,
    precio_unit REAL,
    unidades REAL,
    impuesto REAL,
    tipoimpuesto REAL,
    descuento REAL,
    recargo REAL,
    codcamarero INTEGER,
    nombrecamarero TEXT,
    menu INTEGER DEFAULT 0,
    productodemenu INTEGER DEFAULT 0,
    codmenu TEXT,
    promocion INTEGER,
    unidadespromocion REAL,
    borrar INTEGER DEFAULT 0,
    num_facturaorigen INTEGER,
    fechaanulacion TEXT,
    servido INTEGER DEFAULT 0
);

CREATE TABLE IF NOT EXISTS propinas (
    id INTEGER PRIMARY KEY,
    numventa INTEGER,
    importe REAL,
    codempleado INTEGER,
    nomempleado TEXT,
    fecha TEXT
);

-- Comprobantes fiscales (NCF) de la Republica Dominicana.
CREATE TABLE IF NOT EXISTS facturatiporepdom (
    nrofactura INTEGER,
    cfc TEXT,
    tipo INTEGER,
    nroactual INTEGER
);

CREATE TABLE IF NOT EXISTS cierre_caja (
    id INTEGER PRIMARY KEY,
    fecha TEXT,
    hora TEXT,
    recuento REAL,
    caja REAL,
    tarjeta REAL,
    cajainicialsiguientedia REAL,
    nom_empleado TEXT
);

-- La suite reparte el gasto en importe e importe_decimal y cada informe los combina a su
-- manera (los dos, solo importe_decimal, o este cuando no es cero), asi que no se funden.
CREATE TABLE IF NOT EXISTS gastos (
    id INTEGER PRIMARY KEY,
    fecha TEXT,
    hora TEXT,
    codigoempleado INTEGER,
    importe REAL,
    importe_decimal REAL,
    motivo TEXT
);

CREATE TABLE IF NOT EXISTS retiradas (
    id INTEGER PRIMARY KEY,
    empleado INTEGER,
    fecha TEXT,
    hora TEXT,
    importe REAL
);

-- mesa es texto libre de la reserva, no una clave de mesas.
CREATE TABLE IF NOT EXISTS reservas (
    id INTEGER PRIMARY KEY,
    telefono TEXT,
    fecha TEXT,
    hora TEXT,
    nombre TEXT,
    mesa TEXT,
    numcomensales INTEGER
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
