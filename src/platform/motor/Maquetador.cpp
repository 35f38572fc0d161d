#include "platform/motor/Documento.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>

#include <array>
#include <cmath>
#include <unordered_map>

namespace motor {

namespace {

// Las medidas se toman sobre una imagen de 1200 ppp, la resolución con que se
// escribe el PDF: así el texto que cabe al maquetar cabe al pintar.
constexpr double kPpp = 1200.0;

const QImage& referencia() {
  static const QImage imagen = [] {
    QImage i(1, 1, QImage::Format_Mono);
    const int puntosPorMetro = static_cast<int>(std::lround(kPpp / 0.0254));
    i.setDotsPerMeterX(puntosPorMetro);
    i.setDotsPerMeterY(puntosPorMetro);
    return i;
  }();
  return imagen;
}

double aMm(double pixeles) {
  return pixeles / kPpp * 25.4;
}
double aPixeles(double mm) {
  return mm / 25.4 * kPpp;
}

QFont letraDe(const Estilo& e) {
  QFont f(e.familia);
  f.setPointSizeF(e.tamano);
  f.setBold(e.negrita);
  f.setItalic(e.cursiva);
  f.setKerning(false);  // un ancho por carácter: las cifras quedan alineadas
  return f;
}

class Maquetador {
 public:
  explicit Maquetador(const Informe& informe) : inf_(informe), p_(informe.plantilla()) {
    doc_.titulo = p_.titulo;
    doc_.tamano = QSizeF(p_.papel.ancho, p_.papel.alto);
  }

  Documento hacer() {
    if (p_.esEtiquetas()) {
      etiquetas();
    } else {
      paginas();
    }
    numerarPaginas();
    return std::move(doc_);
  }

 private:
  struct Letra {
    int indice;
    QFontMetricsF medidas;
    double ascenso, alto;  // mm
    // Avance de cada carácter Latin-1 en mm (negativo: aún no medido). Sin
    // interletraje, el ancho de un texto es la suma de sus avances.
    std::array<double, 256> avances;

    // Ancho del texto: sumando avances si todo es Latin-1; si no, midiendo.
    double ancho(const QString& t) {
      double suma = 0;
      for (QChar c : t) {
        const char16_t u = c.unicode();
        if (u > 255) return aMm(medidas.horizontalAdvance(t));
        double& a = avances[u];
        if (a < 0) a = aMm(medidas.horizontalAdvance(c));
        suma += a;
      }
      return suma;
    }
  };

  Letra& letra(const Elemento& e) {
    auto it = letras_.find(&e);
    if (it != letras_.end()) return it->second;
    const QFont f = letraDe(e.estilo);
    const QString clave = f.toString();
    int indice = indicesLetra_.value(clave, -1);
    if (indice < 0) {
      indice = static_cast<int>(doc_.letras.size());
      doc_.letras.push_back(f);
      indicesLetra_.insert(clave, indice);
    }
    QFontMetricsF m(f, &referencia());
    Letra l{indice, m, aMm(m.ascent()), aMm(m.ascent() + m.descent()), {}};
    l.avances.fill(-1);
    return letras_.emplace(&e, std::move(l)).first->second;
  }

  // Alto de una banda en una instancia: crece con los textos que se parten.
  double alto(const Informe::Instancia& i) {
    const Banda& b = *i.banda;
    double h = b.alto;
    for (const Elemento& e : b.elementos) {
      if (!e.ajustar) continue;
      const QString t = inf_.texto(e, inf_.valor(e, i));
      if (t.isEmpty()) continue;
      Letra& l = letra(e);
      if (l.ancho(t) <= e.ancho) continue;  // cabe en una línea
      const QRectF r = l.medidas.boundingRect(QRectF(0, 0, aPixeles(e.ancho), 1e9),
                                              static_cast<int>(e.alineacion) | Qt::TextWordWrap, t);
      // Arriba y abajo el mismo aire que deja una línea sola en su caja.
      const double necesita = aMm(r.height()) + 2 * margenVertical(e, l);
      if (necesita > e.alto) h = std::max(h, b.alto + (necesita - e.alto));
    }
    return h;
  }

  static double margenVertical(const Elemento& e, const Letra& l) { return std::max(0.0, (e.alto - l.alto) / 2); }

