// El formulario de gráficos como lo usa el gestor: la carga con su título y
// su botón de tabla, los estilos con la dimensión que vale al pulsar el
// siguiente, los colores, la tabla día por hora y la impresión. Lo plano
// corre sin pantalla; el relieve, bajo Xvfb (CRONICAS_RELIEVE).

#include "charts/DibujoGrafico.h"
#include "charts/frmGraficos.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>

#include <QLabel>
#include <QLocale>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool ConRelieve() {
  return qEnvironmentVariableIntValue("CRONICAS_RELIEVE") == 1;
}

class FormularioGraficos : public testing::TestWithParam<prueba::Motor> {
 protected:
  FormularioGraficos() : tienda(GetParam()) {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    tienda.ejecutar(QStringLiteral("INSERT INTO salones (codigo, nombre) VALUES (1, 'Comedor'), (2, 'Terraza')"));
    tienda.ejecutar(QStringLiteral(
        "INSERT INTO cabecera_factura (numero, fechaventa, hora, total, descuento, zona_venta, borrar) VALUES"
        " (1, '2026-03-01', '23:15:00', 10.5, 1, 1, 0), (2, '2026-03-04', '00:40:00', 20, 0, 2, 0),"
        " (3, '2025-03-04', '13:00:00', 8, 0, 2, 0)"));
  }

  std::unique_ptr<frmGraficos> Abrir(qint16 codigo, const QString& titulo) {
    auto f = std::make_unique<frmGraficos>(
        frmGraficos::Entorno{&tienda.ajustes, &tienda.notificador, QColor(), QRect(0, 0, 1024, 768)});
    f->NombreGrafico = titulo;
    f->mes = QStringLiteral("3");
    f->año = QStringLiteral("2026");
    f->NumGrafico = codigo;
    f->Cargar();
    return f;
  }

  template <class T>
  static T* Control(QWidget* f, const char* nombre) {
    T* c = f->findChild<T*>(QLatin1String(nombre));
    EXPECT_NE(c, nullptr) << nombre;
    return c;
  }

  static void Pulsar(QWidget* f, const char* nombre) {
    if (auto* b = Control<QAbstractButton>(f, nombre)) b->click();
  }

  prueba::Tienda tienda;
};

TEST_P(FormularioGraficos, LaCargaPoneTituloNotaYBotonDeTablaSoloEnHorasYReservas) {
  for (qint16 codigo = 0; codigo < graficos::kNumeroGraficos; ++codigo) {
    SCOPED_TRACE(codigo);
    auto f = Abrir(codigo, QStringLiteral("Titulo del boton"));
    const bool conTabla = codigo == 5 || codigo == 7;
    EXPECT_EQ(Control<QWidget>(f.get(), "cmdFormatoTabla")->isVisibleTo(f.get()), conTabla);
    EXPECT_EQ(Control<QLabel>(f.get(), "lblTituloGrafico")->text(),
              codigo == 5 ? QStringLiteral("Ventas en el mes marzo (Acumulado x Horas)")
                          : QStringLiteral("Titulo del boton"));
    EXPECT_EQ(f->tipoGrafico(), 1) << "empieza en barras planas";
    ASSERT_NE(f->graficoPlano(), nullptr);
  }
  auto f = Abrir(graficos::kDescuentos, QStringLiteral("Descuentos Realizados"));
  EXPECT_EQ(f->serie().pie, QStringLiteral("Descuentos realizados en marzo del 2026"));
  EXPECT_EQ(f->serie().valores.size(), 31u);
  EXPECT_EQ(f->serie().valores[0], 1.0);
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty());
}

