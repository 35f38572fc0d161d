#include "reports_ui/VistaPrevia.h"

#include "startup/AspectoFormulario.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGraphicsView>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRect>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {

// La página del documento en una impresora: el tamaño del informe (un A4, un
// A4 apaisado, el rollo del ticket) sin márgenes. Lo apaisado va como papel
// vertical girado, que es como lo reconocen las impresoras. Un ticket corto
// puede salir más ancho que largo, pero el rollo avanza siempre a lo largo:
// girarlo lo imprimiría de lado.
QPageLayout DisenoPagina(const motor::Documento& documento, bool rollo) {
  const QSizeF mm = documento.tamano;
  const bool apaisada = !rollo && mm.width() > mm.height();
  return QPageLayout(
      QPageSize(apaisada ? mm.transposed() : mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
      apaisada ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// El título del informe: recortado con puntos suspensivos cuando no cabe,
// para que un título largo no eche de la barra los botones de las páginas.
class Rotulo : public QLabel {
 public:
  using QLabel::QLabel;
  QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = contentsRect();
    p.setPen(palette().color(foregroundRole()));
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
  }
};

QAction* Accion(QToolBar* barra, const QString& nombre, const QString& texto, const QKeySequence& atajo = {}) {
  QAction* a = barra->addAction(texto);
  a->setObjectName(nombre);
  if (!atajo.isEmpty()) a->setShortcut(atajo);
  return a;
}

}  // namespace

VistaPrevia::VistaPrevia(std::unique_ptr<motor::InformePreparado> informe, motor::Documento documento,
                         QString plantilla, QString impresora, sistema::Notificador& notificador, QWidget* padre)
    : QMainWindow(padre),
      informe_(std::move(informe)),
      documento_(std::move(documento)),
      plantilla_(std::move(plantilla)),
      impresora_(std::move(impresora)),
      notificador_(notificador),
      papel_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setObjectName(QStringLiteral("VistaPrevia"));
  setWindowTitle(QStringLiteral("INFORMES:"));

  // La vista se pinta en PDF y no en la impresora del puesto: una impresora
  // de verdad cambiaría el rollo del ticket o una medida que no conoce por
  // uno de sus papeles, y la vista tiene que enseñar el documento tal cual.
  papel_->setOutputFormat(QPrinter::PdfFormat);
  papel_->setFullPage(true);
  papel_->setPageLayout(DisenoPagina(documento_, esRollo()));
  previa_ = new QPrintPreviewWidget(papel_.get(), this);
  previa_->setObjectName(QStringLiteral("previa"));
  setCentralWidget(previa_);
  if (auto* vista = previa_->findChild<QGraphicsView*>()) vista->installEventFilter(this);
  connect(previa_, &QPrintPreviewWidget::paintRequested, this, &VistaPrevia::pintarVista);
  connect(previa_, &QPrintPreviewWidget::previewChanged, this, &VistaPrevia::actualizarBarra);

  // Dos filas que caben en una pantalla de 800 de ancho: arriba lo que se
  // hace con el informe y la escala, abajo su título y las páginas.
  QToolBar* barra = addToolBar(QStringLiteral("Informe"));
  barra->setObjectName(QStringLiteral("barraInforme"));
  barra->setMovable(false);
  barra->setToolButtonStyle(Qt::ToolButtonTextOnly);
  connect(Accion(barra, QStringLiteral("cmdImprimir"), QStringLiteral("Imprimir"), QKeySequence::Print),
          &QAction::triggered, this, &VistaPrevia::imprimir);
  connect(Accion(barra, QStringLiteral("cmdGuardarPdf"), QStringLiteral("Guardar PDF"), QKeySequence::Save),
          &QAction::triggered, this, &VistaPrevia::guardarPdfComo);
  QAction* exportar = Accion(barra, QStringLiteral("cmdExportarHoja"), QStringLiteral("Exportar a hoja de cálculo"));
  exportar->setEnabled(informe_ != nullptr);
  connect(exportar, &QAction::triggered, this, &VistaPrevia::exportarHojaComo);
  barra->addSeparator();
  connect(Accion(barra, QStringLiteral("cmdAcercar"), QStringLiteral("Acercar"), QKeySequence::ZoomIn),
          &QAction::triggered, previa_, [this] { previa_->zoomIn(); });
  connect(Accion(barra, QStringLiteral("cmdAlejar"), QStringLiteral("Alejar"), QKeySequence::ZoomOut),
          &QAction::triggered, previa_, [this] { previa_->zoomOut(); });
  connect(Accion(barra, QStringLiteral("cmdAjustarAncho"), QStringLiteral("Ajustar al ancho")), &QAction::triggered,
          previa_, &QPrintPreviewWidget::fitToWidth);
  auto* hueco = new QWidget(barra);
  hueco->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  barra->addWidget(hueco);
  connect(Accion(barra, QStringLiteral("cmdCerrar"), QStringLiteral("Cerrar"), Qt::Key_Escape), &QAction::triggered,
          this, &QWidget::close);

  addToolBarBreak();
  QToolBar* rotulo = addToolBar(QStringLiteral("Documento"));
  rotulo->setObjectName(QStringLiteral("barraDocumento"));
  rotulo->setMovable(false);
  rotulo->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto* lblTitulo = new Rotulo(documento_.titulo, rotulo);
  lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
  lblTitulo->setContentsMargins(6, 0, 12, 0);
  QFont negrita = lblTitulo->font();
  negrita.setBold(true);
  lblTitulo->setFont(negrita);
  rotulo->addWidget(lblTitulo);
  primera_ = Accion(rotulo, QStringLiteral("cmdPrimera"), QStringLiteral("Primera"), Qt::CTRL | Qt::Key_Home);
  anterior_ = Accion(rotulo, QStringLiteral("cmdAnterior"), QStringLiteral("Anterior"), Qt::Key_PageUp);
  lblPagina_ = new QLabel(rotulo);
  lblPagina_->setObjectName(QStringLiteral("lblPagina"));
  lblPagina_->setContentsMargins(6, 0, 6, 0);
  rotulo->addWidget(lblPagina_);
  siguiente_ = Accion(rotulo, QStringLiteral("cmdSiguiente"), QStringLiteral("Siguiente"), Qt::Key_PageDown);
  ultima_ = Accion(rotulo, QStringLiteral("cmdUltima"), QStringLiteral("Última"), Qt::CTRL | Qt::Key_End);
  connect(primera_, &QAction::triggered, this, [this] { irAPagina(1); });
  connect(anterior_, &QAction::triggered, this, [this] { irAPagina(paginaActual() - 1); });
  connect(siguiente_, &QAction::triggered, this, [this] { irAPagina(paginaActual() + 1); });
  connect(ultima_, &QAction::triggered, this, [this] { irAPagina(paginas()); });

  ajustarZoomInicial();
  // Las páginas se generan ya y no al enseñar la ventana: el número de
  // páginas y la barra valen desde el principio.
  previa_->updatePreview();
  actualizarBarra();
}

