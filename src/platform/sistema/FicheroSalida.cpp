#include "platform/sistema/FicheroSalida.h"

#include <QDir>
#include <QFileInfo>

namespace sistema {

FicheroSalida::FicheroSalida(QString ruta) : ruta_(std::move(ruta)) {}

bool FicheroSalida::abrir() {
  const QFileInfo destino(ruta_);
  if (destino.isDir()) {
    error_ = QStringLiteral("%1 es una carpeta").arg(QDir::toNativeSeparators(ruta_));
    return false;
  }
  if (destino.exists() && !destino.isFile()) {
    enSuSitio_ = std::make_unique<QFile>(ruta_);
    if (enSuSitio_->open(QIODevice::WriteOnly)) return true;
    error_ = enSuSitio_->errorString();
    enSuSitio_.reset();
    return false;
  }
  const QString carpeta = destino.absolutePath();
  if (!QFileInfo(carpeta).isDir()) {
    error_ = QStringLiteral("la carpeta %1 no existe").arg(QDir::toNativeSeparators(carpeta));
    return false;
  }
  // QSaveFile da al fichero nuevo los permisos de la umask y al que ya
  // existía los que tenía, y sigue los enlaces simbólicos hasta el fichero.
  aparte_ = std::make_unique<QSaveFile>(ruta_);
  if (aparte_->open(QIODevice::WriteOnly)) return true;
  error_ = aparte_->errorString();
  aparte_.reset();
  return false;
}

QIODevice& FicheroSalida::dispositivo() {
  if (aparte_) return *aparte_;
  return *enSuSitio_;
}

bool FicheroSalida::confirmar() {
  if (aparte_) {
    const bool bien = aparte_->commit();
    if (!bien) error_ = aparte_->errorString();
    aparte_.reset();
    return bien;
  }
  if (!enSuSitio_) return false;
  const bool bien = enSuSitio_->flush() && enSuSitio_->error() == QFileDevice::NoError;
  if (!bien) error_ = enSuSitio_->errorString();
  enSuSitio_->close();
  enSuSitio_.reset();
  return bien;
}

}  // namespace sistema
