#include "labels/Letreros.h"

#include "builders/Informes.h"

#include <algorithm>

namespace letreros {

const QString kMarcador = QStringLiteral("Click para modificar el texto");

const Diseno& DisenoCartel(int n) {
  static const std::array<Diseno, kDisenos> disenos = {{
      {QStringLiteral("cartel1.rpt"), {13, 25, 100, 100}, Alineacion::Centro, true},
      {QStringLiteral("cartel2.rpt"), {15, 30, 100, 100}, Alineacion::Derecha, false},
      {QStringLiteral("cartel3.rpt"), {15, 20, 25, 25}, Alineacion::Centro, true},
  }};
  return disenos[static_cast<std::size_t>(std::clamp(n, 0, kDisenos - 1))];
}

QString RotuloMaximo(int maximo) {
  return QStringLiteral("Máximo caracteres: %1").arg(maximo);
}

Lineas Cortar(const Lineas& lineas, const Diseno& diseno) {
  Lineas r;
  for (std::size_t i = 0; i < r.size(); ++i) r[i] = lineas[i].left(diseno.maximos[i]);
  return r;
}

void EscribirLetrero(const datos::Conexion& informes, const Lineas& lineas, const Diseno& diseno) {
  using informes::Col;
  const Lineas cortadas = Cortar(lineas, diseno);
  informes::EscritorInformes e(informes);
  e.vaciar();
  e.nuevaFila();
  const std::array<Col, 4> columnas = {Col::Texto1, Col::Texto2, Col::Texto3, Col::Texto4};
  // Una línea vacía va como texto vacío, que la plantilla deja fuera.
  for (std::size_t i = 0; i < columnas.size(); ++i)
    e.poner(columnas[i], cortadas[i].isNull() ? QStringLiteral("") : cortadas[i]);
  e.guardarFila();
  e.terminar();
}

}  // namespace letreros
