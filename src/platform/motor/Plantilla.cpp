#include "platform/motor/Plantilla.h"

#include "platform/motor/Expresion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QXmlStreamReader>

#include <cmath>
#include <functional>

namespace motor {

namespace {

// Letra de los rollos: monoespaciada, para que una columna de caracteres
// caiga siempre en su sitio. Avance de DejaVu Sans Mono: 1233/2048 em.
constexpr double kAvanceMono = 1233.0 / 2048.0;
constexpr double kMmPorPunto = 25.4 / 72.0;

// Topes de lo que una plantilla puede pedir. Son holgados para cualquier
// informe de verdad y cortan lo que sólo puede ser un error: una letra de un
// millón de puntos, o un grupo dentro de otro miles de veces (la lectura es
// recursiva y agota la pila; el informe guarda 8 bytes por fila y nivel, así
// que 20 niveles sobre el millón de filas de un año ya son 160 MB).
constexpr double kMedidaMaxima = 1000;  // mm, o caracteres y líneas en un rollo
constexpr double kMargenMaximo = 100;   // mm
constexpr double kRolloMaximo = 300;    // mm de ancho imprimible de un rollo
constexpr double kLetraMaxima = 200;    // puntos
constexpr double kGrosorMaximo = 20;    // mm
constexpr int kGruposMaximos = 20;

const QSet<QString>& atributosComunes() {
  static const QSet<QString> a = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("ancho"),
                                  QStringLiteral("alto")};
  return a;
}
const QSet<QString>& atributosLetra() {
  static const QSet<QString> a = {QStringLiteral("familia"), QStringLiteral("tamano"), QStringLiteral("negrita"),
                                  QStringLiteral("cursiva"), QStringLiteral("color"),  QStringLiteral("alinear"),
                                  QStringLiteral("ajustar"), QStringLiteral("hoja")};
  return a;
}
const QSet<QString>& atributosValor() {
  static const QSet<QString> a = {QStringLiteral("formato"),     QStringLiteral("decimales"), QStringLiteral("miles"),
                                  QStringLiteral("ocultarCero"), QStringLiteral("prefijo"),   QStringLiteral("sufijo"),
                                  QStringLiteral("siVacio")};
  return a;
}

struct Lector {
  QXmlStreamReader xml;
  QString fichero;
  QStringList columnasInformes;  // en minúsculas
  Plantilla p;
  QHash<QString, int> formulas;  // nombre en minúsculas -> número de fórmula
  // Rollo: caracteres por línea de la impresora (0: los de la plantilla) y
  // los de la plantilla, para llevar lo que toca el borde derecho al nuevo.
  int caracteresImpresora = 0;
  int caracteresDiseno = 0;

  [[noreturn]] void fallo(const QString& problema, qint64 linea = -1) {
    if (linea < 0) linea = xml.lineNumber();
    // Una sola sustitución: una ruta con "%2" no se come el número de línea.
    throw ErrorPlantilla(QStringLiteral("La plantilla «%1» no se puede usar: línea %2: %3.")
                             .arg(QDir::toNativeSeparators(fichero), QString::number(linea), problema));
  }

  QString nombre() const { return xml.name().toString(); }
  bool tiene(const QString& a) const { return xml.attributes().hasAttribute(a); }
  QString atributo(const QString& a) const { return xml.attributes().value(a).toString(); }

  void comprobarAtributos(const QList<const QSet<QString>*>& permitidos) {
    for (const QXmlStreamAttribute& a : xml.attributes()) {
      const QString n = a.name().toString();
      bool ok = false;
      for (const auto* s : permitidos) ok = ok || s->contains(n);
      if (!ok) fallo(QStringLiteral("el atributo «%1» no vale en <%2>").arg(n, nombre()));
    }
  }

