// Las plantillas de los informes de caja sobre lo que de verdad escriben sus
// constructores: la tienda de tests/fixtures/caja.sql, el botón de cada
// informe, su plantilla pintada a PDF (y a hoja, el resumen diario) y lo que
// sale leído como lo leería el gestor. Que las cuentas cuadren entre informes
// lo mira la prueba de conciliación; aquí, cómo agrupa, qué repite y qué no
// cada plantilla.

#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "registro/SalidaInforme.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using prueba::Motor;

class PlantillasCaja : public testing::TestWithParam<Motor> {
 protected:
  PlantillasCaja() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("caja")));
    tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
    tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
  }

  // El informe del botón pintado con su plantilla; el texto de su PDF.
  QString Pintar(const QString& nombreBoton, bool conHoja = false) {
    const registro::BotonInforme* boton = registro::BuscarBoton(nombreBoton);
    EXPECT_NE(boton, nullptr);
    if (!boton) return {};
    EXPECT_EQ(registro::EjecutarBoton(*boton, tienda.contexto).resultado, registro::Resultado::ConDatos);
    pdf = dir.filePath(nombreBoton + QStringLiteral(".pdf"));
    const QString xlsx = conHoja ? dir.filePath(nombreBoton + QStringLiteral(".xlsx")) : QString();
    EXPECT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, boton->plantilla,
                                         {QString(), QStringLiteral("es_ES")}, {pdf, xlsx}, tienda.notificador,
                                         tienda.reloj));
    if (conHoja) celdas = prueba::LeerXlsx(xlsx);
    return prueba::TextoPdf(pdf);
  }

  static bool Apaisado(const QString& ruta) {
    const QSizeF t = prueba::TamanoPaginaMm(ruta);
    return t.width() > t.height();
  }

  // Las líneas del texto que contienen `trozo`, en orden.
  static QStringList LineasCon(const QString& texto, const QString& trozo) {
    QStringList r;
    for (const QString& l : texto.split(QLatin1Char('\n')))
      if (l.contains(trozo)) r << l;
    return r;
  }

  prueba::Tienda tienda;
  QTemporaryDir dir;
  QString pdf;
  std::map<QString, prueba::Celda> celdas;
};

// Si no casa, el fallo enseña la línea leída y el patrón que se esperaba.
#define EXPECT_LINEA(linea, patron)                                         \
  EXPECT_TRUE((linea).contains(QRegularExpression(QStringLiteral(patron)))) \
      << "línea: «" << (linea).toStdString() << "»\npatrón: " << (patron)

// Las posiciones de los trozos en el texto van en el orden dado.
void EsperarEnOrden(const QString& texto, const QStringList& trozos) {
  qsizetype anterior = -1;
  for (const QString& t : trozos) {
    const qsizetype i = texto.indexOf(t, anterior + 1);
    EXPECT_GT(i, anterior) << "«" << t.toStdString() << "» no sale donde debe";
    if (i > anterior) anterior = i;
  }
}

