// Informes de caja sobre un intervalo: cierre de caja de un empleado, resumen
// por empleado, ventas por forma de pago, cierre resumido y resumen fiscal.
// Cada caso pone en la base sólo las ventas que mira y lee Informes en cada
// motor.

#include "builders/InformesCaja.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include "support/ImprimirQt.h"

#include <gtest/gtest.h>

namespace {

using prueba::Motor;
using Filas = std::vector<QVariantMap>;

const QVariant Nulo;

QStringList Columna(const Filas& filas, const QString& columna) {
  QStringList valores;
  for (const QVariantMap& f : filas) valores << f.value(columna, QStringLiteral("Null")).toString();
  return valores;
}

// Los importes de una columna, con Null como NaN, comparados al céntimo.
void EsperarImportes(const Filas& filas, const QString& columna, const std::vector<double>& esperados) {
  ASSERT_EQ(filas.size(), esperados.size()) << columna.toStdString();
  for (std::size_t i = 0; i < filas.size(); ++i)
    EXPECT_NEAR(filas[i].value(columna).toDouble(), esperados[i], 0.004) << columna.toStdString() << ", fila " << i + 1;
}

class InformesCaja : public testing::TestWithParam<Motor> {
 protected:
  InformesCaja() : tienda(GetParam()) {
    tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
    tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
    // Un nombre con comilla y una dirección con coma: deben llegar tal cual.
    tienda.insertar("opciones", {{"identificador", "1234"},
                                 {"nombre", "Bar O'Neill"},
                                 {"direccion", "Calle Mayor, 3"},
                                 {"poblacion", "Cartagena"}});
    tienda.insertar("formapago", {{"codigo", 1}, {"nombre", "Efectivo"}});
    tienda.insertar("formapago", {{"codigo", 2}, {"nombre", "Visa"}});
    tienda.insertar("formapago", {{"codigo", 3}, {"nombre", "Ticket Restaurant"}});
    tienda.insertar("salones", {{"codigo", 1}, {"nombre", "Comedor"}});
    tienda.insertar("salones", {{"codigo", 100}, {"nombre", "Teléfono"}});
    tienda.insertar("mesas", {{"codigo", 10}, {"nummesa", "T5"}});
    tienda.insertar("mesas", {{"codigo", 11}, {"nummesa", ""}});
    tienda.insertar("clientes", {{"codigo", 7}, {"nombre", "Lola"}, {"telefono", "968112233"}});
  }

  // Una factura de 20 € del camarero 3 el 2 de marzo, cobrada en efectivo;
  // `cambios` corrige lo que el caso mira.
  void Factura(int numero, QVariantMap cambios = {}) {
    QVariantMap f{{"numero", numero},
                  {"fecha", "2026-03-02"},
                  {"fechaventa", "2026-03-02"},
                  {"hora", "13:05:00"},
                  {"hora_inicio", "12:30:00"},
                  {"camarero", "Ana"},
                  {"codigo_camarero", 3},
                  {"zona_venta", 1},
                  {"mesa", 10},
                  {"total", 20.0},
                  {"impuesto", 1.82},
                  {"recargo", 0.0},
                  {"descuento", 0.0},
                  {"pago", 1},
                  {"efectivo", 0.0},
                  {"tarjeta", 0.0},
                  {"modoventa", 0},
                  {"borrar", 0}};
    for (auto it = cambios.cbegin(); it != cambios.cend(); ++it) f.insert(it.key(), it.value());
    tienda.insertar("cabecera_factura", f);
  }
  void Linea(int factura, const QVariant& camarero, const QVariant& nombre, double precio, const QVariant& impuesto,
             const QVariant& descuento = 0.0, const QVariant& recargo = 0.0, const QString& tabla = "detalle_factura") {
    tienda.insertar(tabla, {{"num_factura", factura},
                            {"codcamarero", camarero},
                            {"nombrecamarero", nombre},
                            {"precio", precio},
                            {"impuesto", impuesto},
                            {"descuento", descuento},
                            {"recargo", recargo}});
  }
  void Gasto(const QString& fecha, int empleado, const QVariant& importe, const QVariant& decimal) {
    tienda.insertar(
        "gastos", {{"fecha", fecha}, {"codigoempleado", empleado}, {"importe", importe}, {"importe_decimal", decimal}});
  }
  Filas Ejecutar(void (*constructor)(informes::Contexto&)) {
    tienda.notificador.avisos.clear();
    tienda.seleccion.SinDatos = false;
    constructor(tienda.contexto);
    return tienda.filas();
  }
  QVariant ImpuestoGuardado(int numero) {
    datos::Consulta q =
        tienda.ajustes.ConexionVentas->preparar("SELECT impuesto FROM cabecera_factura WHERE numero = ?");
    q.enlazar(numero);
    q.ejecutar();
    return q.siguiente() ? q.valor(0) : QVariant(QStringLiteral("sin factura"));
  }
  void EsperarSinDatos(const Filas& filas) {
    EXPECT_TRUE(filas.empty());
    EXPECT_TRUE(tienda.seleccion.SinDatos);
    ASSERT_EQ(tienda.notificador.avisos.size(), 1);
    EXPECT_EQ(tienda.notificador.avisos[0].texto, "No hay datos para ser mostrados.");
    EXPECT_EQ(tienda.notificador.avisos[0].titulo, "ATENCION");
  }

