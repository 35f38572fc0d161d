#pragma once
// Un servidor SMTP de verdad para las pruebas, en 127.0.0.1 y un puerto
// libre: sin cifrar, con STARTTLS o con TLS desde el saludo, con un
// certificado hecho en el momento. Cada correo que recibe queda en su buzón
// como un JSON ya descodificado (asunto, cuerpo, adjuntos).

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace prueba {

// Verdadero si /usr/bin/python3 tiene aiosmtpd.
bool HayAiosmtpd();

// Un puerto de 127.0.0.1 en el que no escucha nadie (salvo mala suerte).
quint16 PuertoLibre();

// Certificado propio para localhost y 127.0.0.1; vacío si salió bien, si no
// lo que dijo openssl.
QString CrearCertificado(const QString& certificado, const QString& clave);

class ServidorSmtp {
 public:
  // `modo`: "plano", "starttls" o "smtps"; los dos últimos piden usuario y
  // contraseña.
  ServidorSmtp(const QString& modo, const QString& certificado = {}, const QString& clave = {},
               const QString& usuario = {}, const QString& contrasena = {});
  ~ServidorSmtp();
  ServidorSmtp(const ServidorSmtp&) = delete;
  ServidorSmtp& operator=(const ServidorSmtp&) = delete;

  // Espera a que el puerto acepte conexiones; si el servidor muere antes,
  // devuelve lo que haya dicho. Vacío si está listo.
  QString esperarListo();
  QList<QJsonObject> recibidos() const;

  quint16 puerto = 0;
  QTemporaryDir buzon;
  QProcess proceso;
};

}  // namespace prueba
