#pragma once
// La valoración del stock por proveedor: el usuario elige un proveedor en
// las fichas (o todos) y después el tipo de producto, y el formulario saca el
// informe en su vista previa. Se queda abierto para otra elección.

#include "labels/StockProveedores.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "registro/SalidaInforme.h"
#include "registro/SeleccionInforme.h"
#include "reports_ui/VistaPrevia.h"
#include "startup/AjustesTerminal.h"

#include <QDialog>
#include <QPointer>
#include <QRect>

#include <memory>
#include <optional>
#include <vector>

class QPushButton;
namespace Ui {
class frmListado;
}

class frmListado : public QDialog {
  Q_OBJECT

 public:
  struct Entorno {
    AjustesTerminal* ajustes = nullptr;
    SeleccionInforme* seleccion = nullptr;
    sistema::Notificador* notificador = nullptr;
    const sistema::Reloj* reloj = nullptr;
    registro::OpcionesSalida opciones;
    QString carpetaSalida;
    int intervaloProgreso = 1000;
    QRect pantalla;
  };

  explicit frmListado(Entorno entorno, QWidget* padre = nullptr);
  ~frmListado() override;

  // Tras el coloreado general: el panel de fichas, el marco de tipos y el
  // botón de todos toman el color de shp_botones; shpSeleccion, el de
  // shp_titulos_1.
  void colorearpaneles();

  const QString& proveedorElegido() const { return proveedorElegido_; }
  VistaPrevia* ultimaVista() const { return ultimaVista_; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  // Los paneles toman sus colores al mostrarse, tras el coloreado general.
  void showEvent(QShowEvent* evento) override;

 private:
  void bCargarTablaDinamicaProveedores();
  void crearProveedores();
  void ocultarPaneles();
  void elegirProveedor(const QString& rotulo);
  void elegirTodos();
  void CargarProductos(qint16 tipo);

  std::unique_ptr<Ui::frmListado> ui;
  Entorno e_;
  std::optional<proveedores::PaginasProveedores> paginas_;
  std::vector<QPushButton*> fichas_;
  QString proveedorElegido_;
  QPointer<VistaPrevia> ultimaVista_;
};
