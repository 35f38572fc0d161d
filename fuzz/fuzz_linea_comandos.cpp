// La línea de órdenes: cualquier lista de argumentos (uno por línea de la
// entrada) termina con un código de salida conocido, y el de uso mal escrito
// siempre dice por qué. Las órdenes corren de verdad hasta donde pueden sin
// bases de datos, en una carpeta propia que se vacía tras cada entrada; la
// tienda de demostración se sustituye por una que sólo comprueba lo que le
// llega, porque crearla de verdad tarda segundos.

#include "Fuzz.h"
#include "app/LineaComandos.h"
#include "demo/Demo.h"
#include "demo/DemoServidor.h"
#include "platform/sistema/Sistema.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <filesystem>

namespace demo {

// Sustituye a la de verdad al enlazar: ningún otro símbolo de Demo.cpp hace
// falta aquí, así que el enlazador no la trae.
ResultadoDemo GenerarDemo(const OpcionesDemo& opciones, const sistema::Reloj&, const Progreso& progreso) {
  FUZZ_EXIGIR(opciones.dias >= 1 && opciones.dias <= 20000);
  FUZZ_EXIGIR(opciones.ventasDia >= 1 && opciones.ventasDia <= 100000);
  FUZZ_EXIGIR(opciones.productos >= 0 && opciones.productos <= 1000000);
  FUZZ_EXIGIR(opciones.hoy.isValid());
  if (progreso) progreso(QStringLiteral("Tienda de prueba"));
  ResultadoDemo r;
  r.ficheroAjustes = QDir(opciones.destino).filePath(QStringLiteral("ajustes.ini"));
  return r;
}

// La del servidor, igual: sin ella el enlazador traería la de verdad y, con
// ella, Demo.cpp entero.
ResultadoDemo GenerarDemoEnServidor(const OpcionesDemo& opciones, const QString&, const sistema::Reloj& reloj,
                                    const Progreso& progreso) {
  return GenerarDemo(opciones, reloj, progreso);
}

}  // namespace demo

namespace {

QString Trabajo() {
  static QTemporaryDir raiz;
  return raiz.filePath(QStringLiteral("trabajo"));
}

// Fuera de la carpeta de trabajo no se escribe nada: ni rutas ni «..».
bool SeQuedaEnLaCarpeta(const QString& argumento) {
  return !argumento.contains(QLatin1Char('/')) && !argumento.contains(QLatin1Char('\\')) &&
         !argumento.contains(QLatin1String(".."));
}

void Vaciar(const QString& carpeta) {
  for (const auto& e : std::filesystem::directory_iterator(carpeta.toStdString())) std::filesystem::remove_all(e);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static int argc = 1;
  static char nombre[] = "fuzz_linea_comandos";
  static char* argv[] = {nombre, nullptr};
  static QCoreApplication app(argc, argv);
  const QString trabajo = Trabajo();
  FUZZ_EXIGIR(QDir().mkpath(trabajo));
  FUZZ_EXIGIR(QDir::setCurrent(trabajo));
  // Los ajustes y los datos por defecto, también dentro.
  for (const char* v : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) qputenv(v, trabajo.toUtf8());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
  const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
  QStringList argumentos = texto.split(QLatin1Char('\n'));
  if (argumentos.constLast().isEmpty()) argumentos.removeLast();
  for (const QString& a : argumentos)
    if (!SeQuedaEnLaCarpeta(a)) return -1;  // fuera del corpus

  QBuffer salida, errores;
  salida.open(QIODevice::WriteOnly);
  errores.open(QIODevice::WriteOnly);
  const sistema::RelojFijo reloj(QDateTime(QDate(2026, 3, 6), QTime(9, 7, 30)));
  app::Consola consola{salida, errores, reloj};
  const int codigo = app::EjecutarLineaComandos(argumentos, consola);
  FUZZ_EXIGIR(codigo >= app::kSalidaBien && codigo <= app::kSalidaSinPermiso);
  if (codigo == app::kSalidaUso) FUZZ_EXIGIR(!errores.data().isEmpty());
  if (codigo != app::kSalidaBien) FUZZ_EXIGIR(!errores.data().isEmpty() || !salida.data().isEmpty());
  Vaciar(Trabajo());
  return 0;
}
