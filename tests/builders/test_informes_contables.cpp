// Informes contables y de productos: resumen contable, impuestos
// repercutidos, productos más vendidos y sin ventas, consumo de menús y
// reservas. Cada caso pone en la base sólo lo que mira y lee Informes en
// cada motor.

#include "builders/InformesContables.h"
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

double Numero(const QVariantMap& fila, const QString& columna) {
  return fila.value(columna).toDouble();
}

class InformesContables : public testing::TestWithParam<Motor> {
 protected:
  InformesContables() : tienda(GetParam()) {
    tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
    tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
    tienda.insertar("opciones", {{"identificador", "1234"},
                                 {"nombre", "Bar O'Neill"},
                                 {"direccion", "Calle Mayor, 3"},
                                 {"poblacion", "Cartagena"}});
  }

  // Una factura del 2 de marzo; `cambios` corrige lo que el caso mira.
  void Factura(int numero, QVariantMap cambios = {}) {
    QVariantMap f{{"numero", numero}, {"fechaventa", "2026-03-02"}, {"total", 0.0},
                  {"impuesto", 0.0},  {"descuento", 0.0},           {"pago", 1},
                  {"borrar", 0}};
    for (auto it = cambios.cbegin(); it != cambios.cend(); ++it) f.insert(it.key(), it.value());
    tienda.insertar("cabecera_factura", f);
  }
  // Una línea de un producto; `cambios` como arriba.
  void Linea(int factura, const QString& codigo, double unidades, double precio, QVariantMap cambios = {}) {
    QVariantMap l{{"num_factura", factura},
                  {"indice", ++indice},
                  {"codigo", codigo},
                  {"producto", QStringLiteral("Producto ") + codigo},
                  {"unidades", unidades},
                  {"precio", precio},
                  {"precio_unit", unidades != 0 ? precio / unidades : 0.0},
                  {"impuesto", 0.0},
                  {"tipoimpuesto", 10.0},
                  {"descuento", 0.0},
                  {"recargo", 0.0},
                  {"menu", 0},
                  {"productodemenu", 0},
                  {"borrar", 0}};
    for (auto it = cambios.cbegin(); it != cambios.cend(); ++it) l.insert(it.key(), it.value());
    tienda.insertar("detalle_factura", l);
  }
  void Producto(const QString& codigo, const QVariant& coste, const QVariant& precio, int tipo = 1) {
    tienda.insertar("productos", {{"codigo", codigo},
                                  {"nombre", QStringLiteral("Producto ") + codigo},
                                  {"coste", coste},
                                  {"precio", precio},
                                  {"tipoprod", tipo}});
  }
  Filas Ejecutar(void (*constructor)(informes::Contexto&)) {
    tienda.notificador.avisos.clear();
    tienda.seleccion.SinDatos = false;
    constructor(tienda.contexto);
    return tienda.filas();
  }
  // Muchas filas de una vez, en los dos motores.
  void Serie(int cuantas, const QString& destino, const QString& valores) {
    tienda.ejecutar(QStringLiteral("INSERT INTO %1 WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n"
                                   " WHERE i < %2) SELECT %3 FROM n")
                        .arg(destino)
                        .arg(cuantas)
                        .arg(valores));
  }

  prueba::Tienda tienda;
  int indice = 0;
};

// --- Resumen contable ------------------------------------------------------------------

