// Medición de los informes de caja sobre un año de ventas generado.
//
// Genera (o toma, con --tienda) una tienda de demostración de un año a 600
// ventas al día y pasa cada informe de caja sobre su último mes completo y
// sobre el año entero: mediana de varias repeticiones y memoria máxima. Cada
// informe y cada intervalo se mide en un proceso hijo, para que su memoria
// máxima sea sólo suya.
//
//   bench_caja [--dias N] [--ventas-dia N] [--repeticiones N] [--hoy AAAA-MM-DD] [--tienda AJUSTES]
//              [--guardar CARPETA]

#include "demo/Demo.h"
#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/sistema/Notificador.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "startup/Arranque.h"

#include "Medicion.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kObjetivoAnio = 1.5;     // segundos por informe sobre el año
constexpr double kObjetivoMemoria = 300;  // MB

void Escribir(const QString& texto) {
  std::fputs(texto.toLocal8Bit().constData(), stdout);
  std::fflush(stdout);
}

const QStringList kBotones = {QStringLiteral("cmdCierreCaja"), QStringLiteral("cmdResumenVentasXEmpleado"),
                              QStringLiteral("cmdVentasXFPago"), QStringLiteral("cmdCierreResumido"),
                              QStringLiteral("cmdRepDominicana")};

