#pragma once
// La salida de un informe sin ventana: la plantilla del botón sobre las filas
// de Informes, escrita en PDF y en hoja de cálculo. Con Informes vacía avisa
// como lo hace la vista previa y no toca el motor.

#include "platform/datos/Datos.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"

#include <QString>

namespace registro {

struct Destinos {
  QString pdf;
  QString xlsx;
};

// Dónde están las plantillas y cómo se escriben los números y las fechas.
struct OpcionesSalida {
  QString carpetaPlantillas;  // vacía: las que lleva el programa
  QString regional;           // "es_ES"...; vacía: la del sistema
};

// Falso si no había filas (y se avisó). Lanza motor::ErrorPlantilla,
// motor::ErrorSalida o datos::ErrorDatos si algo falla.
bool GenerarSalidas(const datos::Conexion& informes, const QString& plantilla, const OpcionesSalida& opciones,
                    const Destinos& destinos, sistema::Notificador& notificador, const sistema::Reloj& reloj);

}  // namespace registro
