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
  Ninguno,  // listados sin fechas
  Fechas,   // diálogo de fechas y cambio al ejercicio cerrado
};

enum class ImpresoraDestino { Informes, Ticket };

struct BotonInforme {
  QString boton;   // nombre del control: cmdProductos
  QString titulo;  // texto del botón
  Dialogo dialogo = Dialogo::Ninguno;
  std::function<void(informes::Contexto&)> constructor;
  QString plantilla;  // "productos.rpt"
  ImpresoraDestino impresora = ImpresoraDestino::Informes;
};

const std::vector<BotonInforme>& Botones();
const BotonInforme* BuscarBoton(const QString& boton);

}  // namespace registro
