#include "platform/ajustes/FicheroIni.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ajustes {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

// Un fichero escrito con el Bloc de notas de un Windows antiguo viene en la
// página de códigos de Windows, no en UTF-8.
const char* const kCodificacionWindows = "windows-1252";

bool esUtf8(const QByteArray& contenido) {
  QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString descartado = d.decode(contenido);
  return !d.hasError();
}

bool coincide(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Las claves que hay antes de la primera cabecera son de [General], como las
// leía la versión anterior.
bool esDeLaSeccion(const QString& actual, const QString& buscada) {
  return coincide(actual, buscada) || (actual.isEmpty() && coincide(buscada, QStringLiteral("General")));
}

bool esComilla(QChar c) {
  return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

bool vaEntreComillas(const QString& v) {
  return v.size() >= 2 && esComilla(v.front()) && v.back() == v.front();
}

// Windows quita los blancos de los extremos y un par de comillas que rodee el
// valor entero; para que un valor así vuelva igual, se escribe entre comillas.
QString textoEscrito(const QString& valor) {
  if (valor != valor.trimmed() || vaEntreComillas(valor)) return QLatin1Char('"') + valor + QLatin1Char('"');
  return valor;
}

bool tieneSalto(const QString& s) {
  return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r')) || s.contains(QChar(u'\0'));
}

}  // namespace

FicheroIni::FicheroIni(const QByteArray& contenido) {
  QByteArray resto = contenido;
  if (resto.startsWith(kBom)) {
    bom_ = kBom;
    resto = resto.mid(kBom.size());
  }
  utf8_ = !bom_.isEmpty() || esUtf8(resto);
  qsizetype inicio = 0;
  while (inicio < resto.size()) {
    Linea l;
    const qsizetype salto = resto.indexOf('\n', inicio);
    if (salto < 0) {
      l.texto = resto.mid(inicio);
      inicio = resto.size();
    } else {
      l.texto = resto.mid(inicio, salto - inicio);
      l.fin = "\n";
      if (l.texto.endsWith('\r')) {
        l.texto.chop(1);
        l.fin = "\r\n";
      }
      inicio = salto + 1;
    }
    interpretar(l);
    lineas_.push_back(std::move(l));
  }
}

QByteArray FicheroIni::bytes() const {
  QByteArray b = bom_;
  for (const Linea& l : lineas_) b += l.texto + l.fin;
  return b;
}

QString FicheroIni::descodificar(const QByteArray& texto) const {
  if (utf8_) return QString::fromUtf8(texto);
  QStringDecoder d(kCodificacionWindows);
  return d.isValid() ? d.decode(texto) : QString::fromLatin1(texto);
}

QByteArray FicheroIni::codificar(const QString& texto) const {
  if (utf8_) return texto.toUtf8();
  QStringEncoder e(kCodificacionWindows);
  if (!e.isValid()) return texto.toLatin1();
  const QByteArray b = e.encode(texto);
  if (e.hasError())
    throw ErrorAjustes(QStringLiteral("«%1» tiene caracteres que no caben en la codificación del fichero de ajustes "
                                      "(Windows-1252).")
                           .arg(texto));
  return b;
}

void FicheroIni::interpretar(Linea& l) const {
  l.tipo = Tipo::Otra;
  l.nombre.clear();
  l.valor.clear();
  const QString s = descodificar(l.texto);
  const QString t = s.trimmed();
  if (t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'))) return;
  if (t.startsWith(QLatin1Char('['))) {
    const qsizetype cierre = t.indexOf(QLatin1Char(']'));
    if (cierre > 0) {
      l.tipo = Tipo::Seccion;
      l.nombre = t.mid(1, cierre - 1).trimmed();
    }
    return;
  }
  const qsizetype igual = s.indexOf(QLatin1Char('='));
  if (igual < 0) return;
  const QString nombre = s.left(igual).trimmed();
  if (nombre.isEmpty()) return;
  l.tipo = Tipo::Clave;
  l.nombre = nombre;
  l.valor = s.mid(igual + 1).trimmed();
  if (vaEntreComillas(l.valor)) l.valor = l.valor.mid(1, l.valor.size() - 2);
}

int FicheroIni::buscar(const QString& seccion, const QString& clave) const {
  QString actual;
  for (size_t i = 0; i < lineas_.size(); ++i) {
    const Linea& l = lineas_[i];
    if (l.tipo == Tipo::Seccion)
      actual = l.nombre;
    else if (l.tipo == Tipo::Clave && esDeLaSeccion(actual, seccion) && coincide(l.nombre, clave))
      return static_cast<int>(i);
  }
  return -1;
}

std::optional<QString> FicheroIni::valor(const QString& seccion, const QString& clave) const {
  const int i = buscar(seccion, clave);
  if (i < 0) return std::nullopt;
  return lineas_[static_cast<size_t>(i)].valor;
}

QStringList FicheroIni::claves(const QString& seccion) const {
  QStringList r;
  QString actual;
  for (const Linea& l : lineas_) {
    if (l.tipo == Tipo::Seccion)
      actual = l.nombre;
    else if (l.tipo == Tipo::Clave && esDeLaSeccion(actual, seccion) && !r.contains(l.nombre, Qt::CaseInsensitive))
      r << l.nombre;
  }
  return r;
}

int FicheroIni::huecoEnSeccion(const QString& seccion) const {
  bool dentro = esDeLaSeccion(QString(), seccion);
  int hueco = -1;
  for (size_t i = 0; i < lineas_.size(); ++i) {
    const Linea& l = lineas_[i];
    if (l.tipo == Tipo::Seccion) {
      // Sólo la primera sección de ese nombre: es donde se buscará la clave.
      if (hueco >= 0) break;
      dentro = esDeLaSeccion(l.nombre, seccion);
      if (dentro) hueco = static_cast<int>(i) + 1;
    } else if (dentro && l.tipo == Tipo::Clave) {
      hueco = static_cast<int>(i) + 1;
    }
  }
  return hueco;
}

QByteArray FicheroIni::finDeLinea() const {
  for (const Linea& l : lineas_)
    if (!l.fin.isEmpty()) return l.fin;
#ifdef Q_OS_WIN
  return "\r\n";
#else
  return "\n";
#endif
}

void FicheroIni::insertar(int posicion, Linea linea) {
  const size_t p = static_cast<size_t>(posicion);
  linea.fin = finDeLinea();
  if (p == lineas_.size() && !lineas_.empty() && lineas_.back().fin.isEmpty()) {
    // El fichero acababa sin salto de línea y así sigue: el salto que hace
    // falta va delante de la línea nueva.
    lineas_.back().fin = linea.fin;
    linea.fin.clear();
  }
  interpretar(linea);
  lineas_.insert(lineas_.begin() + static_cast<std::ptrdiff_t>(p), std::move(linea));
}

bool FicheroIni::fijar(const QString& seccion, const QString& clave, const QString& valor) {
  const QString nombre = seccion + QLatin1Char('/') + clave;
  if (seccion.isEmpty() || seccion != seccion.trimmed() || tieneSalto(seccion) || seccion.contains(QLatin1Char(']')))
    throw ErrorAjustes(QStringLiteral("«%1» no vale como nombre de sección de un fichero INI.").arg(seccion));
  if (clave.isEmpty() || clave != clave.trimmed() || tieneSalto(clave) || clave.contains(QLatin1Char('=')) ||
      clave.startsWith(QLatin1Char('[')) || clave.startsWith(QLatin1Char(';')) || clave.startsWith(QLatin1Char('#')))
    throw ErrorAjustes(QStringLiteral("«%1» no vale como nombre de clave de un fichero INI.").arg(nombre));
  if (tieneSalto(valor))
    throw ErrorAjustes(QStringLiteral("El valor de «%1» tiene saltos de línea: no cabe en una línea del fichero de "
                                      "ajustes.")
                           .arg(nombre));

  const int i = buscar(seccion, clave);
  if (i >= 0) {
    Linea& l = lineas_[static_cast<size_t>(i)];
    if (l.valor == valor) return false;
    // Se conserva la clave tal como está escrita y lo que rodea al "=".
    qsizetype inicio = l.texto.indexOf('=') + 1;
    while (inicio < l.texto.size() && (l.texto.at(inicio) == ' ' || l.texto.at(inicio) == '\t')) ++inicio;
    l.texto = l.texto.left(inicio) + codificar(textoEscrito(valor));
    interpretar(l);
    return true;
  }

  Linea nueva;
  nueva.texto = codificar(clave) + '=' + codificar(textoEscrito(valor));
  // Lo que se escribe tiene que leerse igual: un nombre que empieza por una
  // marca de orden de bytes (U+FEFF) la pierde al leerlo y sería otra clave.
  interpretar(nueva);
  if (nueva.tipo != Tipo::Clave || nueva.nombre != clave || nueva.valor != valor)
    throw ErrorAjustes(QStringLiteral("«%1» no vale como nombre de clave de un fichero INI.").arg(nombre));
  const int hueco = huecoEnSeccion(seccion);
  if (hueco >= 0) {
    insertar(hueco, std::move(nueva));
    return true;
  }
  // La cabecera se codifica antes de tocar nada: si la sección no cabe en la
  // codificación del fichero, no queda ni la línea en blanco que la separa.
  Linea cabecera;
  cabecera.texto = '[' + codificar(seccion) + ']';
  if (!lineas_.empty() && !descodificar(lineas_.back().texto).trimmed().isEmpty())
    insertar(static_cast<int>(lineas_.size()), Linea{});
  insertar(static_cast<int>(lineas_.size()), std::move(cabecera));
  insertar(static_cast<int>(lineas_.size()), std::move(nueva));
  return true;
}

}  // namespace ajustes
