#include "builders/InformesCaja.h"
#include "builders/InformesContables.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace informes {

namespace {

// Las líneas de venta del intervalo, sin ordenar: ordenar un año de líneas
// por producto en la base cuesta más que leerlas. Se suman aquí por código
// de producto y se ordenan los productos, que son pocos.
const QString kColumnasLineas = QStringLiteral(
    "SELECT detalle_factura.producto, detalle_factura.unidades, detalle_factura.precio, detalle_factura.descuento,"
    " detalle_factura.recargo, detalle_factura.codigo, detalle_factura.precio_unit, detalle_factura.num_factura,"
    " detalle_factura.indice, cabecera_factura.descuento");
const QString kDesdeLineas = QStringLiteral(
    " FROM cabecera_factura INNER JOIN detalle_factura ON cabecera_factura.numero = detalle_factura.num_factura"
    " WHERE cabecera_factura.fechaventa BETWEEN ? AND ?");
enum { kProducto, kUnidades, kPrecio, kDescuento, kRecargo, kCodigo, kPrecioUnit, kFactura, kIndice, kDescuentoVenta };

// Un producto sumado: lo de su primera línea (en orden de venta y de línea)
// y el descuento de la venta de su última línea.
struct Grupo {
  QVariant codigo, producto, precioUnit, descuentoVenta;
  double unidades = 0, precio = 0, descuento = 0, recargo = 0;
  std::pair<qint64, qint64> primera, ultima;
};

class Agrupacion {
 public:
  void anadir(const datos::Lectura& q) {
    const bool nulo = q.esNulo(kCodigo);
    const QString codigo = nulo ? QString() : q.valor(kCodigo).toString();
    const std::pair<qint64, qint64> linea{q.entero(kFactura), q.entero(kIndice)};
    auto [it, nuevo] = indices_.try_emplace(Clave{nulo, codigo}, grupos_.size());
    if (nuevo) grupos_.emplace_back();
    Grupo& g = grupos_[it->second];
    if (nuevo || linea < g.primera) {
      g.codigo = q.valor(kCodigo);
      g.producto = q.valor(kProducto);
      g.precioUnit = q.valor(kPrecioUnit);
      g.primera = linea;
    }
    if (nuevo || !(linea < g.ultima)) {
      const QVariant d = q.valor(kDescuentoVenta);
      g.descuentoVenta = d.isNull() ? QVariant(0) : d;
      g.ultima = linea;
    }
    g.unidades += q.numero(kUnidades);
    g.precio += q.numero(kPrecio);
    g.descuento += q.numero(kDescuento);
    g.recargo += q.numero(kRecargo);
  }
  // Los productos en orden de código, los que no tienen al final.
  std::vector<Grupo> terminar() {
    std::vector<std::pair<Clave, std::size_t>> orden(indices_.begin(), indices_.end());
    std::sort(orden.begin(), orden.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Grupo> r;
    r.reserve(orden.size());
    for (const auto& [clave, i] : orden) r.push_back(std::move(grupos_[i]));
    grupos_.clear();
    indices_.clear();
    return r;
  }

 private:
  struct Clave {
    bool nulo;
    QString codigo;
    bool operator<(const Clave& o) const { return nulo != o.nulo ? !nulo : codigo < o.codigo; }
  };
  std::map<Clave, std::size_t> indices_;
  std::vector<Grupo> grupos_;
};

QVariant Nulable(const std::optional<double>& v) {
  return v ? QVariant(*v) : QVariant();
}

}  // namespace

// --- Productos más vendidos ------------------------------------------------------------

void CrearProductosMasVendidos(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  const BusquedasCatalogo catalogo(ventas, BusquedasCatalogo::Productos);
  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Texto3, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto4, textoDiaMesAnio(sel.FechaHasta));