TEST_P(InformesContables, ResumenContableNetoPrecioUnitarioNombresYCliente) {
  tienda.insertar("clientes", {{"codigo", 7},
                               {"nombre", "Lola"},
                               {"apellidos", "Gil"},
                               {"cif", Nulo},
                               {"poblacion", "Lorca"},
                               {"telefono", "968112233"}});
  tienda.insertar("formapago", {{"codigo", 2}, {"nombre", "Visa"}});
  Factura(1, {{"cliente", 7}, {"pago", 2}});
  Linea(1, "A", 4, 12.10, {{"impuesto", 2.10}, {"nombrecamarero", "Ana María López"}});
  Linea(1, "B", 0, 3.0, {{"impuesto", 0.5}, {"nombrecamarero", "Pedro"}});
  Linea(1, "C", 1, 2.0, {{"nombrecamarero", "Marta  Ruiz Gil"}});
  Linea(1, "D", 1, Nulo.toDouble(), {{"precio", Nulo}, {"impuesto", Nulo}, {"nombrecamarero", Nulo}});
  Factura(2, {{"cliente", 99}, {"pago", 0}});  // cliente que no existe
  Linea(2, "A", 1, 1.0);

  const Filas filas = Ejecutar(informes::CrearResumenContable);
  ASSERT_EQ(filas.size(), 5u);
  EXPECT_DOUBLE_EQ(Numero(filas[0], "numerico2"), 10.0);
  EXPECT_DOUBLE_EQ(Numero(filas[0], "numerico8"), 2.5);
  EXPECT_DOUBLE_EQ(Numero(filas[0], "numerico3"), 2.1);
  // Cero unidades: precio unitario 0, no una división.
  EXPECT_DOUBLE_EQ(Numero(filas[1], "numerico2"), 2.5);
  EXPECT_DOUBLE_EQ(Numero(filas[1], "numerico8"), 0.0);
  EXPECT_DOUBLE_EQ(Numero(filas[3], "numerico2"), 0.0);
  EXPECT_EQ(Columna(filas, "texto7"), QStringList({"Ana María", "Pedro", "Marta ", "", ""}));
  EXPECT_EQ(Columna(filas, "texto2"),
            QStringList({"Lola Gil", "Lola Gil", "Lola Gil", "Lola Gil", "Cliente Generico"}));
  EXPECT_EQ(filas[0].value("texto30"), "");
  EXPECT_EQ(filas[0].value("texto24"), "Lorca");
  EXPECT_EQ(filas[0].value("texto25"), "968112233");
  EXPECT_EQ(Columna(filas, "texto4"), QStringList({"Visa", "Visa", "Visa", "Visa", ""}));
  EXPECT_EQ(filas[4].value("texto24"), "");
  EXPECT_EQ(filas[4].value("texto30"), "");
  EXPECT_EQ(filas[0].value("texto10"), "1");
  EXPECT_EQ(filas[0].value("fecha1"), "2026-03-01");
  EXPECT_EQ(filas[0].value("fecha2"), "2026-03-05");
  EXPECT_EQ(filas[0].value("fecha3"), "2026-03-02");
  EXPECT_FALSE(tienda.seleccion.SinDatos);
}

TEST_P(InformesContables, ResumenContableCortaLaDireccionEnCuarentaYNueveYCuentaMasDe32767Ventas) {
  // "Calle " + 41 letras + " - " + "Cartagena" = 59 caracteres.
  tienda.ejecutar("UPDATE opciones SET direccion = ?", {QStringLiteral("Calle ") + QString(41, QLatin1Char('x'))});
  Factura(1);
  Linea(1, "A", 1, 1.0);
  // Ventas sin líneas y borradas cuentan; más de las que caben en 16 bits.
  Serie(33000, "cabecera_factura (numero, fechaventa, total, borrar)", "1000 + i, '2026-03-03', 1, i % 2");
  Filas filas = Ejecutar(informes::CrearResumenContable);
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0].value("texto34").toString().size(), 49);
  EXPECT_TRUE(filas[0].value("texto34").toString().startsWith(QStringLiteral("Calle xxx")));
  EXPECT_DOUBLE_EQ(Numero(filas[0], "numerico17"), 33001.0);

  // Exactamente 50: entera.
  tienda.ejecutar("UPDATE opciones SET direccion = ?", {QStringLiteral("Calle ") + QString(32, QLatin1Char('y'))});
  filas = Ejecutar(informes::CrearResumenContable);
  EXPECT_EQ(filas[0].value("texto34").toString().size(), 50);
  EXPECT_TRUE(filas[0].value("texto34").toString().endsWith(QStringLiteral(" - Cartagena")));
}

