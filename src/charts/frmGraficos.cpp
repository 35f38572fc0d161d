#include "charts/frmGraficos.h"

#include "startup/AspectoFormulario.h"

#include <QtCharts/QChart>
#include <QtCharts/QChartView>

#include <QButtonGroup>
#include <QCheckBox>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr double kTwipsPorPulgada = 1440.0;

QPushButton* Boton(QWidget* padre, const char* nombre, const QString& texto = {}) {
  auto* b = new QPushButton(texto, padre);
  b->setObjectName(QLatin1String(nombre));
  return b;
}

QFrame* Marco(QWidget* padre, const char* nombre) {
  auto* f = new QFrame(padre);
  f->setObjectName(QLatin1String(nombre));
  f->setFrameShape(QFrame::StyledPanel);
  f->setAutoFillBackground(true);
  return f;
}

}  // namespace

frmGraficos::frmGraficos(Entorno entorno, QWidget* padre) : QDialog(padre), e_(std::move(entorno)) {
  setObjectName(QStringLiteral("frmGraficos"));
  setWindowTitle(QStringLiteral("Cronicas"));
  construir();
}

frmGraficos::~frmGraficos() = default;

void frmGraficos::construir() {
  auto* principal = new QVBoxLayout(this);
  lblTituloGrafico_ = new QLabel(this);
  lblTituloGrafico_->setObjectName(QStringLiteral("lblTituloGrafico"));
  QFont grande = lblTituloGrafico_->font();
  grande.setPointSizeF(grande.pointSizeF() * 1.5);
  grande.setBold(true);
  lblTituloGrafico_->setFont(grande);
  principal->addWidget(lblTituloGrafico_);
  auto* label1 = new QLabel(QStringLiteral("Seleccione de que forma y color quiere visualizar el grafico"), this);
  label1->setObjectName(QStringLiteral("Label1"));
  principal->addWidget(label1);

  auto* cuerpo = new QHBoxLayout;
  principal->addLayout(cuerpo, 1);

  // Las opciones, a la izquierda.
  shpOpcionesGrafica_ = Marco(this, "shpOpcionesGrafica");
  auto* opciones = new QVBoxLayout(shpOpcionesGrafica_);
  cuerpo->addWidget(shpOpcionesGrafica_);

  auto* frame1 = Marco(shpOpcionesGrafica_, "Frame1");
  auto* estilos = new QGridLayout(frame1);
  op2D_ = new QRadioButton(QStringLiteral("2 D"), frame1);
  op2D_->setObjectName(QStringLiteral("op2D"));
  op3D_ = new QRadioButton(QStringLiteral("3 D"), frame1);
  op3D_->setObjectName(QStringLiteral("op3D"));
  estilos->addWidget(op2D_, 0, 0);
  estilos->addWidget(op3D_, 0, 1);
  const std::pair<const char*, graficos::Estilo> botonesEstilo[] = {
      {"Command1", graficos::Estilo::Barras},
      {"Command2", graficos::Estilo::Lineas},
      {"Command3", graficos::Estilo::Circular},
      {"Command4", graficos::Estilo::Conico},
  };
  const QString textos[] = {QStringLiteral("Barras"), QStringLiteral("Lineas"), QStringLiteral("Circular"),
                            QStringLiteral("Conico")};
  for (int i = 0; i < 4; ++i) {
    QPushButton* b = Boton(frame1, botonesEstilo[i].first, textos[i]);
    estilos->addWidget(b, 1 + i / 2, i % 2);
    const graficos::Estilo estilo = botonesEstilo[i].second;
    connect(b, &QPushButton::clicked, this, [this, estilo] { pulsarEstilo(estilo); });
  }
  // Las opciones sólo apuntan la dimensión: se ve al pulsar un estilo.
  connect(op2D_, &QRadioButton::toggled, this, [this](bool elegido) {
    if (elegido) modoGrafico = 1;
  });
  connect(op3D_, &QRadioButton::toggled, this, [this](bool elegido) {
    if (elegido) modoGrafico = 2;
  });
  cmdFormatoTabla_ = Boton(frame1, "cmdFormatoTabla", QStringLiteral("Formato Tabla"));
  estilos->addWidget(cmdFormatoTabla_, 3, 0, 1, 2);
  connect(cmdFormatoTabla_, &QPushButton::clicked, this, &frmGraficos::cmdFormatoTabla);
  opciones->addWidget(frame1);

  auto* frColores = Marco(shpOpcionesGrafica_, "frColores");
  auto* colores = new QGridLayout(frColores);
  int n = 0;
  for (const graficos::ColorSerie& c : graficos::ColoresSerie()) {
    QPushButton* b = Boton(frColores, c.boton);
    b->setFixedSize(36, 24);
    b->setToolTip(QLatin1String(c.nombre));
    b->setProperty("cronicasAspectoPropio", true);
    b->setStyleSheet(QStringLiteral("background-color: %1").arg(c.color.name()));
    colores->addWidget(b, n / 3, n % 3);
    ++n;
    const QColor color = c.color;
    connect(b, &QPushButton::clicked, this, [this, color] {
      color_ = color;
      Graficar();
    });
  }
  opciones->addWidget(frColores);

  chkAñoAnterior_ = new QCheckBox(QString::fromUtf8("Comparar con el año anterior"), shpOpcionesGrafica_);
  chkAñoAnterior_->setObjectName(QStringLiteral("chkAnoAnterior"));
  connect(chkAñoAnterior_, &QCheckBox::toggled, this, &frmGraficos::compararConAnterior);
  opciones->addWidget(chkAñoAnterior_);
  opciones->addStretch(1);

  shp_botones_ = Marco(shpOpcionesGrafica_, "shp_botones");
  auto* pie = new QHBoxLayout(shp_botones_);
  QPushButton* imprimir = Boton(shp_botones_, "cmdImprimir");
  imprimir->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  imprimir->setToolTip(QStringLiteral("Imprimir"));
  QPushButton* salir = Boton(shp_botones_, "cmd_Salir");
  salir->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  salir->setToolTip(QStringLiteral("Salir"));
  pie->addWidget(imprimir);
  pie->addWidget(salir);
  opciones->addWidget(shp_botones_);
  connect(imprimir, &QPushButton::clicked, this, &frmGraficos::ImprimirGrafico);
  connect(salir, &QPushButton::clicked, this, &QDialog::accept);

  // El gráfico o la tabla, a la derecha.
  shp_logo_ = Marco(this, "shp_logo");
  shp_logo_->setVisible(false);
  fr_grafico_ = Marco(this, "fr_grafico");
  capaGrafico_ = new QVBoxLayout(fr_grafico_);
  auto* progreso = new QProgressBar(fr_grafico_);
  progreso->setObjectName(QStringLiteral("Progreso"));
  // La carga no cede el control a la ventana: una barra no se vería moverse.
  progreso->setVisible(false);
  cuerpo->addWidget(fr_grafico_, 1);

  frGrid_ = Marco(this, "frGrid");
  auto* rejilla = new QGridLayout(frGrid_);
  lblY_ = new QLabel(frGrid_);
  lblY_->setObjectName(QStringLiteral("lblY"));
  lblX_ = new QLabel(frGrid_);
  lblX_->setObjectName(QStringLiteral("lblX"));
  lblX_->setAlignment(Qt::AlignCenter);
  grid_Detalles_ = new QTableWidget(graficos::kFilasMatriz, graficos::kColumnasMatriz, frGrid_);
  grid_Detalles_->setObjectName(QStringLiteral("grid_Detalles"));
  grid_Detalles_->horizontalHeader()->setVisible(false);
  grid_Detalles_->verticalHeader()->setVisible(false);
  grid_Detalles_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  rejilla->addWidget(lblY_, 0, 0);
  rejilla->addWidget(grid_Detalles_, 0, 1);
  rejilla->addWidget(lblX_, 1, 1);
  frGrid_->setVisible(false);
  cuerpo->addWidget(frGrid_, 1);
}

