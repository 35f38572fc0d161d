#pragma once
// Los informes de la gente y de lo que pasa por la caja aparte de las ventas:
// pedidos a proveedores, comandas de cocina contra ventas, empleado del mes,
// retiradas, ventas con promoción, gastos y propinas. Leen el intervalo de
// la selección y dejan sus filas en Informes.

#include "builders/Informes.h"

namespace informes {

void CrearPedidosProveedor(Contexto& ctx);
void CrearPedidosCocinaXVentas(Contexto& ctx);

void CrearEmpleadoMes(Contexto& ctx);
void CrearRetiradas(Contexto& ctx);
void CrearVentasPromociones(Contexto& ctx);
void CrearGastos(Contexto& ctx);
void CrearPropinas(Contexto& ctx);

// Un día leído de la base como "dd/mm/aaaa"; lo que no es un día se copia tal
// cual antes que perderlo.
QVariant DiaEnTexto(const QVariant& v);

}  // namespace informes
