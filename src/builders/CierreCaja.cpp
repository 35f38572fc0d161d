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

double TotalGastos(const datos::Conexion& ventas, const QDate& desde, const QDate& hasta,
                   std::optional<qint64> empleado) {
  double total = 0;
  Tolerante([&] {
    QString sql = QStringLiteral("SELECT importe, importe_decimal FROM gastos WHERE fecha BETWEEN ? AND ?");
    if (empleado) sql += QStringLiteral(" AND codigoempleado = ?");
    datos::Consulta q = ventas.preparar(sql);
    q.enlazar(desde).enlazar(hasta);
    if (empleado) q.enlazar(*empleado);
    q.ejecutar();
    while (q.siguiente())
      total += Importe(q.valor(QStringLiteral("importe"))) + Importe(q.valor(QStringLiteral("importe_decimal")));
  });
  return total;
}

std::optional<double> BaseConReparacion(const QVariant& impuesto, const QVariant& total, const QVariant& numero,
                                        BusquedasVentas& busquedas) {
  bool ok = !impuesto.isNull();
  const double imp = ok ? impuesto.toDouble(&ok) : 0;
  if (!ok) {
    busquedas.RepararImpuestoFactura(numero);
    return std::nullopt;
  }
  // Sin total no hay base: restar el impuesto de nada daría un importe
  // negativo que nadie cobró.
  bool hayTotal = !total.isNull();
  const double t = hayTotal ? total.toDouble(&hayTotal) : 0;
  if (!hayTotal) return std::nullopt;
  return t - imp;
}

namespace {

// Columnas del cierre de caja.
struct ColumnasCierre {
  const int texto1 = EscritorInformes::indiceColumna(QStringLiteral("Texto1"));
  const int texto2 = EscritorInformes::indiceColumna(QStringLiteral("Texto2"));
  const int texto3 = EscritorInformes::indiceColumna(QStringLiteral("Texto3"));
  const int texto5 = EscritorInformes::indiceColumna(QStringLiteral("Texto5"));
  const int texto6 = EscritorInformes::indiceColumna(QStringLiteral("Texto6"));
  const int texto7 = EscritorInformes::indiceColumna(QStringLiteral("texto7"));
  const int texto8 = EscritorInformes::indiceColumna(QStringLiteral("texto8"));
  const int texto11 = EscritorInformes::indiceColumna(QStringLiteral("texto11"));
  const int texto21 = EscritorInformes::indiceColumna(QStringLiteral("texto21"));
  const int texto22 = EscritorInformes::indiceColumna(QStringLiteral("texto22"));
  const int numerico1 = EscritorInformes::indiceColumna(QStringLiteral("Numerico1"));
  const int numerico2 = EscritorInformes::indiceColumna(QStringLiteral("Numerico2"));
  const int numerico3 = EscritorInformes::indiceColumna(QStringLiteral("Numerico3"));
  const int numerico4 = EscritorInformes::indiceColumna(QStringLiteral("Numerico4"));
  const int numerico5 = EscritorInformes::indiceColumna(QStringLiteral("numerico5"));
  const int fecha1 = EscritorInformes::indiceColumna(QStringLiteral("fecha1"));
  const int fecha2 = EscritorInformes::indiceColumna(QStringLiteral("fecha2"));
  const int fecha3 = EscritorInformes::indiceColumna(QStringLiteral("FECHA3"));
  const int fecha4 = EscritorInformes::indiceColumna(QStringLiteral("fecha4"));
  const int doble1 = EscritorInformes::indiceColumna(QStringLiteral("doble1"));
  const int entero3 = EscritorInformes::indiceColumna(QStringLiteral("entero3"));
};

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
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas);
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

  static const ColumnasCierre c;
  FijarComunesFacturas(escritor, c, cabecera, sello, sel, cuantas, gastos);
  while (q.siguiente()) {
    const QVariant numero = q.valor(kNumero);
    const QVariant impuesto = q.valor(kImpuesto);
    const QVariant zona = q.valor(kZona);
    escritor.nuevaFila();
    escritor.poner(c.numerico1, impuesto.isNull() ? QVariant(0) : impuesto);
    escritor.poner(c.texto3, q.valor(kCamarero));
    escritor.poner(c.texto22, numero);
    escritor.poner(c.texto11, LugarCierre(q.valor(kNumMesa), zona));
    escritor.poner(c.texto8, busquedas.NombreSalon(zona));
    escritor.poner(c.fecha3, HoraONulo(q.valor(kHora)));
    escritor.poner(c.numerico4, q.valor(kDescuento));
    escritor.poner(c.fecha4, HoraONulo(q.valor(kHoraInicio)));
    const double tarjeta = Importe(q.valor(kTarjeta));
    const double efectivo = Importe(q.valor(kEfectivo));
    escritor.poner(c.texto21, tarjeta == 0 && efectivo == 0 ? busquedas.NombreFormaPago(q.valor(kPago))
                                                            : QVariant(QStringLiteral("Tarjeta/Efectivo")));
    const QDate dia = datos::aFecha(q.valor(kFechaVenta));
    escritor.poner(c.texto5, dia.isValid() ? QVariant(textoDiaMesAnio(dia)) : QVariant());
    const QVariant total = q.valor(kTotal);
    if (const auto base = BaseConReparacion(impuesto, total, numero, busquedas)) escritor.poner(c.numerico2, *base);
    escritor.poner(c.numerico3, q.valor(kRecargo));
    escritor.poner(c.doble1, total);
    sel.SinDatos = false;
    escritor.guardarFila();
  }
  busquedas.AplicarReparaciones();
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace informes
