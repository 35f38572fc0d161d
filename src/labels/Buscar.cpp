#include "labels/Buscar.h"

#include "startup/AspectoFormulario.h"
#include "ui_Buscar.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace etiquetas {

namespace {

constexpr int kIntervaloVaiven = 1;
constexpr int kIntervaloSeries = 4000;

}  // namespace

Buscar::Buscar(const datos::Conexion& ventas, QString& ProductoBusqueda, QWidget* padre)
    : QDialog(padre), ui_(std::make_unique<Ui::Buscar>()), ventas_(ventas), ProductoBusqueda_(ProductoBusqueda) {
  ui_->setupUi(this);

  // Las figuras guardan los colores del tema; el coloreado de la caja las
  // repinta y el teclado y el marco los toman de ellas al cargar.
  ui_->Colores->hide();
  aspecto::PonerColorFondo(*this, Qt::white);
  aspecto::PonerColorFondo(*ui_->shp_botones, QColor(0xF4, 0xF6, 0xF8));
  aspecto::PonerColorFondo(*ui_->shp_titulos_1, QColor(0x1F, 0x3A, 0x5F));
  aspecto::PonerColorFondo(*ui_->shp_titulos_2, QColor(0xDD, 0xE4, 0xEC));
  aspecto::PonerColorFondo(*ui_->shp_titulos_3, QColor(0x5B, 0x84, 0xB1));
  aspecto::PonerColorFondo(*ui_->shp_logo, QColor(0xE8, 0xEE, 0xF4));

  // Un botón rellena su fondo con el color de botón; la casilla tiene que
  // tomar el de la ventana, que es el que le da el coloreado.
  ui_->chSinAsignar->setBackgroundRole(QPalette::Window);

  for (const int tecla : kTeclas) {
    auto* boton = findChild<QPushButton*>(QStringLiteral("bt_letra_%1").arg(tecla));
    if (!boton) continue;
    connect(boton, &QPushButton::clicked, this, [this, tecla] { pulsarTecla(tecla); });
  }
  for (QLineEdit* caja : {ui_->TxtBusProd_2, ui_->TxtBusProd_0, ui_->TxtBusProd_1}) {
    caja->installEventFilter(this);
    connect(caja, &QLineEdit::returnPressed, this, &Buscar::BuscarAhora);
  }
  connect(ui_->BtnBusClie_0, &QPushButton::clicked, this, &Buscar::reject);
  connect(ui_->BtnBusClie_1, &QPushButton::clicked, this, &Buscar::BuscarAhora);
  connect(ui_->BtnBusClie_2, &QPushButton::clicked, this, &Buscar::limpiarcajas);
  connect(ui_->lst_resultado, &QListWidget::itemClicked, this, &Buscar::elegir);

  tmrMovAyuda_ = new QTimer(this);
  tmrMovAyuda_->setObjectName(QStringLiteral("tmrMovAyuda"));
  tmrMovAyuda_->setInterval(kIntervaloVaiven);
  connect(tmrMovAyuda_, &QTimer::timeout, this, &Buscar::moverAyuda);
  tmrMovAyuda2_ = new QTimer(this);
  tmrMovAyuda2_->setObjectName(QStringLiteral("tmrMovAyuda2"));
  tmrMovAyuda2_->setInterval(kIntervaloSeries);
  connect(tmrMovAyuda2_, &QTimer::timeout, this, [this] {
    vaiven_.empezarSerie();
    tmrMovAyuda_->start();
  });
  // Quien ya ha visto la ayuda no necesita que el botón le siga llamando.
  connect(ui_->cmd_ayuda, &QPushButton::clicked, tmrMovAyuda2_, &QTimer::stop);
}

Buscar::~Buscar() = default;

void Buscar::setVisible(bool visible) {
  // La carga va antes de enseñarlo: el tamaño de la pantalla tiene que estar
  // puesto cuando la ventana aparece.
  if (visible && !cargado_) {
    cargado_ = true;
    Cargar();
  }
  QDialog::setVisible(visible);
}

void Buscar::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  Mostrar();
}