void frmGraficos::Cargar() {
  lblTituloGrafico_->setText(NombreGrafico);
  op2D_->setChecked(true);
  modoGrafico = 1;
  const bool conTabla = graficos::ConTabla(NumGrafico);
  cmdFormatoTabla_->setVisible(conTabla);
  // Las reservas tienen su propio título: el de las ventas por horas no les
  // corresponde.
  if (NumGrafico == graficos::kVentasPorHoras)
    lblTituloGrafico_->setText(QStringLiteral("Ventas en el mes ") + graficos::NombreMes(mesNumero()) +
                               QStringLiteral(" (Acumulado x Horas)"));
  try {
    if (e_.ajustes) aspecto::Colorear(*this, e_.ajustes->IdColor, *e_.ajustes->ConexionVentas, e_.ajustes->IdTerminal);
  } catch (const datos::ErrorDatos&) {
    // Sin paleta el formulario se ve con sus colores de diseño.
  }
  colorearpaneles();
  escala_ = e_.pantalla.isValid() ? aspecto::EscalarFormulario(*this, e_.pantalla) : aspecto::EscalarFormulario(*this);
  CrearGrafico();
}

void frmGraficos::colorearpaneles() {
  if (e_.colorTitulo.isValid()) aspecto::PonerColorTexto(*lblTituloGrafico_, e_.colorTitulo);
  aspecto::PonerColorFondo(*fr_grafico_, aspecto::ColorFondo(*shp_logo_));
  const QColor botones = aspecto::ColorFondo(*shp_botones_);
  for (const char* nombre :
       {"Command1", "Command2", "Command3", "Command4", "cmdImprimir", "cmd_Salir", "cmdFormatoTabla"})
    if (auto* w = findChild<QWidget*>(QLatin1String(nombre))) aspecto::PonerColorFondo(*w, botones);
  aspecto::PonerColorFondo(*shpOpcionesGrafica_, botones);
  const QColor opciones = aspecto::ColorFondo(*shpOpcionesGrafica_);
  for (const char* nombre : {"Frame1", "frColores", "op2D", "op3D"})
    if (auto* w = findChild<QWidget*>(QLatin1String(nombre))) aspecto::PonerColorFondo(*w, opciones);
}

