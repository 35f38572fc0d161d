// Listados de datos maestros: qué registros entran, qué va a cada columna de
// Informes, los rótulos, los Null y el orden, en cada motor.

#include "builders/ListadosMaestros.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "support/BasesPrueba.h"

#include "support/ImprimirQt.h"

#include <gtest/gtest.h>

namespace {

using prueba::Motor;
using Filas = std::vector<QVariantMap>;
using Constructor = void (*)(informes::Contexto&);

const QVariant Nulo;

// Los valores de una columna en todas las filas; "Null" donde no la hay.
QStringList Columna(const Filas& filas, const QString& columna) {
  QStringList valores;
  for (const QVariantMap& f : filas) valores << f.value(columna, QStringLiteral("Null")).toString();
  return valores;
}

class ListadosMaestros : public testing::TestWithParam<Motor> {
 protected:
  ListadosMaestros() : tienda(GetParam()) {}

  void Opciones(const QVariant& cif = QStringLiteral("B30111222")) {
    tienda.insertar("opciones", {{"identificador", "1234"},
                                 {"nombre", "Bar El Puerto"},
                                 {"direccion", "Paseo Marítimo 3"},
                                 {"poblacion", "Águilas"},
                                 {"cif", cif}});
  }
  // Sin borrar salvo que se diga: así las pruebas sólo escriben lo que miran.
  void Insertar(const QString& tabla, QVariantMap campos) {
    if (!campos.contains("borrar") && tabla != "clientes" && tabla != "empleados") campos.insert("borrar", 0);
    tienda.insertar(tabla, campos);
  }
  void Familia(const QString& codigo, const QVariant& nombre, const QVariant& hechoen, QVariantMap resto = {}) {
    resto.insert({{"codigo", codigo}, {"nombre", nombre}, {"hechoen", hechoen}});
    Insertar("seccion", resto);
  }
  void Proveedor(const QString& codigo, const QString& nombre, QVariantMap resto = {}) {
    resto.insert({{"codigo", codigo}, {"nombre", nombre}});
    Insertar("proveedores", resto);
  }
  void Producto(const QString& codigo, const QVariant& nombre, QVariantMap resto = {}) {
    resto.insert({{"codigo", codigo}, {"nombre", nombre}});
    Insertar("productos", resto);
  }
  Filas Ejecutar(Constructor constructor) {
    tienda.notificador.avisos.clear();
    tienda.seleccion.SinDatos = false;
    constructor(tienda.contexto);
    return tienda.filas();
  }
  // Deja en Informes una fila ajena, como la de un informe anterior.
  void InformeAnterior() {
    informes::EscritorInformes e(*tienda.ajustes.ConexionInformes);
    e.vaciar();
    e.nuevaFila();
    e.poner(informes::Col::Texto1, "informe anterior");
    e.guardarFila();
    e.terminar();
  }

  prueba::Tienda tienda;
};

// --- Lo común a los ocho ----------------------------------------------------------

struct ListadoConNombre {
  const char* nombre;
  Constructor constructor;
};
const ListadoConNombre kListados[] = {
    {"productos", informes::CrearListadoProductos},     {"bajo mínimo", informes::CrearProductosBajoMinimo},
    {"clientes", informes::CrearListadoClientes},       {"empleados", informes::CrearListadoEmpleados},
    {"familias", informes::CrearListadoFamilias},       {"formas de pago", informes::CrearListadoFormasPago},
    {"proveedores", informes::CrearListadoProveedores}, {"valoración", informes::CrearValoracionStock},
};

TEST_P(ListadosMaestros, SinRegistrosAvisaYDejaInformesVacio) {
  Opciones();
  // Registros que ningún listado admite: borrados, forma de pago sin borrar,
  // stock por encima del mínimo y a cero.
  Familia("1", "Bebidas", 1, {{"borrar", -1}});
  Proveedor("1", "Levante", {{"borrar", 1}});
  Producto("1", "Agua", {{"borrar", -1}, {"seccion", "1"}, {"proveedor", "1"}, {"stock", 0}, {"stockminimo", -1}});
  Insertar("formapago", {{"codigo", 1}, {"nombre", "Efectivo"}});
  for (const auto& [nombre, constructor] : kListados) {
    SCOPED_TRACE(nombre);
    InformeAnterior();
    EXPECT_TRUE(Ejecutar(constructor).empty());
    EXPECT_TRUE(tienda.seleccion.SinDatos);
    ASSERT_EQ(tienda.notificador.avisos.size(), 1);
    EXPECT_EQ(tienda.notificador.avisos[0].texto, "No hay datos para ser mostrados.");
    EXPECT_EQ(tienda.notificador.avisos[0].titulo, "ATENCION");
    EXPECT_EQ(tienda.notificador.avisos[0].icono, sistema::Icono::Informacion);
  }
}

TEST_P(ListadosMaestros, DosInformesSeguidosDejanSoloElSegundo) {
  Opciones();
  Producto("1", "Agua");
  Producto("2", "Pan");
  Insertar("clientes", {{"codigo", 1}, {"nombre", "Eva"}, {"apellidos", "Gil"}});
  EXPECT_EQ(Ejecutar(informes::CrearListadoProductos).size(), 2u);
  const Filas filas = Ejecutar(informes::CrearListadoClientes);
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0].value("texto10"), "Eva Gil");
  EXPECT_FALSE(filas[0].contains("texto8"));
  EXPECT_FALSE(tienda.seleccion.SinDatos);
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty());
}

