// Las reglas de las comandas de cocina, las promociones, los gastos y el
// empleado del mes, en cada motor, sobre la tienda de
// tests/fixtures/personal.sql (del 1 al 5 de marzo de 2026). El resto de cada
// fila lo guardan los ficheros dorados; lo que se concilia con la caja, la
// prueba de conciliación.

#include "builders/InformesPersonal.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include <gtest/gtest.h>

namespace {

using prueba::Motor;
using Filas = std::vector<QVariantMap>;

// Los valores de una columna fila a fila; "-" donde la columna es Null.
QStringList Columna(const Filas& filas, const char* columna) {
  QStringList valores;
  for (const QVariantMap& f : filas) valores << f.value(QLatin1String(columna), QStringLiteral("-")).toString();
  return valores;
}

class InformesPersonal : public testing::TestWithParam<Motor> {
 protected:
  InformesPersonal() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("personal")));
    tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
    tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
  }

  Filas Crear(void (*constructor)(informes::Contexto&)) {
    constructor(tienda.contexto);
    return tienda.filas();
  }

  prueba::Tienda tienda;
};

TEST_P(InformesPersonal, ComandasDeCocinaConElEstadoDeSuVentaYLasCobradasSinComanda) {
  const Filas f = Crear(informes::CrearPedidosCocinaXVentas);
  ASSERT_FALSE(tienda.seleccion.SinDatos);
  // Las seis comandas del intervalo por día y venta (la de la 1002 es del 7)
  // y después las cobradas sin comanda: ni la 1001 ni la 1009, que la tienen,
  // ni la 1002, cuya comanda es de otro día. La borrada 1007 también sale.
  EXPECT_EQ(Columna(f, "numerico10"), QStringList({"501", "502", "503", "504", "505", "40001", "-", "-", "-", "-", "-",
                                                   "-", "-", "-", "-", "-"}));
  EXPECT_EQ(Columna(f, "numerico11"), QStringList({"1001", "-", "2010", "-", "70001", "1009", "1003", "1004", "1005",
                                                   "1006", "1007", "1010", "1011", "1012", "1013", "1014"}));
  EXPECT_EQ(Columna(f, "texto9").mid(0, 7),
            QStringList({"Cobrada", "Abierta", "", "Abierta", "Cobrada", "Cobrada", "Cobrado"}));
  EXPECT_EQ(Columna(f, "texto10").mid(0, 7), QStringList({"", "", "Eliminada", "", "", "", "-"}));
  // La venta que no está en ninguna tabla (504, y la factura 70001) vale 0 y
  // no tiene hora.
  EXPECT_EQ(Columna(f, "doble1").mid(0, 7), QStringList({"42.5", "15", "4", "0", "0", "53", "18.9"}));
  EXPECT_EQ(Columna(f, "fecha4").mid(3, 2), QStringList({"-", "-"}));

  // Abiertas: la 502; eliminadas: la 2010, que no entra en las cobradas;
  // cobradas: las dos comandas cobradas y las diez ventas sin comanda.
  for (const QVariantMap& fila : f) {
    EXPECT_DOUBLE_EQ(fila.value("numerico18").toDouble(), 15);
    EXPECT_DOUBLE_EQ(fila.value("numerico19").toDouble(), 4);
    EXPECT_NEAR(fila.value("numerico20").toDouble(), 42.5 + 53 + 18.9 + 5 + 7.2 + 10 + 99 + 0 + 3.6 + 7.5 + 12 - 1,
                1e-9);
  }
}

TEST_P(InformesPersonal, LasPromocionesDeFabricaSeLlamanSiempreIgualYCadaGastoTomaUnaColumna) {
  // La promoción 0 (1004) no cuenta y la factura borrada 1007 sí; la 3 se
  // llama como la de fábrica aunque la tabla diga otra cosa, y la 4 sin estar
  // en la tabla.
  Filas f = Crear(informes::CrearVentasPromociones);
  EXPECT_EQ(Columna(f, "texto22"), QStringList({"1001", "1001", "1007", "1011"}));
  EXPECT_EQ(Columna(f, "texto21"), QStringList({"2x1 en cañas", "Descuento x Porcentaje",
                                                QString::fromUtf8("Café con el menú"), "Unidades x Importe"}));
  EXPECT_EQ(Columna(f, "texto11")[1], "Total - Descuento x Porcentaje");

  // El importe con decimales cuando no es 0 ni Null; si no, el otro.
  f = Crear(informes::CrearGastos);
  EXPECT_EQ(Columna(f, "texto15"), QStringList({"Hielo", "Limpieza", "Pan", "Fruta"}));
  EXPECT_EQ(Columna(f, "numerico9"), QStringList({"12.5", "10.5", "20", "10"}));
}

TEST_P(InformesPersonal, EmpleadoDelMesSumaSusLineasConLosDescuentosDevueltosYSinRecargos) {
  tienda.seleccion.FechaDesde = QDate(2026, 4, 1);
  tienda.seleccion.FechaHasta = QDate(2026, 4, 30);
  auto factura = [&](int numero, int borrar) {
    tienda.insertar("cabecera_factura",
                    {{"numero", numero}, {"fechaventa", "2026-04-10"}, {"total", 0.0}, {"borrar", borrar}});
  };
  auto linea = [&](int factura, const QString& nombre, double precio, double dcto, double rec, int borrar = 0) {
    tienda.insertar("detalle_factura", {{"num_factura", factura},
                                        {"codcamarero", 7},
                                        {"nombrecamarero", nombre},
                                        {"precio", precio},
                                        {"descuento", dcto},
                                        {"recargo", rec},
                                        {"borrar", borrar}});
  };
  factura(5001, 0);
  factura(5002, -1);
  // Precios 100, descuentos 5 y recargos 2, con el nombre escrito de dos
  // maneras: un solo camarero con 100 − 2 + 5. No cuentan la línea borrada
  // ni la factura borrada.
  linea(5001, "Luis", 60, 5, 0);
  linea(5001, "LUIS", 40, 0, 2);
  linea(5001, "Luis", 30, 0, 0, 1);
  linea(5002, "Luis", 500, 0, 0);
  const Filas f = Crear(informes::CrearEmpleadoMes);
  ASSERT_EQ(f.size(), 1u);
  EXPECT_EQ(f[0].value("texto22").toString(), "Luis");
  EXPECT_DOUBLE_EQ(f[0].value("numerico2").toDouble(), 103);
  EXPECT_DOUBLE_EQ(f[0].value("numerico3").toDouble(), 2);
  EXPECT_DOUBLE_EQ(f[0].value("numerico4").toDouble(), 5);
}

INSTANTIATE_TEST_SUITE_P(Motores, InformesPersonal, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
