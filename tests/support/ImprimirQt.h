#pragma once
// Que GoogleTest enseñe los valores de Qt legibles cuando una comprobación
// falla, en vez de volcar sus bytes.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>
#include <QVariantMap>

#include <ostream>

inline void PrintTo(const QString& texto, std::ostream* os) {
  *os << '"' << texto.toStdString() << '"';
}
inline void PrintTo(const QDate& d, std::ostream* os) {
  *os << d.toString(Qt::ISODate).toStdString();
}
inline void PrintTo(const QTime& t, std::ostream* os) {
  *os << t.toString(Qt::ISODateWithMs).toStdString();
}
inline void PrintTo(const QDateTime& fh, std::ostream* os) {
  *os << fh.toString(Qt::ISODate).toStdString();
}

inline void PrintTo(const QVariant& valor, std::ostream* os) {
  if (valor.isNull()) {
    *os << "Null";
    return;
  }
  *os << valor.typeName() << '(' << valor.toString().toStdString() << ')';
}

inline void PrintTo(const QVariantMap& fila, std::ostream* os) {
  *os << '{';
  for (auto it = fila.cbegin(); it != fila.cend(); ++it) {
    if (it != fila.cbegin()) *os << ", ";
    *os << it.key().toStdString() << '=';
    PrintTo(it.value(), os);
  }
  *os << '}';
}
