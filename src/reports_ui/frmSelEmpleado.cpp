#include "reports_ui/frmSelEmpleado.h"

#include "reports_ui/Mosaico.h"
#include "ui_frmSelEmpleado.h"

#include <QStyle>

#include <limits>

namespace {

void PonerFondo(QWidget& control, const QColor& color) {
  QPalette paleta = control.palette();
  paleta.setColor(QPalette::Window, color);
  control.setPalette(paleta);
  control.setAutoFillBackground(true);
}

void PonerTexto(QWidget& control, const QColor& color) {
  QPalette paleta = control.palette();
  paleta.setColor(QPalette::WindowText, color);
  control.setPalette(paleta);
}

}  // namespace

frmSelEmpleado::frmSelEmpleado(std::vector<Tesela> empleados, SeleccionInforme& seleccion, QWidget* padre)
    : QDialog(padre), ui_(std::make_unique<Ui::frmSelEmpleado>()), seleccion_(seleccion) {
  ui_->setupUi(this);

  // Las figuras guardan los colores de diseño; el coloreado de la suite las
  // repinta con los del usuario y colorearEspecial los lee de ahí.
  ui_->Colores->hide();
  PonerFondo(*ui_->shp_botones, QColor(0xF4, 0xF6, 0xF8));
  PonerFondo(*ui_->shp_titulos_1, QColor(0x1F, 0x3A, 0x5F));
  PonerFondo(*ui_->shp_titulos_2, QColor(0x2E, 0x5C, 0x8A));
  PonerFondo(*ui_->Shp_titulos_3, QColor(0x5B, 0x84, 0xB1));
  PonerFondo(*ui_->shp_logo, QColor(0xE8, 0xEE, 0xF4));

  // Sin coloreado de la suite el formulario ya se ve como se diseñó.
  PonerFondo(*ui_->frCabecera, ui_->shp_titulos_1->palette().color(QPalette::Window));
  PonerTexto(*ui_->Label1, Qt::white);
  PonerTexto(*ui_->Label2, ui_->shp_titulos_1->palette().color(QPalette::Window));
  PonerFondo(*ui_->Frame2, ui_->shp_logo->palette().color(QPalette::Window));

  ui_->PanelEmpleados->cargar(empleados);
  connect(ui_->PanelEmpleados, &Mosaico::teselaPulsada, this, &frmSelEmpleado::elegir);
  // Sin gestor de ventanas no hay caja de cierre: la salida tiene que verse.
  ui_->cmd_Salir->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  connect(ui_->cmd_Salir, &QPushButton::clicked, this, &QDialog::reject);
}

frmSelEmpleado::~frmSelEmpleado() = default;

void frmSelEmpleado::colorearEspecial(const QColor& colorCabecera) {
  PonerFondo(*ui_->Frame2, ui_->shp_logo->palette().color(QPalette::Window));
  ui_->PanelEmpleados->fijarColores(colorCabecera, colorCabecera, colorCabecera);
}

Mosaico* frmSelEmpleado::panel() const {
  return ui_->PanelEmpleados;
}

void frmSelEmpleado::elegir(const QString& clave) {
  // La clave es el código del empleado. Un código que no cabe en la
  // selección no se puede elegir: mejor no cerrar que informar de otro.
  bool esNumero = false;
  const int codigo = clave.toInt(&esNumero);
  if (!esNumero || codigo < std::numeric_limits<qint16>::min() || codigo > std::numeric_limits<qint16>::max()) return;
  seleccion_.EmpleadoElegido = static_cast<qint16>(codigo);
  accept();
}
