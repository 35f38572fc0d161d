// Salida CSV de Informes: es lo que comparan las pruebas de referencia de cada
// botón y lo que recibe quien pide --csv, así que debe ser exacta y no
// depender del motor.

#include "builders/ExportarCsv.h"
#include "builders/Informes.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

using informes::EscritorInformes;

QStringList lineasCsv(const datos::Conexion& c) {
  QBuffer b;
  b.open(QIODevice::WriteOnly);
  informes::EscribirCsv(c, b);
  QString t = QString::fromUtf8(b.data());
  EXPECT_TRUE(t.endsWith('\n'));
  t.chop(1);
  return t.split('\n');
}

// Línea de 64 campos vacíos (todo Null) con los campos dados.
QString lineaCon(const std::map<QString, QString>& campos) {
  QStringList l;
  for (int i = 0; i < informes::kNumColumnas; ++i) {
    const auto it = campos.find(informes::NombreColumna(static_cast<informes::Col>(i)));
    l << (it == campos.end() ? QString() : it->second);
  }
  return l.join(',');
}

class Csv : public testing::TestWithParam<prueba::Motor> {
 protected:
  Csv() : tienda(GetParam()) {}
  const datos::Conexion& informes() const { return *tienda.ajustes.ConexionInformes; }
  void fila(const std::map<QString, QVariant>& valores) {
    w.nuevaFila();
    for (const auto& [c, v] : valores) w.poner(*informes::ColumnaPorNombre(c), v);
    w.guardarFila();
  }
  QStringList escribir() {
    w.terminar();
    return lineasCsv(informes());
  }
  prueba::Tienda tienda;
  EscritorInformes w{informes()};
};

TEST_P(Csv, CabeceraConLas64ColumnasEnElOrdenDeLaTabla) {
  const QStringList lineas = escribir();
  ASSERT_EQ(lineas.size(), 1);  // sin filas, sólo la cabecera
  QStringList deLaTabla = informes().columnas("informes");
  deLaTabla.removeIf([](const QString& c) { return c.compare("fila", Qt::CaseInsensitive) == 0; });
  std::transform(deLaTabla.begin(), deLaTabla.end(), deLaTabla.begin(), [](const QString& c) { return c.toLower(); });
  ASSERT_EQ(deLaTabla.size(), 64);
  EXPECT_EQ(lineas[0], deLaTabla.join(','));
}

TEST_P(Csv, TextosNullVacioYCaracteresQueHayQueEscapar) {
  fila({{"texto2", ""},
        {"texto3", "dijo \"hola\""},
        {"texto4", "Calle Mayor, 3"},
        {"texto5", "línea 1\nlínea 2"},
        {"texto6", "Cafetería Ñandú"},
        {"texto7", " con blancos "}});
  const QStringList lineas = escribir();
  // Un salto de línea dentro de un campo parte la línea del texto en dos.
  ASSERT_EQ(lineas.size(), 3);
  EXPECT_EQ(lineas[1] + '\n' + lineas[2], lineaCon({{"texto2", "\"\""},
                                                    {"texto3", "\"dijo \"\"hola\"\"\""},
                                                    {"texto4", "\"Calle Mayor, 3\""},
                                                    {"texto5", "\"línea 1\nlínea 2\""},
                                                    {"texto6", "Cafetería Ñandú"},
                                                    {"texto7", " con blancos "}}));
}

TEST_P(Csv, NumerosEnElFormatoCMasCortoQueSeVuelveALeerIgual) {
  fila({{"numerico1", 0.1},
        {"numerico2", 1e21},
        {"numerico3", -0.0},
        {"numerico4", 12.5},
        {"numerico5", 3},
        {"numerico6", 1.0 / 3.0},
        {"numerico7", -1234.5678},
        {"entero3", 42},
        {"doble1", 1e-7}});
  const QStringList lineas = escribir();
  ASSERT_EQ(lineas.size(), 2);
  const QStringList campos = lineas[1].split(',');
  auto campo = [&](const QString& c) {
    return campos.at(static_cast<qsizetype>(informes::Indice(*informes::ColumnaPorNombre(c))));
  };
  EXPECT_EQ(campo("numerico1"), "0.1");
  EXPECT_EQ(campo("numerico2"), "1e+21");
  EXPECT_EQ(campo("numerico3"), "0");
  EXPECT_EQ(campo("numerico4"), "12.5");
  EXPECT_EQ(campo("numerico5"), "3");
  EXPECT_EQ(campo("numerico7"), "-1234.5678");
  EXPECT_EQ(campo("entero3"), "42");
  EXPECT_EQ(campo("doble1"), "1e-07");
  // Un tercio sale con todas las cifras que hacen falta para recuperarlo.
  const QByteArray tercio = campo("numerico6").toLatin1();
  double leido = 0;
  std::from_chars(tercio.constData(), tercio.constData() + tercio.size(), leido);
  EXPECT_EQ(leido, 1.0 / 3.0) << tercio.constData();
}

TEST_P(Csv, FechasYFechasConHora) {
  fila({{"fecha1", QDate(2026, 3, 6)},
        {"fecha2", QTime(9, 7)},
        {"fecha3", QDateTime(QDate(2026, 3, 6), QTime(21, 15, 30))},
        {"fecha4", QDateTime(QDate(2026, 12, 31), QTime(0, 0))}});
  const QStringList lineas = escribir();
  ASSERT_EQ(lineas.size(), 2);
  EXPECT_EQ(lineas[1], lineaCon({{"fecha1", "2026-03-06"},
                                 {"fecha2", "1899-12-30 09:07:00"},
                                 {"fecha3", "2026-03-06 21:15:30"},
                                 {"fecha4", "2026-12-31"}}));
}

