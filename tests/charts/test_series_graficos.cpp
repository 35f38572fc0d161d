// Las series de los gráficos del mes y la tabla día por hora sobre una
// tienda pequeña de marzo de 2026 con los casos que deciden cada fila: una
// venta borrada, una a 0 con descuento, una en negativo, las 23:15 y las
// 00:40, ventas fuera del mes, zonas y empleados sin ventas, un teléfono que
// reserva dos veces el mismo día.

#include "charts/SeriesGraficos.h"
#include "platform/datos/Esquemas.h"
#include "startup/EjerciciosCerrados.h"
#include "support/BasesPrueba.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

using graficos::LeerSerie;
using prueba::Motor;

struct Venta {
  int numero;
  const char* dia;
  const char* hora;
  double total;
  double descuento;
  int zona;
  int camarero;
  int borrar;
};

// Lo que cuenta en marzo y lo que no.
const Venta kVentas[] = {
    {1, "2026-03-01", "23:15:00", 10.50, 1.00, 1, 1, 0},   {2, "2026-03-01", "00:40:00", 20.00, 0.00, 2, 2, 0},
    {3, "2026-03-01", "12:00:00", 0.00, 2.50, 1, 1, 0},     // a 0: su descuento cuenta
    {4, "2026-03-02", "12:30:00", -5.00, 0.00, 1, 2, 0},    // en negativo
    {5, "2026-03-02", "13:00:00", 100.00, 7.00, 2, 1, -1},  // borrada como la guardaba Access
    {6, "2026-03-31", "21:05:00", 30.25, 0.75, 2, 1, 0},   {7, "2026-02-28", "12:00:00", 99.00, 9.00, 1, 1, 0},
    {8, "2026-04-01", "00:10:00", 77.00, 7.00, 1, 1, 0},
};

class SeriesGraficos : public testing::TestWithParam<Motor> {
 protected:
  SeriesGraficos() : tienda(GetParam()) {}

  void Llenar() {
    for (const Venta& v : kVentas)
      tienda.insertar(QStringLiteral("cabecera_factura"), {{QStringLiteral("numero"), v.numero},
                                                           {QStringLiteral("fechaventa"), QString::fromLatin1(v.dia)},
                                                           {QStringLiteral("hora"), QString::fromLatin1(v.hora)},
                                                           {QStringLiteral("total"), v.total},
                                                           {QStringLiteral("descuento"), v.descuento},
                                                           {QStringLiteral("zona_venta"), v.zona},
                                                           {QStringLiteral("codigo_camarero"), v.camarero},
                                                           {QStringLiteral("borrar"), v.borrar}});
    for (const auto& [codigo, nombre] : {std::pair(1, "Comedor"), std::pair(2, "Terraza"), std::pair(3, "Barra")})
      tienda.insertar(QStringLiteral("salones"),
                      {{QStringLiteral("codigo"), codigo}, {QStringLiteral("nombre"), QString::fromLatin1(nombre)}});
    tienda.insertar(QStringLiteral("empleados"), {{QStringLiteral("codigo"), 3},
                                                  {QStringLiteral("nombre"), QStringLiteral("Eva")},
                                                  {QStringLiteral("apellidos"), QStringLiteral("Ruiz")}});
    tienda.insertar(QStringLiteral("empleados"), {{QStringLiteral("codigo"), 1},
                                                  {QStringLiteral("nombre"), QStringLiteral("Ana")},
                                                  {QStringLiteral("apellidos"), QString::fromUtf8("López")}});
    tienda.insertar(QStringLiteral("empleados"), {{QStringLiteral("codigo"), 2}, {QStringLiteral("nombre"), "Luis"}});
    auto gasto = [&](const char* dia, QVariant decimal) {
      tienda.insertar(QStringLiteral("gastos"), {{QStringLiteral("fecha"), QString::fromLatin1(dia)},
                                                 {QStringLiteral("importe"), 3.0},
                                                 {QStringLiteral("importe_decimal"), decimal}});
    };
    gasto("2026-03-05", 12.5);
    gasto("2026-03-05", 7.5);
    gasto("2026-03-06", QVariant());  // sin el exacto: cuenta el entero
    for (const auto& [dia, importe] :
         {std::pair("2026-03-10", 50.0), std::pair("2026-03-10", 25.0), std::pair("2026-04-01", 100.0)})
      tienda.insertar(QStringLiteral("retiradas"),
                      {{QStringLiteral("fecha"), QString::fromLatin1(dia)}, {QStringLiteral("importe"), importe}});
    auto reserva = [&](const char* dia, const char* hora, QVariant telefono) {
      tienda.insertar(QStringLiteral("reservas"), {{QStringLiteral("fecha"), QString::fromLatin1(dia)},
                                                   {QStringLiteral("hora"), QString::fromLatin1(hora)},
                                                   {QStringLiteral("telefono"), telefono}});
    };
    reserva("2026-03-14", "20:00:00", QStringLiteral("600111222"));
    reserva("2026-03-14", "21:30:00", QStringLiteral("600111222"));
    reserva("2026-03-14", "20:15:00", QStringLiteral("600333444"));
    reserva("2026-03-15", "13:00:00", QVariant());
    reserva("2026-03-15", "14:00:00", QVariant());
  }

