// Los dos ficheros de esquema (SQLite y PostgreSQL) se mantienen a mano: estas
// pruebas vigilan que no se separen y que se puedan volver a ejecutar.

#include "platform/datos/Esquemas.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <QSqlField>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

// Familia de tipo de una columna, tal como la ve Qt: las fechas y horas son
// texto en SQLite y tipos propios en PostgreSQL, así que cuentan como una.
QString familia(const QSqlField& campo) {
  switch (campo.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
      return "entero";
    case QMetaType::Double:
      return "real";
    case QMetaType::QDate:
      return "fecha";
    case QMetaType::QTime:
      return "hora";
    case QMetaType::QDateTime:
      return "fechahora";
    default:
      return "texto";
  }
}

struct Columna {
  QString nombre;
  QString tipo;
  bool operator==(const Columna&) const = default;
};
using Catalogo = std::map<QString, std::vector<Columna>>;

void anadirCatalogo(const datos::Conexion& c, Catalogo& catalogo) {
  for (const QString& tabla : c.baseDatos().tables(QSql::Tables)) {
    const QSqlRecord r = c.baseDatos().record(tabla);
    std::vector<Columna>& columnas = catalogo[tabla.toLower()];
    for (int i = 0; i < r.count(); ++i) columnas.push_back({r.fieldName(i).toLower(), familia(r.field(i))});
  }
}

bool hayPostgresql() {
  const auto m = prueba::Motores();
  return std::find(m.begin(), m.end(), prueba::Motor::PostgreSQL) != m.end();
}

TEST(Esquemas, SqliteYPostgresqlDeclaranLasMismasTablasYColumnas) {
  if (!hayPostgresql()) GTEST_SKIP() << "sin servidor PostgreSQL (CRONICAS_PG_URI)";
  prueba::Bases sqlite(prueba::Motor::SQLite);
  prueba::Bases pg(prueba::Motor::PostgreSQL);

  Catalogo deSqlite;
  anadirCatalogo(*datos::Conexion::abrir(sqlite.fuenteVentas()), deSqlite);
  anadirCatalogo(*datos::Conexion::abrir(sqlite.fuenteInformes()), deSqlite);
  Catalogo dePg;
  anadirCatalogo(*datos::Conexion::abrir(pg.fuenteVentas()), dePg);

  ASSERT_GT(deSqlite.size(), 30u);
  std::vector<QString> tablasSqlite, tablasPg;
  for (const auto& [t, c] : deSqlite) tablasSqlite.push_back(t);
  for (const auto& [t, c] : dePg) tablasPg.push_back(t);
  ASSERT_EQ(tablasSqlite, tablasPg);

  for (const auto& [tabla, columnasSqlite] : deSqlite) {
    SCOPED_TRACE(tabla.toStdString());
    const std::vector<Columna>& columnasPg = dePg.at(tabla);
    ASSERT_EQ(columnasSqlite.size(), columnasPg.size());
    for (size_t i = 0; i < columnasSqlite.size(); ++i) {
      EXPECT_EQ(columnasSqlite[i].nombre, columnasPg[i].nombre) << "posición " << i;
      // Las fechas y horas de SQLite son texto.
      const QString tipoPg = columnasPg[i].tipo;
      const bool esFechaPg = tipoPg == "fecha" || tipoPg == "hora" || tipoPg == "fechahora";
      const QString esperado = esFechaPg ? QStringLiteral("texto") : tipoPg;
      EXPECT_EQ(columnasSqlite[i].tipo, esperado) << columnasSqlite[i].nombre.toStdString();
    }
  }
}

class EsquemaDosVeces : public testing::TestWithParam<prueba::Motor> {};

TEST_P(EsquemaDosVeces, VolverACrearlosNoCambiaNiBorraNada) {
  prueba::Bases bases(GetParam());
  auto ventas = datos::Conexion::abrir(bases.fuenteVentas());
  auto informes = datos::Conexion::abrir(bases.fuenteInformes());
  ventas->ejecutar("INSERT INTO opciones (identificador, nombre) VALUES ('1', 'Bar Pepe')");
  informes->ejecutar("INSERT INTO informes (texto1) VALUES ('fila de antes')");
  informes->ejecutar("INSERT INTO cronicastemporal (list1) VALUES ('B')");
  const QStringList columnasAntes = informes->columnas("informes");

  ASSERT_NO_THROW(datos::CrearEsquemaVentas(*ventas));
  ASSERT_NO_THROW(datos::CrearEsquemaInformes(*informes));

  EXPECT_EQ(informes->columnas("informes"), columnasAntes);
  datos::Consulta o = ventas->preparar("SELECT nombre FROM opciones");
  o.ejecutar();
  ASSERT_TRUE(o.siguiente());
  EXPECT_EQ(o.texto("nombre"), "Bar Pepe");
  datos::Consulta i = informes->preparar("SELECT count(*) AS n FROM informes");
  i.ejecutar();
  ASSERT_TRUE(i.siguiente());
  EXPECT_EQ(i.entero("n"), 1);
  datos::Consulta c = informes->preparar("SELECT count(*) AS n FROM cronicastemporal");
  c.ejecutar();
  ASSERT_TRUE(c.siguiente());
  EXPECT_EQ(c.entero("n"), 1);
}

INSTANTIATE_TEST_SUITE_P(Motores, EsquemaDosVeces, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
