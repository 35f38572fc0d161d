#include "registro/EjecutarInforme.h"

#include "startup/EjerciciosCerrados.h"

#include <optional>

namespace registro {

namespace {
Ejecucion Fallo(informes::Contexto& ctx, const sistema::Error& error) {
  ctx.seleccion.SinDatos = true;
  ctx.notificador.mensaje(error.mensaje(), QStringLiteral("Cronicas"), sistema::Icono::Critico);
  return {Resultado::Error, error.mensaje()};
}
}  // namespace

Ejecucion EjecutarConstructor(const BotonInforme& boton, informes::Contexto& ctx) {
  try {
    // Todo el informe lee un mismo momento de la base de ventas, sin parar a
    // las cajas; sus reparaciones se escriben al acabar, en corto.
    datos::FotoLectura foto(*ctx.ajustes.ConexionVentas);
    boton.constructor(ctx);
    foto.terminar();
  } catch (const sistema::Error& error) {
    return Fallo(ctx, error);
  }
  return {ctx.seleccion.SinDatos ? Resultado::SinDatos : Resultado::ConDatos, {}};
}

Ejecucion EjecutarBoton(const BotonInforme& boton, informes::Contexto& ctx) {
  if (RechazadoEnEstePuesto(boton, ctx)) return {Resultado::Rechazado, {}};
  if (boton.dialogo == Dialogo::Ninguno) return EjecutarConstructor(boton, ctx);
  // El guardián devuelve la base en vivo al salir de aquí, haya ido como haya
  // ido el constructor.
  std::optional<ejercicios::EjercicioElegido> ejercicio;
  try {
    ejercicio.emplace(ctx.ajustes, ctx.seleccion.FechaDesde, ctx.seleccion.FechaHasta, ctx.notificador);
  } catch (const sistema::Error& error) {
    return Fallo(ctx, error);
  }
  return EjecutarConstructor(boton, ctx);
}

}  // namespace registro