TEST_P(FormularioGraficos, LaDimensionValeAlPulsarElEstiloYLaTartaEsSiemprePlana) {
  auto f = Abrir(graficos::kCajaPorDias, QStringLiteral("Caja Total por Dias"));
  QChart* antes = f->graficoPlano();
  Pulsar(f.get(), "op3D");
  EXPECT_EQ(f->modoGrafico, 2);
  EXPECT_EQ(f->tipoGrafico(), 1) << "elegir 3 D no redibuja";
  EXPECT_EQ(f->graficoPlano(), antes);
  Pulsar(f.get(), "Command3");
  EXPECT_EQ(f->tipoGrafico(), 14);
  EXPECT_NE(f->graficoPlano(), nullptr) << "la tarta en 3 D sigue plana";
  Pulsar(f.get(), "op2D");
  Pulsar(f.get(), "Command2");
  EXPECT_EQ(f->tipoGrafico(), 3);
  Pulsar(f.get(), "Command4");
  EXPECT_EQ(f->tipoGrafico(), 5);
  if (ConRelieve()) {
    // En relieve no queda gráfico plano: lo dibuja Data Visualization.
    Pulsar(f.get(), "op3D");
    for (const auto& [boton, tipo] : {std::pair("Command1", 0), std::pair("Command2", 2), std::pair("Command4", 4)}) {
      Pulsar(f.get(), boton);
      EXPECT_EQ(f->tipoGrafico(), tipo);
      EXPECT_EQ(f->graficoPlano(), nullptr);
      EXPECT_NE(f->findChild<QWidget*>(QStringLiteral("Grafico")), nullptr);
    }
  }
}

TEST_P(FormularioGraficos, CadaBotonDeColorPintaLaSerieConSuColor) {
  auto f = Abrir(graficos::kCajaPorDias, QStringLiteral("Caja Total por Dias"));
  const std::pair<const char*, QColor> botones[] = {
      {"cmdAmarillo", QColor(222, 206, 14)}, {"cmdAzul", QColor(23, 4, 193)},   {"cmdCeleste", QColor(1, 227, 233)},
      {"cmdRojo", QColor(192, 29, 5)},       {"cmdVerde", QColor(13, 200, 27)}, {"cmdNaranja", QColor(188, 87, 12)},
  };
  for (const char* estilo : {"Command1", "Command2", "Command4"}) {
    Pulsar(f.get(), estilo);
    for (const auto& [boton, color] : botones) {
      Pulsar(f.get(), boton);
      ASSERT_NE(f->graficoPlano(), nullptr);
      EXPECT_EQ(graficos::ColorDeSerie(*f->graficoPlano()), color) << estilo << " " << boton;
    }
  }
  // El color se queda al cambiar de estilo.
  Pulsar(f.get(), "Command1");
  EXPECT_EQ(graficos::ColorDeSerie(*f->graficoPlano()), QColor(188, 87, 12));
}

TEST_P(FormularioGraficos, LaTablaDejaEnBlancoLosCerosYUnEstiloVuelveAlGrafico) {
  auto f = Abrir(graficos::kVentasPorHoras, QStringLiteral("Ventas en el mes (Acumulado por Horas)"));
  const std::vector<double> valores = f->serie().valores;
  Pulsar(f.get(), "cmdFormatoTabla");
  auto* rejilla = Control<QTableWidget>(f.get(), "grid_Detalles");
  EXPECT_TRUE(Control<QWidget>(f.get(), "frGrid")->isVisibleTo(f.get()));
  EXPECT_FALSE(Control<QWidget>(f.get(), "fr_grafico")->isVisibleTo(f.get()));
  EXPECT_EQ(Control<QLabel>(f.get(), "lblX")->text(), QStringLiteral("Dias"));
  EXPECT_EQ(Control<QLabel>(f.get(), "lblY")->text(), QStringLiteral("Horas"));
  EXPECT_EQ(rejilla->item(0, 0)->text(), QStringLiteral("23 - 24"));
  EXPECT_EQ(rejilla->item(0, 1)->text(), QStringLiteral("1"));
  EXPECT_EQ(rejilla->item(23, 4)->text(), QStringLiteral("1"));
  EXPECT_EQ(rejilla->item(0, 32)->text(), QStringLiteral("10,5"));
  EXPECT_EQ(rejilla->item(5, 5)->text(), QString()) << "un cero se deja en blanco";
  EXPECT_EQ(rejilla->item(24, 0)->text(), QString());
  EXPECT_EQ(rejilla->item(24, 31)->text(), QStringLiteral("31"));
  EXPECT_EQ(rejilla->item(24, 7)->background().color(), QColor(192, 192, 192));
  EXPECT_EQ(rejilla->item(7, 0)->background().color(), QColor(192, 192, 192));
  EXPECT_EQ(rejilla->item(7, 32)->background().color(), QColor(255, 255, 128));
  EXPECT_EQ(rejilla->item(7, 5)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignBottom));
  EXPECT_NEAR(rejilla->columnWidth(32), 2 * rejilla->columnWidth(0), 1) << "cada ancho se redondea por su lado";
  EXPECT_LT(rejilla->columnWidth(5), rejilla->columnWidth(0));

  Pulsar(f.get(), "Command2");
  EXPECT_FALSE(Control<QWidget>(f.get(), "frGrid")->isVisibleTo(f.get()));
  EXPECT_TRUE(Control<QWidget>(f.get(), "fr_grafico")->isVisibleTo(f.get()));
  EXPECT_EQ(f->serie().valores, valores);
  EXPECT_EQ(f->tipoGrafico(), 3);
}

