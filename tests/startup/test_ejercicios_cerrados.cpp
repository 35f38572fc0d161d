// Años cerrados: qué base lee ConexionVentas mientras se construye un informe
// de un rango y cómo vuelve después a la base en vivo. Los puestos pasan por
// el arranque de verdad, que es quien apunta la base en vivo. Cada base tiene
// una tienda con otro nombre en opciones, y así se sabe cuál se está leyendo.

#include "platform/datos/Esquemas.h"
#include "startup/Arranque.h"
#include "startup/EjerciciosCerrados.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/Ayudas.h"

namespace {

using datos::ErrorDatos;
using ejercicios::EjercicioElegido;
using ejercicios::enArchivo;
using ejercicios::RestaurarEjercicio;
using ejercicios::SeleccionarEjercicio;
using prueba::mensajeDe;

const QString kVivo = QStringLiteral("Bar en vivo");
const QString kCierre2023 = QStringLiteral("Bar cierre 2023");
const QString kAviso = QStringLiteral("No se pueden hacer cronicas entre dos años ya cerrados.");

const QDate kMarzoDesde(2023, 3, 1);
const QDate kMarzoHasta(2023, 3, 31);

void ponerNombre(const datos::Conexion& c, const QString& nombre) {
  c.ejecutar(QStringLiteral("INSERT INTO opciones (identificador, nombre, tipo_programa) VALUES (?, ?, ?)"),
             {QStringLiteral("1234"), nombre, QStringLiteral("RESTAURANTE")});
}

// Nombre de la tienda en la base que ve ahora el puesto.
QString nombreLeido(const AjustesTerminal& at) {
  if (!at.ConexionVentas) return QStringLiteral("(sin conexión)");
  datos::Consulta q =
      at.ConexionVentas->preparar(QStringLiteral("SELECT nombre FROM opciones WHERE identificador = ?"));
  q.enlazar(QStringLiteral("1234"));
  q.ejecutar();
  return q.siguiente() ? q.texto(QStringLiteral("nombre")) : QStringLiteral("(sin fila)");
}

std::unique_ptr<datos::Conexion> crearSQLite(const QString& ruta) {
  QDir().mkpath(QFileInfo(ruta).path());
  datos::OpcionesApertura crear;
  crear.crearSiFalta = true;
  return datos::Conexion::abrir(datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), "sqlite:" + ruta), crear);
}

void crearVentasSQLite(const QString& ruta, const QString& nombre) {
  auto c = crearSQLite(ruta);
  datos::CrearEsquemaVentas(*c);
  ponerNombre(*c, nombre);
}

std::unique_ptr<datos::Conexion> administrador() {
  return datos::Conexion::abrir(
      datos::FuenteDatos::interpretar(QStringLiteral("administracion"), qEnvironmentVariable("CRONICAS_PG_URI")));
}

// Arranca un puesto como el programa, con un fichero de ajustes en `carpeta`.
AjustesTerminal arrancar(const QString& carpeta, const QString& textoVentas, const QString& textoInformes) {
  const QString ini = QDir(carpeta).filePath(QStringLiteral("ajustes.ini"));
  {
    ajustes::AlmacenAjustes a(ini);
    a.fijarFuente(QStringLiteral("hosteleria"), textoVentas);
    a.fijarFuente(QStringLiteral("Informes"), textoInformes);
    a.fijarIdentificadorEquipo(QStringLiteral("1234"));
  }
  ajustes::AlmacenAjustes almacen(ini);
  arranque::Entorno entorno;
  entorno.buscarActualizaciones = false;
  entorno.serieVolumen = [] { return std::optional<qint32>(); };
  AjustesTerminal at;
  arranque::Arrancar(at, almacen, entorno);
  return at;
}

class EjerciciosCerrados : public testing::TestWithParam<prueba::Motor> {
 protected:
  EjerciciosCerrados() : bases(GetParam()) {
    ponerNombre(*datos::Conexion::abrir(bases.fuenteVentas()), kVivo);
    at = arrancar(dir.path(), bases.textoVentas(), bases.textoInformes());
  }

