#pragma once
// El motor de informes visto desde fuera: saber si Informes tiene filas,
// cargar la plantilla de un informe contra las columnas reales de la tabla,
// leer las filas y sacar PDF u hoja de cálculo.

#include "platform/datos/Datos.h"
#include "platform/motor/Documento.h"
#include "platform/motor/HojaCalculo.h"
#include "platform/motor/Informe.h"
#include "platform/motor/Pintor.h"
#include "platform/motor/Plantilla.h"

#include <memory>

namespace motor {

// Verdadero si la tabla Informes tiene al menos una fila.
bool HayDatos(const datos::Conexion& informes);

// Nombres de las columnas de la tabla Informes tal como están en la base.
QStringList ColumnasDeInformes(const datos::Conexion& informes);

// Las filas de Informes con las columnas que usa la plantilla, en el orden
// en que el constructor las escribió.
std::vector<Fila> LeerFilas(const datos::Conexion& informes, const Plantilla& plantilla);
// Lo mismo guardado por columnas, como lo usa el informe.
TablaFilas LeerTabla(const datos::Conexion& informes, const Plantilla& plantilla);

// Todo junto: plantilla por nombre ("productos.rpt"), filas e informe listo.
class InformePreparado {
 public:
  InformePreparado(const datos::Conexion& informes, const QString& nombrePlantilla, const QString& carpetaPlantillas,
                   Entorno entorno);
  const Plantilla& plantilla() const { return *plantilla_; }
  const Informe& informe() const { return *informe_; }

 private:
  std::unique_ptr<Plantilla> plantilla_;
  std::unique_ptr<Informe> informe_;
};

}  // namespace motor
