#pragma once
// Listados de datos maestros: una consulta, una fila de Informes por registro.

#include "builders/Informes.h"

namespace informes {

void CrearListadoProductos(Contexto& ctx);
void CrearProductosBajoMinimo(Contexto& ctx);
void CrearListadoClientes(Contexto& ctx);
void CrearListadoEmpleados(Contexto& ctx);
void CrearListadoFamilias(Contexto& ctx);
void CrearListadoFormasPago(Contexto& ctx);
void CrearListadoProveedores(Contexto& ctx);
void CrearValoracionStock(Contexto& ctx);

}  // namespace informes
