// Cajas que venden mientras los informes leen. Varias cajas, cada una en su
// proceso, escriben ventas como lo hace una caja de verdad (una venta por
// transacción corta, a ratos en ráfaga) mientras este proceso saca sin parar
// todos los informes con fechas del registro sobre una tienda generada. Al
// acabar dice cuántas escrituras hubo, cuántas fallaron y cuánto esperaron
// (mediana, p99 y máximo), y comprueba que cada venta escrita sigue en la base
// tal como se escribió.
//
//   simulador_cajas [--postgresql URI] [--dias N] [--ventas-dia N] [--segundos S]
//                   [--cajas N] [--limite-ms M] [--diario]
//
// --diario deja la base SQLite en el modo de diario clásico (sin WAL) para
// ver lo que esperaban las cajas antes.
//
// Dos escenarios, cada uno la mitad del tiempo: una caja sin ninguna espera
// ante una base ocupada (en SQLite, sin manejador de ocupado; en PostgreSQL,
// sin esperar a ningún bloqueo), el caso más duro, y varias cajas que esperan
// como espera la suite. Sale con 1 si alguna escritura falla, se pierde o
// espera más que el límite (100 ms).

#include "demo/Demo.h"
#include "platform/datos/Esquemas.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

void Escribir(const QString& t) {
  std::fputs(t.toLocal8Bit().constData(), stdout);
  std::fflush(stdout);
}

struct Parametros {
  QString postgresql;
  int dias = 365;
  int ventasDia = 300;
  int segundos = 120;
  int cajas = 3;
  double limiteMs = 100;
  bool diario = false;
};

// --- Una caja --------------------------------------------------------------------------

struct Venta {
  qint64 numero;
  double total, impuesto;
  int lineas;
};

// Vende hasta que se acaba el tiempo y deja lo que hizo en `resultado` (JSON).
int Caja(const QString& textoFuente, qint64 primerNumero, int segundos, bool sinEspera, const QString& resultado) {
  const datos::FuenteDatos fuente = datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), textoFuente);
  auto c = datos::Conexion::abrir(fuente);
  if (c->motor() == datos::Motor::SQLite)
    c->ejecutar(sinEspera ? QStringLiteral("PRAGMA busy_timeout = 0") : QStringLiteral("PRAGMA busy_timeout = 5000"));
  else if (sinEspera)
    c->ejecutar(QStringLiteral("SET lock_timeout = '1ms'"));

  QRandomGenerator azar(static_cast<quint32>(primerNumero));
  QJsonArray latencias, ventas, errores;
  qint64 numero = primerNumero;
  QElapsedTimer reloj;
  reloj.start();
  int rafaga = 0;
  while (reloj.elapsed() < static_cast<qint64>(segundos) * 1000) {
    // Una caja cobra cada poco; a veces varias ventas seguidas (la cola de la
    // barra a mediodía).
    if (rafaga > 0)
      --rafaga;
    else if (azar.bounded(10) == 0)
      rafaga = 2 + static_cast<int>(azar.bounded(5));
    else
      QThread::msleep(50 + azar.bounded(300));

    const int lineas = 1 + static_cast<int>(azar.bounded(4));
    double total = 0;
    QElapsedTimer espera;
    espera.start();
    try {
      c->empezarTransaccion();
      for (int i = 0; i < lineas; ++i) {
        const double precio = (10 + azar.bounded(300)) / 10.0;
        total += precio;
        c->ejecutar(QStringLiteral("INSERT INTO detalle_factura (num_factura, indice, codigo, producto, precio, "
                                   "unidades, impuesto, descuento, recargo, codcamarero, nombrecamarero, borrar) "
                                   "VALUES (?, ?, '0001', 'Caña', ?, 1, ?, 0, 0, 1, 'Caja', 0)"),
                    {numero, i + 1, precio, precio / 11});
      }
      const QString hoy = datos::textoFecha(QDate::currentDate());
      c->ejecutar(
          QStringLiteral("INSERT INTO cabecera_factura (numero, fecha, fechaventa, hora, hora_inicio, camarero, "
                         "codigo_camarero, zona_venta, total, impuesto, recargo, descuento, pago, efectivo, "
                         "tarjeta, borrar) VALUES (?, ?, ?, '12:00:00', '11:50:00', 'Caja', 1, 1, ?, ?, 0, "
                         "0, 1, 0, 0, 0)"),
          {numero, hoy, hoy, total, total / 11});
      c->confirmar();
      latencias.append(static_cast<double>(espera.nsecsElapsed()) / 1e6);
      ventas.append(QJsonArray{numero, total, total / 11, lineas});
    } catch (const sistema::Error& e) {
      c->deshacer();
      errores.append(e.mensaje());
    }
    ++numero;
  }
  QFile f(resultado);
  if (!f.open(QIODevice::WriteOnly)) return 2;
  f.write(QJsonDocument(QJsonObject{{QStringLiteral("latencias"), latencias},
                                    {QStringLiteral("ventas"), ventas},
                                    {QStringLiteral("errores"), errores}})
              .toJson(QJsonDocument::Compact));
  return 0;
}

