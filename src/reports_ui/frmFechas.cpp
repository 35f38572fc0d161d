#include "reports_ui/frmFechas.h"

#include "platform/sistema/Sistema.h"
#include "ui_frmFechas.h"

#include <QSignalBlocker>
#include <QStyle>

namespace {

QString textoFecha(const QDate& fecha) {
  return fecha.toString(QStringLiteral("dd/MM/yyyy"));
}

// Vuelve a marcar en el calendario la fecha que vale sin que el calendario
// avise otra vez: el aviso es justo lo que estamos atendiendo.
void marcar(QCalendarWidget& calendario, const QDate& fecha) {
  const QSignalBlocker callado(calendario);
  calendario.setSelectedDate(fecha);
}

}  // namespace

frmFechas::frmFechas(SeleccionInforme& seleccion, const sistema::Reloj& reloj, QWidget* padre)
    : QDialog(padre), ui(std::make_unique<Ui::frmFechas>()), seleccion_(seleccion) {
  ui->setupUi(this);
  ui->cmd_Cancelar->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

  // Cada vez que se abre empieza de cero: lo que eligió el informe anterior
  // no vale para éste.
  const QDate hoy = reloj.hoy();
  seleccion_.Completo = false;
  seleccion_.FechaDesde = hoy;
  seleccion_.FechaHasta = hoy;
  ui->chkCompleto->setChecked(false);
  ui->chkCompleto->hide();
  ui->lblNumVentas->hide();
  ui->txtVentas->hide();
  marcar(*ui->mv_FechaInicio, hoy);
  marcar(*ui->mv_FechaFinal, hoy);
  ajustarLimites();
  ui->lblDesde->setText(textoFecha(hoy));
  ui->lblHasta->setText(textoFecha(hoy));

  // selectionChanged llega igual con el ratón que con el teclado; clicked sólo
  // con el ratón, y el teclado se quedaría sin rango.
  connect(ui->mv_FechaInicio, &QCalendarWidget::selectionChanged, this,
          [this] { fechaInicioPulsada(ui->mv_FechaInicio->selectedDate()); });
  connect(ui->mv_FechaFinal, &QCalendarWidget::selectionChanged, this,
          [this] { fechaFinalPulsada(ui->mv_FechaFinal->selectedDate()); });
  connect(ui->chkCompleto, &QCheckBox::toggled, this, [this](bool marcada) { seleccion_.Completo = marcada; });
  connect(ui->txtVentas, &QLineEdit::textChanged, this, &frmFechas::ventasCambiadas);
  connect(ui->cmd_Aceptar, &QPushButton::clicked, this, [this] {
    seleccion_.Aceptado = true;
    accept();
  });
  connect(ui->cmd_Cancelar, &QPushButton::clicked, this, &frmFechas::reject);
}

frmFechas::~frmFechas() = default;

void frmFechas::ponerTipoInforme(const QString& texto) {
  ui->lblTipoInforme->setText(texto);
}

void frmFechas::mostrarCompleto() {
  ui->chkCompleto->show();
}

void frmFechas::MostrarNumVentas() {
  ui->lblNumVentas->show();
  ui->txtVentas->show();
  ui->txtVentas->setText(QString::number(seleccion_.NumVentas));
}

void frmFechas::fechaInicioPulsada(const QDate& fecha) {
  ajustarLimites();
  if (fecha.isValid() && fecha <= seleccion_.FechaHasta) {
    seleccion_.FechaDesde = fecha;
    ui->lblDesde->setText(textoFecha(fecha));
    ajustarLimites();
  }
  marcar(*ui->mv_FechaInicio, seleccion_.FechaDesde);
}

void frmFechas::fechaFinalPulsada(const QDate& fecha) {
  ajustarLimites();
  if (fecha.isValid() && fecha >= seleccion_.FechaDesde) {
    seleccion_.FechaHasta = fecha;
    ui->lblHasta->setText(textoFecha(fecha));
    ajustarLimites();
  }
  marcar(*ui->mv_FechaFinal, seleccion_.FechaHasta);
}

void frmFechas::reject() {
  seleccion_.Aceptado = false;
  QDialog::reject();
}

void frmFechas::ventasCambiadas(const QString& texto) {
  if (texto.isEmpty()) {
    seleccion_.NumVentas = 1;
    return;
  }
  // Mientras se teclea pasa por textos que no son un umbral ("2.", "-", una
  // cifra de más); el umbral se queda con el último que sí lo era.
  bool esNumero = false;
  const qint16 numero = texto.toShort(&esNumero);
  if (esNumero) seleccion_.NumVentas = numero;
}

void frmFechas::ajustarLimites() {
  // Con FechaDesde <= FechaHasta ningún límite recorta lo marcado, así que
  // callar los calendarios no esconde ningún cambio de fecha.
  const QSignalBlocker inicio(ui->mv_FechaInicio);
  const QSignalBlocker final_(ui->mv_FechaFinal);
  ui->mv_FechaInicio->setMaximumDate(seleccion_.FechaHasta);
  ui->mv_FechaFinal->setMinimumDate(seleccion_.FechaDesde);
}
