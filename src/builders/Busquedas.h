#pragma once
// Búsquedas pequeñas que comparten los constructores de ventas: nombre del
// salón, nombre de la forma de pago, teléfono del cliente (por factura o por
// código) y la reparación del impuesto de una factura.
//
// Las tablas de salones, formas de pago y teléfonos de clientes son pequeñas
// y en un año se consultan cientos de miles de veces: se leen enteras al
// crear las búsquedas, antes de abrir la consulta del informe. Así, además,
// no se lanza ninguna sentencia en la conexión de ventas mientras se recorre
// esa consulta, cosa que PostgreSQL no admite en la misma conexión.

#include "platform/datos/Datos.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace informes {

class BusquedasVentas {
 public:
  enum Tabla { Salones = 1, FormasPago = 2, Clientes = 4 };
  BusquedasVentas(const datos::Conexion& ventas, int tablas);

  // Nombre del salón de la zona de venta; vacío si la zona está vacía o no
  // hay tal salón.
  QString NombreSalon(const QVariant& zona) const;

  // Nombre de la forma de pago; texto vacío si no existe y Null si existe
  // con el nombre en Null.
  QVariant NombreFormaPago(const QVariant& codigo) const;

  // Teléfono del cliente cuyo código lleva la factura; vacío si no tiene
  // cliente o el cliente no existe.
  QString TelefonoDeClienteDeFactura(const QVariant& cliente) const;
  // Lo mismo buscando la factura por su número. Va a la base: sólo para
  // cuando no hay otra consulta de ventas abierta.
  QString TelefonoFactura(const QVariant& numero) const;

  // Teléfono del cliente por su código; "-1" si no hay tal cliente.
  QString TelefonoCliente(const QVariant& codigo) const;

  // La factura cuyo impuesto no es un número se repara poniéndolo a 0. Se
  // apunta durante el recorrido y se escribe después en una transacción
  // corta, con la consulta del informe ya cerrada (y la foto de lectura del
  // informe, si hay una).
  void RepararImpuestoFactura(const QVariant& numero);
  void AplicarReparaciones();

 private:
  std::optional<QString> telefono(const QVariant& codigo) const;
  const datos::Conexion& ventas_;
  QHash<qint64, QString> salones_;
  QHash<qint64, QVariant> formasPago_;
  QHash<qint64, QString> telefonos_;
  std::vector<qint64> reparar_;
};

// Un valor que llega de la base como número entero, si lo es. Los códigos se
// guardan como enteros pero una base antigua puede traerlos como texto.
std::optional<qint64> EnteroDe(const QVariant& v);

}  // namespace informes

namespace informes {

// --- Clientes, formas de pago y costes del catálogo ------------------------------
//
// Las búsquedas de los informes contables y de productos. Como las de
// arriba, cada tabla se lee entera al crearlas, antes de abrir la consulta
// del informe: un resumen contable de un año pregunta por el coste de un
// millón de líneas.
class BusquedasCatalogo {
 public:
  enum Tabla { Clientes = 1, FormasPago = 2, Productos = 4, Menus = 8 };
  BusquedasCatalogo(const datos::Conexion& ventas, int tablas);

  // Población del cliente; teléfono y fax en los dos textos. Todo vacío sin
  // cliente (código 0 o menos) o si no existe; un Null, texto vacío.
  QString DatosCliente(const QVariant& codigo, QString& telefono, QString& fax) const;
  // "Nombre Apellidos" del cliente y su cif; "Cliente Generico" y cif vacío
  // sin cliente o si no existe.
  QString NombreCliente(const QVariant& codigo, QString& cif) const;
  // Nombre de la forma de pago; vacío si el código no es mayor que 0 o no
  // existe.
  QString NombreFormaPago(const QVariant& codigo) const;

  // Coste de un producto por su código; 0 si no existe o no lo tiene.
  double CosteProducto(const QString& codigo) const;
  // Coste y precio actuales de un producto o de un menú (familia). Lo que
  // no está (no hay fila o la columna es Null) no se inventa: va vacío en el
  // informe, nunca con el valor de otro producto.
  struct CostePrecio {
    std::optional<double> coste, precio;
  };
  CostePrecio CostePrecioProducto(const QString& codigo) const;
  CostePrecio CostePrecioMenu(const QString& codigo) const;

 private:
  struct Cliente {
    QString nombre, cif, poblacion, telefono, fax;
  };
  const Cliente* cliente(const QVariant& codigo) const;
  QHash<qint64, Cliente> clientes_;
  QHash<qint64, QString> formasPago_;
  // Por el código sin distinguir mayúsculas, como los comparaba la suite.
  QHash<QString, CostePrecio> productos_;
  QHash<QString, CostePrecio> menus_;
  // El último producto preguntado: las líneas seguidas suelen repetirlo.
  mutable QString ultimoCodigo_;
  mutable const CostePrecio* ultimo_ = nullptr;
};

}  // namespace informes
