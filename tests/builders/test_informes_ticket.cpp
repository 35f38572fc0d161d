// Los informes en formato ticket y las ventas eliminadas: el trazado de las
// líneas del ticket, el texto entero del listado detallado, los totales de
// tarjetas y de cheques de comida, las sumas del ticket por empleados, las
// tres clases de líneas eliminadas y sus plantillas pintadas de verdad.

#include "builders/InformesTicket.h"
#include "builders/VentasEliminadas.h"
#include "platform/motor/Informe.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "registro/SalidaInforme.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using prueba::Motor;

QString Blancos(int n) {
  return QString(n, QLatin1Char(' '));
}

TEST(LineasTicket, AnchosYCortes) {
  using informes::Centrar;
  using informes::DosColumnas;
  // 35: 17 blancos entre las dos columnas, 36 caracteres.
  EXPECT_EQ(DosColumnas(QStringLiteral("Nro. Factura"), QStringLiteral("Importe"), 35),
            QStringLiteral("Nro. Factura") + Blancos(17) + QStringLiteral("Importe"));
  // Justo lo que cabe: un blanco, ancho + 1.
  EXPECT_EQ(DosColumnas(QStringLiteral("abcd"), QStringLiteral("12345"), 9), QStringLiteral("abcd 12345"));
  // No cabe: la izquierda se corta a 13 - 8 - 3 = 2 caracteres y acaba en "... ".
  EXPECT_EQ(DosColumnas(QStringLiteral("Total General"), QStringLiteral("12,50"), 10), QStringLiteral("To... 12,50"));
  // Una derecha más larga que el ancho menos tres no rompe la línea: se queda
  // entera tras el corte.
  EXPECT_EQ(DosColumnas(QStringLiteral("Total"), QStringLiteral("1.234.567,89"), 10),
            QStringLiteral("... 1.234.567,89"));

  // 17 caracteres en 35: 9 blancos a cada lado; en 36, 37 caracteres.
  EXPECT_EQ(Centrar(QStringLiteral("Ventas Detalladas"), 35),
            Blancos(9) + QStringLiteral("Ventas Detalladas") + Blancos(9));
  EXPECT_EQ(Centrar(QStringLiteral("Ventas Detalladas"), 36).size(), 37);
  EXPECT_EQ(Centrar(QStringLiteral("Ventas Detalladas"), 17), QStringLiteral("Ventas Detalladas"));
  EXPECT_EQ(Centrar(QStringLiteral("Ventas Detalladas y algo más"), 17),
            QStringLiteral("Ventas Detalladas y algo más"));
}

class InformesTicket : public testing::TestWithParam<Motor> {
 protected:
  InformesTicket() : tienda(GetParam()) {
    tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
    tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
  }

  void Venta(int numero, const char* fecha, const char* fechaVenta, int pago, double total, double efectivo = 0,
             double tarjeta = 0, double descuento = 0, double recargo = 0, int borrar = 0) {
    tienda.insertar(QStringLiteral("cabecera_factura"), {{"numero", numero},
                                                         {"fecha", fecha},
                                                         {"fechaventa", fechaVenta},
                                                         {"pago", pago},
                                                         {"total", total},
                                                         {"efectivo", efectivo},
                                                         {"tarjeta", tarjeta},
                                                         {"descuento", descuento},
                                                         {"recargo", recargo},
                                                         {"borrar", borrar}});
  }

  void Linea(int factura, int camarero, const QVariant& nombre, double precio, double descuento, double recargo,
             int borrar = 0) {
    tienda.insertar(QStringLiteral("detalle_factura"), {{"num_factura", factura},
                                                        {"codcamarero", camarero},
                                                        {"nombrecamarero", nombre},
                                                        {"precio", precio},
                                                        {"descuento", descuento},
                                                        {"recargo", recargo},
                                                        {"borrar", borrar}});
  }

  void FormasDePago() {
    tienda.insertar(QStringLiteral("formapago"), {{"codigo", 1}, {"nombre", "Efectivo"}, {"tarjeta", 0}});
    tienda.insertar(QStringLiteral("formapago"), {{"codigo", 2}, {"nombre", "Cheque comida"}, {"tarjeta", 0}});
    tienda.insertar(QStringLiteral("formapago"), {{"codigo", 3}, {"nombre", "Visa"}, {"tarjeta", -1}});
  }

