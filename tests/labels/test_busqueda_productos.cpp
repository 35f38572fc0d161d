// La búsqueda de productos sobre la tienda "buscar", en los dos motores: qué
// deja fuera cada filtro y en qué orden se enlazan sus textos, los textos
// que no son comodines, y el código que vuelve de la lista. Después, la
// edición del teclado en pantalla y el vaivén del botón de ayuda, sin base.

#include "labels/BusquedaProductos.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <set>

namespace {

using etiquetas::FiltroProductos;

class BusquedaProductos : public testing::TestWithParam<prueba::Motor> {
 protected:
  BusquedaProductos() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("buscar")));
  }

  // Los códigos encontrados, en orden y separados por un blanco.
  std::string Codigos(const FiltroProductos& filtro) const {
    QStringList codigos;
    for (const auto& p : etiquetas::BuscarProductos(*tienda.ajustes.ConexionVentas, filtro)) codigos << p.codigo;
    return codigos.join(QLatin1Char(' ')).toStdString();
  }

  prueba::Tienda tienda;
};

// Todo menos el borrado (0006) y el padre del elaborado (0007); la fila del
// escandallo con el padre en Null no deja fuera a nadie. Por nombre, sin
// mirar mayúsculas.
const char* const kTodos = "0008 0002 0001 0005 0009 0010 0003 0004 0015 123456789012 0014 0013 0011 0012 0016";

TEST_P(BusquedaProductos, SinFiltrosSaleTodoLoVendibleYElAsteriscoEsComoNada) {
  EXPECT_EQ(Codigos({}), kTodos);
  EXPECT_EQ(Codigos({QStringLiteral("*"), {}, {}, false}), kTodos);
  // Sólo el nombre entero "*" vale por nada; en otra caja es un carácter.
  EXPECT_EQ(Codigos({{}, QStringLiteral("*"), {}, false}), "");
  EXPECT_EQ(Codigos({QStringLiteral("**"), {}, {}, false}), "");
}

TEST_P(BusquedaProductos, CadaCajaFiltraPorSuComienzoYSusTextosNoSeCruzan) {
  // Nombre "ca" y familia "beb": las dos bebidas que empiezan por ca. Con los
  // textos cambiados de filtro saldría "Bebida de café" (familia Cafés).
  EXPECT_EQ(Codigos({QStringLiteral("ca"), {}, QStringLiteral("beb"), false}), "0003 0004");
  EXPECT_EQ(Codigos({QStringLiteral("BEB"), {}, QStringLiteral("CA"), false}), "0008");
  // Las tres cajas a la vez, cada una con lo suyo.
  EXPECT_EQ(Codigos({QStringLiteral("CA"), QStringLiteral("dist"), QStringLiteral("Beb"), false}), "0004");
  // Proveedor solo, con mayúsculas y tilde como las teclea el teclado.
  EXPECT_EQ(Codigos({{}, QStringLiteral("CAFÉS"), {}, false}), "0008 0002 0001");
  // "Sin familia" es la familia "-1", no la que está en Null.
  EXPECT_EQ(Codigos({{}, {}, {}, true}), "0009");
  EXPECT_EQ(Codigos({{}, {}, QStringLiteral("Caf"), true}), "");
  // El comienzo, no cualquier parte del nombre.
  EXPECT_EQ(Codigos({QStringLiteral("solo"), {}, {}, false}), "");
  EXPECT_EQ(Codigos({QStringLiteral("ño"), {}, {}, false}), "0016");
}

TEST_P(BusquedaProductos, ComillaPorcentajeYSubrayadoSeBuscanTalCual) {
  EXPECT_EQ(Codigos({QStringLiteral("Pan d'"), {}, {}, false}), "0015");
  EXPECT_EQ(Codigos({{}, QStringLiteral("distribuciones o'n"), {}, false}), "0005 0004 0015 0016");
  // Como comodines, "100%" y "vino_" casarían también con el vecino.
  EXPECT_EQ(Codigos({QStringLiteral("zumo 100%"), {}, {}, false}), "0011");
  EXPECT_EQ(Codigos({QStringLiteral("vino_"), {}, {}, false}), "0013");
  EXPECT_EQ(Codigos({{}, QStringLiteral("lácteos_"), {}, false}), "0012");
  EXPECT_EQ(Codigos({QStringLiteral("%"), {}, {}, false}), "");
  EXPECT_EQ(Codigos({QStringLiteral("_"), {}, {}, false}), "");
  // Una barra, que es el carácter de escape, tampoco rompe la sentencia.
  EXPECT_EQ(Codigos({QStringLiteral("\\"), {}, {}, false}), "");
  EXPECT_EQ(Codigos({QStringLiteral("'; DELETE FROM productos; --"), {}, {}, false}), "");
  EXPECT_EQ(Codigos({}), kTodos) << "nada se borró";
}

