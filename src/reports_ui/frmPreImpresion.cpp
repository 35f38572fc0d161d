#include "reports_ui/frmPreImpresion.h"

#include "builders/InformesTicket.h"
#include "platform/impresoras/Impresoras.h"
#include "ui_frmPreImpresion.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStyle>

#include <algorithm>

QStringList LineasTicket(const QString& texto) {
  return texto.split(QStringLiteral("\r\n"));
}

bool PintarLineasTicket(QPagedPaintDevice& dispositivo, const QStringList& lineas, const QString& fuente, int ancho) {
  QPainter p;
  if (!p.begin(&dispositivo)) return false;
  QFont letra(QStringLiteral("Courier New"));
  letra.setStyleHint(QFont::Monospace);
  letra.setFixedPitch(true);
  // Una letra que el sistema no tiene deja la de siempre.
  if (!fuente.trimmed().isEmpty() && QFontDatabase::families().contains(fuente.trimmed(), Qt::CaseInsensitive))
    letra.setFamily(fuente.trimmed());
  const QRectF util(QPointF(0, 0), QSizeF(p.viewport().size()));
  // El tamaño que hace caber una línea entera (W + 1 caracteres), sin pasar
  // del de lectura de un ticket.
  letra.setPointSizeF(10);
  p.setFont(letra);
  const double anchoLinea = QFontMetricsF(letra, &dispositivo).horizontalAdvance(QString(ancho + 1, QLatin1Char('M')));
  if (anchoLinea > util.width() && anchoLinea > 0) {
    letra.setPointSizeF(std::max(4.0, 10 * util.width() / anchoLinea));
    p.setFont(letra);
  }
  const QFontMetricsF m(letra, &dispositivo);
  double y = 0;
  for (const QString& l : lineas) {
    if (y + m.height() > util.height()) {
      if (!dispositivo.newPage()) return false;
      y = 0;
    }
    p.drawText(QPointF(0, y + m.ascent()), l);
    y += m.lineSpacing();
  }
  return p.end();
}

void ImprimirTextoTicket(const datos::Conexion& ventas, const QString& impresora, const QString& texto, int& ancho,
                         sistema::Notificador& notificador) {
  const informes::DatosDeImpresora datos = informes::DatosImpresora(ventas, impresora);
  ancho = datos.ancho;
  QPrinter printer(QPrinter::HighResolution);
  const auto lista = impresoras::ImpresorasSistema();
  if (const auto elegida = impresoras::ElegirImpresora(lista, impresora.trimmed()))
    printer.setPrinterName(elegida->nombre);
  printer.setFullPage(false);
  if (!PintarLineasTicket(printer, LineasTicket(texto), datos.fuente, ancho))
    notificador.mensaje(QStringLiteral("Compruebe la conexion con su impresora y que esta este encendida."),
                        QStringLiteral("Preticket"), sistema::Icono::Informacion);
}

frmPreImpresion::frmPreImpresion(const datos::Conexion& ventas, QString impresora, sistema::Notificador& notificador,
                                 QWidget* padre)
    : QDialog(padre),
      ui_(std::make_unique<Ui::frmPreImpresion>()),
      ventas_(ventas),
      impresora_(std::move(impresora)),
      notificador_(notificador) {
  ui_->setupUi(this);
  QFont letra(QStringLiteral("Courier New"));
  letra.setStyleHint(QFont::Monospace);
  letra.setFixedPitch(true);
  letra.setPointSizeF(9.75);
  ui_->txtListado->setFont(letra);
  ui_->Image3->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
  connect(ui_->Command1, &QPushButton::clicked, this, &frmPreImpresion::imprimir);
  connect(ui_->cmd_Salir, &QPushButton::clicked, this, &QDialog::reject);
}

frmPreImpresion::~frmPreImpresion() = default;

void frmPreImpresion::ponerTexto(const QString& texto) {
  // El cuadro de texto guarda los saltos como LF; al imprimir vuelven a CR LF.
  QString t = texto;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  ui_->txtListado->setPlainText(t);
}

QString frmPreImpresion::texto() const {
  QString t = ui_->txtListado->toPlainText();
  t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return t;
}

void frmPreImpresion::imprimir() {
  ImprimirTextoTicket(ventas_, impresora_, texto(), numCaracteres, notificador_);
}
