// Correo del listado: la prueba de conexión, los fallos que se detectan antes
// de hablar con nadie, la elección del proveedor y el envío contra un servidor
// SMTP de verdad (aiosmtpd) sin cifrar, con STARTTLS y con TLS desde el saludo.
// El listado de ventas de punta a punta, en test_exportar_enviar.
// Lo recibido lo descodifica el módulo email de Python, no nuestro código.

#include "platform/correo/CorreoSmtp.h"
#include "registro/EnviarInforme.h"
#include "support/Ayudas.h"
#include "support/ImprimirQt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeDatabase>
#include <QProcess>
#include <QStringDecoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include "support/ServidorSmtp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <memory>

namespace {

const QString kSinConexion =
    QStringLiteral("No se puede enviar el correo. Verificar la conexión a internet si está disponible");
const QString kSinPuerto = QStringLiteral("No se ha indicado el puerto del servidor");
const QString kSinAdjunto = QStringLiteral("No se ha encontrado el archivo en la siguiente ruta: ");
const QString kServidorMal =
    QStringLiteral("Posible error : nombre del Servidor incorrecto o número de puerto incorrecto");
const QString kEntradaMal = QStringLiteral("Posible error : error en la el nombre de usuario, o en el password ");

const QString kUsuario = QStringLiteral("caja.bar@gmail.com");
const QString kClave = QStringLiteral("clave-de-aplicación");

// Lo que el correo cuenta por sus señales y por el aviso de espera.
struct Observador {
  QList<QPair<QString, int>> errores;
  int enviados = 0;
  QList<bool> esperas;

