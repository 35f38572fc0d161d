#include "builders/Busquedas.h"
#include "builders/InformesCaja.h"
#include "builders/InformesPersonal.h"
#include "platform/datos/Orden.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace informes {

namespace {

// Lo que tienen los cinco listados: las columnas de todas sus filas y el
// aviso cuando no sale ninguna, que no dice lo mismo en todos.
class Listado {
 public:
  Listado(Contexto& ctx, bool avisoConPunto)
      : ctx_(ctx), escritor_(*ctx.ajustes.ConexionInformes), avisoConPunto_(avisoConPunto) {
    ctx.seleccion.SinDatos = true;
    const SelloGeneracion sello = TomarSello(ctx.reloj);
    escritor_.vaciar();
    const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas(), &ctx.notificador);
    escritor_.fijar(Col::Texto1, cabecera.nombre);
    escritor_.fijar(Col::Texto2, cabecera.direccion);
    escritor_.fijar(Col::Texto6, textoDiaMesAnio(ctx.seleccion.FechaDesde));
    escritor_.fijar(Col::Texto7, textoDiaMesAnio(ctx.seleccion.FechaHasta));
    escritor_.fijar(Col::Fecha1, sello.fecha);
    escritor_.fijar(Col::Fecha2, sello.hora);
  }

  const datos::Conexion& ventas() const { return *ctx_.ajustes.ConexionVentas; }
  const SeleccionInforme& seleccion() const { return ctx_.seleccion; }
  EscritorInformes& escritor() { return escritor_; }

  void guardar() {
    ctx_.seleccion.SinDatos = false;
    escritor_.guardarFila();
  }

  void terminar() {
    escritor_.terminar();
    if (!ctx_.seleccion.SinDatos) return;
    if (avisoConPunto_)
      AvisarSinDatos(ctx_.notificador);
    else
      AvisarSinDatos(ctx_.notificador, QStringLiteral("No hay datos para ser mostrados"), QStringLiteral("Atencion"));
  }

 private:
  Contexto& ctx_;
  EscritorInformes escritor_;
  bool avisoConPunto_;
};

// "hh:mm" de una hora leída de la base; vacío si no hay hora.
QVariant HoraEnTexto(const QVariant& v) {
  if (v.isNull()) return {};
  if (v.typeId() == QMetaType::QString) {
    // "hh:mm:ss" tal como se guarda: basta con cortarla.
    const QString t = v.toString();
    auto digito = [&](qsizetype i) { return t.at(i) >= QLatin1Char('0') && t.at(i) <= QLatin1Char('9'); };
    if (t.size() >= 5 && digito(0) && digito(1) && t.at(2) == QLatin1Char(':') && digito(3) && digito(4) &&
        (t.size() == 5 || t.at(5) == QLatin1Char(':')))
      return t.left(5);
  }
  const QVariant h = HoraONulo(v);
  if (h.isNull()) return {};
  const QTime t = h.toTime();
  return QStringLiteral("%1:%2").arg(t.hour(), 2, 10, QLatin1Char('0')).arg(t.minute(), 2, 10, QLatin1Char('0'));
}

// Un código numérico en una columna de texto, sin decimales sobrantes.
QVariant CodigoEnTexto(const QVariant& v) {
  if (v.isNull()) return {};
  if (const auto n = EnteroDe(v)) return QString::number(*n);
  return v.toString();
}

// Nombre y apellidos unidos por un blanco; un Null no aporta nada pero el
// blanco se queda.
QString NombreCompleto(const QVariant& nombre, const QVariant& apellidos) {
  return Unir({nombre.toString(), apellidos.toString()});
}

}  // namespace

QVariant DiaEnTexto(const QVariant& v) {
  if (v.isNull()) return {};
  // Las filas llegan casi siempre por días: el mismo texto que la anterior
  // no se vuelve a leer como fecha.
  thread_local QVariant ultimo, ultimoTexto;
  if (v == ultimo) return ultimoTexto;
  const QDate d = datos::aFecha(v);
  ultimo = v;
  ultimoTexto = d.isValid() ? QVariant(textoDiaMesAnio(d)) : QVariant(v.toString());
  return ultimoTexto;
}

