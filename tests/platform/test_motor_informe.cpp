// Del informe a las páginas: orden, grupos, totales, formatos, saltos de
// página, etiquetas y rollos, sin base de datos.

#include "builders/Informes.h"
#include "platform/motor/Documento.h"
#include "platform/motor/Informe.h"

#include "support/Documentos.h"

#include <gtest/gtest.h>

namespace {

using namespace motor;

using prueba::EntornoFijo;

QStringList Columnas() {
  return prueba::ColumnasInformes();
}

Plantilla Leer(const QString& xml) {
  return LeerPlantilla(xml.toUtf8(), QStringLiteral("prueba.xml"), Columnas());
}

// Los textos de una página, en el orden en que se pintan.
QStringList Textos(const Documento& d, int pagina) {
  QStringList t;
  for (const Trazo& x : d.paginas.at(static_cast<std::size_t>(pagina)).trazos)
    if (x.tipo == Trazo::Tipo::Texto) t << x.texto;
  return t;
}

const Trazo* BuscarTrazo(const Documento& d, int pagina, const QString& texto) {
  for (const Trazo& x : d.paginas.at(static_cast<std::size_t>(pagina)).trazos)
    if (x.texto == texto) return &x;
  return nullptr;
}

// Plantilla con grupo por texto1, detalle texto2 + numerico1 y totales.
const char* kAgrupada =
    "<informe titulo=\"G\">"
    "<grupo columna=\"texto1\">"
    "  <cabecera alto=\"5\"><campo columna=\"texto1\" x=\"0\" ancho=\"40\" alto=\"5\" siVacio=\"(sin)\"/></cabecera>"
    "  <pie alto=\"5\">"
    "    <suma columna=\"numerico1\" ambito=\"grupo\" x=\"40\" ancho=\"20\" alto=\"5\"/>"
    "    <cuenta ambito=\"grupo\" x=\"60\" ancho=\"20\" alto=\"5\"/>"
    "    <promedio columna=\"numerico1\" ambito=\"grupo\" x=\"80\" ancho=\"20\" alto=\"5\"/>"
    "  </pie>"
    "</grupo>"
    "<detalle alto=\"5\">"
    "  <campo columna=\"texto2\" x=\"0\" ancho=\"40\" alto=\"5\"/>"
    "  <campo columna=\"numerico1\" x=\"40\" ancho=\"20\" alto=\"5\"/>"
    "  <acumulado columna=\"numerico1\" ambito=\"grupo\" x=\"60\" ancho=\"20\" alto=\"5\"/>"
    "  <acumulado columna=\"numerico1\" x=\"80\" ancho=\"20\" alto=\"5\"/>"
    "</detalle>"
    "<pieInforme alto=\"5\"><suma columna=\"numerico1\" x=\"40\" ancho=\"20\" alto=\"5\"/>"
    "<cuenta columna=\"texto2\" x=\"60\" ancho=\"20\" alto=\"5\"/></pieInforme>"
    "</informe>";

// Columnas de la plantilla agrupada, por orden de aparición: texto1,
// numerico1, texto2.
Fila F(const QVariant& grupo, const QString& nombre, const QVariant& numero) {
  return Fila{grupo, numero, nombre.isNull() ? QVariant() : QVariant(nombre)};
}

struct Linea {
  TipoBanda banda;
  QStringList textos;
};

std::vector<Linea> Lineas(const Informe& inf) {
  std::vector<Linea> r;
  for (const auto& i : inf.instancias()) {
    Linea l{i.banda->tipo, {}};
    for (const Elemento& e : i.banda->elementos) l.textos << inf.texto(e, inf.valor(e, i));
    r.push_back(l);
  }
  return r;
}

TEST(Informe, AgrupaOrdenandoConLosNullDelanteYTotalizaCadaGrupo) {
  const Plantilla p = Leer(QString::fromUtf8(kAgrupada));
  ASSERT_EQ(p.columnas, (QStringList{QStringLiteral("texto1"), QStringLiteral("numerico1"), QStringLiteral("texto2")}));
  std::vector<Fila> filas{F(QStringLiteral("Cocina"), QStringLiteral("c1"), 10.0),
                          F(QStringLiteral("barra"), QStringLiteral("b1"), 1.5),
                          F(QStringLiteral("Cocina"), QStringLiteral("c2"), 2000.0),
                          F(QVariant(), QStringLiteral("n1"), QVariant()), F(QStringLiteral("Barra"), QString(), 2.0)};
  const Informe inf(p, filas, EntornoFijo());
  const auto l = Lineas(inf);
  ASSERT_EQ(l.size(), 12u);
  // Null primero; "barra" y "Barra" son el mismo grupo, en el orden en que llegaron.
  EXPECT_EQ(l[0].textos, QStringList{QStringLiteral("(sin)")});
  EXPECT_EQ(l[1].textos,
            (QStringList{QStringLiteral("n1"), QString(), QStringLiteral("0,00"), QStringLiteral("0,00")}));
  EXPECT_EQ(l[2].textos,
            (QStringList{QStringLiteral("0,00"), QStringLiteral("1"), QString()}));  // promedio sin valores: vacío
  EXPECT_EQ(l[3].textos, QStringList{QStringLiteral("barra")});
  EXPECT_EQ(l[4].textos, (QStringList{QStringLiteral("b1"), QStringLiteral("1,50"), QStringLiteral("1,50"),
                                      QStringLiteral("1,50")}));
  EXPECT_EQ(l[5].textos,
            (QStringList{QString(), QStringLiteral("2,00"), QStringLiteral("3,50"), QStringLiteral("3,50")}));
  EXPECT_EQ(l[6].textos, (QStringList{QStringLiteral("3,50"), QStringLiteral("2"), QStringLiteral("1,75")}));
  EXPECT_EQ(l[7].textos, QStringList{QStringLiteral("Cocina")});
  // El acumulado del grupo vuelve a empezar; el del informe sigue.
  EXPECT_EQ(l[8].textos, (QStringList{QStringLiteral("c1"), QStringLiteral("10,00"), QStringLiteral("10,00"),
                                      QStringLiteral("13,50")}));
  EXPECT_EQ(l[9].textos, (QStringList{QStringLiteral("c2"), QStringLiteral("2.000,00"), QStringLiteral("2.010,00"),
                                      QStringLiteral("2.013,50")}));
  EXPECT_EQ(l[10].textos, (QStringList{QStringLiteral("2.010,00"), QStringLiteral("2"), QStringLiteral("1.005,00")}));
  // Total del informe y cuenta de los nombres que no están vacíos.
  EXPECT_EQ(l[11].banda, TipoBanda::PieInforme);
  EXPECT_EQ(l[11].textos, (QStringList{QStringLiteral("2.013,50"), QStringLiteral("4")}));
}

TEST(Informe, GruposAnidadosOrdenDescendenteYOrdenOriginal) {
  const Plantilla p = Leer(
      "<informe><orden columna=\"numerico1\" sentido=\"descendente\"/>"
      "<grupo columna=\"texto1\" orden=\"descendente\"><cabecera alto=\"5\"><campo columna=\"texto1\" x=\"0\" "
      "ancho=\"9\" alto=\"5\"/></cabecera>"
      "<grupo columna=\"texto2\" orden=\"original\"><cabecera alto=\"5\"><campo columna=\"texto2\" x=\"0\" ancho=\"9\" "
      "alto=\"5\"/></cabecera><pie alto=\"5\"><suma columna=\"numerico1\" ambito=\"grupo\" x=\"0\" ancho=\"9\" "
      "alto=\"5\"/></pie></grupo></grupo>"
      "<detalle alto=\"5\"><campo columna=\"numerico1\" decimales=\"0\" x=\"0\" ancho=\"9\" alto=\"5\"/></detalle>"
      "</informe>");
  // numerico1, texto1, texto2
  std::vector<Fila> filas{{1.0, QStringLiteral("A"), QStringLiteral("y")},
                          {2.0, QStringLiteral("B"), QStringLiteral("x")},
                          {3.0, QStringLiteral("A"), QStringLiteral("x")},
                          {4.0, QStringLiteral("A"), QStringLiteral("y")}};
  const Informe inf(p, filas, EntornoFijo());
  QStringList todo;
  for (const auto& l : Lineas(inf)) todo << l.textos.join(QLatin1Char('|'));
  // B antes que A; dentro de A, los subgrupos según llegan tras ordenar por
  // número descendente (4 y, 3 x, 1 y): "y" aparece dos veces porque no es
  // consecutivo.
  EXPECT_EQ(todo.join(QLatin1Char(' ')), QStringLiteral("B x 2 2,00 A y 4 4,00 x 3 3,00 y 1 1,00"));
}

TEST(Informe, LoRepetidoEnVariasFilasCuentaYSeEscribeUnaVezYLosGruposSumanElTotal) {
  // Una factura pagada con dos formas de pago: dos filas con el mismo recargo.
  const Plantilla p = Leer(
      "<informe><grupo columna=\"texto1\"><pie alto=\"5\">"
      "<suma columna=\"numerico1\" ambito=\"grupo\" unaVezPor=\"numerico2\" x=\"0\" ancho=\"20\" alto=\"5\"/>"
      "<cuenta ambito=\"grupo\" unaVezPor=\"numerico2\" x=\"20\" ancho=\"20\" alto=\"5\"/></pie></grupo>"
      "<detalle alto=\"5\"><campo columna=\"numerico1\" unaVezPor=\"numerico2\" x=\"0\" ancho=\"20\" alto=\"5\"/>"
      "</detalle>"
      "<pieInforme alto=\"5\"><suma columna=\"numerico1\" unaVezPor=\"numerico2\" x=\"0\" ancho=\"20\" "
      "alto=\"5\"/><cuenta unaVezPor=\"numerico2 texto1\" x=\"20\" ancho=\"20\" alto=\"5\"/>"
      "<suma columna=\"numerico1\" x=\"40\" ancho=\"20\" alto=\"5\"/></pieInforme></informe>");
  // texto1, numerico1, numerico2 (la factura)
  const std::vector<Fila> filas{{QStringLiteral("Efectivo"), 3.0, 1002.0},
                                {QStringLiteral("Tarjeta"), 3.0, 1002.0},
                                {QStringLiteral("Efectivo"), 1.0, 1003.0},
                                {QStringLiteral("Tarjeta"), 2.0, 1004.0}};
  const Informe inf(p, filas, EntornoFijo());
  QStringList todo;
  for (const auto& l : Lineas(inf)) todo << l.textos.join(QLatin1Char('|'));
  // El recargo de la 1002 va en su primera fila (la de efectivo) y en el
  // grupo de esa fila; la fila de tarjeta lo deja en blanco. Los grupos
  // suman el total del informe; sin "una vez por" se contaría dos veces.
  // Con dos columnas de clave (factura y forma de pago) son cuatro cobros.
  EXPECT_EQ(todo.join(QLatin1Char(' ')).toStdString(), "3,00 1,00 4,00|2  2,00 2,00|1 6,00|4|9,00");
}

TEST(Informe, LoRepetidoSeReconoceEscritoIgualAunqueLlegueConOtroTipo) {
  const Plantilla p = Leer(
      "<informe><detalle alto=\"5\"><campo columna=\"numerico1\" unaVezPor=\"texto1\" x=\"0\" ancho=\"20\" "
      "alto=\"5\"/></detalle><pieInforme alto=\"5\"><cuenta unaVezPor=\"texto1\" x=\"0\" ancho=\"20\" "
      "alto=\"5\"/></pieInforme></informe>");
  // numerico1, texto1: la misma factura llega como entero, como doble y como
  // texto; otra, sólo como doble; y una fila sin factura.
  const std::vector<Fila> filas{{1.0, qlonglong(1002)},        {2.0, 1002.0},
                                {3.0, QStringLiteral("1002")}, {4.0, 1003.5},
                                {5.0, QStringLiteral("x")},    {6.0, QVariant()}};
  const Informe inf(p, filas, EntornoFijo());
  QStringList todo;
  for (const auto& l : Lineas(inf)) todo << l.textos.join(QLatin1Char('|'));
  EXPECT_EQ(todo.join(QLatin1Char(' ')), QStringLiteral("1,00   4,00 5,00 6,00 4"));
}

TEST(Informe, UnGrupoPorFechaEscritaSigueElCalendario) {
  const Plantilla p = Leer(
      "<informe><grupo columna=\"texto5\" porFecha=\"si\"><cabecera alto=\"5\"><campo columna=\"texto5\" x=\"0\" "
      "ancho=\"30\" alto=\"5\"/></cabecera></grupo>"
      "<detalle alto=\"5\"><campo columna=\"numerico1\" decimales=\"0\" x=\"0\" ancho=\"9\" alto=\"5\"/></detalle>"
      "</informe>");
  // texto5, numerico1: como texto, "01/12/2026" iría delante de "30/11/2026";
  // lo que no es una fecha va detrás.
  const std::vector<Fila> filas{{QStringLiteral("01/12/2026"), 1.0},
                                {QStringLiteral("30/11/2026"), 2.0},
                                {QStringLiteral("sin fecha"), 3.0},
                                {QStringLiteral("01/12/2026"), 4.0},
                                {QStringLiteral("29/11/2026"), 5.0}};
  const Informe inf(p, filas, EntornoFijo());
  QStringList todo;
  for (const auto& l : Lineas(inf)) todo << l.textos.join(QLatin1Char('|'));
  EXPECT_EQ(todo.join(QLatin1Char(' ')), QStringLiteral("29/11/2026 5 30/11/2026 2 01/12/2026 1 4 sin fecha 3"));
}

TEST(Informe, FormatosDeCampo) {
  const Plantilla p = Leer(
      "<informe><formula nombre=\"valor\" expresion=\"numerico1 * numerico2\"/><detalle alto=\"5\">"
      "<campo columna=\"numerico1\" decimales=\"3\" x=\"0\" ancho=\"9\" alto=\"5\"/>"
      "<campo columna=\"numerico1\" decimales=\"2\" miles=\"no\" x=\"10\" ancho=\"9\" alto=\"5\"/>"
      "<campo columna=\"numerico2\" ocultarCero=\"si\" x=\"20\" ancho=\"9\" alto=\"5\"/>"
      "<campo columna=\"fecha1\" x=\"30\" ancho=\"9\" alto=\"5\"/>"
      "<campo columna=\"fecha2\" formato=\"hora\" x=\"40\" ancho=\"9\" alto=\"5\"/>"
      "<campo columna=\"texto1\" prefijo=\"[\" sufijo=\"]\" siVacio=\"-\" x=\"50\" ancho=\"9\" alto=\"5\"/>"
      "<campo columna=\"valor\" x=\"60\" ancho=\"9\" alto=\"5\" sufijo=\" €\"/>"
      "<campo columna=\"texto2\" formato=\"numero\" x=\"70\" ancho=\"9\" alto=\"5\"/>"
      "<impresion formato=\"fechaHora\" x=\"80\" ancho=\"9\" alto=\"5\"/>"
      "<campo columna=\"numerico1\" formato=\"entero\" x=\"90\" ancho=\"9\" alto=\"5\"/>"
      "</detalle></informe>");
  // numerico1, numerico2, fecha1, fecha2, texto1, texto2
  std::vector<Fila> filas{{-1234567.8915, 0.0, QStringLiteral("2026-03-06"), QStringLiteral("2026-03-06 21:05:00"),
                           QVariant(), QStringLiteral("12,5")},
                          {-0.001, 2.0, QDate(2026, 12, 31), QDateTime(QDate(2026, 1, 1), QTime(7, 8)),
                           QStringLiteral("x"), QStringLiteral("abc")}};
  const Informe inf(p, filas, EntornoFijo());
  const auto l = Lineas(inf);
  EXPECT_EQ(l[0].textos, (QStringList{QStringLiteral("-1.234.567,892"), QStringLiteral("-1234567,89"), QString(),
                                      QStringLiteral("06/03/2026"), QStringLiteral("21:05"), QStringLiteral("-"),
                                      QStringLiteral("0,00 €"), QStringLiteral("12,50"),
                                      QStringLiteral("06/03/2026 09:07"), QStringLiteral("-1.234.568")}));
  // Un negativo que redondea a cero no lleva signo; un texto que no es número
  // se deja como está.
  EXPECT_EQ(l[1].textos, (QStringList{QStringLiteral("-0,001"), QStringLiteral("0,00"), QStringLiteral("2,00"),
                                      QStringLiteral("31/12/2026"), QStringLiteral("07:08"), QStringLiteral("[x]"),
                                      QStringLiteral("0,00 €"), QStringLiteral("abc"),
                                      QStringLiteral("06/03/2026 09:07"), QStringLiteral("0")}));
}

TEST(Informe, TextoNumeroAgrupaLosMilesAunqueSeanCuatroCifras) {
  const QLocale es(QLocale::Spanish, QLocale::Spain);
  EXPECT_EQ(TextoNumero(1679, 2, true, es), QStringLiteral("1.679,00"));
  EXPECT_EQ(TextoNumero(999.5, 0, true, es), QStringLiteral("1.000"));
  EXPECT_EQ(TextoNumero(123, 1, true, es), QStringLiteral("123,0"));
  EXPECT_EQ(TextoNumero(-1000000, 0, true, QLocale::c()), QStringLiteral("-1,000,000"));
}

TEST(Informe, LaConfiguracionRegionalSaleDeLosAjustesDelSistemaODeEspana) {
  const QLocale dominicana = ConfiguracionRegional(QStringLiteral("es_DO"), QLocale(QLocale::German));
  EXPECT_EQ(TextoNumero(1234.5, 2, true, dominicana), QStringLiteral("1,234.50"));
  // Sin ajuste manda el sistema; un sistema sin configuración ("C") da la española.
  EXPECT_EQ(
      TextoNumero(1234.5, 2, true, ConfiguracionRegional(QString(), QLocale(QLocale::English, QLocale::UnitedStates))),
      QStringLiteral("1,234.50"));
  EXPECT_EQ(ConfiguracionRegional(QString(), QLocale::c()).language(), QLocale::Spanish);
  EXPECT_EQ(ConfiguracionRegional(QStringLiteral("esto no es nada"), QLocale::c()).language(), QLocale::Spanish);
}

TEST(Informe, UnaBandaSeSuprimeSiSuColumnaEstaVacia) {
  const Plantilla p = Leer(
      "<informe><detalle alto=\"5\" suprimirSiVacio=\"texto2\"><campo columna=\"texto1\" x=\"0\" ancho=\"9\" "
      "alto=\"5\"/></detalle></informe>");
  // texto2 (la de suprimir), texto1
  std::vector<Fila> filas{{QStringLiteral("si"), QStringLiteral("a")},
                          {QStringLiteral("  "), QStringLiteral("b")},
                          {QVariant(), QStringLiteral("c")},
                          {QStringLiteral("x"), QStringLiteral("d")}};
  const Informe inf(p, filas, EntornoFijo());
  const Documento d = Maquetar(inf);
  EXPECT_EQ(Textos(d, 0), (QStringList{QStringLiteral("a"), QStringLiteral("d")}));
}

// Una página A4 con márgenes de 12 mm, cabecera de 20 y pie de 10: caben
// (297 - 24 - 20 - 10) / 9 = 27 detalles de 9 mm.
const char* kPaginada =
    "<informe><cabeceraPagina alto=\"20\"><texto x=\"0\" ancho=\"50\" alto=\"5\">CABECERA</texto></cabeceraPagina>"
    "<grupo columna=\"texto1\" repetirCabecera=\"si\"><cabecera alto=\"9\"><campo columna=\"texto1\" x=\"0\" "
    "ancho=\"50\" alto=\"5\" prefijo=\"Grupo \"/></cabecera></grupo>"
    "<detalle alto=\"9\"><campo columna=\"texto2\" x=\"0\" ancho=\"50\" alto=\"5\"/></detalle>"
    "<piePagina alto=\"10\"><pagina x=\"0\" ancho=\"50\" alto=\"5\"/></piePagina></informe>";

TEST(Maquetar, PaginaConCabeceraPieYNumeroDePaginas) {
  const Plantilla p = Leer(QString::fromUtf8(kPaginada));
  std::vector<Fila> filas;
  for (int i = 0; i < 60; ++i)
    filas.push_back({QStringLiteral("A"), QStringLiteral("fila %1").arg(i, 2, 10, QLatin1Char('0'))});
  const Documento d = Maquetar(Informe(p, filas, EntornoFijo()));
  // 1 cabecera de grupo + 60 detalles = 61 bandas; 27 por página.
  ASSERT_EQ(d.paginas.size(), 3u);
  const QStringList p1 = Textos(d, 0), p2 = Textos(d, 1), p3 = Textos(d, 2);
  EXPECT_EQ(p1.first(), QStringLiteral("CABECERA"));
  EXPECT_EQ(p1.last(), QStringLiteral("Página 1 de 3"));
  EXPECT_EQ(p1.at(1), QStringLiteral("Grupo A"));
  EXPECT_EQ(p1.at(p1.size() - 2), QStringLiteral("fila 25"));
  // En la página siguiente se repite la cabecera del grupo abierto.
  EXPECT_EQ(p2.mid(0, 3),
            (QStringList{QStringLiteral("CABECERA"), QStringLiteral("Grupo A"), QStringLiteral("fila 26")}));
  EXPECT_EQ(p3.last(), QStringLiteral("Página 3 de 3"));
  // El pie va abajo del todo: 297 - 12 - 10.
  const Trazo* pie = BuscarTrazo(d, 0, QStringLiteral("Página 1 de 3"));
  ASSERT_TRUE(pie);
  EXPECT_NEAR(pie->caja.top(), 275, 1e-6);
}

TEST(Maquetar, LaCabeceraDeGrupoNoSeQuedaSolaAlPieDeLaPagina) {
  const Plantilla p = Leer(QString::fromUtf8(kPaginada));
  // 25 detalles del grupo A llenan la página hasta quedar sitio para una
  // banda: la cabecera de B cabría, pero su primer detalle no.
  std::vector<Fila> filas;
  for (int i = 0; i < 25; ++i) filas.push_back({QStringLiteral("A"), QStringLiteral("a%1").arg(i)});
  filas.push_back({QStringLiteral("B"), QStringLiteral("b0")});
  const Documento d = Maquetar(Informe(p, filas, EntornoFijo()));
  ASSERT_EQ(d.paginas.size(), 2u);
  EXPECT_FALSE(Textos(d, 0).contains(QStringLiteral("Grupo B")));
  EXPECT_EQ(Textos(d, 1).mid(0, 3),
            (QStringList{QStringLiteral("CABECERA"), QStringLiteral("Grupo B"), QStringLiteral("b0")}));
}

TEST(Maquetar, GrupoConNuevaPagina) {
  const Plantilla p = Leer(
      "<informe><grupo columna=\"texto1\" nuevaPagina=\"si\"><cabecera alto=\"5\"><campo columna=\"texto1\" x=\"0\" "
      "ancho=\"9\" alto=\"5\"/></cabecera></grupo><detalle alto=\"5\"><campo columna=\"texto2\" x=\"0\" ancho=\"9\" "
      "alto=\"5\"/></detalle></informe>");
  std::vector<Fila> filas{{QStringLiteral("A"), QStringLiteral("1")},
                          {QStringLiteral("B"), QStringLiteral("2")},
                          {QStringLiteral("B"), QStringLiteral("3")}};
  const Documento d = Maquetar(Informe(p, filas, EntornoFijo()));
  ASSERT_EQ(d.paginas.size(), 2u);
  EXPECT_EQ(Textos(d, 1), (QStringList{QStringLiteral("B"), QStringLiteral("2"), QStringLiteral("3")}));
}

TEST(Maquetar, TextoLargoSeCortaOSeParteSegunLaPlantilla) {
  const Plantilla p = Leer(
      "<informe><detalle alto=\"5\"><campo columna=\"texto1\" x=\"0\" ancho=\"20\" alto=\"5\"/>"
      "<campo columna=\"texto1\" x=\"30\" ancho=\"20\" alto=\"5\" ajustar=\"si\"/></detalle>"
      "<pieInforme alto=\"5\"><texto x=\"0\" ancho=\"20\" alto=\"5\">FIN</texto></pieInforme></informe>");
  const QString largo = QStringLiteral("Chuletón de buey madurado cuarenta días con patatas y pimientos");
  const Documento d = Maquetar(Informe(p, {{largo}}, EntornoFijo()));
  const auto& t = d.paginas[0].trazos;
  ASSERT_EQ(t.size(), 3u);
  EXPECT_TRUE(t[0].texto.endsWith(QChar(0x2026))) << t[0].texto.toStdString();
  EXPECT_LE(AnchoTextoMm(d.letras[static_cast<std::size_t>(t[0].letra)], t[0].texto), 20.01);
  EXPECT_EQ(t[1].texto, largo);
  EXPECT_GT(t[1].caja.height(), 10);  // varias líneas
  // Lo que viene detrás baja lo que creció la banda, sin montarse ni dejar
  // más aire que el de una línea sola.
  EXPECT_GE(t[2].caja.top(), t[1].caja.bottom() - 1e-6);
  EXPECT_LT(t[2].caja.top() - t[1].caja.bottom(), 1.5);
}

TEST(Maquetar, HojaDeEtiquetasDeIzquierdaADerecha) {
  const Plantilla p = Leer(
      "<informe><papel tipo=\"etiquetas\" margenes=\"13.3 0 0 0\"/><detalle alto=\"33.8\" suprimirSiVacio=\"texto1\">"
      "<campo columna=\"texto2\" x=\"2\" y=\"2\" ancho=\"66\" alto=\"5\"/>"
      "<barras columna=\"texto1\" x=\"5\" y=\"8\" ancho=\"60\" alto=\"15\"/></detalle></informe>");
  std::vector<Fila> filas;
  filas.push_back({QStringLiteral(""), QStringLiteral("")});  // posición saltada
  for (int i = 1; i < 30; ++i)
    filas.push_back({QStringLiteral("*%1*").arg(i, 12, 10, QLatin1Char('0')), QStringLiteral("E%1").arg(i)});
  const Documento d = Maquetar(Informe(p, filas, EntornoFijo()));
  ASSERT_EQ(d.paginas.size(), 2u);
  EXPECT_EQ(Textos(d, 0).size(), 23);  // 24 posiciones, la primera vacía
  EXPECT_EQ(Textos(d, 1).size(), 6);
  const Trazo* e1 = BuscarTrazo(d, 0, QStringLiteral("E1"));
  const Trazo* e3 = BuscarTrazo(d, 0, QStringLiteral("E3"));
  ASSERT_TRUE(e1 && e3);
  EXPECT_NEAR(e1->caja.left(), 70 + 2, 1e-6);  // segunda columna
  EXPECT_NEAR(e1->caja.top(), 13.3 + 2, 1e-6);
  EXPECT_NEAR(e3->caja.left(), 2, 1e-6);  // primera columna de la segunda fila
  EXPECT_NEAR(e3->caja.top(), 13.3 + 33.8 + 2, 1e-6);
}

TEST(Maquetar, UnRolloEsUnaSolaPaginaTanLargaComoSuContenido) {
  const char* xml =
      "<informe><papel tipo=\"rollo\" caracteres=\"40\" ancho=\"72\"/>"
      "<cabeceraPagina alto=\"2\"><texto x=\"0\" ancho=\"40\" alto=\"1\">TITULO</texto></cabeceraPagina>"
      "<detalle alto=\"1\"><campo columna=\"texto1\" x=\"0\" ancho=\"30\" alto=\"1\"/>"
      "<campo columna=\"numerico1\" x=\"30\" ancho=\"10\" alto=\"1\"/></detalle></informe>";
  const Plantilla p = Leer(QString::fromUtf8(xml));
  std::vector<Fila> pocas(3, Fila{QStringLiteral("x"), 1.0}), muchas(300, Fila{QStringLiteral("x"), 1.0});
  const Documento a = Maquetar(Informe(p, pocas, EntornoFijo()));
  const Documento b = Maquetar(Informe(p, muchas, EntornoFijo()));
  EXPECT_EQ(a.paginas.size(), 1u);
  EXPECT_EQ(b.paginas.size(), 1u);
  EXPECT_DOUBLE_EQ(a.tamano.width(), 72 + 4);
  const double linea = p.detalle.alto;
  EXPECT_NEAR(b.tamano.height() - a.tamano.height(), 297 * linea, 1e-6);
  // Los 40 caracteres caben en el ancho imprimible con la letra del rollo.
  EXPECT_LE(AnchoTextoMm(a.letras[0], QString(40, QLatin1Char('8'))), 72.01);
}

}  // namespace
