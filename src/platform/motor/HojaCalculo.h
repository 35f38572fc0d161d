#pragma once
// El informe en una hoja de cálculo (.xlsx): las líneas de cabecera, una fila
// por línea de detalle con sus números como números, y los subtotales y
// totales de los grupos como filas. Las columnas de la hoja son las del
// detalle de la plantilla, en el orden en que están en la página.

#include "platform/motor/Informe.h"

namespace motor {

// Lanza ErrorSalida si no se puede escribir; el fichero anterior, si lo hay,
// sólo se sustituye cuando el nuevo está entero.
void GuardarXlsx(const Informe& informe, const QString& ruta);

}  // namespace motor
