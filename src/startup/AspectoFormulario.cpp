#include "startup/AspectoFormulario.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringList>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>

#include <algorithm>
#include <exception>
#include <vector>

namespace aspecto {

namespace {

// Las figuras de la caja que toman su color del almacén, con el campo de la
// clave "color" que les toca.
struct Figura {
  const char* nombre;
  int campo;
};
constexpr Figura kFiguras[] = {
    {"shp_botones", 2}, {"shp_titulos_1", 3}, {"shp_titulos_2", 4}, {"shp_titulos_3", 6}, {"shp_logo", 5},
};

bool aspectoPropio(const QWidget& w) {
  return w.property("cronicasAspectoPropio").toBool();
}

bool esBotonOrden(const QWidget& w) {
  return qobject_cast<const QPushButton*>(&w) || qobject_cast<const QToolButton*>(&w);
}

bool esCuadroTexto(const QWidget& w) {
  return qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QTextEdit*>(&w) ||
         qobject_cast<const QPlainTextEdit*>(&w) || qobject_cast<const QAbstractSpinBox*>(&w);
}

bool esListaDesplegable(const QWidget& w) {
  return qobject_cast<const QComboBox*>(&w) != nullptr;
}

bool esCasilla(const QWidget& w) {
  return qobject_cast<const QCheckBox*>(&w) || qobject_cast<const QRadioButton*>(&w);
}

bool esRejilla(const QWidget& w) {
  return qobject_cast<const QTableView*>(&w) != nullptr;
}

bool esFigura(const QWidget& w) {
  return std::any_of(std::begin(kFiguras), std::end(kFiguras), [&](const Figura& f) {
    return w.objectName().compare(QLatin1String(f.nombre), Qt::CaseInsensitive) == 0;
  });
}

// QLabel, las áreas de desplazamiento y las rejillas también son QFrame,
// pero sólo la clase QFrame tal cual hace de marco. Las líneas y las figuras
// de la caja se hacen con QFrame y nunca fueron marcos: pintarles el fondo
// convertiría una línea en una franja.
bool esMarco(const QWidget& w) {
  if (qobject_cast<const QGroupBox*>(&w)) return true;
  if (w.metaObject() != &QFrame::staticMetaObject) return false;
  const QFrame::Shape forma = static_cast<const QFrame&>(w).frameShape();
  return forma != QFrame::HLine && forma != QFrame::VLine && !esFigura(w);
}

// Controles cuyos hijos son piezas suyas (el cuadro de texto de una lista
// desplegable, las flechas de una barra de pestañas, la tabla de días de un
// calendario), no controles del formulario.
bool esCompuesto(const QWidget& w) {
  return qobject_cast<const QAbstractButton*>(&w) || esCuadroTexto(w) || esListaDesplegable(w) ||
         qobject_cast<const QLabel*>(&w) || qobject_cast<const QAbstractItemView*>(&w) ||
         qobject_cast<const QTabBar*>(&w) || qobject_cast<const QCalendarWidget*>(&w);
}

void recoger(QWidget& padre, std::vector<QWidget*>& controles) {
  for (QObject* hijo : padre.children()) {
    auto* w = qobject_cast<QWidget*>(hijo);
    // Un diálogo hijo es otro formulario, con su propio aspecto.
    if (!w || w->isWindow()) continue;
    controles.push_back(w);
    if (!aspectoPropio(*w) && !esCompuesto(*w)) recoger(*w, controles);
  }
}

// Los controles del formulario, cada contenedor antes que lo que contiene.
std::vector<QWidget*> controlesDe(QWidget& formu) {
  std::vector<QWidget*> controles;
  recoger(formu, controles);
  return controles;
}

// El marco más cercano que contiene al control, o el formulario. Los QWidget
// que sólo sostienen un layout no cuentan.
QWidget& contenedor(QWidget& control, QWidget& formu) {
  for (QWidget* p = control.parentWidget(); p && p != &formu; p = p->parentWidget())
    if (esMarco(*p)) return *p;
  return formu;
}

int marcosPorEncima(const QWidget& control, const QWidget& formu) {
  int n = 0;
  for (const QWidget* p = control.parentWidget(); p && p != &formu; p = p->parentWidget())
    if (esMarco(*p)) ++n;
  return n;
}

bool mismoColor(const QColor& a, const QColor& b) {
  return a.rgba() == b.rgba();
}

// Qt hereda la paleta de padres a hijos; un control que se pinta solo
// conserva todos sus colores aunque cambie el de su contenedor, y con él
// sus hijos.
void fijarPaleta(QWidget& w) {
  QPalette p = w.palette();
  for (const auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    for (int rol = 0; rol < QPalette::NColorRoles; ++rol) {
      if (rol == QPalette::NoRole) continue;
      const auto r = static_cast<QPalette::ColorRole>(rol);
      p.setBrush(grupo, r, p.brush(grupo, r));
    }
  }
  w.setPalette(p);
}

// En la suite cada marco tiene su propio fondo; en Qt, sin fondo propio, se
// vería el del formulario recién cambiado. El color que tenía se le pone
// como suyo antes de cambiar nada.
std::vector<std::pair<QWidget*, QColor>> fondosDeMarcos(const std::vector<QWidget*>& controles) {
  std::vector<std::pair<QWidget*, QColor>> fondos;
  for (QWidget* w : controles)
    if (esMarco(*w)) fondos.emplace_back(w, ColorFondo(*w));
  return fondos;
}

void fijarPaletasPropias(const std::vector<QWidget*>& controles) {
  for (QWidget* w : controles)
    if (aspectoPropio(*w)) fijarPaleta(*w);
}

QPalette::ColorRole rolFondo(const QWidget& w) {
  // Fusion pinta las cabeceras de las rejillas con el color de los botones.
  if (esBotonOrden(w) || qobject_cast<const QHeaderView*>(&w)) return QPalette::Button;
  if (esCuadroTexto(w) || esListaDesplegable(w)) return QPalette::Base;
  return QPalette::Window;
}

QPalette::ColorRole rolTexto(const QWidget& w) {
  if (esBotonOrden(w) || qobject_cast<const QHeaderView*>(&w)) return QPalette::ButtonText;
  if (esCuadroTexto(w) || esListaDesplegable(w)) return QPalette::Text;
  return QPalette::WindowText;
}

QFont letraEscalada(QFont letra, double factor) {
  if (letra.pixelSize() > 0)
    letra.setPixelSize(std::max(1, qRound(letra.pixelSize() * factor)));
  else
    letra.setPointSizeF(letra.pointSizeF() * factor);
  return letra;
}

// Un calendario se escala entero, como un cuadro de texto: su tabla de días
// hereda la letra, y en una pantalla pequeña no cabría con la de diseño.
bool escalaSuLetra(const QWidget& w) {
  return esCuadroTexto(w) || qobject_cast<const QLabel*>(&w) || esBotonOrden(w) || esCasilla(w) ||
         qobject_cast<const QGroupBox*>(&w) || esRejilla(w) || qobject_cast<const QCalendarWidget*>(&w);
}

}  // namespace

QColor ColorFondo(const QWidget& control) {
  return control.palette().color(QPalette::Active, rolFondo(control));
}

void PonerColorFondo(QWidget& control, const QColor& color) {
  QPalette p = control.palette();
  const QPalette::ColorRole rol = rolFondo(control);
  p.setColor(rol, color);
  // Fusion pinta la lista desplegable cerrada como un botón.
  if (esListaDesplegable(control)) p.setColor(QPalette::Button, color);
  control.setPalette(p);
  if (rol == QPalette::Window) control.setAutoFillBackground(true);
}

QColor ColorTexto(const QWidget& control) {
  return control.palette().color(QPalette::Active, rolTexto(control));
}

void PonerColorTexto(QWidget& control, const QColor& color) {
  QPalette p = control.palette();
  const QPalette::ColorRole rol = rolTexto(control);
  // El grupo de los desactivados se queda como está: un control desactivado
  // se sigue viendo gris.
  for (const auto grupo : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(grupo, rol, color);
    if (esListaDesplegable(control)) p.setColor(grupo, QPalette::ButtonText, color);
  }
  control.setPalette(p);
}

void Colorear(QWidget& formu, qint16 color, const datos::Conexion& base, const QString& idTerminal) {
  const QString texto = ObtenerColor(base, color);
  const Paleta paleta = LeerPaleta(texto);
  const auto ranura = [&](int i) { return paleta.ranuras[static_cast<size_t>(i)]; };

  const std::vector<QWidget*> controles = controlesDe(formu);
  fijarPaletasPropias(controles);
  const auto fondos = fondosDeMarcos(controles);

  PonerColorFondo(formu, QColor(Qt::white));

  // Los marcos van primero, de fuera a dentro, para que la regla del texto
  // sobre fondo del color del texto mire ya el fondo definitivo.
  constexpr int kNivelesConColor = 4;
  for (const auto& [marco, original] : fondos) {
    const int nivel = marcosPorEncima(*marco, formu);
    const auto nuevo = !texto.isEmpty() && nivel < kNivelesConColor ? ranura(nivel) : std::nullopt;
    PonerColorFondo(*marco, nuevo.value_or(original));
  }
  if (texto.isEmpty()) {
    GuardarColorTerminal(base, idTerminal, color);
    return;
  }

  // Un texto que saldría del mismo color que el fondo donde está se escribe
  // con el de la ranura 2.
  const auto legible = [&](QWidget& w) {
    if (ranura(5) && ranura(2) && mismoColor(ColorFondo(contenedor(w, formu)), *ranura(5)))
      PonerColorTexto(w, *ranura(2));
  };

  for (QWidget* w : controles) {
    if (esMarco(*w)) continue;
    if (esBotonOrden(*w)) {
      if (ranura(4)) PonerColorFondo(*w, *ranura(4));
    } else if (esCuadroTexto(*w) || esListaDesplegable(*w)) {
      if (ranura(6)) PonerColorFondo(*w, *ranura(6));
      if (ranura(5)) PonerColorTexto(*w, *ranura(5));
    } else if (qobject_cast<QLabel*>(w)) {
      if (ranura(5)) PonerColorTexto(*w, *ranura(5));
      legible(*w);
    } else if (esCasilla(*w)) {
      PonerColorFondo(*w, ColorFondo(contenedor(*w, formu)));
      if (ranura(5)) PonerColorTexto(*w, *ranura(5));
      legible(*w);
    } else if (auto* rejilla = qobject_cast<QTableView*>(w)) {
      if (ranura(8)) {
        PonerColorFondo(*rejilla->horizontalHeader(), *ranura(8));
        PonerColorFondo(*rejilla->verticalHeader(), *ranura(8));
      }
    }
  }
  GuardarColorTerminal(base, idTerminal, color);
}

void ColorearDesdeAlmacen(QWidget& formu, const ajustes::AlmacenAjustes& almacen) {
  const auto leer = [&](const char* clave, int campo) -> std::optional<QColor> {
    try {
      if (const auto v = LeerValorColor(almacen.leerCampo(QLatin1String(clave), campo))) return ColorWindows(*v);
    } catch (const std::exception&) {
      // Un ajuste que no se puede leer deja el color que había.
    }
    return std::nullopt;
  };
  // Los botones que eligen el tema de color enseñan su propio color.
  static const QStringList kBotonesDeColor = {QStringLiteral("cmdAzul"),    QStringLiteral("cmdCeleste"),
                                              QStringLiteral("cmdVerde"),   QStringLiteral("cmdAmarillo"),
                                              QStringLiteral("cmdNaranja"), QStringLiteral("cmdRojo")};

  const std::vector<QWidget*> controles = controlesDe(formu);
  fijarPaletasPropias(controles);
  for (const auto& [marco, original] : fondosDeMarcos(controles)) PonerColorFondo(*marco, original);

  if (const auto c = leer("colorcaja", 1)) PonerColorFondo(formu, *c);
  const auto casillas = leer("color", 5);
  for (QWidget* w : controles) {
    if (esBotonOrden(*w)) {
      if (!kBotonesDeColor.contains(w->objectName())) PonerColorFondo(*w, QColor(Qt::white));
    } else if (qobject_cast<QCheckBox*>(w)) {
      if (casillas) PonerColorFondo(*w, *casillas);
    } else if (qobject_cast<QFrame*>(w)) {
      for (const Figura& f : kFiguras) {
        if (w->objectName().compare(QLatin1String(f.nombre), Qt::CaseInsensitive) != 0) continue;
        if (const auto c = leer("color", f.campo)) PonerColorFondo(*w, *c);
      }
    }
  }
}

void TraducirFormulario(QWidget& formu, const datos::Conexion& base) {
  // Un formulario repite a menudo el mismo texto ("Aceptar", "Salir").
  QHash<QString, std::optional<QString>> vistos;
  const auto traducir = [&](const QString& texto) -> std::optional<QString> {
    if (texto.isEmpty()) return std::nullopt;
    auto it = vistos.find(texto);
    if (it == vistos.end()) it = vistos.insert(texto, BuscarTraduccion(base, texto));
    return *it;
  };
  for (QWidget* w : controlesDe(formu)) {
    if (auto* marco = qobject_cast<QGroupBox*>(w)) {
      if (const auto t = traducir(marco->title())) marco->setTitle(*t);
    } else if (auto* etiqueta = qobject_cast<QLabel*>(w)) {
      // Una etiqueta con imagen no tiene texto que buscar.
      if (const auto t = traducir(etiqueta->text())) etiqueta->setText(*t);
    } else if (esBotonOrden(*w)) {
      auto* boton = static_cast<QAbstractButton*>(w);
      if (const auto t = traducir(boton->text())) boton->setText(*t);
    }
  }
}

FactoresEscala EscalarFormulario(QWidget& formu, const QRect& pantalla) {
  const FactoresEscala f = CalcularFactores(pantalla.size());
  formu.resize(pantalla.size());

  // Todas las letras se calculan antes de poner ninguna: la de un marco la
  // heredan los controles que contiene. Cada control se queda con la suya,
  // y un control que se escala solo también, para que no le llegue la de su
  // marco.
  std::vector<std::pair<QWidget*, QFont>> letras;
  for (QWidget* w : controlesDe(formu)) {
    double factor = 1.0;
    if (aspectoPropio(*w)) {
      letras.emplace_back(w, letraEscalada(w->font(), factor));
      continue;
    }
    if (!escalaSuLetra(*w)) continue;
    // Una pantalla mayor nunca agranda las letras...
    if (f.fm < 1.0) factor *= f.fm;
    // ...salvo las de las rejillas, que en una pantalla al menos tan alta
    // como la de diseño crecen con el ancho.
    if (esRejilla(*w) && f.fy >= 1.0) factor *= f.fx;
    letras.emplace_back(w, letraEscalada(w->font(), factor));
  }
  for (auto& [w, letra] : letras) w->setFont(letra);
  return f;
}

FactoresEscala EscalarFormulario(QWidget& formu) {
  QScreen* pantalla = formu.screen();
  if (!pantalla) pantalla = QGuiApplication::primaryScreen();
  // Sin pantalla (no debería pasar con una ventana abierta) no hay a qué
  // ajustarse.
  if (!pantalla) return {};
  return EscalarFormulario(formu, pantalla->availableGeometry());
}

}  // namespace aspecto
