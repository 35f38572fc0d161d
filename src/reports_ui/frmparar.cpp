#include "reports_ui/frmparar.h"

#include "ui_frmparar.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

namespace {

// La posición se diseñó en twips sobre una pantalla de 1024×768 (15 twips
// por píxel); en otra pantalla se coloca en la misma proporción.
constexpr double kDisenoX = 4900;
constexpr double kDisenoY = 2010;
constexpr double kPantallaAncho = 15360;
constexpr double kPantallaAlto = 11280;
constexpr int kPaso = 20;

}  // namespace

frmparar::frmparar(QWidget* padre, int intervaloMs)
    : QDialog(padre), ui_(std::make_unique<Ui::frmparar>()), temporizador_(new QTimer(this)) {
  ui_->setupUi(this);
  // Sin caja de cierre: el aviso se va solo.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(size());
  temporizador_->setObjectName(QStringLiteral("Timer1"));
  temporizador_->setInterval(intervaloMs);
  connect(temporizador_, &QTimer::timeout, this, &frmparar::tic);
}

frmparar::~frmparar() = default;

void frmparar::cerrar() {
  temporizador_->stop();
  if (isVisible()) accept();
}

void frmparar::tic() {
  ui_->barra->setValue(std::min(ui_->barra->value() + kPaso, ui_->barra->maximum()));
  // Deja pintar la barra y el informe que se abre detrás.
  QCoreApplication::processEvents();
  if (ui_->barra->value() >= ui_->barra->maximum()) cerrar();
}

QProgressBar* frmparar::barraProgreso() const {
  return ui_->barra;
}

void frmparar::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  // Volver de minimizado no es cargar otra vez.
  if (evento->spontaneous()) return;
  ui_->barra->setValue(0);
  const QScreen* pantalla = screen() ? screen() : QGuiApplication::primaryScreen();
  if (pantalla) {
    const QRect zona = pantalla->availableGeometry();
    move(zona.x() + qRound(kDisenoX * zona.width() / kPantallaAncho),
         zona.y() + qRound(kDisenoY * zona.height() / kPantallaAlto));
  }
  temporizador_->start();
}

void frmparar::hideEvent(QHideEvent* evento) {
  // Escondido por quien sea, no debe seguir contando.
  temporizador_->stop();
  QDialog::hideEvent(evento);
}
