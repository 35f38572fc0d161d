#pragma once
// El bar-restaurante de la demostración en memoria: la carta, la gente, las
// salas y la configuración del puesto. LlenarMaestros lo escribe y el
// generador de ventas lo usa para vender, así que las ventas sólo nombran
// productos, empleados, mesas y clientes que existen.

#include "demo/Azar.h"
#include "demo/Demo.h"
#include "demo/Insercion.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <array>
#include <vector>

namespace demo {

// Para qué sirve un artículo al vender: decide en qué momento del día y en
// qué parte de la comanda aparece.
enum class Uso {
  Refresco,
  Agua,
  Cerveza,
  Vino,     // copa
  Botella,  // botella de vino o cava para la mesa
  Copa,     // combinados y licores
  Cafe,
  Desayuno,
  Tapa,
  Racion,
  Entrante,
  Carne,
  Pescado,
  Postre,
  Tienda,
  Evento,
  Ropero,
  Varios,
  Ingrediente,  // no se vende
  Menu,
  Retirado,  // borrado: no se vende
  Generado,  // artículos añadidos para medir listados grandes
};
constexpr int kUsos = static_cast<int>(Uso::Generado) + 1;

struct Familia {
  QString codigo;
  QString nombre;
  QString nombreCompleto;
  QVariant descNumerica;
  QVariant hechoEn;
  QVariant precio;  // sólo los menús
  QVariant coste;
  double impuesto = 10;
  int menu = 0;
  int borrar = 0;
};

struct Producto {
  QString codigo;
  QString nombre;
  QVariant descripcion;
  QVariant descNumerica;
  qint64 precio = 0;  // céntimos
  qint64 coste = 0;
  QVariant iva;      // lo que dice la ficha (puede faltar)
  double tasa = 10;  // el tipo con que se vende
  QVariant entrada, salida, stock, stockMinimo, stockInterno;
  QVariant seccion;
  QVariant proveedor;
  int tipoProd = 1;
  QVariant codigoBarras;
  int borrar = 0;
  Uso uso = Uso::Varios;
  bool cocina = false;  // pasa por una comanda de cocina
  int popularidad = 1;
};

enum class Turno { Manana, Tarde, Partido, FinDeSemana, Cocina, Reparto };

struct Empleado {
  int codigo = 0;
  QString nombre;
  QString apellidos;
  QString nombreCompleto;  // como lo guarda el terminal en ventas y propinas
  QString direccion, cp, telefono, dni, localidad, provincia;
  double sueldo = 0;
  QDate alta;
  QDate baja;  // inválida si sigue en activo
  QString horario, funcion, libra, usuario, clave, ss;
  Turno turno = Turno::Manana;
  bool vende = false;
  // Trabaja ese día (libra en minúscula, altas y bajas, extras de fin de semana).
  bool trabaja(const QDate& dia) const;
};

struct Cliente {
  int codigo = 0;
  QString nombre;
  QVariant apellidos;
  QString direccion;
  QVariant numero, piso, puerta;
  QString cp, poblacion, telefono;
  QVariant fax, cif, email;
  double descuento = 0;
  bool habitual = false;  // reserva y pide a domicilio a menudo
  QString nombreCompleto() const;
};

struct Proveedor {
  QString codigo;
  QString nombre, direccion, poblacion, provincia, cp, telefono;
  QVariant fax;
  QString contacto, nif, email;
  int borrar = 0;
  int diaReparto = 1;  // día de la semana en que se le pide (1 lunes)
};

struct Escandallo {
  int padre = 0;  // índices en Tienda::productos
  int hijo = 0;
  double cantidad = 0;
};

struct Mesa {
  int codigo = 0;
  QString numMesa;
  int salon = 0;
};

// Códigos de salón y de zona de venta.
namespace zona {
constexpr int Comedor = 1;
constexpr int Terraza = 2;
constexpr int Barra = 3;
constexpr int Reservado = 4;
constexpr int CobroParcial = 0;
constexpr int Telefono = 100;
constexpr int Entrada = 101;
constexpr int Ropero = 102;
constexpr int Rapida = 999;
constexpr int CajaRapidaAntigua = -1;
}  // namespace zona

// Formas de pago.
namespace pago {
constexpr int Efectivo = 1;
constexpr int Tarjeta = 2;
constexpr int ChequeComida = 3;
constexpr int Bizum = 4;
constexpr int Amex = 5;
constexpr int ACuenta = 6;
}  // namespace pago

// Artículos con papel propio en las ventas, buscados una vez.
struct Singulares {
  int pan = -1, varios = -1, loteria = -1, tarjetaRegalo = -1, cana = -1, entrada = -1, ropero = -1;
  int botellaParaLlevar = -1;
  std::vector<int> infantilPlatos, infantilPostres, infantilBebidas;
};

class Tienda {
 public:
  explicit Tienda(const OpcionesDemo& opciones);

  QDate hoy;
  std::vector<Familia> familias;
  std::vector<Producto> productos;
  std::vector<Empleado> empleados;
  std::vector<Cliente> clientes;
  std::vector<Proveedor> proveedores;
  std::vector<Mesa> mesas;
  std::vector<Escandallo> escandallos;
  Singulares singulares;

  // Índices de productos vendibles por uso, con su ruleta de popularidad.
  const Ruleta& ruleta(Uso uso) const { return ruletas_[static_cast<size_t>(uso)]; }
  const Producto& producto(int indice) const { return productos[static_cast<size_t>(indice)]; }
  int indiceProducto(const QString& nombre) const;  // -1 si no está
  int indiceMenu(const QString& codigo) const;      // artículo del menú; -1 si no está
  const Empleado* empleado(int codigo) const;
  // Mesas de un salón (índices en `mesas`).
  const std::vector<int>& mesasDe(int salon) const;
  // Productos de un proveedor que se le piden.
  const std::vector<int>& productosDe(int proveedor) const;

 private:
  void crearFamilias();
  void crearCarta(Azar& azar);
  void crearGenerados(int hasta, Azar& azar);
  void crearGente(Azar& azar);
  void crearSalas();
  void indexar();

  std::array<Ruleta, kUsos> ruletas_;
  std::vector<std::vector<int>> mesasPorSalon_;
  std::vector<std::vector<int>> productosPorProveedor_;
};

// Escribe los datos maestros y la configuración del puesto de demostración.
void EscribirMaestros(const datos::Conexion& ventas, const Tienda& tienda);

// Fecha ISO de un día y hora "HH:MM:SS" de un segundo del día.
QString TextoDia(const QDate& dia);
QString TextoHora(int segundoDelDia);

}  // namespace demo
