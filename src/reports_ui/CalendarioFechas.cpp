#include "reports_ui/CalendarioFechas.h"

#include <QPainter>

namespace {

// Un color entre el fondo y el texto: sigue valiendo con los colores del
// puesto, sean claros u oscuros.
QColor Mezcla(const QColor& fondo, const QColor& texto, double t) {
  return QColor::fromRgbF(static_cast<float>(fondo.redF() + (texto.redF() - fondo.redF()) * t),
                          static_cast<float>(fondo.greenF() + (texto.greenF() - fondo.greenF()) * t),
                          static_cast<float>(fondo.blueF() + (texto.blueF() - fondo.blueF()) * t));
}

}  // namespace

void CalendarioFechas::paintCell(QPainter* pintor, const QRect& celda, QDate fecha) const {
  if (disponible(fecha)) {
    QCalendarWidget::paintCell(pintor, celda, fecha);
    return;
  }
  // Qt sólo les cambia el fondo al de la ventana, que en el diálogo es el
  // mismo blanco que el de los demás días.
  const QColor fondo = palette().color(QPalette::Base);
  const QColor texto = palette().color(QPalette::Text);
  pintor->save();
  pintor->fillRect(celda, Mezcla(fondo, texto, 0.12));
  pintor->setPen(Mezcla(fondo, texto, 0.4));
  pintor->setFont(font());
  pintor->drawText(celda, Qt::AlignCenter, locale().toString(fecha.day()));
  pintor->restore();
}
