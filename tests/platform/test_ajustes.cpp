// Almacén de ajustes: las dos operaciones de la suite (leer el campo n de una
// lista, guardar una lista), el catálogo de fuentes, y el trato que recibe un
// fichero que es de toda la suite: se lee como lo leen los programas de
// Windows, sólo cambia la línea de la clave que cambia y uno que no se deja
// escribir no para a nadie.

#include "platform/ajustes/AlmacenAjustes.h"
#include "startup/Arranque.h"
#include "support/ImprimirQt.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/Ayudas.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

using prueba::leerBytes;
using prueba::mensajeDe;

using ajustes::AlmacenAjustes;
using ajustes::ErrorAjustes;

void escribir(const QString& ruta, const QByteArray& contenido) {
  ASSERT_TRUE(prueba::escribirBytes(ruta, contenido)) << ruta.toStdString();
}

const QDateTime kHaceTiempo(QDate(2001, 2, 3), QTime(4, 5, 6));

// Con la fecha de modificación en el pasado, cualquier escritura se nota.
void envejecer(const QString& ruta) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  ASSERT_TRUE(f.setFileTime(kHaceTiempo, QFileDevice::FileModificationTime));
}

bool sinTocar(const QString& ruta) {
  return QFileInfo(ruta).lastModified() == kHaceTiempo;
}

const QString kRosa = QStringLiteral("&H9FC2FD|&HDDE8F9|&HBBC0E1|&HD7D9EE|&HE9F1FE|&HE9F1FE|&H3E4891|ROSA");

// Lo que deja en el fichero un encargado con un editor y otros programas de
// la suite: todo lo que una lectura al estilo de QSettings estropeaba.
QStringList lineasEscritasAMano() {
  return {
      "; Ajustes de la suite Velarix. Los leen todos los puestos.",
      "# también así se comenta",
      "[Velarix]",
      "Programa=COPAS|",
      "color=&HFFFFFF|&H834530|&HC67B62|&HD3CBC2|&HE2CAAB|&HD3CB8B|&HFFFFFF|ROSA|",
      "colorcaja=&H0|de antes|",
      "Nota=Ñandú y café; reparto por la calle Mayor",
      "negocio=Bar Pepe,S.L.|Calle Mayor, 3 |fin",
      "Fotos=C:\\Datos\\fotos",
      "Cierres=D:\\cierres\\2024\\",
      "Mi clave=con blanco en el nombre",
      "   Sangrada   =   con blancos alrededor   ",
      "Citado=\"  entre comillas  \"",
      "una línea que nadie entiende",
      "[fuentes]",
      "hosteleria=sqlite:hosteleria.db",
      "Informes=sqlite:informes.db",
      "",
      "[OtroPrograma]",
      "Ruta=\\\\servidor\\compartida",
      "Ultima=sin salto de línea",
  };
}

struct Variante {
  const char* nombre;
  const char* fin;
  bool bom;
  bool windows1252;
};

void PrintTo(const Variante& v, std::ostream* os) {
  *os << v.nombre;
}

QByteArray codificar(const Variante& v, const QString& texto) {
  if (!v.windows1252) return texto.toUtf8();
  QStringEncoder e("windows-1252");
  return e.encode(texto);
}

// Las líneas unidas con el salto de la variante; la última, sin salto.
QByteArray unir(const Variante& v, const QStringList& lineas) {
  QByteArray b = v.bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
  b += codificar(v, lineas.join(QString::fromLatin1(v.fin)));
  return b;
}

#ifdef Q_OS_UNIX
// Root lee y escribe en cualquier sitio: para ver lo que le pasa a un usuario
// normal, la prueba se hace pasar por nobody mientras tanto.
class ComoUsuarioSinPrivilegios {
 public:
  ComoUsuarioSinPrivilegios() {
    if (::geteuid() != 0) return;
    cambiado_ = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
  }
  ~ComoUsuarioSinPrivilegios() {
    if (cambiado_ && (::seteuid(0) != 0 || ::setegid(0) != 0)) std::abort();
  }
  bool listo() const { return cambiado_ || ::geteuid() != 0; }

 private:
  bool cambiado_ = false;
};
#endif

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
    EXPECT_TRUE(a.avisos().isEmpty());
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
  // Lo creado se vuelve a abrir sin quejas y sin reescribirse, también con el
  // tema de color ya aplicado.
  AlmacenAjustes otra(fichero);
  arranque::AplicarTemaColor(otra);
  const QByteArray creado = leerBytes(fichero);
  envejecer(fichero);
  AlmacenAjustes tercera(fichero);
  arranque::AplicarTemaColor(tercera);
  EXPECT_EQ(tercera.fuente("hosteleria").ruta, otra.fuente("hosteleria").ruta);
  EXPECT_EQ(leerBytes(fichero), creado);
  EXPECT_TRUE(sinTocar(fichero));
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
  EXPECT_EQ(a.valor("correo/nadie", "por defecto"), "por defecto");
}