  void vigilar(clsCDOmail& c) {
    QObject::connect(&c, &clsCDOmail::error, [this](const QString& t, int n) { errores.append({t, n}); });
    QObject::connect(&c, &clsCDOmail::enviado, [this] { ++enviados; });
    c.esperando = [this](bool b) { esperas.append(b); };
  }
};

// ---------------------------------------------------------------------------
// Ruta por defecto

const char* kRutasConSalida =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
    "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
    "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
const char* kRutasSoloLocal =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
    "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
const char* kRutasIPv6SinSalida =
    "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 00000000000000000000000000000000 "
    "00000100 00000002 00000000 00000001     eth0\n"
    "00000000000000000000000000000001 80 00000000000000000000000000000000 00 00000000000000000000000000000000 "
    "00000000 00000002 00000000 80200001       lo\n"
    // La ruta de rechazo que Linux pone siempre en "lo" no es una salida.
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 00000000000000000000000000000000 "
    "ffffffff 00000001 00000000 00200200       lo\n";
const char* kRutasIPv6ConSalida =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 fd000000000000000000000000000001 "
    "00000400 00000003 00000000 00000003     eth0\n";

TEST(RutaPorDefecto, SoloUnaRutaPorDefectoActivaFueraDeLoCuentaComoConexion) {
  using correo::HayRutaPorDefecto;
  EXPECT_TRUE(HayRutaPorDefecto(kRutasConSalida, kRutasIPv6SinSalida));
  EXPECT_FALSE(HayRutaPorDefecto(kRutasSoloLocal, kRutasIPv6SinSalida));
  // Sólo IPv6 también vale.
  EXPECT_TRUE(HayRutaPorDefecto(kRutasSoloLocal, kRutasIPv6ConSalida));
  EXPECT_TRUE(HayRutaPorDefecto("", kRutasIPv6ConSalida));

  // Ruta por defecto caída (sin la bandera de activa).
  EXPECT_FALSE(
      HayRutaPorDefecto("Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n"
                        "eth0\t00000000\t010200C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n",
                        ""));
  // "ip route add unreachable default": activa, pero de rechazo.
  EXPECT_FALSE(HayRutaPorDefecto("*\t00000000\t00000000\t0201\t0\t0\t0\t00000000\t0\t0\t0\n", ""));
  // Destino 0.0.0.0 con máscara: no es la ruta por defecto.
  EXPECT_FALSE(HayRutaPorDefecto("eth0\t00000000\t00000000\t0001\t0\t0\t0\t000000FF\t0\t0\t0\n", ""));
  // IPv6 por defecto caída, o de un prefijo que no es ::/0.
  EXPECT_FALSE(HayRutaPorDefecto("",
                                 "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                                 "fd000000000000000000000000000001 00000400 00000003 00000000 00000002     eth0\n"));
  EXPECT_FALSE(HayRutaPorDefecto("",
                                 "00000000000000000000000000000000 08 00000000000000000000000000000000 00 "
                                 "fd000000000000000000000000000001 00000400 00000003 00000000 00000003     eth0\n"));
  // Nada que leer, o basura: sin conexión.
  EXPECT_FALSE(HayRutaPorDefecto("", ""));
  EXPECT_FALSE(HayRutaPorDefecto("no es una tabla\n00000000", "tampoco 00"));
}

// ---------------------------------------------------------------------------
// Lo que se comprueba antes de la red

TEST(PuertoDelServidor, SoloNumerosQueSonPuertos) {
  using correo::PuertoNumerico;
  EXPECT_EQ(PuertoNumerico(465), 465);
  EXPECT_EQ(PuertoNumerico(QStringLiteral("587")), 587);
  EXPECT_EQ(PuertoNumerico(QStringLiteral(" 25 ")), 25);
  EXPECT_EQ(PuertoNumerico(25.0), 25);
  EXPECT_EQ(PuertoNumerico(QVariant::fromValue<quint16>(65535)), 65535);
  for (const QVariant& v :
       {QVariant(), QVariant(QString()), QVariant(QStringLiteral("abc")), QVariant(QStringLiteral("25x")),
        QVariant(true), QVariant(0), QVariant(-25), QVariant(70000), QVariant(25.5), QVariant(QDate(2026, 3, 5))})
    EXPECT_FALSE(PuertoNumerico(v).has_value()) << v.toString().toStdString();
}

TEST(TextoDelFallo, LosDeNoLlegarYLosDeEntradaTienenElSuyoLosDemasElDeLibcurl) {
  for (const int codigo : {6, 7}) EXPECT_EQ(correo::DescripcionFallo(codigo, "lo que sea"), kServidorMal) << codigo;
  // Un servidor lento no está mal escrito.
  EXPECT_TRUE(correo::DescripcionFallo(28, "lo que sea").startsWith(QStringLiteral("Tiempo agotado")));
  EXPECT_EQ(correo::DescripcionFallo(67, "535 Authentication credentials invalid"), kEntradaMal);
  // 55: el servidor cortó al mandar; el texto de libcurl lleva el detalle.
  const QString otro = correo::DescripcionFallo(55, "MAIL failed: 530");
  EXPECT_TRUE(otro.endsWith(": MAIL failed: 530")) << otro.toStdString();
  EXPECT_GT(otro.size(), QStringLiteral(": MAIL failed: 530").size());
  EXPECT_FALSE(correo::DescripcionFallo(55, "").endsWith(": "));
}

TEST(CabeceraCodificada, AsciiTalCualYLoDemasEnPalabrasQueSeLeenSolas) {
  EXPECT_EQ(correo::CodificarCabecera("Bar Pepe Informe"), QByteArray("Bar Pepe Informe"));
  // Un salto de línea metido en el asunto no puede abrir otra cabecera.
  EXPECT_EQ(correo::CodificarCabecera("uno\r\nBcc: otro@x.es"), QByteArray("uno  Bcc: otro@x.es"));

  const QString largo = QStringLiteral("Café y caña en el Peñón de Ifach — resumen del día, con €, ñ y 😀 en medio");
  const QByteArray c = correo::CodificarCabecera(largo);
  QString reconstruido;
  const QList<QByteArray> lineas = c.split('\n');
  ASSERT_GT(lineas.size(), 1) << "un asunto así de largo se pliega";
  for (int i = 0; i < lineas.size(); ++i) {
    QByteArray palabra = lineas.at(i);
    if (palabra.endsWith('\r')) palabra.chop(1);
    if (i > 0) {
      ASSERT_TRUE(palabra.startsWith(' ')) << "la continuación empieza con blanco";
      palabra = palabra.mid(1);
    }
    EXPECT_LE(palabra.size(), 75);
    ASSERT_TRUE(palabra.startsWith("=?UTF-8?B?") && palabra.endsWith("?=")) << palabra.toStdString();
    // Cada palabra es UTF-8 completo por sí misma: no se parte una letra.
    const QByteArray bytes = QByteArray::fromBase64(palabra.mid(10, palabra.size() - 12));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString trozo = utf8(bytes);
    EXPECT_FALSE(utf8.hasError()) << palabra.toStdString();
    reconstruido += trozo;
  }
  EXPECT_EQ(reconstruido, largo);
  // Un texto ASCII que parece una palabra codificada también se codifica.
  EXPECT_TRUE(correo::CodificarCabecera("=?UTF-8?B?SG9sYQ==?=").startsWith("=?UTF-8?B?"));
}

class EnvioSinServidor : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(escucha.listen(QHostAddress::LocalHost, 0));
    correo.servidor = QStringLiteral("127.0.0.1");
    correo.puerto = escucha.serverPort();
    correo.para = QStringLiteral("dueno@bar.es");
    correo.de = kUsuario;
    correo.Asunto = QStringLiteral("Informe");
    correo.Mensaje = QStringLiteral("Hola");
    correo.enLinea = [] { return true; };
    obs.vigilar(correo);
  }
  // Verdadero si alguien ha llegado a conectar con el puerto que escucha.
  bool HuboConexion() { return escucha.waitForNewConnection(300) || escucha.hasPendingConnections(); }

  QTcpServer escucha;
  clsCDOmail correo;
  Observador obs;
};

// Sin conexión ni se mira el puerto; un puerto que no es un número o un
// adjunto que no está se detectan antes de conectar.
TEST_F(EnvioSinServidor, LoQueFallaAntesDeLaRedNoConecta) {
  QTemporaryDir dir;
  const auto enLinea = correo.enLinea;
  const struct {
    const char* que;
    std::function<void()> preparar;
    QString error;
  } casos[] = {
      {"sin conexión",
       [&] {
         correo.enLinea = [] { return false; };
         correo.puerto = QStringLiteral("no es un puerto");
       },
       kSinConexion},
      {"puerto nulo", [&] { correo.puerto = QVariant(); }, kSinPuerto},
      {"puerto de letras", [&] { correo.puerto = QStringLiteral("smtp"); }, kSinPuerto},
      {"puerto vacío", [&] { correo.puerto = QString(); }, kSinPuerto},
      {"adjunto que falta", [&] { correo.Adjunto = dir.filePath("falta.xlsx"); }, kSinAdjunto},
      {"adjunto que es una carpeta", [&] { correo.Adjunto = dir.path(); }, kSinAdjunto},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.que);
    const QVariant puerto = correo.puerto;
    obs.errores.clear();
    c.preparar();
    EXPECT_FALSE(correo.Enviar_Backup());
    ASSERT_EQ(obs.errores.size(), 1);
    EXPECT_TRUE(obs.errores.at(0).first.startsWith(c.error)) << obs.errores.at(0).first.toStdString();
    EXPECT_TRUE(obs.errores.at(0).first.contains(correo.Adjunto)) << "nombra el adjunto que falta";
    EXPECT_EQ(obs.errores.at(0).second, 0);
    correo.enLinea = enLinea;
    correo.puerto = puerto;
    correo.Adjunto.clear();
  }
  EXPECT_EQ(obs.enviados, 0);
  EXPECT_TRUE(obs.esperas.isEmpty());
  EXPECT_FALSE(HuboConexion());
}

