// Escritura de los datos maestros y de la configuración del puesto.

#include "demo/Insercion.h"
#include "demo/Tienda.h"

namespace demo {

namespace {

QString U(const char* texto) {
  return QString::fromUtf8(texto);
}

// Otro puesto de la misma tienda (la caja de la barra): su fila de opciones
// no tiene tipo de negocio y su empleado tiene botones restringidos.
const char* const kOtroPuesto = "1187452";

void escribirConfiguracion(const datos::Conexion& c) {
  const QString nombre = U("Bar Restaurante La Galerna");
  const QString direccion = U("Calle del Muelle, 7");
  const QString poblacion = QStringLiteral("Laredo");
  // El cif lleva la razón social detrás de un blanco: los listados se quedan
  // con la parte hasta el blanco.
  const QString cif = U("B39487216 Hostelería La Galerna SL");
  const QString telefono = QStringLiteral("942 605 318");
  Insercion opciones(c, QStringLiteral("opciones"),
                     {"identificador", "nombre", "direccion", "poblacion", "cif", "telefono", "simbolo", "terminal",
                      "cajafastfood", "tipo_programa", "rutafotos", "idioma", "modulo_factura", "numdecimales"});
  opciones.fila(IdentificadorDemo(), nombre, direccion, poblacion, cif, telefono, U("€"), QStringLiteral("1"), 0,
                QStringLiteral("RESTAURANTE"), kNulo, kNulo, 1, 2);
  opciones.fila(QString::fromLatin1(kOtroPuesto), nombre, direccion, poblacion, cif, telefono, U("€"),
                QStringLiteral("2"), 0, kNulo, QStringLiteral("fotos"), kNulo, 0, 2);

  Insercion terminal(c, QStringLiteral("opciones_terminal"),
                     {"identificador", "id_color", "empleado", "colorpredefinido"});
  terminal.fila(IdentificadorDemo(), 2, 1, 0);
  terminal.fila(QString::fromLatin1(kOtroPuesto), 4, 4, 1);

  // Sin fila DatosEmail: el correo queda por configurar y la ventana lo ofrece.
  Insercion relaciones(c, QStringLiteral("relaciones_fijas"), {"indice", "datoa", "otros"});
  relaciones.fila(QStringLiteral("ActivadoVigia"), QString::fromLatin1(kOtroPuesto), kNulo);

  Insercion valores(c, QStringLiteral("valores_fijos"), {"emailinformes"});
  valores.fila(kNulo);

  Insercion impresoras(c, QStringLiteral("impresoras"), {"codigo", "impresora", "fuente", "numcaracteres"});
  impresoras.fila(1, QStringLiteral("EPSON TM-T20III"), QStringLiteral("Courier New"), 40);
  impresoras.fila(2, QStringLiteral("HP LaserJet Pro M404"), QStringLiteral("Arial"), kNulo);
  impresoras.fila(3, QStringLiteral("Star TSP143 Cocina"), QStringLiteral("Consolas"), 42);
  impresoras.fila(4, QStringLiteral("Bixolon SRP-350 Barra"), kNulo, kNulo);

  Insercion ti(c, QStringLiteral("terminalimpresora"), {"terminal", "impresora", "tipoimpresora"});
  ti.fila(QStringLiteral("1"), 1, QStringLiteral("T"));
  ti.fila(QStringLiteral("1"), 2, QStringLiteral("F"));
  ti.fila(QStringLiteral("1"), 3, QStringLiteral("C"));  // comandas de cocina: no es de este programa
  ti.fila(QStringLiteral("2"), 4, QStringLiteral("T"));
  ti.fila(QStringLiteral("2"), 2, QStringLiteral("F"));

  // Paletas de 14 colores (valores de Windows, azul-verde-rojo).
  const int paletas[5][14] = {
      {0xE0E0E0, 0xF3DCEF, 0x565063, 0x404040, 0xC0C0C0, 0x202020, 0xFFFFFF, 0x808080, 0xD0D0D0, 0xA0A0A0, 0x909090,
       0x707070, 0x606060, 0x505050},
      {0xA79585, 0xE7DED6, 0x834530, 0xC67B62, 0xD3CBC2, 0x402010, 0xFFFFFF, 0x9C7A5A, 0xE2CAAB, 0xD3CB8B, 0xB08060,
       0x906040, 0x704020, 0x502000},
      {0xCDE7D2, 0x9FCD8B, 0x66AF43, 0x8ED0A0, 0xB5DFC1, 0x1E4A20, 0xFFFFFF, 0x5A9A60, 0xBDE3C8, 0x2E7431, 0x4C8C50,
       0x3C7C40, 0x2C6C30, 0x1C5C20},
      {0x96FAF8, 0x79F9F5, 0x0BC1C1, 0x6ADEE1, 0xC2FCFB, 0x104040, 0xFFFFFF, 0x50B0B0, 0xA2EAEC, 0x066A68, 0x40A0A0,
       0x309090, 0x208080, 0x107070},
      {0x9FC2FD, 0xDDE8F9, 0xBBC0E1, 0xD7D9EE, 0xE9F1FE, 0x3E4891, 0xFFFFFF, 0xA0A8D0, 0xE9F1FE, 0x3E4891, 0x8090C0,
       0x7080B0, 0x6070A0, 0x506090},
  };
  Insercion colores(c, QStringLiteral("colores"),
                    {"id_color", "color1", "color2", "color3", "color4", "color5", "color6", "color7", "color8",
                     "color9", "color10", "color11", "color12", "color13", "color14"});
  for (int i = 0; i < 5; ++i) {
    const int* p = paletas[i];
    colores.fila(i + 1, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9], p[10], p[11], p[12], p[13]);
  }

