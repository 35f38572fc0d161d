#pragma once
// Las ventas eliminadas y los descuentos de un intervalo, en una sola tabla:
// líneas de ventas anuladas enteras (T o P), líneas anuladas sueltas (P, FC o
// C) y líneas vendidas con descuento (D). Lo usan la hoja y el ticket.

#include "builders/Informes.h"

namespace informes {

void CrearVentasEliminadas(Contexto& ctx);

}  // namespace informes
