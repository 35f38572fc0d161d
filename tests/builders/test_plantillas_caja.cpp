// Las plantillas de los informes de caja sobre filas de Informes escritas a
// mano: cada caso pone las filas que su plantilla tiene que agrupar y sumar,
// la pinta a PDF (y a hoja, el resumen diario) y lee lo que sale como lo
// leería el gestor. Lo que se mira es la plantilla, no el constructor.

#include "builders/Informes.h"
#include "reports_ui/SalidaInforme.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QDate>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTime>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

using prueba::Motor;
using Valores = std::vector<std::pair<QString, QVariant>>;

// Cabecera del negocio y sello de generación que los constructores repiten
// en cada fila.
const Valores kNegocio = {{"texto1", "Bar O'Neill"},
                          {"texto2", "Calle Mayor, 3 - Cartagena"},
                          {"fecha1", QDate(2026, 12, 2)},
                          {"fecha2", QTime(9, 7)}};

Valores Mas(Valores a, const Valores& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class PlantillasCaja : public testing::TestWithParam<Motor> {
 protected:
  PlantillasCaja() : tienda(GetParam()) {}

  // Cada fila lleva además los valores del informe entero, como las deja el
  // constructor.
  void Escribir(const Valores& comunes, const std::vector<Valores>& filas) {
    informes::EscritorInformes e(*tienda.ajustes.ConexionInformes);
    e.vaciar();
    for (const Valores& f : filas) {
      e.nuevaFila();
      for (const auto& [columna, valor] : comunes) e.poner(columna, valor);
      for (const auto& [columna, valor] : f) e.poner(columna, valor);
      e.guardarFila();
    }
    e.terminar();
  }

  // Pinta la plantilla (la que lleva el programa) y devuelve el texto del PDF.
  QString Pintar(const QString& plantilla, bool conHoja = false) {
    pdf = dir.filePath(plantilla + QStringLiteral(".pdf"));
    const QString xlsx = conHoja ? dir.filePath(plantilla + QStringLiteral(".xlsx")) : QString();
    EXPECT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, plantilla + QStringLiteral(".rpt"),
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

TEST_P(PlantillasCaja, CierreDeCajaPorDiaEnElOrdenEnQueLleganLasFacturas) {
  const Valores comunes = Mas(kNegocio, {{"texto3", "Ana García"},
                                         {"texto6", "30/11/2026"},
                                         {"texto7", "01/12/2026"},
                                         {"entero3", 3},
                                         {"numerico5", 12.5}});
  auto factura = [](const char* numero, const char* dia, const char* pago, double impuesto, double base, double recargo,
                    double descuento, double total) {
    return Valores{{"texto22", numero},    {"texto5", dia},          {"texto11", "T5"},
                   {"texto8", "Comedor"},  {"fecha3", QTime(13, 5)}, {"fecha4", QTime(12, 30)},
                   {"texto21", pago},      {"numerico1", impuesto},  {"numerico2", base},
                   {"numerico3", recargo}, {"numerico4", descuento}, {"doble1", total}};
  };
  // Ordenado como texto, "01/12/2026" iría delante de "30/11/2026".
  Escribir(comunes, {factura("501", "30/11/2026", "Efectivo", 90.91, 909.09, 0, 0, 1000),
                     factura("502", "30/11/2026", "Tarjeta American Express", 21.32, 213.18, 1.5, 1.5, 234.5),
                     factura("503", "01/12/2026", "Visa", 0.91, 9.09, 0, 0, 10)});
  const QString texto = Pintar(QStringLiteral("cierredecaja2"));
  EXPECT_TRUE(Apaisado(pdf));

  EXPECT_LINEA(prueba::LineaCon(texto, "Bar O'Neill"), "Ventas Detalladas por Empleados");
  EXPECT_LINEA(prueba::LineaCon(texto, "Calle Mayor"), "Fecha: 02/12/2026\\s+09:07");
  EXPECT_LINEA(prueba::LineaCon(texto, "Empleado: Ana García"), "Del 30/11/2026\\s+al 01/12/2026");

  const int dia1 = texto.indexOf(QStringLiteral("Día 30/11/2026"));
  const int dia2 = texto.indexOf(QStringLiteral("Día 01/12/2026"));
  ASSERT_GE(dia1, 0);
  EXPECT_LT(dia1, dia2);
  EXPECT_LT(texto.indexOf(QStringLiteral("502 ")), dia2);
  EXPECT_GT(texto.indexOf(QStringLiteral("503 ")), dia2);
  // Cada columna en su sitio, la forma de pago entera y las horas sin segundos.
  EXPECT_LINEA(prueba::LineaCon(texto, "502 "),
               "^\\s*502\\s+T5\\s+Comedor\\s+13:05\\s+12:30\\s+Tarjeta American Express\\s+21,32\\s+213,18\\s+1,50"
               "\\s+1,50\\s+234,50\\s*$");

  EXPECT_LINEA(prueba::LineaCon(texto, "Total día 30/11/2026"),
               "Facturas: 2\\s+112,23\\s+1\\.122,27\\s+1,50\\s+1,50\\s+1\\.234,50\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total día 01/12/2026"), "Facturas: 1\\s+0,91\\s+9,09\\s+0,00\\s+0,00\\s+10,00");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "113,14\\s+1\\.131,36\\s+1,50\\s+1,50\\s+1\\.244,50\\s*$");
  // Los gastos y el número de facturas vienen en las tres filas: una vez y sin sumar.
  EXPECT_LINEA(prueba::LineaCon(texto, "Número de facturas:"), "Número de facturas:\\s+3\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Gastos del empleado:"), "Gastos del empleado:\\s+12,50\\s*$");
  EXPECT_EQ(texto.count(QStringLiteral("12,50")), 1);
}

