#include "reports_ui/frmPrincipalCronicas.h"

#include "builders/InformesTicket.h"
#include "charts/frmGraficos.h"
#include "labels/Buscar.h"
#include "labels/frmListado.h"
#include "labels/frmOpcionesLetreros.h"
#include "platform/motor/Informe.h"
#include "registro/CargarEmpleados.h"
#include "registro/EjecutarInforme.h"
#include "registro/Principal.h"
#include "reports_ui/ImprimirReport.h"
#include "reports_ui/VistaPrevia.h"
#include "reports_ui/frmFechas.h"
#include "reports_ui/frmPreImpresion.h"
#include "reports_ui/frmSelEmpleado.h"
#include "reports_ui/frmSelGeneral_o_Totalizado.h"
#include "reports_ui/frmSelZona_o_Empleado.h"
#include "reports_ui/frmparar.h"
#include "startup/Arranque.h"
#include "startup/AspectoFormulario.h"
#include "startup/Permisos.h"
#include "ui_frmPrincipalCronicas.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLocale>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace {
const QString kCronicas = QStringLiteral("Cronicas");

// Una rejilla de botones sin huecos: los visibles seguidos en su orden y los
// escondidos detrás, para que el tipo de negocio o el país no dejen agujeros.
void Compactar(QWidget& marco) {
  auto* rejilla = qobject_cast<QGridLayout*>(marco.layout());
  if (!rejilla) return;
  struct Celda {
    int fila;
    int columna;
    QWidget* control;
  };
  std::vector<Celda> celdas;
  for (int i = 0; i < rejilla->count(); ++i) {
    int fila = 0, columna = 0, filas = 0, columnas = 0;
    rejilla->getItemPosition(i, &fila, &columna, &filas, &columnas);
    if (QWidget* w = rejilla->itemAt(i)->widget()) celdas.push_back({fila, columna, w});
  }
  std::stable_sort(celdas.begin(), celdas.end(), [](const Celda& a, const Celda& b) {
    return std::pair(a.fila, a.columna) < std::pair(b.fila, b.columna);
  });
  const int columnas = std::max(1, rejilla->columnCount());
  for (const Celda& c : celdas) rejilla->removeWidget(c.control);
  // Columnas iguales: todos los botones de un marco del mismo ancho, el que
  // pide el texto más largo.
  int ancho = 0;
  for (const Celda& c : celdas)
    if (!c.control->isHidden()) ancho = std::max(ancho, c.control->sizeHint().width());
  for (int c = 0; c < columnas; ++c) {
    rejilla->setColumnMinimumWidth(c, ancho);
    rejilla->setColumnStretch(c, 1);
  }
  int n = 0;
  for (const bool escondidos : {false, true})
    for (const Celda& c : celdas)
      if (c.control->isHidden() == escondidos) {
        rejilla->addWidget(c.control, n / columnas, n % columnas);
        ++n;
      }
}
}  // namespace

frmPrincipalCronicas::frmPrincipalCronicas(Entorno entorno, QWidget* padre)
    : QWidget(padre), ui_(std::make_unique<Ui::frmPrincipalCronicas>()), e_(std::move(entorno)) {
  ui_->setupUi(this);
  ui_->cmdRepDominicana->setVisible(false);
  ui_->Command1->setVisible(false);
  ui_->cmd_Salir->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  ui_->cmdAceptarMeses->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  ui_->cmdCancelar->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

  ColorearMe();
  if (e_.pantalla.isValid())
    aspecto::EscalarFormulario(*this, e_.pantalla);
  else
    aspecto::EscalarFormulario(*this);
  PantallaInicial();
  // Los permisos van después del tipo de negocio: un botón que el negocio
  // esconde sigue escondido y uno restringido se ve deshabilitado.
  try {
    Permisos::AplicarRestricciones(*e_.ajustes->ConexionVentas, *this, e_.ajustes->EmpleadoTerminal);
  } catch (const datos::ErrorDatos&) {
    // Sin tablas de permisos no hay nada restringido.
  }
  ObtenerNombrePais();
  if (principal::EsRepublicaDominicana(pais_)) ui_->cmdRepDominicana->setVisible(true);
  for (QWidget* marco : {static_cast<QWidget*>(ui_->Frame5), static_cast<QWidget*>(ui_->Frame2),
                         static_cast<QWidget*>(ui_->Frame3), static_cast<QWidget*>(ui_->frVentas)})
    Compactar(*marco);
  conectarBotones();
}