TEST_P(ListadosMaestros, SinFilaDeOpcionesLaCabeceraVaVacia) {
  Producto("1", "Agua");
  Insertar("proveedores", {{"codigo", "1"}, {"nombre", "Levante"}});
  const Filas productos = Ejecutar(informes::CrearListadoProductos);
  ASSERT_EQ(productos.size(), 1u);
  EXPECT_EQ(productos[0].value("texto6"), "");
  EXPECT_EQ(productos[0].value("texto7"), "");
  const Filas proveedores = Ejecutar(informes::CrearListadoProveedores);
  ASSERT_EQ(proveedores.size(), 1u);
  for (const char* columna : {"texto1", "texto2", "texto3"}) EXPECT_EQ(proveedores[0].value(columna), "") << columna;
}

TEST_P(ListadosMaestros, ParteDelCifHastaElPrimerBlancoIncluido) {
  Insertar("clientes", {{"codigo", 1}, {"nombre", "Eva"}});
  Insertar("empleados", {{"codigo", 1}, {"nombre", "Ana"}});
  Proveedor("1", "Levante");
  // La cabecera sale de la primera fila por identificador, no de la última escrita.
  tienda.insertar("opciones", {{"identificador", "9000"}, {"nombre", "Otro bar"}, {"cif", "X 1"}});
  Opciones("48123456 Bar El Puerto SL");
  const struct {
    const char* nombre;
    Constructor constructor;
  } conCif[] = {{"clientes", informes::CrearListadoClientes},
                {"empleados", informes::CrearListadoEmpleados},
                {"proveedores", informes::CrearListadoProveedores}};
  for (const auto& [nombre, constructor] : conCif) {
    SCOPED_TRACE(nombre);
    const Filas filas = Ejecutar(constructor);
    ASSERT_EQ(filas.size(), 1u);
    EXPECT_EQ(filas[0].value("texto1"), "Bar El Puerto");
    EXPECT_EQ(filas[0].value("texto2"), "Paseo Marítimo 3 - Águilas");
    EXPECT_EQ(filas[0].value("texto3"), "48123456 ");
  }
  tienda.ejecutar("UPDATE opciones SET cif = ?", {"B30111222"});
  EXPECT_EQ(Ejecutar(informes::CrearListadoClientes).at(0).value("texto3"), "");
  tienda.ejecutar("UPDATE opciones SET cif = NULL");
  EXPECT_EQ(Ejecutar(informes::CrearListadoEmpleados).at(0).value("texto3"), "");
}

