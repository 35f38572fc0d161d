// La vista previa de los informes: qué impresora se elige, cuándo se abre la
// ventana y qué se avisa, lo que sale al imprimir, al guardar el PDF y al
// exportar la hoja (leído como lo leería una persona), y el cuadro de los
// mensajes.

#include "builders/Informes.h"
#include "platform/impresoras/Impresoras.h"
#include "platform/motor/Motor.h"
#include "reports_ui/ArranqueVentana.h"
#include "reports_ui/ImprimirReport.h"
#include "reports_ui/NotificadorVentana.h"
#include "reports_ui/VistaPrevia.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"
#include "support/ImprimirQt.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using prueba::Motor;

TEST(Impresoras, SeEligeLaPrimeraQueSeLlamaExactamenteAsi) {
  const std::vector<impresoras::Impresora> lista{{"CAJA1", "Epson TM-T20", "usb"},
                                                 {"Caja1", "Star TSP100", "red"},
                                                 {"Oficina", "HP LaserJet", "lpd"},
                                                 {"Caja1", "Bixolon", "serie"}};
  EXPECT_EQ(impresoras::ElegirImpresora(lista, "Caja1")->controlador, QStringLiteral("Star TSP100"));
  EXPECT_EQ(impresoras::ElegirImpresora(lista, "CAJA1")->controlador, QStringLiteral("Epson TM-T20"));
  for (const QString& nombre : {QStringLiteral("caja1"), QStringLiteral("Caja"), QStringLiteral("Caja1 "), QString()})
    EXPECT_FALSE(impresoras::ElegirImpresora(lista, nombre)) << nombre.toStdString();
  EXPECT_FALSE(impresoras::ElegirImpresora({}, "Caja1"));

  EXPECT_EQ(registro::DarImpresora("Oficina", lista), QStringLiteral("Oficina"));
  EXPECT_EQ(registro::DarImpresora("oficina", lista), QString());
  EXPECT_EQ(registro::DarImpresora(QString(), lista), QString());
  EXPECT_EQ(registro::DarImpresora("Caja1", {}), QString());
  EXPECT_EQ(registro::DarImpresora("Impresora que no está en ningún puesto"), QString());
}

// Las vistas previas abiertas, que el aviso o el fallo no deberían dejar.
QList<VistaPrevia*> VistasAbiertas() {
  QList<VistaPrevia*> vistas;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* v = qobject_cast<VistaPrevia*>(w); v && v->isVisible()) vistas.append(v);
  return vistas;
}

QString TextoDe(const QWidget* ventana, const char* etiqueta) {
  const auto* l = ventana->findChild<QLabel*>(QLatin1String(etiqueta));
  return l ? l->text() : QString();
}

// Para avisos que cambian el mundo mientras el usuario los lee.
struct NotificadorConEfecto final : sistema::Notificador {
  void mensaje(const QString& texto, const QString& titulo, sistema::Icono icono) override {
    registro.mensaje(texto, titulo, icono);
    if (efecto) efecto();
  }
  sistema::NotificadorRegistro registro;
  std::function<void()> efecto;
};

