#include "builders/InformesCaja.h"
#include "platform/datos/Orden.h"

#include <algorithm>
#include <vector>

namespace informes {

namespace {

int Col(const char* nombre) {
  return EscritorInformes::indiceColumna(QString::fromLatin1(nombre));
}

// Número de facturas no borradas del intervalo.
qint64 ContarFacturas(const datos::Conexion& ventas, const QDate& desde, const QDate& hasta) {
  datos::Consulta q = ventas.preparar(
      QStringLiteral("SELECT COUNT(*) AS n FROM cabecera_factura WHERE fechaventa BETWEEN ? AND ? AND borrar = 0"));
  q.enlazar(desde).enlazar(hasta);
  q.ejecutar();
  return q.siguiente() ? q.entero(QStringLiteral("n")) : 0;
}

// Suma tolerante de una columna de una tabla con fecha: sin la tabla, lo
// sumado hasta el fallo.
double TotalTolerante(const datos::Conexion& ventas, const QString& sql, const QDate& desde, const QDate& hasta) {
  double total = 0;
  Tolerante([&] {
    datos::Consulta q = ventas.preparar(sql);
    q.enlazar(desde).enlazar(hasta);
    q.ejecutar();
    while (q.siguiente()) total += Importe(q.valor(0));
  });
  return total;
}

QVariant RotuloModoVentaRapida(const QVariant& modo) {
  switch (EnteroDe(modo).value_or(-1)) {
    case 0:
      return QStringLiteral("Local");
    case 1:
      return QStringLiteral("Llevar");
    case 2:
      return QStringLiteral("Recogida");
    case 3:
      return QStringLiteral("A Domicilio");
    default:
      return {};
  }
}

}  // namespace

void CrearVentasFormasPago(Contexto& ctx) {
  static const struct {
    int numerico1 = Col("Numerico1"), texto6 = Col("Texto6"), texto7 = Col("texto7"), texto1 = Col("Texto1"),
        texto2 = Col("Texto2"), fecha1 = Col("fecha1"), fecha2 = Col("fecha2"), texto23 = Col("texto23"),
        numerico10 = Col("numerico10"), texto11 = Col("texto11"), numerico4 = Col("Numerico4"), fecha3 = Col("FECHA3"),
        doble1 = Col("doble1"), fecha4 = Col("fecha4"), texto5 = Col("Texto5"), entero3 = Col("entero3"),
        numerico2 = Col("Numerico2"), numerico3 = Col("Numerico3"), numerico5 = Col("numerico5"),
        texto21 = Col("texto21"), texto4 = Col("Texto4");
  } c;

  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const SelloGeneracion sello = TomarSello(ctx.reloj);
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas);
  const double gastos = TotalGastos(ventas, sel.FechaDesde, sel.FechaHasta);
  const qint64 cuantas = ContarFacturas(ventas, sel.FechaDesde, sel.FechaHasta);

