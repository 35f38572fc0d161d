#pragma once
// Lo que el usuario eligió para el informe en curso. La escriben la ventana
// principal y los diálogos; la leen los constructores, que además ponen
// SinDatos.

#include <QDate>
#include <QString>

struct SeleccionInforme {
  QDate FechaDesde;
  QDate FechaHasta;
  bool Completo = false;
  bool Aceptado = false;
  qint16 NumVentas = 0;
  bool PorZonas = false;
  bool PorEmpleados = false;
  qint16 FormatoZonas = 0;
  qint16 EmpleadoElegido = 0;
  bool SinDatos = false;
  // Lo levanta el informe que encuentra una venta abierta un día anterior al
  // de su cierre; los informes en formato ticket también lo miran.
  bool AvisoFechaApertura = false;
  // Valoración del stock por proveedor: el código del proveedor elegido
  // ("-1", todos) y el tipo de producto, de 0 a 3 como los botones del
  // formulario (3, todos menos los de tipo 3).
  QString ProveedorElegido = QStringLiteral("-1");
  qint16 TipoProducto = 3;
};
