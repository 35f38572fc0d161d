// Medición de cada informe del registro sobre una tienda generada.
//
// Recorre todos los botones del registro que tienen constructor (un informe
// nuevo sale solo) y, para el mes de más ventas y para el año entero de la
// tienda (los listados sin fechas, una vez), mide:
//
//  - el constructor, en un proceso hijo: mediana de varias pasadas sobre la
//    tabla Informes vacía y la memoria máxima del proceso;
//  - en el mismo proceso, su límite bruto: leer con un SELECT llano, en la
//    misma base y con la API de SQLite, las filas del periodo de cada tabla
//    que lee el constructor (sus columnas, sabidas con el autorizador de
//    SQLite; de cada tabla, nunca más filas de las que recibió el constructor
//    en total), más insertar tantas filas como dejó en Informes, con sus
//    valores, en una tabla vacía con una sola sentencia preparada;
//  - y de punta a punta, el programa `cronicas informe ...` a PDF, a hoja de
//    cálculo y a CSV: tiempo, CPU y memoria máxima del proceso.
//
// Escribe una tabla en markdown para el README.
//
//   bench_informes [--dias N] [--ventas-dia N] [--hoy AAAA-MM-DD] [--tienda AJUSTES] [--guardar CARPETA]
//                  [--repeticiones N] [--boton BOTON]... [--sin-linea-de-ordenes] [--cronicas PROGRAMA]

#include "builders/ExportarCsv.h"
#include "demo/Demo.h"
#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/motor/Motor.h"
#include "platform/sistema/Notificador.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "startup/Arranque.h"
#include "startup/EjerciciosCerrados.h"

#include "Medicion.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <vector>

#ifndef CRONICAS_PROGRAMA
#define CRONICAS_PROGRAMA ""
#endif