  QString Listado(int ancho) {
    informes::CrearListadoTicket(tienda.contexto);
    return informes::ComponerListadoTicket(*tienda.ajustes.ConexionInformes, ancho, 2,
                                           QLocale(QLocale::Spanish, QLocale::Spain))
        .texto;
  }

  prueba::Tienda tienda;
};

TEST_P(InformesTicket, ListadoDetalladoEnteroConTarjetasYChequesDeComida) {
  tienda.insertar(QStringLiteral("opciones"),
                  {{"identificador", "1"}, {"nombre", "Bar Sol"}, {"direccion", "Plaza 1"}});
  FormasDePago();
  Venta(10, "2026-03-02", "2026-03-02", 3, 1234.5);
  // Repartida: sólo los 7,50 de tarjeta van a las tarjetas.
  Venta(11, "2026-03-02", "2026-03-02", 1, 12.5, 5, 7.5, 0, 1);
  // Cheque de comida entero, abierta la víspera.
  Venta(12, "2026-03-02", "2026-03-03", 2, 8, 0, 0, 2);
  // Borrada y fuera del intervalo: no cuentan en nada.
  Venta(13, "2026-03-04", "2026-03-04", 3, 100, 0, 0, 0, 0, -1);
  Venta(14, "2026-03-06", "2026-03-06", 3, 70);
  tienda.insertar(QStringLiteral("gastos"), {{"fecha", "2026-03-02"}, {"importe", 3}, {"importe_decimal", 3.25}});

  const QString nota = QStringLiteral(
      "NOTA: En este listado aparecen ventas con fecha de apertura anterior a la fecha de cierre, para solucionar "
      "este problema configure el horario de atencion al cliente desde configuracion / otras opciones.");
  const QStringList esperadas = {
      QStringLiteral("Bar Sol"),
      QStringLiteral("Plaza 1"),
      QStringLiteral(" "),
      Blancos(8) + QStringLiteral("Ventas Detalladas") + Blancos(8),
      QStringLiteral(" "),
      QStringLiteral("Desde 01/03/2026"),
      QStringLiteral("Hasta 05/03/2026"),
      QStringLiteral(" "),
      QStringLiteral("Nro. Factura") + Blancos(14) + QStringLiteral("Importe"),
      QStringLiteral("10") + Blancos(23) + QStringLiteral("1.234,50"),
      QStringLiteral("11") + Blancos(26) + QStringLiteral("12,50"),
      QStringLiteral("12") + Blancos(27) + QStringLiteral("8,00"),
      QString(33, QLatin1Char('-')),
      QStringLiteral("Total General") + Blancos(12) + QStringLiteral("1.255,00"),
      QStringLiteral(" "),
      QStringLiteral("Total Tarjetas:") + Blancos(10) + QStringLiteral("1.242,00"),
      QStringLiteral("Total C. Comida:") + Blancos(13) + QStringLiteral("8,00"),
      QStringLiteral("Total Efectivo:") + Blancos(14) + QStringLiteral("5,00"),
      QStringLiteral("Total Descuento:") + Blancos(13) + QStringLiteral("2,00"),
      QStringLiteral("Total Recargo:") + Blancos(15) + QStringLiteral("1,00"),
      QStringLiteral("Total Gastos:") + Blancos(16) + QStringLiteral("3,25"),
      QStringLiteral(" "),
      QStringLiteral("Observaciones"),
      QString(),
      nota,
  };
  EXPECT_EQ(Listado(32), esperadas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
  EXPECT_TRUE(tienda.seleccion.AvisoFechaApertura);

  // Sin cheques de comida la línea no sale; sin ventas abiertas la víspera,
  // ni la nota.
  tienda.ejecutar(QStringLiteral("DELETE FROM cabecera_factura WHERE numero = 12"));
  const QString sinCheques = Listado(32);
  EXPECT_FALSE(sinCheques.contains(QStringLiteral("C. Comida")));
  EXPECT_TRUE(sinCheques.contains(QStringLiteral("Total Efectivo:") + Blancos(14) + QStringLiteral("5,00\r\n")));
  EXPECT_TRUE(sinCheques.endsWith(QStringLiteral("Observaciones\r\n\r\n\r\n")));
  EXPECT_FALSE(tienda.seleccion.AvisoFechaApertura);
}

TEST_P(InformesTicket, ResumidoCuentaMasVentasDeLasQueCabenEnUnEnteroCorto) {
  // 40.000 ventas de 0,50: un contador de 16 bits se habría desbordado.
  tienda.ejecutar(
      QStringLiteral("INSERT INTO cabecera_factura (numero, fecha, fechaventa, pago, total, borrar)"
                     " WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000)"
                     " SELECT i, '2026-03-02', '2026-03-02', 1, 0.5, 0 FROM n"));
  informes::CrearTicketResumido(tienda.contexto);
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0].value(QStringLiteral("texto5")).toString(), QStringLiteral("40000"));
  EXPECT_DOUBLE_EQ(filas[0].value(QStringLiteral("numerico4")).toDouble(), 20000);
}

