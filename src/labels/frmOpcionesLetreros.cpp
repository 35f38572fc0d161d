#include "labels/frmOpcionesLetreros.h"

#include "labels/Etiquetas.h"
#include "reports_ui/ImprimirReport.h"
#include "reports_ui/VistaPrevia.h"
#include "reports_ui/frmparar.h"
#include "startup/AspectoFormulario.h"
#include "ui_frmOpcionesLetreros.h"

#include <QEvent>
#include <QLineEdit>
#include <QValidator>

namespace {
const QString kCronicas = QStringLiteral("Cronicas");

// El límite de una línea al teclear. QLineEdit::setMaxLength cortaría lo que
// ya está escrito al pasar a un diseño más estrecho, y eso se conserva: sólo
// se impide que crezca por encima del límite.
// El límite va en la propiedad «maximo» de la caja. Cuando se valida, la
// caja ya lleva el texto nuevo: se compara con el largo del último aceptado.
class LimiteLinea : public QValidator {
 public:
  explicit LimiteLinea(QLineEdit* caja) : QValidator(caja), caja_(caja), previo_(caja->text().size()) {
    connect(caja, &QLineEdit::textChanged, this, [this](const QString& t) { previo_ = t.size(); });
  }
  State validate(QString& texto, int&) const override {
    const int maximo = caja_->property("maximo").toInt();
    return texto.size() > maximo && texto.size() > previo_ ? Invalid : Acceptable;
  }

 private:
  QLineEdit* caja_;
  qsizetype previo_;
};
}  // namespace

frmOpcionesLetreros::frmOpcionesLetreros(Entorno entorno, QWidget* padre)
    : QDialog(padre), ui_(std::make_unique<Ui::frmOpcionesLetreros>()), e_(std::move(entorno)) {
  ui_->setupUi(this);
  lineas_ = {ui_->ct_cartel1_0, ui_->ct_cartel1_1, ui_->ct_cartel1_2, ui_->ct_cartel1_3};
  maximos_ = {ui_->Label11_0, ui_->Label11_1, ui_->Label11_2, ui_->Label11_3};
  for (QLineEdit* l : lineas_) {
    l->setProperty("maximo", 15);
    l->setValidator(new LimiteLinea(l));
    l->installEventFilter(this);
    // Un clic en una caja que ya tiene el foco no lo gana otra vez.
    connect(l, &QLineEdit::selectionChanged, this, [l] {
      if (l->text() == letreros::kMarcador) l->clear();
    });
  }
  ui_->fr_cartel->setVisible(false);

  const std::array<QAbstractButton*, letreros::kDisenos> carteles = {ui_->Command2_0, ui_->Command2_1, ui_->Command2_2};
  for (int n = 0; n < letreros::kDisenos; ++n)
    connect(carteles[static_cast<std::size_t>(n)], &QAbstractButton::clicked, this, [this, n] { elegirCartel(n); });
  connect(ui_->Command1_0, &QAbstractButton::clicked, this, &frmOpcionesLetreros::imprimir);
  connect(ui_->Command1_2, &QAbstractButton::clicked, this, [this] { ui_->fr_cartel->setVisible(false); });
  connect(ui_->bt_precio, &QAbstractButton::clicked, this, &frmOpcionesLetreros::etiquetasPrecios);
  connect(ui_->btnCancelar, &QAbstractButton::clicked, this, &QDialog::reject);

  if (e_.ajustes) {
    try {
      aspecto::Colorear(*this, e_.ajustes->IdColor, *e_.ajustes->ConexionVentas, e_.ajustes->IdTerminal);
    } catch (const datos::ErrorDatos&) {
      // Sin paleta la ventana se usa igual con los colores de diseño.
    }
  }
  // El marco de edición se separa del menú con un fondo más claro.
  aspecto::PonerColorFondo(*ui_->fr_cartel, aspecto::ColorFondo(*this).lighter(112));
  if (e_.pantalla.isValid())
    aspecto::EscalarFormulario(*this, e_.pantalla);
  else
    aspecto::EscalarFormulario(*this);
}

frmOpcionesLetreros::~frmOpcionesLetreros() = default;

bool frmOpcionesLetreros::eventFilter(QObject* objeto, QEvent* evento) {
  const QEvent::Type t = evento->type();
  if (t == QEvent::FocusIn || t == QEvent::FocusOut || t == QEvent::MouseButtonPress) {
    for (QLineEdit* l : lineas_)
      if (objeto == l && l->text() == letreros::kMarcador) l->clear();
  }
  return QDialog::eventFilter(objeto, evento);
}

void frmOpcionesLetreros::elegirCartel(int n) {
  cartel_ = n;
  const letreros::Diseno& d = letreros::DisenoCartel(n);
  plantilla_ = d.plantilla;
  ui_->fr_cartel->setVisible(true);
  ui_->Line1->setVisible(d.raya);
  const Qt::Alignment centrales =
      (d.lineasCentrales == letreros::Alineacion::Derecha ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter;
  for (std::size_t i = 2; i < 4; ++i) lineas_[i]->setAlignment(centrales);
  for (std::size_t i = 0; i < 4; ++i) {
    lineas_[i]->setProperty("maximo", d.maximos[i]);
    maximos_[i]->setText(letreros::RotuloMaximo(d.maximos[i]));
  }
}

void frmOpcionesLetreros::imprimir() {
  const AjustesTerminal& at = *e_.ajustes;
  letreros::Lineas lineas;
  for (std::size_t i = 0; i < 4; ++i) lineas[i] = lineas_[i]->text();
  try {
    letreros::EscribirLetrero(*at.ConexionInformes, lineas, letreros::DisenoCartel(cartel_));
  } catch (const datos::ErrorDatos& error) {
    e_.notificador->mensaje(error.mensaje(), kCronicas, sistema::Icono::Critico);
    return;
  }
  {
    frmparar progreso(this, e_.intervaloProgreso);
    progreso.exec();
  }
  if (VistaPrevia* previa = registro::ImprimirReportDesde(e_, this, plantilla_)) ultimaVista_ = previa;
}

void frmOpcionesLetreros::etiquetasPrecios() {
  int productos = 0;
  try {
    productos = etiquetas::ContarProductos(*e_.ajustes->ConexionVentas);
  } catch (const datos::ErrorDatos& error) {
    e_.notificador->mensaje(error.mensaje(), kCronicas, sistema::Icono::Critico);
    return;
  }
  if (productos == 0) {
    e_.notificador->mensaje(QStringLiteral("No tiene Productos para generar Códigos de Barra."), kCronicas,
                            sistema::Icono::Informacion);
    return;
  }
  frmCodigoBarra etiquetas(e_, this);
  etiquetas.move(geometry().topLeft());
  etiquetas.exec();
}
