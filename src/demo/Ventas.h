#pragma once
// Las ventas y el movimiento diario de la tienda: cajas, gastos, reservas,
// pedidos, stock y las ventas abiertas de hoy.

#include "demo/Demo.h"
#include "demo/Tienda.h"

namespace demo {

// Escribe los días [desde, hasta] y las ventas abiertas del día siguiente a
// `hasta`. No abre ni cierra transacciones: eso es del que llama.
Recuento EscribirVentas(const datos::Conexion& conexion, const Tienda& tienda, const OpcionesDemo& opciones,
                        const QDate& desde, const QDate& hasta, const Progreso& progreso);

}  // namespace demo