void Buscar::Cargar() {
  // Cargar no falla: sin colores o sin traducciones el diálogo se usa igual.
  if (almacen) aspecto::ColorearDesdeAlmacen(*this, *almacen);
  aspecto::PonerColorFondo(*ui_->FrProd, aspecto::ColorFondo(*ui_->shp_logo));
  aspecto::PonerColorFondo(*ui_->fr_teclas, aspecto::ColorFondo(*ui_->shp_titulos_1));
  // Teclas claras sobre el marco oscuro: se leen de lejos.
  const QColor colorTecla = aspecto::ColorFondo(*ui_->shp_titulos_2);
  for (const int tecla : kTeclas)
    if (auto* boton = findChild<QPushButton*>(QStringLiteral("bt_letra_%1").arg(tecla)))
      aspecto::PonerColorFondo(*boton, colorTecla);
  aspecto::PonerColorTexto(*ui_->lb_titulo, aspecto::ColorFondo(*ui_->shp_titulos_1));

  if (Idioma != QLatin1String("CASTELLANO")) {
    try {
      aspecto::TraducirFormulario(*this, ventas_);
    } catch (const datos::ErrorDatos&) {
      // Sin tabla de traducciones quedan los textos de diseño.
    }
  }
  const aspecto::FactoresEscala f =
      pantalla.isValid() ? aspecto::EscalarFormulario(*this, pantalla) : aspecto::EscalarFormulario(*this);
  if (pantalla.isValid()) move(pantalla.topLeft());
  fx_ = f.fx;
  vaiven_ = VaivenAyuda(fx_);
  ui_->cmd_ayuda->move(vaiven_.izquierda(), ui_->cmd_ayuda->y());
  tmrMovAyuda_->start();
  tmrMovAyuda2_->start();
}

void Buscar::Mostrar() {
  if (modoBusqueda != QLatin1String("Pr")) return;
  ui_->FrProd->show();
  aspecto::PonerColorFondo(*ui_->chSinAsignar, aspecto::ColorFondo(*ui_->FrProd));
  ui_->TxtBusProd_2->setFocus();
  objetivo_ = ui_->TxtBusProd_2;
}

bool Buscar::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::FocusIn)
    if (auto* caja = qobject_cast<QLineEdit*>(objeto)) objetivo_ = caja;
  return QDialog::eventFilter(objeto, evento);
}

void Buscar::BuscarAhora() {
  ui_->lst_resultado->clear();
  if (modoBusqueda != QLatin1String("Pr")) return;
  if (ui_->TxtBusProd_2->text() == QLatin1String("*")) ui_->TxtBusProd_2->clear();
  const FiltroProductos filtro{ui_->TxtBusProd_2->text(), ui_->TxtBusProd_0->text(), ui_->TxtBusProd_1->text(),
                               ui_->chSinAsignar->isChecked()};
  std::vector<ProductoEncontrado> encontrados;
  try {
    encontrados = BuscarProductos(ventas_, filtro);
  } catch (const datos::ErrorDatos& e) {
    // La lista vacía con el motivo dentro: nada que elegir, y se sabe por qué.
    auto* aviso = new QListWidgetItem(e.mensaje(), ui_->lst_resultado);
    aviso->setFlags(Qt::NoItemFlags);
    return;
  }
  QStringList entradas;
  entradas.reserve(static_cast<qsizetype>(encontrados.size()));
  for (const ProductoEncontrado& p : encontrados) entradas << EntradaResultado(p);
  ui_->lst_resultado->addItems(entradas);
}

void Buscar::elegir(QListWidgetItem* entrada) {
  if (!entrada || !(entrada->flags() & Qt::ItemIsEnabled)) return;
  if (modoBusqueda == QLatin1String("Pr")) ProductoBusqueda_ = CodigoDeEntrada(entrada->text());
  accept();
}

void Buscar::reject() {
  ProductoBusqueda_ = QStringLiteral("-1");
  QDialog::reject();
}

void Buscar::limpiarcajas() {
  for (QLineEdit* caja : findChildren<QLineEdit*>()) caja->clear();
}

void Buscar::pulsarTecla(int tecla) {
  QLineEdit* caja = objetivo_.data();
  if (!caja) return;
  const bool todo = caja->hasSelectedText() && caja->selectedText() == caja->text();
  const QString nuevo = PulsarTecla(caja->text(), todo, caja->isReadOnly(), tecla);
  if (nuevo != caja->text()) caja->setText(nuevo);
  caja->setFocus();
}

void Buscar::moverAyuda() {
  QPushButton& boton = *ui_->cmd_ayuda;
  boton.move(vaiven_.tic(), boton.y());
  if (!vaiven_.enSerie()) tmrMovAyuda_->stop();
}

QString AbrirBuscar(const datos::Conexion& ventas, QWidget* padre) {
  QString codigo = QStringLiteral("-1");
  Buscar dialogo(ventas, codigo, padre);
  dialogo.modoBusqueda = QStringLiteral("Pr");
  dialogo.iUser = 0;
  dialogo.exec();
  return codigo;
}

}  // namespace etiquetas