frmPrincipalCronicas::~frmPrincipalCronicas() = default;

void frmPrincipalCronicas::ColorearMe() {
  const AjustesTerminal& at = *e_.ajustes;
  try {
    aspecto::Colorear(*this, at.IdColor, *at.ConexionVentas, at.IdTerminal);
  } catch (const datos::ErrorDatos&) {
    // Sin paleta la ventana se usa igual con los colores de diseño.
  }
  aspecto::PonerColorFondo(*ui_->frCorreo, QColor(255, 255, 0));
  const QColor cabecera = aspecto::ColorFondo(*ui_->frCabecera);
  for (QWidget* marco :
       {static_cast<QWidget*>(ui_->frVentas), static_cast<QWidget*>(ui_->Frame2), static_cast<QWidget*>(ui_->Frame5),
        static_cast<QWidget*>(ui_->frVentasInfo), static_cast<QWidget*>(ui_->Frame1),
        static_cast<QWidget*>(ui_->Frame4), static_cast<QWidget*>(ui_->Frame3)})
    aspecto::PonerColorFondo(*marco, cabecera);
  aspecto::PonerColorTexto(*ui_->Label5, Qt::black);
}

void frmPrincipalCronicas::PantallaInicial() {
  // El panel de meses ocupa el sitio de los gráficos mientras se elige.
  mostrarMeses(false);
  CargarAños();
  CargarMeses();
  RestriccionesXPrograma();
  ui_->frCorreo->setVisible(principal::MostrarMarcoCorreo(*e_.ajustes));
}

void frmPrincipalCronicas::CargarAños() {
  ui_->cbAño->clear();
  ui_->cbAño->addItems(principal::CargarAños(e_.reloj->hoy()));
  ui_->cbAño->setCurrentIndex(0);
}

void frmPrincipalCronicas::CargarMeses() {
  ui_->cbMes->clear();
  ui_->cbMes->addItems(principal::Meses());
  ui_->cbMes->setCurrentIndex(e_.reloj->hoy().month() - 1);
}

void frmPrincipalCronicas::RestriccionesXPrograma() {
  // Sólo se esconde: al compactar la rejilla, el botón que sigue al
  // escondido (la cocina tras las promociones) ocupa su sitio.
  for (const QString& nombre : principal::RestriccionesXPrograma(e_.ajustes->TipoPrograma))
    if (auto* w = findChild<QWidget*>(nombre)) w->setVisible(false);
}

void frmPrincipalCronicas::ObtenerNombrePais() {
  pais_ = principal::ObtenerNombrePais(*e_.ajustes->ConexionVentas);
}

void frmPrincipalCronicas::HabilitarFrames(bool habilitado) {
  for (QWidget* w : {static_cast<QWidget*>(ui_->frVentas), static_cast<QWidget*>(ui_->Frame3),
                     static_cast<QWidget*>(ui_->Frame5), static_cast<QWidget*>(ui_->cmd_Salir)})
    w->setEnabled(habilitado);
}

void frmPrincipalCronicas::pedirMes(const QString& titulo, qint16 codigo) {
  tituloGrafico_ = titulo;
  codigoGrafico_ = codigo;
  HabilitarFrames(false);
  mostrarMeses(true);
}

void frmPrincipalCronicas::mostrarMeses(bool mostrar) {
  ui_->pilaGraficos->setCurrentWidget(mostrar ? static_cast<QWidget*>(ui_->frMeses) : ui_->paginaGraficos);
}

