#pragma once
// Arranque del programa: identifica el puesto, abre las dos fuentes de datos
// y llena AjustesTerminal; el día 16 busca actualizaciones.

#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/sistema/Sistema.h"
#include "startup/AjustesTerminal.h"

#include <QString>

#include <functional>
#include <optional>

namespace arranque {

// Los cinco temas de colores de la suite.
struct TemaColor {
  const char* nombre;
  const char* paleta;  // siete colores, cada uno seguido de "|"
};
extern const TemaColor kTemas[5];

// Lo que el arranque toma del sistema; las pruebas lo sustituyen.
struct Entorno {
  const sistema::Reloj* reloj = nullptr;  // sin reloj, el del sistema
  sistema::Lanzador* lanzador = nullptr;  // sin lanzador no se arranca nada
  QString carpetaPrograma;
  std::function<std::optional<qint32>()> serieVolumen = sistema::serieVolumenSistema;
  bool buscarActualizaciones = true;  // sólo al abrir la ventana
  // Avisos que no paran el arranque (la base de ventas en un modo en que los
  // informes paran a las cajas); sin esto no se dicen.
  std::function<void(const QString&)> avisar;
};

// Pasos 1 a 15 del arranque. Lanza datos::ErrorDatos o ajustes::ErrorAjustes
// si una fuente de datos no se puede abrir o una consulta falla.
void Arrancar(AjustesTerminal& at, ajustes::AlmacenAjustes& almacen, const Entorno& entorno);

// El caso de quien acaba de instalar: la base de ventas SQLite de los ajustes
// todavía no existe. Devuelve el mensaje que lo explica, o nada si no falta.
std::optional<QString> FaltaBaseVentas(const ajustes::AlmacenAjustes& almacen);

// Pasos sueltos, también usados por otras partes del programa.
QString CalcularIdTerminal(const ajustes::AlmacenAjustes& almacen, const Entorno& entorno);
bool CalcularBaseDatosRemota(const datos::FuenteDatos& ventas);
// Pasa al modo WAL una base de ventas SQLite local que no lo esté, para que
// los informes lean sin parar a las cajas. Lo que no se puede hacer (una base
// en una carpeta de red, o abierta por las cajas) se avisa en una línea.
void PrepararBaseVentas(const datos::Conexion& ventas, const std::function<void(const QString&)>& avisar);
void AplicarTemaColor(ajustes::AlmacenAjustes& almacen);
bool ModuloFactura(const AjustesTerminal& at);
void BuscarActualizaciones(const AjustesTerminal& at, const Entorno& entorno);

}  // namespace arranque
