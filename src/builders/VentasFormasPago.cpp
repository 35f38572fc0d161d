#include "builders/InformesCaja.h"
#include "platform/datos/Orden.h"

#include <algorithm>
#include <vector>

namespace informes {

namespace {

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
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const SelloGeneracion sello = TomarSello(ctx.reloj);
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
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
  FijarComunesFacturas(escritor, cabecera, sello, sel, cuantas, gastos);
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
      escritor.origen("cabecera_factura", "la factura", numero);
      escritor.poner(Col::Numerico1, impuesto.isNull() ? QVariant(0) : impuesto, "impuesto");
      escritor.poner(Col::Texto23, q.valor(kCamarero));
      escritor.poner(Col::Numerico10, numero, "numero");

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
      escritor.poner(Col::Texto11, lugar);

      escritor.poner(Col::Numerico4, pasada == 1 ? QVariant(0) : q.valor(kDescuento), "descuento");
      escritor.poner(Col::Fecha3, HoraONulo(q.valor(kHora)));
      const QVariant total = q.valor(kTotal);
      if (const auto base = BaseConReparacion(impuesto, total, numero, busquedas)) escritor.poner(Col::Doble1, *base);
      escritor.poner(Col::Fecha4, HoraONulo(q.valor(kHoraInicio)));
      const QDate dia = datos::aFecha(q.valor(kFechaVenta));
      escritor.poner(Col::Texto5, dia.isValid() ? QVariant(textoDiaMesAnio(dia)) : QVariant());
      escritor.poner(Col::Numerico3, q.valor(kRecargo), "recargo");

      const FilaDePago fila = PagoDeLaPasada(pago, total, efectivo, tarjeta, partido, pasada, busquedas);
      escritor.poner(Col::Numerico2, fila.importe, "total");
      escritor.poner(Col::Texto21, fila.rotulo);
      escritor.poner(Col::Texto4, fila.rotulo);
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
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraPuesto(ventas, ctx.ajustes.IdTerminal, &ctx.notificador);
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
      escritor.origen("cabecera_factura", "la factura", f.numero);
      escritor.poner(Col::Doble1, f.impuesto.isNull() ? QVariant(0) : f.impuesto, "impuesto");
      const QDate dia = datos::aFecha(f.fechaVenta);
      escritor.poner(Col::Fecha1, dia.isValid() ? QVariant(dia) : QVariant());
      // El número de factura va también en el resumen fiscal: con él la
      // plantilla cuenta cada factura una vez aunque salga en dos filas.
      escritor.poner(Col::Numerico1, f.numero, "numero");
      if (fiscal) {
        escritor.poner(Col::Texto31, RotuloComprobante(f.tipo));
        escritor.poner(Col::Texto30, f.cfc);
      }
      // El total es lo cobrado (recargo sumado y descuento restado ya): el
      // neto es el total sin impuesto.
      if (const auto neto = BaseConReparacion(f.impuesto, f.total, f.numero, busquedas))
        escritor.poner(Col::Numerico2, *neto);
      escritor.poner(Col::Numerico4, f.descuento, "descuento");
      escritor.poner(Col::Doble2, f.total, "total");
      escritor.poner(Col::Numerico3, f.recargo, "recargo");
      escritor.poner(Col::Numerico10, propina);
      sel.SinDatos = false;
      escritor.guardarFila();
    }
    bloque.clear();
  };

  // Los valores del informe entero van en todas las filas.
  escritor.fijar(Col::Texto3, desde);
  escritor.fijar(Col::Texto4, hasta);
  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Numerico5, gastos);
  escritor.fijar(Col::Numerico15, cajaSiguiente);
  escritor.fijar(Col::Numerico16, retiradas);
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
