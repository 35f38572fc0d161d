// Colores, traducción y escala sobre un formulario con marcos anidados hasta
// cuatro niveles, un QWidget de layout y un área de desplazamiento entre
// medias (que no cuentan como marcos) y un panel que se pinta solo.

#include "startup/AspectoFormulario.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace {

using aspecto::ColorFondo;
using aspecto::ColorTexto;
using aspecto::ColorWindows;

template <typename T>
T* poner(QWidget* padre, const char* nombre, const QString& texto = {}) {
  if (!padre->layout()) new QVBoxLayout(padre);
  auto* w = new T(padre);
  w->setObjectName(QLatin1String(nombre));
  if constexpr (std::is_base_of_v<QGroupBox, T>) w->setTitle(texto);
  if constexpr (std::is_base_of_v<QLabel, T> || std::is_base_of_v<QAbstractButton, T>) w->setText(texto);
  padre->layout()->addWidget(w);
  return w;
}

// Los controles se piden por nombre, como los buscan los permisos.
struct Formulario {
  Formulario() {
    formu.setFont(QFont(QStringLiteral("Sans"), 10));
    poner<QLabel>(&formu, "lblFormu", QStringLiteral("Cerrar caja"));
    auto* fra0 = poner<QGroupBox>(&formu, "fra0", QStringLiteral("Salir"));
    poner<QLabel>(fra0, "lbl0", QStringLiteral("Otro texto"));
    poner<QRadioButton>(fra0, "opt0", QStringLiteral("Salir"));
    auto* fra1 = poner<QFrame>(poner<QWidget>(fra0, "soloLayout"), "fra1");
    poner<QLabel>(fra1, "lbl1");
    poner<QCheckBox>(fra1, "chk1");
    poner<QFrame>(poner<QFrame>(poner<QGroupBox>(fra1, "fra2"), "fra3"), "fra4");
    auto* area = poner<QScrollArea>(fra0, "area");
    area->setWidget(new QWidget(area));
    poner<QLabel>(area->widget(), "lblArea");
    poner<QFrame>(area->widget(), "fraArea");
    poner<QFrame>(&formu, "lin")->setFrameShape(QFrame::HLine);
    poner<QPushButton>(&formu, "cmdSalir", QStringLiteral("SALIR"));
    poner<QToolButton>(&formu, "cmdHerramienta", QStringLiteral("L'Hospitalet"));
    poner<QLineEdit>(&formu, "txt");
    poner<QComboBox>(&formu, "cbo");
    poner<QSpinBox>(fra0, "spn");
    poner<QTableWidget>(&formu, "grd");
    auto* px = poner<QLabel>(&formu, "lblPx", QStringLiteral("x"));
    QFont letra = px->font();
    letra.setPixelSize(20);
    px->setFont(letra);
    auto* mosaico = poner<QWidget>(fra0, "mosaico");
    mosaico->setProperty("cronicasAspectoPropio", true);
    poner<QLabel>(mosaico, "lblTesela", QStringLiteral("Salir"));
    poner<QPushButton>(mosaico, "cmdTesela", QStringLiteral("Salir"));
  }

  template <typename T>
  T& de(const char* nombre) const {
    T* w = formu.findChild<T*>(QLatin1String(nombre));
    if (!w) throw std::logic_error(nombre);
    return *w;
  }
  QWidget& operator()(const char* nombre) const { return de<QWidget>(nombre); }

  QWidget formu;
};

class AspectoFormulario : public testing::TestWithParam<prueba::Motor> {
 protected:
  AspectoFormulario() : tienda(GetParam()) {}

  const datos::Conexion& base() const { return *tienda.ajustes.ConexionVentas; }

  // Catorce colores distintos; `cambios` fija algunas ranuras (0-based).
  std::vector<QColor> paleta(int id, std::map<int, int> cambios = {}) {
    QVariantMap fila{{QStringLiteral("id_color"), id}};
    std::vector<QColor> colores;
    for (int i = 0; i < 14; ++i) {
      const int valor = cambios.count(i) ? cambios[i] : 0x0A1020 * (id + 1) + 0x000103 * i;
      fila.insert(QStringLiteral("color%1").arg(i + 1), valor);
      colores.push_back(ColorWindows(valor));
    }
    tienda.insertar(QStringLiteral("colores"), fila);
    return colores;
  }