TEST_P(ListadosMaestros, TablaQueFaltaEsUnErrorQueNoTocaInformes) {
  Opciones();
  Producto("1", "Agua");
  const Filas antes = Ejecutar(informes::CrearListadoProductos);
  ASSERT_EQ(antes.size(), 1u);
  const struct {
    const char* boton;
    const char* tabla;
  } casos[] = {{"cmdClientes", "clientes"}, {"cmdBajoMinimo", "proveedores"}, {"cmdFamilias", "opciones"}};
  for (const auto& [boton, tabla] : casos) {
    SCOPED_TRACE(boton);
    tienda.ejecutar(QStringLiteral("DROP TABLE %1").arg(tabla));
    tienda.notificador.avisos.clear();
    const registro::BotonInforme* b = registro::BuscarBoton(boton);
    ASSERT_NE(b, nullptr);
    const registro::Ejecucion e = registro::EjecutarConstructor(*b, tienda.contexto);
    EXPECT_EQ(e.resultado, registro::Resultado::Error);
    EXPECT_TRUE(e.error.contains("hosteleria")) << e.error.toStdString();
    EXPECT_TRUE(e.error.contains(tabla)) << e.error.toStdString();
    EXPECT_TRUE(tienda.seleccion.SinDatos);
    ASSERT_EQ(tienda.notificador.avisos.size(), 1);
    EXPECT_EQ(tienda.notificador.avisos[0].titulo, "Cronicas");
    EXPECT_EQ(tienda.filas(), antes);
  }
}

// --- Productos -----------------------------------------------------------------------

TEST_P(ListadosMaestros, ProductosCopianCadaColumna) {
  Opciones();
  Familia("3", "Entrantes", 2);
  Proveedor("7", "Cárnicas Ñorcas");
  Producto("10", "Croquetas",
           {{"descripcion", "Croquetas caseras de jamón"},
            {"descnumerica", "0310"},
            {"precio", 6.5},
            {"coste", 2.1},
            {"iva", 10.0},
            {"entrada", 40.0},
            {"salida", 28.5},
            {"stock", 11.5},
            {"stockminimo", 10.0},
            {"stockconsumointerno", 2.0},
            {"seccion", "3"},
            {"proveedor", "7"},
            {"tipoprod", 1}});
  // Los números Null se copian como Null.
  Producto("11", "Pan", {{"seccion", "3"}, {"descripcion", Nulo}});
  const Filas filas = Ejecutar(informes::CrearListadoProductos);
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(filas[0], (QVariantMap{{"texto2", "Croquetas"},
                                   {"texto3", "Croquetas caseras de jamón"},
                                   {"texto4", "0310"},
                                   {"texto5", "Cocina"},
                                   {"numerico1", 6.5},
                                   {"numerico2", 10.0},
                                   {"texto6", "Bar El Puerto"},
                                   {"texto7", "Paseo Marítimo 3 - Águilas"},
                                   {"texto8", "Entrantes"},
                                   {"numerico3", 40.0},
                                   {"numerico4", 28.5},
                                   {"numerico5", 11.5},
                                   {"numerico21", 2.0}}));
  EXPECT_EQ(filas[1], (QVariantMap{{"texto2", "Pan"},
                                   {"texto5", "Cocina"},
                                   {"texto6", "Bar El Puerto"},
                                   {"texto7", "Paseo Marítimo 3 - Águilas"},
                                   {"texto8", "Entrantes"}}));
}

TEST_P(ListadosMaestros, ProductosSinFamiliaOSinProveedorTambienSalen) {
  Opciones();
  Familia("1", "Bebidas", 1);
  Proveedor("1", "Levante");
  Producto("1", "Agua", {{"seccion", Nulo}, {"proveedor", "1"}});
  Producto("2", "Bizcocho", {{"seccion", "-1"}, {"proveedor", "1"}});
  Producto("3", "Cerveza", {{"seccion", "1"}, {"proveedor", Nulo}});
  Producto("4", "Donut", {{"seccion", "1"}, {"proveedor", "99"}});
  const Filas filas = Ejecutar(informes::CrearListadoProductos);
  EXPECT_EQ(Columna(filas, "texto2"), QStringList({"Agua", "Bizcocho", "Cerveza", "Donut"}));
  EXPECT_EQ(Columna(filas, "texto8"), QStringList({"Sin Asignar", "Sin Asignar", "Bebidas", "Bebidas"}));
  EXPECT_EQ(Columna(filas, "texto5"), QStringList({"Null", "Null", "Barra", "Barra"}));
}

TEST_P(ListadosMaestros, ProductosBorradosNoSalen) {
  Opciones();
  Producto("1", "Agua", {{"borrar", -1}});
  Producto("2", "Bizcocho", {{"borrar", 1}});
  Producto("3", "Cerveza", {{"borrar", 0}});
  EXPECT_EQ(Columna(Ejecutar(informes::CrearListadoProductos), "texto2"), QStringList({"Cerveza"}));
}

