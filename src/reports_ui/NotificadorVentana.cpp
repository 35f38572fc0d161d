#include "reports_ui/NotificadorVentana.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace registro {

namespace {

QMessageBox::Icon IconoCuadro(sistema::Icono icono) {
  switch (icono) {
    case sistema::Icono::Informacion:
      return QMessageBox::Information;
    case sistema::Icono::Critico:
      return QMessageBox::Critical;
    case sistema::Icono::Exclamacion:
      return QMessageBox::Warning;
    case sistema::Icono::Pregunta:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

NotificadorVentana::NotificadorVentana(QWidget* padre) : padre_(padre) {}

void NotificadorVentana::mensaje(const QString& texto, const QString& titulo, sistema::Icono icono) {
  QWidget* padre = padre_ ? padre_.data() : QApplication::activeWindow();
  QMessageBox cuadro(IconoCuadro(icono), titulo, texto, QMessageBox::Ok, padre);
  // Sin traducción de Qt instalada el botón diría "OK".
  cuadro.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
  cuadro.exec();
}

}  // namespace registro
