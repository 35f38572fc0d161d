// Captura del diálogo Buscar para la documentación: abre la base de ventas
// de una tienda (la de `cronicas demo`), teclea un comienzo de nombre en el
// teclado en pantalla, busca y retrata la pantalla entera. Bajo un servidor X
// sin gestor de ventanas, como muchos terminales de tienda:
//
//   xvfb-run -a -s "-screen 0 1024x768x24" build/tools/captura_buscar tienda/ajustes.ini docs/capturas/buscar.png CA

#include "labels/Buscar.h"
#include "platform/ajustes/AlmacenAjustes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

void Esperar(int ms) {
  QEventLoop bucle;
  QTimer::singleShot(ms, &bucle, &QEventLoop::quit);
  bucle.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "uso: captura_buscar AJUSTES.ini SALIDA.png [TEXTO]\n");
    return 2;
  }
  try {
    const ajustes::AlmacenAjustes almacen(QString::fromLocal8Bit(argv[1]));
    const auto ventas = datos::Conexion::abrir(almacen.fuente(QStringLiteral("hosteleria")));
    QString codigo;
    etiquetas::Buscar dialogo(*ventas, codigo);
    dialogo.modoBusqueda = QStringLiteral("Pr");
    dialogo.almacen = &almacen;
    dialogo.pantalla = QGuiApplication::primaryScreen()->geometry();
    dialogo.show();
    Esperar(200);
    const QString texto = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    for (const QChar c : texto)
      if (auto* b = dialogo.findChild<QAbstractButton*>(QStringLiteral("bt_letra_%1").arg(c.unicode()))) b->click();
    dialogo.BuscarAhora();
    Esperar(600);
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2]))) {
      std::fprintf(stderr, "No se pudo guardar %s\n", argv[2]);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