void frmGraficos::CrearGrafico() {
  if (!graficos::CodigoValido(NumGrafico)) return;
  const int m = mesNumero();
  const int a = añoNumero();
  try {
    serie_ = e_.ajustes ? graficos::CrearSerie(*e_.ajustes, NumGrafico, m, a, *e_.notificador) : graficos::Serie{};
    if (anterior_)
      anterior_ =
          graficos::AlinearAnterior(serie_, graficos::CrearSerie(*e_.ajustes, NumGrafico, m, a - 1, *e_.notificador));
  } catch (const sistema::Error& error) {
    if (e_.notificador) e_.notificador->mensaje(error.mensaje(), QStringLiteral("Cronicas"), sistema::Icono::Critico);
  }
  Graficar();
}

void frmGraficos::Graficar() {
  if (vista_) {
    capaGrafico_->removeWidget(vista_);
    vista_->deleteLater();
    vista_ = nullptr;
    plano_ = nullptr;
  }
  graficos::Dibujo dibujo{tipo_, color_, anterior_ ? &*anterior_ : nullptr};
  if (graficos::EsTresD(tipo_)) {
    vista_ = graficos::CrearGraficoRelieve(serie_, dibujo, fr_grafico_);
  } else {
    plano_ = graficos::CrearGraficoPlano(serie_, dibujo);
    auto* vista = new QChartView(plano_, fr_grafico_);
    vista->setObjectName(QStringLiteral("Grafico"));
    vista->setRenderHint(QPainter::Antialiasing);
    vista_ = vista;
  }
  capaGrafico_->addWidget(vista_);
}

