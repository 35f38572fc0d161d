// Listados de datos maestros: qué registros entran, los textos que se
// componen, los rótulos, los Null y el orden, en cada motor. Qué va a cada
// columna lo comprueban los ficheros dorados.

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
    EXPECT_EQ(tienda.notificador.avisos[0].titulo, "ATENCION");
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

TEST_P(ListadosMaestros, ProductosSinFamiliaOSinProveedorSalenYLosBorradosNo) {
  Opciones();
  Familia("1", "Bebidas", 1);
  Proveedor("1", "Levante");
  Producto("1", "Agua", {{"seccion", Nulo}, {"proveedor", "1"}});
  Producto("2", "Bizcocho", {{"seccion", "-1"}, {"proveedor", "1"}});
  Producto("3", "Cerveza", {{"seccion", "1"}, {"proveedor", Nulo}});
  Producto("4", "Donut", {{"seccion", "1"}, {"proveedor", "99"}});
  Producto("5", "Empanada", {{"borrar", -1}});
  Producto("6", "Flan", {{"borrar", 1}});
  const Filas filas = Ejecutar(informes::CrearListadoProductos);
  EXPECT_EQ(Columna(filas, "texto2"), QStringList({"Agua", "Bizcocho", "Cerveza", "Donut"}));
  EXPECT_EQ(Columna(filas, "texto8"), QStringList({"Sin Asignar", "Sin Asignar", "Bebidas", "Bebidas"}));
  EXPECT_EQ(Columna(filas, "texto5"), QStringList({"Null", "Null", "Barra", "Barra"}));
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
                        {"descuento", 7.5}});
  Insertar("clientes", {{"codigo", 2}, {"apellidos", "Sin Nombre"}});
  const Filas filas = Ejecutar(informes::CrearListadoClientes);
  ASSERT_EQ(filas.size(), 3u);
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

// --- Formas de pago ------------------------------------------------------------------------

TEST_P(ListadosMaestros, FormasDePagoSoloLasMarcadasComoBorradas) {
  Opciones();
  Insertar("formapago", {{"codigo", 1}, {"nombre", "Efectivo"}, {"tarjeta", 0}, {"borrar", -1}});
  Insertar("formapago", {{"codigo", 2}, {"nombre", "Visa"}, {"tarjeta", -1}, {"borrar", -1}});
  Insertar("formapago", {{"codigo", 3}, {"nombre", "Mastercard"}, {"tarjeta", 1}, {"borrar", 0}});
  Insertar("formapago", {{"codigo", 4}, {"nombre", "Vale"}, {"tarjeta", Nulo}, {"borrar", 1}});
  Insertar("formapago", {{"codigo", 12}, {"nombre", "Amex"}, {"tarjeta", 1}, {"borrar", 1}});
  const Filas filas = Ejecutar(informes::CrearListadoFormasPago);
  EXPECT_EQ(Columna(filas, "texto1"), QStringList({"1", "2", "4", "12"}));
  EXPECT_EQ(Columna(filas, "texto4"), QStringList({"Otros", "Tarjeta", "Otros", "Tarjeta"}));
}

// --- Proveedores ----------------------------------------------------------------------------

TEST_P(ListadosMaestros, ProveedoresSinBorradosConDireccionUnida) {
  Opciones();
  Proveedor("1", "Distribuciones Levante",
            {{"direccion", "Pol. Oeste, 7"}, {"poblacion", "Alcantarilla"}, {"provincia", "Murcia"}});
  Proveedor("2", "Cárnicas Ñorcas", {{"direccion", "Ctra. Granada"}, {"provincia", "Murcia"}});
  Proveedor("3", "Antiguo", {{"borrar", -1}});
  const Filas filas = Ejecutar(informes::CrearListadoProveedores);
  // Un Null en medio deja sus dos blancos.
  EXPECT_EQ(Columna(filas, "texto4"), QStringList({"Pol. Oeste, 7 Alcantarilla Murcia", "Ctra. Granada  Murcia"}));
}

// --- Valoración de stock --------------------------------------------------------------------

TEST_P(ListadosMaestros, ValoracionConStockPositivoBorradosIncluidos) {
  Opciones();
  Producto("1", "Ostras", {{"stock", 3.0}, {"tipoprod", 0}});
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
}

INSTANTIATE_TEST_SUITE_P(Motores, ListadosMaestros, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
