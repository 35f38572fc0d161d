#include "builders/VentasEliminadas.h"

#include "builders/InformesCaja.h"

#include <cmath>
#include <cstdlib>

namespace informes {

namespace {

// La letra no basta para agrupar (P es de ventas y de líneas anuladas): cada
// fila lleva además el nombre de su clase, por el que agrupan las plantillas.
constexpr auto kClase = Col::Texto3;
const QString kVentasAnuladas = QStringLiteral("Ventas anuladas");
const QString kLineasAnuladas = QString::fromUtf8("Líneas anuladas");
const QString kDescuentos = QStringLiteral("Descuentos");
const QString kT = QStringLiteral("T"), kP = QStringLiteral("P"), kFC = QStringLiteral("FC"), kC = QStringLiteral("C"),
              kD = QStringLiteral("D"), kVacio = QStringLiteral("");

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
    datos::Lectura q(
        ventas,
        QStringLiteral(
            "SELECT a.camarero, a.numero, d.impuesto, mesas.nummesa, a.fecha, a.pago, a.hora_inicio, d.producto,"
            " d.unidades, d.precio, d.num_facturaorigen"
            " FROM detalle_factura_anulaciones d JOIN cabecera_factura_anulaciones a ON a.numero = d.num_factura"
            " LEFT JOIN mesas ON a.mesa = mesas.codigo"
            " WHERE d.borrar <> 0 AND a.fechaventa BETWEEN ? AND ? ORDER BY a.fechaventa, a.numero, d.indice"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente()) {
      const QVariant numero = q.valor(1);
      escritor.nuevaFila();
      escritor.origen("cabecera_factura_anulaciones", "la venta anulada", numero);
      escritor.poner(Col::Texto8, q.valor(7));
      PonerUnidades(escritor, q.valor(8));
      escritor.poner(kClase, kVentasAnuladas);
      escritor.poner(Col::Texto9, q.numero(5) > 0 ? kT : kP);
      escritor.poner(Col::Texto21, q.valor(0));
      escritor.poner(Col::Numerico10, numero, "numero");
      escritor.poner(Col::Numerico11, q.valor(10), "num_facturaorigen");
      escritor.poner(Col::Texto11, q.valor(3));
      escritor.poner(Col::Fecha4, HoraONulo(q.valor(6)));
      escritor.poner(Col::Texto5, DiaTexto(q.valor(4)));
      PonerImportes(escritor, q.valor(9), q.valor(2));
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }

  // B: cada línea anulada, por el día en que se anuló.
  {
    datos::Lectura q(
        ventas, QStringLiteral(
                    "SELECT impuesto, fechaanulacion, producto, unidades, precio, num_factura, nombrecamarero,"
                    " num_facturaorigen, servido FROM detalle_factura_anulaciones WHERE fechaanulacion BETWEEN ? AND ?"
                    " ORDER BY fechaanulacion, num_factura, indice"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente()) {
      const QVariant numFactura = q.valor(5);
      const QVariant origen = q.valor(7);
      escritor.nuevaFila();
      escritor.origen("detalle_factura_anulaciones", "la línea anulada de la venta", numFactura);
      escritor.poner(Col::Texto8, q.valor(2));
      PonerUnidades(escritor, q.valor(3));
      // De una factura cobrada (FC) o ya servida en cocina (C, que manda).
      const QString* clase = &kP;
      if (!origen.isNull() && q.entero(7) != -1) clase = &kFC;
      if (!q.esNulo(8) && q.numero(8) != 0) clase = &kC;
      escritor.poner(kClase, kLineasAnuladas);
      escritor.poner(Col::Texto9, *clase);
      escritor.poner(Col::Texto21, q.valor(6));
      escritor.poner(Col::Texto22, numFactura);
      const double n = q.numero(5);
      if (n > 0)
        escritor.poner(Col::Numerico10, numFactura, "num_factura");
      else
        escritor.poner(Col::Numerico11, std::fabs(n));
      if (!origen.isNull()) escritor.poner(Col::Numerico11, origen, "num_facturaorigen");
      escritor.poner(Col::Texto11, kVacio);
      escritor.poner(Col::Fecha4, QTime(0, 0));
      escritor.poner(Col::Texto5, DiaTexto(q.valor(1)));
      PonerImportes(escritor, q.valor(4), q.valor(0));
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }

  // C: las líneas vendidas con descuento, borradas o no.
  {
    datos::Lectura q(
        ventas,
        QStringLiteral(
            "SELECT c.fechaventa, d.producto, d.unidades, d.num_factura, d.nombrecamarero, c.hora, d.descuento"
            " FROM cabecera_factura c LEFT JOIN detalle_factura d ON c.numero = d.num_factura"
            " WHERE c.fechaventa BETWEEN ? AND ? AND d.descuento > 0 ORDER BY c.fechaventa, d.num_factura, d.indice"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente()) {
      const QVariant numFactura = q.valor(3);
      escritor.nuevaFila();
      escritor.origen("detalle_factura", "la línea de la factura", numFactura);
      escritor.poner(Col::Texto8, q.valor(1));
      PonerUnidades(escritor, q.valor(2));
      escritor.poner(kClase, kDescuentos);
      escritor.poner(Col::Texto9, kD);
      escritor.poner(Col::Texto21, q.valor(4));
      escritor.poner(Col::Texto22, numFactura);
      escritor.poner(Col::Numerico11, numFactura, "num_factura");
      escritor.poner(Col::Texto11, kVacio);
      escritor.poner(Col::Fecha4, HoraONulo(q.valor(5)));
      escritor.poner(Col::Texto5, DiaTexto(q.valor(0)));
      escritor.poner(Col::Doble1, q.valor(6), "descuento");
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace informes
