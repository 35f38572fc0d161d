#include "registro/RegistroInformes.h"

#include "builders/InformesCaja.h"
#include "builders/InformesContables.h"
#include "builders/InformesPersonal.h"
#include "builders/InformesTicket.h"
#include "builders/InformesZonas.h"
#include "builders/ListadosMaestros.h"
#include "builders/VentasEliminadas.h"
#include "labels/StockProveedores.h"

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
  // Las ventas por zona, hora y familia, los menús y el reparto: su tienda de
  // pruebas tiene menús, caja rápida y zonas especiales.
  const auto deZonas = [](BotonInforme& b) { b.familia = QStringLiteral("zonas"); };
  // Los informes contables y de productos se prueban sobre su propia tienda.
  const auto contable = [](std::function<void(BotonInforme&)> mas) {
    return [mas = std::move(mas)](BotonInforme& b) {
      b.familia = QStringLiteral("contable");
      if (mas) mas(b);
    };
  };
  // Los informes del personal y de la caja aparte de las ventas se prueban
  // sobre su propia tienda.
  const auto dePersonal = [](BotonInforme& b) { b.familia = QStringLiteral("personal"); };
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
      ConFechas(QStringLiteral("cmdVentasMenus"), QStringLiteral("Venta de menus"), informes::CrearVentasMenus,
                QStringLiteral("VentasMenus.rpt"), deZonas),
      ConFechas(QStringLiteral("cmdServiciosDomicilio"), QStringLiteral("Servicios a domicilio"),
                informes::CrearServiciosDomicilio, QStringLiteral("ResumenVentasTotalesTelefonicas.rpt"), deZonas),
      ConFechas(QStringLiteral("cmdEstadisticasRepartidor"), QStringLiteral("Estadisticas por repartidor"),
                informes::CrearEstadisticasRepartidor, QStringLiteral("RepartoADomicilio.rpt"), deZonas),
      ConFechas(QStringLiteral("cmdVentasXZonas"), QStringLiteral("Ventas por zonas"), informes::CrearVentasZonas,
                QStringLiteral("VentasXZonas.rpt"),
                [&](BotonInforme& b) {
                  deZonas(b);
                  b.dialogo = Dialogo::FechasYFormatoZonas;
                  b.plantillaTotalizada = QStringLiteral("VentasXZonas_T_Producto.rpt");
                }),
      ConFechas(QStringLiteral("cmdVXZonasTotXProducto"), QStringLiteral("Ventas por Zonas Totalizado por productos "),
                informes::CrearVentasZonasProducto, QStringLiteral("VentasXZonas_T_Producto.rpt"), deZonas),
      ConFechas(QStringLiteral("cmdVentasXHoras"), QStringLiteral("Ventas por horas"), informes::CrearVentasHoras,
                QStringLiteral("VentasXhoras.rpt"), deZonas),
      ConFechas(QStringLiteral("cmdResumenContable"), QString::fromUtf8("Resumén Contable de Facturas"),
                informes::CrearResumenContable, QStringLiteral("ResumenContable.rpt"), contable(enRemotoNo)),
      ConFechas(QStringLiteral("cmdProductosMasVendidos"), QString::fromUtf8("Productos más vendidos"),
                informes::CrearProductosMasVendidos, QStringLiteral("productosmasvendidos.rpt"), contable(enRemotoNo)),
      ConFechas(QStringLiteral("cmdProdSinVentas"), QStringLiteral("Productos sin Ventas"),
                informes::CrearProductosSinVentas, QStringLiteral("ProductosSinVentas.rpt"),
                contable(conDialogo(Dialogo::FechasYNumVentas))),
      ConFechas(QStringLiteral("cmdVentasEliminadas"), QStringLiteral("Ventas Eliminadas Y Descuentos realizados"),
                informes::CrearVentasEliminadas, QStringLiteral("Anulaciones2.rpt"),
                [](BotonInforme& b) { b.familia = QStringLiteral("ticket"); }),
      ConFechas(QStringLiteral("cmdReservas"), QStringLiteral("Reservas por dia"), informes::CrearReservas,
                QStringLiteral("reservas.rpt"), contable({})),
      ConFechas(QStringLiteral("cmdConsumoMenus"), QString::fromUtf8("Consumo de platos de menú"),
                informes::CrearConsumoMenus, QStringLiteral("VentasProductosMenu.rpt"), contable({})),
      ConFechas(QStringLiteral("cmdImpuestosRep"), QStringLiteral("Impuestos Repercutidos"),
                informes::CrearImpuestosRepercutidos, QStringLiteral("ImpuestosRepercutidos.rpt"),
                contable(enRemotoNo)),
      ConFechas(QStringLiteral("cmdPedidosProveedor"), QStringLiteral("Pedidos realizados a Proveedor"),
                informes::CrearPedidosProveedor, QStringLiteral("PedidosAProveedor.rpt"), dePersonal),
      ConFechas(QStringLiteral("cmdPedidosCocinaXVentas"), QStringLiteral("Relacion Pedidos Cocina contra Ventas"),
                informes::CrearPedidosCocinaXVentas, QStringLiteral("PedidosCocina_x_ventas.rpt"), dePersonal),
      ConFechas(QStringLiteral("cmdVentasXFamilias"), QStringLiteral("Ventas por Familias"),
                informes::CrearVentasFamilias, QStringLiteral("VentasXFamilias.rpt"),
                [&](BotonInforme& b) {
                  deZonas(b);
                  b.dialogo = Dialogo::FechasYAgrupacion;
                }),
      ConFechas(QStringLiteral("cmdEmpleadoMes"), QStringLiteral("Empleado del Mes"), informes::CrearEmpleadoMes,
                QStringLiteral("EmpleadoMes.rpt"), dePersonal),
      ConFechas(QStringLiteral("cmdRetiradas"), QStringLiteral("Retiradas por Empleados"), informes::CrearRetiradas,
                QStringLiteral("Retiradas.rpt"), dePersonal),
      ConFechas(QStringLiteral("cmdVentasPromociones"), QStringLiteral("Ventas con Promociones"),
                informes::CrearVentasPromociones, QStringLiteral("VentasConPromociones.rpt"), dePersonal),
      ConFechas(QStringLiteral("cmdGastos"), QStringLiteral("Gastos"), informes::CrearGastos,
                QStringLiteral("Gastos.rpt"), dePersonal),
      ConFechas(QStringLiteral("cmdPropinas"), QStringLiteral("Relacion de Propinas"), informes::CrearPropinas,
                QStringLiteral("Propinas.rpt"), dePersonal),

      // Formato ticket.
      ConFechas(QStringLiteral("cmd_Ticket"), QStringLiteral("Ventas en formato Ticket Detallado"),
                informes::CrearListadoTicket, QString(),
                [&enTicket](BotonInforme& b) {
                  enTicket(b);
                  b.entrega = Entrega::TextoTicket;
                }),
      ConFechas(QStringLiteral("cmd_ticket_Resumido"), QStringLiteral("Ventas en formato Ticket Resumido"),
                informes::CrearTicketResumido, QStringLiteral("caja_ticket_Resumido.rpt"), enTicket),
      ConFechas(QStringLiteral("cmd_ticket_Empleado"), QStringLiteral("Ventas en formato Ticket X Empleados"),
                informes::CrearTicketEmpleado, QStringLiteral("caja_ticket_Empleado.rpt"), enTicket),
      ConFechas(QStringLiteral("cmdCierreFormatoTicket"), QStringLiteral("Cierres de Caja Formato Ticket"),
                informes::CrearCierresCajaTicket, QStringLiteral("CierresCajaTicket.rpt"), enTicket),
      ConFechas(QStringLiteral("cmdVentasEliminadasTicket"), QStringLiteral("Ventas Eliminadas en formato Ticket"),
                informes::CrearVentasEliminadas, QStringLiteral("Anulaciones2Ticket.rpt"), enTicket),
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
      [] {
        BotonInforme b =
            Formulario(QStringLiteral("cmdLetreros"), QStringLiteral("Imprimir letreros y etiquetas de precios"));
        b.familia = QStringLiteral("letreros");
        b.hecho = true;
        return b;
      }(),
      [] {
        // En la ventana, su formulario elige proveedor y tipo; sin ventana,
        // el constructor los toma de la selección (todos y todos los tipos).
        BotonInforme b =
            Formulario(QStringLiteral("cmdStockXProveedores"), QStringLiteral("Valoracion Stock por Proveedores"));
        b.familia = QStringLiteral("proveedores");
        b.constructor = informes::CrearStockProveedores;
        b.plantilla = QStringLiteral("hosteleria_productos.rpt");
        b.hecho = true;
        return b;
      }(),
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
