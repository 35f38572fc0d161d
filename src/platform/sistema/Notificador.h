#pragma once
// Los mensajes que el programa enseña en cuadros de diálogo pasan por aquí:
// la ventana los muestra con QMessageBox; la línea de órdenes los escribe en
// la salida de errores como "TITULO: texto".

#include <QList>
#include <QString>

namespace sistema {

enum class Icono { Informacion, Critico, Exclamacion, Pregunta };

class Notificador {
 public:
  virtual ~Notificador() = default;
  virtual void mensaje(const QString& texto, const QString& titulo, Icono icono) = 0;
};

class NotificadorConsola final : public Notificador {
 public:
  void mensaje(const QString& texto, const QString& titulo, Icono icono) override;
};

// Guarda los mensajes en vez de enseñarlos (pruebas, ejecuciones sin ventana).
class NotificadorRegistro final : public Notificador {
 public:
  struct Aviso {
    QString texto;
    QString titulo;
    Icono icono;
  };
  void mensaje(const QString& texto, const QString& titulo, Icono icono) override {
    avisos.append({texto, titulo, icono});
  }
  QList<Aviso> avisos;
};

}  // namespace sistema