// --- La tienda y los informes -------------------------------------------------------------

struct Tienda {
  QTemporaryDir carpeta;
  datos::FuenteDatos ventas, informes;
  std::unique_ptr<datos::Conexion> admin;  // PostgreSQL: para borrar la base al acabar
  QString basePg;
  ~Tienda() {
    if (admin) admin->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(basePg));
  }
};

std::unique_ptr<Tienda> PrepararTienda(const Parametros& p, const sistema::Reloj& reloj) {
  auto t = std::make_unique<Tienda>();
  demo::OpcionesDemo o;
  o.dias = p.dias;
  o.ventasDia = p.ventasDia;
  o.hoy = reloj.hoy();
  if (p.postgresql.isEmpty()) {
    o.destino = t->carpeta.filePath(QStringLiteral("tienda"));
    const demo::ResultadoDemo r = demo::GenerarDemo(o, reloj);
    t->ventas = datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), QStringLiteral("sqlite:") + r.baseVentas);
    t->informes =
        datos::FuenteDatos::interpretar(QStringLiteral("Informes"), QStringLiteral("sqlite:") + r.baseInformes);
    if (p.diario) datos::Conexion::abrir(t->ventas)->ejecutar(QStringLiteral("PRAGMA journal_mode = DELETE"));
    return t;
  }
  const datos::FuenteDatos servidor = datos::FuenteDatos::interpretar(QStringLiteral("servidor"), p.postgresql);
  t->basePg = QStringLiteral("cronicas_cajas_%1").arg(QCoreApplication::applicationPid());
  t->admin = datos::Conexion::abrir(servidor);
  t->admin->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(t->basePg));
  t->admin->ejecutar(QStringLiteral("CREATE DATABASE %1").arg(t->basePg));
  t->ventas = servidor;
  t->ventas.base = t->basePg;
  t->ventas.nombre = QStringLiteral("hosteleria");
  t->informes = t->ventas;
  t->informes.nombre = QStringLiteral("Informes");
  auto v = datos::Conexion::abrir(t->ventas);
  datos::CrearEsquemaVentas(*v);
  datos::CrearEsquemaInformes(*datos::Conexion::abrir(t->informes));
  demo::LlenarMaestros(*v, o);
  demo::LlenarVentas(*v, o, o.hoy.addDays(-p.dias), o.hoy.addDays(-1));
  v->ejecutar(QStringLiteral("ANALYZE"));
  return t;
}

// Los informes con fechas sobre todo lo vendido, uno tras otro.
class Informes {
 public:
  Informes(const Tienda& t, const sistema::Reloj& reloj, int dias) : reloj_(reloj) {
    at_.ConexionVentas = datos::Conexion::abrir(t.ventas);
    at_.FuenteVentasViva = t.ventas;
    at_.RutaBaseDatos = t.ventas.motor == datos::Motor::SQLite ? t.ventas.ruta : t.ventas.base;
    datos::OpcionesApertura borrador;
    borrador.borrador = true;
    at_.ConexionInformes = datos::Conexion::abrir(t.informes, borrador);
    at_.IdTerminal = demo::IdentificadorDemo();
    seleccion_.FechaDesde = reloj.hoy().addDays(-dias);
    seleccion_.FechaHasta = reloj.hoy();
    seleccion_.EmpleadoElegido = 1;
    for (const registro::BotonInforme& b : registro::Botones())
      if (b.esInforme() && b.disponible() && b.conFechas()) botones_.push_back(&b);
  }
  // Saca el siguiente; falso si falló.
  bool siguiente() {
    const registro::BotonInforme& b = *botones_[hechos_++ % botones_.size()];
    informes::Contexto ctx{at_, seleccion_, notificador_, reloj_};
    return registro::EjecutarBoton(b, ctx).resultado != registro::Resultado::Error;
  }
  int hechos() const { return hechos_; }
  std::size_t cuantos() const { return botones_.size(); }