  // Un número finito entre `minimo` y `maximo`. QLocale acepta «nan» e
  // «inf», que ninguna medida puede ser.
  double numero(const QString& a, double porDefecto, double minimo, double maximo) {
    if (!tiene(a)) return porDefecto;
    bool ok = false;
    const double v = QLocale::c().toDouble(atributo(a).trimmed(), &ok);
    if (!ok || !std::isfinite(v)) fallo(QStringLiteral("«%1» no es un número en el atributo «%2»").arg(atributo(a), a));
    if (v < minimo) fallo(QStringLiteral("el atributo «%1» no puede ser menor que %2").arg(a).arg(minimo));
    if (v > maximo) fallo(QStringLiteral("el atributo «%1» no puede ser mayor que %2").arg(a).arg(maximo));
    return v;
  }
  double medida(const QString& a, double porDefecto = 0, double minimo = 0) {
    return numero(a, porDefecto, minimo, kMedidaMaxima);
  }
  int entero(const QString& a, int porDefecto, int minimo, int maximo) {
    if (!tiene(a)) return porDefecto;
    bool ok = false;
    const int v = atributo(a).trimmed().toInt(&ok);
    if (!ok || v < minimo || v > maximo)
      fallo(QStringLiteral("el atributo «%1» necesita un entero de %2 a %3 (dice «%4»)")
                .arg(a)
                .arg(minimo)
                .arg(maximo)
                .arg(atributo(a)));
    return v;
  }
  bool siNo(const QString& a, bool porDefecto) {
    if (!tiene(a)) return porDefecto;
    const QString v = atributo(a).trimmed().toLower();
    if (v == QLatin1String("si") || v == QStringLiteral("sí")) return true;
    if (v == QLatin1String("no")) return false;
    fallo(QStringLiteral("el atributo «%1» admite «si» o «no» (dice «%2»)").arg(a, atributo(a)));
  }
  template <typename T>
  T opcion(const QString& a, T porDefecto, const QList<QPair<QString, T>>& valores) {
    if (!tiene(a)) return porDefecto;
    const QString v = atributo(a).trimmed().toLower();
    QStringList nombres;
    for (const auto& [n, x] : valores) {
      if (n.toLower() == v) return x;
      nombres << n;
    }
    fallo(QStringLiteral("el atributo «%1» admite %2 (dice «%3»)")
              .arg(a, nombres.join(QStringLiteral(", ")), atributo(a)));
  }
  QColor color(const QString& a) {
    if (!tiene(a)) return {};
    QColor c(atributo(a).trimmed());
    if (!c.isValid()) fallo(QStringLiteral("«%1» no es un color (use #rrggbb)").arg(atributo(a)));
    return c;
  }

  // Columna de Informes o fórmula. Las fórmulas llevan un índice provisional
  // negativo hasta que se sabe cuántas columnas de la tabla hay.
  int columna(const QString& n) {
    const QString c = n.trimmed().toLower();
    if (c.isEmpty()) fallo(QStringLiteral("falta el nombre de la columna"));
    if (formulas.contains(c)) return -2 - formulas.value(c);
    if (!columnasInformes.contains(c)) fallo(QStringLiteral("la columna «%1» no existe en Informes").arg(n.trimmed()));
    int i = p.columnas.indexOf(c);
    if (i < 0) {
      p.columnas << c;
      i = p.columnas.size() - 1;
    }
    return i;
  }
  int columnaObligatoria(const QString& a = QStringLiteral("columna")) {
    if (!tiene(a)) fallo(QStringLiteral("<%1> necesita el atributo «%2»").arg(nombre(), a));
    return columna(atributo(a));
  }

  Formato formatoPorNombre(int c) const {
    if (c <= -2) return Formato::Numero;
    const QString& n = p.columnas.at(c);
    if (n.startsWith(QLatin1String("numerico")) || n.startsWith(QLatin1String("doble"))) return Formato::Numero;
    if (n.startsWith(QLatin1String("entero"))) return Formato::Entero;
    if (n.startsWith(QLatin1String("fecha"))) return Formato::Fecha;
    return Formato::Texto;
  }

  void leerEstilo(Estilo& e) {
    if (tiene(QStringLiteral("familia"))) e.familia = atributo(QStringLiteral("familia"));
    e.tamano = numero(QStringLiteral("tamano"), e.tamano, 1, kLetraMaxima);
    e.negrita = siNo(QStringLiteral("negrita"), e.negrita);
    e.cursiva = siNo(QStringLiteral("cursiva"), e.cursiva);
    if (tiene(QStringLiteral("color"))) e.color = color(QStringLiteral("color"));
  }

