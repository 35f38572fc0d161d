#pragma once
// Aviso de que el informe se está generando: una barra que se llena en cinco
// tics y se cierra sola. Mostrado con exec() retiene la ventana principal ese
// rato, mientras el informe se abre detrás.

#include <QDialog>

#include <memory>

class QProgressBar;
class QTimer;

namespace Ui {
class frmparar;
}

class frmparar : public QDialog {
  Q_OBJECT
 public:
  explicit frmparar(QWidget* padre = nullptr, int intervaloMs = 1000);
  ~frmparar() override;

  // Cierra el formulario; llamado otra vez sobre uno cerrado no hace nada visible.
  void cerrar();
  // Lo que hace cada tic del temporizador (público para las pruebas).
  void tic();
  QProgressBar* barraProgreso() const;

 protected:
  void showEvent(QShowEvent* evento) override;
  void hideEvent(QHideEvent* evento) override;

 private:
  std::unique_ptr<Ui::frmparar> ui_;
  QTimer* temporizador_;
};