TEST_F(EnvioSinServidor, NadieEscuchandoEsServidorOPuertoIncorrectoYNoEsperaAlPlazo) {
  const quint16 puerto = escucha.serverPort();
  escucha.close();
  correo.puerto = puerto;
  QElapsedTimer reloj;
  reloj.start();
  EXPECT_FALSE(correo.Enviar_Backup());
  EXPECT_LT(reloj.elapsed(), 5000) << "un puerto cerrado contesta en el acto; no hay que esperar los 10 s";
  ASSERT_EQ(obs.errores.size(), 1);
  EXPECT_EQ(obs.errores.at(0).first, kServidorMal);
  EXPECT_EQ(obs.errores.at(0).second, 7);
  EXPECT_EQ(obs.esperas, (QList<bool>{true, false}));
  EXPECT_EQ(obs.enviados, 0);
}

// Acepta la conexión y no dice nada: ni el saludo.
TEST_F(EnvioSinServidor, UnServidorQueAceptaYCallaAgotaElTiempoConSuMensaje) {
  correo.segundosConexion = 1;
  correo.segundosTransferencia = 1;
  QElapsedTimer reloj;
  reloj.start();
  EXPECT_FALSE(correo.Enviar_Backup());
  EXPECT_LT(reloj.elapsed(), 8000) << "el plazo es de 1 + 1 segundos";
  ASSERT_EQ(obs.errores.size(), 1);
  EXPECT_TRUE(obs.errores.at(0).first.startsWith(
      QStringLiteral("Tiempo agotado: el servidor de correo smtp://127.0.0.1:%1 aceptó la conexión pero dejó de "
                     "responder")
          .arg(escucha.serverPort())))
      << obs.errores.at(0).first.toStdString();
  EXPECT_EQ(obs.errores.at(0).second, 28);
  EXPECT_EQ(obs.esperas, (QList<bool>{true, false}));
  EXPECT_TRUE(HuboConexion());
}

