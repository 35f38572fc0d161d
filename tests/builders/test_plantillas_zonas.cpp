// Las plantillas de zonas, horas, familias, menús y reparto pintadas con lo que
// escriben sus constructores sobre tests/fixtures/zonas.sql, y leídas del PDF
// como las lee el encargado: cada grupo con su total, lo repetido de un pago
// repartido una sola vez y las filas sueltas sumadas por producto, día o
// franja cuando la plantilla no las pinta.

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

class PlantillasZonas : public testing::TestWithParam<Motor> {
 protected:
  PlantillasZonas() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("zonas")));
    tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
    tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
  }

  QString Pintar(const QString& nombreBoton) {
    const registro::BotonInforme* boton = registro::BuscarBoton(nombreBoton);
    EXPECT_NE(boton, nullptr);
    if (!boton) return {};
    EXPECT_EQ(registro::EjecutarBoton(*boton, tienda.contexto).resultado, registro::Resultado::ConDatos);
    const QString pdf = dir.filePath(nombreBoton + QStringLiteral(".pdf"));
    EXPECT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, boton->plantillaPara(tienda.seleccion),
                                         {QString(), QStringLiteral("es_ES")}, {pdf, QString()}, tienda.notificador,
                                         tienda.reloj));
    return prueba::TextoPdf(pdf);
  }

  prueba::Tienda tienda;
  QTemporaryDir dir;
};

// Cada informe, las líneas que tiene que tener: la que contiene el rótulo y
// lo que dice. Las cifras salen de las ventas de la tienda.
TEST_P(PlantillasZonas, CadaInformeSeLeeAgrupadoYTotalizado) {
  const struct {
    const char* boton;
    std::vector<std::pair<const char*, const char*>> lineas;
  } informes[] = {
      // La 2002, en dos partes, es una factura con un impuesto.
      {"cmdVentasXZonas",
       {{"Total Teléfono:", "Facturas: 2 +0,50 +1,00 +2,31 +25,40$"},
        {"Tarjeta/Mixto", "^2002 .*Tarjeta/Mixto +8,90$"},
        {"Total del periodo", "0,50 +2,00 +7,53 +82,90$"},
        {"Importe cobrado:", "82,90$"}}},
      {"cmdVentasXHoras",
       {{"08:00 - 9:00", " 1 +0,00 +0,00 +0,27 +3,00$"},
        {"21:00 - 22:00", " 1 +0,00 +0,00 +1,72 +18,90$"},
        {"Importe cobrado:", "82,90$"}}},
      // Los platos del menú bajo el menú, sumados por producto; el margen
      // sólo en el menú. Las dos cañas del comedor son una línea.
      {"cmdVXZonasTotXProducto",
       {{"Total Menú del día", "4,00 +13,00 +0,00 +0,00 +8,00$"},
        {"Total Zona: Comedor", "6,00 +18,00 +0,00 +0,00 +11,80$"},
        {"Total Zona: Terraza", "4,00 +24,00 +0,00 +1,00 +17,00$"},
        {"Importe de las líneas:", "78,90$"}}},
      // El plato suelto y los productos sin familia, juntos y sin arrastrar
      // la familia de otra línea.
      {"cmdVentasXFamilias",
       {{"Total sin familia", "4,00 +9,50 "},
        {"Total Menú del día", "8,00 +37,00 "},
        {"Importe de las líneas:", "83,90$"}}},
      {"cmdVentasMenus",
       {{"24,00", "^05/03/2026 +M01 +2,00 +12,00 +24,00 +0,00 +1,00 +2,27$"},
        {"Total Menú del día", "3,00 +37,00 +0,00 +1,00 +3,45$"}}},
      {"cmdServiciosDomicilio",
       {{"Total del 02/03/2026", "Servicios: 1 +0,00 +0,00 +1,72 +18,90$"}, {"Importe cobrado:", "25,40$"}}},
      {"cmdEstadisticasRepartidor",
       {{"Total No se ha elegido repartidor", "Servicios: 1 +0,50 +1,00 +0,59 +6,50$"},
        {"Total Luis", "Servicios: 1 +0,00 +0,00 +1,72 +18,90$"}}},
  };
  for (const auto& informe : informes) {
    const QString texto = Pintar(QString::fromLatin1(informe.boton));
    for (const auto& [rotulo, patron] : informe.lineas) {
      const QString linea = prueba::LineaCon(texto, QString::fromUtf8(rotulo)).trimmed();
      EXPECT_TRUE(linea.contains(QRegularExpression(QString::fromUtf8(patron))))
          << informe.boton << ": «" << linea.toStdString() << "» no casa con " << patron;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, PlantillasZonas, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
