#pragma once
// El arranque con ventana: los ajustes, el puesto y la ventana principal,
// que vive hasta que se pulsa Salir.

#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "registro/SeleccionInforme.h"
#include "reports_ui/frmPrincipalCronicas.h"
#include "startup/AjustesTerminal.h"

#include <QLocale>
#include <QTranslator>

#include <memory>

namespace ventana {

// Todo lo que vive mientras la ventana está abierta.
struct Programa {
  std::unique_ptr<ajustes::AlmacenAjustes> almacen;
  // Los textos de los diálogos de Qt (imprimir, guardar) en el idioma regional.
  std::unique_ptr<QTranslator> traduccionQt;
  AjustesTerminal ajustes;
  SeleccionInforme seleccion;
  sistema::RelojSistema reloj;
  sistema::Lanzador lanzador;
  std::unique_ptr<sistema::Notificador> notificadorPropio;
  sistema::Notificador* notificador = nullptr;
  std::unique_ptr<frmPrincipalCronicas> principal;
};

struct OpcionesArranque {
  bool buscarActualizaciones = true;
  // Sin él, los mensajes salen en cuadros de diálogo. Tiene que vivir más
  // que el programa.
  sistema::Notificador* notificador = nullptr;
};

// Instala en la aplicación las traducciones de Qt del idioma de `regional`
// y las devuelve (quitarlas es destruirlas). Nulo si Qt no las trae para
// ese idioma.
std::unique_ptr<QTranslator> InstalarTraduccionesQt(const QLocale& regional);

// Arranca el puesto con el fichero de ajustes y crea la ventana principal sin
// enseñarla. Lo que impide arrancar se avisa por el notificador y da nullptr.
std::unique_ptr<Programa> PrepararPrograma(const QString& ficheroAjustes, OpcionesArranque opciones = {});

// Abre la ventana y espera a que se cierre. Devuelve el código de salida.
int EjecutarVentana(const QString& ficheroAjustes);

}  // namespace ventana
