#pragma once
// Los botones que un empleado tiene prohibidos en un formulario, leídos de
// las tablas de permisos de la suite (atributos y empleadosatributos). La
// ventana los deshabilita; la línea de órdenes se niega a ejecutarlos.

#include "platform/datos/Datos.h"

#include <QString>

#include <vector>

namespace permisos {

struct Prohibicion {
  QString boton;
  QString auxiliar;  // control que acompaña al botón; vacío si no hay
};

// En el orden del catálogo. Sin empleado (-1) no hay ninguna.
std::vector<Prohibicion> LeerProhibiciones(const datos::Conexion& base, const QString& formulario, qint32 empleado);

// Nombre del formulario principal en el catálogo de permisos.
extern const QString kFormularioPrincipal;

// Si `empleado` tiene prohibido el botón del formulario principal. Los
// nombres no distinguen mayúsculas, como los guarda la suite.
bool BotonProhibido(const datos::Conexion& base, qint32 empleado, const QString& boton);

// "Lucía García" para los mensajes; vacío si el empleado no existe.
QString NombreEmpleado(const datos::Conexion& base, qint32 empleado);

}  // namespace permisos
