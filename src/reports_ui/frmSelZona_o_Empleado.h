#pragma once
// El diálogo que pregunta cómo se agrupa el informe de ventas por familias:
// por zonas o por empleados. Deja la respuesta en la selección del informe y
// se cierra.

#include "registro/SeleccionInforme.h"

#include <QDialog>
#include <QFrame>

#include <functional>
#include <memory>

namespace Ui {
class frmSelZona_o_Empleado;
}

// Las figuras de color de los diálogos de selección (shp_logo y compañía):
// cuadritos ocultos que guardan colores del tema. El coloreado por paleta las
// deja como están, y así shp_logo conserva el color de diseño del .ui, que es
// el que el diálogo copia en su marco.
class QPushButton;

class FiguraColor : public QFrame {
  Q_OBJECT
  // El color de diseño se escribe en el .ui.
  Q_PROPERTY(QColor color READ color WRITE ponerColor)

 public:
  explicit FiguraColor(QWidget* padre = nullptr);
  void ponerColor(const QColor& color);
  QColor color() const;
};

class QLabel;

// Lo que los diálogos de selección hacen tras el coloreado general: el
// encabezado con el color del título del formulario principal y el marco de
// los botones con el color de la figura shp_logo.
void ColorearEncabezadoYMarco(QLabel& encabezado, QFrame& marco, const FiguraColor& logo,
                              const QColor& colorTituloPrincipal);

// Las dos filas de elección de los diálogos de agrupación: el botón de texto
// y el de imagen de su lado hacen lo mismo (en una pantalla táctil se pulsa
// el que quede más a mano); el de cancelar cierra como la caja de la ventana.
void PrepararEleccion(QDialog& dialogo, QPushButton& texto1, QPushButton& imagen1, QPushButton& texto2,
                      QPushButton& imagen2, QPushButton& cancelar, const std::function<void()>& primera,
                      const std::function<void()>& segunda);

class frmSelZona_o_Empleado : public QDialog {
  Q_OBJECT

 public:
  explicit frmSelZona_o_Empleado(SeleccionInforme& seleccion, QWidget* padre = nullptr);
  ~frmSelZona_o_Empleado() override;

  // Tras el coloreado general: lblTipoInforme toma el color de texto de la
  // etiqueta de título del formulario principal y frtipo el color de shp_logo.
  void colorearEspecial(const QColor& colorTituloPrincipal);

  // Cancelar, la caja de cierre y Escape acaban todos aquí.
  void reject() override;

 private:
  void elegir(bool porZonas);

  std::unique_ptr<Ui::frmSelZona_o_Empleado> ui;
  SeleccionInforme& seleccion_;
};