  void leerPapel() {
    static const QSet<QString> a = {
        QStringLiteral("tipo"),        QStringLiteral("orientacion"),   QStringLiteral("margenes"),
        QStringLiteral("caracteres"),  QStringLiteral("ancho"),         QStringLiteral("columnas"),
        QStringLiteral("filas"),       QStringLiteral("anchoEtiqueta"), QStringLiteral("altoEtiqueta"),
        QStringLiteral("separacionH"), QStringLiteral("separacionV"),   QStringLiteral("deImpresora")};
    comprobarAtributos({&a});
    Papel& papel = p.papel;
    const QString tipo = atributo(QStringLiteral("tipo")).trimmed().toLower();
    if (tipo.isEmpty() || tipo == QLatin1String("a4")) {
      papel.ancho = 210, papel.alto = 297;
    } else if (tipo == QLatin1String("a5") || tipo == QLatin1String("mediaa4")) {
      papel.ancho = 148, papel.alto = 210;
    } else if (tipo == QLatin1String("etiquetas")) {
      papel.tipo = TipoPapel::Etiquetas;
      papel.ancho = 210, papel.alto = 297;
      papel.columnas = entero(QStringLiteral("columnas"), 3, 1, 20);
      papel.filas = entero(QStringLiteral("filas"), 8, 1, 50);
      papel.anchoEtiqueta = medida(QStringLiteral("anchoEtiqueta"), 70, 1);
      papel.altoEtiqueta = medida(QStringLiteral("altoEtiqueta"), 33.8, 1);
      papel.separacionH = medida(QStringLiteral("separacionH"));
      papel.separacionV = medida(QStringLiteral("separacionV"));
    } else if (tipo == QLatin1String("rollo")) {
      papel.tipo = TipoPapel::Rollo;
      papel.caracteres = entero(QStringLiteral("caracteres"), 42, 16, 200);
      papel.ancho = numero(QStringLiteral("ancho"), 72, 20, kRolloMaximo);
      papel.margenArriba = papel.margenAbajo = 3;
      papel.margenIzquierda = papel.margenDerecha = 2;
      caracteresDiseno = papel.caracteres;
      // Sólo el rollo que lo pide toma los caracteres de la impresora.
      if (!siNo(QStringLiteral("deImpresora"), false)) caracteresImpresora = 0;
      caracteresImpresora = caracteresImpresora > 0 ? std::clamp(caracteresImpresora, 16, 200) : 0;
      if (caracteresImpresora > 0 && caracteresImpresora != papel.caracteres) {
        // Otra impresora: la letra se queda y el rollo se estrecha o se
        // ensancha con los caracteres, como el papel de una de 58 o de 80 mm.
        const double util =
            (papel.ancho - papel.margenIzquierda - papel.margenDerecha) * caracteresImpresora / papel.caracteres;
        papel.ancho = std::min(kRolloMaximo, util + papel.margenIzquierda + papel.margenDerecha);
        papel.caracteres = caracteresImpresora;
      }
    } else {
      fallo(
          QStringLiteral("el papel «%1» no existe (A4, A5, etiquetas o rollo)").arg(atributo(QStringLiteral("tipo"))));
    }
    if (papel.tipo != TipoPapel::Rollo &&
        (tiene(QStringLiteral("caracteres")) || tiene(QStringLiteral("ancho")) || tiene(QStringLiteral("deImpresora"))))
      fallo(QStringLiteral("«caracteres», «ancho» y «deImpresora» sólo valen para el papel rollo"));
    if (papel.tipo != TipoPapel::Etiquetas) {
      for (const char* n : {"columnas", "filas", "anchoEtiqueta", "altoEtiqueta", "separacionH", "separacionV"})
        if (tiene(QString::fromLatin1(n)))
          fallo(QStringLiteral("«%1» sólo vale para el papel de etiquetas").arg(QString::fromLatin1(n)));
    }
    const bool horizontal = opcion<bool>(QStringLiteral("orientacion"), false,
                                         {{QStringLiteral("vertical"), false}, {QStringLiteral("horizontal"), true}});
    if (horizontal) {
      if (papel.tipo == TipoPapel::Rollo) fallo(QStringLiteral("un rollo no tiene orientación"));
      std::swap(papel.ancho, papel.alto);
    }
    if (tiene(QStringLiteral("margenes"))) {
      const QStringList m = atributo(QStringLiteral("margenes")).simplified().split(QLatin1Char(' '));
      std::vector<double> v;
      for (const QString& x : m) {
        bool ok = false;
        const double d = QLocale::c().toDouble(x, &ok);
        if (!ok || !std::isfinite(d) || d < 0 || d > kMargenMaximo)
          fallo(QStringLiteral("los márgenes son cuatro números en mm: arriba derecha abajo izquierda"));
        v.push_back(d);
      }
      if (v.size() == 1) v = {v[0], v[0], v[0], v[0]};
      if (v.size() == 2) v = {v[0], v[1], v[0], v[1]};
      if (v.size() != 4) fallo(QStringLiteral("los márgenes son cuatro números en mm: arriba derecha abajo izquierda"));
      papel.margenArriba = v[0], papel.margenDerecha = v[1], papel.margenAbajo = v[2], papel.margenIzquierda = v[3];
      if (papel.tipo != TipoPapel::Rollo && (papel.margenIzquierda + papel.margenDerecha >= papel.ancho ||
                                             papel.margenArriba + papel.margenAbajo >= papel.alto))
        fallo(QStringLiteral("los márgenes no dejan sitio en el papel"));
    }
    // En un rollo se da el ancho imprimible; el papel lleva además los márgenes.
    if (papel.tipo == TipoPapel::Rollo) papel.ancho += papel.margenIzquierda + papel.margenDerecha;
    if (papel.tipo == TipoPapel::Etiquetas) {
      const double ancho = papel.columnas * papel.anchoEtiqueta + (papel.columnas - 1) * papel.separacionH;
      const double alto = papel.filas * papel.altoEtiqueta + (papel.filas - 1) * papel.separacionV;
      if (papel.margenIzquierda + ancho > papel.ancho + 0.01 || papel.margenArriba + alto > papel.alto + 0.01)
        fallo(QStringLiteral("la rejilla de etiquetas no cabe en la hoja"));
    }
    xml.skipCurrentElement();
  }

