// Los informes de caja cuentan el mismo dinero: el gestor compara las ventas
// por forma de pago, las ventas generales por día, el resumen por empleado y
// el cierre de caja de cada camarero, y todos tienen que decir lo mismo que
// las facturas, al céntimo. Las cifras se leen de la hoja de cálculo que sale
// de cada plantilla (no de Informes): lo que se comprueba es lo que ve el
// gestor, de la tienda de los informes de caja y de un mes generado.

#include "demo/Demo.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "registro/SalidaInforme.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using prueba::Motor;

// Las cifras de control de un informe de caja, o las de las facturas.
struct Cifras {
  double facturas = 0, cobrado = 0, impuesto = 0, descuento = 0, recargo = 0;

  Cifras& operator+=(const Cifras& o) {
    facturas += o.facturas;
    cobrado += o.cobrado;
    impuesto += o.impuesto;
    descuento += o.descuento;
    recargo += o.recargo;
    return *this;
  }
};

void EsperarIguales(const Cifras& esperadas, const Cifras& leidas, const std::string& informe) {
  EXPECT_NEAR(leidas.facturas, esperadas.facturas, 0.001) << informe << ": facturas";
  EXPECT_NEAR(leidas.cobrado, esperadas.cobrado, 0.005) << informe << ": importe cobrado";
  EXPECT_NEAR(leidas.impuesto, esperadas.impuesto, 0.005) << informe << ": impuestos";
  EXPECT_NEAR(leidas.descuento, esperadas.descuento, 0.005) << informe << ": descuentos";
  EXPECT_NEAR(leidas.recargo, esperadas.recargo, 0.005) << informe << ": recargos";
}

class ConciliacionCaja : public testing::TestWithParam<Motor> {
 protected:
  ConciliacionCaja() : tienda(GetParam()) {}

  void CargarTiendaDeCaja() {
    const QString guion = prueba::GuionTienda(QStringLiteral("caja"));
    ASSERT_FALSE(guion.isEmpty()) << "falta tests/fixtures/caja.sql";
    tienda.ajustes.ConexionVentas->ejecutarGuion(guion);
    Periodo(QDate(2026, 3, 1), QDate(2026, 3, 5));
  }

  void Periodo(const QDate& desde, const QDate& hasta) {
    tienda.seleccion.FechaDesde = desde;
    tienda.seleccion.FechaHasta = hasta;
  }

