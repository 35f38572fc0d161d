#include "reports_ui/ArranqueVentana.h"

#include "registro/EnviarInforme.h"
#include "reports_ui/NotificadorVentana.h"
#include "startup/Arranque.h"

#include "platform/motor/Informe.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>

#include <cstdio>

namespace ventana {

namespace {

void AvisarAjustesSinGuardar(QWidget& principal, const QStringList& avisos) {
  if (avisos.isEmpty()) return;
  // Con el fichero de ajustes de sólo lectura se trabaja igual; un cuadro de
  // mensaje en cada arranque sólo estorbaría. Se dice en el título de la
  // ventana y, con detalle, en la salida de errores.
  for (const QString& aviso : avisos) std::fprintf(stderr, "Aviso: %s\n", aviso.toLocal8Bit().constData());
  principal.setWindowTitle(principal.windowTitle() + QStringLiteral(" — aviso: los ajustes no se pudieron guardar"));
}

}  // namespace

std::unique_ptr<QTranslator> InstalarTraduccionesQt(const QLocale& regional) {
  auto traduccion = std::make_unique<QTranslator>();
  // "qt" reúne las de todos los módulos; Debian las deja donde dice Qt.
  if (!traduccion->load(regional, QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return nullptr;
  QCoreApplication::installTranslator(traduccion.get());
  return traduccion;
}

std::unique_ptr<Programa> PrepararPrograma(const QString& ficheroAjustes, OpcionesArranque opciones) {
  auto p = std::make_unique<Programa>();
  if (!opciones.notificador) p->notificadorPropio = std::make_unique<registro::NotificadorVentana>();
  p->notificador = opciones.notificador ? opciones.notificador : p->notificadorPropio.get();
  QString fallo;
  try {
    p->almacen = std::make_unique<ajustes::AlmacenAjustes>(ficheroAjustes);
    const QString regional = p->almacen->valor(QStringLiteral("informes/regional"));
    p->traduccionQt = InstalarTraduccionesQt(motor::ConfiguracionRegional(regional));
    if (const auto falta = arranque::FaltaBaseVentas(*p->almacen)) {
      p->notificador->mensaje(*falta, QStringLiteral("Cronicas"), sistema::Icono::Critico);
      return nullptr;
    }
    arranque::Entorno entorno;
    entorno.reloj = &p->reloj;
    entorno.lanzador = &p->lanzador;
    entorno.carpetaPrograma = QCoreApplication::applicationDirPath();
    entorno.buscarActualizaciones = opciones.buscarActualizaciones;
    // Como los de los ajustes: a la salida de errores, sin un cuadro en cada
    // arranque que la tienda no puede arreglar en el momento.
    entorno.avisar = [](const QString& aviso) { std::fprintf(stderr, "Aviso: %s\n", aviso.toLocal8Bit().constData()); };
    arranque::Arrancar(p->ajustes, *p->almacen, entorno);

    frmPrincipalCronicas::Entorno e;
    e.ajustes = &p->ajustes;
    e.seleccion = &p->seleccion;
    e.notificador = p->notificador;
    e.reloj = &p->reloj;
    e.lanzador = &p->lanzador;
    e.carpetaPrograma = entorno.carpetaPrograma;
    e.opciones = {p->almacen->carpetaPlantillas(), regional};
    e.carpetaSalida = p->almacen->carpetaSalida();
    e.ficheroExportacion = QDir(e.carpetaSalida).filePath(registro::kFicheroExportacion);
    e.correo = registro::LeerConfiguracionCorreo(*p->almacen);
    p->principal = std::make_unique<frmPrincipalCronicas>(std::move(e));
    AvisarAjustesSinGuardar(*p->principal, p->almacen->avisos());
    return p;
  } catch (const sistema::Error& error) {
    fallo = error.mensaje();
  }
  p->notificador->mensaje(fallo, QStringLiteral("Cronicas"), sistema::Icono::Critico);
  return nullptr;
}

int EjecutarVentana(const QString& ficheroAjustes) {
  const std::unique_ptr<Programa> programa = PrepararPrograma(ficheroAjustes);
  if (!programa) return 2;
  QObject::connect(programa->principal.get(), &frmPrincipalCronicas::salir, qApp, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  programa->principal->showMaximized();
  // Sin gestor de ventanas ninguna ventana recibe el teclado si no lo pide.
  programa->principal->activateWindow();
  return QApplication::exec();
}

}  // namespace ventana