// --- Empleado del mes ------------------------------------------------------------

void CrearEmpleadoMes(Contexto& ctx) {
  Listado listado(ctx, true);
  // Las líneas de las facturas no borradas del intervalo, sumadas por
  // camarero aquí: agrupar en la base ordena el año entero y distingue
  // mayúsculas en el nombre, que la suite no distinguía.
  datos::Lectura q(listado.ventas(),
                   QStringLiteral("SELECT detalle_factura.codcamarero, detalle_factura.nombrecamarero,"
                                  " detalle_factura.precio, detalle_factura.descuento, detalle_factura.recargo"
                                  " FROM detalle_factura INNER JOIN cabecera_factura"
                                  " ON detalle_factura.num_factura = cabecera_factura.numero"
                                  " WHERE cabecera_factura.fechaventa BETWEEN ? AND ? AND cabecera_factura.borrar = 0"
                                  // Una línea borrada no se vendió.
                                  " AND (detalle_factura.borrar IS NULL OR detalle_factura.borrar = 0)"));
  q.enlazar(listado.seleccion().FechaDesde).enlazar(listado.seleccion().FechaHasta);
  q.ejecutar();
  struct Camarero {
    QVariant codigo, nombre;
    // Lo leído, para reconocer las líneas del camarero sin convertirlas.
    bool codigoNulo;
    qint64 clave;
    bool nombreNulo;
    QByteArray bytes;
    double prec = 0, dcto = 0, rec = 0;
  };
  std::vector<Camarero> camareros;
  std::size_t ultimo = 0;
  while (q.siguiente()) {
    const bool codigoNulo = q.esNulo(0);
    const qint64 clave = codigoNulo ? 0 : q.entero(0);
    const bool nombreNulo = q.esNulo(1);
    const QByteArrayView nombre = q.textoUtf8(1);
    Camarero* c = nullptr;
    // Casi todas las líneas seguidas son del mismo camarero: se empieza por
    // el último.
    for (std::size_t n = 0; !c && n < camareros.size(); ++n) {
      const std::size_t i = (ultimo + n) % camareros.size();
      Camarero& k = camareros[i];
      if (k.codigoNulo != codigoNulo || k.clave != clave || k.nombreNulo != nombreNulo) continue;
      if (nombreNulo || k.bytes == nombre ||
          QString::fromUtf8(k.bytes).compare(QString::fromUtf8(nombre), Qt::CaseInsensitive) == 0) {
        c = &k;
        ultimo = i;
      }
    }
    if (!c) {
      camareros.push_back({q.valor(0), q.valor(1), codigoNulo, clave, nombreNulo, nombre.toByteArray()});
      ultimo = camareros.size() - 1;
      c = &camareros.back();
    }
    c->prec += q.numero(2);
    c->dcto += q.numero(3);
    c->rec += q.numero(4);
  }
  // En el orden de la agrupación: por código y, a igual código, por nombre.
  const datos::CriterioOrden criterio;
  std::stable_sort(camareros.begin(), camareros.end(), [&](const Camarero& a, const Camarero& b) {
    const int r = criterio.comparar(a.codigo, b.codigo);
    return r != 0 ? r < 0 : criterio.comparar(a.nombre, b.nombre) < 0;
  });
  // Las sumas son de céntimos: sin restos de coma flotante, que dependerían
  // del orden en que llegan las líneas.
  auto centimos = [](double v) { return std::round(v * 100.0) / 100.0; };
  EscritorInformes& e = listado.escritor();
  for (const Camarero& c : camareros) {
    e.nuevaFila();
    e.poner(Col::Texto22, c.nombre);
    // Lo vendido antes de descuentos y sin los recargos: con qué vende cada
    // uno, no lo que se cobró.
    e.poner(Col::Numerico2, centimos(c.prec - c.rec + c.dcto));
    e.poner(Col::Numerico3, centimos(c.rec));
    e.poner(Col::Numerico4, centimos(c.dcto));
    listado.guardar();
  }
  listado.terminar();
}