TEST_P(InformesTicket, EmpleadosConLasSumasDelIntervaloSoloEnLaUltimaFila) {
  Venta(1, "2026-03-02", "2026-03-02", 1, 0);
  Venta(2, "2026-03-03", "2026-03-03", 1, 0);
  Venta(3, "2026-03-03", "2026-03-03", 1, 0, 0, 0, 0, 0, -1);
  Linea(1, 7, "Luis", 10, 1, 0);
  Linea(2, 3, "Eva", 4, 0, 0.5);
  Linea(1, 7, "Luis", 5, 0, 2);
  Linea(2, 3, "Eva", 6, 1.5, 0);
  Linea(2, 7, "Luis", 2.5, 0, 0);
  Linea(1, 3, "Eva", 1, 0, 0);
  // Una línea borrada y una de una venta borrada no cuentan.
  Linea(1, 3, "Eva", 90, 9, 9, -1);
  Linea(3, 7, "Luis", 80, 8, 8);
  informes::CrearTicketEmpleado(tienda.contexto);
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(filas[0].value(QStringLiteral("texto5")).toString(), QStringLiteral("Eva"));
  EXPECT_DOUBLE_EQ(filas[0].value(QStringLiteral("numerico4")).toDouble(), 11);
  for (const char* c : {"numerico10", "numerico11", "numerico12", "texto17"})
    EXPECT_FALSE(filas[0].contains(QLatin1String(c))) << c;
  EXPECT_EQ(filas[1].value(QStringLiteral("texto5")).toString(), QStringLiteral("Luis"));
  EXPECT_DOUBLE_EQ(filas[1].value(QStringLiteral("numerico4")).toDouble(), 17.5);
  EXPECT_DOUBLE_EQ(filas[1].value(QStringLiteral("numerico11")).toDouble(), 2.5);
  EXPECT_DOUBLE_EQ(filas[1].value(QStringLiteral("numerico12")).toDouble(), 2.5);
  EXPECT_DOUBLE_EQ(filas[1].value(QStringLiteral("numerico10")).toDouble(), 0);
}

TEST_P(InformesTicket, ImpresoraYCierres) {
  const datos::Conexion& ventas = *tienda.ajustes.ConexionVentas;
  tienda.insertar(QStringLiteral("impresoras"),
                  {{"codigo", 1}, {"impresora", "TM-T20"}, {"fuente", "Control"}, {"numcaracteres", 42}});
  tienda.insertar(QStringLiteral("impresoras"), {{"codigo", 2}, {"impresora", "Caja2"}, {"fuente", ""}});
  EXPECT_EQ(informes::NumCaracteresImpresora(ventas, QStringLiteral("TM-T20")), 42);
  EXPECT_EQ(informes::NumCaracteresImpresora(ventas, QStringLiteral("Caja2")), 35);
  EXPECT_EQ(informes::NumCaracteresImpresora(ventas, QStringLiteral("Otra")), 35);
  EXPECT_EQ(informes::DatosImpresora(ventas, QStringLiteral("TM-T20")).fuente, QStringLiteral("Control"));
  EXPECT_EQ(informes::DatosImpresora(ventas, QStringLiteral("Caja2")).fuente, QString());

  tienda.insertar(QStringLiteral("cierre_caja"), {{"id", 1},
                                                  {"fecha", "2026-03-02"},
                                                  {"hora", "23:59:40"},
                                                  {"recuento", 300},
                                                  {"caja", 100},
                                                  {"tarjeta", 50},
                                                  {"nom_empleado", "Ana"}});
  tienda.insertar(QStringLiteral("cierre_caja"), {{"id", 2}, {"fecha", "2026-03-09"}, {"caja", 1}});
  informes::CrearCierresCajaTicket(tienda.contexto);
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_DOUBLE_EQ(filas[0].value(QStringLiteral("numerico3")).toDouble(), -100);
  EXPECT_EQ(filas[0].value(QStringLiteral("fecha2")).toString(), QStringLiteral("1899-12-30 23:59:00"));
  EXPECT_EQ(filas[0].value(QStringLiteral("texto6")).toString(), QStringLiteral("01/03/2026"));
}

