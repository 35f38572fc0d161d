#include "reports_ui/frmSelZona_o_Empleado.h"

#include "ui_frmSelZona_o_Empleado.h"

#include <QStyle>

FiguraColor::FiguraColor(QWidget* padre) : QFrame(padre) {
  setAutoFillBackground(true);
  setFrameShape(QFrame::Box);
  setFixedSize(24, 24);
}

void FiguraColor::ponerColor(const QColor& color) {
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, color);
  setPalette(paleta);
}

QColor FiguraColor::color() const {
  return palette().color(QPalette::Window);
}

void ColorearEncabezadoYMarco(QLabel& encabezado, QFrame& marco, const FiguraColor& logo,
                              const QColor& colorTituloPrincipal) {
  QPalette texto = encabezado.palette();
  texto.setColor(QPalette::WindowText, colorTituloPrincipal);
  encabezado.setPalette(texto);
  // Se lee la figura ahora y no el color de diseño: el tema de la suite puede
  // haberla repintado antes.
  QPalette fondo = marco.palette();
  fondo.setColor(QPalette::Window, logo.color());
  marco.setPalette(fondo);
  marco.setAutoFillBackground(true);
}

frmSelZona_o_Empleado::frmSelZona_o_Empleado(SeleccionInforme& seleccion, QWidget* padre)
    : QDialog(padre), ui(std::make_unique<Ui::frmSelZona_o_Empleado>()), seleccion_(seleccion) {
  ui->setupUi(this);
  const QIcon flecha = style()->standardIcon(QStyle::SP_ArrowRight);
  ui->Command3->setIcon(flecha);
  ui->Command4->setIcon(flecha);
  ui->cmd_Cancelar->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

  // El botón de imagen de cada fila hace lo mismo que el de texto: en una
  // pantalla táctil se pulsa el que quede más a mano.
  for (QPushButton* boton : {ui->Command1, ui->Command3})
    connect(boton, &QPushButton::clicked, this, [this] { elegir(true); });
  for (QPushButton* boton : {ui->Command2, ui->Command4})
    connect(boton, &QPushButton::clicked, this, [this] { elegir(false); });
  connect(ui->cmd_Cancelar, &QPushButton::clicked, this, &frmSelZona_o_Empleado::reject);
}

frmSelZona_o_Empleado::~frmSelZona_o_Empleado() = default;

void frmSelZona_o_Empleado::colorearEspecial(const QColor& colorTituloPrincipal) {
  ColorearEncabezadoYMarco(*ui->lblTipoInforme, *ui->frtipo, *ui->shp_logo, colorTituloPrincipal);
}

void frmSelZona_o_Empleado::reject() {
  seleccion_.Aceptado = false;
  QDialog::reject();
}

void frmSelZona_o_Empleado::elegir(bool porZonas) {
  // Sólo se levanta la marca elegida; quien abre el diálogo baja las dos antes.
  if (porZonas)
    seleccion_.PorZonas = true;
  else
    seleccion_.PorEmpleados = true;
  seleccion_.Aceptado = true;
  accept();
}