TEST_F(Ajustes, LoGuardadoSeLeeIgualTambienAlReabrir) {
  const QStringList listas = {
      "RESTAURANTE|",
      "Bar Pepe, S.L.|1,5|  dos blancos  |",
      "comillas \"dobles\" y 'simples'|punto y coma; igual = almohadilla #",
      "@empieza por arroba|barra \\ invertida|Cafetería Ñandú €",
      "C:\\Datos\\fotos|\\2024|\\\\servidor\\compartida",
      // Windows quita blancos y comillas de los extremos al leer: estos
      // tienen que ir protegidos.
      "  blancos delante y detrás  ",
      "\"entre comillas\"",
      "'entre simples'",
      "\"",
      "",
  };
  for (int i = 0; i < listas.size(); ++i) {
    SCOPED_TRACE(listas[i].toStdString());
    const QString clave = QStringLiteral("lista%1").arg(i);
    {
      AlmacenAjustes a(ruta());
      a.guardarLista(clave, listas[i]);
      EXPECT_EQ(a.leerLista(clave), listas[i]);
      a.fijarValor("correo/" + clave, listas[i]);
    }
    AlmacenAjustes b(ruta());
    EXPECT_EQ(b.leerLista(clave), listas[i]);
    EXPECT_EQ(b.leerCampo(clave, 2), listas[i].section('|', 1, 1));
    EXPECT_EQ(b.valor("correo/" + clave, "falta"), listas[i]);
  }
  // Sin escapes: lo que ve otro programa en el fichero es el valor tal cual.
  const QString texto = QString::fromUtf8(leerBytes(ruta()));
  EXPECT_TRUE(texto.contains("\nlista4=C:\\Datos\\fotos|\\2024|\\\\servidor\\compartida\n")) << texto.toStdString();
  EXPECT_TRUE(texto.contains("\nlista1=Bar Pepe, S.L.|1,5|  dos blancos  |\n")) << texto.toStdString();
}

class EscritoAMano : public Ajustes, public testing::WithParamInterface<Variante> {};

TEST_P(EscritoAMano, SeLeeTalCualYElArranqueSoloCambiaLaLineaDeColorcaja) {
  const Variante v = GetParam();
  const QStringList lineas = lineasEscritasAMano();
  const QByteArray original = unir(v, lineas);
  escribir(ruta(), original);
  envejecer(ruta());

  AlmacenAjustes a(ruta());
  EXPECT_TRUE(sinTocar(ruta())) << "abrir no escribe";
  EXPECT_EQ(a.leerCampo("Programa", 1), "COPAS");
  EXPECT_EQ(a.leerLista("Nota"), "Ñandú y café; reparto por la calle Mayor");
  EXPECT_EQ(a.leerCampo("negocio", 1), "Bar Pepe,S.L.");
  EXPECT_EQ(a.leerCampo("negocio", 2), "Calle Mayor, 3 ");
  EXPECT_EQ(a.leerLista("Fotos"), "C:\\Datos\\fotos");
  EXPECT_EQ(a.leerLista("Cierres"), "D:\\cierres\\2024\\");
  EXPECT_EQ(a.leerLista("Mi clave"), "con blanco en el nombre");
  EXPECT_EQ(a.leerLista("SANGRADA"), "con blancos alrededor");
  EXPECT_EQ(a.leerLista("Citado"), "  entre comillas  ");
  EXPECT_EQ(a.valor("otroprograma/ruta"), "\\\\servidor\\compartida");
  EXPECT_EQ(a.valor("OtroPrograma/Ultima"), "sin salto de línea");
  EXPECT_EQ(a.fuente("hosteleria").ruta, QDir::cleanPath(ruta("hosteleria.db")));

  arranque::AplicarTemaColor(a);
  EXPECT_EQ(a.leerLista("colorcaja"), kRosa);
  QStringList esperadas = lineas;
  esperadas[esperadas.indexOf("colorcaja=&H0|de antes|")] = "colorcaja=" + kRosa;
  EXPECT_EQ(leerBytes(ruta()), unir(v, esperadas));

  // El segundo arranque ya encuentra el valor: ni se escribe.
  envejecer(ruta());
  AlmacenAjustes b(ruta());
  arranque::AplicarTemaColor(b);
  EXPECT_TRUE(sinTocar(ruta()));
  EXPECT_EQ(leerBytes(ruta()), unir(v, esperadas));

  // Una clave nueva va tras la última clave de su sección, no tras la línea
  // que nadie entiende; una sección nueva, al final, y el fichero sigue
  // acabando sin salto.
  b.guardarLista("nueva", "x");
  b.fijarValor("informes/regional", "es_ES");
  esperadas.insert(esperadas.indexOf("una línea que nadie entiende"), "nueva=x");
  esperadas << ""
            << "[informes]"
            << "regional=es_ES";
  EXPECT_EQ(leerBytes(ruta()), unir(v, esperadas));
  EXPECT_EQ(AlmacenAjustes(ruta()).valor("informes/regional"), "es_ES");
}

