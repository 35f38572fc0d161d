// Capturas de la ventana para el README: la ventana principal, la elección
// de empleado, el diálogo de fechas, las vistas previas y los diálogos de
// imprimir y de guardar, tal como los ve el usuario que pulsa los botones. Se
// ejecuta bajo un servidor X sin gestor de ventanas, como muchos terminales
// de tienda:
//
//   xvfb-run -a -s "-screen 0 800x600x24" build/tools/capturas tienda/ajustes.ini docs/capturas 800x600
//
// Pulsa los botones por su nombre, contesta los diálogos como lo haría el
// usuario (del 10 al 20 del mes pasado, la primera empleada) y retrata la
// pantalla entera, no cada ventana: lo que no cabe en ella no sale. Cada
// captura lleva como sufijo el tamaño de pantalla pedido.

#include "reports_ui/ArranqueVentana.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTableWidget>
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

void Guardar(const QString& nombre) {
  Esperar(400);
  const QString ruta = QDir(gCarpeta).filePath(QStringLiteral("%1-%2.png").arg(nombre, gSufijo));
  if (!QGuiApplication::primaryScreen()->grabWindow(0).save(ruta))
    std::fprintf(stderr, "No se pudo guardar %s\n", qPrintable(ruta));
  std::printf("%s\n", qPrintable(ruta));
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

// Del 10 al 20 del mes pasado: cada calendario enseña apagados los días que
// el otro no deja elegir.
void MesPasado(QWidget* fechas, const QDate& hoy) {
  const QDate mes = QDate(hoy.year(), hoy.month(), 1).addMonths(-1);
  fechas->findChild<QCalendarWidget*>(QStringLiteral("mv_FechaInicio"))->setSelectedDate(mes.addDays(9));
  fechas->findChild<QCalendarWidget*>(QStringLiteral("mv_FechaFinal"))->setSelectedDate(mes.addDays(19));
}

void Cancelar(QWidget* d) {
  if (auto* dialogo = qobject_cast<QDialog*>(d)) dialogo->reject();
}

// Los letreros con el cartel 1 a medio escribir y, desde ellos, el
// generador de etiquetas con tres productos en la cola.
void RetratarLetreros(QWidget* principal) {
  AlAparecer(QStringLiteral("frmOpcionesLetreros"), [](QWidget* d) {
    Pulsar(d, QStringLiteral("Command2_0"));
    const QStringList lineas = {QStringLiteral("OFERTA"), QStringLiteral("Segunda unidad gratis"),
                                QStringLiteral("En todos los refrescos")};
    for (int i = 0; i < lineas.size(); ++i)
      d->findChild<QLineEdit*>(QStringLiteral("ct_cartel1_%1").arg(i))->setText(lineas[i]);
    Esperar(200);
    Guardar(QStringLiteral("letreros"));
    AlAparecer(QStringLiteral("frmCodigoBarra"), [d](QWidget* e) {
      auto* grid = e->findChild<QTableWidget*>(QStringLiteral("grid"));
      e->findChild<QLineEdit*>(QStringLiteral("txt_cant"))->setText(QStringLiteral("3"));
      for (const int fila : {2, 5, 9}) {
        grid->setCurrentCell(fila, 1);
        emit grid->cellDoubleClicked(fila, 1);
      }
      e->findChild<QLineEdit*>(QStringLiteral("ct_imp"))->setText(QStringLiteral("5"));
      Esperar(200);
      Guardar(QStringLiteral("etiquetas"));
      Cancelar(e);
      Cancelar(d);
    });
    Pulsar(d, QStringLiteral("bt_precio"));
  });
  Pulsar(principal, QStringLiteral("cmdLetreros"));
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

  // La vista previa que dejó el último botón, como la abrió el programa.
  const auto retratarVista = [f](const QString& nombre, const std::function<void(VistaPrevia*)>& ademas = {}) {
    if (VistaPrevia* v = f->ultimaVista()) {
      Guardar(nombre);
      if (ademas) ademas(v);
      v->close();
    }
  };

  QTimer::singleShot(500, f, [&] {
    Guardar(QStringLiteral("principal"));

    AlAparecer(QStringLiteral("frmSelEmpleado"), [](QWidget* d) {
      Guardar(QStringLiteral("empleado"));
      Pulsar(d, QStringLiteral("tesela_1"));
    });
    AlAparecer(QStringLiteral("frmFechas"), [hoy](QWidget* d) {
      MesPasado(d, hoy);
      Guardar(QStringLiteral("fechas"));
      Pulsar(d, QStringLiteral("cmd_Aceptar"));
    });
    Pulsar(f, QStringLiteral("cmdCierreCaja"));
    retratarVista(QStringLiteral("vistaprevia"), [](VistaPrevia* v) {
      // Los diálogos de Qt, en el idioma del puesto.
      AlAparecer(QStringLiteral("dlgImprimir"), [](QWidget* d) {
        Guardar(QStringLiteral("imprimir"));
        Cancelar(d);
      });
      v->findChild<QAction*>(QStringLiteral("cmdImprimir"))->trigger();
      AlAparecer(QStringLiteral("dlgGuardar"), [](QWidget* d) {
        Guardar(QStringLiteral("guardar"));
        Cancelar(d);
      });
      v->findChild<QAction*>(QStringLiteral("cmdGuardarPdf"))->trigger();
    });

    Pulsar(f, QStringLiteral("cmdProdBajoMinimoTicket"));
    retratarVista(QStringLiteral("vista-ticket"));

    // El ticket detallado de la última semana, en su visor de texto.
    AlAparecer(QStringLiteral("frmFechas"), [hoy](QWidget* d) {
      d->findChild<QCalendarWidget*>(QStringLiteral("mv_FechaInicio"))->setSelectedDate(hoy.addDays(-7));
      d->findChild<QCalendarWidget*>(QStringLiteral("mv_FechaFinal"))->setSelectedDate(hoy.addDays(-1));
      Pulsar(d, QStringLiteral("cmd_Aceptar"));
    });
    AlAparecer(QStringLiteral("frmPreImpresion"), [](QWidget* d) {
      Guardar(QStringLiteral("ticket-detallado"));
      Cancelar(d);
    });
    Pulsar(f, QStringLiteral("cmd_Ticket"));

    // La valoración por proveedor, con un proveedor elegido y los tipos a la vista.
    AlAparecer(QStringLiteral("frmListado"), [](QWidget* d) {
      Pulsar(d, QStringLiteral("picProveedor_1"));
      Guardar(QStringLiteral("frmlistado"));
      Cancelar(d);
    });
    Pulsar(f, QStringLiteral("cmdStockXProveedores"));

    RetratarLetreros(f);

    Pulsar(f, QStringLiteral("cmdProductos"));
    retratarVista(QStringLiteral("vista-productos"));
    QApplication::quit();
  });
  return QApplication::exec();
}