// Contesta hasta el DATA y, con el mensaje ya mandado, calla sin cerrar: lo
// que hace un servidor que se cuelga a media entrega.
class CallaTrasElData {
 public:
  CallaTrasElData() {
    std::promise<quint16> puertoListo;
    auto futuro = puertoListo.get_future();
    hilo_.reset(QThread::create([this, &puertoListo] {
      QTcpServer servidor;
      servidor.listen(QHostAddress::LocalHost, 0);
      puertoListo.set_value(servidor.serverPort());
      if (!servidor.waitForNewConnection(20000)) return;
      std::unique_ptr<QTcpSocket> s(servidor.nextPendingConnection());
      auto decir = [&](const char* t) {
        s->write(t);
        s->waitForBytesWritten(1000);
      };
      decir("220 prueba\r\n");
      bool enDatos = false;
      while (!parar_ && s->state() == QAbstractSocket::ConnectedState) {
        if (!s->waitForReadyRead(100)) continue;
        if (enDatos) {
          s->readAll();  // el mensaje entra y no se contesta nunca
          continue;
        }
        while (s->canReadLine()) {
          const QByteArray orden = s->readLine().trimmed().toUpper();
          if (orden.startsWith("DATA")) {
            decir("354 adelante\r\n");
            enDatos = true;
            break;
          }
          decir(orden.startsWith("EHLO") ? "250-prueba\r\n250 8BITMIME\r\n" : "250 bien\r\n");
        }
      }
    }));
    hilo_->start();
    puerto = futuro.get();
  }
  ~CallaTrasElData() {
    parar_ = true;
    hilo_->wait();
  }
  quint16 puerto = 0;

 private:
  std::atomic<bool> parar_{false};
  std::unique_ptr<QThread> hilo_;
};

TEST_F(EnvioSinServidor, UnServidorQueSeCuelgaTrasElDataAgotaElTiempoDeLaEntrega) {
  const CallaTrasElData servidor;
  correo.puerto = servidor.puerto;
  correo.segundosConexion = 1;
  correo.segundosTransferencia = 2;
  QElapsedTimer reloj;
  reloj.start();
  EXPECT_FALSE(correo.Enviar_Backup());
  EXPECT_LT(reloj.elapsed(), 10000) << "el plazo es de 1 + 2 segundos";
  ASSERT_EQ(obs.errores.size(), 1);
  const QString& texto = obs.errores.at(0).first;
  EXPECT_TRUE(texto.startsWith(QStringLiteral("Tiempo agotado: el servidor de correo smtp://127.0.0.1:%1 aceptó la "
                                              "conexión pero dejó de responder; se abandonó el envío a los ")
                                   .arg(servidor.puerto)))
      << texto.toStdString();
  EXPECT_EQ(obs.errores.at(0).second, 28);
  EXPECT_EQ(obs.enviados, 0);
}

// ---------------------------------------------------------------------------
// El envío del listado: cuentas y proveedor

class EnvioListado : public testing::Test {
 protected:
  EnvioListado() : reloj(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 31))) {}

  bool Preparar(const QString& cuentaSalida, const QString& NombreEmpresa = QStringLiteral("Bar Pepe")) {
    return registro::PrepararCorreoInforme(correo, QStringLiteral("/tmp/ventas.xlsx"), NombreEmpresa, cuentaSalida,
                                           kClave, QStringLiteral("dueno@bar.es"), avisos, reloj, config);
  }

  sistema::NotificadorRegistro avisos;
  sistema::RelojFijo reloj;
  registro::ConfiguracionCorreo config;
  clsCDOmail correo;
};

