#include "platform/datos/Datos.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

#include <atomic>

namespace datos {

namespace {

QString textoError(const QSqlError& e) {
  QString t = e.databaseText().trimmed();
  const QString d = e.driverText().trimmed();
  if (t.isEmpty()) return d;
  if (!d.isEmpty() && !t.contains(d)) t = d + ": " + t;
  return t;
}

// El texto de una fuente tal como se puede enseñar: sin su contraseña, que
// irá a parar a la pantalla, a la salida de errores o a un registro. Vale
// también para lo mal escrito, que es cuando más se enseña.
QString SinContrasena(const QString& texto) {
  static const QRegularExpression enParametro(QStringLiteral("((?:password|pwd)\\s*=\\s*)(\\{[^}]*\\}?|[^&;]*)"),
                                              QRegularExpression::CaseInsensitiveOption);
  QString r = texto;
  r.replace(enParametro, QStringLiteral("\\1****"));
  // usuario:contraseña@servidor. La contraseña mal escrita puede llevar '@',
  // '/' o '?': se tapa hasta la última arroba.
  const qsizetype esquema = r.indexOf(QLatin1String("://"));
  if (esquema >= 0) {
    const qsizetype desde = esquema + 3;
    const qsizetype arroba = r.lastIndexOf(QLatin1Char('@'));
    const qsizetype dosPuntos = r.indexOf(QLatin1Char(':'), desde);
    if (arroba > desde && dosPuntos >= 0 && dosPuntos < arroba)
      r.replace(dosPuntos + 1, arroba - dosPuntos - 1, QStringLiteral("****"));
  }
  return r;
}

}  // namespace

FuenteDatos FuenteDatos::interpretar(const QString& nombre, const QString& textoOriginal, const QString& carpetaBase) {
  FuenteDatos f;
  f.nombre = nombre;
  const QString texto = textoOriginal.trimmed();
  auto mal = [&](const QString& porque) {
    return ErrorDatos(QStringLiteral("La fuente de datos «%1» no es válida (\"%2\"): %3")
                          .arg(nombre, SinContrasena(textoOriginal), porque));
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
    // QUrl añade al porqué el texto entero ("; source was ..."), con la
    // contraseña: sólo se usa el porqué.
    if (!url.isValid()) {
      const QString porque = url.errorString().section(QLatin1Char(';'), 0, 0);
      // Y el carácter que no admite de la contraseña sería ya un trozo de ella.
      throw mal(porque.contains(QLatin1String("password"), Qt::CaseInsensitive)
                    ? QStringLiteral("la contraseña lleva un carácter que no se admite sin codificar (%xx)")
                    : porque);
    }
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
      return QStringLiteral("la conexión ODBC «%1»").arg(SinContrasena(cadenaOdbc));
  }
  return {};
}

// --- Conexion ---------------------------------------------------------------

namespace {
std::atomic<int> contadorConexiones{0};

sqlite3* ManejadorSqlite(const Conexion& c) {
  if (c.motor() != Motor::SQLite) return nullptr;
  const QVariant h = c.baseDatos().driver()->handle();
  if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0) return nullptr;
  return *static_cast<sqlite3* const*>(h.constData());
}

// UPPER de SQLite sólo conoce el ASCII: "Resumén" y "RESUMÉN" no casarían
// donde la suite compara textos sin mirar mayúsculas, y en PostgreSQL sí.
void MayusculasUnicode(sqlite3_context* contexto, int, sqlite3_value** argumentos) {
  if (sqlite3_value_type(argumentos[0]) == SQLITE_NULL) {
    sqlite3_result_null(contexto);
    return;
  }
  const auto* texto = reinterpret_cast<const char*>(sqlite3_value_text(argumentos[0]));
  const QByteArray mayusculas = QString::fromUtf8(texto, sqlite3_value_bytes(argumentos[0])).toUpper().toUtf8();
  sqlite3_result_text(contexto, mayusculas.constData(), static_cast<int>(mayusculas.size()), SQLITE_TRANSIENT);
}
}  // namespace

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

namespace {
// SQLITE_BUSY y SQLITE_LOCKED, también con el código extendido.
bool Ocupada(int codigoSqlite) {
  const int primario = codigoSqlite & 0xff;
  return primario == SQLITE_BUSY || primario == SQLITE_LOCKED;
}
}  // namespace

ErrorDatos Conexion::error(const QString& que, const QSqlError& e) const {
  bool numero = false;
  const int codigo = e.nativeErrorCode().toInt(&numero);
  if (motor() == Motor::SQLite && numero && Ocupada(codigo)) return ErrorDatos(mensajeOcupada());
  return ErrorDatos(mensajeError(que, textoError(e)));
}

