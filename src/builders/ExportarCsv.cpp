#include "builders/ExportarCsv.h"

#include "builders/Informes.h"
#include "platform/sistema/FicheroSalida.h"

#include <charconv>

namespace informes {

QString NumeroCsv(double v) {
  // PostgreSQL guarda el cero negativo que deja un cambio de signo y SQLite
  // no: en un informe no significa nada y el CSV no debe depender del motor.
  if (v == 0) v = 0;
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return QString::fromLatin1(buf, static_cast<int>(r.ptr - buf));
}

QString CampoCsv(const QString& texto) {
  if (texto.isEmpty()) return QStringLiteral("\"\"");
  if (texto.contains(QLatin1Char(',')) || texto.contains(QLatin1Char('"')) || texto.contains(QLatin1Char('\n')) ||
      texto.contains(QLatin1Char('\r'))) {
    QString t = texto;
    t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
  }
  return texto;
}

namespace {

QString fechaCsv(const QVariant& v) {
  const QDateTime fh = datos::aFechaHora(v);
  if (!fh.isValid()) return v.toString();
  return datos::textoFechaOFechaHora(fh);
}

}  // namespace

void EscribirCsv(const datos::Conexion& conexion, QIODevice& destino) {
  const auto& columnas = kColumnasInformes;
  QStringList cabecera;
  for (int i = 0; i < kNumColumnas; ++i) cabecera << NombreColumna(static_cast<Col>(i));
  const bool conFila =
      conexion.columnas(QStringLiteral("informes")).contains(QStringLiteral("fila"), Qt::CaseInsensitive);
  datos::Consulta q = conexion.preparar(
      QStringLiteral("SELECT %1 FROM informes%2")
          .arg(cabecera.join(QLatin1Char(',')), conFila ? QStringLiteral(" ORDER BY fila") : QString()));
  q.ejecutar();
  QByteArray linea = cabecera.join(QLatin1Char(',')).toUtf8() + '\n';
  destino.write(linea);
  QStringList campos;
  while (q.siguiente()) {
    campos.clear();
    for (int i = 0; i < static_cast<int>(columnas.size()); ++i) {
      const QVariant v = q.valor(i);
      if (v.isNull()) {
        campos << QString();
        continue;
      }
      switch (columnas[static_cast<size_t>(i)].tipo) {
        case TipoColumna::Texto:
          campos << CampoCsv(v.toString());
          break;
        case TipoColumna::Numero:
          campos << NumeroCsv(v.toDouble());
          break;
        case TipoColumna::Entero:
          campos << QString::number(v.toLongLong());
          break;
        case TipoColumna::Fecha:
          campos << fechaCsv(v);
          break;
      }
    }
    destino.write(campos.join(QLatin1Char(',')).toUtf8() + '\n');
  }
}

void EscribirCsv(const datos::Conexion& conexion, const QString& fichero) {
  sistema::FicheroSalida f(fichero);
  if (!f.abrir())
    throw datos::ErrorDatos(QStringLiteral("No se puede escribir el fichero %1: %2").arg(fichero, f.error()));
  EscribirCsv(conexion, f.dispositivo());
  if (!f.confirmar())
    throw datos::ErrorDatos(QStringLiteral("No se puede escribir el fichero %1: %2").arg(fichero, f.error()));
}

}  // namespace informes
