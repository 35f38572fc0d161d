#include "builders/InformesCaja.h"
#include "platform/datos/Orden.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace informes {

namespace {

// Una venta tal como la lee el resumen, de facturas o de anulaciones.
struct Venta {
  QVariant numero, numMesa, zona, pago, hora, horaInicio, descuento, modoVenta, cliente;
  // De la cabecera de la factura (no de las anuladas): lo cobrado y cómo, y
  // el camarero que la cerró.
  QVariant total, impuesto, recargo, codigoCamarero, camarero;
  QDate fechaVenta;
  bool abiertaOtroDia = false;  // su fecha de apertura no es la de cierre
  double efectivo = 0, tarjeta = 0;
  bool anulada = false;
};

// Columnas de las consultas de líneas y de ventas, en su orden.
enum { kNumFactura, kCodCamarero, kNombreCamarero, kPrecio, kImpuestoLinea, kDescuentoLinea, kRecargoLinea };
enum {
  kNumero,
  kNumMesa,
  kFecha,
  kZona,
  kPago,
  kHora,
  kHoraInicio,
  kEfectivo,
  kTarjeta,
  kDescuento,
  kFechaVenta,
  kModoVenta,
  kMesa,
  kCliente,
  kTotal,
  kImpuesto,
  kRecargo,
  kCodigoCamarero,
  kCamarero
};

// Sumas de las líneas de un camarero en una venta. Como SUM en SQL, una
// suma sin ningún valor es Null.
struct Suma {
  double valor = 0;
  bool hay = false;
  void sumar(const datos::Lectura& q, int columna) {
    if (const auto v = q.numeroONulo(columna)) {
      valor += *v;
      hay = true;
    }
  }
  QVariant variante() const { return hay ? QVariant(valor) : QVariant(); }
};

struct GrupoCamarero {
  QVariant codigo, nombre;
  Suma prec, imp, dcto, rec;
};

bool MismoValor(const QVariant& a, const QVariant& b) {
  if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
  if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString) {
    const QString ta = a.toString(), tb = b.toString();
    return ta == tb || ta.compare(tb, Qt::CaseInsensitive) == 0;
  }
  const auto na = EnteroDe(a), nb = EnteroDe(b);
  if (na && nb) return *na == *nb;
  return a.toString().compare(b.toString(), Qt::CaseInsensitive) == 0;
}

// Las líneas de una venta por camarero (código y nombre), en el orden de
// los camareros; los nombres se agrupan sin distinguir mayúsculas, como
// agrupaba la base de la suite.
class Agrupador {
 public:
  void anadir(const datos::Lectura& q) {
    // Casi todas las líneas seguidas son del mismo camarero: se compara lo
    // leído tal cual antes de convertir nada.
    const bool codigoNulo = q.esNulo(kCodCamarero);
    const qint64 codigo = codigoNulo ? 0 : q.entero(kCodCamarero);
    const bool nombreNulo = q.esNulo(kNombreCamarero);
    const QByteArrayView nombre = q.textoUtf8(kNombreCamarero);
    GrupoCamarero* g = nullptr;
    for (std::size_t n = 0; !g && n < grupos_.size(); ++n) {
      const std::size_t i = (ultimo_ + n) % grupos_.size();
      const Clave& k = claves_[i];
      if (k.codigoNulo != codigoNulo || (!codigoNulo && k.codigo != codigo) || !k.codigoEntero) continue;
      if (k.nombreNulo != nombreNulo) continue;
      if (nombreNulo || k.nombre == nombre ||
          QString::fromUtf8(k.nombre).compare(QString::fromUtf8(nombre), Qt::CaseInsensitive) == 0) {
        g = &grupos_[i];
        ultimo_ = i;
      }
    }
    if (!g) {
      // Un código que no es entero se compara como lo guardaba la suite.
      const QVariant v = q.valor(kCodCamarero);
      const bool entero = codigoNulo || v.typeId() == QMetaType::LongLong;
      for (std::size_t i = 0; !g && !entero && i < grupos_.size(); ++i)
        if (MismoValor(grupos_[i].codigo, v) && MismoValor(grupos_[i].nombre, q.valor(kNombreCamarero))) {
          g = &grupos_[i];
          ultimo_ = i;
        }
      if (!g) {
        grupos_.push_back({v, q.valor(kNombreCamarero), {}, {}, {}, {}});
        claves_.push_back({codigoNulo, entero, codigo, nombreNulo, nombre.toByteArray()});
        ultimo_ = grupos_.size() - 1;
        g = &grupos_.back();
      }
    }
    g->prec.sumar(q, kPrecio);
    g->imp.sumar(q, kImpuestoLinea);
    g->dcto.sumar(q, kDescuentoLinea);
    g->rec.sumar(q, kRecargoLinea);
  }
  bool vacio() const { return grupos_.empty(); }
  std::vector<GrupoCamarero> terminar(const datos::CriterioOrden& criterio) {
    std::vector<GrupoCamarero> grupos;
    grupos.swap(grupos_);
    claves_.clear();
    ultimo_ = 0;
    if (grupos.size() > 1)
      std::stable_sort(grupos.begin(), grupos.end(), [&](const GrupoCamarero& a, const GrupoCamarero& b) {
        const int c = criterio.comparar(a.codigo, b.codigo);
        return c != 0 ? c < 0 : criterio.comparar(a.nombre, b.nombre) < 0;
      });
    return grupos;
  }

