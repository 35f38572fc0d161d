#include "builders/ListadosMaestros.h"

#include "platform/datos/Orden.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace informes {

namespace {

using datos::ClavesFila;
using datos::CriterioOrden;
using datos::OrdenEstable;

// --- Rótulos ------------------------------------------------------------------

// Lugar de preparación de un producto o una familia (ubicacion / hechoen).
QVariant RotuloPreparacion(const QVariant& codigo) {
  if (codigo.isNull()) return {};
  const double c = codigo.toDouble();
  if (c == 1) return QStringLiteral("Barra");
  if (c == 2) return QStringLiteral("Cocina");
  return {};
}

QVariant RotuloTipoProducto(const QVariant& tipo) {
  static const std::array<QString, 3> rotulos = {QStringLiteral("E"), QStringLiteral("V"), QStringLiteral("A")};
  if (tipo.isNull()) return {};
  const double t = tipo.toDouble();
  for (std::size_t i = 0; i < rotulos.size(); ++i)
    if (t == static_cast<double>(i)) return rotulos[i];
  return {};
}

// La letra del día libre se compara tal cual: una "L" mayúscula no es lunes.
QVariant RotuloDiaLibre(const QVariant& letra) {
  static const std::array<std::pair<QString, QString>, 7> dias = {{
      {QStringLiteral("l"), QStringLiteral("Lunes")},
      {QStringLiteral("m"), QStringLiteral("Martes")},
      {QStringLiteral("x"), QStringLiteral("Miercoles")},
      {QStringLiteral("j"), QStringLiteral("Jueves")},
      {QStringLiteral("v"), QStringLiteral("Viernes")},
      {QStringLiteral("s"), QStringLiteral("Sabado")},
      {QStringLiteral("d"), QStringLiteral("Domingo")},
  }};
  if (letra.isNull()) return {};
  const QString t = letra.toString();
  for (const auto& [codigo, dia] : dias)
    if (t == codigo) return dia;
  return {};
}

QString RotuloFormaPago(bool tarjeta) {
  return tarjeta ? QStringLiteral("Tarjeta") : QStringLiteral("Otros");
}

// --- Conversiones de valores -------------------------------------------------------

// Un número que va a una columna de texto se escribe como lo escribe el
// programa al concatenarlo: sin ceros sobrantes y con coma decimal.
QVariant NumeroEnTexto(const QVariant& v) {
  if (v.isNull()) return {};
  return NumeroATexto(v.toDouble());
}

// Una fecha que va a una columna de texto, "dd/mm/aaaa". Lo que no se
// entiende como fecha se copia tal cual antes que perderlo.
QVariant FechaEnTexto(const QVariant& v) {
  if (v.isNull()) return {};
  const QDate fecha = datos::aFecha(v);
  if (!fecha.isValid()) return v.toString();
  return textoDiaMesAnio(fecha);
}

// --- El registro leído ------------------------------------------------------------

// Los valores de un registro de la consulta, por nombre de columna. Los
// listados que se ordenan aquí guardan sus registros antes de escribirlos,
// así que la fila se lee de una copia y no de la consulta en curso.
class Registro {
 public:
  Registro(const QHash<QString, int>& indices, const QVariantList& valores) : indices_(indices), valores_(valores) {}

  QVariant valor(const QString& columna) const {
    const auto it = indices_.constFind(columna);
    if (it == indices_.constEnd())
      throw datos::ErrorDatos(QStringLiteral("La consulta del listado no devuelve la columna «%1».").arg(columna));
    return valores_.at(*it);
  }
  // Texto para unir con otros: un Null no aporta nada.
  QString texto(const QString& columna) const { return valor(columna).toString(); }

