#pragma once
// Enseñar un informe ya construido: la plantilla del botón sobre las filas de
// Informes, en la vista previa, con la impresora del puesto ya elegida; y,
// en los resúmenes diarios, la hoja de cálculo enviada por correo antes.

#include "platform/datos/Datos.h"
#include "platform/impresoras/Impresoras.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "registro/EnviarInforme.h"
#include "registro/SalidaInforme.h"
#include "startup/AjustesTerminal.h"

#include <QCursor>
#include <QGuiApplication>
#include <QRect>
#include <QString>

#include <vector>

class QWidget;
class VistaPrevia;

namespace registro {

// El cursor de espera mientras se lee la base o se manda el correo.
class CursorEspera {
 public:
  CursorEspera() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~CursorEspera() { QGuiApplication::restoreOverrideCursor(); }
  CursorEspera(const CursorEspera&) = delete;
  CursorEspera& operator=(const CursorEspera&) = delete;
};

// La impresora con la que se imprimirá desde la vista previa: la del sistema
// que se llama exactamente `impresora`; vacía (la predeterminada) si no hay
// ninguna así. No avisa: un puesto sin su impresora imprime igual.
QString DarImpresora(const QString& impresora, const std::vector<impresoras::Impresora>& disponibles);
QString DarImpresora(const QString& impresora);

struct Vista {
  const datos::Conexion* informes = nullptr;  // la base de Informes
  OpcionesSalida opciones;
  QString impresora;  // lo que devolvió DarImpresora
  sistema::Notificador* notificador = nullptr;
  const sistema::Reloj* reloj = nullptr;
  QWidget* padre = nullptr;
  QRect pantalla;         // vacía: la de `padre`
  QString carpetaSalida;  // donde empiezan los diálogos de guardar
};

// Abre la vista previa del informe, que se borra sola al cerrarse. Nulo si
// no había filas (se avisa) o si el motor falló: el primer fallo se avisa
// con su número y se reintenta una vez sin avisar.
VistaPrevia* ImprimirReport(const Vista& vista, const QString& NombreR);

// La vista previa que abre un formulario propio (letreros, etiquetas, stock
// por proveedor): la base y la impresora de informes del puesto, y lo demás
// del entorno con que se abrió el formulario.
template <class Entorno>
VistaPrevia* ImprimirReportDesde(const Entorno& e, QWidget* padre, const QString& NombreR) {
  Vista vista;
  vista.informes = e.ajustes->ConexionInformes.get();
  vista.opciones = e.opciones;
  vista.impresora = DarImpresora(e.ajustes->ImpresoraInformes);
  vista.notificador = e.notificador;
  vista.reloj = e.reloj;
  vista.padre = padre;
  vista.pantalla = e.pantalla;
  vista.carpetaSalida = e.carpetaSalida;
  return ImprimirReport(vista, NombreR);
}

// Los resúmenes diarios: la hoja de cálculo en `ficheroExportacion`, enviada
// por correo si hay conexión, y después la vista previa. Nada de esto avisa
// si falla; `envio`, si se da, cuenta lo que pasó.
VistaPrevia* ImprimirReportYEnviarMail(const Vista& vista, const QString& NombreR, const QString& ficheroExportacion,
                                       const AjustesTerminal& at, const ConfiguracionCorreo& correo,
                                       Envio* envio = nullptr);

}  // namespace registro
