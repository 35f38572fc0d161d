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

bool cifras(QByteArrayView t, qsizetype desde, qsizetype cuantas, int& valor) {
  valor = 0;
  for (qsizetype i = desde; i < desde + cuantas; ++i) {
    const char c = t[i];
    if (c < '0' || c > '9') return false;
    valor = valor * 10 + (c - '0');
  }
  return true;
}

// Una fecha tal como la guarda SQLite, sin pasar por QDateTime: "AAAA-MM-DD"
// sale igual, y "AAAA-MM-DD HH:MM:SS" sin la hora si es medianoche. Falso si
// el texto no tiene una de esas dos formas exactas: entonces decide fechaCsv.
bool fechaRapida(QByteArrayView t, QByteArray& salida) {
  int a, m, d;
  if (t.size() != 10 && t.size() != 19) return false;
  if (t[4] != '-' || t[7] != '-' || !cifras(t, 0, 4, a) || !cifras(t, 5, 2, m) || !cifras(t, 8, 2, d)) return false;
  if (t.size() == 10) {
    // Válida o no, fechaCsv la deja como está.
    salida.append(t.data(), t.size());
    return true;
  }
  int h, mi, se;
  if (t[10] != ' ' || t[13] != ':' || t[16] != ':' || !cifras(t, 11, 2, h) || !cifras(t, 14, 2, mi) ||
      !cifras(t, 17, 2, se))
    return false;
  const bool valida = QDate::isValid(a, m, d) && QTime::isValid(h, mi, se);
  salida.append(t.data(), valida && h == 0 && mi == 0 && se == 0 ? 10 : t.size());
  return true;
}

void anadirTexto(QByteArray& salida, QByteArrayView t) {
  if (t.isEmpty()) {
    salida.append("\"\"");
    return;
  }
  bool comillas = false;
  for (const char c : t)
    if (c == ',' || c == '"' || c == '\n' || c == '\r') {
      comillas = true;
      break;
    }
  if (!comillas) {
    salida.append(t.data(), t.size());
    return;
  }
  salida.append('"');
  for (const char c : t) {
    if (c == '"') salida.append('"');
    salida.append(c);
  }
  salida.append('"');
}

void anadirNumero(QByteArray& salida, double v) {
  if (v == 0) v = 0;  // sin "-0", como NumeroCsv
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  salida.append(buf, static_cast<qsizetype>(r.ptr - buf));
}

// Las filas salen en el orden de la columna fila. Casi siempre es ya el orden
// en que la tabla las devuelve, y entonces no hace falta que la base las
// ordene (en un año, lo más caro de la lectura): se comprueba antes.
bool yaEnOrden(const datos::Conexion& conexion) {
  datos::Lectura q(conexion, QStringLiteral("SELECT fila FROM informes"));
  q.ejecutar();
  qint64 anterior = 0;
  bool primera = true;
  while (q.siguiente()) {
    if (q.esNulo(0)) return false;
    const qint64 f = q.entero(0);
    if (!primera && f < anterior) return false;
    anterior = f;
    primera = false;
  }
  return true;
}

}  // namespace

void EscribirCsv(const datos::Conexion& conexion, QIODevice& destino) {
  const auto& columnas = kColumnasInformes;
  QStringList cabecera;
  for (int i = 0; i < kNumColumnas; ++i) cabecera << NombreColumna(static_cast<Col>(i));
  const bool conFila =
      conexion.columnas(QStringLiteral("informes")).contains(QStringLiteral("fila"), Qt::CaseInsensitive);
  const bool ordenar = conFila && !yaEnOrden(conexion);
  datos::Lectura q(conexion,
                   QStringLiteral("SELECT %1 FROM informes%2")
                       .arg(cabecera.join(QLatin1Char(',')), ordenar ? QStringLiteral(" ORDER BY fila") : QString()));
  q.ejecutar();
  QByteArray salida = cabecera.join(QLatin1Char(',')).toUtf8() + '\n';
  constexpr qsizetype kTrozo = 1 << 20;
  salida.reserve(kTrozo + 4096);
  auto volcar = [&] {
    if (destino.write(salida) != salida.size())
      throw datos::ErrorDatos(QStringLiteral("No se puede escribir el CSV: %1").arg(destino.errorString()));
    salida.clear();
  };
  const int n = static_cast<int>(columnas.size());
  while (q.siguiente()) {
    for (int i = 0; i < n; ++i) {
      if (i > 0) salida.append(',');
      const datos::Lectura::Tipo tipo = q.tipo(i);
      if (tipo == datos::Lectura::Tipo::Nulo) continue;
      switch (columnas[static_cast<size_t>(i)].tipo) {
        case TipoColumna::Texto:
          if (tipo == datos::Lectura::Tipo::Texto)
            anadirTexto(salida, q.textoUtf8(i));
          else
            anadirTexto(salida, q.valor(i).toString().toUtf8());
          break;
        case TipoColumna::Numero:
          anadirNumero(salida, q.numero(i));
          break;
        case TipoColumna::Entero:
          salida.append(QByteArray::number(q.valor(i).toLongLong()));
          break;
        case TipoColumna::Fecha:
          if (tipo != datos::Lectura::Tipo::Texto || !fechaRapida(q.textoUtf8(i), salida))
            salida.append(fechaCsv(q.valor(i)).toUtf8());
          break;
      }
    }
    salida.append('\n');
    if (salida.size() >= kTrozo) volcar();
  }
  volcar();
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
