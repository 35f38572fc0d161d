#include "charts/DibujoGrafico.h"

#include <QtCharts/QAreaSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>
#include <QtCharts/QValueAxis>
#include <QtDataVisualization/Q3DBars>
#include <QtDataVisualization/Q3DCamera>
#include <QtDataVisualization/Q3DScene>
#include <QtDataVisualization/Q3DSurface>
#include <QtDataVisualization/Q3DTheme>
#include <QtDataVisualization/QBar3DSeries>
#include <QtDataVisualization/QBarDataProxy>
#include <QtDataVisualization/QCategory3DAxis>
#include <QtDataVisualization/QSurface3DSeries>
#include <QtDataVisualization/QSurfaceDataProxy>
#include <QtDataVisualization/QValue3DAxis>

#include <QFont>
#include <QGraphicsSimpleTextItem>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace graficos {

namespace {

// La serie del año anterior va detrás y más clara: se compara, no compite.
QColor ColorAnterior(const std::optional<QColor>& color) {
  return color ? color->lighter(160) : QColor(170, 170, 170);
}

QString NombreSerie(const Serie& s) {
  return QStringLiteral("%1/%2").arg(s.mes).arg(s.anio);
}

double Maximo(const Serie& serie, const Serie* anterior) {
  double m = 0;
  for (double v : serie.valores) m = std::max(m, v);
  if (anterior)
    for (double v : anterior->valores) m = std::max(m, v);
  return m;
}

// La nota al pie, centrada bajo el gráfico; se recoloca cuando cambia su
// tamaño.
void PonerNotaAlPie(QChart* grafico, const QString& texto) {
  auto* nota = new QGraphicsSimpleTextItem(texto, grafico);
  QFont letra = nota->font();
  letra.setItalic(true);
  nota->setFont(letra);
  QMargins margenes = grafico->margins();
  margenes.setBottom(margenes.bottom() + static_cast<int>(nota->boundingRect().height()) + 6);
  grafico->setMargins(margenes);
  auto colocar = [grafico, nota] {
    const QRectF r = grafico->rect();
    const QRectF n = nota->boundingRect();
    nota->setPos(r.center().x() - n.width() / 2, r.bottom() - n.height() - 6);
  };
  QObject::connect(grafico, &QChart::geometryChanged, grafico, colocar);
  colocar();
}

template <class SerieXY>
SerieXY* Puntos(const Serie& s) {
  auto* puntos = new SerieXY;
  for (size_t i = 0; i < s.valores.size(); ++i) puntos->append(static_cast<double>(i), s.valores[i]);
  return puntos;
}

void PonerEjes(QChart* grafico, const Serie& serie, const Serie* anterior, bool conCategoriasEnBarras) {
  auto* x = new QBarCategoryAxis;
  x->append(serie.rotulos);
  x->setTitleText(serie.tituloX);
  auto* y = new QValueAxis;
  y->setTitleText(serie.tituloY);
  y->setRange(0, std::max(1.0, Maximo(serie, anterior) * 1.08));
  y->applyNiceNumbers();
  y->setLabelFormat(y->max() >= 10 ? QStringLiteral("%.0f") : QStringLiteral("%.1f"));
  grafico->addAxis(x, Qt::AlignBottom);
  grafico->addAxis(y, Qt::AlignLeft);
  for (QAbstractSeries* s : grafico->series()) {
    s->attachAxis(x);
    s->attachAxis(y);
  }
  if (!conCategoriasEnBarras && !serie.valores.empty()) x->setRange(serie.rotulos.first(), serie.rotulos.last());
}

}  // namespace

