#pragma once
// Etiquetas de precio: los artículos que se pueden etiquetar (productos y
// menús), el código que lleva cada etiqueta, la cola de lo que se va a
// imprimir y las filas de Informes de una hoja de 24 etiquetas.

#include "platform/datos/Datos.h"

#include <QString>
#include <QVariant>

#include <vector>

namespace etiquetas {

// Etiquetas de una hoja (APLI 01293: 3 columnas por 8 filas).
constexpr int kEtiquetasPorHoja = 24;

// Un producto o un menú de la lista.
struct Articulo {
  QString nombre;          // vacío si la base no lo tiene
  QString codigoEtiqueta;  // lo que va en el código de barras, sin rellenar
  QVariant precio;         // Null si la base no lo tiene
  QString codigo;          // el código del producto o del menú
  bool menu = false;
};

// El código de la etiqueta de un producto: su código de barras, o su código
// si no tiene (Null, en blanco o 0).
QString CodigoEtiqueta(const QVariant& codigoBarras, const QVariant& codigo);

// Lo que se escribe en texto1: el código rellenado con ceros a la izquierda
// hasta 12 caracteres, entre los asteriscos de inicio y fin del Code 39. Uno
// de 12 o más va tal cual.
QString TextoBarras(const QString& codigoEtiqueta);

// Productos (también los borrados, que pueden seguir en la estantería) y
// después menús, cada grupo por nombre.
std::vector<Articulo> LeerArticulos(const datos::Conexion& ventas);

// Productos que no están borrados.
int ContarProductos(const datos::Conexion& ventas);

// El número que se lee al principio de un texto, como lo lee el programa en
// las cajas de cantidad: "3" es 3, "2.5x" es 2,5 y "abc" es 0.
double ValorNumerico(const QString& texto);

// Una entrada de la cola: un artículo y cuántas etiquetas suyas.
struct Pedido {
  QString nombre;
  double copias = 0;  // una cantidad que no es un número cuenta 0
  QString codigoEtiqueta;
  QVariant precio;
};

// La posición de la hoja desde la que empezar, tal como la escribió el
// usuario: más de 24 vuelve a la primera.
QString PosicionValida(const QString& inicio);

// Cuántas posiciones se dejan en blanco antes de la primera etiqueta y
// cuántas etiquetas saca un pedido.
int PosicionesSaltadas(const QString& inicio);
int CopiasDe(const Pedido& pedido);

// Vacía Informes y escribe una fila por posición de la hoja: las saltadas en
// blanco y después las copias de cada pedido en orden. Devuelve las filas.
int EscribirHoja(const datos::Conexion& informes, const QString& inicio, const std::vector<Pedido>& cola);

}  // namespace etiquetas