  graficos::Serie Marzo(qint16 codigo) { return LeerSerie(*tienda.ajustes.ConexionVentas, codigo, 3, 2026); }

  prueba::Tienda tienda;
};

// Los valores distintos de cero de una serie, por rótulo.
std::map<QString, double> NoCeros(const graficos::Serie& s) {
  std::map<QString, double> r;
  for (size_t i = 0; i < s.valores.size(); ++i)
    if (s.valores[i] != 0) r[s.rotulos.at(static_cast<qsizetype>(i))] = s.valores[i];
  return r;
}

TEST_P(SeriesGraficos, LasFilasSonLosDiasDelMesLasHorasDelDiaYCeroSinDatos) {
  struct Mes {
    int mes, anio, dias;
  };
  for (const Mes m : {Mes{2, 2024, 29}, Mes{2, 2025, 28}, Mes{4, 2026, 30}, Mes{3, 2026, 31}, Mes{12, 2026, 31}})
    for (qint16 codigo : {graficos::kDescuentos, graficos::kGastos, graficos::kRetiradas, graficos::kCajaPorDias,
                          graficos::kReservas}) {
      SCOPED_TRACE(testing::Message() << m.mes << "/" << m.anio << " gráfico " << codigo);
      const graficos::Serie s = LeerSerie(*tienda.ajustes.ConexionVentas, codigo, m.mes, m.anio);
      ASSERT_EQ(s.rotulos.size(), m.dias);
      EXPECT_EQ(s.rotulos.first(), QStringLiteral("1"));
      EXPECT_EQ(s.rotulos.last(), QString::number(m.dias));
      EXPECT_EQ(s.valores, std::vector<double>(m.dias, 0.0));
      EXPECT_EQ(s.tituloX, QStringLiteral("Dias del Mes"));
    }
  const graficos::Serie horas = Marzo(graficos::kVentasPorHoras);
  ASSERT_EQ(horas.rotulos.size(), 24);
  EXPECT_EQ(horas.rotulos.first(), QStringLiteral("1"));
  EXPECT_EQ(horas.rotulos.last(), QStringLiteral("24"));
  EXPECT_EQ(horas.valores, std::vector<double>(24, 0.0));
  // Sin zonas ni empleados no hay filas.
  EXPECT_TRUE(Marzo(graficos::kVentasPorZonas).valores.empty());
}

