#pragma once
// El generador de etiquetas de precio: la lista de productos y menús, la
// cola de lo que se va a imprimir con sus copias, la posición de la hoja
// desde la que empezar y la impresión de la hoja de 24 etiquetas.

#include "labels/Etiquetas.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "registro/SalidaInforme.h"
#include "startup/AjustesTerminal.h"

#include <QDialog>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

class VistaPrevia;
namespace Ui {
class frmCodigoBarra;
}

class frmCodigoBarra : public QDialog {
  Q_OBJECT

 public:
  // Lo que las ventanas de letreros y etiquetas necesitan del programa.
  struct Entorno {
    AjustesTerminal* ajustes = nullptr;
    sistema::Notificador* notificador = nullptr;
    const sistema::Reloj* reloj = nullptr;
    registro::OpcionesSalida opciones;
    QString carpetaSalida;         // donde empiezan los diálogos de guardar de la vista previa
    int intervaloProgreso = 1000;  // ms por tic del formulario de progreso
    QRect pantalla;                // vacía: la de la ventana
    // La búsqueda de productos: devuelve el código elegido o "-1". Vacía, F2
    // y «Buscar Producto» no hacen nada.
    std::function<QString(QWidget* padre)> buscarProducto;
  };

  // Columnas de la lista: sólo se ve el nombre.
  enum Columna { kColNombre = 1, kColCodigoEtiqueta = 2, kColPrecio = 3, kColCodigo = 4 };

  explicit frmCodigoBarra(Entorno entorno, QWidget* padre = nullptr);
  ~frmCodigoBarra() override;

  // Lo que hacen los dobles clics: la fila actual a la cola con la cantidad
  // de la caja, y la entrada elegida fuera de la cola.
  void agregar();
  void quitar();
  // «Buscar Producto» y F2.
  void buscar();
  // «Imprimir» y F3 con cola: la hoja en Informes y su vista previa.
  void imprimir();
  // Lo que hace una tecla en cualquier control: F2, F3 y F7.
  void BotonFuncion(int tecla);

  const std::vector<etiquetas::Pedido>& cola() const { return cola_; }
  VistaPrevia* ultimaVista() const { return ultimaVista_; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void showEvent(QShowEvent* evento) override;

 private:
  void Cargar_Cabecera();
  void cargarLista();
  // La primera fila cuyo nombre empieza por esa letra sube arriba de la lista.
  void saltarA(const QString& letra);
  void actualizarImprimir();

  std::unique_ptr<Ui::frmCodigoBarra> ui_;
  Entorno e_;
  std::vector<etiquetas::Pedido> cola_;  // en el mismo orden que lt_agr
  bool primeraActivacion_ = true;
  QPointer<VistaPrevia> ultimaVista_;
};
