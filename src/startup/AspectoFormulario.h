#pragma once
// Colores, traducción y escala aplicados a los controles de un formulario.
// Los controles se encuentran recorriendo los hijos del formulario; no se
// entra en los hijos de un control con la propiedad cronicasAspectoPropio a
// verdadero (se pinta y se escala solo) ni en las piezas internas de los
// controles compuestos (el cuadro de texto de una lista desplegable, las
// cabeceras de una rejilla), que no son controles del formulario.

#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/datos/Datos.h"
#include "startup/Aspecto.h"

#include <QColor>
#include <QRect>
#include <QString>

class QWidget;

namespace aspecto {

// Fondo y texto de un control tal como los entiende la suite: en un botón de
// orden son los del botón, en un cuadro de texto o lista desplegable los de
// la zona donde se escribe, y en lo demás los de la ventana. El fondo puesto
// a un marco, formulario o casilla rellena su rectángulo.
QColor ColorFondo(const QWidget& control);
void PonerColorFondo(QWidget& control, const QColor& color);
QColor ColorTexto(const QWidget& control);
void PonerColorTexto(QWidget& control, const QColor& color);

// Colorea el formulario con la paleta `color` de la tabla colores (o la
// primera si no existe) y apunta la elección del puesto `idTerminal`. Lanza
// datos::ErrorDatos si la base falla.
void Colorear(QWidget& formu, qint16 color, const datos::Conexion& base, const QString& idTerminal);

// Colores de la caja guardados en el almacén de ajustes (claves colorcaja y
// color). Un valor que no se puede leer se salta.
void ColorearDesdeAlmacen(QWidget& formu, const ajustes::AlmacenAjustes& almacen);

// Cambia los textos de marcos, etiquetas y botones de orden por los de la
// tabla traducciones. Lanza datos::ErrorDatos si la base falla.
void TraducirFormulario(QWidget& formu, const datos::Conexion& base);

// Da al formulario el tamaño de `pantalla` y reduce las letras si la
// pantalla es menor que aquella para la que se dibujó. Se llama una vez por
// formulario: una segunda vez volvería a reducir las letras ya reducidas.
FactoresEscala EscalarFormulario(QWidget& formu, const QRect& pantalla);
// Con el área disponible de la pantalla del formulario, o de la principal.
FactoresEscala EscalarFormulario(QWidget& formu);

}  // namespace aspecto