TEST_P(ListadosMaestros, ProductosLugarDePreparacionDeSuFamilia) {
  Opciones();
  Familia("1", "Bebidas", 1);
  Familia("2", "Carnes", 2);
  Familia("3", "Dulces", 3);
  Familia("4", "Especias", 0);
  Familia("5", "Frutas", Nulo);
  for (int i = 1; i <= 5; ++i)
    Producto(QString::number(i), QStringLiteral("Producto %1").arg(i), {{"seccion", QString::number(i)}});
  EXPECT_EQ(Columna(Ejecutar(informes::CrearListadoProductos), "texto5"),
            QStringList({"Barra", "Cocina", "Null", "Null", "Null"}));
}

TEST_P(ListadosMaestros, ProductosOrdenadosPorNombreEnEspanol) {
  Opciones();
  const QVariantList nombres = {"ostra", "Zumo", "ñandú", "PAN", "nata", "agua", "Ágave", Nulo, "almendra", "pan", ""};
  for (int i = 0; i < nombres.size(); ++i) Producto(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')), nombres[i]);
  // "PAN" y "pan" empatan: quedan en el orden de su código.
  EXPECT_EQ(Columna(Ejecutar(informes::CrearListadoProductos), "texto2"),
            QStringList({"Null", "", "Ágave", "agua", "almendra", "nata", "ñandú", "ostra", "PAN", "pan", "Zumo"}));
}

// --- Bajo mínimo ---------------------------------------------------------------------

TEST_P(ListadosMaestros, BajoMinimoConProveedorYFamiliaIncluidoElIgualYLosBorrados) {
  Opciones();
  Familia("1", "Bebidas", 1);
  Familia("2", "Viejas", 1, {{"borrar", -1}});
  Proveedor("1", "Levante");
  Proveedor("2", "Antiguo", {{"borrar", -1}});
  const QVariantMap conTodo = {{"seccion", "1"}, {"proveedor", "1"}};
  auto con = [&](QVariantMap cambios) {
    QVariantMap m = conTodo;
    m.insert(cambios);
    return m;
  };
  Producto("01", "debajo", con({{"stock", 1.0}, {"stockminimo", 5.0}}));
  Producto("02", "igual", con({{"stock", 5.0}, {"stockminimo", 5.0}}));
  Producto("03", "encima", con({{"stock", 5.5}, {"stockminimo", 5.0}}));
  Producto("04", "borrado", con({{"stock", -2.0}, {"stockminimo", 0.0}, {"borrar", -1}}));
  Producto("05", "sin proveedor", con({{"stock", 0.0}, {"stockminimo", 3.0}, {"proveedor", Nulo}}));
  Producto("06", "sin familia", con({{"stock", 0.0}, {"stockminimo", 3.0}, {"seccion", Nulo}}));
  Producto("07", "proveedor inexistente", con({{"stock", 0.0}, {"stockminimo", 3.0}, {"proveedor", "99"}}));
  Producto("08", "familia inexistente", con({{"stock", 0.0}, {"stockminimo", 3.0}, {"seccion", "-1"}}));
  Producto("09", "stock Null", con({{"stockminimo", 3.0}}));
  Producto("10", "mínimo Null", con({{"stock", 0.0}}));
  Producto("11", "proveedor borrado", con({{"stock", 0.0}, {"stockminimo", 1.0}, {"proveedor", "2"}}));
  Producto("12", "familia borrada", con({{"stock", 0.0}, {"stockminimo", 1.0}, {"seccion", "2"}}));
  const Filas filas = Ejecutar(informes::CrearProductosBajoMinimo);
  EXPECT_EQ(Columna(filas, "texto5"),
            QStringList({"debajo", "igual", "borrado", "proveedor borrado", "familia borrada"}));
  EXPECT_EQ(Columna(filas, "texto6"), QStringList({"Levante", "Levante", "Levante", "Antiguo", "Levante"}));
}

TEST_P(ListadosMaestros, BajoMinimoCopiaCadaColumna) {
  Opciones();
  Familia("1", "Bebidas", 1);
  Proveedor("4", "Lácteos del Sur");
  Producto("1", "Nata",
           {{"seccion", "1"},
            {"proveedor", "4"},
            {"coste", 1.25},
            {"precio", 3.0},
            {"stock", 2.0},
            {"stockminimo", 6.0},
            {"descripcion", "no se lista"}});
  const Filas filas = Ejecutar(informes::CrearProductosBajoMinimo);
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0], (QVariantMap{{"texto1", "Bar El Puerto"},
                                   {"texto2", "Paseo Marítimo 3 - Águilas"},
                                   {"texto5", "Nata"},
                                   {"texto6", "Lácteos del Sur"},
                                   {"numerico1", 1.25},
                                   {"numerico2", 3.0},
                                   {"numerico3", 2.0},
                                   {"numerico4", 6.0}}));
}