// Modo hijo: mide un botón sobre un intervalo y deja "filas mediana mínimo máximo MB".
int Medir(const QString& ficheroAjustes, const QString& nombre, const QDate& desde, const QDate& hasta,
          int repeticiones) {
  const registro::BotonInforme* boton = registro::BuscarBoton(nombre);
  if (!boton) return 1;
  ajustes::AlmacenAjustes almacen(ficheroAjustes);
  sistema::RelojSistema reloj;
  sistema::NotificadorRegistro notificador;
  AjustesTerminal at;
  arranque::Entorno entorno;
  entorno.reloj = &reloj;
  entorno.buscarActualizaciones = false;
  arranque::Arrancar(at, almacen, entorno);
  SeleccionInforme seleccion;
  seleccion.FechaDesde = desde;
  seleccion.FechaHasta = hasta;
  seleccion.EmpleadoElegido = 1;  // la encargada, la que más vende
  informes::Contexto ctx{at, seleccion, notificador, reloj};
  std::vector<double> tiempos;
  for (int i = 0; i < repeticiones; ++i) {
    QElapsedTimer t;
    t.start();
    // El constructor solo: el cambio de año cerrado no entra en lo medido.
    const registro::Ejecucion e = registro::EjecutarConstructor(*boton, ctx);
    tiempos.push_back(static_cast<double>(t.nsecsElapsed()) / 1e9);
    if (e.resultado == registro::Resultado::Error) {
      Escribir(QStringLiteral("ERROR %1\n").arg(e.error));
      return 1;
    }
  }
  datos::Consulta q = at.ConexionInformes->preparar(QStringLiteral("SELECT count(*) FROM informes"));
  q.ejecutar();
  const qint64 filas = q.siguiente() ? q.valor(0).toLongLong() : 0;
  std::sort(tiempos.begin(), tiempos.end());
  Escribir(QStringLiteral("%1 %2 %3 %4 %5\n")
               .arg(filas)
               .arg(tiempos[tiempos.size() / 2], 0, 'f', 3)
               .arg(tiempos.front(), 0, 'f', 3)
               .arg(tiempos.back(), 0, 'f', 3)
               .arg(medicion::MemoriaMaximaMb(), 0, 'f', 1));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (const auto hecho = medicion::GenerarTiendaSiEsHijo(args)) return *hecho;
  if (args.size() == 7 && args.at(1) == QLatin1String("--medir"))
    return Medir(args.at(2), args.at(3), QDate::fromString(args.at(4), Qt::ISODate),
                 QDate::fromString(args.at(5), Qt::ISODate), args.at(6).toInt());

  demo::OpcionesDemo o;
  o.dias = 365;
  o.ventasDia = 600;
  int repeticiones = 3;
  QString tienda, guardar;
  for (int i = 1; i + 1 < args.size(); i += 2) {
    const QString& a = args.at(i);
    const QString& v = args.at(i + 1);
    if (a == QLatin1String("--dias"))
      o.dias = v.toInt();
    else if (a == QLatin1String("--ventas-dia"))
      o.ventasDia = v.toInt();
    else if (a == QLatin1String("--repeticiones"))
      repeticiones = std::max(1, v.toInt());
    else if (a == QLatin1String("--hoy"))
      o.hoy = QDate::fromString(v, Qt::ISODate);
    else if (a == QLatin1String("--tienda"))
      tienda = v;
    else if (a == QLatin1String("--guardar"))
      guardar = v;
    else {
      Escribir(QStringLiteral("Opción desconocida: %1\n").arg(a));
      return 1;
    }
  }
  if (!o.hoy.isValid()) o.hoy = QDate::currentDate();
  if (o.dias < 1 || o.ventasDia < 1) {
    Escribir(QStringLiteral("Valores no válidos.\n"));
    return 1;
  }

  QTemporaryDir temporal;
  if (tienda.isEmpty()) {
    const QString destino = guardar.isEmpty() ? temporal.path() : guardar;
    Escribir(QStringLiteral("Generando %1 días a %2 ventas al día…\n").arg(o.dias).arg(o.ventasDia));
    QProcess hijo;
    hijo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    hijo.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--generar"), destino, QString::number(o.dias),
                                                         QString::number(o.ventasDia), o.hoy.toString(Qt::ISODate)});
    if (!hijo.waitForFinished(-1) || hijo.exitCode() != 0) {
      Escribir(QStringLiteral("La generación falló.\n"));
      return 1;
    }
    const QStringList c = QString::fromLocal8Bit(hijo.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
    Escribir(QStringLiteral("%1 ventas, %2 líneas\n\n").arg(c.value(0).section('=', 1), c.value(1).section('=', 1)));
    tienda = QDir(destino).filePath(QStringLiteral("ajustes.ini"));
  }

  // El último mes completo y el año hasta ayer, los dos en la base en vivo.
  const QDate ayer = o.hoy.addDays(-1);
  const QDate finMes = QDate(o.hoy.year(), o.hoy.month(), 1).addDays(-1);
  const QDate inicioMes(finMes.year(), finMes.month(), 1);
  const QDate inicioAnio = ayer.addDays(1 - o.dias);
  struct Intervalo {
    QString nombre;
    QDate desde, hasta;
  };
  const std::vector<Intervalo> intervalos = {{QStringLiteral("mes"), inicioMes, finMes},
                                             {QStringLiteral("año"), inicioAnio, ayer}};
  Escribir(QStringLiteral("Informes de caja, %1 repeticiones (mediana; el cierre de caja es el de un empleado)\n")
               .arg(repeticiones));
  Escribir(QStringLiteral("%1 %2 %3 %4 %5 %6  %7\n")
               .arg(QStringLiteral("Botón"), -26)
               .arg(QStringLiteral("Días"), 5)
               .arg(QStringLiteral("Filas"), 8)
               .arg(QStringLiteral("Mediana"), 9)
               .arg(QStringLiteral("Máximo"), 9)
               .arg(QStringLiteral("RSS máx"), 9)
               .arg(QStringLiteral("Objetivo año < 1,5 s y < 300 MB")));
  bool todos = true;
  for (const QString& boton : kBotones) {
    for (const Intervalo& i : intervalos) {
      QProcess hijo;
      hijo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
      hijo.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--medir"), tienda, boton, i.desde.toString(Qt::ISODate),
                  i.hasta.toString(Qt::ISODate), QString::number(repeticiones)});
      hijo.waitForFinished(-1);
      const QStringList c = QString::fromLocal8Bit(hijo.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
      if (hijo.exitCode() != 0 || c.size() < 5) {
        Escribir(QStringLiteral("%1 %2  ERROR %3\n").arg(boton, -26).arg(i.nombre, 5).arg(c.join(QLatin1Char(' '))));
        todos = false;
        continue;
      }
      const double mediana = c.at(1).toDouble(), memoria = c.at(4).toDouble();
      const bool bien = i.nombre != QStringLiteral("año") || (mediana < kObjetivoAnio && memoria < kObjetivoMemoria);
      todos = todos && bien;
      Escribir(QStringLiteral("%1 %2 %3 %4 %5 %6  %7\n")
                   .arg(boton, -26)
                   .arg(i.desde.daysTo(i.hasta) + 1, 5)
                   .arg(c.at(0), 8)
                   .arg(c.at(1) + QStringLiteral(" s"), 9)
                   .arg(c.at(3) + QStringLiteral(" s"), 9)
                   .arg(c.at(4) + QStringLiteral(" MB"), 9)
                   .arg(i.nombre == QStringLiteral("año") ? (bien ? QStringLiteral("sí") : QStringLiteral("NO"))
                                                          : QString()));
    }
  }
  return todos ? 0 : 2;
}
