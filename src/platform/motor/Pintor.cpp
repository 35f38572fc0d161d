#include "platform/motor/Pintor.h"

#include "platform/motor/CodigoBarras.h"
#include "platform/sistema/FicheroSalida.h"

#include <QDir>
#include <QFileDevice>
#include <QGlyphRun>
#include <QHash>
#include <QPaintEngine>
#include <QPdfWriter>
#include <QTextLayout>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

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

// Los textos del PDF compuestos una sola vez. QPainter::drawText da forma a
// cada texto cada vez que lo pinta, y un informe repite miles de veces los
// mismos nombres y días. Aquí cada texto distinto se compone una vez y se
// pinta con sus glifos ya puestos; las cifras, las fechas y los importes,
// que casi nunca se repiten, se montan carácter a carácter. El PDF que sale
// es el mismo: los mismos glifos en las mismas posiciones, que Qt guarda en
// 1/64 de punto.
class Composicion {
 public:
  // Pinta el texto con su línea base en `origen`; falso si no sabe y hay que
  // usar drawText.
  bool pintar(QPainter& p, int letra, const QPointF& origen, const QString& texto) {
    if (letra < 0) return false;
    if (static_cast<std::size_t>(letra) >= letras_.size()) letras_.resize(static_cast<std::size_t>(letra) + 1);
    Letra& l = letras_[static_cast<std::size_t>(letra)];
    if (!l.preparada) preparar(l, p);
    // Qt sitúa el primer glifo en la x truncada a 1/64; los demás, sumando
    // avances enteros de 1/64, caen donde caerían con drawText.
    const QPointF donde(static_cast<int>(origen.x() * 64) / 64.0, origen.y());
    if (l.porCaracter && montar(l, texto)) {
      p.drawGlyphRun(donde, l.montado);
      return true;
    }
    auto it = l.textos.constFind(texto);
    if (it == l.textos.constEnd()) {
      std::optional<QList<QGlyphRun>> glifos = componer(texto, p);
      if (!glifos) return false;
      it = l.textos.insert(texto, *glifos);
    }
    for (const QGlyphRun& g : *it) p.drawGlyphRun(donde, g);
    return true;
  }

 private:
  struct Letra {
    bool preparada = false;
    bool porCaracter = false;
    QFont fuente;
    // Glifo y avance de cada carácter ASCII que se puede montar suelto.
    std::array<quint32, 128> glifo{};
    std::array<double, 128> avance{};
    std::array<bool, 128> suelto{};
    QHash<QString, QList<QGlyphRun>> textos;
    QGlyphRun montado;
    QList<quint32> indices;
    QList<QPointF> posiciones;
  };

  // Los glifos de un texto en una línea, con la línea base en y = 0.
  static std::optional<QList<QGlyphRun>> componer(const QString& texto, QPainter& p) {
    for (const QChar c : texto)
      if (c.unicode() < 0x20 || c.category() == QChar::Other_Format) return std::nullopt;
    QTextLayout capa(texto, p.font(), p.device());
    capa.beginLayout();
    const QTextLine linea = capa.createLine();
    capa.endLayout();
    if (!linea.isValid()) return std::nullopt;
    const double ascenso = linea.ascent();
    QList<QGlyphRun> glifos = capa.glyphRuns();
    for (QGlyphRun& g : glifos) {
      QList<QPointF> posiciones = g.positions();
      for (QPointF& q : posiciones) q.ry() -= ascenso;
      g.setPositions(posiciones);
    }
    return glifos;
  }

  // Las cifras y los signos se montan sueltos si la letra no los cambia al
  // juntarlos (sin interletraje ni ligaduras): se comprueba con una muestra.
  static constexpr char kSueltos[] = "0123456789 .,:;-+/%()#*=";