// --- Clientes --------------------------------------------------------------------------

TEST_P(ListadosMaestros, ClientesTodosEnOrdenDeCodigoConTextosUnidos) {
  Opciones("B30111222");
  Insertar("clientes", {{"codigo", 3},
                        {"nombre", "Eva"},
                        {"direccion", "Mayor"},
                        {"numero", "3"},
                        {"puerta", "B"},
                        {"descuento", 10.0}});
  Insertar("clientes", {{"codigo", 1},
                        {"nombre", "María"},
                        {"apellidos", "Fernández Gil"},
                        {"direccion", "Av. Libertad"},
                        {"numero", "14"},
                        {"piso", "3"},
                        {"puerta", "B"},
                        {"codigo_postal", "30005"},
                        {"poblacion", "no se lista"},
                        {"telefono", "968 000 111"},
                        {"fax", "no se lista"},
                        {"cif", "23456789K"},
                        {"e_mail", "maria@correo.es"},
                        {"descuento", 7.5}});
  Insertar("clientes", {{"codigo", 2}, {"apellidos", "Sin Nombre"}});
  const Filas filas = Ejecutar(informes::CrearListadoClientes);
  ASSERT_EQ(filas.size(), 3u);
  EXPECT_EQ(filas[0], (QVariantMap{{"texto1", "Bar El Puerto"},
                                   {"texto2", "Paseo Marítimo 3 - Águilas"},
                                   {"texto3", ""},
                                   {"texto10", "María Fernández Gil"},
                                   {"texto4", "Av. Libertad 14 3 B"},
                                   {"texto5", "30005"},
                                   {"texto6", "968 000 111"},
                                   {"texto7", "23456789K"},
                                   {"texto8", "maria@correo.es"},
                                   {"texto9", "7,5"}}));
  // Un Null no aporta texto pero su blanco se queda.
  EXPECT_EQ(Columna(filas, "texto10"), QStringList({"María Fernández Gil", " Sin Nombre", "Eva "}));
  EXPECT_EQ(Columna(filas, "texto4"), QStringList({"Av. Libertad 14 3 B", "   ", "Mayor 3  B"}));
  EXPECT_EQ(Columna(filas, "texto9"), QStringList({"7,5", "Null", "10"}));
}

// --- Empleados -------------------------------------------------------------------------

TEST_P(ListadosMaestros, EmpleadosDiaLibreSoloConLaLetraEnMinuscula) {
  Opciones();
  const QVariantList letras = {"l", "m", "x", "j", "v", "s", "d", "L", "D", "lunes", " l", "", Nulo};
  for (int i = 0; i < letras.size(); ++i) Insertar("empleados", {{"codigo", i + 1}, {"libra", letras[i]}});
  EXPECT_EQ(Columna(Ejecutar(informes::CrearListadoEmpleados), "texto15"),
            QStringList({"Lunes", "Martes", "Miercoles", "Jueves", "Viernes", "Sabado", "Domingo", "Null", "Null",
                         "Null", "Null", "Null", "Null"}));
}