TEST_P(BusquedaProductos, LaEntradaEscondeElCodigoYDevuelveSusDiezUltimos) {
  std::set<QString> vueltos;
  for (const auto& p : etiquetas::BuscarProductos(*tienda.ajustes.ConexionVentas, {})) {
    const QString entrada = etiquetas::EntradaResultado(p);
    EXPECT_TRUE(entrada.startsWith(p.nombre + QString(260, QLatin1Char(' ')))) << qPrintable(p.nombre);
    vueltos.insert(etiquetas::CodigoDeEntrada(entrada));
  }
  // Los de cuatro vuelven enteros; el de doce, cortado por la izquierda.
  EXPECT_TRUE(vueltos.count(QStringLiteral("0011")));
  EXPECT_TRUE(vueltos.count(QStringLiteral("3456789012")));
  EXPECT_FALSE(vueltos.count(QStringLiteral("123456789012")));
  EXPECT_EQ(vueltos.size(), 15u);
  EXPECT_EQ(
      etiquetas::CodigoDeEntrada(etiquetas::EntradaResultado({QStringLiteral("0123456789"), QStringLiteral("X")})),
      QStringLiteral("0123456789"));
}

INSTANTIATE_TEST_SUITE_P(Motores, BusquedaProductos, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

TEST(TecladoEnPantalla, BorrarOkYEscrituraSobreLoSeleccionado) {
  using etiquetas::PulsarTecla;
  EXPECT_EQ(PulsarTecla(QString(), false, false, etiquetas::kTeclaBorrar), QString());
  EXPECT_EQ(PulsarTecla(QStringLiteral("CAÑ"), false, false, etiquetas::kTeclaBorrar), QStringLiteral("CA"));
  // BORRAR quita el último aunque todo esté seleccionado.
  EXPECT_EQ(PulsarTecla(QStringLiteral("CAFE"), true, false, etiquetas::kTeclaBorrar), QStringLiteral("CAF"));
  EXPECT_EQ(PulsarTecla(QStringLiteral("CAFE"), true, false, etiquetas::kTeclaOk), QStringLiteral("CAFE"));
  EXPECT_EQ(PulsarTecla(QStringLiteral("CAFE"), true, false, 'T'), QStringLiteral("T"));
  EXPECT_EQ(PulsarTecla(QStringLiteral("CAFE"), false, false, 'T'), QStringLiteral("CAFET"));
  EXPECT_EQ(PulsarTecla(QStringLiteral("CA"), false, false, etiquetas::kTeclaEnie), QStringLiteral("CAÑ"));
  EXPECT_EQ(PulsarTecla(QStringLiteral("PAN"), false, false, etiquetas::kTeclaEspacio), QStringLiteral("PAN "));
  for (const int tecla : {int(etiquetas::kTeclaBorrar), int('A'), int(etiquetas::kTeclaEnie)})
    EXPECT_EQ(PulsarTecla(QStringLiteral("FIJO"), true, true, tecla), QStringLiteral("FIJO")) << tecla;
}

// Recorre una serie entera y cuenta los cambios de sentido.
struct Recorrido {
  int minimo, maximo, giros;
};
Recorrido Serie(etiquetas::VaivenAyuda& v) {
  Recorrido r{v.izquierda(), v.izquierda(), 0};
  bool derecha = v.haciaLaDerecha();
  for (int tics = 0; v.enSerie() && tics < 10000; ++tics) {
    const int x = v.tic();
    if (v.haciaLaDerecha() != derecha) ++r.giros, derecha = v.haciaLaDerecha();
    r.minimo = std::min(r.minimo, x);
    r.maximo = std::max(r.maximo, x);
  }
  return r;
}

TEST(VaivenAyuda, CuatroVaivenesEntreLosBordesYSeParaHastaLaSiguienteSerie) {
  // A 1024 píxeles (fx 1) el botón sale de 95, va de 2 en 2 y pasa cada
  // borde (118 y 95) en un paso antes de girar.
  etiquetas::VaivenAyuda v(1.0);
  ASSERT_EQ(v.izquierda(), 95);
  const Recorrido r = Serie(v);
  EXPECT_EQ(r.maximo, 119);
  EXPECT_EQ(r.minimo, 93);
  EXPECT_EQ(r.giros, 4);
  EXPECT_FALSE(v.enSerie());
  EXPECT_EQ(v.vaivenes(), 0);
  EXPECT_TRUE(v.haciaLaDerecha()) << "cuatro giros dejan el sentido del principio";
  const int parado = v.izquierda();
  EXPECT_EQ(v.tic(), parado);

  // La serie siguiente hace lo mismo desde donde quedó.
  v.empezarSerie();
  const Recorrido otra = Serie(v);
  EXPECT_EQ(otra.giros, 4);
  EXPECT_EQ(otra.maximo, 119);
  EXPECT_EQ(otra.minimo, 93);

  // A 800 píxeles (fx 0,78125): bordes 92,19 y 74,22, pasos de 1,5625 que
  // no se redondean a 2.
  etiquetas::VaivenAyuda pequena(0.78125);
  const Recorrido p = Serie(pequena);
  EXPECT_EQ(p.maximo, 93);
  EXPECT_EQ(p.minimo, 73);
  EXPECT_EQ(p.giros, 4);
}

}  // namespace