  // Traducciones para un puesto en otro idioma; una vacía y otra nula, que
  // dejan el texto de diseño.
  Insercion tr(c, QStringLiteral("traducciones"), {"caption", "traduccion"});
  tr.fila(QStringLiteral("Preparando el listado..."), QStringLiteral("Preparant el llistat..."));
  tr.fila(QStringLiteral("Puede tardar unos minutos"), QStringLiteral("Pot trigar uns minuts"));
  tr.fila(U("Resultados de su búsqueda:"), U("Resultats de la cerca:"));
  tr.fila(QStringLiteral("BUSCAR"), QStringLiteral("CERCAR"));
  tr.fila(QStringLiteral("Salir"), QStringLiteral(""));
  tr.fila(QStringLiteral("Nueva"), kNulo);

  Insercion region(c, QStringLiteral("configuracionregional"), {"nombre"});
  region.fila(U("España"));

  Insercion atributos(c, QStringLiteral("atributos"),
                      {"codigo", "form", "form_desc", "boton", "boton_desc", "boton_auxiliar"});
  const QString principal = QStringLiteral("frmPrincipalCronicas");
  const QString titulo = QStringLiteral("CRONICAS DE CAJA");
  atributos.fila(1, principal, titulo, QStringLiteral("cmdResumenContable"), U("Resumén Contable de Facturas"), kNulo);
  atributos.fila(2, principal, titulo, QStringLiteral("cmdImpuestosRep"), QStringLiteral("Impuestos Repercutidos"),
                 QStringLiteral(""));
  atributos.fila(3, principal, titulo, QStringLiteral("cmdCierreCaja"),
                 QStringLiteral("Ventas Detalladas por Empleados"), kNulo);
  atributos.fila(4, QStringLiteral("frmVentas"), QStringLiteral("VENTAS"), QStringLiteral("cmdAnularVenta"),
                 QStringLiteral("Anular venta"), QStringLiteral("lblAnular"));
  Insercion restricciones(c, QStringLiteral("empleadosatributos"), {"codempleado", "codatributo"});
  restricciones.fila(4, 1);
  restricciones.fila(4, 2);
  restricciones.fila(4, 4);

  Insercion salones(c, QStringLiteral("salones"), {"codigo", "nombre"});
  salones.fila(zona::Comedor, QStringLiteral("Comedor"));
  salones.fila(zona::Terraza, QStringLiteral("Terraza"));
  salones.fila(zona::Barra, QStringLiteral("Barra"));
  salones.fila(zona::Reservado, QStringLiteral("Reservado"));

  // La suite marca con borrar -1 las formas de pago en uso; el listado sólo
  // enseña esas, así que el talón retirado (0) no sale.
  Insercion formas(c, QStringLiteral("formapago"), {"codigo", "nombre", "tarjeta", "borrar"});
  formas.fila(pago::Efectivo, QStringLiteral("Efectivo"), 0, -1);
  formas.fila(pago::Tarjeta, QStringLiteral("Tarjeta"), 1, -1);
  formas.fila(pago::ChequeComida, QStringLiteral("Cheque comida"), 0, -1);
  formas.fila(pago::Bizum, QStringLiteral("Bizum"), 0, -1);
  formas.fila(pago::Amex, QStringLiteral("Tarjeta American Express"), 1, -1);
  formas.fila(pago::ACuenta, QStringLiteral("A cuenta de cliente"), 0, -1);
  formas.fila(7, U("Talón"), 0, 0);

