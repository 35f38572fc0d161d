#include "builders/HiloEscritura.h"

namespace informes {

HiloEscritura::HiloEscritura(const datos::Conexion& conexion, std::function<QString(unsigned long long)> sql)
    : conexion_(conexion), manejador_(conexion.manejadorSqlite()), sql_(std::move(sql)) {
  hilo_ = std::thread([this] { bucle(); });
}

HiloEscritura::~HiloEscritura() {
  {
    std::lock_guard<std::mutex> l(m_);
    parar_ = true;
    cola_.clear();
  }
  hay_.notify_all();
  hilo_.join();
}

void HiloEscritura::encolar(Fila&& f) {
  lote_.push_back(std::move(f));
  if (lote_.size() >= kFilasPorLote) entregar();
}

void HiloEscritura::esperar() {
  entregar();
  std::unique_lock<std::mutex> l(m_);
  libre_.wait(l, [this] { return cola_.empty() && !ocupado_; });
  if (!error_.isEmpty()) throw datos::ErrorDatos(error_);
}

void HiloEscritura::entregar() {
  if (lote_.empty()) return;
  std::unique_lock<std::mutex> l(m_);
  libre_.wait(l, [this] { return cola_.size() < kLotesEnCola || !error_.isEmpty(); });
  if (!error_.isEmpty()) throw datos::ErrorDatos(error_);
  cola_.push_back(std::move(lote_));
  lote_.clear();
  l.unlock();
  hay_.notify_one();
}

void HiloEscritura::bucle() {
  std::unique_lock<std::mutex> l(m_);
  for (;;) {
    hay_.wait(l, [this] { return parar_ || !cola_.empty(); });
    if (parar_) return;
    std::vector<std::vector<Fila>> lotes;
    lotes.swap(cola_);
    ocupado_ = true;
    const bool conError = !error_.isEmpty();
    l.unlock();
    libre_.notify_all();
    QString error;
    // Tras un error no se escribe nada más: el constructor se entera en su
    // siguiente entrega o al esperar, y el informe se abandona entero.
    if (!conError) {
      try {
        for (const auto& lote : lotes)
          for (const Fila& f : lote) escribir(f);
      } catch (const datos::ErrorDatos& e) {
        error = e.mensaje();
      }
    }
    lotes.clear();
    l.lock();
    ocupado_ = false;
    if (!error.isEmpty() && error_.isEmpty()) error_ = error;
    libre_.notify_all();
  }
}

void HiloEscritura::escribir(const Fila& f) {
  auto& st = sentencias_[f.clave];
  if (!st) st = std::make_unique<datos::SentenciaDirecta>(conexion_, sql_(f.clave), manejador_);
  for (std::size_t k = 0; k < f.valores.size(); ++k)
    if (!f.saltar.test(k)) st->enlazar(static_cast<int>(k + 1), f.valores[k]);
  st->ejecutar();
}

}  // namespace informes
