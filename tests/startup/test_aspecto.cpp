// Lo que el aspecto de los formularios lee y escribe sin ventanas: paletas
// de la tabla colores, colores de Windows, la paleta apuntada del puesto y
// factores de escala. Las traducciones se prueban sobre un formulario.

#include "startup/Aspecto.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <gtest/gtest.h>

namespace {

using aspecto::ColorWindows;
using aspecto::LeerValorColor;

class AspectoDatos : public testing::TestWithParam<prueba::Motor> {
 protected:
  AspectoDatos() : tienda(GetParam()) {}

  const datos::Conexion& base() const { return *tienda.ajustes.ConexionVentas; }

  // Una paleta cuyos colores son `primero`, `primero` + 1, ...
  void paleta(int id, int primero) {
    QVariantMap fila{{QStringLiteral("id_color"), id}};
    for (int i = 1; i <= 14; ++i) fila.insert(QStringLiteral("color%1").arg(i), primero + i - 1);
    tienda.insertar(QStringLiteral("colores"), fila);
  }

  void puesto(const QString& id, const QVariant& idColor) {
    tienda.insertar(QStringLiteral("opciones_terminal"), {{QStringLiteral("identificador"), id},
                                                          {QStringLiteral("id_color"), idColor},
                                                          {QStringLiteral("colorpredefinido"), 0}});
  }

  // "id_color/colorpredefinido" de la fila del puesto; Null es vacío.
  QString apuntado(const QString& id) const {
    datos::Consulta q = base().preparar(
        QStringLiteral("SELECT id_color, colorpredefinido FROM opciones_terminal WHERE identificador = ?"));
    q.enlazar(id);
    q.ejecutar();
    if (!q.siguiente()) return QStringLiteral("sin fila");
    return q.texto(QStringLiteral("id_color")) + QLatin1Char('/') + q.texto(QStringLiteral("colorpredefinido"));
  }

  prueba::Tienda tienda;
};

TEST_P(AspectoDatos, ObtenerColorDaLaPaletaPedidaOLaPrimeraOVacio) {
  EXPECT_EQ(aspecto::ObtenerColor(base(), 1), "");

  paleta(8, 800);
  paleta(3, 300);
  EXPECT_EQ(aspecto::ObtenerColor(base(), 8), "800|801|802|803|804|805|806|807|808|809|810|811|812|813|");
  // La primera es la de id_color menor, no la primera que se escribió.
  EXPECT_EQ(aspecto::ObtenerColor(base(), 5), aspecto::ObtenerColor(base(), 3));
  EXPECT_EQ(aspecto::ObtenerColor(base(), -1), aspecto::ObtenerColor(base(), 3));
  EXPECT_TRUE(aspecto::ObtenerColor(base(), 3).startsWith(QStringLiteral("300|301|")));

  tienda.ejecutar(QStringLiteral("UPDATE colores SET color2 = NULL, color14 = ? WHERE id_color = 8"), {16777215});
  const QString texto = aspecto::ObtenerColor(base(), 8);
  EXPECT_EQ(texto, "800||802|803|804|805|806|807|808|809|810|811|812|16777215|");
  const aspecto::Paleta p = aspecto::LeerPaleta(texto);
  EXPECT_EQ(p.ranuras[0], ColorWindows(800));
  EXPECT_FALSE(p.ranuras[1].has_value());
  EXPECT_EQ(p.ranuras[13], QColor(Qt::white));
}

TEST_P(AspectoDatos, LaPaletaDelPuestoSoloSeApuntaCuandoCambia) {
  // La fila con el sufijo de otro programa es de otro puesto a estos efectos.
  puesto(QStringLiteral("1234"), 2);
  puesto(QStringLiteral("1234_cr"), 2);
  puesto(QStringLiteral("77"), 4);
  puesto(QStringLiteral("78"), QVariant());
  aspecto::GuardarColorTerminal(base(), QStringLiteral("1234"), 5);
  // La misma paleta no se vuelve a escribir y Null cuenta como distinta.
  aspecto::GuardarColorTerminal(base(), QStringLiteral("77"), 4);
  aspecto::GuardarColorTerminal(base(), QStringLiteral("78"), 0);
  // Un puesto sin paleta no borra la que había, y sin fila no se crea ninguna.
  aspecto::GuardarColorTerminal(base(), QStringLiteral("1234_cr"), -1);
  aspecto::GuardarColorTerminal(base(), QStringLiteral("99"), 3);

  EXPECT_EQ(apuntado(QStringLiteral("1234")), "5/1");
  EXPECT_EQ(apuntado(QStringLiteral("1234_cr")), "2/0");
  EXPECT_EQ(apuntado(QStringLiteral("77")), "4/0");
  EXPECT_EQ(apuntado(QStringLiteral("78")), "0/1");
  EXPECT_EQ(apuntado(QStringLiteral("99")), "sin fila");
}

INSTANTIATE_TEST_SUITE_P(Motores, AspectoDatos, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

TEST(ColoresWindows, SeLeenEnHexadecimalODecimalYVanEnAzulVerdeRojo) {
  EXPECT_EQ(LeerValorColor(QStringLiteral("&HBC1C1")), 0x0BC1C1);
  EXPECT_EQ(ColorWindows(0x0BC1C1), QColor(0xC1, 0xC1, 0x0B));
  EXPECT_EQ(LeerValorColor(QStringLiteral("&H66A68")), 0x066A68);
  EXPECT_EQ(ColorWindows(0x066A68), QColor(0x68, 0x6A, 0x06));
  EXPECT_EQ(LeerValorColor(QStringLiteral("&h834530&")), 0x834530);
  EXPECT_EQ(LeerValorColor(QStringLiteral("12632256")), 12632256);
  EXPECT_EQ(ColorWindows(12632256), QColor(192, 192, 192));
  // Del bit de los colores de sistema no se hace caso.
  EXPECT_EQ(ColorWindows(0x80FF0000), QColor(Qt::blue));

  for (const char* basura : {"", "  ", "AZUL", "&H", "&HXYZ", "&H12G", "12a", "0x10", "&H123456789"})
    EXPECT_EQ(LeerValorColor(QString::fromLatin1(basura)), std::nullopt) << basura;

  const aspecto::Paleta p = aspecto::LeerPaleta(QStringLiteral("&HFF|255||AZUL|"));
  EXPECT_EQ(p.ranuras[0], QColor(Qt::red));
  EXPECT_EQ(p.ranuras[1], QColor(Qt::red));
  EXPECT_FALSE(p.ranuras[2] || p.ranuras[3] || p.ranuras[4] || p.ranuras[13]);
}

TEST(FactoresEscala, RespectoDeLaPantallaDeDiseno) {
  const struct {
    QSize pixeles;
    double fx, fy, fm;
  } casos[] = {
      {{1024, 768}, 1.0, 1.0213, 1.0106},
      {{800, 600}, 0.78125, 0.7979, 0.7896},
      {{1920, 1080}, 1.875, 1.4362, 1.6556},
  };
  for (const auto& c : casos) {
    const aspecto::FactoresEscala f = aspecto::CalcularFactores(c.pixeles);
    EXPECT_NEAR(f.fx, c.fx, 1e-4) << c.pixeles.width();
    EXPECT_NEAR(f.fy, c.fy, 1e-4) << c.pixeles.width();
    EXPECT_NEAR(f.fm, c.fm, 1e-4) << c.pixeles.width();
  }
}

}  // namespace