 private:
  // Lo leído de cada grupo, para reconocer sus líneas sin convertirlas.
  struct Clave {
    bool codigoNulo;
    bool codigoEntero;
    qint64 codigo;
    bool nombreNulo;
    QByteArray nombre;
  };
  std::vector<GrupoCamarero> grupos_;
  std::vector<Clave> claves_;
  std::size_t ultimo_ = 0;
};

Venta LeerVenta(const datos::Lectura& q, bool anulada) {
  Venta v;
  v.numero = q.valor(kNumero);
  v.numMesa = q.valor(kNumMesa);
  v.zona = q.valor(kZona);
  v.pago = q.valor(kPago);
  v.hora = HoraONulo(q.valor(kHora));
  v.horaInicio = HoraONulo(q.valor(kHoraInicio));
  v.descuento = q.valor(kDescuento);
  v.modoVenta = q.valor(kModoVenta);
  if (!anulada) {
    v.cliente = q.valor(kCliente);
    v.total = q.valor(kTotal);
    v.impuesto = q.valor(kImpuesto);
    v.recargo = q.valor(kRecargo);
    v.codigoCamarero = q.valor(kCodigoCamarero);
    v.camarero = q.valor(kCamarero);
  }
  const QVariant fechaVenta = q.valor(kFechaVenta);
  const QVariant fecha = q.valor(kFecha);
  v.fechaVenta = datos::aFecha(fechaVenta);
  // Casi siempre las dos se guardan igual y no hace falta leerlas como fechas.
  if (!fecha.isNull() && !fechaVenta.isNull() && fecha != fechaVenta) {
    const QDateTime a = datos::aFechaHora(fecha), b = datos::aFechaHora(fechaVenta);
    v.abiertaOtroDia = a.isValid() && b.isValid() && a != b;
  }
  v.efectivo = Importe(q.valor(kEfectivo));
  v.tarjeta = Importe(q.valor(kTarjeta));
  v.anulada = anulada;
  return v;
}

QVariant RotuloModoVenta(const QVariant& modo, const QVariant& siNo) {
  switch (EnteroDe(modo).value_or(-1)) {
    case 0:
      return QStringLiteral("Local");
    case 1:
      return QStringLiteral("Llevar");
    case 2:
      return QStringLiteral("T.Rec");
    case 3:
      return QStringLiteral("T.Domi");
    default:
      return siNo;
  }
}

double Centimos(double importe) {
  return std::round(importe * 100.0) / 100.0;
}

