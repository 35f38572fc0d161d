#include "app/LineaComandos.h"
#include "charts/DibujoGrafico.h"
#include "platform/sistema/Sistema.h"
#include "reports_ui/ArranqueVentana.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace {
// Los de la salida estándar y la de errores, también en Windows.
constexpr int kDescriptorSalida = 1;
constexpr int kDescriptorErrores = 2;

void Nombrar() {
  QCoreApplication::setApplicationName(QStringLiteral("cronicas"));
  QCoreApplication::setOrganizationName(QStringLiteral("velarix"));
  QCoreApplication::setApplicationVersion(QStringLiteral(CRONICAS_VERSION));
}
}  // namespace

int main(int argc, char* argv[]) {
  QStringList argumentos;
  for (int i = 1; i < argc; ++i) argumentos << QString::fromLocal8Bit(argv[i]);
  const auto ventana = app::FicheroAjustesDeLaVentana(argumentos);
  if (!ventana) {
    // Los gráficos se dibujan con controles de ventana (QApplication); en
    // relieve, además, con OpenGL, que sólo hay con una pantalla.
    const bool grafico = argumentos.contains(QStringLiteral("grafico"));
    const bool relieve = grafico && argumentos.contains(QStringLiteral("--3d")) && sistema::HayPantalla();
    // Las órdenes sin ventana pintan PDF, que necesita las fuentes de la parte
    // gráfica de Qt pero no una pantalla: así corren también en un servidor.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !relieve) qputenv("QT_QPA_PLATFORM", "offscreen");
    sistema::PrepararCarpetaDeEjecucion();
    std::unique_ptr<QGuiApplication> aplicacion =
        grafico ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QGuiApplication>(argc, argv);
    Nombrar();
    // Sin búfer: el progreso de una orden larga se ve según llega, también
    // cuando la salida va a un fichero o a otro programa.
    QFile salida, errores;
    salida.open(kDescriptorSalida, QIODevice::WriteOnly | QIODevice::Unbuffered);
    errores.open(kDescriptorErrores, QIODevice::WriteOnly | QIODevice::Unbuffered);
    const sistema::RelojSistema reloj;
    app::Consola consola{salida, errores, reloj};
    consola.pintarGrafico = [](const graficos::Serie& serie, const graficos::Serie* anterior, int tipo,
                               const std::optional<QColor>& color, QSize tamano) {
      return graficos::PintarGrafico(serie, {tipo, color, anterior}, tamano);
    };
    return app::EjecutarLineaComandos(QGuiApplication::arguments().mid(1), consola);
  }
  if (!sistema::HayPantalla()) {
    // Sin esto Qt aborta con un mensaje de X que no dice qué hacer.
    std::fputs(
        "No hay pantalla a la que abrir la ventana de informes (DISPLAY y WAYLAND_DISPLAY vacías).\n"
        "Los informes se pueden sacar sin ventana: cronicas informe --help.\n",
        stderr);
    return 1;
  }
  sistema::PrepararCarpetaDeEjecucion();
  QApplication aplicacion(argc, argv);
  Nombrar();
  // Fusion respeta las paletas de colores del puesto en todos los sistemas.
  QApplication::setStyle(QStringLiteral("Fusion"));
  return ventana::EjecutarVentana(*ventana);
}
