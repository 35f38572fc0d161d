#include "builders/Costumbres.h"

#include <cmath>

namespace informes {

namespace {
// Sin fila en Opciones (o con columnas en Null) la cabecera va vacía, no
// Null: el escritor guarda como Null un QString nulo.
CabeceraNegocio SinNulos(CabeceraNegocio c) {
  for (QString* t : {&c.nombre, &c.direccion, &c.cif})
    if (t->isNull()) *t = QStringLiteral("");
  return c;
}
}  // namespace

CabeceraNegocio LeerCabeceraTabla(const datos::Conexion& ventas) {
  CabeceraNegocio c;
  datos::Consulta q = ventas.preparar(QStringLiteral("SELECT * FROM opciones ORDER BY identificador"));
  q.ejecutar();
  if (q.siguiente()) {
    c.nombre = q.texto(QStringLiteral("nombre"));
    c.direccion = q.texto(QStringLiteral("direccion")) + QStringLiteral(" - ") + q.texto(QStringLiteral("poblacion"));
    c.cif = q.texto(QStringLiteral("cif"));
  }
  return SinNulos(c);
}

CabeceraNegocio LeerCabeceraPuesto(const datos::Conexion& ventas, const QString& idTerminal) {
  CabeceraNegocio c;
  datos::Consulta q = ventas.preparar(QStringLiteral("SELECT nombre, direccion FROM opciones WHERE identificador = ?"));
  q.enlazar(idTerminal);
  q.ejecutar();
  if (q.siguiente()) {
    c.nombre = q.texto(QStringLiteral("nombre"));
    c.direccion = q.texto(QStringLiteral("direccion"));
  }
  return SinNulos(c);
}

QString ParteCif(const QString& cif) {
  const int blanco = cif.indexOf(QLatin1Char(' '));
  return blanco < 0 ? QString() : cif.left(blanco + 1);
}

SelloGeneracion TomarSello(const sistema::Reloj& reloj) {
  const QDateTime ahora = reloj.ahora();
  return {ahora.date(), QTime(ahora.time().hour(), ahora.time().minute())};
}

QString textoDiaMesAnio(const QDate& fecha) {
  // A mano y recordando la última: un informe de un año escribe cientos de
  // miles de fechas, casi siempre la misma que la fila anterior.
  thread_local QDate ultima;
  thread_local QString ultimoTexto;
  if (fecha == ultima && fecha.isValid()) return ultimoTexto;
  if (!fecha.isValid() || fecha.year() < 1000 || fecha.year() > 9999)
    return fecha.toString(QStringLiteral("dd/MM/yyyy"));
  const QString iso = datos::textoFecha(fecha);  // AAAA-MM-DD
  ultima = fecha;
  ultimoTexto = iso.mid(8, 2) + QLatin1Char('/') + iso.mid(5, 2) + QLatin1Char('/') + iso.left(4);
  return ultimoTexto;
}

void AvisarSinDatos(sistema::Notificador& n, const QString& texto, const QString& titulo) {
  n.mensaje(texto, titulo, sistema::Icono::Informacion);
}

bool Tolerante(const std::function<void()>& paso) {
  try {
    paso();
    return true;
  } catch (const datos::ErrorDatos&) {
    return false;
  }
}

QString Unir(const QStringList& partes) {
  return partes.join(QLatin1Char(' '));
}

QString NumeroATexto(double v) {
  if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(static_cast<qint64>(v));
  QString t = QString::number(v, 'g', 15);
  t.replace(QLatin1Char('.'), QLatin1Char(','));
  return t;
}

}  // namespace informes