TEST_P(InformesContables, ResumenContableCosteConElPrecioActualYGastosSoloDecimales) {
  Producto("A", 1.25, 3.0);
  Producto("B", Nulo, 3.0);
  Factura(1);
  Linea(1, "A", 4, 10.0);
  Linea(1, "B", 2, 6.0);
  Linea(1, "Z", 5, 5.0);  // sin ficha: no cuesta
  Factura(2, {{"borrar", 1}});
  Linea(2, "A", 2, 5.0);  // también las borradas
  Factura(3, {{"fechaventa", "2026-03-06"}});
  Linea(3, "A", 100, 1.0);
  for (const auto& [fecha, importe, decimal] :
       {std::tuple{"2026-03-01", 50.0, 1.5}, std::tuple{"2026-03-05", 20.0, 2.25}, std::tuple{"2026-03-06", 9.0, 9.0}})
    tienda.insertar("gastos", {{"fecha", fecha}, {"importe", importe}, {"importe_decimal", decimal}});
  const Filas filas = Ejecutar(informes::CrearResumenContable);
  ASSERT_EQ(filas.size(), 4u);
  for (const QVariantMap& f : filas) {
    EXPECT_DOUBLE_EQ(Numero(f, "numerico9"), 7.5);
    EXPECT_DOUBLE_EQ(Numero(f, "numerico16"), 3.75);
    EXPECT_DOUBLE_EQ(Numero(f, "numerico17"), 2.0);
    for (const char* cero : {"numerico13", "numerico14", "numerico18", "numerico20"}) {
      ASSERT_TRUE(f.contains(cero)) << cero;
      EXPECT_DOUBLE_EQ(Numero(f, cero), 0.0) << cero;
    }
  }
  EXPECT_EQ(Columna(filas, "numerico1"), QStringList({"1", "1", "1", "2"}));
}

TEST_P(InformesContables, ResumenContableSinLineasNoEscribeNiAvisa) {
  Factura(1);
  EXPECT_TRUE(Ejecutar(informes::CrearResumenContable).empty());
  EXPECT_TRUE(tienda.seleccion.SinDatos);
  EXPECT_TRUE(tienda.notificador.avisos.empty());
}

// --- Impuestos repercutidos ----------------------------------------------------------

TEST_P(InformesContables, ImpuestosPorTipoConElNuloAlCeroYSinBorradas) {
  Factura(1, {{"total", 11.10 + 12.10 + 2.0 + 1.0}, {"impuesto", 1.01 + 2.10}});
  Linea(1, "A", 1, 12.10, {{"descuento", 1.00}, {"impuesto", 1.01}, {"tipoimpuesto", 10.0}});
  Linea(1, "B", 1, 12.10, {{"impuesto", 2.10}, {"tipoimpuesto", 21.0}});
  Linea(1, "C", 1, 2.0, {{"tipoimpuesto", Nulo}});
  Linea(1, "D", 1, 1.0, {{"tipoimpuesto", 0.0}});
  Linea(1, "E", 1, 50.0, {{"impuesto", 4.55}, {"borrar", 1}});  // borrada: no se cobró
  Factura(2, {{"total", 99.0}, {"impuesto", 9.0}, {"borrar", 1}});
  Linea(2, "A", 1, 99.0, {{"impuesto", 9.0}, {"tipoimpuesto", 4.0}});

  const Filas filas = Ejecutar(informes::CrearImpuestosRepercutidos);
  ASSERT_EQ(filas.size(), 3u);
  EXPECT_EQ(Columna(filas, "texto22"), QStringList({"Impuesto al 0%", "Impuesto al 10%", "Impuesto al 21%"}));
  EXPECT_EQ(Columna(filas, "numerico2"), QStringList({"3", "10.09", "10"}));
  EXPECT_EQ(Columna(filas, "numerico3"), QStringList({"0", "1.01", "2.1"}));
  EXPECT_EQ(filas[0].value("texto1"), "Bar O'Neill");
  EXPECT_EQ(filas[0].value("texto2"), "Calle Mayor, 3");
  EXPECT_EQ(filas[0].value("fecha1"), "2026-03-06");
  EXPECT_EQ(filas[0].value("fecha2"), "1899-12-30 09:07:00");
}

