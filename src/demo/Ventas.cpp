#include "demo/Ventas.h"

#include "demo/Insercion.h"
#include "demo/Jornada.h"

#include <QLocale>

#include <algorithm>

namespace demo {

namespace {

QString U(const char* texto) {
  return QString::fromUtf8(texto);
}

// Los casos raros que distinguen los informes, forzados el primer día abierto
// de cada mes para que cualquier rango de un mes los tenga.
std::vector<Plan> Escaparate() {
  std::vector<Plan> planes;
  auto nuevo = [&](Franja f, Sitio s) -> Plan& {
    Plan p;
    p.franja = f;
    p.sitio = s;
    planes.push_back(p);
    return planes.back();
  };
  {
    Plan& p = nuevo(Franja::Comida, Sitio::Comedor);  // pago partido con tarjeta: "Tarjeta/Mixto"
    p.pagoPartido = true;
    p.pagoForzado = pago::Efectivo;
    p.menus = 1;
    p.dosCamareros = true;
    p.propinas = 2;
    p.ncf = 1;
  }
  {
    Plan& p = nuevo(Franja::Cena, Sitio::Terraza);  // pago partido con cheque comida
    p.pagoPartido = true;
    p.pagoForzado = pago::ChequeComida;
    p.ncf = 2;
  }
  {
    Plan& p = nuevo(Franja::Cena, Sitio::Telefono);  // a domicilio, precios sin IVA incluido
    p.sinImpuestoIncluido = true;
    p.ncf = 3;
  }
  {
    Plan& p = nuevo(Franja::Comida, Sitio::Telefono);  // sin repartidor y con un cliente que ya no existe
    p.sinRepartidor = true;
    p.cliente = 9999;
    p.ncf = 4;
  }
  nuevo(Franja::Comida, Sitio::Telefono).domicilio = false;  // recogida en el local
  nuevo(Franja::Cena, Sitio::Plataforma).ncf = 5;            // tipo de comprobante sin rótulo
  nuevo(Franja::Cena, Sitio::Comedor).menus = 2;             // degustación: cuatro pases
  nuevo(Franja::Comida, Sitio::Comedor).menus = 3;           // medio menú y menú del día
  nuevo(Franja::Comida, Sitio::Comedor).menus = 4;           // infantil
  nuevo(Franja::Comida, Sitio::Comedor).final = Final::AnuladaSinNumero;
  {
    Plan& p = nuevo(Franja::Desayuno, Sitio::Barra);
    p.final = Final::AnuladaSinNumero;
    p.numeroCero = true;
  }
  nuevo(Franja::Cena, Sitio::Comedor).final = Final::AnuladaCobrada;
  nuevo(Franja::Copas, Sitio::Barra).tardeMalConfigurada = true;
  nuevo(Franja::Desayuno, Sitio::Barra).invitacion = true;
  nuevo(Franja::Tarde, Sitio::Barra).devolucion = true;
  nuevo(Franja::Cena, Sitio::Comedor).impuestoNulo = true;
  nuevo(Franja::Comida, Sitio::Comedor).borrada = true;
  {
    Plan& p = nuevo(Franja::Aperitivo, Sitio::Barra);  // 10 %, 21 %, 0 % y una línea sin tipo
    p.lineaSinTipo = true;
    p.productoAl21 = true;
    p.productoAl0 = true;
  }
  nuevo(Franja::Tarde, Sitio::Barra).promociones = true;
  nuevo(Franja::Comida, Sitio::Comedor).descuentoGlobal = true;
  nuevo(Franja::Aperitivo, Sitio::Barra).lineaBorrada = true;
  nuevo(Franja::Cena, Sitio::Barra).quitada = LineaQuitada::SinOrigen;
  nuevo(Franja::Cena, Sitio::Barra).quitada = LineaQuitada::OtraFactura;
  nuevo(Franja::Cena, Sitio::Barra).quitada = LineaQuitada::OrigenMenosUno;
  nuevo(Franja::Cena, Sitio::Barra).quitada = LineaQuitada::Servida;
  nuevo(Franja::Desayuno, Sitio::Rapida);
  nuevo(Franja::Desayuno, Sitio::CajaAntigua);
  nuevo(Franja::Cena, Sitio::Entrada);
  nuevo(Franja::Cena, Sitio::Ropero);
  nuevo(Franja::Comida, Sitio::Comedor).cobroParcial = true;
  nuevo(Franja::Aperitivo, Sitio::Barra).conCliente = true;
  nuevo(Franja::Desayuno, Sitio::Barra).mesaSinRotulo = true;
  return planes;
}

struct Motivo {
  const char* texto;
  int minimo, maximo;  // céntimos
  int empleado;
};

const Motivo kMotivos[] = {
    {"Compra de pan", 800, 2500, 1},
    {"Hielo", 1000, 3000, 6},
    {"Mercado: verdura y fruta", 2000, 12000, 2},
    {"Propina repartidor", 200, 500, 9},
    {"Gasoil del reparto", 2000, 5000, 9},
    {"Limpieza: lejía y bayetas", 800, 3000, 1},
    {"Flores para el comedor", 1500, 4000, 1},
    {"Correos y mensajería", 300, 1200, 1},
    {"Reparación de la cafetera", 6000, 18000, 1},
};

const char* const kReservaSinFicha[] = {"Familia García",    "Sr. Martínez", "Peña Los Amigos",    "Cumpleaños Laura",
                                        "Comida de empresa", "Sra. Incera",  "Despedida de Lucas", "Cuadrilla de Noja"};

struct Contadores {
  qint64 numero = 30001;
  qint64 numVenta = 50001;
  qint64 propina = 1, gasto = 1, retirada = 1, cierre = 1, reserva = 1, pedido = 1, historico = 1;
  int ncf[6] = {0, 0, 0, 0, 0, 0};
  qint64 cajaInicial = 15000;
};

class Generador {
 public:
  Generador(const datos::Conexion& c, const Tienda& t, const OpcionesDemo& o)
      : t_(t),
        o_(o),
        cabecera_(c, QStringLiteral("cabecera_factura"),
                  {"numero",     "fecha",    "fechaventa", "hora",     "hora_inicio", "camarero",   "codigo_camarero",
                   "zona_venta", "mesa",     "total",      "impuesto", "recargo",     "descuento",  "impuestoincluido",
                   "pago",       "efectivo", "tarjeta",    "cliente",  "modoventa",   "repartidor", "terminal",
                   "borrar"}),
        cabeceraAnulada_(
            c, QStringLiteral("cabecera_factura_anulaciones"),
            {"numero",     "fecha",    "fechaventa", "hora",     "hora_inicio", "camarero",   "codigo_camarero",
             "zona_venta", "mesa",     "total",      "impuesto", "recargo",     "descuento",  "impuestoincluido",
             "pago",       "efectivo", "tarjeta",    "cliente",  "modoventa",   "repartidor", "terminal",
             "borrar"}),
        temporal_(c, QStringLiteral("cabecera_factura_temp"),
                  {"numero",     "fecha",    "fechaventa", "hora",     "hora_inicio", "camarero",   "codigo_camarero",
                   "zona_venta", "mesa",     "total",      "impuesto", "recargo",     "descuento",  "impuestoincluido",
                   "pago",       "efectivo", "tarjeta",    "cliente",  "modoventa",   "repartidor", "terminal",
                   "borrar"}),
        detalle_(c, QStringLiteral("detalle_factura"),
                 {"num_factura",       "indice",         "orden",    "codigo",         "producto",  "precio",
                  "precio_unit",       "unidades",       "impuesto", "tipoimpuesto",   "descuento", "recargo",
                  "codcamarero",       "nombrecamarero", "menu",     "productodemenu", "codmenu",   "promocion",
                  "unidadespromocion", "borrar"}),
        detalleAnulado_(c, QStringLiteral("detalle_factura_anulaciones"),
                        {"num_factura",
                         "indice",
                         "orden",
                         "codigo",
                         "producto",
                         "precio",
                         "precio_unit",
                         "unidades",
                         "impuesto",
                         "tipoimpuesto",
                         "descuento",
                         "recargo",
                         "codcamarero",
                         "nombrecamarero",
                         "menu",
                         "productodemenu",
                         "codmenu",
                         "promocion",
                         "unidadespromocion",
                         "borrar",
                         "num_facturaorigen",
                         "fechaanulacion",
                         "servido"}),
        cocifac_(c, QStringLiteral("cocifac"), {"fecha", "numventa", "numfactura"}),
        propinas_(c, QStringLiteral("propinas"), {"id", "numventa", "importe", "codempleado", "nomempleado", "fecha"}),
        ncf_(c, QStringLiteral("facturatiporepdom"), {"nrofactura", "cfc", "tipo", "nroactual"}),
        gastos_(c, QStringLiteral("gastos"),
                {"id", "fecha", "hora", "codigoempleado", "importe", "importe_decimal", "motivo"}),
        retiradas_(c, QStringLiteral("retiradas"), {"id", "empleado", "fecha", "hora", "importe"}),
        cierres_(c, QStringLiteral("cierre_caja"),
                 {"id", "fecha", "hora", "recuento", "caja", "tarjeta", "cajainicialsiguientedia", "nom_empleado"}),
        reservas_(c, QStringLiteral("reservas"),
                  {"id", "telefono", "fecha", "hora", "nombre", "mesa", "numcomensales"}),
        pedidos_(c, QStringLiteral("pedidos"), {"cod", "fecha", "proveedor"}),
        pedidosDet_(c, QStringLiteral("pedidosdet"), {"pedido", "producto", "coste", "unidades"}),
        historico_(c, QStringLiteral("historicostock"), {"id", "codigo", "cantidad", "fecha", "descripciontipo"}),
        horas_(86400) {
    for (size_t i = 0; i < t.productos.size(); ++i) {
      const Producto& p = t.productos[i];
      if (!p.borrar && p.stockMinimo.toDouble() > 0 && p.uso != Uso::Generado) conStock_.push_back(static_cast<int>(i));
    }
    vendidas_.assign(t.productos.size(), 0);
  }

