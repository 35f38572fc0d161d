// «cronicas etiquetas» y «cronicas cartel»: lo mal escrito se dice con su
// porqué y no escribe nada; lo bien escrito deja su PDF.

#include "app/LineaComandos.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class OrdenesLetreros : public testing::Test {
 protected:
  void SetUp() override {
    datos::Conexion::abrir(bases.fuenteVentas())->ejecutarGuion(prueba::GuionTienda(QStringLiteral("letreros")));
    ini = Ruta(QStringLiteral("ajustes.ini"));
    ASSERT_TRUE(
        prueba::escribirBytes(ini, QStringLiteral("[fuentes]\nhosteleria=%1\nInformes=%2\n[informes]\nregional=es_ES\n")
                                       .arg(bases.textoVentas(), bases.textoInformes())
                                       .toUtf8()));
  }

  QString Ruta(const QString& nombre) const { return QDir(bases.carpeta()).filePath(nombre); }

  struct Resultado {
    int codigo;
    QString errores;
  };
  Resultado Ejecutar(const QStringList& args) {
    QBuffer salida, errores;
    salida.open(QIODevice::WriteOnly);
    errores.open(QIODevice::WriteOnly);
    app::Consola consola{salida, errores, reloj};
    const int codigo = app::EjecutarLineaComandos(QStringList{QStringLiteral("--ajustes"), ini} + args, consola);
    EXPECT_TRUE(salida.data().isEmpty());
    return {codigo, QString::fromUtf8(errores.data())};
  }

  prueba::Bases bases{prueba::Motor::SQLite};
  sistema::RelojFijo reloj{QDateTime(QDate(2026, 3, 6), QTime(9, 0))};
  QString ini;
};

TEST_F(OrdenesLetreros, LoMalEscritoSeDiceYNoDejaFichero) {
  const QString pdf = Ruta(QStringLiteral("x.pdf"));
  struct Caso {
    QStringList argumentos;
    const char* mensaje;
  };
  const std::vector<Caso> casos = {
      {{"etiquetas", "--pdf", pdf}, "Falta al menos un producto: --producto CODIGO[:COPIAS]."},
      {{"etiquetas", "--producto", "11"}, "Falta el fichero de salida: --pdf FICHERO."},
      {{"etiquetas", "--producto", "99", "--pdf", pdf}, "No hay ningún producto ni menú con el código «99»."},
      {{"etiquetas", "--producto", "11:tres", "--pdf", pdf}, "Las copias de --producto 11:tres no son un número"},
      {{"etiquetas", "--producto", "11:0", "--pdf", pdf}, "Las copias de --producto 11:0 van de 1 a 2400."},
      {{"etiquetas", "--producto", "11", "--desde-posicion", "25", "--pdf", pdf},
       "--desde-posicion es demasiado grande: como mucho 24 (se dio «25»)."},
      {{"cartel", "--linea", "A", "--pdf", pdf}, "Falta el diseño del letrero: 1, 2 o 3."},
      {{"cartel", "4", "--linea", "A", "--pdf", pdf}, "No hay ningún letrero «4»: el diseño es 1, 2 o 3."},
      {{"cartel", "1", "--pdf", pdf}, "Falta el texto: al menos una --linea TEXTO."},
      {{"cartel", "2", "--linea", "a", "--linea", "b", "--linea", "c", "--linea", "d", "--linea", "e", "--pdf", pdf},
       "Un letrero tiene cuatro líneas y se dieron 5 --linea."},
  };
  for (const Caso& c : casos) {
    const Resultado r = Ejecutar(c.argumentos);
    EXPECT_EQ(r.codigo, app::kSalidaUso) << c.argumentos.join(' ').toStdString();
    EXPECT_TRUE(r.errores.startsWith(QString::fromUtf8(c.mensaje))) << r.errores.toStdString();
  }
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(OrdenesLetreros, LaHojaYElLetreroSalenEnPdf) {
  const QString hoja = Ruta(QStringLiteral("hoja.pdf"));
  Resultado r =
      Ejecutar({"etiquetas", "--producto", "11:3", "--producto", "M2", "--desde-posicion", "23", "--pdf", hoja});
  ASSERT_EQ(r.codigo, app::kSalidaBien) << r.errores.toStdString();
  EXPECT_TRUE(r.errores.contains(QStringLiteral("Hoja de etiquetas guardada en"))) << r.errores.toStdString();
  // Desde la 23: dos etiquetas en la primera hoja y dos en la segunda; las
  // copias y el menú, de los --producto.
  EXPECT_EQ(prueba::PaginasPdf(hoja), 2);
  const QString texto = prueba::TextoPdf(hoja);
  EXPECT_EQ(texto.count(QStringLiteral("Zumo de naranja")), 3);
  EXPECT_TRUE(texto.contains(QStringLiteral("Menú del día")));

  const QString cartel = Ruta(QStringLiteral("cartel.pdf"));
  r = Ejecutar({"cartel", "3", "--linea", "OFERTA", "--linea", "Segunda unidad a mitad de precio", "--pdf", cartel});
  ASSERT_EQ(r.codigo, app::kSalidaBien) << r.errores.toStdString();
  EXPECT_TRUE(r.errores.contains(
      QStringLiteral("Aviso: la línea 2 pasa de 20 caracteres en el letrero 3: sale «Segunda unidad a mit».")))
      << r.errores.toStdString();
  const QString letrero = prueba::TextoPdf(cartel);
  EXPECT_TRUE(letrero.contains(QStringLiteral("Segunda unidad a mit")));
  EXPECT_FALSE(letrero.contains(QStringLiteral("mitad")));
}

}  // namespace
