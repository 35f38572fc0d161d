// Ventas por zona, por hora y por familia, venta de menús, servicios a
// domicilio y repartidores, sobre la tienda de tests/fixtures/zonas.sql en
// cada motor. El fichero de referencia de cada botón fija sus filas (también
// las de las zonas especiales 0, -1, 101, 102 y 999); aquí, las reglas que más
// se rompen: menús y platos, el grupo de las líneas sin familia, la caja
// rápida y las franjas horarias.

#include "builders/InformesZonas.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include "support/ImprimirQt.h"

#include <gtest/gtest.h>

namespace {

using prueba::Motor;
using Filas = std::vector<QVariantMap>;
using Constructor = void (*)(informes::Contexto&);

QStringList Columna(const Filas& filas, const QString& columna) {
  QStringList valores;
  for (const QVariantMap& f : filas) valores << f.value(columna, QStringLiteral("Null")).toString();
  return valores;
}

// Las filas de una línea o factura, por su código o número (texto23 o texto22).
Filas De(const Filas& filas, const QString& columna, const QString& valor) {
  Filas r;
  for (const QVariantMap& f : filas)
    if (f.value(columna).toString() == valor) r.push_back(f);
  return r;
}

class InformesZonas : public testing::TestWithParam<Motor> {
 protected:
  InformesZonas() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("zonas")));
    tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
    tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
  }
  Filas Ejecutar(Constructor constructor) {
    tienda.notificador.avisos.clear();
    constructor(tienda.contexto);
    return tienda.filas();
  }
  prueba::Tienda tienda;
};

TEST_P(InformesZonas, UnMenuDeTresPlatosEsUnaFilaEnMenusYCuatroPorProductoYPorFamilias) {
  // Los platos suman su precio, recargo, impuesto y descuento al menú, no sus
  // unidades; un plato de otra venta no se suma al menú anterior.
  const Filas menus = Ejecutar(informes::CrearVentasMenus);
  EXPECT_EQ(Columna(menus, "texto25"), QStringList({"Menú del día", "Flan", "Menú del día", "Menú del día"}));
  EXPECT_EQ(Columna(menus, "numerico2"), QStringList({"13", "2", "12", "12"}));
  EXPECT_EQ(Columna(menus, "doble2"), QStringList({"12", "2", "12", "12"}));
  EXPECT_EQ(Columna(menus, "numerico1"), QStringList({"1", "1", "1", "1"}));

  for (const Constructor c : {informes::CrearVentasZonasProducto, informes::CrearVentasFamilias}) {
    const Filas filas = Ejecutar(c);
    ASSERT_GE(filas.size(), 5u);
    const Filas menu(filas.begin(), filas.begin() + 4);
    EXPECT_EQ(Columna(menu, "texto21"), QStringList(4, "Menú del día"));
    EXPECT_EQ(Columna(menu, "texto22"), QStringList(4, "M01"));
    EXPECT_EQ(Columna(menu, "texto23"), QStringList({"M01", "0201", "0202", "0301"}));
    EXPECT_EQ(Columna(menu, "texto5"),
              QStringList({"      Menú del día", "      Ensalada", "      Filete", "      Flan"}));
    EXPECT_EQ(filas[4].value("texto21"), "Bebidas");
    if (c == informes::CrearVentasZonasProducto) {
      // El margen va en el menú (su precio menos su coste), no en sus platos.
      EXPECT_EQ(Columna(menu, "numerico15"), QStringList({"8", "Null", "Null", "Null"}));
    }
  }
}

// Sin familia el grupo queda vacío; nunca el código de una línea anterior
// (la caña de la venta 2003 era de «Cocina»).
TEST_P(InformesZonas, UnaLineaSinFamiliaYUnPlatoSueltoNoArrastranElGrupoDeOtraLinea) {
  const Filas familias = Ejecutar(informes::CrearVentasFamilias);
  for (const char* codigo : {"0401", "0501", "9999"}) {
    const Filas f = De(familias, "texto23", codigo);
    ASSERT_EQ(f.size(), 1u) << codigo;
    EXPECT_FALSE(f[0].contains("texto21") || f[0].contains("texto22")) << codigo;
  }
  // El flan de la venta 2004 va tras el pan: ni menú ni familia.
  const Filas flanes = De(familias, "texto23", "0301");
  ASSERT_EQ(flanes.size(), 2u);
  EXPECT_FALSE(flanes[1].contains("texto21"));
  EXPECT_FALSE(flanes[1].contains("texto22"));

  // Por producto, un plato suelto es una línea más con su familia, y un
  // producto que ya no existe no sale; el código se busca sin mayúsculas.
  const Filas producto = Ejecutar(informes::CrearVentasZonasProducto);
  EXPECT_TRUE(De(producto, "texto23", "9999").empty());
  const Filas flan = De(producto, "texto23", "0301");
  ASSERT_EQ(flan.size(), 2u);
  EXPECT_EQ(flan[1].value("texto22"), "03");
  const Filas m01 = De(producto, "texto23", "m01");
  ASSERT_EQ(m01.size(), 1u);
  EXPECT_EQ(m01[0].value("texto21"), "Menús");
  EXPECT_EQ(m01[0].value("numerico14"), 4.0);
  EXPECT_FALSE(De(producto, "texto23", "0401")[0].contains("texto22"));
}

