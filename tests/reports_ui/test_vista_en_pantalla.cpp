// La vista previa en un servidor X de verdad sin gestor de ventanas, como en
// muchos terminales de tienda, en la pantalla con que se arranca la prueba
// (800 × 600 y 1024 × 768): la abre el programa y tiene que caber entera,
// estar delante con el teclado y cerrarse con Escape; un ticket se abre a un
// tamaño en el que se lee.

#include "builders/Informes.h"
#include "reports_ui/ImprimirReport.h"
#include "reports_ui/VistaPrevia.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGraphicsView>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolBar>

#include <gtest/gtest.h>

#include <functional>

namespace {

// El servidor X contesta a su ritmo: se espera a que pase lo que se pide.
bool Esperar(const std::function<bool()>& condicion, int ms = 5000) {
  QElapsedTimer reloj;
  reloj.start();
  while (!condicion() && reloj.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return condicion();
}

QRect EnLaVentana(const QWidget& w, const QWidget& ventana) {
  return QRect(w.mapTo(&ventana, QPoint(0, 0)), w.size());
}

class VistaEnPantalla : public testing::Test {
 protected:
  VistaEnPantalla() : tienda(prueba::Motor::SQLite) {
    vista.informes = tienda.ajustes.ConexionInformes.get();
    vista.opciones = {carpeta.path(), QStringLiteral("es_ES")};
    vista.notificador = &tienda.notificador;
    vista.reloj = &tienda.reloj;
    // El título más largo de la ventana principal, para que nada quepa por
    // casualidad.
    plantilla(QStringLiteral("hoja"),
              "<informe titulo=\"Ventas Eliminadas Y Descuentos realizados del Bar Restaurante La Galerna\">"
              "<detalle alto=\"5\"><campo columna=\"texto2\" x=\"0\" ancho=\"60\" alto=\"5\"/></detalle>"
              "<piePagina alto=\"6\"><pagina x=\"100\" ancho=\"86\" alto=\"5\"/></piePagina></informe>");
    plantilla(QStringLiteral("ticket"),
              "<informe titulo=\"Ticket\"><papel tipo=\"rollo\" caracteres=\"42\" ancho=\"72\"/>"
              "<detalle alto=\"1\"><campo columna=\"texto2\" x=\"0\" ancho=\"42\" alto=\"1\"/></detalle></informe>");
    informes::EscritorInformes w(*tienda.ajustes.ConexionInformes);
    w.vaciar();
    for (int i = 1; i <= 150; ++i) {
      w.nuevaFila();
      w.poner(informes::Col::Texto2, QStringLiteral("Línea %1 del informe").arg(i));
      w.guardarFila();
    }
    w.terminar();
  }
  ~VistaEnPantalla() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<VistaPrevia*>(w)) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void plantilla(const QString& nombre, const QByteArray& xml) {
    ASSERT_TRUE(prueba::escribirBytes(QDir(carpeta.path()).filePath(nombre + QStringLiteral(".xml")), xml));
  }

  // Abierta como la abre el botón, y ya delante.
  QPointer<VistaPrevia> abrir(const QString& plantilla) {
    QPointer<VistaPrevia> v = registro::ImprimirReport(vista, plantilla);
    EXPECT_TRUE(v);
    if (v) {
      EXPECT_TRUE(Esperar([&] { return QApplication::activeWindow() == v; })) << "la vista no está delante";
    }
    return v;
  }

  prueba::Tienda tienda;
  QTemporaryDir carpeta;
  registro::Vista vista;
};

TEST_F(VistaEnPantalla, OcupaLaPantallaYTodoSeVe) {
  const QRect pantalla = QGuiApplication::primaryScreen()->availableGeometry();
  SCOPED_TRACE(QStringLiteral("%1x%2").arg(pantalla.width()).arg(pantalla.height()).toStdString());
  QPointer<VistaPrevia> v = abrir(QStringLiteral("hoja.rpt"));
  ASSERT_TRUE(v);
  EXPECT_EQ(v->frameGeometry(), pantalla);

  // Cada botón de las barras a la vista, ninguno escondido en el menú de
  // desbordamiento.
  const auto barras = v->findChildren<QToolBar*>();
  ASSERT_EQ(barras.size(), 2);
  int botones = 0;
  for (QToolBar* barra : barras) {
    for (QAction* a : barra->actions()) {
      if (a->isSeparator()) continue;
      const QWidget* w = barra->widgetForAction(a);
      ASSERT_NE(w, nullptr) << a->text().toStdString();
      EXPECT_TRUE(w->isVisible()) << a->text().toStdString();
      EXPECT_TRUE(v->rect().contains(EnLaVentana(*w, *v))) << a->text().toStdString();
      if (!a->objectName().isEmpty()) ++botones;
    }
    if (const auto* mas = barra->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"))) {
      EXPECT_FALSE(mas->isVisible()) << barra->objectName().toStdString();
    }
  }
  EXPECT_EQ(botones, 11);
  EXPECT_NE(v->findChild<QAction*>(QStringLiteral("cmdCerrar")), nullptr);

  // El título se recorta antes que echar a nadie de su barra.
  const auto* titulo = v->findChild<QLabel*>(QStringLiteral("lblTitulo"));
  ASSERT_NE(titulo, nullptr);
  EXPECT_EQ(titulo->text(), v->documento().titulo);

  // Las páginas y su barra de desplazamiento, dentro de la pantalla.
  auto* pagina = v->findChild<QGraphicsView*>();
  ASSERT_NE(pagina, nullptr);
  EXPECT_TRUE(v->rect().contains(EnLaVentana(*pagina, *v)));
  ASSERT_TRUE(pagina->verticalScrollBar()->isVisible());
  EXPECT_TRUE(v->rect().contains(EnLaVentana(*pagina->verticalScrollBar(), *v)));
}

TEST_F(VistaEnPantalla, EscapeLaCierraTengaQuienTengaElFocoYElTecladoVuelveALaVentana) {
  // La ventana que abre la vista, como la principal, delante con el teclado.
  QWidget principal;
  principal.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
  principal.show();
  principal.activateWindow();
  ASSERT_TRUE(Esperar([&] { return QApplication::activeWindow() == &principal; }));
  vista.padre = &principal;
  for (const char* foco : {"pagina", "cmdSiguiente", "cmdImprimir", "cmdCerrar"}) {
    SCOPED_TRACE(foco);
    QPointer<VistaPrevia> v = abrir(QStringLiteral("hoja.rpt"));
    ASSERT_TRUE(v);
    QWidget* destino = v->findChild<QGraphicsView*>();
    if (std::string(foco) != "pagina") {
      const auto* accion = v->findChild<QAction*>(QLatin1String(foco));
      ASSERT_NE(accion, nullptr);
      for (QToolBar* barra : v->findChildren<QToolBar*>())
        if (QWidget* w = barra->widgetForAction(const_cast<QAction*>(accion))) destino = w;
    }
    destino->setFocusPolicy(Qt::StrongFocus);
    destino->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(Esperar([&] { return QApplication::focusWidget() == destino; }));
    QTest::keyClick(destino, Qt::Key_Escape);
    EXPECT_TRUE(Esperar([&] {
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      return v.isNull();
    })) << "Escape no cerró la vista";
    EXPECT_TRUE(Esperar([&] { return QApplication::activeWindow() == &principal; }));
  }
}

TEST_F(VistaEnPantalla, UnTicketSeAbreAlTamanoEnQueSeLee) {
  QPointer<VistaPrevia> v = abrir(QStringLiteral("ticket.rpt"));
  ASSERT_TRUE(v);
  auto* pagina = v->findChild<QGraphicsView*>();
  ASSERT_NE(pagina, nullptr);
  // Lo que se ve: el rollo es lo blanco de la fila del medio de la vista.
  ASSERT_TRUE(Esperar([&] { return pagina->viewport()->isVisible(); }));
  QCoreApplication::processEvents();
  const QImage imagen = pagina->viewport()->grab().toImage();
  const int y = imagen.height() / 2;
  int izquierda = -1, derecha = -1;
  for (int x = 0; x < imagen.width(); ++x) {
    if (qGray(imagen.pixel(x, y)) < 250) continue;
    if (izquierda < 0) izquierda = x;
    derecha = x;
  }
  ASSERT_GE(izquierda, 0) << "no se ve el rollo";
  const int ancho = derecha - izquierda + 1;
  // Ni al ancho de la ventana, donde caben tres líneas por pantalla...
  EXPECT_LT(ancho, imagen.width() * 6 / 10);
  // ...ni tan pequeño que no se lea: sus 42 caracteres (con los márgenes)
  // son al menos tan anchos como los de la barra.
  const double caracter = QFontMetrics(v->findChild<QLabel*>(QStringLiteral("lblPagina"))->font()).averageCharWidth();
  EXPECT_GE(ancho, 42 * caracter) << "rollo de " << ancho << " px";
}

}  // namespace
