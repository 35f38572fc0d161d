#pragma once
// Las páginas de un informe ya maquetado: cada una, una lista de trazos en
// milímetros. Pintarlas en PDF, en la impresora o en la vista previa es
// recorrer esa lista.

#include "platform/motor/Informe.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>

#include <vector>

namespace motor {

struct Trazo {
  enum class Tipo { Texto, Linea, Caja, Barras } tipo = Tipo::Texto;
  QRectF caja;    // mm desde la esquina de la página; la línea va de topLeft a bottomRight
  QString texto;  // texto, o datos del código de barras
  int letra = 0;  // índice en Documento::letras
  // Texto de una línea: dónde empieza su línea base (mm). Se calcula al
  // maquetar para que pintar sea sólo escribir.
  QPointF origen;
  QColor color;
  QColor relleno;
  Qt::Alignment alineacion = Qt::AlignLeft;
  bool ajustar = false;
  double grosor = 0;
  Simbologia simbologia = Simbologia::Code39;
  bool legible = true;
};

struct PaginaDocumento {
  std::vector<Trazo> trazos;
};

struct Documento {
  QString titulo;
  QSizeF tamano;  // mm
  std::vector<QFont> letras;
  std::vector<PaginaDocumento> paginas;
};

Documento Maquetar(const Informe& informe);

// Ancho de un texto en milímetros, medido como al maquetar.
double AnchoTextoMm(const QFont& letra, const QString& texto);

}  // namespace motor
