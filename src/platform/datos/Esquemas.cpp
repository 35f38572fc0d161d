#include "platform/datos/Esquemas.h"

#include <QFile>

namespace datos {

QString TextoEsquema(Motor motor, const QString& base) {
  const QString dialecto = motor == Motor::PostgreSQL ? QStringLiteral("postgresql") : QStringLiteral("sqlite");
  QFile f(QStringLiteral(":/esquemas/%1/%2.sql").arg(dialecto, base));
  if (!f.open(QIODevice::ReadOnly))
    throw ErrorDatos(QStringLiteral("Falta el esquema %1/%2 dentro del programa.").arg(dialecto, base));
  return QString::fromUtf8(f.readAll());
}

void CrearEsquemaVentas(const Conexion& c) {
  c.ejecutarGuion(TextoEsquema(c.motor(), QStringLiteral("hosteleria")));
}
void CrearEsquemaInformes(const Conexion& c) {
  c.ejecutarGuion(TextoEsquema(c.motor(), QStringLiteral("informes")));
}

}  // namespace datos