QChart* CrearGraficoPlano(const Serie& serie, const Dibujo& dibujo) {
  auto* grafico = new QChart;
  grafico->legend()->setVisible(dibujo.anterior != nullptr);
  grafico->legend()->setAlignment(Qt::AlignTop);
  const Serie* anterior = dibujo.anterior;
  switch (dibujo.tipo) {
    case 14: {
      // La tarta no compara años: un sector por fila del mes elegido.
      auto* tarta = new QPieSeries;
      for (size_t i = 0; i < serie.valores.size(); ++i)
        if (serie.valores[i] > 0) {
          QPieSlice* sector = tarta->append(serie.rotulos.value(static_cast<qsizetype>(i)), serie.valores[i]);
          sector->setLabelVisible(true);
          if (dibujo.color) {
            sector->setBrush(*dibujo.color);
            sector->setBorderColor(Qt::white);
          }
        }
      grafico->addSeries(tarta);
      grafico->legend()->setVisible(false);
      break;
    }
    case 3:
    case 2: {
      if (anterior) {
        auto* previa = Puntos<QLineSeries>(*anterior);
        previa->setName(NombreSerie(*anterior));
        previa->setColor(ColorAnterior(dibujo.color));
        grafico->addSeries(previa);
      }
      auto* linea = Puntos<QLineSeries>(serie);
      linea->setName(NombreSerie(serie));
      // El tema pone su color al añadirla: el grosor, después.
      grafico->addSeries(linea);
      QPen pluma = linea->pen();
      pluma.setWidth(3);
      if (dibujo.color) pluma.setColor(*dibujo.color);
      linea->setPen(pluma);
      PonerEjes(grafico, serie, anterior, false);
      break;
    }
    case 5:
    case 4: {
      if (anterior) {
        auto* previa = new QAreaSeries(Puntos<QLineSeries>(*anterior));
        previa->setName(NombreSerie(*anterior));
        QColor c = ColorAnterior(dibujo.color);
        c.setAlpha(150);
        previa->setBrush(c);
        grafico->addSeries(previa);
      }
      auto* area = new QAreaSeries(Puntos<QLineSeries>(serie));
      area->setName(NombreSerie(serie));
      if (dibujo.color) {
        QColor c = *dibujo.color;
        if (anterior) c.setAlpha(200);
        area->setBrush(c);
        area->setPen(QPen(dibujo.color->darker(130), 2));
      }
      grafico->addSeries(area);
      PonerEjes(grafico, serie, anterior, false);
      break;
    }
    default: {
      auto* barras = new QBarSeries;
      if (anterior) {
        auto* previa = new QBarSet(NombreSerie(*anterior));
        for (double v : anterior->valores) previa->append(v);
        previa->setColor(ColorAnterior(dibujo.color));
        barras->append(previa);
      }
      auto* conjunto = new QBarSet(NombreSerie(serie));
      for (double v : serie.valores) conjunto->append(v);
      if (dibujo.color) conjunto->setColor(*dibujo.color);
      barras->append(conjunto);
      grafico->addSeries(barras);
      PonerEjes(grafico, serie, anterior, true);
      break;
    }
  }
  PonerNotaAlPie(grafico, serie.pie);
  return grafico;
}

QColor ColorDeSerie(const QChart& grafico) {
  if (grafico.series().isEmpty()) return {};
  QAbstractSeries* s = grafico.series().constLast();
  if (auto* b = qobject_cast<QBarSeries*>(s)) return b->barSets().isEmpty() ? QColor() : b->barSets().last()->color();
  if (auto* l = qobject_cast<QLineSeries*>(s)) return l->pen().color();
  if (auto* a = qobject_cast<QAreaSeries*>(s)) return a->brush().color();
  if (auto* p = qobject_cast<QPieSeries*>(s))
    return p->slices().isEmpty() ? QColor() : p->slices().first()->brush().color();
  return {};
}

