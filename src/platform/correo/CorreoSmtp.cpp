#include "platform/correo/CorreoSmtp.h"

#include "platform/sistema/Sistema.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>
#include <QUuid>

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

#if defined(Q_OS_WIN)
#include <windows.h>
#include <wininet.h>
#endif

namespace correo {

namespace {

constexpr unsigned kRutaActiva = 0x0001;        // RTF_UP
constexpr unsigned kRutaRechazo = 0x0200;       // RTF_REJECT: "unreachable", no sale a ningún sitio
constexpr int kBytesPorPalabraCodificada = 45;  // 60 en base64 + "=?UTF-8?B?" y "?=" = 72 <= 75

QStringList campos(const QString& linea) {
  static const QRegularExpression blancos(QStringLiteral("\\s+"));
  return linea.split(blancos, Qt::SkipEmptyParts);
}

bool rutaUtil(const QString& banderasHex, const QString& interfaz) {
  bool ok = false;
  const uint banderas = banderasHex.toUInt(&ok, 16);
  return ok && (banderas & kRutaActiva) && !(banderas & kRutaRechazo) && interfaz != QLatin1String("lo");
}

}  // namespace

bool HayRutaPorDefecto(const QString& rutasIPv4, const QString& rutasIPv6) {
  // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
  for (const QString& linea : rutasIPv4.split(QLatin1Char('\n'))) {
    const QStringList c = campos(linea);
    if (c.size() < 8 || c.at(0) == QLatin1String("Iface")) continue;
    if (c.at(1) == QLatin1String("00000000") && c.at(7) == QLatin1String("00000000") && rutaUtil(c.at(3), c.at(0)))
      return true;
  }
  // destino largo_destino origen largo_origen siguiente métrica refs uso banderas interfaz
  for (const QString& linea : rutasIPv6.split(QLatin1Char('\n'))) {
    const QStringList c = campos(linea);
    if (c.size() < 10) continue;
    if (c.at(0) == QString(32, QLatin1Char('0')) && c.at(1) == QLatin1String("00") && rutaUtil(c.at(8), c.at(9)))
      return true;
  }
  return false;
}

bool HayConexionInternet() {
#if defined(Q_OS_WIN)
  DWORD estado = 0;
  return InternetGetConnectedState(&estado, 0) != FALSE;
#elif defined(Q_OS_LINUX)
  const auto leer = [](const char* ruta) {
    QFile f(QString::fromLatin1(ruta));
    return f.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromLatin1(f.readAll()) : QString();
  };
  return HayRutaPorDefecto(leer("/proc/net/route"), leer("/proc/net/ipv6_route"));
#else
  // Sin tabla de rutas a mano: basta una interfaz que no sea la local, activa
  // y con dirección.
  const auto interfaces = QNetworkInterface::allInterfaces();
  for (const QNetworkInterface& i : interfaces) {
    const auto f = i.flags();
    if ((f & QNetworkInterface::IsUp) && (f & QNetworkInterface::IsRunning) && !(f & QNetworkInterface::IsLoopBack) &&
        !i.addressEntries().isEmpty())
      return true;
  }
  return false;
#endif
}

QByteArray CodificarCabecera(const QString& texto) {
  // Un salto de línea dentro del valor partiría la cabecera en dos.
  QString limpio = texto;
  for (QChar& c : limpio)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = QLatin1Char(' ');

  bool ascii = !limpio.contains(QLatin1String("=?"));
  for (const QChar c : limpio) ascii = ascii && c.unicode() < 0x80;
  if (ascii) return limpio.toLatin1();

  const QByteArray utf8 = limpio.toUtf8();
  QByteArray salida;
  qsizetype desde = 0;
  while (desde < utf8.size()) {
    qsizetype hasta = std::min<qsizetype>(desde + kBytesPorPalabraCodificada, utf8.size());
    // Una letra no se parte entre dos palabras: cada una se descodifica sola.
    while (hasta < utf8.size() && hasta > desde && (static_cast<uchar>(utf8.at(hasta)) & 0xC0) == 0x80) --hasta;
    if (!salida.isEmpty()) salida += "\r\n ";
    salida += "=?UTF-8?B?" + utf8.mid(desde, hasta - desde).toBase64() + "?=";
    desde = hasta;
  }
  return salida;
}

std::optional<int> PuertoNumerico(const QVariant& valor) {
  qint64 n = 0;
  switch (valor.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray: {
      bool ok = false;
      n = valor.toString().trimmed().toLongLong(&ok, 10);
      if (!ok) return std::nullopt;
      break;
    }
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
      n = valor.toLongLong();
      break;
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
      const qulonglong u = valor.toULongLong();
      if (u > 65535) return std::nullopt;
      n = static_cast<qint64>(u);
      break;
    }
    case QMetaType::Float:
    case QMetaType::Double: {
      const double d = valor.toDouble();
      if (!std::isfinite(d) || d != std::floor(d) || d < 1 || d > 65535) return std::nullopt;
      n = static_cast<qint64>(d);
      break;
    }
    default:
      return std::nullopt;
  }
  if (n < 1 || n > 65535) return std::nullopt;
  return static_cast<int>(n);
}