  // Los trazos de una banda en (x0, y0) con alto h.
  void poner(const Informe::Instancia& i, double x0, double y0, double h, PaginaDocumento& pagina) {
    const Banda& b = *i.banda;
    if (b.fondo.isValid()) {
      Trazo t;
      t.tipo = Trazo::Tipo::Caja;
      t.caja = QRectF(x0, y0, anchoUtil(), h);
      t.relleno = b.fondo;
      pagina.trazos.push_back(std::move(t));
    }
    for (const Elemento& e : b.elementos) {
      Trazo t;
      const double crece = e.ajustar ? h - b.alto : 0;
      t.caja = QRectF(x0 + e.x, y0 + e.y, e.ancho, e.alto + crece);
      t.grosor = e.grosor;
      t.color = e.estilo.color.isValid() ? e.estilo.color : QColor(Qt::black);
      switch (e.tipo) {
        case TipoElemento::Linea:
          t.tipo = Trazo::Tipo::Linea;
          break;
        case TipoElemento::Caja:
          t.tipo = Trazo::Tipo::Caja;
          t.relleno = e.relleno;
          break;
        case TipoElemento::Barras: {
          t.tipo = Trazo::Tipo::Barras;
          t.texto = inf_.valor(e, i).toString().trimmed();
          if (t.texto.isEmpty()) continue;
          t.simbologia = e.simbologia;
          t.legible = e.textoLegible;
          t.letra = letra(e).indice;
          break;
        }
        case TipoElemento::Pagina: {
          t.texto = e.texto;
          t.letra = letra(e).indice;
          t.alineacion = e.alineacion;
          pendientes_.push_back({static_cast<int>(doc_.paginas.size()) - 1, static_cast<int>(pagina.trazos.size())});
          break;
        }
        default: {
          t.texto = inf_.texto(e, inf_.valor(e, i));
          if (t.texto.isEmpty()) continue;
          Letra& l = letra(e);
          t.letra = l.indice;
          t.alineacion = e.alineacion;
          // Un texto que se puede partir pero cabe en una línea se escribe
          // como los demás, en la misma línea base que sus vecinos; si se
          // parte, su primera línea queda a la altura de esa línea base.
          t.ajustar = e.ajustar && l.ancho(t.texto) > e.ancho;
          if (t.ajustar) {
            const double margen = margenVertical(e, l);
            t.caja.adjust(0, margen, 0, -margen);
          } else {
            t.caja.setHeight(e.alto);
            situar(t, l);
          }
          break;
        }
      }
      pagina.trazos.push_back(std::move(t));
    }
  }

  // Lo que no cabe se corta con puntos suspensivos (nada se monta sobre la
  // columna de al lado); después, la línea base según la alineación.
  static void situar(Trazo& t, Letra& l) {
    constexpr double kHolgura = 0.05;  // mm: redondeos al sumar avances
    double ancho = l.ancho(t.texto);
    if (ancho > t.caja.width() + kHolgura) {
      // La suma de avances puede pasarse por una ligadura: se mide de verdad.
      ancho = aMm(l.medidas.horizontalAdvance(t.texto));
      if (ancho > t.caja.width() + kHolgura) {
        t.texto = l.medidas.elidedText(t.texto, Qt::ElideRight, aPixeles(t.caja.width() + kHolgura));
        ancho = aMm(l.medidas.horizontalAdvance(t.texto));
      }
    }
    double x = t.caja.left();
    if (t.alineacion & Qt::AlignRight)
      x = t.caja.right() - ancho;
    else if (t.alineacion & Qt::AlignHCenter)
      x = t.caja.left() + (t.caja.width() - ancho) / 2;
    t.origen = QPointF(x, t.caja.top() + (t.caja.height() - l.alto) / 2 + l.ascenso);
  }

  double anchoUtil() const { return p_.papel.ancho - p_.papel.margenIzquierda - p_.papel.margenDerecha; }

  void paginas() {
    const Papel& papel = p_.papel;
    const bool rollo = p_.esRollo();
    const auto& instancias = inf_.instancias();
    const double limitePie = [&] {
      const double pie = p_.piePagina.presente() ? p_.piePagina.alto : 0;
      return rollo ? 1e12 : papel.alto - papel.margenAbajo - pie;
    }();
    const double x0 = papel.margenIzquierda;
    double y = 0;
    bool conCuerpo = false;  // la página ya tiene algo además de su cabecera

    auto cerrarPagina = [&](int fila) {
      if (doc_.paginas.empty() || !p_.piePagina.presente()) return;
      const double yPie = rollo ? y : papel.alto - papel.margenAbajo - p_.piePagina.alto;
      poner({&p_.piePagina, fila, -1}, x0, yPie, p_.piePagina.alto, doc_.paginas.back());
      y = yPie + p_.piePagina.alto;
    };
    // La cabecera del informe, si se da, va encima de la de la página.
    auto abrirPagina = [&](int fila, const Informe::Instancia* cabeceraInforme) {
      // Una página se parece a la anterior: sitio para otros tantos trazos.
      const std::size_t previstos = doc_.paginas.empty() ? 0 : doc_.paginas.back().trazos.size();
      doc_.paginas.emplace_back();
      doc_.paginas.back().trazos.reserve(previstos);
      y = papel.margenArriba;
      conCuerpo = false;
      if (cabeceraInforme) {
        const double h = alto(*cabeceraInforme);
        poner(*cabeceraInforme, x0, y, h, doc_.paginas.back());
        y += h;
      }
      if (p_.cabeceraPagina.presente()) {
        const Informe::Instancia i{&p_.cabeceraPagina, fila, -1};
        const double h = alto(i);
        poner(i, x0, y, h, doc_.paginas.back());
        y += h;
      }
    };

    int ultimaFila = inf_.numFilas() > 0 ? 0 : -1;
    for (std::size_t k = 0; k < instancias.size(); ++k) {
      const Informe::Instancia& i = instancias[k];
      if (inf_.suprimida(i)) continue;
      if (doc_.paginas.empty()) {
        const bool esCabecera = i.banda->tipo == TipoBanda::CabeceraInforme;
        abrirPagina(i.fila, esCabecera ? &i : nullptr);
        if (esCabecera) continue;
      }
      const double h = alto(i);
      // Una cabecera de grupo no se queda sola al pie de la página: va con
      // lo primero que no es otra cabecera (un detalle, o el pie de un grupo
      // cuando los detalles no se pintan).
      double necesita = h;
      if (i.banda->tipo == TipoBanda::CabeceraGrupo) {
        for (std::size_t s = k + 1; s < instancias.size(); ++s) {
          if (inf_.suprimida(instancias[s])) continue;
          necesita += alto(instancias[s]);
          if (instancias[s].banda->tipo != TipoBanda::CabeceraGrupo) break;
        }
      }
      const bool salto = i.banda->tipo == TipoBanda::CabeceraGrupo &&
                         p_.grupos[static_cast<std::size_t>(i.nivel)].nuevaPagina && conCuerpo;
      if (salto || (conCuerpo && y + necesita > limitePie + 1e-6)) {
        cerrarPagina(ultimaFila);
        abrirPagina(i.fila, nullptr);
        repetirCabeceras(i, x0, y);
      }
      poner(i, x0, y, h, doc_.paginas.back());
      y += h;
      conCuerpo = true;
      if (i.fila >= 0) ultimaFila = i.fila;
    }
    if (doc_.paginas.empty()) abrirPagina(-1, nullptr);
    cerrarPagina(ultimaFila);
    if (rollo) doc_.tamano.setHeight(y + papel.margenAbajo);
  }

