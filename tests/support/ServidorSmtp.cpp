#include "support/ServidorSmtp.h"

#include "support/Ayudas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace prueba {

namespace {
// El primer python3 del PATH puede ser otro intérprete sin aiosmtpd.
const QString kPython = QStringLiteral("/usr/bin/python3");
}  // namespace

bool HayAiosmtpd() {
  QProcess p;
  p.start(kPython, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
  return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

quint16 PuertoLibre() {
  QTcpServer s;
  if (!s.listen(QHostAddress::LocalHost, 0)) return 0;
  return s.serverPort();
}

QString CrearCertificado(const QString& certificado, const QString& clave) {
  QProcess openssl;
  openssl.setProcessChannelMode(QProcess::MergedChannels);
  openssl.start(QStringLiteral("openssl"),
                {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=localhost", "-days", "1", "-addext",
                 "subjectAltName=DNS:localhost,IP:127.0.0.1", "-keyout", clave, "-out", certificado});
  if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
    return QStringLiteral("openssl: ") + openssl.errorString() + QLatin1Char(' ') +
           QString::fromUtf8(openssl.readAll());
  return {};
}

ServidorSmtp::ServidorSmtp(const QString& modo, const QString& certificado, const QString& clave,
                           const QString& usuario, const QString& contrasena) {
  puerto = PuertoLibre();
  QStringList args = {QStringLiteral(CRONICAS_DIR_PRUEBAS "/support/servidor_smtp.py"),
                      QStringLiteral("--modo"),
                      modo,
                      QStringLiteral("--puerto"),
                      QString::number(puerto),
                      QStringLiteral("--carpeta"),
                      buzon.path()};
  if (modo != QLatin1String("plano"))
    args << QStringLiteral("--certificado") << certificado << QStringLiteral("--clave") << clave
         << QStringLiteral("--usuario") << usuario << QStringLiteral("--contrasena") << contrasena;
  proceso.setProcessChannelMode(QProcess::MergedChannels);
  proceso.start(kPython, args);
}

ServidorSmtp::~ServidorSmtp() {
  if (proceso.state() == QProcess::NotRunning) return;
  proceso.terminate();
  if (!proceso.waitForFinished(5000)) {
    proceso.kill();
    proceso.waitForFinished(5000);
  }
}

QString ServidorSmtp::esperarListo() {
  if (puerto == 0) return QStringLiteral("sin puerto libre");
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 20000) {
    if (proceso.state() == QProcess::NotRunning)
      return QStringLiteral("el servidor se ha parado: ") + QString::fromUtf8(proceso.readAll());
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, puerto);
    if (s.waitForConnected(200)) {
      s.abort();
      return {};
    }
    QThread::msleep(50);
  }
  return QStringLiteral("el servidor no contesta: ") + QString::fromUtf8(proceso.readAll());
}

QList<QJsonObject> ServidorSmtp::recibidos() const {
  QList<QJsonObject> lista;
  const QDir d(buzon.path());
  for (const QString& f : d.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
    lista.append(QJsonDocument::fromJson(leerBytes(d.filePath(f))).object());
  return lista;
}

}  // namespace prueba
