// Lo que en la ventana preguntan los diálogos de formato de zonas y de
// agrupación, en la línea de órdenes: --formato-zonas elige también la
// plantilla, y cada opción sólo vale para el botón que tiene ese diálogo.

#include "app/LineaComandos.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

class ZonasEnLaLineaDeOrdenes : public testing::Test {
 protected:
  void SetUp() override {
    datos::Conexion::abrir(bases.fuenteVentas())->ejecutarGuion(prueba::GuionTienda(QStringLiteral("zonas")));
    ini = QDir(bases.carpeta()).filePath(QStringLiteral("ajustes.ini"));
    ASSERT_TRUE(prueba::escribirBytes(
        ini, QStringLiteral("[fuentes]\nhosteleria=%1\nInformes=%2\n[equipo]\nidentificador=1234\n")
                 .arg(bases.textoVentas(), bases.textoInformes())
                 .toUtf8()));
  }

  struct Resultado {
    int codigo;
    QString salida, errores;
  };
  Resultado Informe(const QStringList& args) {
    QBuffer salida, errores;
    salida.open(QIODevice::WriteOnly);
    errores.open(QIODevice::WriteOnly);
    app::Consola consola{salida, errores, reloj};
    const QStringList todo = QStringList{QStringLiteral("--ajustes"), ini, QStringLiteral("informe")} + args +
                             QStringList{QStringLiteral("--desde"), QStringLiteral("2026-03-01"),
                                         QStringLiteral("--hasta"), QStringLiteral("2026-03-05")};
    const int codigo = app::EjecutarLineaComandos(todo, consola);
    return {codigo, QString::fromUtf8(salida.data()), QString::fromUtf8(errores.data())};
  }

  prueba::Bases bases{prueba::Motor::SQLite};
  sistema::RelojFijo reloj{QDateTime(QDate(2026, 3, 6), QTime(9, 0))};
  QString ini;
};

TEST_F(ZonasEnLaLineaDeOrdenes, ElFormatoYLaAgrupacionLleganAlInformeYASuPlantilla) {
  EXPECT_FALSE(Informe({"cmdVentasXZonas"}).salida.contains("Zona: Comedor")) << "por defecto, el general";
  EXPECT_TRUE(Informe({"cmdVentasXZonas", "--formato-zonas", "2"}).salida.contains("Zona: Comedor"));
  const QString pdf = QDir(bases.carpeta()).filePath(QStringLiteral("zonas.pdf"));
  ASSERT_EQ(Informe({"cmdVentasXZonas", "--formato-zonas=2", "--pdf", pdf}).codigo, app::kSalidaBien);
  EXPECT_TRUE(prueba::TextoPdf(pdf).contains("Ventas por zonas y productos"));

  // Los nombres de los camareros sólo van en las líneas agrupadas por empleado.
  EXPECT_FALSE(Informe({"cmdVentasXFamilias"}).salida.contains("Pedro"));
  EXPECT_TRUE(Informe({"cmdVentasXFamilias", "--por-empleados"}).salida.contains("Pedro"));
  EXPECT_TRUE(Informe({"cmdVentasXFamilias", "--por-zonas"}).salida.contains("Zona: Teléfono"));

  const std::pair<QStringList, const char*> mal[] = {
      {{"cmdVentasXHoras", "--por-zonas"}, "no lleva --por-zonas"},
      {{"cmdVXZonasTotXProducto", "--formato-zonas", "1"}, "no lleva --formato-zonas"},
      {{"cmdVentasXZonas", "--formato-zonas", "3"}, "como mucho 2"},
      {{"cmdVentasXFamilias", "--por-zonas", "--por-empleados"}, "no van juntas"},
  };
  for (const auto& [args, mensaje] : mal) {
    const Resultado r = Informe(args);
    EXPECT_EQ(r.codigo, app::kSalidaUso) << args.join(' ').toStdString();
    EXPECT_TRUE(r.errores.contains(QString::fromUtf8(mensaje))) << r.errores.toStdString();
  }
}

}  // namespace
