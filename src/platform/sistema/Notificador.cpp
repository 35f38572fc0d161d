#include "platform/sistema/Notificador.h"

#include <QIODevice>

namespace sistema {

void NotificadorConsola::mensaje(const QString& texto, const QString& titulo, Icono) {
  errores_.write(QStringLiteral("%1: %2\n").arg(titulo, texto).toLocal8Bit());
}

}  // namespace sistema