void frmGraficos::pulsarEstilo(graficos::Estilo estilo) {
  frGrid_->setVisible(false);
  fr_grafico_->setVisible(true);
  tipo_ = graficos::TipoGrafico(estilo, static_cast<graficos::Dimension>(modoGrafico));
  Graficar();
}

void frmGraficos::compararConAnterior(bool comparar) {
  if (!comparar) {
    anterior_.reset();
    Graficar();
    return;
  }
  anterior_ = graficos::Serie{};
  CrearGrafico();
}

void frmGraficos::mostrarTabla() {
  frGrid_->setVisible(true);
  fr_grafico_->setVisible(false);
}

void frmGraficos::cmdFormatoTabla() {
  mostrarTabla();
  if (graficos::ConTabla(NumGrafico) && e_.ajustes) {
    try {
      matriz_ = graficos::CrearMatriz(*e_.ajustes, NumGrafico, mesNumero(), añoNumero(), *e_.notificador);
    } catch (const sistema::Error& error) {
      matriz_ = graficos::InicializarMatriz();
      if (e_.notificador) e_.notificador->mensaje(error.mensaje(), QStringLiteral("Cronicas"), sistema::Icono::Critico);
    }
    preparargrid();
    frGrid_->setVisible(true);
  }
  lblX_->setText(QStringLiteral("Dias"));
  lblY_->setText(QStringLiteral("Horas"));
}

void frmGraficos::preparargrid() {
  // Las medidas de la rejilla están en twips de una pantalla de 96 puntos.
  const double pixelPorTwip = logicalDpiX() / kTwipsPorPulgada;
  auto pixeles = [&](double twips, double factor) {
    return static_cast<int>(std::lround(twips * factor * pixelPorTwip));
  };
  grid_Detalles_->verticalHeader()->setMinimumSectionSize(pixeles(300, escala_.fy));
  grid_Detalles_->verticalHeader()->setDefaultSectionSize(pixeles(300, escala_.fy));
  grid_Detalles_->setColumnWidth(0, pixeles(700, escala_.fx));
  grid_Detalles_->setColumnWidth(32, pixeles(1400, escala_.fx));
  for (int c = 1; c <= 31; ++c) grid_Detalles_->setColumnWidth(c, pixeles(400, escala_.fx));
  const QColor gris(192, 192, 192);
  const QColor amarillo(255, 255, 128);
  for (int r = 0; r < graficos::kFilasMatriz; ++r)
    for (int c = 0; c < graficos::kColumnasMatriz; ++c) {
      auto* celda = new QTableWidgetItem;
      celda->setTextAlignment(Qt::AlignHCenter | Qt::AlignBottom);
      const QString& texto = matriz_[c][r];
      if (texto != QLatin1String("0")) celda->setText(texto);
      if ((r == 24 && c >= 1 && c <= 31) || (c == 0 && r < 24)) celda->setBackground(gris);
      if (c == 32 && r < 24) celda->setBackground(amarillo);
      grid_Detalles_->setItem(r, c, celda);
    }
}

QImage frmGraficos::imagenGrafico() const {
  const QSize tamano = vista_ && vista_->width() > 100 ? vista_->size() : QSize(800, 500);
  graficos::Dibujo dibujo{tipo_, color_, anterior_ ? &*anterior_ : nullptr};
  return graficos::PintarGrafico(serie_, dibujo, tamano);
}

void frmGraficos::imprimirEn(QPagedPaintDevice& impresora) {
  graficos::ImprimirGrafico(impresora, NombreGrafico, imagenGrafico(), logicalDpiX(), 0.5);
}

void frmGraficos::ImprimirGrafico() {
  QPrinter impresora;
  QPrintDialog dialogo(&impresora, this);
  if (dialogo.exec() != QDialog::Accepted) return;
  imprimirEn(impresora);
}
