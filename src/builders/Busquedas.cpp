#include "builders/Busquedas.h"

#include <cmath>

namespace informes {

std::optional<qint64> EnteroDe(const QVariant& v) {
  if (v.isNull() || !v.isValid()) return std::nullopt;
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
      return v.toLongLong();
    case QMetaType::QString: {
      // Un nombre no es un código: se descarta sin convertirlo entero.
      const QString t = v.toString().trimmed();
      if (t.isEmpty() || !(t.front().isDigit() || t.front() == QLatin1Char('-') || t.front() == QLatin1Char('+')))
        return std::nullopt;
      break;
    }
    default:
      break;
  }
  bool ok = false;
  const double d = v.toDouble(&ok);
  if (!ok || !std::isfinite(d) || d != std::trunc(d)) return std::nullopt;
  return static_cast<qint64>(d);
}

namespace {
// Lee una tabla de código y valor. Si un código se repite vale el primero,
// como en la búsqueda de un registro.
template <typename T, typename Leer>
void Cargar(const datos::Conexion& ventas, const char* sql, QHash<qint64, T>& destino, Leer leer) {
  datos::Consulta q = ventas.preparar(QString::fromLatin1(sql));
  q.ejecutar();
  while (q.siguiente()) {
    const auto codigo = EnteroDe(q.valor(0));
    if (codigo && !destino.contains(*codigo)) destino.insert(*codigo, leer(q));
  }
}
}  // namespace

BusquedasVentas::BusquedasVentas(const datos::Conexion& ventas, int tablas) : ventas_(ventas) {
  // Un nombre o teléfono en Null se guarda como texto vacío; sólo el nombre
  // de la forma de pago conserva el Null, que va tal cual a su columna.
  auto texto = [](const datos::Consulta& q) {
    return q.esNulo(QStringLiteral("valor")) ? QStringLiteral("") : q.texto(QStringLiteral("valor"));
  };
  if (tablas & Salones) Cargar(ventas, "SELECT codigo, nombre AS valor FROM salones", salones_, texto);
  if (tablas & FormasPago)
    Cargar(ventas, "SELECT codigo, nombre AS valor FROM formapago", formasPago_,
           [](const datos::Consulta& q) { return q.valor(QStringLiteral("valor")); });
  if (tablas & Clientes) Cargar(ventas, "SELECT codigo, telefono AS valor FROM clientes", telefonos_, texto);
}

QString BusquedasVentas::NombreSalon(const QVariant& zona) const {
  // El vacío es texto vacío y no Null: la columna del salón se imprime vacía.
  const auto codigo = EnteroDe(zona);
  return codigo ? salones_.value(*codigo, QStringLiteral("")) : QStringLiteral("");
}

QVariant BusquedasVentas::NombreFormaPago(const QVariant& codigo) const {
  const auto n = EnteroDe(codigo);
  const auto it = n ? formasPago_.constFind(*n) : formasPago_.constEnd();
  return it != formasPago_.constEnd() ? *it : QVariant(QStringLiteral(""));
}

std::optional<QString> BusquedasVentas::telefono(const QVariant& codigo) const {
  const auto n = EnteroDe(codigo);
  const auto it = n ? telefonos_.constFind(*n) : telefonos_.constEnd();
  if (it == telefonos_.constEnd()) return std::nullopt;
  return *it;
}

QString BusquedasVentas::TelefonoDeClienteDeFactura(const QVariant& cliente) const {
  return telefono(cliente).value_or(QStringLiteral(""));
}

QString BusquedasVentas::TelefonoFactura(const QVariant& numero) const {
  const auto n = EnteroDe(numero);
  if (!n) return QStringLiteral("");
  datos::Consulta q = ventas_.preparar(QStringLiteral("SELECT cliente FROM cabecera_factura WHERE numero = ?"));
  q.enlazar(*n);
  q.ejecutar();
  if (!q.siguiente()) return QStringLiteral("");
  return TelefonoDeClienteDeFactura(q.valor(0));
}

QString BusquedasVentas::TelefonoCliente(const QVariant& codigo) const {
  return telefono(codigo).value_or(QStringLiteral("-1"));
}

void BusquedasVentas::RepararImpuestoFactura(const QVariant& numero) {
  if (const auto n = EnteroDe(numero)) reparar_.push_back(*n);
}

void BusquedasVentas::AplicarReparaciones() {
  if (reparar_.empty()) return;
  // Una escritura corta de la base de ventas, aparte de la lectura del
  // informe: las cajas no esperan más que lo que tarda.
  ventas_.escribirCorto([&ventas = ventas_, numeros = std::move(reparar_)] {
    datos::Consulta q = ventas.preparar(QStringLiteral("UPDATE cabecera_factura SET impuesto = 0 WHERE numero = ?"));
    for (qint64 n : numeros) {
      q.enlazar(n);
      q.ejecutar();
    }
  });
  reparar_.clear();
}

}  // namespace informes

