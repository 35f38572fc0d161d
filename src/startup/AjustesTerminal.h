#pragma once
// Ajustes del puesto leídos al arrancar, con las dos conexiones abiertas.
// Se llenan una vez, en el orden de los campos, y después sólo se leen; la
// excepción es ConexionVentas, que un informe de un año cerrado cambia por el
// archivo de ese año mientras se construye (startup/EjerciciosCerrados.h).

#include "platform/datos/Datos.h"

#include <QString>

#include <memory>

struct AjustesTerminal {
  QString IdTerminal;
  std::unique_ptr<datos::Conexion> ConexionVentas;
  QString RutaBaseDatos;
  // La base de ventas en vivo tal como se abrió al arrancar: ConexionVentas
  // pasa a un archivo de año cerrado durante un informe y hay que saber
  // volver.
  datos::FuenteDatos FuenteVentasViva;
  std::unique_ptr<datos::Conexion> ConexionInformes;
  bool BaseDatosRemota = false;
  QString Nombre;
  QString Terminal;
  bool CajaFastFood = false;
  QString TipoPrograma;
  QString RutaFotos;
  QString Idioma;
  QString ImpresoraTicket;
  QString ImpresoraInformes;
  QString SufijoTerminal;
  qint16 IdColor = -1;
  qint32 EmpleadoTerminal = -1;
  qint16 NumDecimales = 0;
  QString DatosEmailA;
  QString DatosEmailOtros;
  QString EmailInformes;
};
