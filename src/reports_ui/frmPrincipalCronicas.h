#pragma once
// La ventana principal: un botón por informe en cuatro marcos, el panel de
// mes y año de los gráficos y la invitación a configurar el correo. Cada
// botón sigue su secuencia del registro de informes: diálogos, constructor y
// vista previa.

#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "registro/EnviarInforme.h"
#include "registro/RegistroInformes.h"
#include "registro/SalidaInforme.h"
#include "registro/SeleccionInforme.h"
#include "reports_ui/VistaPrevia.h"
#include "startup/AjustesTerminal.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <memory>

class QAbstractButton;
namespace Ui {
class frmPrincipalCronicas;
}

class frmPrincipalCronicas : public QWidget {
  Q_OBJECT

 public:
  // Lo que la ventana necesita del programa; las pruebas lo llenan a su gusto.
  struct Entorno {
    AjustesTerminal* ajustes = nullptr;
    SeleccionInforme* seleccion = nullptr;
    sistema::Notificador* notificador = nullptr;
    const sistema::Reloj* reloj = nullptr;
    sistema::Lanzador* lanzador = nullptr;  // sin lanzador no se arranca nada
    QString carpetaPrograma;
    registro::OpcionesSalida opciones;
    QString ficheroExportacion;  // la hoja de cálculo de los resúmenes que se envían
    QString carpetaSalida;       // donde empiezan los diálogos de guardar de la vista previa
    registro::ConfiguracionCorreo correo;
    int intervaloProgreso = 1000;  // ms por tic del formulario de progreso
    QRect pantalla;                // vacía: la pantalla de la ventana
  };

  explicit frmPrincipalCronicas(Entorno entorno, QWidget* padre = nullptr);
  ~frmPrincipalCronicas() override;

  void HabilitarFrames(bool habilitado);
  // Lo que hace un botón de gráfico disponible: guarda su título y su número
  // para el formulario de gráficos y enseña el panel de mes y año.
  void pedirMes(const QString& titulo, qint16 codigo);
  // La secuencia de un botón de informe: diálogos, constructor y vista previa.
  void ejecutarBoton(const registro::BotonInforme& boton, QAbstractButton* control);

  const QString& nombrePais() const { return pais_; }
  const QString& tituloGraficoPendiente() const { return tituloGrafico_; }
  qint16 codigoGraficoPendiente() const { return codigoGrafico_; }
  // La última vista previa abierta, mientras siga abierta.
  VistaPrevia* ultimaVista() const { return ultimaVista_; }

 signals:
  // cmd_Salir o la caja de cierre: el programa termina.
  void salir();

 protected:
  void closeEvent(QCloseEvent* evento) override;

 private:
  void ColorearMe();
  void PantallaInicial();
  void CargarAños();
  void CargarMeses();
  void RestriccionesXPrograma();
  void ObtenerNombrePais();
  void conectarBotones();
  void mostrarMeses(bool mostrar);
  // El formulario de gráficos con el gráfico pendiente y el mes del panel.
  void abrirGrafico();
  // Los letreros de ofertas y, desde ellos, las etiquetas de precio.
  void abrirLetreros();

  bool pedirDialogos(const registro::BotonInforme& boton, QAbstractButton* control);
  void mostrarInforme(const registro::BotonInforme& boton);
  // El listado detallado en formato ticket no tiene plantilla: su texto se
  // ve en su propio visor, que lo imprime.
  void mostrarTextoTicket();
  template <class Dialogo>
  int abrir(Dialogo& dialogo);
  void avisarProximaVersion();
  void abrirStockProveedores();
  QRect pantalla() const;

  std::unique_ptr<Ui::frmPrincipalCronicas> ui_;
  Entorno e_;
  QString pais_;
  QString tituloGrafico_;
  qint16 codigoGrafico_ = 0;
  QPointer<VistaPrevia> ultimaVista_;
};
