// Las ventanas de letreros y etiquetas como las usa el dependiente, sobre la
// tienda de tests/fixtures/letreros.sql en cada motor: los límites de cada
// letrero al cambiar de diseño, el texto de ayuda que se vacía, la cola de
// etiquetas con los dobles clics, las teclas y la búsqueda, y lo que queda
// tras imprimir.

#include "labels/frmCodigoBarra.h"
#include "labels/frmOpcionesLetreros.h"
#include "reports_ui/VistaPrevia.h"
#include "reports_ui/frmPrincipalCronicas.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>

namespace {

using prueba::Motor;

template <class T = QWidget>
T* Control(QWidget* raiz, const char* nombre) {
  T* c = raiz->findChild<T*>(QLatin1String(nombre));
  EXPECT_NE(c, nullptr) << "falta el control " << nombre;
  return c;
}

// Anota cada ventana modal que se abre (menos la de progreso, que se cierra
// sola) y la cierra.
class Vigia {
 public:
  Vigia() {
    QObject::connect(&reloj_, &QTimer::timeout, [this] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w || w->objectName() == QLatin1String("frmparar")) return;
      vistas << w->objectName();
      if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
    });
    reloj_.start(2);
  }
  QStringList vistas;

 private:
  QTimer reloj_;
};

class VentanasLetreros : public testing::TestWithParam<Motor> {
 protected:
  VentanasLetreros() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("letreros")));
  }

  frmCodigoBarra::Entorno Entorno(std::function<QString(QWidget*)> buscar = {}) {
    frmCodigoBarra::Entorno e;
    e.ajustes = &tienda.ajustes;
    e.notificador = &tienda.notificador;
    e.reloj = &tienda.reloj;
    e.opciones = {QString(), QStringLiteral("es_ES")};
    e.intervaloProgreso = 1;
    e.pantalla = QRect(0, 0, 1024, 768);
    e.buscarProducto = std::move(buscar);
    return e;
  }

  QStringList Avisos() const {
    QStringList textos;
    for (const auto& a : tienda.notificador.avisos) textos << a.texto;
    return textos;
  }

  static void Tecla(QWidget* control, Qt::Key tecla) { QTest::keyClick(control, tecla); }

  prueba::Tienda tienda;
};

TEST_P(VentanasLetreros, CadaCartelLimitaSusLineasYSeImprimeCortadoAlQueEstaElegido) {
  frmOpcionesLetreros f(Entorno());
  f.show();
  auto* marco = Control(&f, "fr_cartel");
  auto* raya = Control(&f, "Line1");
  QLineEdit* linea[4] = {Control<QLineEdit>(&f, "ct_cartel1_0"), Control<QLineEdit>(&f, "ct_cartel1_1"),
                         Control<QLineEdit>(&f, "ct_cartel1_2"), Control<QLineEdit>(&f, "ct_cartel1_3")};
  EXPECT_FALSE(marco->isVisible());

  Control<QAbstractButton>(&f, "Command2_1")->click();
  EXPECT_TRUE(marco->isVisible());
  EXPECT_FALSE(raya->isVisible());
  EXPECT_EQ((linea[2]->alignment() & Qt::AlignHorizontal_Mask).toInt(), int(Qt::AlignRight));
  EXPECT_EQ(Control<QLabel>(&f, "Label11_1")->text(), QStringLiteral("Máximo caracteres: 30"));
  // Un clic en la caja con el texto de ayuda la vacía; se teclea hasta el límite.
  QTest::mouseClick(linea[1], Qt::LeftButton);
  EXPECT_EQ(linea[1]->text(), QString());
  QTest::keyClicks(linea[1], QStringLiteral("Dos por uno en todos los zumos y batidos"));
  EXPECT_EQ(linea[1]->text(), QStringLiteral("Dos por uno en todos los zumos"));
  QTest::mouseClick(linea[0], Qt::LeftButton);
  QTest::keyClicks(linea[0], QStringLiteral("Rebajas enero!"));
  QTest::mouseClick(linea[3], Qt::LeftButton);
  // Lo que ya escribió el usuario no se vacía al volver a la caja.
  QTest::mouseClick(linea[0], Qt::LeftButton);
  EXPECT_EQ(linea[0]->text(), QStringLiteral("Rebajas enero!"));

  // El cartel 3 deja lo escrito en la caja, pero imprime sólo lo que cabe;
  // la línea con el texto de ayuda sale como ese texto cortado.
  Control<QAbstractButton>(&f, "Command2_2")->click();
  EXPECT_TRUE(raya->isVisible());
  EXPECT_EQ((linea[2]->alignment() & Qt::AlignHorizontal_Mask).toInt(), int(Qt::AlignHCenter));
  EXPECT_EQ(linea[1]->text(), QStringLiteral("Dos por uno en todos los zumos"));
  EXPECT_EQ(Control<QLabel>(&f, "Label11_1")->text(), QStringLiteral("Máximo caracteres: 20"));
  QTest::keyClick(linea[1], Qt::Key_End);
  QTest::keyClick(linea[1], Qt::Key_Backspace);
  EXPECT_EQ(linea[1]->text(), QStringLiteral("Dos por uno en todos los zumo")) << "borrar vale aunque pase del límite";
  QTest::keyClicks(linea[1], QStringLiteral("s"));
  EXPECT_EQ(linea[1]->text().size(), 29) << "crecer no";
  Control<QAbstractButton>(&f, "Command1_0")->click();
  ASSERT_NE(f.ultimaVista(), nullptr) << Avisos().join('\n').toStdString();
  EXPECT_EQ(f.ultimaVista()->plantilla(), QStringLiteral("cartel3.rpt"));
  EXPECT_EQ(tienda.filas(), (std::vector<QVariantMap>{{{"texto1", "Rebajas enero!"},
                                                       {"texto2", "Dos por uno en todos"},
                                                       {"texto3", "Click para modificar el t"},
                                                       {"texto4", ""}}}));
  EXPECT_TRUE(marco->isVisible()) << "el marco se queda para otro letrero";

  // Los 14 caracteres del cartel 2 salen en 13 con el cartel 1.
  Control<QAbstractButton>(&f, "Command2_0")->click();
  Control<QAbstractButton>(&f, "Command1_0")->click();
  EXPECT_EQ(tienda.filas().at(0).value("texto1"), QStringLiteral("Rebajas enero"));
  EXPECT_EQ(f.ultimaVista()->plantilla(), QStringLiteral("cartel1.rpt"));
  Control<QAbstractButton>(&f, "Command1_2")->click();
  EXPECT_FALSE(marco->isVisible());
  EXPECT_TRUE(Avisos().isEmpty()) << Avisos().join('\n').toStdString();
}

