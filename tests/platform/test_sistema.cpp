// Lo que el programa pregunta al sistema: el identificador del puesto a partir
// de la serie del volumen, si un servidor es esta máquina y dónde está un
// programa hermano de la suite.

#include "platform/sistema/Sistema.h"
#include "support/ImprimirQt.h"

#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

void crear(const QString& ruta) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(IdentificadorPuesto, ValorAbsolutoDeLaSerieSinSignoNiCeros) {
  EXPECT_EQ(sistema::identificadorDesdeSerie(-1), "1");
  EXPECT_EQ(sistema::identificadorDesdeSerie(-5), "5");
  EXPECT_EQ(sistema::identificadorDesdeSerie(5), "5");
  EXPECT_EQ(sistema::identificadorDesdeSerie(0), "0");
  EXPECT_EQ(sistema::identificadorDesdeSerie(-1234567890), "1234567890");
  EXPECT_EQ(sistema::identificadorDesdeSerie(std::numeric_limits<qint32>::max()), "2147483647");
  // El valor absoluto del mínimo no cabe en 32 bits.
  EXPECT_EQ(sistema::identificadorDesdeSerie(std::numeric_limits<qint32>::min()), "2147483648");
  EXPECT_EQ(sistema::identificadorDesdeSerie(std::nullopt), "");
}

TEST(IdentificadorPuesto, LaSerieDelSistemaEsEstable) {
  const auto a = sistema::serieVolumenSistema();
  const auto b = sistema::serieVolumenSistema();
  ASSERT_TRUE(a.has_value());
  EXPECT_EQ(a, b);
}

TEST(ServidorLocal, EstaMaquinaPorNombreDireccionOSocket) {
  for (const QString& s :
       {QString("localhost"), QString("LocalHost"), QString("127.0.0.1"), QString("127.0.0.2"), QString("::1"),
        QString(""), QString("  "), QString("/var/run/postgresql"), QHostInfo::localHostName()}) {
    EXPECT_TRUE(sistema::esServidorLocal(s)) << s.toStdString();
  }
  for (const QString& s : {QString("192.0.2.1"), QString("2001:db8::7"), QString("servidor-de-la-central.invalid")}) {
    EXPECT_FALSE(sistema::esServidorLocal(s)) << s.toStdString();
  }
}

TEST(Ficheros, ExisteSoloUnFichero) {
  QTemporaryDir dir;
  const QString fichero = dir.filePath("Vigia.exe");
  crear(fichero);
  EXPECT_TRUE(sistema::ficheroExiste(fichero));  // vacío también cuenta
  EXPECT_FALSE(sistema::ficheroExiste(dir.filePath("Estafeta.exe")));
  EXPECT_FALSE(sistema::ficheroExiste(dir.path()));
  EXPECT_FALSE(sistema::ficheroExiste(""));
}

TEST(Ficheros, ProgramaHermanoEnLaCarpetaDelPrograma) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  // Sin ningún fichero, la ruta con el nombre tal cual.
  EXPECT_EQ(sistema::rutaProgramaHermano(d.path(), "Vigia.exe"), d.filePath("Vigia.exe"));
  // Fuera de Windows vale el ejecutable sin extensión y en minúsculas.
  crear(d.filePath("vigia"));
  EXPECT_EQ(sistema::rutaProgramaHermano(d.path(), "Vigia.exe"), d.filePath("vigia"));
  // El nombre exacto gana.
  crear(d.filePath("Vigia.exe"));
  EXPECT_EQ(sistema::rutaProgramaHermano(d.path(), "Vigia.exe"), d.filePath("Vigia.exe"));
  // Una carpeta con ese nombre no es el programa.
  d.mkpath("estafeta");
  EXPECT_EQ(sistema::rutaProgramaHermano(d.path(), "Estafeta.exe"), d.filePath("Estafeta.exe"));
}

}  // namespace
