#include "builders/Costumbres.h"

#include <QLocale>

#include <cmath>
#include <utility>

namespace informes {

namespace {
// Sin fila en Opciones (o con columnas en Null) la cabecera va vacía, no
// Null: el escritor guarda como Null un QString nulo.
CabeceraNegocio SinNulos(CabeceraNegocio c) {
  for (QString* t : {&c.nombre, &c.direccion, &c.cif})
    if (t->isNull()) *t = QStringLiteral("");
  return c;
}

// Cada texto en su máximo; un aviso por texto cortado.
CabeceraNegocio Acotada(CabeceraNegocio c, sistema::Notificador* aviso) {
  const std::pair<QString*, const char*> textos[] = {
      {&c.nombre, "El nombre del negocio"}, {&c.direccion, "La dirección del negocio"}, {&c.cif, "El CIF del negocio"}};
  for (const auto& [t, que] : textos) {
    if (t->size() <= kMaximoCabecera) continue;
    const qsizetype largo = t->size();
    qsizetype corte = kMaximoCabecera - 1;
    if (t->at(corte - 1).isHighSurrogate()) --corte;
    *t = t->left(corte) + QChar(0x2026);
    if (aviso)
      aviso->mensaje(QStringLiteral("%1 (tabla opciones) tiene %2 caracteres: en los informes van los %3 primeros.")
                         .arg(QLatin1String(que), QLocale(QLocale::Spanish).toString(largo))
                         .arg(kMaximoCabecera - 1),
                     QStringLiteral("Aviso"), sistema::Icono::Exclamacion);
  }
  return c;
}
}  // namespace

CabeceraNegocio LeerCabeceraTabla(const datos::Conexion& ventas, sistema::Notificador* aviso) {
  CabeceraNegocio c;
  datos::Consulta q = ventas.preparar(QStringLiteral("SELECT * FROM opciones ORDER BY identificador"));
  q.ejecutar();
  if (q.siguiente()) {
    c.nombre = q.texto(QStringLiteral("nombre"));
    c.direccion = q.texto(QStringLiteral("direccion")) + QStringLiteral(" - ") + q.texto(QStringLiteral("poblacion"));
    c.cif = q.texto(QStringLiteral("cif"));
  }
  return Acotada(SinNulos(c), aviso);
}

CabeceraNegocio LeerCabeceraPuesto(const datos::Conexion& ventas, const QString& idTerminal,
                                   sistema::Notificador* aviso) {
  CabeceraNegocio c;
  datos::Consulta q = ventas.preparar(QStringLiteral("SELECT nombre, direccion FROM opciones WHERE identificador = ?"));
  q.enlazar(idTerminal);
  q.ejecutar();
  if (q.siguiente()) {
    c.nombre = q.texto(QStringLiteral("nombre"));
    c.direccion = q.texto(QStringLiteral("direccion"));
  }
  return Acotada(SinNulos(c), aviso);
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
