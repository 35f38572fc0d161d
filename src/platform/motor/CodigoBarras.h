#pragma once
// Códigos de barras con libzint: las barras como rectángulos en unidades del
// símbolo, para pintarlas a cualquier escala.

#include "platform/motor/Plantilla.h"

#include <QRectF>
#include <QString>

#include <vector>

namespace motor {

struct Barras {
  bool valido = false;
  QString error;               // por qué no se pudo codificar
  double ancho = 0, alto = 0;  // del símbolo entero
  std::vector<QRectF> barras;  // rectángulos negros
  QString legible;             // el texto que va debajo
};

// En Code 39, los asteriscos de inicio y fin que traen los datos (la costumbre
// de las fuentes de códigos de barras) se quitan: los pone la librería.
Barras CodificarBarras(Simbologia simbologia, const QString& datos);

}  // namespace motor
