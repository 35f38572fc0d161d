#pragma once
// Escritor de la tabla de trabajo Informes: una fila por línea del informe,
// columnas con nombre (Col), todas las filas en una sola transacción con
// sentencias preparadas, y la tabla como estaba si el informe se abandona.

#include "builders/Columnas.h"
#include "platform/datos/Datos.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <bitset>
#include <initializer_list>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace informes {

class HiloEscritura;

class EscritorInformes {
 public:
  // Comprueba que la tabla tiene las 64 columnas; lanza datos::ErrorDatos si no.
  explicit EscritorInformes(const datos::Conexion& conexion);
  ~EscritorInformes();  // sin terminar(): deshace todo
  EscritorInformes(const EscritorInformes&) = delete;
  EscritorInformes& operator=(const EscritorInformes&) = delete;

  // Borra todas las filas (dentro de la transacción).
  void vaciar();

  // Empieza una fila nueva; las columnas no puestas quedan en Null.
  void nuevaFila();
  void poner(Col columna, const QVariant& valor);
  // De dónde salen los valores de la fila en curso (hasta la siguiente
  // nuevaFila): la tabla de la base de ventas y el registro, como «la
  // factura» y su número. Un valor que no vale lo nombra así, con la columna
  // de la tabla que se diga al ponerlo, en vez de con la de Informes.
  void origen(const char* tabla, const char* registro, const QVariant& clave);
  void poner(Col columna, const QVariant& valor, const char* columnaOrigen);
  // Valor que llevan todas las filas que se guarden desde ahora (la
  // cabecera del negocio, las fechas del informe, el sello): se convierte
  // una sola vez y no hay que ponerlo en cada fila.
  void fijar(Col columna, const QVariant& valor);
  // Guarda la fila en curso.
  void guardarFila();

  // Sentencias sobre todas las filas: estampar un valor del informe entero,
  // actualizar o borrar las filas cuyo valor coincide.
  void estampar(Col columna, const QVariant& valor);
  void estampar(std::initializer_list<std::pair<Col, QVariant>> valores);
  void actualizarDonde(Col columna, const QVariant& valor, Col columnaClave, const QVariant& clave);
  void borrarDonde(Col columnaClave, const QVariant& clave);

  // Confirma la transacción.
  void terminar();

  int filasGuardadas() const { return filas_; }

 private:
  QVariant convertir(Col columna, const QVariant& valor, const char* columnaOrigen = nullptr) const;
  const QString& nombreReal(Col c) const { return nombresReales_.at(static_cast<qsizetype>(Indice(c))); }
  void asegurarTransaccion();
  // Escribe las filas guardadas que aún esperan, en INSERT de varias filas.
  void volcar();
  datos::Consulta& insercion(unsigned long long clave);
  QString textoInsercion(unsigned long long clave) const;

  const datos::Conexion& conexion_;
  bool enTransaccion_ = false;
  bool filaAbierta_ = false;
  std::bitset<kNumColumnas> puestas_;
  std::bitset<kNumColumnas> fijas_;
  std::array<QVariant, kNumColumnas> valores_;
  struct Origen {
    const char* tabla = nullptr;
    const char* registro = nullptr;
    QVariant clave;
  } origen_;
  // Filas guardadas que aún no se han mandado a la base: ir de una en una
  // cuesta un viaje al servidor por fila.
  struct Pendiente {
    unsigned long long clave;  // columnas puestas
    int fila;
    std::vector<QVariant> valores;  // sólo las columnas puestas, en orden
  };
  std::vector<Pendiente> pendientes_;
  std::unordered_map<unsigned long long, std::unique_ptr<datos::Consulta>> inserciones_;
  // En SQLite las filas las escribe otro hilo mientras este prepara las
  // siguientes, sin pasar por QSqlQuery. Versión de los valores fijos ya
  // enlazados en la sentencia de cada juego de columnas.
  std::unique_ptr<HiloEscritura> hilo_;
  bool directa_ = false;
  std::unordered_map<unsigned long long, unsigned> versionesDirectas_;
  unsigned versionFijas_ = 1;
  QStringList nombresReales_;  // nombre de cada columna tal como está en la tabla
  bool tieneFila_ = false;     // la tabla guarda el orden de escritura
  int ultimaFila_ = -1;        // número de la última fila de la tabla; -1 si aún no se sabe
  int filas_ = 0;
};

}  // namespace informes