  Elemento leerElemento() {
    static const QHash<QString, TipoElemento> tipos = {
        {QStringLiteral("texto"), TipoElemento::Texto},       {QStringLiteral("campo"), TipoElemento::Campo},
        {QStringLiteral("suma"), TipoElemento::Suma},         {QStringLiteral("cuenta"), TipoElemento::Cuenta},
        {QStringLiteral("promedio"), TipoElemento::Promedio}, {QStringLiteral("acumulado"), TipoElemento::Acumulado},
        {QStringLiteral("pagina"), TipoElemento::Pagina},     {QStringLiteral("impresion"), TipoElemento::Impresion},
        {QStringLiteral("linea"), TipoElemento::Linea},       {QStringLiteral("caja"), TipoElemento::Caja},
        {QStringLiteral("barras"), TipoElemento::Barras}};
    if (!tipos.contains(nombre())) fallo(QStringLiteral("el elemento <%1> no existe").arg(nombre()));
    Elemento e;
    e.tipo = tipos.value(nombre());
    e.linea = static_cast<int>(xml.lineNumber());
    e.estilo = p.estilo;

    static const QSet<QString> conColumna = {QStringLiteral("columna"), QStringLiteral("unaVezPor")};
    static const QSet<QString> conAmbito = {QStringLiteral("columna"), QStringLiteral("ambito"),
                                            QStringLiteral("unaVezPor")};
    static const QSet<QString> patron = {QStringLiteral("patron")};
    static const QSet<QString> trazo = {QStringLiteral("grosor"), QStringLiteral("color"), QStringLiteral("relleno")};
    static const QSet<QString> barras = {QStringLiteral("columna"), QStringLiteral("tipo"), QStringLiteral("legible"),
                                         QStringLiteral("hoja")};
    switch (e.tipo) {
      case TipoElemento::Texto:
        comprobarAtributos({&atributosComunes(), &atributosLetra()});
        break;
      case TipoElemento::Campo:
        comprobarAtributos({&atributosComunes(), &atributosLetra(), &atributosValor(), &conColumna});
        break;
      case TipoElemento::Suma:
      case TipoElemento::Cuenta:
      case TipoElemento::Promedio:
      case TipoElemento::Acumulado:
        comprobarAtributos({&atributosComunes(), &atributosLetra(), &atributosValor(), &conAmbito});
        break;
      case TipoElemento::Pagina:
        comprobarAtributos({&atributosComunes(), &atributosLetra(), &patron});
        break;
      case TipoElemento::Impresion:
        comprobarAtributos({&atributosComunes(), &atributosLetra(), &atributosValor()});
        break;
      case TipoElemento::Linea:
      case TipoElemento::Caja:
        comprobarAtributos({&atributosComunes(), &trazo});
        break;
      case TipoElemento::Barras:
        comprobarAtributos({&atributosComunes(), &barras});
        break;
    }

    e.x = medida(QStringLiteral("x"));
    e.y = medida(QStringLiteral("y"));
    e.ancho = medida(QStringLiteral("ancho"));
    e.alto = medida(QStringLiteral("alto"));
    leerEstilo(e.estilo);
    e.ajustar = siNo(QStringLiteral("ajustar"), false);
    e.enHoja = siNo(QStringLiteral("hoja"), true);

    // Columna y formato por defecto según la clase de elemento y de columna.
    switch (e.tipo) {
      case TipoElemento::Campo:
        e.columna = columnaObligatoria();
        e.formato = formatoPorNombre(e.columna);
        break;
      case TipoElemento::Suma:
      case TipoElemento::Promedio:
      case TipoElemento::Acumulado:
        e.columna = columnaObligatoria();
        e.formato = Formato::Numero;
        break;
      case TipoElemento::Cuenta:
        if (tiene(QStringLiteral("columna"))) e.columna = columna(atributo(QStringLiteral("columna")));
        e.formato = Formato::Entero;
        break;
      case TipoElemento::Impresion:
        e.formato = Formato::Fecha;
        break;
      case TipoElemento::Barras:
        e.columna = columnaObligatoria();
        e.simbologia = opcion<Simbologia>(
            QStringLiteral("tipo"), Simbologia::Code39,
            {{QStringLiteral("code39"), Simbologia::Code39}, {QStringLiteral("ean"), Simbologia::Ean}});
        e.textoLegible = siNo(QStringLiteral("legible"), true);
        break;
      default:
        break;
    }
    if (tiene(QStringLiteral("unaVezPor"))) {
      const QStringList claves = atributo(QStringLiteral("unaVezPor")).simplified().split(QLatin1Char(' '));
      for (const QString& c : claves) e.unaVezPor.push_back(columna(c));
    }
    e.ambito = opcion<Ambito>(QStringLiteral("ambito"), Ambito::Informe,
                              {{QStringLiteral("informe"), Ambito::Informe}, {QStringLiteral("grupo"), Ambito::Grupo}});
    e.formato = opcion<Formato>(QStringLiteral("formato"), e.formato,
                                {{QStringLiteral("texto"), Formato::Texto},
                                 {QStringLiteral("numero"), Formato::Numero},
                                 {QStringLiteral("entero"), Formato::Entero},
                                 {QStringLiteral("fecha"), Formato::Fecha},
                                 {QStringLiteral("hora"), Formato::Hora},
                                 {QStringLiteral("fechaHora"), Formato::FechaHora}});
    if (e.tipo == TipoElemento::Impresion && e.formato != Formato::Fecha && e.formato != Formato::Hora &&
        e.formato != Formato::FechaHora)
      fallo(QStringLiteral("<impresion> sólo admite los formatos fecha, hora y fechaHora"));
    e.decimales = entero(QStringLiteral("decimales"), 2, 0, 10);
    e.miles = siNo(QStringLiteral("miles"), true);
    e.ocultarCero = siNo(QStringLiteral("ocultarCero"), false);
    e.prefijo = atributo(QStringLiteral("prefijo"));
    e.sufijo = atributo(QStringLiteral("sufijo"));
    e.siVacio = atributo(QStringLiteral("siVacio"));
    const bool numerico = e.formato == Formato::Numero || e.formato == Formato::Entero;
    e.alineacion = opcion<Qt::Alignment>(QStringLiteral("alinear"), numerico ? Qt::AlignRight : Qt::AlignLeft,
                                         {{QStringLiteral("izquierda"), Qt::AlignLeft},
                                          {QStringLiteral("centro"), Qt::AlignHCenter},
                                          {QStringLiteral("derecha"), Qt::AlignRight}});
    e.grosor = numero(QStringLiteral("grosor"), 0.2, 0, kGrosorMaximo);
    e.relleno = color(QStringLiteral("relleno"));
    if (e.tipo == TipoElemento::Pagina)
      e.texto =
          tiene(QStringLiteral("patron")) ? atributo(QStringLiteral("patron")) : QStringLiteral("Página %1 de %2");

    if (e.tipo == TipoElemento::Texto) {
      e.texto = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
      if (xml.hasError()) fallo(QStringLiteral("<texto> sólo puede contener texto"));
    } else {
      const QString resto = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
      if (xml.hasError() || !resto.trimmed().isEmpty())
        fallo(QStringLiteral("<%1> no lleva contenido").arg(tipoTexto(e.tipo)), e.linea);
    }
    const bool sinMedidas = e.tipo == TipoElemento::Linea ? (e.ancho <= 0 && e.alto <= 0) : (e.ancho <= 0);
    if (sinMedidas) fallo(QStringLiteral("<%1> necesita un «ancho» mayor que cero").arg(tipoTexto(e.tipo)), e.linea);
    if (e.tipo != TipoElemento::Linea && e.alto <= 0 && !p.esRollo())
      fallo(QStringLiteral("<%1> necesita un «alto» mayor que cero").arg(tipoTexto(e.tipo)), e.linea);
    if (p.esRollo() && e.alto <= 0 && e.tipo != TipoElemento::Linea) e.alto = 1;
    return e;
  }

