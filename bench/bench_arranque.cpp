// Medición del arranque con ventana: desde que el proceso empieza hasta que
// la ventana principal de la tienda de demostración está pintada.
//
// Cada arranque es un proceso hijo nuevo, como cuando el dueño abre el
// programa: mide en el hijo el tiempo hasta el primer pintado de la ventana
// (ajustes, conexiones, fila de opciones, colores, permisos, país) y en el
// padre el tiempo de reloj del proceso entero, que incluye cargar Qt.
//
//   bench_arranque [--repeticiones N] [--tienda AJUSTES] [--dias N]
//
// Sin pantalla corre en la plataforma offscreen de Qt; con DISPLAY, en la de
// la pantalla (xvfb-run para medir con X).

#include "demo/Demo.h"
#include "reports_ui/ArranqueVentana.h"

#include "Medicion.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kObjetivo = 1.0;  // segundos hasta ver la ventana

void Escribir(const QString& texto) {
  std::fputs(texto.toLocal8Bit().constData(), stdout);
  std::fflush(stdout);
}

// Avisa del primer pintado de la ventana.
class PrimerPintado : public QObject {
 public:
  explicit PrimerPintado(std::function<void()> hecho) : hecho_(std::move(hecho)) {}

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (evento->type() == QEvent::Paint && hecho_) {
      auto hecho = std::move(hecho_);
      hecho_ = nullptr;
      QTimer::singleShot(0, objeto, hecho);
    }
    return false;
  }

 private:
  std::function<void()> hecho_;
};

// Modo hijo: arranca la ventana y escribe "segundos MB".
int Medir(int argc, char* argv[], const QString& ajustes) {
  QElapsedTimer reloj;
  reloj.start();
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication aplicacion(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  ventana::OpcionesArranque opciones;
  opciones.buscarActualizaciones = false;
  const auto programa = ventana::PrepararPrograma(ajustes, std::move(opciones));
  if (!programa) return 1;
  double segundos = 0;
  PrimerPintado pintado([&] {
    segundos = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
    QApplication::quit();
  });
  programa->principal->installEventFilter(&pintado);
  programa->principal->showMaximized();
  QApplication::exec();
  Escribir(QStringLiteral("%1 %2\n").arg(segundos, 0, 'f', 4).arg(medicion::MemoriaMaximaMb(), 0, 'f', 1));
  return segundos > 0 ? 0 : 1;
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  if (args.size() == 2 && args[0] == QLatin1String("--medir")) return Medir(argc, argv, args[1]);

  int repeticiones = 7;
  int dias = 400;
  QString ajustes;
  for (int i = 0; i + 1 < args.size(); i += 2) {
    if (args[i] == QLatin1String("--repeticiones")) repeticiones = std::max(1, args[i + 1].toInt());
    if (args[i] == QLatin1String("--tienda")) ajustes = args[i + 1];
    if (args[i] == QLatin1String("--dias")) dias = std::max(1, args[i + 1].toInt());
  }

  QCoreApplication nucleo(argc, argv);
  QTemporaryDir carpeta;
  if (ajustes.isEmpty()) {
    Escribir(QStringLiteral("Generando la tienda de demostración (%1 días)...\n").arg(dias));
    demo::OpcionesDemo o;
    o.destino = carpeta.path();
    o.dias = dias;
    sistema::RelojSistema relojSistema;
    const demo::ResultadoDemo r = demo::GenerarDemo(o, relojSistema, {});
    ajustes = r.ficheroAjustes;
    Escribir(QStringLiteral("  %1 ventas, %2 líneas\n").arg(r.facturas).arg(r.lineas));
  }

  std::vector<double> hastaVentana, proceso, memoria;
  for (int i = 0; i < repeticiones; ++i) {
    QElapsedTimer t;
    t.start();
    QProcess hijo;
    hijo.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--medir"), ajustes});
    hijo.waitForFinished(60000);
    const double total = static_cast<double>(t.nsecsElapsed()) / 1e9;
    const QStringList partes = QString::fromLocal8Bit(hijo.readAllStandardOutput()).split(QLatin1Char(' '));
    if (hijo.exitCode() != 0 || partes.size() != 2) {
      Escribir(QStringLiteral("El arranque falló: %1\n").arg(QString::fromLocal8Bit(hijo.readAllStandardError())));
      return 1;
    }
    hastaVentana.push_back(partes[0].toDouble());
    memoria.push_back(partes[1].trimmed().toDouble());
    proceso.push_back(total);
  }
  const double ventana = Mediana(hastaVentana);
  Escribir(QStringLiteral("Arranque hasta la ventana pintada (mediana de %1, plataforma %2):\n")
               .arg(repeticiones)
               .arg(qEnvironmentVariableIsEmpty("DISPLAY") ? QStringLiteral("offscreen") : QStringLiteral("xcb")));
  Escribir(QStringLiteral("  dentro del proceso  %1 s (mín %2, máx %3)  objetivo < %4 s: %5\n")
               .arg(ventana, 0, 'f', 3)
               .arg(*std::min_element(hastaVentana.begin(), hastaVentana.end()), 0, 'f', 3)
               .arg(*std::max_element(hastaVentana.begin(), hastaVentana.end()), 0, 'f', 3)
               .arg(kObjetivo, 0, 'f', 1)
               .arg(ventana < kObjetivo ? QStringLiteral("cumplido") : QStringLiteral("NO cumplido")));
  Escribir(QStringLiteral("  proceso entero      %1 s (incluye cargar Qt y salir)\n").arg(Mediana(proceso), 0, 'f', 3));
  Escribir(QStringLiteral("  memoria máxima      %1 MB\n").arg(Mediana(memoria), 0, 'f', 1));
  return 0;
}