ErrorDatos Conexion::errorSqlite(const QString& que, sqlite3* base) const {
  if (Ocupada(sqlite3_errcode(base))) return ErrorDatos(mensajeOcupada());
  return ErrorDatos(mensajeError(que, QString::fromUtf8(sqlite3_errmsg(base))));
}

QString Conexion::mensajeOcupada() const {
  // Lo normal es que otro programa esté guardando algo largo (una copia de
  // seguridad, un cierre): no es un fallo de la base, y basta con esperar.
  return QStringLiteral(
             "La base de datos de la fuente «%1» (%2) está ocupada: otro programa la tiene bloqueada. "
             "No se ha cambiado nada; se puede volver a intentar en unos momentos.")
      .arg(fuente_.nombre, fuente_.descripcion());
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
      throw c->error(QStringLiteral("No se puede abrir la conexión"), db.lastError());
    }
  }
  if (fuente.motor == Motor::SQLite) {
    // SQLite abre cualquier fichero sin quejarse; la primera lectura dice si
    // de verdad es una base de datos.
    QSqlQuery q(c->baseDatos());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
      throw c->error(QStringLiteral("No es una base de datos válida"), q.lastError());
    }
    q.finish();
    if (sqlite3* base = ManejadorSqlite(*c))
      sqlite3_create_function_v2(base, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, MayusculasUnicode,
                                 nullptr, nullptr, nullptr);
    if (opciones.borrador) {
      QSqlQuery p(c->baseDatos());
      p.exec(QStringLiteral("PRAGMA synchronous=OFF"));
      p.exec(QStringLiteral("PRAGMA secure_delete=OFF"));
      p.exec(QStringLiteral("PRAGMA cache_size=-65536"));
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
    if (!q.exec(sql)) throw error(QStringLiteral("Error en la consulta"), q.lastError());
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
      if (!q.exec(sentencia)) throw error(QStringLiteral("Error al crear el esquema"), q.lastError());
      sentencia.clear();
    }
  }
  if (!sentencia.trimmed().isEmpty()) {
    QSqlQuery q(baseDatos());
    if (!q.exec(sentencia)) throw error(QStringLiteral("Error al crear el esquema"), q.lastError());
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
  if (!db.transaction()) throw error(QStringLiteral("No se puede empezar la transacción"), db.lastError());
}

void Conexion::confirmar() const {
  QSqlDatabase db = baseDatos();
  if (!db.commit()) throw error(QStringLiteral("No se pueden guardar los cambios"), db.lastError());
}

void Conexion::deshacer() const {
  baseDatos().rollback();
}

QString Conexion::modoDiario() const {
  if (motor() != Motor::SQLite) return {};
  QSqlQuery q(baseDatos());
  if (!q.exec(QStringLiteral("PRAGMA journal_mode")) || !q.next()) return {};
  return q.value(0).toString().toLower();
}

void Conexion::pasarAWal() const {
  // Con las cajas abiertas no se puede: mejor saberlo enseguida que esperar
  // los cinco segundos de costumbre al arrancar.
  sqlite3* base = ManejadorSqlite(*this);
  if (base) sqlite3_busy_timeout(base, 250);
  QSqlQuery q(baseDatos());
  const bool hecho = q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) && q.next() &&
                     q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
  const QString error = hecho ? QString() : textoError(q.lastError());
  q.finish();
  if (base) sqlite3_busy_timeout(base, 5000);
  if (!hecho) throw ErrorDatos(mensajeError(QStringLiteral("No se puede pasar la base al modo WAL"), error));
}

void Conexion::escribirAhora(const std::function<void()>& escritura) const {
  empezarTransaccion();
  try {
    escritura();
    confirmar();
  } catch (...) {
    deshacer();
    throw;
  }
}

void Conexion::escribirCorto(const std::function<void()>& escritura) const {
  if (enFoto_) {
    escriturasPendientes_.push_back(escritura);
    return;
  }
  escribirAhora(escritura);
}