TEST_F(EnvioListado, SinLasTresCuentasSeAvisaYNoSeManda) {
  const QString a = kUsuario, otros = kClave, informes = QStringLiteral("dueno@bar.es");
  config.enLinea = [] {
    ADD_FAILURE() << "sin cuentas no se llega a mirar la conexión";
    return false;
  };
  const QList<QStringList> casos = {{"", otros, informes}, {a, "", informes}, {a, otros, ""}};
  for (const QStringList& c : casos) {
    avisos.avisos.clear();
    QString error = QStringLiteral("sin tocar");
    EXPECT_FALSE(registro::EnviarInforme(QStringLiteral("/tmp/ventas.xlsx"), QStringLiteral("Bar Pepe"), c.at(0),
                                         c.at(1), c.at(2), avisos, reloj, config, &error));
    ASSERT_EQ(avisos.avisos.size(), 1);
    EXPECT_EQ(avisos.avisos.at(0).texto,
              "El envio del listado no se puede hacer porque no ha configurado correctamente los correos "
              "electronicos.");
    EXPECT_EQ(avisos.avisos.at(0).titulo, "Cronicas");
    EXPECT_EQ(avisos.avisos.at(0).icono, sistema::Icono::Informacion);
    EXPECT_TRUE(error.isEmpty());
  }
}

TEST_F(EnvioListado, ElProveedorSaleDeLaCuentaDeSalidaElPrimeroQueCoincide) {
  struct Caso {
    QString cuenta;
    QString direccion;
    bool startTls;
  };
  const QList<Caso> casos = {
      {"caja@gmail.com", "smtps://smtp.gmail.com:465", false},
      {"Caja@HOTMAIL.es", "smtp://smtp.live.com:25", true},  // STARTTLS en el 25
      {"caja@yahoo.es", "smtps://smtp.mail.yahoo.com:465", false},
      {"yahoo.caja@GMAIL.COM", "smtps://smtp.gmail.com:465", false},  // gmail va antes que yahoo
      {"hotmail.caja@yahoo.es", "smtp://smtp.live.com:25", true},     // y hotmail también
  };
  for (const Caso& c : casos) {
    ASSERT_TRUE(Preparar(c.cuenta)) << c.cuenta.toStdString();
    EXPECT_EQ(correo.direccionServidor(), c.direccion) << c.cuenta.toStdString();
    EXPECT_EQ(correo.exigeStartTls(), c.startTls) << c.cuenta.toStdString();
    EXPECT_TRUE(correo.UseAuntentificacion);
    EXPECT_TRUE(correo.ssl);
    EXPECT_EQ(correo.Usuario, c.cuenta);
    EXPECT_EQ(correo.de, c.cuenta);
  }
  EXPECT_TRUE(avisos.avisos.isEmpty());

  // "gmail" sin ".com" no es gmail, y otros proveedores no se conocen.
  for (const QString& cuenta : {QStringLiteral("caja@gmail.es"), QStringLiteral("caja@outlook.com")}) {
    avisos.avisos.clear();
    EXPECT_FALSE(Preparar(cuenta)) << cuenta.toStdString();
    ASSERT_EQ(avisos.avisos.size(), 1);
    EXPECT_EQ(avisos.avisos.at(0).texto,
              "El correo electronico de salida no es valido, recuerde que solo puede hacer el envio desde gmail, "
              "hotmail o yahoo.");
    EXPECT_EQ(avisos.avisos.at(0).titulo, "Email no valido");
    EXPECT_EQ(avisos.avisos.at(0).icono, sistema::Icono::Informacion);
  }
}

TEST_F(EnvioListado, AsuntoYMensajeConElNombreDelNegocioYElRelojDelPrograma) {
  ASSERT_TRUE(Preparar(kUsuario));
  EXPECT_EQ(correo.Asunto, "Bar Pepe Informe - Ventas Generales por Dia");
  EXPECT_EQ(correo.Mensaje,
            "Le adjuntamos el informe de Ventas Generales por Dia. (Informe generado el dia 05/03/2026 a las 09:07)");
  EXPECT_EQ(correo.para, "dueno@bar.es");
  EXPECT_EQ(correo.PassWord, kClave);
  EXPECT_EQ(correo.Adjunto, "/tmp/ventas.xlsx");

  ASSERT_TRUE(Preparar(kUsuario, QString()));
  EXPECT_EQ(correo.Asunto, " Informe - Ventas Generales por Dia");
}

TEST_F(EnvioListado, UnFalloDelEnvioNoSeEnsenaPeroSeDevuelveSuTexto) {
  config.enLinea = [] { return false; };
  QString error;
  EXPECT_FALSE(registro::EnviarInforme(QStringLiteral("/tmp/ventas.xlsx"), QStringLiteral("Bar Pepe"), kUsuario, kClave,
                                       QStringLiteral("dueno@bar.es"), avisos, reloj, config, &error));
  EXPECT_EQ(error, kSinConexion);
  EXPECT_TRUE(avisos.avisos.isEmpty());
}