namespace informes {

namespace {
QString TextoONada(const datos::Consulta& q, int i) {
  const QVariant v = q.valor(i);
  return v.isNull() ? QStringLiteral("") : v.toString();
}
std::optional<double> NumeroONada(const datos::Consulta& q, int i) {
  const QVariant v = q.valor(i);
  if (v.isNull()) return std::nullopt;
  bool ok = false;
  const double d = v.toDouble(&ok);
  return ok ? std::optional<double>(d) : std::nullopt;
}
void CargarCostes(const datos::Conexion& ventas, const char* sql,
                  QHash<QString, BusquedasCatalogo::CostePrecio>& destino) {
  datos::Consulta q = ventas.preparar(QString::fromLatin1(sql));
  q.ejecutar();
  while (q.siguiente()) {
    if (q.valor(0).isNull()) continue;
    const QString codigo = q.valor(0).toString().toCaseFolded();
    if (!destino.contains(codigo)) destino.insert(codigo, {NumeroONada(q, 1), NumeroONada(q, 2)});
  }
}
}  // namespace

BusquedasCatalogo::BusquedasCatalogo(const datos::Conexion& ventas, int tablas) {
  if (tablas & Clientes) {
    datos::Consulta q = ventas.preparar(
        QStringLiteral("SELECT codigo, nombre, apellidos, cif, poblacion, telefono, fax FROM clientes"));
    q.ejecutar();
    while (q.siguiente()) {
      const auto codigo = EnteroDe(q.valor(0));
      if (!codigo || clientes_.contains(*codigo)) continue;
      clientes_.insert(*codigo, {TextoONada(q, 1) + QLatin1Char(' ') + TextoONada(q, 2), TextoONada(q, 3),
                                 TextoONada(q, 4), TextoONada(q, 5), TextoONada(q, 6)});
    }
  }
  if (tablas & FormasPago) {
    datos::Consulta q = ventas.preparar(QStringLiteral("SELECT codigo, nombre FROM formapago"));
    q.ejecutar();
    while (q.siguiente()) {
      const auto codigo = EnteroDe(q.valor(0));
      if (codigo && !formasPago_.contains(*codigo)) formasPago_.insert(*codigo, TextoONada(q, 1));
    }
  }
  if (tablas & Productos) CargarCostes(ventas, "SELECT codigo, coste, precio FROM productos", productos_);
  if (tablas & Menus) CargarCostes(ventas, "SELECT codigo, coste, precio FROM seccion", menus_);
}

const BusquedasCatalogo::Cliente* BusquedasCatalogo::cliente(const QVariant& codigo) const {
  const auto n = EnteroDe(codigo);
  if (!n || *n <= 0) return nullptr;
  const auto it = clientes_.constFind(*n);
  return it == clientes_.constEnd() ? nullptr : &*it;
}

QString BusquedasCatalogo::DatosCliente(const QVariant& codigo, QString& telefono, QString& fax) const {
  const Cliente* c = cliente(codigo);
  telefono = c ? c->telefono : QStringLiteral("");
  fax = c ? c->fax : QStringLiteral("");
  return c ? c->poblacion : QStringLiteral("");
}

QString BusquedasCatalogo::NombreCliente(const QVariant& codigo, QString& cif) const {
  const Cliente* c = cliente(codigo);
  cif = c ? c->cif : QStringLiteral("");
  return c ? c->nombre : QStringLiteral("Cliente Generico");
}

QString BusquedasCatalogo::NombreFormaPago(const QVariant& codigo) const {
  const auto n = EnteroDe(codigo);
  if (!n || *n <= 0) return QStringLiteral("");
  return formasPago_.value(*n, QStringLiteral(""));
}

BusquedasCatalogo::CostePrecio BusquedasCatalogo::CostePrecioProducto(const QString& codigo) const {
  if (ultimo_ && codigo == ultimoCodigo_) return *ultimo_;
  const auto it = productos_.constFind(codigo.toCaseFolded());
  if (it == productos_.constEnd()) return {};
  ultimoCodigo_ = codigo;
  ultimo_ = &*it;
  return *it;
}

double BusquedasCatalogo::CosteProducto(const QString& codigo) const {
  return CostePrecioProducto(codigo).coste.value_or(0);
}

BusquedasCatalogo::CostePrecio BusquedasCatalogo::CostePrecioMenu(const QString& codigo) const {
  return menus_.value(codigo.toCaseFolded());
}

}  // namespace informes