 private:
  const sistema::Reloj& reloj_;
  AjustesTerminal at_;
  SeleccionInforme seleccion_;
  sistema::NotificadorRegistro notificador_;
  std::vector<const registro::BotonInforme*> botones_;
  int hechos_ = 0;
};

struct Resultado {
  QString escenario;
  int cajas = 0;
  qint64 escrituras = 0, fallos = 0, perdidas = 0;
  double p50 = 0, p99 = 0, maximo = 0;
  int informes = 0;
  QStringList errores;
};

double Percentil(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const auto i = static_cast<std::size_t>(
      std::min<double>(static_cast<double>(v.size() - 1), p * static_cast<double>(v.size() - 1) + 0.5));
  return v[i];
}

Resultado Escenario(const QString& nombre, const Tienda& t, Informes& informes, int cajas, bool sinEspera, int segundos,
                    qint64 primerNumero) {
  Resultado r;
  r.escenario = nombre;
  r.cajas = cajas;
  std::vector<std::unique_ptr<QProcess>> procesos;
  QStringList ficheros;
  for (int i = 0; i < cajas; ++i) {
    ficheros << t.carpeta.filePath(QStringLiteral("caja%1-%2.json").arg(primerNumero).arg(i));
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args{QStringLiteral("--caja"),      t.ventas.texto(),
                     QStringLiteral("--numero"),    QString::number(primerNumero + static_cast<qint64>(i) * 1000000),
                     QStringLiteral("--segundos"),  QString::number(segundos),
                     QStringLiteral("--resultado"), ficheros.back()};
    if (sinEspera) args << QStringLiteral("--sin-espera");
    p->start(QCoreApplication::applicationFilePath(), args);
    procesos.push_back(std::move(p));
  }
  const int antes = informes.hechos();
  auto alguna = [&] {
    for (const auto& p : procesos)
      if (p->state() != QProcess::NotRunning) return true;
    return false;
  };
  while (alguna()) {
    if (!informes.siguiente()) r.errores << QStringLiteral("un informe falló");
    for (const auto& p : procesos) p->waitForFinished(0);
  }
  r.informes = informes.hechos() - antes;

  std::vector<double> latencias;
  auto ventas = datos::Conexion::abrir(t.ventas);
  datos::Consulta q = ventas->preparar(QStringLiteral(
      "SELECT total, impuesto, (SELECT count(*) FROM detalle_factura WHERE num_factura = ?) FROM cabecera_factura "
      "WHERE numero = ?"));
  for (const QString& f : ficheros) {
    QFile entrada(f);
    if (!entrada.open(QIODevice::ReadOnly)) {
      r.errores << QStringLiteral("una caja no dejó su resultado");
      ++r.fallos;
      continue;
    }
    const QJsonObject o = QJsonDocument::fromJson(entrada.readAll()).object();
    for (const QJsonValue& l : o.value(QStringLiteral("latencias")).toArray()) latencias.push_back(l.toDouble());
    for (const QJsonValue& e : o.value(QStringLiteral("errores")).toArray()) r.errores << e.toString();
    r.fallos += o.value(QStringLiteral("errores")).toArray().size();
    for (const QJsonValue& v : o.value(QStringLiteral("ventas")).toArray()) {
      const QJsonArray a = v.toArray();
      q.limpiarEnlaces();
      q.enlazar(static_cast<qint64>(a[0].toDouble())).enlazar(static_cast<qint64>(a[0].toDouble()));
      q.ejecutar();
      const bool igual = q.siguiente() && std::abs(q.valor(0).toDouble() - a[1].toDouble()) < 1e-9 &&
                         std::abs(q.valor(1).toDouble() - a[2].toDouble()) < 1e-9 && q.valor(2).toInt() == a[3].toInt();
      if (!igual) ++r.perdidas;
    }
  }
  r.escrituras = static_cast<qint64>(latencias.size()) + r.fallos;
  r.p50 = Percentil(latencias, 0.50);
  r.p99 = Percentil(latencias, 0.99);
  r.maximo = latencias.empty() ? 0 : *std::max_element(latencias.begin(), latencias.end());
  return r;
}

