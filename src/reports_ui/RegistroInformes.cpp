#include "reports_ui/RegistroInformes.h"

#include "builders/InformesCaja.h"
#include "builders/ListadosMaestros.h"

namespace registro {

namespace {
// Un listado sin fechas.
BotonInforme SinFechas(const QString& boton, const QString& titulo,
                       std::function<void(informes::Contexto&)> constructor, const QString& plantilla,
                       ImpresoraDestino impresora) {
  BotonInforme b;
  b.boton = boton;
  b.titulo = titulo;
  b.constructor = std::move(constructor);
  b.plantilla = plantilla;
  b.impresora = impresora;
  return b;
}

// Un botón de informe con fechas; `ajustar` cambia lo que lo distingue.
BotonInforme ConFechas(const QString& boton, const QString& titulo,
                       std::function<void(informes::Contexto&)> constructor, const QString& plantilla,
                       const std::function<void(BotonInforme&)>& ajustar = {}) {
  BotonInforme b;
  b.boton = boton;
  b.titulo = titulo;
  b.dialogo = Dialogo::Fechas;
  b.constructor = std::move(constructor);
  b.plantilla = plantilla;
  if (ajustar) ajustar(b);
  return b;
}
}  // namespace

const std::vector<BotonInforme>& Botones() {
  using informes::Contexto;
  static const std::vector<BotonInforme> botones = {
      SinFechas(QStringLiteral("cmdProductos"), QStringLiteral("Listado de Productos"), informes::CrearListadoProductos,
                QStringLiteral("productos.rpt"), ImpresoraDestino::Informes),
      SinFechas(QStringLiteral("cmdFamilias"), QStringLiteral("Listado de Familias"), informes::CrearListadoFamilias,
                QStringLiteral("familias.rpt"), ImpresoraDestino::Informes),
      SinFechas(QStringLiteral("cmdEmpleados"), QStringLiteral("Listado de Empleados"), informes::CrearListadoEmpleados,
                QStringLiteral("Empleados.rpt"), ImpresoraDestino::Informes),
      SinFechas(QStringLiteral("cmdClientes"), QStringLiteral("Listado de Clientes"), informes::CrearListadoClientes,
                QStringLiteral("clientes.rpt"), ImpresoraDestino::Informes),
      SinFechas(QStringLiteral("cmdFormasPago"), QStringLiteral("Formas de Pago"), informes::CrearListadoFormasPago,
                QStringLiteral("FormasPago.rpt"), ImpresoraDestino::Informes),
      SinFechas(QStringLiteral("cmdProveedores"), QStringLiteral("Listado de Proveedores"),
                informes::CrearListadoProveedores, QStringLiteral("proveedores.rpt"), ImpresoraDestino::Informes),
      SinFechas(QStringLiteral("cmdBajoMinimo"), QStringLiteral("Productos Bajo Minimo"),
                informes::CrearProductosBajoMinimo, QStringLiteral("ProductosBajoMinimo.rpt"),
                ImpresoraDestino::Informes),
      SinFechas(QStringLiteral("cmdStockGeneral"), QStringLiteral("Valoracion de Stock General"),
                informes::CrearValoracionStock, QStringLiteral("valoracionstock.rpt"), ImpresoraDestino::Informes),
      SinFechas(QStringLiteral("cmdProdBajoMinimoTicket"), QStringLiteral("Productos bajo minimo formato Ticket"),
                informes::CrearProductosBajoMinimo, QStringLiteral("ProductosBajoMinimoTicket.rpt"),
                ImpresoraDestino::Ticket),
      ConFechas(QStringLiteral("cmdCierreCaja"), QStringLiteral("Ventas Detalladas por Empleados"),
                informes::CrearCierreCaja, QStringLiteral("cierredecaja2.rpt"),
                [](BotonInforme& b) { b.dialogo = Dialogo::EmpleadoYFechas; }),
      ConFechas(QStringLiteral("cmdResumenVentasXEmpleado"), QStringLiteral("Resumen de Venta por Empleados"),
                informes::CrearResumenVentasEmpleados, QStringLiteral("ResumenVentasTotales2.rpt"),
                [](BotonInforme& b) {
                  b.rechazarEnRemoto = true;
                  b.completoConModuloFactura = true;
                }),
      ConFechas(QStringLiteral("cmdVentasXFPago"), QStringLiteral("Ventas por formas de pago"),
                informes::CrearVentasFormasPago, QStringLiteral("VentasXFormasPago.rpt")),
      ConFechas(QStringLiteral("cmdCierreResumido"), QStringLiteral("Ventas Generales por Dia"),
                informes::CrearCierreResumido, QStringLiteral("ResumenVentas.rpt"),
                [](BotonInforme& b) { b.entrega = Entrega::ExportarEnviarImprimir; }),
      ConFechas(QStringLiteral("cmdRepDominicana"), QStringLiteral("Ventas NCF Rep. Dominicana"),
                informes::CrearResumenFiscal, QStringLiteral("ResumenVentas1.rpt"),
                [](BotonInforme& b) {
                  b.entrega = Entrega::ExportarEnviarImprimir;
                  b.encabezado = QStringLiteral("Ventas Generales por Dia");
                }),
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