  // Los productos sueltos y después los menús; dentro de cada sección, todos
  // los productos vendidos, sin tope.
  const std::pair<const char*, const char*> secciones[] = {
      {"Productos", " AND detalle_factura.productodemenu = 0 AND detalle_factura.menu = 0"},
      {"Menus", " AND detalle_factura.productodemenu = 0 AND detalle_factura.menu <> 0"}};
  for (const auto& [seccion, filtro] : secciones) {
    escritor.fijar(Col::Texto21, QString::fromLatin1(seccion));
    datos::Lectura q(ventas, kColumnasLineas + kDesdeLineas + QLatin1String(filtro));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    Agrupacion agrupacion;
    while (q.siguiente()) agrupacion.anadir(q);
    const std::vector<Grupo> grupos = agrupacion.terminar();
    for (std::size_t i = 0; i < grupos.size(); ++i) {
      const Grupo& g = grupos[i];
      escritor.nuevaFila();
      escritor.origen("detalle_factura", "el producto", g.codigo);
      escritor.poner(Col::Numerico20, g.precioUnit, "precio_unit");
      escritor.poner(Col::Texto5, g.producto);
      // Sin ficha de producto, o sin coste o precio en ella, la columna va
      // vacía: nunca con lo del producto anterior.
      const auto cp =
          g.codigo.isNull() ? BusquedasCatalogo::CostePrecio{} : catalogo.CostePrecioProducto(g.codigo.toString());
      escritor.poner(Col::Numerico1, Nulable(cp.coste));
      escritor.poner(Col::Numerico2, Nulable(cp.precio));
      escritor.poner(Col::Numerico3, g.unidades);
      escritor.poner(Col::Numerico10, g.precio);
      // El último producto de la sección sólo lleva descuento si lo tuvo.
      if (i + 1 < grupos.size() || g.descuento != 0) escritor.poner(Col::Numerico5, g.descuento);
      escritor.poner(Col::Numerico6, g.recargo);
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

// --- Productos sin ventas ---------------------------------------------------------------

void CrearProductosSinVentas(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  // El diálogo da 1 con el campo vacío: un umbral por debajo no tiene
  // sentido (ningún producto vendió menos de nada).
  const qint64 umbral = std::max<qint64>(1, sel.NumVentas);

  // Lo vendido de cada producto en el intervalo, por los movimientos de
  // venta del almacén. Se suma antes de escribir: lo que vendió el umbral
  // o más ni llega a Informes.
  QHash<QString, double> vendido;
  {
    datos::Consulta q = ventas.preparar(QStringLiteral(
        "SELECT codigo, SUM(cantidad) FROM historicostock WHERE fecha BETWEEN ? AND ? AND descripciontipo = 2"
        " GROUP BY codigo"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente())
      if (!q.valor(0).isNull()) vendido.insert(q.valor(0).toString(), q.valor(1).toDouble());
  }

  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Texto7, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto8, textoDiaMesAnio(sel.FechaHasta));
  escritor.fijar(Col::Numerico6, static_cast<double>(umbral));
  datos::Consulta q = ventas.preparar(
      QStringLiteral("SELECT codigo, nombre, coste, precio, tipoprod FROM productos WHERE tipoprod = 1 OR tipoprod = 2"
                     " ORDER BY tipoprod, nombre, codigo"));
  q.ejecutar();
  while (q.siguiente()) {
    // Hay productos que vender: aunque todos pasen del umbral, hay informe
    // (vacío, y la salida lo dice).
    sel.SinDatos = false;
    const QString codigo = q.texto(QStringLiteral("codigo"));
    const auto it = vendido.constFind(codigo);
    if (it != vendido.constEnd() && *it >= static_cast<double>(umbral)) continue;
    escritor.nuevaFila();
    escritor.origen("productos", "el producto", codigo);
    escritor.poner(Col::Texto20, q.valor(QStringLiteral("codigo")));
    escritor.poner(Col::Texto5, q.valor(QStringLiteral("nombre")));
    escritor.poner(Col::Numerico1, q.valor(QStringLiteral("coste")), "coste");
    escritor.poner(Col::Numerico2, q.valor(QStringLiteral("precio")), "precio");
    escritor.poner(Col::Texto6, q.entero(QStringLiteral("tipoprod")) == 1 ? QStringLiteral("V") : QStringLiteral("A"));
    // Sin ningún movimiento de venta, vacío; con movimientos, lo vendido.
    if (it != vendido.constEnd()) escritor.poner(Col::Numerico3, *it);
    escritor.guardarFila();
  }
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

// --- Consumo de platos de menú ---------------------------------------------------------

void CrearConsumoMenus(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  const BusquedasCatalogo catalogo(ventas, BusquedasCatalogo::Menus);

  struct Familia {
    QString codigo;
    QVariant nombre;
  };
  std::vector<Familia> familias;
  {
    datos::Consulta q = ventas.preparar(
        QStringLiteral("SELECT codigo, nombrecompleto FROM seccion WHERE borrar = 0 AND menu <> 0 ORDER BY codigo"));
    q.ejecutar();
    while (q.siguiente()) familias.push_back({q.texto(QStringLiteral("codigo")), q.valor(1)});
  }

  // Las líneas de menú del intervalo de una vez, repartidas por familia: los
  // menús (cabeceras de menú) y los platos de los tres primeros pases. Las
  // líneas borradas no cuentan; las ventas borradas, sí.
  struct DeFamilia {
    Agrupacion menus, platos;
  };
  std::map<QString, DeFamilia> porFamilia;
  for (const Familia& f : familias) porFamilia.try_emplace(f.codigo);
  {
    datos::Lectura q(ventas,
                     kColumnasLineas +
                         QStringLiteral(", detalle_factura.codmenu, detalle_factura.menu,"
                                        " detalle_factura.productodemenu, detalle_factura.orden") +
                         kDesdeLineas +
                         QStringLiteral(" AND detalle_factura.codmenu IS NOT NULL AND detalle_factura.borrar = 0"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    enum { kCodMenu = kDescuentoVenta + 1, kMenu, kProductoDeMenu, kOrden };
    while (q.siguiente()) {
      const auto it = porFamilia.find(q.valor(kCodMenu).toString());
      if (it == porFamilia.end()) continue;
      if (q.entero(kMenu) != 0) {
        if (q.entero(kProductoDeMenu) == 0) it->second.menus.anadir(q);
      } else if (const qint64 orden = q.entero(kOrden); !q.esNulo(kOrden) && orden >= 1 && orden <= 3) {
        it->second.platos.anadir(q);
      }
    }
  }

  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Texto3, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto4, textoDiaMesAnio(sel.FechaHasta));
  for (const Familia& f : familias) {
    DeFamilia& d = porFamilia[f.codigo];
    escritor.fijar(Col::Texto21, f.nombre);
    const std::vector<Grupo> menus = d.menus.terminar();
    for (std::size_t i = 0; i < menus.size(); ++i) {
      const Grupo& g = menus[i];
      escritor.nuevaFila();
      escritor.origen("detalle_factura", "el menú", g.codigo);
      escritor.poner(Col::Texto5, g.producto);
      // Un menú sin familia cuesta 0 y no tiene precio que enseñar.
      const auto cp =
          g.codigo.isNull() ? BusquedasCatalogo::CostePrecio{} : catalogo.CostePrecioMenu(g.codigo.toString());
      escritor.poner(Col::Numerico1, cp.coste.value_or(0));
      escritor.poner(Col::Numerico2, Nulable(cp.precio));
      escritor.poner(Col::Numerico3, g.unidades);
      escritor.poner(Col::Numerico4, g.precio);
      // El último menú de la familia sin descuento en sus líneas lleva el
      // descuento de la venta de su última línea.
      const bool ultimo = i + 1 == menus.size();
      escritor.poner(Col::Numerico5, ultimo && g.descuento == 0 ? g.descuentoVenta : QVariant(g.descuento),
                     "descuento");
      escritor.poner(Col::Numerico6, g.recargo);
      sel.SinDatos = false;
      escritor.guardarFila();
    }
    for (const Grupo& g : d.platos.terminar()) {
      escritor.nuevaFila();
      escritor.origen("detalle_factura", "el plato de menú", g.codigo);
      escritor.poner(Col::Texto5, QStringLiteral("      ") + (g.producto.isNull() ? QString() : g.producto.toString()));
      escritor.poner(Col::Numerico1, 0);
      // El precio del plato es el precio por unidad de su propia línea (la
      // primera de las suyas), no el de una línea vecina.
      escritor.poner(Col::Numerico2, g.precioUnit.isNull() ? QVariant(0) : g.precioUnit, "precio_unit");
      escritor.poner(Col::Numerico3, g.unidades);
      escritor.poner(Col::Numerico4, g.precio);
      escritor.poner(Col::Numerico5, g.descuento);
      escritor.poner(Col::Numerico6, g.recargo);
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

// --- Reservas ------------------------------------------------------------------------------

void CrearReservas(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);

  // Los clientes (un teléfono cada uno) con alguna reserva entre los dos
  // días, como fechas: del 25 de enero al 5 de febrero entra el 28 de enero.
  QSet<QString> telefonos;
  bool sinTelefono = false;
  {
    datos::Consulta q =
        ventas.preparar(QStringLiteral("SELECT DISTINCT telefono FROM reservas WHERE fecha BETWEEN ? AND ?"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente()) {
      if (q.valor(0).isNull())
        sinTelefono = true;
      else
        telefonos.insert(q.valor(0).toString());
    }
  }
  if (telefonos.isEmpty() && !sinTelefono) {
    escritor.terminar();
    AvisarSinDatos(ctx.notificador);
    return;
  }

  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Texto6, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto7, textoDiaMesAnio(sel.FechaHasta));

  // De cada cliente, todas sus reservas, sean del día que sean: la fila
  // lleva los datos de la última y las mesas de todas.
  datos::Consulta q =
      ventas.preparar(QStringLiteral("SELECT telefono, fecha, hora, nombre, mesa, numcomensales FROM reservas"
                                     " ORDER BY (telefono IS NULL), telefono, id"));
  q.ejecutar();
  std::optional<QVariant> actual;
  QStringList mesas;
  QVariant fecha, hora, nombre, comensales;
  auto cerrar = [&] {
    if (!actual) return;
    escritor.nuevaFila();
    escritor.origen("reservas", "la reserva del teléfono", *actual);
    const QDate dia = datos::aFecha(fecha);
    escritor.poner(Col::Texto21, dia.isValid() ? QVariant(textoDiaMesAnio(dia)) : QVariant());
    const QTime h = datos::aHora(hora);
    escritor.poner(Col::Fecha4, h.isValid() ? QVariant(QTime(h.hour(), h.minute())) : QVariant());
    escritor.poner(Col::Texto8, nombre);
    escritor.poner(Col::Texto9, *actual);
    // Con un blanco tras la coma la lista se parte en renglones al imprimirla.
    escritor.poner(Col::Texto11, mesas.join(QStringLiteral(", ")));
    escritor.poner(Col::Numerico1, comensales, "numcomensales");
    sel.SinDatos = false;
    escritor.guardarFila();
    mesas.clear();
  };
  while (q.siguiente()) {
    const QVariant telefono = q.valor(0);
    if (telefono.isNull() ? !sinTelefono : !telefonos.contains(telefono.toString())) continue;
    if (!actual || actual->isNull() != telefono.isNull() || actual->toString() != telefono.toString()) {
      cerrar();
      actual = telefono;
    }
    fecha = q.valor(1);
    hora = q.valor(2);
    nombre = q.valor(3);
    // Una reserva sin mesa no deja una coma suelta en la lista.
    const QString mesa = q.valor(4).isNull() ? QString() : q.valor(4).toString().trimmed();
    if (!mesa.isEmpty()) mesas << mesa;
    comensales = q.valor(5);
  }
  cerrar();
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace informes
