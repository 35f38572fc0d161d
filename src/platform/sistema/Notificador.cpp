#include "platform/sistema/Notificador.h"

#include <cstdio>

namespace sistema {

void NotificadorConsola::mensaje(const QString& texto, const QString& titulo, Icono) {
  std::fprintf(stderr, "%s: %s\n", titulo.toLocal8Bit().constData(), texto.toLocal8Bit().constData());
  std::fflush(stderr);
}

}  // namespace sistema
