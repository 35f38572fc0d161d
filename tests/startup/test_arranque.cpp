// Arranque: qué deja en AjustesTerminal cada tabla de configuración, qué
// escribe en la base y en el almacén de ajustes, y cuándo busca
// actualizaciones. Cada caso corre en SQLite y en PostgreSQL.

#include "platform/datos/Esquemas.h"
#include "startup/Arranque.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/Ayudas.h"

namespace {

using prueba::mensajeDe;

using ajustes::AlmacenAjustes;
using datos::ErrorDatos;

class LanzadorFalso : public sistema::Lanzador {
 public:
  void lanzar(const QString& carpetaPrograma, const QString& nombre) override {
    llamadas << carpetaPrograma + QStringLiteral(" | ") + nombre;
  }
  QStringList llamadas;
};

class Arranque : public testing::TestWithParam<prueba::Motor> {
 protected:
  Arranque() : bases(GetParam()), reloj(QDateTime(QDate(2026, 3, 6), QTime(9, 0))) {
    ini = dir.filePath("ajustes.ini");
    {
      AlmacenAjustes a(ini);
      a.fijarFuente("hosteleria", bases.textoVentas());
      a.fijarFuente("Informes", bases.textoInformes());
      a.fijarIdentificadorEquipo("1234");
      a.guardarLista("Programa", "FASTFOOD|RESTAURANTE|");
    }
    almacen = std::make_unique<AlmacenAjustes>(ini);
    ventas = datos::Conexion::abrir(bases.fuenteVentas());
    informes = datos::Conexion::abrir(bases.fuenteInformes());
    carpetaPrograma = dir.filePath("programa");
    QDir().mkpath(carpetaPrograma);
    entorno.reloj = &reloj;
    entorno.lanzador = &lanzador;
    entorno.carpetaPrograma = carpetaPrograma;
    entorno.serieVolumen = [this] {
      ++consultasSerie;
      return serie;
    };
  }

