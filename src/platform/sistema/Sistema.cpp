#include "platform/sistema/Sistema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QProcess>

#include <cstdlib>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <sys/statvfs.h>
#include <unistd.h>
#if defined(Q_OS_LINUX)
#include <sys/vfs.h>
#endif
#endif

namespace sistema {

std::optional<qint32> serieVolumenSistema() {
#if defined(Q_OS_WIN)
  DWORD serie = 0;
  if (!GetVolumeInformationW(L"C:\\", nullptr, 0, &serie, nullptr, nullptr, nullptr, 0)) return std::nullopt;
  return static_cast<qint32>(serie);
#else
  // En Linux el equivalente es el identificador del sistema de ficheros raíz.
  struct statvfs st {};
  if (statvfs("/", &st) != 0) return std::nullopt;
  return static_cast<qint32>(static_cast<quint32>(st.f_fsid & 0xffffffffu));
#endif
}

QString identificadorDesdeSerie(std::optional<qint32> serie) {
  if (!serie) return {};
  const qint64 v = std::llabs(static_cast<qint64>(*serie));
  return QString::number(v);
}

bool enSistemaDeRed(const QString& ruta) {
#if defined(Q_OS_LINUX)
  QFileInfo info(ruta);
  QString r = info.exists() ? info.absoluteFilePath() : info.absolutePath();
  struct statfs st {};
  if (statfs(QFile::encodeName(r).constData(), &st) != 0) return false;
  switch (static_cast<unsigned long>(st.f_type)) {
    case 0x6969UL:      // NFS
    case 0x517BUL:      // SMB
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
    case 0x564CUL:      // NCP
    case 0x01021997UL:  // 9P
    case 0x00C36400UL:  // Ceph
    case 0x5346414FUL:  // AFS
    case 0x73757245UL:  // Coda
    case 0x01161970UL:  // GFS2
    case 0x65735546UL:  // FUSE: sshfs y compañía, casi siempre remotos
      return true;
    default:
      return false;
  }
#elif defined(Q_OS_WIN)
  const QString raiz = QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath()).left(3);
  if (raiz.startsWith(QLatin1String("\\\\"))) return true;
  return GetDriveTypeW(reinterpret_cast<LPCWSTR>(raiz.utf16())) == DRIVE_REMOTE;
#else
  Q_UNUSED(ruta);
  return false;
#endif
}

bool esServidorLocal(const QString& servidor) {
  const QString s = servidor.trimmed();
  if (s.isEmpty() || s.startsWith(QLatin1Char('/'))) return true;  // socket local
  if (s.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) return true;
  if (s.compare(QHostInfo::localHostName(), Qt::CaseInsensitive) == 0) return true;
  const QHostAddress dir(s);
  if (dir.isNull()) return false;
  if (dir.isLoopback()) return true;
  const auto propias = QNetworkInterface::allAddresses();
  for (const QHostAddress& p : propias)
    if (p.isEqual(dir)) return true;
  return false;
}

bool ficheroExiste(const QString& ruta) {
  const QFileInfo info(ruta);
  return !ruta.isEmpty() && info.exists() && info.isFile();
}

QString rutaProgramaHermano(const QString& carpetaPrograma, const QString& nombre) {
  const QDir carpeta(carpetaPrograma);
  const QString exacta = carpeta.filePath(nombre);
#if !defined(Q_OS_WIN)
  if (!ficheroExiste(exacta) && nombre.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
    const QString sinExt = carpeta.filePath(nombre.left(nombre.size() - 4).toLower());
    if (ficheroExiste(sinExt)) return sinExt;
  }
#endif
  return exacta;
}

void Lanzador::lanzar(const QString& carpetaPrograma, const QString& nombre) {
  QDir::setCurrent(carpetaPrograma);
  QProcess::startDetached(rutaProgramaHermano(carpetaPrograma, nombre), {}, carpetaPrograma);
  QCoreApplication::processEvents();
}

void PrepararCarpetaDeEjecucion() {
#if defined(Q_OS_UNIX)
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  const QString carpeta = QDir::temp().filePath(QStringLiteral("cronicas-ejecucion-%1").arg(getuid()));
  if (!QDir().mkpath(carpeta)) return;
  // Qt sólo la acepta si es nuestra y nadie más entra.
  if (!QFile::setPermissions(carpeta, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) return;
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(carpeta));
#endif
}

bool HayPantalla() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
  return true;
#endif
}

}  // namespace sistema
