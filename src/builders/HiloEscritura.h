#pragma once
// Las filas de un informe grande se escriben en SQLite desde otro hilo:
// mientras SQLite guarda un lote, el constructor lee y prepara el siguiente.
// Sólo este hilo usa la conexión de Informes mientras tiene filas pendientes;
// cualquier otra sentencia sobre ella espera antes a que termine (esperar()).

#include "builders/Columnas.h"
#include "platform/datos/Datos.h"

#include <QString>
#include <QVariant>

#include <bitset>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace informes {

class HiloEscritura {
 public:
  struct Fila {
    unsigned long long clave;              // columnas puestas: elige la sentencia
    std::bitset<kNumColumnas + 1> saltar;  // parámetros que ya tienen su valor
    std::vector<QVariant> valores;         // uno por parámetro, en orden
  };

  // `sql` da el INSERT de cada juego de columnas.
  HiloEscritura(const datos::Conexion& conexion, std::function<QString(unsigned long long)> sql);
  ~HiloEscritura();
  HiloEscritura(const HiloEscritura&) = delete;
  HiloEscritura& operator=(const HiloEscritura&) = delete;

  void encolar(Fila&& f);
  // Espera a que todo esté escrito. Lanza el error de la escritura, si lo hubo.
  void esperar();

 private:
  static constexpr std::size_t kFilasPorLote = 1024;
  static constexpr std::size_t kLotesEnCola = 8;  // para no llenar la memoria

  void entregar();
  void bucle();
  void escribir(const Fila& f);

  const datos::Conexion& conexion_;
  sqlite3* manejador_;
  std::function<QString(unsigned long long)> sql_;
  std::unordered_map<unsigned long long, std::unique_ptr<datos::SentenciaDirecta>> sentencias_;
  std::vector<Fila> lote_;  // el que se está llenando, sólo del hilo del constructor
  std::mutex m_;
  std::condition_variable hay_, libre_;
  std::vector<std::vector<Fila>> cola_;
  bool parar_ = false;
  bool ocupado_ = false;
  QString error_;
  std::thread hilo_;
};

}  // namespace informes
