// Los listados de datos maestros de punta a punta: el constructor sobre la
// tienda de tests/fixtures/maestros.sql, su plantilla, el PDF leído
// con pdftotext y la hoja leída celda a celda, en cada motor.

#include "platform/motor/Informe.h"
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

namespace {

using prueba::Motor;

class PlantillasMaestros : public testing::TestWithParam<Motor> {
 protected:
  PlantillasMaestros() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("maestros")));
  }

  // Ejecuta el botón y escribe su PDF y su hoja; devuelve el texto del PDF.
  QString generar(const QString& boton) {
    const registro::BotonInforme* b = registro::BuscarBoton(boton);
    EXPECT_NE(b, nullptr);
    if (!b) return {};
    const registro::Ejecucion e = registro::EjecutarConstructor(*b, tienda.contexto);
    EXPECT_EQ(e.resultado, registro::Resultado::ConDatos) << e.error.toStdString();
    filas = tienda.filas();
    pdf = dir.filePath(boton + QStringLiteral(".pdf"));
    xlsx = dir.filePath(boton + QStringLiteral(".xlsx"));
    EXPECT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, b->plantilla,
                                         {QString(), QStringLiteral("es_ES")}, {pdf, xlsx}, tienda.notificador,
                                         tienda.reloj));
    celdas = prueba::LeerXlsx(xlsx);
    return prueba::TextoPdf(pdf);
  }

  // Número de fila de la hoja donde está el texto, y la celda de la columna
  // `columna` en esa fila.
  const prueba::Celda* enLaFilaDe(const QString& texto, const QString& columna) const {
    const QString ref = prueba::BuscarCelda(celdas, texto);
    if (ref.isEmpty()) return nullptr;
    const QString fila = ref.mid(ref.indexOf(QRegularExpression(QStringLiteral("\\d"))));
    auto it = celdas.find(columna + fila);
    return it == celdas.end() ? nullptr : &it->second;
  }

  static QString numero(double v) { return motor::TextoNumero(v, 2, true, QLocale(QLocale::Spanish, QLocale::Spain)); }

  prueba::Tienda tienda;
  QTemporaryDir dir;
  std::vector<QVariantMap> filas;
  QString pdf, xlsx;
  std::map<QString, prueba::Celda> celdas;
};