TEST_P(ListadosMaestros, EmpleadosCopianCadaColumnaConFechasEnTexto) {
  Opciones("12345678 Z");
  Insertar("empleados", {{"codigo", 2},
                         {"nombre", "Ana"},
                         {"apellidos", "García López"},
                         {"direccion", "C/ Sol 5"},
                         {"cp", "30800"},
                         {"telefono", "600111222"},
                         {"dni", "11222333H"},
                         {"localidad", "Lorca"},
                         {"provincia", "Murcia"},
                         {"sueldobase", 1350.5},
                         {"fechaalta", "2019-03-01"},
                         {"fechabaja", "2024-11-30"},
                         {"horario", "Mañanas"},
                         {"funcion", "Camarera"},
                         {"libra", "j"},
                         {"usuario", "ana"},
                         {"clave", "0042"},
                         {"ss", "30/1234567/89"},
                         {"baja", 1}});
  Insertar("empleados", {{"codigo", 1}, {"nombre", "Luis"}, {"fechaalta", "2021-12-09"}});
  const Filas filas = Ejecutar(informes::CrearListadoEmpleados);
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(filas[0], (QVariantMap{{"texto1", "Bar El Puerto"},
                                   {"texto2", "Paseo Marítimo 3 - Águilas"},
                                   {"texto3", "12345678 "},
                                   {"texto10", "Luis "},
                                   {"texto12", "09/12/2021"}}));
  EXPECT_EQ(filas[1], (QVariantMap{{"texto1", "Bar El Puerto"},
                                   {"texto2", "Paseo Marítimo 3 - Águilas"},
                                   {"texto3", "12345678 "},
                                   {"texto10", "Ana García López"},
                                   {"texto4", "C/ Sol 5"},
                                   {"texto5", "30800"},
                                   {"texto6", "600111222"},
                                   {"texto7", "11222333H"},
                                   {"texto8", "Lorca"},
                                   {"texto9", "Murcia"},
                                   {"numerico1", 1350.5},
                                   {"texto12", "01/03/2019"},
                                   {"texto13", "30/11/2024"},
                                   {"texto14", "Mañanas"},
                                   {"texto18", "Camarera"},
                                   {"texto15", "Jueves"},
                                   {"texto16", "ana"},
                                   {"texto17", "0042"},
                                   {"texto19", "30/1234567/89"}}));
}

// --- Familias ---------------------------------------------------------------------------

TEST_P(ListadosMaestros, FamiliasSinBorradasPorLugarYNombreConNullDelante) {
  Opciones();
  Familia("1", "Postres", 2);
  Familia("2", "vinos", 1);
  Familia("3", "Menús", Nulo);
  Familia("4", "Bebidas", 1);
  Familia("5", "Ñoquis", 2);
  Familia("6", "Nata", 2);
  Familia("7", "Tabaco", 3);
  Familia("8", "Cafés", 1, {{"borrar", -1}});
  Familia("9", Nulo, Nulo);
  Familia("10", "Aguas", 1, {{"borrar", 1}});
  const Filas filas = Ejecutar(informes::CrearListadoFamilias);
  EXPECT_EQ(Columna(filas, "texto2"),
            QStringList({"Null", "Menús", "Bebidas", "vinos", "Nata", "Ñoquis", "Postres", "Tabaco"}));
  EXPECT_EQ(Columna(filas, "texto5"),
            QStringList({"Null", "Null", "Barra", "Barra", "Cocina", "Cocina", "Cocina", "Null"}));
}

TEST_P(ListadosMaestros, FamiliasCopianCadaColumna) {
  Opciones();
  Familia("B1", "Bebidas", 1,
          {{"nombrecompleto", "Bebidas frías"},
           {"descnumerica", "01"},
           {"precio", 0.0},
           {"impuesto", 10.0},
           {"coste", 3.0}});
  const Filas filas = Ejecutar(informes::CrearListadoFamilias);
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0], (QVariantMap{{"texto6", "Bar El Puerto"},
                                   {"texto7", "Paseo Marítimo 3 - Águilas"},
                                   {"texto1", "B1"},
                                   {"texto2", "Bebidas"},
                                   {"texto3", "Bebidas frías"},
                                   {"texto4", "01"},
                                   {"texto5", "Barra"},
                                   {"numerico1", 0.0},
                                   {"numerico2", 10.0}}));
}

// --- Formas de pago ------------------------------------------------------------------------

