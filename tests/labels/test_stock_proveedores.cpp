// La valoración del stock por proveedor sobre la tienda de
// tests/fixtures/proveedores.sql, en cada motor: qué productos salen y en qué
// orden, el acumulado, los tipos, un proveedor, su plantilla pintada y su
// orden sin ventana; y la paginación de las fichas de proveedores.

#include "app/LineaComandos.h"
#include "labels/StockProveedores.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "registro/SalidaInforme.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"
#include "support/ImprimirQt.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <set>

namespace {

using prueba::Motor;

class StockProveedores : public testing::TestWithParam<Motor> {
 protected:
  StockProveedores() : tienda(GetParam()) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("proveedores")));
  }

  std::vector<QVariantMap> Construir(const QString& proveedor, qint16 tipo) {
    tienda.seleccion.ProveedorElegido = proveedor;
    tienda.seleccion.TipoProducto = tipo;
    tienda.notificador.avisos.clear();
    informes::CrearStockProveedores(tienda.contexto);
    return tienda.filas();
  }

  // "Proveedor|producto" de cada fila, en su orden.
  static QStringList Lista(const std::vector<QVariantMap>& filas) {
    QStringList r;
    for (const QVariantMap& f : filas)
      r << f.value("texto4").toString() + QLatin1Char('|') + f.value("texto2").toString();
    return r;
  }

  prueba::Tienda tienda;
};

const QString kLevante = QStringLiteral("Distribuciones Levante SL");
const QString kCarnicas = QString::fromUtf8("Cárnicas Ñorcas");

TEST_P(StockProveedores, TodosLosProveedoresYProductosPorProveedorNombreYCodigo) {
  const auto filas = Construir(QStringLiteral("-1"), 3);
  // Fuera: el borrado (Tarta), el de tipo 3 (Tabaco), los que no tienen
  // familia existente (Pan de pueblo, Pan rallado) o proveedor existente
  // (Hielo, Menú, Servicio de mesa, Limones). Dentro: el del proveedor
  // borrado (Entrecot) y el de la familia borrada (café). Sin nombre, delante.
  const QStringList esperada = {
      kLevante + "|",
      kLevante + "|Aceite de oliva",
      kLevante + QString::fromUtf8("|Ágave sirope"),
      kLevante + "|Agua mineral 50cl",
      kLevante + QString::fromUtf8("|café solo"),
      kLevante + QString::fromUtf8("|CERVEZA CAÑA"),
      kLevante + "|Cerveza tostada",
      kLevante + "|Vino tinto crianza",
      kLevante + "|Zumo de naranja",
      kCarnicas + "|Croquetas caseras",
      kCarnicas + QString::fromUtf8("|Ñoras secas"),
      kCarnicas + "|Ostras",
      kCarnicas + "|Patatas bravas",
      QString::fromUtf8("Lácteos del Sur|nata montada"),
      "Proveedor Antiguo|Entrecot",
      "Frutas    Segura Hnos|Macedonia de frutas",
  };
  EXPECT_EQ(Lista(filas), esperada);
  ASSERT_EQ(filas.size(), static_cast<std::size_t>(esperada.size()));
  EXPECT_FALSE(tienda.seleccion.SinDatos);

  // Las columnas de cada fila las fija su CSV de referencia (tests/golden).
  EXPECT_FALSE(filas[12].contains("numerico2")) << "un precio sin valor se queda sin valor";

  // El acumulado: cada fila suma su stock por su coste al de la anterior,
  // sin volver a cero al cambiar de proveedor; el stock −2 del vino resta
  // 12,80 y lleva su asterisco, y sólo él. La última fila lleva el total.
  double anterior = 0;
  for (const QVariantMap& f : filas) {
    const double valor = f.value("numerico5").toDouble() * f.value("numerico1").toDouble();
    EXPECT_NEAR(f.value("numerico15").toDouble(), anterior + valor, 1e-9) << f.value("texto2").toString().toStdString();
    const bool negativo = f.value("texto2").toString() == QStringLiteral("Vino tinto crianza");
    EXPECT_EQ(f.value("texto32").toString(), negativo ? QStringLiteral("*") : QString());
    anterior = f.value("numerico15").toDouble();
  }
  EXPECT_NEAR(filas[7].value("numerico15").toDouble() - filas[6].value("numerico15").toDouble(), -12.8, 1e-9);
  EXPECT_NEAR(filas[9].value("numerico15").toDouble(), 104.0, 1e-9) << "Croquetas, stock 0, tras Levante";
  EXPECT_NEAR(filas.back().value("numerico15").toDouble(), 204.8, 1e-9);
}

