#pragma once
// El formulario de los gráficos del mes. La ventana principal le da el
// título, el mes, el año y el número del gráfico, y lo abre modal; al
// cargarse dibuja el gráfico, y después cambia de estilo, de color, pasa a
// la tabla día por hora (ventas por horas y reservas) o imprime.

#include "charts/DibujoGrafico.h"
#include "charts/SeriesGraficos.h"
#include "platform/sistema/Notificador.h"
#include "startup/AjustesTerminal.h"
#include "startup/Aspecto.h"

#include <QColor>
#include <QDialog>
#include <QRect>

#include <optional>

class QChart;
class QCheckBox;
class QFrame;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QVBoxLayout;

class frmGraficos : public QDialog {
  Q_OBJECT

 public:
  struct Entorno {
    AjustesTerminal* ajustes = nullptr;
    sistema::Notificador* notificador = nullptr;
    QColor colorTitulo;  // el del rótulo de cabecera de la ventana principal
    QRect pantalla;      // vacía: la pantalla del formulario
  };

  explicit frmGraficos(Entorno entorno, QWidget* padre = nullptr);
  ~frmGraficos() override;

  // Lo que pone la ventana principal antes de Cargar().
  QString NombreGrafico;
  qint16 NumGrafico = -1;
  QString mes;  // "1" a "12"
  QString año;

  // La carga del formulario: título, botón de tabla, colores, escala y el
  // gráfico.
  void Cargar();
  void CrearGrafico();
  void mostrarTabla();
  void preparargrid();
  void colorearpaneles();
  // La página del gráfico en `impresora`, sin diálogo.
  void imprimirEn(QPagedPaintDevice& impresora);

  int modoGrafico = 1;  // 1 plano, 2 relieve: vale al pulsar el siguiente estilo

  // Lo que se ve, para quien lo mire desde fuera.
  int tipoGrafico() const { return tipo_; }
  const graficos::Serie& serie() const { return serie_; }
  const graficos::Matriz& matriz() const { return matriz_; }
  QChart* graficoPlano() const { return plano_; }
  std::optional<QColor> colorSerie() const { return color_; }

 private:
  void construir();
  void pulsarEstilo(graficos::Estilo estilo);
  void Graficar();
  void cmdFormatoTabla();
  void ImprimirGrafico();
  void compararConAnterior(bool comparar);
  QImage imagenGrafico() const;
  int mesNumero() const { return mes.toInt(); }
  int añoNumero() const { return año.toInt(); }

  Entorno e_;
  aspecto::FactoresEscala escala_;
  graficos::Serie serie_;
  std::optional<graficos::Serie> anterior_;
  graficos::Matriz matriz_;
  int tipo_ = 1;
  std::optional<QColor> color_;
  QChart* plano_ = nullptr;
  QWidget* vista_ = nullptr;

  QLabel* lblTituloGrafico_ = nullptr;
  QFrame* fr_grafico_ = nullptr;
  QVBoxLayout* capaGrafico_ = nullptr;
  QFrame* frGrid_ = nullptr;
  QTableWidget* grid_Detalles_ = nullptr;
  QLabel* lblX_ = nullptr;
  QLabel* lblY_ = nullptr;
  QRadioButton* op2D_ = nullptr;
  QRadioButton* op3D_ = nullptr;
  QPushButton* cmdFormatoTabla_ = nullptr;
  QCheckBox* chkAñoAnterior_ = nullptr;
  QFrame* shpOpcionesGrafica_ = nullptr;
  QFrame* shp_botones_ = nullptr;
  QFrame* shp_logo_ = nullptr;
};
