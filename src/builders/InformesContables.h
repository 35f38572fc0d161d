#pragma once
// Los informes contables y de productos sobre un intervalo de días: el
// resumen contable de facturas, los impuestos repercutidos, los productos
// más vendidos y sin ventas, el consumo de platos de menú y las reservas.

#include "builders/Busquedas.h"
#include "builders/Informes.h"

namespace informes {

void CrearResumenContable(Contexto& ctx);
void CrearImpuestosRepercutidos(Contexto& ctx);
void CrearProductosMasVendidos(Contexto& ctx);
void CrearProductosSinVentas(Contexto& ctx);
void CrearConsumoMenus(Contexto& ctx);
void CrearReservas(Contexto& ctx);

// El nombre de un empleado en sus dos primeras palabras, partiendo en cada
// blanco: con dos blancos seguidos la segunda palabra es la vacía.
QString DosPalabras(const QString& nombre);

}  // namespace informes