  // El informe del botón como lo pinta su plantilla, leído de su hoja.
  std::map<QString, prueba::Celda> Hoja(const QString& nombreBoton) {
    const registro::BotonInforme* boton = registro::BuscarBoton(nombreBoton);
    EXPECT_NE(boton, nullptr);
    if (!boton) return {};
    const registro::Ejecucion e = registro::EjecutarBoton(*boton, tienda.contexto);
    EXPECT_EQ(e.resultado, registro::Resultado::ConDatos) << nombreBoton.toStdString() << ": " << e.error.toStdString();
    const QString xlsx = dir.filePath(nombreBoton + QStringLiteral(".xlsx"));
    QFile::remove(xlsx);
    EXPECT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, boton->plantilla,
                                         {QString(), QStringLiteral("es_ES")}, {QString(), xlsx}, tienda.notificador,
                                         tienda.reloj));
    return prueba::LeerXlsx(xlsx);
  }

  // Las cifras de control del pie y los totales del periodo bajo su columna;
  // el total de la columna de lo cobrado y el de la del impuesto tienen que
  // ser los mismos que dicen las cifras de control.
  Cifras Leer(const QString& nombreBoton, const QString& columnaCobrado, const QString& columnaImpuesto) {
    const auto celdas = Hoja(nombreBoton);
    const std::string informe = nombreBoton.toStdString();
    auto numero = [&](std::optional<double> v, const char* que) {
      EXPECT_TRUE(v.has_value()) << informe << ": falta " << que;
      return v.value_or(0);
    };
    Cifras c;
    c.facturas = numero(prueba::NumeroTrasRotulo(celdas, QStringLiteral("Facturas:")), "Facturas:");
    c.cobrado = numero(prueba::NumeroTrasRotulo(celdas, QStringLiteral("Importe cobrado:")), "Importe cobrado:");
    c.impuesto = numero(prueba::NumeroTrasRotulo(celdas, QStringLiteral("Impuestos:")), "Impuestos:");
    const QString total = QStringLiteral("Total del periodo");
    c.descuento = numero(prueba::NumeroEnCruce(celdas, total, QStringLiteral("Dto.")), "el total de descuentos");
    c.recargo = numero(prueba::NumeroEnCruce(celdas, total, QStringLiteral("Recargo")), "el total de recargos");
    EXPECT_NEAR(numero(prueba::NumeroEnCruce(celdas, total, columnaCobrado), "el total cobrado"), c.cobrado, 0.005)
        << informe;
    EXPECT_NEAR(numero(prueba::NumeroEnCruce(celdas, total, columnaImpuesto), "el total de impuestos"), c.impuesto,
                0.005)
        << informe;
    return c;
  }

  // Lo que dicen las facturas no borradas del periodo. Se lee después de los
  // informes: un impuesto sin poner ya está reparado a 0.
  Cifras DeLasFacturas(bool soloConComprobanteFiscal = false) {
    QString sql = QStringLiteral(
        "SELECT COUNT(*), SUM(total), SUM(impuesto), SUM(descuento), SUM(recargo) FROM cabecera_factura"
        " WHERE fechaventa BETWEEN ? AND ? AND borrar = 0");
    if (soloConComprobanteFiscal) sql += QStringLiteral(" AND numero IN (SELECT nrofactura FROM facturatiporepdom)");
    datos::Consulta q = tienda.ajustes.ConexionVentas->preparar(sql);
    q.enlazar(tienda.seleccion.FechaDesde).enlazar(tienda.seleccion.FechaHasta);
    q.ejecutar();
    Cifras c;
    if (q.siguiente()) {
      c.facturas = q.valor(0).toDouble();
      c.cobrado = q.valor(1).toDouble();
      c.impuesto = q.valor(2).toDouble();
      c.descuento = q.valor(3).toDouble();
      c.recargo = q.valor(4).toDouble();
    }
    return c;
  }

  std::vector<qint64> CamarerosConFacturas() {
    datos::Consulta q = tienda.ajustes.ConexionVentas->preparar(QStringLiteral(
        "SELECT DISTINCT codigo_camarero FROM cabecera_factura WHERE fechaventa BETWEEN ? AND ? AND borrar = 0"
        " ORDER BY codigo_camarero"));
    q.enlazar(tienda.seleccion.FechaDesde).enlazar(tienda.seleccion.FechaHasta);
    q.ejecutar();
    std::vector<qint64> codigos;
    while (q.siguiente()) {
      // Una factura sin camarero no sale en ningún cierre: no la hay.
      EXPECT_FALSE(q.valor(0).isNull());
      codigos.push_back(q.valor(0).toLongLong());
    }
    return codigos;
  }

  // Los cuatro informes de caja contra las facturas.
  void Conciliar() {
    const Cifras pagos = Leer(QStringLiteral("cmdVentasXFPago"), QStringLiteral("Importe"), QStringLiteral("Impuesto"));
    const Cifras diario =
        Leer(QStringLiteral("cmdCierreResumido"), QStringLiteral("Total"), QStringLiteral("Impuesto"));
    const Cifras empleados =
        Leer(QStringLiteral("cmdResumenVentasXEmpleado"), QStringLiteral("Pagado"), QStringLiteral("Impuesto"));
    Cifras cierres;
    for (const qint64 camarero : CamarerosConFacturas()) {
      tienda.seleccion.EmpleadoElegido = static_cast<qint16>(camarero);
      cierres += Leer(QStringLiteral("cmdCierreCaja"), QStringLiteral("Total"), QStringLiteral("Impuesto"));
    }
    const Cifras facturas = DeLasFacturas();
    ASSERT_GT(facturas.facturas, 0);
    EsperarIguales(facturas, pagos, "Ventas por formas de pago");
    EsperarIguales(facturas, diario, "Ventas Generales por Dia");
    EsperarIguales(facturas, empleados, "Resumen de Venta por Empleados");
    EsperarIguales(facturas, cierres, "cierres de caja de todos los camareros");

    // El resumen fiscal mide otra cosa a propósito: sólo las facturas con
    // comprobante fiscal.
    const Cifras fiscal = Leer(QStringLiteral("cmdRepDominicana"), QStringLiteral("Total"), QStringLiteral("Impuesto"));
    EsperarIguales(DeLasFacturas(true), fiscal, "Ventas NCF Rep. Dominicana");
  }

  prueba::Tienda tienda;
  QTemporaryDir dir;
};

TEST_P(ConciliacionCaja, LaTiendaDeCajaCuadraEnTodosLosInformes) {
  CargarTiendaDeCaja();
  Conciliar();
}