void frmPrincipalCronicas::avisarProximaVersion() {
  e_.notificador->mensaje(registro::kAvisoProximaVersion, kCronicas, sistema::Icono::Informacion);
}

void frmPrincipalCronicas::conectarBotones() {
  for (const registro::BotonInforme& b : registro::Botones()) {
    auto* control = findChild<QAbstractButton*>(b.boton);
    if (!control) continue;
    connect(control, &QAbstractButton::clicked, this, [this, &b, control] {
      if (!b.disponible()) {
        avisarProximaVersion();
        return;
      }
      switch (b.clase) {
        case registro::Clase::Informe:
          ejecutarBoton(b, control);
          break;
        case registro::Clase::Grafico:
          pedirMes(control->text(), b.grafico);
          break;
        case registro::Clase::Formulario:
          if (b.boton == QLatin1String("cmdStockXProveedores"))
            abrirStockProveedores();
          else if (b.boton == QLatin1String("cmdLetreros"))
            abrirLetreros();
          break;
      }
    });
  }

  connect(ui_->cmdAceptarMeses, &QAbstractButton::clicked, this, [this] {
    abrirGrafico();
    mostrarMeses(false);
    HabilitarFrames(true);
  });
  connect(ui_->cmdCancelar, &QAbstractButton::clicked, this, [this] {
    mostrarMeses(false);
    HabilitarFrames(true);
  });
  connect(ui_->Command2, &QAbstractButton::clicked, this, [this] {
    if (e_.lanzador) e_.lanzador->lanzar(e_.carpetaPrograma, principal::kProgramaCorreo);
  });
  connect(ui_->Command1, &QAbstractButton::clicked, this, [this] {
    try {
      Permisos::GenerarAtributos(*e_.ajustes->ConexionVentas, *this);
    } catch (const datos::ErrorDatos& error) {
      e_.notificador->mensaje(error.mensaje(), kCronicas, sistema::Icono::Critico);
    }
  });
  connect(ui_->cmd_Salir, &QAbstractButton::clicked, this, &QWidget::close);
}

void frmPrincipalCronicas::abrirGrafico() {
  // El mes se nombra en el idioma de los informes.
  QLocale::setDefault(motor::ConfiguracionRegional(e_.opciones.regional));
  frmGraficos graficos({e_.ajustes, e_.notificador, aspecto::ColorTexto(*ui_->lblTitulo), pantalla()}, this);
  graficos.NombreGrafico = tituloGrafico_;
  graficos.mes = QString::number(ui_->cbMes->currentIndex() + 1);
  graficos.año = ui_->cbAño->currentText();
  graficos.NumGrafico = codigoGrafico_;
  graficos.Cargar();
  graficos.move(pantalla().topLeft());
  graficos.exec();
}

void frmPrincipalCronicas::abrirLetreros() {
  frmOpcionesLetreros::Entorno e;
  e.ajustes = e_.ajustes;
  e.notificador = e_.notificador;
  e.reloj = e_.reloj;
  e.opciones = e_.opciones;
  e.carpetaSalida = e_.carpetaSalida;
  e.intervaloProgreso = e_.intervaloProgreso;
  e.pantalla = pantalla();
  e.buscarProducto = [this](QWidget* padre) {
    const AjustesTerminal& at = *e_.ajustes;
    QString codigo = QStringLiteral("-1");
    etiquetas::Buscar buscar(*at.ConexionVentas, codigo, padre);
    buscar.modoBusqueda = QStringLiteral("Pr");
    buscar.iUser = 0;
    buscar.Idioma = at.Idioma;
    buscar.pantalla = pantalla();
    try {
      aspecto::Colorear(buscar, at.IdColor, *at.ConexionVentas, at.IdTerminal);
    } catch (const datos::ErrorDatos&) {
      // Sin paleta la búsqueda se usa igual con los colores de diseño.
    }
    buscar.exec();
    return codigo;
  };
  frmOpcionesLetreros letreros(std::move(e), this);
  letreros.move(pantalla().topLeft());
  letreros.exec();
}

