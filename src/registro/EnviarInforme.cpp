#include "registro/EnviarInforme.h"

#include "platform/correo/CorreoSmtp.h"

namespace registro {

namespace {

int LeerPuerto(const ajustes::AlmacenAjustes& ajustes, const QString& clave, int porDefecto) {
  const QString texto = ajustes.valor(clave, QString::number(porDefecto));
  const auto puerto = correo::PuertoNumerico(texto);
  if (!puerto)
    throw ajustes::ErrorAjustes(
        QStringLiteral("Ajuste «%1» del fichero %2: \"%3\" no es un número de puerto (de 1 a 65535).")
            .arg(clave, ajustes.fichero(), texto));
  return *puerto;
}

ServidorCorreo LeerServidor(const ajustes::AlmacenAjustes& ajustes, const QString& proveedor,
                            const ServidorCorreo& porDefecto) {
  ServidorCorreo s;
  s.servidor = ajustes.valor(QStringLiteral("correo/servidor_") + proveedor, porDefecto.servidor).trimmed();
  if (s.servidor.isEmpty()) s.servidor = porDefecto.servidor;
  s.puerto = LeerPuerto(ajustes, QStringLiteral("correo/puerto_") + proveedor, porDefecto.puerto);
  return s;
}

}  // namespace

ConfiguracionCorreo LeerConfiguracionCorreo(const ajustes::AlmacenAjustes& ajustes) {
  ConfiguracionCorreo config;
  config.gmail = LeerServidor(ajustes, QStringLiteral("gmail"), config.gmail);
  config.hotmail = LeerServidor(ajustes, QStringLiteral("hotmail"), config.hotmail);
  config.yahoo = LeerServidor(ajustes, QStringLiteral("yahoo"), config.yahoo);
  config.puertoTlsImplicito = LeerPuerto(ajustes, QStringLiteral("correo/puerto_smtps"), config.puertoTlsImplicito);
  config.certificados = ajustes.valor(QStringLiteral("correo/certificados")).trimmed();

  // Una máquina detrás de un proxy o sin ruta por defecto puede decir que no
  // hay conexión cuando sí la hay, y al revés: el ajuste manda sobre la prueba.
  const QString enLinea = ajustes.valor(QStringLiteral("correo/en_linea")).trimmed().toLower();
  if (enLinea == QLatin1String("no")) {
    config.enLinea = [] { return false; };
  } else if (enLinea == QLatin1String("si") || enLinea == QStringLiteral("sí")) {
    config.enLinea = [] { return true; };
  } else if (!enLinea.isEmpty() && enLinea != QLatin1String("auto")) {
    throw ajustes::ErrorAjustes(QStringLiteral("Ajuste «correo/en_linea» del fichero %1: \"%2\" no vale; "
                                               "se espera auto, si o no.")
                                    .arg(ajustes.fichero(), enLinea));
  }
  return config;
}

bool PrepararCorreoInforme(clsCDOmail& correo, const QString& nomArchivo, const QString& NombreEmpresa,
                           const QString& DatosEmailA, const QString& DatosEmailOtros, const QString& EmailInformes,
                           sistema::Notificador& notificador, const sistema::Reloj& reloj,
                           const ConfiguracionCorreo& config) {
  if (DatosEmailOtros.isEmpty() || DatosEmailA.isEmpty() || EmailInformes.isEmpty()) {
    notificador.mensaje(QStringLiteral("El envio del listado no se puede hacer porque no ha configurado "
                                       "correctamente los correos electronicos."),
                        QStringLiteral("Cronicas"), sistema::Icono::Informacion);
    return false;
  }

  // El primero que aparece en la dirección gana, en este orden.
  const QString cuenta = DatosEmailA.toLower();
  const ServidorCorreo* proveedor = nullptr;
  if (cuenta.contains(QLatin1String("gmail.com")))
    proveedor = &config.gmail;
  else if (cuenta.contains(QLatin1String("hotmail")))
    proveedor = &config.hotmail;
  else if (cuenta.contains(QLatin1String("yahoo")))
    proveedor = &config.yahoo;
  if (!proveedor) {
    notificador.mensaje(QStringLiteral("El correo electronico de salida no es valido, recuerde que solo puede hacer "
                                       "el envio desde gmail, hotmail o yahoo."),
                        QStringLiteral("Email no valido"), sistema::Icono::Informacion);
    return false;
  }

  correo.servidor = proveedor->servidor;
  correo.puerto = proveedor->puerto;
  correo.UseAuntentificacion = true;
  correo.ssl = true;
  correo.Usuario = DatosEmailA;
  correo.PassWord = DatosEmailOtros;
  correo.Asunto = NombreEmpresa + QStringLiteral(" Informe - Ventas Generales por Dia");
  correo.de = DatosEmailA;
  correo.para = EmailInformes;
  correo.Mensaje = QStringLiteral("Le adjuntamos el informe de Ventas Generales por Dia. (Informe generado el dia ") +
                   reloj.hoy().toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" a las ") +
                   reloj.ahora().time().toString(QStringLiteral("HH:mm")) + QLatin1Char(')');
  correo.Adjunto = nomArchivo;

  correo.puertoTlsImplicito = config.puertoTlsImplicito;
  correo.certificadosCA = config.certificados;
  if (config.enLinea) correo.enLinea = config.enLinea;
  correo.reloj = &reloj;
  return true;
}

bool EnviarInforme(const QString& nomArchivo, const QString& NombreEmpresa, const QString& DatosEmailA,
                   const QString& DatosEmailOtros, const QString& EmailInformes, sistema::Notificador& notificador,
                   const sistema::Reloj& reloj, const ConfiguracionCorreo& config, QString* error,
                   const std::function<void(bool)>& esperando) {
  clsCDOmail correo;
  if (!PrepararCorreoInforme(correo, nomArchivo, NombreEmpresa, DatosEmailA, DatosEmailOtros, EmailInformes,
                             notificador, reloj, config)) {
    if (error) error->clear();  // ya se ha avisado por el notificador
    return false;
  }
  correo.esperando = esperando;
  QString texto;
  QObject::connect(&correo, &clsCDOmail::error, [&texto](const QString& descripcion, int) { texto = descripcion; });
  const bool enviado = correo.Enviar_Backup();
  if (error) *error = enviado ? QString() : texto;
  return enviado;
}

}  // namespace registro
