// Las piezas pequeñas que comparten todos los constructores: la cabecera del
// negocio, el trozo del cif, los números escritos como texto, la unión de
// nombres y los pasos que toleran errores.

#include "builders/Informes.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace informes;

class Cabecera : public testing::TestWithParam<prueba::Motor> {
 protected:
  Cabecera() : tienda(GetParam()) {}
  const datos::Conexion& ventas() const { return *tienda.ajustes.ConexionVentas; }
  prueba::Tienda tienda;
};

TEST_P(Cabecera, SinFilasDeOpcionesTodoVacio) {
  const CabeceraNegocio t = LeerCabeceraTabla(ventas());
  EXPECT_EQ(t.nombre, "");
  EXPECT_EQ(t.direccion, "");
  EXPECT_EQ(t.cif, "");
  const CabeceraNegocio p = LeerCabeceraPuesto(ventas(), "1234");
  EXPECT_EQ(p.nombre, "");
  EXPECT_EQ(p.direccion, "");
}

TEST_P(Cabecera, DeLaPrimeraFilaODeLaDelPuesto) {
  tienda.insertar("opciones", {{"identificador", "1234"},
                               {"nombre", "Bar O'Neill"},
                               {"direccion", "Calle Mayor, 3"},
                               {"poblacion", "Soria"},
                               {"cif", "B12345678 (sucursal)"}});
  tienda.insertar("opciones", {{"identificador", "5678"}, {"nombre", "Terraza"}, {"direccion", "Plaza 1"}});
  const CabeceraNegocio t = LeerCabeceraTabla(ventas());
  EXPECT_EQ(t.nombre, "Bar O'Neill");
  EXPECT_EQ(t.direccion, "Calle Mayor, 3 - Soria");
  EXPECT_EQ(t.cif, "B12345678 (sucursal)");

  const CabeceraNegocio p = LeerCabeceraPuesto(ventas(), "5678");
  EXPECT_EQ(p.nombre, "Terraza");
  EXPECT_EQ(p.direccion, "Plaza 1");  // sin población
  EXPECT_EQ(LeerCabeceraPuesto(ventas(), "567").nombre, "");
}

TEST_P(Cabecera, DireccionYPoblacionNulasDejanElGuion) {
  tienda.insertar("opciones", {{"identificador", "1234"}, {"nombre", "Bar"}});
  EXPECT_EQ(LeerCabeceraTabla(ventas()).direccion, " - ");
}

// La cabecera va en cada fila de Informes: un nombre de 100 KB la haría
// crecer a cientos de megas.
TEST_P(Cabecera, UnTextoEnormeSeCortaEnSuMaximoYSeAvisaUnaVez) {
  const QString enorme(100 * 1024, QLatin1Char('N'));
  tienda.insertar("opciones", {{"identificador", "1234"}, {"nombre", enorme}, {"direccion", "Plaza 1"}});
  sistema::NotificadorRegistro avisos;
  const CabeceraNegocio t = LeerCabeceraTabla(ventas(), &avisos);
  EXPECT_EQ(t.nombre.size(), kMaximoCabecera);
  EXPECT_TRUE(t.nombre.endsWith("NN…"));
  EXPECT_EQ(t.direccion, "Plaza 1 - ");
  ASSERT_EQ(avisos.avisos.size(), 1);
  EXPECT_TRUE(avisos.avisos[0].texto.startsWith("El nombre del negocio (tabla opciones) tiene 102.400 caracteres"))
      << avisos.avisos[0].texto.toStdString();
  EXPECT_EQ(LeerCabeceraPuesto(ventas(), "1234").nombre, t.nombre);
}

// Un error de base de datos en un paso tolerante se salta y la conexión
// sigue sirviendo; en PostgreSQL la sentencia fallida no deja nada a medias.
TEST_P(Cabecera, PasoToleranteSaltaElErrorYSigue) {
  bool despues = false;
  EXPECT_FALSE(Tolerante([&] {
    tienda.ejecutar("DELETE FROM gastos_que_no_existen");
    despues = true;
  }));
  EXPECT_FALSE(despues);
  EXPECT_TRUE(Tolerante([&] { tienda.insertar("opciones", {{"identificador", "1"}, {"nombre", "sigue"}}); }));
  EXPECT_EQ(LeerCabeceraTabla(ventas()).nombre, "sigue");
  // Lo que no es de base de datos no se tolera.
  EXPECT_THROW(Tolerante([] { throw std::logic_error("fallo del programa"); }), std::logic_error);
}

INSTANTIATE_TEST_SUITE_P(Motores, Cabecera, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

TEST(Costumbres, ParteDelCifHastaElPrimerBlancoIncluido) {
  EXPECT_EQ(ParteCif("B12345678 (sucursal)"), "B12345678 ");
  EXPECT_EQ(ParteCif("CIF: B1 2"), "CIF: ");
  EXPECT_EQ(ParteCif(" B1"), " ");
  EXPECT_EQ(ParteCif("B12345678 "), "B12345678 ");
  EXPECT_EQ(ParteCif("B12345678"), "");
  EXPECT_EQ(ParteCif(""), "");
}

TEST(Costumbres, NumeroComoLoEscribeElPrograma) {
  EXPECT_EQ(NumeroATexto(3), "3");
  EXPECT_EQ(NumeroATexto(12.5), "12,5");
  EXPECT_EQ(NumeroATexto(-0.25), "-0,25");
  EXPECT_EQ(NumeroATexto(0.1 + 0.2), "0,3");  // quince cifras significativas
  EXPECT_EQ(NumeroATexto(1234567.891), "1234567,891");
  EXPECT_EQ(NumeroATexto(-0.0), "0");
  EXPECT_EQ(NumeroATexto(100000000000000.0), "100000000000000");
}

TEST(Costumbres, UnirConBlancosAunqueFalteUnaParte) {
  EXPECT_EQ(Unir({"Juan", "Pérez"}), "Juan Pérez");
  EXPECT_EQ(Unir({"", "Pérez"}), " Pérez");
  EXPECT_EQ(Unir({"Calle Mayor", "", "Soria"}), "Calle Mayor  Soria");
}

TEST(Costumbres, SelloSinSegundosYAvisoSinDatos) {
  const sistema::RelojFijo reloj(QDateTime(QDate(2026, 3, 6), QTime(23, 59, 59, 900)));
  const SelloGeneracion s = TomarSello(reloj);
  EXPECT_EQ(s.fecha, QDate(2026, 3, 6));
  EXPECT_EQ(s.hora, QTime(23, 59));

  sistema::NotificadorRegistro n;
  AvisarSinDatos(n);
  ASSERT_EQ(n.avisos.size(), 1);
  EXPECT_EQ(n.avisos[0].texto, "No hay datos para ser mostrados.");
  EXPECT_EQ(n.avisos[0].titulo, "ATENCION");
  EXPECT_EQ(n.avisos[0].icono, sistema::Icono::Informacion);
}

}  // namespace
