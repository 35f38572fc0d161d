#include "platform/motor/Pintor.h"

#include "platform/motor/CodigoBarras.h"

#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace motor {

namespace {

struct Escala {
  double x, y;
  QRectF operator()(const QRectF& mm) const { return QRectF(mm.x() * x, mm.y() * y, mm.width() * x, mm.height() * y); }
  QPointF operator()(const QPointF& mm) const { return QPointF(mm.x() * x, mm.y() * y); }
};

void pintarBarras(const Trazo& t, const QFont& letra, const Escala& e, QPainter& p) {
  const Barras b = CodificarBarras(t.simbologia, t.texto);
  QRectF caja = e(t.caja);
  if (!b.valido) {
    // Un código que no se puede codificar se enseña tal cual, para que se vea.
    p.setFont(letra);
    p.setPen(Qt::black);
    p.drawText(caja, Qt::AlignCenter, t.texto);
    return;
  }
  double altoTexto = 0;
  if (t.legible) {
    p.setFont(letra);
    altoTexto = p.fontMetrics().height();
    if (altoTexto > caja.height() / 2) altoTexto = 0;
  }
  const QRectF zonaBarras(caja.x(), caja.y(), caja.width(), caja.height() - altoTexto);
  const double fx = zonaBarras.width() / b.ancho, fy = zonaBarras.height() / b.alto;
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  for (const QRectF& r : b.barras)
    p.drawRect(QRectF(zonaBarras.x() + r.x() * fx, zonaBarras.y() + r.y() * fy, r.width() * fx, r.height() * fy));
  p.setBrush(Qt::NoBrush);
  if (altoTexto > 0) {
    p.setPen(Qt::black);
    p.drawText(QRectF(caja.x(), caja.bottom() - altoTexto, caja.width(), altoTexto), Qt::AlignCenter, b.legible);
  }
}

// El PDF de Qt comprime cada página con búferes de cientos de KB que pide y
// suelta una y otra vez. Con los umbrales de glibc por defecto esa memoria
// vuelve al sistema en cada página y se pide de nuevo, y ese ir y venir (con
// sus fallos de página) cuesta un tercio del tiempo de pintar: se conserva en
// el proceso. La memoria máxima no cambia.
void ConservarMemoriaLiberada() {
#if defined(__GLIBC__)
  static const bool hecho = [] {
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    return true;
  }();
  (void)hecho;
#endif
}

}  // namespace

void PintarPagina(const Documento& doc, int pagina, QPainter& p) {
  const QPaintDevice* d = p.device();
  const Escala e{d->logicalDpiX() / 25.4, d->logicalDpiY() / 25.4};
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  // Cambiar de letra o de color cuesta en el PDF: sólo cuando cambia.
  int letra = -1;
  QColor color;
  for (const Trazo& t : doc.paginas.at(static_cast<std::size_t>(pagina)).trazos) {
    switch (t.tipo) {
      case Trazo::Tipo::Texto: {
        if (t.letra != letra) {
          p.setFont(doc.letras.at(static_cast<std::size_t>(t.letra)));
          letra = t.letra;
        }
        if (t.color != color || p.pen().style() != Qt::SolidLine || p.pen().widthF() != 0) {
          p.setPen(QPen(t.color, 0));
          color = t.color;
        }
        if (t.ajustar) {
          p.drawText(e(t.caja), static_cast<int>(t.alineacion) | Qt::AlignTop | Qt::TextWordWrap, t.texto);
        } else {
          p.drawText(e(t.origen), t.texto);
        }
        break;
      }
      case Trazo::Tipo::Linea: {
        QPen pluma(t.color);
        pluma.setWidthF(t.grosor * e.x);
        p.setPen(pluma);
        p.drawLine(e(t.caja.topLeft()), e(t.caja.bottomRight()));
        break;
      }
      case Trazo::Tipo::Caja: {
        if (t.relleno.isValid()) p.fillRect(e(t.caja), t.relleno);
        if (t.grosor > 0 && t.color.isValid()) {
          QPen pluma(t.color);
          pluma.setWidthF(t.grosor * e.x);
          p.setPen(pluma);
          p.setBrush(Qt::NoBrush);
          p.drawRect(e(t.caja));
        }
        break;
      }
      case Trazo::Tipo::Barras:
        pintarBarras(t, doc.letras.at(static_cast<std::size_t>(t.letra)), e, p);
        letra = -1;
        break;
    }
  }
}

void PintarDocumento(const Documento& doc, QPagedPaintDevice& dispositivo) {
  ConservarMemoriaLiberada();
  dispositivo.setPageSize(QPageSize(doc.tamano, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
  dispositivo.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  QPainter p;
  if (!p.begin(&dispositivo)) throw ErrorSalida(QStringLiteral("No se puede empezar a pintar el informe."));
  for (int i = 0; i < static_cast<int>(doc.paginas.size()); ++i) {
    if (i > 0 && !dispositivo.newPage()) throw ErrorSalida(QStringLiteral("No se puede añadir una página al informe."));
    PintarPagina(doc, i, p);
  }
  p.end();
}

void GuardarPdf(const Documento& doc, const QString& ruta) {
  QSaveFile fichero(ruta);
  if (!fichero.open(QIODevice::WriteOnly))
    throw ErrorSalida(QStringLiteral("No se puede escribir el PDF %1: %2.")
                          .arg(QDir::toNativeSeparators(ruta), fichero.errorString()));
  {
    QPdfWriter pdf(&fichero);
    pdf.setResolution(1200);
    pdf.setTitle(doc.titulo);
    pdf.setCreator(QStringLiteral("Cronicas"));
    PintarDocumento(doc, pdf);
  }
  if (!fichero.commit())
    throw ErrorSalida(QStringLiteral("No se puede escribir el PDF %1: %2.")
                          .arg(QDir::toNativeSeparators(ruta), fichero.errorString()));
}

}  // namespace motor
