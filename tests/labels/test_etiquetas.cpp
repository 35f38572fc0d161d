// Etiquetas de precio y letreros sin ventana, en cada motor: la lista de
// artículos de la tienda de tests/fixtures/letreros.sql, las filas de una
// hoja con sus posiciones saltadas y sus copias, la fila de un letrero, y
// las plantillas pintadas: la hoja, leída con un lector de códigos de barras
// (zbarimg) sobre el PNG de cada página, y los tres letreros.

#include "labels/Etiquetas.h"
#include "labels/Letreros.h"
#include "registro/SalidaInforme.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace {

using prueba::Motor;

class Etiquetas : public testing::TestWithParam<Motor> {
 protected:
  Etiquetas() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("letreros")));
  }

  const datos::Conexion& informes() const { return *tienda.ajustes.ConexionInformes; }

  // La plantilla sobre lo que haya en Informes, en PDF.
  QString pintar(const QString& plantilla, const QString& nombre) {
    const QString pdf = dir.filePath(nombre + QStringLiteral(".pdf"));
    EXPECT_TRUE(registro::GenerarSalidas(informes(), plantilla, {QString(), QStringLiteral("es_ES")}, {pdf, QString()},
                                         tienda.notificador, tienda.reloj));
    return pdf;
  }

  prueba::Tienda tienda;
  QTemporaryDir dir;
};

etiquetas::Pedido Pedido(const QString& nombre, double copias, const QString& codigo, const QVariant& precio) {
  return {nombre, copias, codigo, precio};
}

TEST_P(Etiquetas, ProductosYDespuesMenusPorNombreConElCodigoDeSuEtiqueta) {
  const std::vector<etiquetas::Articulo> articulos = etiquetas::LeerArticulos(*tienda.ajustes.ConexionVentas);
  QStringList leidos;
  for (const etiquetas::Articulo& a : articulos)
    leidos << QStringLiteral("%1|%2|%3%4")
                  .arg(a.nombre, a.codigoEtiqueta, a.codigo, a.menu ? QStringLiteral("|menú") : QString());
  // Sin nombre delante; la ñ tras la n; un código de barras Null, "0" o en
  // blanco da el código del producto; el borrado también se etiqueta; la
  // familia que no es menú no sale.
  const QStringList esperados = {"|987654321|16",          "agua mineral|8410000000012|12", "Bocadillo de jamón|14|14",
                                 "Café con leche|13|13",   "Ñoquis|000777000777|17",        "Tostada|15|15",
                                 "Zumo de naranja|123|11", "almuerzo|M1|M1|menú",           "Menú del día|M2|M2|menú"};
  EXPECT_EQ(leidos.join(QLatin1Char(',')).toStdString(), esperados.join(QLatin1Char(',')).toStdString());
  EXPECT_TRUE(articulos.front().precio.isNull());
  EXPECT_DOUBLE_EQ(articulos.back().precio.toDouble(), 12);
  EXPECT_EQ(etiquetas::ContarProductos(*tienda.ajustes.ConexionVentas), 6);
  tienda.ejecutar(QStringLiteral("UPDATE productos SET borrar = -1"));
  EXPECT_EQ(etiquetas::ContarProductos(*tienda.ajustes.ConexionVentas), 0);
}