// La tabla puede devolver las filas en otro orden que el de escritura (un
// servidor tras un VACUUM, filas añadidas a mano): manda la columna fila.
TEST_P(Csv, FilasDesordenadasEnLaTablaSalenPorSuNumeroDeFila) {
  w.terminar();
  for (const auto& [fila, texto] : {std::pair{3, "tercera"}, {1, "primera"}, {2, "segunda"}})
    informes().ejecutar("INSERT INTO informes (fila, texto1) VALUES (?, ?)", {fila, texto});
  const QStringList lineas = lineasCsv(informes());
  ASSERT_EQ(lineas.size(), 4);
  EXPECT_EQ(lineas[1], lineaCon({{"texto1", "primera"}}));
  EXPECT_EQ(lineas[2], lineaCon({{"texto1", "segunda"}}));
  EXPECT_EQ(lineas[3], lineaCon({{"texto1", "tercera"}}));
}

TEST_P(Csv, AFicheroYMensajeSiNoSePuedeEscribir) {
  fila({{"texto1", "a"}});
  w.terminar();
  QTemporaryDir dir;
  const QString fichero = dir.filePath("informe.csv");
  informes::EscribirCsv(informes(), fichero);
  QFile f(fichero);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(f.readAll()).split('\n').value(1), lineaCon({{"texto1", "a"}}));

  const QString imposible = dir.filePath("no/existe/informe.csv");
  try {
    informes::EscribirCsv(informes(), imposible);
    ADD_FAILURE() << "se escribió en una carpeta que no existe";
  } catch (const datos::ErrorDatos& e) {
    EXPECT_TRUE(e.mensaje().contains(imposible)) << e.mensaje().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, Csv, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

// En SQLite una columna fecha guarda el texto que le den. Lo que tiene forma de
// fecha sale como las fechas del programa (sin la hora si es medianoche) y lo
// demás, tal cual.
TEST(CsvSqlite, FechasGuardadasComoTexto) {
  prueba::Tienda t(prueba::Motor::SQLite);
  const datos::Conexion& c = *t.ajustes.ConexionInformes;
  const QStringList textos{"2026-03-06 00:00:00", "2026-03-06 21:15:30", "2026-03-06T21:15:30", "2026-02-30",
                           "2026-13-01 10:00:00", "06/03/2026",          " 2026-03-06"};
  for (int i = 0; i < textos.size(); ++i)
    c.ejecutar("INSERT INTO informes (fila, fecha1) VALUES (?, ?)", {i + 1, textos[i]});
  const QStringList lineas = lineasCsv(c);
  ASSERT_EQ(lineas.size(), textos.size() + 1);
  const QStringList esperadas{"2026-03-06",          "2026-03-06 21:15:30", "2026-03-06 21:15:30", "2026-02-30",
                              "2026-13-01 10:00:00", "06/03/2026",          "2026-03-06"};
  for (int i = 0; i < textos.size(); ++i)
    EXPECT_EQ(lineas[i + 1], lineaCon({{"fecha1", esperadas[i]}})) << textos[i].toStdString();
}

// Mismas filas, mismo CSV byte a byte, sea cual sea el motor.
TEST(CsvEntreMotores, MismaSalidaEnSqliteYPostgresql) {
  const auto motores = prueba::Motores();
  if (std::find(motores.begin(), motores.end(), prueba::Motor::PostgreSQL) == motores.end())
    GTEST_SKIP() << "sin servidor PostgreSQL (CRONICAS_PG_URI)";
  auto escribirEn = [](prueba::Motor motor) {
    prueba::Tienda t(motor);
    {
      EscritorInformes w(*t.ajustes.ConexionInformes);
      w.vaciar();
      for (int i = 0; i < 5; ++i) {
        w.nuevaFila();
        w.poner(informes::Col::Texto1, QStringLiteral("Bar O'Neill, \"%1\"").arg(i));
        w.poner(informes::Col::Texto2, i % 2 ? QVariant("") : QVariant());
        w.poner(informes::Col::Numerico1, 0.1 * i);
        w.poner(informes::Col::Numerico2, i == 3 ? -0.0 : 1e21 / (i + 1));
        w.poner(informes::Col::Numerico3, QStringLiteral("%1,50").arg(i));
        w.poner(informes::Col::Fecha1, QDate(2026, 3, 1).addDays(i));
        w.poner(informes::Col::Fecha2, QTime(9, 7 + i));
        w.poner(informes::Col::Fecha3, QDateTime(QDate(2026, 3, 6), QTime(23, 59, i)));
        w.poner(informes::Col::Entero3, i * 1000);
        w.poner(informes::Col::Doble2, -i / 3.0);
        w.guardarFila();
      }
      w.estampar(informes::Col::Texto35, "total");
      w.terminar();
    }
    // Un cambio de signo hecho por la base: el cero negativo sólo existe en PostgreSQL.
    t.ajustes.ConexionInformes->ejecutar("UPDATE informes SET numerico1 = -numerico1, doble2 = -doble2");
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    informes::EscribirCsv(*t.ajustes.ConexionInformes, b);
    return b.data();
  };
  const QByteArray sqlite = escribirEn(prueba::Motor::SQLite);
  const QByteArray pg = escribirEn(prueba::Motor::PostgreSQL);
  const QStringList deSqlite = QString::fromUtf8(sqlite).split('\n');
  const QStringList dePg = QString::fromUtf8(pg).split('\n');
  ASSERT_EQ(deSqlite.size(), 7);  // cabecera, cinco filas y el final de la última
  ASSERT_EQ(deSqlite.size(), dePg.size());
  for (int i = 0; i < deSqlite.size(); ++i) EXPECT_EQ(deSqlite[i], dePg[i]) << "línea " << i;
}

}  // namespace