  void preparar(Letra& l, QPainter& p) {
    l.preparada = true;
    l.fuente = p.font();
    for (const char c : std::string_view(kSueltos)) {
      const auto g = componer(QString(2, QLatin1Char(c)), p);
      if (!g || g->size() != 1 || g->front().glyphIndexes().size() != 2) continue;
      const QList<QPointF> pos = g->front().positions();
      const auto u = static_cast<std::size_t>(c);
      l.glifo[u] = g->front().glyphIndexes().at(0);
      l.avance[u] = pos.at(1).x() - pos.at(0).x();
      l.suelto[u] = true;
      l.montado.setRawFont(g->front().rawFont());
    }
    l.porCaracter = true;
    const QString muestra = QString::fromLatin1(kSueltos) + QStringLiteral("1.234,56 -7/8 12:30 (9%) 0;0 #1*2=3 ") +
                            QString::fromLatin1(kSueltos).sliced(0, 10).repeated(2);
    const auto referencia = componer(muestra, p);
    l.porCaracter = referencia && referencia->size() == 1 && montar(l, muestra) &&
                    referencia->front().glyphIndexes() == l.montado.glyphIndexes() &&
                    referencia->front().positions() == l.montado.positions() &&
                    referencia->front().rawFont() == l.montado.rawFont();
  }

  bool montar(Letra& l, const QString& texto) {
    l.indices.resize(texto.size());
    l.posiciones.resize(texto.size());
    double x = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
      const char16_t c = texto.at(i).unicode();
      if (c >= 128 || !l.suelto[c]) return false;
      l.indices[i] = l.glifo[c];
      l.posiciones[i] = QPointF(x, 0);
      x += l.avance[c];
    }
    l.montado.setGlyphIndexes(l.indices);
    l.montado.setPositions(l.posiciones);
    return true;
  }

  std::vector<Letra> letras_;
};

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

void pintarPagina(const Documento& doc, int pagina, QPainter& p, Composicion* composicion) {
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
        } else if (!composicion || !composicion->pintar(p, t.letra, e(t.origen), t.texto)) {
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

}  // namespace

void PintarPagina(const Documento& doc, int pagina, QPainter& p) {
  pintarPagina(doc, pagina, p, nullptr);
}

void PintarDocumento(const Documento& doc, QPagedPaintDevice& dispositivo) {
  ConservarMemoriaLiberada();
  dispositivo.setPageSize(QPageSize(doc.tamano, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
  dispositivo.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  QPainter p;
  if (!p.begin(&dispositivo)) throw ErrorSalida(QStringLiteral("No se puede empezar a pintar el informe."));
  // Sólo donde Qt escribe PDF (el fichero y la impresora): en la pantalla los
  // glifos sueltos se dibujan por otro camino.
  std::optional<Composicion> composicion;
  if (p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Pdf) composicion.emplace();
  for (int i = 0; i < static_cast<int>(doc.paginas.size()); ++i) {
    if (i > 0 && !dispositivo.newPage()) throw ErrorSalida(QStringLiteral("No se puede añadir una página al informe."));
    pintarPagina(doc, i, p, composicion ? &*composicion : nullptr);
  }
  p.end();
}

void GuardarPdf(const Documento& doc, const QString& ruta) {
  sistema::FicheroSalida fichero(ruta);
  const auto fallo = [&] {
    return ErrorSalida(
        QStringLiteral("No se puede escribir el PDF %1: %2.").arg(QDir::toNativeSeparators(ruta), fichero.error()));
  };
  if (!fichero.abrir()) throw fallo();
  try {
    QPdfWriter pdf(&fichero.dispositivo());
    pdf.setResolution(1200);
    pdf.setTitle(doc.titulo);
    pdf.setCreator(QStringLiteral("Cronicas"));
    PintarDocumento(doc, pdf);
  } catch (const ErrorSalida&) {
    // Qt sólo dice que no pudo pasar de página; lo que pasó de verdad (un
    // disco lleno) lo sabe el fichero.
    const auto* f = qobject_cast<const QFileDevice*>(&fichero.dispositivo());
    if (f && f->error() != QFileDevice::NoError)
      throw ErrorSalida(
          QStringLiteral("No se puede escribir el PDF %1: %2.").arg(QDir::toNativeSeparators(ruta), f->errorString()));
    throw;
  }
  if (!fichero.confirmar()) throw fallo();
}

}  // namespace motor
