// Capturas de la ventana para el README: la ventana principal, el diálogo de
// fechas, la elección de empleado y las vistas previas, tal como las ve el
// usuario que pulsa los botones. Se ejecuta bajo un servidor X sin pantalla:
//
//   xvfb-run -a -s "-screen 0 1024x768x24" build/tools/capturas tienda/ajustes.ini docs/capturas 1024x768
//
// Pulsa los botones por su nombre, contesta los diálogos como lo haría el
// usuario (el mes pasado completo, la primera empleada) y guarda cada ventana
// en PNG con el tamaño de pantalla pedido como sufijo.

#include "reports_ui/ArranqueVentana.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

QString gCarpeta;
QString gSufijo;

// Deja que la ventana termine de colocarse y pintarse.
void Esperar(int ms) {
  QEventLoop bucle;
  QTimer::singleShot(ms, &bucle, &QEventLoop::quit);
  bucle.exec();
}

void Guardar(QWidget* w, const QString& nombre) {
  Esperar(300);
  const QString ruta = QDir(gCarpeta).filePath(QStringLiteral("%1-%2.png").arg(nombre, gSufijo));
  if (!w->grab().save(ruta)) std::fprintf(stderr, "No se pudo guardar %s\n", qPrintable(ruta));
  std::printf("%s\n", qPrintable(ruta));
}

// Sin gestor de ventanas, maximizar no cambia el tamaño: se pone a mano.
void Maximizar(QWidget* w) {
  w->setGeometry(QApplication::primaryScreen()->availableGeometry());
  w->show();
}

void Pulsar(QWidget* raiz, const QString& nombre) {
  if (auto* b = raiz->findChild<QAbstractButton*>(nombre)) b->click();
}

// Contesta el próximo diálogo modal con ese nombre en cuanto aparezca.
void AlAparecer(const QString& nombre, std::function<void(QWidget*)> accion) {
  auto* reloj = new QTimer(qApp);
  QObject::connect(reloj, &QTimer::timeout, [reloj, nombre, accion] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || w->objectName() != nombre) return;
    reloj->stop();
    reloj->deleteLater();
    // Deja que el diálogo termine de pintarse antes de retratarlo.
    QTimer::singleShot(300, w, [w, accion] { accion(w); });
  });
  reloj->start(20);
}

void MesPasado(QWidget* fechas, const QDate& hoy) {
  const QDate desde = QDate(hoy.year(), hoy.month(), 1).addMonths(-1);
  fechas->findChild<QCalendarWidget*>(QStringLiteral("mv_FechaInicio"))->setSelectedDate(desde);
  fechas->findChild<QCalendarWidget*>(QStringLiteral("mv_FechaFinal"))->setSelectedDate(desde.addMonths(1).addDays(-1));
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  const QStringList args = QApplication::arguments();
  if (args.size() != 4) {
    std::fprintf(stderr, "Uso: capturas AJUSTES CARPETA ANCHOxALTO\n");
    return 1;
  }
  gCarpeta = args[2];
  gSufijo = args[3];
  QDir().mkpath(gCarpeta);
  ventana::OpcionesArranque opciones;
  opciones.buscarActualizaciones = false;
  const auto programa = ventana::PrepararPrograma(args[1], std::move(opciones));
  if (!programa) return 1;
  frmPrincipalCronicas* f = programa->principal.get();
  f->showMaximized();
  const QDate hoy = QDate::currentDate();

  // La vista previa que dejó el último botón, a pantalla completa.
  const auto guardarVista = [f](const QString& nombre) {
    if (VistaPrevia* v = f->ultimaVista()) {
      Maximizar(v);
      Guardar(v, nombre);
      v->close();
    }
  };

  QTimer::singleShot(500, f, [&] {
    Guardar(f, QStringLiteral("ventana"));

    AlAparecer(QStringLiteral("frmSelEmpleado"), [](QWidget* d) {
      Guardar(d, QStringLiteral("empleado"));
      Pulsar(d, QStringLiteral("tesela_1"));
    });
    AlAparecer(QStringLiteral("frmFechas"), [hoy](QWidget* d) {
      MesPasado(d, hoy);
      Guardar(d, QStringLiteral("fechas"));
      Pulsar(d, QStringLiteral("cmd_Aceptar"));
    });
    Pulsar(f, QStringLiteral("cmdCierreCaja"));
    guardarVista(QStringLiteral("vista-cierrecaja"));

    AlAparecer(QStringLiteral("frmFechas"), [hoy](QWidget* d) {
      MesPasado(d, hoy);
      Pulsar(d, QStringLiteral("cmd_Aceptar"));
    });
    Pulsar(f, QStringLiteral("cmdVentasXFPago"));
    guardarVista(QStringLiteral("vista-formaspago"));

    Pulsar(f, QStringLiteral("cmdProductos"));
    guardarVista(QStringLiteral("vista-productos"));
    QApplication::quit();
  });
  return QApplication::exec();
}