TEST_P(Etiquetas, LaHojaSaltaLasPosicionesUsadasYRepiteLasCopias) {
  const std::vector<etiquetas::Pedido> cola = {
      Pedido(QStringLiteral("Zumo de naranja"), 3, QStringLiteral("123"), 2.5)};
  EXPECT_EQ(etiquetas::EscribirHoja(informes(), QStringLiteral("5"), cola), 7);
  const std::vector<QVariantMap> filas = tienda.filas();
  ASSERT_EQ(filas.size(), 7u);
  const QVariantMap blanca = {{"texto1", ""}, {"texto2", ""}, {"texto3", ""}, {"texto4", ""}};
  const QVariantMap etiqueta = {{"texto1", "*000000000123*"}, {"texto2", "Zumo de naranja"}, {"numerico1", 2.5}};
  for (std::size_t i = 0; i < filas.size(); ++i) EXPECT_EQ(filas[i], i < 4 ? blanca : etiqueta) << i;

  // Más de 24 vuelve a la primera, también en la caja; 0, vacío y 1 no
  // saltan nada; 24 salta 23.
  struct Caso {
    const char* inicio;
    int saltadas;
    const char* enLaCaja;
  };
  for (const Caso& c : {Caso{"25", 0, "1"}, Caso{"99999999999", 0, "1"}, Caso{"0", 0, "0"}, Caso{"", 0, ""},
                        Caso{"1", 0, "1"}, Caso{"24", 23, "24"}}) {
    EXPECT_EQ(etiquetas::EscribirHoja(informes(), QLatin1String(c.inicio), cola), c.saltadas + 3) << c.inicio;
    EXPECT_EQ(etiquetas::PosicionValida(QLatin1String(c.inicio)), QLatin1String(c.enLaCaja));
  }

  // Copias de una cantidad a medio escribir: 2,5 son dos, "abc" y 0 ninguna.
  // El precio sale con dos decimales y uno Null sin precio.
  const std::vector<etiquetas::Pedido> raras = {
      Pedido(QStringLiteral("A"), etiquetas::ValorNumerico(QStringLiteral("2.5x")), QStringLiteral("1"), 6.756),
      Pedido(QStringLiteral("B"), etiquetas::ValorNumerico(QStringLiteral("abc")), QStringLiteral("2"), 1),
      Pedido(QString(), 1, QStringLiteral("8410000000012"), QVariant())};
  EXPECT_EQ(etiquetas::EscribirHoja(informes(), QStringLiteral("1"), raras), 3);
  const std::vector<QVariantMap> otras = tienda.filas();
  ASSERT_EQ(otras.size(), 3u);
  EXPECT_DOUBLE_EQ(otras[0].value("numerico1").toDouble(), 6.76);
  EXPECT_EQ(otras[1], otras[0]);
  EXPECT_EQ(otras[2], (QVariantMap{{"texto1", "*8410000000012*"}, {"texto2", ""}}));
}

TEST(CodigosDeEtiqueta, SeRellenanADoceCifrasYSoloSiSonMasCortos) {
  EXPECT_EQ(etiquetas::TextoBarras(QStringLiteral("123")), QStringLiteral("*000000000123*"));
  EXPECT_EQ(etiquetas::TextoBarras(QStringLiteral("M1")), QStringLiteral("*0000000000M1*"));
  EXPECT_EQ(etiquetas::TextoBarras(QStringLiteral("000777000777")), QStringLiteral("*000777000777*"));
  EXPECT_EQ(etiquetas::TextoBarras(QStringLiteral("8410000000012")), QStringLiteral("*8410000000012*"));
  EXPECT_EQ(etiquetas::CodigoEtiqueta(QStringLiteral("000"), QStringLiteral("P9")), QStringLiteral("P9"));
  EXPECT_EQ(etiquetas::CodigoEtiqueta(0, QStringLiteral("P9")), QStringLiteral("P9"));
  EXPECT_EQ(etiquetas::CodigoEtiqueta(QStringLiteral("0012"), QStringLiteral("P9")), QStringLiteral("0012"));
}

TEST_P(Etiquetas, ElLetreroSaleConSusLineasCortadasAlDiseno) {
  const letreros::Lineas lineas = {QStringLiteral("Rebajas enero!"), QStringLiteral("Dos por uno en todos los zumos"),
                                   QString(), QStringLiteral("x").repeated(120)};
  letreros::EscribirLetrero(informes(), lineas, letreros::DisenoCartel(0));
  EXPECT_EQ(tienda.filas(), (std::vector<QVariantMap>{{{"texto1", "Rebajas enero"},
                                                       {"texto2", "Dos por uno en todos los "},
                                                       {"texto3", ""},
                                                       {"texto4", QStringLiteral("x").repeated(100)}}}));
  letreros::EscribirLetrero(informes(), lineas, letreros::DisenoCartel(2));
  EXPECT_EQ(tienda.filas().at(0).value("texto2"), QStringLiteral("Dos por uno en todos"));
  EXPECT_EQ(tienda.filas().at(0).value("texto4"), QStringLiteral("x").repeated(25));
}

// --- Las plantillas pintadas ---------------------------------------------------------

// Los códigos que zbarimg lee en la imagen, ordenados y separados por
// blancos; nada si no está.
std::string Leer(const QString& png) {
  QProcess p;
  p.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), QStringLiteral("-Sdisable"),
                                      QStringLiteral("-Scode39.enable"), png});
  p.waitForFinished(60000);
  QStringList codigos = QString::fromLatin1(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  codigos.sort();
  return codigos.join(QLatin1Char(' ')).toStdString();
}

