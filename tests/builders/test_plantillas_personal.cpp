// Las plantillas de pedidos, cocina y listados del personal pintadas a PDF
// con lo que de verdad escriben sus constructores sobre la tienda de
// tests/fixtures/personal.sql, y leídas como las leería el encargado: cómo
// agrupan, en qué orden y qué totales dan.

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

struct Linea {
  const char* trozo;   // lo que identifica la línea
  const char* patron;  // lo que tiene que decir
};

struct Caso {
  const char* boton;
  std::vector<const char*> enOrden;  // trozos que salen en este orden
  std::vector<Linea> lineas;
};

const std::vector<Caso>& Casos() {
  static const std::vector<Caso> casos = {
      {"cmdPedidosProveedor",
       {"Proveedor: Frutas Segura", "Limones", "Pizza", "Proveedor: Proveedor eliminado", "(artículo sin dar de alta)",
        "Caña"},
       {{"Taberna La Ñora", "Pedidos realizados a Proveedor\\s*$"},
        {"Del 01/03/2026", "al 05/03/2026\\s*$"},
        {"Limones", "Limones\\s+4,00\\s+0,20\\s+50\\s+10,00\\s*$"},
        {"Total Frutas Segura:", "Líneas: 2\\s+60\\s+40,00\\s*$"},
        {"Total Proveedor eliminado:", "Líneas: 2\\s+126\\s+75,00\\s*$"},
        {"Total del periodo", "Líneas: 4\\s+186\\s+115,00\\s*$"}}},
      {"cmdPedidosCocinaXVentas",
       {"Eliminada", "Abierta", "Cobrada", "Cobrado", "Ventas abiertas:"},
       {{"2010 ", "^\\s*503\\s+2010\\s+03/03/2026\\s+Ana\\s+17:00\\s+Eliminada\\s+4,00\\s*$"},
        {"40001", "^\\s*40001\\s+1009\\s+05/03/2026\\s+Ana\\s+15:20\\s+Cobrada\\s+53,00\\s*$"},
        {"Ventas cobradas:", "257,70\\s*$"}}},
      {"cmdEmpleadoMes",
       {"Ana", "Marta", "Pedro"},
       {{"Ana", "^\\s*1\\s+Ana\\s+132,50\\s+5,80\\s+5,00\\s*$"},
        {"Pedro", "^\\s*3\\s+Pedro\\s+23,30\\s+0,00\\s+0,00\\s*$"},
        {"Total del periodo", "185,80\\s+5,80\\s+5,00\\s*$"}}},
      {"cmdRetiradas",
       {"Empleado: Ana García López", "Empleado: Pedro Sánchez Gil"},
       {{"Total Ana García López:", "Retiradas: 1\\s+100,00\\s*$"},
        {"Total del periodo", "Retiradas: 2\\s+150,00\\s*$"}}},
      {"cmdVentasPromociones",
       {"Promoción: 2x1 en cañas", "Promoción: Café con el menú", "Promoción: Descuento x Porcentaje",
        "Promoción: Unidades x Importe"},
       {{"Total - Descuento x Porcentaje:", "Líneas: 1\\s+2\\s*$"},
        {"1011 ", "^\\s*1011\\s+02/03/2026\\s+20:10\\s+Caña\\s+Pedro\\s+2\\s*$"},
        {"Total del periodo", "Líneas: 4\\s+6\\s*$"}}},
      {"cmdGastos",
       {"Día 02/03/2026", "Día 03/03/2026", "Día 04/03/2026", "Día 05/03/2026"},
       {{"Limpieza", "09:30\\s+Marta Ruiz\\s+5\\s+Limpieza\\s+10,50\\s*$"},
        {"Total día 02/03/2026", "Gastos: 1\\s+12,50\\s*$"},
        {"Total del periodo", "Gastos: 4\\s+53,00\\s*$"}}},
      {"cmdPropinas",
       {"Empleado: Ana", "Empleado: Pedro"},
       {{"Total Ana:", "Propinas: 4\\s+8,50\\s*$"},
        {"04/03/2026", "^\\s*04/03/2026\\s+0\\s+1\\s+2,00\\s*$"},
        {"Total del periodo", "Propinas: 6\\s+9,50\\s*$"}}},
  };
  return casos;
}

class PlantillasPersonal : public testing::TestWithParam<Motor> {};

TEST_P(PlantillasPersonal, CadaPlantillaAgrupaYSumaLoQueEscribeSuConstructor) {
  prueba::Tienda tienda(GetParam());
  tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("personal")));
  tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
  tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
  QTemporaryDir dir;
  for (const Caso& caso : Casos()) {
    SCOPED_TRACE(caso.boton);
    const registro::BotonInforme* boton = registro::BuscarBoton(QString::fromLatin1(caso.boton));
    ASSERT_NE(boton, nullptr);
    ASSERT_EQ(registro::EjecutarBoton(*boton, tienda.contexto).resultado, registro::Resultado::ConDatos);
    const QString pdf = dir.filePath(QString::fromLatin1(caso.boton) + QStringLiteral(".pdf"));
    ASSERT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, boton->plantilla,
                                         {QString(), QStringLiteral("es_ES")}, {pdf, QString()}, tienda.notificador,
                                         tienda.reloj));
    const QString texto = prueba::TextoPdf(pdf);
    EXPECT_EQ(prueba::PaginasPdf(pdf), 1);
    qsizetype anterior = -1;
    for (const char* trozo : caso.enOrden) {
      const qsizetype i = texto.indexOf(QString::fromUtf8(trozo), anterior + 1);
      EXPECT_GT(i, anterior) << "«" << trozo << "» no sale donde debe";
      if (i > anterior) anterior = i;
    }
    for (const Linea& l : caso.lineas) {
      const QString linea = prueba::LineaCon(texto, QString::fromUtf8(l.trozo));
      EXPECT_TRUE(linea.contains(QRegularExpression(QString::fromUtf8(l.patron))))
          << "línea: «" << linea.toStdString() << "»\npatrón: " << l.patron;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, PlantillasPersonal, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
