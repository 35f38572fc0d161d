#pragma once
// Valoración del stock por proveedor: el constructor del informe y la
// paginación de las fichas de proveedores del formulario que lo pide.

#include "builders/Informes.h"

#include <QString>

#include <utility>
#include <vector>

namespace informes {

// Una fila de Informes por producto no borrado del proveedor elegido (o de
// todos) y del tipo elegido, con su familia y su proveedor existentes, en
// orden de proveedor, nombre y código; numerico15 lleva el valor a coste
// acumulado de todas las filas escritas hasta ella.
void CrearStockProveedores(Contexto& ctx);

}  // namespace informes

namespace proveedores {

struct Proveedor {
  QString codigo;
  QString nombre;
};

// Los proveedores no borrados por nombre, con el elemento vacío final.
std::vector<Proveedor> CargarTablaProveedores(const datos::Conexion& ventas);

// Rótulo de la ficha: el nombre, 78 blancos y el código; al pulsarla se lee
// de vuelta el código de sus 9 últimos caracteres y el nombre hasta el primer
// tramo de cuatro blancos.
QString RotuloFicha(const Proveedor& p);
QString CodigoDeRotulo(const QString& rotulo);
QString NombreDeRotulo(const QString& rotulo);

// Lo que enseña el panel: los proveedores de cada ficha (la primera, la azul)
// y las flechas.
struct Pagina {
  std::vector<int> fichas;  // posiciones en la tabla
  bool siguiente = false;
  bool anterior = false;
};

// Las páginas del panel de fichas. La posición es donde empieza la página
// siguiente: la del proveedor que no cupo, o la del último si cupieron todos.
class PaginasProveedores {
 public:
  static constexpr int kFichasPorPagina = 10;

  // `tabla` con su elemento vacío final.
  explicit PaginasProveedores(std::vector<Proveedor> tabla, int capacidad = kFichasPorPagina);

  const Pagina& pagina() const { return pagina_; }
  int posicion() const { return posicion_; }
  const std::vector<Proveedor>& tabla() const { return tabla_; }

  void dibujar();
  void paginaSiguiente();
  void paginaAnterior();

 private:
  int ultimo() const { return static_cast<int>(tabla_.size()) - 2; }

  std::vector<Proveedor> tabla_;
  int capacidad_;
  int posicion_ = 0;
  Pagina pagina_;
};

}  // namespace proveedores