// Una tienda con filas en Informes para la plantilla de productos y la vista
// lista para enseñarlas.
struct Escaparate {
  explicit Escaparate(Motor motor) : tienda(motor) {
    vista.informes = tienda.ajustes.ConexionInformes.get();
    vista.opciones = {QString(), QStringLiteral("es_ES")};
    vista.impresora = QStringLiteral("Caja1");
    vista.notificador = &notificador;
    vista.reloj = &tienda.reloj;
  }
  ~Escaparate() {
    for (VistaPrevia* v : VistasAbiertas()) v->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void escribir(int filas) {
    informes::EscritorInformes w(*tienda.ajustes.ConexionInformes);
    w.vaciar();
    for (int i = 1; i <= filas; ++i) {
      w.nuevaFila();
      w.poner(informes::Col::Texto6, QStringLiteral("Bar «La Ñora»"));
      w.poner(informes::Col::Texto8, i % 2 ? QStringLiteral("Bebidas") : QStringLiteral("Cocina"));
      w.poner(informes::Col::Texto2, QStringLiteral("Artículo %1").arg(i));
      w.poner(informes::Col::Numerico1, 1.5 * i);
      w.guardarFila();
    }
    w.terminar();
  }
  // Una plantilla propia, en una carpeta de plantillas temporal.
  void plantilla(const QString& nombre, const QByteArray& xml) {
    EXPECT_TRUE(prueba::escribirBytes(carpeta.filePath(nombre + QStringLiteral(".xml")), xml));
    vista.opciones.carpetaPlantillas = carpeta.path();
  }
  QString ruta(const QString& nombre) const { return salida.filePath(nombre); }
  const QList<sistema::NotificadorRegistro::Aviso>& avisos() const { return notificador.registro.avisos; }

  prueba::Tienda tienda;
  NotificadorConEfecto notificador;
  registro::Vista vista;
  QTemporaryDir carpeta, salida;
};

const QString kProductos = QStringLiteral("productos.rpt");

// La vista sólo lee Informes por el núcleo, probado en los dos motores.
class ImprimirReport : public testing::Test {
 protected:
  ImprimirReport() : e(Motor::SQLite) {}
  Escaparate e;
};

TEST_F(ImprimirReport, SinFilasAvisaYNoAbreNadaNiExporta) {
  e.escribir(0);
  EXPECT_EQ(registro::ImprimirReport(e.vista, kProductos), nullptr);
  const QString hoja = e.ruta(QStringLiteral("resumen.xlsx"));
  registro::ConfiguracionCorreo correo;
  correo.enLinea = [] { return true; };
  registro::Envio envio;
  EXPECT_EQ(registro::ImprimirReportYEnviarMail(e.vista, kProductos, hoja, e.tienda.ajustes, correo, &envio), nullptr);
  EXPECT_TRUE(envio.sinDatos);
  EXPECT_FALSE(QFileInfo::exists(hoja));
  ASSERT_EQ(e.avisos().size(), 2);
  for (const auto& aviso : e.avisos()) {
    EXPECT_EQ(aviso.texto, QStringLiteral("No hay datos para ser mostrados."));
    EXPECT_EQ(aviso.titulo, QStringLiteral("Cronicas"));
    EXPECT_EQ(aviso.icono, sistema::Icono::Informacion);
  }
  EXPECT_TRUE(VistasAbiertas().isEmpty());
}

TEST_F(ImprimirReport, ConFilasAbreLaVistaDelDocumentoYSeRecorre) {
  e.escribir(90);
  // Las páginas del informe, contadas en el PDF que sale sin ventana.
  const QString pdf = e.ruta(QStringLiteral("referencia.pdf"));
  ASSERT_TRUE(registro::GenerarSalidas(*e.vista.informes, kProductos, e.vista.opciones, {pdf, {}}, e.notificador,
                                       e.tienda.reloj));
  const int n = prueba::PaginasPdf(pdf);
  ASSERT_GE(n, 2);

  QPointer<VistaPrevia> v = registro::ImprimirReport(e.vista, kProductos);
  ASSERT_TRUE(v);
  EXPECT_TRUE(e.avisos().isEmpty());
  EXPECT_EQ(VistasAbiertas(), QList<VistaPrevia*>{v.data()});
  EXPECT_EQ(v->windowTitle(), QStringLiteral("INFORMES:"));
  EXPECT_EQ(v->plantilla(), kProductos);
  EXPECT_EQ(v->impresora(), QStringLiteral("Caja1"));
  EXPECT_EQ(v->paginas(), n);
  EXPECT_EQ(v->findChild<QPrintPreviewWidget*>()->pageCount(), n);
  EXPECT_EQ(TextoDe(v, "lblTitulo"), QStringLiteral("Listado de Productos"));
  // El nombre de la plantilla es cosa del programa: no se enseña.
  for (const QLabel* l : v->findChildren<QLabel*>())
    EXPECT_FALSE(l->text().contains(QStringLiteral(".rpt"))) << l->text().toStdString();

  const auto accion = [&](const char* nombre) { return v->findChild<QAction*>(QLatin1String(nombre)); };
  EXPECT_EQ(TextoDe(v, "lblPagina"), QStringLiteral("Página 1 de %1").arg(n));
  EXPECT_FALSE(accion("cmdAnterior")->isEnabled());
  accion("cmdSiguiente")->trigger();
  EXPECT_EQ(v->paginaActual(), 2);
  accion("cmdUltima")->trigger();
  EXPECT_EQ(TextoDe(v, "lblPagina"), QStringLiteral("Página %1 de %1").arg(n));
  EXPECT_FALSE(accion("cmdSiguiente")->isEnabled());
  v->irAPagina(n + 5);
  EXPECT_EQ(v->paginaActual(), n);
  v->irAPagina(0);
  EXPECT_EQ(v->paginaActual(), 1);

  // Al agrandar la ventana la página vuelve a verse desde arriba, no desde
  // la mitad donde la deja el ajuste al ancho.
  auto* vista = v->findChild<QGraphicsView*>();
  ASSERT_NE(vista, nullptr);
  v->resize(800, 600);
  QCoreApplication::processEvents();
  v->resize(1900, 1000);
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  const int arriba = vista->verticalScrollBar()->value();
  v->irAPagina(2);
  v->irAPagina(1);
  EXPECT_EQ(arriba, vista->verticalScrollBar()->value());
  EXPECT_LT(arriba, vista->viewport()->height() / 4);

  // Cerrarla la borra: no queda una ventana por cada informe visto.
  accion("cmdCerrar")->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(v.isNull());
}

TEST_F(ImprimirReport, ElErrorDelMotorSeAvisaUnaVezConSuNumeroYSeReintenta) {
  e.escribir(3);
  e.plantilla(QStringLiteral("productos"), "<informe titulo=\"Roto\">\n<detalle alto=\"5\">\n<campo");
  for (const QString& nombre : {kProductos, QStringLiteral("noexiste.rpt")}) {
    SCOPED_TRACE(nombre.toStdString());
    e.notificador.registro.avisos.clear();
    QString esperado;
    try {
      motor::InformePreparado(*e.vista.informes, nombre, e.vista.opciones.carpetaPlantillas, prueba::EntornoFijo());
    } catch (const motor::ErrorPlantilla& error) {
      esperado = error.mensaje();
    }
    EXPECT_TRUE(esperado.contains(nombre.chopped(4))) << esperado.toStdString();
    EXPECT_EQ(registro::ImprimirReport(e.vista, nombre), nullptr);
    ASSERT_EQ(e.avisos().size(), 1);  // el segundo intento falla y calla
    EXPECT_EQ(e.avisos()[0].texto, esperado);
    EXPECT_EQ(e.avisos()[0].titulo, QStringLiteral("501"));
    EXPECT_EQ(e.avisos()[0].icono, sistema::Icono::Critico);
    EXPECT_TRUE(VistasAbiertas().isEmpty());
  }

  // Si mientras se lee el aviso alguien arregla la plantilla, el segundo
  // intento enseña el informe.
  e.notificador.registro.avisos.clear();
  e.notificador.efecto = [&] {
    e.plantilla(QStringLiteral("productos"),
                "<informe titulo=\"Arreglado\"><detalle alto=\"5\">"
                "<campo columna=\"texto2\" x=\"0\" ancho=\"60\" alto=\"5\"/></detalle></informe>");
  };
  VistaPrevia* v = registro::ImprimirReport(e.vista, kProductos);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->documento().titulo, QStringLiteral("Arreglado"));
  EXPECT_EQ(e.avisos().size(), 1);

