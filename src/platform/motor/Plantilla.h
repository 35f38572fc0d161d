#pragma once
// Plantillas de informe: el papel, las bandas y los elementos que las llenan,
// leídos de un XML (templates/<Nombre>.xml). Las medidas van en milímetros;
// en los rollos de ticket, en caracteres (horizontal) y líneas (vertical).

#include "platform/sistema/Error.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <vector>

namespace motor {

// Una plantilla que no se puede usar. El texto nombra el fichero, la línea y
// el problema, listo para enseñarlo al usuario.
class ErrorPlantilla : public sistema::Error {
 public:
  explicit ErrorPlantilla(const QString& mensaje) : sistema::Error(mensaje) {}
  int numero() const override { return sistema::kErrorPlantilla; }
};

enum class TipoPapel { Hoja, Etiquetas, Rollo };

struct Papel {
  TipoPapel tipo = TipoPapel::Hoja;
  double ancho = 210;  // mm, con los márgenes también en un rollo
  double alto = 297;   // mm; un rollo crece con su contenido
  double margenArriba = 12, margenAbajo = 12, margenIzquierda = 12, margenDerecha = 12;
  int caracteres = 0;  // rollo: caracteres por línea
  // Hoja de etiquetas: rejilla que se llena de izquierda a derecha.
  int columnas = 1, filas = 1;
  double anchoEtiqueta = 0, altoEtiqueta = 0;
  double separacionH = 0, separacionV = 0;
};

struct Estilo {
  QString familia;
  double tamano = 0;  // puntos
  bool negrita = false;
  bool cursiva = false;
  QColor color;
};

enum class TipoElemento {
  Texto,  // texto fijo
  Campo,  // una columna de Informes o una fórmula
  Suma,   // agregados del grupo o del informe
  Cuenta,
  Promedio,
  Acumulado,  // suma de las filas hasta la actual
  Pagina,     // "Página N de M"
  Impresion,  // fecha u hora en que se imprime
  Linea,
  Caja,
  Barras,  // código de barras
};

enum class Formato { Texto, Numero, Entero, Fecha, Hora, FechaHora };
enum class Ambito { Grupo, Informe };
enum class Simbologia { Code39, Ean };

struct Elemento {
  TipoElemento tipo = TipoElemento::Texto;
  int linea = 0;  // línea del XML, para los mensajes
  double x = 0, y = 0, ancho = 0, alto = 0;
  QString texto;     // texto fijo, o patrón de página con %1 y %2
  int columna = -1;  // índice de columna de la plantilla (ver Plantilla::columnas)
  Formato formato = Formato::Texto;
  int decimales = 2;
  bool miles = true;
  bool ocultarCero = false;
  QString prefijo, sufijo;
  QString siVacio;  // lo que se escribe cuando el valor es Null o vacío
  Qt::Alignment alineacion = Qt::AlignLeft;
  bool ajustar = false;  // el texto se parte en líneas y la banda crece
  Estilo estilo;
  Ambito ambito = Ambito::Informe;
  // Un valor que se repite en varias filas (el impuesto de una factura
  // partida en dos cobros): sólo cuenta, y en un campo sólo se escribe, en la
  // primera fila del informe con cada valor de estas columnas. Vacío: en
  // todas las filas.
  std::vector<int> unaVezPor;
  double grosor = 0.2;  // mm, líneas y cajas
  QColor relleno;       // cajas
  Simbologia simbologia = Simbologia::Code39;
  bool textoLegible = true;  // barras: escribir el código debajo
  bool enHoja = true;        // también en la hoja de cálculo
};

enum class TipoBanda { CabeceraInforme, CabeceraPagina, CabeceraGrupo, Detalle, PieGrupo, PieInforme, PiePagina };

struct Banda {
  TipoBanda tipo = TipoBanda::Detalle;
  int linea = 0;
  double alto = 0;
  int suprimirSiVacio = -1;  // columna que, vacía, suprime la banda
  QColor fondo;
  std::vector<Elemento> elementos;
  bool presente() const { return alto > 0 || !elementos.empty(); }
};

struct Grupo {
  int columna = -1;
  enum class Orden { Ascendente, Descendente, Original } orden = Orden::Ascendente;
  // La columna es un día escrito "dd/mm/aaaa": se ordena por el calendario.
  bool porFecha = false;
  bool nuevaPagina = false;
  bool repetirCabecera = false;
  Banda cabecera;
  Banda pie;
};

struct CriterioFilas {
  int columna = -1;
  bool descendente = false;
};

// Una columna calculada: expresión aritmética sobre columnas de Informes.
struct Formula {
  QString nombre;
  QString expresion;
  int linea = 0;
};

class Expresion;

struct Plantilla {
  QString fichero;  // ruta o nombre con que se cargó
  QString titulo;
  Papel papel;
  Estilo estilo;  // letra por defecto
  // Columnas que la plantilla usa: primero las de Informes (nombre en
  // minúsculas), después las fórmulas.
  QStringList columnas;
  int columnasTabla = 0;  // cuántas de `columnas` se leen de Informes
  std::vector<Formula> formulas;
  std::vector<std::shared_ptr<const Expresion>> expresiones;  // una por fórmula
  std::vector<CriterioFilas> orden;
  Banda cabeceraInforme, cabeceraPagina, detalle, pieInforme, piePagina;
  std::vector<Grupo> grupos;  // de fuera adentro

  bool esRollo() const { return papel.tipo == TipoPapel::Rollo; }
  bool esEtiquetas() const { return papel.tipo == TipoPapel::Etiquetas; }
};

// Lee y valida una plantilla. `columnasInformes` son los nombres de las
// columnas de la tabla (sin importar mayúsculas); una columna que no está ahí
// y no es una fórmula se rechaza. `caracteresRollo` (si no es 0) son los
// caracteres por línea de la impresora de tickets en la que se pinta un
// rollo, en lugar de los de la plantilla.
Plantilla LeerPlantilla(const QByteArray& xml, const QString& fichero, const QStringList& columnasInformes,
                        int caracteresRollo = 0);
Plantilla CargarPlantilla(const QString& ruta, const QStringList& columnasInformes, int caracteresRollo = 0);

// Busca la plantilla de un informe por su nombre ("productos.rpt" o
// "productos"): en `carpeta` si se indica; si no, entre las que lleva el
// programa. Devuelve la ruta (o la del recurso); lanza si no existe.
QString UbicarPlantilla(const QString& nombre, const QString& carpeta);

}  // namespace motor
