// El escritor de la tabla Informes, en los dos motores: nombres de columna,
// conversiones de valores, orden de las filas, sentencias sobre todas las
// filas y lo que queda en la tabla cuando un informe se abandona o la base no
// se puede escribir.

#include "builders/Informes.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "support/Ayudas.h"

namespace {

using prueba::mensajeDe;

using datos::ErrorDatos;
using informes::EscritorInformes;

class Escritor : public testing::TestWithParam<prueba::Motor> {
 protected:
  Escritor() : tienda(GetParam()) {}
  const datos::Conexion& informes() const { return *tienda.ajustes.ConexionInformes; }

  // Deja en Informes las filas de un informe anterior ya terminado.
  void informeAnterior(const QStringList& textos) {
    EscritorInformes w(informes());
    w.vaciar();
    for (const QString& t : textos) {
      w.nuevaFila();
      w.poner(informes::Col::Texto1, t);
      w.guardarFila();
    }
    w.terminar();
  }
  QStringList textos1() const {
    QStringList r;
    for (const QVariantMap& f : tienda.filas()) r << f.value("texto1").toString();
    return r;
  }

  prueba::Tienda tienda;
};

TEST_P(Escritor, LasColumnasConNombreSonLasDeLaTablaEnSuOrden) {
  // Las del esquema de cada motor, sin la columna del orden de escritura.
  QStringList tabla;
  for (const QString& c : informes().columnas(QStringLiteral("informes")))
    if (c.compare(QLatin1String("fila"), Qt::CaseInsensitive) != 0) tabla << c.toLower();
  QStringList enumeradas;
  for (int i = 0; i < informes::kNumColumnas; ++i) enumeradas << informes::NombreColumna(static_cast<informes::Col>(i));
  EXPECT_EQ(enumeradas, tabla);

  // Cualquier forma del nombre es la misma columna; lo que no es columna, nada.
  EXPECT_EQ(informes::ColumnaPorNombre("TEXTO6"), informes::Col::Texto6);
  EXPECT_EQ(informes::ColumnaPorNombre("Fecha3"), informes::Col::Fecha3);
  for (const char* c : {"texto36", "numerico0", "fila", "Texto 1"}) EXPECT_FALSE(informes::ColumnaPorNombre(c)) << c;
}

TEST_P(Escritor, UnSegundoEscritorSinVaciarAnadeDetras) {
  informeAnterior({"a1", "a2", "a3"});
  EscritorInformes w(informes());
  for (const char* t : {"b1", "b2"}) {
    w.nuevaFila();
    w.poner(informes::Col::Texto1, t);
    w.guardarFila();
  }
  w.terminar();
  EXPECT_EQ(w.filasGuardadas(), 2);
  EXPECT_EQ(textos1(), (QStringList{"a1", "a2", "a3", "b1", "b2"}));
  // Vaciar deja sólo las del informe nuevo.
  informeAnterior({"nuevo"});
  EXPECT_EQ(textos1(), QStringList{"nuevo"});
}

TEST_P(Escritor, LoQueNoSePoneQuedaEnNull) {
  EscritorInformes w(informes());
  w.vaciar();
  w.nuevaFila();
  w.poner(informes::Col::Texto1, "solo");
  w.guardarFila();
  w.nuevaFila();
  w.poner(informes::Col::Texto1, QVariant());
  w.poner(informes::Col::Numerico1, QVariant());
  w.poner(informes::Col::Fecha1, QVariant());
  w.poner(informes::Col::Entero3, QVariant());
  w.guardarFila();
  w.nuevaFila();
  w.guardarFila();  // fila vacía
  w.terminar();
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), 3u);
  EXPECT_EQ(filas[0], (QVariantMap{{"texto1", "solo"}}));
  EXPECT_EQ(filas[1], QVariantMap{});
  EXPECT_EQ(filas[2], QVariantMap{});
}