TEST_P(SeriesGraficos, CadaGraficoCuentaLoQueLeTocaDelMes) {
  Llenar();
  using M = std::map<QString, double>;
  // Descuentos: también el de la venta a 0; nunca la borrada ni otro mes.
  EXPECT_EQ(NoCeros(Marzo(graficos::kDescuentos)), (M{{"1", 3.5}, {"31", 0.75}}));
  // Caja: sólo totales positivos.
  EXPECT_EQ(NoCeros(Marzo(graficos::kCajaPorDias)), (M{{"1", 30.5}, {"31", 30.25}}));
  // Gastos: el importe exacto de cada uno, o su entero si no lo tiene.
  EXPECT_EQ(NoCeros(Marzo(graficos::kGastos)), (M{{"5", 20.0}, {"6", 3.0}}));
  EXPECT_EQ(NoCeros(Marzo(graficos::kRetiradas)), (M{{"10", 75.0}}));
  // Un teléfono por día aunque reserve dos veces; las reservas sin teléfono,
  // una.
  EXPECT_EQ(NoCeros(Marzo(graficos::kReservas)), (M{{"14", 2.0}, {"15", 1.0}}));
  // Las 00:40 son la fila 1, las 23:15 la 24; la venta de las 00:10 es de
  // abril.
  EXPECT_EQ(NoCeros(Marzo(graficos::kVentasPorHoras)), (M{{"1", 20.0}, {"22", 30.25}, {"24", 10.5}}));

  // Zonas y empleados en orden de código, también sin ventas. En la zona
  // cuentan las ventas a 0 y en negativo; en el empleado no.
  const graficos::Serie zonas = Marzo(graficos::kVentasPorZonas);
  EXPECT_EQ(zonas.tituloX, QStringLiteral("Zonas"));
  EXPECT_EQ(zonas.rotulos, (QStringList{"Comedor", "Terraza", "Barra"}));
  EXPECT_EQ(zonas.valores, (std::vector<double>{5.5, 50.25, 0.0}));
  const graficos::Serie empleados = Marzo(graficos::kVentasPorEmpleados);
  EXPECT_EQ(empleados.tituloX, QStringLiteral("Empleados"));
  EXPECT_EQ(empleados.rotulos, (QStringList{QString::fromUtf8("Ana López"), "Luis ", "Eva Ruiz"}));
  EXPECT_EQ(empleados.valores, (std::vector<double>{40.75, 20.0, 0.0}));
}

TEST_P(SeriesGraficos, LaTablaCuentaCadaVentaYCadaReservaEnSuDiaYSuHora) {
  Llenar();
  const graficos::Matriz ventas =
      graficos::LeerMatriz(*tienda.ajustes.ConexionVentas, graficos::kVentasPorHoras, 3, 2026);
  EXPECT_EQ(ventas[0][0], QStringLiteral("23 - 24"));
  EXPECT_EQ(ventas[0][23], QStringLiteral("0 - 1"));
  EXPECT_EQ(ventas[1][0], QStringLiteral("1")) << "23:15 del día 1";
  EXPECT_EQ(ventas[1][23], QStringLiteral("1")) << "00:40 del día 1";
  EXPECT_EQ(ventas[1][11], QStringLiteral("1")) << "la venta a 0 cuenta en la tabla";
  EXPECT_EQ(ventas[2][11], QStringLiteral("1")) << "la de -5 también; la borrada no";
  EXPECT_EQ(ventas[31][2], QStringLiteral("1"));
  // La columna 32 suma los importes de la hora en el mes.
  EXPECT_EQ(ventas[32][0], QStringLiteral("10,5"));
  EXPECT_EQ(ventas[32][23], QStringLiteral("20"));
  EXPECT_EQ(ventas[32][11], QStringLiteral("-5"));
  EXPECT_EQ(ventas[32][2], QStringLiteral("30,25"));
  int llenas = 0;
  for (int c = 1; c <= 31; ++c)
    for (int r = 0; r < 24; ++r) llenas += ventas[c][r] != QLatin1String("0");
  EXPECT_EQ(llenas, 5);

  const graficos::Matriz reservas = graficos::LeerMatriz(*tienda.ajustes.ConexionVentas, graficos::kReservas, 3, 2026);
  EXPECT_EQ(reservas[14][3], QStringLiteral("2")) << "dos reservas a las 20, una de ellas del teléfono que repite";
  EXPECT_EQ(reservas[14][2], QStringLiteral("1"));
  EXPECT_EQ(reservas[15][10], QStringLiteral("1"));
  EXPECT_EQ(reservas[32][3], QStringLiteral("0"));

  // Vista como rejilla: lo que vale "0" queda en blanco.
  const QStringList renglones = graficos::MatrizCsv(ventas).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(renglones.size(), 25);
  EXPECT_EQ(renglones.first(), QStringLiteral("23 - 24;1") + QString(31, QLatin1Char(';')) + QStringLiteral("10,5"));
  EXPECT_EQ(renglones.at(1), QStringLiteral("22 - 23") + QString(32, QLatin1Char(';')));
  EXPECT_TRUE(renglones.last().startsWith(QStringLiteral(";1;2;3;")));
  EXPECT_TRUE(renglones.last().endsWith(QStringLiteral(";31;")));
}