INSTANTIATE_TEST_SUITE_P(Variantes, EscritoAMano,
                         testing::Values(Variante{"LF", "\n", false, false}, Variante{"CRLF_BOM", "\r\n", true, false},
                                         Variante{"Windows1252_CRLF", "\r\n", false, true}),
                         [](const testing::TestParamInfo<Variante>& i) { return std::string(i.param.nombre); });

TEST_F(Ajustes, MayusculasRepetidasYClavesSinSeccionComoEnWindows) {
  const QByteArray contenido =
      "suelta=antes de toda sección\n"
      "[VELARIX]\n"
      "COLORCAJA=primera\n"
      "colorcaja=repetida\n"
      "; comentario de la sección siguiente\n"
      "\n"
      "[Fuentes]\n"
      "Hosteleria=sqlite:/srv/h.db\n"
      "[velarix]\n"
      "programa=COPAS|\n";
  escribir(ruta(), contenido);
  AlmacenAjustes a(ruta());
  EXPECT_EQ(a.leerLista("colorcaja"), "primera");
  EXPECT_EQ(a.leerCampo("Programa", 1), "COPAS");
  EXPECT_EQ(a.valor("suelta"), "antes de toda sección");
  EXPECT_EQ(a.valor("General/suelta"), "antes de toda sección");
  EXPECT_EQ(a.fuente("HOSTELERIA").ruta, "/srv/h.db");
  const QString m = mensajeDe([&] { a.fuente("ventas"); });
  EXPECT_TRUE(m.contains("«ventas»") && m.contains(ruta())) << m.toStdString();

  // Se cambia la que se lee, escrita como estaba; lo nuevo va a la primera
  // sección de ese nombre, antes de los comentarios que siguen.
  a.guardarLista("colorcaja", "segunda");
  a.guardarLista("Programa", "FASTFOOD|");
  a.guardarLista("tercera", "3");
  a.fijarValor("otra_suelta", "2");
  const QByteArray esperado =
      "suelta=antes de toda sección\n"
      "otra_suelta=2\n"
      "[VELARIX]\n"
      "COLORCAJA=segunda\n"
      "colorcaja=repetida\n"
      "tercera=3\n"
      "; comentario de la sección siguiente\n"
      "\n"
      "[Fuentes]\n"
      "Hosteleria=sqlite:/srv/h.db\n"
      "[velarix]\n"
      "programa=FASTFOOD|\n";
  EXPECT_EQ(leerBytes(ruta()), esperado);
}

// La versión anterior guardaba con QSettings: sus ficheros se siguen leyendo.
TEST_F(Ajustes, FicheroEscritoPorLaVersionAnteriorSeLeeIgual) {
  const std::vector<std::pair<QString, QString>> valores = {
      {"fuentes/hosteleria", "sqlite:/srv/tienda/hosteleria.db"},
      {"fuentes/Informes", "sqlite:informes.db"},
      {"salida/carpeta", "/home/caja/.local/share/velarix/salida"},
      {"equipo/identificador", "20260101"},
      {"informes/regional", "es_ES"},
      {"Velarix/Programa", "RESTAURANTE|"},
      {"Velarix/colorcaja", kRosa},
      {"Velarix/negocio", "Bar Pepe, S.L.|Calle Mayor, 3 |fin"},
      {"Velarix/nota", "punto y coma; igual = sí|  blancos  "},
  };
  {
    QSettings viejo(ruta(), QSettings::IniFormat);
    for (const auto& [clave, valor] : valores) viejo.setValue(clave, valor);
  }
  AlmacenAjustes a(ruta());
  for (const auto& [clave, valor] : valores) EXPECT_EQ(a.valor(clave), valor) << clave.toStdString();
  EXPECT_EQ(a.leerCampo("negocio", 2), "Calle Mayor, 3 ");
  EXPECT_EQ(a.fuente("hosteleria").ruta, "/srv/tienda/hosteleria.db");
  EXPECT_EQ(a.identificadorEquipo(), "20260101");
}

