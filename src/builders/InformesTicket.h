#pragma once
// Los informes para la impresora de tickets: el listado detallado de ventas,
// que se compone como texto de ancho fijo y se ve en su propia ventana antes
// de imprimirlo línea a línea, el resumido, el de empleados y el de los
// cierres de caja, que se pintan con plantillas de rollo.

#include "builders/Informes.h"

#include <QLocale>
#include <QString>

namespace informes {

void CrearListadoTicket(Contexto& ctx);
void CrearTicketResumido(Contexto& ctx);
void CrearTicketEmpleado(Contexto& ctx);
void CrearCierresCajaTicket(Contexto& ctx);

// Caracteres por línea cuando la impresora no está en la tabla impresoras o
// no los dice.
constexpr int kCaracteresTicket = 35;

// Caracteres por línea de la impresora de tickets del puesto.
int NumCaracteresImpresora(const datos::Conexion& ventas, const QString& impresoraTicket);

// Letra de una impresora (vacía si no la tiene) y sus caracteres por línea.
struct DatosDeImpresora {
  QString fuente;
  int ancho = kCaracteresTicket;
};
DatosDeImpresora DatosImpresora(const datos::Conexion& ventas, const QString& impresora);

// Una línea de ticket sin su fin de línea. Centrar rodea el texto de blancos,
// uno a cada lado cada vez, hasta llegar al ancho (o pasarlo en uno).
QString Centrar(const QString& texto, int ancho);
// Izquierda y derecha separadas por blancos: ancho + 1 caracteres. Si no
// caben, la izquierda se corta y acaba en "... ".
QString DosColumnas(const QString& izquierda, const QString& derecha, int ancho);

// El texto del listado detallado tal como lo deja CrearListadoTicket en
// Informes, con sus líneas acabadas en CR LF.
struct TextoTicket {
  QString texto;
  int ancho = kCaracteresTicket;
};
TextoTicket ComponerListadoTicket(const datos::Conexion& informes, int ancho, int decimales, const QLocale& regional);

}  // namespace informes
