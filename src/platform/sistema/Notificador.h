#pragma once
// Los mensajes que el programa enseña en cuadros de diálogo pasan por aquí:
// la ventana los muestra con QMessageBox; la línea de órdenes los escribe en
// la salida de errores como "TITULO: texto".

#include <QList>
#include <QString>

class QIODevice;

namespace sistema {

enum class Icono { Informacion, Critico, Exclamacion, Pregunta };

class Notificador {
 public:
  virtual ~Notificador() = default;
  virtual void mensaje(const QString& texto, const QString& titulo, Icono icono) = 0;
};

// La línea de órdenes: `errores` es su salida de errores (o, en las pruebas,
// un QBuffer).
class NotificadorConsola final : public Notificador {
 public:
  explicit NotificadorConsola(QIODevice& errores) : errores_(errores) {}
  void mensaje(const QString& texto, const QString& titulo, Icono icono) override;

 private:
  QIODevice& errores_;
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
