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

void PrepararEleccion(QDialog& dialogo, QPushButton& texto1, QPushButton& imagen1, QPushButton& texto2,
                      QPushButton& imagen2, QPushButton& cancelar, const std::function<void()>& primera,
                      const std::function<void()>& segunda) {
  const QIcon flecha = dialogo.style()->standardIcon(QStyle::SP_ArrowRight);
  imagen1.setIcon(flecha);
  imagen2.setIcon(flecha);
  cancelar.setIcon(dialogo.style()->standardIcon(QStyle::SP_DialogCancelButton));
  for (QPushButton* boton : {&texto1, &imagen1}) QObject::connect(boton, &QPushButton::clicked, &dialogo, primera);
  for (QPushButton* boton : {&texto2, &imagen2}) QObject::connect(boton, &QPushButton::clicked, &dialogo, segunda);
  QObject::connect(&cancelar, &QPushButton::clicked, &dialogo, &QDialog::reject);
}

frmSelZona_o_Empleado::frmSelZona_o_Empleado(SeleccionInforme& seleccion, QWidget* padre)
    : QDialog(padre), ui(std::make_unique<Ui::frmSelZona_o_Empleado>()), seleccion_(seleccion) {
  ui->setupUi(this);
  PrepararEleccion(
      *this, *ui->Command1, *ui->Command3, *ui->Command2, *ui->Command4, *ui->cmd_Cancelar, [this] { elegir(true); },
      [this] { elegir(false); });
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
