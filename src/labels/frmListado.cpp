#include "labels/frmListado.h"

#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "reports_ui/ImprimirReport.h"
#include "reports_ui/frmparar.h"
#include "startup/AspectoFormulario.h"
#include "ui_frmListado.h"

#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPushButton>

namespace {
constexpr int kColumnasFichas = 5;
const QString kBoton = QStringLiteral("cmdStockXProveedores");
}  // namespace

frmListado::frmListado(Entorno entorno, QWidget* padre)
    : QDialog(padre), ui(std::make_unique<Ui::frmListado>()), e_(std::move(entorno)) {
  ui->setupUi(this);
  ui->Colores->setVisible(false);
  ui->pic_SiguienteProveedor->setArrowType(Qt::RightArrow);
  ui->pic_AtrasProveedor->setArrowType(Qt::LeftArrow);
  for (QWidget* etiqueta :
       {static_cast<QWidget*>(ui->lbl_SiguienteProveedor), static_cast<QWidget*>(ui->lbl_AtrasProveedor)}) {
    etiqueta->installEventFilter(this);
    etiqueta->setCursor(Qt::PointingHandCursor);
  }
  connect(ui->pic_SiguienteProveedor, &QAbstractButton::clicked, this, [this] {
    paginas_->paginaSiguiente();
    crearProveedores();
  });
  connect(ui->pic_AtrasProveedor, &QAbstractButton::clicked, this, [this] {
    paginas_->paginaAnterior();
    crearProveedores();
  });
  connect(ui->cmdTodos, &QAbstractButton::clicked, this, &frmListado::elegirTodos);
  const QPushButton* tipos[] = {ui->cmdTipo_0, ui->cmdTipo_1, ui->cmdTipo_2, ui->cmdTipo_3};
  for (qint16 i = 0; i < 4; ++i) connect(tipos[i], &QAbstractButton::clicked, this, [this, i] { CargarProductos(i); });
  connect(ui->btnCancelar, &QAbstractButton::clicked, this, &QDialog::reject);
  ui->Frame10->setVisible(false);

  bCargarTablaDinamicaProveedores();
  paginas_->dibujar();
  crearProveedores();
  ocultarPaneles();
}

frmListado::~frmListado() = default;

void frmListado::colorearpaneles() {
  const QColor botones = aspecto::ColorFondo(*ui->shp_botones);
  for (QWidget* w : {static_cast<QWidget*>(ui->panelProveedor), static_cast<QWidget*>(ui->frtipo),
                     static_cast<QWidget*>(ui->cmdTodos)})
    aspecto::PonerColorFondo(*w, botones);
  aspecto::PonerColorFondo(*ui->shpSeleccion, aspecto::ColorFondo(*ui->shp_titulos_1));
}

void frmListado::showEvent(QShowEvent* evento) {
  colorearpaneles();
  QDialog::showEvent(evento);
}

bool frmListado::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
    if (objeto == ui->lbl_SiguienteProveedor && ui->pic_SiguienteProveedor->isVisible()) {
      ui->pic_SiguienteProveedor->click();
      return true;
    }
    if (objeto == ui->lbl_AtrasProveedor && ui->pic_AtrasProveedor->isVisible()) {
      ui->pic_AtrasProveedor->click();
      return true;
    }
  }
  return QDialog::eventFilter(objeto, evento);
}

void frmListado::bCargarTablaDinamicaProveedores() {
  std::vector<proveedores::Proveedor> tabla;
  try {
    tabla = proveedores::CargarTablaProveedores(*e_.ajustes->ConexionVentas);
  } catch (const datos::ErrorDatos& error) {
    // Sin proveedores que enseñar, «TODOS LOS PROVEEDORES» sigue valiendo.
    e_.notificador->mensaje(error.mensaje(), QStringLiteral("Cronicas"), sistema::Icono::Critico);
  }
  paginas_.emplace(std::move(tabla));
}