TEST_P(FormularioGraficos, ElAnioAnteriorSoloSaleSiSePideYLaImpresionLlevaElTituloDelBoton) {
  auto f = Abrir(graficos::kVentasPorZonas, QStringLiteral("Ventas por zonas"));
  auto barras = [&] {
    auto* s = qobject_cast<QBarSeries*>(f->graficoPlano()->series().constFirst());
    return s ? s->count() : -1;
  };
  EXPECT_EQ(barras(), 1);
  Pulsar(f.get(), "chkAnoAnterior");
  ASSERT_EQ(barras(), 2);
  auto* anterior = qobject_cast<QBarSeries*>(f->graficoPlano()->series().constFirst())->barSets().constFirst();
  EXPECT_EQ(anterior->at(1), 8.0) << "la Terraza de marzo de 2025";
  Pulsar(f.get(), "chkAnoAnterior");
  EXPECT_EQ(barras(), 1);

  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("grafico.pdf"));
  {
    QPdfWriter impresora(pdf);
    f->imprimirEn(impresora);
  }
  const QString texto = prueba::TextoPdf(pdf);
  EXPECT_TRUE(texto.contains(QStringLiteral("Ventas por zonas"))) << texto.toStdString();
  EXPECT_FALSE(texto.contains(QStringLiteral("realizados en"))) << "la nota al pie no es el título";
}

INSTANTIATE_TEST_SUITE_P(Motores, FormularioGraficos, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

// El relieve pintado a imagen: con el color elegido y la cinta del año
// anterior detrás.
TEST(DibujoRelieve, BarrasLineasYAreaSePintanConSuColor) {
  if (!ConRelieve()) GTEST_SKIP() << "el relieve necesita OpenGL: se prueba bajo Xvfb";
  graficos::Serie s;
  s.rotulos = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
  s.claves = {1, 2, 3};
  s.valores = {5, 12, 8};
  const graficos::Serie anterior = s;
  for (int tipo : {0, 2, 4}) {
    SCOPED_TRACE(tipo);
    const QImage imagen =
        graficos::PintarGrafico(s, {tipo, QColor(192, 29, 5), tipo == 0 ? &anterior : nullptr}, QSize(400, 300));
    ASSERT_FALSE(imagen.isNull());
    EXPECT_EQ(imagen.size(), QSize(400, 300));
    int rojizos = 0;
    for (int y = 0; y < imagen.height(); y += 2)
      for (int x = 0; x < imagen.width(); x += 2) {
        const QColor c = imagen.pixelColor(x, y);
        rojizos += c.red() > 2 * c.green() + 20 && c.red() > 2 * c.blue() + 20;
      }
    EXPECT_GT(rojizos, 50);
  }
}

}  // namespace