TEST_F(Ajustes, OtroProgramaCambiaElFicheroMientrasTantoYNoSePierde) {
  escribir(ruta(), "[Velarix]\ncolor=&H1|\ncolorcaja=vieja|\n");
  AlmacenAjustes a(ruta());
  escribir(ruta(), "[Velarix]\ncolor=&H2|\ncolorcaja=vieja|\n[suya]\nclave=valor\n");
  a.guardarLista("colorcaja", "nueva|");
  EXPECT_EQ(leerBytes(ruta()), "[Velarix]\ncolor=&H2|\ncolorcaja=nueva|\n[suya]\nclave=valor\n");
  EXPECT_EQ(a.leerCampo("color", 1), "&H2");
}

TEST_F(Ajustes, LoQueNoCabeEnUnaLineaSeRechazaSinTocarNada) {
  const QByteArray contenido = "[Velarix]\ncolorcaja=antes|\n";
  escribir(ruta(), contenido);
  AlmacenAjustes a(ruta());
  QString m = mensajeDe([&] { a.guardarLista("colorcaja", "dos\nlineas"); });
  EXPECT_TRUE(m.contains("«Velarix/colorcaja»")) << m.toStdString();
  EXPECT_TRUE(m.contains("saltos de línea")) << m.toStdString();
  for (const QString& mala : {QString("a=b"), QString("[a"), QString("; a"), QString(" a"), QString("")}) {
    m = mensajeDe([&] { a.guardarLista(mala, "x"); });
    EXPECT_TRUE(m.contains("Velarix/" + mala)) << mala.toStdString() << ": " << m.toStdString();
  }
  m = mensajeDe([&] { a.fijarValor("sec]ción/clave", "x"); });
  EXPECT_TRUE(m.contains("sec]ción")) << m.toStdString();
  EXPECT_EQ(a.leerLista("colorcaja"), "antes|");
  EXPECT_EQ(leerBytes(ruta()), contenido);
}

// Un fichero en Windows-1252 no puede guardar una sección con caracteres que
// esa codificación no tiene: se rechaza antes de añadir nada, y lo siguiente
// que se cambia no arrastra restos del intento.
TEST(FicheroIni, SeccionQueNoCabeEnLaCodificacionNoDejaRastro) {
  const QByteArray contenido = "[Velarix]\r\nPrograma=caf\xe9|\r\n; otro programa";
  ajustes::FicheroIni ini(contenido);
  EXPECT_THROW(ini.fijar(QStringLiteral("\u65e5\u672c"), "clave", "x"), ajustes::ErrorAjustes);
  EXPECT_EQ(ini.bytes(), contenido);
  EXPECT_TRUE(ini.fijar("Velarix", "color", "AZUL|"));
  EXPECT_EQ(ini.bytes(), "[Velarix]\r\nPrograma=caf\xe9|\r\ncolor=AZUL|\r\n; otro programa");
}

// Una clave que al leerse sería otra (la marca de orden de bytes del principio
// de una línea se pierde al leerla) no se escribe.
TEST(FicheroIni, ClaveQueNoSeLeeriaIgualSeRechaza) {
  ajustes::FicheroIni ini(QByteArray("[g]\n"));
  EXPECT_THROW(ini.fijar("g", QStringLiteral("\ufeffclave"), "x"), ajustes::ErrorAjustes);
  EXPECT_EQ(ini.bytes(), "[g]\n");
  EXPECT_FALSE(ini.valor("g", "clave").has_value());
}

// --- Ficheros que no se dejan escribir ---------------------------------------

