#pragma once
// Letreros de ofertas: tres diseños de cuatro líneas, cada uno con lo más que
// cabe en cada línea, y la fila de Informes que pinta su plantilla.

#include "platform/datos/Datos.h"

#include <QString>

#include <array>

namespace letreros {

enum class Alineacion { Centro, Derecha };

struct Diseno {
  QString plantilla;  // "cartel1.rpt"
  std::array<int, 4> maximos;
  Alineacion lineasCentrales;  // alineación de las líneas 2 y 3 al escribirlas
  bool raya;                   // la raya bajo el título
};

constexpr int kDisenos = 3;
// El diseño del botón «Cartel Nº(n + 1)»; n de 0 a 2.
const Diseno& DisenoCartel(int n);

// Lo que dice la etiqueta de una línea: "Máximo caracteres: 25".
QString RotuloMaximo(int maximo);

// Lo que enseña una línea que el usuario aún no ha escrito.
extern const QString kMarcador;

using Lineas = std::array<QString, 4>;

// Cada línea cortada a lo más que admite el diseño: lo escrito con un diseño
// más holgado se queda en la caja, pero no sale entero en el letrero.
Lineas Cortar(const Lineas& lineas, const Diseno& diseno);

// Vacía Informes y escribe la fila del letrero, con las líneas ya cortadas.
void EscribirLetrero(const datos::Conexion& informes, const Lineas& lineas, const Diseno& diseno);

}  // namespace letreros
