#include "registro/SalidaInforme.h"

#include "platform/correo/CorreoSmtp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/motor/Motor.h"

namespace registro {

bool GenerarSalidas(const datos::Conexion& informes, const QString& plantilla, const OpcionesSalida& opciones,
                    const Destinos& destinos, sistema::Notificador& notificador, const sistema::Reloj& reloj) {
  if (!motor::HayDatos(informes)) {
    notificador.mensaje(QStringLiteral("No hay datos para ser mostrados."), QStringLiteral("Cronicas"),
                        sistema::Icono::Informacion);
    return false;
  }
  motor::Entorno entorno;
  entorno.momento = reloj.ahora();
  entorno.regional = motor::ConfiguracionRegional(opciones.regional);
  entorno.caracteresRollo = opciones.caracteresTicket;
  const motor::InformePreparado preparado(informes, plantilla, opciones.carpetaPlantillas, entorno);
  if (!destinos.pdf.isEmpty()) motor::GuardarPdf(motor::Maquetar(preparado.informe()), destinos.pdf);
  if (!destinos.xlsx.isEmpty())
    for (const QString& aviso : motor::GuardarXlsx(preparado.informe(), destinos.xlsx))
      notificador.mensaje(aviso, QStringLiteral("Aviso"), sistema::Icono::Exclamacion);
  return true;
}

const QString kFicheroExportacion = QStringLiteral("resumen.xlsx");

Envio ExportarYEnviar(const datos::Conexion& informes, const QString& plantilla, const OpcionesSalida& opciones,
                      const QString& ficheroExportacion, const AjustesTerminal& at, const ConfiguracionCorreo& correo,
                      sistema::Notificador& notificador, const sistema::Reloj& reloj) {
  Envio envio;
  if (!motor::HayDatos(informes)) {
    notificador.mensaje(QStringLiteral("No hay datos para ser mostrados."), QStringLiteral("Cronicas"),
                        sistema::Icono::Informacion);
    envio.sinDatos = true;
    return envio;
  }
  // Sólo se borra un fichero normal: lo demás (una tubería, un enlace que
  // alguien puso ahí) no es nuestro, y la exportación escribe en su sitio.
  if (const QFileInfo anterior(ficheroExportacion); anterior.isFile() && !anterior.isSymLink())
    QFile::remove(ficheroExportacion);
  try {
    QDir().mkpath(QFileInfo(ficheroExportacion).absolutePath());
    motor::Entorno entorno;
    entorno.momento = reloj.ahora();
    entorno.regional = motor::ConfiguracionRegional(opciones.regional);
    entorno.caracteresRollo = opciones.caracteresTicket;
    const motor::InformePreparado preparado(informes, plantilla, opciones.carpetaPlantillas, entorno);
    for (const QString& aviso : motor::GuardarXlsx(preparado.informe(), ficheroExportacion))
      notificador.mensaje(aviso, QStringLiteral("Aviso"), sistema::Icono::Exclamacion);
    envio.exportado = true;
  } catch (const sistema::Error& e) {
    // No se avisa: el informe se enseña igual, y quien llama dice el motivo.
    envio.error = e.mensaje();
  }
  envio.enLinea = correo.enLinea ? correo.enLinea() : correo::HayConexionInternet();
  if (envio.enLinea && QFileInfo::exists(ficheroExportacion)) {
    QString error;
    envio.enviado = EnviarInforme(ficheroExportacion, at.Nombre, at.DatosEmailA, at.DatosEmailOtros, at.EmailInformes,
                                  notificador, reloj, correo, &error);
    if (!envio.enviado && !error.isEmpty()) envio.error = error;
  }
  return envio;
}

}  // namespace registro
