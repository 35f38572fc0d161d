#include "builders/EscritorInformes.h"

#include "builders/Costumbres.h"
#include "builders/ExportarCsv.h"
#include "builders/HiloEscritura.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace informes {

namespace {

// Un número que un constructor ya dejó como texto. Lo normal es la coma
// decimal del programa ("12,50"), con o sin puntos de miles ("1.234,56");
// también vale el punto decimal ("12.50") y los miles con coma ("1,234.56").
// Un punto solo es decimal: "1.234" es 1,234.
std::optional<double> leerNumero(const QString& texto) {
  static const QRegularExpression comaDecimal(QStringLiteral("^[+-]?\\d*,\\d*$"));
  static const QRegularExpression milesConPunto(QStringLiteral("^[+-]?\\d{1,3}(\\.\\d{3})+(,\\d*)?$"));
  static const QRegularExpression milesConComa(QStringLiteral("^[+-]?\\d{1,3}(,\\d{3})+(\\.\\d*)?$"));
  static const QLocale c = [] {
    QLocale l = QLocale::c();
    l.setNumberOptions(QLocale::RejectGroupSeparator);  // "1,234" es 1,234 y no 1234
    return l;
  }();
  QString t = texto.trimmed();
  bool ok = false;
  double d = c.toDouble(t, &ok);
  if (!ok) {
    if (comaDecimal.match(t).hasMatch()) {
      t.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (milesConPunto.match(t).hasMatch()) {
      t.remove(QLatin1Char('.'));
      t.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (milesConComa.match(t).hasMatch()) {
      t.remove(QLatin1Char(','));
    } else {
      return std::nullopt;
    }
    d = c.toDouble(t, &ok);
  }
  if (!ok || !std::isfinite(d)) return std::nullopt;
  return d;
}

}  // namespace

EscritorInformes::EscritorInformes(const datos::Conexion& conexion)
    : conexion_(conexion), directa_(conexion.admiteSentenciaDirecta()) {
  const QStringList reales = conexion.columnas(QStringLiteral("informes"));
  if (reales.isEmpty())
    throw datos::ErrorDatos(conexion.mensajeError(QStringLiteral("Falta la tabla Informes"),
                                                  QStringLiteral("la base de informes no la tiene")));
  QHash<QString, QString> porMinusculas;
  for (const QString& r : reales) porMinusculas.insert(r.toLower(), r);
  for (int i = 0; i < kNumColumnas; ++i) {
    const QString nombre = NombreColumna(static_cast<Col>(i));
    const QString real = porMinusculas.value(nombre);
    if (real.isEmpty())
      throw datos::ErrorDatos(conexion.mensajeError(QStringLiteral("Falta la columna %1 de Informes").arg(nombre),
                                                    QStringLiteral("la tabla no la tiene")));
    nombresReales_ << real;
  }
  tieneFila_ = porMinusculas.contains(QStringLiteral("fila"));
}

EscritorInformes::~EscritorInformes() {
  hilo_.reset();  // antes de deshacer: el hilo deja de usar la conexión
  pendientes_.clear();
  inserciones_.clear();
  if (enTransaccion_) conexion_.deshacer();
}

void EscritorInformes::asegurarTransaccion() {
  if (enTransaccion_) return;
  conexion_.empezarTransaccion();
  enTransaccion_ = true;
}

void EscritorInformes::vaciar() {
  asegurarTransaccion();
  if (hilo_) hilo_->esperar();
  // En PostgreSQL TRUNCATE deja la tabla sin huecos y es transaccional.
  conexion_.ejecutar(conexion_.motor() == datos::Motor::PostgreSQL ? QStringLiteral("TRUNCATE informes")
                                                                   : QStringLiteral("DELETE FROM informes"));
  pendientes_.clear();
  filas_ = 0;
  ultimaFila_ = 0;
}

void EscritorInformes::nuevaFila() {
  // Sólo se limpian las celdas que la fila anterior llenó; las fijas siguen.
  const std::bitset<kNumColumnas> limpiar = puestas_ & ~fijas_;
  if (limpiar.any())
    for (int i = 0; i < kNumColumnas; ++i)
      if (limpiar.test(static_cast<size_t>(i))) valores_[static_cast<size_t>(i)] = QVariant();
  puestas_ = fijas_;
  filaAbierta_ = true;
  origen_ = {};
}

void EscritorInformes::origen(const char* tabla, const char* registro, const QVariant& clave) {
  if (!filaAbierta_) nuevaFila();
  origen_ = {tabla, registro, clave};
}

QVariant EscritorInformes::convertir(Col columna, const QVariant& v, const char* columnaOrigen) const {
  if (v.isNull() || !v.isValid()) return QVariant();
  const TipoColumna tipo = TipoDe(columna);
  auto noValido = [&](const QString& que) {
    // El valor malo está en la base de ventas: se nombra allí, donde se
    // puede corregir, y no en Informes, que sólo es donde iba.
    if (origen_.tabla) {
      const QString donde =
          columnaOrigen ? QStringLiteral("%1.%2").arg(QLatin1String(origen_.tabla), QLatin1String(columnaOrigen))
                        : QLatin1String(origen_.tabla);
      return datos::ErrorDatos(
          QStringLiteral("Valor no válido en %1 de %2 %3: %4 (iba a %5 de Informes).")
              .arg(donde, QLatin1String(origen_.registro), origen_.clave.toString(), que, NombreColumna(columna)));
    }
    return datos::ErrorDatos(
        conexion_.mensajeError(QStringLiteral("Valor no válido para %1").arg(NombreColumna(columna)), que));
  };
  switch (tipo) {
    case TipoColumna::Texto:
      switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
          return NumeroATexto(v.toDouble());
        case QMetaType::QDate:
          return textoDiaMesAnio(v.toDate());
        case QMetaType::QTime:
          return v.toTime().toString(QStringLiteral("HH:mm:ss"));
        case QMetaType::QDateTime: {
          const QDateTime fh = v.toDateTime();
          return fh.time() == QTime(0, 0)
                     ? textoDiaMesAnio(fh.date())
                     : textoDiaMesAnio(fh.date()) + fh.time().toString(QStringLiteral(" HH:mm:ss"));
        }
        default: {
          // Un QString() es Null también en estampar(), que enlaza con la
          // capa de datos, donde un texto nulo entra como ''.
          const QString t = v.toString();
          return t.isNull() ? QVariant() : QVariant(t);
        }
      }
    case TipoColumna::Numero:
    case TipoColumna::Entero: {
      double d = 0;
      if (v.typeId() == QMetaType::QString) {
        // Número ya formateado como texto: la base lo convierte.
        if (v.toString().trimmed().isEmpty()) return QVariant();
        const auto n = leerNumero(v.toString());
        if (!n) throw noValido(QStringLiteral("\"%1\" no es un número").arg(v.toString()));
        d = *n;
      } else {
        bool ok = false;
        d = v.toDouble(&ok);
        if (!ok) throw noValido(QStringLiteral("no es un número"));
      }
      if (tipo == TipoColumna::Numero) return d;
      if (!(std::fabs(d) < 2147483647.5))
        throw noValido(QStringLiteral("%1 no cabe en un entero").arg(NumeroATexto(d)));
      return static_cast<qint64>(std::llround(d));
    }
    case TipoColumna::Fecha: {
      switch (v.typeId()) {
        case QMetaType::QDate:
          return datos::textoFecha(v.toDate());
        case QMetaType::QTime:
          return QStringLiteral("1899-12-30 ") + datos::textoHora(v.toTime());
        case QMetaType::QDateTime:
          return datos::textoFechaOFechaHora(v.toDateTime());
        default:
          break;
      }
      const QString t = v.toString().trimmed();
      QDate d = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
      if (d.isValid()) return datos::textoFecha(d);
      QTime h = QTime::fromString(t, QStringLiteral("HH:mm"));
      if (!h.isValid()) h = QTime::fromString(t, QStringLiteral("HH:mm:ss"));
      if (h.isValid()) return QStringLiteral("1899-12-30 ") + datos::textoHora(h);
      const QDateTime fh = datos::aFechaHora(t);
      if (fh.isValid()) return datos::textoFechaOFechaHora(fh);
      throw noValido(QStringLiteral("\"%1\" no es una fecha").arg(t));
    }
  }
  return v;
}

void EscritorInformes::poner(Col columna, const QVariant& valor) {
  poner(columna, valor, nullptr);
}

void EscritorInformes::poner(Col columna, const QVariant& valor, const char* columnaOrigen) {
  const std::size_t i = Indice(columna);
  // Una columna fija que se pone a mano deja de ser fija desde esta fila.
  if (fijas_.test(i)) {
    fijas_.reset(i);
    ++versionFijas_;
  }
  if (!filaAbierta_) nuevaFila();
  valores_[i] = convertir(columna, valor, columnaOrigen);
  puestas_.set(i);
}

void EscritorInformes::fijar(Col columna, const QVariant& valor) {
  poner(columna, valor);  // deja de ser fija: la versión cambia y se enlaza de nuevo
  fijas_.set(Indice(columna));
  ++versionFijas_;
}

namespace {
// Filas que se juntan antes de mandarlas a la base.
constexpr std::size_t kFilasLote = 4096;

// Elemento de un literal de array de PostgreSQL: entre comillas, con la
// barra y las comillas escapadas; Null sin comillas.
void AnadirElemento(QString& array, const QVariant& v, TipoColumna tipo) {
  if (array.size() > 1) array += QLatin1Char(',');
  if (v.isNull()) {
    array += QLatin1String("NULL");
    return;
  }
  QString t;
  switch (tipo) {
    case TipoColumna::Numero:
      t = NumeroCsv(v.toDouble());
      break;
    case TipoColumna::Entero:
      t = QString::number(v.toLongLong());
      break;
    case TipoColumna::Texto:
    case TipoColumna::Fecha:
      t = v.toString();
      break;
  }
  array += QLatin1Char('"');
  for (const QChar c : t) {
    if (c == QLatin1Char('"') || c == QLatin1Char('\\')) array += QLatin1Char('\\');
    array += c;
  }
  array += QLatin1Char('"');
}

QString TipoArray(TipoColumna tipo) {
  switch (tipo) {
    case TipoColumna::Numero:
      return QStringLiteral("double precision[]");
    case TipoColumna::Entero:
      return QStringLiteral("integer[]");
    case TipoColumna::Fecha:
      return QStringLiteral("timestamp[]");
    case TipoColumna::Texto:
      break;
  }
  return QStringLiteral("text[]");
}
}  // namespace

void EscritorInformes::guardarFila() {
  asegurarTransaccion();
  if (tieneFila_ && ultimaFila_ < 0) {
    // Sin vaciar la tabla, las filas nuevas van detrás de las que ya hay.
    volcar();
    datos::Consulta m = conexion_.preparar(QStringLiteral("SELECT COALESCE(MAX(fila), 0) FROM informes"));
    m.ejecutar();
    ultimaFila_ = m.siguiente() ? static_cast<int>(m.valor(0).toLongLong()) : 0;
  }
  const unsigned long long clave = puestas_.to_ullong();
  if (directa_ && (clave != 0 || tieneFila_)) {
    // SQLite escribe la fila en el momento: no hay viaje que ahorrar.
    if (!hilo_)
      hilo_ = std::make_unique<HiloEscritura>(conexion_, [this](unsigned long long c) { return textoInsercion(c); });
    // Los valores fijos se enlazan una vez: SQLite los guarda de una fila a
    // la siguiente.
    unsigned& version = versionesDirectas_[clave];
    const bool fijasAlDia = version == versionFijas_;
    version = versionFijas_;
    HiloEscritura::Fila f;
    f.clave = clave;
    f.valores.reserve(puestas_.count() + 1);
    if (tieneFila_) f.valores.emplace_back(ultimaFila_ + 1);
    for (int i = 0; i < kNumColumnas; ++i) {
      if (!puestas_.test(static_cast<size_t>(i))) continue;
      if (fijasAlDia && fijas_.test(static_cast<size_t>(i))) {
        f.saltar.set(f.valores.size());
        f.valores.emplace_back();
      } else {
        f.valores.push_back(valores_[static_cast<size_t>(i)]);
      }
    }
    hilo_->encolar(std::move(f));
    ++filas_;
    if (tieneFila_) ++ultimaFila_;
    filaAbierta_ = false;
    return;
  }
  Pendiente p;
  p.clave = clave;
  p.fila = tieneFila_ ? ultimaFila_ + 1 : 0;
  p.valores.reserve(puestas_.count());
  for (int i = 0; i < kNumColumnas; ++i) {
    if (!puestas_.test(static_cast<size_t>(i))) continue;
    const QVariant& v = valores_[static_cast<size_t>(i)];
    if (v.isNull()) {
      const auto tipo = TipoDe(static_cast<Col>(i));
      p.valores.emplace_back(tipo == TipoColumna::Numero   ? QMetaType(QMetaType::Double)
                             : tipo == TipoColumna::Entero ? QMetaType(QMetaType::LongLong)
                                                           : QMetaType(QMetaType::QString));
    } else {
      p.valores.push_back(v);
    }
  }
  pendientes_.push_back(std::move(p));
  ++filas_;
  if (tieneFila_) ++ultimaFila_;
  filaAbierta_ = false;
  if (pendientes_.size() >= kFilasLote) volcar();
}

QString EscritorInformes::textoInsercion(unsigned long long clave) const {
  // Sólo se enlazan las columnas que la fila pone: el resto queda en Null.
  const std::bitset<kNumColumnas> puestas(clave);
  QStringList nombres;
  QStringList marcas;
  if (tieneFila_) {
    nombres << QStringLiteral("fila");
    marcas << QStringLiteral("?::integer[]");
  }
  for (int i = 0; i < kNumColumnas; ++i) {
    if (!puestas.test(static_cast<size_t>(i))) continue;
    nombres << nombresReales_.at(i);
    marcas << QStringLiteral("?::") + TipoArray(TipoDe(static_cast<Col>(i)));
  }
  if (nombres.isEmpty()) return QStringLiteral("INSERT INTO informes DEFAULT VALUES");
  if (conexion_.motor() == datos::Motor::PostgreSQL) {
    // Cada columna viaja como un array enlazado y unnest las reparte en
    // filas: PostgreSQL analiza mucho más deprisa un array que una lista
    // VALUES de miles de filas.
    return QStringLiteral("INSERT INTO informes (%1) SELECT * FROM unnest(%2)")
        .arg(nombres.join(QLatin1Char(',')), marcas.join(QLatin1Char(',')));
  }
  QStringList simples(nombres.size(), QStringLiteral("?"));
  return QStringLiteral("INSERT INTO informes (%1) VALUES (%2)")
      .arg(nombres.join(QLatin1Char(',')), simples.join(QLatin1Char(',')));
}

datos::Consulta& EscritorInformes::insercion(unsigned long long clave) {
  auto& q = inserciones_[clave];
  if (!q) q = std::make_unique<datos::Consulta>(conexion_.preparar(textoInsercion(clave)));
  return *q;
}

void EscritorInformes::volcar() {
  if (hilo_) hilo_->esperar();
  const bool enArrays = conexion_.motor() == datos::Motor::PostgreSQL;
  std::size_t i = 0;
  while (i < pendientes_.size()) {
    const unsigned long long clave = pendientes_[i].clave;
    datos::Consulta& q = insercion(clave);
    const bool vacia = clave == 0 && !tieneFila_;
    if (!enArrays || vacia) {
      // SQLite: una sentencia preparada por fila es lo más rápido, porque su
      // controlador busca cada parámetro por nombre y con muchos se atasca.
      if (tieneFila_) q.sql().addBindValue(pendientes_[i].fila);
      for (const QVariant& v : pendientes_[i].valores) q.sql().addBindValue(v);
      q.ejecutar();
      ++i;
      continue;
    }
    std::size_t fin = i + 1;
    while (fin < pendientes_.size() && pendientes_[fin].clave == clave) ++fin;
    const std::bitset<kNumColumnas> puestas(clave);
    std::vector<TipoColumna> tipos;
    for (int c = 0; c < kNumColumnas; ++c)
      if (puestas.test(static_cast<size_t>(c))) tipos.push_back(TipoDe(static_cast<Col>(c)));
    if (tieneFila_) {
      QString filas = QStringLiteral("{");
      for (std::size_t k = i; k < fin; ++k) AnadirElemento(filas, pendientes_[k].fila, TipoColumna::Entero);
      q.sql().addBindValue(filas + QLatin1Char('}'));
    }
    for (std::size_t c = 0; c < tipos.size(); ++c) {
      QString array = QStringLiteral("{");
      for (std::size_t k = i; k < fin; ++k) AnadirElemento(array, pendientes_[k].valores[c], tipos[c]);
      q.sql().addBindValue(array + QLatin1Char('}'));
    }
    q.ejecutar();
    i = fin;
  }
  pendientes_.clear();
}

void EscritorInformes::estampar(Col columna, const QVariant& valor) {
  estampar({{columna, valor}});
}

void EscritorInformes::estampar(std::initializer_list<std::pair<Col, QVariant>> valores) {
  asegurarTransaccion();
  volcar();
  QStringList asignaciones;
  QVariantList enlaces;
  for (const auto& [columna, valor] : valores) {
    asignaciones << nombreReal(columna) + QStringLiteral(" = ?");
    enlaces << convertir(columna, valor);
  }
  conexion_.ejecutar(QStringLiteral("UPDATE informes SET ") + asignaciones.join(QStringLiteral(", ")), enlaces);
}

void EscritorInformes::actualizarDonde(Col columna, const QVariant& valor, Col columnaClave, const QVariant& clave) {
  asegurarTransaccion();
  volcar();
  conexion_.ejecutar(
      QStringLiteral("UPDATE informes SET %1 = ? WHERE %2 = ?").arg(nombreReal(columna), nombreReal(columnaClave)),
      {convertir(columna, valor), convertir(columnaClave, clave)});
}

void EscritorInformes::borrarDonde(Col columnaClave, const QVariant& clave) {
  asegurarTransaccion();
  volcar();
  conexion_.ejecutar(QStringLiteral("DELETE FROM informes WHERE %1 = ?").arg(nombreReal(columnaClave)),
                     {convertir(columnaClave, clave)});
}

void EscritorInformes::terminar() {
  if (!enTransaccion_) return;
  volcar();
  inserciones_.clear();
  conexion_.confirmar();
  enTransaccion_ = false;
}

}  // namespace informes
