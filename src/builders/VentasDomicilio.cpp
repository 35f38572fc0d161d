#include "builders/Busquedas.h"
#include "builders/InformesCaja.h"
#include "builders/InformesZonas.h"

#include <optional>

namespace informes {

// --- Venta de menús ---------------------------------------------------------------

void CrearVentasMenus(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraPuesto(ventas, ctx.ajustes.IdTerminal, &ctx.notificador);
  escritor.fijar(Col::Texto3, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto4, textoDiaMesAnio(sel.FechaHasta));
  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);

  enum { kFechaVenta, kNumero, kOrden, kMenu, kCodigo, kProducto, kPrecio, kRecargo, kImpuesto, kDescuento, kUnidades };
  datos::Lectura q(
      ventas,
      QStringLiteral(
          "SELECT cabecera_factura.fechaventa, cabecera_factura.numero, detalle_factura.orden, detalle_factura.menu,"
          " detalle_factura.codigo, detalle_factura.producto, detalle_factura.precio,"
          " detalle_factura.recargo, detalle_factura.impuesto, detalle_factura.descuento,"
          " detalle_factura.unidades"
          " FROM cabecera_factura INNER JOIN detalle_factura"
          " ON cabecera_factura.numero = detalle_factura.num_factura"
          " WHERE cabecera_factura.fechaventa BETWEEN ? AND ?"
          " AND (detalle_factura.productodemenu <> 0 OR detalle_factura.menu <> 0)"
          " ORDER BY cabecera_factura.numero, detalle_factura.indice"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();

  // El menú en curso: la fila se escribe cuando empieza el siguiente, con
  // lo de la cabecera y sus platos sumado. Las unidades son las del menú.
  struct Menu {
    double precio = 0, recargo = 0, impuesto = 0, descuento = 0, unidades = 0;
  };
  std::optional<Menu> menu;
  qint64 ventaDelMenu = 0;
  auto terminar = [&] {
    if (!menu) return;
    escritor.poner(Col::Numerico2, menu->precio);
    escritor.poner(Col::Numerico3, menu->recargo);
    escritor.poner(Col::Doble1, menu->impuesto);
    escritor.poner(Col::Numerico4, menu->descuento);
    escritor.poner(Col::Numerico1, menu->unidades);
    sel.SinDatos = false;
    escritor.guardarFila();
  };
  while (q.siguiente()) {
    // La primera línea abre fila aunque sea un plato: no hay otra a la que
    // sumarlo. Tampoco se suma un plato al menú de otra venta.
    const bool cabeceraMenu = q.numero(kOrden) == 0 && q.numero(kMenu) != 0;
    const qint64 venta = q.entero(kNumero);
    if (cabeceraMenu || !menu || venta != ventaDelMenu) {
      ventaDelMenu = venta;
      terminar();
      escritor.nuevaFila();
      escritor.origen("detalle_factura", "la línea del menú", q.valor(kCodigo));
      escritor.poner(Col::Texto25, q.valor(kProducto));
      const QDate dia = datos::aFecha(q.valor(kFechaVenta));
      escritor.poner(Col::Fecha1, dia.isValid() ? QVariant(dia) : QVariant());
      escritor.poner(Col::Texto21, q.valor(kCodigo));
      escritor.poner(Col::Doble2, q.valor(kPrecio), "precio");
      menu = Menu{};
      menu->unidades = q.numero(kUnidades);
    }
    menu->precio += q.numero(kPrecio);
    menu->recargo += q.numero(kRecargo);
    menu->impuesto += q.numero(kImpuesto);
    menu->descuento += q.numero(kDescuento);
  }
  terminar();
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

// --- Servicios a domicilio y repartidores --------------------------------------------

namespace {

const QString kSinRepartidor = QStringLiteral("No se ha elegido repartidor");

// Nombre y apellidos de cada empleado, para poner nombre al repartidor.
QHash<qint64, QString> Repartidores(const datos::Conexion& ventas) {
  QHash<qint64, QString> nombres;
  datos::Consulta q = ventas.preparar(QStringLiteral("SELECT codigo, nombre, apellidos FROM empleados"));
  q.ejecutar();
  while (q.siguiente()) {
    const auto codigo = EnteroDe(q.valor(0));
    if (codigo && !nombres.contains(*codigo))
      nombres.insert(*codigo, Unir({q.valor(1).toString(), q.valor(2).toString()}));
  }
  return nombres;
}

void VentasADomicilio(Contexto& ctx, bool porRepartidor) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const SelloGeneracion sello = TomarSello(ctx.reloj);
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  const BusquedasVentas busquedas(ventas, BusquedasVentas::FormasPago | BusquedasVentas::Clientes);
  const QHash<qint64, QString> repartidores = porRepartidor ? Repartidores(ventas) : QHash<qint64, QString>();

  // En una caja rápida lo que va a domicilio lo dice el modo de venta; en las
  // demás, la zona de las ventas por teléfono.
  const QString filtro = QStringLiteral(
                             " FROM cabecera_factura WHERE cabecera_factura.fechaventa BETWEEN ? AND ?"
                             " AND cabecera_factura.borrar = 0 AND ") +
                         (ctx.ajustes.CajaFastFood ? QStringLiteral("cabecera_factura.modoventa = 3")
                                                   : QStringLiteral("cabecera_factura.zona_venta = 100"));
  enum {
    kNumero,
    kCamarero,
    kTotal,
    kPago,
    kDescuento,
    kHora,
    kHoraInicio,
    kImpuesto,
    kRecargo,
    kEfectivo,
    kTarjeta,
    kCliente,
    kRepartidor,
    kFechaVenta
  };
  datos::Lectura q(ventas,
                   QStringLiteral("SELECT cabecera_factura.numero, cabecera_factura.camarero, cabecera_factura.total,"
                                  " cabecera_factura.pago, cabecera_factura.descuento, cabecera_factura.hora,"
                                  " cabecera_factura.hora_inicio, cabecera_factura.impuesto, cabecera_factura.recargo,"
                                  " cabecera_factura.efectivo, cabecera_factura.tarjeta, cabecera_factura.cliente,"
                                  " cabecera_factura.repartidor, cabecera_factura.fechaventa") +
                       filtro + QStringLiteral(" ORDER BY cabecera_factura.numero"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();

  escritor.fijar(Col::Texto6, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto7, textoDiaMesAnio(sel.FechaHasta));
  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Fecha1, sello.fecha);
  escritor.fijar(Col::Fecha2, sello.hora);
  // Las ventas a domicilio son pocas entre todas las del periodo: se cuentan
  // al recorrerlas y el número se pone al final en todas sus filas, en vez
  // de recorrer el periodo entero dos veces.
  qint64 cuantas = 0;
  while (q.siguiente()) {
    ++cuantas;
    const QVariant numero = q.valor(kNumero);
    const QVariant impuesto = q.valor(kImpuesto);
    const QVariant total = q.valor(kTotal);
    const QVariant pago = q.valor(kPago);
    const double efectivo = Importe(q.valor(kEfectivo));
    const double tarjeta = Importe(q.valor(kTarjeta));
    const bool partido = efectivo != 0 && tarjeta != 0;
    QVariant quien = q.valor(kCamarero);
    if (porRepartidor) {
      const auto codigo = EnteroDe(q.valor(kRepartidor));
      quien = codigo ? repartidores.value(*codigo, kSinRepartidor) : kSinRepartidor;
    }
    const QString telefono = busquedas.TelefonoCliente(q.valor(kCliente));

    for (int pasada = 0; pasada < (partido ? 2 : 1); ++pasada) {
      escritor.nuevaFila();
      escritor.origen("cabecera_factura", "la factura", numero);
      escritor.poner(Col::Numerico1, impuesto.isNull() ? QVariant(0) : impuesto, "impuesto");
      escritor.poner(Col::Texto21, quien);
      escritor.poner(Col::Texto22, numero.isNull() ? QVariant() : QVariant(numero.toString()));
      escritor.poner(Col::Numerico10, numero, "numero");
      if (telefono != QLatin1String("-1")) escritor.poner(Col::Texto11, telefono);
      escritor.poner(Col::Fecha3, HoraONulo(q.valor(kHora)));
      escritor.poner(Col::Numerico4, q.valor(kDescuento), "descuento");
      // Lo cobrado, el total: ya lleva dentro el recargo y el descuento,
      // tenga o no el impuesto incluido en los precios.
      escritor.poner(Col::Doble1, total, "total");
      escritor.poner(Col::Fecha4, HoraONulo(q.valor(kHoraInicio)));
      const QDate dia = datos::aFecha(q.valor(kFechaVenta));
      escritor.poner(Col::Texto5, dia.isValid() ? QVariant(textoDiaMesAnio(dia)) : QVariant());

      QVariant rotulo;
      QVariant neto;
      if (!total.isNull()) neto = Importe(total) - Importe(impuesto);
      if (!partido) {
        const auto codigo = EnteroDe(pago);
        if (codigo && *codigo != 0) rotulo = busquedas.NombreFormaPago(pago);
      } else if (pasada == 0) {
        rotulo = QStringLiteral("Efectivo");
        neto = efectivo;
      } else {
        rotulo = EnteroDe(pago) == 1 ? QVariant(QStringLiteral("Tarjeta/Mixto")) : busquedas.NombreFormaPago(2);
        neto = tarjeta;
      }
      escritor.poner(Col::Numerico2, neto);
      escritor.poner(Col::Numerico3, q.valor(kRecargo), "recargo");
      escritor.poner(Col::Texto4, rotulo);
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }
  if (cuantas > 0) escritor.estampar(Col::Entero3, cuantas);
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace

void CrearServiciosDomicilio(Contexto& ctx) {
  VentasADomicilio(ctx, false);
}

void CrearEstadisticasRepartidor(Contexto& ctx) {
  VentasADomicilio(ctx, true);
}

}  // namespace informes