TEST_P(PlantillasCaja, ResumenPorCamareroSumaLoCobradoYNoRepiteImpuestos) {
  // Larga a propósito: no cabe en una línea de la hoja apaisada.
  const QString nota = QStringLiteral(
      "NOTA: En este listado aparecen ventas abiertas un día y cobradas al siguiente; revise el horario de "
      "atención al cliente antes de cerrar la caja del mes. Las ventas de la terraza del domingo se cobraron de "
      "madrugada y cuentan en el lunes, igual que las de la barra que quedaron abiertas tras el partido de la "
      "noche anterior y se cerraron al abrir por la mañana.");
  const Valores comunes =
      Mas(kNegocio, {{"texto6", "01/03/2026"}, {"texto7", "05/03/2026"}, {"numerico5", 45.0}, {"texto18", nota}});
  auto cobro = [](int factura, const char* camarero, const char* codigo, const char* pago, double pagado,
                  double impuesto, double neto, double recargo, double descuento) {
    return Valores{{"numerico10", factura},   {"texto21", camarero},    {"texto23", codigo},
                   {"texto11", "Barra"},      {"texto20", "Barra"},     {"texto5", "02/03/2026"},
                   {"fecha3", QTime(22, 15)}, {"fecha4", QTime(21, 0)}, {"texto4", pago},
                   {"numerico9", pagado},     {"numerico1", impuesto},  {"numerico2", neto},
                   {"numerico3", recargo},    {"numerico4", descuento}};
  };
  // Luis llega primero, pero los camareros salen por nombre. La factura 602
  // se pagó entre efectivo y tarjeta: dos filas con el mismo impuesto y neto.
  Escribir(comunes, {cobro(601, "Luis", "5", "Visa", 30, 2.73, 27.27, 0, 0),
                     cobro(602, "Ana", "3", "Efectivo", 6, 1.82, 18.18, 0.5, 2),
                     cobro(602, "Ana", "3", "Tarjeta/Mixto", 14, 1.82, 18.18, 0, 0),
                     cobro(603, "Luis", "5", "Efectivo", 1204.5, 109.5, 1095, 0, 0)});
  const QString texto = Pintar(QStringLiteral("ResumenVentasTotales2"));
  EXPECT_TRUE(Apaisado(pdf));

  const int ana = texto.indexOf(QStringLiteral("Camarero: Ana"));
  const int luis = texto.indexOf(QStringLiteral("Camarero: Luis"));
  ASSERT_GE(ana, 0);
  EXPECT_LT(ana, luis);
  EXPECT_LINEA(prueba::LineaCon(texto, "Camarero: Ana"), "Código 3\\s*$");
  EXPECT_LT(texto.indexOf(QStringLiteral("Tarjeta/Mixto")), luis);
  EXPECT_LINEA(prueba::LineaCon(texto, "Tarjeta/Mixto"),
               "^\\s*602\\s+Barra\\s+Barra\\s+02/03/2026\\s+22:15\\s+21:00\\s+Tarjeta/Mixto\\s+14,00\\s+1,82\\s+18,18");

  // Pagado, recargo y descuento; nada bajo el impuesto y el neto, que
  // sumados contarían dos veces la factura repartida (3,64 y 36,36).
  const QString totalAna = prueba::LineaCon(texto, "Total Ana:");
  EXPECT_LINEA(totalAna, "Total Ana:\\s+20,00\\s+0,50\\s+2,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total Luis:"), "Total Luis:\\s+1\\.234,50\\s+0,00\\s+0,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "Total del periodo\\s+1\\.254,50\\s+0,50\\s+2,00\\s*$");
  EXPECT_FALSE(texto.contains(QStringLiteral("3,64")));
  EXPECT_FALSE(texto.contains(QStringLiteral("36,36")));
  EXPECT_LINEA(prueba::LineaCon(texto, "Gastos del periodo:"), "Gastos del periodo:\\s+45,00\\s*$");
  EXPECT_EQ(texto.count(QStringLiteral("45,00")), 1);

  // La nota sale entera, partida en más de una línea y una sola vez.
  const QString primera = prueba::LineaCon(texto, "NOTA:");
  EXPECT_FALSE(primera.contains(QStringLiteral("por la mañana.")));
  EXPECT_GT(texto.indexOf(QStringLiteral("por la mañana.")), texto.indexOf(primera));
  EXPECT_TRUE(texto.simplified().contains(nota)) << texto.toStdString();
  EXPECT_EQ(texto.count(QStringLiteral("NOTA:")), 1);
}