 private:
  const QHash<QString, int>& indices_;
  const QVariantList& valores_;
};

// --- El esqueleto común -------------------------------------------------------------

// Columnas de Informes que reciben la cabecera del negocio.
struct ColumnasCabecera {
  Col nombre;
  Col direccion;
  std::optional<Col> parteCif;  // nada: el listado no lleva parte del cif
};

struct Listado {
  QString consulta;
  ColumnasCabecera cabecera;
  // Columnas de la consulta por las que se ordena aquí; vacío: el orden de
  // la consulta.
  QStringList orden;
  void (*columnas)(EscritorInformes&, const Registro&);
};

void Construir(Contexto& ctx, const Listado& listado) {
  ctx.seleccion.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();

  // Sin fila en Opciones la cabecera va vacía, no Null: el escritor guarda
  // como Null un QString nulo.
  auto vacioSiNulo = [](const QString& t) { return t.isNull() ? QStringLiteral("") : t; };
  const CabeceraNegocio leida = LeerCabeceraTabla(ventas, &ctx.notificador);
  const QString nombreNegocio = vacioSiNulo(leida.nombre);
  const QString direccionNegocio = vacioSiNulo(leida.direccion);
  const QString parteCif = vacioSiNulo(ParteCif(leida.cif));

  datos::Consulta q = ventas.preparar(listado.consulta);
  q.ejecutar();

  QHash<QString, int> indices;
  const QStringList nombres = q.nombresColumnas();
  for (int i = 0; i < nombres.size(); ++i) indices.insert(nombres.at(i).toLower(), i);

  auto escribir = [&](const QVariantList& valores) {
    escritor.nuevaFila();
    escritor.poner(listado.cabecera.nombre, nombreNegocio);
    escritor.poner(listado.cabecera.direccion, direccionNegocio);
    if (listado.cabecera.parteCif) escritor.poner(*listado.cabecera.parteCif, parteCif);
    listado.columnas(escritor, Registro(indices, valores));
    ctx.seleccion.SinDatos = false;
    escritor.guardarFila();
  };
  auto leer = [&] {
    QVariantList valores;
    valores.reserve(nombres.size());
    for (int i = 0; i < nombres.size(); ++i) valores << q.valor(i);
    return valores;
  };

  if (listado.orden.isEmpty()) {
    while (q.siguiente()) escribir(leer());
  } else {
    std::vector<QVariantList> registros;
    std::vector<ClavesFila> claves;
    const CriterioOrden criterio;
    while (q.siguiente()) {
      registros.push_back(leer());
      const Registro r(indices, registros.back());
      ClavesFila c;
      c.reserve(static_cast<std::size_t>(listado.orden.size()));
      for (const QString& columna : listado.orden) c.push_back(criterio.clave(r.valor(columna)));
      claves.push_back(std::move(c));
    }
    for (std::size_t i : OrdenEstable(claves)) escribir(registros[i]);
  }

  // El vaciado se confirma también sin filas: el informe anterior no debe
  // imprimirse como si fuera este. Se confirma antes del aviso para no tener
  // la base de informes bloqueada mientras el usuario lo lee.
  escritor.terminar();
  if (ctx.seleccion.SinDatos) AvisarSinDatos(ctx.notificador);
}

// --- Los listados --------------------------------------------------------------------

void ColumnasProducto(EscritorInformes& e, const Registro& r) {
  e.poner(Col::Texto2, r.valor(QStringLiteral("nombre")));
  e.poner(Col::Texto3, r.valor(QStringLiteral("descripcion")));
  e.poner(Col::Texto4, r.valor(QStringLiteral("descnum")));
  e.poner(Col::Texto5, RotuloPreparacion(r.valor(QStringLiteral("ubicacion"))));
  e.poner(Col::Numerico1, r.valor(QStringLiteral("precio")));
  e.poner(Col::Numerico2, r.valor(QStringLiteral("impuesto")));
  const QVariant familia = r.valor(QStringLiteral("familia"));
  e.poner(Col::Texto8, familia.isNull() ? QVariant(QStringLiteral("Sin Asignar")) : familia);
  e.poner(Col::Numerico3, r.valor(QStringLiteral("entrada")));
  e.poner(Col::Numerico4, r.valor(QStringLiteral("salida")));
  e.poner(Col::Numerico5, r.valor(QStringLiteral("stock")));
  e.poner(Col::Numerico21, r.valor(QStringLiteral("stockinterno")));
}

void ColumnasBajoMinimo(EscritorInformes& e, const Registro& r) {
  e.poner(Col::Texto5, r.valor(QStringLiteral("nombreprod")));
  e.poner(Col::Texto6, r.valor(QStringLiteral("nombreprov")));
  e.poner(Col::Numerico1, r.valor(QStringLiteral("coste")));
  e.poner(Col::Numerico2, r.valor(QStringLiteral("precio")));
  e.poner(Col::Numerico3, r.valor(QStringLiteral("stock")));
  e.poner(Col::Numerico4, r.valor(QStringLiteral("stockminimo")));
}

void ColumnasCliente(EscritorInformes& e, const Registro& r) {
  e.poner(Col::Texto10, Unir({r.texto(QStringLiteral("nombre")), r.texto(QStringLiteral("apellidos"))}));
  e.poner(Col::Texto4, Unir({r.texto(QStringLiteral("direccion")), r.texto(QStringLiteral("numero")),
                             r.texto(QStringLiteral("piso")), r.texto(QStringLiteral("puerta"))}));
  e.poner(Col::Texto5, r.valor(QStringLiteral("codigo_postal")));
  e.poner(Col::Texto6, r.valor(QStringLiteral("telefono")));
  e.poner(Col::Texto7, r.valor(QStringLiteral("cif")));
  e.poner(Col::Texto8, r.valor(QStringLiteral("e_mail")));
  e.poner(Col::Texto9, NumeroEnTexto(r.valor(QStringLiteral("descuento"))));
}

void ColumnasEmpleado(EscritorInformes& e, const Registro& r) {
  e.poner(Col::Texto10, Unir({r.texto(QStringLiteral("nombre")), r.texto(QStringLiteral("apellidos"))}));
  e.poner(Col::Texto4, r.valor(QStringLiteral("direccion")));
  e.poner(Col::Texto5, r.valor(QStringLiteral("cp")));
  e.poner(Col::Texto6, r.valor(QStringLiteral("telefono")));
  e.poner(Col::Texto7, r.valor(QStringLiteral("dni")));
  e.poner(Col::Texto8, r.valor(QStringLiteral("localidad")));
  e.poner(Col::Texto9, r.valor(QStringLiteral("provincia")));
  e.poner(Col::Numerico1, r.valor(QStringLiteral("sueldobase")));
  e.poner(Col::Texto12, FechaEnTexto(r.valor(QStringLiteral("fechaalta"))));
  e.poner(Col::Texto13, FechaEnTexto(r.valor(QStringLiteral("fechabaja"))));
  e.poner(Col::Texto14, r.valor(QStringLiteral("horario")));
  e.poner(Col::Texto18, r.valor(QStringLiteral("funcion")));
  e.poner(Col::Texto15, RotuloDiaLibre(r.valor(QStringLiteral("libra"))));
  e.poner(Col::Texto16, r.valor(QStringLiteral("usuario")));
  e.poner(Col::Texto17, r.valor(QStringLiteral("clave")));
  e.poner(Col::Texto19, r.valor(QStringLiteral("ss")));
}

void ColumnasFamilia(EscritorInformes& e, const Registro& r) {
  e.poner(Col::Texto1, r.valor(QStringLiteral("codigo")));
  e.poner(Col::Texto2, r.valor(QStringLiteral("nombre")));
  e.poner(Col::Texto3, r.valor(QStringLiteral("nombrecompleto")));
  e.poner(Col::Texto4, r.valor(QStringLiteral("descnumerica")));
  e.poner(Col::Texto5, RotuloPreparacion(r.valor(QStringLiteral("hechoen"))));
  e.poner(Col::Numerico1, r.valor(QStringLiteral("precio")));
  e.poner(Col::Numerico2, r.valor(QStringLiteral("impuesto")));
}

void ColumnasFormaPago(EscritorInformes& e, const Registro& r) {
  e.poner(Col::Texto1, NumeroEnTexto(r.valor(QStringLiteral("codigo"))));
  e.poner(Col::Texto2, r.valor(QStringLiteral("nombre")));
  const QVariant tarjeta = r.valor(QStringLiteral("tarjeta"));
  e.poner(Col::Texto4, RotuloFormaPago(!tarjeta.isNull() && tarjeta.toDouble() != 0));
}

void ColumnasProveedor(EscritorInformes& e, const Registro& r) {
  e.poner(Col::Texto10, r.valor(QStringLiteral("nombre")));
  e.poner(Col::Texto4, Unir({r.texto(QStringLiteral("direccion")), r.texto(QStringLiteral("poblacion")),
                             r.texto(QStringLiteral("provincia"))}));
  e.poner(Col::Texto5, r.valor(QStringLiteral("codigopostal")));
  e.poner(Col::Texto6, r.valor(QStringLiteral("telefono")));
  e.poner(Col::Texto7, r.valor(QStringLiteral("fax")));
  e.poner(Col::Texto8, r.valor(QStringLiteral("contacto")));
  e.poner(Col::Texto9, r.valor(QStringLiteral("nif")));
  e.poner(Col::Texto11, r.valor(QStringLiteral("email")));
}

void ColumnasValoracion(EscritorInformes& e, const Registro& r) {
  e.poner(Col::Texto5, r.valor(QStringLiteral("nombre")));
  e.poner(Col::Numerico1, r.valor(QStringLiteral("coste")));
  e.poner(Col::Numerico2, r.valor(QStringLiteral("precio")));
  e.poner(Col::Numerico3, r.valor(QStringLiteral("stock")));
  e.poner(Col::Texto6, RotuloTipoProducto(r.valor(QStringLiteral("tipoprod"))));
}

const ColumnasCabecera kCabeceraDetras{Col::Texto6, Col::Texto7, {}};
const ColumnasCabecera kCabeceraDelante{Col::Texto1, Col::Texto2, {}};
const ColumnasCabecera kCabeceraConCif{Col::Texto1, Col::Texto2, Col::Texto3};

}  // namespace