FotoLectura::FotoLectura(const Conexion& conexion) : conexion_(conexion) {
  if (conexion_.enFoto_) return;  // ya hay una: esta no hace nada
  switch (conexion_.motor()) {
    case Motor::SQLite:
      if (conexion_.modoDiario() != QLatin1String("wal")) return;
      conexion_.ejecutar(QStringLiteral("BEGIN"));
      // En SQLite la foto se toma con la primera lectura: se lee ya, para que
      // todo el informe vea el mismo momento.
      conexion_.ejecutar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
      break;
    case Motor::PostgreSQL:
      conexion_.ejecutar(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
      break;
    case Motor::ODBC:
      return;
  }
  abierta_ = true;
  conexion_.enFoto_ = true;
}

FotoLectura::~FotoLectura() {
  if (!abierta_) return;
  QSqlQuery q(conexion_.baseDatos());
  q.exec(QStringLiteral("ROLLBACK"));  // sólo se leyó: no hay nada que deshacer ni que pueda fallar
  conexion_.enFoto_ = false;
  conexion_.escriturasPendientes_.clear();
}

void FotoLectura::terminar() {
  if (!abierta_) return;
  abierta_ = false;
  conexion_.enFoto_ = false;
  QSqlQuery q(conexion_.baseDatos());
  q.exec(QStringLiteral("COMMIT"));
  std::vector<std::function<void()>> pendientes;
  pendientes.swap(conexion_.escriturasPendientes_);
  for (const auto& e : pendientes) conexion_.escribirAhora(e);
}

// --- Fechas -------------------------------------------------------------------

// Fechas y horas se convierten a mano: un informe de un año convierte
// millones de ellas y los formatos de Qt pasan por el analizador general y
// por la zona horaria del sistema en cada una.
namespace {

QString Digitos(std::initializer_list<std::pair<int, int>> partes, const char* separadores) {
  char b[32];
  int n = 0;
  int i = 0;
  for (const auto& [valor, cifras] : partes) {
    if (i > 0) b[n++] = separadores[i - 1];
    int v = valor;
    for (int k = cifras - 1; k >= 0; --k) {
      b[n + k] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
    n += cifras;
    ++i;
  }
  return QString::fromLatin1(b, n);
}

// Lee `cifras` dígitos seguidos desde `desde`; -1 si no lo son.
int LeerCifras(const QString& t, qsizetype desde, int cifras) {
  if (desde + cifras > t.size()) return -1;
  int v = 0;
  for (int k = 0; k < cifras; ++k) {
    const char16_t c = t.at(desde + k).unicode();
    if (c < u'0' || c > u'9') return -1;
    v = v * 10 + (c - u'0');
  }
  return v;
}

// "AAAA-MM-DD" al principio del texto.
QDate LeerFechaIso(const QString& t) {
  if (t.size() < 10 || t.at(4) != QLatin1Char('-') || t.at(7) != QLatin1Char('-')) return {};
  const int a = LeerCifras(t, 0, 4), m = LeerCifras(t, 5, 2), d = LeerCifras(t, 8, 2);
  if (a < 0 || m < 0 || d < 0) return {};
  return QDate(a, m, d);
}

// "HH:MM:SS" o "HH:MM" desde `desde`; las fracciones de segundo se ignoran.
QTime LeerHoraIso(const QString& t, qsizetype desde) {
  if (t.size() < desde + 5 || t.at(desde + 2) != QLatin1Char(':')) return {};
  const int h = LeerCifras(t, desde, 2), m = LeerCifras(t, desde + 3, 2);
  int s = 0;
  if (t.size() >= desde + 8 && t.at(desde + 5) == QLatin1Char(':'))
    s = LeerCifras(t, desde + 6, 2);
  else if (t.size() != desde + 5)
    return {};
  if (h < 0 || m < 0 || s < 0) return {};
  return QTime(h, m, s);
}

}  // namespace

QString textoFecha(const QDate& fecha) {
  if (!fecha.isValid()) return {};
  if (fecha.year() < 1 || fecha.year() > 9999) return fecha.toString(QStringLiteral("yyyy-MM-dd"));
  return Digitos({{fecha.year(), 4}, {fecha.month(), 2}, {fecha.day(), 2}}, "--");
}
QString textoHora(const QTime& hora) {
  if (!hora.isValid()) return {};
  return Digitos({{hora.hour(), 2}, {hora.minute(), 2}, {hora.second(), 2}}, "::");
}
QString textoFechaHora(const QDateTime& fh) {
  if (!fh.isValid()) return {};
  return textoFecha(fh.date()) + QLatin1Char(' ') + textoHora(fh.time());
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
  return LeerFechaIso(v.toString().trimmed());
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
  const QString t = v.toString().trimmed();
  if (t.size() > 10 && t.at(4) == QLatin1Char('-')) return LeerHoraIso(t, 11);  // fecha-hora
  return LeerHoraIso(t, 0);
}

QDateTime aFechaHora(const QVariant& v) {
  if (v.isNull() || !v.isValid()) return {};
  // Sin zona horaria: las fechas de la tienda son de reloj de pared.
  switch (v.typeId()) {
    case QMetaType::QDateTime:
      return v.toDateTime();
    case QMetaType::QDate:
      return QDateTime(v.toDate(), QTime(0, 0), Qt::UTC);
    case QMetaType::QTime:
      return QDateTime(QDate(1899, 12, 30), v.toTime(), Qt::UTC);
    default:
      break;
  }
  const QString t = v.toString().trimmed();
  if (t.size() >= 19) {
    const QDate d = LeerFechaIso(t);
    const QTime h =
        (t.at(10) == QLatin1Char(' ') || t.at(10) == QLatin1Char('T')) ? LeerHoraIso(t.left(19), 11) : QTime();
    return d.isValid() && h.isValid() ? QDateTime(d, h, Qt::UTC) : QDateTime();
  }
  if (t.size() == 10) {
    const QDate d = LeerFechaIso(t);
    return d.isValid() ? QDateTime(d, QTime(0, 0), Qt::UTC) : QDateTime();
  }
  if (t.size() == 8) {
    const QTime h = LeerHoraIso(t, 0);
    return h.isValid() ? QDateTime(QDate(1899, 12, 30), h, Qt::UTC) : QDateTime();
  }
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
    throw conexion.error(QStringLiteral("Error en la consulta"), consulta_.lastError());
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
    throw conexion_->error(QStringLiteral("Error en la consulta"), consulta_.lastError());
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

// --- SentenciaDirecta ---------------------------------------------------------

// Prepara `sql` en el manejador; un error lleva el texto de SQLite.
static sqlite3_stmt* PrepararSqlite(const Conexion& conexion, sqlite3* base, const QString& sql) {
  const QByteArray texto = sql.toUtf8();
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(base, texto.constData(), static_cast<int>(texto.size()), &st, nullptr) != SQLITE_OK) {
    const ErrorDatos e = conexion.errorSqlite(QStringLiteral("Error en la consulta"), base);
    sqlite3_finalize(st);
    throw e;
  }
  return st;
}

bool Conexion::admiteSentenciaDirecta() const {
  return ManejadorSqlite(*this) != nullptr;
}

sqlite3* Conexion::manejadorSqlite() const {
  return ManejadorSqlite(*this);
}

SentenciaDirecta::SentenciaDirecta(const Conexion& conexion, const QString& sql, sqlite3* manejador)
    : conexion_(conexion), base_(manejador) {
  if (!base_)
    throw ErrorDatos(
        conexion.mensajeError(QStringLiteral("Error en la consulta"), QStringLiteral("la conexión no es de SQLite")));
  sentencia_ = PrepararSqlite(conexion, base_, sql);
  textos_.resize(static_cast<std::size_t>(sqlite3_bind_parameter_count(sentencia_)));
}

SentenciaDirecta::~SentenciaDirecta() {
  sqlite3_finalize(sentencia_);
}

namespace {
int EnlazarSqlite(sqlite3_stmt* st, int posicion, const QVariant& valor) {
  if (valor.isNull() || !valor.isValid()) return sqlite3_bind_null(st, posicion);
  switch (valor.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
      return sqlite3_bind_double(st, posicion, valor.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Bool:
      return sqlite3_bind_int64(st, posicion, valor.toLongLong());
    case QMetaType::QDate:
      return EnlazarSqlite(st, posicion, textoFecha(valor.toDate()));
    default: {
      const QString t = valor.toString();
      return sqlite3_bind_text16(st, posicion, t.utf16(), static_cast<int>(t.size() * 2), SQLITE_TRANSIENT);
    }
  }
}
}  // namespace

void SentenciaDirecta::enlazar(int posicion, const QVariant& valor) {
  auto* st = sentencia_;
  if (posicion < 1 || posicion > static_cast<int>(textos_.size()))
    throw ErrorDatos(conexion_.mensajeError(QStringLiteral("Error al enlazar un valor"),
                                            QStringLiteral("parámetro %1 fuera de la sentencia").arg(posicion)));
  int rc = SQLITE_OK;
  if (!valor.isNull() && valor.isValid() && valor.typeId() == QMetaType::QString) {
    QByteArray& texto = textos_[static_cast<std::size_t>(posicion - 1)];
    texto = valor.toString().toUtf8();
    rc = sqlite3_bind_text(st, posicion, texto.constData(), static_cast<int>(texto.size()), SQLITE_STATIC);
  } else {
    rc = EnlazarSqlite(st, posicion, valor);
  }
  if (rc != SQLITE_OK)
    throw ErrorDatos(
        conexion_.mensajeError(QStringLiteral("Error al enlazar un valor"), QString::fromUtf8(sqlite3_errmsg(base_))));
}

void SentenciaDirecta::ejecutar() {
  auto* st = sentencia_;
  const int rc = sqlite3_step(st);
  sqlite3_reset(st);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) throw conexion_.errorSqlite(QStringLiteral("Error al escribir"), base_);
}

// --- Lectura --------------------------------------------------------------------

Lectura::Lectura(const Conexion& conexion, const QString& sql) : conexion_(conexion) {
  sqlite3* base = ManejadorSqlite(conexion);
  if (!base) {
    consulta_ = std::make_unique<Consulta>(conexion, sql);
    return;
  }
  sqlite3_stmt* st = PrepararSqlite(conexion, base, sql);
  sentencia_ = st;
}

Lectura::~Lectura() {
  sqlite3_finalize(sentencia_);
}

Lectura& Lectura::enlazar(const QVariant& valor) {
  if (consulta_) {
    consulta_->enlazar(valor);
    return *this;
  }
  auto* st = sentencia_;
  if (leyendo_) {
    // Valores para otra vuelta: se rebobina antes de enlazarlos.
    sqlite3_reset(st);
    enlazados_ = 0;
    leyendo_ = false;
  }
  if (EnlazarSqlite(st, ++enlazados_, valor) != SQLITE_OK)
    throw ErrorDatos(conexion_.mensajeError(QStringLiteral("Error en la consulta"),
                                            QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(st)))));
  return *this;
}