  e.notificador.efecto = nullptr;
  e.notificador.registro.avisos.clear();
  e.vista.informes->ejecutar(QStringLiteral("DROP TABLE informes"));
  EXPECT_EQ(registro::ImprimirReport(e.vista, kProductos), nullptr);
  ASSERT_EQ(e.avisos().size(), 1);
  EXPECT_EQ(e.avisos()[0].titulo, QStringLiteral("502"));
  EXPECT_EQ(e.avisos()[0].icono, sistema::Icono::Critico);
}

TEST_F(ImprimirReport, ElResumenSinConexionSeExportaNoSeMandaYSeEnsena) {
  e.escribir(4);
  const QString hoja = e.ruta(QStringLiteral("resumen.xlsx"));
  registro::ConfiguracionCorreo correo;
  correo.enLinea = [] { return false; };
  registro::Envio envio;
  VistaPrevia* v = registro::ImprimirReportYEnviarMail(e.vista, kProductos, hoja, e.tienda.ajustes, correo, &envio);
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->isVisible());
  EXPECT_TRUE(envio.exportado);
  EXPECT_FALSE(envio.enLinea);
  EXPECT_FALSE(envio.enviado);
  EXPECT_FALSE(prueba::BuscarCelda(prueba::LeerXlsx(hoja), QStringLiteral("Artículo 4")).isEmpty());
  EXPECT_TRUE(e.avisos().isEmpty());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // el cursor de espera se quitó

  // Con la plantilla rota no se exporta ni se enseña, y tampoco se avisa.
  v->close();
  e.plantilla(QStringLiteral("productos"), "<informe");
  EXPECT_EQ(registro::ImprimirReportYEnviarMail(e.vista, kProductos, hoja, e.tienda.ajustes, correo, &envio), nullptr);
  EXPECT_FALSE(envio.exportado);
  EXPECT_FALSE(QFileInfo::exists(hoja));
  EXPECT_TRUE(e.avisos().isEmpty());
  EXPECT_TRUE(VistasAbiertas().isEmpty());
}