TEST_P(InformesTicket, TresClasesDeLineasEliminadasIgualesEnLosDosBotones) {
  tienda.insertar(QStringLiteral("mesas"), {{"codigo", 10}, {"nummesa", "5"}});
  const auto anulada = [&](int numero, int pago) {
    tienda.insertar(QStringLiteral("cabecera_factura_anulaciones"), {{"numero", numero},
                                                                     {"fecha", "2026-03-02"},
                                                                     {"fechaventa", "2026-03-02"},
                                                                     {"hora_inicio", "12:30:00"},
                                                                     {"camarero", "Ana"},
                                                                     {"mesa", 10},
                                                                     {"pago", pago}});
  };
  const auto lineaAnulada = [&](int numFactura, const QVariant& origen, int servido, int borrar,
                                const QVariant& fechaAnulacion) {
    tienda.insertar(QStringLiteral("detalle_factura_anulaciones"), {{"num_factura", numFactura},
                                                                    {"producto", "Caña"},
                                                                    {"unidades", 2},
                                                                    {"precio", 5},
                                                                    {"impuesto", 0.5},
                                                                    {"nombrecamarero", "Eva"},
                                                                    {"num_facturaorigen", origen},
                                                                    {"servido", servido},
                                                                    {"borrar", borrar},
                                                                    {"fechaanulacion", fechaAnulacion}});
  };
  anulada(40, 1);
  anulada(41, 0);
  lineaAnulada(40, QVariant(), 0, -1, QVariant());
  lineaAnulada(41, 300, 0, 1, QVariant());
  lineaAnulada(-7, QVariant(), 0, 0, "2026-03-03");
  lineaAnulada(120, 120, 0, 0, "2026-03-03");
  lineaAnulada(121, 120, -1, 0, "2026-03-03");
  lineaAnulada(122, -1, 0, 0, "2026-03-03");
  lineaAnulada(123, -1, 1, 0, "2026-03-03");
  Venta(50, "2026-03-04", "2026-03-04", 1, 9);
  tienda.insertar(QStringLiteral("detalle_factura"),
                  {{"num_factura", 50}, {"producto", "Tapa"}, {"precio", 10}, {"descuento", 1}, {"unidades", 1}});
  tienda.insertar(QStringLiteral("detalle_factura"),
                  {{"num_factura", 50}, {"producto", "Pan"}, {"precio", 1}, {"descuento", 0}, {"unidades", 1}});

  const registro::BotonInforme* hoja = registro::BuscarBoton(QStringLiteral("cmdVentasEliminadas"));
  const registro::BotonInforme* ticket = registro::BuscarBoton(QStringLiteral("cmdVentasEliminadasTicket"));
  ASSERT_TRUE(hoja && ticket);
  ASSERT_EQ(registro::EjecutarBoton(*hoja, tienda.contexto).resultado, registro::Resultado::ConDatos);
  const auto filas = tienda.filas();
  ASSERT_EQ(registro::EjecutarBoton(*ticket, tienda.contexto).resultado, registro::Resultado::ConDatos);
  EXPECT_EQ(tienda.filas(), filas);

  // Letra, número de venta y número de origen de cada fila, en orden A, B, C.
  struct Esperada {
    const char* letra;
    QVariant numero, origen;
  };
  const std::vector<Esperada> esperadas = {
      {"T", 40.0, {}},     {"P", 41.0, 300.0}, {"P", {}, 7.0},     {"FC", 120.0, 120.0},
      {"C", 121.0, 120.0}, {"P", 122.0, -1.0}, {"C", 123.0, -1.0}, {"D", {}, 50.0},
  };
  ASSERT_EQ(filas.size(), esperadas.size());
  for (size_t i = 0; i < filas.size(); ++i) {
    const QVariantMap& f = filas[i];
    EXPECT_EQ(f.value(QStringLiteral("texto9")).toString(), QLatin1String(esperadas[i].letra)) << i;
    EXPECT_EQ(f.value(QStringLiteral("numerico10")), esperadas[i].numero) << i;
    EXPECT_EQ(f.value(QStringLiteral("numerico11")), esperadas[i].origen) << i;
  }
  EXPECT_EQ(filas[0].value(QStringLiteral("texto11")).toString(), QStringLiteral("5"));
  EXPECT_DOUBLE_EQ(filas[0].value(QStringLiteral("numerico2")).toDouble(), 4.5);
  EXPECT_EQ(filas[2].value(QStringLiteral("texto22")).toString(), QStringLiteral("-7"));
  EXPECT_EQ(filas[2].value(QStringLiteral("texto5")).toString(), QStringLiteral("03/03/2026"));
  EXPECT_DOUBLE_EQ(filas[7].value(QStringLiteral("doble1")).toDouble(), 1);
  EXPECT_FALSE(filas[7].contains(QStringLiteral("numerico1")));
}

