#pragma once
// Un fichero que el usuario pide por su ruta (un PDF, una hoja de cálculo,
// un CSV), escrito como esperaría de cualquier programa:
//
// - Un fichero normal, o uno que aún no existe, se escribe aparte y sólo
//   sustituye al anterior cuando está entero; un fallo a medias deja el que
//   había. Uno nuevo queda con los permisos de cualquier fichero creado con
//   la umask del usuario, y uno que ya existía conserva los suyos.
// - Lo que no es un fichero normal (una tubería, /dev/stdout) se escribe en
//   su sitio: ponerle un fichero encima lo rompería.
// - Una carpeta, o una ruta en una carpeta que no existe, se rechaza.

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <memory>

namespace sistema {

class FicheroSalida {
 public:
  explicit FicheroSalida(QString ruta);
  // Sin confirmar, lo escrito aparte se descarta.
  ~FicheroSalida() = default;
  FicheroSalida(const FicheroSalida&) = delete;
  FicheroSalida& operator=(const FicheroSalida&) = delete;

  // Falso si no se puede escribir; error() dice por qué.
  bool abrir();
  // Abierto: donde se escribe.
  QIODevice& dispositivo();
  // Deja escrito el fichero. Falso si no se pudo, y el anterior sigue como
  // estaba.
  bool confirmar();
  const QString& error() const { return error_; }

 private:
  QString ruta_;
  std::unique_ptr<QSaveFile> aparte_;
  std::unique_ptr<QFile> enSuSitio_;
  QString error_;
};

}  // namespace sistema