void frmPrincipalCronicas::closeEvent(QCloseEvent* evento) {
  evento->accept();
  emit salir();
}

QRect frmPrincipalCronicas::pantalla() const {
  return e_.pantalla.isValid() ? e_.pantalla : screen()->availableGeometry();
}

template <class Dialogo>
int frmPrincipalCronicas::abrir(Dialogo& dialogo) {
  const AjustesTerminal& at = *e_.ajustes;
  try {
    aspecto::Colorear(dialogo, at.IdColor, *at.ConexionVentas, at.IdTerminal);
  } catch (const datos::ErrorDatos&) {
    // Sin paleta el diálogo se usa igual con los colores de diseño.
  }
  if constexpr (requires { dialogo.colorearEspecial(QColor()); }) {
    // Cada diálogo copia un color de esta ventana: el del título o el de la
    // cabecera.
    if constexpr (std::is_same_v<Dialogo, frmSelEmpleado>)
      dialogo.colorearEspecial(aspecto::ColorFondo(*ui_->frCabecera));
    else
      dialogo.colorearEspecial(aspecto::ColorTexto(*ui_->lblTitulo));
  }
  const QRect area = pantalla();
  aspecto::EscalarFormulario(dialogo, area);
  dialogo.move(area.topLeft());
  return dialogo.exec();
}

bool frmPrincipalCronicas::pedirDialogos(const registro::BotonInforme& boton, QAbstractButton* control) {
  AjustesTerminal& at = *e_.ajustes;
  SeleccionInforme& s = *e_.seleccion;
  using registro::Dialogo;
  if (boton.dialogo == Dialogo::EmpleadoYFechas) {
    std::vector<Tesela> empleados;
    try {
      empleados = CargarEmpleados(*at.ConexionVentas);
    } catch (const datos::ErrorDatos& error) {
      e_.notificador->mensaje(error.mensaje(), kCronicas, sistema::Icono::Critico);
      return false;
    }
    frmSelEmpleado empleado(std::move(empleados), s, this);
    // Cerrar la ventana sin elegir a nadie no hace el cierre de otro.
    if (abrir(empleado) != QDialog::Accepted) return false;
  }

  frmFechas fechas(s, *e_.reloj, this);
  fechas.ponerTipoInforme(boton.encabezado.isEmpty() ? control->text() : boton.encabezado);
  if (boton.completoConModuloFactura) {
    bool modulo = false;
    try {
      modulo = arranque::ModuloFactura(at);
    } catch (const datos::ErrorDatos&) {
      // Sin opciones que leer no hay módulo de facturas: la casilla no sale.
    }
    if (modulo) fechas.mostrarCompleto();
  }
  if (boton.dialogo == Dialogo::FechasYNumVentas) {
    s.NumVentas = 1;
    fechas.MostrarNumVentas();
  }
  abrir(fechas);
  if (!s.Aceptado) return false;

  if (boton.dialogo == Dialogo::FechasYAgrupacion) {
    s.PorEmpleados = false;
    s.PorZonas = false;
    frmSelZona_o_Empleado agrupacion(s, this);
    abrir(agrupacion);
    if (!s.Aceptado) return false;
  }
  if (boton.dialogo == Dialogo::FechasYFormatoZonas) {
    s.FormatoZonas = -1;
    frmSelGeneral_o_Totalizado formato(s, this);
    abrir(formato);
    // Cancelado no se imprime nada, aunque Informes guarde filas del anterior.
    if (s.FormatoZonas == -1) return false;
  }
  return true;
}

