#pragma once
// Las 64 columnas de la tabla de trabajo Informes, con nombre desde la
// compilación: un constructor escribe Col::Texto11 y no puede equivocarse de
// nombre. Cada informe da a sus columnas el sentido que quiere; donde ayuda a
// leer, el constructor les pone un alias (constexpr auto kLugar = Col::Texto11).
// El orden es el de la tabla; una prueba lo compara con los esquemas.

#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace informes {

enum class TipoColumna { Texto, Numero, Fecha, Entero };

// X(nombre del enumerado, nombre en la tabla, tipo)
#define CRONICAS_COLUMNAS_INFORMES(X) \
  X(Texto1, texto1, Texto)            \
  X(Texto2, texto2, Texto)            \
  X(Texto3, texto3, Texto)            \
  X(Texto4, texto4, Texto)            \
  X(Texto5, texto5, Texto)            \
  X(Texto6, texto6, Texto)            \
  X(Texto7, texto7, Texto)            \
  X(Texto8, texto8, Texto)            \
  X(Texto9, texto9, Texto)            \
  X(Texto10, texto10, Texto)          \
  X(Texto11, texto11, Texto)          \
  X(Texto12, texto12, Texto)          \
  X(Texto13, texto13, Texto)          \
  X(Texto14, texto14, Texto)          \
  X(Texto15, texto15, Texto)          \
  X(Texto16, texto16, Texto)          \
  X(Texto17, texto17, Texto)          \
  X(Texto18, texto18, Texto)          \
  X(Texto19, texto19, Texto)          \
  X(Texto20, texto20, Texto)          \
  X(Texto21, texto21, Texto)          \
  X(Texto22, texto22, Texto)          \
  X(Texto23, texto23, Texto)          \
  X(Texto24, texto24, Texto)          \
  X(Texto25, texto25, Texto)          \
  X(Texto26, texto26, Texto)          \
  X(Texto27, texto27, Texto)          \
  X(Texto28, texto28, Texto)          \
  X(Texto29, texto29, Texto)          \
  X(Texto30, texto30, Texto)          \
  X(Texto31, texto31, Texto)          \
  X(Texto32, texto32, Texto)          \
  X(Texto33, texto33, Texto)          \
  X(Texto34, texto34, Texto)          \
  X(Texto35, texto35, Texto)          \
  X(Numerico1, numerico1, Numero)     \
  X(Numerico2, numerico2, Numero)     \
  X(Numerico3, numerico3, Numero)     \
  X(Numerico4, numerico4, Numero)     \
  X(Numerico5, numerico5, Numero)     \
  X(Numerico6, numerico6, Numero)     \
  X(Numerico7, numerico7, Numero)     \
  X(Numerico8, numerico8, Numero)     \
  X(Numerico9, numerico9, Numero)     \
  X(Numerico10, numerico10, Numero)   \
  X(Numerico11, numerico11, Numero)   \
  X(Numerico12, numerico12, Numero)   \
  X(Numerico13, numerico13, Numero)   \
  X(Numerico14, numerico14, Numero)   \
  X(Numerico15, numerico15, Numero)   \
  X(Numerico16, numerico16, Numero)   \
  X(Numerico17, numerico17, Numero)   \
  X(Numerico18, numerico18, Numero)   \
  X(Numerico19, numerico19, Numero)   \
  X(Numerico20, numerico20, Numero)   \
  X(Numerico21, numerico21, Numero)   \
  X(Numerico22, numerico22, Numero)   \
  X(Fecha1, fecha1, Fecha)            \
  X(Fecha2, fecha2, Fecha)            \
  X(Fecha3, fecha3, Fecha)            \
  X(Fecha4, fecha4, Fecha)            \
  X(Entero3, entero3, Entero)         \
  X(Doble1, doble1, Numero)           \
  X(Doble2, doble2, Numero)

enum class Col : int {
#define CRONICAS_ENUMERADO(e, n, t) e,
  CRONICAS_COLUMNAS_INFORMES(CRONICAS_ENUMERADO)
#undef CRONICAS_ENUMERADO
};

struct ColumnaInformes {
  std::string_view nombre;  // en minúsculas, como en la tabla
  TipoColumna tipo;
};

inline constexpr std::array kColumnasInformes = {
#define CRONICAS_DESCRIPCION(e, n, t) ColumnaInformes{#n, TipoColumna::t},
    CRONICAS_COLUMNAS_INFORMES(CRONICAS_DESCRIPCION)
#undef CRONICAS_DESCRIPCION
};

inline constexpr int kNumColumnas = static_cast<int>(kColumnasInformes.size());
static_assert(kNumColumnas == 64, "Informes tiene 64 columnas");

constexpr std::size_t Indice(Col c) {
  return static_cast<std::size_t>(c);
}
constexpr TipoColumna TipoDe(Col c) {
  return kColumnasInformes[Indice(c)].tipo;
}
inline QString NombreColumna(Col c) {
  const std::string_view n = kColumnasInformes[Indice(c)].nombre;
  return QString::fromLatin1(n.data(), static_cast<qsizetype>(n.size()));
}
// La columna de ese nombre, sin distinguir mayúsculas; nada si no existe.
std::optional<Col> ColumnaPorNombre(const QString& nombre);

}  // namespace informes
