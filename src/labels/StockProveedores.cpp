#include "labels/StockProveedores.h"

#include "platform/datos/Orden.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace informes {

namespace {

// El filtro de cada botón de tipo: los de venta son tipoprod 1, los de
// cocina 0, ambos 2; «todos» deja fuera sólo el tipo 3.
struct FiltroTipo {
  const char* condicion;
  int valor;
};
constexpr std::array<FiltroTipo, 4> kFiltros = {{
    {"productos.tipoprod = ?", 1},
    {"productos.tipoprod = ?", 0},
    {"productos.tipoprod = ?", 2},
    {"productos.tipoprod <> ?", 3},
}};

// Los códigos de proveedor son números en texto: "-1" (o " -1", "-1.0")
// es «todos».
bool TodosLosProveedores(const QString& elegido) {
  bool ok = false;
  const double v = elegido.trimmed().toDouble(&ok);
  return ok && v == -1;
}

}  // namespace

void CrearStockProveedores(Contexto& ctx) {
  ctx.seleccion.SinDatos = true;
  const qint16 tipo = ctx.seleccion.TipoProducto;
  if (tipo < 0 || tipo > 3)
    throw datos::ErrorDatos(QStringLiteral("El tipo de producto va de 0 a 3 (se dio %1).").arg(tipo));
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();

  // La dirección va sola, sin la población, de la misma primera fila de la
  // que salen las cabeceras de los demás listados.
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  QString direccion = QStringLiteral("");
  {
    datos::Consulta q = ventas.preparar(QStringLiteral("SELECT direccion FROM opciones ORDER BY identificador"));
    q.ejecutar();
    if (q.siguiente()) direccion = q.texto(QStringLiteral("direccion"));
  }
  escritor.fijar(Col::Texto35, cabecera.nombre.isNull() ? QStringLiteral("") : cabecera.nombre);
  escritor.fijar(Col::Texto34, direccion);

  // Uniones internas: un producto sin familia o sin proveedor existentes no
  // se valora aquí. Un proveedor borrado con productos vivos sí sale. Las
  // columnas, en el orden de kNombre...kCodProveedor.
  enum { kNombre, kCoste, kPrecio, kStock, kMinimo, kFamilia, kProveedor, kCodProveedor, kColumnas };
  QString sql = QStringLiteral(
      "SELECT productos.nombre, productos.coste, productos.precio, productos.stock, productos.stockminimo, "
      "seccion.nombre, proveedores.nombre, productos.proveedor "
      "FROM productos INNER JOIN seccion ON productos.seccion = seccion.codigo "
      "INNER JOIN proveedores ON productos.proveedor = proveedores.codigo "
      "WHERE productos.borrar = 0 AND ");
  sql += QLatin1String(kFiltros.at(static_cast<std::size_t>(tipo)).condicion);
  const bool todos = TodosLosProveedores(ctx.seleccion.ProveedorElegido);
  if (!todos) sql += QStringLiteral(" AND productos.proveedor = ?");
  sql += QStringLiteral(" ORDER BY productos.codigo");
  datos::Lectura q(ventas, sql);
  q.enlazar(kFiltros.at(static_cast<std::size_t>(tipo)).valor);
  if (!todos) q.enlazar(ctx.seleccion.ProveedorElegido);
  q.ejecutar();

  // Proveedor y nombre se ordenan aquí, como los demás listados por nombre,
  // para que los dos motores den el mismo orden; a igualdad, el del código
  // con que llegan. La clave de cada proveedor se calcula una sola vez.
  std::vector<std::array<QVariant, kColumnas>> productos;
  std::vector<datos::ClavesFila> claves;
  QHash<QString, datos::ClaveOrden> clavesProveedor;
  const datos::CriterioOrden criterio;
  while (q.siguiente()) {
    std::array<QVariant, kColumnas> p;
    for (int c = 0; c < kColumnas; ++c) p[static_cast<std::size_t>(c)] = q.valor(c);
    const QString proveedor = p[kCodProveedor].toString();
    auto clave = clavesProveedor.constFind(proveedor);
    if (clave == clavesProveedor.constEnd())
      clave = clavesProveedor.insert(proveedor, criterio.clave(p[kCodProveedor]));
    claves.push_back({*clave, criterio.clave(p[kNombre])});
    productos.push_back(std::move(p));
  }

  double acumulado = 0;
  for (std::size_t i : datos::OrdenEstable(claves)) {
    const auto& p = productos[i];
    // Un coste o un stock sin valor no vale nada, pero no borra lo que ya se
    // lleva sumado.
    const double stock = p[kStock].isNull() ? 0 : p[kStock].toDouble();
    const double coste = p[kCoste].isNull() ? 0 : p[kCoste].toDouble();
    acumulado += stock * coste;
    escritor.nuevaFila();
    escritor.poner(Col::Texto2, p[kNombre]);
    escritor.poner(Col::Numerico1, p[kCoste]);
    escritor.poner(Col::Numerico2, p[kPrecio]);
    escritor.poner(Col::Numerico5, p[kStock]);
    escritor.poner(Col::Texto32, stock < 0 ? QStringLiteral("*") : QStringLiteral(""));
    escritor.poner(Col::Numerico6, p[kMinimo]);
    escritor.poner(Col::Texto3, p[kFamilia]);
    escritor.poner(Col::Texto4, p[kProveedor]);
    escritor.poner(Col::Numerico15, acumulado);
    ctx.seleccion.SinDatos = false;
    escritor.guardarFila();
  }

  // El vaciado se confirma también sin filas, y antes del aviso.
  escritor.terminar();
  if (ctx.seleccion.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace informes

namespace proveedores {

namespace {
const QString kCuatroBlancos = QStringLiteral("    ");
}

std::vector<Proveedor> CargarTablaProveedores(const datos::Conexion& ventas) {
  datos::Consulta q =
      ventas.preparar(QStringLiteral("SELECT codigo, nombre FROM proveedores WHERE borrar = 0 ORDER BY codigo"));
  q.ejecutar();
  std::vector<Proveedor> tabla;
  std::vector<datos::ClavesFila> claves;
  const datos::CriterioOrden criterio;
  while (q.siguiente()) {
    tabla.push_back({q.texto(QStringLiteral("codigo")), q.texto(QStringLiteral("nombre"))});
    claves.push_back({criterio.clave(q.valor(QStringLiteral("nombre")))});
  }
  std::vector<Proveedor> ordenada;
  ordenada.reserve(tabla.size() + 1);
  for (std::size_t i : datos::OrdenEstable(claves)) ordenada.push_back(tabla[i]);
  ordenada.push_back({});
  return ordenada;
}

QString RotuloFicha(const Proveedor& p) {
  return p.nombre + QString(78, QLatin1Char(' ')) + p.codigo;
}

QString CodigoDeRotulo(const QString& rotulo) {
  return rotulo.right(9).trimmed();
}

QString NombreDeRotulo(const QString& rotulo) {
  const qsizetype corte = rotulo.indexOf(kCuatroBlancos);
  return (corte < 0 ? rotulo : rotulo.left(corte)).trimmed();
}

PaginasProveedores::PaginasProveedores(std::vector<Proveedor> tabla, int capacidad)
    : tabla_(std::move(tabla)), capacidad_(capacidad) {
  if (tabla_.empty()) tabla_.push_back({});
}

void PaginasProveedores::dibujar() {
  pagina_ = {};
  const int L = ultimo();
  if (L < 0 || tabla_.front().codigo.isEmpty()) {
    posicion_ = 0;
    return;
  }
  pagina_.fichas.push_back(posicion_);
  int i = posicion_;
  bool cortada = false;
  while (i < L) {
    ++i;
    if (static_cast<int>(pagina_.fichas.size()) >= capacidad_) {
      cortada = true;  // el proveedor i no cabe: con él empieza la página siguiente
      break;
    }
    pagina_.fichas.push_back(i);
  }
  // Las flechas dicen si hay adónde ir: siguiente mientras quede un
  // proveedor sin ficha (también el último, si es el que no cupo), anterior
  // cuando la página no empieza por el primero.
  pagina_.siguiente = i < L || cortada;
  pagina_.anterior = posicion_ > 0;
  posicion_ = i;
}

void PaginasProveedores::paginaSiguiente() {
  dibujar();
}

void PaginasProveedores::paginaAnterior() {
  // Se retrocede lo que ocupaba la página más ocho; en la última, una menos.
  // Las páginas hacia atrás se solapan con las de ida: el usuario ve siempre
  // alguna ficha que ya conocía.
  int t = static_cast<int>(pagina_.fichas.size()) - 1;
  if (posicion_ == ultimo()) --t;
  posicion_ = std::max(0, posicion_ - (t + 8));
  dibujar();
}

}  // namespace proveedores