TEST_P(InformesContables, ImpuestosRepartenElDescuentoDeLaFacturaEnteraYNoPierdenLasSinLineas) {
  // 10 % de descuento a la factura entera, en ninguna línea: lo cobrado y
  // el impuesto de cada tipo bajan en proporción y suman la factura.
  Factura(1, {{"total", 27.0}, {"impuesto", 3.12 + 0.82}});
  Linea(1, "A", 1, 20.0, {{"impuesto", 3.47}, {"tipoimpuesto", 21.0}});
  Linea(1, "B", 1, 10.0, {{"impuesto", 0.91}, {"tipoimpuesto", 10.0}});
  Factura(2, {{"total", 4.0}, {"impuesto", 0.36}});  // cobrada sin líneas
  Factura(3, {{"total", 0.0}, {"impuesto", 0.0}});   // ni líneas ni importe: nada

  const Filas filas = Ejecutar(informes::CrearImpuestosRepercutidos);
  ASSERT_EQ(filas.size(), 3u);
  EXPECT_EQ(Columna(filas, "texto22"),
            QStringList({"Impuesto al 10%", "Impuesto al 21%", "Sin desglose por tipo (facturas sin líneas)"}));
  double cobrado = 0, impuesto = 0;
  for (const QVariantMap& f : filas) {
    cobrado += Numero(f, "numerico2") + Numero(f, "numerico3");
    impuesto += Numero(f, "numerico3");
  }
  EXPECT_NEAR(cobrado, 31.0, 1e-9);
  EXPECT_NEAR(impuesto, 4.30, 1e-9);
  // Al 10 % va un tercio del descuento (3 €) y, de lo que baja el impuesto,
  // lo que le toca por su impuesto: el 10 % de descuento de lo suyo.
  EXPECT_NEAR(Numero(filas[0], "numerico2") + Numero(filas[0], "numerico3"), 9.0, 1e-9);
  EXPECT_NEAR(Numero(filas[0], "numerico3"), 0.82, 1e-9);
  EXPECT_NEAR(Numero(filas[1], "numerico3"), 3.12, 1e-9);
  EXPECT_NEAR(Numero(filas[2], "numerico3"), 0.36, 1e-9);
}

// --- Productos más vendidos y sin ventas ------------------------------------------------

TEST_P(InformesContables, MasVendidosCompletosSinTopeYSinCosteArrastrado) {
  // 250 productos de una vez; el último, también en otra venta.
  Factura(1);
  Factura(2);
  Serie(250,
        "detalle_factura (num_factura, indice, codigo, producto, unidades, precio, precio_unit, menu, productodemenu)",
        "1, i, 'P' || (1000 + i), 'Producto', 1, 2, 2, 0, 0");
  Linea(2, "P1250", 3, 6.0);
  Producto("P1001", 0.5, 2.0);
  Producto("P1003", Nulo, 2.5);  // P1002 sin ficha, P1003 sin coste
  Producto("P1250", 1.0, 2.0);
  const Filas filas = Ejecutar(informes::CrearProductosMasVendidos);
  ASSERT_EQ(filas.size(), 250u);
  EXPECT_DOUBLE_EQ(Numero(filas[0], "numerico1"), 0.5);
  EXPECT_FALSE(filas[1].contains("numerico1"));
  EXPECT_FALSE(filas[1].contains("numerico2"));
  EXPECT_FALSE(filas[2].contains("numerico1"));
  EXPECT_DOUBLE_EQ(Numero(filas[2], "numerico2"), 2.5);
  EXPECT_DOUBLE_EQ(Numero(filas[249], "numerico3"), 4.0);
  EXPECT_DOUBLE_EQ(Numero(filas[249], "numerico10"), 8.0);
  EXPECT_DOUBLE_EQ(Numero(filas[249], "numerico1"), 1.0);
  for (const QVariantMap& f : filas) EXPECT_EQ(f.value("texto21"), "Productos");
}

TEST_P(InformesContables, MasVendidosSumaSinImportarElOrdenYSeparaLosMenus) {
  Factura(1);
  Factura(2, {{"borrar", 1}});  // las borradas cuentan
  Linea(1, "B", 1, 3.0, {{"descuento", 0.5}, {"recargo", 0.2}});
  Linea(1, "A", 2, 4.0);
  Linea(2, "B", 2, 6.0, {{"precio_unit", 2.75}});
  Linea(1, "A", 1, 12.0, {{"menu", 1}, {"producto", "Menú A"}});
  Linea(1, "S", 1, 0.0, {{"productodemenu", 1}});  // plato de un menú: en ninguna sección
  const Filas filas = Ejecutar(informes::CrearProductosMasVendidos);
  ASSERT_EQ(filas.size(), 3u);
  EXPECT_EQ(Columna(filas, "texto21"), QStringList({"Productos", "Productos", "Menus"}));
  EXPECT_EQ(Columna(filas, "texto5"), QStringList({"Producto A", "Producto B", "Menú A"}));
  EXPECT_EQ(Columna(filas, "numerico3"), QStringList({"2", "3", "1"}));
  EXPECT_EQ(Columna(filas, "numerico10"), QStringList({"4", "9", "12"}));
  EXPECT_EQ(Columna(filas, "numerico6"), QStringList({"0", "0.2", "0"}));
  // Lo de la línea que empezó el producto.
  EXPECT_DOUBLE_EQ(Numero(filas[1], "numerico20"), 3.0);
  // El último de cada sección sólo lleva descuento si lo tuvo.
  EXPECT_EQ(Columna(filas, "numerico5"), QStringList({"0", "0.5", "Null"}));
  EXPECT_EQ(filas[0].value("texto3"), "01/03/2026");
  EXPECT_EQ(filas[0].value("texto4"), "05/03/2026");
}