TEST_P(Escritor, NumeroEscritoComoTextoSeGuardaComoNumero) {
  const std::vector<std::pair<QString, double>> casos = {
      {"12,50", 12.5},       {"12.50", 12.5},          {" 7 ", 7.0}, {"-3,5", -3.5},
      {"1.234,56", 1234.56}, {"1,234.56", 1234.56},    {"0,1", 0.1}, {"1,234", 1.234},
      {"1.234", 1.234},      {"1.234.567", 1234567.0}, {"+2", 2.0},
  };
  EscritorInformes w(informes());
  w.vaciar();
  for (const auto& [texto, numero] : casos) {
    w.nuevaFila();
    w.poner(informes::Col::Texto1, texto);
    w.poner(informes::Col::Numerico7, texto);
    w.guardarFila();
  }
  w.nuevaFila();
  w.poner(informes::Col::Numerico7, "");  // texto vacío: nada que guardar
  w.poner(informes::Col::Entero3, "12");
  w.guardarFila();
  w.terminar();
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), casos.size() + 1);
  for (size_t i = 0; i < casos.size(); ++i)
    EXPECT_DOUBLE_EQ(filas[i].value("numerico7").toDouble(), casos[i].second) << casos[i].first.toStdString();
  EXPECT_FALSE(filas.back().contains("numerico7"));
  EXPECT_EQ(filas.back().value("entero3"), QVariant(qlonglong(12)));
}

TEST_P(Escritor, LoQueNoEsNumeroNiFechaSeRechazaNombrandoColumnaYValor) {
  EscritorInformes w(informes());
  w.vaciar();
  w.nuevaFila();
  for (const QString& t : {QString("doce"), QString("12,50 €"), QString("1,2,3"), QString("12..5"), QString("1.23.456"),
                           QString("nan"), QString("inf")}) {
    const QString m = mensajeDe([&] { w.poner(informes::Col::Numerico2, t); });
    EXPECT_TRUE(m.contains("numerico2", Qt::CaseInsensitive)) << m.toStdString();
    EXPECT_TRUE(m.contains(t)) << m.toStdString();
  }
  EXPECT_FALSE(mensajeDe([&] { w.poner(informes::Col::Numerico2, QDate(2026, 3, 6)); }).isEmpty());
  EXPECT_FALSE(mensajeDe([&] { w.poner(informes::Col::Entero3, "muchos"); }).isEmpty());
  const QString m = mensajeDe([&] { w.poner(informes::Col::Fecha3, "mañana"); });
  EXPECT_TRUE(m.contains("fecha3")) << m.toStdString();
  EXPECT_TRUE(m.contains("mañana")) << m.toStdString();
}

TEST_P(Escritor, FechasYHorasEnLasColumnasFecha) {
  EscritorInformes w(informes());
  w.vaciar();
  w.nuevaFila();
  const informes::SelloGeneracion sello = informes::TomarSello(tienda.reloj);  // 6/3/2026 09:07:30
  w.poner(informes::Col::Fecha1, QVariant(sello.fecha));
  w.poner(informes::Col::Fecha2, QVariant(sello.hora));
  w.poner(informes::Col::Fecha3, QTime(21, 15, 30));
  w.poner(informes::Col::Fecha4, QDateTime(QDate(2026, 3, 6), QTime(23, 59, 59)));
  w.poner(informes::Col::Texto1, QDate(2026, 3, 6));
  w.poner(informes::Col::Texto2, 12.5);
  w.guardarFila();
  w.nuevaFila();
  w.poner(informes::Col::Fecha1, "06/03/2026");
  w.poner(informes::Col::Fecha2, "09:07");
  w.poner(informes::Col::Fecha3, QDateTime(QDate(2026, 3, 6), QTime(0, 0)));
  w.guardarFila();
  w.terminar();
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(filas[0], (QVariantMap{{"fecha1", "2026-03-06"},
                                   {"fecha2", "1899-12-30 09:07:00"},
                                   {"fecha3", "1899-12-30 21:15:30"},
                                   {"fecha4", "2026-03-06 23:59:59"},
                                   {"texto1", "06/03/2026"},
                                   {"texto2", "12,5"}}));
  EXPECT_EQ(filas[1],
            (QVariantMap{{"fecha1", "2026-03-06"}, {"fecha2", "1899-12-30 09:07:00"}, {"fecha3", "2026-03-06"}}));
}

