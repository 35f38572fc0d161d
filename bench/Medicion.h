#pragma once
// Lo que comparten las mediciones.

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace medicion {

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

}  // namespace medicion
