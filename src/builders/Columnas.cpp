#include "builders/Columnas.h"

namespace informes {

std::optional<Col> ColumnaPorNombre(const QString& nombre) {
  const QString buscado = nombre.trimmed().toLower();
  for (std::size_t i = 0; i < kColumnasInformes.size(); ++i)
    if (buscado ==
        QLatin1String(kColumnasInformes[i].nombre.data(), static_cast<qsizetype>(kColumnasInformes[i].nombre.size())))
      return static_cast<Col>(i);
  return std::nullopt;
}

}  // namespace informes