TEST_P(ListadosMaestros, FormasDePagoSoloLasMarcadasComoBorradas) {
  Opciones();
  Insertar("formapago", {{"codigo", 1}, {"nombre", "Efectivo"}, {"tarjeta", 0}, {"borrar", -1}});
  Insertar("formapago", {{"codigo", 2}, {"nombre", "Visa"}, {"tarjeta", -1}, {"borrar", -1}});
  Insertar("formapago", {{"codigo", 3}, {"nombre", "Mastercard"}, {"tarjeta", 1}, {"borrar", 0}});
  Insertar("formapago", {{"codigo", 4}, {"nombre", "Vale"}, {"tarjeta", Nulo}, {"borrar", 1}});
  Insertar("formapago", {{"codigo", 12}, {"nombre", "Amex"}, {"tarjeta", 1}, {"borrar", 1}});
  const Filas filas = Ejecutar(informes::CrearListadoFormasPago);
  ASSERT_EQ(filas.size(), 4u);
  EXPECT_EQ(filas[1], (QVariantMap{{"texto6", "Bar El Puerto"},
                                   {"texto7", "Paseo Marítimo 3 - Águilas"},
                                   {"texto1", "2"},
                                   {"texto2", "Visa"},
                                   {"texto4", "Tarjeta"}}));
  EXPECT_EQ(Columna(filas, "texto1"), QStringList({"1", "2", "4", "12"}));
  EXPECT_EQ(Columna(filas, "texto4"), QStringList({"Otros", "Tarjeta", "Otros", "Tarjeta"}));
}

// --- Proveedores ----------------------------------------------------------------------------

TEST_P(ListadosMaestros, ProveedoresSinBorradosConDireccionUnida) {
  Opciones("B30111222 ");
  Proveedor("1", "Distribuciones Levante",
            {{"direccion", "Pol. Oeste, 7"},
             {"poblacion", "Alcantarilla"},
             {"provincia", "Murcia"},
             {"codigopostal", "30820"},
             {"telefono", "968 111 222"},
             {"fax", "968 111 223"},
             {"contacto", "Paco"},
             {"nif", "B30999888"},
             {"email", "pedidos@levante.es"}});
  Proveedor("2", "Cárnicas Ñorcas", {{"direccion", "Ctra. Granada"}, {"provincia", "Murcia"}});
  Proveedor("3", "Antiguo", {{"borrar", -1}});
  const Filas filas = Ejecutar(informes::CrearListadoProveedores);
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(filas[0], (QVariantMap{{"texto1", "Bar El Puerto"},
                                   {"texto2", "Paseo Marítimo 3 - Águilas"},
                                   {"texto3", "B30111222 "},
                                   {"texto10", "Distribuciones Levante"},
                                   {"texto4", "Pol. Oeste, 7 Alcantarilla Murcia"},
                                   {"texto5", "30820"},
                                   {"texto6", "968 111 222"},
                                   {"texto7", "968 111 223"},
                                   {"texto8", "Paco"},
                                   {"texto9", "B30999888"},
                                   {"texto11", "pedidos@levante.es"}}));
  EXPECT_EQ(filas[1].value("texto4"), "Ctra. Granada  Murcia");
}

// --- Valoración de stock --------------------------------------------------------------------

TEST_P(ListadosMaestros, ValoracionConStockPositivoBorradosIncluidos) {
  Opciones();
  Producto("1", "Ostras", {{"stock", 3.0}, {"tipoprod", 0}, {"coste", 4.5}, {"precio", 12.0}});
  Producto("2", "Cero", {{"stock", 0.0}});
  Producto("3", "Negativo", {{"stock", -2.0}});
  Producto("4", "Sin stock", {{"stock", Nulo}});
  Producto("5", "ñoras", {{"stock", 1.0}, {"tipoprod", 1}, {"borrar", -1}});
  Producto("6", "Nata", {{"stock", 0.5}, {"tipoprod", 2}});
  Producto("7", "Agua", {{"stock", 24.0}, {"tipoprod", 3}});
  Producto("8", "atún", {{"stock", 2.0}});
  const Filas filas = Ejecutar(informes::CrearValoracionStock);
  EXPECT_EQ(Columna(filas, "texto5"), QStringList({"Agua", "atún", "Nata", "ñoras", "Ostras"}));
  EXPECT_EQ(Columna(filas, "texto6"), QStringList({"Null", "Null", "A", "V", "E"}));
  ASSERT_EQ(filas.size(), 5u);
  EXPECT_EQ(filas[4], (QVariantMap{{"texto1", "Bar El Puerto"},
                                   {"texto2", "Paseo Marítimo 3 - Águilas"},
                                   {"texto5", "Ostras"},
                                   {"numerico1", 4.5},
                                   {"numerico2", 12.0},
                                   {"numerico3", 3.0},
                                   {"texto6", "E"}}));
}

INSTANTIATE_TEST_SUITE_P(Motores, ListadosMaestros, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
