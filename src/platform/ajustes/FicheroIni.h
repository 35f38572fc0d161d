#pragma once
// Un fichero INI como lo leen y escriben los programas de Windows de la suite:
// los valores van tal cual (ni ";" ni "\" tienen nada de especial), secciones
// y claves no distinguen mayúsculas y un par de comillas que rodea el valor
// entero se quita al leer. El fichero es de todos: se guarda línea a línea,
// con sus bytes, y cambiar una clave sólo toca la línea de esa clave.

#include "platform/sistema/Error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <vector>

namespace ajustes {

class ErrorAjustes : public sistema::Error {
 public:
  explicit ErrorAjustes(const QString& mensaje) : sistema::Error(mensaje) {}
};

class FicheroIni {
 public:
  FicheroIni() = default;
  // Nunca falla: lo que no es sección ni clave se guarda como línea que no
  // se entiende y se devuelve igual.
  explicit FicheroIni(const QByteArray& contenido);

  // El contenido entero, byte a byte igual al leído salvo las líneas
  // cambiadas o añadidas.
  QByteArray bytes() const;

  // El valor de la primera aparición de la clave en una sección de ese nombre.
  std::optional<QString> valor(const QString& seccion, const QString& clave) const;
  // Las claves de la sección, escritas como en el fichero, sin repetir.
  QStringList claves(const QString& seccion) const;

  // Cambia la línea de la clave o añade una (al final de su sección; la
  // sección, al final del fichero). Falso, sin tocar nada, si ya valía eso.
  // Lanza ErrorAjustes si el nombre o el valor no caben en una línea INI.
  bool fijar(const QString& seccion, const QString& clave, const QString& valor);

 private:
  enum class Tipo { Otra, Seccion, Clave };
  struct Linea {
    QByteArray texto;  // sin el salto de línea
    QByteArray fin;    // "\r\n", "\n" o nada (la última línea sin salto)
    Tipo tipo = Tipo::Otra;
    QString nombre;  // de la sección o de la clave
    QString valor;
  };

  void interpretar(Linea& linea) const;
  QString descodificar(const QByteArray& texto) const;
  QByteArray codificar(const QString& texto) const;
  QByteArray finDeLinea() const;
  // Índice de la línea de la clave, o -1.
  int buscar(const QString& seccion, const QString& clave) const;
  // Dónde va una línea nueva de la sección: tras su última clave (o tras la
  // cabecera si no tiene); -1 si la sección no existe.
  int huecoEnSeccion(const QString& seccion) const;
  void insertar(int posicion, Linea linea);

  QByteArray bom_;
  bool utf8_ = true;
  std::vector<Linea> lineas_;
};

}  // namespace ajustes
