#pragma once
// La ventana de los informes: las páginas del documento maquetado tal como
// saldrán del papel, con la barra para imprimirlas, guardarlas en PDF o
// exportarlas a la hoja de cálculo.

#include "platform/motor/Motor.h"
#include "platform/sistema/Notificador.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QRect;

class VistaPrevia : public QMainWindow {
  Q_OBJECT
 public:
  VistaPrevia(std::unique_ptr<motor::InformePreparado> informe, motor::Documento documento, QString plantilla,
              QString impresora, sistema::Notificador& notificador, QWidget* padre = nullptr);
  ~VistaPrevia() override;

  const QString& plantilla() const { return plantilla_; }
  const motor::Documento& documento() const { return documento_; }
  int paginas() const;
  int paginaActual() const;  // desde 1
  // La impresora en la que se imprime; vacía, la predeterminada.
  const QString& impresora() const { return impresora_; }
  void irAPagina(int n);

  // Ocupa la pantalla como los formularios del programa: su área disponible
  // entera, desde la esquina, con las letras reducidas en una pantalla
  // pequeña. Se llama una vez, antes de mostrarla.
  void ajustarAPantalla(const QRect& pantalla);
  // Los diálogos de guardar empiezan en esta carpeta.
  void ponerCarpetaSalida(const QString& carpeta) { carpetaSalida_ = carpeta; }
  // La enseña delante y con el teclado: sin gestor de ventanas nadie más le
  // daría el foco, y Escape no llegaría a cerrarla.
  void mostrar();

  // Pinta las páginas en esa impresora, con el tamaño de página del
  // documento; si la impresora trae un intervalo de páginas o la página
  // actual, sólo esas. Un fallo se avisa.
  void imprimirEn(QPrinter& impresora);
  // Falso, y avisado, si no se pudo escribir.
  bool guardarPdf(const QString& ruta);
  bool exportarHoja(const QString& ruta);

 public slots:
  void imprimir();
  void guardarPdfComo();
  void exportarHojaComo();

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  bool esRollo() const;
  void ajustarZoomInicial();
  void pintarVista(QPrinter* impresora);
  void actualizarBarra();
  void volverAlComienzoDePagina();
  void pintarPaginas(QPrinter& impresora, int desde, int hasta);
  QString rutaSugerida(const QString& extension) const;
  QString carpetaDialogos() const;
  QString pedirRuta(const QString& titulo, const QString& extension, const QString& filtro);

  std::unique_ptr<motor::InformePreparado> informe_;
  motor::Documento documento_;
  QString plantilla_;
  QString impresora_;
  QString carpetaSalida_;
  sistema::Notificador& notificador_;
  // La vista pinta sobre esta impresora: tiene que vivir más que ella.
  std::unique_ptr<QPrinter> papel_;
  QPrintPreviewWidget* previa_ = nullptr;
  QLabel* lblPagina_ = nullptr;
  QAction* primera_ = nullptr;
  QAction* anterior_ = nullptr;
  QAction* siguiente_ = nullptr;
  QAction* ultima_ = nullptr;
};