// --- Retiradas y gastos -------------------------------------------------------------

void CrearRetiradas(Contexto& ctx) {
  Listado listado(ctx, true);
  // Una retirada de un empleado que ya no está en la ficha no sale.
  datos::Lectura q(listado.ventas(),
                   QStringLiteral("SELECT retiradas.empleado, retiradas.fecha, retiradas.hora, retiradas.importe,"
                                  " empleados.nombre, empleados.apellidos"
                                  " FROM empleados INNER JOIN retiradas ON empleados.codigo = retiradas.empleado"
                                  " WHERE retiradas.fecha BETWEEN ? AND ? ORDER BY retiradas.fecha, retiradas.id"));
  q.enlazar(listado.seleccion().FechaDesde).enlazar(listado.seleccion().FechaHasta);
  q.ejecutar();
  EscritorInformes& e = listado.escritor();
  while (q.siguiente()) {
    e.nuevaFila();
    e.origen("retiradas", "la retirada del empleado", q.valor(0));
    e.poner(Col::Texto21, NombreCompleto(q.valor(4), q.valor(5)));
    e.poner(Col::Texto23, CodigoEnTexto(q.valor(0)));
    e.poner(Col::Texto5, DiaEnTexto(q.valor(1)));
    e.poner(Col::Fecha4, HoraONulo(q.valor(2)));
    e.poner(Col::Numerico9, q.valor(3), "importe");
    listado.guardar();
  }
  listado.terminar();
}

void CrearGastos(Contexto& ctx) {
  Listado listado(ctx, false);
  // Un gasto apuntado sin empleado de la ficha no sale.
  datos::Lectura q(
      listado.ventas(),
      QStringLiteral("SELECT gastos.codigoempleado, gastos.fecha, gastos.hora, gastos.importe, gastos.importe_decimal,"
                     " gastos.motivo, empleados.nombre, empleados.apellidos"
                     " FROM empleados INNER JOIN gastos ON empleados.codigo = gastos.codigoempleado"
                     " WHERE gastos.fecha BETWEEN ? AND ? ORDER BY gastos.fecha, gastos.id"));
  q.enlazar(listado.seleccion().FechaDesde).enlazar(listado.seleccion().FechaHasta);
  q.ejecutar();
  EscritorInformes& e = listado.escritor();
  while (q.siguiente()) {
    e.nuevaFila();
    e.origen("gastos", "el gasto del empleado", q.valor(0));
    e.poner(Col::Texto21, NombreCompleto(q.valor(6), q.valor(7)));
    e.poner(Col::Texto23, CodigoEnTexto(q.valor(0)));
    e.poner(Col::Texto5, DiaEnTexto(q.valor(1)));
    e.poner(Col::Fecha4, HoraONulo(q.valor(2)));
    // La regla de kImporteGastoSql, con la columna que la da como origen.
    const QVariant decimal = q.valor(4);
    const bool conDecimal = !decimal.isNull() && Importe(decimal) != 0;
    e.poner(Col::Numerico9, conDecimal ? decimal : q.valor(3), conDecimal ? "importe_decimal" : "importe");
    e.poner(Col::Texto15, q.valor(5));
    listado.guardar();
  }
  listado.terminar();
}

// --- Propinas ---------------------------------------------------------------------

void CrearPropinas(Contexto& ctx) {
  Listado listado(ctx, false);
  // Una propina sin venta (la del bote) sale igual, sin hora ni terminal.
  datos::Lectura q(listado.ventas(),
                   QStringLiteral("SELECT propinas.codempleado, propinas.nomempleado, propinas.fecha, propinas.importe,"
                                  " propinas.numventa, cabecera_factura.hora, cabecera_factura.terminal"
                                  " FROM propinas LEFT JOIN cabecera_factura"
                                  " ON cabecera_factura.numero = propinas.numventa"
                                  " WHERE propinas.fecha BETWEEN ? AND ? ORDER BY propinas.fecha, propinas.id"));
  q.enlazar(listado.seleccion().FechaDesde).enlazar(listado.seleccion().FechaHasta);
  q.ejecutar();
  EscritorInformes& e = listado.escritor();
  while (q.siguiente()) {
    e.nuevaFila();
    e.origen("propinas", "la propina de la venta", q.valor(4));
    e.poner(Col::Texto21, q.valor(1));
    e.poner(Col::Texto23, CodigoEnTexto(q.valor(0)));
    e.poner(Col::Texto5, DiaEnTexto(q.valor(2)));
    e.poner(Col::Numerico9, q.valor(3), "importe");
    e.poner(Col::Numerico1, q.valor(4), "numventa");
    e.poner(Col::Texto16, HoraEnTexto(q.valor(5)));
    e.poner(Col::Texto17, q.valor(6));
    listado.guardar();
  }
  listado.terminar();
}