  static QString tipoTexto(TipoElemento t) {
    switch (t) {
      case TipoElemento::Texto:
        return QStringLiteral("texto");
      case TipoElemento::Campo:
        return QStringLiteral("campo");
      case TipoElemento::Suma:
        return QStringLiteral("suma");
      case TipoElemento::Cuenta:
        return QStringLiteral("cuenta");
      case TipoElemento::Promedio:
        return QStringLiteral("promedio");
      case TipoElemento::Acumulado:
        return QStringLiteral("acumulado");
      case TipoElemento::Pagina:
        return QStringLiteral("pagina");
      case TipoElemento::Impresion:
        return QStringLiteral("impresion");
      case TipoElemento::Linea:
        return QStringLiteral("linea");
      case TipoElemento::Caja:
        return QStringLiteral("caja");
      case TipoElemento::Barras:
        return QStringLiteral("barras");
    }
    return {};
  }

  void leerBanda(Banda& b, TipoBanda tipo) {
    if (b.linea != 0)
      fallo(QStringLiteral("la banda <%1> está repetida (la primera, en la línea %2)").arg(nombre()).arg(b.linea));
    static const QSet<QString> a = {QStringLiteral("alto"), QStringLiteral("suprimirSiVacio"), QStringLiteral("fondo")};
    comprobarAtributos({&a});
    b.tipo = tipo;
    b.linea = static_cast<int>(xml.lineNumber());
    b.alto = medida(QStringLiteral("alto"));
    if (tiene(QStringLiteral("suprimirSiVacio")))
      b.suprimirSiVacio = columna(atributo(QStringLiteral("suprimirSiVacio")));
    b.fondo = color(QStringLiteral("fondo"));
    while (xml.readNextStartElement()) b.elementos.push_back(leerElemento());
    if (xml.hasError()) return;
    if (b.alto <= 0) fallo(QStringLiteral("la banda necesita un «alto» mayor que cero"), b.linea);
    for (const Elemento& e : b.elementos) {
      const double fondo = e.y + std::max(e.alto, 0.0);
      if (fondo > b.alto + 1e-6)
        fallo(QStringLiteral("el elemento <%1> se sale de su banda (llega a %2 y la banda mide %3)")
                  .arg(tipoTexto(e.tipo))
                  .arg(fondo)
                  .arg(b.alto),
              e.linea);
    }
  }

