#include "builders/InformesCaja.h"

#include <cmath>

namespace informes {

const QString kNotaFechaApertura = QStringLiteral(
    "NOTA: En este listado aparecen ventas con fecha de apertura anterior a la fecha de cierre, para solucionar "
    "este problema configure el horario de atencion al cliente desde configuracion / otras opciones.");

const QString factura::kColumnas = QStringLiteral(
    "SELECT cabecera_factura.numero, cabecera_factura.fecha, cabecera_factura.camarero,"
    " cabecera_factura.zona_venta, cabecera_factura.total, cabecera_factura.pago, cabecera_factura.descuento,"
    " cabecera_factura.hora, cabecera_factura.codigo_camarero, cabecera_factura.hora_inicio,"
    " cabecera_factura.borrar, cabecera_factura.impuesto, cabecera_factura.recargo,"
    " cabecera_factura.impuestoincluido, cabecera_factura.efectivo, cabecera_factura.tarjeta,"
    " cabecera_factura.fechaventa, mesas.nummesa");

void FijarComunesFacturas(EscritorInformes& escritor, const CabeceraNegocio& cabecera, const SelloGeneracion& sello,
                          const SeleccionInforme& sel, qint64 facturas, double gastos) {
  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Fecha1, sello.fecha);
  escritor.fijar(Col::Fecha2, sello.hora);
  escritor.fijar(Col::Entero3, facturas);
  escritor.fijar(Col::Texto6, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto7, textoDiaMesAnio(sel.FechaHasta));
  escritor.fijar(Col::Numerico5, gastos);
}

double Importe(const QVariant& v) {
  if (v.isNull()) return 0;
  bool ok = false;
  const double d = v.toDouble(&ok);
  return ok ? d : 0;
}

QVariant HoraONulo(const QVariant& v) {
  if (v.isNull()) return {};
  const QTime h = datos::aHora(v);
  if (h.isValid()) return h;
  // Una hora guardada con su fecha se queda con la hora.
  const QDateTime fh = datos::aFechaHora(v);
  return fh.isValid() ? QVariant(fh.time()) : QVariant();
}

FilaDePago PagoDeLaPasada(const QVariant& pago, const QVariant& total, double efectivo, double tarjeta, bool partido,
                          int pasada, const BusquedasVentas& busquedas) {
  if (!partido) {
    const auto codigo = EnteroDe(pago);
    return {codigo && *codigo != 0 ? busquedas.NombreFormaPago(pago) : QVariant(), total};
  }
  if (pasada == 0) return {QStringLiteral("Efectivo"), efectivo};
  return {EnteroDe(pago) == 1 ? QVariant(QStringLiteral("Tarjeta/Mixto")) : busquedas.NombreFormaPago(2), tarjeta};
}

const QString kImporteGastoSql = QStringLiteral(
    "CASE WHEN importe_decimal IS NOT NULL AND importe_decimal <> 0 THEN importe_decimal ELSE COALESCE(importe, 0) "
    "END");

double TotalGastos(const datos::Conexion& ventas, const QDate& desde, const QDate& hasta,
                   std::optional<qint64> empleado) {
  double total = 0;
  Tolerante([&] {
    QString sql =
        QStringLiteral("SELECT SUM(") + kImporteGastoSql + QStringLiteral(") FROM gastos WHERE fecha BETWEEN ? AND ?");
    if (empleado) sql += QStringLiteral(" AND codigoempleado = ?");
    datos::Consulta q = ventas.preparar(sql);
    q.enlazar(desde).enlazar(hasta);
    if (empleado) q.enlazar(*empleado);
    q.ejecutar();
    if (q.siguiente()) total = Importe(q.valor(0));
  });
  return total;
}

std::optional<double> BaseConReparacion(const QVariant& impuesto, const QVariant& total, const QVariant& numero,
                                        BusquedasVentas& busquedas) {
  bool ok = !impuesto.isNull();
  double imp = ok ? impuesto.toDouble(&ok) : 0;
  if (!ok) {
    // La fila ya enseña un impuesto de 0 y la reparación deja 0 en la factura:
    // la base se calcula con ese 0 desde esta misma vez, para que el primer
    // informe no diga otra cosa que los siguientes.
    busquedas.RepararImpuestoFactura(numero);
    imp = 0;
  }
  // Sin total no hay base: restar el impuesto de nada daría un importe
  // negativo que nadie cobró.
  bool hayTotal = !total.isNull();
  const double t = hayTotal ? total.toDouble(&hayTotal) : 0;
  if (!hayTotal) return std::nullopt;
  return t - imp;
}