  BusquedasVentas busquedas(ventas, BusquedasVentas::FormasPago | BusquedasVentas::Clientes);
  using namespace factura;
  datos::Lectura q(
      ventas,
      kColumnas + QStringLiteral(", cabecera_factura.cliente, salones.nombre AS nombresalon, cabecera_factura.modoventa"
                                 " FROM (cabecera_factura LEFT JOIN mesas ON cabecera_factura.mesa = mesas.codigo)"
                                 " LEFT JOIN salones ON cabecera_factura.zona_venta = salones.codigo"
                                 " WHERE cabecera_factura.fechaventa BETWEEN ? AND ? AND cabecera_factura.borrar = 0"
                                 " ORDER BY cabecera_factura.numero"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();

  const bool cajaRapida = ctx.ajustes.CajaFastFood;
  FijarComunesFacturas(escritor, c, cabecera, sello, sel, cuantas, gastos);
  while (q.siguiente()) {
    const QVariant numero = q.valor(kNumero);
    const QVariant impuesto = q.valor(kImpuesto);
    const QVariant zona = q.valor(kZona);
    const QVariant pago = q.valor(kPago);
    const double efectivo = Importe(q.valor(kEfectivo));
    const double tarjeta = Importe(q.valor(kTarjeta));
    const bool partido = efectivo != 0 && tarjeta != 0;

    // Un pago repartido entre efectivo y tarjeta da dos filas, una por parte.
    for (int pasada = 0; pasada < (partido ? 2 : 1); ++pasada) {
      escritor.nuevaFila();
      escritor.poner(c.numerico1, impuesto.isNull() ? QVariant(0) : impuesto);
      escritor.poner(c.texto23, q.valor(kCamarero));
      escritor.poner(c.numerico10, numero);

      QVariant lugar;
      if (cajaRapida) {
        lugar = RotuloModoVentaRapida(q.valor(kModoVenta));
      } else {
        const QVariant mesa = q.valor(kNumMesa);
        if (mesa.isNull() || mesa.toString().isEmpty()) {
          if (EnteroDe(zona) == 100) {
            // Una venta por teléfono enseña el número de quien llamó.
            const QString telefono = busquedas.TelefonoCliente(q.valor(kCliente));
            if (telefono != QLatin1String("-1")) lugar = telefono;
          } else {
            lugar = QStringLiteral("Barra");
          }
        } else {
          lugar = mesa;
        }
      }
      if (EnteroDe(zona) == 0) lugar = QStringLiteral("CobroP");
      escritor.poner(c.texto11, lugar);

      escritor.poner(c.numerico4, pasada == 1 ? QVariant(0) : q.valor(kDescuento));
      escritor.poner(c.fecha3, HoraONulo(q.valor(kHora)));
      const QVariant total = q.valor(kTotal);
      if (const auto base = BaseConReparacion(impuesto, total, numero, busquedas)) escritor.poner(c.doble1, *base);
      escritor.poner(c.fecha4, HoraONulo(q.valor(kHoraInicio)));
      const QDate dia = datos::aFecha(q.valor(kFechaVenta));
      escritor.poner(c.texto5, dia.isValid() ? QVariant(textoDiaMesAnio(dia)) : QVariant());
      escritor.poner(c.numerico3, q.valor(kRecargo));

      QVariant rotulo;
      QVariant importe = total;
      if (!partido) {
        const auto codigo = EnteroDe(pago);
        if (codigo && *codigo != 0) rotulo = busquedas.NombreFormaPago(pago);
      } else if (pasada == 0) {
        rotulo = QStringLiteral("Efectivo");
        importe = efectivo;
      } else {
        rotulo = EnteroDe(pago) == 1 ? QVariant(QStringLiteral("Tarjeta/Mixto")) : busquedas.NombreFormaPago(2);
        importe = tarjeta;
      }
      escritor.poner(c.numerico2, importe);
      escritor.poner(c.texto21, rotulo);
      escritor.poner(c.texto4, rotulo);
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }
  busquedas.AplicarReparaciones();
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

// --- Cierre resumido y resumen fiscal --------------------------------------------

namespace {

QVariant RotuloComprobante(const QVariant& tipo) {
  switch (EnteroDe(tipo).value_or(0)) {
    case 1:
      return QStringLiteral("Credito Fiscal");
    case 2:
      return QStringLiteral("Consumo Final");
    case 3:
      return QStringLiteral("Guberneamental");
    case 4:
      return QStringLiteral("Especial");
    default:
      return {};
  }
}

// Las dos variantes comparten todo menos la consulta y tres columnas.
void CrearResumen(Contexto& ctx, bool fiscal) {
  static const struct {
    int doble1 = Col("doble1"), fecha1 = Col("fecha1"), numerico1 = Col("Numerico1"), texto31 = Col("texto31"),
        texto30 = Col("texto30"), numerico2 = Col("Numerico2"), numerico4 = Col("Numerico4"), doble2 = Col("doble2"),
        numerico3 = Col("Numerico3"), numerico10 = Col("numerico10"), texto3 = Col("texto3"), texto4 = Col("Texto4"),
        texto1 = Col("Texto1"), texto2 = Col("Texto2"), numerico5 = Col("numerico5"), numerico15 = Col("numerico15"),
        numerico16 = Col("numerico16");
  } c;

  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraPuesto(ventas, ctx.ajustes.IdTerminal);
  const double gastos = TotalGastos(ventas, sel.FechaDesde, sel.FechaHasta);
  const double retiradas =
      TotalTolerante(ventas, QStringLiteral("SELECT importe FROM retiradas WHERE fecha BETWEEN ? AND ?"),
                     sel.FechaDesde, sel.FechaHasta);
  const double cajaSiguiente = TotalTolerante(
      ventas, QStringLiteral("SELECT cajainicialsiguientedia FROM cierre_caja WHERE fecha BETWEEN ? AND ?"),
      sel.FechaDesde, sel.FechaHasta);

  // Una factura sale una vez por cada propina distinta (y, en el fiscal, por
  // cada comprobante distinto): las filas repetidas se funden aquí en vez de
  // agrupar en la base, que tendría que ordenar el año entero.
  const QString columnas = QStringLiteral(
      "SELECT cabecera_factura.fechaventa, cabecera_factura.numero, cabecera_factura.total,"
      " cabecera_factura.impuesto, cabecera_factura.descuento, cabecera_factura.recargo,"
      " propinas.importe AS propina");
  const QString origen =
      QStringLiteral(" FROM cabecera_factura LEFT JOIN propinas ON cabecera_factura.numero = propinas.numventa");
  const QString filtro =
      QStringLiteral(" WHERE cabecera_factura.fechaventa BETWEEN ? AND ? AND cabecera_factura.borrar = 0");
  const QString sql =
      fiscal
          ? columnas + QStringLiteral(", facturatiporepdom.cfc, facturatiporepdom.tipo, facturatiporepdom.nroactual") +
                origen +
                QStringLiteral(
                    " INNER JOIN facturatiporepdom ON cabecera_factura.numero = facturatiporepdom.nrofactura") +
                filtro +
                QStringLiteral(
                    " ORDER BY (facturatiporepdom.tipo IS NULL) DESC, facturatiporepdom.tipo,"
                    " cabecera_factura.fechaventa, cabecera_factura.numero")
          : columnas + origen + filtro +
                QStringLiteral(" ORDER BY cabecera_factura.fechaventa, cabecera_factura.numero");
  BusquedasVentas busquedas(ventas, 0);
  datos::Lectura q(ventas, sql);
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();

  const QString desde = textoDiaMesAnio(sel.FechaDesde);
  const QString hasta = textoDiaMesAnio(sel.FechaHasta);
  const datos::CriterioOrden criterio;

  // Un bloque: las filas seguidas de una misma factura (y tipo, en el fiscal).
  struct Fila {
    QVariant fechaVenta, numero, total, impuesto, descuento, recargo, propina, cfc, tipo, nroActual;
  };
  auto comparar = [&](const Fila& a, const Fila& b) {
    int r = criterio.comparar(a.propina, b.propina);
    if (r == 0) r = criterio.comparar(a.cfc, b.cfc);
    if (r == 0) r = criterio.comparar(a.nroActual, b.nroActual);
    return r;
  };
  std::vector<Fila> bloque;
  auto escribirBloque = [&] {
    if (bloque.empty()) return;
    if (bloque.size() > 1)
      std::stable_sort(bloque.begin(), bloque.end(), [&](const Fila& a, const Fila& b) { return comparar(a, b) < 0; });
    for (std::size_t i = 0; i < bloque.size();) {
      const Fila& f = bloque[i];
      // Dos propinas iguales de una factura son una sola fila, pero las dos
      // se cobraron: la fila lleva la suma de las que funde.
      double propina = 0;
      std::size_t fin = i;
      for (; fin < bloque.size() && comparar(bloque[fin], f) == 0; ++fin)
        if (!bloque[fin].propina.isNull() && Importe(bloque[fin].propina) > 0) propina += Importe(bloque[fin].propina);
      i = fin;
      escritor.nuevaFila();
      escritor.poner(c.doble1, f.impuesto.isNull() ? QVariant(0) : f.impuesto);
      const QDate dia = datos::aFecha(f.fechaVenta);
      escritor.poner(c.fecha1, dia.isValid() ? QVariant(dia) : QVariant());
      // El número de factura va también en el resumen fiscal: con él la
      // plantilla cuenta cada factura una vez aunque salga en dos filas.
      escritor.poner(c.numerico1, f.numero);
      if (fiscal) {
        escritor.poner(c.texto31, RotuloComprobante(f.tipo));
        escritor.poner(c.texto30, f.cfc);
      }
      // El total es lo cobrado (recargo sumado y descuento restado ya): el
      // neto es el total sin impuesto.
      if (const auto neto = BaseConReparacion(f.impuesto, f.total, f.numero, busquedas))
        escritor.poner(c.numerico2, *neto);
      escritor.poner(c.numerico4, f.descuento);
      escritor.poner(c.doble2, f.total);
      escritor.poner(c.numerico3, f.recargo);
      escritor.poner(c.numerico10, propina);
      sel.SinDatos = false;
      escritor.guardarFila();
    }
    bloque.clear();
  };

  // Los valores del informe entero van en todas las filas.
  escritor.fijar(c.texto3, desde);
  escritor.fijar(c.texto4, hasta);
  escritor.fijar(c.texto1, cabecera.nombre);
  escritor.fijar(c.texto2, cabecera.direccion);
  escritor.fijar(c.numerico5, gastos);
  escritor.fijar(c.numerico15, cajaSiguiente);
  escritor.fijar(c.numerico16, retiradas);
  while (q.siguiente()) {
    Fila f;
    f.fechaVenta = q.valor(0);
    f.numero = q.valor(1);
    f.total = q.valor(2);
    f.impuesto = q.valor(3);
    f.descuento = q.valor(4);
    f.recargo = q.valor(5);
    f.propina = q.valor(6);
    if (fiscal) {
      f.cfc = q.valor(7);
      f.tipo = q.valor(8);
      f.nroActual = q.valor(9);
    }
    if (!bloque.empty() && (bloque.front().numero != f.numero || bloque.front().tipo != f.tipo)) escribirBloque();
    bloque.push_back(std::move(f));
  }
  escribirBloque();
  busquedas.AplicarReparaciones();
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace

void CrearCierreResumido(Contexto& ctx) {
  CrearResumen(ctx, false);
}

void CrearResumenFiscal(Contexto& ctx) {
  CrearResumen(ctx, true);
}

}  // namespace informes