TEST_P(VentanasLetreros, EtiquetasPreciosSoloConProductosSinBorrar) {
  frmOpcionesLetreros f(Entorno());
  Vigia vigia;
  Control<QAbstractButton>(&f, "bt_precio")->click();
  EXPECT_EQ(vigia.vistas, QStringList{QStringLiteral("frmCodigoBarra")});
  EXPECT_TRUE(Avisos().isEmpty());
  tienda.ejecutar(QStringLiteral("UPDATE productos SET borrar = -1"));
  Control<QAbstractButton>(&f, "bt_precio")->click();
  EXPECT_EQ(Avisos(), QStringList{QStringLiteral("No tiene Productos para generar Códigos de Barra.")});
  EXPECT_EQ(vigia.vistas.size(), 1);
}

TEST_P(VentanasLetreros, LaColaSeLlenaConDoblesClicsYBusquedasYSeVaciaAlImprimir) {
  std::deque<QString> respuestas = {QStringLiteral("-1"), QStringLiteral("11")};
  frmCodigoBarra f(Entorno([&respuestas](QWidget*) {
    const QString r = respuestas.front();
    respuestas.pop_front();
    return r;
  }));
  f.show();
  auto* grid = Control<QTableWidget>(&f, "grid");
  auto* cola = Control<QListWidget>(&f, "lt_agr");
  auto* cantidad = Control<QLineEdit>(&f, "txt_cant");
  auto* inicio = Control<QLineEdit>(&f, "ct_imp");
  auto* imprimir = Control<QAbstractButton>(&f, "Command2");
  auto dobleClic = [](QAbstractItemView* vista, const QRect& sitio) {
    QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, sitio.center());
    QTest::mouseDClick(vista->viewport(), Qt::LeftButton, {}, sitio.center());
  };
  auto filaActual = [grid] { return grid->item(grid->currentRow(), frmCodigoBarra::kColNombre)->text(); };

  // Una letra lleva al primer nombre que empieza por ella, sin mirar mayúsculas.
  Tecla(grid, Qt::Key_Z);
  EXPECT_EQ(filaActual(), QStringLiteral("Zumo de naranja"));
  Tecla(grid, Qt::Key_A);
  EXPECT_EQ(filaActual(), QStringLiteral("agua mineral"));
  Tecla(grid, Qt::Key_X);
  EXPECT_EQ(filaActual(), QStringLiteral("agua mineral")) << "sin ninguno así, la fila se queda";

  cantidad->clear();
  dobleClic(grid, grid->visualItemRect(grid->currentItem()));
  EXPECT_EQ(Avisos(), QStringList{QStringLiteral("Ha olvidado rellenar uno de los campos obligatorios")});
  EXPECT_EQ(cola->count(), 0);
  QTest::keyClicks(cantidad, QStringLiteral("3"));
  dobleClic(grid, grid->visualItemRect(grid->currentItem()));
  ASSERT_EQ(cola->count(), 1);
  EXPECT_TRUE(imprimir->isEnabled());

  // Quitar la última entrada apaga «Imprimir», y F3 no hace nada.
  dobleClic(cola, cola->visualItemRect(cola->item(0)));
  EXPECT_EQ(cola->count(), 0);
  EXPECT_FALSE(imprimir->isEnabled());
  Tecla(cantidad, Qt::Key_F3);
  EXPECT_EQ(f.ultimaVista(), nullptr);
  EXPECT_TRUE(tienda.filas().empty());

  // Una búsqueda cancelada no toca la cola; la que elige el producto 11 lo
  // encuentra aunque su etiqueta lleve el código de barras 123.
  Tecla(grid, Qt::Key_F2);
  EXPECT_EQ(cola->count(), 0);
  Tecla(inicio, Qt::Key_F2);
  ASSERT_EQ(f.cola().size(), 1u);
  EXPECT_EQ(cola->item(0)->text(), QStringLiteral("Zumo de naranja"));
  EXPECT_EQ(f.cola()[0].codigoEtiqueta, QStringLiteral("123"));
  EXPECT_DOUBLE_EQ(f.cola()[0].copias, 3);

  // La posición sólo admite cifras.
  inicio->selectAll();
  QTest::keyClicks(inicio, QStringLiteral("a5-"));
  EXPECT_EQ(inicio->text(), QStringLiteral("5"));
  Tecla(cola, Qt::Key_F3);
  ASSERT_NE(f.ultimaVista(), nullptr) << Avisos().join('\n').toStdString();
  EXPECT_EQ(f.ultimaVista()->plantilla(), QStringLiteral("cartel_precio.rpt"));
  const std::vector<QVariantMap> filas = tienda.filas();
  ASSERT_EQ(filas.size(), 7u);
  EXPECT_EQ(filas[3].value("texto1"), QString());
  EXPECT_EQ(filas[4].value("texto1"), QStringLiteral("*000000000123*"));
  EXPECT_EQ(cola->count(), 0);
  EXPECT_TRUE(f.cola().empty());
  EXPECT_EQ(inicio->text(), QStringLiteral("1"));
  EXPECT_EQ(cantidad->text(), QStringLiteral("3"));
  EXPECT_FALSE(imprimir->isEnabled());

  Tecla(grid, Qt::Key_F7);
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(Avisos().size(), 1);
}

