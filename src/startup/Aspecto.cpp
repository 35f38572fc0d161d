#include "startup/Aspecto.h"

#include <QStringList>

#include <algorithm>

namespace aspecto {

namespace {

// Los formularios se dibujaron en twips para un área de 15360 × 11280, y la
// suite cuenta siempre 15 twips por píxel, sin mirar la resolución lógica.
constexpr double kTwipsPorPixel = 15.0;
constexpr double kAnchoDiseno = 15360.0;
constexpr double kAltoDiseno = 11280.0;

constexpr int kRanuras = 14;

bool esHexadecimal(const QString& cifras) {
  return !cifras.isEmpty() && std::all_of(cifras.cbegin(), cifras.cend(), [](QChar c) {
    return c.isDigit() || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
  });
}

// El texto de un campo de la paleta: el número en decimal, como lo daba la
// suite al pasar la columna a texto; Null es un campo vacío.
QString textoCampo(const QVariant& v) {
  if (v.isNull()) return {};
  bool esNumero = false;
  const qint64 n = v.toLongLong(&esNumero);
  return esNumero ? QString::number(n) : v.toString();
}

}  // namespace

QColor ColorWindows(qint64 valor) {
  const auto v = static_cast<quint32>(valor) & 0xFFFFFFu;
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

std::optional<qint64> LeerValorColor(const QString& texto) {
  const QString t = texto.trimmed();
  if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
    // Basic admitía un "&" final que marca el literal como entero largo.
    QString cifras = t.mid(2);
    if (cifras.endsWith(QLatin1Char('&'))) cifras.chop(1);
    // Más de ocho cifras ya no es un color de 32 bits.
    if (!esHexadecimal(cifras) || cifras.size() > 8) return std::nullopt;
    return static_cast<qint64>(cifras.toULongLong(nullptr, 16));
  }
  bool esNumero = false;
  const qint64 n = t.toLongLong(&esNumero, 10);
  if (!esNumero) return std::nullopt;
  return n;
}

Paleta LeerPaleta(const QString& texto) {
  Paleta p;
  const QStringList campos = texto.split(QLatin1Char('|'));
  for (int i = 0; i < kRanuras && i < campos.size(); ++i) {
    if (const auto v = LeerValorColor(campos.at(i))) p.ranuras[static_cast<size_t>(i)] = ColorWindows(*v);
  }
  return p;
}

QString ObtenerColor(const datos::Conexion& base, qint16 color) {
  datos::Consulta q = base.preparar(QStringLiteral("SELECT * FROM colores WHERE id_color = ?"));
  q.enlazar(static_cast<int>(color));
  q.ejecutar();
  if (!q.siguiente()) {
    // Un puesto con una paleta que ya no existe (o sin paleta) se ve con la
    // primera, no con los colores del sistema.
    q = base.preparar(QStringLiteral("SELECT * FROM colores ORDER BY id_color"));
    q.ejecutar();
    if (!q.siguiente()) return {};
  }
  // Por posición: las columnas de color van tras id_color sea cual sea su
  // nombre.
  QString texto;
  const int columnas = std::min(kRanuras + 1, static_cast<int>(q.nombresColumnas().size()));
  for (int i = 1; i < columnas; ++i) texto += textoCampo(q.valor(i)) + QLatin1Char('|');
  return texto;
}

void GuardarColorTerminal(const datos::Conexion& base, const QString& idTerminal, qint16 color) {
  // Con color < 0 el puesto no tiene paleta y se ha coloreado con la
  // primera: apuntar ese -1 borraría la paleta que la fila tenga elegida sin
  // poner otra en su lugar.
  if (color < 0) return;
  datos::Consulta q =
      base.preparar(QStringLiteral("SELECT id_color, colorpredefinido FROM opciones_terminal WHERE identificador = ?"));
  q.enlazar(idTerminal);
  q.ejecutar();
  if (!q.siguiente()) return;
  if (!q.esNulo(QStringLiteral("id_color")) && q.entero(QStringLiteral("id_color")) == color) return;
  base.ejecutar(
      QStringLiteral("UPDATE opciones_terminal SET colorpredefinido = 1, id_color = ? WHERE identificador = ?"),
      {static_cast<int>(color), idTerminal});
}

std::optional<QString> BuscarTraduccion(const datos::Conexion& base, const QString& texto) {
  datos::Consulta q =
      base.preparar(QStringLiteral("SELECT caption, traduccion FROM traducciones WHERE UPPER(caption) = UPPER(?)"));
  q.enlazar(texto);
  q.ejecutar();
  if (!q.siguiente()) return std::nullopt;
  const QString traduccion = q.texto(QStringLiteral("traduccion"));
  // Una fila sin traducción sirve para unificar cómo se escribe un texto.
  return traduccion.isEmpty() ? q.texto(QStringLiteral("caption")) : traduccion;
}

FactoresEscala CalcularFactores(QSize pixeles) {
  FactoresEscala f;
  f.fx = pixeles.width() * kTwipsPorPixel / kAnchoDiseno;
  f.fy = pixeles.height() * kTwipsPorPixel / kAltoDiseno;
  f.fm = (f.fx + f.fy) / 2.0;
  return f;
}

}  // namespace aspecto