TEST(AjustesCorreo, ServidoresPorDefectoLosDelFicheroYLosValoresQueNoSeEntienden) {
  QTemporaryDir dir;
  ajustes::AlmacenAjustes a(dir.filePath("ajustes.ini"));
  {
    const registro::ConfiguracionCorreo c = registro::LeerConfiguracionCorreo(a);
    EXPECT_EQ(c.gmail.servidor, "smtp.gmail.com");
    EXPECT_EQ(c.gmail.puerto, 465);
    EXPECT_EQ(c.hotmail.servidor, "smtp.live.com");
    EXPECT_EQ(c.hotmail.puerto, 25);
    EXPECT_EQ(c.yahoo.servidor, "smtp.mail.yahoo.com");
    EXPECT_EQ(c.yahoo.puerto, 465);
    EXPECT_EQ(c.puertoTlsImplicito, 465);
    EXPECT_TRUE(c.certificados.isEmpty());
    EXPECT_FALSE(c.enLinea) << "sin ajuste manda la prueba del sistema";
  }
  a.fijarValor("correo/servidor_hotmail", "smtp-mail.outlook.com");
  a.fijarValor("correo/puerto_hotmail", "587");
  a.fijarValor("correo/certificados", "/etc/cronicas/ca.pem");
  a.fijarValor("correo/en_linea", "no");
  {
    const registro::ConfiguracionCorreo c = registro::LeerConfiguracionCorreo(a);
    EXPECT_EQ(c.hotmail.servidor, "smtp-mail.outlook.com");
    EXPECT_EQ(c.hotmail.puerto, 587);
    EXPECT_EQ(c.gmail.servidor, "smtp.gmail.com");
    EXPECT_EQ(c.certificados, "/etc/cronicas/ca.pem");
    ASSERT_TRUE(c.enLinea);
    EXPECT_FALSE(c.enLinea());
  }
  a.fijarValor("correo/en_linea", "Si");
  {
    const registro::ConfiguracionCorreo c = registro::LeerConfiguracionCorreo(a);
    ASSERT_TRUE(c.enLinea);
    EXPECT_TRUE(c.enLinea());
  }
  a.fijarValor("correo/en_linea", "quizá");
  QString mensaje = prueba::mensajeDe([&] { registro::LeerConfiguracionCorreo(a); });
  EXPECT_TRUE(mensaje.contains("correo/en_linea") && mensaje.contains(a.fichero())) << mensaje.toStdString();
  a.fijarValor("correo/en_linea", "auto");
  for (const QString& malo : {QStringLiteral("veinticinco"), QStringLiteral("0"), QStringLiteral("70000")}) {
    a.fijarValor("correo/puerto_yahoo", malo);
    mensaje = prueba::mensajeDe([&] { registro::LeerConfiguracionCorreo(a); });
    EXPECT_TRUE(mensaje.contains("correo/puerto_yahoo") && mensaje.contains(a.fichero()) && mensaje.contains(malo))
        << mensaje.toStdString();
  }
}

// ---------------------------------------------------------------------------
// Contra un servidor SMTP de verdad

class CorreoServidor : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    conAiosmtpd = prueba::HayAiosmtpd();
    if (!conAiosmtpd) return;
    carpeta = std::make_unique<QTemporaryDir>();
    certificado = carpeta->filePath("servidor.pem");
    clave = carpeta->filePath("servidor.key");
    errorCertificado = prueba::CrearCertificado(certificado, clave);
  }
  static void TearDownTestSuite() { carpeta.reset(); }

  void SetUp() override {
    if (!conAiosmtpd) GTEST_SKIP() << "/usr/bin/python3 no tiene aiosmtpd (paquete python3-aiosmtpd)";
    ASSERT_TRUE(errorCertificado.isEmpty()) << errorCertificado.toStdString();
  }

  std::unique_ptr<prueba::ServidorSmtp> Arrancar(const QString& modo) {
    auto s = std::make_unique<prueba::ServidorSmtp>(modo, certificado, clave, kUsuario, kClave);
    const QString porque = s->esperarListo();
    EXPECT_TRUE(porque.isEmpty()) << porque.toStdString();
    return porque.isEmpty() ? std::move(s) : nullptr;
  }

  // Correo con cuenta hacia el servidor de pruebas, fiándose de su certificado.
  void ConCuenta(clsCDOmail& c, const prueba::ServidorSmtp& s) {
    c.servidor = QStringLiteral("localhost");
    c.puerto = s.puerto;
    c.UseAuntentificacion = true;
    c.ssl = true;
    c.Usuario = kUsuario;
    c.PassWord = kClave;
    c.de = kUsuario;
    c.para = QStringLiteral("dueno@bar.es");
    c.Asunto = QStringLiteral("Ventas");
    c.Mensaje = QStringLiteral("Adjunto");
    c.certificadosCA = certificado;
    c.enLinea = [] { return true; };
  }

  static inline bool conAiosmtpd = false;
  static inline std::unique_ptr<QTemporaryDir> carpeta;
  static inline QString certificado, clave, errorCertificado;
};