TEST_P(Etiquetas, UnLectorLeeCadaCodigoDeLaHojaPintadaYSoloEnLasPosicionesImpresas) {
  if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
    GTEST_SKIP() << "falta zbarimg (paquete zbar-tools)";
  // Desde la posición 24: una etiqueta en la última de la primera hoja y el
  // resto en la segunda. El lector junta dos códigos iguales de una misma
  // imagen en uno, así que en cada hoja van distintos.
  const std::vector<etiquetas::Pedido> cola = {
      Pedido(QStringLiteral("Zumo de naranja"), 2, QStringLiteral("123"), 2.5),
      Pedido(QStringLiteral("agua mineral"), 1, QStringLiteral("8410000000012"), 1),
      Pedido(QStringLiteral("almuerzo"), 1, QStringLiteral("M1"), 9.5),
      Pedido(QString(), 1, QStringLiteral("987654321"), QVariant())};
  etiquetas::EscribirHoja(informes(), QStringLiteral("24"), cola);
  const QString pdf = pintar(QStringLiteral("cartel_precio.rpt"), QStringLiteral("hoja"));
  ASSERT_EQ(prueba::PaginasPdf(pdf), 2);
  const QSizeF a4 = prueba::TamanoPaginaMm(pdf);
  EXPECT_NEAR(a4.width(), 210, 0.5);
  EXPECT_NEAR(a4.height(), 297, 0.5);
  const QString texto = prueba::TextoPdf(pdf);
  EXPECT_EQ(texto.count(QStringLiteral("Zumo de naranja")), 2);
  EXPECT_TRUE(texto.contains(QStringLiteral("P.V.P. 2,50"))) << texto.toStdString();

  const QString base = dir.filePath(QStringLiteral("hoja"));
  ASSERT_EQ(QProcess::execute(QStringLiteral("pdftoppm"),
                              {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"), pdf, base}),
            0);
  EXPECT_EQ(Leer(base + QStringLiteral("-1.png")), "000000000123");
  EXPECT_EQ(Leer(base + QStringLiteral("-2.png")), "0000000000M1 000000000123 000987654321 8410000000012");
}

TEST_P(Etiquetas, CadaLetreroEnSuPapelYUnaLineaVaciaNoOcupaSitio) {
  const QList<QSizeF> papeles = {{297, 210}, {297, 210}, {210, 148}};
  for (int n = 0; n < letreros::kDisenos; ++n) {
    SCOPED_TRACE(n + 1);
    const letreros::Diseno& d = letreros::DisenoCartel(n);
    // Renglón del PDF en que sale el detalle, con y sin la segunda línea.
    std::array<qsizetype, 2> renglon{};
    for (const bool conSegunda : {true, false}) {
      letreros::EscribirLetrero(informes(),
                                {QStringLiteral("OFERTA"), conSegunda ? QStringLiteral("Dos por uno") : QString(),
                                 QStringLiteral("En todos los refrescos"), QStringLiteral("Hasta fin de existencias")},
                                d);
      const QString pdf = pintar(d.plantilla, QStringLiteral("cartel%1-%2").arg(n).arg(conSegunda));
      ASSERT_EQ(prueba::PaginasPdf(pdf), 1);
      const QSizeF papel = prueba::TamanoPaginaMm(pdf);
      EXPECT_NEAR(papel.width(), papeles[n].width(), 0.5);
      EXPECT_NEAR(papel.height(), papeles[n].height(), 0.5);
      const QStringList renglones = prueba::TextoPdf(pdf).split(QLatin1Char('\n'));
      auto fila = [&renglones](const char* trozo) {
        for (qsizetype i = 0; i < renglones.size(); ++i)
          if (renglones[i].contains(QLatin1String(trozo))) return i;
        return qsizetype(-1);
      };
      EXPECT_GE(fila("OFERTA"), 0);
      EXPECT_GT(fila("refrescos"), fila("OFERTA"));
      EXPECT_GT(fila("existencias"), fila("refrescos"));
      EXPECT_EQ(fila("Dos por uno") >= 0, conSegunda);
      renglon[conSegunda ? 0 : 1] = fila("refrescos");
    }
    EXPECT_LT(renglon[1], renglon[0]);
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, Etiquetas, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