TEST_P(StockProveedores, CadaTipoYUnProveedor) {
  auto nombres = [](const std::vector<QVariantMap>& filas) {
    QStringList r;
    for (const QVariantMap& f : filas) r << f.value("texto2").toString();
    return r;
  };
  // 0, de venta (tipoprod 1); 1, de cocina (0); 2, ambos.
  EXPECT_EQ(nombres(Construir(QStringLiteral("-1"), 0)),
            (QStringList{"", "Agua mineral 50cl", QString::fromUtf8("café solo"), QString::fromUtf8("CERVEZA CAÑA"),
                         "Cerveza tostada", "Vino tinto crianza", "Zumo de naranja", "Croquetas caseras", "Ostras",
                         "Patatas bravas"}));
  EXPECT_EQ(nombres(Construir(QStringLiteral("-1"), 1)),
            (QStringList{"Aceite de oliva", QString::fromUtf8("Ágave sirope"), QString::fromUtf8("Ñoras secas"),
                         "nata montada", "Entrecot"}));
  EXPECT_EQ(nombres(Construir(QStringLiteral("-1"), 2)), QStringList{"Macedonia de frutas"});

  // Un proveedor: sólo sus productos, y el acumulado empieza en cero.
  const auto carnicas = Construir(QStringLiteral("2"), 3);
  EXPECT_EQ(Lista(carnicas),
            (QStringList{kCarnicas + "|Croquetas caseras", kCarnicas + QString::fromUtf8("|Ñoras secas"),
                         kCarnicas + "|Ostras", kCarnicas + "|Patatas bravas"}));
  EXPECT_NEAR(carnicas.back().value("numerico15").toDouble(), 82.6, 1e-9);
  EXPECT_EQ(nombres(Construir(QStringLiteral("2"), 1)), QStringList{QString::fromUtf8("Ñoras secas")});

  // Nada que enseñar: el aviso, y Informes vacía aunque hubiera otro informe.
  EXPECT_TRUE(Construir(QStringLiteral("77"), 3).empty());
  EXPECT_TRUE(tienda.seleccion.SinDatos);
  ASSERT_EQ(tienda.notificador.avisos.size(), 1u);
  EXPECT_EQ(tienda.notificador.avisos.front().texto, QStringLiteral("No hay datos para ser mostrados."));
  EXPECT_EQ(tienda.notificador.avisos.front().titulo, QStringLiteral("ATENCION"));
  EXPECT_TRUE(Construir(QStringLiteral("5"), 0).empty()) << "Frutas no tiene productos de venta";
}

TEST_P(StockProveedores, LasFichasVanPorNombreYLaFichaSeLeeDeVuelta) {
  const auto tabla = proveedores::CargarTablaProveedores(*tienda.ajustes.ConexionVentas);
  QStringList nombres;
  for (const auto& p : tabla) nombres << p.nombre;
  // Sin el borrado, por nombre, y el elemento vacío al final.
  EXPECT_EQ(nombres,
            (QStringList{kCarnicas, kLevante, "Frutas    Segura Hnos", QString::fromUtf8("Lácteos del Sur"), ""}));
  ASSERT_EQ(tabla.size(), 5u);
  EXPECT_TRUE(tabla.back().codigo.isEmpty());

  // El nombre se corta en los cuatro blancos; el código sale del final.
  const QString frutas = proveedores::RotuloFicha(tabla[2]);
  EXPECT_EQ(proveedores::NombreDeRotulo(frutas), QStringLiteral("Frutas"));
  EXPECT_EQ(proveedores::CodigoDeRotulo(frutas), QStringLiteral("5"));
  EXPECT_EQ(proveedores::NombreDeRotulo(proveedores::RotuloFicha(tabla[1])), kLevante);
  EXPECT_EQ(proveedores::CodigoDeRotulo(proveedores::RotuloFicha({QStringLiteral("123456789"), kLevante})),
            QStringLiteral("123456789"));
}

