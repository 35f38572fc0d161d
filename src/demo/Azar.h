#pragma once
// Azar reproducible de la tienda de demostración. Cada día y cada parte de la
// tienda sacan su propio flujo de la semilla, así que un día tiene las mismas
// ventas se genere sólo o dentro de un año entero, y nada depende del orden
// de un contenedor sin orden ni del reloj.

#include <QtGlobal>

#include <vector>

namespace demo {

// Paso de splitmix64: mezcla bien los bits de cualquier entero.
inline quint64 Mezclar(quint64 x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

class Azar {
 public:
  Azar(quint64 semilla, quint64 flujo) : estado_(Mezclar(semilla ^ Mezclar(flujo + 0x632BE59BD9B4E019ull))) {}

  quint64 siguiente() {
    estado_ += 0x9E3779B97F4A7C15ull;
    quint64 z = estado_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Entero en [minimo, maximo], los dos incluidos. El sesgo del módulo es
  // despreciable para rangos tan pequeños como los de una carta.
  int entre(int minimo, int maximo) {
    if (maximo <= minimo) return minimo;
    const quint64 n = static_cast<quint64>(static_cast<qint64>(maximo) - minimo) + 1;
    return minimo + static_cast<int>(siguiente() % n);
  }

  // Real en [0, 1).
  double real() { return static_cast<double>(siguiente() >> 11) * (1.0 / 9007199254740992.0); }

  bool probable(double p) { return real() < p; }

  template <class T>
  const T& elegir(const std::vector<T>& v) {
    return v[static_cast<size_t>(entre(0, static_cast<int>(v.size()) - 1))];
  }

 private:
  quint64 estado_;
};

// Elección por pesos: los artículos más pedidos salen más.
class Ruleta {
 public:
  void anadir(int valor, int peso) {
    if (peso <= 0) return;
    total_ += peso;
    acumulado_.push_back(total_);
    valores_.push_back(valor);
  }
  bool vacia() const { return valores_.empty(); }
  int elegir(Azar& azar) const {
    const int x = azar.entre(1, total_);
    size_t bajo = 0, alto = acumulado_.size() - 1;
    while (bajo < alto) {
      const size_t medio = (bajo + alto) / 2;
      if (acumulado_[medio] < x)
        bajo = medio + 1;
      else
        alto = medio;
    }
    return valores_[bajo];
  }

 private:
  int total_ = 0;
  std::vector<int> acumulado_;
  std::vector<int> valores_;
};

}  // namespace demo
