#pragma once
// Los mensajes del programa en la ventana: un cuadro de mensaje modal con el
// título y el icono de siempre y un solo botón.

#include "platform/sistema/Notificador.h"

#include <QPointer>
#include <QWidget>

namespace registro {

class NotificadorVentana final : public sistema::Notificador {
 public:
  // Sin padre, el cuadro sale sobre la ventana activa.
  explicit NotificadorVentana(QWidget* padre = nullptr);
  void mensaje(const QString& texto, const QString& titulo, sistema::Icono icono) override;

 private:
  // El notificador puede vivir más que la ventana que se le dio.
  QPointer<QWidget> padre_;
};

}  // namespace registro
