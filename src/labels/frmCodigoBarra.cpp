#include "labels/frmCodigoBarra.h"

#include "reports_ui/ImprimirReport.h"
#include "reports_ui/VistaPrevia.h"
#include "reports_ui/frmparar.h"
#include "startup/AspectoFormulario.h"
#include "ui_frmCodigoBarra.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpressionValidator>

namespace {
const QString kCronicas = QStringLiteral("Cronicas");
const QString kPlantilla = QStringLiteral("cartel_precio.rpt");
}  // namespace

frmCodigoBarra::frmCodigoBarra(Entorno entorno, QWidget* padre)
    : QDialog(padre), ui_(std::make_unique<Ui::frmCodigoBarra>()), e_(std::move(entorno)) {
  ui_->setupUi(this);
  // La posición de la hoja sólo admite cifras.
  ui_->ct_imp->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), ui_->ct_imp));
  for (QWidget* w :
       {static_cast<QWidget*>(ui_->bt_buscar), static_cast<QWidget*>(ui_->Command1),
        static_cast<QWidget*>(ui_->Command2), static_cast<QWidget*>(ui_->ct_imp), static_cast<QWidget*>(ui_->grid),
        static_cast<QWidget*>(ui_->lt_agr), static_cast<QWidget*>(ui_->txt_cant)})
    w->installEventFilter(this);

  connect(ui_->grid, &QTableWidget::cellDoubleClicked, this, [this] { agregar(); });
  connect(ui_->grid, &QTableWidget::cellClicked, this, [this](int fila) { ui_->grid->selectRow(fila); });
  connect(ui_->lt_agr, &QListWidget::itemDoubleClicked, this, [this] { quitar(); });
  connect(ui_->bt_buscar, &QAbstractButton::clicked, this, &frmCodigoBarra::buscar);
  connect(ui_->Command2, &QAbstractButton::clicked, this, &frmCodigoBarra::imprimir);
  connect(ui_->Command1, &QAbstractButton::clicked, this, &QDialog::reject);

  Cargar_Cabecera();
  cargarLista();
  if (e_.ajustes) {
    try {
      aspecto::Colorear(*this, e_.ajustes->IdColor, *e_.ajustes->ConexionVentas, e_.ajustes->IdTerminal);
    } catch (const datos::ErrorDatos&) {
      // Sin paleta la ventana se usa igual con los colores de diseño.
    }
  }
  if (e_.pantalla.isValid())
    aspecto::EscalarFormulario(*this, e_.pantalla);
  else
    aspecto::EscalarFormulario(*this);
}

frmCodigoBarra::~frmCodigoBarra() = default;

void frmCodigoBarra::Cargar_Cabecera() {
  QTableWidget& g = *ui_->grid;
  g.setRowCount(0);
  for (int c = 0; c < g.columnCount(); ++c) g.setColumnHidden(c, c != kColNombre);
  g.horizontalHeader()->setSectionResizeMode(kColNombre, QHeaderView::Stretch);
}

void frmCodigoBarra::cargarLista() {
  std::vector<etiquetas::Articulo> articulos;
  try {
    articulos = etiquetas::LeerArticulos(*e_.ajustes->ConexionVentas);
  } catch (const datos::ErrorDatos& error) {
    e_.notificador->mensaje(error.mensaje(), kCronicas, sistema::Icono::Critico);
    return;
  }
  QTableWidget& g = *ui_->grid;
  g.setRowCount(static_cast<int>(articulos.size()));
  const QLocale local;
  for (int fila = 0; fila < g.rowCount(); ++fila) {
    const etiquetas::Articulo& a = articulos[static_cast<std::size_t>(fila)];
    auto* nombre = new QTableWidgetItem(a.nombre);
    nombre->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    g.setItem(fila, kColNombre, nombre);
    g.setItem(fila, kColCodigoEtiqueta, new QTableWidgetItem(a.codigoEtiqueta));
    auto* precio = new QTableWidgetItem(a.precio.isNull() ? QString() : local.toString(a.precio.toDouble()));
    precio->setData(Qt::UserRole, a.precio);
    g.setItem(fila, kColPrecio, precio);
    g.setItem(fila, kColCodigo, new QTableWidgetItem(a.codigo));
  }
}

void frmCodigoBarra::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  if (primeraActivacion_) {
    ui_->txt_cant->setFocus();
    primeraActivacion_ = false;
  }
}