VistaPrevia::~VistaPrevia() {
  // La vista usa papel_ hasta el final; se va antes que él.
  delete previa_;
}

bool VistaPrevia::esRollo() const {
  return informe_ && informe_->plantilla().esRollo();
}

void VistaPrevia::ajustarZoomInicial() {
  const motor::Papel* papel = esRollo() ? &informe_->plantilla().papel : nullptr;
  if (!papel || papel->caracteres <= 0) {
    previa_->setZoomMode(QPrintPreviewWidget::FitToWidth);
    return;
  }
  // Un rollo al ancho de la ventana deja tres líneas por pantalla: se enseña
  // con cada carácter del ticket del ancho de uno de los de la ventana, que
  // es el tamaño al que se lee.
  const double mmPorCaracter = (papel->ancho - papel->margenIzquierda - papel->margenDerecha) / papel->caracteres;
  const double pixelesPorMm = previa_->logicalDpiX() / 25.4;
  const double caracter = QFontMetrics(lblPagina_->font()).averageCharWidth();
  previa_->setZoomMode(QPrintPreviewWidget::CustomZoom);
  previa_->setZoomFactor(caracter / (mmPorCaracter * pixelesPorMm));
}

void VistaPrevia::ajustarAPantalla(const QRect& pantalla) {
  aspecto::EscalarFormulario(*this, pantalla);
  move(pantalla.topLeft());
  // Las letras pueden haber cambiado, y con ellas el tamaño de lectura.
  if (previa_->zoomMode() == QPrintPreviewWidget::CustomZoom) ajustarZoomInicial();
}