class SalidasVista : public testing::Test {
 protected:
  SalidasVista() : e(Motor::SQLite) {}
  VistaPrevia* abrir(const QString& plantilla, int filas) {
    e.escribir(filas);
    return registro::ImprimirReport(e.vista, plantilla);
  }
  // Imprime en una impresora que escribe PDF y devuelve la ruta.
  QString imprimir(VistaPrevia& v, const QString& nombre, QPrinter::PrintRange rango = QPrinter::AllPages,
                   int desde = 0, int hasta = 0) {
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(e.ruta(nombre));
    impresora.setPrintRange(rango);
    impresora.setFromTo(desde, hasta);
    v.imprimirEn(impresora);
    return e.ruta(nombre);
  }
  Escaparate e;
};

TEST_F(SalidasVista, ImprimeTodasLasPaginasOLasQueSePiden) {
  VistaPrevia* v = abrir(kProductos, 90);
  ASSERT_TRUE(v);
  const int n = v->paginas();
  const QString todo = imprimir(*v, QStringLiteral("todo.pdf"));
  EXPECT_EQ(prueba::PaginasPdf(todo), n);
  EXPECT_NEAR(prueba::TamanoPaginaMm(todo).width(), 210, 0.5);
  EXPECT_NEAR(prueba::TamanoPaginaMm(todo).height(), 297, 0.5);
  const QString texto = prueba::TextoPdf(todo);
  EXPECT_TRUE(texto.contains(QStringLiteral("Bar «La Ñora»")));
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Artículo 7 ")).contains(QStringLiteral("10,50")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Página %1 de %1").arg(n)));

  const QString segunda = imprimir(*v, QStringLiteral("segunda.pdf"), QPrinter::PageRange, 2, 2);
  EXPECT_EQ(prueba::PaginasPdf(segunda), 1);
  EXPECT_TRUE(prueba::TextoPdf(segunda).contains(QStringLiteral("Página 2 de %1").arg(n)));
  v->irAPagina(n);
  const QString actual = imprimir(*v, QStringLiteral("actual.pdf"), QPrinter::CurrentPage);
  EXPECT_EQ(prueba::PaginasPdf(actual), 1);
  EXPECT_TRUE(prueba::TextoPdf(actual).contains(QStringLiteral("Página %1 de %1").arg(n)));
  EXPECT_FALSE(QFileInfo::exists(imprimir(*v, QStringLiteral("fuera.pdf"), QPrinter::PageRange, n + 1, n + 3)));
  EXPECT_TRUE(e.avisos().isEmpty());

  imprimir(*v, QStringLiteral("no/hay/i.pdf"));
  ASSERT_EQ(e.avisos().size(), 1);
  EXPECT_EQ(e.avisos()[0].titulo, QStringLiteral("Cronicas"));
  EXPECT_EQ(e.avisos()[0].icono, sistema::Icono::Critico);
}

