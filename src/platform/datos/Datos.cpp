#include "platform/datos/Datos.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

#include <atomic>

namespace datos {

ErrorDatos::ErrorDatos(const QString& mensaje) : std::runtime_error(mensaje.toStdString()), mensaje_(mensaje) {}

namespace {

QString textoError(const QSqlError& e) {
  QString t = e.databaseText().trimmed();
  const QString d = e.driverText().trimmed();
  if (t.isEmpty()) return d;
  if (!d.isEmpty() && !t.contains(d)) t = d + ": " + t;
  return t;
}

}  // namespace

FuenteDatos FuenteDatos::interpretar(const QString& nombre, const QString& textoOriginal, const QString& carpetaBase) {
  FuenteDatos f;
  f.nombre = nombre;
  const QString texto = textoOriginal.trimmed();
  auto mal = [&](const QString& porque) {
    return ErrorDatos(
        QStringLiteral("La fuente de datos «%1» no es válida (\"%2\"): %3").arg(nombre, textoOriginal, porque));
  };
  if (texto.isEmpty()) throw mal(QStringLiteral("está vacía"));

  if (texto.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
    f.motor = Motor::SQLite;
    QString ruta = texto.mid(7);
    if (ruta.startsWith(QLatin1String("//"))) ruta = ruta.mid(2);  // sqlite:///ruta
    if (ruta.isEmpty()) throw mal(QStringLiteral("falta la ruta del fichero"));
    if (QFileInfo(ruta).isRelative() && !carpetaBase.isEmpty()) ruta = QDir(carpetaBase).filePath(ruta);
    f.ruta = QDir::cleanPath(ruta);
    return f;
  }
  if (texto.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
      texto.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive)) {
    f.motor = Motor::PostgreSQL;
    const QUrl url(texto, QUrl::StrictMode);
    if (!url.isValid()) throw mal(url.errorString());
    f.servidor = url.host();
    f.puerto = url.port(5432);
    f.usuario = url.userName();
    f.clave = url.password();
    f.base = url.path().mid(1);
    const QUrlQuery q(url);
    if (q.hasQueryItem(QStringLiteral("host"))) f.servidor = q.queryItemValue(QStringLiteral("host"));
    if (f.base.isEmpty()) throw mal(QStringLiteral("falta el nombre de la base"));
    if (f.servidor.isEmpty()) throw mal(QStringLiteral("falta el servidor"));
    return f;
  }
  if (texto.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive)) {
    f.motor = Motor::ODBC;
    f.cadenaOdbc = texto.mid(5);
    if (f.cadenaOdbc.isEmpty()) throw mal(QStringLiteral("falta la cadena de conexión"));
    return f;
  }
  throw mal(QStringLiteral("debe empezar por sqlite:, postgresql:// u odbc:"));
}

QString FuenteDatos::texto() const {
  switch (motor) {
    case Motor::SQLite:
      return QStringLiteral("sqlite:") + ruta;
    case Motor::PostgreSQL: {
      QUrl url;
      url.setScheme(QStringLiteral("postgresql"));
      if (servidor.startsWith(QLatin1Char('/'))) {
        // Un socket local no cabe como servidor de una URI: va en ?host=,
        // que es donde interpretar() lo busca.
        QUrlQuery consulta;
        consulta.addQueryItem(QStringLiteral("host"), servidor);
        url.setQuery(consulta);
      } else {
        url.setHost(servidor);
      }
      url.setPort(puerto);
      url.setUserName(usuario);
      url.setPassword(clave);
      url.setPath(QStringLiteral("/") + base);
      return url.toString();
    }
    case Motor::ODBC:
      return QStringLiteral("odbc:") + cadenaOdbc;
  }
  return {};
}

QString FuenteDatos::descripcion() const {
  switch (motor) {
    case Motor::SQLite:
      return QStringLiteral("el fichero %1").arg(ruta);
    case Motor::PostgreSQL:
      return QStringLiteral("la base «%1» del servidor PostgreSQL %2:%3").arg(base, servidor).arg(puerto);
    case Motor::ODBC:
      return QStringLiteral("la conexión ODBC «%1»").arg(cadenaOdbc);
  }
  return {};
}

// --- Conexion ---------------------------------------------------------------

namespace {
std::atomic<int> contadorConexiones{0};
}

Conexion::Conexion(FuenteDatos fuente, QString nombreConexion)
    : fuente_(std::move(fuente)), nombreConexion_(std::move(nombreConexion)) {}

Conexion::~Conexion() {
  {
    QSqlDatabase db = QSqlDatabase::database(nombreConexion_, false);
    if (db.isOpen()) db.close();
  }
  QSqlDatabase::removeDatabase(nombreConexion_);
}

QSqlDatabase Conexion::baseDatos() const {
  return QSqlDatabase::database(nombreConexion_, false);
}