  AjustesTerminal arrancar() {
    AjustesTerminal at;
    arranque::Arrancar(at, *almacen, entorno);
    return at;
  }
  void insertar(const datos::Conexion& c, const QString& tabla, const QVariantMap& valores) {
    QStringList marcas;
    for (int i = 0; i < valores.size(); ++i) marcas << "?";
    c.ejecutar(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(tabla, valores.keys().join(','), marcas.join(',')),
               valores.values());
  }
  void opciones(const QVariantMap& valores) { insertar(*ventas, "opciones", valores); }
  QVariant valorEnVentas(const QString& sql, const QVariantList& enlaces = {}) {
    datos::Consulta q = ventas->preparar(sql);
    for (const QVariant& v : enlaces) q.enlazar(v);
    q.ejecutar();
    return q.siguiente() ? q.valor(0) : QVariant();
  }
  void crearVigia() {
    QFile f(QDir(carpetaPrograma).filePath("Vigia.exe"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }

  prueba::Bases bases;
  QTemporaryDir dir;
  QString ini;
  QString carpetaPrograma;
  std::unique_ptr<AlmacenAjustes> almacen;
  std::unique_ptr<datos::Conexion> ventas;
  std::unique_ptr<datos::Conexion> informes;
  sistema::RelojFijo reloj;
  LanzadorFalso lanzador;
  std::optional<qint32> serie = 77;
  int consultasSerie = 0;
  arranque::Entorno entorno;
};

TEST_P(Arranque, SinFilaDeOpcionesDelPuestoLosCamposQuedanVacios) {
  opciones({{"identificador", "9999"}, {"nombre", "Otro puesto"}, {"terminal", "9"}, {"idioma", QVariant()}});
  const AjustesTerminal at = arrancar();
  EXPECT_EQ(at.IdTerminal, "1234");
  ASSERT_TRUE(at.ConexionVentas);
  ASSERT_TRUE(at.ConexionInformes);
  EXPECT_TRUE(at.ConexionVentas->tieneTabla("opciones"));
  EXPECT_TRUE(at.ConexionInformes->tieneTabla("informes"));
  EXPECT_EQ(at.RutaBaseDatos,
            GetParam() == prueba::Motor::SQLite ? bases.fuenteVentas().ruta : bases.fuenteVentas().base);
  EXPECT_FALSE(at.BaseDatosRemota);
  EXPECT_EQ(at.Nombre, "");
  EXPECT_EQ(at.Terminal, "");
  EXPECT_FALSE(at.CajaFastFood);
  EXPECT_EQ(at.TipoPrograma, "");
  EXPECT_EQ(at.RutaFotos, "");
  EXPECT_EQ(at.Idioma, "");  // sin fila no hay "CASTELLANO"
  EXPECT_EQ(at.ImpresoraTicket, "");
  EXPECT_EQ(at.ImpresoraInformes, "");
  EXPECT_EQ(at.SufijoTerminal, "");
  EXPECT_EQ(at.IdColor, -1);
  EXPECT_EQ(at.EmpleadoTerminal, -1);
  EXPECT_EQ(at.DatosEmailA, "");
  EXPECT_EQ(at.DatosEmailOtros, "");
  EXPECT_EQ(at.EmailInformes, "");
  // Sin fila del puesto no se completa el tipo de negocio de nadie.
  EXPECT_TRUE(valorEnVentas("SELECT tipo_programa FROM opciones WHERE identificador = '9999'").isNull());
}

TEST_P(Arranque, CamposDeLaFilaDeOpcionesDelPuestoYSusNull) {
  opciones({{"identificador", "1234"},
            {"nombre", "Bar O'Neill"},
            {"terminal", "3"},
            {"cajafastfood", 1},
            {"tipo_programa", "COPAS"},
            {"rutafotos", "/srv/fotos"},
            {"idioma", "CATALAN"}});
  opciones({{"identificador", "12345"}, {"nombre", "Otro"}, {"terminal", "4"}, {"tipo_programa", "RESTAURANTE"}});
  const AjustesTerminal at = arrancar();
  EXPECT_EQ(at.Nombre, "Bar O'Neill");
  EXPECT_EQ(at.Terminal, "3");
  EXPECT_TRUE(at.CajaFastFood);
  EXPECT_EQ(at.TipoPrograma, "COPAS");
  EXPECT_EQ(at.RutaFotos, "/srv/fotos");
  EXPECT_EQ(at.Idioma, "CATALAN");
  // Un tipo de negocio ya puesto no se toca.
  EXPECT_EQ(valorEnVentas("SELECT tipo_programa FROM opciones WHERE identificador = '1234'").toString(), "COPAS");
  // Con la fila, un idioma Null es castellano; la ruta de fotos Null, vacía.
  ventas->ejecutar("UPDATE opciones SET idioma = NULL, rutafotos = NULL WHERE identificador = '1234'");
  const AjustesTerminal nulos = arrancar();
  EXPECT_EQ(nulos.Idioma, "CASTELLANO");
  EXPECT_EQ(nulos.RutaFotos, "");
}

TEST_P(Arranque, CajaFastFoodSoloCuandoValeUno) {
  opciones({{"identificador", "1234"}, {"tipo_programa", "FASTFOOD"}});
  const std::vector<std::pair<QVariant, bool>> casos = {
      {1, true}, {-1, false}, {0, false}, {2, false}, {QVariant(), false}};
  for (const auto& [valor, esperado] : casos) {
    ventas->ejecutar("UPDATE opciones SET cajafastfood = ?", {valor});
    EXPECT_EQ(arrancar().CajaFastFood, esperado) << valor.toString().toStdString();
  }
}

TEST_P(Arranque, TipoDeProgramaNuloSeTomaDelAlmacenYSeGuardaEnLaFila) {
  opciones({{"identificador", "1234"}, {"tipo_programa", QVariant()}});
  opciones({{"identificador", "5678"}, {"tipo_programa", QVariant()}});
  const AjustesTerminal at = arrancar();
  EXPECT_EQ(at.TipoPrograma, "FASTFOOD");
  EXPECT_EQ(valorEnVentas("SELECT tipo_programa FROM opciones WHERE identificador = '1234'").toString(), "FASTFOOD");
  EXPECT_TRUE(valorEnVentas("SELECT tipo_programa FROM opciones WHERE identificador = '5678'").isNull());

  // Guardado: el arranque siguiente lo lee de la fila aunque el almacén cambie.
  almacen->guardarLista("Programa", "COPAS|");
  EXPECT_EQ(arrancar().TipoPrograma, "FASTFOOD");
}

TEST_P(Arranque, ImpresorasDelTerminalPorTipoConElTerminalExacto) {
  opciones({{"identificador", "1234"}, {"terminal", "3"}, {"tipo_programa", "COPAS"}});
  insertar(*ventas, "impresoras", {{"codigo", 1}, {"impresora", "Ticket-Barra"}});
  insertar(*ventas, "impresoras", {{"codigo", 2}, {"impresora", "Laser Oficina"}});
  insertar(*ventas, "impresoras", {{"codigo", 3}, {"impresora", "Otra"}});
  insertar(*ventas, "terminalimpresora", {{"terminal", "03"}, {"impresora", 3}, {"tipoimpresora", "T"}});
  insertar(*ventas, "terminalimpresora", {{"terminal", "3 "}, {"impresora", 3}, {"tipoimpresora", "F"}});
  insertar(*ventas, "terminalimpresora", {{"terminal", "4"}, {"impresora", 3}, {"tipoimpresora", "T"}});
  {
    const AjustesTerminal at = arrancar();
    EXPECT_EQ(at.ImpresoraTicket, "");
    EXPECT_EQ(at.ImpresoraInformes, "");
  }
  insertar(*ventas, "terminalimpresora", {{"terminal", "3"}, {"impresora", 1}, {"tipoimpresora", "T"}});
  insertar(*ventas, "terminalimpresora", {{"terminal", "3"}, {"impresora", 2}, {"tipoimpresora", "F"}});
  const AjustesTerminal at = arrancar();
  EXPECT_EQ(at.ImpresoraTicket, "Ticket-Barra");
  EXPECT_EQ(at.ImpresoraInformes, "Laser Oficina");
}

TEST_P(Arranque, SufijoDelPuestoYSuColorYEmpleado) {
  insertar(*ventas, "opciones_terminal", {{"identificador", "1234"}, {"id_color", 7}, {"empleado", 70}});
  insertar(*ventas, "opciones_terminal", {{"identificador", "1234B"}, {"id_color", 5}, {"empleado", 50}});
  insertar(*ventas, "opciones_terminal", {{"identificador", "1234 B"}, {"id_color", 9}, {"empleado", 90}});
  {
    const AjustesTerminal at = arrancar();  // cronicastemporal vacía
    EXPECT_EQ(at.SufijoTerminal, "");
    EXPECT_EQ(at.IdColor, 7);
    EXPECT_EQ(at.EmpleadoTerminal, 70);
  }
  insertar(*informes, "cronicastemporal", {{"list1", "B"}, {"list2", "x"}});
  {
    const AjustesTerminal at = arrancar();
    EXPECT_EQ(at.SufijoTerminal, "B");
    EXPECT_EQ(at.IdColor, 5);
    EXPECT_EQ(at.EmpleadoTerminal, 50);
  }
  ventas->ejecutar("UPDATE opciones_terminal SET empleado = NULL WHERE identificador = '1234B'");
  {
    const AjustesTerminal at = arrancar();
    EXPECT_EQ(at.IdColor, 5);
    EXPECT_EQ(at.EmpleadoTerminal, -1);
  }
  ventas->ejecutar("DELETE FROM opciones_terminal WHERE identificador = '1234B'");
  {
    const AjustesTerminal at = arrancar();
    EXPECT_EQ(at.IdColor, -1);
    EXPECT_EQ(at.EmpleadoTerminal, -1);
  }
}

TEST_P(Arranque, DecimalesDeLaPrimeraFilaDeOpcionesSeaDeQuienSea) {
  EXPECT_EQ(arrancar().NumDecimales, 0);
  opciones({{"identificador", "9999"}, {"numdecimales", 3}});
  EXPECT_EQ(arrancar().NumDecimales, 3);
}

TEST_P(Arranque, CuentaDeCorreoYDestinatarioDeLosInformes) {
  insertar(*ventas, "relaciones_fijas", {{"indice", "OtraCosa"}, {"datoa", "no"}, {"otros", "no"}});
  insertar(*ventas, "relaciones_fijas", {{"indice", "DatosEmail"}, {"datoa", "caja@bar.es"}, {"otros", "gmail|clave"}});
  insertar(*ventas, "valores_fijos", {{"emailinformes", "gerencia@bar.es"}});
  {
    const AjustesTerminal at = arrancar();
    EXPECT_EQ(at.DatosEmailA, "caja@bar.es");
    EXPECT_EQ(at.DatosEmailOtros, "gmail|clave");
    EXPECT_EQ(at.EmailInformes, "gerencia@bar.es");
  }
  ventas->ejecutar("UPDATE relaciones_fijas SET datoa = NULL, otros = NULL WHERE indice = 'DatosEmail'");
  ventas->ejecutar("UPDATE valores_fijos SET emailinformes = NULL");
  {
    const AjustesTerminal at = arrancar();
    EXPECT_EQ(at.DatosEmailA, "");
    EXPECT_EQ(at.DatosEmailOtros, "");
    EXPECT_EQ(at.EmailInformes, "");
  }
  ventas->ejecutar("DELETE FROM relaciones_fijas WHERE indice = 'DatosEmail'");
  ventas->ejecutar("DELETE FROM valores_fijos");
  {
    const AjustesTerminal at = arrancar();
    EXPECT_EQ(at.DatosEmailA, "");
    EXPECT_EQ(at.EmailInformes, "");
  }
}

TEST_P(Arranque, TemaDeColorSeEscribeEnColorcaja) {
  const std::vector<std::pair<QString, QString>> temas = {
      {"GRIS", "&H000000|&HF3DCEF|&H565063|&H404040|&HC0C0C0|&H67427A|&HFFFFFF|GRIS"},
      {"AZUL", "&HA79585|&HE7DED6|&H834530|&HC67B62|&HD3CBC2|&HE2CAAB|&HD3CB8B|AZUL"},
      {"VERDE", "&HCDE7D2|&H9FCD8B|&H66AF43|&H8ED0A0|&HB5DFC1|&HBDE3C8|&H2E7431|VERDE"},
      {"AMARILLO", "&H96FAF8|&H79F9F5|&HBC1C1|&H6ADEE1|&HC2FCFB|&HA2EAEC|&H66A68|AMARILLO"},
      {"ROSA", "&H9FC2FD|&HDDE8F9|&HBBC0E1|&HD7D9EE|&HE9F1FE|&HE9F1FE|&H3E4891|ROSA"},
  };
  for (const auto& [tema, paleta] : temas) {
    almacen->guardarLista("color", "&HFFFFFF|&H1|&H2|&H3|&H4|&H5|&H6|" + tema + "|");
    arrancar();
    EXPECT_EQ(almacen->leerLista("colorcaja"), paleta);
    EXPECT_EQ(AlmacenAjustes(ini).leerLista("colorcaja"), paleta) << "no quedó guardado";
    EXPECT_EQ(almacen->leerCampo("colorcaja", 8), tema);
  }
  // Un nombre que no es exactamente uno de los cinco no escribe nada.
  for (const QString& otro : {QString("gris"), QString("Azul"), QString("NEGRO"), QString("")}) {
    almacen->guardarLista("colorcaja", "lo de antes|");
    almacen->guardarLista("color", "&HFFFFFF|&H1|&H2|&H3|&H4|&H5|&H6|" + otro + "|");
    arrancar();
    EXPECT_EQ(AlmacenAjustes(ini).leerLista("colorcaja"), "lo de antes|") << otro.toStdString();
  }
}

TEST_P(Arranque, IdentificadorDelAlmacenOSacadoDeLaSerieDelVolumen) {
  opciones({{"identificador", "5"}, {"nombre", "Puesto cinco"}});
  opciones({{"identificador", ""}, {"nombre", "Sin disco"}});
  EXPECT_EQ(arrancar().IdTerminal, "1234");
  EXPECT_EQ(consultasSerie, 0);

  almacen->fijarIdentificadorEquipo("");
  serie = -5;
  AjustesTerminal at = arrancar();
  EXPECT_EQ(at.IdTerminal, "5");
  EXPECT_EQ(at.Nombre, "Puesto cinco");

  serie = std::nullopt;
  at = arrancar();
  EXPECT_EQ(at.IdTerminal, "");
  EXPECT_EQ(at.Nombre, "Sin disco");
}

TEST_P(Arranque, ModuloFacturaDeLaFilaDelPuestoSinSufijo) {
  const AjustesTerminal sinFila = arrancar();
  EXPECT_FALSE(arranque::ModuloFactura(sinFila));

  insertar(*informes, "cronicastemporal", {{"list1", "B"}});
  opciones({{"identificador", "1234"}, {"tipo_programa", "COPAS"}, {"modulo_factura", 0}});
  opciones({{"identificador", "1234B"}, {"tipo_programa", "COPAS"}, {"modulo_factura", 1}});
  const AjustesTerminal at = arrancar();
  for (const auto& [valor, esperado] : std::vector<std::pair<int, bool>>{{0, false}, {1, true}, {-1, true}}) {
    ventas->ejecutar("UPDATE opciones SET modulo_factura = ? WHERE identificador = '1234'", {valor});
    EXPECT_EQ(arranque::ModuloFactura(at), esperado) << valor;
  }
}

TEST_P(Arranque, ElDia16SeLanzaElBuscadorSiHayInterruptorYFichero) {
  insertar(*informes, "cronicastemporal", {{"list1", "B"}});
  struct Caso {
    int dia;
    const char* interruptor;  // datoa de la fila ActivadoVigia, o nullptr
    bool fichero;
    bool lanzado;
  };
  const Caso casos[] = {
      {16, "1234B", true, true},   {16, "1234", true, false},  {16, nullptr, true, false},
      {16, "1234B", false, false}, {15, "1234B", true, false}, {17, "1234B", true, false},
  };
  const QString vigia = QDir(carpetaPrograma).filePath("Vigia.exe");
  for (const Caso& c : casos) {
    SCOPED_TRACE(testing::Message() << "día " << c.dia << ", interruptor " << (c.interruptor ? c.interruptor : "-")
                                    << ", fichero " << c.fichero);
    ventas->ejecutar("DELETE FROM relaciones_fijas");
    if (c.interruptor) insertar(*ventas, "relaciones_fijas", {{"indice", "ActivadoVigia"}, {"datoa", c.interruptor}});
    QFile::remove(vigia);
    if (c.fichero) crearVigia();
    reloj.fijar(QDateTime(QDate(2026, 3, c.dia), QTime(8, 30)));
    lanzador.llamadas.clear();
    arrancar();
    EXPECT_EQ(lanzador.llamadas, c.lanzado ? QStringList{carpetaPrograma + " | Vigia.exe"} : QStringList{});
  }

  // Sin búsqueda (la línea de órdenes) nunca se lanza.
  entorno.buscarActualizaciones = false;
  reloj.fijar(QDateTime(QDate(2026, 3, 16), QTime(8, 30)));
  lanzador.llamadas.clear();
  arrancar();
  EXPECT_TRUE(lanzador.llamadas.isEmpty());
}

TEST_P(Arranque, FueraDelDia16NoSeConsultaNada) {
  AjustesTerminal at = arrancar();
  crearVigia();
  // Sin la tabla del interruptor, cualquier consulta fallaría.
  ventas->ejecutar("DROP TABLE relaciones_fijas");
  for (int dia : {1, 15, 17, 31}) {
    reloj.fijar(QDateTime(QDate(2026, 3, dia), QTime(8, 30)));
    EXPECT_NO_THROW(arranque::BuscarActualizaciones(at, entorno)) << dia;
  }
  reloj.fijar(QDateTime(QDate(2026, 3, 16), QTime(8, 30)));
  EXPECT_THROW(arranque::BuscarActualizaciones(at, entorno), ErrorDatos);
  EXPECT_TRUE(lanzador.llamadas.isEmpty());
}

TEST_P(Arranque, TablaQueFaltaNombraLaFuente) {
  informes->ejecutar("DROP TABLE cronicastemporal");
  QString m = mensajeDe([&] { arrancar(); });
  EXPECT_TRUE(m.contains("«Informes»")) << m.toStdString();
  EXPECT_TRUE(m.contains("cronicastemporal")) << m.toStdString();

  datos::CrearEsquemaInformes(*informes);
  ventas->ejecutar("DROP TABLE opciones_terminal");
  m = mensajeDe([&] { arrancar(); });
  EXPECT_TRUE(m.contains("«hosteleria»")) << m.toStdString();
  EXPECT_TRUE(m.contains("opciones_terminal")) << m.toStdString();
}

TEST_P(Arranque, EntornoSinRelojNiLanzador) {
  opciones({{"identificador", "1234"}, {"nombre", "Bar"}, {"tipo_programa", "COPAS"}});
  insertar(*ventas, "relaciones_fijas", {{"indice", "ActivadoVigia"}, {"datoa", "1234"}});
  crearVigia();
  arranque::Entorno vacio;
  vacio.carpetaPrograma = carpetaPrograma;
  AjustesTerminal at;
  ASSERT_NO_THROW(arranque::Arrancar(at, *almacen, vacio));
  EXPECT_EQ(at.Nombre, "Bar");
}

INSTANTIATE_TEST_SUITE_P(Motores, Arranque, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

TEST(BaseVentas, SeArrancaEnModoWalYSiLasCajasNoDejanSeDiceComo) {
  prueba::Bases bases(prueba::Motor::SQLite);
  QStringList avisos;
  auto avisar = [&](const QString& a) { avisos << a; };
  {
    // Una caja con una venta a medio guardar: la base no puede cambiar de modo.
    auto ventas = datos::Conexion::abrir(bases.fuenteVentas());
    auto caja = datos::Conexion::abrir(bases.fuenteVentas());
    caja->ejecutar("BEGIN IMMEDIATE");
    caja->ejecutar("INSERT INTO cabecera_factura (numero) VALUES (1)");
    arranque::PrepararBaseVentas(*ventas, avisar);
    EXPECT_NE(ventas->modoDiario(), "wal");
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].contains("PRAGMA journal_mode=WAL")) << avisos[0].toStdString();
    EXPECT_TRUE(avisos[0].contains(QDir::toNativeSeparators(bases.fuenteVentas().ruta)));
    caja->ejecutar("COMMIT");
  }
  // Con las cajas cerradas, el arranque la deja en modo WAL, sin avisar y
  // sin perder nada.
  avisos.clear();
  auto ventas = datos::Conexion::abrir(bases.fuenteVentas());
  arranque::PrepararBaseVentas(*ventas, avisar);
  EXPECT_EQ(ventas->modoDiario(), "wal");
  EXPECT_TRUE(avisos.isEmpty());
  datos::Consulta q = ventas->preparar("SELECT count(*) FROM cabecera_factura");
  q.ejecutar();
  ASSERT_TRUE(q.siguiente());
  EXPECT_EQ(q.valor(0).toLongLong(), 1);
}

TEST(BaseDatosRemota, SoloCuandoLaBaseNoEstaEnEstaMaquina) {
  using datos::FuenteDatos;
  QTemporaryDir dir;
  EXPECT_FALSE(arranque::CalcularBaseDatosRemota(
      FuenteDatos::interpretar("hosteleria", "sqlite:" + dir.filePath("hosteleria.db"))));
  EXPECT_FALSE(
      arranque::CalcularBaseDatosRemota(FuenteDatos::interpretar("hosteleria", "postgresql://caja@localhost/v")));
  EXPECT_FALSE(
      arranque::CalcularBaseDatosRemota(FuenteDatos::interpretar("hosteleria", "postgresql://caja@127.0.0.1/v")));
  EXPECT_FALSE(arranque::CalcularBaseDatosRemota(
      FuenteDatos::interpretar("hosteleria", "postgresql:///v?host=/var/run/postgresql")));
  EXPECT_TRUE(
      arranque::CalcularBaseDatosRemota(FuenteDatos::interpretar("hosteleria", "postgresql://caja@192.0.2.1/v")));
  EXPECT_TRUE(arranque::CalcularBaseDatosRemota(
      FuenteDatos::interpretar("hosteleria", "postgresql://caja@servidor-central.invalid:5433/v")));
}

}  // namespace
