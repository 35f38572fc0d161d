#include "builders/InformesTicket.h"

#include "builders/InformesCaja.h"
#include "platform/motor/Informe.h"

#include <QSet>

#include <limits>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <cmath>
#include <cstdlib>

namespace informes {

namespace {

// Los importes del ticket van a dos decimales, como se imprimen.
double DosDecimales(double v) {
  return std::round(v * 100.0) / 100.0;
}

// Datos del negocio del ticket: la primera fila de Opciones, la dirección sin
// la población y el teléfono.
struct NegocioTicket {
  QString nombre = QStringLiteral("");
  QString direccion = QStringLiteral("");
  QString telefono = QStringLiteral("");
};
NegocioTicket LeerNegocioTicket(const datos::Conexion& ventas) {
  NegocioTicket n;
  datos::Consulta q =
      ventas.preparar(QStringLiteral("SELECT nombre, direccion, telefono FROM opciones ORDER BY identificador"));
  q.ejecutar();
  if (q.siguiente()) {
    n.nombre = q.texto(QStringLiteral("nombre"));
    n.direccion = q.texto(QStringLiteral("direccion"));
    n.telefono = q.texto(QStringLiteral("telefono"));
  }
  return n;
}

// Gastos del intervalo, a dos decimales; 0 si no suman nada positivo.
double GastosTicket(const datos::Conexion& ventas, const QDate& desde, const QDate& hasta) {
  const double t = TotalGastos(ventas, desde, hasta);
  return t > 0 ? DosDecimales(t) : 0;
}

// Lo cobrado con tarjeta y con la forma de pago 2 («C. Comida») de las
// ventas no borradas del intervalo. Una venta repartida entre efectivo y otro
// medio (efectivo y tarjeta con importe) pone en esos totales sólo la parte
// que no es efectivo; una venta entera con la forma 2 va entera a su total.
// La forma 2, si es de tarjeta, ya cuenta con las tarjetas.
struct MediosDePago {
  double tarjetas = 0;
  double comida = 0;
  double descuento = 0;
  double recargo = 0;
};

// Las ventas no borradas del intervalo en una sola lectura: lo que sale en
// cada fila del detallado, cuántas y su suma, los medios de pago y si alguna
// se abrió otro día.
struct VentasDelTicket {
  std::vector<std::pair<QVariant, QVariant>> filas;  // número y total, si se guardan
  qint64 cuantas = 0;  // un rango largo pasa de sobra de las 32.767 ventas de un entero corto
  double suma = 0;
  MediosDePago medios;
  bool otroDia = false;
};
VentasDelTicket LeerVentasTicket(const datos::Conexion& ventas, const QDate& desde, const QDate& hasta,
                                 bool guardarFilas) {
  QSet<qint64> tarjetas;
  {
    datos::Consulta q = ventas.preparar(QStringLiteral("SELECT codigo FROM formapago WHERE tarjeta <> 0"));
    q.ejecutar();
    while (q.siguiente()) tarjetas.insert(q.entero(QStringLiteral("codigo")));
  }
  datos::Lectura q(ventas, QStringLiteral("SELECT numero, total, pago, efectivo, tarjeta, descuento, recargo,"
                                          " CASE WHEN fecha <> fechaventa THEN 1 ELSE 0 END FROM cabecera_factura"
                                          " WHERE borrar = 0 AND fechaventa BETWEEN ? AND ? ORDER BY numero"));
  q.enlazar(desde).enlazar(hasta);
  q.ejecutar();
  VentasDelTicket v;
  double tarjetasA = 0, tarjetasB = 0, comida = 0, descuento = 0, recargo = 0;
  while (q.siguiente()) {
    ++v.cuantas;
    const double total = q.numero(1);
    v.suma += total;
    if (guardarFilas) v.filas.emplace_back(q.valor(0), q.valor(1));
    const double efectivo = q.numero(3), tarjeta = q.numero(4);
    // De una venta repartida sólo cuenta como tarjeta o cheque lo que no fue
    // efectivo.
    const double parte = efectivo != 0 && tarjeta != 0 ? tarjeta : total;
    if (!q.esNulo(2)) {
      const qint64 pago = q.entero(2);
      if (tarjetas.contains(pago))
        tarjetasA += parte;
      else if (pago == 1)
        tarjetasB += tarjeta;
      else if (pago == 2)
        comida += parte;
    }
    descuento += q.numero(5);
    recargo += q.numero(6);
    if (q.entero(7) != 0) v.otroDia = true;
  }
  MediosDePago& m = v.medios;
  if (tarjetasA > 0) m.tarjetas = DosDecimales(tarjetasA);
  if (tarjetasB > 0) m.tarjetas += DosDecimales(tarjetasB);
  if (comida > 0) m.comida = DosDecimales(comida);
  m.descuento = DosDecimales(descuento);
  m.recargo = DosDecimales(recargo);
  return v;
}

// Lo que llevan todas las filas del listado detallado y del resumido.
void FijarComunesTicket(EscritorInformes& e, const NegocioTicket& n, const SeleccionInforme& sel,
                        const QString& horaTexto, const MediosDePago& m, double gastos) {
  e.fijar(Col::Texto10, n.nombre);
  e.fijar(Col::Texto11, n.direccion);
  e.fijar(Col::Texto13, n.telefono);
  e.fijar(Col::Fecha2, sel.FechaDesde);
  e.fijar(Col::Fecha3, sel.FechaHasta);
  e.fijar(Col::Texto17, horaTexto);
  e.fijar(Col::Numerico7, m.tarjetas);
  e.fijar(Col::Numerico8, m.comida);
  e.fijar(Col::Numerico1, m.descuento);
  e.fijar(Col::Numerico2, m.recargo);
  e.fijar(Col::Numerico10, gastos);
}

// El listado detallado (una fila por venta) o el resumido (una sola fila con
// cuántas ventas y su suma).
void CrearVentasTicket(Contexto& ctx, bool detallado) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  sel.AvisoFechaApertura = false;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();

