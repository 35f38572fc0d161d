#include "platform/impresoras/Impresoras.h"

#include <QPrinterInfo>

#include <algorithm>

namespace impresoras {

std::vector<Impresora> ImpresorasSistema() {
  std::vector<Impresora> lista;
  const QList<QPrinterInfo> sistema = QPrinterInfo::availablePrinters();
  lista.reserve(static_cast<std::size_t>(sistema.size()));
  for (const QPrinterInfo& info : sistema) lista.push_back({info.printerName(), info.makeAndModel(), info.location()});
  return lista;
}

std::optional<Impresora> ElegirImpresora(const std::vector<Impresora>& lista, const QString& nombre) {
  if (nombre.isEmpty()) return std::nullopt;
  // Dos colas que sólo difieren en mayúsculas son dos impresoras distintas
  // para el sistema: "Caja1" no puede acabar imprimiendo en "CAJA1".
  const auto it = std::find_if(lista.begin(), lista.end(),
                               [&](const Impresora& i) { return i.nombre.compare(nombre, Qt::CaseSensitive) == 0; });
  if (it == lista.end()) return std::nullopt;
  return *it;
}

}  // namespace impresoras