TEST_P(PlantillasCaja, VentasPorFormaDePagoConLasDesconocidasAparte) {
  const Valores comunes =
      Mas(kNegocio, {{"texto6", "01/03/2026"}, {"texto7", "05/03/2026"}, {"entero3", 4}, {"numerico5", 7.25}});
  auto cobro = [](int factura, const QVariant& pago, double importe, double impuesto, double recargo,
                  double descuento) {
    Valores v{{"numerico10", factura},  {"texto23", "Ana García López"}, {"texto11", "T5"},
              {"texto5", "02/03/2026"}, {"fecha3", QTime(13, 5)},        {"fecha4", QTime(12, 30)},
              {"numerico2", importe},   {"numerico1", impuesto},         {"numerico3", recargo},
              {"numerico4", descuento}};
    if (!pago.isNull()) v.emplace_back("texto21", pago);
    return v;
  };
  // La 703 se pagó entre efectivo y tarjeta: una fila por parte, con el
  // impuesto de la factura entera en las dos.
  Escribir(comunes, {cobro(701, "Visa", 40, 3.64, 0, 0), cobro(702, QVariant(), 20, 1.82, 0, 0),
                     cobro(703, "Efectivo", 5, 1.82, 0, 1), cobro(703, "Tarjeta/Mixto", 15, 1.82, 0, 0),
                     cobro(704, "Efectivo", 1229.5, 111.77, 2, 0)});
  const QString texto = Pintar(QStringLiteral("VentasXFormasPago"));
  EXPECT_FALSE(Apaisado(pdf));

  // Por nombre, con las formas de pago desconocidas delante en su grupo.
  const QList<qsizetype> grupos = {texto.indexOf(QStringLiteral("Forma de pago: sin")),
                                   texto.indexOf(QStringLiteral("Forma de pago: Efectivo")),
                                   texto.indexOf(QStringLiteral("Forma de pago: Tarjeta/Mixto")),
                                   texto.indexOf(QStringLiteral("Forma de pago: Visa"))};
  EXPECT_GE(grupos[0], 0);
  for (int i = 1; i < grupos.size(); ++i) EXPECT_LT(grupos[i - 1], grupos[i]) << i;
  EXPECT_EQ(texto.count(QStringLiteral("Forma de pago: Efectivo")), 1);
  EXPECT_LINEA(prueba::LineaCon(texto, "702 "),
               "^\\s*702\\s+Ana García López\\s+T5\\s+02/03/2026\\s+13:05\\s+12:30\\s+0,00\\s+0,00\\s+1,82\\s+20,00");

  EXPECT_LINEA(prueba::LineaCon(texto, "Total Efectivo:"), "Facturas: 2\\s+1,00\\s+2,00\\s+1\\.234,50\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total Visa:"), "Facturas: 1\\s+0,00\\s+0,00\\s+40,00\\s*$");
  // El importe suma bien las dos partes; el impuesto repetido no se suma.
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "Total del periodo\\s+1,00\\s+2,00\\s+1\\.309,50\\s*$");
  EXPECT_FALSE(texto.contains(QStringLiteral("120,87")));
  EXPECT_LINEA(prueba::LineaCon(texto, "Número de facturas:"), "Número de facturas:\\s+4\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Gastos del periodo:"), "Gastos del periodo:\\s+7,25\\s*$");
  EXPECT_EQ(texto.count(QStringLiteral("7,25")), 1);
}

