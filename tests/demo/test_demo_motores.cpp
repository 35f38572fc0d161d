// LlenarMaestros y LlenarVentas en cada motor: la misma tienda en SQLite y en
// PostgreSQL, con las mismas cuentas.

#include "Volcado.h"

#include "demo/Demo.h"
#include "support/BasesPrueba.h"

#include <gtest/gtest.h>

namespace {

using prueba::Contar;

const QDate kHoy(2026, 3, 6);

demo::OpcionesDemo Opciones() {
  demo::OpcionesDemo o;
  o.semilla = 5;
  o.ventasDia = 6;
  o.hoy = kHoy;
  return o;
}

struct Llenado {
  std::unique_ptr<prueba::Bases> bases;
  std::unique_ptr<datos::Conexion> ventas;
  demo::Recuento recuento;
  QStringList avisos;
};

// Diez días: cruza el cambio de mes, así que hay dos escaparates.
Llenado Llenar(prueba::Motor motor) {
  Llenado l;
  l.bases = std::make_unique<prueba::Bases>(motor);
  l.ventas = datos::Conexion::abrir(l.bases->fuenteVentas());
  demo::LlenarMaestros(*l.ventas, Opciones());
  l.recuento = demo::LlenarVentas(*l.ventas, Opciones(), kHoy.addDays(-10), kHoy.addDays(-1),
                                  [&](const QString& m) { l.avisos << m; });
  return l;
}

class DemoEnMotor : public testing::TestWithParam<prueba::Motor> {};

TEST_P(DemoEnMotor, ElMotorNoCambiaLaTienda) {
  // La referencia es SQLite; en SQLite la prueba compara dos llenados.
  const Llenado referencia = Llenar(prueba::Motor::SQLite);
  const Llenado l = Llenar(GetParam());
  // Lo que la tienda debe cumplir se mira en SQLite (test_demo): aquí, que
  // cada motor guarde exactamente lo mismo y lo cuente igual.
  ASSERT_GT(l.recuento.facturas, 0);
  EXPECT_EQ(l.recuento.facturas, Contar(*l.ventas, QStringLiteral("SELECT count(*) FROM cabecera_factura")));
  EXPECT_EQ(l.recuento.lineas, Contar(*l.ventas, QStringLiteral("SELECT count(*) FROM detalle_factura")));
  EXPECT_EQ(l.avisos, referencia.avisos);
  EXPECT_EQ(prueba::HuellaDeVentas(*l.ventas), prueba::HuellaDeVentas(*referencia.ventas));
}

INSTANTIATE_TEST_SUITE_P(Motores, DemoEnMotor, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

TEST(DemoMaestros, LosArticulosGeneradosLlenanHastaElNumeroPedido) {
  prueba::Bases bases(prueba::Motor::SQLite);
  auto c = datos::Conexion::abrir(bases.fuenteVentas());
  demo::OpcionesDemo o = Opciones();
  o.productos = 1500;
  demo::LlenarMaestros(*c, o);
  EXPECT_EQ(Contar(*c, QStringLiteral("SELECT count(*) FROM productos")), 1500);
  EXPECT_EQ(Contar(*c, QStringLiteral("SELECT count(DISTINCT codigo) FROM productos")), 1500);
  EXPECT_EQ(
      Contar(*c, QStringLiteral("SELECT count(DISTINCT codigobarras) FROM productos WHERE length(codigobarras) = 13")),
      Contar(*c, QStringLiteral("SELECT count(*) FROM productos WHERE length(codigobarras) = 13")));
  // Los generados también traen los casos de los listados de stock.
  EXPECT_GT(Contar(*c, QStringLiteral("SELECT count(*) FROM productos WHERE length(codigo) = 5 AND proveedor IS NULL")),
            0);
  EXPECT_GT(Contar(*c, QStringLiteral("SELECT count(*) FROM productos WHERE length(codigo) = 5 AND seccion IS NULL")),
            0);
  EXPECT_GT(
      Contar(*c, QStringLiteral("SELECT count(*) FROM productos WHERE length(codigo) = 5 AND stock <= stockminimo")),
      0);

  // Pedir menos que la carta deja la carta natural.
  prueba::Bases otra(prueba::Motor::SQLite);
  auto d = datos::Conexion::abrir(otra.fuenteVentas());
  o.productos = 10;
  demo::LlenarMaestros(*d, o);
  EXPECT_GT(Contar(*d, QStringLiteral("SELECT count(*) FROM productos")), 150);
  EXPECT_EQ(Contar(*d, QStringLiteral("SELECT count(*) FROM productos WHERE length(codigo) = 5")), 0);
}

}  // namespace