TEST_P(InformesContables, SinVentasPorDebajoDelUmbralYVacioSinMovimientos) {
  Producto("A", 1.0, 2.0, 1);
  Producto("B", 1.0, 2.0, 2);
  Producto("C", 1.0, 2.0, 1);
  Producto("D", 1.0, 2.0, 3);  // no es de venta
  int id = 0;
  for (const auto& [codigo, cantidad, fecha, tipo] :
       {std::tuple{"A", 2.0, "2026-03-02", 2}, std::tuple{"A", 1.0, "2026-03-05", 2},
        std::tuple{"B", 2.0, "2026-03-03", 2}, std::tuple{"C", 9.0, "2026-03-03", 3},
        std::tuple{"C", 9.0, "2026-03-06", 2}})
    tienda.insertar(
        "historicostock",
        {{"id", ++id}, {"codigo", codigo}, {"cantidad", cantidad}, {"fecha", fecha}, {"descripciontipo", tipo}});

  tienda.seleccion.NumVentas = 1;
  Filas filas = Ejecutar(informes::CrearProductosSinVentas);
  EXPECT_EQ(Columna(filas, "texto20"), QStringList({"C"}));
  EXPECT_FALSE(filas.at(0).contains("numerico3"));
  EXPECT_EQ(filas.at(0).value("texto6"), "V");

  tienda.seleccion.NumVentas = 3;
  filas = Ejecutar(informes::CrearProductosSinVentas);
  // Por tipo y nombre: los de venta (V) y luego los de almacén (A).
  EXPECT_EQ(Columna(filas, "texto20"), QStringList({"C", "B"}));
  EXPECT_EQ(Columna(filas, "numerico3"), QStringList({"Null", "2"}));
  EXPECT_EQ(Columna(filas, "texto6"), QStringList({"V", "A"}));
  EXPECT_EQ(Columna(filas, "numerico6"), QStringList({"3", "3"}));

  // Todos venden bastante: no hay filas pero sí informe.
  tienda.ejecutar("DELETE FROM productos WHERE codigo <> 'A'");
  EXPECT_TRUE(Ejecutar(informes::CrearProductosSinVentas).empty());
  EXPECT_FALSE(tienda.seleccion.SinDatos);
}

// --- Reservas ----------------------------------------------------------------------------

TEST_P(InformesContables, ReservasEnUnIntervaloDeFechasQueCruzaMeses) {
  int id = 0;
  auto reserva = [&](const QVariant& telefono, const char* fecha, const char* mesa, const char* nombre) {
    tienda.insertar("reservas", {{"id", ++id},
                                 {"telefono", telefono},
                                 {"fecha", fecha},
                                 {"hora", "21:15:00"},
                                 {"nombre", nombre},
                                 {"mesa", mesa},
                                 {"numcomensales", id}});
  };
  reserva("600000001", "2026-01-28", "4", "Ana");
  reserva("600000001", "2026-03-10", "7", "Ana");
  reserva("600000001", "2026-01-20", "4", "Ana G.");  // fuera, pero es suya
  reserva("600000002", "2026-02-05", "9", "Peña");
  reserva("600000002", "2026-02-05", "10", "Luis");  // mismo teléfono, otra persona
  reserva("600000003", "2026-01-24", "1", "Antes");
  reserva("600000004", "2026-02-06", "2", "Después");

  tienda.seleccion.FechaDesde = QDate(2026, 1, 25);
  tienda.seleccion.FechaHasta = QDate(2026, 2, 5);
  const Filas filas = Ejecutar(informes::CrearReservas);
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(Columna(filas, "texto9"), QStringList({"600000001", "600000002"}));
  EXPECT_EQ(Columna(filas, "texto11"), QStringList({"4, 7, 4", "9, 10"}));
  // Lo de la última reserva leída.
  EXPECT_EQ(Columna(filas, "texto8"), QStringList({"Ana G.", "Luis"}));
  EXPECT_EQ(Columna(filas, "texto21"), QStringList({"20/01/2026", "05/02/2026"}));
  EXPECT_EQ(Columna(filas, "numerico1"), QStringList({"3", "5"}));
  EXPECT_EQ(filas[0].value("fecha4"), "1899-12-30 21:15:00");
  EXPECT_EQ(filas[0].value("texto6"), "25/01/2026");
  EXPECT_EQ(filas[0].value("texto7"), "05/02/2026");

  tienda.seleccion.FechaDesde = QDate(2026, 2, 6);
  tienda.seleccion.FechaHasta = QDate(2026, 3, 9);
  EXPECT_EQ(Columna(Ejecutar(informes::CrearReservas), "texto9"), QStringList({"600000004"}));
  tienda.seleccion.FechaDesde = QDate(2026, 4, 1);
  tienda.seleccion.FechaHasta = QDate(2026, 4, 30);
  EXPECT_TRUE(Ejecutar(informes::CrearReservas).empty());
  ASSERT_EQ(tienda.notificador.avisos.size(), 1u);
  EXPECT_EQ(tienda.notificador.avisos[0].texto, "No hay datos para ser mostrados.");
}