TEST_P(ConciliacionCaja, UnMesGeneradoCuadraEnTodosLosInformes) {
  demo::OpcionesDemo opciones;
  opciones.semilla = 11;
  opciones.ventasDia = 40;
  opciones.hoy = QDate(2026, 12, 1);
  demo::LlenarMaestros(*tienda.ajustes.ConexionVentas, opciones);
  demo::LlenarVentas(*tienda.ajustes.ConexionVentas, opciones, QDate(2026, 11, 1), QDate(2026, 11, 30));
  Periodo(QDate(2026, 11, 1), QDate(2026, 11, 30));
  Conciliar();
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionCaja, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace

// --- Gráficos del mes ------------------------------------------------------------
// Los gráficos de un mes generado contra lo que pintan los informes de caja
// del mismo mes. Donde el gráfico mide otra cosa, la diferencia es su regla y
// se nombra. Aún no hay informes de gastos ni de retiradas: los gastos se
// concilian con los del pie de las ventas por formas de pago, y las
// retiradas no tienen con qué.

#include "charts/SeriesGraficos.h"

#include <numeric>

namespace {

double Suma(const graficos::Serie& s) {
  return std::accumulate(s.valores.begin(), s.valores.end(), 0.0);
}

class ConciliacionGraficos : public testing::TestWithParam<prueba::Motor> {
 protected:
  ConciliacionGraficos() : tienda(GetParam()) {}

  double Numero(const QString& sql) {
    datos::Consulta q = tienda.ajustes.ConexionVentas->preparar(sql);
    q.enlazar(tienda.seleccion.FechaDesde).enlazar(tienda.seleccion.FechaHasta);
    q.ejecutar();
    return q.siguiente() ? q.valor(0).toDouble() : 0.0;
  }

  prueba::Tienda tienda;
  QTemporaryDir dir;
};

TEST_P(ConciliacionGraficos, LasBarrasDelMesSumanLoQueDicenLosInformesDeCaja) {
  demo::OpcionesDemo opciones;
  opciones.semilla = 11;
  opciones.ventasDia = 40;
  opciones.hoy = QDate(2026, 12, 1);
  demo::LlenarMaestros(*tienda.ajustes.ConexionVentas, opciones);
  demo::LlenarVentas(*tienda.ajustes.ConexionVentas, opciones, QDate(2026, 10, 25), QDate(2026, 12, 1));
  tienda.seleccion.FechaDesde = QDate(2026, 11, 1);
  tienda.seleccion.FechaHasta = QDate(2026, 11, 30);

  const registro::BotonInforme* boton = registro::BuscarBoton(QStringLiteral("cmdVentasXFPago"));
  ASSERT_NE(boton, nullptr);
  ASSERT_EQ(registro::EjecutarBoton(*boton, tienda.contexto).resultado, registro::Resultado::ConDatos);
  const QString xlsx = dir.filePath(QStringLiteral("pagos.xlsx"));
  ASSERT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, boton->plantilla,
                                       {QString(), QStringLiteral("es_ES")}, {QString(), xlsx}, tienda.notificador,
                                       tienda.reloj));
  const auto celdas = prueba::LeerXlsx(xlsx);
  const auto cobrado = prueba::NumeroTrasRotulo(celdas, QStringLiteral("Importe cobrado:"));
  const auto gastos = prueba::NumeroTrasRotulo(celdas, QStringLiteral("Gastos del periodo:"));
  const auto descuentos = prueba::NumeroEnCruce(celdas, QStringLiteral("Total del periodo"), QStringLiteral("Dto."));
  ASSERT_TRUE(cobrado && gastos && descuentos);
  ASSERT_GT(*cobrado, 0);

  auto serie = [&](qint16 codigo) { return graficos::LeerSerie(*tienda.ajustes.ConexionVentas, codigo, 11, 2026); };
  // Regla de la caja por días y de las horas: las ventas a 0 o en negativo
  // (devoluciones) no cuentan en el gráfico y sí en lo cobrado.
  const double noPositivas = Numero(QStringLiteral(
      "SELECT SUM(total) FROM cabecera_factura WHERE fechaventa BETWEEN ? AND ? AND borrar = 0 AND total <= 0"));
  EXPECT_NEAR(Suma(serie(graficos::kCajaPorDias)), *cobrado - noPositivas, 0.005);
  EXPECT_NEAR(Suma(serie(graficos::kVentasPorHoras)), *cobrado - noPositivas, 0.005);
  // Regla de las zonas: cuentan todas las ventas no borradas, pero sólo hay
  // fila para las zonas de salones; las de la barra y las de reparto sin
  // salón no salen en el gráfico.
  const double sinSalon =
      Numero(QStringLiteral("SELECT SUM(total) FROM cabecera_factura c WHERE fechaventa BETWEEN ? AND ? AND borrar = 0"
                            " AND NOT EXISTS (SELECT 1 FROM salones s WHERE s.codigo = c.zona_venta)"));
  EXPECT_NEAR(Suma(serie(graficos::kVentasPorZonas)), *cobrado - sinSalon, 0.005);
  EXPECT_NEAR(Suma(serie(graficos::kDescuentos)), *descuentos, 0.005);
  // Regla de los gastos: el gráfico suma sólo importe_decimal; el pie de
  // caja suma también la columna importe.
  const double enteros = Numero(QStringLiteral("SELECT SUM(importe) FROM gastos WHERE fecha BETWEEN ? AND ?"));
  EXPECT_GT(Suma(serie(graficos::kGastos)), 0);
  EXPECT_NEAR(Suma(serie(graficos::kGastos)), *gastos - enteros, 0.005);
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionGraficos, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