TEST_F(CorreoServidor, SinCuentaNiCifradoAVariosDestinatarios) {
  auto servidor = Arrancar("plano");
  ASSERT_TRUE(servidor);
  clsCDOmail c;
  Observador obs;
  obs.vigilar(c);
  c.servidor = QStringLiteral("127.0.0.1");
  c.puerto = QString::number(servidor->puerto);  // como texto también vale
  c.ssl = true;  // sin entrada no se cifra: si lo intentara, el servidor no lo entendería
  c.de = QStringLiteral("Bar Pepe, S.L. <caja@barpepe.es>");
  c.para = QStringLiteral("dueno@barpepe.es; gestoria@asesores.es");
  c.Asunto = QStringLiteral("Cierre del dia");
  c.Mensaje = QStringLiteral("Linea uno\nLinea dos\r\n\r\n.\nFin");
  c.enLinea = [] { return true; };

  ASSERT_TRUE(c.Enviar_Backup()) << (obs.errores.isEmpty() ? "" : obs.errores.at(0).first.toStdString());
  EXPECT_TRUE(obs.errores.isEmpty());
  EXPECT_EQ(obs.enviados, 1);
  EXPECT_EQ(obs.esperas, (QList<bool>{true, false}));

  const QList<QJsonObject> recibidos = servidor->recibidos();
  ASSERT_EQ(recibidos.size(), 1);
  const QJsonObject m = recibidos.at(0);
  EXPECT_EQ(m["remitente"].toString(), "caja@barpepe.es");
  EXPECT_EQ(m["destinatarios"].toArray(), (QJsonArray{"dueno@barpepe.es", "gestoria@asesores.es"}));
  EXPECT_EQ(m["de"].toString(), "\"Bar Pepe, S.L.\" <caja@barpepe.es>");
  EXPECT_EQ(m["para"].toString(), "dueno@barpepe.es, gestoria@asesores.es");
  EXPECT_EQ(m["asunto"].toString(), "Cierre del dia");
  // Una línea con un punto solo no corta el mensaje.
  EXPECT_EQ(m["cuerpo"].toString(), "Linea uno\nLinea dos\n\n.\nFin");
  EXPECT_TRUE(m["adjuntos"].toArray().isEmpty());
  EXPECT_FALSE(m["tls"].toBool());
  EXPECT_TRUE(m["usuario"].isNull());
  EXPECT_TRUE(m["siete_bits"].toBool());
  EXPECT_FALSE(m["fecha"].toString().isEmpty());
  EXPECT_TRUE(m["id_mensaje"].toString().endsWith("@barpepe.es>")) << m["id_mensaje"].toString().toStdString();
}