  ~EjerciciosCerrados() override {
    at.ConexionVentas.reset();
    at.ConexionInformes.reset();
    if (!basePgArchivo.isEmpty()) {
      try {
        administrador()->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(basePgArchivo));
      } catch (const ErrorDatos&) {
        // Una base que no se pudo borrar no debe tapar el resultado.
      }
    }
  }

  bool sqlite() const { return GetParam() == prueba::Motor::SQLite; }

  // El fichero o la base donde la suite deja el año 2023 de esta tienda.
  QString nombreArchivo() const {
    return sqlite() ? QDir(bases.carpeta()).filePath(QStringLiteral("fotos/cierresAnuales/hosteleria_2023.db"))
                    : bases.fuenteVentas().base + QStringLiteral("_2023");
  }

  void crearArchivo2023() {
    if (sqlite()) {
      crearVentasSQLite(nombreArchivo(), kCierre2023);
      return;
    }
    basePgArchivo = nombreArchivo();
    administrador()->ejecutar(QStringLiteral("CREATE DATABASE %1").arg(basePgArchivo));
    datos::FuenteDatos f = bases.fuenteVentas();
    f.base = basePgArchivo;
    auto c = datos::Conexion::abrir(f);
    datos::CrearEsquemaVentas(*c);
    ponerNombre(*c, kCierre2023);
  }

  // Un archivo que existe pero no se puede abrir: un fichero que no es una
  // base SQLite, o una base PostgreSQL que no admite conexiones.
  void crearArchivo2023Inservible() {
    if (sqlite()) {
      QDir().mkpath(QFileInfo(nombreArchivo()).path());
      QFile f(nombreArchivo());
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(QByteArray(4096, '\x5a'));
      return;
    }
    basePgArchivo = nombreArchivo();
    administrador()->ejecutar(QStringLiteral("CREATE DATABASE %1 ALLOW_CONNECTIONS false").arg(basePgArchivo));
  }

  // Deja la base en vivo sin poder abrirse (o la devuelve a su sitio).
  void inaccesibleLaViva(bool inaccesible) {
    if (sqlite()) {
      const QString ruta = bases.fuenteVentas().ruta;
      const QString aparte = ruta + QStringLiteral(".aparte");
      ASSERT_TRUE(inaccesible ? QFile::rename(ruta, aparte) : QFile::rename(aparte, ruta));
      return;
    }
    administrador()->ejecutar(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                                  .arg(bases.fuenteVentas().base, inaccesible ? "false" : "true"));
  }

  prueba::Bases bases;
  QTemporaryDir dir;
  AjustesTerminal at;
  sistema::NotificadorRegistro notificador;
  QString basePgArchivo;
};

TEST_P(EjerciciosCerrados, UnMesDeUnAnioCerradoSeLeeDelArchivoYDespuesDeLaBaseEnVivo) {
  crearArchivo2023();
  ASSERT_EQ(nombreLeido(at), kVivo);
  EXPECT_FALSE(enArchivo(at));

  SeleccionarEjercicio(at, kMarzoDesde, kMarzoHasta, notificador);
  EXPECT_TRUE(enArchivo(at));
  EXPECT_EQ(nombreLeido(at), kCierre2023);

  RestaurarEjercicio(at);
  EXPECT_FALSE(enArchivo(at));
  EXPECT_EQ(nombreLeido(at), kVivo);
  EXPECT_TRUE(notificador.avisos.isEmpty());
}

TEST_P(EjerciciosCerrados, ElGuardaVuelveALaBaseEnVivoAlAcabarYCuandoElInformeFalla) {
  crearArchivo2023();
  {
    EjercicioElegido e(at, kMarzoDesde, kMarzoHasta, notificador);
    EXPECT_EQ(nombreLeido(at), kCierre2023);
  }
  EXPECT_EQ(nombreLeido(at), kVivo);

  EXPECT_THROW(
      {
        EjercicioElegido e(at, kMarzoDesde, kMarzoHasta, notificador);
        ASSERT_EQ(nombreLeido(at), kCierre2023);
        throw std::runtime_error("el informe falla a medias");
      },
      std::runtime_error);
  EXPECT_FALSE(enArchivo(at));
  EXPECT_EQ(nombreLeido(at), kVivo);
  EXPECT_TRUE(notificador.avisos.isEmpty());
}