void VistaPrevia::mostrar() {
  showMaximized();
  raise();
  activateWindow();
}

int VistaPrevia::paginas() const {
  return static_cast<int>(documento_.paginas.size());
}

int VistaPrevia::paginaActual() const {
  return previa_->currentPage();
}

void VistaPrevia::irAPagina(int n) {
  if (paginas() == 0) return;
  previa_->setCurrentPage(std::clamp(n, 1, paginas()));
  actualizarBarra();
}

void VistaPrevia::actualizarBarra() {
  const int n = paginaActual(), total = paginas();
  lblPagina_->setText(QStringLiteral("Página %1 de %2").arg(n).arg(total));
  primera_->setEnabled(n > 1);
  anterior_->setEnabled(n > 1);
  siguiente_->setEnabled(n < total);
  ultima_->setEnabled(n < total);
}

void VistaPrevia::pintarVista(QPrinter* impresora) {
  pintarPaginas(*impresora, 0, paginas() - 1);
}

void VistaPrevia::pintarPaginas(QPrinter& impresora, int desde, int hasta) {
  QPainter pintor;
  if (!pintor.begin(&impresora)) {
    const QString donde = impresora.outputFileName().isEmpty() ? impresora.printerName()
                                                               : QDir::toNativeSeparators(impresora.outputFileName());
    notificador_.mensaje(donde.isEmpty() ? QStringLiteral("No se puede imprimir el informe.")
                                         : QStringLiteral("No se puede imprimir el informe en %1.").arg(donde),
                         QStringLiteral("Cronicas"), sistema::Icono::Critico);
    return;
  }
  for (int i = desde; i <= hasta; ++i) {
    if (i > desde) impresora.newPage();
    motor::PintarPagina(documento_, i, pintor);
  }
}

void VistaPrevia::imprimirEn(QPrinter& impresora) {
  impresora.setFullPage(true);
  impresora.setPageLayout(DisenoPagina(documento_, esRollo()));
  if (impresora.docName().isEmpty())
    impresora.setDocName(documento_.titulo.isEmpty() ? QStringLiteral("Cronicas") : documento_.titulo);
  int desde = 1, hasta = paginas();
  if (impresora.printRange() == QPrinter::PageRange && impresora.fromPage() > 0) {
    desde = impresora.fromPage();
    if (impresora.toPage() > 0) hasta = std::min(hasta, impresora.toPage());
  } else if (impresora.printRange() == QPrinter::CurrentPage) {
    desde = hasta = paginaActual();
  }
  // Un intervalo que cae fuera del informe no manda una hoja en blanco.
  if (desde > hasta) return;
  pintarPaginas(impresora, desde - 1, hasta - 1);
}

bool VistaPrevia::guardarPdf(const QString& ruta) {
  try {
    motor::GuardarPdf(documento_, ruta);
    return true;
  } catch (const motor::ErrorSalida& e) {
    notificador_.mensaje(e.mensaje(), QStringLiteral("Cronicas"), sistema::Icono::Critico);
    return false;
  }
}

bool VistaPrevia::exportarHoja(const QString& ruta) {
  if (!informe_) return false;
  try {
    for (const QString& aviso : motor::GuardarXlsx(informe_->informe(), ruta))
      notificador_.mensaje(aviso, QStringLiteral("Aviso"), sistema::Icono::Exclamacion);
    return true;
  } catch (const motor::ErrorSalida& e) {
    notificador_.mensaje(e.mensaje(), QStringLiteral("Cronicas"), sistema::Icono::Critico);
    return false;
  }
}