  prueba::Tienda tienda;
};

// --- Cierre de caja de un empleado ---------------------------------------------------

TEST_P(InformesCaja, CierreCajaListaLasFacturasDelEmpleadoConSuLugarPagoYGastos) {
  tienda.seleccion.EmpleadoElegido = 3;
  Factura(12, {{"mesa", Nulo}, {"zona_venta", 100}, {"pago", 2}});   // teléfono
  Factura(11);                                                       // mesa T5, Comedor
  Factura(13, {{"mesa", 11}, {"zona_venta", 5}, {"pago", 9}});       // mesa sin rótulo; pago que no existe
  Factura(14, {{"efectivo", 5.0}, {"tarjeta", 15.0}, {"pago", 3}});  // pago repartido
  Factura(15, {{"borrar", 1}});
  Factura(16, {{"codigo_camarero", 4}});
  Factura(17, {{"fechaventa", "2026-03-06"}, {"fecha", "2026-03-05"}});  // se abrió dentro, se cerró fuera
  Factura(18, {{"fechaventa", "2026-03-05"}, {"fecha", "2026-03-04"}});
  Gasto("2026-03-01", 3, 10.0, 10.004);  // el entero y el exacto del mismo gasto
  Gasto("2026-03-05", 3, Nulo, 1.5);
  Gasto("2026-03-04", 3, 2.0, 0.0);
  Gasto("2026-03-03", 4, 50.0, 0.0);
  Gasto("2026-03-06", 3, 99.0, 0.0);

  const Filas filas = Ejecutar(informes::CrearCierreCaja);
  ASSERT_EQ(filas.size(), 5u);
  EXPECT_FALSE(tienda.seleccion.SinDatos);
  EXPECT_EQ(Columna(filas, "texto22"), QStringList({"11", "12", "13", "14", "18"}));
  EXPECT_EQ(Columna(filas, "texto11"), QStringList({"T5", "P. Telef.", "Barra", "T5", "T5"}));
  EXPECT_EQ(Columna(filas, "texto8"), QStringList({"Comedor", "Teléfono", "", "Comedor", "Comedor"}));
  EXPECT_EQ(Columna(filas, "texto21"), QStringList({"Efectivo", "Visa", "", "Tarjeta/Efectivo", "Efectivo"}));
  EXPECT_EQ(Columna(filas, "texto5"),
            QStringList({"02/03/2026", "02/03/2026", "02/03/2026", "02/03/2026", "05/03/2026"}));
  for (const QVariantMap& f : filas) {
    EXPECT_EQ(f.value("texto1"), "Bar O'Neill");
    EXPECT_EQ(f.value("texto2"), "Calle Mayor, 3 - Cartagena");
    EXPECT_EQ(f.value("texto3"), "Ana");
    EXPECT_EQ(f.value("texto6"), "01/03/2026");
    EXPECT_EQ(f.value("texto7"), "05/03/2026");
    EXPECT_EQ(f.value("entero3").toLongLong(), 5);
    // Los gastos del empleado en el intervalo, cada uno una vez (el exacto
    // 10,004, o el entero si no lo hay) y a dos decimales: 10,004 + 1,5 + 2.
    EXPECT_DOUBLE_EQ(f.value("numerico5").toDouble(), 13.5);
    EXPECT_DOUBLE_EQ(f.value("numerico1").toDouble(), 1.82);
    EXPECT_DOUBLE_EQ(f.value("numerico2").toDouble(), 18.18);
    EXPECT_DOUBLE_EQ(f.value("doble1").toDouble(), 20.0);
    EXPECT_EQ(f.value("fecha1"), "2026-03-06");
    EXPECT_EQ(f.value("fecha2"), "1899-12-30 09:07:00");
    EXPECT_EQ(f.value("fecha3"), "1899-12-30 13:05:00");
    EXPECT_EQ(f.value("fecha4"), "1899-12-30 12:30:00");
  }
}

TEST_P(InformesCaja, CierreCajaReparaElImpuestoNuloYToleraLaFaltaDeGastos) {
  tienda.seleccion.EmpleadoElegido = 3;
  Factura(21, {{"impuesto", Nulo}});
  Factura(22);
  Factura(23, {{"impuesto", Nulo}});
  tienda.ejecutar("DROP TABLE gastos");

  const Filas filas = Ejecutar(informes::CrearCierreCaja);
  ASSERT_EQ(filas.size(), 3u);
  // El impuesto nulo cuenta como el 0 que enseña y que deja la reparación.
  EXPECT_DOUBLE_EQ(filas[0].value("numerico1").toDouble(), 0.0);
  EXPECT_DOUBLE_EQ(filas[0].value("numerico2").toDouble(), 20.0);
  EXPECT_DOUBLE_EQ(filas[1].value("numerico2").toDouble(), 18.18);
  EXPECT_DOUBLE_EQ(filas[0].value("numerico5").toDouble(), 0.0);
  EXPECT_DOUBLE_EQ(ImpuestoGuardado(21).toDouble(), 0.0);
  EXPECT_FALSE(ImpuestoGuardado(21).isNull());
  EXPECT_DOUBLE_EQ(ImpuestoGuardado(22).toDouble(), 1.82);
  EXPECT_FALSE(ImpuestoGuardado(23).isNull());

  // La siguiente vez, con la factura ya reparada, el informe es el mismo.
  EXPECT_EQ(Ejecutar(informes::CrearCierreCaja), filas);
}

TEST_P(InformesCaja, SinTotalNoHayBaseNiSeInventaUnImporteNegativo) {
  tienda.seleccion.EmpleadoElegido = 3;
  Factura(24, {{"total", Nulo}});
  // En el cierre de caja la base es numerico2; en las ventas por forma de pago, doble1.
  const Filas cierre = Ejecutar(informes::CrearCierreCaja);
  ASSERT_EQ(cierre.size(), 1u);
  EXPECT_FALSE(cierre[0].contains("numerico2"));
  EXPECT_DOUBLE_EQ(cierre[0].value("numerico1").toDouble(), 1.82);
  const Filas pagos = Ejecutar(informes::CrearVentasFormasPago);
  ASSERT_EQ(pagos.size(), 1u);
  EXPECT_FALSE(pagos[0].contains("doble1"));
  const Filas resumen = Ejecutar(informes::CrearCierreResumido);
  ASSERT_EQ(resumen.size(), 1u);
  EXPECT_FALSE(resumen[0].contains("numerico2"));
  EXPECT_FALSE(resumen[0].contains("doble2"));
  // El impuesto era un número: no había nada que reparar.
  EXPECT_DOUBLE_EQ(ImpuestoGuardado(24).toDouble(), 1.82);
}

// SQLite guarda un texto en una columna de números: el informe lo rechaza
// diciendo dónde está, para que se pueda corregir.
TEST_P(InformesCaja, UnImporteQueNoEsUnNumeroNombraTablaColumnaYFactura) {
  if (GetParam() != Motor::SQLite) GTEST_SKIP() << "PostgreSQL no admite un texto en una columna de números";
  tienda.seleccion.EmpleadoElegido = 3;
  Factura(25);
  Factura(26, {{"total", "veinte"}});
  for (auto constructor : {informes::CrearCierreCaja, informes::CrearVentasFormasPago, informes::CrearCierreResumido}) {
    const QString m = prueba::mensajeDe([&] { Ejecutar(constructor); });
    EXPECT_TRUE(m.startsWith("Valor no válido en cabecera_factura.total de la factura 26: \"veinte\" no es un número"))
        << m.toStdString();
  }
  Factura(27, {{"total", 20.0}, {"descuento", "poco"}});
  tienda.ajustes.ConexionVentas->ejecutar("DELETE FROM cabecera_factura WHERE numero = 26");
  const QString m = prueba::mensajeDe([&] { Ejecutar(informes::CrearCierreCaja); });
  EXPECT_TRUE(m.startsWith("Valor no válido en cabecera_factura.descuento de la factura 27")) << m.toStdString();
}

TEST_P(InformesCaja, SinVentasEnElIntervaloAvisaYDejaInformesVacio) {
  tienda.seleccion.EmpleadoElegido = 3;
  Factura(31, {{"fechaventa", "2026-02-28"}});
  Factura(32, {{"borrar", -1}});
  for (auto constructor :
       {informes::CrearCierreCaja, informes::CrearResumenVentasEmpleados, informes::CrearVentasFormasPago,
        informes::CrearCierreResumido, informes::CrearResumenFiscal}) {
    // Un informe anterior no debe quedar para imprimirse como si fuera este.
    informes::EscritorInformes e(*tienda.ajustes.ConexionInformes);
    e.vaciar();
    e.poner(informes::Col::Texto1, "informe anterior");
    e.guardarFila();
    e.terminar();
    EsperarSinDatos(Ejecutar(constructor));
  }
}

// --- Resumen de ventas por empleado -------------------------------------------------

TEST_P(InformesCaja, ResumenPorEmpleadoDaUnaFilaPorCamareroConSuParte) {
  // Ana cobró 11 en sus líneas y Luis 8,50; la factura tiene además un
  // descuento de 1,95 que no está en ninguna línea: lo cobrado fue 17,55.
  Factura(41, {{"total", 17.55}, {"impuesto", 1.46}, {"descuento", 2.95}, {"recargo", 0.5}});
  Linea(41, 5, "Luis", 8.0, 0.73, 0.0, 0.5);
  Linea(41, 3, "Ana", 10.0, 0.91, 1.0);
  Linea(41, 3, "ANA", 2.0, Nulo, Nulo);  // mismo camarero aunque cambie la mayúscula
  tienda.insertar("detalle_factura", {{"num_factura", 41},
                                      {"codcamarero", 5},
                                      {"nombrecamarero", "Luis"},
                                      {"precio", 30.0},
                                      {"impuesto", 2.73},
                                      {"borrar", 1}});  // borrada: no se cobró
  Factura(40, {{"mesa", Nulo}, {"zona_venta", 4}, {"cliente", 7}, {"total", 5.0}, {"impuesto", 0.0}});
  Linea(40, 3, "Ana", 5.0, Nulo, Nulo, Nulo);
  Factura(42, {{"fechaventa", "2026-03-09"}});
  Linea(42, 3, "Ana", 5.0, 0.45);
  Gasto("2026-03-02", 9, 5.0, 5.0);

  const Filas filas = Ejecutar(informes::CrearResumenVentasEmpleados);
  ASSERT_EQ(filas.size(), 3u);
  EXPECT_EQ(Columna(filas, "numerico10"), QStringList({"40", "41", "41"}));
  EXPECT_EQ(Columna(filas, "texto23"), QStringList({"3", "3", "5"}));
  EXPECT_EQ(Columna(filas, "texto21"), QStringList({"Ana", "Ana", "Luis"}));
  // Sin mesa, el teléfono del cliente de la factura.
  EXPECT_EQ(Columna(filas, "texto11"), QStringList({"968112233", "T5", "T5"}));
  EXPECT_EQ(Columna(filas, "texto20"), QStringList({"", "Comedor", "Comedor"}));
  // Cada camarero lleva lo de sus líneas y el descuento de la factura en
  // proporción a lo que cobró (11 : 8,50); las partes suman la cabecera.
  EsperarImportes(filas, "numerico9", {5, 9.90, 7.65});
  EsperarImportes(filas, "numerico1", {0, 0.81, 0.65});
  EsperarImportes(filas, "numerico2", {5, 9.09, 7.00});
  EsperarImportes(filas, "numerico3", {0, 0, 0.5});
  EsperarImportes(filas, "numerico4", {0, 2.10, 0.85});
  EXPECT_EQ(Columna(filas, "texto4"), QStringList({"Efectivo", "Efectivo", "Efectivo"}));
  for (const QVariantMap& f : filas) {
    EXPECT_DOUBLE_EQ(f.value("numerico5").toDouble(), 5.0);  // gastos de todos los empleados
    EXPECT_EQ(f.value("texto1"), "Bar O'Neill");
    EXPECT_FALSE(f.contains("texto18"));
  }
  EXPECT_FALSE(tienda.seleccion.AvisoFechaApertura);
}

TEST_P(InformesCaja, ResumenPorEmpleadoPartePagoRepartidoEnDosFilas) {
  Factura(50,
          {{"total", 19.0}, {"efectivo", 6.0}, {"tarjeta", 13.0}, {"pago", 1}, {"descuento", 2.0}, {"recargo", 1.0}});
  Linea(50, 3, "Ana", 20.0, 1.82, 2.0, 1.0);
  Factura(51, {{"efectivo", 6.0}, {"tarjeta", 14.0}, {"pago", 3}});
  Linea(51, 3, "Ana", 20.0, 1.82);
  Factura(52, {{"efectivo", 0.0}, {"tarjeta", 20.0}, {"pago", 2}});
  Linea(52, 3, "Ana", 20.0, 1.82);
  Factura(53, {{"pago", 0}});
  Linea(53, 3, "Ana", 20.0, 1.82);
  // Dos camareros en un pago repartido: cada uno con su parte del efectivo y
  // de la tarjeta, no los dos con todo.
  Factura(54, {{"efectivo", 5.0}, {"tarjeta", 15.0}, {"pago", 1}});
  Linea(54, 3, "Ana", 15.0, 1.36);
  Linea(54, 5, "Luis", 5.0, 0.46);

  const Filas filas = Ejecutar(informes::CrearResumenVentasEmpleados);
  ASSERT_EQ(filas.size(), 10u);
  EXPECT_EQ(Columna(filas, "numerico10"), QStringList({"50", "50", "51", "51", "52", "53", "54", "54", "54", "54"}));
  EXPECT_EQ(Columna(filas, "texto4"), QStringList({"Efectivo", "Tarjeta/Mixto", "Efectivo", "Cheque comida", "Visa",
                                                   "Null", "Efectivo", "Tarjeta/Mixto", "Efectivo", "Tarjeta/Mixto"}));
  EsperarImportes(filas, "numerico9", {6, 13, 6, 14, 20, 20, 3.75, 11.25, 1.25, 3.75});
  // El descuento y el recargo sólo en la fila del efectivo.
  EsperarImportes(filas, "numerico4", {2, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EsperarImportes(filas, "numerico3", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

TEST_P(InformesCaja, ResumenPorEmpleadoRotulaLasZonasEspeciales) {
  const std::vector<std::pair<int, QVariantMap>> ventas = {
      {60, {{"zona_venta", 999}, {"modoventa", 1}}},
      {61, {{"zona_venta", 999}, {"modoventa", 7}}},
      {62, {{"zona_venta", 101}}},
      {63, {{"zona_venta", 102}}},
      {64, {{"zona_venta", 0}}},
      {65, {{"zona_venta", 1}, {"modoventa", 3}}},
      {66, {{"zona_venta", 100}, {"mesa", Nulo}, {"cliente", 99}}},
      {67, {{"zona_venta", 999}, {"modoventa", 2}}},
  };
  tienda.insertar("salones", {{"codigo", 999}, {"nombre", "Caja rápida"}});
  for (const auto& [numero, cambios] : ventas) {
    Factura(numero, cambios);
    Linea(numero, 3, "Ana", 1.0, 0.1);
  }
  const Filas filas = Ejecutar(informes::CrearResumenVentasEmpleados);
  EXPECT_EQ(Columna(filas, "texto11"), QStringList({"FAST", "FAST", "", "", "CobroP", "T5", "Barra", "FAST"}));
  EXPECT_EQ(Columna(filas, "texto20"),
            QStringList({"Llevar", "Caja rápida", "Entrada", "Ropero", "", "T.Domi", "Teléfono", "T.Rec"}));
}

TEST_P(InformesCaja, ResumenPorEmpleadoAvisaDeVentasAbiertasOtroDiaEnTodasLasFilas) {
  Factura(70);
  Linea(70, 3, "Ana", 1.0, 0.1);
  Factura(71, {{"fecha", "2026-03-01"}});
  Linea(71, 3, "Ana", 1.0, 0.1);
  Factura(72);
  Linea(72, 3, "Ana", 1.0, 0.1);
  // Sin líneas, pero cobrada: una fila a nombre de quien la cerró, con lo
  // que dice su cabecera.
  Factura(73, {{"fecha", "2026-02-20"}, {"camarero", "Luis"}, {"codigo_camarero", 5}});

  const Filas filas = Ejecutar(informes::CrearResumenVentasEmpleados);
  ASSERT_EQ(filas.size(), 4u);
  EXPECT_EQ(Columna(filas, "texto18"), QStringList(4, informes::kNotaFechaApertura));
  EXPECT_TRUE(tienda.seleccion.AvisoFechaApertura);
  EXPECT_EQ(filas[3].value("texto21"), "Luis");
  EXPECT_EQ(filas[3].value("texto23"), "5");
  EsperarImportes({filas[3]}, "numerico9", {20});
  EsperarImportes({filas[3]}, "numerico1", {1.82});
}

TEST_P(InformesCaja, ResumenPorEmpleadoCompletoAnadeLasAnuladasSinNumero) {
  Factura(80);
  Linea(80, 3, "Ana", 20.0, 1.82);
  auto anulada = [&](int numero, const QString& fecha, const QString& fechaVenta) {
    tienda.insertar("cabecera_factura_anulaciones", {{"numero", numero},
                                                     {"fecha", fecha},
                                                     {"fechaventa", fechaVenta},
                                                     {"zona_venta", 1},
                                                     {"mesa", Nulo},
                                                     {"pago", 1},
                                                     {"efectivo", 0.0},
                                                     {"tarjeta", 0.0},
                                                     {"descuento", 0.0}});
  };
  anulada(-4, "2026-02-27", "2026-03-01");  // cerrada dentro
  anulada(-3, "2026-03-05", "2026-03-07");  // abierta dentro
  anulada(-2, "2026-03-07", "2026-03-07");  // fuera
  anulada(81, "2026-03-02", "2026-03-02");  // con número: nunca
  Linea(-4, 5, "Luis", 4.0, 0.4, 0.0, 0.0, "detalle_factura_anulaciones");
  Linea(-3, 3, "Ana", 6.0, 0.6, 0.0, 0.0, "detalle_factura_anulaciones");
  Linea(-2, 3, "Ana", 7.0, 0.7, 0.0, 0.0, "detalle_factura_anulaciones");
  Linea(81, 3, "Ana", 8.0, 0.8, 0.0, 0.0, "detalle_factura_anulaciones");

  EXPECT_EQ(Columna(Ejecutar(informes::CrearResumenVentasEmpleados), "numerico10"), QStringList({"80"}));
  tienda.seleccion.Completo = true;
  const Filas filas = Ejecutar(informes::CrearResumenVentasEmpleados);
  EXPECT_EQ(Columna(filas, "numerico10"), QStringList({"80", "-4", "-3"}));
  EXPECT_EQ(Columna(filas, "numerico9"), QStringList({"20", "4", "6"}));
  EXPECT_EQ(Columna(filas, "texto11"), QStringList({"T5", "Barra", "Barra"}));
  // Abierta el 27 de febrero y cerrada el 1 de marzo: lleva la nota.
  EXPECT_EQ(Columna(filas, "texto18"), QStringList(3, informes::kNotaFechaApertura));
}

// --- Ventas por forma de pago ---------------------------------------------------------

TEST_P(InformesCaja, VentasPorFormaPagoParteLosPagosRepartidos) {
  Factura(90, {{"efectivo", 5.0}, {"tarjeta", 15.0}, {"pago", 1}, {"descuento", 1.5}});
  Factura(91, {{"efectivo", 5.0}, {"tarjeta", 15.0}, {"pago", 3}});
  Factura(92, {{"pago", 3}});
  Factura(93, {{"pago", 0}, {"recargo", 2.0}});
  Gasto("2026-03-04", 4, 3.0, Nulo);

  const Filas filas = Ejecutar(informes::CrearVentasFormasPago);
  ASSERT_EQ(filas.size(), 6u);
  EXPECT_EQ(Columna(filas, "numerico10"), QStringList({"90", "90", "91", "91", "92", "93"}));
  EXPECT_EQ(Columna(filas, "texto21"),
            QStringList({"Efectivo", "Tarjeta/Mixto", "Efectivo", "Visa", "Ticket Restaurant", "Null"}));
  EXPECT_EQ(Columna(filas, "texto4"), Columna(filas, "texto21"));
  EXPECT_EQ(Columna(filas, "numerico2"), QStringList({"5", "15", "5", "15", "20", "20"}));
  EXPECT_EQ(Columna(filas, "numerico4"), QStringList({"1.5", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(Columna(filas, "numerico3"), QStringList({"0", "0", "0", "0", "0", "2"}));
  for (const QVariantMap& f : filas) {
    EXPECT_EQ(f.value("entero3").toLongLong(), 4);
    EXPECT_DOUBLE_EQ(f.value("numerico5").toDouble(), 3.0);
    EXPECT_DOUBLE_EQ(f.value("doble1").toDouble(), 18.18);
    EXPECT_EQ(f.value("texto23"), "Ana");
    EXPECT_EQ(f.value("texto2"), "Calle Mayor, 3 - Cartagena");
  }
}

TEST_P(InformesCaja, VentasPorFormaPagoPoneElSitioSegunLaCaja) {
  Factura(100, {{"mesa", Nulo}, {"zona_venta", 100}, {"cliente", 7}, {"modoventa", 3}});
  Factura(101, {{"mesa", Nulo}, {"zona_venta", 100}, {"cliente", 44}, {"modoventa", 2}});
  Factura(102, {{"mesa", 11}, {"zona_venta", 4}, {"modoventa", 1}});
  Factura(103, {{"zona_venta", 0}, {"modoventa", 0}});
  Factura(104, {{"modoventa", 8}});

  EXPECT_EQ(Columna(Ejecutar(informes::CrearVentasFormasPago), "texto11"),
            QStringList({"968112233", "Null", "Barra", "CobroP", "T5"}));
  tienda.ajustes.CajaFastFood = true;
  EXPECT_EQ(Columna(Ejecutar(informes::CrearVentasFormasPago), "texto11"),
            QStringList({"A Domicilio", "Recogida", "Llevar", "CobroP", "Null"}));
}

TEST_P(InformesCaja, VentasPorFormaPagoReparaElImpuestoNulo) {
  Factura(110, {{"impuesto", Nulo}, {"efectivo", 5.0}, {"tarjeta", 15.0}});
  const Filas filas = Ejecutar(informes::CrearVentasFormasPago);
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(Columna(filas, "numerico1"), QStringList({"0", "0"}));
  EXPECT_EQ(Columna(filas, "doble1"), QStringList({"20", "20"}));
  EXPECT_DOUBLE_EQ(ImpuestoGuardado(110).toDouble(), 0.0);
  EXPECT_FALSE(ImpuestoGuardado(110).isNull());
}

// --- Cierre resumido y resumen fiscal --------------------------------------------------

TEST_P(InformesCaja, CierreResumidoDaUnaFilaPorPropinaDistintaYLosTotalesDelIntervalo) {
  tienda.insertar("opciones", {{"identificador", "9999"}, {"nombre", "Otro puesto"}, {"direccion", "X"}});
  Factura(121, {{"fechaventa", "2026-03-03"}, {"total", 1234.5}, {"recargo", 1.0}, {"descuento", 0.5}});
  Factura(120);
  Factura(122, {{"fechaventa", "2026-03-01"}, {"impuesto", Nulo}});
  auto propina = [&](int venta, const QVariant& importe) {
    tienda.insertar("propinas", {{"numventa", venta}, {"importe", importe}});
  };
  propina(120, 2.0);
  propina(120, 1.0);
  propina(120, 2.0);  // igual que otra: una sola fila, con las dos propinas
  propina(121, -1.0);
  Gasto("2026-03-02", 3, 1.0, 1.5);
  tienda.insertar("retiradas", {{"fecha", "2026-03-02"}, {"importe", 100.0}});
  tienda.insertar("retiradas", {{"fecha", "2026-03-09"}, {"importe", 50.0}});
  tienda.insertar("cierre_caja", {{"fecha", "2026-03-02"}, {"cajainicialsiguientedia", 150.0}});
  tienda.insertar("cierre_caja", {{"fecha", "2026-03-03"}, {"cajainicialsiguientedia", 160.0}});

  const Filas filas = Ejecutar(informes::CrearCierreResumido);
  ASSERT_EQ(filas.size(), 4u);
  EXPECT_EQ(Columna(filas, "numerico1"), QStringList({"122", "120", "120", "121"}));
  EXPECT_EQ(Columna(filas, "fecha1"), QStringList({"2026-03-01", "2026-03-02", "2026-03-02", "2026-03-03"}));
  EXPECT_EQ(Columna(filas, "numerico10"), QStringList({"0", "1", "4", "0"}));
  EXPECT_EQ(Columna(filas, "doble1"), QStringList({"0", "1.82", "1.82", "1.82"}));
  // El total ya es lo cobrado, con el recargo y el descuento dentro: el neto
  // es el total sin impuesto y el total no se toca.
  EXPECT_EQ(Columna(filas, "numerico2"), QStringList({"20", "18.18", "18.18", "1232.68"}));
  EXPECT_EQ(Columna(filas, "doble2"), QStringList({"20", "20", "20", "1234.5"}));
  EXPECT_DOUBLE_EQ(ImpuestoGuardado(122).toDouble(), 0.0);
  for (const QVariantMap& f : filas) {
    // La cabecera es la del puesto, con la dirección sola.
    EXPECT_EQ(f.value("texto1"), "Bar O'Neill");
    EXPECT_EQ(f.value("texto2"), "Calle Mayor, 3");
    EXPECT_EQ(f.value("texto3"), "01/03/2026");
    EXPECT_EQ(f.value("texto4"), "05/03/2026");
    EXPECT_DOUBLE_EQ(f.value("numerico5").toDouble(), 1.5);
    EXPECT_DOUBLE_EQ(f.value("numerico15").toDouble(), 310.0);
    EXPECT_DOUBLE_EQ(f.value("numerico16").toDouble(), 100.0);
    EXPECT_FALSE(f.contains("texto30"));
  }
}

TEST_P(InformesCaja, CierreResumidoSinTablasDeCajaSigueConCero) {
  Factura(130);
  tienda.ejecutar("DROP TABLE retiradas");
  tienda.ejecutar("DROP TABLE cierre_caja");
  const Filas filas = Ejecutar(informes::CrearCierreResumido);
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_DOUBLE_EQ(filas[0].value("numerico15").toDouble(), 0.0);
  EXPECT_DOUBLE_EQ(filas[0].value("numerico16").toDouble(), 0.0);
}

TEST_P(InformesCaja, ResumenFiscalSoloLasFacturasConComprobantePorTipo) {
  for (int n : {140, 141, 142, 143, 144}) Factura(n);
  auto comprobante = [&](int factura, const QVariant& tipo, const QString& cfc) {
    tienda.insertar("facturatiporepdom", {{"nrofactura", factura}, {"tipo", tipo}, {"cfc", cfc}, {"nroactual", 1}});
  };
  comprobante(140, 2, "B0200000140");
  comprobante(141, 1, "B0100000141");
  comprobante(142, 7, "X0700000142");
  comprobante(143, 3, "B0300000143");
  comprobante(144, Nulo, "B0000000144");

  const Filas filas = Ejecutar(informes::CrearResumenFiscal);
  EXPECT_EQ(Columna(filas, "texto30"),
            QStringList({"B0000000144", "B0100000141", "B0200000140", "B0300000143", "X0700000142"}));
  EXPECT_EQ(Columna(filas, "texto31"),
            QStringList({"Null", "Credito Fiscal", "Consumo Final", "Guberneamental", "Null"}));
  EXPECT_EQ(Columna(filas, "numerico1"), QStringList({"144", "141", "140", "143", "142"}));
}

INSTANTIATE_TEST_SUITE_P(Motores, InformesCaja, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