TEST_P(EjerciciosCerrados, UnRangoQueEmpiezaEnUnAnioCerradoYAcabaEnOtroAvisaUnaVezYLeeEnVivo) {
  crearArchivo2023();
  {
    EjercicioElegido e(at, QDate(2023, 12, 15), QDate(2024, 1, 15), notificador);
    EXPECT_FALSE(enArchivo(at));
    EXPECT_EQ(nombreLeido(at), kVivo);
  }
  ASSERT_EQ(notificador.avisos.size(), 1);
  EXPECT_EQ(notificador.avisos[0].texto, kAviso);
  EXPECT_EQ(notificador.avisos[0].titulo, "Cronicas");
  EXPECT_EQ(notificador.avisos[0].icono, sistema::Icono::Informacion);
  EXPECT_EQ(nombreLeido(at), kVivo);
}

TEST_P(EjerciciosCerrados, SoloSeBuscaElArchivoDelAnioEnQueEmpiezaElRango) {
  crearArchivo2023();
  // Acaba en un año con archivo, pero empieza en uno sin él.
  SeleccionarEjercicio(at, QDate(2022, 12, 15), QDate(2023, 1, 15), notificador);
  EXPECT_FALSE(enArchivo(at));
  EXPECT_EQ(nombreLeido(at), kVivo);
  EXPECT_TRUE(notificador.avisos.isEmpty());
}

TEST_P(EjerciciosCerrados, SinArchivosSeLeeSiempreEnVivoYNoSeAvisa) {
  for (const auto& [desde, hasta] :
       {std::pair{kMarzoDesde, kMarzoHasta}, std::pair{QDate(2023, 12, 15), QDate(2024, 1, 15)}}) {
    EjercicioElegido e(at, desde, hasta, notificador);
    EXPECT_FALSE(enArchivo(at));
    EXPECT_EQ(nombreLeido(at), kVivo);
  }
  EXPECT_TRUE(notificador.avisos.isEmpty());
}

TEST_P(EjerciciosCerrados, UnArchivoQueNoSeAbreSeDiceYSeSigueEnVivo) {
  crearArchivo2023Inservible();
  const QString mensaje = mensajeDe([&] { SeleccionarEjercicio(at, kMarzoDesde, kMarzoHasta, notificador); });
  EXPECT_TRUE(mensaje.contains(nombreArchivo())) << mensaje.toStdString();
  EXPECT_FALSE(enArchivo(at));
  EXPECT_EQ(nombreLeido(at), kVivo);
  // El guarda no llega a construirse y no hay nada que devolver.
  EXPECT_THROW({ EjercicioElegido e(at, kMarzoDesde, kMarzoHasta, notificador); }, ErrorDatos);
  EXPECT_EQ(nombreLeido(at), kVivo);
}