TEST_P(Escritor, EstamparPoneElValorEnTodasLasFilas) {
  EscritorInformes w(informes());
  w.vaciar();
  for (int i = 0; i < 3; ++i) {
    w.nuevaFila();
    w.poner(informes::Col::Texto1, QString::number(i));
    w.guardarFila();
  }
  w.estampar(informes::Col::Texto18, "Bar O'Neill, 1,5 %");
  w.estampar({{informes::Col::Numerico9, "1.234,5"},
              {informes::Col::Fecha1, QDate(2026, 3, 6)},
              {informes::Col::Texto3, 12.25}});
  w.terminar();
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(filas[i], (QVariantMap{{"texto1", QString::number(i)},
                                     {"texto18", "Bar O'Neill, 1,5 %"},
                                     {"numerico9", 1234.5},
                                     {"fecha1", "2026-03-06"},
                                     {"texto3", "12,25"}}));
  }
}

TEST_P(Escritor, BorrarYActualizarSoloLasFilasDeLaClave) {
  EscritorInformes w(informes());
  w.vaciar();
  for (const char* clave : {"A", "O'B", "A", "C"}) {
    w.nuevaFila();
    w.poner(informes::Col::Texto20, clave);
    w.poner(informes::Col::Numerico3, 1);
    w.guardarFila();
  }
  w.borrarDonde(informes::Col::Texto20, "A");
  w.actualizarDonde(informes::Col::Numerico3, "2,5", informes::Col::Texto20, "O'B");
  w.terminar();
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(filas[0], (QVariantMap{{"texto20", "O'B"}, {"numerico3", 2.5}}));
  EXPECT_EQ(filas[1], (QVariantMap{{"texto20", "C"}, {"numerico3", 1.0}}));
}

TEST_P(Escritor, InformeAbandonadoDejaLaTablaComoEstaba) {
  informeAnterior({"a1", "a2"});
  {
    EscritorInformes w(informes());
    w.vaciar();
    w.nuevaFila();
    w.poner(informes::Col::Texto1, "b1");
    w.guardarFila();
    w.estampar(informes::Col::Texto2, "sello");
    w.borrarDonde(informes::Col::Texto1, "b1");
  }  // sin terminar()
  EXPECT_EQ(textos1(), (QStringList{"a1", "a2"}));

  // Igual cuando lo que corta el informe es un error a mitad.
  EXPECT_THROW(
      {
        EscritorInformes w(informes());
        w.vaciar();
        w.nuevaFila();
        w.poner(informes::Col::Texto1, "c1");
        w.guardarFila();
        w.poner(informes::Col::Numerico1, "no es un número");
      },
      ErrorDatos);
  EXPECT_EQ(textos1(), (QStringList{"a1", "a2"}));
  EXPECT_TRUE(tienda.filas()[0].value("texto2").isNull());

  // Y cuando el corte llega con miles de filas ya entregadas para escribir.
  EXPECT_THROW(
      {
        EscritorInformes w(informes());
        w.vaciar();
        for (int i = 0; i < 5000; ++i) {
          w.nuevaFila();
          w.poner(informes::Col::Texto1, QStringLiteral("e%1").arg(i));
          w.guardarFila();
        }
        w.poner(informes::Col::Numerico1, "no es un número");
      },
      ErrorDatos);
  EXPECT_EQ(textos1(), (QStringList{"a1", "a2"}));

  // Y la conexión sigue sirviendo para el informe siguiente.
  informeAnterior({"d1"});
  EXPECT_EQ(textos1(), QStringList{"d1"});
}

