#pragma once
// Un día de negocio del bar: qué se vende, a qué hora, en qué mesa, quién lo
// sirve y cómo se cobra. Jornada construye las ventas del día en memoria;
// Ventas.cpp les pone número y las escribe con el resto de tablas del día.

#include "demo/Azar.h"
#include "demo/Tienda.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <vector>

namespace demo {

struct Linea {
  int producto = 0;  // índice en Tienda::productos
  QString nombre;    // el del artículo, salvo en "Varios"
  int orden = 0;     // 0: línea propia o cabecera de menú; 1..4: plato del menú
  qint64 unidades = 1;
  qint64 precioUnit = 0;  // céntimos
  qint64 precio = 0;      // importe de la línea, IVA incluido
  qint64 descuento = 0;
  qint64 recargo = 0;
  qint64 impuesto = 0;
  double tasa = 10;
  bool tasaNula = false;  // líneas antiguas sin el tipo guardado
  const Empleado* camarero = nullptr;
  int menu = 0;
  int productoDeMenu = 0;
  QString codMenu;  // nulo fuera de los menús
  QVariant promocion;
  QVariant unidadesPromocion;
  int borrar = 0;
};

// Qué le pasa a la venta después de servirse.
enum class Final {
  Cobrada,
  AnuladaCobrada,    // cobrada y borrada después: su número acaba en anulaciones
  AnuladaSinNumero,  // anulada antes de cobrar: número 0 o negativo
};

// Línea quitada de una venta antes de cobrar.
enum class LineaQuitada { Ninguna, SinOrigen, OtraFactura, OrigenMenosUno, Servida };

struct Venta {
  qint64 numero = 0;
  qint64 numVenta = 0;
  QDate fecha;       // día en que se abrió
  QDate fechaVenta;  // día de negocio en que se cerró
  int clave = 0;     // segundos desde las 06:00 del día de negocio: ordena el cierre
  int hora = 0;      // segundos del día del reloj
  int horaInicio = 0;
  const Empleado* camarero = nullptr;
  int zona = 0;
  QVariant mesa;
  std::vector<Linea> lineas;
  qint64 total = 0, impuesto = 0, recargo = 0, descuento = 0;
  bool impuestoNulo = false;
  int impuestoIncluido = 1;
  int pago = 0;
  qint64 efectivo = 0, tarjeta = 0;
  int cliente = 0;
  int modo = 0;
  int repartidor = 0;
  QString terminal;
  int borrar = 0;
  bool cocina = false;
  Final final = Final::Cobrada;
  bool numeroCero = false;  // anulada sin número que la suite guardó con 0
  LineaQuitada quitada = LineaQuitada::Ninguna;
  Linea lineaQuitada;
  std::vector<qint64> propinas;
  const Empleado* camareroPropina2 = nullptr;
  int ncf = 0;  // tipo de comprobante fiscal, 0 sin él
};

enum class Franja { Desayuno, Aperitivo, Comida, Tarde, Cena, Copas };
enum class Sitio { Barra, Comedor, Terraza, Reservado, Telefono, Plataforma, Rapida, CajaAntigua, Entrada, Ropero };

// Encargo de una venta. Las ventas corrientes lo sacan al azar; el
// escaparate de cada mes fuerza los casos raros que los informes distinguen.
struct Plan {
  Franja franja = Franja::Comida;
  Sitio sitio = Sitio::Comedor;
  bool domicilio = true;  // teléfono: a domicilio o recogida
  bool pagoPartido = false;
  int pagoForzado = -1;  // forma de pago del pago partido o de la venta
  bool dosCamareros = false;
  int propinas = 0;
  bool tardeMalConfigurada = false;  // abierta ayer y cerrada pasada la medianoche
  bool invitacion = false;           // todo a cuenta de la casa: total 0
  bool devolucion = false;           // total negativo
  bool impuestoNulo = false;
  bool borrada = false;  // queda en cabecera_factura con borrar
  bool descuentoGlobal = false;
  bool descuentoLinea = false;
  bool lineaBorrada = false;
  bool lineaSinTipo = false;
  int menus = 0;  // 1 menú del día, 2 degustación, 3 medio menú y menú del día, 4 infantil
  Final final = Final::Cobrada;
  bool numeroCero = false;
  LineaQuitada quitada = LineaQuitada::Ninguna;
  int ncf = 0;
  int cliente = -1;  // -1: el que toque
  bool sinRepartidor = false;
  bool sinImpuestoIncluido = false;
  bool conCliente = false;  // venta de barra a un cliente conocido
  bool mesaSinRotulo = false;
  bool productoAl21 = false;
  bool productoAl0 = false;
  bool promociones = false;  // fuerza una línea de cada promoción
  bool cobroParcial = false;
};

class Jornada {
 public:
  Jornada(const Tienda& tienda, Azar& azar, const QDate& dia);

  // Número de ventas corrientes de un día con `ventasDia` ventas de media.
  static int VentasDelDia(const QDate& dia, int ventasDia, Azar& azar);
  static bool Cerrado(const QDate& dia);

  Plan planAlAzar();
  Venta construir(const Plan& plan);

  const std::vector<const Empleado*>& turno(Franja f) const;
  const std::vector<const Empleado*>& repartidores() const { return repartidores_; }

 private:
  void agregar(Venta& v, Uso uso, qint64 unidades, const Empleado* camarero, bool juntar = true);
  void agregarProducto(Venta& v, int indice, qint64 unidades, const Empleado* camarero, bool juntar = true);
  void agregarMenu(Venta& v, const QString& codigoMenu, const QString& familiaMenu, const Empleado* camarero);
  void llenar(Venta& v, const Plan& plan, int comensales);
  void comidaEnMesa(Venta& v, const Plan& plan, int comensales);
  void cenaEnMesa(Venta& v, int comensales);
  void bebidas(Venta& v, int personas, const Empleado* camarero);
  void ajustar(Venta& v, const Plan& plan);
  void cobrar(Venta& v, const Plan& plan);
  int comensales(Sitio sitio);
  const Empleado* quien();  // camarero de la siguiente línea
  qint64 precioDe(int indice);

  const Tienda& t_;
  Azar& azar_;
  QDate dia_;
  bool finDeSemana_ = false;
  std::vector<const Empleado*> manana_, tarde_, repartidores_;
  const Empleado* primero_ = nullptr;
  const Empleado* segundo_ = nullptr;
};

}  // namespace demo