TEST_P(InformesZonas, LaCajaRapidaCambiaLaZonaPorElModoDeVentaYCuentaCadaFacturaUnaVez) {
  const Filas general = Ejecutar(informes::CrearVentasZonasGeneral);
  EXPECT_FALSE(general.front().contains("texto35")) << "sin caja rápida no hay totales por modo";
  const QStringList telefonicas = Columna(Ejecutar(informes::CrearServiciosDomicilio), "texto22");
  EXPECT_EQ(telefonicas, QStringList({"2002", "2002", "2003"})) << "zona 100, cualquier modo";

  tienda.ajustes.CajaFastFood = true;
  EXPECT_EQ(Columna(Ejecutar(informes::CrearEstadisticasRepartidor), "texto22"), QStringList({"2002", "2002"}))
      << "modo 3, cualquier zona";

  const Filas rapida = Ejecutar(informes::CrearVentasZonasGeneral);
  // Los rótulos del modo; las zonas especiales ganan.
  EXPECT_EQ(Columna(rapida, "texto21"), QStringList({"Comedor", "A Domicilio", "A Domicilio", "Local", "Cobro Parcial",
                                                     "Caja Rapida", "Entrada", "Ropero", "Null", "Terraza"}));
  EXPECT_EQ(Columna(rapida, "texto11"), QStringList({"Comedor", "A Domicilio", "Null", "Local", "CobroP", "Null",
                                                     "Null", "Null", "Null", "Terraza"}));
  // La 2002, cobrada en dos partes, suma sus 18,90 una sola vez; las zonas
  // especiales cuentan en su modo, y el modo 5 en ninguno.
  const QVariantMap& una = rapida.front();
  EXPECT_EQ(una.value("texto35"), "Consumidos en Local      10,50");
  EXPECT_EQ(una.value("texto34"), "Para Llevar                         3,00");
  EXPECT_EQ(una.value("texto33"), "Recogidas en local              5,00");
  EXPECT_EQ(una.value("texto32"), "A domicilio                         18,90");
  EXPECT_EQ(una.value("texto31"), "Con Atencion en mesa                40,50");
  EXPECT_EQ(rapida.back().value("texto32"), una.value("texto32"));

  // Por horas, el sitio sólo con los modos 0 a 3.
  EXPECT_EQ(Columna(Ejecutar(informes::CrearVentasHoras), "texto11").mid(0, 5),
            QStringList({"Null", "A Domicilio", "Null", "Local", "CobroP"}));

  const Filas producto = Ejecutar(informes::CrearVentasZonasProducto);
  EXPECT_EQ(De(producto, "texto23", "0202")[0].value("texto35"), "Zona: Comedor");
  const Filas domicilio = De(producto, "texto5", "      Filete");
  EXPECT_EQ(domicilio[1].value("numerico22"), 3.0);
  EXPECT_EQ(domicilio[1].value("texto35"), "Zona: A Domicilio");
  const Filas modo5 = De(producto, "texto23", "0101");
  ASSERT_EQ(modo5.size(), 3u);
  EXPECT_EQ(modo5[1].value("numerico22"), 5.0);
  EXPECT_FALSE(modo5[1].contains("texto35"));
}

