// Las plantillas de los informes contables y de productos sobre lo que de
// verdad escriben sus constructores: la tienda de tests/fixtures/contable.sql,
// el botón de cada informe, su plantilla pintada a PDF y lo que sale leído
// como lo leería el gestor: el orden, lo que va en blanco y los totales.

#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "registro/SalidaInforme.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using prueba::Motor;

class PlantillasContables : public testing::TestWithParam<Motor> {
 protected:
  PlantillasContables() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("contable")));
    tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
    tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
    tienda.seleccion.NumVentas = 1;
  }

  // El informe del botón pintado con su plantilla; el texto de su PDF.
  QString Pintar(const QString& nombreBoton) {
    const registro::BotonInforme* boton = registro::BuscarBoton(nombreBoton);
    EXPECT_NE(boton, nullptr);
    if (!boton) return {};
    EXPECT_EQ(registro::EjecutarBoton(*boton, tienda.contexto).resultado, registro::Resultado::ConDatos);
    pdf = dir.filePath(nombreBoton + QStringLiteral(".pdf"));
    EXPECT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, boton->plantilla,
                                         {QString(), QStringLiteral("es_ES")}, {pdf, QString()}, tienda.notificador,
                                         tienda.reloj));
    return prueba::TextoPdf(pdf);
  }

  prueba::Tienda tienda;
  QTemporaryDir dir;
  QString pdf;
};

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

TEST_P(PlantillasContables, ResumenContableLineaALineaConLasCifrasDelPeriodoUnaVez) {
  const QString texto = Pintar(QStringLiteral("cmdResumenContable"));
  const QSizeF pagina = prueba::TamanoPaginaMm(pdf);
  EXPECT_GT(pagina.width(), pagina.height());
  EXPECT_LINEA(prueba::LineaCon(texto, "Taberna La Ñora"), "Resumen Contable de Facturas");
  EXPECT_LINEA(texto, "Del 01/03/2026\\s+al 05/03/2026");
  EXPECT_LINEA(prueba::LineaCon(texto, "Vino tinto"),
               "^\\s*1002\\s+02/03/2026\\s+Cliente Generico\\s+Visa\\s+Vino tinto\\s+Pedro\\s+4\\s+2,50\\s+10,00\\s+"
               "2,10\\s+12,10\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Croquetas"), "María Fernández Gil\\s+48000111A\\s+Murcia\\s+Efectivo");
  // Todas las líneas de todas las ventas, también la borrada.
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "Líneas: 19\\s+89,09\\s+10,11\\s+99,20\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Ventas del periodo:"), "Ventas del periodo:\\s+7\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Coste de lo vendido:"), "Coste de lo vendido:\\s+21,80\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Gastos del periodo:"), "Gastos del periodo:\\s+7,75\\s*$");
}

TEST_P(PlantillasContables, MasVendidosPorUnidadesDentroDeCadaSeccion) {
  const QString texto = Pintar(QStringLiteral("cmdProductosMasVendidos"));
  // Los sueltos antes que los menús; en cada sección, de más a menos
  // unidades, y a igualdad en el orden del código.
  EsperarEnOrden(texto,
                 {"Productos", "Caña", "Vino tinto", "Croquetas", "Agua", "Tapa del día", "Bolsa",
                  "Total Productos:", "Menus", "Menú del día", "Menú infantil", "Menú especial", "Total Menus:"});
  EXPECT_LINEA(prueba::LineaCon(texto, "Caña"), "Caña\\s+6\\s+15,00\\s+0,00\\s+0,00\\s+2,50\\s+0,60\\s+2,50\\s*$");
  // Sin ficha: sin coste ni precio, no los del producto anterior.
  EXPECT_LINEA(prueba::LineaCon(texto, "Tapa del día"), "Tapa del día\\s+1\\s+3,00\\s+0,00\\s+0,00\\s+3,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total Productos:"), "15\\s+42,20\\s+0,00\\s+0,00\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "94,20\\s+0,00\\s+0,00\\s*$");
}

TEST_P(PlantillasContables, ProductosSinVentasReservasYMenus) {
  QString texto = Pintar(QStringLiteral("cmdProdSinVentas"));
  EXPECT_LINEA(texto, "Ventas menores a: 1");
  EXPECT_LINEA(prueba::LineaCon(texto, "Paella"), "0301\\s+Paella\\s+V\\s+20,00\\s+sin ventas\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Tarta de queso"), "1,00\\s+4,50\\s+0,00\\s*$");
  EXPECT_LINEA(texto, "Productos: 2");

  texto = Pintar(QStringLiteral("cmdReservas"));
  EXPECT_LINEA(prueba::LineaCon(texto, "600111222"), "María F\\.\\s+20/03/2026\\s+21:30\\s+3\\s+4, 7, 4\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Sin teléfono"), "^\\s*sin teléfono\\s+Sin teléfono\\s+03/03/2026");
  EXPECT_LINEA(texto, "Clientes: 3");

  texto = Pintar(QStringLiteral("cmdConsumoMenus"));
  EsperarEnOrden(texto, {"Menús de la casa", "Menú del día", "Menú infantil", "Menú especial", "Croquetas", "Paella",
                         "Total Menús de la casa:"});
  EXPECT_LINEA(prueba::LineaCon(texto, "Menú del día"), "Menú del día\\s+2\\s+6,00\\s+14,00\\s+28,00");
  // El plato lleva el precio de su propia línea.
  EXPECT_LINEA(prueba::LineaCon(texto, "Paella"), "^\\s+Paella\\s+3\\s+1,50\\s+5,00\\s+0,00\\s+0,00\\s*$");
  EXPECT_FALSE(texto.contains(QStringLiteral("Menús de temporada")));
}

TEST_P(PlantillasContables, ImpuestosPorTipoConLasFacturasSinLineasAparte) {
  const QString texto = Pintar(QStringLiteral("cmdImpuestosRep"));
  EsperarEnOrden(texto, {"Impuesto al 0%", "Impuesto al 10%", "Impuesto al 21%", "Sin desglose"});
  EXPECT_LINEA(prueba::LineaCon(texto, "Impuesto al 0%"), "1,60\\s+0,00\\s+1,60\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Impuesto al 10%"), "70,56\\s+7,04\\s+77,60\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Impuesto al 21%"), "10,00\\s+2,10\\s+12,10\\s*$");
  EXPECT_LINEA(prueba::LineaCon(texto, "Total del periodo"), "85,80\\s+9,50\\s+95,30\\s*$");
}

INSTANTIATE_TEST_SUITE_P(Motores, PlantillasContables, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
