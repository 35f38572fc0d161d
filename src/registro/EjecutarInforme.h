#pragma once
// Ejecuta el constructor de un botón. Un fallo de base de datos fuera de los
// pasos tolerantes se comunica con el mensaje de la base, título "Cronicas",
// deja SinDatos a verdadero y abandona el informe sin tocar Informes.

#include "registro/RegistroInformes.h"

namespace registro {

enum class Resultado { ConDatos, SinDatos, Error, Rechazado };

struct Ejecucion {
  Resultado resultado = Resultado::SinDatos;
  QString error;  // mensaje del fallo, si lo hubo
};

Ejecucion EjecutarConstructor(const BotonInforme& boton, informes::Contexto& ctx);

// La vuelta completa de un botón una vez elegidos empleado y fechas: el
// rechazo de los informes largos en un puesto remoto, el año cerrado que
// corresponde a las fechas, el constructor y la vuelta a la base en vivo.
Ejecucion EjecutarBoton(const BotonInforme& boton, informes::Contexto& ctx);

}  // namespace registro
