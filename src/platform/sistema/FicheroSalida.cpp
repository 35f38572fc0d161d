#include "platform/sistema/FicheroSalida.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

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

namespace {

// Verdadero si el proceso `pid` existe (aunque sea de otro usuario).
bool ProcesoVivo(qint64 pid, const QFileInfo& carpeta) {
#if defined(Q_OS_UNIX)
  (void)carpeta;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
  // Sin una forma barata de preguntarlo: la de hace más de un día ya no la usa nadie.
  (void)pid;
  return carpeta.lastModified().secsTo(QDateTime::currentDateTime()) < 86400;
#endif
}

// La carpeta común, sólo si es nuestra y nadie más entra: otro usuario
// podría haberla creado antes para leer o cambiar lo que se deja dentro.
bool CarpetaPropia(const QString& ruta) {
  QDir().mkpath(ruta);
  const QFileInfo info(ruta);
  if (!info.isDir() || info.isSymLink()) return false;
#if defined(Q_OS_UNIX)
  if (info.ownerId() != ::getuid()) return false;
#endif
  return QFile::setPermissions(ruta, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Borra las carpetas «PID-XXXXXX» de procesos que ya no existen.
void LimpiarAbandonadas(const QString& comun) {
  const qint64 propio = QCoreApplication::applicationPid();
  const QFileInfoList carpetas = QDir(comun).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
  for (const QFileInfo& c : carpetas) {
    bool ok = false;
    const qint64 pid = c.fileName().section(QLatin1Char('-'), 0, 0).toLongLong(&ok);
    if (!ok || pid <= 0 || pid == propio || ProcesoVivo(pid, c)) continue;
    QDir(c.absoluteFilePath()).removeRecursively();
  }
}

}  // namespace

QString CarpetaDeTemporales() {
#if defined(Q_OS_UNIX)
  return QDir::temp().filePath(QStringLiteral("cronicas-temporales-%1").arg(::getuid()));
#else
  return QDir::temp().filePath(QStringLiteral("cronicas-temporales"));
#endif
}

CarpetaTemporal::CarpetaTemporal() {
  const QString comun = CarpetaDeTemporales();
  if (CarpetaPropia(comun)) {
    LimpiarAbandonadas(comun);
    dir_ = std::make_unique<QTemporaryDir>(
        QDir(comun).filePath(QStringLiteral("%1-XXXXXX").arg(QCoreApplication::applicationPid())));
  } else {
    dir_ = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("cronicas-XXXXXX")));
  }
}

}  // namespace sistema
