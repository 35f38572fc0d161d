#pragma once
// Escribe las filas de Informes tal como las dejó el constructor, en CSV.

#include "platform/datos/Datos.h"

#include <QIODevice>
#include <QString>

namespace informes {

// Cabecera con las 64 columnas en el orden de la tabla; una línea por fila
// en el orden de escritura. Null es un campo vacío y el texto vacío "";
// números en el formato C más corto que se vuelve a leer igual; fechas
// AAAA-MM-DD y fechas con hora AAAA-MM-DD HH:MM:SS.
void EscribirCsv(const datos::Conexion& informes, QIODevice& destino);
// Lo mismo a un fichero; lanza datos::ErrorDatos si no se puede escribir.
void EscribirCsv(const datos::Conexion& informes, const QString& fichero);

QString NumeroCsv(double v);
QString CampoCsv(const QString& texto);

}  // namespace informes
