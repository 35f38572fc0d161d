// Cómo quedan en el disco las tres salidas que el usuario pide por su ruta
// (PDF, hoja de cálculo y CSV): con los permisos de cualquier fichero suyo, y
// sin sustituir lo que no es un fichero normal.

#include "builders/ExportarCsv.h"
#include "builders/Informes.h"
#include "platform/motor/Motor.h"
#include "platform/sistema/FicheroSalida.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#endif

namespace {

struct Salida {
  const char* nombre;
  QByteArray comienzo;  // los primeros bytes de un fichero bien escrito
  std::function<void(const QString&)> escribir;
};

class FicheroSalida : public testing::Test {
 protected:
  FicheroSalida()
      : tienda(prueba::Motor::SQLite),
        plantilla(motor::LeerPlantilla("<informe titulo=\"Salidas\"><detalle alto=\"5\">"
                                       "<campo columna=\"texto2\" x=\"0\" ancho=\"60\" alto=\"5\"/>"
                                       "</detalle></informe>",
                                       QStringLiteral("salidas.xml"), prueba::ColumnasInformes())),
        informe(plantilla, {{QStringLiteral("Café solo")}, {QStringLiteral("Caña")}}, prueba::EntornoFijo()) {
    informes::EscritorInformes w(*tienda.ajustes.ConexionInformes);
    w.vaciar();
    w.nuevaFila();
    w.poner(informes::Col::Texto2, QStringLiteral("Café solo"));
    w.guardarFila();
    w.terminar();
    salidas = {
        {"PDF", "%PDF", [this](const QString& r) { motor::GuardarPdf(motor::Maquetar(informe), r); }},
        {"hoja", "PK", [this](const QString& r) { motor::GuardarXlsx(informe, r); }},
        {"CSV", "texto1,", [this](const QString& r) { informes::EscribirCsv(*tienda.ajustes.ConexionInformes, r); }},
    };
  }

  // El mensaje del error con que se rechaza la ruta; vacío si se escribió.
  static QString fallo(const Salida& s, const QString& ruta) {
    try {
      s.escribir(ruta);
    } catch (const motor::ErrorSalida& e) {
      return e.mensaje();
    } catch (const datos::ErrorDatos& e) {
      return e.mensaje();
    }
    return {};
  }

  QString ruta(const QString& nombre) const { return dir.filePath(nombre); }
  // Lo que hay en la carpeta de las pruebas, ocultos incluidos.
  QStringList contenido() const {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  }

  prueba::Tienda tienda;
  motor::Plantilla plantilla;
  motor::Informe informe;
  std::vector<Salida> salidas;
  QTemporaryDir dir;
};

#ifdef Q_OS_UNIX

unsigned Modo(const QString& ruta) {
  struct stat st {};
  if (::stat(QFile::encodeName(ruta).constData(), &st) != 0) return 0;
  return st.st_mode & 07777;
}

// La umask del proceso durante una prueba.
class ConUmask {
 public:
  explicit ConUmask(mode_t m) : antes_(::umask(m)) {}
  ~ConUmask() { ::umask(antes_); }