// --- Consumo de menús ------------------------------------------------------------------

TEST_P(InformesContables, ConsumoDeMenusMenusYPlatosConSuPropioPrecio) {
  tienda.insertar("seccion", {{"codigo", "90"}, {"nombrecompleto", "Menús"}, {"menu", 1}, {"borrar", 0}});
  tienda.insertar("seccion", {{"codigo", "91"}, {"nombrecompleto", "Sin ventas"}, {"menu", 1}, {"borrar", 0}});
  tienda.insertar("seccion", {{"codigo", "M1"}, {"coste", 4.0}, {"precio", 12.0}, {"menu", 0}, {"borrar", 0}});
  Factura(1, {{"descuento", 1.5}});
  const QVariantMap menu{{"menu", 1}, {"codmenu", "90"}};
  Linea(1, "M1", 5, 60.0, menu);
  Linea(1, "M2", 3, 30.0, menu);  // sin ficha en seccion
  auto plato = [&](const char* codigo, int orden, double unidades, double precio) {
    Linea(1, codigo, unidades, precio, {{"productodemenu", 1}, {"codmenu", "90"}, {"orden", orden}});
  };
  plato("P1", 1, 5, 0.0);
  plato("P2", 2, 3, 6.0);  // suplemento de 2 €
  plato("P3", 2, 5, 0.0);
  plato("P2", 2, 1, 3.0);  // otro día, suplemento de 3 €
  plato("P4", 3, 8, 0.0);
  plato("P5", 4, 8, 0.0);                                                    // cuarto pase: no cuenta
  Linea(1, "M1", 1, 12.0, {{"menu", 1}, {"codmenu", "90"}, {"borrar", 1}});  // línea borrada

  const Filas filas = Ejecutar(informes::CrearConsumoMenus);
  ASSERT_EQ(filas.size(), 6u);
  EXPECT_EQ(Columna(filas, "texto5"), QStringList({"Producto M1", "Producto M2", "      Producto P1",
                                                   "      Producto P2", "      Producto P3", "      Producto P4"}));
  for (const QVariantMap& f : filas) EXPECT_EQ(f.value("texto21"), "Menús");
  EXPECT_EQ(Columna(filas, "numerico3"), QStringList({"5", "3", "5", "4", "5", "8"}));
  EXPECT_EQ(Columna(filas, "numerico1"), QStringList({"4", "0", "0", "0", "0", "0"}));
  // El menú sin ficha no tiene precio; cada plato, el de su propia línea.
  EXPECT_EQ(Columna(filas, "numerico2"), QStringList({"12", "Null", "0", "2", "0", "0"}));
  EXPECT_EQ(Columna(filas, "numerico4"), QStringList({"60", "30", "0", "9", "0", "0"}));
  // El último menú sin descuento en sus líneas lleva el de la venta.
  EXPECT_EQ(Columna(filas, "numerico5"), QStringList({"0", "1.5", "0", "0", "0", "0"}));
}

INSTANTIATE_TEST_SUITE_P(Motores, InformesContables, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
