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
#include <QTemporaryDir>

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

// Una carpeta temporal del proceso para lo que una salida prepara antes de
// copiarlo a su destino (la hoja de cálculo, que la biblioteca escribe por
// nombre). Todas viven en una carpeta del usuario dentro de la temporal del
// sistema; al crear una se borran las que dejaron procesos que ya no existen,
// porque un programa matado a medias no limpia lo suyo. Se borra al
// destruirla.
class CarpetaTemporal {
 public:
  CarpetaTemporal();
  bool valida() const { return dir_ && dir_->isValid(); }
  QString error() const { return dir_ ? dir_->errorString() : QString(); }
  QString ruta() const { return dir_ ? dir_->path() : QString(); }
  QString ruta(const QString& nombre) const { return dir_ ? dir_->filePath(nombre) : QString(); }

 private:
  std::unique_ptr<QTemporaryDir> dir_;
};

// La carpeta del usuario donde están las de todos sus procesos.
QString CarpetaDeTemporales();

}  // namespace sistema
