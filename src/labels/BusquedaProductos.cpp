#include "labels/BusquedaProductos.h"

#include <cmath>

namespace etiquetas {

namespace {

// Los bordes del vaivén y su paso se dibujaron en twips, a 15 por píxel.
constexpr double kTwipsPorPixel = 15.0;
constexpr double kLimiteDerecho = 1770.0;
constexpr double kLimiteIzquierdo = 1425.0;
constexpr double kPaso = 30.0;
constexpr int kVaivenesPorSerie = 4;

// Dos tandas de 130 blancos separan el nombre del código.
constexpr int kBlancosEntrada = 260;
constexpr int kCaracteresCodigo = 10;

// UPPER en los dos lados y por la misma función de la base: LIKE distingue
// mayúsculas en PostgreSQL y no en SQLite, y el teclado en pantalla sólo
// escribe mayúsculas.
const QString kComienza = QStringLiteral("UPPER(%1) LIKE UPPER(CAST(? AS TEXT)) ESCAPE '\\'");

}  // namespace

QString PatronComienzo(const QString& texto) {
  QString patron;
  patron.reserve(texto.size() + 2);
  for (const QChar c : texto) {
    if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_')) patron += QLatin1Char('\\');
    patron += c;
  }
  return patron + QLatin1Char('%');
}

std::vector<ProductoEncontrado> BuscarProductos(const datos::Conexion& ventas, const FiltroProductos& filtro) {
  const QString nombre = filtro.nombre == QLatin1String("*") ? QString() : filtro.nombre;
  // Los filtros se añaden en el orden de las cajas y sus textos se enlazan en
  // el mismo orden.
  QString sql = QStringLiteral("SELECT codigo, nombre FROM productos WHERE codigo IS NOT NULL AND borrar = 0");
  QStringList textos;
  if (!nombre.isEmpty()) {
    sql += QStringLiteral(" AND ") + kComienza.arg(QStringLiteral("nombre"));
    textos << nombre;
  }
  if (!filtro.proveedor.isEmpty()) {
    sql += QStringLiteral(" AND proveedor IN (SELECT codigo FROM proveedores WHERE ") +
           kComienza.arg(QStringLiteral("nombre")) + QLatin1Char(')');
    textos << filtro.proveedor;
  }
  if (!filtro.familia.isEmpty()) {
    sql += QStringLiteral(" AND seccion IN (SELECT codigo FROM seccion WHERE ") +
           kComienza.arg(QStringLiteral("nombre")) + QLatin1Char(')');
    textos << filtro.familia;
  }
  if (filtro.sinFamilia) sql += QStringLiteral(" AND seccion = '-1'");
  // Un escandallo con el padre en Null no puede dejar la búsqueda vacía:
  // NOT IN con un Null en la lista no es cierto para ninguna fila.
  sql += QStringLiteral(
      " AND codigo NOT IN (SELECT productopadre FROM productoelaborado_producto WHERE productopadre IS NOT NULL)"
      " ORDER BY UPPER(nombre), codigo");

  datos::Consulta consulta = ventas.preparar(sql);
  for (const QString& t : textos) consulta.enlazar(PatronComienzo(t));
  consulta.ejecutar();
  std::vector<ProductoEncontrado> encontrados;
  while (consulta.siguiente())
    encontrados.push_back({consulta.texto(QStringLiteral("codigo")), consulta.texto(QStringLiteral("nombre"))});
  return encontrados;
}

QString EntradaResultado(const ProductoEncontrado& producto) {
  return producto.nombre + QString(kBlancosEntrada, QLatin1Char(' ')) + producto.codigo;
}

QString CodigoDeEntrada(const QString& entrada) {
  return entrada.right(kCaracteresCodigo).trimmed();
}

QString RotuloTecla(int tecla) {
  switch (tecla) {
    case kTeclaBorrar:
      return QStringLiteral("BORRAR");
    case kTeclaOk:
      return QStringLiteral("OK");
    case kTeclaEspacio:
      return QStringLiteral("ESPACIO");
    default:
      return QString(QChar(tecla));
  }
}

QString PulsarTecla(const QString& texto, bool todoSeleccionado, bool bloqueada, int tecla) {
  if (bloqueada || tecla == kTeclaOk) return texto;
  if (tecla == kTeclaBorrar) return texto.left(texto.size() - 1);
  // Con todo seleccionado la tecla escribe encima, como al teclear en la caja.
  return (todoSeleccionado ? QString() : texto) + QChar(tecla);
}

VaivenAyuda::VaivenAyuda(double fx) : fx_(fx), izquierda_(kLimiteIzquierdo * fx) {}

int VaivenAyuda::izquierda() const {
  return static_cast<int>(std::lround(izquierda_ / kTwipsPorPixel));
}

void VaivenAyuda::empezarSerie() {
  enSerie_ = true;
}

int VaivenAyuda::tic() {
  if (!enSerie_) return izquierda();
  if (derecha_) {
    if (izquierda_ <= kLimiteDerecho * fx_) {
      izquierda_ += kPaso * fx_;
    } else {
      derecha_ = false;
      ++vaivenes_;
    }
  } else {
    if (izquierda_ >= kLimiteIzquierdo * fx_) {
      izquierda_ -= kPaso * fx_;
    } else {
      derecha_ = true;
      ++vaivenes_;
    }
  }
  if (vaivenes_ == kVaivenesPorSerie) {
    vaivenes_ = 0;
    enSerie_ = false;
  }
  return izquierda();
}

}  // namespace etiquetas
