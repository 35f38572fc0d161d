#pragma once
// Lo que el aspecto de los formularios necesita de la base y de las cuentas:
// paletas de la tabla colores, colores escritos al modo de Windows, la
// paleta elegida por el puesto, las traducciones de los textos y los
// factores con que se escala un formulario a la pantalla. Sin ventanas: el
// recorrido de los controles está en AspectoFormulario.

#include "platform/datos/Datos.h"

#include <QColor>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

namespace aspecto {

// La suite guarda los colores como enteros de Windows, 0xBBGGRR. Sólo
// cuentan los 24 bits bajos: los colores de sistema (bit alto puesto) no
// tienen equivalente aquí.
QColor ColorWindows(qint64 valor);

// "&HBC1C1" (hexadecimal al modo de Basic, con o sin "&" final) o decimal.
// Nada si el texto no es un número.
std::optional<qint64> LeerValorColor(const QString& texto);

// Las 14 ranuras de una fila de colores. Una ranura sin valor (campo vacío o
// que no es número) no se aplica.
struct Paleta {
  std::array<std::optional<QColor>, 14> ranuras;
};

// Parte por "|" el texto de ObtenerColor.
Paleta LeerPaleta(const QString& texto);

// Las columnas 1 a 14 de la fila `color` de colores, cada una seguida de "|".
// Sin esa fila, la primera paleta; sin paletas, texto vacío.
QString ObtenerColor(const datos::Conexion& base, qint16 color);

// Apunta en opciones_terminal la paleta con que se ha coloreado el puesto,
// sólo si cambia. Un puesto sin paleta (color < 0) no apunta nada.
void GuardarColorTerminal(const datos::Conexion& base, const QString& idTerminal, qint16 color);

// El texto que toca a un control cuyo texto es `texto` (sin distinguir
// mayúsculas): la traducción, o el texto tal como lo escribe la tabla si la
// traducción falta. Nada si la tabla no conoce el texto.
std::optional<QString> BuscarTraduccion(const datos::Conexion& base, const QString& texto);

struct FactoresEscala {
  double fx = 1.0;
  double fy = 1.0;
  double fm = 1.0;  // media de los dos: la de las letras
};

// Respecto de la pantalla para la que se dibujaron los formularios.
FactoresEscala CalcularFactores(QSize pixeles);

}  // namespace aspecto
