#pragma once
// Envío por correo del listado de ventas generales por día al dueño, desde la
// cuenta de salida del puesto. Sólo se sabe hablar con tres proveedores; el
// servidor de cada uno sale de los ajustes para poder cambiarlo sin compilar.

#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"

#include <QString>

#include <functional>

class clsCDOmail;

namespace registro {

struct ServidorCorreo {
  QString servidor;
  int puerto = 0;
};

struct ConfiguracionCorreo {
  ServidorCorreo gmail{QStringLiteral("smtp.gmail.com"), 465};
  ServidorCorreo hotmail{QStringLiteral("smtp.live.com"), 25};
  ServidorCorreo yahoo{QStringLiteral("smtp.mail.yahoo.com"), 465};
  int puertoTlsImplicito = 465;  // en los demás, STARTTLS
  QString certificados;          // se suman a los del sistema; vacío, sólo esos
  // Si hay conexión; vacío, se pregunta al sistema.
  std::function<bool()> enLinea;
};

// Claves "correo/..." del fichero de ajustes, todas opcionales. Un puerto o un
// valor de "correo/en_linea" que no se entiende lanza ErrorAjustes.
ConfiguracionCorreo LeerConfiguracionCorreo(const ajustes::AlmacenAjustes& ajustes);

// Llena el correo del informe. Si faltan cuentas o la de salida no es de un
// proveedor conocido, avisa por el notificador y devuelve falso.
bool PrepararCorreoInforme(clsCDOmail& correo, const QString& nomArchivo, const QString& NombreEmpresa,
                           const QString& DatosEmailA, const QString& DatosEmailOtros, const QString& EmailInformes,
                           sistema::Notificador& notificador, const sistema::Reloj& reloj,
                           const ConfiguracionCorreo& config);

// Prepara y manda el correo con el fichero adjunto. Un fallo del envío no se
// enseña: se devuelve falso y su texto queda en `error` para el registro o la
// salida de errores de la línea de órdenes (vacío cuando lo que falta es la
// configuración, que ya se ha avisado por el notificador).
bool EnviarInforme(const QString& nomArchivo, const QString& NombreEmpresa, const QString& DatosEmailA,
                   const QString& DatosEmailOtros, const QString& EmailInformes, sistema::Notificador& notificador,
                   const sistema::Reloj& reloj, const ConfiguracionCorreo& config, QString* error = nullptr,
                   const std::function<void(bool)>& esperando = {});

}  // namespace registro