  qint64 colorApuntado() const {
    datos::Consulta q =
        base().preparar(QStringLiteral("SELECT id_color FROM opciones_terminal WHERE identificador = ?"));
    q.enlazar(QStringLiteral("1234"));
    q.ejecutar();
    return q.siguiente() ? q.entero(QStringLiteral("id_color")) : -99;
  }

  prueba::Tienda tienda;
};

TEST_P(AspectoFormulario, CadaRanuraVaASuClaseDeControl) {
  tienda.insertar(QStringLiteral("opciones_terminal"),
                  {{QStringLiteral("identificador"), QStringLiteral("1234")}, {QStringLiteral("id_color"), 7}});
  paleta(0);
  const auto r = paleta(1);
  Formulario f;
  const QColor fondo4 = ColorFondo(f("fra4"));
  const QPalette tesela = f("lblTesela").palette(), botonTesela = f("cmdTesela").palette();

  aspecto::Colorear(f.formu, 1, base(), QStringLiteral("1234"));

  EXPECT_EQ(ColorFondo(f.formu), QColor(Qt::white));
  // Ni el QWidget del layout ni el área de desplazamiento cuentan como nivel;
  // el cuarto nivel conserva su color aunque cambie el de su marco.
  const std::pair<const char*, QColor> fondos[] = {
      {"fra0", r[0]},    {"fra1", r[1]},     {"fra2", r[2]}, {"fra3", r[3]},           {"fra4", fondo4},
      {"fraArea", r[1]}, {"cmdSalir", r[4]}, {"txt", r[6]},  {"cmdHerramienta", r[4]}, {"cbo", r[6]},
      {"spn", r[6]},     {"opt0", r[0]},     {"chk1", r[1]}};
  for (const auto& [nombre, color] : fondos) EXPECT_EQ(ColorFondo(f(nombre)), color) << nombre;
  for (const char* nombre : {"fra0", "fra4", "chk1"}) EXPECT_TRUE(f(nombre).autoFillBackground()) << nombre;
  for (const char* nombre : {"txt", "cbo", "spn", "lblFormu", "lbl0", "lbl1", "lblArea", "opt0", "chk1"})
    EXPECT_EQ(ColorTexto(f(nombre)), r[5]) << nombre;
  EXPECT_FALSE(f("lin").autoFillBackground());
  EXPECT_EQ(f.de<QTableWidget>("grd").horizontalHeader()->palette().color(QPalette::Button), r[8]);
  EXPECT_EQ(f.de<QTableWidget>("grd").verticalHeader()->palette().color(QPalette::Button), r[8]);
  EXPECT_EQ(f("lblTesela").palette(), tesela);
  EXPECT_EQ(f("cmdTesela").palette(), botonTesela);
  EXPECT_EQ(colorApuntado(), 1);
}

TEST_P(AspectoFormulario, UnTextoSobreFondoDeSuColorPasaALaRanuraDos) {
  // La ranura 1 (marcos de segundo nivel) igual a la del texto.
  const auto r = paleta(1, {{1, 0x3050A0}, {5, 0x3050A0}});
  Formulario f;
  aspecto::Colorear(f.formu, 1, base(), QStringLiteral("1234"));
  EXPECT_EQ(ColorTexto(f("lbl1")), r[2]);
  EXPECT_EQ(ColorTexto(f("chk1")), r[2]);
  EXPECT_EQ(ColorTexto(f("lbl0")), r[5]);
  EXPECT_EQ(ColorTexto(f("lblFormu")), r[5]);

  // Texto blanco sobre el formulario, que siempre es blanco.
  const auto blanco = paleta(2, {{5, 0xFFFFFF}});
  Formulario g;
  aspecto::Colorear(g.formu, 2, base(), QStringLiteral("1234"));
  EXPECT_EQ(ColorTexto(g("lblFormu")), blanco[2]);
  EXPECT_EQ(ColorTexto(g("lbl0")), blanco[5]);
}

TEST_P(AspectoFormulario, UnPuestoSinPaletaUsaLaPrimeraYNoLaApunta) {
  tienda.insertar(QStringLiteral("opciones_terminal"),
                  {{QStringLiteral("identificador"), QStringLiteral("1234")}, {QStringLiteral("id_color"), 9}});
  paleta(9);
  const auto primera = paleta(4);
  Formulario f;
  aspecto::Colorear(f.formu, -1, base(), QStringLiteral("1234"));
  EXPECT_EQ(ColorFondo(f("fra0")), primera[0]);
  EXPECT_EQ(ColorFondo(f("cmdSalir")), primera[4]);
  EXPECT_EQ(colorApuntado(), 9);
}