  // En una página nueva, las cabeceras de los grupos abiertos que lo piden.
  void repetirCabeceras(const Informe::Instancia& siguiente, double x0, double& y) {
    // Tras la última fila ya no queda ningún grupo abierto.
    if (siguiente.fila < 0 || siguiente.banda->tipo == TipoBanda::PieInforme) return;
    const int hasta =
        siguiente.banda->tipo == TipoBanda::CabeceraGrupo ? siguiente.nivel : static_cast<int>(p_.grupos.size());
    for (int g = 0; g < hasta; ++g) {
      const Grupo& grupo = p_.grupos[static_cast<std::size_t>(g)];
      if (!grupo.repetirCabecera || !grupo.cabecera.presente()) continue;
      // Un pie de grupo cierra su grupo: no se repite la cabecera de uno que acaba.
      if (siguiente.banda->tipo == TipoBanda::PieGrupo && siguiente.nivel <= g) continue;
      const Informe::Instancia c{&grupo.cabecera, inf_.rangoGrupo(g, siguiente.fila).first, g};
      const double h = alto(c);
      poner(c, x0, y, h, doc_.paginas.back());
      y += h;
    }
  }

  void etiquetas() {
    const Papel& papel = p_.papel;
    const int porHoja = papel.columnas * papel.filas;
    int n = 0;
    for (const Informe::Instancia& i : inf_.instancias()) {
      if (i.banda->tipo != TipoBanda::Detalle) continue;
      const int k = n++ % porHoja;
      if (k == 0) doc_.paginas.emplace_back();
      // Una posición sin datos (suprimida) deja su hueco en la hoja.
      if (inf_.suprimida(i)) continue;
      const int fila = k / papel.columnas, columna = k % papel.columnas;
      const double x = papel.margenIzquierda + columna * (papel.anchoEtiqueta + papel.separacionH);
      const double y = papel.margenArriba + fila * (papel.altoEtiqueta + papel.separacionV);
      poner(i, x, y, p_.detalle.alto, doc_.paginas.back());
    }
    if (doc_.paginas.empty()) doc_.paginas.emplace_back();
  }

  void numerarPaginas() {
    const int total = static_cast<int>(doc_.paginas.size());
    for (const auto& [pagina, trazo] : pendientes_) {
      Trazo& t = doc_.paginas[static_cast<std::size_t>(pagina)].trazos[static_cast<std::size_t>(trazo)];
      QString texto = t.texto;
      texto.replace(QLatin1String("%1"), QString::number(pagina + 1));
      texto.replace(QLatin1String("%2"), QString::number(total));
      t.texto = texto;
      situar(t, letraPorIndice(t.letra));
    }
  }

  Letra& letraPorIndice(int indice) {
    for (auto& [e, l] : letras_)
      if (l.indice == indice) return l;
    return letras_.begin()->second;
  }

  const Informe& inf_;
  const Plantilla& p_;
  Documento doc_;
  std::unordered_map<const Elemento*, Letra> letras_;
  QHash<QString, int> indicesLetra_;
  std::vector<std::pair<int, int>> pendientes_;  // (página, trazo) con número de página
};

}  // namespace

Documento Maquetar(const Informe& informe) {
  return Maquetador(informe).hacer();
}

double AnchoTextoMm(const QFont& letra, const QString& texto) {
  return aMm(QFontMetricsF(letra, &referencia()).horizontalAdvance(texto));
}

}  // namespace motor
