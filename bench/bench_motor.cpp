// Medición del motor de informes: un listado de 10.000 filas (el de
// productos, con su plantilla real, agrupado en familias) escrito en PDF y en
// hoja de cálculo. Cada salida se mide en su propio proceso hijo, para que la
// memoria máxima de una no se sume a la de la otra.
//
//   bench_motor [--filas N] [--repeticiones N]

#include "builders/Informes.h"
#include "platform/datos/Datos.h"
#include "platform/datos/Esquemas.h"
#include "platform/motor/Motor.h"

#include "Medicion.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kObjetivoPdf = 1500;     // ms
constexpr double kObjetivoXlsx = 1000;    // ms
constexpr double kObjetivoMemoria = 300;  // MB

using medicion::MemoriaMaximaMb;

void Escribir(const QString& t) {
  std::fputs(t.toLocal8Bit().constData(), stdout);
  std::fflush(stdout);
}

// Una tabla Informes como la deja el listado de productos: nombres,
// descripciones, precios e impuestos, existencias y 60 familias.
void LlenarInformes(const QString& ruta, int filas) {
  datos::FuenteDatos fuente =
      datos::FuenteDatos::interpretar(QStringLiteral("Informes"), QStringLiteral("sqlite:") + ruta, {});
  datos::OpcionesApertura o;
  o.crearSiFalta = true;
  o.borrador = true;
  auto c = datos::Conexion::abrir(fuente, o);
  datos::CrearEsquemaInformes(*c);
  informes::EscritorInformes w(*c);
  w.vaciar();
  for (int i = 0; i < filas; ++i) {
    w.nuevaFila();
    w.poner(informes::Col::Texto2, QStringLiteral("Artículo de prueba número %1").arg(i));
    w.poner(informes::Col::Texto3,
            i % 3 == 0 ? QVariant(QStringLiteral("Descripción larga del artículo %1").arg(i)) : QVariant());
    w.poner(informes::Col::Texto4, QString::number(1000 + i));
    w.poner(informes::Col::Texto5, i % 2 ? QStringLiteral("Barra") : QStringLiteral("Cocina"));
    w.poner(informes::Col::Numerico1, 1.5 + (i % 97) * 0.35);
    w.poner(informes::Col::Numerico2, i % 5 ? 10.0 : 21.0);
    w.poner(informes::Col::Numerico3, 100.0 + i % 1000);
    w.poner(informes::Col::Numerico4, 90.0 + i % 900);
    w.poner(informes::Col::Numerico5, 10.0 + i % 100);
    w.poner(informes::Col::Numerico21, static_cast<double>(i % 7));
    w.poner(informes::Col::Texto6, QStringLiteral("Bar Restaurante La Galerna"));
    w.poner(informes::Col::Texto7, QStringLiteral("Calle del Muelle, 7 - Laredo"));
    w.poner(informes::Col::Texto8, QStringLiteral("Familia %1").arg(i % 60, 2, 10, QLatin1Char('0')));
    w.guardarFila();
  }
  w.terminar();
}