// Valores del periodo de los dos resúmenes diarios.
const Valores kPeriodo = {{"texto1", "Bar O'Neill"}, {"texto2", "Calle Mayor, 3"}, {"texto3", "28/02/2026"},
                          {"texto4", "01/03/2026"},  {"numerico5", 12.5},          {"numerico15", 310.0},
                          {"numerico16", 100.0}};

Valores Venta(const QDate& dia, double impuesto, double neto, double descuento, double recargo, double total,
              double propina) {
  return {{"fecha1", dia},        {"doble1", impuesto}, {"numerico2", neto},    {"numerico4", descuento},
          {"numerico3", recargo}, {"doble2", total},    {"numerico10", propina}};
}

TEST_P(PlantillasCaja, ResumenDiarioPorFechaYSuHojaDeCalculo) {
  // Llegan desordenadas: la plantilla ordena por la fecha de verdad, que como
  // "dd/mm/aaaa" pondría el 01/03 delante del 28/02.
  Escribir(kPeriodo, {Mas({{"numerico1", 122}}, Venta(QDate(2026, 3, 1), 1.82, 18.18, 0, 0, 20, 0)),
                      Mas({{"numerico1", 120}}, Venta(QDate(2026, 2, 28), 111.32, 1113.18, 1, 1, 1224.5, 2)),
                      Mas({{"numerico1", 121}}, Venta(QDate(2026, 2, 28), 0.91, 9.09, 0, 0, 10, 0))});
  const QString texto = Pintar(QStringLiteral("ResumenVentas"), true);
  EXPECT_FALSE(Apaisado(pdf));

  EXPECT_LINEA(prueba::LineaCon(texto, "Bar O'Neill"), "Ventas Generales por Dia");
  EXPECT_LINEA(prueba::LineaCon(texto, "Calle Mayor, 3"), "Fecha: 06/03/2026");
  EXPECT_LINEA(texto, "Del 28/02/2026\\s+al 01/03/2026");
  const int dia1 = texto.indexOf(QStringLiteral("Día 28/02/2026"));
  const int dia2 = texto.indexOf(QStringLiteral("Día 01/03/2026"));
  ASSERT_GE(dia1, 0);
  EXPECT_LT(dia1, dia2);
  EXPECT_LINEA(prueba::LineaCon(texto, "120 "),
               "^\\s*120\\s+28/02/2026\\s+111,32\\s+1\\.113,18\\s+1,00\\s+1,00\\s+1\\.224,50\\s+2,00\\s*$");
  const QStringList totalesDia = LineasCon(texto, QStringLiteral("Total día"));
  ASSERT_EQ(totalesDia.size(), 2);
  EXPECT_LINEA(totalesDia[0], "Facturas: 2\\s+112,23\\s+1\\.122,27\\s+1,00\\s+1,00\\s+1\\.234,50\\s+2,00\\s*$");
  EXPECT_LINEA(totalesDia[1], "Facturas: 1\\s+1,82\\s+18,18\\s+0,00\\s+0,00\\s+20,00\\s+0,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"),
               "114,05\\s+1\\.140,45\\s+1,00\\s+1,00\\s+1\\.254,50\\s+2,00\\s*$");
  // Lo del periodo, una vez cada cosa y sin sumar.
  const QStringList cuentas = LineasCon(texto, QStringLiteral("Facturas:"));
  ASSERT_EQ(cuentas.size(), 3);
  EXPECT_LINEA(cuentas[2], "^\\s*Facturas:\\s+3\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Gastos:"), "Gastos:\\s+12,50\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Retiradas:"), "Retiradas:\\s+100,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Caja inicial día siguiente:"), "siguiente:\\s+310,00\\s*$");
  for (const char* valor : {"12,50", "100,00", "310,00"}) EXPECT_EQ(texto.count(QLatin1String(valor)), 1) << valor;

  // La hoja: una sola fila de rótulos y, debajo, una fila por factura con
  // el número, la fecha y los importes como números.
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
    for (const char* columna : {"C", "D", "E", "F", "G", "H"}) {
      const prueba::Celda& importe = celdas[QLatin1String(columna) + fila];
      EXPECT_TRUE(importe.numero) << columna << fila.toStdString();
      EXPECT_EQ(importe.formato, QStringLiteral("#,##0.00"));
    }
    if (c.valor == 120) {
      EXPECT_DOUBLE_EQ(celdas[QStringLiteral("G") + fila].valor, 1224.5);
    }
  }
  EXPECT_EQ(facturas, (std::set<int>{120, 121, 122}));
}