// La plantilla pintada con lo que deja el constructor: los grupos por
// proveedor con su valor, el asterisco del stock negativo y el total.
TEST_P(StockProveedores, LaPlantillaAgrupaPorProveedorConElAcumulado) {
  const registro::BotonInforme* b = registro::BuscarBoton(QStringLiteral("cmdStockXProveedores"));
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(registro::EjecutarConstructor(*b, tienda.contexto).resultado, registro::Resultado::ConDatos);
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
  ASSERT_TRUE(registro::GenerarSalidas(*tienda.ajustes.ConexionInformes, b->plantilla,
                                       {QString(), QStringLiteral("es_ES")}, {pdf, QString()}, tienda.notificador,
                                       tienda.reloj));
  const QString texto = prueba::TextoPdf(pdf);
  EXPECT_TRUE(texto.contains(QString::fromUtf8("Taberna La Ñora"))) << texto.toStdString();
  EXPECT_TRUE(texto.contains(QStringLiteral("Valoracion Stock por Proveedores")));
  // Los proveedores en el orden del informe, no por nombre.
  const qsizetype levante = texto.indexOf(QStringLiteral("Proveedor: ") + kLevante);
  const qsizetype carnicas = texto.indexOf(QStringLiteral("Proveedor: ") + kCarnicas);
  const qsizetype frutas = texto.indexOf(QStringLiteral("Proveedor: Frutas"));
  EXPECT_TRUE(levante >= 0 && levante < carnicas && carnicas < frutas) << texto.toStdString();
  // Vino: coste, precio, stock con asterisco, mínimo, valor y acumulado.
  const QString vino = prueba::LineaCon(texto, QStringLiteral("Vino tinto crianza"));
  EXPECT_TRUE(vino.contains(QRegularExpression(
      QStringLiteral("Vino tinto crianza\\s+vinos\\s+6,40\\s+18,00\\s+-2,00\\s*\\*\\s+6,00\\s+-12,80\\s+102,20"))))
      << vino.toStdString();
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Valor del proveedor:")).contains(QStringLiteral("104,00")));
  const QString total = prueba::LineaCon(texto, QStringLiteral("Valor total del stock:"));
  EXPECT_TRUE(total.contains(QRegularExpression(QStringLiteral("204,80\\s+204,80")))) << total.toStdString();
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Productos:")).contains(QStringLiteral("16")));
}

// Sin ventana: las opciones llegan al constructor y sólo valen para este
// botón. La orden no lee la base más que por el constructor, que ya se
// prueba en los dos motores: aquí basta SQLite.
TEST(StockProveedoresSinVentana, LaLineaDeOrdenesEligeProveedorYTipo) {
  prueba::Tienda tienda(Motor::SQLite);
  tienda.ajustes.ConexionVentas->ejecutarGuion(prueba::GuionTienda(QStringLiteral("proveedores")));
  const QString ini = QDir(tienda.bases.carpeta()).filePath(QStringLiteral("ajustes.ini"));
  ASSERT_TRUE(
      prueba::escribirBytes(ini, QStringLiteral("[fuentes]\nhosteleria=%1\nInformes=%2\n[equipo]\nidentificador=1234\n")
                                     .arg(tienda.bases.textoVentas(), tienda.bases.textoInformes())
                                     .toUtf8()));
  auto informe = [&](const QStringList& args, QString* errores = nullptr) {
    QBuffer salida, err;
    salida.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    app::Consola consola{salida, err, tienda.reloj};
    const int codigo = app::EjecutarLineaComandos(
        QStringList{QStringLiteral("--ajustes"), ini, QStringLiteral("informe")} + args, consola);
    if (errores) *errores = QString::fromUtf8(err.data());
    return std::pair(codigo, QString::fromUtf8(salida.data()));
  };
  const auto [todos, csvTodos] = informe({QStringLiteral("cmdStockXProveedores")});
  EXPECT_EQ(todos, app::kSalidaBien);
  EXPECT_EQ(csvTodos.count(QLatin1Char('\n')), 1 + 16);
  const auto [uno, csvUno] = informe({"cmdStockXProveedores", "--proveedor", "2", "--tipo", "1"});
  EXPECT_EQ(uno, app::kSalidaBien);
  EXPECT_EQ(csvUno.count(QLatin1Char('\n')), 2);
  EXPECT_TRUE(csvUno.contains(QString::fromUtf8("Ñoras secas")));
  EXPECT_EQ(informe({"cmdStockXProveedores", "--proveedor", "TODOS", "--tipo", "2"}).second.count(QLatin1Char('\n')),
            2);
  EXPECT_EQ(informe({"cmdStockXProveedores", "--proveedor", "77"}).first, app::kSalidaSinDatos);

  const std::pair<QStringList, const char*> mal[] = {
      {{"cmdProductos", "--proveedor", "2"}, "cmdProductos no lleva --proveedor"},
      {{"cmdStockGeneral", "--tipo", "1"}, "cmdStockGeneral no lleva --tipo"},
      {{"cmdStockXProveedores", "--tipo", "4"}, "como mucho 3"},
      {{"cmdStockXProveedores", "--proveedor", " "}, "--proveedor necesita"},
  };
  for (const auto& [args, mensaje] : mal) {
    QString errores;
    EXPECT_EQ(informe(args, &errores).first, app::kSalidaUso) << args.join(' ').toStdString();
    EXPECT_TRUE(errores.contains(QString::fromUtf8(mensaje))) << errores.toStdString();
  }
  QString errores;
  const auto [lista, textoLista] = informe({QStringLiteral("--lista")}, &errores);
  EXPECT_TRUE(textoLista.contains(QStringLiteral("cmdStockXProveedores"))) << textoLista.toStdString();
  EXPECT_FALSE(textoLista.contains(QStringLiteral("cmdLetreros")));
}

