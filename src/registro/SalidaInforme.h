#pragma once
// La salida de un informe sin ventana: la plantilla del botón sobre las filas
// de Informes, escrita en PDF y en hoja de cálculo. Con Informes vacía avisa
// como lo hace la vista previa y no toca el motor.

#include "platform/datos/Datos.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "registro/EnviarInforme.h"
#include "startup/AjustesTerminal.h"

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
  int caracteresTicket = 0;   // caracteres por línea de la impresora de los rollos; 0: los de la plantilla
};

// Falso si no había filas (y se avisó). Lanza motor::ErrorPlantilla,
// motor::ErrorSalida o datos::ErrorDatos si algo falla.
bool GenerarSalidas(const datos::Conexion& informes, const QString& plantilla, const OpcionesSalida& opciones,
                    const Destinos& destinos, sistema::Notificador& notificador, const sistema::Reloj& reloj);

// Nombre del fichero de exportación de los resúmenes que se envían por correo.
extern const QString kFicheroExportacion;

// Lo que pasó al exportar y enviar.
struct Envio {
  bool sinDatos = false;   // Informes vacía: se avisó y no se hizo nada
  bool exportado = false;  // la hoja de cálculo quedó escrita
  bool enLinea = false;
  bool enviado = false;
  QString error;  // por qué no se exportó o no se envió, si se sabe
};

// La parte de exportar y enviar de los resúmenes diarios: la hoja de cálculo
// del informe en `ficheroExportacion`, borrado antes para que una exportación
// fallida no mande el de otro día, y enviada por correo si hay conexión y el
// fichero existe. Sus fallos no se avisan: el informe se enseña igual.
Envio ExportarYEnviar(const datos::Conexion& informes, const QString& plantilla, const OpcionesSalida& opciones,
                      const QString& ficheroExportacion, const AjustesTerminal& at, const ConfiguracionCorreo& correo,
                      sistema::Notificador& notificador, const sistema::Reloj& reloj);

}  // namespace registro