INSTANTIATE_TEST_SUITE_P(Motores, InformesTicket, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

// Las plantillas de ticket sobre lo que escriben sus constructores con la
// tienda de tests/fixtures/ticket.sql: estrechas, con lo que dicen, y del
// ancho de la impresora de tickets.
class PlantillasTicket : public testing::TestWithParam<Motor> {};

TEST_P(PlantillasTicket, RollosDelAnchoDeLaImpresoraYLaHojaDeEliminadas) {
  prueba::Tienda tienda(GetParam());
  tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("ticket")));
  tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
  tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
  QTemporaryDir dir;
  struct Caso {
    const char* boton;
    QStringList textos;  // lo que tiene que salir, en este orden
  };
  const std::vector<Caso> casos = {
      {"cmd_ticket_Resumido",
       {"Ventas Resumidas", "Facturas: 12", "Importe cobrado: 190,20", "Total Tarjetas: 56,70", "Total C. Comida: 3,60",
        "Total Efectivo: 129,90", "Total Gastos: 32,50", "NOTA:"}},
      {"cmd_ticket_Empleado", {"Ventas por Empleado", "Ana", "Pedro", "Marta", "Total vendido:", "Gastos: 32,50"}},
      {"cmdCierreFormatoTicket", {"Cierres de Caja", "02/03/2026 23:59 Ana", "300,00 -250,00 50,00", "Cierres: 2"}},
      {"cmdVentasEliminadasTicket", {"Ventas anuladas", "T 03/03/2026", "Líneas anuladas", "FC", "Descuentos", "D"}},
      {"cmdVentasEliminadas", {"Ventas anuladas", "Total Ventas anuladas:", "Líneas anuladas", "Descuentos"}},
  };
  for (const Caso& c : casos) {
    const registro::BotonInforme* boton = registro::BuscarBoton(QLatin1String(c.boton));
    ASSERT_NE(boton, nullptr) << c.boton;
    ASSERT_EQ(registro::EjecutarBoton(*boton, tienda.contexto).resultado, registro::Resultado::ConDatos) << c.boton;
    const bool rollo = boton->impresora == registro::ImpresoraDestino::Ticket;
    double anchoAnterior = 0;
    for (const int caracteres : {32, 42}) {
      const QString pdf = dir.filePath(QStringLiteral("%1-%2.pdf").arg(QLatin1String(c.boton)).arg(caracteres));
      registro::OpcionesSalida opciones{QString(), QStringLiteral("es_ES"), caracteres};
      ASSERT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, boton->plantilla, opciones, {pdf, {}},
                                           tienda.notificador, tienda.reloj))
          << c.boton;
      const QSizeF pagina = prueba::TamanoPaginaMm(pdf);
      if (rollo) {
        // Un rollo es estrecho y crece con los caracteres de la impresora.
        EXPECT_LT(pagina.width(), 80) << c.boton;
        EXPECT_GT(pagina.width(), anchoAnterior + 10) << c.boton;
        anchoAnterior = pagina.width();
      }
      QString texto = prueba::TextoPdf(pdf).simplified();
      qsizetype desde = 0;
      for (const QString& t : c.textos) {
        const qsizetype i = texto.indexOf(t, desde);
        EXPECT_GE(i, 0) << c.boton << " (" << caracteres << "): falta «" << t.toStdString() << "» en\n"
                        << texto.toStdString();
        if (i >= 0) desde = i + t.size();
      }
      if (!rollo) break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, PlantillasTicket, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
