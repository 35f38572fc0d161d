#pragma once
// Las impresoras que el sistema ofrece. El puesto guarda en sus ajustes el
// nombre de la impresora de informes y el de la de tickets; aquí se buscan
// entre las que hay de verdad.

#include <QString>

#include <optional>
#include <vector>

namespace impresoras {

struct Impresora {
  QString nombre;       // nombre del dispositivo, el que guardan los ajustes
  QString controlador;  // marca y modelo
  QString puerto;       // dónde está
};

// Las impresoras del sistema en el orden en que las da.
std::vector<Impresora> ImpresorasSistema();

// La primera que se llama exactamente `nombre`, mayúsculas incluidas. Un
// nombre vacío quiere decir la predeterminada: no elige ninguna.
std::optional<Impresora> ElegirImpresora(const std::vector<Impresora>& lista, const QString& nombre);

}  // namespace impresoras
