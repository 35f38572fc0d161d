#include "registro/RegistroInformes.h"

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
  b.familia = QStringLiteral("maestros");
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
  b.familia = QStringLiteral("caja");
  b.dialogo = Dialogo::Fechas;
  b.constructor = std::move(constructor);
  b.plantilla = plantilla;
  if (ajustar) ajustar(b);
  return b;
}

// Un gráfico del mes: su número es el de la serie que dibuja.
BotonInforme Grafico(const QString& boton, const QString& titulo, qint16 numero) {
  BotonInforme b;
  b.boton = boton;
  b.titulo = titulo;
  b.clase = Clase::Grafico;
  b.familia = QStringLiteral("graficos");
  b.grafico = numero;
  b.hecho = true;
  return b;
}

BotonInforme Formulario(const QString& boton, const QString& titulo) {
  BotonInforme b;
  b.boton = boton;
  b.titulo = titulo;
  b.clase = Clase::Formulario;
  b.familia = QStringLiteral("formularios");
  return b;
}
}  // namespace

const std::vector<BotonInforme>& Botones() {
  using informes::Contexto;
  const auto conDialogo = [](Dialogo d) { return [d](BotonInforme& b) { b.dialogo = d; }; };
  const auto enRemotoNo = [](BotonInforme& b) { b.rechazarEnRemoto = true; };
  const auto enTicket = [](BotonInforme& b) {
    b.impresora = ImpresoraDestino::Ticket;
    b.familia = QStringLiteral("ticket");
  };
  static const std::vector<BotonInforme> botones = {
      // Datos maestros.
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

      // Ventas.
      ConFechas(QStringLiteral("cmdCierreCaja"), QStringLiteral("Ventas Detalladas por Empleados"),
                informes::CrearCierreCaja, QStringLiteral("cierredecaja2.rpt"), conDialogo(Dialogo::EmpleadoYFechas)),
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
      ConFechas(QStringLiteral("cmdVentasMenus"), QStringLiteral("Venta de menus"), {},
                QStringLiteral("VentasMenus.rpt")),
      ConFechas(QStringLiteral("cmdServiciosDomicilio"), QStringLiteral("Servicios a domicilio"), {},
                QStringLiteral("ResumenVentasTotalesTelefonicas.rpt")),
      ConFechas(QStringLiteral("cmdEstadisticasRepartidor"), QStringLiteral("Estadisticas por repartidor"), {},
                QStringLiteral("RepartoADomicilio.rpt")),
      ConFechas(QStringLiteral("cmdVentasXZonas"), QStringLiteral("Ventas por zonas"), {},
                QStringLiteral("VentasXZonas.rpt"),
                [](BotonInforme& b) {
                  b.dialogo = Dialogo::FechasYFormatoZonas;
                  b.plantillaTotalizada = QStringLiteral("VentasXZonas_T_Producto.rpt");
                }),
      ConFechas(QStringLiteral("cmdVXZonasTotXProducto"), QStringLiteral("Ventas por Zonas Totalizado por productos "),
                {}, QStringLiteral("VentasXZonas_T_Producto.rpt")),
      ConFechas(QStringLiteral("cmdVentasXHoras"), QStringLiteral("Ventas por horas"), {},
                QStringLiteral("VentasXhoras.rpt")),
      ConFechas(QStringLiteral("cmdResumenContable"), QString::fromUtf8("Resumén Contable de Facturas"), {},
                QStringLiteral("ResumenContable.rpt"), enRemotoNo),
      ConFechas(QStringLiteral("cmdProductosMasVendidos"), QString::fromUtf8("Productos más vendidos"), {},
                QStringLiteral("productosmasvendidos.rpt"), enRemotoNo),
      ConFechas(QStringLiteral("cmdProdSinVentas"), QStringLiteral("Productos sin Ventas"), {},
                QStringLiteral("ProductosSinVentas.rpt"), conDialogo(Dialogo::FechasYNumVentas)),
      ConFechas(QStringLiteral("cmdVentasEliminadas"), QStringLiteral("Ventas Eliminadas Y Descuentos realizados"), {},
                QStringLiteral("Anulaciones2.rpt")),
      ConFechas(QStringLiteral("cmdReservas"), QStringLiteral("Reservas por dia"), {}, QStringLiteral("reservas.rpt")),
      ConFechas(QStringLiteral("cmdConsumoMenus"), QString::fromUtf8("Consumo de platos de menú"), {},
                QStringLiteral("VentasProductosMenu.rpt")),
      ConFechas(QStringLiteral("cmdImpuestosRep"), QStringLiteral("Impuestos Repercutidos"), {},
                QStringLiteral("ImpuestosRepercutidos.rpt"), enRemotoNo),
      ConFechas(QStringLiteral("cmdPedidosProveedor"), QStringLiteral("Pedidos realizados a Proveedor"), {},
                QStringLiteral("PedidosAProveedor.rpt")),
      ConFechas(QStringLiteral("cmdPedidosCocinaXVentas"), QStringLiteral("Relacion Pedidos Cocina contra Ventas"), {},
                QStringLiteral("PedidosCocina_x_ventas.rpt")),
      ConFechas(QStringLiteral("cmdVentasXFamilias"), QStringLiteral("Ventas por Familias"), {},
                QStringLiteral("VentasXFamilias.rpt"), conDialogo(Dialogo::FechasYAgrupacion)),
      ConFechas(QStringLiteral("cmdEmpleadoMes"), QStringLiteral("Empleado del Mes"), {},
                QStringLiteral("EmpleadoMes.rpt")),
      ConFechas(QStringLiteral("cmdRetiradas"), QStringLiteral("Retiradas por Empleados"), {},
                QStringLiteral("Retiradas.rpt")),
      ConFechas(QStringLiteral("cmdVentasPromociones"), QStringLiteral("Ventas con Promociones"), {},
                QStringLiteral("VentasConPromociones.rpt")),
      ConFechas(QStringLiteral("cmdGastos"), QStringLiteral("Gastos"), {}, QStringLiteral("Gastos.rpt")),
      ConFechas(QStringLiteral("cmdPropinas"), QStringLiteral("Relacion de Propinas"), {},
                QStringLiteral("Propinas.rpt")),

      // Formato ticket.
      ConFechas(QStringLiteral("cmd_Ticket"), QStringLiteral("Ventas en formato Ticket Detallado"), {}, QString(),
                enTicket),
      ConFechas(QStringLiteral("cmd_ticket_Resumido"), QStringLiteral("Ventas en formato Ticket Resumido"), {},
                QStringLiteral("caja_ticket_Resumido.rpt"), enTicket),
      ConFechas(QStringLiteral("cmd_ticket_Empleado"), QStringLiteral("Ventas en formato Ticket X Empleados"), {},
                QStringLiteral("caja_ticket_Empleado.rpt"), enTicket),
      ConFechas(QStringLiteral("cmdCierreFormatoTicket"), QStringLiteral("Cierres de Caja Formato Ticket"), {},
                QStringLiteral("CierresCajaTicket.rpt"), enTicket),
      ConFechas(QStringLiteral("cmdVentasEliminadasTicket"), QStringLiteral("Ventas Eliminadas en formato Ticket"), {},
                QStringLiteral("Anulaciones2Ticket.rpt"), enTicket),
      SinFechas(QStringLiteral("cmdProdBajoMinimoTicket"), QStringLiteral("Productos bajo minimo formato Ticket"),
                informes::CrearProductosBajoMinimo, QStringLiteral("ProductosBajoMinimoTicket.rpt"),
                ImpresoraDestino::Ticket),

      // Gráficos del mes.
      Grafico(QStringLiteral("cmdDsctoRealizados"), QStringLiteral("Descuentos Realizados"), 0),
      Grafico(QStringLiteral("cmdGastosCaja"), QStringLiteral("Gastos de Caja"), 1),
      Grafico(QStringLiteral("cmdRetiradasDiarias"), QStringLiteral("Total Diario de Retiradas"), 2),
      Grafico(QStringLiteral("cmdCajaxDias"), QStringLiteral("Caja Total por Dias"), 3),
      Grafico(QStringLiteral("cmdGraficoVentasxZonas"), QStringLiteral("Ventas por zonas"), 4),
      Grafico(QStringLiteral("cmdVentasMes"), QStringLiteral("Ventas en el mes (Acumulado por Horas)"), 5),
      Grafico(QStringLiteral("cmdGraficoVentasxEmpleados"), QStringLiteral("Ventas por Empleados"), 6),
      Grafico(QStringLiteral("cmdReservasHora"), QStringLiteral("Reservas Hora/Dia/Mes"), 7),

      // Formularios propios.
      Formulario(QStringLiteral("cmdLetreros"), QStringLiteral("Imprimir letreros y etiquetas de precios")),
      Formulario(QStringLiteral("cmdStockXProveedores"), QStringLiteral("Valoracion Stock por Proveedores")),
  };
  return botones;
}

QString BotonInforme::plantillaPara(const SeleccionInforme& seleccion) const {
  if (dialogo == Dialogo::FechasYFormatoZonas && seleccion.FormatoZonas == 2) return plantillaTotalizada;
  return plantilla;
}

const QString kAvisoProximaVersion = QStringLiteral("Esta función llegará en una próxima versión de Cronicas.");

const QString kAvisoRemoto =
    QStringLiteral("Este listado puede tardar unos minutos le recomendamos que lo haga desde el Servidor.");

bool RechazadoEnEstePuesto(const BotonInforme& boton, informes::Contexto& ctx) {
  if (!boton.rechazarEnRemoto || !ctx.ajustes.BaseDatosRemota) return false;
  ctx.notificador.mensaje(kAvisoRemoto, QStringLiteral("Cronicas"), sistema::Icono::Informacion);
  return true;
}

const BotonInforme* BuscarBoton(const QString& boton) {
  for (const BotonInforme& b : Botones())
    if (b.boton.compare(boton, Qt::CaseInsensitive) == 0) return &b;
  return nullptr;
}

}  // namespace registro
