// Medición de la tienda de demostración y de los listados de datos maestros.
//
// Genera en una carpeta temporal una tienda de un año (600 ventas al día por
// defecto) y otra igual con 5.000 artículos, mide cuánto tarda cada una y
// después pasa varias veces cada botón de datos maestros sobre la grande:
// mediana por listado, memoria máxima del proceso y lo que crece con cada
// listado, con los objetivos al lado. Cada tienda se genera en un proceso
// hijo: así la memoria máxima de los listados no arrastra la de generar.
//
// Con --postgresql URI (un servidor con permiso para crear bases) los mismos
// listados se miden también sobre PostgreSQL, en una base que se crea con los
// datos maestros de la tienda grande y se borra al final.
//
//   bench_maestros [--dias N] [--ventas-dia N] [--productos N] [--repeticiones N] [--hoy AAAA-MM-DD]
//                  [--postgresql postgresql://usuario@servidor:puerto/base]

#include "builders/Informes.h"
#include "demo/Demo.h"
#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/datos/Datos.h"
#include "platform/datos/Esquemas.h"
#include "platform/sistema/Notificador.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "startup/Arranque.h"

#include <QCoreApplication>
#include "Medicion.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <vector>

namespace {

constexpr double kObjetivoGeneracion = 30.0;  // segundos por tienda de un año
constexpr double kObjetivoListado = 100.0;    // milisegundos por listado

using medicion::MemoriaMaximaMb;

void Escribir(const QString& texto) {
  std::fputs(texto.toLocal8Bit().constData(), stdout);
  std::fflush(stdout);
}

struct Parametros {
  QString generar;  // modo hijo: generar la tienda en esta carpeta y salir
  int dias = 365;
  int ventasDia = 600;
  int productos = 5000;
  int repeticiones = 7;
  QDate hoy = QDate::currentDate();
  QString postgresql;  // servidor donde medir también los listados
};

bool LeerParametros(const QStringList& args, Parametros& p) {
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args.at(i);
    if (i + 1 >= args.size()) return false;
    const QString v = args.at(++i);
    bool ok = true;
    if (a == QLatin1String("--dias"))
      p.dias = v.toInt(&ok);
    else if (a == QLatin1String("--ventas-dia"))
      p.ventasDia = v.toInt(&ok);
    else if (a == QLatin1String("--productos"))
      p.productos = v.toInt(&ok);
    else if (a == QLatin1String("--repeticiones"))
      p.repeticiones = v.toInt(&ok);
    else if (a == QLatin1String("--generar"))
      p.generar = v;
    else if (a == QLatin1String("--postgresql"))
      p.postgresql = v;
    else if (a == QLatin1String("--hoy"))
      ok = (p.hoy = QDate::fromString(v, QStringLiteral("yyyy-MM-dd"))).isValid();
    else
      return false;
    if (!ok) return false;
  }
  return p.dias > 0 && p.ventasDia > 0 && p.productos >= 0 && p.repeticiones > 0;
}

struct Generada {
  qint64 facturas = 0;
  qint64 lineas = 0;
  double segundos = 0;
  double memoriaMb = 0;
  QString ajustes;
  QString error;
};

// Modo hijo: genera, mide y deja una línea "facturas lineas segundos MB ajustes".
int GenerarEnEsteProceso(const Parametros& p) {
  demo::OpcionesDemo o;
  o.destino = p.generar;
  o.dias = p.dias;
  o.ventasDia = p.ventasDia;
  o.productos = p.productos;
  o.hoy = p.hoy;
  sistema::RelojSistema reloj;
  QElapsedTimer t;
  t.start();
  const demo::ResultadoDemo r = demo::GenerarDemo(o, reloj);
  const double segundos = static_cast<double>(t.nsecsElapsed()) / 1e9;
  Escribir(QStringLiteral("%1 %2 %3 %4 %5\n")
               .arg(r.facturas)
               .arg(r.lineas)
               .arg(segundos, 0, 'f', 3)
               .arg(MemoriaMaximaMb(), 0, 'f', 1)
               .arg(r.ficheroAjustes));
  return 0;
}