QString DescripcionFallo(int codigoCurl, const QString& detalle) {
  switch (codigoCurl) {
    case CURLE_URL_MALFORMAT:  // un nombre de servidor que no es un nombre
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
      return QStringLiteral("Posible error : nombre del Servidor incorrecto o número de puerto incorrecto");
    case CURLE_OPERATION_TIMEDOUT:
      // El servidor puede estar bien escrito y sólo tardar: decir que el
      // nombre está mal mandaría a buscar el fallo donde no está.
      return QStringLiteral("Tiempo agotado: el servidor de correo no respondió a tiempo");
    case CURLE_LOGIN_DENIED:
      return QStringLiteral("Posible error : error en la el nombre de usuario, o en el password ");
    default:
      break;
  }
  QString texto = QString::fromUtf8(curl_easy_strerror(static_cast<CURLcode>(codigoCurl)));
  const QString d = detalle.trimmed();
  if (!d.isEmpty() && d != texto) texto += QStringLiteral(": ") + d;
  return texto;
}

}  // namespace correo

namespace {

struct BorrarCurl {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct BorrarMime {
  void operator()(curl_mime* m) const { curl_mime_free(m); }
};
struct BorrarLista {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using Curl = std::unique_ptr<CURL, BorrarCurl>;
using Mime = std::unique_ptr<curl_mime, BorrarMime>;
using Lista = std::unique_ptr<curl_slist, BorrarLista>;

// El momento en que se abandona el envío.
struct Plazo {
  std::chrono::steady_clock::time_point limite;
  bool agotado = false;
};

int VigilarPlazo(void* datos, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* plazo = static_cast<Plazo*>(datos);
  if (std::chrono::steady_clock::now() < plazo->limite) return 0;
  plazo->agotado = true;
  return 1;  // libcurl lo deja con CURLE_ABORTED_BY_CALLBACK
}

void IniciarCurl() {
  // curl_global_init no se puede llamar a la vez desde dos hilos; la
  // inicialización de una variable estática local sí es segura.
  static const CURLcode iniciado = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)iniciado;
}

// Añade una línea a la lista; false si libcurl se ha quedado sin memoria.
bool Anadir(Lista& lista, const QByteArray& linea) {
  curl_slist* nueva = curl_slist_append(lista.get(), linea.constData());
  if (!nueva) return false;
  (void)lista.release();
  lista.reset(nueva);
  return true;
}

QString SinSaltos(QString texto) {
  texto.replace(QLatin1Char('\r'), QLatin1Char(' '));
  texto.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return texto.trimmed();
}

// "Bar Pepe <caja@bar.es>" o "caja@bar.es" → "caja@bar.es".
QString DireccionSola(const QString& texto) {
  const qsizetype abre = texto.lastIndexOf(QLatin1Char('<'));
  const qsizetype cierra = texto.lastIndexOf(QLatin1Char('>'));
  if (abre >= 0 && cierra > abre) return texto.mid(abre + 1, cierra - abre - 1).trimmed();
  return texto.trimmed();
}

// El campo del destinatario admite varias direcciones separadas por ";" o ",",
// como lo escribe la gente en los programas de correo.
QStringList Destinatarios(const QString& para) {
  static const QRegularExpression separador(QStringLiteral("[;,]"));
  QStringList lista;
  for (const QString& d : SinSaltos(para).split(separador, Qt::SkipEmptyParts))
    if (!d.trimmed().isEmpty()) lista.append(d.trimmed());
  return lista;
}

// El nombre que acompaña a la dirección puede llevar eñes; la dirección no se toca.
QByteArray CabeceraDireccion(const QString& texto) {
  const qsizetype abre = texto.lastIndexOf(QLatin1Char('<'));
  if (abre <= 0 || DireccionSola(texto) == texto.trimmed()) return texto.toUtf8();
  QString nombre = texto.left(abre).trimmed();
  if (nombre.size() >= 2 && nombre.startsWith(QLatin1Char('"')) && nombre.endsWith(QLatin1Char('"')))
    nombre = nombre.mid(1, nombre.size() - 2);
  const QByteArray direccion = '<' + DireccionSola(texto).toUtf8() + '>';
  if (nombre.isEmpty()) return direccion;
  QByteArray cabecera = correo::CodificarCabecera(nombre);
  static const QRegularExpression especiales(QStringLiteral("[()<>\\[\\]:;@\\\\,.\"]"));
  if (!cabecera.startsWith("=?") && QString::fromLatin1(cabecera).contains(especiales)) {
    // "Bar Pepe, S.L." sin comillas serían dos direcciones.
    cabecera.replace('\\', "\\\\").replace('"', "\\\"");
    cabecera = '"' + cabecera + '"';
  }
  return cabecera + ' ' + direccion;
}

QByteArray LineasCrLf(const QString& texto) {
  // El cuerpo va en quoted-printable, que sólo entiende CRLF como fin de línea.
  QString t = texto;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return t.toUtf8();
}

QByteArray DisposicionAdjunto(const QString& nombre) {
  // Un nombre con eñes o tildes va en las dos formas: la de RFC 2231, que es
  // la buena, y la de palabra codificada entre comillas, que es la que leen
  // los programas de correo antiguos.
  const QByteArray utf8 = nombre.toUtf8();
  return "Content-Disposition: attachment; filename=\"=?UTF-8?B?" + utf8.toBase64() + "?=\"; filename*=UTF-8''" +
         utf8.toPercentEncoding();
}

struct AvisoEspera {
  const std::function<void(bool)>& esperando;
  explicit AvisoEspera(const std::function<void(bool)>& e) : esperando(e) {
    if (esperando) esperando(true);
  }
  ~AvisoEspera() {
    if (esperando) esperando(false);
  }
  AvisoEspera(const AvisoEspera&) = delete;
  AvisoEspera& operator=(const AvisoEspera&) = delete;
};

}  // namespace

clsCDOmail::clsCDOmail(QObject* parent) : QObject(parent) {}

clsCDOmail::~clsCDOmail() = default;

bool clsCDOmail::fallo(const QString& descripcion, int numero) {
  emit error(descripcion, numero);
  return false;
}

bool clsCDOmail::exigeStartTls() const {
  return UseAuntentificacion && ssl && correo::PuertoNumerico(puerto) != puertoTlsImplicito;
}

QString clsCDOmail::direccionServidor() const {
  const auto numero = correo::PuertoNumerico(puerto);
  const bool implicito = UseAuntentificacion && ssl && numero == puertoTlsImplicito;
  QString host = servidor.trimmed();
  if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('['))) host = QLatin1Char('[') + host + ']';
  QString url = (implicito ? QStringLiteral("smtps://") : QStringLiteral("smtp://")) + host;
  if (numero) url += QLatin1Char(':') + QString::number(*numero);
  return url;
}