// Proceso hijo: mide una salida y escribe "mediana_ms memoria_mb paginas".
int Medir(const QString& que, const QString& base, const QString& salida, int repeticiones) {
  datos::FuenteDatos fuente =
      datos::FuenteDatos::interpretar(QStringLiteral("Informes"), QStringLiteral("sqlite:") + base, {});
  auto c = datos::Conexion::abrir(fuente, {});
  std::vector<double> tiempos;
  std::vector<std::vector<double>> fases;  // leer, maquetar, escribir
  int paginas = 0;
  for (int r = 0; r < repeticiones; ++r) {
    QElapsedTimer t;
    t.start();
    motor::Entorno e;
    const motor::InformePreparado p(*c, QStringLiteral("productos.rpt"), QString(), e);
    const double leer = static_cast<double>(t.nsecsElapsed()) / 1e6;
    double maquetar = 0;
    if (que == QLatin1String("pdf")) {
      const motor::Documento d = motor::Maquetar(p.informe());
      maquetar = static_cast<double>(t.nsecsElapsed()) / 1e6 - leer;
      paginas = static_cast<int>(d.paginas.size());
      motor::GuardarPdf(d, salida);
    } else {
      motor::GuardarXlsx(p.informe(), salida);
    }
    const double total = static_cast<double>(t.nsecsElapsed()) / 1e6;
    tiempos.push_back(total);
    fases.push_back({leer, maquetar, total - leer - maquetar});
  }
  std::vector<double> orden = tiempos;
  std::sort(orden.begin(), orden.end());
  const double mediana = orden[orden.size() / 2];
  const auto& f = fases[static_cast<std::size_t>(std::find(tiempos.begin(), tiempos.end(), mediana) - tiempos.begin())];
  Escribir(QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(mediana)
               .arg(MemoriaMaximaMb())
               .arg(paginas)
               .arg(f[0])
               .arg(f[1])
               .arg(f[2]));
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList a = app.arguments();
  auto opcion = [&](const QString& n, int porDefecto) {
    const int i = a.indexOf(n);
    return i >= 0 && i + 1 < a.size() ? a.at(i + 1).toInt() : porDefecto;
  };
  if (a.size() >= 5 && a.at(1) == QLatin1String("--hijo"))
    return Medir(a.at(2), a.at(3), a.at(4), a.size() > 5 ? a.at(5).toInt() : 3);

  const int filas = opcion(QStringLiteral("--filas"), 10000);
  const int repeticiones = opcion(QStringLiteral("--repeticiones"), 5);
  QTemporaryDir dir;
  const QString base = dir.filePath(QStringLiteral("informes.db"));
  Escribir(QStringLiteral("Preparando %1 filas de Informes...\n").arg(filas));
  LlenarInformes(base, filas);

  Escribir(QStringLiteral("\n%1 %2 %3 %4 %5\n")
               .arg(QStringLiteral("Salida"), -6)
               .arg(QStringLiteral("Mediana"), 10)
               .arg(QStringLiteral("Memoria"), 10)
               .arg(QStringLiteral("Tamaño"), 10)
               .arg(QStringLiteral("Objetivo")));
  bool todoBien = true;
  for (const QString& que : {QStringLiteral("pdf"), QStringLiteral("xlsx")}) {
    const QString salida = dir.filePath(QStringLiteral("listado.") + que);
    QProcess hijo;
    hijo.start(app.applicationFilePath(), {QStringLiteral("--hijo"), que, base, salida, QString::number(repeticiones)});
    hijo.waitForFinished(-1);
    const QStringList r = QString::fromLocal8Bit(hijo.readAllStandardOutput()).split(QLatin1Char(' '));
    if (hijo.exitCode() != 0 || r.size() < 6) {
      Escribir(QStringLiteral("%1 falló: %2\n").arg(que, QString::fromLocal8Bit(hijo.readAllStandardError())));
      todoBien = false;
      continue;
    }
    const double ms = r[0].toDouble(), mb = r[1].toDouble();
    const double objetivo = que == QLatin1String("pdf") ? kObjetivoPdf : kObjetivoXlsx;
    const bool bien = ms < objetivo && mb < kObjetivoMemoria;
    todoBien = todoBien && bien;
    const QString extra = que == QLatin1String("pdf")
                              ? QStringLiteral(", %1 páginas (leer %2 ms, maquetar %3 ms, pintar %4 ms)")
                                    .arg(r[2])
                                    .arg(r[3].toDouble(), 0, 'f', 0)
                                    .arg(r[4].toDouble(), 0, 'f', 0)
                                    .arg(r[5].toDouble(), 0, 'f', 0)
                              : QStringLiteral(" (leer %1 ms, escribir %2 ms)")
                                    .arg(r[3].toDouble(), 0, 'f', 0)
                                    .arg(r[5].toDouble(), 0, 'f', 0);
    Escribir(QStringLiteral("%1 %2 %3 %4 < %5 ms y < %6 MB %7%8\n")
                 .arg(que, -6)
                 .arg(QStringLiteral("%1 ms").arg(ms, 0, 'f', 0), 10)
                 .arg(QStringLiteral("%1 MB").arg(mb, 0, 'f', 0), 10)
                 .arg(QStringLiteral("%1 kB").arg(QFileInfo(salida).size() / 1024), 10)
                 .arg(objetivo)
                 .arg(kObjetivoMemoria)
                 .arg(bien ? QStringLiteral("bien") : QStringLiteral("NO"))
                 .arg(extra));
  }
  return todoBien ? 0 : 1;
}
