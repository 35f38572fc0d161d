#include "builders/Busquedas.h"
#include "builders/InformesCaja.h"
#include "builders/InformesPersonal.h"

#include <QHash>

#include <cmath>

#include <vector>

namespace informes {

namespace {

// Los códigos de proveedores, productos y familias son texto y la suite los
// compara sin distinguir mayúsculas.
QString ClaveCodigo(const QVariant& v) {
  return v.toString().trimmed().toLower();
}

struct Producto {
  QVariant nombre, descripcion, iva, familia;
};

}  // namespace

void CrearPedidosProveedor(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);

  // Proveedores, familias y productos son tablas pequeñas: se leen enteras
  // antes del recorrido, en vez de tres consultas por línea de pedido. Si
  // un código se repite vale el primero, como en la búsqueda de un registro.
  QHash<QString, QVariant> proveedores;  // sólo los no borrados
  {
    datos::Consulta q =
        ventas.preparar(QStringLiteral("SELECT codigo, nombre FROM proveedores"
                                       " WHERE borrar IS NULL OR borrar = 0"));
    q.ejecutar();
    while (q.siguiente()) {
      const QString k = ClaveCodigo(q.valor(0));
      if (!proveedores.contains(k)) proveedores.insert(k, q.valor(1));
    }
  }
  QHash<QString, QVariant> familias;
  {
    datos::Consulta q = ventas.preparar(QStringLiteral("SELECT codigo, nombre FROM seccion"));
    q.ejecutar();
    while (q.siguiente()) {
      const QString k = ClaveCodigo(q.valor(0));
      if (!familias.contains(k)) familias.insert(k, q.valor(1));
    }
  }
  QHash<QString, Producto> productos;
  {
    datos::Consulta q =
        ventas.preparar(QStringLiteral("SELECT codigo, nombre, descripcion, iva, seccion FROM productos"));
    q.ejecutar();
    while (q.siguiente()) {
      const QString k = ClaveCodigo(q.valor(0));
      if (productos.contains(k)) continue;
      // Una familia que no existe deja su columna vacía.
      const QVariant seccion = q.valor(4);
      productos.insert(k, {q.valor(1), q.valor(2), q.valor(3),
                           seccion.isNull() ? QVariant() : familias.value(ClaveCodigo(seccion))});
    }
  }

  escritor.fijar(Col::Texto6, cabecera.nombre);
  escritor.fijar(Col::Texto7, cabecera.direccion);
  escritor.fijar(Col::Fecha1, sel.FechaDesde);
  escritor.fijar(Col::Fecha2, sel.FechaHasta);

