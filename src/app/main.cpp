#include "app/LineaComandos.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
  QCoreApplication aplicacion(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("cronicas"));
  QCoreApplication::setOrganizationName(QStringLiteral("velarix"));
  QCoreApplication::setApplicationVersion(QStringLiteral(CRONICAS_VERSION));
  return app::EjecutarLineaComandos(QCoreApplication::arguments().mid(1));
}
