#pragma once
// El informe en una hoja de cálculo (.xlsx): las líneas de cabecera, una fila
// por línea de detalle con sus números como números, y los subtotales y
// totales de los grupos como filas. Las columnas de la hoja son las del
// detalle de la plantilla, en el orden en que están en la página.

#include "platform/motor/Informe.h"

#include <QStringList>

namespace motor {

// Lanza ErrorSalida si no se puede escribir; el fichero anterior, si lo hay,
// sólo se sustituye cuando el nuevo está entero. Devuelve lo que hubo que
// cambiar para que cupiera en la hoja (textos cortados en el máximo de una
// celda, caracteres que no admite), una vez cada cosa, para avisar de ello.
QStringList GuardarXlsx(const Informe& informe, const QString& ruta);

}  // namespace motor
