#pragma once
// Lo que comparten las mediciones.

#include "demo/Demo.h"
#include "platform/sistema/Sistema.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <cerrno>
extern char** environ;
#endif

#include <cstdio>
#include <optional>
#include <vector>

namespace medicion {

// El modo hijo que genera la tienda, para que su memoria no cuente en lo que
// se mide: «--generar DESTINO DIAS VENTAS_DIA HOY» escribe
// «facturas=N lineas=M». Sin esos argumentos, nada.
inline std::optional<int> GenerarTiendaSiEsHijo(const QStringList& args) {
  if (args.size() != 6 || args.at(1) != QLatin1String("--generar")) return std::nullopt;
  demo::OpcionesDemo o;
  o.destino = args.at(2);
  o.dias = args.at(3).toInt();
  o.ventasDia = args.at(4).toInt();
  o.hoy = QDate::fromString(args.at(5), Qt::ISODate);
  o.reemplazar = true;
  sistema::RelojSistema reloj;
  const demo::ResultadoDemo r = demo::GenerarDemo(o, reloj);
  std::printf("facturas=%lld lineas=%lld\n", static_cast<long long>(r.facturas), static_cast<long long>(r.lineas));
  std::fflush(stdout);
  return 0;
}

// Memoria residente máxima del proceso hasta ahora, en MB (0 donde no se sabe).
inline double MemoriaMaximaMb() {
#if defined(Q_OS_UNIX)
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
#if defined(Q_OS_MACOS)
  return static_cast<double>(uso.ru_maxrss) / (1024.0 * 1024.0);  // bytes
#else
  return static_cast<double>(uso.ru_maxrss) / 1024.0;  // kilobytes
#endif
#else
  return 0.0;
#endif
}

// CPU gastada por el proceso hasta ahora (usuario más sistema, todos sus
// hilos), en segundos: con la máquina ocupada dice más que el reloj.
inline double CpuSegundos() {
#if defined(Q_OS_UNIX)
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  return static_cast<double>(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) +
         static_cast<double>(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
#else
  return 0.0;
#endif
}

// Lo que costó un programa ejecutado de principio a fin.
struct Proceso {
  int codigo = -1;       // código de salida; -1 si no terminó bien
  double segundos = 0;   // de reloj
  double cpu = 0;        // usuario más sistema, segundos
  double memoriaMb = 0;  // memoria residente máxima del proceso
  QString errores;       // su salida de errores
};

// Ejecuta `programa` con su salida estándar tirada y mide su tiempo y su
// memoria máxima. La memoria es la del propio hijo (wait4): la de los otros
// hijos que haya lanzado quien mide no se mezcla.
inline Proceso EjecutarMedido(const QString& programa, const QStringList& argumentos) {
  Proceso r;
  QTemporaryFile errores;
  if (!errores.open()) return r;
#if defined(Q_OS_UNIX)
  std::vector<QByteArray> textos;
  textos.push_back(QFile::encodeName(programa));
  for (const QString& a : argumentos) textos.push_back(a.toLocal8Bit());
  std::vector<char*> argv;
  for (QByteArray& t : textos) argv.push_back(t.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_addopen(&acciones, 1, "/dev/null", O_WRONLY, 0);
  const QByteArray rutaErrores = QFile::encodeName(errores.fileName());
  posix_spawn_file_actions_addopen(&acciones, 2, rutaErrores.constData(), O_WRONLY | O_TRUNC, 0);
  QElapsedTimer reloj;
  reloj.start();
  pid_t pid = 0;
  const int fallo = posix_spawn(&pid, argv[0], &acciones, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acciones);
  if (fallo != 0) {
    r.errores = QStringLiteral("no se pudo lanzar %1").arg(programa);
    return r;
  }
  int estado = 0;
  rusage uso{};
  pid_t esperado = 0;
  do {
    esperado = wait4(pid, &estado, 0, &uso);
  } while (esperado < 0 && errno == EINTR);
  r.segundos = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
  r.cpu = static_cast<double>(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) +
          static_cast<double>(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
#if defined(Q_OS_MACOS)
  r.memoriaMb = static_cast<double>(uso.ru_maxrss) / (1024.0 * 1024.0);
#else
  r.memoriaMb = static_cast<double>(uso.ru_maxrss) / 1024.0;
#endif
  r.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
#else
  // Sin wait4 no hay memoria del hijo: sólo el tiempo.
  QProcess hijo;
  hijo.setStandardOutputFile(QProcess::nullDevice());
  hijo.setStandardErrorFile(errores.fileName());
  QElapsedTimer reloj;
  reloj.start();
  hijo.start(programa, argumentos);
  hijo.waitForFinished(-1);
  r.segundos = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
  r.codigo = hijo.exitStatus() == QProcess::NormalExit ? hijo.exitCode() : -1;
#endif
  errores.seek(0);
  r.errores = QString::fromLocal8Bit(errores.readAll()).trimmed();
  return r;
}

}  // namespace medicion
