#pragma once
// Panel de teselas: un botón grande por entrada, todos del mismo tamaño, en
// una rejilla que reparte las columnas según el ancho. Se pinta y se escala
// solo (propiedad cronicasAspectoPropio): el coloreado, la traducción, la
// escala y los permisos de los formularios no entran en él.

#include "registro/CargarEmpleados.h"

#include <QColor>
#include <QSize>
#include <QWidget>

#include <vector>

class QGridLayout;
class QLabel;
class QPushButton;
class QScrollArea;

class Mosaico : public QWidget {
  Q_OBJECT
 public:
  explicit Mosaico(QWidget* padre = nullptr);

  // Sustituye las teselas. Sin ninguna, el panel lo dice con una etiqueta.
  void cargar(const std::vector<Tesela>& teselas);
  // Fondo del panel, fondo de las teselas y color de la tesela bajo el ratón/pulsada.
  void fijarColores(const QColor& fondo, const QColor& tesela, const QColor& resaltado);
  int cantidad() const;

 signals:
  void teselaPulsada(const QString& clave);

 protected:
  void resizeEvent(QResizeEvent* evento) override;

 private:
  int columnasQueCaben() const;
  void colocar(int columnas);
  void aplicarColores();

  QScrollArea* area_;
  QWidget* contenedor_;
  QGridLayout* rejilla_;
  QLabel* vacio_;
  std::vector<QPushButton*> teselas_;
  QSize tamTesela_;
  int columnas_ = 0;
  QColor fondo_;
  QColor tesela_;
  QColor resaltado_;
};
