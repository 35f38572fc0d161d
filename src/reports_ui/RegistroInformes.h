#pragma once
// El registro de botones de informe: título, diálogos, constructor, plantilla
// e impresora de cada botón, declarado una sola vez. La ventana principal
// monta sus acciones con él, la línea de órdenes lo recorre y las pruebas
// también.

#include "builders/Informes.h"

#include <QString>

#include <functional>
#include <vector>

namespace registro {

enum class Dialogo {
  Ninguno,              // listados sin fechas
  Fechas,               // diálogo de fechas y cambio al ejercicio cerrado
  EmpleadoYFechas,      // primero el empleado, después las fechas
  FechasYNumVentas,     // fechas con el umbral de ventas a la vista
  FechasYAgrupacion,    // fechas y después por zonas o por empleados
  FechasYFormatoZonas,  // fechas y después general o totalizado por productos
};

// Cómo se entrega el informe cuando hay filas.
enum class Entrega {
  Imprimir,                // vista previa e impresión
  ExportarEnviarImprimir,  // además, hoja de cálculo enviada por correo
};

enum class ImpresoraDestino { Informes, Ticket };

struct BotonInforme {
  QString boton;   // nombre del control: cmdProductos
  QString titulo;  // texto del botón
  Dialogo dialogo = Dialogo::Ninguno;
  // Vacío mientras el informe no está hecho: el botón existe y lo dice.
  std::function<void(informes::Contexto&)> constructor;
  QString plantilla;  // "productos.rpt"; vacía si el constructor enseña él mismo el informe
  // Plantilla del formato totalizado por productos (FormatoZonas 2).
  QString plantillaTotalizada;
  ImpresoraDestino impresora = ImpresoraDestino::Informes;
  Entrega entrega = Entrega::Imprimir;
  // Informes largos que no se hacen desde un puesto con la base en otra máquina.
  bool rechazarEnRemoto = false;
  // La casilla «Completo» del diálogo de fechas sólo aparece con el módulo de
  // facturas.
  bool completoConModuloFactura = false;
  // Encabezado del diálogo de fechas cuando no es el texto del botón.
  QString encabezado;

  bool disponible() const { return static_cast<bool>(constructor); }
  bool conFechas() const { return dialogo != Dialogo::Ninguno; }
  // La plantilla que toca con lo que se eligió en los diálogos.
  QString plantillaPara(const SeleccionInforme& seleccion) const;
};

// Mensaje de los informes que se rechazan en un puesto remoto.
extern const QString kAvisoRemoto;

// Todos los botones de informe de la ventana principal, hechos o no.
const std::vector<BotonInforme>& Botones();
const BotonInforme* BuscarBoton(const QString& boton);

// Aviso de los botones cuyo informe o formulario aún no está hecho.
extern const QString kAvisoProximaVersion;

}  // namespace registro
