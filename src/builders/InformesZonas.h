#pragma once
// Las ventas vistas por dónde, cuándo y qué: por zona (general o totalizado
// por producto), por hora, por familia, los menús vendidos, los servicios a
// domicilio y los repartidores. Leen la selección (FechaDesde, FechaHasta,
// FormatoZonas, PorZonas, PorEmpleados) y dejan sus filas en Informes.

#include "builders/Informes.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

namespace informes {

void CrearVentasMenus(Contexto& ctx);
void CrearServiciosDomicilio(Contexto& ctx);
void CrearEstadisticasRepartidor(Contexto& ctx);
// El botón de ventas por zonas: general, o totalizado por producto si el
// diálogo eligió el formato 2.
void CrearVentasZonas(Contexto& ctx);
void CrearVentasZonasGeneral(Contexto& ctx);
void CrearVentasZonasProducto(Contexto& ctx);
void CrearVentasHoras(Contexto& ctx);
void CrearVentasFamilias(Contexto& ctx);

// La franja de una hora de venta: "09:00 - 10:00", "08:00 - 9:00" (la hora
// siguiente va sin cero delante), "23:00 - 24:00". Vacía sin hora.
QString FranjaHoraria(const QVariant& hora);

// Los productos con su familia, su coste y su precio de tarifa, leídos una
// vez por informe. El código se busca sin distinguir mayúsculas, como lo
// comparaba la base de la tienda.
class CatalogoProductos {
 public:
  explicit CatalogoProductos(const datos::Conexion& ventas);

  struct Producto {
    QVariant coste, precio;
    QVariant familia, codigoFamilia;  // textos; Null si no tiene familia
  };
  // Por el código tal como lo guarda la base (UTF-8); nada si el producto ya
  // no existe.
  const Producto* buscar(QByteArrayView codigoUtf8) const;

 private:
  QHash<QByteArray, Producto> productos_;
  mutable QByteArray clave_;
};

}  // namespace informes
