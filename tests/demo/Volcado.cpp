#include "Volcado.h"

#include "platform/datos/Esquemas.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <algorithm>

namespace prueba {

namespace {

QString Normalizar(const QVariant& v) {
  if (v.isNull()) return QStringLiteral("\\N");
  switch (v.typeId()) {
    case QMetaType::QDate:
      return datos::textoFecha(v.toDate());
    case QMetaType::QTime:
      return datos::textoHora(v.toTime());
    case QMetaType::QDateTime:
      return datos::textoFechaHora(v.toDateTime());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
      return QString::number(v.toDouble(), 'g', 15);
    default:
      return v.toString();
  }
}

}  // namespace

QStringList TablasDeVentas() {
  static const QRegularExpression crear(QStringLiteral("CREATE TABLE IF NOT EXISTS (\\w+)"),
                                        QRegularExpression::CaseInsensitiveOption);
  QStringList tablas;
  auto it = crear.globalMatch(datos::TextoEsquema(datos::Motor::SQLite, QStringLiteral("hosteleria")));
  while (it.hasNext()) tablas << it.next().captured(1).toLower();
  tablas.sort();
  return tablas;
}

QByteArray HuellaDeVentas(const datos::Conexion& c) {
  QCryptographicHash huella(QCryptographicHash::Sha256);
  for (const QString& tabla : TablasDeVentas()) {
    datos::Consulta q = c.preparar(QStringLiteral("SELECT * FROM %1").arg(tabla));
    q.ejecutar();
    QStringList filas;
    const int columnas = static_cast<int>(q.nombresColumnas().size());
    while (q.siguiente()) {
      QStringList valores;
      for (int i = 0; i < columnas; ++i) valores << Normalizar(q.valor(i));
      filas << valores.join(QLatin1Char('|'));
    }
    std::sort(filas.begin(), filas.end());
    huella.addData(tabla.toUtf8() + '\n');
    for (const QString& f : filas) huella.addData(f.toUtf8() + '\n');
  }
  return huella.result().toHex();
}

qint64 Contar(const datos::Conexion& c, const QString& sql, const QVariantList& valores) {
  datos::Consulta q = c.preparar(sql);
  for (const QVariant& v : valores) q.enlazar(v);
  q.ejecutar();
  return q.siguiente() ? q.valor(0).toLongLong() : -1;
}

}  // namespace prueba