TEST_P(PlantillasCaja, ResumenFiscalPorTipoDeComprobanteEnElOrdenDelConstructor) {
  auto comprobante = [](const QVariant& tipo, const char* ncf, double total) {
    Valores v = Mas({{"texto30", ncf}}, Venta(QDate(2026, 3, 1), total / 11, total * 10 / 11, 0, 0, total, 0));
    if (!tipo.isNull()) v.emplace_back("texto31", tipo);
    return v;
  };
  // El constructor los manda por código de tipo; por nombre, Consumo iría
  // delante de Crédito y el que no tiene tipo, el primero.
  Escribir(kPeriodo,
           {comprobante("Credito Fiscal", "B0100000141", 1000), comprobante("Credito Fiscal", "B0100000142", 234.5),
            comprobante("Consumo Final", "B0200000140", 20), comprobante(QVariant(), "B1600000004", 42.5)});
  const QString texto = Pintar(QStringLiteral("ResumenVentas1"));

  EXPECT_LINEA(prueba::LineaCon(texto, "Bar O'Neill"), "Ventas Generales por Dia");
  EXPECT_TRUE(texto.contains(QStringLiteral("Comprobantes")));
  const int credito = texto.indexOf(QStringLiteral("Tipo de comprobante: Credito Fiscal"));
  const int consumo = texto.indexOf(QStringLiteral("Tipo de comprobante: Consumo Final"));
  const int sinTipo = texto.indexOf(QStringLiteral("Tipo de comprobante: Sin tipo"));
  ASSERT_GE(credito, 0);
  EXPECT_LT(credito, consumo);
  EXPECT_LT(consumo, sinTipo);
  EXPECT_GT(texto.indexOf(QStringLiteral("B1600000004")), sinTipo);
  EXPECT_LINEA(prueba::LineaCon(texto, "B0100000142"), "^\\s*B0100000142\\s+01/03/2026\\s+21,32\\s+213,18");

  EXPECT_LINEA(prueba::LineaCon(texto, "Total Credito Fiscal"), "1\\.234,50\\s+0,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total sin tipo"), "3,86\\s+38,64\\s+0,00\\s+0,00\\s+42,50\\s+0,00\\s*$");
  // Una cuenta por tipo y la del periodo.
  const QStringList cuentas = LineasCon(texto, QStringLiteral("Facturas:"));
  ASSERT_EQ(cuentas.size(), 4);
  EXPECT_LINEA(cuentas[0], "Facturas: 2");
  EXPECT_LINEA(cuentas[2], "Facturas: 1");
  EXPECT_LINEA(cuentas[3], "^\\s*Facturas:\\s+4\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "1\\.297,00\\s+0,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Retiradas:"), "Retiradas:\\s+100,00\\s*$");
  EXPECT_EQ(texto.count(QStringLiteral("12,50")), 1);
}

INSTANTIATE_TEST_SUITE_P(Motores, PlantillasCaja, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