TEST_P(EjerciciosCerrados, SiLaBaseEnVivoNoSeAbreAlVolverSeAvisaYSeQuedaElArchivoHastaQueSePueda) {
  crearArchivo2023();
  {
    EjercicioElegido e(at, kMarzoDesde, kMarzoHasta, notificador);
    inaccesibleLaViva(true);
  }
  ASSERT_EQ(notificador.avisos.size(), 1);
  EXPECT_TRUE(notificador.avisos[0].texto.contains(bases.fuenteVentas().descripcion()))
      << notificador.avisos[0].texto.toStdString();
  EXPECT_EQ(notificador.avisos[0].titulo, "Cronicas");
  EXPECT_EQ(notificador.avisos[0].icono, sistema::Icono::Critico);
  // Sigue habiendo conexión, la del archivo, y se sabe que no es la viva.
  EXPECT_TRUE(enArchivo(at));
  EXPECT_EQ(nombreLeido(at), kCierre2023);
  EXPECT_THROW(RestaurarEjercicio(at), ErrorDatos);
  EXPECT_EQ(nombreLeido(at), kCierre2023);

  inaccesibleLaViva(false);
  RestaurarEjercicio(at);
  EXPECT_FALSE(enArchivo(at));
  EXPECT_EQ(nombreLeido(at), kVivo);

  // Un archivo que se quedó puesto no sirve para el rango siguiente, aunque
  // éste no tenga archivo propio.
  SeleccionarEjercicio(at, kMarzoDesde, kMarzoHasta, notificador);
  inaccesibleLaViva(true);
  EXPECT_THROW(RestaurarEjercicio(at), ErrorDatos);
  inaccesibleLaViva(false);
  SeleccionarEjercicio(at, QDate(2024, 5, 1), QDate(2024, 5, 31), notificador);
  EXPECT_FALSE(enArchivo(at));
  EXPECT_EQ(nombreLeido(at), kVivo);
  EXPECT_EQ(notificador.avisos.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Motores, EjerciciosCerrados, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

// Dónde busca sus años una base SQLite según cómo se llame el fichero.
class ArchivosSQLite : public testing::Test {
 protected:
  ArchivosSQLite() {
    informes = dir.filePath(QStringLiteral("informes.db"));
    datos::CrearEsquemaInformes(*crearSQLite(informes));
  }
  AjustesTerminal arrancarSobre(const QString& ventas) {
    return arrancar(dir.path(), "sqlite:" + ventas, "sqlite:" + informes);
  }
  QString ruta(const QString& relativa) const { return dir.filePath(relativa); }

  QTemporaryDir dir;
  QString informes;
  sistema::NotificadorRegistro notificador;
};

TEST_F(ArchivosSQLite, UnaBaseEnMayusculasConservaLaCarpetaYLaExtensionTalCual) {
  crearVentasSQLite(ruta("Datos/HOSTELERIA.DB"), kVivo);
  crearVentasSQLite(ruta("Datos/fotos/cierresAnuales/hosteleria_2023.DB"), kCierre2023);
  AjustesTerminal at = arrancarSobre(ruta("Datos/HOSTELERIA.DB"));
  EjercicioElegido e(at, kMarzoDesde, kMarzoHasta, notificador);
  EXPECT_EQ(nombreLeido(at), kCierre2023);
}

TEST_F(ArchivosSQLite, ElArchivoLlevaLaExtensionDeLaBaseEnVivo) {
  crearVentasSQLite(ruta("hosteleria.mdb"), kVivo);
  crearVentasSQLite(ruta("fotos/cierresAnuales/hosteleria_2023.db"), QStringLiteral("Otro fichero"));
  crearVentasSQLite(ruta("fotos/cierresAnuales/hosteleria_2023.mdb"), kCierre2023);
  AjustesTerminal at = arrancarSobre(ruta("hosteleria.mdb"));
  EjercicioElegido e(at, kMarzoDesde, kMarzoHasta, notificador);
  EXPECT_EQ(nombreLeido(at), kCierre2023);
}

TEST_F(ArchivosSQLite, UnaBaseConOtroNombreNoEncuentraNuncaSusArchivos) {
  EXPECT_EQ(ejercicios::RutaArchivo(QStringLiteral("/srv/Bar/tienda.db"), 2023),
            QStringLiteral("/srv/Bar/tienda.db/hosteleria_2023.db"));

  crearVentasSQLite(ruta("tienda.db"), kVivo);
  crearVentasSQLite(ruta("fotos/cierresAnuales/hosteleria_2023.db"), kCierre2023);
  crearVentasSQLite(ruta("fotos/cierresAnuales/tienda_2023.db"), kCierre2023);
  AjustesTerminal at = arrancarSobre(ruta("tienda.db"));
  for (const QDate& hasta : {kMarzoHasta, QDate(2024, 1, 15)}) {
    EjercicioElegido e(at, kMarzoDesde, hasta, notificador);
    EXPECT_EQ(nombreLeido(at), kVivo);
  }
  EXPECT_TRUE(notificador.avisos.isEmpty());
}

}  // namespace
