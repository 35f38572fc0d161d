#pragma once
// El diálogo que pregunta en qué forma sale el informe de ventas por zonas:
// general o totalizado por productos. Deja la respuesta en FormatoZonas y se
// cierra; Aceptado no es cosa suya.

#include "registro/SeleccionInforme.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmSelGeneral_o_Totalizado;
}

class frmSelGeneral_o_Totalizado : public QDialog {
  Q_OBJECT

 public:
  // Los valores de FormatoZonas que deja el diálogo.
  static constexpr qint16 kGeneral = 1;
  static constexpr qint16 kTotalizado = 2;
  static constexpr qint16 kCancelado = -1;

  explicit frmSelGeneral_o_Totalizado(SeleccionInforme& seleccion, QWidget* padre = nullptr);
  ~frmSelGeneral_o_Totalizado() override;

  // Tras el coloreado general: lblTipoInforme toma el color de texto de la
  // etiqueta de título del formulario principal y frtipo el color de shp_logo.
  void colorearEspecial(const QColor& colorTituloPrincipal);

  // Cancelar, la caja de cierre y Escape acaban todos aquí.
  void reject() override;

 private:
  void elegir(qint16 formato);

  std::unique_ptr<Ui::frmSelGeneral_o_Totalizado> ui;
  SeleccionInforme& seleccion_;
};
