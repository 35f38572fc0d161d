#pragma once
// Ajustes del puesto leídos al arrancar, con las dos conexiones abiertas.
// Se llenan una vez, en el orden de los campos, y después sólo se leen.

#include "platform/datos/Datos.h"

#include <QString>

#include <memory>

struct AjustesTerminal {
  QString IdTerminal;
  std::unique_ptr<datos::Conexion> ConexionVentas;
  QString RutaBaseDatos;
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
