// El formulario de la valoración por proveedor, pulsado como lo pulsa el
// usuario: las fichas y sus flechas, la elección de proveedor o de todos,
// y el tipo que saca el informe en su vista previa. La ventana no lee la
// base más que por el núcleo, que ya se prueba en los dos motores.

#include "labels/frmListado.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class FrmListado : public testing::Test {
 protected:
  FrmListado() : tienda(prueba::Motor::SQLite) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("proveedores")));
    // Doce proveedores vivos: una página llena y otra de dos.
    for (int i = 1; i <= 8; ++i)
      tienda.insertar(
          QStringLiteral("proveedores"),
          {{"codigo", QString::number(100 + i)}, {"nombre", QStringLiteral("Zeta %1").arg(i)}, {"borrar", 0}});
    tienda.ajustes.ImpresoraInformes = QStringLiteral("Impresora que no existe");
  }

  std::unique_ptr<frmListado> Abrir() {
    frmListado::Entorno e;
    e.ajustes = &tienda.ajustes;
    e.seleccion = &tienda.seleccion;
    e.notificador = &tienda.notificador;
    e.reloj = &tienda.reloj;
    e.intervaloProgreso = 1;
    e.pantalla = QRect(0, 0, 1024, 768);
    return std::make_unique<frmListado>(std::move(e));
  }

  template <class T>
  static T* Control(QWidget* f, const QString& nombre) {
    return f->findChild<T*>(nombre);
  }

  static QStringList Fichas(QWidget* f) {
    QStringList r;
    for (int i = 0; auto* b = Control<QPushButton>(f, QStringLiteral("picProveedor_%1").arg(i)); ++i) r << b->text();
    return r;
  }

  qint64 FilasInformes() const {
    datos::Consulta q = tienda.ajustes.ConexionInformes->preparar(QStringLiteral("SELECT COUNT(*) FROM informes"));
    q.ejecutar();
    return q.siguiente() ? q.valor(0).toLongLong() : -1;
  }

  prueba::Tienda tienda;
};

TEST_F(FrmListado, FichasFlechasYElInformeDelProveedorElegido) {
  auto f = Abrir();
  f->show();
  auto* siguiente = Control<QAbstractButton>(f.get(), QStringLiteral("pic_SiguienteProveedor"));
  auto* atras = Control<QAbstractButton>(f.get(), QStringLiteral("pic_AtrasProveedor"));
  auto* frtipo = Control<QWidget>(f.get(), QStringLiteral("frtipo"));
  ASSERT_TRUE(siguiente && atras && frtipo);

  // Primera página: diez fichas por nombre, la primera azul; sólo adelante.
  const QStringList primera = Fichas(f.get());
  ASSERT_EQ(primera.size(), 10);
  EXPECT_EQ(primera.front(), QString::fromUtf8("Cárnicas Ñorcas"));
  EXPECT_TRUE(Control<QPushButton>(f.get(), QStringLiteral("picProveedor_0"))->styleSheet().contains("0, 0, 255"));
  EXPECT_FALSE(Control<QPushButton>(f.get(), QStringLiteral("picProveedor_1"))->styleSheet().contains("0, 0, 255"));
  EXPECT_TRUE(siguiente->isVisible());
  EXPECT_FALSE(atras->isVisible());
  EXPECT_FALSE(frtipo->isVisible());

  // La siguiente, con las dos que faltaban; la anterior vuelve a empezar.
  siguiente->click();
  EXPECT_EQ(Fichas(f.get()), (QStringList{"Zeta 7", "Zeta 8"}));
  EXPECT_FALSE(siguiente->isVisible());
  EXPECT_TRUE(atras->isVisible());
  atras->click();
  atras->click();
  EXPECT_EQ(Fichas(f.get()), primera);

  // Un proveedor: el nombre hasta los cuatro blancos, y su informe.
  const qsizetype frutas = primera.indexOf(QStringLiteral("Frutas    Segura Hnos"));
  ASSERT_GE(frutas, 0);
  Control<QPushButton>(f.get(), QStringLiteral("picProveedor_%1").arg(frutas))->click();
  EXPECT_TRUE(frtipo->isVisible());
  EXPECT_EQ(Control<QLabel>(f.get(), QStringLiteral("lblProveedorListar"))->text(), QStringLiteral("Frutas"));
  EXPECT_EQ(f->proveedorElegido(), QStringLiteral("5"));
  Control<QAbstractButton>(f.get(), QStringLiteral("cmdTipo_2"))->click();
  EXPECT_EQ(FilasInformes(), 1);
  ASSERT_NE(f->ultimaVista(), nullptr);
  EXPECT_EQ(f->ultimaVista()->plantilla(), QStringLiteral("hosteleria_productos.rpt"));
  EXPECT_FALSE(Control<QWidget>(f.get(), QStringLiteral("Frame10"))->isVisible());
  EXPECT_TRUE(f->isVisible()) << "el formulario sigue abierto para otra elección";

  // De venta no tiene: el aviso y ninguna vista nueva.
  f->ultimaVista()->close();
  Control<QAbstractButton>(f.get(), QStringLiteral("cmdTipo_0"))->click();
  EXPECT_EQ(FilasInformes(), 0);
  ASSERT_FALSE(tienda.notificador.avisos.isEmpty());
  EXPECT_EQ(tienda.notificador.avisos.back().texto, QStringLiteral("No hay datos para ser mostrados."));

  // Todos los proveedores con todos los productos.
  Control<QAbstractButton>(f.get(), QStringLiteral("cmdTodos"))->click();
  EXPECT_EQ(Control<QLabel>(f.get(), QStringLiteral("lblProveedorListar"))->text(),
            QStringLiteral("TODOS LOS PROVEEDORES"));
  Control<QAbstractButton>(f.get(), QStringLiteral("cmdTipo_3"))->click();
  EXPECT_EQ(FilasInformes(), 16);

  Control<QAbstractButton>(f.get(), QStringLiteral("btnCancelar"))->click();
  EXPECT_FALSE(f->isVisible());
}

}  // namespace