INSTANTIATE_TEST_SUITE_P(Motores, SeriesGraficos, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

TEST(NotasDeGraficos, LaNotaAlPieNombraElMesEnElIdiomaDelSistema) {
  const QLocale antes;
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  EXPECT_EQ(graficos::NotaAlPie(graficos::kDescuentos, 3, 2024),
            QStringLiteral("Descuentos realizados en marzo del 2024"));
  EXPECT_EQ(graficos::NotaAlPie(graficos::kVentasPorHoras, 3, 2024),
            QStringLiteral("Ventas en el mes marzo (Acumulado x Horas)"));
  EXPECT_EQ(graficos::NotaAlPie(graficos::kReservas, 11, 2025),
            QStringLiteral("Reservas realizadas en noviembre del 2025"));
  EXPECT_EQ(graficos::TituloEjeY(graficos::kReservas), QStringLiteral("Reservas"));
  EXPECT_EQ(graficos::TituloEjeY(graficos::kVentasPorZonas), QStringLiteral("Importes"));
  QLocale::setDefault(QLocale(QLocale::English));
  EXPECT_EQ(graficos::NotaAlPie(graficos::kGastos, 3, 2024), QStringLiteral("Gastos realizados en March del 2024"));
  QLocale::setDefault(antes);
}

// El año cerrado se lee de su archivo, y la serie del año anterior se pone
// fila a fila por su clave: las zonas del archivo no son las de ahora.
TEST(SeriesGraficosArchivo, ElAnioCerradoSeLeeDeSuArchivoYSeAlineaPorClave) {
  prueba::Tienda tienda(Motor::SQLite);
  tienda.ajustes.FuenteVentasViva = tienda.bases.fuenteVentas();
  const QString ruta = ejercicios::RutaArchivo(tienda.bases.fuenteVentas().ruta, 2025);
  ASSERT_TRUE(QDir().mkpath(QFileInfo(ruta).path()));
  {
    datos::OpcionesApertura crear;
    crear.crearSiFalta = true;
    auto archivo = datos::Conexion::abrir(
        datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), QStringLiteral("sqlite:") + ruta), crear);
    datos::CrearEsquemaVentas(*archivo);
    archivo->ejecutar(QStringLiteral("INSERT INTO salones (codigo, nombre) VALUES (9, 'Antigua')"));
    archivo->ejecutar(
        QStringLiteral("INSERT INTO cabecera_factura (numero, fechaventa, hora, total, zona_venta, borrar)"
                       " VALUES (1, '2025-03-03', '12:00:00', 40, 9, 0)"));
  }
  tienda.ejecutar(QStringLiteral("INSERT INTO salones (codigo, nombre) VALUES (1, 'Comedor')"));
  // En la base en vivo queda una venta de 2025 que el archivo no tiene: no
  // se lee.
  tienda.ejecutar(
      QStringLiteral("INSERT INTO cabecera_factura (numero, fechaventa, hora, total, zona_venta, borrar)"
                     " VALUES (1, '2026-03-03', '12:00:00', 15, 1, 0), (2, '2025-03-03', '12:00:00', 999, 1, 0)"));

  const auto actual = graficos::CrearSerie(tienda.ajustes, graficos::kCajaPorDias, 3, 2026, tienda.notificador);
  const auto cerrado = graficos::CrearSerie(tienda.ajustes, graficos::kCajaPorDias, 3, 2025, tienda.notificador);
  EXPECT_FALSE(ejercicios::enArchivo(tienda.ajustes));
  EXPECT_EQ(cerrado.valores[2], 40.0);
  const auto alineada = graficos::AlinearAnterior(actual, cerrado);
  EXPECT_EQ(alineada.valores[2], 40.0);
  EXPECT_EQ(alineada.anio, 2025);
  EXPECT_EQ(alineada.rotulos, actual.rotulos);

  const auto zonas = graficos::CrearSerie(tienda.ajustes, graficos::kVentasPorZonas, 3, 2026, tienda.notificador);
  const auto zonasCerradas =
      graficos::CrearSerie(tienda.ajustes, graficos::kVentasPorZonas, 3, 2025, tienda.notificador);
  EXPECT_EQ(zonasCerradas.valores, std::vector<double>{40.0});
  // La zona 1 no existía en 2025: a su lado, 0, no lo de la zona 9.
  EXPECT_EQ(graficos::AlinearAnterior(zonas, zonasCerradas).valores, std::vector<double>{0.0});
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty());
}

}  // namespace
