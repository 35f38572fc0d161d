#include "builders/VentasEliminadas.h"

#include "builders/InformesCaja.h"

#include <cmath>
#include <cstdlib>

namespace informes {

namespace {

// La letra no basta para agrupar (P es de ventas y de líneas anuladas): cada
// fila lleva además el nombre de su clase, por el que agrupan las plantillas.
constexpr auto kClase = Col::Texto3;

// Las unidades van en dos columnas: la entera y la de número.
void PonerUnidades(EscritorInformes& e, const QVariant& unidades) {
  e.poner(Col::Entero3, unidades, "unidades");
  e.poner(Col::Numerico20, unidades, "unidades");
}

QVariant DiaTexto(const QVariant& v) {
  const QDate d = datos::aFecha(v);
  return d.isValid() ? QVariant(textoDiaMesAnio(d)) : QVariant();
}

// Precio y, con el impuesto, la base.
void PonerImportes(EscritorInformes& e, const QVariant& precio, const QVariant& impuesto) {
  e.poner(Col::Doble1, precio, "precio");
  e.poner(Col::Numerico1, impuesto, "impuesto");
  e.poner(Col::Numerico2, Importe(precio) - Importe(impuesto));
}

}  // namespace

void CrearVentasEliminadas(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const SelloGeneracion sello = TomarSello(ctx.reloj);
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Fecha1, sello.fecha);
  escritor.fijar(Col::Fecha2, sello.hora);
  escritor.fijar(Col::Texto6, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto7, textoDiaMesAnio(sel.FechaHasta));

  // A: las líneas de las ventas anuladas enteras, por el día de venta.
  {
    datos::Consulta q = ventas.preparar(QStringLiteral(
        "SELECT a.camarero, a.numero, d.impuesto, mesas.nummesa, a.fecha, a.pago, a.hora_inicio, d.producto,"
        " d.unidades, d.precio, d.num_facturaorigen"
        " FROM detalle_factura_anulaciones d JOIN cabecera_factura_anulaciones a ON a.numero = d.num_factura"
        " LEFT JOIN mesas ON a.mesa = mesas.codigo"
        " WHERE d.borrar <> 0 AND a.fechaventa BETWEEN ? AND ? ORDER BY a.fechaventa, a.numero, d.indice"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente()) {
      const QVariant numero = q.valor(QStringLiteral("numero"));
      escritor.nuevaFila();
      escritor.origen("cabecera_factura_anulaciones", "la venta anulada", numero);
      escritor.poner(Col::Texto8, q.valor(QStringLiteral("producto")));
      PonerUnidades(escritor, q.valor(QStringLiteral("unidades")));
      escritor.poner(kClase, QStringLiteral("Ventas anuladas"));
      escritor.poner(Col::Texto9, q.numero(QStringLiteral("pago")) > 0 ? QStringLiteral("T") : QStringLiteral("P"));
      escritor.poner(Col::Texto21, q.valor(QStringLiteral("camarero")));
      escritor.poner(Col::Numerico10, numero, "numero");
      escritor.poner(Col::Numerico11, q.valor(QStringLiteral("num_facturaorigen")), "num_facturaorigen");
      escritor.poner(Col::Texto11, q.valor(QStringLiteral("nummesa")));
      escritor.poner(Col::Fecha4, HoraONulo(q.valor(QStringLiteral("hora_inicio"))));
      escritor.poner(Col::Texto5, DiaTexto(q.valor(QStringLiteral("fecha"))));
      PonerImportes(escritor, q.valor(QStringLiteral("precio")), q.valor(QStringLiteral("impuesto")));
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }

  // B: cada línea anulada, por el día en que se anuló.
  {
    datos::Consulta q = ventas.preparar(QStringLiteral(
        "SELECT impuesto, fechaanulacion, producto, unidades, precio, num_factura, nombrecamarero,"
        " num_facturaorigen, servido FROM detalle_factura_anulaciones WHERE fechaanulacion BETWEEN ? AND ?"
        " ORDER BY fechaanulacion, num_factura, indice"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente()) {
      const QVariant numFactura = q.valor(QStringLiteral("num_factura"));
      const QVariant origen = q.valor(QStringLiteral("num_facturaorigen"));
      escritor.nuevaFila();
      escritor.origen("detalle_factura_anulaciones", "la línea anulada de la venta", numFactura);
      escritor.poner(Col::Texto8, q.valor(QStringLiteral("producto")));
      PonerUnidades(escritor, q.valor(QStringLiteral("unidades")));
      // De una factura cobrada (FC) o ya servida en cocina (C, que manda).
      QString clase = QStringLiteral("P");
      if (!origen.isNull() && q.entero(QStringLiteral("num_facturaorigen")) != -1) clase = QStringLiteral("FC");
      if (q.verdad(QStringLiteral("servido"))) clase = QStringLiteral("C");
      escritor.poner(kClase, QStringLiteral("Líneas anuladas"));
      escritor.poner(Col::Texto9, clase);
      escritor.poner(Col::Texto21, q.valor(QStringLiteral("nombrecamarero")));
      escritor.poner(Col::Texto22, numFactura);
      const double n = q.numero(QStringLiteral("num_factura"));
      if (n > 0)
        escritor.poner(Col::Numerico10, numFactura, "num_factura");
      else
        escritor.poner(Col::Numerico11, std::fabs(n));
      if (!origen.isNull()) escritor.poner(Col::Numerico11, origen, "num_facturaorigen");
      escritor.poner(Col::Texto11, QStringLiteral(""));
      escritor.poner(Col::Fecha4, QTime(0, 0));
      escritor.poner(Col::Texto5, DiaTexto(q.valor(QStringLiteral("fechaanulacion"))));
      PonerImportes(escritor, q.valor(QStringLiteral("precio")), q.valor(QStringLiteral("impuesto")));
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }

  // C: las líneas vendidas con descuento, borradas o no.
  {
    datos::Consulta q = ventas.preparar(QStringLiteral(
        "SELECT c.fechaventa, d.producto, d.unidades, d.num_factura, d.nombrecamarero, c.hora, d.descuento"
        " FROM cabecera_factura c LEFT JOIN detalle_factura d ON c.numero = d.num_factura"
        " WHERE c.fechaventa BETWEEN ? AND ? AND d.descuento > 0 ORDER BY c.fechaventa, d.num_factura, d.indice"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente()) {
      const QVariant numFactura = q.valor(QStringLiteral("num_factura"));
      escritor.nuevaFila();
      escritor.origen("detalle_factura", "la línea de la factura", numFactura);
      escritor.poner(Col::Texto8, q.valor(QStringLiteral("producto")));
      PonerUnidades(escritor, q.valor(QStringLiteral("unidades")));
      escritor.poner(kClase, QStringLiteral("Descuentos"));
      escritor.poner(Col::Texto9, QStringLiteral("D"));
      escritor.poner(Col::Texto21, q.valor(QStringLiteral("nombrecamarero")));
      escritor.poner(Col::Texto22, numFactura);
      escritor.poner(Col::Numerico11, numFactura, "num_factura");
      escritor.poner(Col::Texto11, QStringLiteral(""));
      escritor.poner(Col::Fecha4, HoraONulo(q.valor(QStringLiteral("hora"))));
      escritor.poner(Col::Texto5, DiaTexto(q.valor(QStringLiteral("fechaventa"))));
      escritor.poner(Col::Doble1, q.valor(QStringLiteral("descuento")), "descuento");
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace informes
