// Selección de empleado: las teselas que salen de la base, el panel que las
// pinta, el diálogo (elegir una tesela se prueba desde la ventana principal)
// y el aviso de progreso.

#include "registro/CargarEmpleados.h"
#include "reports_ui/Mosaico.h"
#include "reports_ui/frmSelEmpleado.h"
#include "reports_ui/frmparar.h"
#include "startup/AspectoFormulario.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QVariant kNulo = QVariant(QMetaType::fromType<QString>());

class CargarEmpleados_ : public testing::TestWithParam<prueba::Motor> {};

TEST_P(CargarEmpleados_, LosDeAltaPorCodigoConLaInicialDelApellido) {
  prueba::Tienda t(GetParam());
  auto empleado = [&](int codigo, const QString& nombre, const QVariant& apellidos, int baja) {
    t.insertar(QStringLiteral("empleados"),
               {{"codigo", codigo}, {"nombre", nombre}, {"apellidos", apellidos}, {"baja", baja}, {"clave", "1"}});
  };
  empleado(9, "Luis", "Zapata Ruiz", 0);
  empleado(2, "Ana", kNulo, 0);
  empleado(4, "Pepe", "Bajo", 1);
  empleado(5, "Rosa", "Baja", -1);
  empleado(3, "Marta", "", 0);
  empleado(7, "Óscar", "Álvarez", 0);

  std::vector<std::pair<QString, QString>> leidas;
  for (const Tesela& te : CargarEmpleados(*t.ajustes.ConexionVentas)) leidas.emplace_back(te.clave, te.titulo);
  const std::vector<std::pair<QString, QString>> esperadas = {
      {"2", "Ana "}, {"3", "Marta "}, {"7", "Óscar Á"}, {"9", "Luis Z"}};
  EXPECT_EQ(leidas, esperadas);
}