bool frmCodigoBarra::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::KeyPress) {
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() == Qt::Key_F2 || tecla->key() == Qt::Key_F3 || tecla->key() == Qt::Key_F7) {
      BotonFuncion(tecla->key());
      return true;
    }
    // Una letra en la lista busca el primer nombre que empieza por ella.
    if (objeto == ui_->grid && tecla->text().size() == 1 && tecla->text().at(0).isPrint() &&
        !tecla->text().at(0).isSpace()) {
      saltarA(tecla->text());
      return true;
    }
  }
  return QDialog::eventFilter(objeto, evento);
}

void frmCodigoBarra::BotonFuncion(int tecla) {
  switch (tecla) {
    case Qt::Key_F2:
      buscar();
      break;
    case Qt::Key_F3:
      if (ui_->Command2->isEnabled()) imprimir();
      break;
    case Qt::Key_F7:
      reject();
      break;
    default:
      break;
  }
}

void frmCodigoBarra::saltarA(const QString& letra) {
  QTableWidget& g = *ui_->grid;
  for (int fila = 0; fila < g.rowCount(); ++fila) {
    const QTableWidgetItem* nombre = g.item(fila, kColNombre);
    if (nombre && nombre->text().startsWith(letra, Qt::CaseInsensitive)) {
      g.setCurrentCell(fila, kColNombre);
      g.scrollToItem(nombre, QAbstractItemView::PositionAtTop);
      return;
    }
  }
  // Ninguno empieza así: la fila actual se queda donde estaba.
}

void frmCodigoBarra::agregar() {
  if (ui_->txt_cant->text().isEmpty()) {
    e_.notificador->mensaje(QStringLiteral("Ha olvidado rellenar uno de los campos obligatorios"), kCronicas,
                            sistema::Icono::Informacion);
    return;
  }
  const QTableWidget& g = *ui_->grid;
  const int fila = g.currentRow();
  if (fila < 0) return;
  auto texto = [&g, fila](int columna) {
    const QTableWidgetItem* i = g.item(fila, columna);
    return i ? i->text() : QString();
  };
  etiquetas::Pedido p;
  p.nombre = texto(kColNombre);
  p.copias = etiquetas::ValorNumerico(ui_->txt_cant->text());
  p.codigoEtiqueta = texto(kColCodigoEtiqueta);
  if (const QTableWidgetItem* precio = g.item(fila, kColPrecio)) p.precio = precio->data(Qt::UserRole);
  cola_.push_back(p);
  ui_->lt_agr->addItem(p.nombre);
  actualizarImprimir();
}

void frmCodigoBarra::quitar() {
  const int i = ui_->lt_agr->currentRow();
  if (i < 0 || i >= static_cast<int>(cola_.size())) return;
  delete ui_->lt_agr->takeItem(i);
  cola_.erase(cola_.begin() + i);
  actualizarImprimir();
}

void frmCodigoBarra::actualizarImprimir() {
  ui_->Command2->setEnabled(!cola_.empty());
}

void frmCodigoBarra::buscar() {
  if (!e_.buscarProducto) return;
  const QString codigo = e_.buscarProducto(this);
  if (codigo.isEmpty() || codigo == QLatin1String("-1")) return;
  // Se busca por el código del producto, no por el de la etiqueta: un
  // producto con código de barras propio también se encuentra.
  QTableWidget& g = *ui_->grid;
  for (int fila = 0; fila < g.rowCount(); ++fila) {
    const QTableWidgetItem* c = g.item(fila, kColCodigo);
    if (c && c->text() == codigo) {
      g.setCurrentCell(fila, kColNombre);
      g.selectRow(fila);
      agregar();
      return;
    }
  }
}

void frmCodigoBarra::imprimir() {
  if (cola_.empty()) return;
  const AjustesTerminal& at = *e_.ajustes;
  ui_->ct_imp->setText(etiquetas::PosicionValida(ui_->ct_imp->text()));
  try {
    etiquetas::EscribirHoja(*at.ConexionInformes, ui_->ct_imp->text(), cola_);
  } catch (const datos::ErrorDatos& error) {
    e_.notificador->mensaje(error.mensaje(), kCronicas, sistema::Icono::Critico);
    return;
  }
  {
    frmparar progreso(this, e_.intervaloProgreso);
    progreso.exec();
  }
  ui_->txt_cant->setFocus();

  if (VistaPrevia* previa = registro::ImprimirReportDesde(e_, this, kPlantilla)) ultimaVista_ = previa;

  cola_.clear();
  ui_->lt_agr->clear();
  ui_->ct_imp->setText(QStringLiteral("1"));
  actualizarImprimir();
}