Parametros LeerParametros(const QStringList& args, bool& bien) {
  Parametros p;
  bien = true;
  for (int i = 1; i < args.size(); ++i) {
    const QString a = args[i];
    const QString v = i + 1 < args.size() ? args[i + 1] : QString();
    bool ok = true;
    if (a == QLatin1String("--diario")) {
      p.diario = true;
      continue;
    }
    if (a == QLatin1String("--postgresql"))
      p.postgresql = v;
    else if (a == QLatin1String("--dias"))
      p.dias = v.toInt(&ok);
    else if (a == QLatin1String("--ventas-dia"))
      p.ventasDia = v.toInt(&ok);
    else if (a == QLatin1String("--segundos"))
      p.segundos = v.toInt(&ok);
    else if (a == QLatin1String("--cajas"))
      p.cajas = v.toInt(&ok);
    else if (a == QLatin1String("--limite-ms"))
      p.limiteMs = v.toDouble(&ok);
    else
      ok = false;
    if (!ok) {
      Escribir(QStringLiteral("Opción no válida: %1 %2\n").arg(a, v));
      bien = false;
      return p;
    }
    ++i;
  }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() > 1 && args[1] == QLatin1String("--caja")) {
    const auto valor = [&](const char* opcion) {
      const qsizetype i = args.indexOf(QLatin1String(opcion));
      return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };
    return Caja(args.value(2), valor("--numero").toLongLong(), valor("--segundos").toInt(),
                args.contains(QStringLiteral("--sin-espera")), valor("--resultado"));
  }

  bool bien = false;
  const Parametros p = LeerParametros(args, bien);
  if (!bien) return 2;
  sistema::RelojSistema reloj;
  try {
    Escribir(QStringLiteral("Tienda de %1 días a %2 ventas al día en %3...\n")
                 .arg(p.dias)
                 .arg(p.ventasDia)
                 .arg(p.postgresql.isEmpty() ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL")));
    const auto tienda = PrepararTienda(p, reloj);
    Informes informes(*tienda, reloj, p.dias);
    // Una vuelta antes de abrir las cajas: hace las reparaciones que la
    // tienda necesite (impuestos sin poner), que son escrituras de verdad.
    for (std::size_t i = 0; i < informes.cuantos(); ++i) informes.siguiente();

    const qint64 base = 900000000;
    std::vector<Resultado> resultados;
    resultados.push_back(
        Escenario(QStringLiteral("una caja sin espera"), *tienda, informes, 1, true, p.segundos / 2, base));
    resultados.push_back(Escenario(QStringLiteral("%1 cajas con espera").arg(p.cajas), *tienda, informes, p.cajas,
                                   false, p.segundos - p.segundos / 2, base + 100000000));

    Escribir(
        QStringLiteral("\n| Escenario | Cajas | Escrituras | Fallos | Perdidas | p50 (ms) | p99 (ms) | Máx. (ms) "
                       "| Informes |\n|---|---|---|---|---|---|---|---|---|\n"));
    bool todoBien = true;
    for (const Resultado& r : resultados) {
      Escribir(QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 |\n")
                   .arg(r.escenario)
                   .arg(r.cajas)
                   .arg(r.escrituras)
                   .arg(r.fallos)
                   .arg(r.perdidas)
                   .arg(r.p50, 0, 'f', 1)
                   .arg(r.p99, 0, 'f', 1)
                   .arg(r.maximo, 0, 'f', 1)
                   .arg(r.informes));
      for (const QString& e : r.errores.mid(0, 5)) Escribir(QStringLiteral("  %1\n").arg(e));
      todoBien = todoBien && r.fallos == 0 && r.perdidas == 0 && r.maximo <= p.limiteMs && r.escrituras > 0 &&
                 r.informes > 0 && r.errores.isEmpty();
    }
    Escribir(todoBien ? QStringLiteral("\nNinguna caja esperó más de %1 ms ni perdió una venta.\n").arg(p.limiteMs)
                      : QStringLiteral("\nLas cajas esperaron o fallaron.\n"));
    return todoBien ? 0 : 1;
  } catch (const sistema::Error& e) {
    Escribir(QStringLiteral("%1\n").arg(e.mensaje()));
    return 2;
  }
}
