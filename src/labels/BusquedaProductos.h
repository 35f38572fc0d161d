#pragma once
// La búsqueda de productos del diálogo Buscar, sin ventanas: los filtros por
// el comienzo del nombre, del proveedor y de la familia, las entradas de la
// lista de resultados, la edición que hace el teclado en pantalla y el
// vaivén del botón de ayuda.

#include "platform/datos/Datos.h"

#include <QString>

#include <array>
#include <vector>

namespace etiquetas {

// Lo escrito en las cajas del marco de productos. Un texto vacío no filtra;
// un nombre que es exactamente "*" tampoco.
struct FiltroProductos {
  QString nombre;
  QString proveedor;
  QString familia;
  bool sinFamilia = false;  // sólo los productos con la familia "-1"
};

struct ProductoEncontrado {
  QString codigo;
  QString nombre;
};

// Los productos no borrados y con código cuyo nombre, proveedor y familia
// empiezan por lo escrito (sin distinguir mayúsculas), sin los que son padre
// de un producto elaborado, ordenados por nombre. Los textos van enlazados:
// una comilla, un "%" o un "_" se buscan tal cual. Lanza datos::ErrorDatos
// si la base falla.
std::vector<ProductoEncontrado> BuscarProductos(const datos::Conexion& ventas, const FiltroProductos& filtro);

// El patrón LIKE (con '\' de escape) de los textos que empiezan por `texto`.
QString PatronComienzo(const QString& texto);

// La entrada de la lista: el nombre, 260 blancos y el código, que así queda
// fuera de la vista.
QString EntradaResultado(const ProductoEncontrado& producto);
// El código de una entrada: sus 10 últimos caracteres sin blancos alrededor.
// Un código más largo vuelve cortado por la izquierda.
QString CodigoDeEntrada(const QString& entrada);

// --- Teclado en pantalla -------------------------------------------------------

// Cada tecla se identifica por el código del carácter que escribe.
inline constexpr int kTeclaBorrar = 8;
inline constexpr int kTeclaOk = 13;
inline constexpr int kTeclaEspacio = 32;
inline constexpr int kTeclaEnie = 209;

// Las 41 teclas, fila a fila como se ven.
inline constexpr std::array<int, 41> kTeclas = {
    '1', '2', '3', '4', '5', '6', '7', '8',          '9', '0',        ',',      kTeclaBorrar,  //
    'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I',          'O', 'P',                                 //
    'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K',          'L', kTeclaEnie, kTeclaOk,                //
    'Z', 'X', 'C', 'V', 'B', 'N', 'M', kTeclaEspacio};
// Dónde empieza cada fila dentro de kTeclas.
inline constexpr std::array<int, 5> kInicioFilas = {0, 12, 22, 33, 41};

// El rótulo de la tecla: "BORRAR", "OK", "ESPACIO" o el carácter.
QString RotuloTecla(int tecla);

// El texto de la caja tras pulsar `tecla`. BORRAR quita el último carácter,
// OK no hace nada y cualquier otra sustituye el texto si estaba todo
// seleccionado y después añade su carácter. Una caja bloqueada no cambia.
QString PulsarTecla(const QString& texto, bool todoSeleccionado, bool bloqueada, int tecla);

// --- El vaivén del botón de ayuda ----------------------------------------------

// Cada tic mueve el botón 30 twips (por el factor horizontal de la
// pantalla): a la derecha mientras su borde izquierdo no pase de 1770, a la
// izquierda mientras no baje de 1425. Cada cambio de sentido es un vaivén;
// tras el cuarto la serie acaba y el contador vuelve a cero. El botón sale
// del borde izquierdo. La posición se lleva con decimales: redondeada a
// píxeles en cada tic, un paso de 1,56 píxeles sería de 2.
class VaivenAyuda {
 public:
  explicit VaivenAyuda(double fx = 1.0);

  // Un tic de la serie; devuelve el borde izquierdo en píxeles. Tras el
  // cuarto vaivén enSerie() pasa a falso y los tics no lo mueven.
  int tic();
  int izquierda() const;
  // Empieza otra serie (la que lanza el temporizador de cuatro segundos).
  void empezarSerie();
  bool enSerie() const { return enSerie_; }
  int vaivenes() const { return vaivenes_; }
  bool haciaLaDerecha() const { return derecha_; }

 private:
  double fx_;
  double izquierda_;  // en twips
  bool derecha_ = true;
  bool enSerie_ = true;
  int vaivenes_ = 0;
};

}  // namespace etiquetas
