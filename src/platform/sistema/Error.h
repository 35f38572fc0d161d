#pragma once
// El fallo que se enseña al usuario: un mensaje listo para leer (nombra el
// fichero, la base o el ajuste y dice qué pasó) y el título de su cuadro. Los
// fallos de datos, de plantillas, de la salida y de los ajustes son clases de
// este; cada frontera (línea de órdenes, ventana, ejecución de un informe) lo
// atrapa una sola vez.

#include <QString>

#include <stdexcept>

namespace sistema {

// Números con que la ventana titula un fallo al pintar un informe.
enum NumeroError : int { kErrorPlantilla = 501, kErrorDatos = 502, kErrorSalida = 503 };

class Error : public std::runtime_error {
 public:
  explicit Error(const QString& mensaje, const QString& titulo = QStringLiteral("Cronicas"))
      : std::runtime_error(mensaje.toStdString()), mensaje_(mensaje), titulo_(titulo) {}

  const QString& mensaje() const { return mensaje_; }
  const QString& titulo() const { return titulo_; }
  // El número con que la ventana titula un fallo al pintar un informe; 0 si
  // el fallo no viene de ahí.
  virtual int numero() const { return 0; }

 private:
  QString mensaje_;
  QString titulo_;
};

}  // namespace sistema
