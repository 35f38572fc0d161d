#pragma once
// El dibujo de una serie: plano con Qt Charts (barras, líneas, tarta y
// área) y en relieve con Qt Data Visualization (barras, líneas y área). Lo
// usan el formulario de gráficos y la línea de órdenes, que lo pinta a PNG.
// El relieve necesita OpenGL: bajo una pantalla de verdad (o Xvfb), nunca
// con la plataforma offscreen.

#include "charts/SeriesGraficos.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

class QChart;
class QPagedPaintDevice;
class QWidget;

namespace graficos {

// Lo que decide el dibujo: el tipo (TipoGrafico), el color de la serie si
// se eligió uno y la serie del año anterior si se pidió.
struct Dibujo {
  int tipo = 1;
  std::optional<QColor> color;
  const Serie* anterior = nullptr;
};

// Un gráfico plano con los rótulos de las filas, los títulos de los ejes y
// la nota al pie. El tipo 3D se dibuja con su equivalente plano.
QChart* CrearGraficoPlano(const Serie& serie, const Dibujo& dibujo);
// El color del relleno de la serie principal de un gráfico plano; inválido
// si no tiene serie.
QColor ColorDeSerie(const QChart& grafico);

// Un gráfico en relieve dentro de un control (el contenedor de su ventana).
QWidget* CrearGraficoRelieve(const Serie& serie, const Dibujo& dibujo, QWidget* padre);

// El gráfico pintado en una imagen del tamaño dado.
QImage PintarGrafico(const Serie& serie, const Dibujo& dibujo, QSize tamano);

// La página impresa: una línea en blanco, el título en Verdana 10, otra en
// blanco y la imagen del gráfico a 100 y 500 twips de la esquina, a
// `escala` del tamaño que tenía en la pantalla (`dpiPantalla`).
void ImprimirGrafico(QPagedPaintDevice& impresora, const QString& titulo, const QImage& grafico, double dpiPantalla,
                     double escala);

}  // namespace graficos
