// Lo que sale del motor: PDF leído con pdftotext, hoja de cálculo leída
// celda a celda, códigos de barras y, en los dos motores de base de datos,
// la lectura de Informes y el aviso cuando no hay filas.

#include "builders/Informes.h"
#include "platform/motor/CodigoBarras.h"
#include "platform/motor/Motor.h"
#include "registro/SalidaInforme.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace motor;

using prueba::EntornoFijo;

QStringList Columnas() {
  return prueba::ColumnasInformes();
}

// Un listado con cabecera de página, rótulos, grupo con subtotal y total.
const char* kListado =
    "<informe titulo=\"Ventas de prueba\">"
    "<cabeceraPagina alto=\"16\">"
    "  <texto x=\"0\" y=\"0\" ancho=\"100\" alto=\"6\" negrita=\"si\">Ventas de prueba</texto>"
    "  <impresion x=\"100\" y=\"0\" ancho=\"86\" alto=\"6\" alinear=\"derecha\" prefijo=\"Fecha: \"/>"
    "  <texto x=\"0\" y=\"10\" ancho=\"60\" alto=\"5\" negrita=\"si\">Producto</texto>"
    "  <texto x=\"60\" y=\"10\" ancho=\"25\" alto=\"5\" negrita=\"si\" alinear=\"derecha\">Importe</texto>"
    "  <texto x=\"90\" y=\"10\" ancho=\"25\" alto=\"5\" negrita=\"si\">Día</texto>"
    "</cabeceraPagina>"
    "<grupo columna=\"texto1\"><cabecera alto=\"6\"><campo columna=\"texto1\" x=\"0\" ancho=\"60\" alto=\"6\" "
    "negrita=\"si\"/></cabecera>"
    "<pie alto=\"6\"><texto x=\"0\" ancho=\"60\" alto=\"6\">Subtotal</texto><suma columna=\"numerico1\" "
    "ambito=\"grupo\" "
    "x=\"60\" ancho=\"25\" alto=\"6\" negrita=\"si\"/></pie></grupo>"
    "<detalle alto=\"5\"><campo columna=\"texto2\" x=\"0\" ancho=\"60\" alto=\"5\"/>"
    "<campo columna=\"numerico1\" x=\"60\" ancho=\"25\" alto=\"5\"/>"
    "<campo columna=\"fecha3\" x=\"90\" ancho=\"25\" alto=\"5\"/>"
    "<linea x=\"0\" y=\"4.9\" ancho=\"115\"/></detalle>"
    "<pieInforme alto=\"8\"><texto x=\"0\" y=\"2\" ancho=\"60\" alto=\"6\" negrita=\"si\">Total</texto>"
    "<suma columna=\"numerico1\" x=\"60\" y=\"2\" ancho=\"25\" alto=\"6\" negrita=\"si\"/></pieInforme>"
    "<piePagina alto=\"8\"><pagina x=\"100\" y=\"2\" ancho=\"86\" alto=\"5\" alinear=\"derecha\"/></piePagina>"
    "</informe>";