INSTANTIATE_TEST_SUITE_P(Motores, CargarEmpleados_, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

const std::vector<Tesela> kTres = {{"1", "Ana L"}, {"3", "Luis Z"}, {"12", "Maximiliano Fernández"}};

QPushButton* tesela(QWidget& w, const QString& clave) {
  return w.findChild<QPushButton*>(QStringLiteral("tesela_") + clave);
}

// Un punto del fondo de la tesela, lejos del texto y dentro del borde.
QColor fondoDe(QWidget& w) {
  return w.grab().toImage().pixelColor(8, w.height() / 2);
}

bool tienePixel(const QImage& imagen, const QColor& color) {
  for (int y = 0; y < imagen.height(); ++y) {
    for (int x = 0; x < imagen.width(); ++x) {
      if (imagen.pixelColor(x, y) == color) return true;
    }
  }
  return false;
}

TEST(Mosaico, UnaTeselaGrandeEIgualPorEntradaQueAvisaSuClave) {
  Mosaico m;
  EXPECT_TRUE(m.property("cronicasAspectoPropio").toBool());
  QStringList pulsadas;
  QObject::connect(&m, &Mosaico::teselaPulsada, [&](const QString& c) { pulsadas << c; });
  m.cargar(kTres);
  ASSERT_EQ(m.cantidad(), 3);
  const QSize tam = tesela(m, "1")->size();
  EXPECT_GE(tam.width(), 160);
  EXPECT_GE(tam.height(), 90);
  for (const Tesela& t : kTres) {
    QPushButton* b = tesela(m, t.clave);
    ASSERT_NE(b, nullptr) << t.clave.toStdString();
    EXPECT_EQ(b->text(), t.titulo);
    EXPECT_EQ(b->size(), tam);
    EXPECT_TRUE(b->font().bold() && b->font().pointSize() >= 12 && b->font().pointSize() <= 14);
    EXPECT_LE(b->fontMetrics().horizontalAdvance(t.titulo), tam.width()) << "el título no cabe";
  }
  tesela(m, "12")->click();
  tesela(m, "3")->click();
  EXPECT_EQ(pulsadas, QStringList({"12", "3"}));

  // Recargar sustituye; sin teselas lo dice.
  m.cargar({{"5", "Eva"}});
  EXPECT_EQ(m.cantidad(), 1);
  EXPECT_EQ(tesela(m, "1"), nullptr);
  m.cargar({});
  m.resize(600, 400);
  m.show();
  auto* vacio = m.findChild<QLabel*>(QStringLiteral("lblSinEmpleados"));
  ASSERT_NE(vacio, nullptr);
  EXPECT_TRUE(vacio->isVisible());
  EXPECT_EQ(vacio->text(), "No hay empleados de alta.");
  EXPECT_EQ(m.cantidad(), 0);
}

TEST(Mosaico, LasColumnasSeAjustanAlAnchoYLasFilasSeReparten) {
  Mosaico m;
  m.cargar({{"1", "A"}, {"2", "B"}, {"3", "C"}, {"4", "D"}});
  // Teselas por fila, de arriba abajo.
  auto porFila = [&] {
    QMap<int, int> filas;
    for (const QString c : {"1", "2", "3", "4"}) ++filas[tesela(m, c)->mapTo(&m, QPoint()).y()];
    return filas.values();
  };
  m.show();
  for (const auto& [ancho, esperado] :
       {std::pair{1400, QList<int>{4}}, std::pair{260, QList<int>{1, 1, 1, 1}}, std::pair{640, QList<int>{2, 2}}}) {
    m.resize(ancho, 600);
    QApplication::processEvents();
    EXPECT_EQ(porFila(), esperado) << ancho;
  }
}

TEST(Mosaico, ColoresDelPanelYDeLasTeselasConTextoLegible) {
  Mosaico m;
  m.cargar(kTres);
  m.resize(900, 500);
  m.show();
  const QColor fondo(0x10, 0x20, 0x40), amarillo(0xF0, 0xD0, 0x30), rojo(0xC0, 0x20, 0x20);
  m.fijarColores(fondo, amarillo, rojo);
  QApplication::processEvents();
  EXPECT_EQ(m.grab().toImage().pixelColor(2, 2), fondo);
  QPushButton* b = tesela(m, "1");
  EXPECT_EQ(fondoDe(*b), amarillo);
  QImage imagen = b->grab().toImage();
  EXPECT_TRUE(tienePixel(imagen, Qt::black));
  EXPECT_FALSE(tienePixel(imagen, Qt::white));
  b->setDown(true);
  EXPECT_EQ(fondoDe(*b), rojo);
  b->setDown(false);

  m.fijarColores(Qt::white, fondo, amarillo);
  QApplication::processEvents();
  imagen = b->grab().toImage();
  EXPECT_TRUE(tienePixel(imagen, Qt::white));
  EXPECT_FALSE(tienePixel(imagen, Qt::black));
}

// Ejecuta el diálogo mientras `accion` actúa sobre él; si se queda abierto,
// se cierra con un resultado que ninguna prueba espera.
int ejecutar(QDialog& d, const std::function<void()>& accion) {
  QTimer::singleShot(0, &d, accion);
  QTimer::singleShot(5000, &d, [&d] { d.done(-1); });
  return d.exec();
}

TEST(frmSelEmpleado, SalirCerrarLaVentanaOEscapeCancelanSinTocarLaSeleccion) {
  SeleccionInforme s;
  s.EmpleadoElegido = 9;
  frmSelEmpleado d(kTres, s);
  // Sin gestor de ventanas no hay caja de cierre: Salir se ve entero también
  // en la pantalla más pequeña, debajo de las teselas.
  aspecto::EscalarFormulario(d, QRect(0, 0, 800, 600));
  auto* salir = d.findChild<QPushButton*>(QStringLiteral("cmd_Salir"));
  ASSERT_NE(salir, nullptr);
  EXPECT_EQ(salir->text(), QStringLiteral("Salir"));
  EXPECT_EQ(ejecutar(d,
                     [&] {
                       EXPECT_TRUE(salir->isVisible());
                       EXPECT_TRUE(d.rect().contains(QRect(salir->mapTo(&d, QPoint(0, 0)), salir->size())));
                       EXPECT_GE(salir->mapTo(&d, QPoint(0, 0)).y(),
                                 d.panel()->mapTo(&d, QPoint(0, d.panel()->height())).y());
                       salir->click();
                     }),
            QDialog::Rejected);
  EXPECT_EQ(ejecutar(d, [] { QApplication::activeModalWidget()->close(); }), QDialog::Rejected);
  EXPECT_EQ(ejecutar(d,
                     [] {
                       QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                       QApplication::sendEvent(QApplication::activeModalWidget(), &escape);
                     }),
            QDialog::Rejected);
  EXPECT_EQ(s.EmpleadoElegido, 9);
}

TEST(frmSelEmpleado, ColorearEspecialLlevaShpLogoAlMarcoYLaCabeceraAlPanel) {
  SeleccionInforme s;
  frmSelEmpleado d(kTres, s);
  d.resize(1024, 768);
  // El coloreado de la suite repinta las figuras con los colores del usuario.
  const QColor logo(0x33, 0x99, 0x66), cabecera(0x80, 0x10, 0x10);
  auto* shp = d.findChild<QWidget*>(QStringLiteral("shp_logo"));
  QPalette p = shp->palette();
  p.setColor(QPalette::Window, logo);
  shp->setPalette(p);
  d.colorearEspecial(cabecera);
  d.show();
  QApplication::processEvents();

  auto* marco = d.findChild<QWidget*>(QStringLiteral("Frame2"));
  ASSERT_NE(marco, nullptr);
  EXPECT_FALSE(d.findChild<QWidget*>(QStringLiteral("Colores"))->isVisible());
  EXPECT_EQ(marco->grab().toImage().pixelColor(2, 2), logo);
  EXPECT_EQ(d.panel()->grab().toImage().pixelColor(2, 2), cabecera);
  EXPECT_EQ(fondoDe(*tesela(d, "1")), cabecera);
}

TEST(frmparar, CincoTicsLlenanLaBarraYElQuintoCierra) {
  frmparar f;
  auto* timer = f.findChild<QTimer*>(QStringLiteral("Timer1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 1000);
  EXPECT_FALSE(timer->isActive());
  f.barraProgreso()->setValue(60);
  f.show();
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(f.barraProgreso()->value(), 0);
  const QRect zona = f.screen()->availableGeometry();
  EXPECT_NEAR(f.x(), zona.x() + zona.width() * 4900.0 / 15360, 1);
  EXPECT_NEAR(f.y(), zona.y() + zona.height() * 2010.0 / 11280, 1);

  for (int valor : {20, 40, 60, 80}) {
    f.tic();
    EXPECT_EQ(f.barraProgreso()->value(), valor);
    EXPECT_TRUE(f.isVisible());
  }
  f.tic();
  EXPECT_EQ(f.barraProgreso()->value(), 100);
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_FALSE(timer->isActive());
}

TEST(frmparar, ConExecVuelveSoloYCerrarDosVecesNoHaceNadaMas) {
  frmparar f(nullptr, 1);
  int terminados = 0;
  QObject::connect(&f, &QDialog::finished, [&] { ++terminados; });
  EXPECT_EQ(ejecutar(f, [] {}), QDialog::Accepted);
  EXPECT_EQ(f.barraProgreso()->value(), 100);
  EXPECT_EQ(terminados, 1);

  f.show();
  f.cerrar();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(terminados, 2);
  f.cerrar();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(terminados, 2);
}

}  // namespace