TEST_F(SalidasVista, ElApaisadoYElTicketSalenConSuPapel) {
  e.plantilla(QStringLiteral("apaisado"),
              "<informe><papel tipo=\"A4\" orientacion=\"horizontal\"/><detalle alto=\"5\">"
              "<campo columna=\"texto2\" x=\"0\" ancho=\"60\" alto=\"5\"/>"
              "<campo columna=\"numerico1\" x=\"240\" ancho=\"30\" alto=\"5\"/></detalle></informe>");
  e.plantilla(QStringLiteral("ticket"),
              "<informe><papel tipo=\"rollo\" caracteres=\"32\" ancho=\"48\"/><detalle alto=\"1\">"
              "<campo columna=\"texto2\" x=\"0\" ancho=\"24\" alto=\"1\"/>"
              "<campo columna=\"numerico1\" x=\"24\" ancho=\"8\" alto=\"1\"/></detalle></informe>");
  VistaPrevia* apaisado = abrir(QStringLiteral("apaisado.rpt"), 3);
  ASSERT_TRUE(apaisado);
  EXPECT_EQ(apaisado->findChild<QPrintPreviewWidget*>()->orientation(), QPageLayout::Landscape);
  const QString hoja = imprimir(*apaisado, QStringLiteral("apaisado.pdf"));
  EXPECT_NEAR(prueba::TamanoPaginaMm(hoja).width(), 297, 0.5);
  // El importe a 240 mm sólo cabe en la hoja tumbada.
  EXPECT_TRUE(prueba::LineaCon(prueba::TextoPdf(hoja), QStringLiteral("Artículo 3")).contains(QStringLiteral("4,50")));

  // Dos líneas de ticket son más anchas que largas, y aun así no se tumban.
  VistaPrevia* ticket = abrir(QStringLiteral("ticket.rpt"), 2);
  ASSERT_TRUE(ticket);
  ASSERT_GT(ticket->documento().tamano.width(), ticket->documento().tamano.height());
  EXPECT_EQ(ticket->findChild<QPrintPreviewWidget*>()->orientation(), QPageLayout::Portrait);
  const QString rollo = imprimir(*ticket, QStringLiteral("ticket.pdf"));
  EXPECT_NEAR(prueba::TamanoPaginaMm(rollo).width(), ticket->documento().tamano.width(), 0.5);
  EXPECT_NEAR(prueba::TamanoPaginaMm(rollo).height(), ticket->documento().tamano.height(), 0.5);
  EXPECT_TRUE(prueba::LineaCon(prueba::TextoPdf(rollo), QStringLiteral("Artículo 2")).contains(QStringLiteral("3,00")));
}

TEST_F(SalidasVista, GuardaElPdfYLaHojaOAvisaSiNoPuede) {
  VistaPrevia* v = abrir(kProductos, 90);
  ASSERT_TRUE(v);
  EXPECT_TRUE(v->guardarPdf(e.ruta(QStringLiteral("p.pdf"))));
  EXPECT_EQ(prueba::PaginasPdf(e.ruta(QStringLiteral("p.pdf"))), v->paginas());
  EXPECT_TRUE(prueba::TextoPdf(e.ruta(QStringLiteral("p.pdf"))).contains(QStringLiteral("Artículo 90")));
  EXPECT_TRUE(v->exportarHoja(e.ruta(QStringLiteral("p.xlsx"))));
  EXPECT_FALSE(
      prueba::BuscarCelda(prueba::LeerXlsx(e.ruta(QStringLiteral("p.xlsx"))), QStringLiteral("Artículo 90")).isEmpty());
  EXPECT_TRUE(e.avisos().isEmpty());

  EXPECT_FALSE(v->guardarPdf(e.ruta(QStringLiteral("no/hay/p.pdf"))));
  EXPECT_FALSE(v->exportarHoja(e.ruta(QStringLiteral("no/hay/p.xlsx"))));
  ASSERT_EQ(e.avisos().size(), 2);
  for (const auto& aviso : e.avisos()) {
    EXPECT_EQ(aviso.titulo, QStringLiteral("Cronicas"));
    EXPECT_EQ(aviso.icono, sistema::Icono::Critico);
    EXPECT_TRUE(aviso.texto.contains(QStringLiteral("no/hay"))) << aviso.texto.toStdString();
  }
}