void Lectura::ejecutar() {
  if (consulta_) {
    consulta_->ejecutar();
    return;
  }
  // SQLite empieza a leer con el primer paso; aquí sólo se rebobina.
  sqlite3_reset(sentencia_);
  enlazados_ = 0;
  leyendo_ = true;
}

bool Lectura::siguiente() {
  if (consulta_) return consulta_->siguiente();
  auto* st = sentencia_;
  const int rc = sqlite3_step(st);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throw conexion_.errorSqlite(QStringLiteral("Error en la consulta"), sqlite3_db_handle(st));
}

QVariant Lectura::valor(int i) const {
  if (consulta_) return consulta_->valor(i);
  auto* st = sentencia_;
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
      return QVariant(static_cast<qlonglong>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
      return QVariant(sqlite3_column_double(st, i));
    case SQLITE_NULL:
      return QVariant();
    case SQLITE_BLOB:
      return QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i));
    default:
      return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
  }
}

Lectura::Tipo Lectura::tipo(int i) const {
  if (consulta_) return consulta_->valor(i).isNull() ? Tipo::Nulo : Tipo::Otro;
  switch (sqlite3_column_type(static_cast<sqlite3_stmt*>(sentencia_), i)) {
    case SQLITE_INTEGER:
      return Tipo::Entero;
    case SQLITE_FLOAT:
      return Tipo::Doble;
    case SQLITE_NULL:
      return Tipo::Nulo;
    case SQLITE_TEXT:
      return Tipo::Texto;
    default:
      return Tipo::Otro;
  }
}

