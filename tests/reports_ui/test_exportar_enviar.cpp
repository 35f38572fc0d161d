// Exportar y enviar el resumen diario: la hoja de cálculo en el fichero de
// exportación, el correo con ella adjunta a un servidor SMTP de verdad, y lo
// que pasa sin conexión, sin datos o cuando la exportación falla.

#include "builders/InformesCaja.h"
#include "registro/SalidaInforme.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"
#include "support/ServidorSmtp.h"

#include "support/ImprimirQt.h"

#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kCuenta = QStringLiteral("caja.bar@gmail.com");
const QString kClave = QStringLiteral("clave-de-aplicación");

class ExportarYEnviar : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    conServidor = prueba::HayAiosmtpd();
    if (!conServidor) return;
    carpeta = std::make_unique<QTemporaryDir>();
    errorCertificado = prueba::CrearCertificado(carpeta->filePath("c.pem"), carpeta->filePath("c.key"));
  }
  static void TearDownTestSuite() { carpeta.reset(); }

  ExportarYEnviar() : tienda(prueba::Motor::SQLite) {
    tienda.insertar("opciones", {{"identificador", "1234"}, {"nombre", "Bar Sol"}, {"direccion", "Calle Mayor 1"}});
    tienda.insertar("cabecera_factura", {{"numero", 501},
                                         {"fecha", "2026-03-05"},
                                         {"fechaventa", "2026-03-05"},
                                         {"total", 23.4},
                                         {"impuesto", 2.13},
                                         {"recargo", 0.0},
                                         {"descuento", 0.0},
                                         {"borrar", 0}});
    tienda.ajustes.Nombre = QStringLiteral("Bar Sol");
    tienda.ajustes.DatosEmailA = kCuenta;
    tienda.ajustes.DatosEmailOtros = kClave;
    tienda.ajustes.EmailInformes = QStringLiteral("dueno@bar.es");
    tienda.seleccion.FechaDesde = tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
    informes::CrearCierreResumido(tienda.contexto);
    fichero = QDir(salida.path()).filePath(registro::kFicheroExportacion);
    config.enLinea = [] { return true; };
  }

  registro::Envio Exportar(const QString& carpetaPlantillas = {}) {
    return registro::ExportarYEnviar(*tienda.ajustes.ConexionInformes, QStringLiteral("ResumenVentas.rpt"),
                                     {carpetaPlantillas, QStringLiteral("es_ES")}, fichero, tienda.ajustes, config,
                                     tienda.notificador, tienda.reloj);
  }

  static inline bool conServidor = false;
  static inline std::unique_ptr<QTemporaryDir> carpeta;
  static inline QString errorCertificado;
  prueba::Tienda tienda;
  QTemporaryDir salida;
  QString fichero;
  registro::ConfiguracionCorreo config;
};

TEST_F(ExportarYEnviar, LaHojaDelDiaLlegaAdjuntaAlDueno) {
  if (!conServidor) GTEST_SKIP() << "/usr/bin/python3 no tiene aiosmtpd (paquete python3-aiosmtpd)";
  ASSERT_TRUE(errorCertificado.isEmpty()) << errorCertificado.toStdString();
  prueba::ServidorSmtp servidor(QStringLiteral("smtps"), carpeta->filePath("c.pem"), carpeta->filePath("c.key"),
                                kCuenta, kClave);
  const QString porque = servidor.esperarListo();
  ASSERT_TRUE(porque.isEmpty()) << porque.toStdString();
  config.gmail = {QStringLiteral("localhost"), servidor.puerto};
  config.puertoTlsImplicito = servidor.puerto;
  config.certificados = carpeta->filePath("c.pem");

  const registro::Envio envio = Exportar();
  EXPECT_TRUE(envio.exportado);
  EXPECT_TRUE(envio.enviado) << envio.error.toStdString();

  EXPECT_TRUE(envio.error.isEmpty());
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty());

  const QList<QJsonObject> r = servidor.recibidos();
  ASSERT_EQ(r.size(), 1);
  EXPECT_EQ(r.at(0)["usuario"].toString(), kCuenta);
  EXPECT_EQ(r.at(0)["remitente"].toString(), kCuenta);
  EXPECT_EQ(r.at(0)["destinatarios"].toArray(), (QJsonArray{"dueno@bar.es"}));
  EXPECT_EQ(r.at(0)["asunto"].toString(), "Bar Sol Informe - Ventas Generales por Dia");
  EXPECT_TRUE(r.at(0)["cuerpo"].toString().contains("(Informe generado el dia 06/03/2026 a las 09:07)"));
  // La fecha del correo es la del reloj del programa.
  EXPECT_EQ(QDateTime::fromString(r.at(0)["fecha"].toString(), Qt::ISODate), tienda.reloj.ahora());
  const QJsonArray adjuntos = r.at(0)["adjuntos"].toArray();
  ASSERT_EQ(adjuntos.size(), 1);
  EXPECT_EQ(adjuntos.at(0)["nombre"].toString(), registro::kFicheroExportacion);
  const QByteArray bytes = QByteArray::fromBase64(adjuntos.at(0)["datos"].toString().toLatin1());
  EXPECT_EQ(bytes, prueba::leerBytes(fichero));

  // Lo adjunto es una hoja de cálculo con la factura del día.
  const QString copia = QDir(salida.path()).filePath("recibido.xlsx");
  ASSERT_TRUE(prueba::escribirBytes(copia, bytes));
  const auto celdas = prueba::LeerXlsx(copia);
  bool hayFactura = false, hayTotal = false;
  for (const auto& [ref, celda] : celdas) {
    hayFactura = hayFactura || (celda.numero && celda.valor == 501);
    hayTotal = hayTotal || (celda.numero && std::abs(celda.valor - 23.4) < 1e-9);
  }
  EXPECT_TRUE(hayFactura);
  EXPECT_TRUE(hayTotal);
}

