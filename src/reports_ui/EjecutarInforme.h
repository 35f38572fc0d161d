#pragma once
// Ejecuta el constructor de un botón. Un fallo de base de datos fuera de los
// pasos tolerantes se comunica con el mensaje de la base, título "Cronicas",
// deja SinDatos a verdadero y abandona el informe sin tocar Informes.

#include "reports_ui/RegistroInformes.h"

namespace registro {

enum class Resultado { ConDatos, SinDatos, Error };

struct Ejecucion {
  Resultado resultado = Resultado::SinDatos;
  QString error;  // mensaje del fallo, si lo hubo
};

Ejecucion EjecutarConstructor(const BotonInforme& boton, informes::Contexto& ctx);

}  // namespace registro
