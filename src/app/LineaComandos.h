#pragma once
// Las órdenes sin ventana: `cronicas demo` e `cronicas informe`.

#include <QStringList>

#include <optional>

namespace app {

// Códigos de salida de la línea de órdenes.
enum CodigoSalida : int {
  kSalidaBien = 0,
  kSalidaUso = 1,         // argumentos mal escritos
  kSalidaError = 2,       // ajustes o base de datos
  kSalidaSinDatos = 3,    // el informe no encontró datos
  kSalidaRechazado = 4,   // el informe no se hace desde este puesto
  kSalidaSinPermiso = 5,  // el empleado del puesto no puede usar ese botón
};

// Sin orden, el programa abre la ventana: devuelve el fichero de ajustes con
// que abrirla. Con una orden, o con la ayuda o la versión, nada.
std::optional<QString> FicheroAjustesDeLaVentana(const QStringList& argumentos);

// `argumentos` sin el nombre del programa. Devuelve el código de salida.
int EjecutarLineaComandos(const QStringList& argumentos);

}  // namespace app
