// El diálogo Buscar como lo usa el dedo: teclear en el teclado en pantalla,
// buscar, tocar un resultado y leer el código devuelto; "Salir" y Escape
// devuelven "-1" y "Nueva" vacía las cajas.

#include "labels/Buscar.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class DialogoBuscar : public testing::TestWithParam<prueba::Motor> {
 protected:
  DialogoBuscar() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("buscar")));
    dialogo = std::make_unique<etiquetas::Buscar>(*tienda.ajustes.ConexionVentas, ProductoBusqueda);
    dialogo->modoBusqueda = QStringLiteral("Pr");
    dialogo->pantalla = QRect(0, 0, 1024, 768);
    dialogo->show();
    // Sin ventana activa no llega el foco a las cajas, como en la tienda.
    dialogo->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialogo.get()));
  }

  template <class T>
  T* Control(const QString& nombre) const {
    T* c = dialogo->findChild<T*>(nombre);
    EXPECT_NE(c, nullptr) << qPrintable(nombre);
    return c;
  }

  void Teclear(const QString& texto) const {
    for (const QChar c : texto) {
      const int tecla = c == QLatin1Char(' ') ? etiquetas::kTeclaEspacio : c.unicode();
      if (auto* b = Control<QPushButton>(QStringLiteral("bt_letra_%1").arg(tecla)))
        QTest::mouseClick(b, Qt::LeftButton);
    }
  }

  QStringList Entradas() const {
    QStringList nombres;
    auto* lista = Control<QListWidget>(QStringLiteral("lst_resultado"));
    for (int i = 0; i < lista->count(); ++i) nombres << lista->item(i)->text().section(QLatin1Char(' '), 0, 1);
    return nombres;
  }

  prueba::Tienda tienda;
  QString ProductoBusqueda = QStringLiteral("sin tocar");
  std::unique_ptr<etiquetas::Buscar> dialogo;
};

TEST_P(DialogoBuscar, TecleaBuscaYElResultadoTocadoDevuelveSuCodigo) {
  auto* nombre = Control<QLineEdit>(QStringLiteral("TxtBusProd_2"));
  auto* familia = Control<QLineEdit>(QStringLiteral("TxtBusProd_1"));
  // El teclado empieza escribiendo en el nombre, sin haberlo tocado.
  Teclear(QStringLiteral("CAX"));
  QTest::mouseClick(Control<QPushButton>(QStringLiteral("bt_letra_8")), Qt::LeftButton);
  EXPECT_EQ(nombre->text(), QStringLiteral("CA"));
  // Tocar la familia la hace destino del teclado; Enter busca.
  QTest::mouseClick(familia, Qt::LeftButton);
  Teclear(QStringLiteral("BEB"));
  EXPECT_EQ(familia->text(), QStringLiteral("BEB"));
  EXPECT_EQ(nombre->text(), QStringLiteral("CA"));
  QTest::keyClick(familia, Qt::Key_Return);
  EXPECT_EQ(Entradas(), (QStringList{QStringLiteral("Cava brut"), QStringLiteral("Caña de")}));
  EXPECT_TRUE(dialogo->isVisible()) << "Enter busca, no cierra";

  // Con todo el nombre seleccionado, la tecla escribe encima.
  familia->clear();
  QTest::mouseClick(nombre, Qt::LeftButton);
  nombre->selectAll();
  Teclear(QStringLiteral("TAR"));
  EXPECT_EQ(nombre->text(), QStringLiteral("TAR"));
  QTest::mouseClick(Control<QPushButton>(QStringLiteral("BtnBusClie_1")), Qt::LeftButton);
  auto* lista = Control<QListWidget>(QStringLiteral("lst_resultado"));
  ASSERT_EQ(lista->count(), 1);
  // El código no se ve: queda más allá del borde de la lista.
  EXPECT_EQ(lista->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualItemRect(lista->item(0)).center());
  EXPECT_EQ(ProductoBusqueda, QStringLiteral("3456789012"));
  EXPECT_EQ(dialogo->result(), QDialog::Accepted);
  EXPECT_FALSE(dialogo->isVisible());
}

TEST_P(DialogoBuscar, SalirYEscapeDevuelvenMenosUnoYNuevaVaciaLasCajas) {
  // Las 41 teclas están, con su rótulo, y se pueden tocar con el dedo.
  for (const int tecla : etiquetas::kTeclas) {
    auto* b = Control<QPushButton>(QStringLiteral("bt_letra_%1").arg(tecla));
    if (!b) continue;
    EXPECT_EQ(b->text(), etiquetas::RotuloTecla(tecla));
    EXPECT_GE(b->height(), 44) << tecla;
    EXPECT_GE(b->width(), 44) << tecla;
    EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << "tocar una tecla no quita la caja de destino";
  }
  // El botón de ayuda se mueve solo y deja de llamar al pulsarlo.
  EXPECT_TRUE(dialogo->temporizadorVaiven()->isActive());
  EXPECT_EQ(dialogo->temporizadorVaiven()->interval(), 1);
  EXPECT_EQ(dialogo->temporizadorSeries()->interval(), 4000);
  QTest::mouseClick(Control<QPushButton>(QStringLiteral("cmd_ayuda")), Qt::LeftButton);
  EXPECT_FALSE(dialogo->temporizadorSeries()->isActive());

  Control<QLineEdit>(QStringLiteral("TxtBusProd_0"))->setText(QStringLiteral("dist"));
  Teclear(QStringLiteral("PAN"));
  Control<QCheckBox>(QStringLiteral("chSinAsignar"))->setChecked(true);
  QTest::mouseClick(Control<QPushButton>(QStringLiteral("BtnBusClie_2")), Qt::LeftButton);
  for (const char* caja : {"TxtBusProd_0", "TxtBusProd_1", "TxtBusProd_2"})
    EXPECT_TRUE(Control<QLineEdit>(QLatin1String(caja))->text().isEmpty()) << caja;

  QTest::mouseClick(Control<QPushButton>(QStringLiteral("BtnBusClie_0")), Qt::LeftButton);
  EXPECT_EQ(ProductoBusqueda, QStringLiteral("-1"));
  EXPECT_EQ(dialogo->result(), QDialog::Rejected);

  ProductoBusqueda = QStringLiteral("0001");
  dialogo->show();
  QTest::keyClick(dialogo.get(), Qt::Key_Escape);
  EXPECT_EQ(ProductoBusqueda, QStringLiteral("-1"));
  EXPECT_FALSE(dialogo->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Motores, DialogoBuscar, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
