#include "reports_ui/frmSelGeneral_o_Totalizado.h"

#include "reports_ui/frmSelZona_o_Empleado.h"
#include "ui_frmSelGeneral_o_Totalizado.h"

frmSelGeneral_o_Totalizado::frmSelGeneral_o_Totalizado(SeleccionInforme& seleccion, QWidget* padre)
    : QDialog(padre), ui(std::make_unique<Ui::frmSelGeneral_o_Totalizado>()), seleccion_(seleccion) {
  ui->setupUi(this);
  PrepararEleccion(
      *this, *ui->Command1, *ui->Command3, *ui->Command2, *ui->Command4, *ui->cmd_Cancelar,
      [this] { elegir(kTotalizado); }, [this] { elegir(kGeneral); });
}

frmSelGeneral_o_Totalizado::~frmSelGeneral_o_Totalizado() = default;

void frmSelGeneral_o_Totalizado::colorearEspecial(const QColor& colorTituloPrincipal) {
  ColorearEncabezadoYMarco(*ui->lblTipoInforme, *ui->frtipo, *ui->shp_logo, colorTituloPrincipal);
}

void frmSelGeneral_o_Totalizado::reject() {
  // Quien abre el diálogo no mira Aceptado sino este -1 para no hacer nada.
  seleccion_.FormatoZonas = kCancelado;
  QDialog::reject();
}

void frmSelGeneral_o_Totalizado::elegir(qint16 formato) {
  seleccion_.FormatoZonas = formato;
  accept();
}
