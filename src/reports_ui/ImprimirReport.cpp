#include "reports_ui/ImprimirReport.h"

#include "platform/motor/Motor.h"
#include "reports_ui/VistaPrevia.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <memory>

namespace registro {

namespace {

// La ventana que lanzó el informe se repinta antes de que el motor ocupe el
// hilo, y la vista previa después.
void Ceder(int veces) {
  for (int i = 0; i < veces; ++i) QCoreApplication::processEvents();
}

void AvisarSinDatos(sistema::Notificador& notificador) {
  notificador.mensaje(QStringLiteral("No hay datos para ser mostrados."), QStringLiteral("Cronicas"),
                      sistema::Icono::Informacion);
}

// El área útil de la pantalla en que está la ventana que abre el informe.
QRect PantallaDe(const QWidget* ventana) {
  QScreen* pantalla = ventana ? ventana->screen() : nullptr;
  if (!pantalla) pantalla = QGuiApplication::primaryScreen();
  return pantalla ? pantalla->availableGeometry() : QRect(0, 0, 1024, 768);
}

// Lanza los errores del motor tal cual; quien llama decide si se avisan.
VistaPrevia* AbrirVista(const Vista& vista, const QString& NombreR) {
  motor::Entorno entorno;
  entorno.momento = vista.reloj->ahora();
  entorno.regional = motor::ConfiguracionRegional(vista.opciones.regional);
  entorno.caracteresRollo = vista.opciones.caracteresTicket;
  auto preparado =
      std::make_unique<motor::InformePreparado>(*vista.informes, NombreR, vista.opciones.carpetaPlantillas, entorno);
  motor::Documento documento = motor::Maquetar(preparado->informe());
  auto* previa = new VistaPrevia(std::move(preparado), std::move(documento), NombreR, vista.impresora,
                                 *vista.notificador, vista.padre);
  previa->setAttribute(Qt::WA_DeleteOnClose);
  previa->ponerCarpetaSalida(vista.carpetaSalida);
  previa->ajustarAPantalla(vista.pantalla.isValid() ? vista.pantalla : PantallaDe(vista.padre));
  previa->mostrar();
  return previa;
}

// Un intento entero: comprobar que hay filas y abrir la vista. Nulo sin
// filas, ya avisado.
VistaPrevia* Intento(const Vista& vista, const QString& NombreR) {
  if (!motor::HayDatos(*vista.informes)) {
    AvisarSinDatos(*vista.notificador);
    return nullptr;
  }
  return AbrirVista(vista, NombreR);
}

// El intento que no avisa de sus errores.
template <typename F>
VistaPrevia* EnSilencio(F&& f) {
  try {
    return f();
  } catch (const sistema::Error&) {
    // Sin mensaje a propósito: el segundo intento, porque el fallo ya se dijo
    // en el primero; la vista del resumen que se envía, porque ese camino no
    // avisa de nada.
  }
  return nullptr;
}

}  // namespace

QString DarImpresora(const QString& impresora, const std::vector<impresoras::Impresora>& disponibles) {
  const std::optional<impresoras::Impresora> elegida = impresoras::ElegirImpresora(disponibles, impresora);
  return elegida ? elegida->nombre : QString();
}

QString DarImpresora(const QString& impresora) {
  return DarImpresora(impresora, impresoras::ImpresorasSistema());
}

VistaPrevia* ImprimirReport(const Vista& vista, const QString& NombreR) {
  Ceder(3);
  VistaPrevia* previa = nullptr;
  const auto avisar = [&](const QString& texto, int numero) {
    vista.notificador->mensaje(texto, QString::number(numero), sistema::Icono::Critico);
  };
  bool fallo = true;
  try {
    previa = Intento(vista, NombreR);
    fallo = false;
  } catch (const sistema::Error& e) {
    // El número del fallo es el título del mensaje, y lo que el usuario
    // cuenta por teléfono.
    avisar(e.mensaje(), e.numero());
  }
  // Tras avisar se prueba otra vez: lo que falló pudo ser pasajero (la base
  // ocupada por una caja); si vuelve a fallar, ya se dijo una vez.
  if (fallo) previa = EnSilencio([&] { return Intento(vista, NombreR); });
  Ceder(2);
  return previa;
}

VistaPrevia* ImprimirReportYEnviarMail(const Vista& vista, const QString& NombreR, const QString& ficheroExportacion,
                                       const AjustesTerminal& at, const ConfiguracionCorreo& correo, Envio* envio) {
  Ceder(3);
  Envio hecho;
  VistaPrevia* previa = nullptr;
  bool hayDatos = false;
  try {
    hayDatos = motor::HayDatos(*vista.informes);
  } catch (const datos::ErrorDatos& e) {
    hecho.error = e.mensaje();
  }
  if (!hayDatos && hecho.error.isEmpty()) {
    AvisarSinDatos(*vista.notificador);
    hecho.sinDatos = true;
  } else if (hayDatos) {
    {
      const CursorEspera espera;
      try {
        hecho = ExportarYEnviar(*vista.informes, NombreR, vista.opciones, ficheroExportacion, at, correo,
                                *vista.notificador, *vista.reloj);
      } catch (const datos::ErrorDatos& e) {
        hecho.error = e.mensaje();
      }
    }
    previa = EnSilencio([&] { return AbrirVista(vista, NombreR); });
  }
  if (envio) *envio = hecho;
  Ceder(2);
  return previa;
}

}  // namespace registro
