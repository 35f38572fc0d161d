#pragma once
// Las series de los ocho gráficos del mes y la tabla día por hora de las
// ventas y de las reservas. Cada serie sale de una sola sentencia agrupada
// (por día, por hora, por zona o por empleado) sobre un rango de fechas: el
// gráfico de un mes cuesta milisegundos también en el mes de más ventas.
// Núcleo, sin ventanas: la línea de órdenes y las pruebas las leen igual que
// el formulario de gráficos.

#include "platform/datos/Datos.h"
#include "platform/sistema/Notificador.h"
#include "startup/AjustesTerminal.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace graficos {

// Los números de gráfico que guarda cada botón de la ventana principal.
enum Codigo : qint16 {
  kDescuentos = 0,
  kGastos = 1,
  kRetiradas = 2,
  kCajaPorDias = 3,
  kVentasPorZonas = 4,
  kVentasPorHoras = 5,
  kVentasPorEmpleados = 6,
  kReservas = 7,
};
constexpr qint16 kNumeroGraficos = 8;

bool CodigoValido(qint16 codigo);
// Los gráficos que tienen vista de tabla día por hora.
bool ConTabla(qint16 codigo);

// Días del mes `mes` (1 a 12) del año `anio`: 28 a 31.
int DiasDelMes(int mes, int anio);
// El nombre del mes en el idioma del sistema, como lo escribe el sistema
// ("marzo").
QString NombreMes(int mes);

// Una serie: una fila por categoría, con su rótulo y su valor. `claves`
// identifica cada fila (día, hora, código de zona o de empleado) para poder
// poner al lado la del año anterior aunque el archivo tenga otras zonas.
struct Serie {
  qint16 codigo = -1;
  int mes = 0;
  int anio = 0;
  QString tituloX;
  QString tituloY;
  QString pie;
  QStringList rotulos;
  std::vector<qint64> claves;
  std::vector<double> valores;
};

// Los rótulos de los ejes y la nota al pie del gráfico `codigo`.
QString TituloEjeY(qint16 codigo);
QString NotaAlPie(qint16 codigo, int mes, int anio);

// Lee la serie del gráfico `codigo` del mes en la conexión tal como está
// (sin cambiar de año). Lanza datos::ErrorDatos si una sentencia falla.
Serie LeerSerie(const datos::Conexion& ventas, qint16 codigo, int mes, int anio);

// La serie como la pide el formulario: si el año del mes está cerrado, se
// lee su archivo, y la conexión vuelve a la base en vivo al acabar.
Serie CrearSerie(AjustesTerminal& at, qint16 codigo, int mes, int anio, sistema::Notificador& notificador);

// La serie del mismo mes del año anterior colocada fila a fila junto a
// `actual`: misma clave, mismo sitio; lo que el año anterior no tiene vale 0.
Serie AlinearAnterior(const Serie& actual, const Serie& anterior);

// La tabla día por hora: matriz[columna][fila], 33 columnas (0 las horas,
// 1 a 31 los días, 32 el total de la hora) por 25 filas (0 a 23 las horas de
// 23 a 0, 24 los números de día). Las celdas vacías valen "0".
constexpr int kColumnasMatriz = 33;
constexpr int kFilasMatriz = 25;
using Matriz = std::array<std::array<QString, kFilasMatriz>, kColumnasMatriz>;

// La matriz recién puesta: todo "0", las horas en la columna 0 y los días en
// la fila 24.
Matriz InicializarMatriz();
// Llena la matriz del gráfico 5 (ventas: número por día y hora, importe del
// mes por hora) o del 7 (reservas por día y hora). Otro código la deja
// recién puesta.
Matriz LeerMatriz(const datos::Conexion& ventas, qint16 codigo, int mes, int anio);
Matriz CrearMatriz(AjustesTerminal& at, qint16 codigo, int mes, int anio, sistema::Notificador& notificador);
// La fila de la tabla de una hora del día: la 23 arriba, la 0 abajo.
int FilaDeHora(int hora);
// La matriz como se ve en la rejilla: 25 renglones de 33 campos separados por
// ';', con las celdas "0" en blanco.
QString MatrizCsv(const Matriz& m);

// Estilos de dibujo: los cuatro botones de estilo y las dos dimensiones.
enum class Estilo { Barras, Lineas, Circular, Conico };
enum class Dimension { DosD = 1, TresD = 2 };
// El tipo de gráfico que resulta de pulsar un estilo con la dimensión
// elegida (las constantes del control de gráficos: 1 barras, 0 barras 3D,
// 3 líneas, 2 líneas 3D, 14 tarta, 5 área, 4 área 3D). La tarta es siempre
// plana.
int TipoGrafico(Estilo estilo, Dimension modo);
bool EsTresD(int tipo);
std::optional<Estilo> EstiloPorNombre(const QString& nombre);

// Los seis botones de color.
struct ColorSerie {
  const char* boton;   // cmdRojo
  const char* nombre;  // rojo
  QColor color;
};
const std::array<ColorSerie, 6>& ColoresSerie();
std::optional<QColor> ColorPorNombre(const QString& nombre);

}  // namespace graficos
