#pragma once
// El diálogo de búsqueda de productos: el comienzo del nombre, del
// proveedor o de la familia, con un teclado en pantalla para las pantallas
// táctiles. Un clic en un resultado devuelve su código en ProductoBusqueda y
// cierra; "Salir" (o Escape) devuelve "-1".

#include "labels/BusquedaProductos.h"
#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/datos/Datos.h"

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>

class QLineEdit;
class QListWidgetItem;
class QPushButton;
class QTimer;

namespace Ui {
class Buscar;
}

namespace etiquetas {

class Buscar : public QDialog {
  Q_OBJECT

 public:
  Buscar(const datos::Conexion& ventas, QString& ProductoBusqueda, QWidget* padre = nullptr);
  ~Buscar() override;

  // Lo que pone quien abre el diálogo antes de mostrarlo.
  QString modoBusqueda;  // "Pr": productos, el único que usa este programa
  qint16 iUser = 0;      // la búsqueda de productos no lo lee
  // Opcional: los colores de la caja (claves colorcaja y color), el idioma
  // del puesto y la pantalla a la que se ajusta (vacía: la del diálogo).
  const ajustes::AlmacenAjustes* almacen = nullptr;
  QString Idioma = QStringLiteral("CASTELLANO");
  QRect pantalla;

  // Ejecuta la búsqueda con lo que hay en las cajas.
  void BuscarAhora();
  // El factor horizontal con que se escaló el formulario.
  double fx() const { return fx_; }
  QTimer* temporizadorVaiven() const { return tmrMovAyuda_; }
  QTimer* temporizadorSeries() const { return tmrMovAyuda2_; }

  void reject() override;
  void setVisible(bool visible) override;

 protected:
  void showEvent(QShowEvent* evento) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void Cargar();
  void Mostrar();
  void pulsarTecla(int tecla);
  void elegir(QListWidgetItem* entrada);
  void limpiarcajas();
  void moverAyuda();

  std::unique_ptr<Ui::Buscar> ui_;
  const datos::Conexion& ventas_;
  QString& ProductoBusqueda_;
  QPointer<QLineEdit> objetivo_;  // la caja que escribe el teclado
  QTimer* tmrMovAyuda_ = nullptr;
  QTimer* tmrMovAyuda2_ = nullptr;
  VaivenAyuda vaiven_;
  double fx_ = 1.0;
  bool cargado_ = false;
};

// Abre Buscar modal en modo productos y devuelve el código elegido, o "-1"
// si el usuario sale sin elegir.
QString AbrirBuscar(const datos::Conexion& ventas, QWidget* padre);

}  // namespace etiquetas
