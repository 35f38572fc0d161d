// `cronicas informe` de punta a punta sobre un ajustes.ini de la suite
// escrito a mano: el fichero sale igual salvo la línea de "colorcaja", y uno
// que no se deja escribir no impide sacar el informe.

#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Salida {
  int codigo = -1;
  QString errores;
};

Salida ejecutar(const QStringList& argumentos) {
  QProcess p;
  p.start(QStringLiteral(CRONICAS_EJECUTABLE), argumentos);
  EXPECT_TRUE(p.waitForFinished(120000)) << "el programa no terminó";
  return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
}

const QDateTime kHaceTiempo(QDate(2001, 2, 3), QTime(4, 5, 6));
const QByteArray kVerde = "&HCDE7D2|&H9FCD8B|&H66AF43|&H8ED0A0|&HB5DFC1|&HBDE3C8|&H2E7431|VERDE";

class AjustesDesdeLineaComandos : public testing::Test {
 protected:
  void SetUp() override {
    ini = QDir(bases.carpeta()).filePath(QStringLiteral("ajustes.ini"));
    csv = QDir(bases.carpeta()).filePath(QStringLiteral("productos.csv"));
    const auto ventas = datos::Conexion::abrir(bases.fuenteVentas());
    ventas->ejecutar(
        QStringLiteral("INSERT INTO opciones (identificador, nombre, terminal, tipo_programa) "
                       "VALUES ('77', 'Bar Sol', '1', 'COPAS')"));
    ventas->ejecutar(
        QStringLiteral("INSERT INTO productos (codigo, nombre, precio, borrar) "
                       "VALUES ('P1', 'Caña', 1.8, 0)"));
    // Con BOM, CRLF y sin salto al final, como lo deja el Bloc de notas.
    original =
        "\xEF\xBB\xBF; Ajustes de la suite: los leen todos los puestos\r\n"
        "[Velarix]\r\n"
        "Programa=COPAS|\r\n"
        "color=&HFFFFFF|&H834530|&HC67B62|&HD3CBC2|&HE2CAAB|&HD3CB8B|&HFFFFFF|VERDE|\r\n"
        "colorcaja=&H0|de antes|\r\n"
        "Nota=Ñandú y café; reparto por la calle Mayor\r\n"
        "negocio=Bar Pepe,S.L.|Calle Mayor, 3 |fin\r\n"
        "Fotos=C:\\Datos\\fotos\r\n"
        "Cierres=D:\\cierres\\2024\\\r\n"
        "Mi clave=con blanco en el nombre\r\n"
        "\r\n"
        "[fuentes]\r\n"
        "hosteleria=" +
        bases.textoVentas().toUtf8() +
        "\r\n"
        "Informes=" +
        bases.textoInformes().toUtf8() +
        "\r\n"
        "[equipo]\r\n"
        "identificador=77\r\n"
        "[OtroPrograma]\r\n"
        "Ruta=\\\\servidor\\compartida";
    ASSERT_TRUE(prueba::escribirBytes(ini, original));
  }

  Salida informe() {
    return ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdProductos"),
                     QStringLiteral("--csv"), csv});
  }

  void envejecer() {
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(kHaceTiempo, QFileDevice::FileModificationTime));
  }

  prueba::Bases bases{prueba::Motor::SQLite};
  QString ini, csv;
  QByteArray original;
};

TEST_F(AjustesDesdeLineaComandos, ElInformeSoloCambiaLaLineaDeColorcajaYLaSegundaVezNada) {
  const Salida s = informe();
  ASSERT_EQ(s.codigo, 0) << s.errores.toStdString();
  EXPECT_FALSE(s.errores.contains(QStringLiteral("Aviso"))) << s.errores.toStdString();
  const QByteArray esperado = QByteArray(original).replace("colorcaja=&H0|de antes|", "colorcaja=" + kVerde);
  EXPECT_EQ(prueba::leerBytes(ini), esperado);

  envejecer();
  ASSERT_EQ(informe().codigo, 0);
  EXPECT_EQ(QFileInfo(ini).lastModified(), kHaceTiempo) << "el fichero se volvió a escribir";
  EXPECT_EQ(prueba::leerBytes(ini), esperado);
}

TEST_F(AjustesDesdeLineaComandos, FicheroDeSoloLecturaAvisaYElInformeSale) {
  ASSERT_TRUE(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
  const Salida s = informe();
  EXPECT_EQ(s.codigo, 0) << s.errores.toStdString();
  EXPECT_TRUE(s.errores.contains(QStringLiteral("Aviso: No se pudo guardar «Velarix/colorcaja»")))
      << s.errores.toStdString();
  EXPECT_TRUE(s.errores.contains(QStringLiteral("sólo lectura"))) << s.errores.toStdString();
  EXPECT_TRUE(prueba::leerBytes(csv).contains("Bar Sol"));
  EXPECT_EQ(prueba::leerBytes(ini), original);
}

}  // namespace
