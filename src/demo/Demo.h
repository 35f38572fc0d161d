#pragma once
// Tienda de demostración: un bar-restaurante español con sus datos maestros,
// al menos un año de ventas hasta ayer y los ejercicios anteriores en sus
// archivos de cierre anual. Determinista para una semilla y un "hoy".

#include "platform/datos/Datos.h"
#include "platform/sistema/Sistema.h"

#include <QDate>
#include <QString>

#include <functional>

namespace demo {

struct OpcionesDemo {
  QString destino = QStringLiteral("tienda");  // carpeta de la tienda (SQLite)
  int dias = 400;                              // días de ventas hasta ayer
  int ventasDia = 150;                         // ventas de un día normal
  quint64 semilla = 1;
  QDate hoy;  // vacío: la fecha del reloj
  // 0 (o menos que la carta): la carta natural del bar. Más: se añaden
  // artículos generados hasta llegar a ese número, para medir listados grandes.
  int productos = 0;
  // Sin esto GenerarDemo no toca una carpeta que ya tiene una tienda. Con
  // esto la tienda entera (base en vivo y archivos de cierre) se sustituye,
  // pero sólo cuando la nueva se ha escrito completa.
  bool reemplazar = false;
  // Dónde quedan los ajustes de la tienda; vacío: ajustes.ini en destino.
  QString ficheroAjustes;
};

struct ResultadoDemo {
  QString ficheroAjustes;
  QString baseVentas;
  QString baseInformes;
  QStringList archivos;  // bases de ejercicios cerrados
  QString identificadorPuesto;
  qint64 facturas = 0;
  qint64 lineas = 0;
};

using Progreso = std::function<void(const QString&)>;

// Escribe en `destino` hosteleria.db, informes.db, fotos/cierresAnuales/ y
// ajustes.ini. Lanza datos::ErrorDatos si no puede.
ResultadoDemo GenerarDemo(const OpcionesDemo& opciones, const sistema::Reloj& reloj, const Progreso& progreso = {});

// Llena una base de ventas ya creada (cualquier motor) con la tienda; las
// ventas de los días [desde, hasta]. Sirve a GenerarDemo y a las pruebas.
// Las dos funciones toman el "hoy" de opciones.hoy (vacío: la fecha del
// sistema) y deben llamarse con las mismas opciones: las ventas usan los
// productos, empleados y mesas que escribe LlenarMaestros. Cada una escribe
// en una sola transacción.
struct Recuento {
  qint64 facturas = 0;
  qint64 lineas = 0;
};
Recuento LlenarVentas(const datos::Conexion& ventas, const OpcionesDemo& opciones, const QDate& desde,
                      const QDate& hasta, const Progreso& progreso = {});
// Datos maestros y configuración del puesto de demostración.
void LlenarMaestros(const datos::Conexion& ventas, const OpcionesDemo& opciones);

// El fichero de ajustes de la tienda y lo que escribe en él: la base de
// ventas (`fuenteVentas`, el texto de la fuente), la de informes y la
// carpeta de salida de `destino`, el puesto y la configuración regional.
// Sólo cambia esas claves. Devuelve el fichero.
QString FicheroAjustesDemo(const OpcionesDemo& opciones);
QString EscribirAjustesDemo(const OpcionesDemo& opciones, const QString& fuenteVentas);

// Identificador del puesto con el que se guardan las opciones de la demo.
QString IdentificadorDemo();

}  // namespace demo
