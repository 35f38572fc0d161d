#include <QDir>
#include <QGuiApplication>
#ifdef CRONICAS_PRUEBAS_VENTANAS
#include <QApplication>
#endif
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Sin configuración regional de la máquina: los informes salen con la
  // española por defecto, la que esperan las pruebas, también en los
  // programas que las pruebas arrancan.
  qputenv("LC_ALL", "C.UTF-8");
  // Las pruebas nunca tocan los ajustes ni los datos del usuario.
  QTemporaryDir casa;
  qputenv("XDG_CONFIG_HOME", QDir(casa.path()).filePath(QStringLiteral("config")).toUtf8());
  qputenv("XDG_DATA_HOME", QDir(casa.path()).filePath(QStringLiteral("datos")).toUtf8());
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    QDir(casa.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(QDir(casa.path()).filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QDir(casa.path()).filePath(QStringLiteral("run")).toUtf8());
  }
#ifdef CRONICAS_PRUEBAS_VENTANAS
  QApplication aplicacion(argc, argv);
#else
  QGuiApplication aplicacion(argc, argv);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