  const VentasDelTicket v = LeerVentasTicket(ventas, sel.FechaDesde, sel.FechaHasta, detallado);
  const double gastos = GastosTicket(ventas, sel.FechaDesde, sel.FechaHasta);
  const NegocioTicket negocio = LeerNegocioTicket(ventas);
  const QString hora = ctx.reloj.ahora().time().toString(QStringLiteral("HH:mm:ss"));
  FijarComunesTicket(escritor, negocio, sel, hora, v.medios, gastos);
  sel.AvisoFechaApertura = v.otroDia;
  if (detallado) {
    for (const auto& [numero, total] : v.filas) {
      escritor.nuevaFila();
      escritor.origen("cabecera_factura", "la factura", numero);
      escritor.poner(Col::Texto5, numero);
      escritor.poner(Col::Numerico4, total, "total");
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  } else if (v.cuantas > 0) {
    escritor.nuevaFila();
    escritor.poner(Col::Texto5, v.cuantas);
    escritor.poner(Col::Numerico4, v.suma);
    sel.SinDatos = false;
    escritor.guardarFila();
  }
  if (sel.AvisoFechaApertura && !sel.SinDatos) escritor.estampar(Col::Texto18, kNotaFechaApertura);
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace

int NumCaracteresImpresora(const datos::Conexion& ventas, const QString& impresoraTicket) {
  return DatosImpresora(ventas, impresoraTicket).ancho;
}

DatosDeImpresora DatosImpresora(const datos::Conexion& ventas, const QString& impresora) {
  DatosDeImpresora d;
  datos::Consulta q = ventas.preparar(
      QStringLiteral("SELECT fuente, numcaracteres FROM impresoras WHERE impresora = ? ORDER BY codigo"));
  q.enlazar(impresora);
  q.ejecutar();
  if (!q.siguiente()) return d;
  d.fuente = q.texto(QStringLiteral("fuente"));
  if (!q.esNulo(QStringLiteral("numcaracteres"))) d.ancho = static_cast<int>(q.entero(QStringLiteral("numcaracteres")));
  return d;
}

QString Centrar(const QString& texto, int ancho) {
  QString t = texto;
  while (t.size() < ancho) t = QLatin1Char(' ') + t + QLatin1Char(' ');
  return t;
}

QString DosColumnas(const QString& izquierda, const QString& derecha, int ancho) {
  const qsizetype d = ancho - (izquierda.size() + derecha.size());
  if (d >= 0) return izquierda + QString(d + 1, QLatin1Char(' ')) + derecha;
  // Una derecha que no deja sitio ni para el corte se queda sola: la línea
  // no puede ser más corta que lo que tiene que decir.
  const qsizetype corte = std::max<qsizetype>(0, izquierda.size() + d - 3);
  return izquierda.left(corte) + QStringLiteral("... ") + derecha;
}

TextoTicket ComponerListadoTicket(const datos::Conexion& informes, int ancho, int decimales, const QLocale& regional) {
  TextoTicket t;
  t.ancho = ancho;
  const auto importe = [&](double v) { return motor::TextoNumero(v, decimales, true, regional); };
  QStringList lineas;
  // En el orden en que se escribieron, si la tabla lo guarda.
  const bool conFila =
      informes.columnas(QStringLiteral("informes")).contains(QStringLiteral("fila"), Qt::CaseInsensitive);
  datos::Consulta q = informes.preparar(
      QStringLiteral(
          "SELECT texto1, texto5, texto10, texto11, texto18, fecha2, fecha3, numerico1, numerico2, numerico4,"
          " numerico7, numerico8, numerico10 FROM informes") +
      (conFila ? QStringLiteral(" ORDER BY fila") : QString()));
  q.ejecutar();
  if (!q.siguiente()) return t;
  const auto dia = [&](const char* c) { return textoDiaMesAnio(q.fecha(QLatin1String(c))); };
  const double tarjetas = q.numero(QStringLiteral("numerico7"));
  const double comida = q.numero(QStringLiteral("numerico8"));
  const double descuento = q.numero(QStringLiteral("numerico1"));
  const double recargo = q.numero(QStringLiteral("numerico2"));
  const double gastos = q.numero(QStringLiteral("numerico10"));
  const QString observacion = q.texto(QStringLiteral("texto1"));
  const QString nota = q.texto(QStringLiteral("texto18"));
  lineas << q.texto(QStringLiteral("texto10")) << q.texto(QStringLiteral("texto11")) << QStringLiteral(" ")
         << Centrar(QStringLiteral("Ventas Detalladas"), ancho) << QStringLiteral(" ")
         << QStringLiteral("Desde ") + dia("fecha2") << QStringLiteral("Hasta ") + dia("fecha3") << QStringLiteral(" ")
         << DosColumnas(QStringLiteral("Nro. Factura"), QStringLiteral("Importe"), ancho);
  double suma = 0;
  do {
    const auto v = q.numeroONulo(QStringLiteral("numerico4"));
    suma += v.value_or(0);
    lineas << DosColumnas(q.texto(QStringLiteral("texto5")), v ? importe(*v) : QStringLiteral("0"), ancho);
  } while (q.siguiente());
  lineas << QString(ancho + 1, QLatin1Char('-')) << DosColumnas(QStringLiteral("Total General"), importe(suma), ancho)
         << QStringLiteral(" ");
  lineas << DosColumnas(QStringLiteral("Total Tarjetas:"), importe(tarjetas), ancho);
  if (comida > 0) lineas << DosColumnas(QStringLiteral("Total C. Comida:"), importe(comida), ancho);
  lineas << DosColumnas(QStringLiteral("Total Efectivo:"), importe(suma - tarjetas - comida), ancho)
         << DosColumnas(QStringLiteral("Total Descuento:"), importe(descuento), ancho)
         << DosColumnas(QStringLiteral("Total Recargo:"), importe(recargo), ancho)
         << DosColumnas(QStringLiteral("Total Gastos:"), importe(gastos), ancho);
  lineas << QStringLiteral(" ") << QStringLiteral("Observaciones") << observacion << nota;
  for (const QString& l : lineas) t.texto += l + QStringLiteral("\r\n");
  return t;
}

void CrearListadoTicket(Contexto& ctx) {
  CrearVentasTicket(ctx, true);
}

void CrearTicketResumido(Contexto& ctx) {
  CrearVentasTicket(ctx, false);
}

void CrearTicketEmpleado(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  sel.AvisoFechaApertura = false;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const NegocioTicket negocio = LeerNegocioTicket(ventas);
  {
    datos::Consulta q = ventas.preparar(QStringLiteral(
        "SELECT 1 FROM cabecera_factura WHERE fechaventa BETWEEN ? AND ? AND fechaventa <> fecha LIMIT 1"));
    q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    q.ejecutar();
    if (q.siguiente()) sel.AvisoFechaApertura = true;
  }
  const double gastos = GastosTicket(ventas, sel.FechaDesde, sel.FechaHasta);
  escritor.fijar(Col::Texto10, negocio.nombre);
  escritor.fijar(Col::Texto11, negocio.direccion);
  escritor.fijar(Col::Texto13, negocio.telefono);
  escritor.fijar(Col::Fecha2, sel.FechaDesde);
  escritor.fijar(Col::Fecha3, sel.FechaHasta);

  // Cada empleado con lo suyo, en orden de código (los sin código juntos y
  // delante, como los ordena la suite). Las líneas se leen como vienen, sin
  // ordenar el año entero: el nombre es el de la última línea del empleado
  // por factura y posición, y las sumas se llevan a céntimos para que no
  // dependan del orden de lectura.
  struct Empleado {
    double suma = 0;
    QByteArray nombre;
    bool nombreNulo = true;
    std::pair<qint64, qint64> ultima{std::numeric_limits<qint64>::min(), 0};
  };
  std::map<std::optional<qint64>, Empleado> empleados;
  datos::Lectura q(ventas, QStringLiteral("SELECT precio, nombrecamarero, codcamarero, descuento, recargo,"
                                          " num_factura, indice FROM detalle_factura WHERE num_factura IN"
                                          " (SELECT numero FROM cabecera_factura WHERE borrar = 0 AND"
                                          " fechaventa BETWEEN ? AND ?) AND borrar = 0"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();
  double descuentos = 0, recargos = 0;
  Empleado* actual = nullptr;
  std::optional<qint64> codigoActual;
  while (q.siguiente()) {
    descuentos += q.numero(3);
    recargos += q.numero(4);
    const std::optional<qint64> codigo = q.esNulo(2) ? std::nullopt : std::optional<qint64>(q.entero(2));
    // Las líneas de un empleado suelen venir seguidas: sin buscar en el mapa.
    if (!actual || codigo != codigoActual) {
      actual = &empleados[codigo];
      codigoActual = codigo;
    }
    actual->suma += q.numero(0);
    const std::pair<qint64, qint64> posicion{q.entero(5), q.entero(6)};
    if (posicion >= actual->ultima) {
      actual->ultima = posicion;
      actual->nombreNulo = q.esNulo(1);
      const QByteArrayView nombre = q.textoUtf8(1);
      if (nombre != actual->nombre) actual->nombre = nombre.toByteArray();
    }
  }
  for (auto it = empleados.begin(); it != empleados.end(); ++it) {
    const bool ultima = std::next(it) == empleados.end();
    escritor.nuevaFila();
    escritor.poner(Col::Texto5, it->second.nombreNulo ? QStringLiteral("") : QString::fromUtf8(it->second.nombre));
    escritor.poner(Col::Numerico4, DosDecimales(it->second.suma));
    if (ultima) {
      escritor.poner(Col::Numerico10, gastos);
      escritor.poner(Col::Numerico11, DosDecimales(recargos));
      escritor.poner(Col::Numerico12, DosDecimales(descuentos));
    }
    sel.SinDatos = false;
    escritor.guardarFila();
  }
  if (sel.AvisoFechaApertura && !sel.SinDatos) escritor.estampar(Col::Texto18, kNotaFechaApertura);
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

void CrearCierresCajaTicket(Contexto& ctx) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Texto6, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto7, textoDiaMesAnio(sel.FechaHasta));
  datos::Consulta q = ventas.preparar(QStringLiteral(
      "SELECT fecha, hora, recuento, caja, nom_empleado, tarjeta FROM cierre_caja WHERE fecha BETWEEN ? AND ?"
      " ORDER BY id"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();
  while (q.siguiente()) {
    escritor.nuevaFila();
    escritor.origen("cierre_caja", "el cierre", q.valor(QStringLiteral("fecha")));
    escritor.poner(Col::Fecha1, q.fecha(QStringLiteral("fecha")));
    const QVariant hora = HoraONulo(q.valor(QStringLiteral("hora")));
    escritor.poner(Col::Fecha2, hora.isNull() ? hora : QVariant(QTime(hora.toTime().hour(), hora.toTime().minute())));
    escritor.poner(Col::Numerico1, q.valor(QStringLiteral("recuento")), "recuento");
    const auto caja = q.numeroONulo(QStringLiteral("caja"));
    escritor.poner(Col::Numerico3, caja ? QVariant(-*caja) : QVariant());
    escritor.poner(Col::Texto3, q.valor(QStringLiteral("nom_empleado")));
    escritor.poner(Col::Numerico2, q.valor(QStringLiteral("tarjeta")), "tarjeta");
    sel.SinDatos = false;
    escritor.guardarFila();
  }
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

}  // namespace informes
