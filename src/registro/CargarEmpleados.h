#pragma once
// Los empleados de alta como teselas del panel de selección de empleado.

#include "platform/datos/Datos.h"

#include <QString>

#include <vector>

struct Tesela {
  QString clave;   // lo que avisa el panel al pulsarla: el código del empleado
  QString titulo;  // lo que se lee en ella
};

// Una tesela por empleado que no está de baja, por código: clave el código y
// título el nombre con la inicial del primer apellido ("Ana L"), que en un
// bar basta para distinguir a dos camareros con el mismo nombre.
std::vector<Tesela> CargarEmpleados(const datos::Conexion& ventas);