INSTANTIATE_TEST_SUITE_P(Motores, StockProveedores, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

// --- Paginación de las fichas -----------------------------------------------------

std::vector<proveedores::Proveedor> Tabla(int n) {
  std::vector<proveedores::Proveedor> t;
  for (int i = 0; i < n; ++i)
    t.push_back({QString::number(i + 1), QStringLiteral("Proveedor %1").arg(i, 2, 10, QLatin1Char('0'))});
  t.push_back({});
  return t;
}

// Una página vista: primera y última ficha (−1 sin fichas) y las flechas.
struct Vista {
  int primera, ultima;
  bool siguiente, anterior;
  bool operator==(const Vista&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Vista& v) {
  return o << "[" << v.primera << ".." << v.ultima << (v.siguiente ? " >" : "") << (v.anterior ? " <" : "") << "]";
}

Vista Ver(const proveedores::PaginasProveedores& p) {
  const auto& f = p.pagina().fichas;
  if (!f.empty()) {
    // Fichas seguidas: cada página es un tramo de la tabla.
    for (std::size_t i = 1; i < f.size(); ++i) EXPECT_EQ(f[i], f[i - 1] + 1);
  }
  return {f.empty() ? -1 : f.front(), f.empty() ? -1 : f.back(), p.pagina().siguiente, p.pagina().anterior};
}

TEST(PaginasProveedores, IdaHastaElFinalYVueltaAlPrincipioEnLosBordes) {
  struct Caso {
    int proveedores;
    std::vector<Vista> ida;     // la primera página y cada «siguiente» hasta que no hay más
    std::vector<Vista> vuelta;  // cada «anterior» desde la última hasta la primera
  };
  // Diez fichas por página; hacia atrás se retrocede lo que ocupaba la página
  // más ocho (una menos en la última), así que la vuelta se solapa con la ida.
  const std::vector<Caso> casos = {
      {0, {{-1, -1, false, false}}, {}},
      {1, {{0, 0, false, false}}, {}},
      {10, {{0, 9, false, false}}, {}},
      {11, {{0, 9, true, false}, {10, 10, false, true}}, {{3, 10, false, true}, {0, 9, true, false}}},
      {19, {{0, 9, true, false}, {10, 18, false, true}}, {{3, 12, true, true}, {0, 9, true, false}}},
      {20, {{0, 9, true, false}, {10, 19, false, true}}, {{3, 12, true, true}, {0, 9, true, false}}},
      {21,
       {{0, 9, true, false}, {10, 19, true, true}, {20, 20, false, true}},
       {{13, 20, false, true}, {6, 15, true, true}, {0, 9, true, false}}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.proveedores);
    proveedores::PaginasProveedores p(Tabla(c.proveedores));
    p.dibujar();
    std::vector<Vista> ida{Ver(p)};
    std::set<int> vistos(p.pagina().fichas.begin(), p.pagina().fichas.end());
    while (p.pagina().siguiente && ida.size() < 10) {
      p.paginaSiguiente();
      ida.push_back(Ver(p));
      vistos.insert(p.pagina().fichas.begin(), p.pagina().fichas.end());
    }
    EXPECT_EQ(ida, c.ida);
    // Todos los proveedores tienen su ficha en alguna página.
    EXPECT_EQ(static_cast<int>(vistos.size()), c.proveedores);
    std::vector<Vista> vuelta;
    while (p.pagina().anterior && vuelta.size() < 10) {
      p.paginaAnterior();
      vuelta.push_back(Ver(p));
    }
    EXPECT_EQ(vuelta, c.vuelta);
  }
}

TEST(PaginasProveedores, SinCodigoEnElPrimeroNoHayFichas) {
  std::vector<proveedores::Proveedor> t = {
      {QString(), QStringLiteral("Sin código")}, {QStringLiteral("2"), QStringLiteral("B")}, {}};
  proveedores::PaginasProveedores p(t);
  p.dibujar();
  EXPECT_EQ(Ver(p), (Vista{-1, -1, false, false}));
  EXPECT_EQ(p.posicion(), 0);
}

}  // namespace