// --- Ventas con promociones ---------------------------------------------------------

namespace {

// Nombre de cada promoción. Las dos promociones de fábrica se llaman siempre
// igual, diga lo que diga la tabla.
class NombresPromocion {
 public:
  explicit NombresPromocion(const datos::Conexion& ventas) {
    datos::Consulta q = ventas.preparar(QStringLiteral("SELECT numero, descripcion FROM promociones"));
    q.ejecutar();
    while (q.siguiente()) {
      const auto n = EnteroDe(q.valor(0));
      if (n && !nombres_.contains(*n)) nombres_.insert(*n, q.texto(QStringLiteral("descripcion")));
    }
  }

  QString NombrePromocion(const QVariant& numero) const {
    const auto n = EnteroDe(numero);
    if (n == 3) return QStringLiteral("Descuento x Porcentaje");
    if (n == 4) return QStringLiteral("Unidades x Importe");
    return n ? nombres_.value(*n, QStringLiteral("")) : QStringLiteral("");
  }

 private:
  QHash<qint64, QString> nombres_;
};

}  // namespace

void CrearVentasPromociones(Contexto& ctx) {
  Listado listado(ctx, false);
  const NombresPromocion nombres(listado.ventas());
  // Todas las ventas del intervalo, también las borradas: lo que se mira es
  // cuánto se usa cada promoción, no lo que se cobró.
  datos::Lectura q(
      listado.ventas(),
      QStringLiteral("SELECT cabecera_factura.numero, cabecera_factura.fechaventa, cabecera_factura.hora,"
                     " detalle_factura.promocion, detalle_factura.unidadespromocion, detalle_factura.producto,"
                     " detalle_factura.nombrecamarero"
                     " FROM cabecera_factura INNER JOIN detalle_factura"
                     " ON detalle_factura.num_factura = cabecera_factura.numero"
                     " WHERE cabecera_factura.fechaventa BETWEEN ? AND ?"
                     " AND detalle_factura.promocion IS NOT NULL AND detalle_factura.promocion > 0"
                     " ORDER BY cabecera_factura.numero, detalle_factura.indice"));
  q.enlazar(listado.seleccion().FechaDesde).enlazar(listado.seleccion().FechaHasta);
  q.ejecutar();
  EscritorInformes& e = listado.escritor();
  QVariant anterior;
  QString nombre;
  while (q.siguiente()) {
    e.nuevaFila();
    e.origen("detalle_factura", "la línea de la factura", q.valor(0));
    const QVariant promocion = q.valor(3);
    if (promocion != anterior || nombre.isNull()) {
      nombre = nombres.NombrePromocion(promocion);
      anterior = promocion;
    }
    e.poner(Col::Texto21, nombre);
    e.poner(Col::Texto22, CodigoEnTexto(q.valor(0)));
    e.poner(Col::Texto23, HoraEnTexto(q.valor(2)));
    e.poner(Col::Texto5, DiaEnTexto(q.valor(1)));
    e.poner(Col::Numerico3, q.valor(4), "unidadespromocion");
    e.poner(Col::Texto4, q.valor(5));
    e.poner(Col::Texto10, q.valor(6));
    e.poner(Col::Texto11, QStringLiteral("Total - ") + nombre);
    listado.guardar();
  }
  listado.terminar();
}

}  // namespace informes