TEST_F(CorreoServidor, StartTlsConCuentaYSusFallos) {
  auto servidor = Arrancar("starttls");
  ASSERT_TRUE(servidor);
  {
    clsCDOmail c;
    Observador obs;
    obs.vigilar(c);
    ConCuenta(c, *servidor);
    EXPECT_TRUE(c.exigeStartTls());
    ASSERT_TRUE(c.Enviar_Backup()) << (obs.errores.isEmpty() ? "" : obs.errores.at(0).first.toStdString());
    EXPECT_EQ(obs.enviados, 1);
    const QList<QJsonObject> r = servidor->recibidos();
    ASSERT_EQ(r.size(), 1);
    EXPECT_TRUE(r.at(0)["tls"].toBool());
    EXPECT_EQ(r.at(0)["usuario"].toString(), kUsuario);
    EXPECT_EQ(r.at(0)["asunto"].toString(), "Ventas");
  }
  struct Fallo {
    const char* que;
    std::function<void(clsCDOmail&)> cambiar;
  };
  const QList<Fallo> fallos = {
      {"contraseña mala", [](clsCDOmail& c) { c.PassWord = QStringLiteral("otra"); }},
      // Sin el certificado de la prueba entre los de confianza no se fía.
      {"certificado desconocido", [](clsCDOmail& c) { c.certificadosCA.clear(); }},
      // Sin entrada no se cifra ni se entra, y este servidor exige las dos cosas.
      {"sin entrar", [](clsCDOmail& c) { c.UseAuntentificacion = false; }},
  };
  for (const Fallo& f : fallos) {
    clsCDOmail c;
    Observador obs;
    obs.vigilar(c);
    ConCuenta(c, *servidor);
    f.cambiar(c);
    EXPECT_FALSE(c.Enviar_Backup()) << f.que;
    ASSERT_EQ(obs.errores.size(), 1) << f.que;
    EXPECT_EQ(obs.enviados, 0) << f.que;
    const auto [texto, numero] = obs.errores.at(0);
    if (QByteArray(f.que) == "contraseña mala") {
      EXPECT_EQ(texto, kEntradaMal);
      EXPECT_EQ(numero, 67);
    } else {
      EXPECT_NE(numero, 0) << f.que;
      EXPECT_NE(texto, kEntradaMal) << f.que;
      EXPECT_NE(texto, kServidorMal) << f.que;
      EXPECT_FALSE(texto.isEmpty()) << f.que;
    }
  }
  EXPECT_EQ(servidor->recibidos().size(), 1) << "ningún fallo llega a entregar";
}

TEST_F(CorreoServidor, SmtpsConAsuntoCuerpoYAdjuntoQueLleganIntactos) {
  auto servidor = Arrancar("smtps");
  ASSERT_TRUE(servidor);
  QTemporaryDir dir;
  const QString adjunto = dir.filePath("Ventas Peñón.xlsx");
  QByteArray bytes;
  for (int i = 0; i < 70000; ++i) bytes.append(static_cast<char>((i * 7 + i / 256) & 0xff));
  ASSERT_TRUE(prueba::escribirBytes(adjunto, bytes));
  const QString asunto =
      QStringLiteral("Peñón de Ifach, S.L. Informe - Ventas Generales por Día — café y caña a 1,50 €");
  const QString cuerpo = QStringLiteral("Buenos días:\nAdjunto el resumen de ventas del miércoles.\nUn saludo, Íñigo");

  clsCDOmail c;
  Observador obs;
  obs.vigilar(c);
  ConCuenta(c, *servidor);
  c.puertoTlsImplicito = servidor->puerto;
  c.Asunto = asunto;
  c.Mensaje = cuerpo;
  c.Adjunto = adjunto;
  EXPECT_TRUE(c.direccionServidor().startsWith("smtps://localhost:"));
  EXPECT_FALSE(c.exigeStartTls());
  ASSERT_TRUE(c.Enviar_Backup()) << (obs.errores.isEmpty() ? "" : obs.errores.at(0).first.toStdString());

  const QList<QJsonObject> r = servidor->recibidos();
  ASSERT_EQ(r.size(), 1);
  const QJsonObject m = r.at(0);
  EXPECT_TRUE(m["tls"].toBool());
  EXPECT_EQ(m["usuario"].toString(), kUsuario);
  EXPECT_TRUE(m["siete_bits"].toBool());
  EXPECT_EQ(m["asunto"].toString(), asunto);
  EXPECT_EQ(m["cuerpo"].toString().trimmed(), cuerpo);
  const QJsonArray adjuntos = m["adjuntos"].toArray();
  ASSERT_EQ(adjuntos.size(), 1);
  const QJsonObject a = adjuntos.at(0).toObject();
  EXPECT_EQ(a["nombre"].toString(), "Ventas Peñón.xlsx");
  EXPECT_EQ(a["tipo"].toString(), "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
  EXPECT_EQ(a["codificacion"].toString(), "base64");
  EXPECT_EQ(QByteArray::fromBase64(a["datos"].toString().toLatin1()), bytes);

  // La contraseña mala por SMTPS da el mismo aviso que por STARTTLS.
  c.PassWord = QStringLiteral("otra");
  obs.errores.clear();
  EXPECT_FALSE(c.Enviar_Backup());
  ASSERT_EQ(obs.errores.size(), 1);
  EXPECT_EQ(obs.errores.at(0).first, kEntradaMal);
  EXPECT_EQ(obs.errores.at(0).second, 67);
}

}  // namespace
