#pragma once
// Elección del empleado para los informes de un solo empleado: una tesela por
// empleado de alta, a pantalla completa, para pulsar con el dedo.

#include "registro/CargarEmpleados.h"
#include "registro/SeleccionInforme.h"

#include <QColor>
#include <QDialog>

#include <memory>
#include <vector>

class Mosaico;

namespace Ui {
class frmSelEmpleado;
}

class frmSelEmpleado : public QDialog {
  Q_OBJECT
 public:
  // Pulsar una tesela escribe su código en seleccion.EmpleadoElegido y
  // acepta; Salir, cerrar la ventana o Escape rechazan sin tocar la selección.
  frmSelEmpleado(std::vector<Tesela> empleados, SeleccionInforme& seleccion, QWidget* padre = nullptr);
  ~frmSelEmpleado() override;

  // Lo que hace el formulario al cargar después del coloreado general: Frame2 toma el color de shp_logo y
  // los tres colores del panel toman `colorCabecera` (el fondo de frCabecera del formulario principal).
  void colorearEspecial(const QColor& colorCabecera);
  Mosaico* panel() const;

 private:
  void elegir(const QString& clave);

  std::unique_ptr<Ui::frmSelEmpleado> ui_;
  SeleccionInforme& seleccion_;
};