TEST_F(ExportarYEnviar, SinConexionSeExportaYNoSeManda) {
  bool preguntado = false;
  config.enLinea = [&] {
    preguntado = true;
    return false;
  };
  // Un servidor que no existe: si se intentara mandar, fallaría con error.
  config.gmail = {QStringLiteral("127.0.0.1"), prueba::PuertoLibre()};
  const registro::Envio envio = Exportar();
  EXPECT_TRUE(preguntado);
  EXPECT_TRUE(envio.exportado);
  EXPECT_FALSE(envio.enLinea);
  EXPECT_FALSE(envio.enviado);
  EXPECT_TRUE(envio.error.isEmpty());
  EXPECT_TRUE(QFileInfo::exists(fichero));
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty());
}

TEST_F(ExportarYEnviar, UnaExportacionFallidaNoMandaElFicheroDeOtroDia) {
  prueba::escribirBytes(fichero, "hoja del día anterior");
  QTemporaryDir sinPlantillas;  // la carpeta de plantillas no tiene la del informe
  bool intentado = false;
  config.enLinea = [&] {
    intentado = true;
    return true;
  };
  const registro::Envio envio = Exportar(sinPlantillas.path());
  EXPECT_FALSE(envio.exportado);
  EXPECT_FALSE(QFileInfo::exists(fichero));
  EXPECT_FALSE(envio.enviado);
  EXPECT_TRUE(envio.error.contains("ResumenVentas")) << envio.error.toStdString();
  EXPECT_TRUE(intentado);  // se pregunta, pero sin fichero no hay nada que mandar
}

TEST_F(ExportarYEnviar, UnEnlaceQueAlguienPusoEnLugarDeLaHojaSeQuedaYLaHojaVaASuDestino) {
  // Una carpeta compartida con la gestoría, por ejemplo.
  const QString compartida = QDir(salida.path()).filePath(QStringLiteral("gestoria.xlsx"));
  ASSERT_TRUE(prueba::escribirBytes(compartida, "hoja del día anterior"));
  ASSERT_TRUE(QFile::link(compartida, fichero));
  config.enLinea = [] { return false; };
  EXPECT_TRUE(Exportar().exportado);
  EXPECT_TRUE(QFileInfo(fichero).isSymLink());
  EXPECT_TRUE(prueba::leerBytes(compartida).startsWith("PK"));
}

TEST_F(ExportarYEnviar, SinFilasAvisaYNoTocaNada) {
  tienda.seleccion.FechaDesde = tienda.seleccion.FechaHasta = QDate(2026, 3, 4);
  informes::CrearCierreResumido(tienda.contexto);
  tienda.notificador.avisos.clear();
  prueba::escribirBytes(fichero, "hoja del día anterior");
  const registro::Envio envio = Exportar();
  EXPECT_TRUE(envio.sinDatos);
  EXPECT_EQ(prueba::leerBytes(fichero), QByteArray("hoja del día anterior"));
  ASSERT_EQ(tienda.notificador.avisos.size(), 1);
  EXPECT_EQ(tienda.notificador.avisos.front().texto, "No hay datos para ser mostrados.");
  EXPECT_EQ(tienda.notificador.avisos.front().titulo, "Cronicas");
}

}  // namespace