QString Conexion::mensajeError(const QString& que, const QString& textoMotor) const {
  return QStringLiteral("%1 en la fuente de datos «%2» (%3): %4")
      .arg(que, fuente_.nombre, fuente_.descripcion(), textoMotor);
}

std::unique_ptr<Conexion> Conexion::abrir(const FuenteDatos& fuente, OpcionesApertura opciones) {
  const QString nombre = QStringLiteral("cronicas-%1-%2").arg(fuente.nombre).arg(++contadorConexiones);
  QString driver;
  switch (fuente.motor) {
    case Motor::SQLite:
      driver = QStringLiteral("QSQLITE");
      break;
    case Motor::PostgreSQL:
      driver = QStringLiteral("QPSQL");
      break;
    case Motor::ODBC:
      driver = QStringLiteral("QODBC");
      break;
  }
  if (!QSqlDatabase::isDriverAvailable(driver)) {
    throw ErrorDatos(QStringLiteral("No se puede abrir la fuente de datos «%1» (%2): falta el controlador %3 de Qt.")
                         .arg(fuente.nombre, fuente.descripcion(), driver));
  }
  if (fuente.motor == Motor::SQLite && !opciones.crearSiFalta) {
    const QFileInfo info(fuente.ruta);
    if (!info.exists())
      throw ErrorDatos(QStringLiteral("No se puede abrir la fuente de datos «%1»: el fichero %2 no existe.")
                           .arg(fuente.nombre, fuente.ruta));
    if (!info.isFile())
      throw ErrorDatos(QStringLiteral("No se puede abrir la fuente de datos «%1»: %2 no es un fichero.")
                           .arg(fuente.nombre, fuente.ruta));
  }

  std::unique_ptr<Conexion> c(new Conexion(fuente, nombre));
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, nombre);
    switch (fuente.motor) {
      case Motor::SQLite:
        db.setDatabaseName(fuente.ruta);
        // Las terminales pueden estar escribiendo: esperar en vez de fallar.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        break;
      case Motor::PostgreSQL:
        db.setHostName(fuente.servidor);
        db.setPort(fuente.puerto);
        db.setDatabaseName(fuente.base);
        db.setUserName(fuente.usuario);
        db.setPassword(fuente.clave);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        break;
      case Motor::ODBC:
        db.setDatabaseName(fuente.cadenaOdbc);
        break;
    }
    if (!db.open()) {
      throw ErrorDatos(c->mensajeError(QStringLiteral("No se puede abrir la conexión"), textoError(db.lastError())));
    }
  }
  if (fuente.motor == Motor::SQLite) {
    // SQLite abre cualquier fichero sin quejarse; la primera lectura dice si
    // de verdad es una base de datos.
    QSqlQuery q(c->baseDatos());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
      throw ErrorDatos(c->mensajeError(QStringLiteral("No es una base de datos válida"), textoError(q.lastError())));
    }
    q.finish();
    if (opciones.borrador) {
      QSqlQuery p(c->baseDatos());
      p.exec(QStringLiteral("PRAGMA synchronous=OFF"));
      p.exec(QStringLiteral("PRAGMA secure_delete=OFF"));
    }
  } else if (fuente.motor == Motor::PostgreSQL) {
    QSqlQuery q(c->baseDatos());
    q.exec(QStringLiteral("SET client_min_messages TO warning"));
  }
  return c;
}

Consulta Conexion::preparar(const QString& sql) const {
  return Consulta(*this, sql);
}

void Conexion::ejecutar(const QString& sql, const QVariantList& valores) const {
  if (valores.isEmpty()) {
    // Sin valores que enlazar no se prepara: PostgreSQL sólo deja preparar
    // consultas y DML, no TRUNCATE, DROP TABLE ni CREATE DATABASE.
    QSqlQuery q(baseDatos());
    if (!q.exec(sql)) throw ErrorDatos(mensajeError(QStringLiteral("Error en la consulta"), textoError(q.lastError())));
    return;
  }
  Consulta c(*this, sql);
  for (const QVariant& v : valores) c.enlazar(v);
  c.ejecutar();
}

void Conexion::ejecutarGuion(const QString& guion) const {
  QString sentencia;
  const QStringList lineas = guion.split(QLatin1Char('\n'));
  for (const QString& linea : lineas) {
    const QString t = linea.trimmed();
    if (t.startsWith(QLatin1String("--")) && sentencia.trimmed().isEmpty()) continue;
    sentencia += linea + QLatin1Char('\n');
    if (t.endsWith(QLatin1Char(';'))) {
      QSqlQuery q(baseDatos());
      if (!q.exec(sentencia))
        throw ErrorDatos(mensajeError(QStringLiteral("Error al crear el esquema"), textoError(q.lastError())));
      sentencia.clear();
    }
  }
  if (!sentencia.trimmed().isEmpty()) {
    QSqlQuery q(baseDatos());
    if (!q.exec(sentencia))
      throw ErrorDatos(mensajeError(QStringLiteral("Error al crear el esquema"), textoError(q.lastError())));
  }
}