TEST_P(PlantillasCaja, CierreDeCajaAgrupaPorDiaDelCalendarioAunqueLosNumerosNoLoSigan) {
  tienda.seleccion.EmpleadoElegido = 1;
  const QString texto = Pintar(QStringLiteral("cmdCierreCaja"));
  EXPECT_TRUE(Apaisado(pdf));
  EXPECT_LINEA(prueba::LineaCon(texto, "Taberna La Ñora"), "Ventas Detalladas por Empleados");
  EXPECT_LINEA(prueba::LineaCon(texto, "Empleado: Ana"), "Del 01/03/2026\\s+al 05/03/2026");

  // La 1010 es del día 3 aunque su número vaya tras la 1009, del día 5: un
  // solo grupo por día, en el orden del calendario.
  EXPECT_EQ(texto.count(QStringLiteral("Día 03/03/2026")), 1);
  EsperarEnOrden(texto, {"Día 02/03/2026", "Día 03/03/2026", "1003 ", "1010 ", "Día 05/03/2026", "1009 "});
  EXPECT_LINEA(prueba::LineaCon(texto, "1002 "),
               "^\\s*1002\\s+T2\\s+Terraza\\s+14:40\\s+13:10\\s+Tarjeta/"
               "Efectivo\\s+2,86\\s+28,64\\s+3,00\\s+1,50\\s+31,50\\s*$");
  // La 1003 no tiene impuesto: cuenta como 0 y su base es el total, ya desde
  // esta vez; base más impuesto es lo cobrado, también en el periodo.
  EXPECT_LINEA(prueba::LineaCon(texto, "Total día 03/03/2026"),
               "Facturas: 2\\s+0,00\\s+18,90\\s+0,00\\s+1,30\\s+18,90\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "11,55\\s+133,35\\s+5,00\\s+11,80\\s+144,90\\s*$");
  // Los gastos del empleado vienen en cada fila: una vez y sin sumar.
  EXPECT_LINEA(prueba::LineaCon(texto, "Gastos del empleado:"), "Gastos del empleado:\\s+12,50\\s*$");
  EXPECT_EQ(texto.count(QStringLiteral("12,50")), 1);
}

TEST_P(PlantillasCaja, ResumenPorCamareroCuentaUnaVezLoQueRepiteUnPagoRepartido) {
  const QString texto = Pintar(QStringLiteral("cmdResumenVentasXEmpleado"));
  EXPECT_TRUE(Apaisado(pdf));
  EsperarEnOrden(texto, {"Camarero: Ana", "Camarero: Marta", "Camarero: Pedro", "Total del periodo"});
  EXPECT_LINEA(prueba::LineaCon(texto, "Camarero: Ana"), "Código 1\\s*$");
  // La fila de la tarjeta no repite el impuesto ni el neto de la de efectivo.
  EXPECT_LINEA(
      prueba::LineaCon(texto, "Tarjeta/Mixto"),
      "^\\s*1002\\s+T2\\s+Terraza\\s+02/03/2026\\s+14:40\\s+13:10\\s+Tarjeta/Mixto\\s+21,50\\s+0,00\\s+0,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total Ana:"), "Total Ana:\\s+126,94\\s+9,92\\s+117,01\\s+5,00\\s+9,77\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total Marta:"), "Total Marta:\\s+39,96\\s+3,63\\s+36,34\\s+0,00\\s+2,03\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"),
               "Total del periodo\\s+190,20\\s+15,66\\s+174,54\\s+5,00\\s+11,80\\s*$");
  // Un grupo terminado no repite su cabecera en la página del pie.
  EXPECT_EQ(texto.count(QStringLiteral("Camarero: Pedro")), 1);
  EXPECT_EQ(LineasCon(texto, QStringLiteral("Gastos del periodo:")).size(), 1);
  EXPECT_EQ(texto.count(QStringLiteral("NOTA:")), 1);
}

TEST_P(PlantillasCaja, VentasPorFormaDePagoSumanElPeriodoSinContarDosVecesUnaFactura) {
  const QString texto = Pintar(QStringLiteral("cmdVentasXFPago"));
  EXPECT_FALSE(Apaisado(pdf));
  // Por nombre, con la forma de pago desconocida (la invitación) delante.
  EsperarEnOrden(texto, {"Forma de pago: sin", "Forma de pago: Efectivo", "Forma de pago: Mastercard",
                         "Forma de pago: Tarjeta/Mixto", "Forma de pago: Vale comida", "Forma de pago: Visa"});
  // El recargo y el impuesto de la 1002 van en su fila de efectivo; la de
  // tarjeta sólo lleva su parte.
  const QStringList filas1002 = LineasCon(texto, QStringLiteral("1002 "));
  ASSERT_EQ(filas1002.size(), 2);
  EXPECT_LINEA(filas1002[0], "1,50\\s+3,00\\s+2,86\\s+10,00\\s*$");
  EXPECT_LINEA(filas1002[1], "13:10\\s+0,00\\s+21,50\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total Tarjeta/Mixto:"), "Cobros: 1\\s+0,00\\s+0,00\\s+0,00\\s+21,50\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total Efectivo:"), "Cobros: 8\\s+10,50\\s+5,00\\s+14,68\\s+111,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"),
               "Total del periodo\\s+11,80\\s+5,00\\s+15,66\\s+190,20\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Gastos del periodo:"), "Gastos del periodo:\\s+32,50\\s*$");
  EXPECT_EQ(texto.count(QStringLiteral("32,50")), 1);
}

