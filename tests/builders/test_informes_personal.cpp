// Pedidos a proveedor, comandas de cocina contra ventas y los listados del
// personal sobre la tienda de tests/fixtures/personal.sql (del 1 al 5 de
// marzo de 2026), en cada motor: lo que cada informe deja en Informes en los
// casos que sus reglas deciden.

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
  EXPECT_EQ(Columna(f, "texto21").mid(0, 7), QStringList({"Ana", "Marta", "Ana", "", "", "Ana", "Ana"}));
  // La venta que no está en ninguna tabla (504, y la factura 70001) vale 0 y
  // no tiene hora.
  EXPECT_EQ(Columna(f, "doble1").mid(0, 7), QStringList({"42.5", "15", "4", "0", "0", "53", "18.9"}));
  EXPECT_EQ(Columna(f, "fecha4").mid(3, 2), QStringList({"-", "-"}));
  EXPECT_EQ(Columna(f, "texto5").mid(0, 2), QStringList({"02/03/2026", "03/03/2026"}));

  // Abiertas: la 502; eliminadas: la 2010, que no entra en las cobradas;
  // cobradas: las dos comandas cobradas y las diez ventas sin comanda.
  for (const QVariantMap& fila : f) {
    EXPECT_DOUBLE_EQ(fila.value("numerico18").toDouble(), 15);
    EXPECT_DOUBLE_EQ(fila.value("numerico19").toDouble(), 4);
    EXPECT_NEAR(fila.value("numerico20").toDouble(), 42.5 + 53 + 18.9 + 5 + 7.2 + 10 + 99 + 0 + 3.6 + 7.5 + 12 - 1,
                1e-9);
  }
}

TEST_P(InformesPersonal, PedidosAProveedorNombranElProveedorEliminadoYDejanVacioLoQueNoEstaEnLaFicha) {
  const Filas f = Crear(informes::CrearPedidosProveedor);
  // El pedido 4 es del día 6. Los códigos se encuentran sin mayúsculas
  // ("p1", "lim"); el proveedor de baja y el que no existe salen eliminados.
  EXPECT_EQ(Columna(f, "texto21"),
            QStringList({"Frutas Segura", "Frutas Segura", "Proveedor eliminado", "Proveedor eliminado"}));
  EXPECT_EQ(Columna(f, "texto2"), QStringList({"Pizza", "Limones", "Caña", "-"}));
  EXPECT_EQ(Columna(f, "texto3"), QStringList({"Pizza margarita", "-", "Caña de cerveza", "-"}));
  // La familia 99 no existe: vacía, no la del producto anterior.
  EXPECT_EQ(Columna(f, "texto8"), QStringList({"Cocina", "-", "Bebidas", "-"}));
  EXPECT_EQ(Columna(f, "numerico2"), QStringList({"10", "4", "10", "-"}));
  EXPECT_EQ(Columna(f, "numerico1"), QStringList({"3", "0.2", "0.4", "4.5"}));
  EXPECT_EQ(Columna(f, "numerico4"), QStringList({"10", "50", "120", "6"}));
  EXPECT_EQ(Columna(f, "fecha1"), QStringList(4, "2026-03-01"));
  EXPECT_EQ(Columna(f, "fecha2"), QStringList(4, "2026-03-05"));
  EXPECT_EQ(Columna(f, "texto6"), QStringList(4, QString::fromUtf8("Taberna La Ñora")));
}

TEST_P(InformesPersonal, PromocionesConSuNombreYLasDeFabricaSiempreIgual) {
  const Filas f = Crear(informes::CrearVentasPromociones);
  // La promoción 0 (1004) no cuenta; la factura borrada 1007 sí; la 3 se
  // llama como la de fábrica aunque la tabla diga otra cosa, y la 4 sin
  // estar en la tabla.
  EXPECT_EQ(Columna(f, "texto22"), QStringList({"1001", "1001", "1007", "1011"}));
  EXPECT_EQ(Columna(f, "texto21"), QStringList({"2x1 en cañas", "Descuento x Porcentaje",
                                                QString::fromUtf8("Café con el menú"), "Unidades x Importe"}));
  EXPECT_EQ(Columna(f, "texto11"),
            QStringList({"Total - 2x1 en cañas", "Total - Descuento x Porcentaje",
                         QString::fromUtf8("Total - Café con el menú"), "Total - Unidades x Importe"}));
  EXPECT_EQ(Columna(f, "numerico3"), QStringList({"1", "2", "1", "2"}));
  EXPECT_EQ(Columna(f, "texto23"), QStringList({"13:05", "13:05", "12:00", "20:10"}));
  EXPECT_EQ(Columna(f, "texto10"), QStringList({"Ana", "Ana", "Ana", "Pedro"}));
}