 private:
  mode_t antes_;
};

TEST_F(FicheroSalida, LasTresSonComoCualquierFicheroNuevoDelUsuario) {
  for (const mode_t mascara : {mode_t{022}, mode_t{077}, mode_t{002}}) {
    const ConUmask umask(mascara);
    for (const Salida& s : salidas) {
      SCOPED_TRACE(std::string(s.nombre) + " con umask " + std::to_string(mascara));
      const QString r = ruta(QStringLiteral("%1-%2").arg(QLatin1String(s.nombre)).arg(mascara));
      ASSERT_EQ(fallo(s, r), QString());
      EXPECT_TRUE(prueba::leerBytes(r).startsWith(s.comienzo));
      EXPECT_EQ(Modo(r), 0666u & ~static_cast<unsigned>(mascara));
    }
  }
  // Nada más en la carpeta: ni temporales ni restos.
  EXPECT_EQ(contenido().size(), 9);
}

TEST_F(FicheroSalida, UnoQueYaExistiaConservaSusPermisos) {
  const ConUmask umask(022);
  for (const Salida& s : salidas) {
    SCOPED_TRACE(s.nombre);
    const QString r = ruta(QLatin1String(s.nombre));
    ASSERT_TRUE(prueba::escribirBytes(r, "lo de ayer"));
    ASSERT_EQ(::chmod(QFile::encodeName(r).constData(), 0640), 0);
    ASSERT_EQ(fallo(s, r), QString());
    EXPECT_TRUE(prueba::leerBytes(r).startsWith(s.comienzo));
    EXPECT_EQ(Modo(r), 0640u);
  }
}

// Lo que llega por la tubería mientras `escribir` la llena. El extremo de
// lectura se abre antes, para que el escritor no espere; si lo que escribe no
// llega nunca (porque puso un fichero en lugar de la tubería), la lectura se
// rinde a los diez segundos en vez de colgar la prueba.
QByteArray LeerTuberia(const QString& tuberia, const std::function<void()>& escribir) {
  const int fd = ::open(QFile::encodeName(tuberia).constData(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return {};
  QByteArray leido;
  std::thread lector([&] {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    char trozo[1 << 16];
    while (std::chrono::steady_clock::now() < limite) {
      pollfd espera{fd, POLLIN, 0};
      ::poll(&espera, 1, 100);
      const ssize_t n = ::read(fd, trozo, sizeof trozo);
      if (n > 0)
        leido.append(trozo, static_cast<qsizetype>(n));
      else if (n == 0 && !leido.isEmpty())
        break;  // el escritor terminó
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  escribir();
  lector.join();
  ::close(fd);
  return leido;
}

TEST_F(FicheroSalida, UnaTuberiaSeEscribeEnSuSitio) {
  for (const Salida& s : salidas) {
    SCOPED_TRACE(s.nombre);
    const QString tuberia = ruta(QStringLiteral("tuberia"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tuberia).constData(), 0600), 0);
    QString error;
    const QByteArray leido = LeerTuberia(tuberia, [&] { error = fallo(s, tuberia); });
    EXPECT_EQ(error, QString());
    EXPECT_TRUE(leido.startsWith(s.comienzo)) << leido.left(16).toStdString();
    const QFileInfo despues(tuberia);
    EXPECT_TRUE(despues.exists() && !despues.isFile()) << "la tubería ya no es una tubería";
    EXPECT_EQ(contenido(), QStringList{QStringLiteral("tuberia")});
    QFile::remove(tuberia);
  }
}

// La hoja se hace en una carpeta temporal antes de copiarla a su sitio: la de
// una exportación matada a medias se borra en la siguiente, y la de un
// proceso que sigue vivo no se toca.
TEST_F(FicheroSalida, LaHojaBorraLosTemporalesDeUnaExportacionMatada) {
  QProcess terminado;
  terminado.start(QStringLiteral("true"), QStringList());
  ASSERT_TRUE(terminado.waitForStarted());
  const qint64 muerto = terminado.processId();
  ASSERT_TRUE(terminado.waitForFinished());
  const QDir comun(sistema::CarpetaDeTemporales());
  const QString abandonada = comun.filePath(QStringLiteral("%1-XyZ123").arg(muerto));
  const QString deOtro = comun.filePath(QStringLiteral("1-XyZ123"));  // init no termina
  for (const QString& c : {abandonada, deOtro}) {
    ASSERT_TRUE(QDir().mkpath(c));
    ASSERT_TRUE(prueba::escribirBytes(QDir(c).filePath(QStringLiteral("hoja.xlsx")), "a medias"));
  }
  ASSERT_EQ(fallo(salidas.at(1), ruta(QStringLiteral("h.xlsx"))), QString());
  EXPECT_FALSE(QFileInfo::exists(abandonada));
  EXPECT_TRUE(QFileInfo::exists(QDir(deOtro).filePath(QStringLiteral("hoja.xlsx"))));
  QDir(deOtro).removeRecursively();
  // La suya la borra al acabar.
  const QString propias = QStringLiteral("%1-*").arg(QCoreApplication::applicationPid());
  EXPECT_EQ(comun.entryList({propias}, QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
  EXPECT_EQ(Modo(comun.path()), 0700u);
}

#endif  // Q_OS_UNIX

TEST_F(FicheroSalida, UnEnlaceSeSigueYUnaCarpetaSeRechaza) {
  for (const Salida& s : salidas) {
    SCOPED_TRACE(s.nombre);
    const QString destino = ruta(QStringLiteral("destino-%1").arg(QLatin1String(s.nombre)));
    const QString enlace = ruta(QStringLiteral("enlace-%1").arg(QLatin1String(s.nombre)));
    ASSERT_TRUE(prueba::escribirBytes(destino, "lo de ayer"));
    ASSERT_TRUE(QFile::link(destino, enlace));
    ASSERT_EQ(fallo(s, enlace), QString());
    EXPECT_TRUE(QFileInfo(enlace).isSymLink());
    EXPECT_TRUE(prueba::leerBytes(destino).startsWith(s.comienzo));

    const QString carpeta = ruta(QStringLiteral("carpeta-%1").arg(QLatin1String(s.nombre)));
    ASSERT_TRUE(QDir().mkdir(carpeta));
    ASSERT_TRUE(prueba::escribirBytes(QDir(carpeta).filePath(QStringLiteral("dentro")), "algo"));
    const QString error = fallo(s, carpeta);
    EXPECT_TRUE(error.contains(QStringLiteral("es una carpeta"))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(carpeta).isDir());
    EXPECT_EQ(QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("dentro")});

    const QString error2 = fallo(s, ruta(QStringLiteral("no/existe/x")));
    EXPECT_TRUE(error2.contains(QStringLiteral("la carpeta"))) << error2.toStdString();
  }
}

}  // namespace
