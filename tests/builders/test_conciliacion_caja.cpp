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

#include <functional>

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

  // Noviembre de 2026 generado con la demo, a 40 ventas al día.
  void CargarMesGenerado(quint64 semilla) {
    demo::OpcionesDemo opciones;
    opciones.semilla = semilla;
    opciones.ventasDia = 40;
    opciones.hoy = QDate(2026, 12, 1);
    demo::LlenarMaestros(*tienda.ajustes.ConexionVentas, opciones);
    demo::LlenarVentas(*tienda.ajustes.ConexionVentas, opciones, QDate(2026, 11, 1), QDate(2026, 11, 30));
    Periodo(QDate(2026, 11, 1), QDate(2026, 11, 30));
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
  CargarMesGenerado(11);
  Conciliar();
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionCaja, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace

// --- Los informes en formato ticket ---------------------------------------------
// El ticket detallado (su texto, como lo enseña el visor) y el resumido dicen
// lo mismo que las facturas: número, lo cobrado, descuentos y recargos. El de
// empleados mide otra cosa: el precio de las líneas que sirvió cada uno, sin
// el descuento a la factura entera ni las facturas sin líneas.

#include "builders/InformesCaja.h"
#include "builders/InformesTicket.h"

namespace {

class ConciliacionTicket : public ConciliacionCaja {
 protected:
  // El importe de la línea del texto que empieza por `rotulo`.
  static std::optional<double> ImporteDe(const QString& texto, const QString& rotulo) {
    for (const QString& l : texto.split(QStringLiteral("\r\n"))) {
      if (!l.startsWith(rotulo)) continue;
      QString n = l.mid(rotulo.size()).trimmed();
      n.remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.'));
      bool ok = false;
      const double v = n.toDouble(&ok);
      if (ok) return v;
    }
    return std::nullopt;
  }

  double PrecioDeLasLineas() {
    datos::Consulta q = tienda.ajustes.ConexionVentas->preparar(
        QStringLiteral("SELECT SUM(precio) FROM detalle_factura WHERE borrar = 0 AND num_factura IN"
                       " (SELECT numero FROM cabecera_factura WHERE fechaventa BETWEEN ? AND ? AND borrar = 0)"));
    q.enlazar(tienda.seleccion.FechaDesde).enlazar(tienda.seleccion.FechaHasta);
    q.ejecutar();
    return q.siguiente() ? q.valor(0).toDouble() : 0;
  }

  void ConciliarTickets() {
    const Cifras facturas = DeLasFacturas();
    ASSERT_GT(facturas.facturas, 0);

    const auto resumido = Hoja(QStringLiteral("cmd_ticket_Resumido"));
    EXPECT_NEAR(prueba::NumeroTrasRotulo(resumido, QStringLiteral("Facturas:")).value_or(-1), facturas.facturas, 0.001);
    EXPECT_NEAR(prueba::NumeroTrasRotulo(resumido, QStringLiteral("Importe cobrado:")).value_or(-1), facturas.cobrado,
                0.005);
    EXPECT_NEAR(prueba::NumeroTrasRotulo(resumido, QStringLiteral("Total Descuento:")).value_or(-1), facturas.descuento,
                0.005);
    EXPECT_NEAR(prueba::NumeroTrasRotulo(resumido, QStringLiteral("Total Recargo:")).value_or(-1), facturas.recargo,
                0.005);

    const registro::BotonInforme* detallado = registro::BuscarBoton(QStringLiteral("cmd_Ticket"));
    ASSERT_NE(detallado, nullptr);
    ASSERT_EQ(registro::EjecutarBoton(*detallado, tienda.contexto).resultado, registro::Resultado::ConDatos);
    const QString texto = informes::ComponerListadoTicket(*tienda.ajustes.ConexionInformes, 42, 2,
                                                          QLocale(QLocale::Spanish, QLocale::Spain))
                              .texto;
    EXPECT_NEAR(ImporteDe(texto, QStringLiteral("Total General")).value_or(-1), facturas.cobrado, 0.005);
    EXPECT_NEAR(ImporteDe(texto, QStringLiteral("Total Descuento:")).value_or(-1), facturas.descuento, 0.005);
    EXPECT_NEAR(ImporteDe(texto, QStringLiteral("Total Recargo:")).value_or(-1), facturas.recargo, 0.005);

    // Lo vendido por empleados es el precio de sus líneas, no lo cobrado.
    const auto empleados = Hoja(QStringLiteral("cmd_ticket_Empleado"));
    EXPECT_NEAR(prueba::NumeroTrasRotulo(empleados, QStringLiteral("Total vendido:")).value_or(-1), PrecioDeLasLineas(),
                0.005);
  }
};

TEST_P(ConciliacionTicket, LaTiendaDeCajaCuadraEnLosTickets) {
  CargarTiendaDeCaja();
  ConciliarTickets();
}

TEST_P(ConciliacionTicket, UnMesGeneradoCuadraEnLosTickets) {
  CargarMesGenerado(11);
  ConciliarTickets();
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionTicket, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

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
  CargarMesGenerado(23);
  ConciliarZonas(true);
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionZonas, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace

// --- Informes contables --------------------------------------------------------------

namespace {

using LeerHoja = std::function<std::map<QString, prueba::Celda>(const QString&)>;
using SumarSql = std::function<double(const QString&)>;

// Los impuestos repercutidos miden lo mismo que los informes de caja: lo de
// todos los tipos suma lo cobrado y el impuesto de las facturas no borradas.
// El resumen contable mide otra cosa, por su regla: todas las líneas de todas
// las ventas del periodo, también las borradas, y como ventas todas las
// facturas del periodo, con líneas o sin ellas; el coste, el de la ficha de
// cada producto.
void ConciliarContables(const LeerHoja& hoja, const SumarSql& sumar, double cobrado, double impuesto) {
  const QString total = QStringLiteral("Total del periodo");
  const auto impuestos = hoja(QStringLiteral("cmdImpuestosRep"));
  EXPECT_NEAR(prueba::NumeroEnCruce(impuestos, total, QStringLiteral("Impuesto")).value_or(-1), impuesto, 0.005)
      << "impuestos repercutidos: impuesto";
  EXPECT_NEAR(prueba::NumeroEnCruce(impuestos, total, QStringLiteral("Total")).value_or(-1), cobrado, 0.005)
      << "impuestos repercutidos: cobrado";
  EXPECT_NEAR(prueba::NumeroEnCruce(impuestos, total, QStringLiteral("Base imponible")).value_or(-1),
              cobrado - impuesto, 0.005)
      << "impuestos repercutidos: base";

  const auto contable = hoja(QStringLiteral("cmdResumenContable"));
  const QString cruce = QStringLiteral(
      " FROM cabecera_factura INNER JOIN detalle_factura ON detalle_factura.num_factura = cabecera_factura.numero");
  const QString periodo = QStringLiteral(" WHERE cabecera_factura.fechaventa BETWEEN ? AND ?");
  EXPECT_NEAR(prueba::NumeroEnCruce(contable, total, QStringLiteral("Importe")).value_or(-1),
              sumar(QStringLiteral("SELECT SUM(detalle_factura.precio)") + cruce + periodo), 0.005)
      << "resumen contable: importe de las líneas";
  EXPECT_NEAR(prueba::NumeroEnCruce(contable, total, QStringLiteral("Impuesto")).value_or(-1),
              sumar(QStringLiteral("SELECT SUM(detalle_factura.impuesto)") + cruce + periodo), 0.005)
      << "resumen contable: impuesto de las líneas";
  EXPECT_NEAR(prueba::NumeroTrasRotulo(contable, QStringLiteral("Ventas del periodo:")).value_or(-1),
              sumar(QStringLiteral("SELECT COUNT(*) FROM cabecera_factura WHERE fechaventa BETWEEN ? AND ?")), 0.001)
      << "resumen contable: ventas";
  EXPECT_NEAR(prueba::NumeroTrasRotulo(contable, QStringLiteral("Coste de lo vendido:")).value_or(-1),
              sumar(QStringLiteral("SELECT SUM(detalle_factura.unidades * productos.coste)") + cruce +
                    QStringLiteral(" INNER JOIN productos ON productos.codigo = detalle_factura.codigo") + periodo),
              0.005)
      << "resumen contable: coste de lo vendido";
}

}  // namespace

// Cada vez la hoja del informe y una suma de la base en el periodo.
class ConciliacionContable : public ConciliacionCaja {
 protected:
  void Conciliar() {
    const Cifras f = DeLasFacturas();
    ASSERT_GT(f.facturas, 0);
    ConciliarContables([this](const QString& boton) { return Hoja(boton); },
                       [this](const QString& sql) {
                         datos::Consulta q = tienda.ajustes.ConexionVentas->preparar(sql);
                         q.enlazar(tienda.seleccion.FechaDesde).enlazar(tienda.seleccion.FechaHasta);
                         q.ejecutar();
                         return q.siguiente() ? q.valor(0).toDouble() : 0.0;
                       },
                       f.cobrado, f.impuesto);
  }
};

TEST_P(ConciliacionContable, LaTiendaDeCajaCuadraEnImpuestosYResumenContable) {
  CargarTiendaDeCaja();
  Conciliar();
}

// Con descuentos a la factura entera, líneas sin tipo y líneas borradas.
TEST_P(ConciliacionContable, UnMesGeneradoCuadraEnImpuestosYResumenContable) {
  CargarMesGenerado(12);
  Conciliar();
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionContable, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

// --- Gastos, retiradas y propinas: sus listados contra los informes de caja ----------
//
// Los listados de gastos, retiradas y propinas cuentan el mismo dinero que el
// pie de las ventas generales por día, pero cada uno con su regla, y la
// diferencia tiene que ser exactamente lo que la regla deja fuera:
// - retiradas: el listado no enseña las de empleados que ya no están en la
//   ficha;
// - gastos: el listado no enseña los de empleados que no están en la ficha
//   (los dos cuentan de cada gasto el importe exacto, o el entero si no lo hay);
// - propinas: el listado va por el día de la propina, con o sin venta; la
//   caja, por las facturas no borradas del periodo.
namespace {

class ConciliacionPersonal : public ConciliacionCaja {
 protected:
  double Suma(const QString& sql) {
    datos::Consulta q = tienda.ajustes.ConexionVentas->preparar(sql);
    for (int i = 0; i < sql.count(QLatin1Char('?')) / 2; ++i)
      q.enlazar(tienda.seleccion.FechaDesde).enlazar(tienda.seleccion.FechaHasta);
    q.ejecutar();
    return q.siguiente() ? q.valor(0).toDouble() : 0;
  }

  double TotalListado(const QString& boton) {
    const auto v = prueba::NumeroEnCruce(Hoja(boton), QStringLiteral("Total del periodo"), QStringLiteral("Importe"));
    EXPECT_TRUE(v.has_value()) << boton.toStdString();
    return v.value_or(0);
  }

  void ConciliarListados() {
    const auto caja = Hoja(QStringLiteral("cmdCierreResumido"));
    const double gastosCaja = prueba::NumeroTrasRotulo(caja, QStringLiteral("Gastos:")).value_or(-1);
    const double retiradasCaja = prueba::NumeroTrasRotulo(caja, QStringLiteral("Retiradas:")).value_or(-1);
    const double propinasCaja =
        prueba::NumeroEnCruce(caja, QStringLiteral("Total del periodo"), QStringLiteral("Propina")).value_or(-1);
    const QString sinFicha = QStringLiteral(" NOT IN (SELECT codigo FROM empleados)");

    const double retiradasFuera =
        Suma(QStringLiteral("SELECT SUM(importe) FROM retiradas WHERE fecha BETWEEN ? AND ? AND empleado") + sinFicha);
    EXPECT_NEAR(TotalListado(QStringLiteral("cmdRetiradas")), retiradasCaja - retiradasFuera, 0.005);

    const double gastosFuera =
        Suma(QStringLiteral("SELECT SUM(") + informes::kImporteGastoSql +
             QStringLiteral(") FROM gastos WHERE fecha BETWEEN ? AND ? AND codigoempleado") + sinFicha);
    EXPECT_NEAR(TotalListado(QStringLiteral("cmdGastos")), gastosCaja - gastosFuera, 0.005);

    const QString facturasDelPeriodo =
        QStringLiteral(" (SELECT numero FROM cabecera_factura WHERE fechaventa BETWEEN ? AND ? AND borrar = 0)");
    const double sinFactura =
        Suma(QStringLiteral("SELECT SUM(importe) FROM propinas WHERE fecha BETWEEN ? AND ? AND numventa NOT IN") +
             facturasDelPeriodo);
    const double deOtroDia =
        Suma(QStringLiteral("SELECT SUM(importe) FROM propinas WHERE NOT (fecha BETWEEN ? AND ?) AND numventa IN") +
             facturasDelPeriodo);
    EXPECT_NEAR(TotalListado(QStringLiteral("cmdPropinas")), propinasCaja + sinFactura - deOtroDia, 0.005);
  }
};

TEST_P(ConciliacionPersonal, LaTiendaDelPersonalCuadraConLaCajaSegunLaReglaDeCadaListado) {
  tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("personal")));
  Periodo(QDate(2026, 3, 1), QDate(2026, 3, 5));
  ConciliarListados();
}

TEST_P(ConciliacionPersonal, UnMesGeneradoCuadraConLaCajaSegunLaReglaDeCadaListado) {
  CargarMesGenerado(11);
  ConciliarListados();
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionPersonal, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace

// --- Gráficos del mes ------------------------------------------------------------
// Los gráficos de un mes generado contra lo que pintan los informes de caja
// del mismo mes. Donde el gráfico mide otra cosa, la diferencia es su regla y
// se nombra. Los gastos y las retiradas, con los del pie de los informes de
// caja (sus listados ya cuadran con ese pie, más arriba).

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

  const auto hoja = [&](const QString& nombre) {
    const registro::BotonInforme* boton = registro::BuscarBoton(nombre);
    EXPECT_NE(boton, nullptr);
    EXPECT_EQ(registro::EjecutarBoton(*boton, tienda.contexto).resultado, registro::Resultado::ConDatos);
    const QString xlsx = dir.filePath(nombre + QStringLiteral(".xlsx"));
    EXPECT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, boton->plantilla,
                                         {QString(), QStringLiteral("es_ES")}, {QString(), xlsx}, tienda.notificador,
                                         tienda.reloj));
    return prueba::LeerXlsx(xlsx);
  };
  const auto celdas = hoja(QStringLiteral("cmdVentasXFPago"));
  const auto retiradas =
      prueba::NumeroTrasRotulo(hoja(QStringLiteral("cmdCierreResumido")), QStringLiteral("Retiradas:"));
  const auto cobrado = prueba::NumeroTrasRotulo(celdas, QStringLiteral("Importe cobrado:"));
  const auto gastos = prueba::NumeroTrasRotulo(celdas, QStringLiteral("Gastos del periodo:"));
  const auto descuentos = prueba::NumeroEnCruce(celdas, QStringLiteral("Total del periodo"), QStringLiteral("Dto."));
  ASSERT_TRUE(cobrado && gastos && descuentos && retiradas);
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
  EXPECT_GT(Suma(serie(graficos::kGastos)), 0);
  EXPECT_NEAR(Suma(serie(graficos::kGastos)), *gastos, 0.005);
  EXPECT_GT(Suma(serie(graficos::kRetiradas)), 0);
  EXPECT_NEAR(Suma(serie(graficos::kRetiradas)), *retiradas, 0.005);
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionGraficos, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace

// --- Valoración del stock: general y por proveedores ---------------------------------
// El valor del almacén de «TODOS LOS PROVEEDORES» con «TODOS LOS PRODUCTOS»
// contra el total de la valoración general, leídos de la hoja de cada
// plantilla. No miden lo mismo, y la diferencia tiene que ser exactamente lo
// que deja fuera cada regla:
// - la general valora sólo el stock positivo, y la de proveedores también el
//   negativo (que resta);
// - la general cuenta los productos borrados, la de proveedores no;
// - la de proveedores deja fuera los de tipo 3 (y los que no tienen tipo);
// - la de proveedores une familia y proveedor: sin familia o sin proveedor
//   existentes, el producto no sale.

namespace {

class ConciliacionStock : public testing::TestWithParam<prueba::Motor> {
 protected:
  ConciliacionStock() : tienda(GetParam()) {}

  double Total(const QString& nombre) {
    const registro::BotonInforme* boton = registro::BuscarBoton(nombre);
    EXPECT_NE(boton, nullptr);
    EXPECT_EQ(registro::EjecutarBoton(*boton, tienda.contexto).resultado, registro::Resultado::ConDatos);
    const QString xlsx = dir.filePath(nombre + QStringLiteral(".xlsx"));
    EXPECT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, boton->plantilla,
                                         {QString(), QStringLiteral("es_ES")}, {QString(), xlsx}, tienda.notificador,
                                         tienda.reloj));
    const auto total = prueba::NumeroTrasRotulo(prueba::LeerXlsx(xlsx), QStringLiteral("Valor total del stock:"));
    EXPECT_TRUE(total.has_value()) << nombre.toStdString();
    return total.value_or(0);
  }

  double Valor(const QString& donde) {
    datos::Consulta q = tienda.ajustes.ConexionVentas->preparar(
        QStringLiteral("SELECT SUM(stock * coste) FROM productos p WHERE ") + donde);
    q.ejecutar();
    return q.siguiente() ? q.valor(0).toDouble() : 0;
  }

  // Devuelve cuánto pesa cada regla, para que el caso diga si la tienda la
  // pone a prueba.
  std::vector<double> Conciliar() {
    tienda.seleccion.ProveedorElegido = QStringLiteral("-1");
    tienda.seleccion.TipoProducto = 3;
    const double general = Total(QStringLiteral("cmdStockGeneral"));
    const double porProveedores = Total(QStringLiteral("cmdStockXProveedores"));
    const QString unido = QStringLiteral(
        "EXISTS (SELECT 1 FROM seccion s WHERE s.codigo = p.seccion) "
        "AND EXISTS (SELECT 1 FROM proveedores v WHERE v.codigo = p.proveedor)");
    const double borrados = Valor(QStringLiteral("stock > 0 AND (borrar <> 0 OR borrar IS NULL)"));
    const double tipo3 = Valor(QStringLiteral("stock > 0 AND borrar = 0 AND (tipoprod = 3 OR tipoprod IS NULL)"));
    const double sinUnir = Valor(QStringLiteral("stock > 0 AND borrar = 0 AND tipoprod <> 3 AND NOT (") + unido + ")");
    const double negativo = Valor(QStringLiteral("stock < 0 AND borrar = 0 AND tipoprod <> 3 AND ") + unido);
    EXPECT_NEAR(porProveedores, general - borrados - tipo3 - sinUnir + negativo, 0.005)
        << "general " << general << ", borrados " << borrados << ", tipo 3 " << tipo3 << ", sin familia o proveedor "
        << sinUnir << ", stock negativo " << negativo;
    return {borrados, tipo3, sinUnir, negativo};
  }

  prueba::Tienda tienda;
  QTemporaryDir dir;
};

TEST_P(ConciliacionStock, LaTiendaDeProveedoresCuadraSegunLasReglasDeCadaValoracion) {
  tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("proveedores")));
  // Cada regla deja fuera algo en esta tienda: si no, no se estaría probando.
  for (const double peso : Conciliar()) EXPECT_NE(peso, 0);
}

TEST_P(ConciliacionStock, LaTiendaGeneradaCuadraSegunLasReglasDeCadaValoracion) {
  demo::OpcionesDemo opciones;
  opciones.semilla = 11;
  demo::LlenarMaestros(*tienda.ajustes.ConexionVentas, opciones);
  Conciliar();
}

INSTANTIATE_TEST_SUITE_P(Motores, ConciliacionStock, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