namespace {

constexpr double kRazonMaxima = 1.5;  // constructor / límite
// Por debajo, el constructor se va en lo que cuesta lo mismo sea cual sea el
// informe (la transacción, preparar las sentencias, la cabecera del negocio)
// y la razón con su límite no dice nada: se enseña, pero no se juzga.
constexpr double kMinimoParaRazon = 0.05;  // s
constexpr double kObjetivoPdfMes = 1.0;    // s
constexpr double kObjetivoAnio = 3.0;      // s, hoja y CSV del año
constexpr double kObjetivoMemoria = 300;   // MB, hoja y CSV del año

void Escribir(const QString& texto) {
  std::fputs(texto.toLocal8Bit().constData(), stdout);
  std::fflush(stdout);
}

QString Coma(double v, int decimales) {
  return QString::number(v, 'f', decimales).replace(QLatin1Char('.'), QLatin1Char(','));
}

double Segundos(const QElapsedTimer& t) {
  return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

double Mediana(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// --- Límite bruto ------------------------------------------------------------

// Tablas y columnas que lee el constructor, anotadas por el autorizador de
// SQLite al preparar cada sentencia.
struct Lecturas {
  std::map<QString, std::set<QString>> columnas;
  qint64 filasRecibidas = 0;  // filas que devolvieron sus consultas, todas juntas
};

int ContarFila(unsigned, void* datos, void*, void*) {
  ++static_cast<Lecturas*>(datos)->filasRecibidas;
  return 0;
}

int Anotar(void* datos, int accion, const char* tabla, const char* columna, const char*, const char*) {
  if (accion == SQLITE_READ && tabla && std::strncmp(tabla, "sqlite_", 7) != 0) {
    auto& c = static_cast<Lecturas*>(datos)->columnas[QString::fromUtf8(tabla).toLower()];
    if (columna && *columna) c.insert(QString::fromUtf8(columna).toLower());
  }
  return SQLITE_OK;
}

// Las tablas de líneas y las que cuelgan de una venta: sus filas del periodo
// son las de las ventas del periodo.
struct Hija {
  const char* tabla;
  const char* columna;
  const char* cabecera;
};
constexpr Hija kHijas[] = {{"detalle_factura", "num_factura", "cabecera_factura"},
                           {"detalle_factura_anulaciones", "num_factura", "cabecera_factura_anulaciones"},
                           {"propinas", "numventa", "cabecera_factura"},
                           {"facturatiporepdom", "nrofactura", "cabecera_factura"},
                           {"cocifac", "numfactura", "cabecera_factura"}};

QString Citar(const QString& nombre) {
  return QLatin1Char('"') + nombre + QLatin1Char('"');
}

// Una lectura llana: la sentencia y sus valores (?1 desde, ?2 hasta, ?3 el
// día siguiente a hasta, ?4 el empleado, ?5 el tope de filas, ?6 y ?7 la
// primera y la última venta del periodo).
struct LecturaLlana {
  QString tabla;
  QString sql;
  qint64 primera = 0, ultima = -1;
};

// El SELECT más llano que trae las filas del periodo de cada tabla leída: las
// ventas por su día de venta (y del empleado, si el informe es de uno), sus
// líneas por la venta, lo que tiene fecha por su fecha y lo demás entero. Un
// constructor que cruza las ventas con una tabla pequeña (las facturas con
// comprobante fiscal) no lee todas las del periodo: ninguna tabla da más
// filas de las que el constructor recibió.
std::vector<LecturaLlana> PlanearLimite(const datos::Conexion& ventas, const Lecturas& l, const SeleccionInforme& s,
                                        bool conFechas, bool conEmpleado) {
  std::vector<LecturaLlana> plan;
  auto tiene = [&](const QString& tabla, const QString& columna) {
    return ventas.columnas(tabla).contains(columna, Qt::CaseInsensitive);
  };
  auto filtroVentas = [&](const QString& cabecera) {
    QString f = QStringLiteral("fechaventa BETWEEN ?1 AND ?2");
    if (conEmpleado && tiene(cabecera, QStringLiteral("codigo_camarero")))
      f += QStringLiteral(" AND codigo_camarero = ?4");
    return f;
  };
  for (const auto& [tabla, columnas] : l.columnas) {
    if (columnas.empty()) continue;
    QStringList lista;
    for (const QString& c : columnas) lista << Citar(c);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(lista.join(QStringLiteral(", ")), Citar(tabla));
    if (conFechas) {
      const Hija* hija = nullptr;
      for (const Hija& h : kHijas)
        if (tabla == QLatin1String(h.tabla)) hija = &h;
      if (hija) {
        // Las ventas se numeran según se hacen: las líneas del periodo son
        // las de un tramo de números, que se busca aquí, fuera de lo medido.
        const QString cabecera = QString::fromLatin1(hija->cabecera);
        const bool delEmpleado = conEmpleado && tiene(cabecera, QStringLiteral("codigo_camarero"));
        datos::Consulta tramo = ventas.preparar(
            QStringLiteral("SELECT min(numero), max(numero) FROM %1 WHERE fechaventa BETWEEN ? AND ?%2")
                .arg(Citar(cabecera), delEmpleado ? QStringLiteral(" AND codigo_camarero = ?") : QString()));
        tramo.enlazar(s.FechaDesde).enlazar(s.FechaHasta);
        if (delEmpleado) tramo.enlazar(static_cast<int>(s.EmpleadoElegido));
        tramo.ejecutar();
        LecturaLlana lectura{
            tabla,
            sql +
                QStringLiteral(" WHERE %1 BETWEEN ?6 AND ?7 LIMIT ?5").arg(Citar(QString::fromLatin1(hija->columna)))};
        if (tramo.siguiente() && !tramo.valor(0).isNull()) {
          lectura.primera = tramo.valor(0).toLongLong();
          lectura.ultima = tramo.valor(1).toLongLong();
        }
        plan.push_back(lectura);
        continue;
      } else if (tiene(tabla, QStringLiteral("fechaventa"))) {
        sql += QStringLiteral(" WHERE ") + filtroVentas(tabla);
      } else if (tiene(tabla, QStringLiteral("fecha"))) {
        sql += QStringLiteral(" WHERE fecha >= ?1 AND fecha < ?3");
      }
    }
    plan.push_back({tabla, sql + QStringLiteral(" LIMIT ?5")});
  }
  return plan;
}

struct Sentencia {
  sqlite3_stmt* st = nullptr;
  Sentencia(sqlite3* base, const QString& sql) {
    const QByteArray t = sql.toUtf8();
    if (sqlite3_prepare_v2(base, t.constData(), static_cast<int>(t.size()), &st, nullptr) != SQLITE_OK)
      throw datos::ErrorDatos(QStringLiteral("%1: %2").arg(sql, QString::fromUtf8(sqlite3_errmsg(base))));
  }
  ~Sentencia() { sqlite3_finalize(st); }
  Sentencia(const Sentencia&) = delete;
  Sentencia& operator=(const Sentencia&) = delete;
};

void Ejecutar(sqlite3* base, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(base, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const QString m = QString::fromUtf8(error ? error : "?");
    sqlite3_free(error);
    throw datos::ErrorDatos(QStringLiteral("%1: %2").arg(QString::fromUtf8(sql), m));
  }
}

// Lee todas las filas del plan tocando cada valor; devuelve cuántas filas.
qint64 LeerLlano(sqlite3* base, const std::vector<LecturaLlana>& plan, const SeleccionInforme& s, qint64 tope) {
  const QByteArray desde = datos::textoFecha(s.FechaDesde).toUtf8(), hasta = datos::textoFecha(s.FechaHasta).toUtf8(),
                   siguiente = datos::textoFecha(s.FechaHasta.addDays(1)).toUtf8();
  qint64 filas = 0;
  double suma = 0;
  qint64 bytes = 0;
  for (const LecturaLlana& l : plan) {
    Sentencia q(base, l.sql);
    const int parametros = sqlite3_bind_parameter_count(q.st);
    if (parametros >= 1) sqlite3_bind_text(q.st, 1, desde.constData(), -1, SQLITE_STATIC);
    if (parametros >= 2) sqlite3_bind_text(q.st, 2, hasta.constData(), -1, SQLITE_STATIC);
    if (parametros >= 3) sqlite3_bind_text(q.st, 3, siguiente.constData(), -1, SQLITE_STATIC);
    if (parametros >= 4) sqlite3_bind_int(q.st, 4, s.EmpleadoElegido);
    sqlite3_bind_int64(q.st, sqlite3_bind_parameter_index(q.st, "?5"), tope);
    if (parametros >= 7) {
      sqlite3_bind_int64(q.st, 6, l.primera);
      sqlite3_bind_int64(q.st, 7, l.ultima);
    }
    const int n = sqlite3_column_count(q.st);
    while (sqlite3_step(q.st) == SQLITE_ROW) {
      ++filas;
      for (int i = 0; i < n; ++i) {
        switch (sqlite3_column_type(q.st, i)) {
          case SQLITE_INTEGER:
            suma += static_cast<double>(sqlite3_column_int64(q.st, i));
            break;
          case SQLITE_FLOAT:
            suma += sqlite3_column_double(q.st, i);
            break;
          case SQLITE_TEXT:
            bytes += sqlite3_column_bytes(q.st, i) + (sqlite3_column_text(q.st, i) ? 1 : 0);
            break;
          default:
            break;
        }
      }
    }
  }
  // Que el compilador no se ahorre las lecturas.
  if (suma == -1.0 && bytes == -1) std::fputs("", stdout);
  return filas;
}

// Las filas que dejó el constructor, con sus valores tal cual, en un solo
// bloque: tipo y valor de cada columna, fila tras fila.
struct Copia {
  int columnas = 0;
  std::vector<bool> usadas;  // columnas con algún valor
  QStringList nombres;
  QByteArray datos;
  qint64 filas = 0;
};

Copia CopiarInformes(sqlite3* base) {
  Copia c;
  Sentencia q(base, QStringLiteral("SELECT * FROM informes"));
  c.columnas = sqlite3_column_count(q.st);
  c.usadas.assign(static_cast<std::size_t>(c.columnas), false);
  for (int i = 0; i < c.columnas; ++i) c.nombres << QString::fromUtf8(sqlite3_column_name(q.st, i));
  while (sqlite3_step(q.st) == SQLITE_ROW) {
    ++c.filas;
    for (int i = 0; i < c.columnas; ++i) {
      const int tipo = sqlite3_column_type(q.st, i);
      c.datos.append(static_cast<char>(tipo));
      if (tipo != SQLITE_NULL) c.usadas[static_cast<std::size_t>(i)] = true;
      if (tipo == SQLITE_INTEGER) {
        const sqlite3_int64 v = sqlite3_column_int64(q.st, i);
        c.datos.append(reinterpret_cast<const char*>(&v), sizeof v);
      } else if (tipo == SQLITE_FLOAT) {
        const double v = sqlite3_column_double(q.st, i);
        c.datos.append(reinterpret_cast<const char*>(&v), sizeof v);
      } else if (tipo == SQLITE_TEXT || tipo == SQLITE_BLOB) {
        const int n = sqlite3_column_bytes(q.st, i);
        c.datos.append(reinterpret_cast<const char*>(&n), sizeof n);
        c.datos.append(static_cast<const char*>(sqlite3_column_blob(q.st, i)), n);
      }
    }
  }
  return c;
}

// Inserta la copia en una tabla de trabajo vacía con una sentencia preparada
// que enlaza las columnas que algún valor usa. Devuelve los segundos.
double EscribirLlano(sqlite3* base, const Copia& c) {
  Ejecutar(base, "DROP TABLE IF EXISTS limite_informes");
  Ejecutar(base, "CREATE TABLE limite_informes AS SELECT * FROM informes WHERE 0");
  QStringList nombres, marcas;
  for (int i = 0; i < c.columnas; ++i)
    if (c.usadas[static_cast<std::size_t>(i)]) {
      nombres << Citar(c.nombres.at(i));
      marcas << QStringLiteral("?");
    }
  QElapsedTimer t;
  t.start();
  Ejecutar(base, "BEGIN");
  if (!nombres.isEmpty()) {
    Sentencia ins(base, QStringLiteral("INSERT INTO limite_informes (%1) VALUES (%2)")
                            .arg(nombres.join(QLatin1Char(',')), marcas.join(QLatin1Char(','))));
    const char* p = c.datos.constData();
    for (qint64 f = 0; f < c.filas; ++f) {
      int k = 0;
      for (int i = 0; i < c.columnas; ++i) {
        const int tipo = *p++;
        const bool usada = c.usadas[static_cast<std::size_t>(i)];
        if (usada) ++k;
        switch (tipo) {
          case SQLITE_INTEGER: {
            sqlite3_int64 v;
            std::memcpy(&v, p, sizeof v);
            p += sizeof v;
            sqlite3_bind_int64(ins.st, k, v);
            break;
          }
          case SQLITE_FLOAT: {
            double v;
            std::memcpy(&v, p, sizeof v);
            p += sizeof v;
            sqlite3_bind_double(ins.st, k, v);
            break;
          }
          case SQLITE_TEXT:
          case SQLITE_BLOB: {
            int n;
            std::memcpy(&n, p, sizeof n);
            p += sizeof n;
            sqlite3_bind_text(ins.st, k, p, n, SQLITE_STATIC);
            p += n;
            break;
          }
          default:
            if (usada) sqlite3_bind_null(ins.st, k);
            break;
        }
      }
      if (sqlite3_step(ins.st) != SQLITE_DONE) throw datos::ErrorDatos(QString::fromUtf8(sqlite3_errmsg(base)));
      sqlite3_reset(ins.st);
    }
  }
  Ejecutar(base, "COMMIT");
  const double s = Segundos(t);
  Ejecutar(base, "DROP TABLE limite_informes");
  return s;
}

// --- Modos hijo --------------------------------------------------------------

struct Puesto {
  ajustes::AlmacenAjustes almacen;
  sistema::RelojSistema reloj;
  sistema::NotificadorRegistro notificador;
  AjustesTerminal at;
  explicit Puesto(const QString& ficheroAjustes) : almacen(ficheroAjustes) {
    arranque::Entorno entorno;
    entorno.reloj = &reloj;
    entorno.buscarActualizaciones = false;
    arranque::Arrancar(at, almacen, entorno);
  }
};

SeleccionInforme Seleccion(const registro::BotonInforme& boton, const QDate& desde, const QDate& hasta) {
  SeleccionInforme s;
  s.FechaDesde = desde;
  s.FechaHasta = hasta;
  // En los informes de un empleado, la encargada: la que más vende.
  if (boton.dialogo == registro::Dialogo::EmpleadoYFechas) s.EmpleadoElegido = 1;
  return s;
}

// Mide el constructor y su límite; deja una línea "clave=valor ...".
int MedirConstructor(const QString& ficheroAjustes, const QString& nombre, const QDate& desde, const QDate& hasta,
                     int repeticiones) {
  const registro::BotonInforme* boton = registro::BuscarBoton(nombre);
  if (!boton || !boton->sinVentana()) return 1;
  Puesto puesto(ficheroAjustes);
  AjustesTerminal& at = puesto.at;
  SeleccionInforme seleccion = Seleccion(*boton, desde, hasta);
  informes::Contexto ctx{at, seleccion, puesto.notificador, puesto.reloj};
  // El año cerrado se elige fuera de lo medido, como lo hace el botón.
  std::optional<ejercicios::EjercicioElegido> ejercicio;
  if (boton->conFechas()) ejercicio.emplace(at, desde, hasta, puesto.notificador);

  auto* ventas = static_cast<sqlite3*>(at.ConexionVentas->manejadorSqlite());
  auto* informes = static_cast<sqlite3*>(at.ConexionInformes->manejadorSqlite());
  Lecturas lecturas;
  if (ventas) {
    sqlite3_set_authorizer(ventas, Anotar, &lecturas);
    sqlite3_trace_v2(ventas, SQLITE_TRACE_ROW, ContarFila, &lecturas);
  }

  std::vector<double> constructor, leer, escribir;
  double memoria = 0;
  qint64 filas = 0, leidas = 0;
  std::vector<LecturaLlana> plan;
  Copia copia;
  for (int r = 0; r < repeticiones; ++r) {
    at.ConexionInformes->ejecutar(QStringLiteral("DELETE FROM informes"));
    QElapsedTimer t;
    t.start();
    const registro::Ejecucion e = registro::EjecutarConstructor(*boton, ctx);
    constructor.push_back(Segundos(t));
    if (e.resultado == registro::Resultado::Error) {
      Escribir(QStringLiteral("error=%1\n").arg(e.error.simplified().replace(QLatin1Char(' '), QLatin1Char('_'))));
      return 1;
    }
    if (r == 0) {
      memoria = medicion::MemoriaMaximaMb();
      if (!ventas || !informes) break;  // sin SQLite no hay límite que medir
      sqlite3_set_authorizer(ventas, nullptr, nullptr);
      sqlite3_trace_v2(ventas, 0, nullptr, nullptr);
      plan = PlanearLimite(*at.ConexionVentas, lecturas, seleccion, boton->conFechas(),
                           boton->dialogo == registro::Dialogo::EmpleadoYFechas);
      copia = CopiarInformes(informes);
    }
    QElapsedTimer l;
    l.start();
    leidas = LeerLlano(ventas, plan, seleccion, lecturas.filasRecibidas);
    leer.push_back(Segundos(l));
    escribir.push_back(EscribirLlano(informes, copia));
  }
  filas = copia.filas;
  if (!ventas || !informes) {
    datos::Consulta q = at.ConexionInformes->preparar(QStringLiteral("SELECT count(*) FROM informes"));
    q.ejecutar();
    filas = q.siguiente() ? q.valor(0).toLongLong() : 0;
  }
  QStringList tablas;
  for (const LecturaLlana& p : plan) tablas << p.tabla;
  Escribir(QStringLiteral("filas=%1 leidas=%2 constructor=%3 leer=%4 escribir=%5 memoria=%6 tablas=%7\n")
               .arg(filas)
               .arg(leidas)
               .arg(Mediana(constructor), 0, 'f', 4)
               .arg(leer.empty() ? -1.0 : Mediana(leer), 0, 'f', 4)
               .arg(escribir.empty() ? -1.0 : Mediana(escribir), 0, 'f', 4)
               .arg(memoria, 0, 'f', 1)
               .arg(tablas.isEmpty() ? QStringLiteral("-") : tablas.join(QLatin1Char(','))));
  return 0;
}

// Las salidas dentro de un proceso, fase a fase, para ver dónde se va el
// tiempo: leer y ordenar, maquetar, pintar el PDF, la hoja y el CSV.
int MedirFases(const QString& ficheroAjustes, const QString& nombre, const QDate& desde, const QDate& hasta,
               const QString& carpeta) {
  const registro::BotonInforme* boton = registro::BuscarBoton(nombre);
  if (!boton || !boton->sinVentana()) return 1;
  Puesto puesto(ficheroAjustes);
  SeleccionInforme seleccion = Seleccion(*boton, desde, hasta);
  informes::Contexto ctx{puesto.at, seleccion, puesto.notificador, puesto.reloj};
  if (registro::EjecutarBoton(*boton, ctx).resultado != registro::Resultado::ConDatos) return 1;
  const datos::Conexion& inf = *puesto.at.ConexionInformes;
  motor::Entorno entorno;
  entorno.momento = puesto.reloj.ahora();
  entorno.regional = motor::ConfiguracionRegional(puesto.almacen.valor(QStringLiteral("informes/regional")));
  // Tiempo de reloj y, entre paréntesis, CPU de cada fase.
  QStringList fases;
  QElapsedTimer t;
  double cpu = 0;
  auto empezar = [&] {
    cpu = medicion::CpuSegundos();
    t.restart();
  };
  auto anotar = [&](const char* fase) {
    fases << QStringLiteral("%1=%2(%3)")
                 .arg(QLatin1String(fase))
                 .arg(Segundos(t), 0, 'f', 3)
                 .arg(medicion::CpuSegundos() - cpu, 0, 'f', 3);
  };
  empezar();
  const motor::InformePreparado p(inf, boton->plantillaPara(seleccion), puesto.almacen.carpetaPlantillas(), entorno);
  anotar("preparar");
  empezar();
  const motor::Documento d = motor::Maquetar(p.informe());
  anotar("maquetar");
  empezar();
  motor::GuardarPdf(d, QDir(carpeta).filePath(QStringLiteral("fases.pdf")));
  anotar("pintar");
  empezar();
  motor::GuardarXlsx(p.informe(), QDir(carpeta).filePath(QStringLiteral("fases.xlsx")));
  anotar("hoja");
  empezar();
  informes::EscribirCsv(inf, QDir(carpeta).filePath(QStringLiteral("fases.csv")));
  anotar("csv");
  Escribir(fases.join(QLatin1Char(' ')) + QStringLiteral(" paginas=%1\n").arg(d.paginas.size()));
  return 0;
}

// --- El proceso que mide -------------------------------------------------------

QHash<QString, QString> Campos(const QString& linea) {
  QHash<QString, QString> h;
  for (const QString& c : linea.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const int i = c.indexOf(QLatin1Char('='));
    if (i > 0) h.insert(c.left(i), c.mid(i + 1));
  }
  return h;
}

QHash<QString, QString> Hijo(const QStringList& argumentos) {
  QProcess hijo;
  hijo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  hijo.start(QCoreApplication::applicationFilePath(), argumentos);
  hijo.waitForFinished(-1);
  const QString salida = QString::fromLocal8Bit(hijo.readAllStandardOutput()).trimmed();
  QHash<QString, QString> c = Campos(salida.section(QLatin1Char('\n'), -1));
  if (hijo.exitStatus() != QProcess::NormalExit || hijo.exitCode() != 0) {
    if (!c.contains(QStringLiteral("error"))) c.insert(QStringLiteral("error"), QStringLiteral("el hijo falló"));
  }
  return c;
}

struct Periodo {
  QString nombre;
  QDate desde, hasta;
};

// El año entero de la tienda y su mes de más ventas, leídos de la base.
bool Periodos(const QString& ficheroAjustes, Periodo& mes, Periodo& anio, qint64& ventas) {
  ajustes::AlmacenAjustes almacen(ficheroAjustes);
  auto c = datos::Conexion::abrir(almacen.fuente(QStringLiteral("hosteleria")));
  datos::Consulta q =
      c->preparar(QStringLiteral("SELECT fechaventa, count(*) FROM cabecera_factura GROUP BY fechaventa"));
  q.ejecutar();
  std::map<QDate, qint64> porMes;
  QDate primero, ultimo;
  ventas = 0;
  while (q.siguiente()) {
    const QDate d = datos::aFecha(q.valor(0));
    if (!d.isValid()) continue;
    const qint64 n = q.valor(1).toLongLong();
    porMes[QDate(d.year(), d.month(), 1)] += n;
    ventas += n;
    if (!primero.isValid() || d < primero) primero = d;
    if (!ultimo.isValid() || d > ultimo) ultimo = d;
  }
  if (porMes.empty()) return false;
  const auto mayor =
      std::max_element(porMes.begin(), porMes.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  mes = {QStringLiteral("mes"), mayor->first, mayor->first.addMonths(1).addDays(-1)};
  anio = {QStringLiteral("año"), primero, ultimo};
  return true;
}

// Cada medición empieza con Informes vacía, sin el informe anterior que
// borrar. Con la caché pequeña de siempre: este proceso tiene que ocupar poco,
// porque sus hijos heredan su memoria máxima al arrancar.
void VaciarInformes(const QString& ficheroAjustes) {
  ajustes::AlmacenAjustes almacen(ficheroAjustes);
  auto c = datos::Conexion::abrir(almacen.fuente(QStringLiteral("Informes")));
  if (c->motor() == datos::Motor::SQLite) c->ejecutar(QStringLiteral("PRAGMA secure_delete=OFF"));
  c->ejecutar(QStringLiteral("DELETE FROM informes"));
}

// Las páginas de un PDF de Qt, leído a trozos por lo mismo.
int PaginasPdf(const QString& fichero) {
  QFile f(fichero);
  if (!f.open(QIODevice::ReadOnly)) return 0;
  static const QRegularExpression pagina(QStringLiteral("/Type\\s*/Page[^s]"));
  int n = 0;
  QByteArray resto;
  while (!f.atEnd()) {
    const QByteArray trozo = resto + f.read(1 << 20);
    const QString texto = QString::fromLatin1(trozo);
    qsizetype fin = 0;
    for (auto m = pagina.globalMatch(texto); m.hasNext();) {
      fin = m.next().capturedEnd();
      ++n;
    }
    // Lo que queda tras el último hallazgo puede ser el principio del siguiente.
    resto = trozo.mid(std::max(fin, trozo.size() - 32));
  }
  return n;
}

// Un tiempo con las cifras que dicen algo: milisegundos por debajo del segundo.
QString Duracion(double segundos) {
  if (segundos < 0.1) return Coma(segundos * 1000, 1) + QStringLiteral(" ms");
  if (segundos < 1) return Coma(segundos * 1000, 0) + QStringLiteral(" ms");
  return Coma(segundos, 2) + QStringLiteral(" s");
}

struct Salida {
  QString texto;
  bool medida = false;
  double segundos = 0, memoria = 0;
};

struct Parametros {
  int dias = 365;
  int ventasDia = 600;
  QDate hoy = QDate(2025, 6, 15);
  QString tienda, guardar, cronicas = QString::fromLocal8Bit(CRONICAS_PROGRAMA);
  int repeticiones = 3;
  QStringList botones;
  bool lineaOrdenes = true;
  bool fases = false;
};

bool LeerParametros(const QStringList& args, Parametros& p, QString& error) {
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args.at(i);
    if (a == QLatin1String("--sin-linea-de-ordenes")) {
      p.lineaOrdenes = false;
      continue;
    }
    if (a == QLatin1String("--fases")) {
      p.fases = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = QStringLiteral("Falta el valor de %1.").arg(a);
      return false;
    }
    const QString v = args.at(++i);
    bool ok = true;
    if (a == QLatin1String("--dias"))
      p.dias = v.toInt(&ok);
    else if (a == QLatin1String("--ventas-dia"))
      p.ventasDia = v.toInt(&ok);
    else if (a == QLatin1String("--repeticiones"))
      p.repeticiones = v.toInt(&ok);
    else if (a == QLatin1String("--hoy"))
      ok = (p.hoy = QDate::fromString(v, QStringLiteral("yyyy-MM-dd"))).isValid();
    else if (a == QLatin1String("--tienda"))
      p.tienda = v;
    else if (a == QLatin1String("--guardar"))
      p.guardar = v;
    else if (a == QLatin1String("--boton"))
      p.botones << v;
    else if (a == QLatin1String("--cronicas"))
      p.cronicas = v;
    else {
      error = QStringLiteral("Opción desconocida: %1.").arg(a);
      return false;
    }
    if (!ok) {
      error = QStringLiteral("Valor no válido para %1: %2.").arg(a, v);
      return false;
    }
  }
  if (p.dias < 1 || p.ventasDia < 1 || p.repeticiones < 1) {
    error = QStringLiteral("--dias, --ventas-dia y --repeticiones necesitan números positivos.");
    return false;
  }
  for (const QString& b : p.botones)
    if (!registro::BuscarBoton(b) || !registro::BuscarBoton(b)->sinVentana()) {
      error = QStringLiteral("No hay ningún informe hecho con el botón %1.").arg(b);
      return false;
    }
  return true;
}

QString CargaDelSistema() {
  QFile f(QStringLiteral("/proc/loadavg"));
  if (!f.open(QIODevice::ReadOnly)) return QString();
  return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  try {
    if (const auto hecho = medicion::GenerarTiendaSiEsHijo(args)) return *hecho;
    if (args.size() == 7 && args.at(1) == QLatin1String("--medir"))
      return MedirConstructor(args.at(2), args.at(3), QDate::fromString(args.at(4), Qt::ISODate),
                              QDate::fromString(args.at(5), Qt::ISODate), args.at(6).toInt());
    if (args.size() == 7 && args.at(1) == QLatin1String("--medir-fases"))
      return MedirFases(args.at(2), args.at(3), QDate::fromString(args.at(4), Qt::ISODate),
                        QDate::fromString(args.at(5), Qt::ISODate), args.at(6));
  } catch (const sistema::Error& e) {
    Escribir(QStringLiteral("error=%1\n").arg(e.mensaje().simplified().replace(QLatin1Char(' '), QLatin1Char('_'))));
    return 1;
  }

  Parametros p;
  QString error;
  if (!LeerParametros(args, p, error)) {
    std::fputs((error + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    return 1;
  }
  if (p.lineaOrdenes && !QFileInfo(p.cronicas).isExecutable()) {
    std::fputs(QStringLiteral("No se encuentra el programa cronicas (%1): dígalo con --cronicas.\n")
                   .arg(p.cronicas)
                   .toLocal8Bit()
                   .constData(),
               stderr);
    return 1;
  }

  QTemporaryDir temporal;
  QString tienda = p.tienda;
  QString facturas, lineas;
  if (tienda.isEmpty()) {
    const QString destino = p.guardar.isEmpty() ? temporal.filePath(QStringLiteral("tienda")) : p.guardar;
    Escribir(QStringLiteral("Generando %1 días a %2 ventas al día…\n").arg(p.dias).arg(p.ventasDia));
    const auto c = Hijo({QStringLiteral("--generar"), destino, QString::number(p.dias), QString::number(p.ventasDia),
                         p.hoy.toString(Qt::ISODate)});
    if (c.contains(QStringLiteral("error"))) {
      Escribir(QStringLiteral("La generación falló.\n"));
      return 1;
    }
    facturas = c.value(QStringLiteral("facturas"));
    lineas = c.value(QStringLiteral("lineas"));
    tienda = QDir(destino).filePath(QStringLiteral("ajustes.ini"));
  }
  Periodo mes, anio;
  qint64 ventas = 0;
  try {
    if (!Periodos(tienda, mes, anio, ventas)) {
      Escribir(QStringLiteral("La tienda no tiene ventas.\n"));
      return 1;
    }
  } catch (const sistema::Error& e) {
    Escribir(e.mensaje() + QLatin1Char('\n'));
    return 1;
  }
  const QString salidas = temporal.filePath(QStringLiteral("salidas"));
  QDir().mkpath(salidas);

  Escribir(QStringLiteral("\nTienda: %1 ventas%2, del %3 al %4; mes de más ventas: %5. Carga al empezar: %6.\n")
               .arg(ventas)
               .arg(lineas.isEmpty() ? QString() : QStringLiteral(" y %1 líneas").arg(lineas))
               .arg(anio.desde.toString(QStringLiteral("dd/MM/yyyy")),
                    anio.hasta.toString(QStringLiteral("dd/MM/yyyy")), mes.desde.toString(QStringLiteral("MM/yyyy")),
                    CargaDelSistema()));
  Escribir(QStringLiteral("Constructor y límite: mediana de %1 pasadas; salidas: `cronicas informe` de punta a punta, "
                          "tiempo de reloj y memoria máxima del proceso (entre paréntesis, su CPU).\n\n")
               .arg(p.repeticiones));
  Escribir(
      QStringLiteral("| Informe | Periodo | Filas | Constructor | Límite (leer + escribir) | Razón | Memoria | "
                     "PDF | Hoja de cálculo | CSV |\n"));
  Escribir(QStringLiteral("|---|---|--:|--:|--:|--:|--:|--:|--:|--:|\n"));

  bool errores = false;
  QStringList incumplidos;
  QStringList fases;
  for (const registro::BotonInforme& boton : registro::Botones()) {
    if (!boton.sinVentana()) continue;
    if (!p.botones.isEmpty() && !p.botones.contains(boton.boton, Qt::CaseInsensitive)) continue;
    std::vector<Periodo> periodos;
    if (boton.conFechas())
      periodos = {mes, anio};
    else
      periodos = {Periodo{QStringLiteral("—"), {}, {}}};
    for (const Periodo& periodo : periodos) {
      const QString desde = periodo.desde.toString(Qt::ISODate), hasta = periodo.hasta.toString(Qt::ISODate);
      VaciarInformes(tienda);
      const auto c =
          Hijo({QStringLiteral("--medir"), tienda, boton.boton, desde, hasta, QString::number(p.repeticiones)});
      const QString nombre = QStringLiteral("%1 (`%2`)").arg(boton.titulo.trimmed(), boton.boton);
      if (c.contains(QStringLiteral("error"))) {
        Escribir(QStringLiteral("| %1 | %2 | ERROR: %3 |||||||\n")
                     .arg(nombre, periodo.nombre, c.value(QStringLiteral("error")).replace(QLatin1Char('_'), ' ')));
        errores = true;
        continue;
      }
      const double constructor = c.value(QStringLiteral("constructor")).toDouble();
      const double leer = c.value(QStringLiteral("leer")).toDouble();
      const double escribir = c.value(QStringLiteral("escribir")).toDouble();
      QString limite = QStringLiteral("—"), razon = QStringLiteral("—");
      if (leer >= 0 && escribir >= 0) {
        const double l = leer + escribir;
        // Las dos partes en la unidad del total.
        auto parte = [l](double x) { return l >= 1 ? Coma(x, 2) : Coma(x * 1000, 1); };
        limite = QStringLiteral("%1 (%2 + %3)").arg(Duracion(l), parte(leer), parte(escribir));
        const double r = l > 0 ? constructor / l : 0;
        razon = Coma(r, 2);
        if (constructor < kMinimoParaRazon) {
          razon = QStringLiteral("(%1)").arg(razon);
        } else if (r >= kRazonMaxima) {
          razon += QStringLiteral(" ✗");
          incumplidos
              << QStringLiteral("constructor de %1 (%2): %3× su límite").arg(boton.boton, periodo.nombre, Coma(r, 2));
        }
      }

      // De punta a punta, cada salida en su propio proceso y con Informes vacía.
      QStringList celdas;
      for (const QString& formato : {QStringLiteral("pdf"), QStringLiteral("xlsx"), QStringLiteral("csv")}) {
        if (!p.lineaOrdenes || (formato != QLatin1String("csv") && boton.plantillaPara({}).isEmpty())) {
          celdas << QStringLiteral("—");
          continue;
        }
        const QString fichero = QDir(salidas).filePath(boton.boton + QLatin1Char('.') + formato);
        QFile::remove(fichero);
        QStringList orden{QStringLiteral("--ajustes"), tienda, QStringLiteral("informe"), boton.boton};
        if (boton.conFechas()) orden << QStringLiteral("--desde") << desde << QStringLiteral("--hasta") << hasta;
        if (boton.dialogo == registro::Dialogo::EmpleadoYFechas)
          orden << QStringLiteral("--empleado") << QStringLiteral("1");
        orden << QStringLiteral("--") + formato << fichero;
        VaciarInformes(tienda);
        const medicion::Proceso r = medicion::EjecutarMedido(p.cronicas, orden);
        // 6: el informe salió y sólo faltó el correo del resumen, que aquí no se mide.
        if ((r.codigo != 0 && r.codigo != 6) || !QFileInfo::exists(fichero)) {
          celdas << QStringLiteral("ERROR %1").arg(r.codigo);
          Escribir(QStringLiteral("<!-- %1 %2 %3: %4 -->\n").arg(boton.boton, periodo.nombre, formato, r.errores));
          errores = true;
          continue;
        }
        QString celda =
            QStringLiteral("%1 s, %2 MB (%3)").arg(Coma(r.segundos, 2), Coma(r.memoriaMb, 0), Coma(r.cpu, 2));
        if (formato == QLatin1String("pdf")) celda += QStringLiteral(", %1 pág.").arg(PaginasPdf(fichero));
        bool bien = true;
        if (formato == QLatin1String("pdf") && periodo.nombre == QStringLiteral("mes"))
          bien = r.segundos < kObjetivoPdfMes;
        if (formato != QLatin1String("pdf") && periodo.nombre == QStringLiteral("año"))
          bien = r.segundos < kObjetivoAnio && r.memoriaMb < kObjetivoMemoria;
        if (!bien) {
          celda += QStringLiteral(" ✗");
          incumplidos << QStringLiteral("%1 %2 del %3: %4 s y %5 MB")
                             .arg(boton.boton, formato, periodo.nombre, Coma(r.segundos, 2), Coma(r.memoriaMb, 0));
        }
        celdas << celda;
        QFile::remove(fichero);
      }
      Escribir(QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 MB | %8 |\n")
                   .arg(nombre, periodo.nombre, c.value(QStringLiteral("filas")), Duracion(constructor), limite, razon,
                        Coma(c.value(QStringLiteral("memoria")).toDouble(), 0), celdas.join(QStringLiteral(" | "))));
      if (p.fases && !boton.plantillaPara({}).isEmpty()) {
        const auto f = Hijo({QStringLiteral("--medir-fases"), tienda, boton.boton, desde, hasta, salidas});
        // "0.123(0.100)": reloj y CPU de la fase.
        auto fase = [&f](const char* nombre) {
          const QString v = f.value(QLatin1String(nombre));
          const double reloj = v.section(QLatin1Char('('), 0, 0).toDouble();
          const double cpu = v.section(QLatin1Char('('), 1).chopped(1).toDouble();
          return QStringLiteral("%1 %2 s (%3)").arg(QLatin1String(nombre), Coma(reloj, 2), Coma(cpu, 2));
        };
        fases << QStringLiteral("`%1` %2: %3 filas leídas de %4; %5, %6, %7 con %8 pág., %9, %10")
                     .arg(boton.boton, periodo.nombre, c.value(QStringLiteral("leidas")),
                          c.value(QStringLiteral("tablas")).replace(QLatin1Char(','), QStringLiteral(", ")),
                          fase("preparar"), fase("maquetar"), fase("pintar"), f.value(QStringLiteral("paginas")),
                          fase("hoja"))
                     .arg(fase("csv"));
      }
    }
  }
  Escribir(QStringLiteral("\nCarga al acabar: %1.\n").arg(CargaDelSistema()));
  if (!fases.isEmpty())
    Escribir(QStringLiteral("\nFases de las salidas dentro de un proceso, reloj y (CPU):\n- ") +
             fases.join(QStringLiteral("\n- ")) + QLatin1Char('\n'));
  Escribir(
      QStringLiteral(
          "\nObjetivos: constructor < %1× su límite; PDF del mes < %2 s; hoja y CSV del año < %3 s y < %4 MB.\n")
          .arg(Coma(kRazonMaxima, 1), Coma(kObjetivoPdfMes, 0), Coma(kObjetivoAnio, 0), Coma(kObjetivoMemoria, 0)));
  if (incumplidos.isEmpty())
    Escribir(QStringLiteral("Todos cumplidos.\n"));
  else
    Escribir(QStringLiteral("No cumplidos:\n- ") + incumplidos.join(QStringLiteral("\n- ")) + QLatin1Char('\n'));
  if (errores) return 1;
  return incumplidos.isEmpty() ? 0 : 2;
}
