#pragma once
// Pequeñas ayudas que comparten las pruebas.

#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/datos/Datos.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QString>

namespace prueba {

// El mensaje del error de datos o de ajustes que lanza `f`; vacío si no lanza.
template <typename F>
QString mensajeDe(F&& f) {
  try {
    f();
  } catch (const datos::ErrorDatos& e) {
    return e.mensaje();
  } catch (const ajustes::ErrorAjustes& e) {
    return e.mensaje();
  }
  return {};
}

inline QByteArray leerBytes(const QString& ruta) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// Escribe el fichero entero; falso si no se pudo.
inline bool escribirBytes(const QString& ruta, const QByteArray& contenido) {
  QFile f(ruta);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(contenido) == contenido.size();
}

// El guion SQL de una tienda de tests/fixtures ("caja", "maestros"...); vacío
// si falta, y entonces la prueba falla al no encontrar sus filas. Una tienda
// que empieza por otra lo dice con una línea «-- sobre: otra» y lleva sólo lo
// que añade.
inline QString GuionTienda(const QString& nombre) {
  const QString guion = QString::fromUtf8(
      leerBytes(QDir(QStringLiteral(CRONICAS_DIR_PRUEBAS)).filePath(QStringLiteral("fixtures/%1.sql").arg(nombre))));
  static const QRegularExpression sobre(QStringLiteral("^-- sobre: (\\w+)$"), QRegularExpression::MultilineOption);
  const QRegularExpressionMatch m = sobre.match(guion);
  return m.hasMatch() ? GuionTienda(m.captured(1)) + QLatin1Char('\n') + guion : guion;
}

}  // namespace prueba