  Recuento ejecutar(const QDate& desde, const QDate& hasta, const Progreso& progreso);

 private:
  void dia(const QDate& d);
  void escribirVenta(Venta& v, Azar& azar);
  void escribirLinea(qint64 numFactura, int indice, const Linea& l);
  void movimientoDiario(const QDate& d, Azar& azar, bool escaparate, int ultimaClave, const Empleado* cierra);
  void reservas(const QDate& d, Azar& azar, double factor);
  void pedidos(const QDate& d, Azar& azar, bool escaparate);
  void abiertas(const QDate& hoy);
  const QString& hora(int segundo) {
    QString& h = horas_[static_cast<size_t>(((segundo % 86400) + 86400) % 86400)];
    if (h.isNull()) h = TextoHora(segundo);
    return h;
  }

  const Tienda& t_;
  const OpcionesDemo& o_;
  Insercion cabecera_, cabeceraAnulada_, temporal_, detalle_, detalleAnulado_, cocifac_, propinas_, ncf_, gastos_,
      retiradas_, cierres_, reservas_, pedidos_, pedidosDet_, historico_;
  std::vector<QString> horas_;
  std::vector<int> conStock_;
  std::vector<qint64> vendidas_;
  Contadores c_;
  Recuento recuento_;
  QString textoDia_;
  // Caja del día, en céntimos.
  qint64 efectivoDia_ = 0, tarjetaDia_ = 0;
  int mesEscaparate_ = 0;
};

Recuento Generador::ejecutar(const QDate& desde, const QDate& hasta, const Progreso& progreso) {
  const QLocale es(QLocale::Spanish, QLocale::Spain);
  qint64 facturasMes = 0, lineasMes = 0;
  for (QDate d = desde; d <= hasta; d = d.addDays(1)) {
    const Recuento antes = recuento_;
    dia(d);
    facturasMes += recuento_.facturas - antes.facturas;
    lineasMes += recuento_.lineas - antes.lineas;
    if (progreso && (d == hasta || d.addDays(1).month() != d.month())) {
      progreso(QStringLiteral("  %1 de %2: %3 ventas, %4 líneas")
                   .arg(es.standaloneMonthName(d.month()))
                   .arg(d.year())
                   .arg(es.toString(facturasMes), es.toString(lineasMes)));
      facturasMes = lineasMes = 0;
    }
  }
  abiertas(hasta.addDays(1));
  return recuento_;
}

void Generador::dia(const QDate& d) {
  if (Jornada::Cerrado(d)) return;
  // Cada día saca su azar de la semilla y de su fecha: el mismo día sale igual
  // se genere solo o dentro de un año entero.
  Azar azar(o_.semilla, static_cast<quint64>(d.toJulianDay()));
  textoDia_ = TextoDia(d);
  const bool anteriorAbierto = !Jornada::Cerrado(d.addDays(-1));
  Jornada jornada(t_, azar, d);

  std::vector<Venta> ventas;
  const int n = Jornada::VentasDelDia(d, o_.ventasDia, azar);
  ventas.reserve(static_cast<size_t>(n) + 64);
  if (anteriorAbierto && azar.probable(0.12)) {
    Plan p;
    p.franja = Franja::Copas;
    p.sitio = Sitio::Barra;
    p.tardeMalConfigurada = true;
    ventas.push_back(jornada.construir(p));
  }
  for (int i = 0; i < n; ++i) ventas.push_back(jornada.construir(jornada.planAlAzar()));
  // El primer sábado de cada mes hay concierto: entradas y ropero.
  if (d.dayOfWeek() == 6 && d.day() <= 7) {
    const int asistentes = std::max(3, o_.ventasDia / 6);
    for (int i = 0; i < asistentes; ++i) {
      Plan p;
      p.franja = Franja::Cena;
      p.sitio = i % 3 == 2 ? Sitio::Ropero : Sitio::Entrada;
      ventas.push_back(jornada.construir(p));
    }
  }
  const bool escaparate = d.year() * 12 + d.month() != mesEscaparate_;
  if (escaparate) {
    mesEscaparate_ = d.year() * 12 + d.month();
    for (const Plan& p : Escaparate()) ventas.push_back(jornada.construir(p));
  }
  std::stable_sort(ventas.begin(), ventas.end(), [](const Venta& a, const Venta& b) { return a.clave < b.clave; });

  efectivoDia_ = tarjetaDia_ = 0;
  std::fill(vendidas_.begin(), vendidas_.end(), 0);
  for (Venta& v : ventas) escribirVenta(v, azar);
  movimientoDiario(d, azar, escaparate, ventas.back().clave, ventas.back().camarero);
}

void Generador::escribirLinea(qint64 numFactura, int indice, const Linea& l) {
  detalle_.fila(numFactura, indice, l.orden, t_.producto(l.producto).codigo, l.nombre, Euros(l.precio),
                Euros(l.precioUnit), static_cast<double>(l.unidades), Euros(l.impuesto),
                l.tasaNula ? kNulo : QVariant(l.tasa), Euros(l.descuento), Euros(l.recargo), l.camarero->codigo,
                l.camarero->nombreCompleto, l.menu, l.productoDeMenu, l.codMenu.isNull() ? kNulo : QVariant(l.codMenu),
                l.promocion, l.unidadesPromocion, l.borrar);
}

void Generador::escribirVenta(Venta& v, Azar& azar) {
  v.numVenta = c_.numVenta++;
  const bool cobrada = v.final == Final::Cobrada;
  if (v.final == Final::AnuladaSinNumero)
    v.numero = v.numeroCero ? 0 : -v.numVenta;
  else
    v.numero = c_.numero++;

  Insercion& cabecera = cobrada ? cabecera_ : cabeceraAnulada_;
  cabecera.fila(v.numero, TextoDia(v.fecha), textoDia_, hora(v.hora), hora(v.horaInicio), v.camarero->nombreCompleto,
                v.camarero->codigo, v.zona, v.mesa, Euros(v.total),
                v.impuestoNulo ? kNulo : QVariant(Euros(v.impuesto)), Euros(v.recargo), Euros(v.descuento),
                v.impuestoIncluido, v.pago, Euros(v.efectivo), Euros(v.tarjeta), v.cliente, v.modo, v.repartidor,
                v.terminal, cobrada ? v.borrar : -1);
  int indice = 0;
  if (cobrada) {
    for (const Linea& l : v.lineas) escribirLinea(v.numero, ++indice, l);
    recuento_.facturas += 1;
    recuento_.lineas += indice;
  } else {
    const int servido = v.cocina && azar.probable(0.5) ? -1 : 0;
    // Las líneas de una venta anulada entera llevan borrar -1, como las marca la suite.
    for (const Linea& l : v.lineas) {
      detalleAnulado_.fila(v.numero, ++indice, l.orden, t_.producto(l.producto).codigo, l.nombre, Euros(l.precio),
                           Euros(l.precioUnit), static_cast<double>(l.unidades), Euros(l.impuesto),
                           l.tasaNula ? kNulo : QVariant(l.tasa), Euros(l.descuento), Euros(l.recargo),
                           l.camarero->codigo, l.camarero->nombreCompleto, l.menu, l.productoDeMenu,
                           l.codMenu.isNull() ? kNulo : QVariant(l.codMenu), l.promocion, l.unidadesPromocion, -1,
                           kNulo, textoDia_, servido);
    }
  }

  // Línea quitada antes de cobrar: queda en las anulaciones con su venta.
  if (cobrada && v.quitada != LineaQuitada::Ninguna) {
    const Linea& l = v.lineaQuitada;
    QVariant numFactura = v.numero;
    QVariant origen = kNulo;
    int servido = 0;
    switch (v.quitada) {
      case LineaQuitada::SinOrigen:
        numFactura = -v.numVenta;
        break;  // aún sin número de factura
      case LineaQuitada::OtraFactura:
        origen = std::max<qint64>(30001, v.numero - azar.entre(1, 40));
        break;
      case LineaQuitada::OrigenMenosUno:
        origen = -1;
        break;
      case LineaQuitada::Servida:
        servido = 1;
        break;
      case LineaQuitada::Ninguna:
        break;
    }
    detalleAnulado_.fila(numFactura, 0, 0, t_.producto(l.producto).codigo, l.nombre, Euros(l.precio),
                         Euros(l.precioUnit), static_cast<double>(l.unidades), Euros(l.impuesto),
                         l.tasaNula ? kNulo : QVariant(l.tasa), Euros(l.descuento), Euros(l.recargo),
                         l.camarero->codigo, l.camarero->nombreCompleto, l.menu, l.productoDeMenu, kNulo, l.promocion,
                         l.unidadesPromocion, 0, origen, textoDia_, servido);
  }

  if (v.cocina)
    cocifac_.fila(TextoDia(v.fecha), v.numVenta, v.final == Final::AnuladaSinNumero ? kNulo : QVariant(v.numero));
  if (!cobrada) return;

  for (size_t i = 0; i < v.propinas.size(); ++i) {
    const Empleado* e = i == 0 ? v.camarero : v.camareroPropina2;
    propinas_.fila(c_.propina++, v.numero, Euros(v.propinas[i]), e->codigo, e->nombreCompleto, textoDia_);
  }
  if (v.ncf > 0) {
    static const char* const series[] = {"", "B01", "B02", "B15", "B14", "B16"};
    const int n = ++c_.ncf[v.ncf];
    ncf_.fila(v.numero, QStringLiteral("%1%2").arg(QLatin1String(series[v.ncf])).arg(n, 8, 10, QLatin1Char('0')), v.ncf,
              n);
  }
  if (v.borrar) return;
  if (v.efectivo != 0 || v.tarjeta != 0) {
    efectivoDia_ += v.efectivo;
    tarjetaDia_ += v.tarjeta;
  } else if (v.pago == pago::Efectivo) {
    efectivoDia_ += v.total;
  } else if (v.pago == pago::Tarjeta || v.pago == pago::Amex) {
    tarjetaDia_ += v.total;
  }
  for (const Linea& l : v.lineas) {
    const int tipo = t_.producto(l.producto).tipoProd;
    if (!l.borrar && (tipo == 1 || tipo == 2)) vendidas_[static_cast<size_t>(l.producto)] += l.unidades;
  }
}

void Generador::movimientoDiario(const QDate& d, Azar& azar, bool escaparate, int ultimaClave, const Empleado* cierra) {
  // Gastos pagados de la caja. La suite guarda el importe en dos columnas y
  // no siempre igual: entero y decimal, todo en importe, o sólo el decimal.
  qint64 gastosDia = 0;
  const int n = azar.entre(1, 3) + (escaparate ? 1 : 0);
  for (int i = 0; i < n; ++i) {
    const Motivo& m = kMotivos[azar.entre(0, azar.probable(0.97) ? 7 : 8)];
    const qint64 importe = azar.entre(m.minimo, m.maximo);
    QVariant entero, decimal;
    const double r = azar.real();
    if (escaparate && i == n - 1) {
      entero = kNulo;
      decimal = Euros(importe);
    } else if (r < 0.78) {
      entero = static_cast<double>(importe / 100);
      decimal = Euros(importe);
    } else if (r < 0.88) {
      entero = Euros(importe);
      decimal = kNulo;
    } else if (r < 0.95) {
      entero = Euros(importe);
      decimal = 0.0;
    } else {
      entero = kNulo;
      decimal = Euros(importe);
    }
    // Código 0: gasto apuntado en la caja sin empleado.
    const int empleado = (escaparate && i == n - 1) || azar.probable(0.03) ? 0 : m.empleado;
    gastos_.fila(c_.gasto++, textoDia_, hora(azar.entre(9 * 3600, 20 * 3600)), empleado, entero, decimal, U(m.texto));
    gastosDia += importe;
  }

  qint64 retiradasDia = 0;
  if (azar.probable(0.5) || escaparate) {
    const qint64 importe = static_cast<qint64>(azar.entre(2, 12)) * 5000;
    const int empleado = escaparate ? 99 : azar.probable(0.7) ? 1 : 6;  // 99: ya no está en la ficha
    retiradas_.fila(c_.retirada++, empleado, textoDia_, hora(azar.entre(16 * 3600, 17 * 3600)), Euros(importe));
    retiradasDia += importe;
  }

  // Cierre de caja pasado el último cobro; el recuento rara vez descuadra.
  const qint64 siguiente = azar.probable(0.8) ? 15000 : 20000;
  const qint64 caja = c_.cajaInicial + efectivoDia_ - gastosDia - retiradasDia;
  const qint64 recuento = azar.probable(0.85) ? caja : caja + azar.entre(-500, 500);
  cierres_.fila(c_.cierre++, textoDia_, hora(6 * 3600 + ultimaClave + azar.entre(10, 40) * 60), Euros(recuento),
                Euros(caja), Euros(tarjetaDia_), Euros(siguiente), cierra->nombreCompleto);
  c_.cajaInicial = siguiente;

  if (escaparate) {
    // Propina que dejaron en el bote, sin venta.
    const Empleado* e = t_.empleado(1);
    propinas_.fila(c_.propina++, 0, 2.0, e->codigo, e->nombreCompleto, textoDia_);
  }

  reservas(d, azar, 1.0);
  pedidos(d, azar, escaparate);

  // Salidas por venta: una por artículo y día.
  for (size_t i = 0; i < vendidas_.size(); ++i)
    if (vendidas_[i] != 0)
      historico_.fila(c_.historico++, t_.productos[i].codigo, static_cast<double>(vendidas_[i]), textoDia_, 2);
  if (conStock_.empty()) return;
  // Mermas los lunes, regularización al principio de mes, consumo propio.
  if (d.dayOfWeek() == 1)
    historico_.fila(c_.historico++, t_.producto(azar.elegir(conStock_)).codigo, static_cast<double>(azar.entre(1, 3)),
                    textoDia_, 3);
  if (escaparate)
    for (int i = 0; i < 3; ++i)
      historico_.fila(c_.historico++, t_.producto(azar.elegir(conStock_)).codigo,
                      static_cast<double>(azar.probable(0.5) ? azar.entre(1, 5) : -azar.entre(1, 5)), textoDia_, 4);
  if (azar.probable(0.15))
    historico_.fila(c_.historico++, t_.producto(azar.elegir(conStock_)).codigo, static_cast<double>(azar.entre(1, 3)),
                    textoDia_, 5);
}

void Generador::reservas(const QDate& d, Azar& azar, double factor) {
  if (Jornada::Cerrado(d)) return;
  const double escala = std::max(0.2, o_.ventasDia / 150.0) * factor;
  const bool finde = d.dayOfWeek() >= 5;
  static const int comensales[] = {2, 2, 2, 2, 3, 4, 4, 4, 5, 6, 8, 10, 12};
  const QString fecha = TextoDia(d);
  for (int turno = 0; turno < 2; ++turno) {
    const int n = static_cast<int>(std::lround((finde ? azar.entre(5, 10) : azar.entre(2, 5)) * escala));
    for (int i = 0; i < n; ++i) {
      QString telefono, nombre;
      const double r = azar.real();
      if (r < 0.55) {
        const Cliente& c = t_.clientes[static_cast<size_t>(azar.entre(0, 11))];  // habituales
        telefono = c.telefono;
        nombre = c.nombreCompleto();
      } else if (r < 0.75) {
        const Cliente& c = azar.elegir(t_.clientes);
        telefono = c.telefono;
        nombre = c.nombreCompleto();
      } else {
        telefono =
            QStringLiteral("6%1 %2 %3").arg(azar.entre(10, 99)).arg(azar.entre(100, 999)).arg(azar.entre(100, 999));
        nombre = U(kReservaSinFicha[azar.entre(0, 7)]);
      }
      const int personas = comensales[azar.entre(0, 12)];
      QString mesa;
      if (personas > 8)
        mesa = QStringLiteral("R1");
      else if (personas > 4)
        mesa = QStringLiteral("%1-%2").arg(azar.entre(1, 6) * 2 - 1).arg(azar.entre(1, 6) * 2);
      else if (d.month() >= 6 && d.month() <= 9 && azar.probable(0.3))
        mesa = QStringLiteral("T%1").arg(azar.entre(1, 10));
      else
        mesa = QString::number(azar.entre(1, 14));
      const int cuarto = turno == 0 ? azar.entre(54, 60) : azar.entre(82, 90);  // 13:30-15:00, 20:30-22:30
      reservas_.fila(c_.reserva++, telefono, fecha, hora(cuarto * 15 * 60), nombre, mesa, personas);
    }
  }
}

void Generador::pedidos(const QDate& d, Azar& azar, bool escaparate) {
  qint64 ultimo = 0;
  for (size_t k = 0; k < t_.proveedores.size(); ++k) {
    const Proveedor& p = t_.proveedores[k];
    const bool toca = p.diaReparto == 0 ? azar.probable(0.5) : p.diaReparto == d.dayOfWeek();
    // A los proveedores dados de baja se les siguió pidiendo de vez en cuando.
    if (!toca || (p.borrar && !azar.probable(0.3))) continue;
    const std::vector<int>& surtido = t_.productosDe(static_cast<int>(k) + 1);
    if (surtido.empty()) continue;
    ultimo = c_.pedido++;
    pedidos_.fila(ultimo, textoDia_, p.codigo);
    const int lineas = std::min(static_cast<int>(surtido.size()), azar.entre(2, 8));
    const int inicio = azar.entre(0, static_cast<int>(surtido.size()) - 1);
    for (int i = 0; i < lineas; ++i) {
      const Producto& producto =
          t_.producto(surtido[static_cast<size_t>((inicio + i) % static_cast<int>(surtido.size()))]);
      const int unidades = producto.uso == Uso::Ingrediente        ? azar.entre(2, 20)
                           : producto.stockMinimo.toDouble() >= 24 ? azar.entre(1, 4) * 24
                                                                   : azar.entre(2, 12);
      const qint64 coste = producto.coste * azar.entre(95, 105) / 100;
      pedidosDet_.fila(ultimo, producto.codigo, Euros(coste), static_cast<double>(unidades));
      historico_.fila(c_.historico++, producto.codigo, static_cast<double>(unidades), textoDia_, 1);
    }
  }
  if (escaparate) {
    // Un artículo que se pidió una vez y nunca llegó a darse de alta.
    if (ultimo == 0) {
      ultimo = c_.pedido++;
      pedidos_.fila(ultimo, textoDia_, QStringLiteral("12"));
    }
    pedidosDet_.fila(ultimo, QStringLiteral("1999"), 4.5, 6.0);
  }
}

void Generador::abiertas(const QDate& hoy) {
  // Mesas y cuentas de barra abiertas esta mañana, todavía sin cobrar.
  Azar azar(o_.semilla ^ 0x41424945525441ull, static_cast<quint64>(hoy.toJulianDay()));
  Jornada jornada(t_, azar, hoy);
  const int n = std::clamp(o_.ventasDia / 30, 3, 8);
  const QString fecha = TextoDia(hoy);
  for (int i = 0; i < n; ++i) {
    Plan p;
    p.franja = Franja::Desayuno;
    p.sitio = i % 3 == 0 ? Sitio::Comedor : Sitio::Barra;
    Venta v = jornada.construir(p);
    const qint64 numero = c_.numVenta++;
    temporal_.fila(numero, fecha, fecha, hora(v.hora), hora(v.horaInicio), v.camarero->nombreCompleto,
                   v.camarero->codigo, v.zona, v.mesa, Euros(v.total), Euros(v.impuesto), Euros(v.recargo),
                   Euros(v.descuento), 1, 0, 0.0, 0.0, v.cliente, v.modo, 0, v.terminal, 0);
    if (v.cocina || i == 0) cocifac_.fila(fecha, numero, kNulo);
  }
  // Reservas ya apuntadas para las dos próximas semanas, menos cuanto más lejos.
  for (int k = 0; k < 14; ++k) reservas(hoy.addDays(k), azar, 1.0 - k / 14.0);
}

}  // namespace

Recuento EscribirVentas(const datos::Conexion& conexion, const Tienda& tienda, const OpcionesDemo& opciones,
                        const QDate& desde, const QDate& hasta, const Progreso& progreso) {
  Generador g(conexion, tienda, opciones);
  return g.ejecutar(desde, hasta, progreso);
}

}  // namespace demo
