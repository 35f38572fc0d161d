#pragma once
// Las filas de un informe guardadas por columnas: los números tal cual y los
// demás valores una sola vez por columna, en un diccionario. Un informe de un
// año repite en cada fila el nombre del negocio, el día o la forma de pago;
// así ocupa unas decenas de MB en vez de cientos, y ordenar o agrupar
// compara cada texto distinto una vez y no en cada fila.

#include "platform/motor/Expresion.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace motor {

class TablaFilas {
 public:
  enum class Tipo : std::uint8_t { Nulo, Entero, Doble, Distinto };

  explicit TablaFilas(int columnas = 0);

  int numColumnas() const { return static_cast<int>(columnas_.size()); }
  std::size_t numFilas() const { return filas_; }

  // Una fila nueva, toda Null; después se ponen sus valores.
  void nuevaFila();
  void ponerEntero(int columna, qint64 valor);
  void ponerDoble(int columna, double valor);
  // Un texto tal como lo guarda la base, en UTF-8: se convierte sólo la
  // primera vez que aparece en la columna.
  void ponerTextoUtf8(int columna, QByteArrayView texto);
  // Cualquier otro valor (el de una fila ya leída, una fecha de PostgreSQL).
  void poner(int columna, const QVariant& valor);
  void anadir(const Fila& fila);
  // Cambia el valor de una fila ya puesta por un doble (las fórmulas).
  void cambiarDoble(std::size_t fila, int columna, double valor);
  // Suelta lo que sólo sirve para cargar (los índices de los textos).
  void terminarCarga();

  Tipo tipo(std::size_t fila, int columna) const { return columna_(columna).tipos[fila]; }
  // El valor con el tipo con que llegó: entero largo, doble o el del diccionario.
  QVariant valor(std::size_t fila, int columna) const;
  // Como QVariant::toDouble; Null es 0.
  double numero(std::size_t fila, int columna) const;
  // Null, o un texto en blanco.
  bool vacio(std::size_t fila, int columna) const;
  // De un valor del diccionario: su posición y los valores distintos.
  std::uint32_t indice(std::size_t fila, int columna) const { return columna_(columna).datos[fila].indice; }
  const std::vector<QVariant>& distintos(int columna) const { return columna_(columna).distintos; }

  // Deja las filas en el orden dado (posiciones de las filas actuales).
  void reordenar(const std::vector<std::size_t>& orden);

 private:
  union Dato {
    qint64 entero;
    double doble;
    std::uint32_t indice;
  };
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  struct Columna {
    std::vector<Tipo> tipos;
    std::vector<Dato> datos;
    std::vector<QVariant> distintos;
    // De cada valor distinto, su número y si está en blanco; el número se
    // calcula la primera vez que se pide (convertir un texto cuesta, y la
    // mayoría de las columnas de texto no se suman nunca).
    mutable std::vector<double> numeros;
    mutable std::vector<bool> conNumero;
    std::vector<bool> vacios;
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> porUtf8;
    std::string ultimo;  // el último texto puesto, que la fila siguiente suele repetir
    std::uint32_t indiceUltimo = 0;
    bool hayUltimo = false;
    QHash<QString, std::uint32_t> porTexto;
  };
  const Columna& columna_(int c) const { return columnas_[static_cast<std::size_t>(c)]; }
  Columna& columna_(int c) { return columnas_[static_cast<std::size_t>(c)]; }
  std::uint32_t anadirDistinto(Columna& c, const QVariant& v);

  std::vector<Columna> columnas_;
  std::size_t filas_ = 0;
};

}  // namespace motor