// Los listados sin orden propio salen en el de la clave de la tabla, que es
// el que han tenido siempre y el mismo en los dos motores; los que se ordenan
// por un nombre leen en ese orden para que los empates queden siempre igual.

void CrearListadoProductos(Contexto& ctx) {
  Construir(ctx, {QStringLiteral("SELECT productos.nombre AS nombre, productos.descripcion AS descripcion, "
                                 "productos.precio AS precio, productos.iva AS impuesto, "
                                 "productos.descnumerica AS descnum, productos.entrada AS entrada, "
                                 "productos.salida AS salida, productos.stock AS stock, "
                                 "productos.stockminimo AS stockminimo, "
                                 "productos.stockconsumointerno AS stockinterno, seccion.nombre AS familia, "
                                 "proveedores.nombre AS proveedor, seccion.hechoen AS ubicacion "
                                 "FROM (productos LEFT JOIN seccion ON productos.seccion = seccion.codigo) "
                                 "LEFT JOIN proveedores ON productos.proveedor = proveedores.codigo "
                                 "WHERE productos.borrar = 0 "
                                 "ORDER BY productos.codigo"),
                  kCabeceraDetras,
                  {QStringLiteral("nombre")},
                  ColumnasProducto});
}

void CrearProductosBajoMinimo(Contexto& ctx) {
  // Sólo los productos con proveedor y familia existentes; los borrados
  // también, porque el almacén puede seguir teniéndolos.
  Construir(ctx, {QStringLiteral("SELECT productos.nombre AS nombreprod, productos.coste AS coste, "
                                 "productos.stock AS stock, proveedores.nombre AS nombreprov, "
                                 "productos.precio AS precio, productos.stockminimo AS stockminimo "
                                 "FROM (productos INNER JOIN proveedores ON productos.proveedor = proveedores.codigo) "
                                 "INNER JOIN seccion ON productos.seccion = seccion.codigo "
                                 "WHERE productos.stock <= productos.stockminimo "
                                 "ORDER BY productos.codigo"),
                  kCabeceraDelante,
                  {},
                  ColumnasBajoMinimo});
}

