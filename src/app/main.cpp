#include "app/LineaComandos.h"
#include "platform/sistema/Sistema.h"

#include <QGuiApplication>

int main(int argc, char* argv[]) {
  // Las órdenes sin ventana pintan PDF, que necesita las fuentes de la parte
  // gráfica de Qt pero no una pantalla: así corren también en un servidor.
  if (argc > 1 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  sistema::PrepararCarpetaDeEjecucion();
  QGuiApplication aplicacion(argc, argv);
  QGuiApplication::setApplicationName(QStringLiteral("cronicas"));
  QGuiApplication::setOrganizationName(QStringLiteral("velarix"));
  QGuiApplication::setApplicationVersion(QStringLiteral(CRONICAS_VERSION));
  return app::EjecutarLineaComandos(QGuiApplication::arguments().mid(1));
}
