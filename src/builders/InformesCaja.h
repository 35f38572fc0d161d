#pragma once
// Los informes de caja sobre un intervalo de días: el cierre de caja de un
// empleado, el resumen de ventas por empleado, las ventas por forma de pago,
// el cierre resumido y el resumen fiscal. Leen la selección (FechaDesde,
// FechaHasta, EmpleadoElegido, Completo) y dejan sus filas en Informes.

#include "builders/Busquedas.h"
#include "builders/Informes.h"

#include <optional>

namespace informes {

void CrearCierreCaja(Contexto& ctx);
void CrearResumenVentasEmpleados(Contexto& ctx);
void CrearVentasFormasPago(Contexto& ctx);
void CrearCierreResumido(Contexto& ctx);
void CrearResumenFiscal(Contexto& ctx);

// Nota de los informes que encuentran ventas abiertas en un día anterior al
// de su cierre.
extern const QString kNotaFechaApertura;

// --- Piezas comunes de los informes de caja ------------------------------------

// Lo gastado en un gasto: las cajas apuntan el entero en `importe` y el
// importe exacto en `importe_decimal`, o sólo uno de los dos. Cuenta el
// exacto cuando está y no es 0; si no, el entero. Sumar los dos contaría dos
// veces el mismo gasto. Es la misma regla en todos los informes y gráficos.
extern const QString kImporteGastoSql;

// Lo gastado en el intervalo; de un empleado, si se da. Paso tolerante: sin
// tabla de gastos, lo sumado hasta el fallo (0).
double TotalGastos(const datos::Conexion& ventas, const QDate& desde, const QDate& hasta,
                   std::optional<qint64> empleado = std::nullopt);

// Base de una factura: su total (lo cobrado) menos el impuesto. Si el
// impuesto no es un número se repara a 0 en la factura, para que los demás
// informes encuentren un número, y la base es el total, la misma que darán
// los informes siguientes. Sin total no hay base (nada).
std::optional<double> BaseConReparacion(const QVariant& impuesto, const QVariant& total, const QVariant& numero,
                                        BusquedasVentas& busquedas);

// Rótulo e importe de una fila de pago. Un pago repartido entre efectivo y
// tarjeta da dos filas (pasada 0, el efectivo; 1, la tarjeta: «Tarjeta/Mixto»
// con la forma 1, si no el nombre de la forma 2); uno entero, su forma de
// pago (nada con la forma 0) y el total.
struct FilaDePago {
  QVariant rotulo;
  QVariant importe;
};
FilaDePago PagoDeLaPasada(const QVariant& pago, const QVariant& total, double efectivo, double tarjeta, bool partido,
                          int pasada, const BusquedasVentas& busquedas);

// Lo que llevan todas las filas del cierre de caja y de las ventas por forma
// de pago, en las mismas columnas: negocio, sello, intervalo, número de
// facturas y gastos.
void FijarComunesFacturas(EscritorInformes& escritor, const CabeceraNegocio& cabecera, const SelloGeneracion& sello,
                          const SeleccionInforme& sel, qint64 facturas, double gastos);

// La cabecera de cada factura como la leen el cierre de caja y las ventas por
// forma de pago: estas columnas en este orden, con el rótulo de la mesa. Las
// ventas por forma de pago añaden detrás cliente, salón y modo de venta.
namespace factura {
extern const QString kColumnas;  // "SELECT ... mesas.nummesa", sin FROM
enum Columna {
  kNumero,
  kFecha,
  kCamarero,
  kZona,
  kTotal,
  kPago,
  kDescuento,
  kHora,
  kCodigoCamarero,
  kHoraInicio,
  kBorrar,
  kImpuesto,
  kRecargo,
  kImpuestoIncluido,
  kEfectivo,
  kTarjeta,
  kFechaVenta,
  kNumMesa,
  kCliente,
  kNombreSalon,
  kModoVenta
};
}  // namespace factura

// Un importe leído, con el Null como 0.
double Importe(const QVariant& v);
// La hora de un valor leído, para una columna fecha de Informes; Null si no
// lo es.
QVariant HoraONulo(const QVariant& v);

}  // namespace informes