void VistaPrevia::imprimir() {
  QPrinter impresora(QPrinter::HighResolution);
  if (!impresora_.isEmpty()) impresora.setPrinterName(impresora_);
  impresora.setFullPage(true);
  impresora.setPageLayout(DisenoPagina(documento_, esRollo()));
  QPrintDialog dialogo(&impresora, this);
  dialogo.setObjectName(QStringLiteral("dlgImprimir"));
  dialogo.setWindowTitle(QStringLiteral("Imprimir"));
  dialogo.setOption(QAbstractPrintDialog::PrintCurrentPage);
  dialogo.setMinMax(1, std::max(1, paginas()));
  if (dialogo.exec() == QDialog::Accepted) imprimirEn(impresora);
}

QString VistaPrevia::carpetaDialogos() const {
  // La carpeta de salida es la del puesto; si aún no existe se crea, como la
  // crea la exportación del resumen diario.
  if (!carpetaSalida_.isEmpty() && QDir().mkpath(carpetaSalida_)) return QFileInfo(carpetaSalida_).absoluteFilePath();
  const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !documentos.isEmpty() && QFileInfo(documentos).isDir() ? documentos : QDir::homePath();
}

QString VistaPrevia::rutaSugerida(const QString& extension) const {
  // El nombre que se propone es el título del informe, el que ve el usuario,
  // sin lo que no puede ir en el nombre de un fichero.
  QString nombre = documento_.titulo.simplified();
  static const QRegularExpression kProhibidos(QStringLiteral(R"([\\/:*?"<>|])"));
  nombre.replace(kProhibidos, QStringLiteral("-"));
  if (nombre.isEmpty()) nombre = QStringLiteral("Informe");
  return QDir(carpetaDialogos()).filePath(nombre + QLatin1Char('.') + extension);
}

QString VistaPrevia::pedirRuta(const QString& titulo, const QString& extension, const QString& filtro) {
  const QFileInfo sugerida(rutaSugerida(extension));
  QFileDialog dialogo(this, titulo, sugerida.absolutePath(), filtro);
  dialogo.setObjectName(QStringLiteral("dlgGuardar"));
  dialogo.setAcceptMode(QFileDialog::AcceptSave);
  dialogo.setFileMode(QFileDialog::AnyFile);
  dialogo.setDefaultSuffix(extension);
  dialogo.selectFile(sugerida.fileName());
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
  return dialogo.selectedFiles().constFirst();
}

void VistaPrevia::guardarPdfComo() {
  const QString ruta = pedirRuta(QStringLiteral("Guardar PDF"), QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"));
  if (!ruta.isEmpty()) guardarPdf(ruta);
}

void VistaPrevia::exportarHojaComo() {
  const QString ruta = pedirRuta(QStringLiteral("Exportar a hoja de cálculo"), QStringLiteral("xlsx"),
                                 QStringLiteral("Hoja de cálculo (*.xlsx)"));
  if (!ruta.isEmpty()) exportarHoja(ruta);
}

bool VistaPrevia::eventFilter(QObject* objeto, QEvent* evento) {
  // Con el ajuste al ancho, la vista que cambia de tamaño recalcula la escala
  // pero conserva el punto central y se queda en mitad de la página: se
  // vuelve al comienzo de la página en que estaba.
  if (evento->type() == QEvent::Resize) QTimer::singleShot(0, this, [this] { volverAlComienzoDePagina(); });
  return QMainWindow::eventFilter(objeto, evento);
}

void VistaPrevia::closeEvent(QCloseEvent* evento) {
  // Sin gestor de ventanas nadie devuelve el teclado a la ventana que abrió
  // la vista.
  if (QWidget* padre = parentWidget(); padre && padre->isVisible()) padre->activateWindow();
  QMainWindow::closeEvent(evento);
}

void VistaPrevia::volverAlComienzoDePagina() {
  const int pagina = previa_->currentPage();
  if (paginas() > 1) {
    // Sólo cambiar de página lleva la vista al principio de la página.
    previa_->setCurrentPage(pagina > 1 ? pagina - 1 : pagina + 1);
    previa_->setCurrentPage(pagina);
  } else if (auto* vista = previa_->findChild<QGraphicsView*>()) {
    vista->verticalScrollBar()->setValue(vista->verticalScrollBar()->minimum());
  }
}