TEST_P(PlantillasCaja, ResumenDiarioCuentaUnaVezLaFacturaDeDosPropinasYSuHoja) {
  const QString texto = Pintar(QStringLiteral("cmdCierreResumido"), true);
  EXPECT_FALSE(Apaisado(pdf));
  EXPECT_LINEA(prueba::LineaCon(texto, "Taberna La Ñora"), "Ventas Generales por Dia");
  EXPECT_LINEA(texto, "Del 01/03/2026\\s+al 05/03/2026");
  EsperarEnOrden(texto, {"Día 02/03/2026", "Día 03/03/2026", "Día 04/03/2026", "Día 05/03/2026"});
  // La 1001 tiene dos propinas: su segunda fila sólo lleva la propina.
  const QStringList filas1001 = LineasCon(texto, QStringLiteral("1001 "));
  ASSERT_EQ(filas1001.size(), 2);
  EXPECT_LINEA(filas1001[0], "3,87\\s+38,63\\s+0,00\\s+0,00\\s+42,50\\s+1,50\\s*$");
  EXPECT_LINEA(filas1001[1], "^\\s*1001\\s+02/03/2026\\s+2,00\\s*$");
  const QStringList totalesDia = LineasCon(texto, QStringLiteral("Total día"));
  ASSERT_EQ(totalesDia.size(), 4);
  EXPECT_LINEA(totalesDia[0], "Facturas: 3\\s+7,06\\s+70,54\\s+1,50\\s+3,00\\s+77,60\\s+4,50\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "15,66\\s+174,54\\s+11,80\\s+5,00\\s+190,20\\s+7,50\\s*$");
  // Lo del periodo, una vez cada cosa y sin sumar.
  EXPECT_LINEA(prueba::LineaCon(texto, "Retiradas:"), "Retiradas:\\s+150,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Caja inicial día siguiente:"), "siguiente:\\s+350,00\\s*$");
  for (const char* valor : {"32,50", "150,00", "350,00"}) EXPECT_EQ(texto.count(QLatin1String(valor)), 1) << valor;

  // La hoja: una sola fila de rótulos y, debajo, una fila por línea del
  // informe con el número, la fecha y los importes como números.
  ASSERT_FALSE(celdas.empty());
  int rotulos = 0;
  for (const auto& [ref, c] : celdas)
    if (!c.numero && c.texto == QLatin1String("Factura")) ++rotulos;
  EXPECT_EQ(rotulos, 1);
  const QString cabecera = prueba::BuscarCelda(celdas, QStringLiteral("Factura"));
  ASSERT_FALSE(cabecera.isEmpty());
  const int filaCabecera = cabecera.mid(1).toInt();
  EXPECT_EQ(prueba::BuscarCelda(celdas, QStringLiteral("Total")), QStringLiteral("G%1").arg(filaCabecera));
  std::set<int> facturas;
  for (const auto& [ref, c] : celdas) {
    if (!ref.startsWith(QLatin1Char('A')) || !c.numero) continue;
    const QString fila = ref.mid(1);
    facturas.insert(static_cast<int>(c.valor));
    EXPECT_GT(fila.toInt(), filaCabecera);
    const prueba::Celda& fecha = celdas[QStringLiteral("B") + fila];
    EXPECT_TRUE(fecha.numero) << ref.toStdString();
    EXPECT_EQ(fecha.formato, QStringLiteral("dd/mm/yyyy"));
    const prueba::Celda& propina = celdas[QStringLiteral("H") + fila];
    EXPECT_TRUE(propina.numero) << ref.toStdString();
    EXPECT_EQ(propina.formato, QStringLiteral("#,##0.00"));
    if (c.valor == 1009) {
      EXPECT_DOUBLE_EQ(celdas[QStringLiteral("G") + fila].valor, 53.0);
    }
  }
  EXPECT_EQ(facturas.size(), 12u);
}

TEST_P(PlantillasCaja, ResumenFiscalPorTipoDeComprobanteEnElOrdenDelConstructor) {
  const QString texto = Pintar(QStringLiteral("cmdRepDominicana"));
  EXPECT_LINEA(prueba::LineaCon(texto, "Taberna La Ñora"), "Ventas Generales por Dia");
  EXPECT_TRUE(texto.contains(QStringLiteral("Comprobantes")));
  // Por código de tipo, sin tipo delante: por nombre, Consumo iría delante
  // de Crédito.
  EsperarEnOrden(texto, {"Tipo de comprobante: Sin tipo", "B0000000005", "Tipo de comprobante: Credito Fiscal",
                         "Tipo de comprobante: Consumo Final", "B0200000001"});
  EXPECT_LINEA(prueba::LineaCon(texto, "Total Consumo Final"), "3,87\\s+38,63\\s+0,00\\s+0,00\\s+42,50\\s+3,50\\s*$");
  const QStringList cuentas = LineasCon(texto, QStringLiteral("Facturas:"));
  ASSERT_EQ(cuentas.size(), 4);
  for (int i = 0; i < 3; ++i) EXPECT_LINEA(cuentas[i], "Facturas: 1\\s*$");
  EXPECT_LINEA(cuentas[3], "^\\s*Facturas:\\s+3\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "81,20\\s+3,50\\s*$");
}

INSTANTIATE_TEST_SUITE_P(Motores, PlantillasCaja, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