void CrearListadoClientes(Contexto& ctx) {
  Construir(ctx, {QStringLiteral("SELECT codigo, nombre, apellidos, direccion, numero, piso, puerta, codigo_postal, "
                                 "telefono, cif, e_mail, descuento FROM clientes ORDER BY codigo"),
                  kCabeceraConCif,
                  {},
                  ColumnasCliente});
}

void CrearListadoEmpleados(Contexto& ctx) {
  Construir(ctx, {QStringLiteral("SELECT codigo, nombre, apellidos, direccion, cp, telefono, dni, localidad, "
                                 "provincia, sueldobase, fechaalta, fechabaja, horario, funcion, libra, usuario, "
                                 "clave, ss FROM empleados ORDER BY codigo"),
                  kCabeceraConCif,
                  {},
                  ColumnasEmpleado});
}

void CrearListadoFamilias(Contexto& ctx) {
  Construir(ctx, {QStringLiteral("SELECT codigo, nombre, nombrecompleto, descnumerica, hechoen, precio, impuesto "
                                 "FROM seccion WHERE borrar = 0 ORDER BY codigo"),
                  kCabeceraDetras,
                  {QStringLiteral("hechoen"), QStringLiteral("nombre")},
                  ColumnasFamilia});
}

void CrearListadoFormasPago(Contexto& ctx) {
  // Al revés que los demás listados: sólo las formas marcadas como borradas.
  Construir(ctx, {QStringLiteral("SELECT codigo, nombre, tarjeta FROM formapago WHERE borrar <> 0 ORDER BY codigo"),
                  kCabeceraDetras,
                  {},
                  ColumnasFormaPago});
}

void CrearListadoProveedores(Contexto& ctx) {
  Construir(ctx, {QStringLiteral("SELECT codigo, nombre, direccion, poblacion, provincia, codigopostal, telefono, "
                                 "fax, contacto, nif, email FROM proveedores WHERE borrar = 0 ORDER BY codigo"),
                  kCabeceraConCif,
                  {},
                  ColumnasProveedor});
}

void CrearValoracionStock(Contexto& ctx) {
  // Los borrados cuentan: lo que queda en el almacén vale dinero igual.
  Construir(ctx, {QStringLiteral("SELECT codigo, nombre, coste, precio, stock, tipoprod FROM productos "
                                 "WHERE stock > 0 ORDER BY codigo"),
                  kCabeceraDelante,
                  {QStringLiteral("nombre")},
                  ColumnasValoracion});
}

}  // namespace informes
