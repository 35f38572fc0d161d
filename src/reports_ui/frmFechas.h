#pragma once
// El diálogo del rango de fechas de un informe. Recoge el rango (y, según el
// informe, la casilla «Completo» y el umbral de ventas) en la selección del
// informe en curso y se cierra; no calcula nada.

#include "registro/SeleccionInforme.h"

#include <QDate>
#include <QDialog>

#include <memory>

namespace Ui {
class frmFechas;
}
namespace sistema {
class Reloj;
}

class frmFechas : public QDialog {
  Q_OBJECT

 public:
  frmFechas(SeleccionInforme& seleccion, const sistema::Reloj& reloj, QWidget* padre = nullptr);
  ~frmFechas() override;

  void ponerTipoInforme(const QString& texto);
  void mostrarCompleto();
  void MostrarNumVentas();

  // Lo que hace un clic en cada calendario; los calendarios los llaman con la
  // fecha que queda seleccionada.
  void fechaInicioPulsada(const QDate& fecha);
  void fechaFinalPulsada(const QDate& fecha);

  // Cancelar, la caja de cierre y Escape acaban todos aquí.
  void reject() override;

 private:
  void ventasCambiadas(const QString& texto);
  void ajustarLimites();

  std::unique_ptr<Ui::frmFechas> ui;
  SeleccionInforme& seleccion_;
};