TEST_P(AspectoFormulario, SinPaletasSoloCambiaElFondoDelFormularioYSeApuntaLaElegida) {
  tienda.insertar(QStringLiteral("opciones_terminal"),
                  {{QStringLiteral("identificador"), QStringLiteral("1234")}, {QStringLiteral("id_color"), 9}});
  Formulario f;
  const QColor marco = ColorFondo(f("fra1")), boton = ColorFondo(f("cmdSalir")), texto = ColorTexto(f("lbl0"));
  aspecto::Colorear(f.formu, 3, base(), QStringLiteral("1234"));
  EXPECT_EQ(ColorFondo(f.formu), QColor(Qt::white));
  EXPECT_EQ(ColorFondo(f("fra1")), marco);
  EXPECT_EQ(ColorFondo(f("cmdSalir")), boton);
  EXPECT_EQ(ColorTexto(f("lbl0")), texto);
  EXPECT_EQ(colorApuntado(), 3);

  tienda.ejecutar(QStringLiteral("DROP TABLE colores"));
  EXPECT_THROW(aspecto::Colorear(f.formu, 3, base(), QStringLiteral("1234")), datos::ErrorDatos);
}

TEST_P(AspectoFormulario, TraduceMarcosEtiquetasYBotones) {
  const auto fila = [&](const char* caption, const QVariant& traduccion) {
    tienda.insertar(QStringLiteral("traducciones"), {{QStringLiteral("caption"), QString::fromUtf8(caption)},
                                                     {QStringLiteral("traduccion"), traduccion}});
  };
  fila("Salir", QStringLiteral("Sortir"));
  fila("CERRAR CAJA", QVariant());
  fila("l'hospitalet", QStringLiteral("L'H"));
  fila("X", QStringLiteral(""));
  Formulario f;
  aspecto::TraducirFormulario(f.formu, base());
  EXPECT_EQ(f.de<QGroupBox>("fra0").title(), "Sortir");
  const std::pair<const char*, const char*> textos[] = {
      {"cmdSalir", "Sortir"},
      {"lblFormu", "CERRAR CAJA"},
      {"cmdHerramienta", "L'H"},
      {"lblPx", "X"},
      {"lbl0", "Otro texto"},
      // Ni las casillas ni lo que hay dentro de un panel que se pinta solo.
      {"opt0", "Salir"},
      {"lblTesela", "Salir"},
      {"cmdTesela", "Salir"}};
  for (const auto& [nombre, texto] : textos)
    EXPECT_EQ(f(nombre).property("text").toString(), QString::fromUtf8(texto)) << nombre;
}

