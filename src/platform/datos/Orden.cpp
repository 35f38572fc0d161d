#include "platform/datos/Orden.h"

#include <QLocale>

#include <algorithm>
#include <numeric>

namespace datos {

namespace {

bool esNumero(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
      return true;
    default:
      return false;
  }
}

template <class T>
int signo(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int ClaveOrden::comparar(const ClaveOrden& otra) const {
  if (clase_ != otra.clase_) return signo(static_cast<int>(clase_), static_cast<int>(otra.clase_));
  switch (clase_) {
    case Clase::Nulo:
      return 0;
    case Clase::Numero:
      return signo(numero_, otra.numero_);
    case Clase::Texto:
      return texto_->compare(*otra.texto_);
  }
  return 0;
}

CriterioOrden::CriterioOrden() : intercalacion_(QLocale(QLocale::Spanish, QLocale::Spain)) {
  intercalacion_.setCaseSensitivity(Qt::CaseInsensitive);
  // "10" va antes que "9": las cifras escritas dentro de un texto nunca se
  // han ordenado como números.
  intercalacion_.setNumericMode(false);
}

ClaveOrden CriterioOrden::clave(const QVariant& valor) const {
  ClaveOrden c;
  if (valor.isNull() || !valor.isValid()) return c;
  if (esNumero(valor)) {
    c.clase_ = ClaveOrden::Clase::Numero;
    c.numero_ = valor.toDouble();
    return c;
  }
  c.clase_ = ClaveOrden::Clase::Texto;
  c.texto_ = intercalacion_.sortKey(valor.toString());
  return c;
}

int CriterioOrden::comparar(const QVariant& a, const QVariant& b) const {
  return clave(a).comparar(clave(b));
}

int CompararClaves(const ClavesFila& a, const ClavesFila& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int r = a[i].comparar(b[i]);
    if (r != 0) return r;
  }
  return signo(a.size(), b.size());
}

std::vector<std::size_t> OrdenEstable(const std::vector<ClavesFila>& claves) {
  std::vector<std::size_t> posiciones(claves.size());
  std::iota(posiciones.begin(), posiciones.end(), std::size_t{0});
  std::stable_sort(posiciones.begin(), posiciones.end(),
                   [&](std::size_t a, std::size_t b) { return CompararClaves(claves[a], claves[b]) < 0; });
  return posiciones;
}

}  // namespace datos