  // Los pedidos por número y, dentro de cada uno, sus líneas; las líneas no
  // tienen número propio y se ordenan por lo que tienen para que el informe
  // salga igual en cualquier motor.
  datos::Lectura q(
      ventas,
      QStringLiteral("SELECT pedidos.cod, pedidos.proveedor, pedidosdet.producto, pedidosdet.coste, pedidosdet.unidades"
                     " FROM pedidos INNER JOIN pedidosdet ON pedidosdet.pedido = pedidos.cod"
                     " WHERE pedidos.fecha BETWEEN ? AND ?"
                     " ORDER BY pedidos.cod, pedidosdet.producto, pedidosdet.coste, pedidosdet.unidades"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();
  const QString eliminado = QStringLiteral("Proveedor eliminado");
  while (q.siguiente()) {
    escritor.nuevaFila();
    escritor.origen("pedidosdet", "la línea del pedido", q.valor(0));
    const auto proveedor = proveedores.constFind(ClaveCodigo(q.valor(1)));
    escritor.poner(Col::Texto21, proveedor != proveedores.constEnd() ? *proveedor : QVariant(eliminado));
    escritor.poner(Col::Numerico1, q.valor(3), "coste");
    escritor.poner(Col::Numerico4, q.valor(4), "unidades");
    const auto producto = productos.constFind(ClaveCodigo(q.valor(2)));
    if (producto != productos.constEnd()) {
      escritor.poner(Col::Texto2, producto->nombre);
      escritor.poner(Col::Texto3, producto->descripcion);
      escritor.poner(Col::Numerico2, producto->iva, "iva");
      escritor.poner(Col::Texto8, producto->familia);
    }
    sel.SinDatos = false;
    escritor.guardarFila();
  }
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

// --- Comandas de cocina contra ventas ---------------------------------------------

namespace {

// Lo que se sabe de una venta: quién la cobró o la lleva, a qué hora y por
// cuánto.
struct Venta {
  QVariant camarero, hora, total;
};

// Busca la venta de cada comanda en las cobradas, las abiertas y las
// eliminadas. Las tres tablas se leen una sola vez, sólo con las ventas que
// nombran las comandas del intervalo; una venta repetida vale la primera.
class EstadosVenta {
 public:
  EstadosVenta(const datos::Conexion& ventas, const QDate& desde, const QDate& hasta) {
    const QString columnas = QStringLiteral("SELECT numero, camarero, hora, total FROM ");
    const QString cobradas =
        QStringLiteral(" WHERE numero IN (SELECT numfactura FROM cocifac WHERE fecha BETWEEN ? AND ?)");
    const QString abiertas = QStringLiteral(
        " WHERE numero IN (SELECT numventa FROM cocifac WHERE fecha BETWEEN ? AND ? AND numfactura IS NULL)");
    const QString eliminadas = QStringLiteral(
        " WHERE numero IN (SELECT COALESCE(numfactura, numventa) FROM cocifac WHERE fecha BETWEEN ? AND ?)");
    Cargar(ventas, columnas + QStringLiteral("cabecera_factura") + cobradas, desde, hasta, cobradas_);
    Cargar(ventas, columnas + QStringLiteral("cabecera_factura_temp") + abiertas, desde, hasta, abiertas_);
    Cargar(ventas, columnas + QStringLiteral("cabecera_factura_anulaciones") + eliminadas, desde, hasta, eliminadas_);
  }

  enum class Estado { Cobrada, Abierta, Eliminada };
  struct Resultado {
    Estado estado;
    const Venta* venta;  // nulo si no está en ninguna tabla
  };

  // Una comanda ya cobrada busca su factura; una sin cobrar, su venta
  // abierta; si no está, la busca entre las eliminadas con el mismo número.
  // Sin venta en ninguna tabla conserva el primer estado.
  Resultado Buscar(bool cobrada, qint64 numero) const {
    const auto& tabla = cobrada ? cobradas_ : abiertas_;
    const Estado primero = cobrada ? Estado::Cobrada : Estado::Abierta;
    if (const auto it = tabla.constFind(numero); it != tabla.constEnd()) return {primero, &*it};
    if (const auto it = eliminadas_.constFind(numero); it != eliminadas_.constEnd()) return {Estado::Eliminada, &*it};
    return {primero, nullptr};
  }

 private:
  static void Cargar(const datos::Conexion& ventas, const QString& sql, const QDate& desde, const QDate& hasta,
                     QHash<qint64, Venta>& destino) {
    datos::Lectura q(ventas, sql);
    q.enlazar(desde).enlazar(hasta);
    q.ejecutar();
    while (q.siguiente()) {
      const auto numero = EnteroDe(q.valor(0));
      if (numero && !destino.contains(*numero)) destino.insert(*numero, {q.valor(1), q.valor(2), q.valor(3)});
    }
  }

  QHash<qint64, Venta> cobradas_, abiertas_, eliminadas_;
};

// Una fila del informe: una comanda con lo que se sabe de su venta, o una
// cobrada sin comanda.
struct Fila {
  QVariant numVenta, numFactura, fecha, camarero, hora, total;
  enum class Tipo { Cobrada, Abierta, Eliminada, SinComanda } tipo;
};

}  // namespace

void CrearPedidosCocinaXVentas(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const SelloGeneracion sello = TomarSello(ctx.reloj);
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);

  // Primero se lee todo y se suman los totales, que van en cada fila: así se
  // escriben con ella y no hace falta volver sobre todas al final.
  const EstadosVenta estados(ventas, sel.FechaDesde, sel.FechaHasta);
  std::vector<Fila> filas;
  {
    datos::Lectura q(ventas, QStringLiteral("SELECT numventa, numfactura, fecha FROM cocifac"
                                            " WHERE fecha BETWEEN ? AND ? ORDER BY fecha, numventa, numfactura"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente()) {
      Fila f{q.valor(0), q.valor(1), q.valor(2), QStringLiteral(""), QVariant(), 0, Fila::Tipo::Abierta};
      const bool cobrada = !f.numFactura.isNull();
      const auto numero = EnteroDe(cobrada ? f.numFactura : f.numVenta);
      const auto r = numero ? estados.Buscar(cobrada, *numero)
                            : EstadosVenta::Resultado{
                                  cobrada ? EstadosVenta::Estado::Cobrada : EstadosVenta::Estado::Abierta, nullptr};
      // Una comanda cuya venta no está en ninguna tabla no suma nada.
      if (r.venta) {
        if (!r.venta->camarero.isNull()) f.camarero = r.venta->camarero;
        f.hora = r.venta->hora;
        if (!r.venta->total.isNull()) f.total = r.venta->total;
      }
      f.tipo = r.estado == EstadosVenta::Estado::Cobrada   ? Fila::Tipo::Cobrada
               : r.estado == EstadosVenta::Estado::Abierta ? Fila::Tipo::Abierta
                                                           : Fila::Tipo::Eliminada;
      filas.push_back(std::move(f));
    }
  }
  {
    // Las cobradas del intervalo que no tienen ninguna comanda. Con NOT
    // EXISTS una comanda aún sin factura (numfactura Null) no deja fuera a
    // todas.
    datos::Lectura q(ventas, QStringLiteral("SELECT numero, fechaventa, camarero, hora, total FROM cabecera_factura"
                                            " WHERE NOT EXISTS (SELECT 1 FROM cocifac"
                                            " WHERE cocifac.numfactura IS NOT NULL"
                                            " AND cocifac.numfactura = cabecera_factura.numero)"
                                            " AND fechaventa BETWEEN ? AND ? ORDER BY numero"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    while (q.siguiente())
      filas.push_back({QVariant(), q.valor(0), q.valor(1), q.valor(2), q.valor(3), q.valor(4), Fila::Tipo::SinComanda});
  }

  // Los totales en céntimos: así suman lo mismo que la plantilla, fila a fila.
  // Una venta cobrada y después eliminada no se quedó en la caja: va sólo con
  // las eliminadas.
  qint64 abiertas = 0, eliminadas = 0, cobradas = 0;
  for (const Fila& f : filas) {
    const qint64 c = std::llround(Importe(f.total) * 100.0);
    (f.tipo == Fila::Tipo::Abierta ? abiertas : f.tipo == Fila::Tipo::Eliminada ? eliminadas : cobradas) += c;
  }

  escritor.fijar(Col::Texto6, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto7, textoDiaMesAnio(sel.FechaHasta));
  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Fecha1, sello.fecha);
  escritor.fijar(Col::Fecha2, sello.hora);
  escritor.fijar(Col::Numerico18, static_cast<double>(abiertas) / 100.0);
  escritor.fijar(Col::Numerico19, static_cast<double>(eliminadas) / 100.0);
  escritor.fijar(Col::Numerico20, static_cast<double>(cobradas) / 100.0);
  const QString vacio = QStringLiteral("");
  for (const Fila& f : filas) {
    escritor.nuevaFila();
    const bool comanda = f.tipo != Fila::Tipo::SinComanda;
    if (comanda) {
      escritor.origen("cocifac", "la comanda", f.numVenta);
      escritor.poner(Col::Numerico10, f.numVenta, "numventa");
    } else {
      escritor.origen("cabecera_factura", "la factura", f.numFactura);
    }
    if (!f.numFactura.isNull()) escritor.poner(Col::Numerico11, f.numFactura, comanda ? "numfactura" : "numero");
    escritor.poner(Col::Texto5, DiaEnTexto(f.fecha));
    escritor.poner(Col::Texto21, f.camarero);
    escritor.poner(Col::Fecha4, HoraONulo(f.hora));
    escritor.poner(Col::Doble1, f.total, "total");
    switch (f.tipo) {
      case Fila::Tipo::Cobrada:
        escritor.poner(Col::Texto9, QStringLiteral("Cobrada"));
        escritor.poner(Col::Texto10, vacio);
        break;
      case Fila::Tipo::Abierta:
        escritor.poner(Col::Texto9, QStringLiteral("Abierta"));
        escritor.poner(Col::Texto10, vacio);
        break;
      case Fila::Tipo::Eliminada:
        escritor.poner(Col::Texto9, vacio);
        escritor.poner(Col::Texto10, QStringLiteral("Eliminada"));
        break;
      case Fila::Tipo::SinComanda:
        escritor.poner(Col::Texto9, QStringLiteral("Cobrado"));
        break;
    }
    sel.SinDatos = false;
    escritor.guardarFila();
  }
  escritor.terminar();
  if (sel.SinDatos)
    AvisarSinDatos(ctx.notificador, QStringLiteral("No hay datos para ser mostrados"), QStringLiteral("Atencion"));
}

}  // namespace informes