class Listado : public testing::Test {
 protected:
  Listado() : plantilla(LeerPlantilla(kListado, QStringLiteral("listado.xml"), Columnas())) {
    // Por orden de aparición en la plantilla: texto1, numerico1, texto2, fecha3.
    for (int i = 0; i < 70; ++i)
      filas.push_back({i < 50 ? QStringLiteral("Bebidas") : QStringLiteral("Cocina"), 1000.0 + i,
                       QStringLiteral("Artículo %1").arg(i),
                       QStringLiteral("2026-03-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0'))});
  }
  QString ruta(const QString& nombre) const { return dir.filePath(nombre); }
  QTemporaryDir dir;
  Plantilla plantilla;
  std::vector<Fila> filas;
};

TEST_F(Listado, ElPdfDiceLosValoresEnSuColumnaYNumeraLasPaginas) {
  const Informe inf(plantilla, filas, EntornoFijo());
  GuardarPdf(Maquetar(inf), ruta(QStringLiteral("l.pdf")));
  const QString texto = prueba::TextoPdf(ruta(QStringLiteral("l.pdf")));
  ASSERT_FALSE(texto.isEmpty());
  EXPECT_EQ(prueba::PaginasPdf(ruta(QStringLiteral("l.pdf"))), 2);
  EXPECT_TRUE(texto.contains(QStringLiteral("Fecha: 06/03/2026")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Página 1 de 2")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Página 2 de 2")));
  // El número va a la derecha de su nombre, en la misma línea, y la fecha detrás.
  const QString linea = prueba::LineaCon(texto, QStringLiteral("Artículo 7 "));
  EXPECT_TRUE(linea.contains(QRegularExpression(QStringLiteral("Artículo 7\\s+1\\.007,00\\s+08/03/2026"))))
      << linea.toStdString();
  // Subtotales: 50 × 1000 + (0+…+49) = 51.225; 20 × 1000 + (50+…+69) = 21.190.
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Subtotal")).contains(QStringLiteral("51.225,00")));
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Total ")).contains(QStringLiteral("72.415,00")));
  // Los importes quedan alineados a la derecha: acaban en la misma columna.
  const int fin1 = prueba::LineaCon(texto, QStringLiteral("Artículo 1 ")).indexOf(QStringLiteral("1.001,00")) + 8;
  const int fin2 = prueba::LineaCon(texto, QStringLiteral("Subtotal")).indexOf(QStringLiteral("51.225,00")) + 9;
  EXPECT_NEAR(fin1, fin2, 1);
}

TEST_F(Listado, LaHojaLlevaNumerosConFormatoYLasFilasDeGrupoYTotal) {
  const Informe inf(plantilla, filas, EntornoFijo());
  GuardarXlsx(inf, ruta(QStringLiteral("l.xlsx")));
  const auto c = prueba::LeerXlsx(ruta(QStringLiteral("l.xlsx")));
  ASSERT_FALSE(c.empty());
  // Cabecera: título y fecha en la fila 1, rótulos en la 2, cada uno en la
  // columna de su dato.
  EXPECT_EQ(c.at(QStringLiteral("A1")).texto, QStringLiteral("Ventas de prueba"));
  EXPECT_EQ(c.at(QStringLiteral("A2")).texto, QStringLiteral("Producto"));
  EXPECT_EQ(c.at(QStringLiteral("B2")).texto, QStringLiteral("Importe"));
  EXPECT_EQ(c.at(QStringLiteral("C2")).texto, QStringLiteral("Día"));
  EXPECT_TRUE(c.at(QStringLiteral("B2")).negrita);
  // Grupo, detalle con número y fecha de verdad.
  EXPECT_EQ(c.at(QStringLiteral("A3")).texto, QStringLiteral("Bebidas"));
  EXPECT_EQ(c.at(QStringLiteral("A4")).texto, QStringLiteral("Artículo 0"));
  const prueba::Celda& importe = c.at(QStringLiteral("B4"));
  EXPECT_TRUE(importe.numero);
  EXPECT_DOUBLE_EQ(importe.valor, 1000);
  EXPECT_EQ(importe.formato, QStringLiteral("#,##0.00"));
  const prueba::Celda& dia = c.at(QStringLiteral("C4"));
  EXPECT_TRUE(dia.numero);
  EXPECT_DOUBLE_EQ(dia.valor, 46082);  // 01/03/2026 en la cuenta de días de las hojas de cálculo
  EXPECT_EQ(dia.formato, QStringLiteral("dd/mm/yyyy"));
  // Tras 50 detalles, el subtotal; después el segundo grupo; al final el total.
  EXPECT_EQ(c.at(QStringLiteral("A54")).texto, QStringLiteral("Subtotal"));
  EXPECT_DOUBLE_EQ(c.at(QStringLiteral("B54")).valor, 51225);
  EXPECT_TRUE(c.at(QStringLiteral("B54")).negrita);
  EXPECT_EQ(c.at(QStringLiteral("A55")).texto, QStringLiteral("Cocina"));
  EXPECT_EQ(c.at(QStringLiteral("A77")).texto, QStringLiteral("Total"));
  EXPECT_DOUBLE_EQ(c.at(QStringLiteral("B77")).valor, 72415);
  // El pie de página no va a la hoja: en una hoja no hay páginas.
  EXPECT_TRUE(prueba::BuscarCelda(c, QStringLiteral("Página 1 de 2")).isEmpty());
}

TEST_F(Listado, UnaCarpetaQueNoExisteDaUnErrorQueLaNombraYNoDejaNada) {
  const Informe inf(plantilla, filas, EntornoFijo());
  const QString noHay = ruta(QStringLiteral("no/hay"));
  for (const QString& f : {QStringLiteral("a.pdf"), QStringLiteral("a.xlsx")}) {
    try {
      if (f.endsWith(QLatin1String(".pdf")))
        GuardarPdf(Maquetar(inf), QDir(noHay).filePath(f));
      else
        GuardarXlsx(inf, QDir(noHay).filePath(f));
      ADD_FAILURE() << "no lanzó " << f.toStdString();
    } catch (const ErrorSalida& e) {
      EXPECT_TRUE(e.mensaje().contains(QStringLiteral("no/hay"))) << e.mensaje().toStdString();
    }
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST_F(Listado, UnaHojaNuevaSustituyeALaAnteriorSinDejarTemporales) {
  QFile viejo(ruta(QStringLiteral("l.xlsx")));
  ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
  viejo.write("anterior");
  viejo.close();
  GuardarXlsx(Informe(plantilla, filas, EntornoFijo()), ruta(QStringLiteral("l.xlsx")));
  EXPECT_EQ(prueba::LeerXlsx(ruta(QStringLiteral("l.xlsx"))).at(QStringLiteral("A1")).texto,
            QStringLiteral("Ventas de prueba"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("l.xlsx")});
}

// Lo que el formato de la hoja no admite: más de 32.767 caracteres en una
// celda (la biblioteca la dejaba vacía) y el carácter nulo (cortaba el texto).
TEST(SalidaHoja, LoQueNoCabeEnUnaCeldaSeCortaConMarcaYSeAvisaUnaVez) {
  const Plantilla p = LeerPlantilla(
      "<informe titulo=\"Largos\"><detalle alto=\"5\"><campo columna=\"texto2\" x=\"0\" ancho=\"60\" alto=\"5\"/>"
      "</detalle></informe>",
      QStringLiteral("largos.xml"), Columnas());
  const QString largo = QString(40000, QLatin1Char('a'));
  // Uno con una letra de dos mitades justo donde se corta: no se parte.
  const QString partido = QString(32767 - 14, QLatin1Char('b')) + QStringLiteral("😀") + QString(100, QLatin1Char('c'));
  const QString justo = QString(32767, QLatin1Char('d'));
  QString conNulo = QStringLiteral("antes");
  conNulo += QChar(0);
  conNulo += QStringLiteral("después");
  const std::vector<Fila> filas = {{largo}, {conNulo}, {partido}, {justo}, {QStringLiteral("corto")}};
  QTemporaryDir dir;
  const QString hoja = dir.filePath(QStringLiteral("largos.xlsx"));
  const QStringList avisos = GuardarXlsx(Informe(p, filas, EntornoFijo()), hoja);
  const auto c = prueba::LeerXlsx(hoja);
  // La biblioteca deja vacía la celda que no cabe.
  for (const char* celda : {"A1", "A2", "A3", "A4", "A5"}) ASSERT_EQ(c.count(QLatin1String(celda)), 1u) << celda;
  const QString a1 = c.at(QStringLiteral("A1")).texto;
  EXPECT_EQ(a1.size(), 32767);
  EXPECT_TRUE(a1.startsWith(QStringLiteral("aaaa")));
  EXPECT_TRUE(a1.endsWith(QStringLiteral("a… [recortado]"))) << a1.right(20).toStdString();
  EXPECT_EQ(c.at(QStringLiteral("A2")).texto, QStringLiteral("antes\uFFFDdespués"));
  const QString a3 = c.at(QStringLiteral("A3")).texto;
  EXPECT_TRUE(a3.endsWith(QStringLiteral("b… [recortado]"))) << a3.right(20).toStdString();
  EXPECT_EQ(c.at(QStringLiteral("A4")).texto, justo);
  EXPECT_EQ(c.at(QStringLiteral("A5")).texto, QStringLiteral("corto"));
  ASSERT_EQ(avisos.size(), 2) << avisos.join('\n').toStdString();
  EXPECT_TRUE(avisos[0].contains(QStringLiteral("2 textos con más de 32.767 caracteres"))) << avisos[0].toStdString();
  EXPECT_TRUE(avisos[0].contains(QDir::toNativeSeparators(hoja)));
  EXPECT_TRUE(avisos[1].contains(QStringLiteral("un texto con el carácter nulo"))) << avisos[1].toStdString();

  // Lo que cabe no avisa de nada.
  EXPECT_EQ(GuardarXlsx(Informe(p, {{justo}}, EntornoFijo()), hoja), QStringList());
}

TEST(SalidaPdf, HojaDeEtiquetasConCodigosDeBarrasYRolloASuMedida) {
  QTemporaryDir dir;
  const Plantilla etiquetas = LeerPlantilla(
      "<informe><papel tipo=\"etiquetas\" margenes=\"13.3 0 0 0\"/><detalle alto=\"33.8\">"
      "<campo columna=\"texto2\" x=\"3\" y=\"2\" ancho=\"64\" alto=\"5\" negrita=\"si\"/>"
      "<barras columna=\"texto1\" x=\"8\" y=\"8\" ancho=\"54\" alto=\"16\"/>"
      "<campo columna=\"numerico1\" x=\"40\" y=\"26\" ancho=\"27\" alto=\"6\" sufijo=\" €\"/>"
      "</detalle></informe>",
      QStringLiteral("e.xml"), Columnas());
  std::vector<Fila> filas;  // texto2, texto1, numerico1
  for (int i = 1; i <= 30; ++i)
    filas.push_back(
        {QStringLiteral("Artículo %1").arg(i), QStringLiteral("*%1*").arg(i, 12, 10, QLatin1Char('0')), 1.25 * i});
  const QString pdf = dir.filePath(QStringLiteral("e.pdf"));
  GuardarPdf(Maquetar(Informe(etiquetas, filas, EntornoFijo())), pdf);
  EXPECT_EQ(prueba::PaginasPdf(pdf), 2);
  const QSizeF a4 = prueba::TamanoPaginaMm(pdf);
  EXPECT_NEAR(a4.width(), 210, 0.5);
  EXPECT_NEAR(a4.height(), 297, 0.5);
  const QString texto = prueba::TextoPdf(pdf);
  // Bajo las barras, el código legible sin los asteriscos.
  EXPECT_TRUE(texto.contains(QStringLiteral("000000000024")));
  EXPECT_FALSE(texto.contains(QStringLiteral("*000000000024*")));
  EXPECT_TRUE(texto.contains(QStringLiteral("37,50 €")));
  // Tres etiquetas por fila, de izquierda a derecha.
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Artículo 1 "))
                  .contains(QRegularExpression(QStringLiteral("Artículo 1\\s+Artículo 2\\s+Artículo 3"))));

  const Plantilla rollo = LeerPlantilla(
      "<informe><papel tipo=\"rollo\" caracteres=\"32\" ancho=\"48\"/><detalle alto=\"1\">"
      "<campo columna=\"texto1\" x=\"0\" ancho=\"24\" alto=\"1\"/>"
      "<campo columna=\"numerico1\" x=\"24\" ancho=\"8\" alto=\"1\"/></detalle></informe>",
      QStringLiteral("r.xml"), Columnas());
  const QString ticket = dir.filePath(QStringLiteral("r.pdf"));
  GuardarPdf(Maquetar(Informe(rollo, {{QStringLiteral("Caña"), 1.8}, {QStringLiteral("Tapa"), 2.5}}, EntornoFijo())),
             ticket);
  const QSizeF tira = prueba::TamanoPaginaMm(ticket);
  EXPECT_NEAR(tira.width(), 48 + 4, 0.5);  // ancho imprimible y sus márgenes
  EXPECT_LT(tira.height(), 40);            // dos líneas, no un folio
  EXPECT_TRUE(prueba::LineaCon(prueba::TextoPdf(ticket), QStringLiteral("Caña")).contains(QStringLiteral("1,80")));
}

// Los bloques de texto (BT … ET) de las páginas de un PDF hecho por Qt, con
// la letra sin su número de objeto.
QStringList BloquesDeTexto(const QString& ruta) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray pdf = f.readAll();
  static const QRegularExpression bloque(QStringLiteral("BT\\n/F\\d+ ([0-9.]+ Tf[^\\n]*\\n(?:[^\\n]*Tj\\n)+)ET\\n"));
  QStringList bloques;
  for (qsizetype i = pdf.indexOf("stream"); i >= 0; i = pdf.indexOf("stream", i + 6)) {
    if (i >= 3 && pdf.mid(i - 3, 3) == "end") continue;
    qsizetype inicio = i + 6;
    while (inicio < pdf.size() && (pdf[inicio] == '\r' || pdf[inicio] == '\n')) ++inicio;
    const qsizetype fin = pdf.indexOf("endstream", inicio);
    if (fin < 0) break;
    // qUncompress quiere delante el tamaño sin comprimir: basta uno holgado.
    QByteArray z("\x01\x00\x00\x00", 4);
    z += pdf.mid(inicio, fin - inicio);
    const QString contenido = QString::fromLatin1(qUncompress(z));
    for (auto m = bloque.globalMatch(contenido); m.hasNext();) bloques << m.next().captured(1);
  }
  return bloques;
}

// El PDF compone cada texto distinto una vez y monta las cifras carácter a
// carácter: tiene que dejar los mismos glifos en las mismas posiciones que
// pintando cada texto con drawText.
TEST(SalidaPdf, LosTextosLlevanLosMismosGlifosQuePintadosUnoAUno) {
  const Plantilla p = LeerPlantilla(
      "<informe titulo=\"Glifos\"><detalle alto=\"5\">"
      "<campo columna=\"texto1\" x=\"0.013\" ancho=\"70\" alto=\"5\"/>"
      "<campo columna=\"numerico1\" x=\"71.37\" ancho=\"30\" alto=\"5\" alinear=\"derecha\"/>"
      "<campo columna=\"texto2\" x=\"103.3333\" ancho=\"40\" alto=\"5\" negrita=\"si\" tamano=\"11\"/>"
      "</detalle><piePagina alto=\"8\"><pagina x=\"100\" y=\"2\" ancho=\"86\" alto=\"5\" "
      "alinear=\"derecha\"/></piePagina></informe>",
      QStringLiteral("glifos.xml"), Columnas());
  const QStringList nombres{QStringLiteral("Oficina fiscal"), QStringLiteral("Soufflé de flan"),
                            QStringLiteral("Peñón – señal"),  QStringLiteral("12,50 €"),
                            QStringLiteral("→ 日本"),         QStringLiteral("(7%) 1/2: 3-4"),
                            QStringLiteral("AVATAR Ty")};
  std::vector<Fila> filas;
  for (int i = 0; i < 60; ++i)
    filas.push_back(
        {nombres[i % nombres.size()], 1234.567 * i - 20000,
         i % 3 ? QVariant(QStringLiteral("%1/%2/2026 1%3:0%4").arg(i % 28 + 1).arg(i % 12 + 1).arg(i % 10).arg(i % 7))
               : QVariant(QStringLiteral("Total fijo"))});
  const Documento d = Maquetar(Informe(p, filas, EntornoFijo()));
  QTemporaryDir dir;
  const QString compuesto = dir.filePath(QStringLiteral("compuesto.pdf"));
  GuardarPdf(d, compuesto);

  const QString uno = dir.filePath(QStringLiteral("uno.pdf"));
  {
    QFile f(uno);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QPdfWriter pdf(&f);
    pdf.setResolution(1200);
    pdf.setPageSize(QPageSize(d.tamano, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPainter pintor(&pdf);
    const double ex = pdf.logicalDpiX() / 25.4, ey = pdf.logicalDpiY() / 25.4;
    for (std::size_t i = 0; i < d.paginas.size(); ++i) {
      if (i > 0) pdf.newPage();
      for (const Trazo& t : d.paginas[i].trazos) {
        if (t.tipo != Trazo::Tipo::Texto || t.ajustar) continue;
        pintor.setFont(d.letras.at(static_cast<std::size_t>(t.letra)));
        pintor.setPen(QPen(t.color, 0));
        pintor.drawText(QPointF(t.origen.x() * ex, t.origen.y() * ey), t.texto);
      }
    }
  }
  const QStringList esperados = BloquesDeTexto(uno);
  const QStringList hechos = BloquesDeTexto(compuesto);
  ASSERT_GT(esperados.size(), 100);
  ASSERT_EQ(hechos.size(), esperados.size());
  for (qsizetype i = 0; i < hechos.size(); ++i)
    if (hechos[i] != esperados[i]) {
      ADD_FAILURE() << "bloque " << i << ":\n"
                    << hechos[i].toStdString() << "en vez de\n"
                    << esperados[i].toStdString();
      break;
    }
}

TEST(CodigoBarras, Code39SinLosAsteriscosDeLaFuenteYEan) {
  const Barras a = CodificarBarras(Simbologia::Code39, QStringLiteral("*000000012345*"));
  ASSERT_TRUE(a.valido) << a.error.toStdString();
  EXPECT_EQ(a.legible, QStringLiteral("000000012345"));
  // Inicio, 12 caracteres y fin: 14 símbolos de 5 barras cada uno.
  EXPECT_EQ(a.barras.size(), 14u * 5u);
  const Barras e = CodificarBarras(Simbologia::Ean, QStringLiteral("590123412345"));
  ASSERT_TRUE(e.valido) << e.error.toStdString();
  EXPECT_EQ(e.legible, QStringLiteral("5901234123457"));  // con su dígito de control
  const Barras mal = CodificarBarras(Simbologia::Ean, QStringLiteral("59012ABC"));
  EXPECT_FALSE(mal.valido);
  EXPECT_FALSE(mal.error.isEmpty());
  EXPECT_FALSE(CodificarBarras(Simbologia::Code39, QStringLiteral("**")).valido);
}

// --- Con base de datos ----------------------------------------------------

const registro::OpcionesSalida kEspana{QString(), QStringLiteral("es_ES")};

class MotorConBase : public testing::TestWithParam<prueba::Motor> {
 protected:
  MotorConBase() : tienda(GetParam()) {}
  const datos::Conexion& informes() const { return *tienda.ajustes.ConexionInformes; }
  void escribir(const QStringList& nombres) {
    informes::EscritorInformes w(informes());
    w.vaciar();
    double n = 1;
    for (const QString& t : nombres) {
      w.nuevaFila();
      w.poner(informes::Col::Texto6, QStringLiteral("Bar «La Ñora»"));
      w.poner(informes::Col::Texto7, QStringLiteral("Calle Mayor 1 - Murcia"));
      w.poner(informes::Col::Texto8, QStringLiteral("Bebidas"));
      w.poner(informes::Col::Texto2, t);
      w.poner(informes::Col::Numerico1, n++);
      w.guardarFila();
    }
    w.terminar();
  }
  prueba::Tienda tienda;
  QTemporaryDir dir;
};

// El informe lee la tabla por columnas; lo que lee debe ser lo mismo, con los
// mismos tipos, que la lectura fila a fila, y en el orden de la columna fila
// aunque la tabla devuelva las filas en otro.
TEST_P(MotorConBase, LaLecturaPorColumnasDaLoMismoQueFilaAFilaYEnElOrdenDeFila) {
  {
    informes::EscritorInformes w(informes());
    w.vaciar();
    const QVariant textos[] = {QStringLiteral("Peñón"), QStringLiteral("Peñón"), QString(""), QVariant(),
                               QStringLiteral("  ")};
    for (int i = 0; i < 5; ++i) {
      w.nuevaFila();
      w.poner(informes::Col::Texto1, textos[i]);
      w.poner(informes::Col::Numerico1, i % 2 ? QVariant(i * 1.25) : QVariant());
      w.poner(informes::Col::Entero3, i * 7);
      w.poner(informes::Col::Fecha1, QDateTime(QDate(2026, 3, 6), QTime(i, 30)));
      w.guardarFila();
    }
    w.terminar();
  }
  // Una fila añadida al final de la tabla con un número de fila anterior.
  informes().ejecutar(QStringLiteral("INSERT INTO informes (fila, texto1) VALUES (?, ?)"),
                      {0, QStringLiteral("antes que todas")});
  const Plantilla p = LeerPlantilla(
      "<informe><detalle alto=\"5\"><campo columna=\"texto1\" x=\"0\" ancho=\"9\" alto=\"5\"/>"
      "<campo columna=\"numerico1\" x=\"9\" ancho=\"9\" alto=\"5\"/><campo columna=\"entero3\" x=\"18\" "
      "ancho=\"9\" alto=\"5\"/><campo columna=\"fecha1\" x=\"27\" ancho=\"9\" "
      "alto=\"5\"/></detalle></informe>",
      QStringLiteral("x.xml"), ColumnasDeInformes(informes()));
  const std::vector<Fila> filas = LeerFilas(informes(), p);
  const TablaFilas tabla = LeerTabla(informes(), p);
  ASSERT_EQ(tabla.numFilas(), filas.size());
  ASSERT_EQ(filas.size(), 6u);
  EXPECT_EQ(filas[0][0].toString(), QStringLiteral("antes que todas"));
  for (std::size_t f = 0; f < filas.size(); ++f)
    for (int c = 0; c < 4; ++c) {
      const QVariant a = filas[f][static_cast<std::size_t>(c)], b = tabla.valor(f, c);
      ASSERT_EQ(a.isNull(), b.isNull()) << "fila " << f << " columna " << c;
      if (a.isNull()) continue;
      EXPECT_EQ(a.typeId(), b.typeId()) << "fila " << f << " columna " << c;
      EXPECT_EQ(a, b) << "fila " << f << " columna " << c;
      EXPECT_EQ(tabla.vacio(f, c), a.typeId() == QMetaType::QString && a.toString().trimmed().isEmpty());
    }
}

TEST_P(MotorConBase, SinFilasSeAvisaYNoSeEscribeNada) {
  escribir({});
  EXPECT_FALSE(HayDatos(informes()));
  const registro::Destinos d{dir.filePath(QStringLiteral("a.pdf")), dir.filePath(QStringLiteral("a.xlsx"))};
  EXPECT_FALSE(registro::GenerarSalidas(informes(), QStringLiteral("productos.rpt"), kEspana, d, tienda.notificador,
                                        tienda.reloj));
  ASSERT_EQ(tienda.notificador.avisos.size(), 1);
  EXPECT_EQ(tienda.notificador.avisos[0].texto, QStringLiteral("No hay datos para ser mostrados."));
  EXPECT_EQ(tienda.notificador.avisos[0].titulo, QStringLiteral("Cronicas"));
  EXPECT_EQ(tienda.notificador.avisos[0].icono, sistema::Icono::Informacion);
  EXPECT_FALSE(QFile::exists(d.pdf));
  EXPECT_FALSE(QFile::exists(d.xlsx));
}

TEST_P(MotorConBase, UnaFilaBastaParaElInformeConSuCabecera) {
  escribir({QStringLiteral("Café solo")});
  EXPECT_TRUE(HayDatos(informes()));
  const registro::Destinos d{dir.filePath(QStringLiteral("a.pdf")), dir.filePath(QStringLiteral("a.xlsx"))};
  ASSERT_TRUE(registro::GenerarSalidas(informes(), QStringLiteral("productos.rpt"), kEspana, d, tienda.notificador,
                                       tienda.reloj));
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty());
  const QString texto = prueba::TextoPdf(d.pdf);
  EXPECT_TRUE(texto.contains(QStringLiteral("Bar «La Ñora»")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Fecha: 06/03/2026")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Página 1 de 1")));
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Café solo")).contains(QStringLiteral("1,00")));
  EXPECT_FALSE(prueba::BuscarCelda(prueba::LeerXlsx(d.xlsx), QStringLiteral("Café solo")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motores, MotorConBase, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
