#pragma once
// Las órdenes sin ventana (`cronicas demo`, `cronicas informe`...). Cada orden
// es una función que declara sus opciones y las usa, y una línea de la tabla
// de órdenes; la ayuda sale de esas mismas declaraciones.

#include "charts/SeriesGraficos.h"

#include <QColor>
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QStringList>

#include <functional>
#include <optional>

namespace sistema {
class Reloj;
}

namespace app {

// Códigos de salida de la línea de órdenes.
enum CodigoSalida : int {
  kSalidaBien = 0,
  kSalidaUso = 1,         // argumentos mal escritos
  kSalidaError = 2,       // ajustes o base de datos
  kSalidaSinDatos = 3,    // el informe no encontró datos
  kSalidaRechazado = 4,   // el informe no se hace desde este puesto
  kSalidaSinPermiso = 5,  // el empleado del puesto no puede usar ese botón
  kSalidaCorreo = 6,      // el informe salió, pero el correo no se pudo enviar
};

// Quien pinta un gráfico a imagen: la serie, la del año anterior si se
// pidió, el tipo de gráfico, el color y el tamaño. Lo pone el programa, que
// tiene la parte de ventanas; sin él, «grafico --png» no se puede hacer.
using PintorGrafico = std::function<QImage(const graficos::Serie& serie, const graficos::Serie* anterior, int tipo,
                                           const std::optional<QColor>& color, QSize tamano)>;

// Adónde escribe una orden y de qué reloj salen «hoy» y «ayer». El programa
// usa la consola y el reloj del sistema; las pruebas, memoria y un reloj fijo.
struct Consola {
  QIODevice& salida;
  QIODevice& errores;
  const sistema::Reloj& reloj;
  // Lo escrito en `salida` no llegó entero (un disco lleno, una tubería
  // cerrada): la orden no puede terminar bien.
  bool salidaFallida = false;
  PintorGrafico pintarGrafico = {};
};

// Sin orden, el programa abre la ventana: devuelve el fichero de ajustes con
// que abrirla. Con una orden, con la ayuda o la versión, o con un argumento
// que no se entiende, nada: eso lo atiende EjecutarLineaComandos.
std::optional<QString> FicheroAjustesDeLaVentana(const QStringList& argumentos);

// `argumentos` sin el nombre del programa. Devuelve el código de salida.
int EjecutarLineaComandos(const QStringList& argumentos, Consola& consola);

}  // namespace app