TEST_P(Escritor, BaseDeInformesDeSoloLecturaDaUnSoloMensajeClaro) {
  informeAnterior({"a1"});
  const datos::FuenteDatos fuente = tienda.bases.fuenteInformes();
  tienda.ajustes.ConexionInformes.reset();
  if (GetParam() == prueba::Motor::SQLite) {
    QFile::setPermissions(fuente.ruta, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    tienda.ajustes.ConexionInformes = datos::Conexion::abrir(fuente);
    // Como root el permiso no impide escribir: la conexión se pone en sólo lectura.
    if (QFileInfo(fuente.ruta).isWritable()) tienda.ajustes.ConexionInformes->ejecutar("PRAGMA query_only = ON");
  } else {
    datos::Conexion::abrir(fuente)->ejecutar(
        QStringLiteral("ALTER DATABASE %1 SET default_transaction_read_only = on").arg(fuente.base));
    tienda.ajustes.ConexionInformes = datos::Conexion::abrir(fuente);
  }

  QStringList mensajes;
  try {
    EscritorInformes w(informes());
    w.vaciar();
    w.nuevaFila();
    w.poner(informes::Col::Texto1, "b1");
    w.guardarFila();
    w.terminar();
  } catch (const ErrorDatos& e) {
    mensajes << e.mensaje();
  }
  ASSERT_EQ(mensajes.size(), 1);
  EXPECT_TRUE(mensajes[0].contains("«Informes»")) << mensajes[0].toStdString();
  EXPECT_TRUE(mensajes[0].contains(fuente.descripcion())) << mensajes[0].toStdString();
  EXPECT_TRUE(mensajes[0].contains("read-only") || mensajes[0].contains("readonly")) << mensajes[0].toStdString();
  EXPECT_EQ(textos1(), QStringList{"a1"});
  QFile::setPermissions(fuente.ruta, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_P(Escritor, TextosConCaracteresDelicadosLleganIntactos) {
  // En PostgreSQL las filas viajan dentro de arrays: comillas, barras, llaves,
  // comas, la palabra NULL o un texto vacío no pueden confundirse con la
  // sintaxis del array ni con un Null.
  const QStringList textos = {QStringLiteral("Bar \"El Puerto\""),
                              QStringLiteral("C:\\ruta\\fichero"),
                              QStringLiteral("{llaves},y,comas"),
                              QStringLiteral("NULL"),
                              QStringLiteral(""),
                              QStringLiteral("línea 1\nlínea 2"),
                              QStringLiteral("O'Donnell; DROP TABLE informes"),
                              QStringLiteral("  blancos  ")};
  EscritorInformes w(informes());
  w.vaciar();
  for (const QString& t : textos) {
    w.nuevaFila();
    w.poner(informes::Col::Texto1, t);
    w.poner(informes::Col::Numerico1, -0.1);
    w.poner(informes::Col::Texto2, QVariant());
    w.guardarFila();
  }
  w.terminar();
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), static_cast<size_t>(textos.size()));
  for (int i = 0; i < textos.size(); ++i) {
    const QVariantMap& f = filas[static_cast<size_t>(i)];
    EXPECT_EQ(f.value("texto1"), QVariant(textos[i])) << i;
    EXPECT_FALSE(f.contains("texto2")) << "un Null sigue siendo Null";
    EXPECT_EQ(f.value("numerico1").toDouble(), -0.1);
  }
}

TEST_P(Escritor, DiezMilFilasDeDieciseisColumnas) {
  constexpr int kFilas = 10000;
  const QDate base(2026, 1, 1);
  auto esperada = [&](int i) {
    QVariantMap f;
    for (int c = 1; c <= 8; ++c) f.insert(QStringLiteral("texto%1").arg(c), QStringLiteral("t%1-%2").arg(c).arg(i));
    for (int c = 1; c <= 5; ++c) f.insert(QStringLiteral("numerico%1").arg(c), i * c + 0.25);
    f.insert("fecha1", datos::textoFecha(base.addDays(i % 365)));
    f.insert("entero3", qlonglong(i));
    f.insert("doble1", -i / 4.0);
    return f;
  };
  EscritorInformes w(informes());
  w.vaciar();
  for (int i = 0; i < kFilas; ++i) {
    w.nuevaFila();
    const QVariantMap f = esperada(i);
    for (auto it = f.cbegin(); it != f.cend(); ++it)
      w.poner(*informes::ColumnaPorNombre(it.key()),
              it.key() == "fecha1" ? QVariant(base.addDays(i % 365)) : it.value());
    w.guardarFila();
  }
  w.terminar();
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), static_cast<size_t>(kFilas));
  int distintas = 0;
  for (int i = 0; i < kFilas; ++i) {
    if (filas[static_cast<size_t>(i)] != esperada(i) && ++distintas <= 3)
      ADD_FAILURE() << "fila " << i << ": " << testing::PrintToString(filas[static_cast<size_t>(i)]);
  }
  EXPECT_EQ(distintas, 0);
}