INSTANTIATE_TEST_SUITE_P(Motores, AspectoFormulario, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

TEST(ColorearDesdeAlmacen, FondoDeLaCajaBotonesFigurasYCasillas) {
  QTemporaryDir dir;
  ajustes::AlmacenAjustes almacen(dir.filePath(QStringLiteral("ajustes.ini")));
  almacen.guardarLista(QStringLiteral("colorcaja"), QStringLiteral("&HBC1C1|&H79F9F5|"));
  almacen.guardarLista(QStringLiteral("color"), QStringLiteral("&HFFFFFF|&H10|&H20|&H30|&H40|&H50|&HFFFFFF|AZUL|"));

  Formulario f;
  for (const char* nombre : {"cmdAzul", "cmdRojo"}) poner<QPushButton>(&f.formu, nombre);
  for (const char* nombre : {"SHP_BOTONES", "shp_titulos_1", "shp_titulos_2", "shp_titulos_3", "shp_logo"})
    poner<QFrame>(&f("fra0"), nombre);
  const QColor azul = ColorFondo(f("cmdAzul")), rojo = ColorFondo(f("cmdRojo")), marco = ColorFondo(f("fra1"));

  aspecto::ColorearDesdeAlmacen(f.formu, almacen);
  EXPECT_EQ(ColorFondo(f.formu), QColor(0xC1, 0xC1, 0x0B));
  const std::pair<const char*, QColor> fondos[] = {{"cmdAzul", azul},
                                                   {"cmdRojo", rojo},
                                                   {"cmdSalir", Qt::white},
                                                   {"cmdHerramienta", Qt::white},
                                                   {"SHP_BOTONES", ColorWindows(0x10)},
                                                   {"shp_titulos_1", ColorWindows(0x20)},
                                                   {"shp_titulos_2", ColorWindows(0x30)},
                                                   {"shp_logo", ColorWindows(0x40)},
                                                   {"shp_titulos_3", ColorWindows(0x50)},
                                                   {"chk1", ColorWindows(0x40)},
                                                   {"fra1", marco}};
  for (const auto& [nombre, color] : fondos) EXPECT_EQ(ColorFondo(f(nombre)), color) << nombre;
  EXPECT_NE(ColorFondo(f("cmdTesela")), QColor(Qt::white));

  // Lo que no se puede leer deja el color que había.
  almacen.guardarLista(QStringLiteral("colorcaja"), QStringLiteral("amarillo|"));
  almacen.guardarLista(QStringLiteral("color"), QStringLiteral("|&H11|||||"));
  aspecto::ColorearDesdeAlmacen(f.formu, almacen);
  EXPECT_EQ(ColorFondo(f.formu), QColor(0xC1, 0xC1, 0x0B));
  EXPECT_EQ(ColorFondo(f("chk1")), ColorWindows(0x40));
  EXPECT_EQ(ColorFondo(f("SHP_BOTONES")), ColorWindows(0x11));
}

TEST(EscalarFormulario, LasLetrasMenguanConLaPantallaYSoloLasRejillasCrecen) {
  const double fm800 = 0.7896;
  Formulario f;
  aspecto::EscalarFormulario(f.formu, QRect(0, 0, 800, 600));
  EXPECT_EQ(f.formu.size(), QSize(800, 600));
  // El marco y lo que contiene se reducen una vez cada uno, no dos.
  for (const char* nombre :
       {"fra0", "lbl0", "lblFormu", "opt0", "chk1", "cmdSalir", "cmdHerramienta", "txt", "spn", "grd"})
    EXPECT_NEAR(f(nombre).font().pointSizeF(), 10 * fm800, 0.01) << nombre;
  EXPECT_EQ(f("lblPx").font().pixelSize(), qRound(20 * fm800));
  for (const char* nombre : {"cbo", "mosaico", "lblTesela"}) EXPECT_NEAR(f(nombre).font().pointSizeF(), 10, 0.01);

  // Un calendario se reduce entero, una vez: su tabla de días lo hereda.
  Formulario k;
  auto* calendario800 = new QCalendarWidget(&k.formu);
  const double letra800 = calendario800->font().pointSizeF();
  aspecto::EscalarFormulario(k.formu, QRect(0, 0, 800, 600));
  EXPECT_NEAR(calendario800->font().pointSizeF(), letra800 * fm800, 0.01);
  EXPECT_NEAR(calendario800->findChild<QTableView*>()->font().pointSizeF(), letra800 * fm800, 0.01);

  Formulario g;
  // La tabla de días de un calendario es pieza suya, no una rejilla del formulario.
  auto* calendario = new QCalendarWidget(&g.formu);
  auto* dias = calendario->findChild<QTableView*>();
  ASSERT_NE(dias, nullptr);
  const double letraDias = dias->font().pointSizeF();
  aspecto::EscalarFormulario(g.formu, QRect(0, 0, 1920, 1080));
  EXPECT_NEAR(dias->font().pointSizeF(), letraDias, 0.01);
  EXPECT_EQ(g.formu.size(), QSize(1920, 1080));
  EXPECT_NEAR(g("lbl0").font().pointSizeF(), 10, 0.01);
  EXPECT_NEAR(g("fra0").font().pointSizeF(), 10, 0.01);
  EXPECT_NEAR(g("grd").font().pointSizeF(), 10 * 1.875, 0.01);

  // Con la pantalla del formulario.
  Formulario h;
  const QRect disponible = h.formu.screen()->availableGeometry();
  const auto deSuPantalla = aspecto::EscalarFormulario(h.formu);
  EXPECT_EQ(h.formu.size(), disponible.size());
  EXPECT_DOUBLE_EQ(deSuPantalla.fx, aspecto::CalcularFactores(disponible.size()).fx);
}

}  // namespace
