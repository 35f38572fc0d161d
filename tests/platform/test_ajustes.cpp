// Almacén de ajustes: las dos operaciones de la suite (leer el campo n de una
// lista, guardar una lista), el catálogo de fuentes y lo que pasa cuando el
// fichero falta, está mal o no se puede leer.

#include "platform/ajustes/AlmacenAjustes.h"
#include "support/ImprimirQt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/Ayudas.h"

namespace {

using prueba::leerBytes;
using prueba::mensajeDe;

using ajustes::AlmacenAjustes;
using ajustes::ErrorAjustes;

void escribir(const QString& ruta, const QByteArray& contenido) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(contenido);
}

class Ajustes : public testing::Test {
 protected:
  QString ruta(const QString& nombre = "ajustes.ini") const { return dir.filePath(nombre); }
  QTemporaryDir dir;
};

TEST_F(Ajustes, FicheroQueFaltaSeCreaEnCarpetaNuevaConValoresQueFuncionan) {
  const QString fichero = ruta("velarix/nueva/ajustes.ini");
  {
    AlmacenAjustes a(fichero);
    EXPECT_EQ(a.fichero(), fichero);
    const datos::FuenteDatos ventas = a.fuente("hosteleria");
    const datos::FuenteDatos informes = a.fuente("Informes");
    EXPECT_EQ(ventas.motor, datos::Motor::SQLite);
    EXPECT_EQ(informes.motor, datos::Motor::SQLite);
    EXPECT_TRUE(QFileInfo(ventas.ruta).isAbsolute()) << ventas.ruta.toStdString();
    EXPECT_NE(ventas.ruta, informes.ruta);
    const QStringList tipos = {"FASTFOOD", "RESTAURANTE", "COPAS"};
    EXPECT_TRUE(tipos.contains(a.leerCampo("Programa", 1))) << a.leerCampo("Programa", 1).toStdString();
    const QStringList temas = {"GRIS", "AZUL", "VERDE", "AMARILLO", "ROSA"};
    EXPECT_TRUE(temas.contains(a.leerCampo("color", 8))) << a.leerCampo("color", 8).toStdString();
    for (int n = 2; n <= 6; ++n) EXPECT_TRUE(a.leerCampo("color", n).startsWith("&H")) << n;
  }
  ASSERT_TRUE(QFileInfo(fichero).isFile());
  // Lo creado se vuelve a abrir sin quejas y sin reescribirse.
  const QByteArray creado = leerBytes(fichero);
  AlmacenAjustes otra(fichero);
  EXPECT_EQ(otra.leerCampo("Programa", 1), AlmacenAjustes(fichero).leerCampo("Programa", 1));
  EXPECT_EQ(leerBytes(fichero), creado);
}

TEST_F(Ajustes, LosCamposSeCuentanDesdeUnoYLoQueFaltaEsVacio) {
  AlmacenAjustes a(ruta());
  a.guardarLista("colorcaja", "&H96FAF8|&H79F9F5||AMARILLO");
  EXPECT_EQ(a.leerCampo("colorcaja", 1), "&H96FAF8");
  EXPECT_EQ(a.leerCampo("colorcaja", 2), "&H79F9F5");
  EXPECT_EQ(a.leerCampo("colorcaja", 3), "");
  EXPECT_EQ(a.leerCampo("colorcaja", 4), "AMARILLO");
  EXPECT_EQ(a.leerCampo("colorcaja", 5), "");
  EXPECT_EQ(a.leerCampo("colorcaja", 0), "");
  EXPECT_EQ(a.leerCampo("colorcaja", -1), "");
  EXPECT_EQ(a.leerCampo("clave_que_nadie_escribio", 1), "");
  EXPECT_EQ(a.leerLista("clave_que_nadie_escribio"), "");
}

TEST_F(Ajustes, ListaGuardadaSeLeeIgualTambienAlReabrir) {
  const QStringList listas = {
      "RESTAURANTE|",
      "Bar Pepe, S.L.|1,5|  dos blancos  |",
      "comillas \"dobles\" y 'simples'|punto y coma; igual = almohadilla #",
      "@empieza por arroba|barra \\ invertida|Cafetería Ñandú €",
  };
  for (int i = 0; i < listas.size(); ++i) {
    SCOPED_TRACE(listas[i].toStdString());
    const QString clave = QStringLiteral("lista%1").arg(i);
    {
      AlmacenAjustes a(ruta());
      a.guardarLista(clave, listas[i]);
      EXPECT_EQ(a.leerLista(clave), listas[i]);
      EXPECT_EQ(a.leerCampo(clave, 1), listas[i].section('|', 0, 0));
    }
    AlmacenAjustes b(ruta());
    EXPECT_EQ(b.leerLista(clave), listas[i]);
    EXPECT_EQ(b.leerCampo(clave, 2), listas[i].section('|', 1, 1));
  }
}

