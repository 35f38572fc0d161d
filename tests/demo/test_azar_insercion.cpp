// Las dos piezas de bajo nivel de la demostración: el azar reproducible y la
// inserción preparada que se reenlaza en cada fila.

#include "demo/Azar.h"
#include "demo/Insercion.h"
#include "support/BasesPrueba.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Azar, CadaFlujoSeRepiteYNoSeParecenEntreSi) {
  demo::Azar a(42, 7), b(42, 7), otroFlujo(42, 8), otraSemilla(43, 7);
  int iguales = 0;
  for (int i = 0; i < 100; ++i) {
    const quint64 x = a.siguiente();
    EXPECT_EQ(x, b.siguiente());
    if (x == otroFlujo.siguiente()) ++iguales;
    if (x == otraSemilla.siguiente()) ++iguales;
  }
  EXPECT_EQ(iguales, 0);
}

TEST(Azar, LosRangosIncluyenSusDosExtremos) {
  demo::Azar azar(1, 1);
  std::set<int> vistos;
  for (int i = 0; i < 2000; ++i) {
    const int x = azar.entre(-2, 2);
    ASSERT_GE(x, -2);
    ASSERT_LE(x, 2);
    vistos.insert(x);
    const double r = azar.real();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
  EXPECT_EQ(vistos.size(), 5u);
  EXPECT_EQ(azar.entre(9, 9), 9);
  EXPECT_EQ(azar.entre(9, 3), 9) << "un rango vacío da su mínimo, no basura";
}

TEST(Ruleta, ElPesoDecideLaFrecuenciaYElPesoCeroNoSale) {
  demo::Ruleta r;
  r.anadir(10, 1);
  r.anadir(20, 0);
  r.anadir(30, 3);
  demo::Azar azar(5, 5);
  int diez = 0, treinta = 0;
  for (int i = 0; i < 4000; ++i) {
    const int x = r.elegir(azar);
    ASSERT_NE(x, 20);
    (x == 10 ? diez : treinta)++;
  }
  EXPECT_NEAR(static_cast<double>(treinta) / diez, 3.0, 0.5);
}

TEST(Insercion, UnaFilaConValoresDeMasODeMenosNoSeGuarda) {
  prueba::Bases bases(prueba::Motor::SQLite);
  auto c = datos::Conexion::abrir(bases.fuenteVentas());
  demo::Insercion promos(*c, QStringLiteral("promociones"), {"numero", "descripcion"});
  promos.fila(1, QStringLiteral("2x1"));
  promos.fila(2, demo::kNulo);
  EXPECT_THROW(promos.fila(3), datos::ErrorDatos);
  EXPECT_THROW(promos.fila(4, QStringLiteral("x"), 5), datos::ErrorDatos);
  // Tras un error la inserción sigue sirviendo para la fila siguiente.
  promos.fila(6, QStringLiteral("Hora feliz"));
  datos::Consulta q = c->preparar(QStringLiteral("SELECT numero, descripcion FROM promociones ORDER BY numero"));
  q.ejecutar();
  QStringList filas;
  while (q.siguiente())
    filas << QStringLiteral("%1:%2")
                 .arg(q.entero(QStringLiteral("numero")))
                 .arg(q.esNulo(QStringLiteral("descripcion")) ? QStringLiteral("nulo")
                                                              : q.texto(QStringLiteral("descripcion")));
  EXPECT_EQ(filas, (QStringList{QStringLiteral("1:2x1"), QStringLiteral("2:nulo"), QStringLiteral("6:Hora feliz")}));
}

}  // namespace
