#pragma once
// El registro de los botones de la ventana principal: informes, gráficos y
// formularios, declarados una sola vez con lo que hace cada uno. La ventana
// principal monta sus acciones con él, la línea de órdenes lo recorre, las
// pruebas y las mediciones también. Un informe, un gráfico o un formulario
// nuevo es una fila más.

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
  TextoTicket,             // sin plantilla: el texto del ticket en su ventana, que lo imprime línea a línea
};

enum class ImpresoraDestino { Informes, Ticket };

// Lo que hace el botón.
enum class Clase {
  Informe,     // diálogos, constructor y plantilla
  Grafico,     // el panel de meses y el formulario de gráficos con su número
  Formulario,  // un formulario propio: letreros, stock por proveedor
};

struct BotonInforme {
  QString boton;   // nombre del control: cmdProductos
  QString titulo;  // texto del botón
  Clase clase = Clase::Informe;
  // La familia del informe ("maestros", "caja"...): los informes que leen
  // las mismas tablas y se prueban sobre la misma tienda.
  QString familia;
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
  // Gráficos: el número de la serie que dibuja el formulario de gráficos.
  qint16 grafico = -1;
  // Gráficos y formularios: ya hechos. Un informe lo está si tiene constructor.
  bool hecho = false;

  // Un botón que aún no está hecho existe, y al pulsarlo lo dice.
  bool disponible() const { return clase == Clase::Informe ? static_cast<bool>(constructor) : hecho; }
  bool esInforme() const { return clase == Clase::Informe; }
  // Se saca sin ventana (línea de órdenes, pruebas, mediciones): un informe
  // hecho o un formulario que además tiene su constructor y su plantilla.
  bool sinVentana() const { return disponible() && static_cast<bool>(constructor); }
  bool conFechas() const { return dialogo != Dialogo::Ninguno; }
  // La plantilla que toca con lo que se eligió en los diálogos.
  QString plantillaPara(const SeleccionInforme& seleccion) const;
};

// Mensaje de los informes que se rechazan en un puesto remoto.
extern const QString kAvisoRemoto;

// Los informes largos no se hacen desde un puesto con la base de ventas en
// otra máquina: verdadero, y avisado, si este es uno de ellos.
bool RechazadoEnEstePuesto(const BotonInforme& boton, informes::Contexto& ctx);

// Todos los botones de la ventana principal, hechos o no.
const std::vector<BotonInforme>& Botones();
const BotonInforme* BuscarBoton(const QString& boton);

// Aviso de los botones cuyo informe o formulario aún no está hecho.
extern const QString kAvisoProximaVersion;

}  // namespace registro
