#pragma once
// Permisos por empleado. La suite guarda en la base de ventas el catálogo de
// botones que se pueden prohibir (atributos) y, por empleado, los que tiene
// prohibidos (empleadosatributos). Los formularios dan de alta sus botones en
// el catálogo y, al abrirse, deshabilitan los del empleado del puesto.
//
// Los dos recorridos encuentran los controles por objectName sin distinguir
// mayúsculas, como los guarda la suite, y no entran en los hijos de un
// control con la propiedad cronicasAspectoPropio (el panel de empleados
// construye sus teselas él solo y no son botones de la suite).
//
// Los errores de base de datos salen como datos::ErrorDatos: decide el que
// llama.

#include "platform/datos/Datos.h"

#include <QString>

class QWidget;

class Permisos {
 public:
  // Deshabilita los controles que `empleado` tiene prohibidos en `formu` y
  // oculta el control auxiliar de cada uno. Siguen visibles: el empleado ve
  // que el botón existe pero no lo puede usar.
  static void AplicarRestricciones(const datos::Conexion& base, QWidget& formu, qint32 empleado);
  // Da de alta en el catálogo los botones de `formu` que aún no están, con el
  // código siguiente al mayor.
  static void GenerarAtributos(const datos::Conexion& base, QWidget& formu);
  // Botones que nunca se pueden prohibir: salir, ayuda y moverse entre fichas.
  static bool EsExento(const QString& boton);
};
