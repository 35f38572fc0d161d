#pragma once
// Pequeñas ayudas que comparten las pruebas.

#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/datos/Datos.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
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
// si falta, y entonces la prueba falla al no encontrar sus filas.
inline QString GuionTienda(const QString& nombre) {
  return QString::fromUtf8(
      leerBytes(QDir(QStringLiteral(CRONICAS_DIR_PRUEBAS)).filePath(QStringLiteral("fixtures/%1.sql").arg(nombre))));
}

}  // namespace prueba