bool Conexion::tieneTabla(const QString& tabla) const {
  const QStringList tablas = baseDatos().tables(QSql::Tables);
  for (const QString& t : tablas)
    if (t.compare(tabla, Qt::CaseInsensitive) == 0) return true;
  return false;
}

QStringList Conexion::columnas(const QString& tabla) const {
  QStringList nombres;
  const QSqlRecord r = baseDatos().record(tabla.toLower());
  for (int i = 0; i < r.count(); ++i) nombres << r.fieldName(i);
  return nombres;
}

void Conexion::empezarTransaccion() const {
  QSqlDatabase db = baseDatos();
  if (!db.transaction())
    throw ErrorDatos(mensajeError(QStringLiteral("No se puede empezar la transacción"), textoError(db.lastError())));
}

void Conexion::confirmar() const {
  QSqlDatabase db = baseDatos();
  if (!db.commit())
    throw ErrorDatos(mensajeError(QStringLiteral("No se pueden guardar los cambios"), textoError(db.lastError())));
}

void Conexion::deshacer() const {
  baseDatos().rollback();
}

// --- Fechas -------------------------------------------------------------------

QString textoFecha(const QDate& fecha) {
  return fecha.toString(QStringLiteral("yyyy-MM-dd"));
}
QString textoHora(const QTime& hora) {
  return hora.toString(QStringLiteral("HH:mm:ss"));
}
QString textoFechaHora(const QDateTime& fh) {
  return fh.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString textoFechaOFechaHora(const QDateTime& fh) {
  return fh.time() == QTime(0, 0) ? textoFecha(fh.date()) : textoFechaHora(fh);
}

QDate aFecha(const QVariant& v) {
  if (v.isNull() || !v.isValid()) return {};
  switch (v.typeId()) {
    case QMetaType::QDate:
      return v.toDate();
    case QMetaType::QDateTime:
      return v.toDateTime().date();
    default:
      break;
  }
  const QString t = v.toString().trimmed();
  if (t.size() >= 10) return QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
  return {};
}

QTime aHora(const QVariant& v) {
  if (v.isNull() || !v.isValid()) return {};
  switch (v.typeId()) {
    case QMetaType::QTime:
      return v.toTime();
    case QMetaType::QDateTime:
      return v.toDateTime().time();
    default:
      break;
  }
  QString t = v.toString().trimmed();
  if (t.size() > 10 && t.at(4) == QLatin1Char('-')) t = t.mid(11);  // fecha-hora
  if (t.size() >= 8) return QTime::fromString(t.left(8), QStringLiteral("HH:mm:ss"));
  if (t.size() == 5) return QTime::fromString(t, QStringLiteral("HH:mm"));
  return {};
}

QDateTime aFechaHora(const QVariant& v) {
  if (v.isNull() || !v.isValid()) return {};
  switch (v.typeId()) {
    case QMetaType::QDateTime:
      return v.toDateTime();
    case QMetaType::QDate:
      return QDateTime(v.toDate(), QTime(0, 0));
    case QMetaType::QTime:
      return QDateTime(QDate(1899, 12, 30), v.toTime());
    default:
      break;
  }
  const QString t = v.toString().trimmed();
  if (t.size() >= 19) return QDateTime::fromString(t.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  if (t.size() == 10) return QDateTime(QDate::fromString(t, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
  if (t.size() == 8) return QDateTime(QDate(1899, 12, 30), QTime::fromString(t, QStringLiteral("HH:mm:ss")));
  return {};
}

// --- Consulta ----------------------------------------------------------------

namespace {

// Un texto nulo de C++ (QString(), lo que da un campo Null leído con texto()
// o un puesto sin identificador) entra como '' y no como Null: el programa
// siempre comparó las cadenas vacías como ''. Para Null está el QVariant nulo.
QVariant textoComoParametro(const QString& texto) {
  return texto.isNull() ? QVariant(QStringLiteral("")) : QVariant(texto);
}

}  // namespace

Consulta::Consulta(const Conexion& conexion, const QString& sql)
    : conexion_(&conexion), textoSql_(sql), consulta_(conexion.baseDatos()) {
  consulta_.setForwardOnly(true);
  if (!consulta_.prepare(sql)) {
    throw ErrorDatos(conexion.mensajeError(QStringLiteral("Error en la consulta"), textoError(consulta_.lastError())));
  }
}

Consulta& Consulta::enlazar(const QVariant& valor) {
  if (valor.isNull()) {
    consulta_.addBindValue(valor);
    return *this;
  }
  if (valor.typeId() == QMetaType::QString) return enlazar(valor.toString());
  if (valor.typeId() == QMetaType::QDate) return enlazar(valor.toDate());
  if (valor.typeId() == QMetaType::QTime && !valor.isNull()) {
    consulta_.addBindValue(textoHora(valor.toTime()));
    return *this;
  }
  if (valor.typeId() == QMetaType::QDateTime && !valor.isNull()) {
    consulta_.addBindValue(textoFechaHora(valor.toDateTime()));
    return *this;
  }
  consulta_.addBindValue(valor);
  return *this;
}
Consulta& Consulta::enlazar(const QDate& fecha) {
  consulta_.addBindValue(fecha.isValid() ? QVariant(textoFecha(fecha)) : QVariant(QMetaType(QMetaType::QString)));
  return *this;
}
Consulta& Consulta::enlazar(const QString& texto) {
  consulta_.addBindValue(textoComoParametro(texto));
  return *this;
}
Consulta& Consulta::enlazar(const char* texto) {
  return enlazar(QString::fromUtf8(texto));
}
Consulta& Consulta::enlazar(int numero) {
  consulta_.addBindValue(numero);
  return *this;
}
Consulta& Consulta::enlazar(qint64 numero) {
  consulta_.addBindValue(numero);
  return *this;
}
Consulta& Consulta::enlazar(double numero) {
  consulta_.addBindValue(numero);
  return *this;
}

void Consulta::limpiarEnlaces() {
  // QSqlQuery no ofrece vaciar sólo los enlaces: se vuelve a preparar.
  consulta_.finish();
  consulta_ = QSqlQuery(conexion_->baseDatos());
  consulta_.setForwardOnly(true);
  consulta_.prepare(textoSql_);
  indices_.clear();
}

void Consulta::ejecutar() {
  indices_.clear();
  if (!consulta_.exec()) {
    throw ErrorDatos(
        conexion_->mensajeError(QStringLiteral("Error en la consulta"), textoError(consulta_.lastError())));
  }
}

bool Consulta::siguiente() {
  return consulta_.next();
}

int Consulta::indice(const QString& columna) const {
  auto it = indices_.constFind(columna);
  if (it != indices_.constEnd()) return *it;
  const int i = consulta_.record().indexOf(columna);
  if (i < 0) {
    throw ErrorDatos(conexion_->mensajeError(QStringLiteral("Falta la columna «%1»").arg(columna),
                                             QStringLiteral("la consulta no la devuelve")));
  }
  indices_.insert(columna, i);
  return i;
}

QStringList Consulta::nombresColumnas() const {
  QStringList n;
  const QSqlRecord r = consulta_.record();
  for (int i = 0; i < r.count(); ++i) n << r.fieldName(i);
  return n;
}

QVariant Consulta::valor(int i) const {
  return consulta_.value(i);
}
QVariant Consulta::valor(const QString& columna) const {
  return consulta_.value(indice(columna));
}
bool Consulta::esNulo(const QString& columna) const {
  return consulta_.isNull(indice(columna));
}

QString Consulta::texto(const QString& columna) const {
  const QVariant v = valor(columna);
  if (v.isNull()) return {};
  switch (v.typeId()) {
    case QMetaType::QDate:
      return textoFecha(v.toDate());
    case QMetaType::QTime:
      return textoHora(v.toTime());
    case QMetaType::QDateTime:
      return textoFechaHora(v.toDateTime());
    default:
      return v.toString();
  }
}

double Consulta::numero(const QString& columna) const {
  const QVariant v = valor(columna);
  return v.isNull() ? 0.0 : v.toDouble();
}

std::optional<double> Consulta::numeroONulo(const QString& columna) const {
  const QVariant v = valor(columna);
  if (v.isNull()) return std::nullopt;
  return v.toDouble();
}

qint64 Consulta::entero(const QString& columna) const {
  const QVariant v = valor(columna);
  if (v.isNull()) return 0;
  if (v.typeId() == QMetaType::Double) return static_cast<qint64>(v.toDouble());
  return v.toLongLong();
}

bool Consulta::verdad(const QString& columna) const {
  const QVariant v = valor(columna);
  if (v.isNull()) return false;
  if (v.typeId() == QMetaType::Bool) return v.toBool();
  if (v.typeId() == QMetaType::QString) {
    const QString t = v.toString().trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
  }
  return v.toDouble() != 0.0;
}

QDate Consulta::fecha(const QString& columna) const {
  return aFecha(valor(columna));
}
QTime Consulta::hora(const QString& columna) const {
  return aHora(valor(columna));
}
QDateTime Consulta::fechaHora(const QString& columna) const {
  return aFechaHora(valor(columna));
}

}  // namespace datos
