#include "reports_ui/frmSelGeneral_o_Totalizado.h"

#include "reports_ui/frmSelZona_o_Empleado.h"
#include "ui_frmSelGeneral_o_Totalizado.h"

#include <QStyle>

frmSelGeneral_o_Totalizado::frmSelGeneral_o_Totalizado(SeleccionInforme& seleccion, QWidget* padre)
    : QDialog(padre), ui(std::make_unique<Ui::frmSelGeneral_o_Totalizado>()), seleccion_(seleccion) {
  ui->setupUi(this);
  const QIcon flecha = style()->standardIcon(QStyle::SP_ArrowRight);
  ui->Command3->setIcon(flecha);
  ui->Command4->setIcon(flecha);
  ui->cmd_Cancelar->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

  // El botón de imagen de cada fila hace lo mismo que el de texto.
  for (QPushButton* boton : {ui->Command1, ui->Command3})
    connect(boton, &QPushButton::clicked, this, [this] { elegir(kTotalizado); });
  for (QPushButton* boton : {ui->Command2, ui->Command4})
    connect(boton, &QPushButton::clicked, this, [this] { elegir(kGeneral); });
  connect(ui->cmd_Cancelar, &QPushButton::clicked, this, &frmSelGeneral_o_Totalizado::reject);
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