void frmPrincipalCronicas::ejecutarBoton(const registro::BotonInforme& boton, QAbstractButton* control) {
  AjustesTerminal& at = *e_.ajustes;
  informes::Contexto ctx{at, *e_.seleccion, *e_.notificador, *e_.reloj};
  // Antes de cualquier diálogo: no se piden fechas para nada.
  if (registro::RechazadoEnEstePuesto(boton, ctx)) return;
  if (boton.conFechas() && !pedirDialogos(boton, control)) return;

  registro::Ejecucion ejecucion;
  {
    const registro::CursorEspera espera;
    ejecucion = registro::EjecutarBoton(boton, ctx);
  }
  if (ejecucion.resultado != registro::Resultado::ConDatos) return;
  if (boton.entrega == registro::Entrega::TextoTicket)
    mostrarTextoTicket();
  else
    mostrarInforme(boton);
}

void frmPrincipalCronicas::mostrarTextoTicket() {
  const AjustesTerminal& at = *e_.ajustes;
  try {
    const int ancho = informes::NumCaracteresImpresora(*at.ConexionVentas, at.ImpresoraTicket);
    const informes::TextoTicket t = informes::ComponerListadoTicket(*at.ConexionInformes, ancho, at.NumDecimales,
                                                                    motor::ConfiguracionRegional(e_.opciones.regional));
    frmPreImpresion visor(*at.ConexionVentas, at.ImpresoraTicket, *e_.notificador, this);
    visor.ponerTexto(t.texto);
    visor.numCaracteres = t.ancho;
    abrir(visor);
  } catch (const datos::ErrorDatos& error) {
    e_.notificador->mensaje(error.mensaje(), kCronicas, sistema::Icono::Critico);
  }
}

void frmPrincipalCronicas::mostrarInforme(const registro::BotonInforme& boton) {
  const AjustesTerminal& at = *e_.ajustes;
  frmparar progreso(this, e_.intervaloProgreso);
  try {
    aspecto::Colorear(progreso, at.IdColor, *at.ConexionVentas, at.IdTerminal);
    if (at.Idioma != QLatin1String("CASTELLANO")) aspecto::TraducirFormulario(progreso, *at.ConexionVentas);
  } catch (const datos::ErrorDatos&) {
    // El aviso de progreso sale igual, con sus colores y textos de diseño.
  }
  progreso.exec();

  const QString plantilla = boton.plantillaPara(*e_.seleccion);
  if (plantilla.isEmpty()) return;
  registro::Vista vista;
  vista.informes = at.ConexionInformes.get();
  vista.opciones = e_.opciones;
  if (boton.impresora == registro::ImpresoraDestino::Ticket) {
    try {
      // El rollo sale con los caracteres por línea de la impresora de tickets.
      vista.opciones.caracteresTicket = informes::NumCaracteresImpresora(*at.ConexionVentas, at.ImpresoraTicket);
    } catch (const datos::ErrorDatos&) {
      // Sin tabla de impresoras, los caracteres de la plantilla.
    }
  }
  vista.impresora = registro::DarImpresora(
      boton.impresora == registro::ImpresoraDestino::Ticket ? at.ImpresoraTicket : at.ImpresoraInformes);
  vista.notificador = e_.notificador;
  vista.reloj = e_.reloj;
  vista.padre = this;
  vista.pantalla = pantalla();
  vista.carpetaSalida = e_.carpetaSalida;
  VistaPrevia* previa =
      boton.entrega == registro::Entrega::ExportarEnviarImprimir
          ? registro::ImprimirReportYEnviarMail(vista, plantilla, e_.ficheroExportacion, at, e_.correo)
          : registro::ImprimirReport(vista, plantilla);
  progreso.cerrar();
  if (previa) ultimaVista_ = previa;
}

// La valoración por proveedor: su formulario elige, construye y enseña el
// informe él mismo, con la misma conexión de informes que los demás.
void frmPrincipalCronicas::abrirStockProveedores() {
  frmListado::Entorno entorno{e_.ajustes,  e_.seleccion,     e_.notificador,       e_.reloj,
                              e_.opciones, e_.carpetaSalida, e_.intervaloProgreso, pantalla()};
  frmListado listado(entorno, this);
  abrir(listado);
}