Generada Generar(const QString& carpeta, const Parametros& p, int productos) {
  Generada g;
  QProcess hijo;
  hijo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  hijo.start(QCoreApplication::applicationFilePath(),
             {QStringLiteral("--generar"), carpeta, QStringLiteral("--dias"), QString::number(p.dias),
              QStringLiteral("--ventas-dia"), QString::number(p.ventasDia), QStringLiteral("--productos"),
              QString::number(productos), QStringLiteral("--hoy"), p.hoy.toString(QStringLiteral("yyyy-MM-dd"))});
  if (!hijo.waitForFinished(-1) || hijo.exitCode() != 0) {
    g.error = QStringLiteral("la generación falló: ") + QString::fromLocal8Bit(hijo.readAllStandardOutput()).trimmed();
    return g;
  }
  const QStringList campos = QString::fromLocal8Bit(hijo.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
  if (campos.size() < 5) {
    g.error = QStringLiteral("respuesta inesperada de la generación");
    return g;
  }
  g.facturas = campos.at(0).toLongLong();
  g.lineas = campos.at(1).toLongLong();
  g.segundos = campos.at(2).toDouble();
  g.memoriaMb = campos.at(3).toDouble();
  g.ajustes = campos.mid(4).join(QLatin1Char(' '));
  return g;
}

QString Cumple(bool bien) {
  return bien ? QStringLiteral("sí") : QStringLiteral("NO");
}

qint64 FilasDeInformes(const datos::Conexion& informes) {
  datos::Consulta q = informes.preparar(QStringLiteral("SELECT count(*) FROM informes"));
  q.ejecutar();
  return q.siguiente() ? q.valor(0).toLongLong() : 0;
}

// Pasa varias veces cada botón de datos maestros y escribe su tabla. Devuelve
// si todos cumplen el objetivo.
bool MedirListados(informes::Contexto& ctx, const QString& motor, const Parametros& p) {
  const AjustesTerminal& at = ctx.ajustes;
  Escribir(QStringLiteral("Listados de datos maestros en %3 sobre la tienda de %1 artículos, %2 repeticiones\n")
               .arg(p.productos)
               .arg(p.repeticiones)
               .arg(motor));
  Escribir(QStringLiteral("%1 %2 %3 %4 %5 %6 %7  %8\n")
               .arg(QStringLiteral("Botón"), -26)
               .arg(QStringLiteral("Filas"), 7)
               .arg(QStringLiteral("Mediana"), 10)
               .arg(QStringLiteral("Mínimo"), 10)
               .arg(QStringLiteral("Máximo"), 10)
               .arg(QStringLiteral("RSS máx"), 10)
               .arg(QStringLiteral("Crece"), 9)
               .arg(QStringLiteral("Objetivo < 100 ms")));
  bool todosBien = true;
  for (const registro::BotonInforme& boton : registro::Botones()) {
    if (boton.dialogo != registro::Dialogo::Ninguno) continue;  // los de fechas tienen su medición
    const double antes = MemoriaMaximaMb();
    std::vector<double> tiempos;
    QString error;
    for (int i = 0; i < p.repeticiones; ++i) {
      QElapsedTimer t;
      t.start();
      const registro::Ejecucion e = registro::EjecutarConstructor(boton, ctx);
      tiempos.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      if (e.resultado == registro::Resultado::Error) error = e.error;
    }
    std::sort(tiempos.begin(), tiempos.end());
    const double mediana = tiempos[tiempos.size() / 2];
    const double despues = MemoriaMaximaMb();
    const bool bien = error.isEmpty() && mediana < kObjetivoListado;
    todosBien = todosBien && bien;
    Escribir(QStringLiteral("%1 %2 %3 %4 %5 %6 %7  %8\n")
                 .arg(boton.boton, -26)
                 .arg(FilasDeInformes(*at.ConexionInformes), 7)
                 .arg(QStringLiteral("%1 ms").arg(mediana, 0, 'f', 1), 10)
                 .arg(QStringLiteral("%1 ms").arg(tiempos.front(), 0, 'f', 1), 10)
                 .arg(QStringLiteral("%1 ms").arg(tiempos.back(), 0, 'f', 1), 10)
                 .arg(QStringLiteral("%1 MB").arg(despues, 0, 'f', 1), 10)
                 .arg(QStringLiteral("%1 MB").arg(despues - antes, 0, 'f', 1), 9)
                 .arg(error.isEmpty() ? Cumple(bien) : QStringLiteral("ERROR: ") + error));
  }
  Escribir(QStringLiteral("\n"));
  return todosBien;
}

// Los mismos listados sobre PostgreSQL: base nueva con los datos maestros de
// la tienda grande (los listados no leen ventas) que se borra al terminar.
bool MedirEnPostgresql(const Parametros& p, const sistema::Reloj& reloj) {
  const datos::FuenteDatos servidor = datos::FuenteDatos::interpretar(QStringLiteral("servidor"), p.postgresql);
  const QString base = QStringLiteral("cronicas_bench_%1").arg(QCoreApplication::applicationPid());
  auto admin = datos::Conexion::abrir(servidor);
  admin->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(base));
  admin->ejecutar(QStringLiteral("CREATE DATABASE %1").arg(base));
  bool bien = false;
  try {
    datos::FuenteDatos fuente = servidor;
    fuente.base = base;
    fuente.nombre = QStringLiteral("hosteleria");
    AjustesTerminal at;
    at.ConexionVentas = datos::Conexion::abrir(fuente);
    datos::CrearEsquemaVentas(*at.ConexionVentas);
    fuente.nombre = QStringLiteral("Informes");
    at.ConexionInformes = datos::Conexion::abrir(fuente);
    datos::CrearEsquemaInformes(*at.ConexionInformes);
    demo::OpcionesDemo o;
    o.productos = p.productos;
    o.hoy = p.hoy;
    demo::LlenarMaestros(*at.ConexionVentas, o);
    at.ConexionVentas->ejecutar(QStringLiteral("ANALYZE"));
    at.IdTerminal = demo::IdentificadorDemo();
    SeleccionInforme seleccion;
    sistema::NotificadorRegistro notificador;
    informes::Contexto ctx{at, seleccion, notificador, reloj};
    bien = MedirListados(ctx, QStringLiteral("PostgreSQL"), p);
  } catch (...) {
    admin->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(base));
    throw;
  }
  admin->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(base));
  return bien;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication aplicacion(argc, argv);
  Parametros p;
  if (!LeerParametros(aplicacion.arguments(), p)) {
    Escribir(
        QStringLiteral("Uso: bench_maestros [--dias N] [--ventas-dia N] [--productos N] [--repeticiones N] "
                       "[--hoy AAAA-MM-DD] [--postgresql URI]\n"));
    return 1;
  }
  if (!p.generar.isEmpty()) {
    try {
      return GenerarEnEsteProceso(p);
    } catch (const datos::ErrorDatos& e) {
      Escribir(e.mensaje() + QLatin1Char('\n'));
    } catch (const ajustes::ErrorAjustes& e) {
      Escribir(e.mensaje() + QLatin1Char('\n'));
    }
    return 2;
  }
  QTemporaryDir carpeta;
  if (!carpeta.isValid()) {
    Escribir(QStringLiteral("No se puede crear la carpeta temporal.\n"));
    return 2;
  }

  try {
    Escribir(QStringLiteral("Tienda de demostración: %1 días hasta el %2, %3 ventas en un día normal\n\n")
                 .arg(p.dias)
                 .arg(p.hoy.addDays(-1).toString(QStringLiteral("dd/MM/yyyy")))
                 .arg(p.ventasDia));
    Escribir(QStringLiteral("%1 %2 %3 %4 %5 %6  %7\n")
                 .arg(QStringLiteral("Generación"), -24)
                 .arg(QStringLiteral("Artículos"), 10)
                 .arg(QStringLiteral("Ventas"), 10)
                 .arg(QStringLiteral("Líneas"), 10)
                 .arg(QStringLiteral("Segundos"), 9)
                 .arg(QStringLiteral("RSS máx"), 10)
                 .arg(QStringLiteral("Objetivo < 30 s")));
    const Generada natural = Generar(carpeta.filePath(QStringLiteral("carta")), p, 0);
    const Generada grande = Generar(carpeta.filePath(QStringLiteral("grande")), p, p.productos);
    for (const auto& [nombre, articulos, g] :
         {std::tuple{QStringLiteral("carta natural"), QStringLiteral("-"), &natural},
          std::tuple{QStringLiteral("con artículos generados"), QString::number(p.productos), &grande}}) {
      if (!g->error.isEmpty()) {
        Escribir(QStringLiteral("%1 %2\n").arg(nombre, -24).arg(g->error));
        return 2;
      }
      Escribir(QStringLiteral("%1 %2 %3 %4 %5 %6  %7\n")
                   .arg(nombre, -24)
                   .arg(articulos, 10)
                   .arg(g->facturas, 10)
                   .arg(g->lineas, 10)
                   .arg(g->segundos, 9, 'f', 2)
                   .arg(QStringLiteral("%1 MB").arg(g->memoriaMb, 0, 'f', 1), 10)
                   .arg(Cumple(g->segundos < kObjetivoGeneracion)));
    }
    Escribir(QStringLiteral("\n"));

    ajustes::AlmacenAjustes almacen(grande.ajustes);
    AjustesTerminal at;
    sistema::RelojSistema reloj;
    arranque::Entorno entorno;
    entorno.reloj = &reloj;
    entorno.buscarActualizaciones = false;
    arranque::Arrancar(at, almacen, entorno);
    SeleccionInforme seleccion;
    sistema::NotificadorRegistro notificador;
    informes::Contexto ctx{at, seleccion, notificador, reloj};

    bool todosBien = natural.segundos < kObjetivoGeneracion && grande.segundos < kObjetivoGeneracion;
    todosBien = MedirListados(ctx, QStringLiteral("SQLite"), p) && todosBien;
    if (!p.postgresql.isEmpty()) todosBien = MedirEnPostgresql(p, reloj) && todosBien;
    Escribir(QStringLiteral("\nMemoria máxima del proceso: %1 MB. %2\n")
                 .arg(MemoriaMaximaMb(), 0, 'f', 1)
                 .arg(todosBien ? QStringLiteral("Todos los objetivos se cumplen.")
                                : QStringLiteral("Hay objetivos sin cumplir.")));
    return todosBien ? 0 : 3;
  } catch (const datos::ErrorDatos& e) {
    Escribir(QStringLiteral("Error de datos: %1\n").arg(e.mensaje()));
  } catch (const ajustes::ErrorAjustes& e) {
    Escribir(QStringLiteral("Error de ajustes: %1\n").arg(e.mensaje()));
  }
  return 2;
}