TEST_F(Ajustes, FicheroDeSoloLecturaAvisaYElValorVaMientrasDure) {
  const QByteArray contenido = "[Velarix]\r\ncolor=&H0|&H1|&H2|&H3|&H4|&H5|&H6|ROSA|\r\ncolorcaja=antes|\r\n";
  escribir(ruta(), contenido);
  ASSERT_TRUE(QFile::setPermissions(ruta(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  QStringList recibidos;
  AlmacenAjustes a(ruta(), [&](const QString& m) { recibidos << m; });
  arranque::AplicarTemaColor(a);
  EXPECT_EQ(a.leerLista("colorcaja"), kRosa);
  ASSERT_EQ(recibidos.size(), 1);
  EXPECT_EQ(a.avisos(), recibidos);
  EXPECT_TRUE(recibidos[0].contains("«Velarix/colorcaja»")) << recibidos[0].toStdString();
  EXPECT_TRUE(recibidos[0].contains(QDir::toNativeSeparators(ruta()))) << recibidos[0].toStdString();
  EXPECT_TRUE(recibidos[0].contains("sólo lectura")) << recibidos[0].toStdString();
  EXPECT_EQ(leerBytes(ruta()), contenido);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ajustes.ini"});

  // Cuando el fichero vuelve a dejarse escribir, lo que quedó pendiente se
  // guarda con el cambio siguiente.
  ASSERT_TRUE(QFile::setPermissions(ruta(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  a.fijarValor("informes/regional", "es_ES");
  EXPECT_EQ(a.avisos().size(), 1);
  EXPECT_EQ(leerBytes(ruta()), QByteArray(contenido).replace("colorcaja=antes|", "colorcaja=" + kRosa.toUtf8()) +
                                   "\r\n[informes]\r\nregional=es_ES\r\n");
}

#ifdef Q_OS_UNIX
TEST_F(Ajustes, CarpetaDondeNoSePuedeCrearElTemporalAvisaSinTocarElFichero) {
  const QString carpeta = ruta("compartida");
  ASSERT_TRUE(QDir().mkpath(carpeta));
  const QString fichero = QDir(carpeta).filePath("ajustes.ini");
  const QByteArray contenido = "[Velarix]\ncolorcaja=antes|\n";
  escribir(fichero, contenido);
  // El fichero se deja escribir por todos; la carpeta, por nadie.
  ASSERT_TRUE(QFile::setPermissions(
      fichero, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther | QFileDevice::WriteOther));
  const auto soloEntrar =
      QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
  ASSERT_TRUE(QFile::setPermissions(dir.path(), soloEntrar));
  ASSERT_TRUE(QFile::setPermissions(carpeta, soloEntrar));
  {
    ComoUsuarioSinPrivilegios nadie;
    ASSERT_TRUE(nadie.listo());
    AlmacenAjustes a(fichero);
    a.guardarLista("colorcaja", "nueva|");
    EXPECT_EQ(a.leerLista("colorcaja"), "nueva|");
    ASSERT_EQ(a.avisos().size(), 1);
    EXPECT_TRUE(a.avisos()[0].contains("fichero temporal")) << a.avisos()[0].toStdString();
    EXPECT_TRUE(a.avisos()[0].contains(QDir::toNativeSeparators(carpeta))) << a.avisos()[0].toStdString();
  }
  QFile::setPermissions(dir.path(), soloEntrar | QFileDevice::WriteOwner);
  QFile::setPermissions(carpeta, soloEntrar | QFileDevice::WriteOwner);
  EXPECT_EQ(leerBytes(fichero), contenido);
  EXPECT_EQ(QDir(carpeta).entryList(QDir::Files | QDir::Hidden), QStringList{"ajustes.ini"});
}
#endif

TEST_F(Ajustes, EnlaceSimbolicoSeEscribeElFicheroAlQueApunta) {
  ASSERT_TRUE(QDir().mkpath(ruta("suite")));
  const QString real = ruta("suite/velarix.ini");
  escribir(real, "[Velarix]\ncolorcaja=antes|\n");
  const auto permisos = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
  ASSERT_TRUE(QFile::setPermissions(real, permisos));
  if (!QFile::link("suite/velarix.ini", ruta())) GTEST_SKIP() << "el sistema no deja crear enlaces";
  AlmacenAjustes a(ruta());
  a.guardarLista("colorcaja", "nueva|");
  EXPECT_TRUE(a.avisos().isEmpty()) << a.avisos().join('\n').toStdString();
  EXPECT_EQ(QFileInfo(ruta()).symLinkTarget(), real);
  EXPECT_EQ(leerBytes(real), "[Velarix]\ncolorcaja=nueva|\n");
  EXPECT_EQ(QFile::permissions(real) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), permisos);
}

// --- Entradas mal escritas y ficheros que no lo son ----------------------------

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

#ifdef Q_OS_UNIX
TEST_F(Ajustes, FicheroSinPermisoDeLecturaDaUnMensajeClaro) {
  escribir(ruta(), "[Velarix]\nPrograma=COPAS|\n");
  ASSERT_TRUE(QFile::setPermissions(ruta(), QFileDevice::WriteOwner | QFileDevice::WriteOther));
  ASSERT_TRUE(QFile::setPermissions(
      dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ExeOther));
  ComoUsuarioSinPrivilegios nadie;
  ASSERT_TRUE(nadie.listo());
  const QString m = mensajeDe([&] { AlmacenAjustes a(ruta()); });
  EXPECT_TRUE(m.contains(ruta())) << m.toStdString();
  EXPECT_TRUE(m.contains("No se puede leer")) << m.toStdString();
}
#endif

}  // namespace
