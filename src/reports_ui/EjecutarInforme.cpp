#include "reports_ui/EjecutarInforme.h"

namespace registro {

Ejecucion EjecutarConstructor(const BotonInforme& boton, informes::Contexto& ctx) {
  Ejecucion e;
  try {
    boton.constructor(ctx);
  } catch (const datos::ErrorDatos& error) {
    ctx.seleccion.SinDatos = true;
    e.resultado = Resultado::Error;
    e.error = error.mensaje();
    ctx.notificador.mensaje(error.mensaje(), QStringLiteral("Cronicas"), sistema::Icono::Critico);
    return e;
  }
  e.resultado = ctx.seleccion.SinDatos ? Resultado::SinDatos : Resultado::ConDatos;
  return e;
}

}  // namespace registro
