#pragma once
// Orden de los informes que se ordenan por un nombre. Los listados de la
// tienda han salido siempre sin distinguir mayúsculas, con la intercalación
// española (la ñ tras la n, las tildes junto a su letra) y con los Null
// delante. SQLite y PostgreSQL no ordenan así, ni siquiera igual entre ellos,
// de modo que esas filas se leen sin ORDER BY sobre texto y se ordenan aquí.

#include <QCollator>
#include <QCollatorSortKey>
#include <QVariant>

#include <cstddef>
#include <optional>
#include <vector>

namespace datos {

// Un valor listo para compararse muchas veces: la clave de intercalación de
// un texto se calcula una sola vez por fila.
class ClaveOrden {
 public:
  // Negativo, cero o positivo. Null va antes que cualquier número y los
  // números antes que cualquier texto, para que el orden sea total aunque una
  // columna traiga tipos mezclados.
  int comparar(const ClaveOrden& otra) const;
  bool nula() const { return clase_ == Clase::Nulo; }
  bool esNumero() const { return clase_ == Clase::Numero; }
  double numero() const { return numero_; }

 private:
  friend class CriterioOrden;
  enum class Clase { Nulo, Numero, Texto };
  Clase clase_ = Clase::Nulo;
  double numero_ = 0;
  std::optional<QCollatorSortKey> texto_;
};

// Las claves de una fila, una por columna de ordenación, de la más a la
// menos importante.
using ClavesFila = std::vector<ClaveOrden>;

class CriterioOrden {
 public:
  CriterioOrden();
  ClaveOrden clave(const QVariant& valor) const;
  // Comparación directa, para cuando no compensa guardar las claves.
  int comparar(const QVariant& a, const QVariant& b) const;

 private:
  QCollator intercalacion_;
};

int CompararClaves(const ClavesFila& a, const ClavesFila& b);

// Posiciones de las filas en su orden; las que empatan conservan el orden en
// que llegaron, que es el de la clave de la tabla.
std::vector<std::size_t> OrdenEstable(const std::vector<ClavesFila>& claves);

}  // namespace datos