namespace {

// Un poco desde arriba y de lado, y cerca: la cámara de partida deja el
// gráfico pequeño en medio de la ventana.
void Encuadrar(QAbstract3DGraph* grafico) {
  grafico->scene()->activeCamera()->setCameraPreset(Q3DCamera::CameraPresetIsometricRight);
  grafico->scene()->activeCamera()->setZoomLevel(100.0f);
  grafico->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
}

QAbstract3DGraph* Relieve(const Serie& serie, const Dibujo& dibujo) {
  const double techo = std::max(1.0, Maximo(serie, dibujo.anterior) * 1.08);
  // El área en relieve son barras pegadas: un bloque escalonado que llega al
  // suelo, que es lo que se ve de un área.
  if (dibujo.tipo == 0 || dibujo.tipo == 4) {
    const bool area = dibujo.tipo == 4;
    auto* barras = new Q3DBars;
    barras->rowAxis()->setTitle(QString());
    barras->columnAxis()->setTitle(serie.tituloX);
    barras->columnAxis()->setTitleVisible(true);
    barras->valueAxis()->setTitle(serie.tituloY);
    barras->valueAxis()->setTitleVisible(true);
    barras->valueAxis()->setRange(0, static_cast<float>(techo));
    barras->valueAxis()->setLabelFormat(QStringLiteral("%.0f"));
    barras->setBarThickness(area ? 1.0f : 0.8f);
    if (area) barras->setBarSpacing(QSizeF(0.0, 0.6));
    auto añadir = [&](const Serie& s, const QColor& color, bool conColor) {
      auto* datos = new QBar3DSeries;
      auto* fila = new QBarDataRow;
      for (double v : s.valores) fila->append(QBarDataItem(static_cast<float>(v)));
      auto* filas = new QBarDataArray;
      filas->append(fila);
      datos->dataProxy()->resetArray(filas, {NombreSerie(s)}, s.rotulos);
      if (conColor) {
        datos->setBaseColor(color);
        datos->setColorStyle(Q3DTheme::ColorStyleUniform);
      }
      datos->setMesh(area ? QAbstract3DSeries::MeshBar : QAbstract3DSeries::MeshBevelBar);
      barras->addSeries(datos);
    };
    if (dibujo.anterior) añadir(*dibujo.anterior, ColorAnterior(dibujo.color), true);
    añadir(serie, dibujo.color.value_or(QColor()), dibujo.color.has_value());
    Encuadrar(barras);
    return barras;
  }
  // Las líneas en relieve: una cinta de superficie a lo largo de las filas.
  auto* superficie = new Q3DSurface;
  superficie->axisX()->setTitle(serie.tituloX);
  superficie->axisX()->setTitleVisible(true);
  superficie->axisX()->setRange(0, static_cast<float>(std::max<size_t>(1, serie.valores.size() - 1)));
  superficie->axisY()->setTitle(serie.tituloY);
  superficie->axisY()->setTitleVisible(true);
  superficie->axisY()->setRange(0, static_cast<float>(techo));
  superficie->axisY()->setLabelFormat(QStringLiteral("%.0f"));
  superficie->axisX()->setLabelFormat(QStringLiteral("%.0f"));
  superficie->axisZ()->setRange(0, dibujo.anterior ? 3 : 1);
  auto añadir = [&](const Serie& s, const std::optional<QColor>& color, float z) {
    auto* filas = new QSurfaceDataArray;
    for (float fz : {z, z + 1.0f}) {
      auto* fila = new QSurfaceDataRow;
      for (size_t i = 0; i < s.valores.size(); ++i)
        fila->append(QSurfaceDataItem(QVector3D(static_cast<float>(i), static_cast<float>(s.valores[i]), fz)));
      filas->append(fila);
    }
    auto* datos = new QSurface3DSeries;
    datos->dataProxy()->resetArray(filas);
    datos->setName(NombreSerie(s));
    datos->setDrawMode(QSurface3DSeries::DrawSurface);
    datos->setFlatShadingEnabled(true);
    if (color) {
      datos->setBaseColor(*color);
      datos->setColorStyle(Q3DTheme::ColorStyleUniform);
    }
    superficie->addSeries(datos);
  };
  if (dibujo.anterior) añadir(*dibujo.anterior, ColorAnterior(dibujo.color), 2.0f);
  añadir(serie, dibujo.color, 0.0f);
  Encuadrar(superficie);
  return superficie;
}

}  // namespace

QWidget* CrearGraficoRelieve(const Serie& serie, const Dibujo& dibujo, QWidget* padre) {
  QAbstract3DGraph* ventana = Relieve(serie, dibujo);
  QWidget* contenedor = QWidget::createWindowContainer(ventana, padre);
  contenedor->setObjectName(QStringLiteral("Grafico"));
  contenedor->setMinimumSize(200, 150);
  return contenedor;
}

QImage PintarGrafico(const Serie& serie, const Dibujo& dibujo, QSize tamano) {
  if (EsTresD(dibujo.tipo)) {
    std::unique_ptr<QAbstract3DGraph> ventana(Relieve(serie, dibujo));
    ventana->resize(tamano);
    QImage imagen = ventana->renderToImage(4, tamano);
    if (!imagen.isNull()) {
      // El relieve no tiene nota al pie: se escribe debajo, como en el plano.
      QPainter p(&imagen);
      QFont letra = p.font();
      letra.setItalic(true);
      p.setFont(letra);
      p.setPen(Qt::black);
      p.drawText(QRect(0, 0, imagen.width(), imagen.height() - 8), Qt::AlignHCenter | Qt::AlignBottom, serie.pie);
    }
    return imagen;
  }
  QChartView vista(CrearGraficoPlano(serie, dibujo));
  vista.setRenderHint(QPainter::Antialiasing);
  vista.resize(tamano);
  return vista.grab().toImage();
}

void ImprimirGrafico(QPagedPaintDevice& impresora, const QString& titulo, const QImage& grafico, double dpiPantalla,
                     double escala) {
  QPainter p(&impresora);
  // Todo en twips, como se medía la página.
  const double porTwip = impresora.logicalDpiX() / 1440.0;
  QFont letra(QStringLiteral("Verdana"));
  letra.setPointSizeF(10);
  p.setFont(letra);
  const int renglon = p.fontMetrics().lineSpacing();
  // Un renglón en blanco, el título y otro en blanco.
  p.drawText(QPointF(0, renglon + p.fontMetrics().ascent()), titulo);
  const double twipsPorPixel = 1440.0 / dpiPantalla;
  const QRectF destino(100 * porTwip, 500 * porTwip, grafico.width() * twipsPorPixel * escala * porTwip,
                       grafico.height() * twipsPorPixel * escala * porTwip);
  p.drawImage(destino, grafico);
  p.end();
}

}  // namespace graficos
