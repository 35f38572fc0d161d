#include "platform/motor/TablaFilas.h"

#include <algorithm>

namespace motor {

TablaFilas::TablaFilas(int columnas) : columnas_(static_cast<std::size_t>(std::max(columnas, 0))) {}

void TablaFilas::nuevaFila() {
  for (Columna& c : columnas_) {
    c.tipos.push_back(Tipo::Nulo);
    c.datos.push_back(Dato{0});
  }
  ++filas_;
}

void TablaFilas::ponerEntero(int columna, qint64 valor) {
  Columna& c = columna_(columna);
  c.tipos.back() = Tipo::Entero;
  c.datos.back().entero = valor;
}

void TablaFilas::ponerDoble(int columna, double valor) {
  Columna& c = columna_(columna);
  c.tipos.back() = Tipo::Doble;
  c.datos.back().doble = valor;
}

std::uint32_t TablaFilas::anadirDistinto(Columna& c, const QVariant& v) {
  const auto i = static_cast<std::uint32_t>(c.distintos.size());
  c.distintos.push_back(v);
  c.numeros.push_back(0);
  c.conNumero.push_back(false);
  bool vacio = false;
  if (v.typeId() == QMetaType::QString) {
    vacio = true;
    for (const QChar ch : v.toString())
      if (!ch.isSpace()) {
        vacio = false;
        break;
      }
  }
  c.vacios.push_back(vacio);
  return i;
}

void TablaFilas::ponerTextoUtf8(int columna, QByteArrayView texto) {
  Columna& c = columna_(columna);
  const std::string_view clave(texto.data() ? texto.data() : "", static_cast<std::size_t>(texto.size()));
  auto it = c.porUtf8.find(clave);
  if (it == c.porUtf8.end())
    it = c.porUtf8.emplace(std::string(clave), anadirDistinto(c, QString::fromUtf8(texto.data(), texto.size()))).first;
  c.tipos.back() = Tipo::Distinto;
  c.datos.back().indice = it->second;
}

void TablaFilas::poner(int columna, const QVariant& valor) {
  if (valor.isNull() || !valor.isValid()) return;
  Columna& c = columna_(columna);
  switch (valor.typeId()) {
    case QMetaType::LongLong:
      ponerEntero(columna, valor.toLongLong());
      return;
    case QMetaType::Double:
      ponerDoble(columna, valor.toDouble());
      return;
    case QMetaType::QString: {
      const QString t = valor.toString();
      auto it = c.porTexto.constFind(t);
      if (it == c.porTexto.constEnd()) it = c.porTexto.insert(t, anadirDistinto(c, valor));
      c.tipos.back() = Tipo::Distinto;
      c.datos.back().indice = *it;
      return;
    }
    default:
      // Fechas de PostgreSQL y demás: cada una con su valor, sin buscar iguales.
      c.tipos.back() = Tipo::Distinto;
      c.datos.back().indice = anadirDistinto(c, valor);
      return;
  }
}

void TablaFilas::anadir(const Fila& fila) {
  nuevaFila();
  const int n = std::min(numColumnas(), static_cast<int>(fila.size()));
  for (int c = 0; c < n; ++c) poner(c, fila[static_cast<std::size_t>(c)]);
}

void TablaFilas::cambiarDoble(std::size_t fila, int columna, double valor) {
  Columna& c = columna_(columna);
  c.tipos[fila] = Tipo::Doble;
  c.datos[fila].doble = valor;
}

void TablaFilas::terminarCarga() {
  for (Columna& c : columnas_) {
    c.porUtf8 = {};
    c.ultimo = {};
    c.hayUltimo = false;
    c.porTexto = {};
  }
}

QVariant TablaFilas::valor(std::size_t fila, int columna) const {
  const Columna& c = columna_(columna);
  switch (c.tipos[fila]) {
    case Tipo::Nulo:
      return {};
    case Tipo::Entero:
      return QVariant(static_cast<qlonglong>(c.datos[fila].entero));
    case Tipo::Doble:
      return QVariant(c.datos[fila].doble);
    case Tipo::Distinto:
      break;
  }
  return c.distintos[c.datos[fila].indice];
}

double TablaFilas::numero(std::size_t fila, int columna) const {
  const Columna& c = columna_(columna);
  switch (c.tipos[fila]) {
    case Tipo::Nulo:
      return 0;
    case Tipo::Entero:
      return static_cast<double>(c.datos[fila].entero);
    case Tipo::Doble:
      return c.datos[fila].doble;
    case Tipo::Distinto:
      break;
  }
  const std::uint32_t i = c.datos[fila].indice;
  if (!c.conNumero[i]) {
    c.numeros[i] = c.distintos[i].toDouble();
    c.conNumero[i] = true;
  }
  return c.numeros[i];
}

bool TablaFilas::vacio(std::size_t fila, int columna) const {
  const Columna& c = columna_(columna);
  switch (c.tipos[fila]) {
    case Tipo::Nulo:
      return true;
    case Tipo::Entero:
    case Tipo::Doble:
      return false;
    case Tipo::Distinto:
      break;
  }
  return c.vacios[c.datos[fila].indice];
}

void TablaFilas::reordenar(const std::vector<std::size_t>& orden) {
  for (Columna& c : columnas_) {
    std::vector<Tipo> tipos(orden.size());
    std::vector<Dato> datos(orden.size());
    for (std::size_t i = 0; i < orden.size(); ++i) {
      tipos[i] = c.tipos[orden[i]];
      datos[i] = c.datos[orden[i]];
    }
    c.tipos = std::move(tipos);
    c.datos = std::move(datos);
  }
  filas_ = orden.size();
}

}  // namespace motor
