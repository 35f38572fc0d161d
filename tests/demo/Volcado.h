#pragma once
// Volcados y recuentos sobre una base de ventas para las pruebas de la
// tienda de demostración, iguales en SQLite y en PostgreSQL.

#include "platform/datos/Datos.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace prueba {

// Las tablas de la base de ventas según el esquema del programa.
QStringList TablasDeVentas();

// Huella SHA-256 del contenido de todas las tablas: filas normalizadas
// (fechas y horas como texto ISO, números como número) y ordenadas, para que
// ni el motor ni el orden físico cambien el resultado.
QByteArray HuellaDeVentas(const datos::Conexion& c);

// Primer valor de una consulta de un solo número.
qint64 Contar(const datos::Conexion& c, const QString& sql, const QVariantList& valores = {});

}  // namespace prueba