// Otro programa de la suite, o el encargado con un editor, escribe las
// listas sin comillas; QSettings las parte por las comas.
TEST_F(Ajustes, ListaEscritaAManoConComasSeLeeEntera) {
  escribir(ruta(),
           "[Velarix]\n"
           "Programa=COPAS,RESTAURANTE|x\n"
           "negocio=Bar Pepe, S.L.|Calle Mayor, 3 |fin\n");
  AlmacenAjustes a(ruta());
  EXPECT_EQ(a.leerCampo("Programa", 1), "COPAS,RESTAURANTE");
  EXPECT_EQ(a.leerCampo("Programa", 2), "x");
  EXPECT_EQ(a.leerCampo("negocio", 1), "Bar Pepe, S.L.");
  EXPECT_EQ(a.leerCampo("negocio", 2), "Calle Mayor, 3 ");
  EXPECT_EQ(a.leerCampo("negocio", 3), "fin");
}

TEST_F(Ajustes, FuenteMalEscritaSeNombraYElFicheroNoSeToca) {
  const QByteArray contenido =
      "[fuentes]\n"
      "hosteleria=mysql://caja@servidor/ventas\n"
      "Informes=sqlite:informes.db\n";
  escribir(ruta(), contenido);
  const QString m = mensajeDe([&] { AlmacenAjustes a(ruta()); });
  EXPECT_TRUE(m.contains("«fuentes/hosteleria»")) << m.toStdString();
  EXPECT_TRUE(m.contains(ruta())) << m.toStdString();
  EXPECT_TRUE(m.contains("mysql://caja@servidor/ventas")) << m.toStdString();
  EXPECT_EQ(leerBytes(ruta()), contenido);
}

TEST_F(Ajustes, IdentificadorDePuestoQueNoEsNumeroSeNombra) {
  escribir(ruta(), "[equipo]\nidentificador=12A4\n");
  const QString m = mensajeDe([&] { AlmacenAjustes a(ruta()); });
  EXPECT_TRUE(m.contains("«equipo/identificador»")) << m.toStdString();
  EXPECT_TRUE(m.contains("12A4")) << m.toStdString();

  escribir(ruta(), "[equipo]\nidentificador= 2301957 \n");
  EXPECT_EQ(AlmacenAjustes(ruta()).identificadorEquipo(), "2301957");
  escribir(ruta(), "[equipo]\nidentificador=\n");
  EXPECT_EQ(AlmacenAjustes(ruta()).identificadorEquipo(), "");
}

TEST_F(Ajustes, RutaSqliteRelativaSeResuelveContraLaCarpetaDelFichero) {
  QDir(dir.path()).mkpath("conf");
  escribir(ruta("conf/ajustes.ini"),
           "[fuentes]\nhosteleria=sqlite:datos/hosteleria.db\nInformes=sqlite:../informes.db\n");
  // El directorio de trabajo no cuenta.
  QTemporaryDir otro;
  const QString antes = QDir::currentPath();
  QDir::setCurrent(otro.path());
  AlmacenAjustes a(ruta("conf/ajustes.ini"));
  const QString ventas = a.fuente("hosteleria").ruta;
  const QString informes = a.fuente("Informes").ruta;
  QDir::setCurrent(antes);
  EXPECT_EQ(ventas, QDir::cleanPath(ruta("conf/datos/hosteleria.db")));
  EXPECT_EQ(informes, QDir::cleanPath(ruta("informes.db")));
}

TEST_F(Ajustes, NombreDeFuenteSinDistinguirMayusculas) {
  escribir(ruta(), "[fuentes]\nHosteleria=sqlite:/srv/h.db\ninformes=sqlite:/srv/i.db\n");
  AlmacenAjustes a(ruta());
  EXPECT_EQ(a.fuente("hosteleria").ruta, "/srv/h.db");
  EXPECT_EQ(a.fuente("HOSTELERIA").ruta, "/srv/h.db");
  EXPECT_EQ(a.fuente("Informes").ruta, "/srv/i.db");
  const QString m = mensajeDe([&] { a.fuente("ventas"); });
  EXPECT_TRUE(m.contains("«ventas»")) << m.toStdString();
  EXPECT_TRUE(m.contains(ruta())) << m.toStdString();
}

TEST_F(Ajustes, FicheroQueEsUnaCarpetaOQueNoSePuedeCrearDaUnMensajeClaro) {
  QDir(dir.path()).mkpath("ajustes.ini");
  QString m = mensajeDe([&] { AlmacenAjustes a(ruta()); });
  EXPECT_TRUE(m.contains(ruta())) << m.toStdString();
  EXPECT_TRUE(m.contains("no es un fichero")) << m.toStdString();

  // La carpeta del fichero no se puede crear: en su lugar hay un fichero.
  escribir(ruta("ocupado"), "x");
  m = mensajeDe([&] { AlmacenAjustes a(ruta("ocupado/ajustes.ini")); });
  EXPECT_TRUE(m.contains(ruta("ocupado"))) << m.toStdString();
}

TEST_F(Ajustes, FicheroSinPermisoDeLecturaDaUnMensajeClaro) {
  escribir(ruta(), "[Velarix]\nPrograma=COPAS|\n");
  QFile::setPermissions(ruta(), QFileDevice::WriteOwner);
  if (QFileInfo(ruta()).isReadable()) GTEST_SKIP() << "como root todo fichero se puede leer";
  const QString m = mensajeDe([&] { AlmacenAjustes a(ruta()); });
  EXPECT_TRUE(m.contains(ruta())) << m.toStdString();
  EXPECT_TRUE(m.contains("No se puede leer")) << m.toStdString();
}

}  // namespace
