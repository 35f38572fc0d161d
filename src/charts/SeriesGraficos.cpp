#include "charts/SeriesGraficos.h"

#include "builders/Costumbres.h"
#include "builders/InformesCaja.h"
#include "startup/EjerciciosCerrados.h"

#include <QDate>
#include <QLocale>

#include <cmath>
#include <map>

namespace graficos {

namespace {

QDate PrimerDia(int mes, int anio) {
  return QDate(anio, mes, 1);
}

QDate UltimoDia(int mes, int anio) {
  return PrimerDia(mes, anio).addMonths(1).addDays(-1);
}

// La hora de una columna hora, venga como hora o como fecha con hora; -1 si
// no se puede leer.
int HoraDe(const QVariant& v) {
  QTime h = datos::aHora(v);
  if (!h.isValid()) h = datos::aFechaHora(v).time();
  return h.isValid() ? h.hour() : -1;
}

// La hora del día como expresión de cada motor. La función va sobre la hora,
// que no tiene índice; el rango va sobre la fecha desnuda, que sí lo tiene.
QString ExpresionHora(const datos::Conexion& ventas) {
  // En SQLite la hora son las dos cifras que preceden a los últimos ocho
  // caracteres (HH:MM:SS): vale también para una hora guardada con su fecha
  // delante, y cuesta la mitad que strftime.
  return ventas.motor() == datos::Motor::PostgreSQL
             ? QStringLiteral("CAST(EXTRACT(HOUR FROM hora) AS INTEGER)")
             : QStringLiteral("CAST(substr(hora, length(hora) - 7, 2) AS INTEGER)");
}

// Una fila por día del mes, rotulada con su número, y el valor de cada día
// que trae la sentencia (fecha, valor) agrupada por fecha.
void PorDias(const datos::Conexion& ventas, const QString& sql, Serie& s) {
  const int dias = DiasDelMes(s.mes, s.anio);
  s.tituloX = QStringLiteral("Dias del Mes");
  for (int d = 1; d <= dias; ++d) {
    s.rotulos << QString::number(d);
    s.claves.push_back(d);
  }
  s.valores.assign(dias, 0.0);
  datos::Consulta q = ventas.preparar(sql);
  q.enlazar(PrimerDia(s.mes, s.anio)).enlazar(UltimoDia(s.mes, s.anio));
  q.ejecutar();
  while (q.siguiente()) {
    const QDate dia = datos::aFecha(q.valor(0));
    if (!dia.isValid() || dia.month() != s.mes || dia.year() != s.anio) continue;
    s.valores[dia.day() - 1] += q.valor(1).toDouble();
  }
}

// Una fila por zona o por empleado en orden de código, también sin ventas:
// la sentencia trae (código, nombre, suma) de cada uno y, los empleados, sus
// apellidos, que van tras el nombre con un blanco aunque falte uno de los dos.
void PorMaestro(const datos::Conexion& ventas, const QString& sql, Serie& s) {
  datos::Consulta q = ventas.preparar(sql);
  q.enlazar(PrimerDia(s.mes, s.anio)).enlazar(UltimoDia(s.mes, s.anio));
  q.ejecutar();
  while (q.siguiente()) {
    s.claves.push_back(q.valor(0).toLongLong());
    s.rotulos << (q.nombresColumnas().size() > 3 ? informes::Unir({q.valor(1).toString(), q.valor(3).toString()})
                                                 : q.valor(1).toString());
    s.valores.push_back(q.valor(2).toDouble());
  }
}

void PorHoras(const datos::Conexion& ventas, Serie& s) {
  s.tituloX = QStringLiteral("Horas");
  // La fila k (rotulada k) es la hora k − 1: la 1 es de 0:00 a 1:00.
  for (int k = 1; k <= 24; ++k) {
    s.rotulos << QString::number(k);
    s.claves.push_back(k - 1);
  }
  s.valores.assign(24, 0.0);
  const QString hora = ExpresionHora(ventas);
  datos::Consulta q = ventas.preparar(QStringLiteral("SELECT %1 AS h, SUM(total) FROM cabecera_factura"
                                                     " WHERE fechaventa BETWEEN ? AND ? AND borrar = 0 AND total > 0"
                                                     " GROUP BY %1")
                                          .arg(hora));
  q.enlazar(PrimerDia(s.mes, s.anio)).enlazar(UltimoDia(s.mes, s.anio));
  q.ejecutar();
  while (q.siguiente()) {
    if (q.valor(0).isNull()) continue;
    const int h = q.valor(0).toInt();
    if (h >= 0 && h < 24) s.valores[h] += q.valor(1).toDouble();
  }
}

}  // namespace

bool CodigoValido(qint16 codigo) {
  return codigo >= 0 && codigo < kNumeroGraficos;
}

bool ConTabla(qint16 codigo) {
  return codigo == kVentasPorHoras || codigo == kReservas;
}

int DiasDelMes(int mes, int anio) {
  return UltimoDia(mes, anio).day();
}

QString NombreMes(int mes) {
  return QLocale().monthName(mes, QLocale::LongFormat);
}

QString TituloEjeY(qint16 codigo) {
  return codigo == kReservas ? QStringLiteral("Reservas") : QStringLiteral("Importes");
}

QString NotaAlPie(qint16 codigo, int mes, int anio) {
  const QString nombre = NombreMes(mes);
  const QString del = QStringLiteral(" del ") + QString::number(anio);
  switch (codigo) {
    case kDescuentos:
      return QStringLiteral("Descuentos realizados en ") + nombre + del;
    case kGastos:
      return QStringLiteral("Gastos realizados en ") + nombre + del;
    case kRetiradas:
      return QStringLiteral("Retiradas realizadas en ") + nombre + del;
    case kCajaPorDias:
      return QStringLiteral("Totales de caja realizados en ") + nombre + del;
    case kVentasPorZonas:
      return QStringLiteral("Ventas por zonas realizados en ") + nombre + del;
    case kVentasPorHoras:
      return QStringLiteral("Ventas en el mes ") + nombre + QStringLiteral(" (Acumulado x Horas)");
    case kVentasPorEmpleados:
      return QStringLiteral("Ventas por empleados realizados en ") + nombre + del;
    case kReservas:
      return QStringLiteral("Reservas realizadas en ") + nombre + del;
  }
  return {};
}

Serie LeerSerie(const datos::Conexion& ventas, qint16 codigo, int mes, int anio) {
  Serie s;
  s.codigo = codigo;
  s.mes = mes;
  s.anio = anio;
  if (!CodigoValido(codigo) || mes < 1 || mes > 12) return s;
  s.tituloY = TituloEjeY(codigo);
  s.pie = NotaAlPie(codigo, mes, anio);
  switch (codigo) {
    case kDescuentos:
      // Una venta a 0 o en negativo también tiene su descuento.
      PorDias(ventas,
              QStringLiteral("SELECT fechaventa, SUM(descuento) FROM cabecera_factura"
                             " WHERE fechaventa BETWEEN ? AND ? AND borrar = 0 GROUP BY fechaventa"),
              s);
      break;
    case kGastos:
      // Cada gasto con la regla de los informes de caja: el mismo dinero.
      PorDias(ventas,
              QStringLiteral("SELECT fecha, SUM(") + informes::kImporteGastoSql +
                  QStringLiteral(") FROM gastos WHERE fecha BETWEEN ? AND ? GROUP BY fecha"),
              s);
      break;
    case kRetiradas:
      PorDias(ventas,
              QStringLiteral("SELECT fecha, SUM(importe) FROM retiradas WHERE fecha BETWEEN ? AND ? GROUP BY fecha"),
              s);
      break;
    case kCajaPorDias:
      PorDias(ventas,
              QStringLiteral("SELECT fechaventa, SUM(total) FROM cabecera_factura"
                             " WHERE fechaventa BETWEEN ? AND ? AND borrar = 0 AND total > 0 GROUP BY fechaventa"),
              s);
      break;
    case kReservas:
      // Un teléfono por día, aunque reserve dos veces. Las reservas sin
      // teléfono cuentan como uno más, como contaba la lista de teléfonos
      // distintos, donde el vacío es uno de ellos.
      PorDias(
          ventas,
          QStringLiteral("SELECT fecha, COUNT(DISTINCT telefono) + MAX(CASE WHEN telefono IS NULL THEN 1 ELSE 0 END)"
                         " FROM reservas WHERE fecha BETWEEN ? AND ? GROUP BY fecha"),
          s);
      break;
    case kVentasPorZonas:
      s.tituloX = QStringLiteral("Zonas");
      // Las ventas a 0 o en negativo también cuentan en su zona.
      PorMaestro(ventas,
                 QStringLiteral("SELECT s.codigo, s.nombre, t.suma FROM salones s LEFT JOIN"
                                " (SELECT zona_venta, SUM(total) AS suma FROM cabecera_factura"
                                " WHERE fechaventa BETWEEN ? AND ? AND borrar = 0 GROUP BY zona_venta) t"
                                " ON t.zona_venta = s.codigo ORDER BY s.codigo"),
                 s);
      break;
    case kVentasPorEmpleados:
      s.tituloX = QStringLiteral("Empleados");
      PorMaestro(ventas,
                 QStringLiteral("SELECT e.codigo, e.nombre, t.suma, e.apellidos FROM empleados e LEFT JOIN"
                                " (SELECT codigo_camarero, SUM(total) AS suma FROM cabecera_factura"
                                " WHERE fechaventa BETWEEN ? AND ? AND borrar = 0 AND total > 0"
                                " GROUP BY codigo_camarero) t ON t.codigo_camarero = e.codigo ORDER BY e.codigo"),
                 s);
      break;
    case kVentasPorHoras:
      PorHoras(ventas, s);
      break;
  }
  // Dinero al céntimo: la suma de miles de importes en doble precisión deja
  // colas (7571.430000000004) que ningún informe enseña.
  if (codigo != kReservas)
    for (double& v : s.valores) v = std::round(v * 100.0) / 100.0;
  return s;
}

Serie CrearSerie(AjustesTerminal& at, qint16 codigo, int mes, int anio, sistema::Notificador& notificador) {
  // Del 1 al 28: basta para saber de qué año es el mes.
  const ejercicios::EjercicioElegido ejercicio(at, QDate(anio, mes, 1), QDate(anio, mes, 28), notificador);
  return LeerSerie(*at.ConexionVentas, codigo, mes, anio);
}

Serie AlinearAnterior(const Serie& actual, const Serie& anterior) {
  Serie r = actual;
  r.mes = anterior.mes;
  r.anio = anterior.anio;
  r.pie = anterior.pie;
  std::map<qint64, double> porClave;
  for (size_t i = 0; i < anterior.claves.size() && i < anterior.valores.size(); ++i)
    porClave[anterior.claves[i]] += anterior.valores[i];
  for (size_t i = 0; i < r.claves.size(); ++i) {
    const auto it = porClave.find(r.claves[i]);
    r.valores[i] = it == porClave.end() ? 0.0 : it->second;
  }
  return r;
}

int FilaDeHora(int hora) {
  return std::abs(hora - 23);
}

Matriz InicializarMatriz() {
  Matriz m;
  for (auto& columna : m) columna.fill(QStringLiteral("0"));
  for (int n = 1; n <= 31; ++n) m[n][24] = QString::number(n);
  for (int r = 0, h = 23; r < 24; ++r, --h) m[0][r] = QStringLiteral("%1 - %2").arg(h).arg(h + 1);
  return m;
}

Matriz LeerMatriz(const datos::Conexion& ventas, qint16 codigo, int mes, int anio) {
  Matriz m = InicializarMatriz();
  if (!ConTabla(codigo) || mes < 1 || mes > 12) return m;
  const bool esVentas = codigo == kVentasPorHoras;
  // Aquí cuentan todas las ventas no borradas, también las de total 0 o en
  // negativo, y cada reserva, aunque repita teléfono en el día.
  // Un mes de ventas entero, fila a fila: la lectura directa no convierte
  // más columnas que las tres que se piden.
  datos::Lectura q(ventas, esVentas ? QStringLiteral("SELECT fechaventa, hora, total FROM cabecera_factura"
                                                     " WHERE fechaventa BETWEEN ? AND ? AND borrar = 0")
                                    : QStringLiteral("SELECT fecha, hora FROM reservas WHERE fecha BETWEEN ? AND ?"));
  q.enlazar(PrimerDia(mes, anio)).enlazar(UltimoDia(mes, anio));
  q.ejecutar();
  // Sumadas en número y escritas al final: el texto de la celda es el
  // número sin decimales fijos, como quedaba tras cada suma.
  std::array<double, 24> importes{};
  std::array<std::array<int, 24>, 32> cuenta{};
  while (q.siguiente()) {
    const QDate dia = datos::aFecha(q.valor(0));
    const int hora = HoraDe(q.valor(1));
    // Una venta sin hora no tiene fila en la tabla.
    if (!dia.isValid() || hora < 0) continue;
    const int r = FilaDeHora(hora);
    ++cuenta[dia.day()][r];
    if (esVentas) importes[r] += std::round(q.numero(2) * 100.0) / 100.0;
  }
  for (int d = 1; d <= 31; ++d)
    for (int r = 0; r < 24; ++r)
      if (cuenta[d][r]) m[d][r] = QString::number(cuenta[d][r]);
  if (esVentas)
    for (int r = 0; r < 24; ++r)
      if (importes[r] != 0.0) m[32][r] = informes::NumeroATexto(std::round(importes[r] * 100.0) / 100.0);
  return m;
}

Matriz CrearMatriz(AjustesTerminal& at, qint16 codigo, int mes, int anio, sistema::Notificador& notificador) {
  const ejercicios::EjercicioElegido ejercicio(at, QDate(anio, mes, 1), QDate(anio, mes, 28), notificador);
  return LeerMatriz(*at.ConexionVentas, codigo, mes, anio);
}

QString MatrizCsv(const Matriz& m) {
  QString r;
  for (int fila = 0; fila < kFilasMatriz; ++fila) {
    QStringList campos;
    for (int c = 0; c < kColumnasMatriz; ++c) campos << (m[c][fila] == QLatin1String("0") ? QString() : m[c][fila]);
    r += campos.join(QLatin1Char(';')) + QLatin1Char('\n');
  }
  return r;
}

int TipoGrafico(Estilo estilo, Dimension modo) {
  const bool plano = modo == Dimension::DosD;
  switch (estilo) {
    case Estilo::Barras:
      return plano ? 1 : 0;
    case Estilo::Lineas:
      return plano ? 3 : 2;
    case Estilo::Circular:
      return 14;
    case Estilo::Conico:
      return plano ? 5 : 4;
  }
  return 1;
}

bool EsTresD(int tipo) {
  return tipo == 0 || tipo == 2 || tipo == 4;
}

std::optional<Estilo> EstiloPorNombre(const QString& nombre) {
  const QString n = nombre.trimmed().toLower();
  if (n == QLatin1String("barras")) return Estilo::Barras;
  if (n == QLatin1String("lineas") || n == QString::fromUtf8("líneas")) return Estilo::Lineas;
  if (n == QLatin1String("circular")) return Estilo::Circular;
  if (n == QLatin1String("conico") || n == QString::fromUtf8("cónico")) return Estilo::Conico;
  return std::nullopt;
}

const std::array<ColorSerie, 6>& ColoresSerie() {
  static const std::array<ColorSerie, 6> colores = {{
      {"cmdRojo", "rojo", QColor(192, 29, 5)},
      {"cmdNaranja", "naranja", QColor(188, 87, 12)},
      {"cmdAmarillo", "amarillo", QColor(222, 206, 14)},
      {"cmdVerde", "verde", QColor(13, 200, 27)},
      {"cmdCeleste", "celeste", QColor(1, 227, 233)},
      {"cmdAzul", "azul", QColor(23, 4, 193)},
  }};
  return colores;
}

std::optional<QColor> ColorPorNombre(const QString& nombre) {
  for (const ColorSerie& c : ColoresSerie())
    if (nombre.trimmed().compare(QLatin1String(c.nombre), Qt::CaseInsensitive) == 0) return c.color;
  return std::nullopt;
}

}  // namespace graficos