TEST_P(VentanasLetreros, ElBotonDeLaVentanaPrincipalLlegaALaBusquedaDeProductos) {
  tienda.ajustes.TipoPrograma = QStringLiteral("RESTAURANTE");
  tienda.ajustes.EmpleadoTerminal = -1;
  frmPrincipalCronicas::Entorno e;
  e.ajustes = &tienda.ajustes;
  e.seleccion = &tienda.seleccion;
  e.notificador = &tienda.notificador;
  e.reloj = &tienda.reloj;
  e.pantalla = QRect(0, 0, 1024, 768);
  frmPrincipalCronicas principal(std::move(e));
  // Letreros → «Etiquetas Precios» → «Buscar Producto»: la búsqueda que se
  // abre es la de verdad, y al salir de ella sin elegir cada ventana se
  // cierra. Los clics van fuera del reloj, que no salta mientras su propia
  // llamada espera en una ventana modal.
  QStringList vistas;
  QTimer reloj;
  QObject::connect(&reloj, &QTimer::timeout, [&vistas] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || w->objectName() == QLatin1String("frmparar")) return;
    auto* d = qobject_cast<QDialog*>(w);
    if (vistas.contains(w->objectName()) || w->objectName() == QLatin1String("Buscar")) {
      if (!vistas.contains(w->objectName())) vistas << w->objectName();
      d->reject();
      return;
    }
    vistas << w->objectName();
    const char* boton = w->objectName() == QLatin1String("frmOpcionesLetreros") ? "bt_precio" : "bt_buscar";
    if (auto* b = w->findChild<QAbstractButton*>(QLatin1String(boton)))
      QTimer::singleShot(0, b, &QAbstractButton::click);
    else
      d->reject();
  });
  reloj.start(2);
  Control<QAbstractButton>(&principal, "cmdLetreros")->click();
  EXPECT_EQ(vistas.join(QStringLiteral(", ")).toStdString(), "frmOpcionesLetreros, frmCodigoBarra, Buscar");
  EXPECT_TRUE(Avisos().isEmpty()) << Avisos().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, VentanasLetreros, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
