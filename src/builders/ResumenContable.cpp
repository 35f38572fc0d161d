#include "builders/InformesCaja.h"
#include "builders/InformesContables.h"

#include <cmath>
#include <map>
#include <vector>

namespace informes {

QString DosPalabras(const QString& nombre) {
  const QStringList piezas = nombre.split(QLatin1Char(' '));
  if (piezas.size() < 2) return nombre;
  return piezas.at(0) + QLatin1Char(' ') + piezas.at(1);
}

namespace {

// La dirección del negocio en el resumen contable cabe en 50 caracteres; la
// que pasa se queda en sus 49 primeros.
QString DireccionContable(const QString& direccion) {
  return direccion.size() > 50 ? direccion.left(49) : direccion;
}

double Centimos(double v) {
  return std::round(v * 100.0) / 100.0;
}

}  // namespace

void CrearResumenContable(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  const BusquedasCatalogo catalogo(
      ventas, BusquedasCatalogo::Clientes | BusquedasCatalogo::FormasPago | BusquedasCatalogo::Productos);

  // Todas las ventas del intervalo cuentan, también las borradas y las que
  // no tienen líneas. En 64 bits: un año de una tienda grande pasa de las
  // 32.767 ventas.
  qint64 numeroVentas = 0;
  {
    datos::Consulta q =
        ventas.preparar(QStringLiteral("SELECT COUNT(*) FROM cabecera_factura WHERE fechaventa BETWEEN ? AND ?"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    if (q.siguiente()) numeroVentas = q.valor(0).toLongLong();
  }
  const double gastos = TotalGastos(ventas, sel.FechaDesde, sel.FechaHasta);

  static const QString kLineas = QStringLiteral(
      " FROM cabecera_factura INNER JOIN detalle_factura ON detalle_factura.num_factura = cabecera_factura.numero"
      " WHERE cabecera_factura.fechaventa BETWEEN ? AND ?");
  // El coste de lo vendido va en todas las filas: se suma antes, en una
  // lectura corta de las líneas, para no reescribir luego todo el informe.
  double costeVendido = 0;
  {
    datos::Lectura q(ventas, QStringLiteral("SELECT detalle_factura.codigo, detalle_factura.unidades") + kLineas);
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente())
      if (!q.esNulo(0)) costeVendido += catalogo.CosteProducto(q.valor(0).toString()) * q.numero(1);
  }

  escritor.fijar(Col::Texto35, cabecera.nombre);
  escritor.fijar(Col::Texto34, DireccionContable(cabecera.direccion));
  escritor.fijar(Col::Fecha1, sel.FechaDesde);
  escritor.fijar(Col::Fecha2, sel.FechaHasta);
  escritor.fijar(Col::Numerico17, static_cast<double>(numeroVentas));
  escritor.fijar(Col::Numerico9, Centimos(costeVendido));
  escritor.fijar(Col::Numerico16, gastos);
  for (Col c : {Col::Numerico13, Col::Numerico14, Col::Numerico18, Col::Numerico20}) escritor.fijar(c, 0);

  enum { kNumero, kCliente, kPago, kFechaVenta, kProducto, kUnidades, kCamarero, kPrecio, kImpuesto };
  datos::Lectura q(ventas, QStringLiteral("SELECT cabecera_factura.numero, cabecera_factura.cliente,"
                                          " cabecera_factura.pago, cabecera_factura.fechaventa,"
                                          " detalle_factura.producto, detalle_factura.unidades,"
                                          " detalle_factura.nombrecamarero, detalle_factura.precio,"
                                          " detalle_factura.impuesto") +
                               kLineas + QStringLiteral(" ORDER BY cabecera_factura.numero, detalle_factura.indice"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();

  // Lo de la venta se busca y se convierte una vez por venta, no por línea:
  // va fijo en sus filas.
  std::optional<qint64> ventaActual;
  QVariant numero;
  QString cif, telefono, fax, camareroCorto;
  QByteArray camarero;
  bool camareroNulo = true;
  while (q.siguiente()) {
    const qint64 n = q.entero(kNumero);
    if (n != ventaActual) {
      ventaActual = n;
      numero = q.valor(kNumero);
      const QVariant cliente = q.valor(kCliente);
      const QString poblacion = catalogo.DatosCliente(cliente, telefono, fax);
      const QString nombreCliente = catalogo.NombreCliente(cliente, cif);
      const QVariant pago = q.valor(kPago);
      const QDate dia = datos::aFecha(q.valor(kFechaVenta));
      escritor.fijar(Col::Fecha3, dia.isValid() ? QVariant(dia) : QVariant());
      escritor.fijar(Col::Numerico1, numero);
      escritor.fijar(Col::Texto10, QString::number(n));
      escritor.fijar(Col::Texto2, nombreCliente);
      escritor.fijar(Col::Texto30, cif);
      escritor.fijar(Col::Texto24, poblacion);
      escritor.fijar(Col::Texto25, telefono);
      escritor.fijar(Col::Texto23, pago.isNull() ? QVariant() : QVariant(pago.toString()));
      escritor.fijar(Col::Texto4, catalogo.NombreFormaPago(pago));
    }
    escritor.nuevaFila();
    escritor.origen("detalle_factura", "la línea de la factura", numero);
    escritor.poner(Col::Texto3, q.valor(kProducto));
    const double unidades = q.numero(kUnidades);
    escritor.poner(Col::Numerico10, unidades);
    // Las líneas seguidas suelen ser del mismo camarero.
    if (q.esNulo(kCamarero)) {
      camareroNulo = true;
      camareroCorto = QStringLiteral("");
    } else if (const QByteArrayView leido = q.textoUtf8(kCamarero); camareroNulo || leido != camarero) {
      camareroNulo = false;
      camarero = leido.toByteArray();
      camareroCorto = DosPalabras(QString::fromUtf8(camarero));
    }
    escritor.poner(Col::Texto7, camareroCorto);
    const double impuesto = q.numero(kImpuesto);
    const double neto = q.numero(kPrecio) - impuesto;
    escritor.poner(Col::Numerico2, neto);
    escritor.poner(Col::Numerico8, unidades == 0 ? 0.0 : neto / unidades);
    escritor.poner(Col::Numerico3, impuesto);
    sel.SinDatos = false;
    escritor.guardarFila();
  }
  escritor.terminar();
  // Sin líneas no hay informe, y este no avisa: la ventana no imprime nada.
}

// --- Impuestos repercutidos ----------------------------------------------------------

namespace {

// Lo de un tipo de impuesto: lo cobrado (con el impuesto dentro) y el
// impuesto.
struct PorTipo {
  double cobrado = 0, impuesto = 0;
};

// Reparte `diferencia` entre los tipos en proporción a `peso` (a partes
// iguales si ninguno pesa), al céntimo; el último se queda lo que falte.
void Repartir(std::map<double, PorTipo>& tipos, double diferencia, double PorTipo::*campo, double PorTipo::*peso) {
  if (std::fabs(diferencia) < 0.0005) return;
  double total = 0;
  for (const auto& [tipo, t] : tipos) total += std::fabs(t.*peso);
  double repartido = 0;
  std::size_t i = 0;
  for (auto& [tipo, t] : tipos) {
    if (++i == tipos.size()) {
      t.*campo += diferencia - repartido;
      break;
    }
    const double parte = total > 0 ? std::fabs(t.*peso) / total : 1.0 / static_cast<double>(tipos.size());
    const double c = Centimos(diferencia * parte);
    t.*campo += c;
    repartido += c;
  }
}

// Lleva a los tipos de una factura lo que su cabecera tiene de más o de
// menos que sus líneas (un descuento a la factura entera, un impuesto
// rectificado): lo cobrado en proporción a lo cobrado en cada tipo y el
// impuesto en proporción al impuesto de cada uno, para que un tipo del 0 %
// no cargue impuesto. Así los tipos suman lo que dicen las facturas, como en
// los informes de caja.
void AjustarALaCabecera(std::map<double, PorTipo>& tipos, double total, double impuesto) {
  double cobrado = 0, cuota = 0;
  for (const auto& [tipo, t] : tipos) {
    cobrado += t.cobrado;
    cuota += t.impuesto;
  }
  Repartir(tipos, total - cobrado, &PorTipo::cobrado, &PorTipo::cobrado);
  Repartir(tipos, impuesto - cuota, &PorTipo::impuesto, cuota != 0 ? &PorTipo::impuesto : &PorTipo::cobrado);
}

}  // namespace

void CrearImpuestosRepercutidos(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const SelloGeneracion sello = TomarSello(ctx.reloj);
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraPuesto(ventas, ctx.ajustes.IdTerminal, &ctx.notificador);

  // Las líneas borradas no se cobraron: su impuesto no se repercutió. Una
  // factura sin líneas (o con todas borradas) llega una vez, sin línea.
  enum { kNumero, kTotal, kImpuestoFactura, kLinea, kPrecio, kRecargo, kDescuento, kImpuesto, kTipo };
  datos::Lectura q(
      ventas,
      QStringLiteral(
          "SELECT cabecera_factura.numero, cabecera_factura.total, cabecera_factura.impuesto,"
          " detalle_factura.num_factura, detalle_factura.precio, detalle_factura.recargo, detalle_factura.descuento,"
          " detalle_factura.impuesto, detalle_factura.tipoimpuesto"
          " FROM cabecera_factura LEFT JOIN detalle_factura ON detalle_factura.num_factura = cabecera_factura.numero"
          " AND (detalle_factura.borrar IS NULL OR detalle_factura.borrar = 0)"
          " WHERE cabecera_factura.fechaventa BETWEEN ? AND ? AND cabecera_factura.borrar = 0"
          " ORDER BY cabecera_factura.numero"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();

  std::map<double, PorTipo> periodo, factura;
  PorTipo sinLineas;
  bool haySinLineas = false;
  std::optional<qint64> actual;
  double total = 0, impuesto = 0;
  auto cerrarFactura = [&] {
    if (!actual) return;
    if (factura.empty()) {
      // Sin líneas no hay tipo: lo cobrado va aparte, para que el periodo
      // cuadre con las facturas sin inventar un tipo.
      if (total != 0 || impuesto != 0) {
        sinLineas.cobrado += total;
        sinLineas.impuesto += impuesto;
        haySinLineas = true;
      }
    } else {
      AjustarALaCabecera(factura, total, impuesto);
      for (const auto& [tipo, t] : factura) {
        periodo[tipo].cobrado += t.cobrado;
        periodo[tipo].impuesto += t.impuesto;
      }
    }
    factura.clear();
  };
  while (q.siguiente()) {
    const qint64 n = q.entero(kNumero);
    if (n != actual) {
      cerrarFactura();
      actual = n;
      // Un impuesto sin poner es 0, como lo dejan reparado los informes de caja.
      total = q.numero(kTotal);
      impuesto = q.numero(kImpuestoFactura);
    }
    if (q.esNulo(kLinea)) continue;
    // Sin tipo, al 0 %, con las del 0 %.
    const double tipo = q.numero(kTipo);
    PorTipo& t = factura[tipo];
    t.cobrado += q.numero(kPrecio) + q.numero(kRecargo) - q.numero(kDescuento);
    t.impuesto += q.numero(kImpuesto);
  }
  cerrarFactura();

  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Texto6, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto7, textoDiaMesAnio(sel.FechaHasta));
  escritor.fijar(Col::Fecha1, sello.fecha);
  escritor.fijar(Col::Fecha2, sello.hora);
  auto escribir = [&](const QString& rotulo, const PorTipo& t) {
    escritor.nuevaFila();
    escritor.poner(Col::Texto22, rotulo);
    escritor.poner(Col::Numerico2, Centimos(t.cobrado - t.impuesto));
    escritor.poner(Col::Numerico3, Centimos(t.impuesto));
    sel.SinDatos = false;
    escritor.guardarFila();
  };
  for (const auto& [tipo, t] : periodo)
    escribir(QStringLiteral("Impuesto al ") + NumeroATexto(tipo) + QLatin1Char('%'), t);
  if (haySinLineas) escribir(QStringLiteral("Sin desglose por tipo (facturas sin líneas)"), sinLineas);
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace informes