TEST_P(Escritor, ValoresFijosEnTodasLasFilasAunqueCambienLasColumnas) {
  // Filas con dos juegos de columnas que se alternan (sentencias de inserción
  // distintas), muchas más que un lote, y el valor fijo cambia a mitad: cada
  // fila lleva el que había al guardarla, y vuelven en el orden de escritura.
  constexpr int kFilas = 3000;
  using informes::Col;
  constexpr Col texto1 = Col::Texto1, texto2 = Col::Texto2, numerico1 = Col::Numerico1, numerico2 = Col::Numerico2;
  EscritorInformes w(informes());
  w.vaciar();
  w.fijar(texto1, QStringLiteral("Bar O'Neill, S.L."));
  for (int i = 0; i < kFilas; ++i) {
    if (i == kFilas / 2) w.fijar(texto1, QStringLiteral("otro negocio"));
    w.nuevaFila();
    w.poner(numerico1, i);
    if (i % 2) w.poner(numerico2, i * 0.5);
    if (i == 10) w.poner(texto2, QStringLiteral("sólo esta"));
    w.guardarFila();
  }
  w.terminar();
  const auto filas = tienda.filas();
  ASSERT_EQ(filas.size(), static_cast<size_t>(kFilas));
  int mal = 0;
  for (int i = 0; i < kFilas; ++i) {
    const QVariantMap& f = filas[static_cast<size_t>(i)];
    const bool bien = f.value("texto1") == (i < kFilas / 2 ? "Bar O'Neill, S.L." : "otro negocio") &&
                      f.value("numerico1").toInt() == i && f.contains("numerico2") == (i % 2 == 1) &&
                      f.contains("texto2") == (i == 10);
    if (!bien && ++mal <= 3) ADD_FAILURE() << "fila " << i << ": " << testing::PrintToString(f);
  }
  EXPECT_EQ(mal, 0);
}

TEST_P(Escritor, UnFalloAlGuardarSeDiceYDejaElInformeAnterior) {
  if (GetParam() != prueba::Motor::SQLite) GTEST_SKIP() << "el disparador de la prueba es de SQLite";
  informeAnterior({"a", "b"});
  informes().ejecutar(
      "CREATE TRIGGER rechazar BEFORE INSERT ON informes WHEN NEW.texto1 = 'malo' "
      "BEGIN SELECT RAISE(ABORT, 'fila rechazada'); END");
  {
    EscritorInformes w(informes());
    w.vaciar();
    // El fallo llega en algún momento después de guardar la fila; a más
    // tardar, al terminar.
    const QString mensaje = mensajeDe([&] {
      for (int i = 0; i < 5000; ++i) {
        w.nuevaFila();
        w.poner(informes::Col::Texto1, i == 1200 ? QStringLiteral("malo") : QStringLiteral("bueno"));
        w.guardarFila();
      }
      w.terminar();
    });
    EXPECT_TRUE(mensaje.contains("fila rechazada")) << mensaje.toStdString();
    EXPECT_TRUE(mensaje.contains("Informes")) << mensaje.toStdString();
  }
  EXPECT_EQ(textos1(), QStringList({"a", "b"}));
}

INSTANTIATE_TEST_SUITE_P(Motores, Escritor, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