  void leerGrupo(int profundidad) {
    static const QSet<QString> a = {QStringLiteral("columna"), QStringLiteral("orden"), QStringLiteral("nuevaPagina"),
                                    QStringLiteral("repetirCabecera"), QStringLiteral("porFecha")};
    comprobarAtributos({&a});
    if (profundidad != static_cast<int>(p.grupos.size()))
      fallo(QStringLiteral("un grupo sólo puede contener un grupo"));
    if (profundidad >= kGruposMaximos) fallo(QStringLiteral("hay más de %1 grupos anidados").arg(kGruposMaximos));
    Grupo g;
    g.columna = columnaObligatoria();
    g.orden = opcion<Grupo::Orden>(QStringLiteral("orden"), Grupo::Orden::Ascendente,
                                   {{QStringLiteral("ascendente"), Grupo::Orden::Ascendente},
                                    {QStringLiteral("descendente"), Grupo::Orden::Descendente},
                                    {QStringLiteral("original"), Grupo::Orden::Original}});
    g.porFecha = siNo(QStringLiteral("porFecha"), false);
    g.nuevaPagina = siNo(QStringLiteral("nuevaPagina"), false);
    g.repetirCabecera = siNo(QStringLiteral("repetirCabecera"), false);
    p.grupos.push_back(g);
    const std::size_t indice = p.grupos.size() - 1;
    bool interior = false;
    while (xml.readNextStartElement()) {
      if (nombre() == QLatin1String("cabecera")) {
        if (interior) fallo(QStringLiteral("la cabecera del grupo va antes del grupo interior"));
        leerBanda(p.grupos[indice].cabecera, TipoBanda::CabeceraGrupo);
      } else if (nombre() == QLatin1String("pie")) {
        leerBanda(p.grupos[indice].pie, TipoBanda::PieGrupo);
      } else if (nombre() == QLatin1String("grupo")) {
        if (interior) fallo(QStringLiteral("un grupo sólo puede contener un grupo"));
        interior = true;
        leerGrupo(profundidad + 1);
      } else {
        fallo(QStringLiteral("el elemento <%1> no vale dentro de <grupo> (cabecera, pie o grupo)").arg(nombre()));
      }
    }
  }

  void leerFormula() {
    static const QSet<QString> a = {QStringLiteral("nombre"), QStringLiteral("expresion")};
    comprobarAtributos({&a});
    Formula f;
    f.linea = static_cast<int>(xml.lineNumber());
    f.nombre = atributo(QStringLiteral("nombre")).trimmed().toLower();
    f.expresion = atributo(QStringLiteral("expresion"));
    if (f.nombre.isEmpty()) fallo(QStringLiteral("<formula> necesita un «nombre»"));
    if (columnasInformes.contains(f.nombre) || formulas.contains(f.nombre))
      fallo(QStringLiteral("el nombre «%1» ya es de una columna o de otra fórmula").arg(f.nombre));
    QString error;
    auto e = Expresion::Analizar(
        f.expresion, [this](const QString& n) { return columnasInformes.contains(n.toLower()) ? columna(n) : -1; },
        error);
    if (!e) fallo(QStringLiteral("la fórmula «%1» está mal escrita: %2").arg(f.nombre, error));
    formulas.insert(f.nombre, static_cast<int>(p.formulas.size()));
    p.formulas.push_back(f);
    p.expresiones.push_back(e);
    xml.skipCurrentElement();
  }

  void leerOrden() {
    static const QSet<QString> a = {QStringLiteral("columna"), QStringLiteral("sentido")};
    comprobarAtributos({&a});
    CriterioFilas c;
    c.columna = columnaObligatoria();
    c.descendente = opcion<bool>(QStringLiteral("sentido"), false,
                                 {{QStringLiteral("ascendente"), false}, {QStringLiteral("descendente"), true}});
    p.orden.push_back(c);
    xml.skipCurrentElement();
  }