TEST_P(PlantillasMaestros, ProductosAgrupadosPorFamiliaConSusColumnas) {
  const QString texto = generar(QStringLiteral("cmdProductos"));
  EXPECT_TRUE(texto.contains(QStringLiteral("Taberna La Ñora")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Calle Mayor 12 - Murcia")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Fecha: 06/03/2026")));
  const int paginas = prueba::PaginasPdf(pdf);
  ASSERT_GE(paginas, 1);
  EXPECT_TRUE(texto.contains(QStringLiteral("Página 1 de %1").arg(paginas)));
  EXPECT_TRUE(texto.contains(QStringLiteral("Página %1 de %1").arg(paginas)));
  // Nombre, descripción, lugar y precio de un producto, en ese orden y en
  // una línea; la descripción que no cabe sigue en la línea de abajo.
  const QString croquetas = prueba::LineaCon(texto, QStringLiteral("Croquetas caseras"));
  EXPECT_TRUE(croquetas.contains(QRegularExpression(
      QStringLiteral("Croquetas caseras\\s+Croquetas de jamón,\\s+(\\S+\\s+)?Cocina\\s+7,50\\s+10,00"))))
      << croquetas.toStdString();
  const QStringList lineas = texto.split(QLatin1Char('\n'));
  EXPECT_TRUE(lineas.value(lineas.indexOf(croquetas) + 1).trimmed().startsWith(QStringLiteral("ración")));
  // Cada familia con su cabecera y su cuenta; la familia sale antes que sus productos.
  QMap<QString, int> porFamilia;
  for (const QVariantMap& f : filas) porFamilia[f.value(QStringLiteral("texto8")).toString()]++;
  for (auto it = porFamilia.cbegin(); it != porFamilia.cend(); ++it) {
    const int cabecera = texto.indexOf(QStringLiteral("Familia: ") + it.key());
    EXPECT_GE(cabecera, 0) << it.key().toStdString();
    const QString cuenta = QStringLiteral("%1 productos").arg(it.value());
    EXPECT_GE(texto.indexOf(cuenta, cabecera), 0) << it.key().toStdString();
  }
  EXPECT_LT(texto.indexOf(QStringLiteral("Familia: Cafés")), texto.indexOf(QStringLiteral("café solo")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Total: %1 productos").arg(filas.size())));
  // En la hoja, el precio es un número con dos decimales en la columna Precio.
  const prueba::Celda* precio = enLaFilaDe(QStringLiteral("Croquetas caseras"), QStringLiteral("E"));
  ASSERT_NE(precio, nullptr);
  EXPECT_TRUE(precio->numero);
  EXPECT_DOUBLE_EQ(precio->valor, 7.5);
  EXPECT_EQ(precio->formato, QStringLiteral("#,##0.00"));
  EXPECT_FALSE(prueba::BuscarCelda(celdas, QStringLiteral("Familia: Entrantes")).isEmpty());
}

TEST_P(PlantillasMaestros, ValoracionDeStockConElValorDeCadaLineaYElTotal) {
  const QString texto = generar(QStringLiteral("cmdStockGeneral"));
  double total = 0;
  for (const QVariantMap& f : filas)
    total += f.value(QStringLiteral("numerico1")).toDouble() * f.value(QStringLiteral("numerico3")).toDouble();
  ASSERT_GT(total, 0);
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Valor total del stock")).contains(numero(total)))
      << prueba::LineaCon(texto, QStringLiteral("Valor total")).toStdString();
  // Agua: coste 0,35 × 48 = 16,80, al final de su línea.
  const QString agua = prueba::LineaCon(texto, QStringLiteral("Agua mineral 50cl"));
  EXPECT_TRUE(agua.contains(QRegularExpression(QStringLiteral("V\\s+0,35\\s+1,50\\s+48,00\\s+16,80\\s*$"))))
      << agua.toStdString();
  const prueba::Celda* valor = enLaFilaDe(QStringLiteral("Agua mineral 50cl"), QStringLiteral("F"));
  ASSERT_NE(valor, nullptr);
  EXPECT_TRUE(valor->numero);
  EXPECT_NEAR(valor->valor, 16.8, 1e-9);
  const prueba::Celda* suma = enLaFilaDe(QStringLiteral("Valor total del stock:"), QStringLiteral("F"));
  ASSERT_NE(suma, nullptr);
  EXPECT_NEAR(suma->valor, total, 1e-9);
  EXPECT_TRUE(suma->negrita);
}

TEST_P(PlantillasMaestros, FamiliasPorLugarDePreparacion) {
  const QString texto = generar(QStringLiteral("cmdFamilias"));
  // Sin lugar (Null o un código que no es barra ni cocina) primero, en un solo grupo.
  const int sin = texto.indexOf(QStringLiteral("Preparación: sin asignar"));
  const int barra = texto.indexOf(QStringLiteral("Preparación: Barra"));
  const int cocina = texto.indexOf(QStringLiteral("Preparación: Cocina"));
  ASSERT_GE(sin, 0);
  EXPECT_LT(sin, barra);
  EXPECT_LT(barra, cocina);
  EXPECT_EQ(texto.count(QStringLiteral("Preparación: sin asignar")), 1);
  EXPECT_GT(texto.indexOf(QStringLiteral("Tabaco")), sin);
  EXPECT_LT(texto.indexOf(QStringLiteral("Tabaco")), barra);
  EXPECT_GT(texto.indexOf(QStringLiteral("Ñoquis y pastas")), cocina);
  EXPECT_TRUE(texto.contains(QStringLiteral("Total: %1 familias").arg(filas.size())));
}

TEST_P(PlantillasMaestros, EmpleadosConSuDiaLibreYLaSumaDeSueldos) {
  const QString texto = generar(QStringLiteral("cmdEmpleados"));
  double sueldos = 0;
  for (const QVariantMap& f : filas) sueldos += f.value(QStringLiteral("numerico1")).toDouble();
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Suma de sueldos")).contains(numero(sueldos)));
  EXPECT_TRUE(texto.contains(QStringLiteral("Total: %1 empleados").arg(filas.size())));
  EXPECT_TRUE(texto.contains(QStringLiteral("Domingo")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Ana García López")));
}

TEST_P(PlantillasMaestros, LaClaveDeAccesoQuedaEnInformesPeroNoSeImprimeNiSeExporta) {
  const QString texto = generar(QStringLiteral("cmdEmpleados"));
  QStringList claves;
  for (const QVariantMap& f : filas) claves << f.value(QStringLiteral("texto17")).toString();
  claves.removeAll(QString());
  ASSERT_EQ(claves.size(), 5) << "el constructor sigue guardando la clave de cada empleado";
  // El usuario de cada uno sí sale: lo que falta es sólo la clave.
  EXPECT_TRUE(texto.contains(QStringLiteral("lucia")));
  EXPECT_FALSE(prueba::BuscarCelda(celdas, QStringLiteral("lucia")).isEmpty());
  EXPECT_FALSE(texto.contains(QStringLiteral("Clave")));
  for (const QString& clave : claves) {
    SCOPED_TRACE(clave.toStdString());
    EXPECT_FALSE(texto.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(clave))));
    for (const auto& [ref, celda] : celdas) EXPECT_NE(celda.texto, clave) << ref.toStdString();
  }
}

TEST_P(PlantillasMaestros, BajoMinimoEnHojaYEnTicket) {
  const QString hoja = generar(QStringLiteral("cmdBajoMinimo"));
  EXPECT_TRUE(prueba::LineaCon(hoja, QStringLiteral("Vino tinto crianza")).contains(QStringLiteral("-2,00")));
  const QString ticket = generar(QStringLiteral("cmdProdBajoMinimoTicket"));
  const QString vino = prueba::LineaCon(ticket, QStringLiteral("Vino tinto crianza"));
  EXPECT_TRUE(vino.contains(QRegularExpression(QStringLiteral("-2,00\\s+6,00")))) << vino.toStdString();
  EXPECT_TRUE(ticket.contains(QStringLiteral("Distribuciones Levante SL")));
  EXPECT_EQ(prueba::PaginasPdf(pdf), 1);  // un rollo es una sola tira
}

TEST_P(PlantillasMaestros, ClientesProveedoresYFormasDePago) {
  for (const QString& boton :
       {QStringLiteral("cmdClientes"), QStringLiteral("cmdProveedores"), QStringLiteral("cmdFormasPago")}) {
    SCOPED_TRACE(boton.toStdString());
    const QString texto = generar(boton);
    EXPECT_TRUE(texto.contains(QStringLiteral("Taberna La Ñora")));
    // Cada fila que el constructor escribió tiene su nombre en el PDF y en la hoja.
    for (const QVariantMap& f : filas) {
      const QString nombre =
          f.value(boton == QLatin1String("cmdFormasPago") ? QStringLiteral("texto2") : QStringLiteral("texto10"))
              .toString();
      if (nombre.trimmed().isEmpty()) continue;
      EXPECT_TRUE(texto.contains(nombre.trimmed())) << nombre.toStdString();
      EXPECT_FALSE(prueba::BuscarCelda(celdas, nombre).isEmpty()) << nombre.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, PlantillasMaestros, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