// Los textos de un diálogo, sin los & de las teclas de acceso.
QStringList TextosDe(const QWidget* dialogo) {
  QStringList textos;
  for (const QAbstractButton* b : dialogo->findChildren<QAbstractButton*>()) textos << b->text().remove(u'&');
  for (const QLabel* l : dialogo->findChildren<QLabel*>()) textos << l->text().remove(u'&');
  for (const QGroupBox* g : dialogo->findChildren<QGroupBox*>()) textos << g->title().remove(u'&');
  return textos;
}

TEST_F(SalidasVista, LosDialogosDeImprimirYGuardarHablanEspanolYEmpiezanEnLaCarpetaDeSalida) {
  const auto traduccion = ventana::InstalarTraduccionesQt(QLocale(QStringLiteral("es_DO")));
  ASSERT_NE(traduccion, nullptr);
  // Una carpeta que aún no existe: la primera vez se crea.
  e.vista.carpetaSalida = e.ruta(QStringLiteral("salida/informes"));
  VistaPrevia* v = abrir(kProductos, 3);
  ASSERT_TRUE(v);

  QStringList imprimir;
  QTimer::singleShot(0, v, [&] {
    QWidget* d = QApplication::activeModalWidget();
    if (!d) return;
    EXPECT_EQ(d->objectName(), QStringLiteral("dlgImprimir"));
    imprimir = TextosDe(d);
    if (auto* dialogo = qobject_cast<QDialog*>(d)) dialogo->reject();
  });
  v->findChild<QAction*>(QStringLiteral("cmdImprimir"))->trigger();
  for (const char* texto : {"Imprimir", "Cancelar", "Impresora", "Propiedades"})
    EXPECT_TRUE(imprimir.contains(QLatin1String(texto))) << texto << " en " << imprimir.join('|').toStdString();
  for (const char* texto : {"Print", "Cancel", "Printer", "Properties"})
    EXPECT_FALSE(imprimir.contains(QLatin1String(texto))) << texto;

  QStringList guardar;
  QString carpeta, fichero;
  QTimer::singleShot(0, v, [&] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    guardar = TextosDe(d);
    carpeta = d->directory().absolutePath();
    fichero = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
    d->reject();
  });
  v->findChild<QAction*>(QStringLiteral("cmdGuardarPdf"))->trigger();
  EXPECT_TRUE(guardar.contains(QStringLiteral("Ver en:"))) << guardar.join('|').toStdString();
  EXPECT_TRUE(guardar.contains(QStringLiteral("Nombre de fichero:"))) << guardar.join('|').toStdString();
  EXPECT_FALSE(guardar.contains(QStringLiteral("Look in:")));
  EXPECT_EQ(carpeta, QFileInfo(e.vista.carpetaSalida).absoluteFilePath());
  // El nombre que se propone es el título del informe, no el de la plantilla.
  EXPECT_EQ(fichero, QStringLiteral("Listado de Productos.pdf"));
}

TEST(NotificadorVentana, UnCuadroConSuTituloTextoEIcono) {
  const std::pair<sistema::Icono, QMessageBox::Icon> iconos[] = {
      {sistema::Icono::Informacion, QMessageBox::Information},
      {sistema::Icono::Critico, QMessageBox::Critical},
      {sistema::Icono::Exclamacion, QMessageBox::Warning},
      {sistema::Icono::Pregunta, QMessageBox::Question}};
  QWidget ventana;
  registro::NotificadorVentana n(&ventana);
  for (const auto& [nuestro, deQt] : iconos) {
    QString titulo, texto, boton;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    QWidget* padre = nullptr;
    QTimer::singleShot(0, [&] {
      auto* cuadro = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(cuadro, nullptr);
      titulo = cuadro->windowTitle();
      texto = cuadro->text();
      icono = cuadro->icon();
      padre = cuadro->parentWidget();
      EXPECT_EQ(cuadro->buttons().size(), 1);
      boton = cuadro->buttons()[0]->text();
      cuadro->buttons()[0]->click();
    });
    n.mensaje(QStringLiteral("No hay datos para ser mostrados."), QStringLiteral("501"), nuestro);
    EXPECT_EQ(titulo, QStringLiteral("501"));
    EXPECT_EQ(texto, QStringLiteral("No hay datos para ser mostrados."));
    EXPECT_EQ(icono, deQt);
    EXPECT_EQ(boton, QStringLiteral("Aceptar"));
    EXPECT_EQ(padre, &ventana);
  }
}

}  // namespace
