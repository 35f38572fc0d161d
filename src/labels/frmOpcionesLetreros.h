#pragma once
// El menú de lo impreso para la tienda: tres diseños de letreros de ofertas,
// cuyas cuatro líneas se escriben en el marco de edición, y la entrada al
// generador de etiquetas de precio.

#include "labels/Letreros.h"
#include "labels/frmCodigoBarra.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <memory>

class QLineEdit;
class QLabel;
class VistaPrevia;
namespace Ui {
class frmOpcionesLetreros;
}

class frmOpcionesLetreros : public QDialog {
  Q_OBJECT

 public:
  using Entorno = frmCodigoBarra::Entorno;

  explicit frmOpcionesLetreros(Entorno entorno, QWidget* padre = nullptr);
  ~frmOpcionesLetreros() override;

  // «Cartel Nº(n + 1)»: su plantilla, sus límites y el marco de edición.
  void elegirCartel(int n);
  // «Imprimir» del marco: el letrero en Informes y su vista previa.
  void imprimir();
  // «Etiquetas Precios»: el generador, si hay algún producto.
  void etiquetasPrecios();

  const QString& plantilla() const { return plantilla_; }
  VistaPrevia* ultimaVista() const { return ultimaVista_; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  std::unique_ptr<Ui::frmOpcionesLetreros> ui_;
  Entorno e_;
  std::array<QLineEdit*, 4> lineas_{};
  std::array<QLabel*, 4> maximos_{};
  int cartel_ = 0;
  QString plantilla_;
  QPointer<VistaPrevia> ultimaVista_;
};