  Insercion promos(c, QStringLiteral("promociones"), {"numero", "descripcion"});
  promos.fila(1, U("2x1 en cañas los jueves"));
  promos.fila(2, QStringLiteral("Hora feliz en combinados"));
  promos.fila(3, QStringLiteral("Descuento porcentual"));
  promos.fila(4, U("3 cafés por 3 €"));
  promos.fila(5, U("Menú con café de regalo"));
}

}  // namespace

void EscribirMaestros(const datos::Conexion& c, const Tienda& t) {
  escribirConfiguracion(c);

  Insercion empleados(
      c, QStringLiteral("empleados"),
      {"codigo", "nombre", "apellidos", "direccion", "cp", "telefono", "dni", "localidad", "provincia", "sueldobase",
       "fechaalta", "fechabaja", "horario", "funcion", "libra", "usuario", "clave", "ss", "baja"});
  for (const Empleado& e : t.empleados)
    empleados.fila(e.codigo, e.nombre, e.apellidos, e.direccion, e.cp, e.telefono, e.dni, e.localidad, e.provincia,
                   e.sueldo, TextoDia(e.alta), e.baja.isValid() ? QVariant(TextoDia(e.baja)) : kNulo, e.horario,
                   e.funcion, e.libra, e.usuario, e.clave, e.ss, e.baja.isValid() ? 1 : 0);

  Insercion clientes(c, QStringLiteral("clientes"),
                     {"codigo", "nombre", "apellidos", "direccion", "numero", "piso", "puerta", "codigo_postal",
                      "poblacion", "telefono", "fax", "cif", "e_mail", "descuento"});
  for (const Cliente& x : t.clientes)
    clientes.fila(x.codigo, x.nombre, x.apellidos, x.direccion, x.numero, x.piso, x.puerta, x.cp, x.poblacion,
                  x.telefono, x.fax, x.cif, x.email, x.descuento);

  Insercion proveedores(c, QStringLiteral("proveedores"),
                        {"codigo", "nombre", "direccion", "poblacion", "provincia", "codigopostal", "telefono", "fax",
                         "contacto", "nif", "email", "borrar"});
  for (const Proveedor& p : t.proveedores)
    proveedores.fila(p.codigo, p.nombre, p.direccion, p.poblacion, p.provincia, p.cp, p.telefono, p.fax, p.contacto,
                     p.nif, p.email, p.borrar);

  Insercion seccion(c, QStringLiteral("seccion"),
                    {"codigo", "nombre", "nombrecompleto", "descnumerica", "hechoen", "precio", "impuesto", "coste",
                     "menu", "borrar"});
  for (const Familia& f : t.familias)
    seccion.fila(f.codigo, f.nombre, f.nombreCompleto, f.descNumerica, f.hechoEn, f.precio, f.impuesto, f.coste, f.menu,
                 f.borrar);

  Insercion productos(
      c, QStringLiteral("productos"),
      {"codigo", "nombre", "descripcion", "descnumerica", "precio", "coste", "iva", "entrada", "salida", "stock",
       "stockminimo", "stockconsumointerno", "seccion", "proveedor", "tipoprod", "codigobarras", "borrar"});
  for (const Producto& p : t.productos)
    productos.fila(p.codigo, p.nombre, p.descripcion, p.descNumerica, Euros(p.precio), Euros(p.coste), p.iva, p.entrada,
                   p.salida, p.stock, p.stockMinimo, p.stockInterno, p.seccion, p.proveedor, p.tipoProd, p.codigoBarras,
                   p.borrar);

  Insercion escandallo(c, QStringLiteral("productoelaborado_producto"), {"productopadre", "productohijo", "cantidad"});
  for (const Escandallo& e : t.escandallos)
    escandallo.fila(t.producto(e.padre).codigo, t.producto(e.hijo).codigo, e.cantidad);

  Insercion mesas(c, QStringLiteral("mesas"), {"codigo", "nummesa", "salon"});
  for (const Mesa& m : t.mesas) mesas.fila(m.codigo, m.numMesa, m.salon);
}

}  // namespace demo