// Reparte un importe entre los camareros de una factura según su peso,
// redondeando al céntimo; el último se queda con lo que falte, para que las
// partes sumen exactamente el importe.
std::vector<double> Repartir(double importe, const std::vector<double>& pesos) {
  std::vector<double> partes(pesos.size(), 0.0);
  if (pesos.empty()) return partes;
  double total = 0;
  for (double p : pesos) total += p;
  double repartido = 0;
  for (std::size_t i = 0; i + 1 < pesos.size(); ++i) {
    partes[i] = std::round(importe * pesos[i] / total * 100.0) / 100.0;
    repartido += partes[i];
  }
  partes.back() = importe - repartido;
  return partes;
}

// Lo que corresponde a cada camarero de una factura. La cabecera manda: es
// lo que se cobró, con el recargo sumado y el descuento restado, también el
// descuento de la factura entera que no está en ninguna línea. Cada camarero
// lleva lo de sus líneas más su parte de lo que la cabecera tiene de más o de
// menos, en proporción a lo que cobró; así las partes de todos suman lo que
// dice la cabecera y el resumen cuadra con los demás informes de caja.
struct Parte {
  double pagado = 0, impuesto = 0, descuento = 0, recargo = 0, efectivo = 0, tarjeta = 0;
  double neto() const { return Centimos(pagado - impuesto); }
};

std::vector<Parte> PartesDeFactura(const Venta& v, const std::vector<GrupoCamarero>& grupos) {
  const std::size_t n = grupos.size();
  std::vector<Parte> partes(n);
  std::vector<double> pesos(n);
  double suma = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const GrupoCamarero& g = grupos[i];
    partes[i].pagado = g.prec.valor + g.rec.valor - g.dcto.valor;
    partes[i].impuesto = g.imp.valor;
    partes[i].descuento = g.dcto.valor;
    partes[i].recargo = g.rec.valor;
    pesos[i] = partes[i].pagado;
    suma += pesos[i];
  }
  // Sin nada cobrado en las líneas (una invitación), se reparte por precio; y
  // si tampoco hay precio, a partes iguales.
  if (suma == 0) {
    for (std::size_t i = 0; i < n; ++i) suma += pesos[i] = grupos[i].prec.valor;
    if (suma == 0) std::fill(pesos.begin(), pesos.end(), 1.0);
  }
  auto ajustar = [&](double cabecera, double Parte::*campo) {
    double lineas = 0;
    for (const Parte& p : partes) lineas += p.*campo;
    const std::vector<double> diferencia = Repartir(cabecera - lineas, pesos);
    for (std::size_t i = 0; i < n; ++i) partes[i].*campo += diferencia[i];
  };
  ajustar(Importe(v.total), &Parte::pagado);
  ajustar(Importe(v.impuesto), &Parte::impuesto);
  ajustar(Importe(v.descuento), &Parte::descuento);
  ajustar(Importe(v.recargo), &Parte::recargo);
  const std::vector<double> efectivo = Repartir(v.efectivo, pesos);
  const std::vector<double> tarjeta = Repartir(v.tarjeta, pesos);
  // Lo leído va en céntimos; las sumas y restas de coma flotante dejan
  // restos que no son dinero.
  for (std::size_t i = 0; i < n; ++i) {
    Parte& p = partes[i];
    p.efectivo = Centimos(efectivo[i]);
    p.tarjeta = Centimos(tarjeta[i]);
    for (double* v : {&p.pagado, &p.impuesto, &p.descuento, &p.recargo}) *v = Centimos(*v);
  }
  return partes;
}

// Una venta anulada no tiene cabecera de factura que mande: lo de sus líneas,
// con el descuento de la venta cuando las líneas no tienen.
Parte ParteDeLineas(const Venta& v, const GrupoCamarero& g) {
  Parte p;
  p.pagado = g.prec.valor + g.rec.valor - g.dcto.valor;
  p.impuesto = g.imp.valor;
  p.recargo = g.rec.valor;
  if (g.dcto.hay) p.descuento = g.dcto.valor > 0 ? g.dcto.valor : Importe(v.descuento);
  p.efectivo = v.efectivo;
  p.tarjeta = v.tarjeta;
  return p;
}

