#pragma once
// Crea las tablas de la base de ventas y de la de informes con el esquema
// que lleva el programa dentro, en el dialecto del motor de la conexión.

#include "platform/datos/Datos.h"

namespace datos {

QString TextoEsquema(Motor motor, const QString& base);  // base: "hosteleria" o "informes"
void CrearEsquemaVentas(const Conexion& conexion);
void CrearEsquemaInformes(const Conexion& conexion);

}  // namespace datos