void frmListado::crearProveedores() {
  // Las fichas de la página que acaba de calcular el paginador; se hacen
  // siempre de nuevo: son diez botones.
  for (QPushButton* f : fichas_) delete f;  // nunca desde una ficha: las flechas no lo son
  fichas_.clear();
  const proveedores::Pagina& pagina = paginas_->pagina();
  auto* rejilla = static_cast<QGridLayout*>(ui->rejillaFichas->layout());
  for (std::size_t n = 0; n < pagina.fichas.size(); ++n) {
    const proveedores::Proveedor& p = paginas_->tabla().at(static_cast<std::size_t>(pagina.fichas[n]));
    auto* ficha = new QPushButton(p.nombre, ui->rejillaFichas);
    ficha->setObjectName(QStringLiteral("picProveedor_%1").arg(n));
    ficha->setProperty("rotulo", proveedores::RotuloFicha(p));
    ficha->setToolTip(p.nombre);
    ficha->setMinimumSize(150, 56);
    ficha->setCursor(Qt::PointingHandCursor);
    if (n == 0)
      ficha->setStyleSheet(
          QStringLiteral("background-color: rgb(0, 0, 255); color: white; font-weight: bold; border: 1px solid navy; "
                         "border-radius: 3px;"));
    connect(ficha, &QAbstractButton::clicked, this,
            [this, ficha] { elegirProveedor(ficha->property("rotulo").toString()); });
    rejilla->addWidget(ficha, static_cast<int>(n) / kColumnasFichas, static_cast<int>(n) % kColumnasFichas);
    fichas_.push_back(ficha);
  }
  for (QWidget* w :
       {static_cast<QWidget*>(ui->pic_SiguienteProveedor), static_cast<QWidget*>(ui->lbl_SiguienteProveedor)})
    w->setVisible(pagina.siguiente);
  for (QWidget* w : {static_cast<QWidget*>(ui->pic_AtrasProveedor), static_cast<QWidget*>(ui->lbl_AtrasProveedor)})
    w->setVisible(pagina.anterior);
}

void frmListado::ocultarPaneles() {
  ui->frtipo->setVisible(false);
}

void frmListado::elegirProveedor(const QString& rotulo) {
  proveedorElegido_ = proveedores::CodigoDeRotulo(rotulo);
  ui->lblProveedorListar->setText(proveedores::NombreDeRotulo(rotulo));
  ui->frtipo->setVisible(true);
}

void frmListado::elegirTodos() {
  proveedorElegido_ = QStringLiteral("-1");
  // Que el marco de tipos no siga nombrando al proveedor elegido antes.
  ui->lblProveedorListar->setText(ui->cmdTodos->text());
  ui->frtipo->setVisible(true);
}

void frmListado::CargarProductos(qint16 tipo) {
  const registro::BotonInforme* boton = registro::BuscarBoton(kBoton);
  if (!boton) return;
  AjustesTerminal& at = *e_.ajustes;
  SeleccionInforme& s = *e_.seleccion;
  s.ProveedorElegido = proveedorElegido_;
  s.TipoProducto = tipo;
  ui->Frame10->setVisible(true);
  ui->Frame10->repaint();
  registro::Ejecucion ejecucion;
  {
    const registro::CursorEspera espera;
    informes::Contexto ctx{at, s, *e_.notificador, *e_.reloj};
    ejecucion = registro::EjecutarBoton(*boton, ctx);
  }
  if (ejecucion.resultado == registro::Resultado::ConDatos) {
    // Mientras el aviso de progreso corre, la barra del panel de espera se
    // mueve; después se abre la vista previa.
    frmparar progreso(this, e_.intervaloProgreso);
    try {
      aspecto::Colorear(progreso, at.IdColor, *at.ConexionVentas, at.IdTerminal);
    } catch (const datos::ErrorDatos&) {
      // Con los colores de diseño.
    }
    progreso.exec();
    if (VistaPrevia* previa = registro::ImprimirReportDesde(e_, this, boton->plantilla)) ultimaVista_ = previa;
    progreso.cerrar();
  }
  ui->Frame10->setVisible(false);
}
