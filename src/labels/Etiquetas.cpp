#include "labels/Etiquetas.h"

#include "builders/Informes.h"
#include "platform/datos/Orden.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <utility>

namespace etiquetas {

using informes::Col;

QString CodigoEtiqueta(const QVariant& codigoBarras, const QVariant& codigo) {
  const QString barras = codigoBarras.isNull() ? QString() : codigoBarras.toString().trimmed();
  // Un código de barras "0" o "000" es el cero que dejan las fichas sin
  // código: la etiqueta lleva entonces el del producto.
  static const QRegularExpression ceros(QStringLiteral("^0+$"));
  if (barras.isEmpty() || ceros.match(barras).hasMatch()) return codigo.toString().trimmed();
  return barras;
}

QString TextoBarras(const QString& codigoEtiqueta) {
  return QLatin1Char('*') + codigoEtiqueta.rightJustified(12, QLatin1Char('0')) + QLatin1Char('*');
}

namespace {

// Lee un grupo de la lista y lo ordena por nombre como los listados de la
// tienda; a igual nombre, por código, que es el orden de la consulta.
std::vector<Articulo> LeerGrupo(const datos::Conexion& ventas, const QString& sql, bool menu) {
  datos::Consulta q = ventas.preparar(sql);
  q.ejecutar();
  std::vector<Articulo> leidos;
  std::vector<datos::ClavesFila> claves;
  const datos::CriterioOrden criterio;
  while (q.siguiente()) {
    Articulo a;
    a.nombre = q.texto(QStringLiteral("nombre"));
    a.codigo = q.texto(QStringLiteral("codigo"));
    a.codigoEtiqueta = menu
                           ? a.codigo.trimmed()
                           : CodigoEtiqueta(q.valor(QStringLiteral("codigobarras")), q.valor(QStringLiteral("codigo")));
    a.precio = q.valor(QStringLiteral("precio"));
    a.menu = menu;
    claves.push_back({criterio.clave(a.nombre)});
    leidos.push_back(std::move(a));
  }
  std::vector<Articulo> r;
  r.reserve(leidos.size());
  for (std::size_t i : datos::OrdenEstable(claves)) r.push_back(std::move(leidos[i]));
  return r;
}

}  // namespace

std::vector<Articulo> LeerArticulos(const datos::Conexion& ventas) {
  std::vector<Articulo> r = LeerGrupo(
      ventas, QStringLiteral("SELECT precio, nombre, codigo, codigobarras FROM productos ORDER BY codigo"), false);
  std::vector<Articulo> menus = LeerGrupo(
      ventas, QStringLiteral("SELECT precio, nombre, codigo FROM seccion WHERE menu <> 0 ORDER BY codigo"), true);
  r.insert(r.end(), std::make_move_iterator(menus.begin()), std::make_move_iterator(menus.end()));
  return r;
}

int ContarProductos(const datos::Conexion& ventas) {
  datos::Consulta q = ventas.preparar(QStringLiteral("SELECT COUNT(*) AS cuantos FROM productos WHERE borrar = ?"));
  q.enlazar(0);
  q.ejecutar();
  return q.siguiente() ? static_cast<int>(q.entero(QStringLiteral("cuantos"))) : 0;
}

double ValorNumerico(const QString& texto) {
  static const QRegularExpression numero(QStringLiteral("^\\s*([+-]?(\\d+\\.?\\d*|\\.\\d+))"));
  const QRegularExpressionMatch m = numero.match(texto);
  if (!m.hasMatch()) return 0;
  bool ok = false;
  const double v = QLocale::c().toDouble(m.captured(1), &ok);
  return ok && std::isfinite(v) ? v : 0;
}

QString PosicionValida(const QString& inicio) {
  return ValorNumerico(inicio) > kEtiquetasPorHoja ? QStringLiteral("1") : inicio;
}

int PosicionesSaltadas(const QString& inicio) {
  const double s = std::round(ValorNumerico(PosicionValida(inicio)));
  return s > 1 ? static_cast<int>(s) - 1 : 0;
}

int CopiasDe(const Pedido& pedido) {
  // Se cuentan los enteros 0, 1... hasta copias − 1: 2,5 copias son dos.
  // Más de lo que cabe en cien hojas es un error de tecleo, no un pedido.
  constexpr double kMaximo = 100.0 * kEtiquetasPorHoja;
  return pedido.copias > 0 ? static_cast<int>(std::floor(std::min(pedido.copias, kMaximo))) : 0;
}

int EscribirHoja(const datos::Conexion& informes, const QString& inicio, const std::vector<Pedido>& cola) {
  informes::EscritorInformes e(informes);
  e.vaciar();
  const QString vacio = QStringLiteral("");
  for (int i = PosicionesSaltadas(inicio); i > 0; --i) {
    e.nuevaFila();
    for (Col c : {Col::Texto1, Col::Texto2, Col::Texto3, Col::Texto4}) e.poner(c, vacio);
    e.guardarFila();
  }
  for (const Pedido& p : cola) {
    const QString barras = TextoBarras(p.codigoEtiqueta);
    QVariant precio;
    if (!p.precio.isNull()) precio = std::round(p.precio.toDouble() * 100) / 100;
    for (int i = CopiasDe(p); i > 0; --i) {
      e.nuevaFila();
      e.poner(Col::Texto1, barras);
      e.poner(Col::Texto2, p.nombre.isNull() ? vacio : p.nombre);
      e.poner(Col::Numerico1, precio);
      e.guardarFila();
    }
  }
  e.terminar();
  return e.filasGuardadas();
}

}  // namespace etiquetas