TEST_P(InformesPersonal, GastosRetiradasYPropinasConSuImporteYSinLosDeEmpleadosQueNoEstan) {
  // El importe con decimales cuando no es 0 ni Null; si no, el otro. El
  // gasto del empleado 0 no sale.
  Filas f = Crear(informes::CrearGastos);
  EXPECT_EQ(Columna(f, "texto15"), QStringList({"Hielo", "Limpieza", "Pan", "Fruta"}));
  EXPECT_EQ(Columna(f, "numerico9"), QStringList({"0.5", "10.5", "20", "10"}));
  EXPECT_EQ(Columna(f, "texto21"),
            QStringList({QString::fromUtf8("Ana García López"), "Marta Ruiz", QString::fromUtf8("Pedro Sánchez Gil"),
                         QString::fromUtf8("Ana García López")}));
  EXPECT_EQ(Columna(f, "texto23"), QStringList({"1", "5", "4", "1"}));

  // La retirada del empleado 99, que ya no está en la ficha, no sale.
  f = Crear(informes::CrearRetiradas);
  EXPECT_EQ(Columna(f, "numerico9"), QStringList({"100", "50"}));
  EXPECT_EQ(Columna(f, "texto5"), QStringList({"03/03/2026", "05/03/2026"}));

  // La propina del bote (venta 0) sale sin hora ni terminal.
  f = Crear(informes::CrearPropinas);
  EXPECT_EQ(Columna(f, "numerico1"), QStringList({"1001", "1001", "1011", "1011", "0", "1009"}));
  EXPECT_EQ(Columna(f, "texto16"), QStringList({"13:05", "13:05", "20:10", "20:10", "-", "15:20"}));
  EXPECT_EQ(Columna(f, "texto17"), QStringList({"BARRA", "BARRA", "BARRA", "BARRA", "-", "-"}));
  EXPECT_EQ(Columna(f, "numerico9"), QStringList({"2", "1.5", "0.5", "0.5", "2", "3"}));
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

TEST_P(InformesPersonal, SinNadaEnElIntervaloCadaListadoAvisaConSuMensaje) {
  tienda.seleccion.FechaDesde = QDate(2025, 1, 1);
  tienda.seleccion.FechaHasta = QDate(2025, 1, 31);
  const std::vector<std::pair<void (*)(informes::Contexto&), QString>> casos = {
      {informes::CrearPedidosProveedor, "ATENCION: No hay datos para ser mostrados."},
      {informes::CrearPedidosCocinaXVentas, "Atencion: No hay datos para ser mostrados"},
      {informes::CrearEmpleadoMes, "ATENCION: No hay datos para ser mostrados."},
      {informes::CrearRetiradas, "ATENCION: No hay datos para ser mostrados."},
      {informes::CrearVentasPromociones, "Atencion: No hay datos para ser mostrados"},
      {informes::CrearGastos, "Atencion: No hay datos para ser mostrados"},
      {informes::CrearPropinas, "Atencion: No hay datos para ser mostrados"},
  };
  for (const auto& [constructor, aviso] : casos) {
    tienda.notificador.avisos.clear();
    EXPECT_TRUE(Crear(constructor).empty()) << aviso.toStdString();
    EXPECT_TRUE(tienda.seleccion.SinDatos);
    ASSERT_EQ(tienda.notificador.avisos.size(), 1u);
    EXPECT_EQ(tienda.notificador.avisos.front().titulo + ": " + tienda.notificador.avisos.front().texto, aviso);
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, InformesPersonal, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