bool clsCDOmail::Enviar_Backup() {
  if (!(enLinea ? enLinea() : correo::HayConexionInternet()))
    return fallo(QStringLiteral("No se puede enviar el correo. Verificar la conexión a internet si está disponible"),
                 0);
  if (!correo::PuertoNumerico(puerto)) return fallo(QStringLiteral("No se ha indicado el puerto del servidor"), 0);

  IniciarCurl();
  // Las listas y el MIME se declaran antes que el manejador: libcurl los usa
  // hasta que el manejador se limpia, así que tienen que morir después.
  Lista rcpt, cabeceras;
  Mime mime;
  Curl curl(curl_easy_init());
  if (!curl) return fallo(correo::DescripcionFallo(CURLE_FAILED_INIT, {}), CURLE_FAILED_INIT);
  CURL* c = curl.get();
  char detalle[CURL_ERROR_SIZE] = {};

  const QByteArray url = direccionServidor().toUtf8();
  curl_easy_setopt(c, CURLOPT_URL, url.constData());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
  // En SMTP el plazo de conexión de libcurl cubre también el saludo y la
  // entrada. El total no le basta: la espera de la respuesta al final del
  // DATA sólo mira el plazo de respuesta del servidor (dos minutos por
  // defecto). El aviso de progreso, que libcurl llama también en esa espera,
  // corta en el total.
  const long conexion = std::max(1, segundosConexion);
  const long total = conexion + std::max(1, segundosTransferencia);
  Plazo plazo{std::chrono::steady_clock::now() + std::chrono::seconds(total)};
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, conexion);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, total);
  curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, total);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, VigilarPlazo);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &plazo);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detalle);

  const QByteArray usuario = Usuario.toUtf8();
  const QByteArray clave = PassWord.toUtf8();
  if (UseAuntentificacion) {
    curl_easy_setopt(c, CURLOPT_USERNAME, usuario.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, clave.constData());
    if (exigeStartTls()) curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
  }
  // Con un fichero propio libcurl sigue leyendo la carpeta de certificados
  // del sistema, así que los dos valen.
  const QByteArray ca = QFile::encodeName(certificadosCA);
  if (!certificadosCA.isEmpty()) curl_easy_setopt(c, CURLOPT_CAINFO, ca.constData());

  // Sobre y cabeceras.
  const QString remitente = SinSaltos(de);
  const QByteArray sobreRemitente = '<' + DireccionSola(remitente).toUtf8() + '>';
  curl_easy_setopt(c, CURLOPT_MAIL_FROM, sobreRemitente.constData());
  const QStringList destinos = Destinatarios(para);
  for (const QString& d : destinos)
    if (!Anadir(rcpt, '<' + DireccionSola(d).toUtf8() + '>'))
      return fallo(correo::DescripcionFallo(CURLE_OUT_OF_MEMORY, {}), CURLE_OUT_OF_MEMORY);
  curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt.get());

  QByteArray para8;
  for (const QString& d : destinos) para8 += (para8.isEmpty() ? "" : ", ") + CabeceraDireccion(d);
  const QDateTime momento = reloj ? reloj->ahora() : QDateTime::currentDateTime();
  QString dominio = DireccionSola(remitente).section(QLatin1Char('@'), 1).trimmed();
  if (dominio.isEmpty()) dominio = QSysInfo::machineHostName();
  if (dominio.isEmpty()) dominio = QStringLiteral("localhost");
  const QByteArray lineas[] = {
      "Date: " + momento.toString(Qt::RFC2822Date).toLatin1(),
      "From: " + CabeceraDireccion(remitente),
      "To: " + para8,
      "Subject: " + correo::CodificarCabecera(Asunto),
      "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' + dominio.toUtf8() + '>',
  };
  for (const QByteArray& l : lineas)
    if (!Anadir(cabeceras, l)) return fallo(correo::DescripcionFallo(CURLE_OUT_OF_MEMORY, {}), CURLE_OUT_OF_MEMORY);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, cabeceras.get());

  mime.reset(curl_mime_init(c));
  if (!mime) return fallo(correo::DescripcionFallo(CURLE_OUT_OF_MEMORY, {}), CURLE_OUT_OF_MEMORY);
  curl_mimepart* texto = curl_mime_addpart(mime.get());
  const QByteArray cuerpo = LineasCrLf(Mensaje);
  curl_mime_data(texto, cuerpo.constData(), static_cast<size_t>(cuerpo.size()));
  curl_mime_type(texto, "text/plain; charset=UTF-8");
  curl_mime_encoder(texto, "quoted-printable");

  if (!Adjunto.isEmpty()) {
    const QFileInfo info(Adjunto);
    if (!info.isFile())
      return fallo(QStringLiteral("No se ha encontrado el archivo en la siguiente ruta: ") + Adjunto, 0);
    curl_mimepart* adjunto = curl_mime_addpart(mime.get());
    const QByteArray ruta = QFile::encodeName(info.absoluteFilePath());
    if (curl_mime_filedata(adjunto, ruta.constData()) != CURLE_OK)
      return fallo(QStringLiteral("No se ha encontrado el archivo en la siguiente ruta: ") + Adjunto, 0);
    const QString nombre = info.fileName();
    bool ascii = true;
    for (const QChar ch : nombre) ascii = ascii && ch.unicode() >= 0x20 && ch.unicode() < 0x7f;
    if (ascii) {
      curl_mime_filename(adjunto, nombre.toLatin1().constData());
    } else {
      Lista disposicion;
      if (!Anadir(disposicion, DisposicionAdjunto(nombre)))
        return fallo(correo::DescripcionFallo(CURLE_OUT_OF_MEMORY, {}), CURLE_OUT_OF_MEMORY);
      curl_mime_headers(adjunto, disposicion.release(), 1);
    }
    const QMimeType tipo = QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    curl_mime_type(adjunto, tipo.isValid() ? tipo.name().toLatin1().constData() : "application/octet-stream");
    curl_mime_encoder(adjunto, "base64");
  }
  curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());

  CURLcode resultado = CURLE_OK;
  {
    const AvisoEspera espera(esperando);
    resultado = curl_easy_perform(c);
  }
  if (resultado == CURLE_OPERATION_TIMEDOUT || (resultado == CURLE_ABORTED_BY_CALLBACK && plazo.agotado)) {
    resultado = CURLE_OPERATION_TIMEDOUT;
    // Aceptó la conexión y luego calló (sin saludo, o a media entrega), o ni
    // la aceptó: las dos cosas se dicen distintas.
    curl_off_t conectado = 0;
    curl_easy_getinfo(c, CURLINFO_CONNECT_TIME_T, &conectado);
    double total = 0;
    curl_easy_getinfo(c, CURLINFO_TOTAL_TIME, &total);
    const QString donde = direccionServidor();
    const QString texto =
        conectado > 0 ? QStringLiteral(
                            "Tiempo agotado: el servidor de correo %1 aceptó la conexión pero dejó de responder; "
                            "se abandonó el envío a los %2 segundos")
                            .arg(donde)
                            .arg(qRound(total))
                      : QStringLiteral("Tiempo agotado: el servidor de correo %1 no aceptó la conexión en %2 segundos")
                            .arg(donde)
                            .arg(conexion);
    return fallo(texto, static_cast<int>(resultado));
  }
  if (resultado != CURLE_OK) {
    const int numero = static_cast<int>(resultado);
    return fallo(correo::DescripcionFallo(numero, QString::fromUtf8(detalle)), numero);
  }
  emit enviado();
  return true;
}
