#pragma once
// El calendario del diálogo de fechas. Cada calendario no deja pasar del
// otro; los días que quedan fuera se ven apagados, para que no parezca que
// el clic en ellos se ha perdido.

#include <QCalendarWidget>

class CalendarioFechas : public QCalendarWidget {
  Q_OBJECT
 public:
  using QCalendarWidget::QCalendarWidget;

  bool disponible(QDate fecha) const { return fecha >= minimumDate() && fecha <= maximumDate(); }

 protected:
  void paintCell(QPainter* pintor, const QRect& celda, QDate fecha) const override;
};
