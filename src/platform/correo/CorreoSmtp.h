#pragma once
// Envío de un correo con un fichero adjunto por SMTP (libcurl): el listado
// diario sale así hacia el correo del dueño. Nada de aquí enseña ventanas; los
// fallos se avisan con la señal `error` y el que quiera los muestra.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace sistema {
class Reloj;
}

namespace correo {

// Verdadero si el sistema tiene una salida configurada hacia fuera: una ruta
// por defecto activa en la tabla IPv4 (/proc/net/route) o en la IPv6
// (/proc/net/ipv6_route) que no sea la de rechazo que Linux cuelga de "lo".
// Recibe el texto de las tablas para poder probarla con muestras.
bool HayRutaPorDefecto(const QString& rutasIPv4, const QString& rutasIPv6);

// Lo que en Windows es "el sistema dice que hay conexión a Internet"; aquí,
// que haya ruta por defecto. Cualquier fallo al mirarlo cuenta como que no.
bool HayConexionInternet();

// Valor de cabecera listo para ir tal cual: libcurl manda las cabeceras en
// crudo, así que el texto que no es ASCII va en palabras codificadas
// "=?UTF-8?B?...?=" de como mucho 75 caracteres, plegadas en varias líneas.
QByteArray CodificarCabecera(const QString& texto);

// El número de puerto que guarda el valor (número o texto con cifras, entre 1
// y 65535); nada si no guarda ninguno.
std::optional<int> PuertoNumerico(const QVariant& valor);

// Texto del fallo de envío para un código de libcurl: los de "no se llega al
// servidor", el de tiempo agotado y el de usuario rechazado tienen el suyo;
// los demás, el de libcurl con el detalle que haya dado.
QString DescripcionFallo(int codigoCurl, const QString& detalle);

}  // namespace correo

class clsCDOmail : public QObject {
  Q_OBJECT

 public:
  explicit clsCDOmail(QObject* parent = nullptr);
  ~clsCDOmail() override;

  QString servidor;
  QString para;
  QString de;
  QString Asunto;
  QString Mensaje;
  QString Adjunto;  // ruta del fichero que se adjunta; vacío, ninguno
  QVariant puerto;
  QString Usuario;
  QString PassWord;
  bool UseAuntentificacion = false;
  bool ssl = false;  // sólo cuenta con UseAuntentificacion

  // Fichero de certificados de confianza que se suma a los del sistema (un
  // servidor propio con certificado hecho en casa); vacío, sólo los del sistema.
  QString certificadosCA;
  // Puerto en el que el servidor habla TLS desde el saludo (SMTPS); con SSL en
  // cualquier otro se exige STARTTLS.
  int puertoTlsImplicito = 465;
  // Plazos del envío: el de conexión (que cubre también el saludo del
  // servidor y la entrada con la cuenta) y, tras él, lo que puede durar el
  // resto de la entrega. Pasado el total se abandona con un mensaje de tiempo
  // agotado: un servidor que acepta y calla no deja el programa esperando.
  int segundosConexion = 10;
  int segundosTransferencia = 60;
  // Si hay conexión; se cambia en las pruebas y con el ajuste que la fuerza.
  std::function<bool()> enLinea = correo::HayConexionInternet;
  // Se llama con true antes de hablar con el servidor y con false al acabar,
  // para que una ventana ponga el cursor de espera mientras tanto.
  std::function<void(bool)> esperando;
  // De dónde sale la fecha del correo; sin reloj, la del sistema.
  const sistema::Reloj* reloj = nullptr;

  // Manda el correo con lo que tengan las propiedades. Verdadero si el
  // servidor lo ha aceptado; si no, emite `error` y devuelve falso.
  bool Enviar_Backup();

  // Dirección a la que se conecta ("smtps://servidor:465", "smtp://...").
  QString direccionServidor() const;
  // Verdadero si la conexión exige pasar a TLS con STARTTLS antes de entrar.
  bool exigeStartTls() const;

 signals:
  void error(const QString& descripcion, int numero);
  void enviado();

 private:
  bool fallo(const QString& descripcion, int numero);
};