  void leer(const QByteArray& contenido) {
    xml.addData(contenido);
    if (!xml.readNextStartElement()) {
      if (xml.hasError()) fallo(xml.errorString());
      fallo(QStringLiteral("el fichero está vacío"));
    }
    if (nombre() != QLatin1String("informe"))
      fallo(QStringLiteral("el elemento raíz debe ser <informe>, no <%1>").arg(nombre()));
    static const QSet<QString> a = {QStringLiteral("titulo")};
    comprobarAtributos({&a});
    p.titulo = atributo(QStringLiteral("titulo"));
    p.estilo.familia = QStringLiteral("DejaVu Sans");
    p.estilo.tamano = 8;
    p.estilo.color = Qt::black;
    bool vistoPapel = false, vistasBandas = false;
    while (xml.readNextStartElement()) {
      const QString n = nombre();
      if (n == QLatin1String("papel")) {
        if (vistoPapel || vistasBandas) fallo(QStringLiteral("<papel> va una sola vez, antes de las bandas"));
        vistoPapel = true;
        leerPapel();
        if (p.esRollo()) {
          p.estilo.familia = QStringLiteral("DejaVu Sans Mono");
          const double anchoCaracter = anchoImprimible() / p.papel.caracteres;
          p.estilo.tamano = anchoCaracter / kAvanceMono / kMmPorPunto;
        }
        continue;
      }
      if (n == QLatin1String("letra")) {
        if (vistasBandas) fallo(QStringLiteral("<letra> va antes de las bandas"));
        static const QSet<QString> l = {QStringLiteral("familia"), QStringLiteral("tamano"), QStringLiteral("negrita"),
                                        QStringLiteral("cursiva"), QStringLiteral("color")};
        comprobarAtributos({&l});
        leerEstilo(p.estilo);
        xml.skipCurrentElement();
        continue;
      }
      if (n == QLatin1String("formula")) {
        if (vistasBandas) fallo(QStringLiteral("las fórmulas van antes de las bandas"));
        leerFormula();
        continue;
      }
      if (n == QLatin1String("orden")) {
        leerOrden();
        continue;
      }
      vistasBandas = true;
      if (n == QLatin1String("cabeceraInforme"))
        leerBanda(p.cabeceraInforme, TipoBanda::CabeceraInforme);
      else if (n == QLatin1String("cabeceraPagina"))
        leerBanda(p.cabeceraPagina, TipoBanda::CabeceraPagina);
      else if (n == QLatin1String("detalle"))
        leerBanda(p.detalle, TipoBanda::Detalle);
      else if (n == QLatin1String("pieInforme"))
        leerBanda(p.pieInforme, TipoBanda::PieInforme);
      else if (n == QLatin1String("piePagina"))
        leerBanda(p.piePagina, TipoBanda::PiePagina);
      else if (n == QLatin1String("grupo"))
        leerGrupo(0);
      else
        fallo(QStringLiteral("el elemento <%1> no existe").arg(n));
    }
    if (xml.hasError()) fallo(xml.errorString());
    if (!p.detalle.presente()) fallo(QStringLiteral("falta la banda <detalle>"), xml.lineNumber());
    if (p.esEtiquetas()) {
      if (p.detalle.alto > p.papel.altoEtiqueta + 1e-6)
        fallo(QStringLiteral("el detalle mide más que una etiqueta"), p.detalle.linea);
      if (!p.grupos.empty() || p.cabeceraPagina.presente() || p.piePagina.presente())
        fallo(QStringLiteral("una hoja de etiquetas sólo lleva la banda <detalle>"), p.detalle.linea);
    }
    resolverFormulas();
    if (p.esRollo()) aCaracteres();
    comprobarAnchos();
  }

  // Nada se pinta fuera del papel: un elemento que se sale del ancho útil es
  // un error de la plantilla, no algo que se corte sin avisar.
  static QString mm(double v) { return QLocale(QLocale::Spanish, QLocale::Spain).toString(v, 'f', 1); }

  void comprobarAnchos() {
    const double util = p.esEtiquetas() ? p.papel.anchoEtiqueta : anchoImprimible();
    auto banda = [&](const Banda& b) {
      for (const Elemento& e : b.elementos) {
        const double derecha = e.x + e.ancho;
        if (derecha > util + 0.01)
          fallo(QStringLiteral("el elemento <%1> se sale del ancho útil (llega a %2 mm y hay %3 mm)")
                    .arg(tipoTexto(e.tipo))
                    .arg(mm(derecha), mm(util)),
                e.linea);
      }
    };
    for (const Banda* b : {&p.cabeceraInforme, &p.cabeceraPagina, &p.detalle, &p.pieInforme, &p.piePagina}) banda(*b);
    for (const Grupo& g : p.grupos) {
      banda(g.cabecera);
      banda(g.pie);
    }
  }