class Resumen {
 public:
  Resumen(Contexto& ctx, EscritorInformes& escritor)
      : ctx_(ctx),
        escritor_(escritor),
        busquedas_(*ctx.ajustes.ConexionVentas,
                   BusquedasVentas::Salones | BusquedasVentas::FormasPago | BusquedasVentas::Clientes),
        sello_(TomarSello(ctx.reloj)),
        desde_(textoDiaMesAnio(ctx.seleccion.FechaDesde)),
        hasta_(textoDiaMesAnio(ctx.seleccion.FechaHasta)) {}

  // Lo que es igual en todas las filas.
  void fijarComunes(const CabeceraNegocio& cabecera, double gastos) {
    escritor_.fijar(Col::Texto6, desde_);
    escritor_.fijar(Col::Texto7, hasta_);
    escritor_.fijar(Col::Texto1, cabecera.nombre);
    escritor_.fijar(Col::Texto2, cabecera.direccion);
    escritor_.fijar(Col::Fecha1, sello_.fecha);
    escritor_.fijar(Col::Fecha2, sello_.hora);
    escritor_.fijar(Col::Numerico5, gastos);
  }

  void escribir(const Venta& v, const std::vector<GrupoCamarero>& grupos) {
    std::vector<Parte> partes;
    if (v.anulada) {
      for (const GrupoCamarero& g : grupos) partes.push_back(ParteDeLineas(v, g));
    } else {
      partes = PartesDeFactura(v, grupos);
    }
    for (std::size_t i = 0; i < grupos.size(); ++i) {
      const bool unSoloPago = v.efectivo == 0 || v.tarjeta == 0;
      escribirFila(v, grupos[i], partes[i], unSoloPago ? Pago::Unico : Pago::Efectivo);
      if (!unSoloPago) escribirFila(v, grupos[i], partes[i], Pago::Tarjeta);
    }
    // Una venta abierta un día y cerrada en otro pone la nota en las filas
    // escritas hasta aquí y en todas las que vengan.
    if (!aviso_ && !grupos.empty() && v.abiertaOtroDia) {
      aviso_ = true;
      escritor_.estampar(Col::Texto18, kNotaFechaApertura);
      escritor_.fijar(Col::Texto18, kNotaFechaApertura);
    }
  }

  bool aviso() const { return aviso_; }

 private:
  enum class Pago { Unico, Efectivo, Tarjeta };

  void escribirFila(const Venta& v, const GrupoCamarero& g, const Parte& parte, Pago pago) {
    EscritorInformes& e = escritor_;
    e.nuevaFila();
    e.poner(Col::Numerico1, parte.impuesto);
    e.poner(Col::Texto23, g.codigo);
    e.poner(Col::Numerico10, v.numero);
    e.poner(Col::Texto21, g.nombre);

    // El sitio: cada regla, en este orden, puede corregir a la anterior.
    const qint64 zona = EnteroDe(v.zona).value_or(-1);
    QVariant lugar = v.numMesa;
    if (lugar.isNull() || lugar.toString().isEmpty()) {
      lugar = v.anulada ? busquedas_.TelefonoFactura(v.numero) : busquedas_.TelefonoDeClienteDeFactura(v.cliente);
      if (lugar.toString().isEmpty()) lugar = QStringLiteral("Barra");
    }
    if (zona == 0) lugar = QStringLiteral("CobroP");
    QVariant salon = busquedas_.NombreSalon(v.zona);
    if (zona == 999) {
      lugar = QStringLiteral("FAST");
      salon = RotuloModoVenta(v.modoVenta, salon);
    } else if (EnteroDe(v.modoVenta) == 3) {
      salon = QStringLiteral("T.Domi");
    }
    if (zona == 101) {
      lugar = QStringLiteral("");
      salon = QStringLiteral("Entrada");
    }
    if (zona == 102) {
      lugar = QStringLiteral("");
      salon = QStringLiteral("Ropero");
    }
    e.poner(Col::Texto11, lugar);
    e.poner(Col::Texto20, salon);

    e.poner(Col::Fecha3, v.hora);
    e.poner(Col::Fecha4, v.horaInicio);
    e.poner(Col::Texto5, v.fechaVenta.isValid() ? QVariant(textoDiaMesAnio(v.fechaVenta)) : QVariant());
    e.poner(Col::Numerico2, parte.neto());

    switch (pago) {
      case Pago::Unico: {
        const auto codigo = EnteroDe(v.pago);
        e.poner(Col::Numerico4, parte.descuento);
        e.poner(Col::Numerico3, parte.recargo);
        e.poner(Col::Numerico9, parte.pagado);
        if (codigo && *codigo != 0) e.poner(Col::Texto4, busquedas_.NombreFormaPago(v.pago));
        break;
      }
      case Pago::Efectivo:
        e.poner(Col::Numerico4, parte.descuento);
        e.poner(Col::Numerico3, parte.recargo);
        e.poner(Col::Texto4, QStringLiteral("Efectivo"));
        e.poner(Col::Numerico9, parte.efectivo);
        break;
      case Pago::Tarjeta:
        // El descuento y el recargo ya van en la fila del efectivo.
        e.poner(Col::Numerico4, 0);
        e.poner(Col::Numerico3, 0);
        e.poner(Col::Texto4, EnteroDe(v.pago) == 1 ? QStringLiteral("Tarjeta/Mixto") : QStringLiteral("Cheque comida"));
        e.poner(Col::Numerico9, parte.tarjeta);
        break;
    }
    ctx_.seleccion.SinDatos = false;
    e.guardarFila();
  }

