#pragma once
// Inserción preparada una vez por tabla y reenlazada en cada fila: el texto
// SQL no cambia nunca, sólo los valores.

#include "platform/datos/Datos.h"

#include <initializer_list>

namespace demo {

// Null para las columnas que la suite deja vacías.
inline const QVariant kNulo{};

// Céntimos a euros: los importes se calculan en céntimos para que total,
// líneas e impuestos cuadren al céntimo, y se guardan como REAL.
inline double Euros(qint64 centimos) {
  return static_cast<double>(centimos) / 100.0;
}

class Insercion {
 public:
  Insercion(const datos::Conexion& conexion, const QString& tabla, std::initializer_list<const char*> columnas);

  // Una fila con un valor por columna, en el orden del constructor.
  template <class... T>
  void fila(const T&... valores) {
    (poner(QVariant(valores)), ...);
    guardar();
  }

 private:
  void poner(const QVariant& v) {
    consulta_.enlazar(v);
    ++puestos_;
  }
  void guardar();

  QString tabla_;
  int columnas_ = 0;
  int puestos_ = 0;
  datos::Consulta consulta_;
};

}  // namespace demo