  // Las fórmulas van tras las columnas de la tabla.
  void resolverFormulas() {
    p.columnasTabla = static_cast<int>(p.columnas.size());
    for (const Formula& f : p.formulas) p.columnas << f.nombre;
    auto fijar = [this](int& c) {
      if (c <= -2) c = p.columnasTabla + (-2 - c);
    };
    auto banda = [&](Banda& b) {
      fijar(b.suprimirSiVacio);
      for (Elemento& e : b.elementos) {
        fijar(e.columna);
        for (int& c : e.unaVezPor) fijar(c);
      }
    };
    for (Banda* b : {&p.cabeceraInforme, &p.cabeceraPagina, &p.detalle, &p.pieInforme, &p.piePagina}) banda(*b);
    for (Grupo& g : p.grupos) {
      fijar(g.columna);
      banda(g.cabecera);
      banda(g.pie);
    }
    for (CriterioFilas& c : p.orden) fijar(c.columna);
  }

  double anchoImprimible() const { return p.papel.ancho - p.papel.margenIzquierda - p.papel.margenDerecha; }

  // En un rollo se mide en caracteres y líneas; el motor trabaja en mm.
  void aCaracteres() {
    const double ancho = anchoImprimible() / p.papel.caracteres;
    const double alto = p.estilo.tamano * kMmPorPunto * 1.25;
    const int total = p.papel.caracteres;
    const int cambio = total - caracteresDiseno;
    auto banda = [&](Banda& b) {
      b.alto *= alto;
      for (Elemento& e : b.elementos) {
        // Lo que llega al borde derecho se queda pegado a él: si empieza en
        // el izquierdo se estira (títulos, rayas), si no se desplaza (los
        // importes). Lo demás queda donde está, cortado si no cabe.
        // Sin otra impresora, lo que se sale es un error de la plantilla.
        if (cambio != 0) {
          if (e.x + e.ancho >= caracteresDiseno - 0.01) {
            if (e.x <= 0.01)
              e.ancho += cambio;
            else
              e.x += cambio;
          }
          e.x = std::clamp(e.x, 0.0, static_cast<double>(total));
          e.ancho = std::clamp(e.ancho, 0.0, total - e.x);
        }
        e.x *= ancho;
        e.ancho *= ancho;
        e.y *= alto;
        e.alto *= alto;
      }
    };
    for (Banda* b : {&p.cabeceraInforme, &p.cabeceraPagina, &p.detalle, &p.pieInforme, &p.piePagina}) banda(*b);
    for (Grupo& g : p.grupos) {
      banda(g.cabecera);
      banda(g.pie);
    }
  }
};

}  // namespace

Plantilla LeerPlantilla(const QByteArray& xml, const QString& fichero, const QStringList& columnasInformes,
                        int caracteresRollo) {
  Lector l;
  l.fichero = fichero;
  l.caracteresImpresora = caracteresRollo;
  for (const QString& c : columnasInformes) l.columnasInformes << c.toLower();
  l.p.fichero = fichero;
  l.leer(xml);
  return std::move(l.p);
}

Plantilla CargarPlantilla(const QString& ruta, const QStringList& columnasInformes, int caracteresRollo) {
  QFile f(ruta);
  if (!f.exists())
    throw ErrorPlantilla(QStringLiteral("No se encuentra la plantilla «%1».").arg(QDir::toNativeSeparators(ruta)));
  if (!f.open(QIODevice::ReadOnly))
    throw ErrorPlantilla(
        QStringLiteral("No se puede leer la plantilla «%1»: %2.").arg(QDir::toNativeSeparators(ruta), f.errorString()));
  return LeerPlantilla(f.readAll(), ruta, columnasInformes, caracteresRollo);
}

QString UbicarPlantilla(const QString& nombre, const QString& carpeta) {
  QString base = nombre.trimmed();
  if (base.endsWith(QLatin1String(".rpt"), Qt::CaseInsensitive)) base.chop(4);
  base = QFileInfo(base).fileName();  // nada de rutas dentro del nombre
  const QString fichero = base + QStringLiteral(".xml");
  if (!carpeta.isEmpty()) {
    const QString ruta = QDir(carpeta).filePath(fichero);
    if (!QFileInfo::exists(ruta))
      throw ErrorPlantilla(QStringLiteral("No se encuentra la plantilla «%1» del informe: no está en la carpeta de "
                                          "plantillas %2.")
                               .arg(fichero, QDir::toNativeSeparators(carpeta)));
    return ruta;
  }
  const QString recurso = QStringLiteral(":/plantillas/") + fichero;
  if (!QFileInfo::exists(recurso))
    throw ErrorPlantilla(
        QStringLiteral("No se encuentra la plantilla «%1» del informe: el programa no la trae.").arg(fichero));
  return recurso;
}

}  // namespace motor
