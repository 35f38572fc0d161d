#include "reports_ui/RegistroInformes.h"

#include "builders/InformesCaja.h"
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
      {.boton = QStringLiteral("cmdCierreCaja"),
       .titulo = QStringLiteral("Ventas Detalladas por Empleados"),
       .dialogo = Dialogo::EmpleadoYFechas,
       .constructor = informes::CrearCierreCaja,
       .plantilla = QStringLiteral("cierredecaja2.rpt")},
      {.boton = QStringLiteral("cmdResumenVentasXEmpleado"),
       .titulo = QStringLiteral("Resumen de Venta por Empleados"),
       .dialogo = Dialogo::Fechas,
       .constructor = informes::CrearResumenVentasEmpleados,
       .plantilla = QStringLiteral("ResumenVentasTotales2.rpt"),
       .rechazarEnRemoto = true,
       .completoConModuloFactura = true},
      {.boton = QStringLiteral("cmdVentasXFPago"),
       .titulo = QStringLiteral("Ventas por formas de pago"),
       .dialogo = Dialogo::Fechas,
       .constructor = informes::CrearVentasFormasPago,
       .plantilla = QStringLiteral("VentasXFormasPago.rpt")},
      {.boton = QStringLiteral("cmdCierreResumido"),
       .titulo = QStringLiteral("Ventas Generales por Dia"),
       .dialogo = Dialogo::Fechas,
       .constructor = informes::CrearCierreResumido,
       .plantilla = QStringLiteral("ResumenVentas.rpt"),
       .entrega = Entrega::ExportarEnviarImprimir},
      {.boton = QStringLiteral("cmdRepDominicana"),
       .titulo = QStringLiteral("Ventas NCF Rep. Dominicana"),
       .dialogo = Dialogo::Fechas,
       .constructor = informes::CrearResumenFiscal,
       .plantilla = QStringLiteral("ResumenVentas1.rpt"),
       .entrega = Entrega::ExportarEnviarImprimir,
       .encabezado = QStringLiteral("Ventas Generales por Dia")},
  };
  return botones;
}

const QString kAvisoRemoto =
    QStringLiteral("Este listado puede tardar unos minutos le recomendamos que lo haga desde el Servidor.");

const BotonInforme* BuscarBoton(const QString& boton) {
  for (const BotonInforme& b : Botones())
    if (b.boton.compare(boton, Qt::CaseInsensitive) == 0) return &b;
  return nullptr;
}

}  // namespace registro
