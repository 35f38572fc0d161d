// Plantillas: lo que se lee, lo que se rechaza y cómo se dice.

#include "builders/Informes.h"
#include "platform/motor/Expresion.h"
#include "platform/motor/Plantilla.h"
#include "registro/RegistroInformes.h"

#include <QFile>
#include <QTemporaryDir>

#include "support/Documentos.h"

#include <gtest/gtest.h>

namespace {

using namespace motor;

using prueba::EntornoFijo;

QStringList Columnas() {
  return prueba::ColumnasInformes();
}

QString MensajeAlLeer(const QString& xml, const QString& fichero = QStringLiteral("prueba.xml")) {
  try {
    LeerPlantilla(xml.toUtf8(), fichero, Columnas());
  } catch (const ErrorPlantilla& e) {
    return e.mensaje();
  }
  return {};
}

const char* kMinima =
    "<informe titulo=\"T\">\n"
    "  <detalle alto=\"5\">\n"
    "    <campo columna=\"Texto1\" x=\"0\" ancho=\"50\" alto=\"5\"/>\n"
    "  </detalle>\n"
    "</informe>\n";

TEST(LeerPlantilla, LaMinimaSeLeeConLosValoresPorDefecto) {
  const Plantilla p = LeerPlantilla(kMinima, QStringLiteral("m.xml"), Columnas());
  EXPECT_EQ(p.titulo, QStringLiteral("T"));
  EXPECT_EQ(p.papel.tipo, TipoPapel::Hoja);
  EXPECT_DOUBLE_EQ(p.papel.ancho, 210);
  EXPECT_DOUBLE_EQ(p.papel.alto, 297);
  ASSERT_EQ(p.columnas, QStringList{QStringLiteral("texto1")});  // el nombre, sin mayúsculas
  ASSERT_EQ(p.detalle.elementos.size(), 1u);
  EXPECT_EQ(p.detalle.elementos[0].formato, Formato::Texto);
  EXPECT_EQ(p.detalle.elementos[0].alineacion, Qt::AlignLeft);
}

TEST(LeerPlantilla, ElFormatoPorDefectoSaleDeLaClaseDeColumna) {
  const Plantilla p = LeerPlantilla(
      "<informe><detalle alto=\"5\">"
      "<campo columna=\"NUMERICO3\" x=\"0\" ancho=\"10\" alto=\"5\"/>"
      "<campo columna=\"fecha1\" x=\"10\" ancho=\"10\" alto=\"5\"/>"
      "<campo columna=\"entero3\" x=\"20\" ancho=\"10\" alto=\"5\"/>"
      "<campo columna=\"fecha3\" formato=\"hora\" x=\"30\" ancho=\"10\" alto=\"5\"/>"
      "</detalle></informe>",
      QStringLiteral("f.xml"), Columnas());
  const auto& e = p.detalle.elementos;
  EXPECT_EQ(e[0].formato, Formato::Numero);
  EXPECT_EQ(e[0].alineacion, Qt::AlignRight);
  EXPECT_EQ(e[1].formato, Formato::Fecha);
  EXPECT_EQ(e[2].formato, Formato::Entero);
  EXPECT_EQ(e[3].formato, Formato::Hora);
}

TEST(LeerPlantilla, PapelesHorizontalMitadEtiquetasYRollo) {
  auto papel = [](const char* atributos, const char* detalle = "<detalle alto=\"5\"/>") {
    return LeerPlantilla(QStringLiteral("<informe><papel %1/>%2</informe>")
                             .arg(QString::fromLatin1(atributos), QString::fromLatin1(detalle))
                             .toUtf8(),
                         QStringLiteral("p.xml"), Columnas())
        .papel;
  };
  const Papel h = papel("tipo=\"A4\" orientacion=\"horizontal\"");
  EXPECT_DOUBLE_EQ(h.ancho, 297);
  EXPECT_DOUBLE_EQ(h.alto, 210);
  const Papel m = papel("tipo=\"A5\"");
  EXPECT_DOUBLE_EQ(m.ancho, 148);
  const Papel e = papel("tipo=\"etiquetas\" margenes=\"13.3 0 0 0\"");
  EXPECT_EQ(e.columnas * e.filas, 24);
  EXPECT_DOUBLE_EQ(e.anchoEtiqueta, 70);
  EXPECT_DOUBLE_EQ(e.altoEtiqueta, 33.8);
  const Papel r = papel("tipo=\"rollo\" caracteres=\"40\" ancho=\"72\"");
  EXPECT_EQ(r.tipo, TipoPapel::Rollo);
  EXPECT_EQ(r.caracteres, 40);
}

TEST(LeerPlantilla, EnUnRolloSeMideEnCaracteresYLineas) {
  const Plantilla p = LeerPlantilla(
      "<informe><papel tipo=\"rollo\" caracteres=\"40\" ancho=\"72\"/>"
      "<detalle alto=\"2\"><campo columna=\"texto1\" x=\"10\" y=\"1\" ancho=\"20\" alto=\"1\"/></detalle></informe>",
      QStringLiteral("r.xml"), Columnas());
  const Elemento& e = p.detalle.elementos[0];
  EXPECT_DOUBLE_EQ(e.x, 10 * 72.0 / 40);
  EXPECT_DOUBLE_EQ(e.ancho, 20 * 72.0 / 40);
  EXPECT_DOUBLE_EQ(p.detalle.alto, 2 * e.alto);
  EXPECT_EQ(p.estilo.familia, QStringLiteral("DejaVu Sans Mono"));
}

// Cada error dice el fichero, la línea y el problema.
TEST(PlantillaRechazada, XmlMalFormado) {
  const QString m = MensajeAlLeer("<informe>\n<detalle alto=\"5\">\n<campo columna=\"texto1\"\n</informe>");
  EXPECT_TRUE(m.contains(QStringLiteral("prueba.xml"))) << m.toStdString();
  EXPECT_TRUE(m.contains(QStringLiteral("línea 4"))) << m.toStdString();
  // Un nombre de fichero con marcas de sustitución sale tal cual.
  const QString raro = MensajeAlLeer("<informe>", QStringLiteral("/tmp/50%2 dto %1.xml"));
  EXPECT_TRUE(raro.startsWith(QStringLiteral("La plantilla «/tmp/50%2 dto %1.xml» no se puede usar: línea 1:")))
      << raro.toStdString();
}

TEST(PlantillaRechazada, CadaFaltaSeDiceConSuLinea) {
  // Lo que hay dentro de la banda de detalle, con una columna que sí existe.
  const auto enDetalle = [](const char* atributos) {
    return QStringLiteral("<informe><detalle alto=\"5\"><campo columna=\"texto1\" %1/></detalle></informe>")
        .arg(QLatin1String(atributos));
  };
  const struct {
    QString xml;
    const char* dice;
  } casos[] = {
      {"<informe>\n<detalle alto=\"5\">\n\n<campo columna=\"texto99\" x=\"0\" ancho=\"5\" alto=\"5\"/>\n</detalle>\n"
       "</informe>",
       "línea 4: la columna «texto99» no existe en Informes"},
      {"<informe>\n<detalle alto=\"5\">\n<circulo x=\"1\"/>\n</detalle>\n</informe>", "línea 3"},
      {"<informe>\n<detalle alto=\"5\">\n<circulo x=\"1\"/>\n</detalle>\n</informe>", "<circulo> no existe"},
      {"<informe>\n<cabecera alto=\"5\"/>\n</informe>", "<cabecera> no existe"},
      {enDetalle("x=\"0\" anchura=\"5\" alto=\"5\""), "«anchura» no vale en <campo>"},
      {enDetalle("x=\"0\" ancho=\"5\" alto=\"5\" alinear=\"arriba\""), "«alinear» admite izquierda, centro, derecha"},
      {enDetalle("x=\"uno\" ancho=\"5\" alto=\"5\""), "«uno» no es un número"},
      {enDetalle("x=\"0\" y=\"2\" ancho=\"5\" alto=\"5\""), "se sale de su banda"},
      {"<informe><papel tipo=\"A3\"/><detalle alto=\"5\"/></informe>", "el papel «A3» no existe"},
      {"<informe><cabeceraPagina alto=\"5\"/></informe>", "falta la banda <detalle>"},
      {"<informe><detalle alto=\"5\"/><detalle alto=\"5\"/></informe>", "repetida"},
      {"<informe><formula nombre=\"v\" expresion=\"numerico1 * \"/><detalle alto=\"5\"/></informe>",
       "la fórmula «v» está mal escrita"},
      {"<informe><formula nombre=\"v\" expresion=\"precio * 2\"/><detalle alto=\"5\"/></informe>",
       "«precio» no existe"},
      {"<informe><formula nombre=\"texto1\" expresion=\"1\"/><detalle alto=\"5\"/></informe>", "ya es de una columna"},
      {"<informe><papel tipo=\"etiquetas\" columnas=\"4\"/><detalle alto=\"5\"/></informe>", "no cabe en la hoja"},
  };
  for (const auto& c : casos) {
    const QString m = MensajeAlLeer(c.xml);
    EXPECT_TRUE(m.contains(QString::fromUtf8(c.dice))) << c.dice << "\n" << m.toStdString();
  }
}

TEST(PlantillaRechazada, ElementoQueSeSaleDelPapel) {
  // A4 vertical con 12 mm de márgenes: 186 mm útiles.
  const QString m = MensajeAlLeer(
      "<informe>\n<detalle alto=\"5\">\n<campo columna=\"texto1\" x=\"150\" ancho=\"40\" alto=\"5\"/>\n"
      "</detalle>\n</informe>");
  EXPECT_TRUE(m.contains(QStringLiteral("línea 3"))) << m.toStdString();
  EXPECT_TRUE(m.contains(QStringLiteral("se sale del ancho útil (llega a 190,0 mm y hay 186,0 mm)")))
      << m.toStdString();
  // En un rollo, el ancho son los caracteres de la línea.
  EXPECT_TRUE(MensajeAlLeer("<informe><papel tipo=\"rollo\" caracteres=\"40\"/><detalle alto=\"1\"><campo "
                            "columna=\"texto1\" x=\"30\" ancho=\"11\" alto=\"1\"/></detalle></informe>")
                  .contains(QStringLiteral("se sale del ancho útil")));
  EXPECT_TRUE(MensajeAlLeer("<informe><papel tipo=\"rollo\" caracteres=\"40\"/><detalle alto=\"1\"><campo "
                            "columna=\"texto1\" x=\"30\" ancho=\"10\" alto=\"1\"/></detalle></informe>")
                  .isEmpty());
}

// Grupos uno dentro de otro: <grupo columna="texto1"> n veces, cada uno en
// su línea, con el detalle al final.
QString GruposAnidados(int n) {
  QString xml = QStringLiteral("<informe>\n");
  for (int i = 0; i < n; ++i) xml += QStringLiteral("<grupo columna=\"texto1\">\n");
  for (int i = 0; i < n; ++i) xml += QStringLiteral("</grupo>");
  return xml + QStringLiteral("\n<detalle alto=\"5\"/>\n</informe>");
}

TEST(PlantillaRechazada, DemasiadosGruposAnidadosSeDicenSinAgotarLaPila) {
  EXPECT_EQ(LeerPlantilla(GruposAnidados(20).toUtf8(), QStringLiteral("g.xml"), Columnas()).grupos.size(), 20u);
  // El vigésimo primero, en la línea 22, es el que sobra.
  const QString m = MensajeAlLeer(GruposAnidados(21));
  EXPECT_TRUE(m.contains(QStringLiteral("línea 22: hay más de 20 grupos anidados"))) << m.toStdString();
  // Diez mil agotaban la pila y cinco mil tardaban segundos.
  EXPECT_TRUE(MensajeAlLeer(GruposAnidados(10000)).contains(QStringLiteral("hay más de 20 grupos anidados")));
}

TEST(PlantillaRechazada, NumerosQueNoSonFinitosOSeSalenDeSuTope) {
  auto campo = [](const QString& atributos) {
    return MensajeAlLeer(
        QStringLiteral("<informe>\n<detalle alto=\"5\">\n<campo columna=\"texto1\" %1/>\n</detalle>\n</informe>")
            .arg(atributos));
  };
  const QString medidas = QStringLiteral("x=\"0\" ancho=\"10\" alto=\"5\"");
  for (const QString& raro : {QStringLiteral("nan"), QStringLiteral("inf"), QStringLiteral("-inf"),
                              QStringLiteral("NaN"), QStringLiteral("1e400")}) {
    const QString m = campo(medidas + QStringLiteral(" tamano=\"%1\"").arg(raro));
    EXPECT_TRUE(m.contains(QStringLiteral("línea 3: «%1» no es un número en el atributo «tamano»").arg(raro)))
        << m.toStdString();
    EXPECT_TRUE(campo(QStringLiteral("x=\"%1\" ancho=\"10\" alto=\"5\"").arg(raro))
                    .contains(QStringLiteral("no es un número en el atributo «x»")));
  }
  const QString letra = campo(medidas + QStringLiteral(" tamano=\"1e9\""));
  EXPECT_TRUE(letra.contains(QStringLiteral("línea 3: el atributo «tamano» no puede ser mayor que 200")))
      << letra.toStdString();
  EXPECT_TRUE(campo(medidas + QStringLiteral(" tamano=\"200\"")).isEmpty());
  EXPECT_TRUE(MensajeAlLeer("<informe><detalle alto=\"1e6\"/></informe>")
                  .contains(QStringLiteral("no puede ser mayor que 1000")));
  EXPECT_TRUE(MensajeAlLeer("<informe><detalle alto=\"5\"><linea x=\"0\" ancho=\"5\" grosor=\"inf\"/></detalle>"
                            "</informe>")
                  .contains(QStringLiteral("«inf» no es un número en el atributo «grosor»")));
  EXPECT_TRUE(MensajeAlLeer("<informe><papel tipo=\"rollo\" ancho=\"nan\"/><detalle alto=\"1\"/></informe>")
                  .contains(QStringLiteral("«nan» no es un número")));
  for (const char* margenes : {"nan", "12 inf", "150", "12 110 12 100"})
    EXPECT_FALSE(MensajeAlLeer(QStringLiteral("<informe><papel margenes=\"%1\"/><detalle alto=\"5\"/></informe>")
                                   .arg(QLatin1String(margenes)))
                     .isEmpty())
        << margenes;
  EXPECT_TRUE(MensajeAlLeer("<informe><papel margenes=\"100 10\"/><detalle alto=\"5\"/></informe>").isEmpty());
  EXPECT_TRUE(MensajeAlLeer("<informe><papel tipo=\"A5\" margenes=\"20 74\"/><detalle alto=\"5\"/></informe>")
                  .contains(QStringLiteral("los márgenes no dejan sitio en el papel")));
}

TEST(PlantillaRechazada, EtiquetasQueNoCabenEnLaHoja) {
  EXPECT_TRUE(MensajeAlLeer("<informe><papel tipo=\"etiquetas\" columnas=\"4\"/><detalle alto=\"5\"/></informe>")
                  .contains(QStringLiteral("no cabe en la hoja")));
}

TEST(PlantillaRechazada, FicheroQueNoExiste) {
  QTemporaryDir dir;
  try {
    CargarPlantilla(dir.filePath(QStringLiteral("nada.xml")), Columnas());
    FAIL() << "no lanzó";
  } catch (const ErrorPlantilla& e) {
    EXPECT_TRUE(e.mensaje().contains(QStringLiteral("No se encuentra la plantilla"))) << e.mensaje().toStdString();
    EXPECT_TRUE(e.mensaje().contains(QStringLiteral("nada.xml")));
  }
  try {
    UbicarPlantilla(QStringLiteral("productos.rpt"), dir.path());
    FAIL() << "no lanzó";
  } catch (const ErrorPlantilla& e) {
    EXPECT_TRUE(e.mensaje().contains(QStringLiteral("«productos.xml»"))) << e.mensaje().toStdString();
    EXPECT_TRUE(e.mensaje().contains(dir.path())) << e.mensaje().toStdString();
  }
}

TEST(UbicarPlantilla, UnaCarpetaDeLosAjustesMandaSobreLasDelPrograma) {
  QTemporaryDir dir;
  QFile f(dir.filePath(QStringLiteral("productos.xml")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(kMinima);
  f.close();
  EXPECT_EQ(UbicarPlantilla(QStringLiteral("productos.rpt"), dir.path()),
            dir.filePath(QStringLiteral("productos.xml")));
  EXPECT_EQ(UbicarPlantilla(QStringLiteral("productos.rpt"), QString()), QStringLiteral(":/plantillas/productos.xml"));
  // Un nombre con ruta no sale de la carpeta de plantillas.
  EXPECT_EQ(UbicarPlantilla(QStringLiteral("../../productos.rpt"), dir.path()),
            dir.filePath(QStringLiteral("productos.xml")));
}

// Todas las plantillas que el programa lleva se leen contra la tabla real.
TEST(PlantillasDelPrograma, CadaBotonTieneUnaPlantillaValida) {
  for (const registro::BotonInforme& b : registro::Botones()) {
    if (!b.disponible() || b.plantilla.isEmpty()) continue;
    SCOPED_TRACE(b.boton.toStdString());
    try {
      const Plantilla p = CargarPlantilla(UbicarPlantilla(b.plantilla, QString()), Columnas());
      EXPECT_FALSE(p.titulo.isEmpty());
      EXPECT_FALSE(p.detalle.elementos.empty());
    } catch (const ErrorPlantilla& e) {
      ADD_FAILURE() << e.mensaje().toStdString();
    }
  }
}

// El ejemplo de la explicación del formato tiene que ser una plantilla buena.
TEST(PlantillasDelPrograma, ElEjemploDeLaExplicacionSeLee) {
  QFile f(QStringLiteral(CRONICAS_DIR_PRUEBAS "/../templates/README.md"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString texto = QString::fromUtf8(f.readAll());
  const int inicio = texto.indexOf(QStringLiteral("<?xml"));
  const int fin = texto.indexOf(QStringLiteral("</informe>"), inicio);
  ASSERT_GE(inicio, 0);
  ASSERT_GT(fin, inicio);
  try {
    const Plantilla p =
        LeerPlantilla(texto.mid(inicio, fin + 10 - inicio).toUtf8(), QStringLiteral("README.md"), Columnas());
    EXPECT_EQ(p.titulo, QStringLiteral("Formas de Pago"));
    EXPECT_EQ(p.detalle.elementos.size(), 3u);
  } catch (const ErrorPlantilla& e) {
    FAIL() << e.mensaje().toStdString();
  }
}

// --- Fórmulas ---------------------------------------------------------------

double Evaluar(const QString& texto, const Fila& fila) {
  QString error;
  const auto e = Expresion::Analizar(
      texto, [](const QString& n) { return n == QLatin1String("a")   ? 0
                                           : n == QLatin1String("b") ? 1
                                                                     : -1; }, error);
  EXPECT_TRUE(e) << error.toStdString();
  return e ? e->evaluar(fila) : -12345;
}

TEST(Expresion, PrioridadParentesisYSigno) {
  const Fila f{QVariant(4.0), QVariant(2.5)};
  EXPECT_DOUBLE_EQ(Evaluar(QStringLiteral("a * b"), f), 10);
  EXPECT_DOUBLE_EQ(Evaluar(QStringLiteral("1 + 2 * 3"), f), 7);
  EXPECT_DOUBLE_EQ(Evaluar(QStringLiteral("(1 + 2) * 3"), f), 9);
  EXPECT_DOUBLE_EQ(Evaluar(QStringLiteral("a - b - 1"), f), 0.5);
  EXPECT_DOUBLE_EQ(Evaluar(QStringLiteral("-a + 10 / 4"), f), -1.5);
  EXPECT_DOUBLE_EQ(Evaluar(QStringLiteral("a / (b - 2.5)"), f), 0);                        // división por cero
  EXPECT_DOUBLE_EQ(Evaluar(QStringLiteral("a * b"), Fila{QVariant(), QVariant(3.0)}), 0);  // Null es 0
}

TEST(Expresion, LoMalEscritoSeRechazaConSuMotivo) {
  QString error;
  auto resolver = [](const QString&) { return 0; };
  EXPECT_FALSE(Expresion::Analizar(QStringLiteral("(1 + 2"), resolver, error));
  EXPECT_TRUE(error.contains(QStringLiteral("falta «)»")));
  EXPECT_FALSE(Expresion::Analizar(QStringLiteral("1 2"), resolver, error));
  EXPECT_TRUE(error.contains(QStringLiteral("sobra")));
  EXPECT_FALSE(Expresion::Analizar(QStringLiteral(""), resolver, error));
  QString larga = QStringLiteral("1");
  for (int i = 0; i < 70; ++i) larga = QStringLiteral("1 + (%1)").arg(larga);
  EXPECT_FALSE(Expresion::Analizar(larga, resolver, error));
  EXPECT_TRUE(error.contains(QStringLiteral("demasiado larga")));
}

TEST(Expresion, LoQueAnidaDemasiadoSeRechazaSinAgotarLaPila) {
  QString error;
  auto resolver = [](const QString&) { return 0; };
  // Doscientos niveles valen: paréntesis y signos dan lo que deben.
  const QString justa = QString(100, QLatin1Char('(')) + QString(100, QLatin1Char('-')) + QStringLiteral("a") +
                        QString(100, QLatin1Char(')'));
  const auto e = Expresion::Analizar(justa, resolver, error);
  ASSERT_TRUE(e) << error.toStdString();
  EXPECT_DOUBLE_EQ(e->evaluar(Fila{QVariant(3.5)}), 3.5);
  EXPECT_FALSE(Expresion::Analizar(QStringLiteral("(") + justa + QStringLiteral(")"), resolver, error));
  EXPECT_TRUE(error.contains(QStringLiteral("anida más de 200 paréntesis o signos"))) << error.toStdString();
  // Lo que reventaba el programa: veinte mil paréntesis o cien mil signos.
  const QString parentesis = QString(20000, QLatin1Char('(')) + QStringLiteral("1") + QString(20000, QLatin1Char(')'));
  EXPECT_FALSE(Expresion::Analizar(parentesis, resolver, error));
  EXPECT_TRUE(error.contains(QStringLiteral("anida más de 200")));
  EXPECT_FALSE(Expresion::Analizar(QString(100000, QLatin1Char('-')) + QStringLiteral("1"), resolver, error));
  EXPECT_TRUE(error.contains(QStringLiteral("anida más de 200")));
  // Un número demasiado grande para un double no pasa por infinito.
  EXPECT_FALSE(Expresion::Analizar(QString(400, QLatin1Char('9')), resolver, error));
  EXPECT_TRUE(error.contains(QStringLiteral("número mal escrito"))) << error.toStdString();
}

}  // namespace

// «sí» con tilde es un sí, como «si»; un texto con tilde comparado como
// Latin-1 no casaba nunca y la plantilla se rechazaba.
TEST(PlantillaLeida, SiConTildeEsSi) {
  for (const char* si : {"si", "sí", "SÍ"}) {
    const Plantilla p = LeerPlantilla(
        QStringLiteral("<informe><grupo columna=\"texto5\" porFecha=\"%1\"/><detalle alto=\"5\"/></informe>")
            .arg(QString::fromUtf8(si))
            .toUtf8(),
        QStringLiteral("s.xml"), Columnas());
    ASSERT_EQ(p.grupos.size(), 1u) << si;
    EXPECT_TRUE(p.grupos[0].porFecha) << si;
  }
}
