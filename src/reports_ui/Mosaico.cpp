#include "reports_ui/Mosaico.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Las teselas se pulsan con el dedo en pantallas táctiles de caja: grandes,
// y todas del tamaño de la mayor para que la rejilla no baile.
constexpr int kAnchoMinimo = 180;
constexpr int kAlto = 100;
constexpr int kRelleno = 32;
constexpr int kSeparacion = 16;
constexpr int kMargen = 16;
constexpr int kPuntosLetra = 13;

double Luminancia(const QColor& c) {
  auto lineal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * lineal(c.redF()) + 0.7152 * lineal(c.greenF()) + 0.0722 * lineal(c.blueF());
}

// Negro o blanco, el que más contraste dé sobre `fondo`: los colores los
// elige el usuario en la suite y pueden ser tanto pastel como muy oscuros.
QColor TextoSobre(const QColor& fondo) {
  const double l = Luminancia(fondo);
  return (l + 0.05) / 0.05 >= 1.05 / (l + 0.05) ? QColor(Qt::black) : QColor(Qt::white);
}

QString Css(const QColor& c, int alfa = 255) {
  return QStringLiteral("rgba(%1, %2, %3, %4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(alfa);
}

QFont LetraTesela(const QFont& base) {
  QFont letra = base;
  letra.setPointSize(kPuntosLetra);
  letra.setBold(true);
  return letra;
}

}  // namespace

Mosaico::Mosaico(QWidget* padre)
    : QWidget(padre),
      area_(new QScrollArea(this)),
      contenedor_(new QWidget(area_)),
      rejilla_(new QGridLayout(contenedor_)),
      vacio_(new QLabel(QStringLiteral("No hay empleados de alta."), this)),
      tamTesela_(kAnchoMinimo, kAlto),
      fondo_(0xE8, 0xEE, 0xF4),
      tesela_(0x1F, 0x3A, 0x5F),
      resaltado_(0x2E, 0x5C, 0x8A) {
  setProperty("cronicasAspectoPropio", true);
  setAutoFillBackground(true);

  auto* disposicion = new QVBoxLayout(this);
  disposicion->setContentsMargins(0, 0, 0, 0);
  disposicion->addWidget(area_);
  disposicion->addWidget(vacio_);

  // La rejilla centrada en el panel mientras quepa; si no, se desplaza.
  rejilla_->setAlignment(Qt::AlignCenter);
  rejilla_->setContentsMargins(kMargen, kMargen, kMargen, kMargen);
  rejilla_->setSpacing(kSeparacion);

  area_->setObjectName(QStringLiteral("areaTeselas"));
  area_->setFrameShape(QFrame::NoFrame);
  area_->setWidgetResizable(true);
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area_->setWidget(contenedor_);
  // QScrollArea rellena su vista y el contenido; aquí se tiene que ver el
  // fondo del panel.
  area_->viewport()->setAutoFillBackground(false);
  contenedor_->setAutoFillBackground(false);

  vacio_->setObjectName(QStringLiteral("lblSinEmpleados"));
  vacio_->setAlignment(Qt::AlignCenter);
  vacio_->setFont(LetraTesela(font()));
  vacio_->setAutoFillBackground(false);

  cargar({});
}

void Mosaico::cargar(const std::vector<Tesela>& teselas) {
  for (QPushButton* b : teselas_) delete b;
  teselas_.clear();

  const QFont letra = LetraTesela(font());
  const QFontMetrics medidas(letra);
  int ancho = kAnchoMinimo;
  for (const Tesela& t : teselas) ancho = std::max(ancho, medidas.horizontalAdvance(t.titulo) + kRelleno);
  tamTesela_ = QSize(ancho, kAlto);

  for (const Tesela& t : teselas) {
    auto* boton = new QPushButton(t.titulo, contenedor_);
    boton->setObjectName(QStringLiteral("tesela_") + t.clave);
    boton->setFont(letra);
    boton->setFixedSize(tamTesela_);
    boton->setCursor(Qt::PointingHandCursor);
    connect(boton, &QPushButton::clicked, this, [this, clave = t.clave] { emit teselaPulsada(clave); });
    teselas_.push_back(boton);
  }
  area_->setVisible(!teselas_.empty());
  vacio_->setVisible(teselas_.empty());
  // Al menos una columna entera: la barra horizontal no se enseña nunca.
  setMinimumSize(tamTesela_ +
                 QSize(2 * kMargen + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), 2 * kMargen));
  colocar(columnasQueCaben());
  aplicarColores();
}

void Mosaico::fijarColores(const QColor& fondo, const QColor& tesela, const QColor& resaltado) {
  fondo_ = fondo;
  tesela_ = tesela;
  resaltado_ = resaltado;
  aplicarColores();
}

int Mosaico::cantidad() const {
  return static_cast<int>(teselas_.size());
}

void Mosaico::resizeEvent(QResizeEvent* evento) {
  QWidget::resizeEvent(evento);
  const int columnas = columnasQueCaben();
  if (columnas != columnas_) colocar(columnas);
}

int Mosaico::columnasQueCaben() const {
  // Se reserva siempre la barra vertical: si el número de columnas
  // dependiera de que la barra aparezca, la rejilla podría ir y venir entre
  // dos repartos.
  const int disponible = width() - 2 * kMargen - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int caben = std::max(1, (disponible + kSeparacion) / (tamTesela_.width() + kSeparacion));
  // Las filas que hagan falta, pero repartidas por igual: 6 y 6 se leen
  // mejor que 9 y 3.
  const int n = std::max(1, cantidad());
  const int filas = (n + caben - 1) / caben;
  return (n + filas - 1) / filas;
}

void Mosaico::colocar(int columnas) {
  columnas_ = columnas;
  for (QPushButton* b : teselas_) rejilla_->removeWidget(b);
  for (int i = 0; i < cantidad(); ++i) rejilla_->addWidget(teselas_[i], i / columnas, i % columnas);
}

void Mosaico::aplicarColores() {
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, fondo_);
  paleta.setColor(QPalette::WindowText, TextoSobre(fondo_));
  setPalette(paleta);
  vacio_->setPalette(paleta);

  // Una hoja de estilo y no la paleta: con la paleta el estilo del sistema
  // decide si respeta el fondo del botón, y Fusion lo degrada. El borde
  // separa la tesela del panel aunque tengan el mismo color, y al pasar el
  // ratón se engruesa para que se note aunque el resaltado coincida con la
  // tesela.
  const QColor texto = TextoSobre(tesela_);
  const QColor textoResaltado = TextoSobre(resaltado_);
  contenedor_->setStyleSheet(
      QStringLiteral("QPushButton { background-color: %1; color: %2; border: 2px solid %3; border-radius: 10px; "
                     "padding: 6px; }"
                     "QPushButton:focus { border: 2px dashed %2; }"
                     "QPushButton:hover, QPushButton:pressed { background-color: %4; color: %5; "
                     "border: 4px solid %5; }")
          .arg(Css(tesela_), Css(texto), Css(texto, 90), Css(resaltado_), Css(textoResaltado)));
}
