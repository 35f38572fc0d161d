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

// --- Ventas por zonas, por horas, por producto y por familias ------------------------

namespace {

// Las ventas por zonas y por horas cuentan lo cobrado, como los informes de
// caja. Por producto y por familias cuentan otra cosa: el importe tecleado en
// cada línea de las ventas del periodo (antes del recargo y del descuento de
// la factura), también de las ventas borradas; por producto, sólo de los
// productos que aún existen, porque sin producto no hay coste ni margen.
class ConciliacionZonas : public ConciliacionCaja {
 protected:
  double ImporteDeLineas(bool soloProductosQueExisten) {
    QString sql = QStringLiteral(
        "SELECT SUM(detalle_factura.precio) FROM detalle_factura INNER JOIN cabecera_factura"
        " ON detalle_factura.num_factura = cabecera_factura.numero WHERE cabecera_factura.fechaventa BETWEEN ? AND ?");
    if (soloProductosQueExisten)
      sql += QStringLiteral(" AND LOWER(detalle_factura.codigo) IN (SELECT LOWER(codigo) FROM productos)");
    datos::Consulta q = tienda.ajustes.ConexionVentas->preparar(sql);
    q.enlazar(tienda.seleccion.FechaDesde).enlazar(tienda.seleccion.FechaHasta);
    q.ejecutar();
    return q.siguiente() ? q.valor(0).toDouble() : 0;
  }

  void ConciliarZonas(bool conCatalogo) {
    const Cifras facturas = DeLasFacturas();
    ASSERT_GT(facturas.facturas, 0);
    EsperarIguales(facturas,
                   Leer(QStringLiteral("cmdVentasXZonas"), QStringLiteral("Importe"), QStringLiteral("Impuesto")),
                   "Ventas por zonas");
    EsperarIguales(facturas,
                   Leer(QStringLiteral("cmdVentasXHoras"), QStringLiteral("Importe"), QStringLiteral("Impuesto")),
                   "Ventas por horas");
    const QString lineas = QStringLiteral("Importe de las líneas:");
    const auto leer = [&](const QString& boton) {
      const auto leido = prueba::NumeroTrasRotulo(Hoja(boton), lineas);
      EXPECT_TRUE(leido.has_value()) << boton.toStdString();
      return leido.value_or(-1);
    };
    EXPECT_NEAR(leer(QStringLiteral("cmdVentasXFamilias")), ImporteDeLineas(false), 0.005);
    if (conCatalogo) {
      EXPECT_NEAR(leer(QStringLiteral("cmdVXZonasTotXProducto")), ImporteDeLineas(true), 0.005);
    }
  }
};

TEST_P(ConciliacionZonas, LaTiendaDeCajaCuadraPorZonasHorasProductosYFamilias) {
  CargarTiendaDeCaja();
  ConciliarZonas(false);  // la tienda de caja no tiene productos
}

TEST_P(ConciliacionZonas, UnMesGeneradoCuadraPorZonasHorasProductosYFamilias) {
  demo::OpcionesDemo opciones;
  opciones.semilla = 23;
  opciones.ventasDia = 40;
  opciones.hoy = QDate(2026, 12, 1);
  demo::LlenarMaestros(*tienda.ajustes.ConexionVentas, opciones);
  demo::LlenarVentas(*tienda.ajustes.ConexionVentas, opciones, QDate(2026, 11, 1), QDate(2026, 11, 30));
  Periodo(QDate(2026, 11, 1), QDate(2026, 11, 30));
  ConciliarZonas(true);
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionZonas, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
