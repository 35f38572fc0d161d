#pragma once
// Lo que el programa necesita saber del sistema: el reloj, el identificador
// del puesto, si la base de ventas está en otra máquina, y el arranque de los
// programas hermanos de la suite.

#include <QDateTime>
#include <QString>

#include <optional>

namespace sistema {

// "Hoy" y "ahora" salen siempre de aquí, para poder fijarlos en las pruebas.
class Reloj {
 public:
  virtual ~Reloj() = default;
  virtual QDateTime ahora() const = 0;
  QDate hoy() const { return ahora().date(); }
};

class RelojSistema final : public Reloj {
 public:
  QDateTime ahora() const override { return QDateTime::currentDateTime(); }
};

class RelojFijo final : public Reloj {
 public:
  explicit RelojFijo(QDateTime momento) : momento_(std::move(momento)) {}
  QDateTime ahora() const override { return momento_; }
  void fijar(const QDateTime& m) { momento_ = m; }

 private:
  QDateTime momento_;
};

// Número de serie del volumen del sistema como entero con signo de 32 bits;
// nada si el sistema no lo da.
std::optional<qint32> serieVolumenSistema();

// El identificador del puesto: el valor absoluto de la serie, en decimal, sin
// signo ni ceros a la izquierda; vacío sin serie.
QString identificadorDesdeSerie(std::optional<qint32> serie);

// Verdadero si el fichero está en un sistema de ficheros de red.
bool enSistemaDeRed(const QString& ruta);

// Verdadero si el nombre de servidor es esta misma máquina.
bool esServidorLocal(const QString& servidor);

// Verdadero cuando existe un fichero con esa ruta.
bool ficheroExiste(const QString& ruta);

// Ruta del programa hermano `nombre` ("Vigia.exe") en la carpeta del programa.
// Fuera de Windows se acepta también el nombre sin ".exe" y en minúsculas.
QString rutaProgramaHermano(const QString& carpetaPrograma, const QString& nombre);

// Arranque de programas hermanos; se puede sustituir en las pruebas.
class Lanzador {
 public:
  virtual ~Lanzador() = default;
  // Cambia a la carpeta del programa y arranca el hermano; ignora cualquier fallo.
  virtual void lanzar(const QString& carpetaPrograma, const QString& nombre);
};

// Verdadero si hay dónde abrir una ventana: en Linux, un servidor X o
// Wayland, o una plataforma de Qt elegida a mano (QT_QPA_PLATFORM).
bool HayPantalla();

// Sin XDG_RUNTIME_DIR (un servidor, una tarea programada) Qt avisa en cada
// arranque; se le da una carpeta privada del usuario en la temporal. Hay que
// llamarla antes de crear la aplicación.
void PrepararCarpetaDeEjecucion();

}  // namespace sistema
