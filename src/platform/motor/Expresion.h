#pragma once
// Columnas calculadas de las plantillas: sumas, restas, productos y cocientes
// de columnas y números ("numerico1 * numerico3"). Un Null cuenta como 0 y
// una división por cero da 0, que es lo que un informe debe enseñar.

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace motor {

using Fila = std::vector<QVariant>;

// Notación polaca inversa: evaluar es recorrer un vector.
struct PasoExpresion {
  enum class Tipo { Numero, Columna, Suma, Resta, Producto, Cociente, Negar } tipo;
  double numero = 0;
  int columna = -1;
};

class Expresion {
 public:
  // Devuelve nullptr y pone `error` si el texto no es una expresión válida o
  // nombra algo que `resolver` no conoce (resolver devuelve -1).
  static std::shared_ptr<const Expresion> Analizar(const QString& texto,
                                                   const std::function<int(const QString&)>& resolver, QString& error);
  double evaluar(const Fila& fila) const;
  // Lo mismo tomando cada columna de `numero(columna)`, Null como 0.
  template <class Numero>
  double evaluarCon(Numero&& numero) const;

  static constexpr int kPilaMaxima = 64;
  // Paréntesis y signos menos anidados uno dentro de otro. El análisis es
  // recursivo: sin tope, un texto hostil agota la pila del programa.
  static constexpr int kAnidamientoMaximo = 200;

 private:
  std::vector<PasoExpresion> pasos_;
};

template <class Numero>
double Expresion::evaluarCon(Numero&& numero) const {
  double pila[kPilaMaxima];
  int n = 0;
  for (const PasoExpresion& p : pasos_) {
    switch (p.tipo) {
      case PasoExpresion::Tipo::Numero:
        pila[n++] = p.numero;
        break;
      case PasoExpresion::Tipo::Columna:
        pila[n++] = numero(p.columna);
        break;
      case PasoExpresion::Tipo::Negar:
        pila[n - 1] = -pila[n - 1];
        break;
      case PasoExpresion::Tipo::Suma:
        --n;
        pila[n - 1] += pila[n];
        break;
      case PasoExpresion::Tipo::Resta:
        --n;
        pila[n - 1] -= pila[n];
        break;
      case PasoExpresion::Tipo::Producto:
        --n;
        pila[n - 1] *= pila[n];
        break;
      case PasoExpresion::Tipo::Cociente:
        --n;
        pila[n - 1] = pila[n] == 0 ? 0.0 : pila[n - 1] / pila[n];
        break;
    }
  }
  return n == 1 ? pila[0] : 0.0;
}

}  // namespace motor
