#include "reports_ui/RegistroInformes.h"

#include "builders/ListadosMaestros.h"

namespace registro {

const std::vector<BotonInforme>& Botones() {
  using informes::Contexto;
  static const std::vector<BotonInforme> botones = {
      {QStringLiteral("cmdProductos"), QStringLiteral("Listado de Productos"), Dialogo::Ninguno,
       informes::CrearListadoProductos, QStringLiteral("productos.rpt"), ImpresoraDestino::Informes},
      {QStringLiteral("cmdFamilias"), QStringLiteral("Listado de Familias"), Dialogo::Ninguno,
       informes::CrearListadoFamilias, QStringLiteral("familias.rpt"), ImpresoraDestino::Informes},
      {QStringLiteral("cmdEmpleados"), QStringLiteral("Listado de Empleados"), Dialogo::Ninguno,
       informes::CrearListadoEmpleados, QStringLiteral("Empleados.rpt"), ImpresoraDestino::Informes},
      {QStringLiteral("cmdClientes"), QStringLiteral("Listado de Clientes"), Dialogo::Ninguno,
       informes::CrearListadoClientes, QStringLiteral("clientes.rpt"), ImpresoraDestino::Informes},
      {QStringLiteral("cmdFormasPago"), QStringLiteral("Formas de Pago"), Dialogo::Ninguno,
       informes::CrearListadoFormasPago, QStringLiteral("FormasPago.rpt"), ImpresoraDestino::Informes},
      {QStringLiteral("cmdProveedores"), QStringLiteral("Listado de Proveedores"), Dialogo::Ninguno,
       informes::CrearListadoProveedores, QStringLiteral("proveedores.rpt"), ImpresoraDestino::Informes},
      {QStringLiteral("cmdBajoMinimo"), QStringLiteral("Productos Bajo Minimo"), Dialogo::Ninguno,
       informes::CrearProductosBajoMinimo, QStringLiteral("ProductosBajoMinimo.rpt"), ImpresoraDestino::Informes},
      {QStringLiteral("cmdStockGeneral"), QStringLiteral("Valoracion de Stock General"), Dialogo::Ninguno,
       informes::CrearValoracionStock, QStringLiteral("valoracionstock.rpt"), ImpresoraDestino::Informes},
      {QStringLiteral("cmdProdBajoMinimoTicket"), QStringLiteral("Productos bajo minimo formato Ticket"),
       Dialogo::Ninguno, informes::CrearProductosBajoMinimo, QStringLiteral("ProductosBajoMinimoTicket.rpt"),
       ImpresoraDestino::Ticket},
  };
  return botones;
}

const BotonInforme* BuscarBoton(const QString& boton) {
  for (const BotonInforme& b : Botones())
    if (b.boton.compare(boton, Qt::CaseInsensitive) == 0) return &b;
  return nullptr;
}

}  // namespace registro