TEST(FranjaHoraria, LaHoraSiguienteVaSinCeroYLaUltimaEsLa24) {
  EXPECT_EQ(informes::FranjaHoraria(QStringLiteral("09:41:00")), "09:00 - 10:00");
  EXPECT_EQ(informes::FranjaHoraria(QStringLiteral("08:10:00")), "08:00 - 9:00");
  EXPECT_EQ(informes::FranjaHoraria(QStringLiteral("23:30:00")), "23:00 - 24:00");
  EXPECT_EQ(informes::FranjaHoraria(QStringLiteral("00:00:00")), "00:00 - 1:00");
  EXPECT_EQ(informes::FranjaHoraria(QStringLiteral("2026-03-02 13:05:00")), "13:00 - 14:00");
  EXPECT_EQ(informes::FranjaHoraria(QVariant()), "");
}

TEST_P(InformesZonas, LasFamiliasSeAgrupanPorEmpleadoOPorZonaSiSeElige) {
  auto filete = [&] { return De(Ejecutar(informes::CrearVentasFamilias), "texto23", "0202")[1]; };
  const QVariantMap sin = filete();
  EXPECT_FALSE(sin.contains("numerico22") || sin.contains("texto35"));
  tienda.seleccion.PorEmpleados = true;
  QVariantMap f = filete();
  EXPECT_EQ(f.value("numerico22"), 4.0);
  EXPECT_EQ(f.value("texto35"), "Pedro");
  tienda.seleccion.PorZonas = true;  // con las dos, gana la zona
  f = filete();
  EXPECT_EQ(f.value("numerico22"), 100.0);
  EXPECT_EQ(f.value("texto35"), "Zona: Teléfono");
  tienda.seleccion.PorEmpleados = false;
  tienda.ajustes.CajaFastFood = true;
  f = filete();
  EXPECT_EQ(f.value("numerico22"), 3.0);
  EXPECT_EQ(f.value("texto35"), "Zona: A Domicilio");
  // Las familias no conocen el cobro parcial: la 2004 va por su modo.
  EXPECT_EQ(De(Ejecutar(informes::CrearVentasFamilias), "texto23", "0401")[0].value("texto35"), "Zona: Llevar");
}

TEST_P(InformesZonas, RepartidoresYServiciosADomicilio) {
  tienda.ejecutar("UPDATE cabecera_factura SET repartidor = 77 WHERE numero = 2003");
  const Filas reparto = Ejecutar(informes::CrearEstadisticasRepartidor);
  EXPECT_EQ(Columna(reparto, "texto21"), QStringList({"Luis ", "Luis ", "No se ha elegido repartidor"}));
  EXPECT_EQ(Columna(reparto, "texto4"), QStringList({"Efectivo", "Tarjeta/Mixto", "Visa"}));
  EXPECT_EQ(Columna(reparto, "numerico2"), QStringList({"10", "8.9", "5.91"}));

  // Precios con impuesto incluido: el total ya es lo cobrado, con el recargo
  // y el descuento dentro; no se vuelven a aplicar.
  const Filas domicilio = Ejecutar(informes::CrearServiciosDomicilio);
  EXPECT_EQ(Columna(domicilio, "doble1"), QStringList({"18.9", "18.9", "6.5"}));
  EXPECT_EQ(Columna(domicilio, "texto21"), QStringList({"Pedro", "Pedro", "Pedro"}));
  EXPECT_EQ(Columna(domicilio, "texto11"), QStringList({"968 000 111", "968 000 111", "Null"}));
}

TEST_P(InformesZonas, SinVentasNingunInformeEscribeYCadaUnoLoDice) {
  tienda.seleccion.FechaDesde = tienda.seleccion.FechaHasta = QDate(2026, 2, 1);
  const std::pair<Constructor, const char*> casos[] = {{informes::CrearVentasMenus, "ATENCION"},
                                                       {informes::CrearServiciosDomicilio, "ATENCION"},
                                                       {informes::CrearEstadisticasRepartidor, "ATENCION"},
                                                       {informes::CrearVentasZonasGeneral, "ATENCION"},
                                                       {informes::CrearVentasHoras, "ATENCION"},
                                                       {informes::CrearVentasZonasProducto, "No hay datos"},
                                                       {informes::CrearVentasFamilias, "Atencion"}};
  for (const auto& [constructor, titulo] : casos) {
    tienda.seleccion.SinDatos = false;
    EXPECT_TRUE(Ejecutar(constructor).empty()) << titulo;
    EXPECT_TRUE(tienda.seleccion.SinDatos) << titulo;
    ASSERT_EQ(tienda.notificador.avisos.size(), 1) << titulo;
    EXPECT_EQ(tienda.notificador.avisos[0].titulo, QString::fromUtf8(titulo));
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, InformesZonas, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