  Contexto& ctx_;
  EscritorInformes& escritor_;
  BusquedasVentas busquedas_;
  SelloGeneracion sello_;
  QString desde_, hasta_;
  bool aviso_ = false;
};

}  // namespace

void CrearResumenVentasEmpleados(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  sel.AvisoFechaApertura = false;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  Resumen resumen(ctx, escritor);
  escritor.vaciar();
  resumen.fijarComunes(LeerCabeceraTabla(ventas, &ctx.notificador),
                       TotalGastos(ventas, sel.FechaDesde, sel.FechaHasta));
  const datos::CriterioOrden criterio;

  // Primero las líneas del intervalo, ya sumadas por factura y camarero, y
  // después las facturas, las dos en orden de número: una consulta de líneas
  // por factura son cientos de miles de viajes a la base en un año.
  struct LineasDeFactura {
    qint64 numero;
    std::vector<GrupoCamarero> grupos;
  };
  std::vector<LineasDeFactura> porFactura;
  {
    datos::Lectura lineas(
        ventas,
        QStringLiteral(
            "SELECT detalle_factura.num_factura, detalle_factura.codcamarero, detalle_factura.nombrecamarero,"
            " detalle_factura.precio, detalle_factura.impuesto, detalle_factura.descuento, detalle_factura.recargo"
            " FROM detalle_factura WHERE detalle_factura.num_factura IN (SELECT cabecera_factura.numero"
            " FROM cabecera_factura WHERE cabecera_factura.fechaventa BETWEEN ? AND ? AND cabecera_factura.borrar = 0)"
            // Una línea borrada no se cobró: no es de ningún camarero.
            " AND (detalle_factura.borrar IS NULL OR detalle_factura.borrar = 0)"
            " ORDER BY detalle_factura.num_factura"));
    lineas.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    lineas.ejecutar();
    Agrupador agrupador;
    std::optional<qint64> actual;
    auto cerrar = [&] {
      if (actual && !agrupador.vacio()) porFactura.push_back({*actual, agrupador.terminar(criterio)});
    };
    while (lineas.siguiente()) {
      if (lineas.esNulo(kNumFactura)) continue;
      const qint64 n = lineas.entero(kNumFactura);
      if (n != actual) {
        cerrar();
        actual = n;
      }
      agrupador.anadir(lineas);
    }
    cerrar();
  }

  datos::Lectura facturas(
      ventas, QStringLiteral("SELECT cabecera_factura.numero, mesas.nummesa, cabecera_factura.fecha,"
                             " cabecera_factura.zona_venta, cabecera_factura.pago, cabecera_factura.hora,"
                             " cabecera_factura.hora_inicio, cabecera_factura.efectivo, cabecera_factura.tarjeta,"
                             " cabecera_factura.descuento, cabecera_factura.fechaventa, cabecera_factura.modoventa,"
                             " cabecera_factura.mesa, cabecera_factura.cliente, cabecera_factura.total,"
                             " cabecera_factura.impuesto, cabecera_factura.recargo, cabecera_factura.codigo_camarero,"
                             " cabecera_factura.camarero"
                             " FROM cabecera_factura LEFT JOIN mesas ON cabecera_factura.mesa = mesas.codigo"
                             " WHERE cabecera_factura.fechaventa BETWEEN ? AND ? AND cabecera_factura.borrar = 0"
                             " ORDER BY cabecera_factura.numero"));
  facturas.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  facturas.ejecutar();
  auto siguiente = porFactura.cbegin();
  while (facturas.siguiente()) {
    const auto numero = EnteroDe(facturas.valor(0));
    if (!numero) continue;
    while (siguiente != porFactura.cend() && siguiente->numero < *numero) ++siguiente;
    const Venta venta = LeerVenta(facturas, false);
    if (siguiente == porFactura.cend() || siguiente->numero != *numero) {
      // Una factura sin líneas también se cobró: va a nombre del camarero
      // que la cerró, para que su importe no se pierda del resumen.
      GrupoCamarero g;
      g.codigo = venta.codigoCamarero;
      g.nombre = venta.camarero;
      resumen.escribir(venta, {g});
      continue;
    }
    resumen.escribir(venta, siguiente->grupos);
  }
  porFactura.clear();

  if (sel.Completo) {
    // Las ventas anuladas sin número de factura abiertas o cerradas en el
    // intervalo. Son pocas: sus líneas se piden de una en una.
    datos::Lectura anuladas(
        ventas,
        QStringLiteral(
            "SELECT cabecera_factura_anulaciones.numero, mesas.nummesa, cabecera_factura_anulaciones.fecha,"
            " cabecera_factura_anulaciones.zona_venta, cabecera_factura_anulaciones.pago,"
            " cabecera_factura_anulaciones.hora, cabecera_factura_anulaciones.hora_inicio,"
            " cabecera_factura_anulaciones.efectivo, cabecera_factura_anulaciones.tarjeta,"
            " cabecera_factura_anulaciones.descuento, cabecera_factura_anulaciones.fechaventa,"
            " cabecera_factura_anulaciones.modoventa, cabecera_factura_anulaciones.mesa"
            " FROM cabecera_factura_anulaciones LEFT JOIN mesas ON cabecera_factura_anulaciones.mesa = mesas.codigo"
            " WHERE cabecera_factura_anulaciones.numero <= 0"
            " AND (cabecera_factura_anulaciones.fecha BETWEEN ? AND ?"
            " OR cabecera_factura_anulaciones.fechaventa BETWEEN ? AND ?)"
            " ORDER BY cabecera_factura_anulaciones.numero"));
    anuladas.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta).enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    anuladas.ejecutar();
    std::vector<Venta> leidas;
    while (anuladas.siguiente()) leidas.push_back(LeerVenta(anuladas, true));
    datos::Lectura lineasAnuladas(
        ventas, QStringLiteral("SELECT num_factura, codcamarero, nombrecamarero, precio, impuesto, descuento, recargo"
                               " FROM detalle_factura_anulaciones WHERE num_factura = ?"));
    Agrupador agrupador;
    for (const Venta& v : leidas) {
      lineasAnuladas.enlazar(v.numero);
      lineasAnuladas.ejecutar();
      while (lineasAnuladas.siguiente()) agrupador.anadir(lineasAnuladas);
      resumen.escribir(v, agrupador.terminar(criterio));
    }
  }

  sel.AvisoFechaApertura = resumen.aviso();
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace informes