namespace {

// La mesa de la factura o, sin mesa, el sitio de la venta.
QVariant LugarCierre(const QVariant& numMesa, const QVariant& zona) {
  if (numMesa.isNull() || numMesa.toString().isEmpty())
    return EnteroDe(zona) == 100 ? QStringLiteral("P. Telef.") : QStringLiteral("Barra");
  return numMesa;
}

}  // namespace

void CrearCierreCaja(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const SelloGeneracion sello = TomarSello(ctx.reloj);
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  const qint64 empleado = sel.EmpleadoElegido;

  // Redondeado a dos decimales, como se imprime.
  const double gastos = std::round(TotalGastos(ventas, sel.FechaDesde, sel.FechaHasta, empleado) * 100.0) / 100.0;

  static const QString kFiltro = QStringLiteral(
      " FROM cabecera_factura LEFT JOIN mesas ON cabecera_factura.mesa = mesas.codigo"
      " WHERE cabecera_factura.codigo_camarero = ? AND cabecera_factura.fechaventa BETWEEN ? AND ?"
      " AND cabecera_factura.borrar = 0");
  qint64 cuantas = 0;
  {
    datos::Consulta c = ventas.preparar(QStringLiteral("SELECT COUNT(*) AS n") + kFiltro);
    c.enlazar(empleado).enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    c.ejecutar();
    if (c.siguiente()) cuantas = c.entero(QStringLiteral("n"));
  }
  BusquedasVentas busquedas(ventas, BusquedasVentas::Salones | BusquedasVentas::FormasPago);
  using namespace factura;
  datos::Lectura q(ventas, kColumnas + kFiltro + QStringLiteral(" ORDER BY cabecera_factura.numero ASC"));
  q.enlazar(empleado).enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();

  FijarComunesFacturas(escritor, cabecera, sello, sel, cuantas, gastos);
  while (q.siguiente()) {
    const QVariant numero = q.valor(kNumero);
    const QVariant impuesto = q.valor(kImpuesto);
    const QVariant zona = q.valor(kZona);
    escritor.nuevaFila();
    escritor.origen("cabecera_factura", "la factura", numero);
    escritor.poner(Col::Numerico1, impuesto.isNull() ? QVariant(0) : impuesto, "impuesto");
    escritor.poner(Col::Texto3, q.valor(kCamarero));
    escritor.poner(Col::Texto22, numero);
    escritor.poner(Col::Texto11, LugarCierre(q.valor(kNumMesa), zona));
    escritor.poner(Col::Texto8, busquedas.NombreSalon(zona));
    escritor.poner(Col::Fecha3, HoraONulo(q.valor(kHora)));
    escritor.poner(Col::Numerico4, q.valor(kDescuento), "descuento");
    escritor.poner(Col::Fecha4, HoraONulo(q.valor(kHoraInicio)));
    const double tarjeta = Importe(q.valor(kTarjeta));
    const double efectivo = Importe(q.valor(kEfectivo));
    escritor.poner(Col::Texto21, tarjeta == 0 && efectivo == 0 ? busquedas.NombreFormaPago(q.valor(kPago))
                                                               : QVariant(QStringLiteral("Tarjeta/Efectivo")));
    const QDate dia = datos::aFecha(q.valor(kFechaVenta));
    escritor.poner(Col::Texto5, dia.isValid() ? QVariant(textoDiaMesAnio(dia)) : QVariant());
    const QVariant total = q.valor(kTotal);
    if (const auto base = BaseConReparacion(impuesto, total, numero, busquedas)) escritor.poner(Col::Numerico2, *base);
    escritor.poner(Col::Numerico3, q.valor(kRecargo), "recargo");
    escritor.poner(Col::Doble1, total, "total");
    sel.SinDatos = false;
    escritor.guardarFila();
  }
  busquedas.AplicarReparaciones();
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace informes