bool Lectura::esNulo(int i) const {
  if (consulta_) return consulta_->valor(i).isNull();
  return sqlite3_column_type(sentencia_, i) == SQLITE_NULL;
}

double Lectura::numero(int i) const {
  if (consulta_) {
    bool ok = false;
    const double d = consulta_->valor(i).toDouble(&ok);
    return ok ? d : 0;
  }
  auto* st = sentencia_;
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      return sqlite3_column_double(st, i);
    case SQLITE_NULL:
      return 0;
    default: {
      bool ok = false;
      const double d = valor(i).toDouble(&ok);
      return ok ? d : 0;
    }
  }
}

std::optional<double> Lectura::numeroONulo(int i) const {
  if (consulta_) {
    const QVariant v = consulta_->valor(i);
    if (v.isNull()) return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d : 0;
  }
  auto* st = sentencia_;
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
      return std::nullopt;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      return sqlite3_column_double(st, i);
    default:
      return numero(i);
  }
}

qint64 Lectura::entero(int i) const {
  if (consulta_) return consulta_->valor(i).toLongLong();
  auto* st = sentencia_;
  if (sqlite3_column_type(st, i) == SQLITE_INTEGER) return sqlite3_column_int64(st, i);
  return static_cast<qint64>(numero(i));
}

QByteArrayView Lectura::textoUtf8(int i) const {
  if (consulta_) {
    texto_ = consulta_->valor(i).toString().toUtf8();
    return texto_;
  }
  auto* st = sentencia_;
  const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
  return t ? QByteArrayView(t, sqlite3_column_bytes(st, i)) : QByteArrayView();
}

}  // namespace datos
