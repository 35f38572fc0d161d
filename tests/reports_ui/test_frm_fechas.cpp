// Los diálogos que recogen el rango de fechas y la forma de los informes de
// familias y de zonas. Se abren de verdad con exec() (en pantalla virtual) y
// se pulsan sus controles por nombre, como hará el formulario principal.

#include "platform/sistema/Sistema.h"
#include "reports_ui/frmFechas.h"
#include "reports_ui/frmSelGeneral_o_Totalizado.h"
#include "reports_ui/frmSelZona_o_Empleado.h"
#include "startup/AspectoFormulario.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <typeinfo>

namespace {

// Un día que no es el de hoy de la máquina: si algo mira el reloj del
// sistema en vez del inyectado, se nota.
const QDate kHoy(2024, 5, 5);

template <typename T = QWidget>
T& control(QWidget& formu, const QString& nombre) {
  T* w = formu.findChild<T*>(nombre);
  if (!w) throw std::runtime_error(("falta el control " + nombre).toStdString());
  return *w;
}

enum class Salida { Boton, CajaDeCierre, Escape };

// Abre el diálogo con exec() y, ya en pantalla y modal, lo cierra por la vía
// pedida. Si la vía no lo cierra, un segundo temporizador lo termina con un
// código que ninguna prueba espera, para que falle en vez de colgarse.
int ejecutarYSalir(QDialog& dialogo, Salida salida, const QString& boton = {}) {
  constexpr int kNoCerro = 99;
  bool eraModal = false;
  QTimer::singleShot(0, &dialogo, [&] {
    eraModal = QApplication::activeModalWidget() == &dialogo;
    switch (salida) {
      case Salida::Boton:
        control<QAbstractButton>(dialogo, boton).click();
        break;
      case Salida::CajaDeCierre:
        dialogo.close();
        break;
      case Salida::Escape: {
        QKeyEvent tecla(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialogo, &tecla);
        break;
      }
    }
  });
  QTimer::singleShot(2000, &dialogo, [&] { dialogo.done(kNoCerro); });
  const int resultado = dialogo.exec();
  EXPECT_TRUE(eraModal);
  EXPECT_NE(resultado, kNoCerro) << "el diálogo no se cerró con " << boton.toStdString();
  return resultado;
}

void pulsarTecla(QWidget& destino, Qt::Key tecla) {
  QKeyEvent evento(QEvent::KeyPress, tecla, Qt::NoModifier);
  QApplication::sendEvent(&destino, &evento);
}

class Fechas : public ::testing::Test {
 protected:
  sistema::RelojFijo reloj{QDateTime(kHoy, QTime(23, 59, 59))};
  SeleccionInforme seleccion;
};

TEST_F(Fechas, CadaVezQueSeAbreEmpiezaDeHoyConLoOpcionalOculto) {
  seleccion.Completo = true;
  seleccion.FechaDesde = QDate(2020, 1, 1);
  seleccion.FechaHasta = QDate(2020, 1, 31);
  for (int vez = 1; vez <= 2; ++vez) {
    SCOPED_TRACE(vez);
    frmFechas f(seleccion, reloj);
    EXPECT_EQ(seleccion.FechaDesde, kHoy);
    EXPECT_EQ(seleccion.FechaHasta, kHoy);
    EXPECT_FALSE(seleccion.Completo);
    EXPECT_EQ(control<QCalendarWidget>(f, "mv_FechaInicio").selectedDate(), kHoy);
    EXPECT_EQ(control<QCalendarWidget>(f, "mv_FechaFinal").selectedDate(), kHoy);
    EXPECT_EQ(control<QLabel>(f, "lblDesde").text(), "05/05/2024");
    EXPECT_EQ(control<QLabel>(f, "lblHasta").text(), "05/05/2024");
    EXPECT_TRUE(control(f, "chkCompleto").isHidden());
    EXPECT_FALSE(control<QCheckBox>(f, "chkCompleto").isChecked());
    EXPECT_TRUE(control(f, "txtVentas").isHidden());
    EXPECT_TRUE(control(f, "lblNumVentas").isHidden());

    // La primera vez se elige otra cosa y se acepta; la segunda no debe notarse.
    f.mostrarCompleto();
    f.MostrarNumVentas();
    EXPECT_FALSE(control(f, "chkCompleto").isHidden());
    control<QCheckBox>(f, "chkCompleto").click();
    control<QCheckBox>(f, "chkCompleto").click();
    EXPECT_FALSE(seleccion.Completo) << "la casilla también se desmarca";
    control<QCheckBox>(f, "chkCompleto").click();
    f.fechaInicioPulsada(QDate(2024, 4, 1));
    ASSERT_EQ(ejecutarYSalir(f, Salida::Boton, "cmd_Aceptar"), QDialog::Accepted);
    EXPECT_EQ(seleccion.FechaDesde, QDate(2024, 4, 1));
    EXPECT_TRUE(seleccion.Completo);
  }
}

TEST_F(Fechas, CadaCalendarioRespetaLaFechaDelOtroYLasEtiquetasLaMuestran) {
  frmFechas f(seleccion, reloj);
  auto& inicio = control<QCalendarWidget>(f, "mv_FechaInicio");
  auto& final_ = control<QCalendarWidget>(f, "mv_FechaFinal");
  struct Paso {
    bool enInicio;
    QDate pulsada;
    QDate desde, hasta;  // lo que debe quedar
  };
  const Paso pasos[] = {
      {true, QDate(2024, 5, 10), kHoy, kHoy},  // posterior a Hasta: no
      {true, QDate(2024, 5, 2), QDate(2024, 5, 2), kHoy},
      {false, QDate(2024, 5, 1), QDate(2024, 5, 2), kHoy},               // anterior a Desde: no
      {false, QDate(2024, 5, 2), QDate(2024, 5, 2), QDate(2024, 5, 2)},  // iguales valen
      {false, QDate(2024, 5, 20), QDate(2024, 5, 2), QDate(2024, 5, 20)},
      {true, QDate(2024, 5, 20), QDate(2024, 5, 20), QDate(2024, 5, 20)},  // iguales valen
      {true, QDate(2024, 5, 21), QDate(2024, 5, 20), QDate(2024, 5, 20)},
      {false, QDate(2024, 5, 19), QDate(2024, 5, 20), QDate(2024, 5, 20)},
      {true, QDate(2023, 12, 31), QDate(2023, 12, 31), QDate(2024, 5, 20)},
      {false, QDate(2024, 2, 29), QDate(2023, 12, 31), QDate(2024, 2, 29)},
      {true, QDate(2024, 3, 1), QDate(2023, 12, 31), QDate(2024, 2, 29)},
  };
  for (const Paso& p : pasos) {
    SCOPED_TRACE((p.enInicio ? "inicio " : "final ") + p.pulsada.toString(Qt::ISODate).toStdString());
    if (p.enInicio)
      f.fechaInicioPulsada(p.pulsada);
    else
      f.fechaFinalPulsada(p.pulsada);
    EXPECT_EQ(seleccion.FechaDesde, p.desde);
    EXPECT_EQ(seleccion.FechaHasta, p.hasta);
    EXPECT_EQ(control<QLabel>(f, "lblDesde").text(), p.desde.toString("dd/MM/yyyy"));
    EXPECT_EQ(control<QLabel>(f, "lblHasta").text(), p.hasta.toString("dd/MM/yyyy"));
    // Una fecha rechazada tampoco se queda marcada en su calendario.
    EXPECT_EQ(inicio.selectedDate(), p.desde);
    EXPECT_EQ(final_.selectedDate(), p.hasta);
    EXPECT_EQ(inicio.maximumDate(), p.hasta);
    EXPECT_EQ(final_.minimumDate(), p.desde);
  }
}

// El recuadro del día en la tabla del calendario (la del mes que enseña).
QRect CeldaDe(QCalendarWidget& calendario, const QDate& fecha) {
  auto& tabla = control<QTableView>(calendario, "qt_calendar_calendarview");
  const QAbstractItemModel* modelo = tabla.model();
  const QDate mes(calendario.yearShown(), calendario.monthShown(), 1);
  for (int fila = 0; fila < modelo->rowCount(); ++fila) {
    for (int columna = 0; columna < modelo->columnCount(); ++columna) {
      bool esDia = false;
      const int dia = modelo->data(modelo->index(fila, columna)).toInt(&esDia);
      if (!esDia) continue;  // la cabecera de los días de la semana
      // Las primeras filas traen el final del mes anterior y las últimas el
      // comienzo del siguiente.
      QDate suMes = mes;
      if (fila <= 2 && dia > 20) suMes = mes.addMonths(-1);
      if (fila >= 5 && dia < 15) suMes = mes.addMonths(1);
      if (QDate(suMes.year(), suMes.month(), dia) == fecha) return tabla.visualRect(modelo->index(fila, columna));
    }
  }
  return {};
}

// Lo más oscuro que se ve en el día (su número) y el fondo junto al borde.
struct Pintado {
  int numero = 255;
  int fondo = 0;
};

Pintado ComoSeVe(QCalendarWidget& calendario, const QDate& fecha) {
  auto& tabla = control<QTableView>(calendario, "qt_calendar_calendarview");
  const QImage imagen = tabla.viewport()->grab().toImage();
  const QRect celda = CeldaDe(calendario, fecha).adjusted(3, 3, -3, -3);
  Pintado p;
  if (celda.isEmpty()) return p;
  p.fondo = QColor(imagen.pixel(celda.topLeft())).lightness();
  for (int y = celda.top(); y <= celda.bottom(); ++y)
    for (int x = celda.left(); x <= celda.right(); ++x)
      p.numero = std::min(p.numero, QColor(imagen.pixel(x, y)).lightness());
  return p;
}

TEST_F(Fechas, LosDiasQueElOtroCalendarioNoDejaElegirSeVenApagados) {
  frmFechas f(seleccion, reloj);
  auto& inicio = control<QCalendarWidget>(f, "mv_FechaInicio");
  auto& final_ = control<QCalendarWidget>(f, "mv_FechaFinal");
  f.fechaInicioPulsada(QDate(2024, 5, 1));
  f.fechaFinalPulsada(QDate(2024, 5, 16));
  f.fechaInicioPulsada(QDate(2024, 5, 8));
  f.show();
  QCoreApplication::processEvents();
  // Días laborables, que se escriben en negro cuando se pueden elegir.
  const struct {
    QCalendarWidget* calendario;
    QDate dia;
    bool disponible;
  } casos[] = {
      {&inicio, QDate(2024, 5, 14), true},  {&inicio, QDate(2024, 5, 16), true}, {&inicio, QDate(2024, 5, 17), false},
      {&inicio, QDate(2024, 5, 22), false}, {&final_, QDate(2024, 5, 8), true},  {&final_, QDate(2024, 5, 9), true},
      {&final_, QDate(2024, 5, 7), false},  {&final_, QDate(2024, 5, 6), false},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE((c.calendario == &inicio ? "Desde " : "Hasta ") + c.dia.toString(Qt::ISODate).toStdString());
    ASSERT_FALSE(CeldaDe(*c.calendario, c.dia).isEmpty());
    const Pintado p = ComoSeVe(*c.calendario, c.dia);
    if (c.disponible) {
      EXPECT_LT(p.numero, 80);
      EXPECT_GE(p.fondo, 250);
    } else {
      EXPECT_GE(p.numero, 110) << "el número se escribe como el de un día normal";
      EXPECT_LT(p.fondo, 245) << "el fondo es el de un día normal";
    }
  }
}

TEST_F(Fechas, ElUsuarioEligeConRatonYTecladoDentroDeLosLimites) {
  frmFechas f(seleccion, reloj);
  f.show();
  auto& inicio = control<QCalendarWidget>(f, "mv_FechaInicio");
  auto& final_ = control<QCalendarWidget>(f, "mv_FechaFinal");
  auto& vistaInicio = control<QTableView>(inicio, "qt_calendar_calendarview");
  auto& vistaFinal = control<QTableView>(final_, "qt_calendar_calendarview");

  // Lo que hace el calendario con un clic en un día.
  inicio.setSelectedDate(QDate(2024, 5, 1));
  EXPECT_EQ(seleccion.FechaDesde, QDate(2024, 5, 1));
  EXPECT_EQ(control<QLabel>(f, "lblDesde").text(), "01/05/2024");
  EXPECT_EQ(final_.minimumDate(), QDate(2024, 5, 1));

  pulsarTecla(vistaInicio, Qt::Key_Right);
  EXPECT_EQ(seleccion.FechaDesde, QDate(2024, 5, 2));
  pulsarTecla(vistaFinal, Qt::Key_Left);
  EXPECT_EQ(seleccion.FechaHasta, QDate(2024, 5, 4));
  EXPECT_EQ(inicio.maximumDate(), QDate(2024, 5, 4));
  EXPECT_EQ(control<QLabel>(f, "lblHasta").text(), "04/05/2024");

  // El calendario final no deja bajar de Desde ni el de inicio pasar de Hasta.
  for (int i = 0; i < 5; ++i) pulsarTecla(vistaFinal, Qt::Key_Left);
  EXPECT_EQ(seleccion.FechaHasta, QDate(2024, 5, 2));
  EXPECT_EQ(final_.selectedDate(), QDate(2024, 5, 2));
  for (int i = 0; i < 5; ++i) pulsarTecla(vistaInicio, Qt::Key_Right);
  EXPECT_EQ(seleccion.FechaDesde, QDate(2024, 5, 2));
  EXPECT_LE(seleccion.FechaDesde, seleccion.FechaHasta);
}

TEST_F(Fechas, ElCampoDeVentasSoloCambiaElUmbralConUnNumeroCorto) {
  seleccion.NumVentas = 40;
  frmFechas f(seleccion, reloj);
  f.MostrarNumVentas();
  auto& campo = control<QLineEdit>(f, "txtVentas");
  EXPECT_FALSE(campo.isHidden());
  EXPECT_FALSE(control(f, "lblNumVentas").isHidden());
  EXPECT_EQ(campo.text(), "40");

  seleccion.NumVentas = 1;
  f.MostrarNumVentas();
  EXPECT_EQ(campo.text(), "1");
  EXPECT_EQ(seleccion.NumVentas, 1);

  const struct {
    const char* texto;
    qint16 queda;
  } casos[] = {
      {"", 1},    {"25", 25},       {"abc", 25},      {"99999", 25}, {"2.5", 25}, {"", 1},
      {"-7", -7}, {"32767", 32767}, {"32768", 32767}, {"7a", 32767}, {"0", 0},
  };
  for (const auto& c : casos) {
    campo.setText(QString::fromUtf8(c.texto));
    EXPECT_EQ(seleccion.NumVentas, c.queda) << "tras escribir \"" << c.texto << '"';
  }
  // Tecleado en el campo, letra a letra, como lo haría el usuario.
  campo.clear();
  for (Qt::Key tecla : {Qt::Key_1, Qt::Key_2, Qt::Key_Period}) {
    QKeyEvent evento(QEvent::KeyPress, tecla, Qt::NoModifier, QString(QChar(tecla)));
    QApplication::sendEvent(&campo, &evento);
  }
  EXPECT_EQ(campo.text(), "12.");
  EXPECT_EQ(seleccion.NumVentas, 12);
}

TEST_F(Fechas, AceptarCancelarYCerrar) {
  const struct {
    Salida salida;
    const char* boton;
    int resultado;
  } casos[] = {
      {Salida::Boton, "cmd_Aceptar", QDialog::Accepted},
      {Salida::Boton, "cmd_Cancelar", QDialog::Rejected},
      {Salida::CajaDeCierre, "", QDialog::Rejected},
      {Salida::Escape, "", QDialog::Rejected},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.boton) + " salida " + std::to_string(static_cast<int>(c.salida)));
    const bool aceptado = c.resultado == QDialog::Accepted;
    seleccion.Aceptado = !aceptado;
    frmFechas f(seleccion, reloj);
    f.fechaInicioPulsada(QDate(2024, 5, 3));
    EXPECT_EQ(ejecutarYSalir(f, c.salida, c.boton), c.resultado);
    EXPECT_EQ(seleccion.Aceptado, aceptado);
    EXPECT_EQ(seleccion.FechaDesde, QDate(2024, 5, 3));
  }
}

// Una fila de los diálogos de selección: cómo se cierra y qué debe quedar.
struct Eleccion {
  Salida salida;
  const char* boton;
  int resultado;
};

TEST(SelZonaOEmpleado, CadaBotonDeImagenHaceLoMismoQueSuBoton) {
  const struct {
    Eleccion e;
    bool porZonas, porEmpleados, aceptado;
  } casos[] = {
      {{Salida::Boton, "Command1", QDialog::Accepted}, true, false, true},
      {{Salida::Boton, "Command3", QDialog::Accepted}, true, false, true},
      {{Salida::Boton, "Command2", QDialog::Accepted}, false, true, true},
      {{Salida::Boton, "Command4", QDialog::Accepted}, false, true, true},
      {{Salida::Boton, "cmd_Cancelar", QDialog::Rejected}, false, false, false},
      {{Salida::CajaDeCierre, "", QDialog::Rejected}, false, false, false},
      {{Salida::Escape, "", QDialog::Rejected}, false, false, false},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.e.boton) + " salida " + std::to_string(static_cast<int>(c.e.salida)));
    SeleccionInforme s;
    s.Aceptado = !c.aceptado;
    s.FormatoZonas = 7;
    frmSelZona_o_Empleado d(s);
    EXPECT_EQ(ejecutarYSalir(d, c.e.salida, c.e.boton), c.e.resultado);
    EXPECT_EQ(s.PorZonas, c.porZonas);
    EXPECT_EQ(s.PorEmpleados, c.porEmpleados);
    EXPECT_EQ(s.Aceptado, c.aceptado);
    EXPECT_EQ(s.FormatoZonas, 7);
  }
}

TEST(SelGeneralOTotalizado, CadaBotonDejaSuFormatoYNuncaTocaAceptado) {
  const struct {
    Eleccion e;
    qint16 formato;
  } casos[] = {
      {{Salida::Boton, "Command1", QDialog::Accepted}, 2},
      {{Salida::Boton, "Command3", QDialog::Accepted}, 2},
      {{Salida::Boton, "Command2", QDialog::Accepted}, 1},
      {{Salida::Boton, "Command4", QDialog::Accepted}, 1},
      {{Salida::Boton, "cmd_Cancelar", QDialog::Rejected}, -1},
      {{Salida::CajaDeCierre, "", QDialog::Rejected}, -1},
      {{Salida::Escape, "", QDialog::Rejected}, -1},
  };
  for (const auto& c : casos) {
    for (bool aceptado : {false, true}) {
      SCOPED_TRACE(std::string(c.e.boton) + " salida " + std::to_string(static_cast<int>(c.e.salida)) +
                   (aceptado ? " con Aceptado" : " sin Aceptado"));
      SeleccionInforme s;
      s.Aceptado = aceptado;
      s.FormatoZonas = 0;
      frmSelGeneral_o_Totalizado d(s);
      EXPECT_EQ(ejecutarYSalir(d, c.e.salida, c.e.boton), c.e.resultado);
      EXPECT_EQ(s.FormatoZonas, c.formato);
      EXPECT_EQ(s.Aceptado, aceptado);
      EXPECT_FALSE(s.PorZonas || s.PorEmpleados);
    }
  }
}

// Los textos, los nombres que buscan los colores y los permisos, y los botones
// de imagen (sin texto, con icono y con ayuda).
void comprobarControles(QWidget& formu, const QString& nombre,
                        std::initializer_list<std::pair<const char*, const char*>> textos,
                        std::initializer_list<const char*> deImagen) {
  EXPECT_EQ(formu.objectName(), nombre);
  EXPECT_EQ(formu.windowTitle(), "Cronicas");
  for (const auto& [control_, texto] : textos) {
    QWidget& w = control(formu, control_);
    const QString leido = qobject_cast<QLabel*>(&w)            ? qobject_cast<QLabel*>(&w)->text()
                          : qobject_cast<QAbstractButton*>(&w) ? qobject_cast<QAbstractButton*>(&w)->text()
                                                               : QStringLiteral("(sin texto)");
    EXPECT_EQ(leido, QString::fromUtf8(texto)) << control_;
  }
  for (const char* boton : deImagen) {
    auto& b = control<QAbstractButton>(formu, boton);
    EXPECT_TRUE(b.text().isEmpty()) << boton;
    EXPECT_FALSE(b.icon().isNull()) << boton;
    EXPECT_FALSE(b.toolTip().isEmpty()) << boton;
  }
}

TEST(Dialogos, TextosYControlesPorNombre) {
  sistema::RelojFijo reloj(QDateTime(kHoy, QTime(8, 0)));
  SeleccionInforme s;
  frmFechas f(s, reloj);
  f.ponerTipoInforme("Ventas por Forma de Pago");
  comprobarControles(f, "frmFechas",
                     {{"lblTipoInforme", "Ventas por Forma de Pago"},
                      {"chkCompleto", "Completo"},
                      {"lblNumVentas", "Numero de Ventas menores a:"},
                      {"cmd_Aceptar", "Aceptar"}},
                     {"cmd_Cancelar"});
  control<QCalendarWidget>(f, "mv_FechaInicio");
  control<QCalendarWidget>(f, "mv_FechaFinal");
  // Cada calendario lleva encima su rótulo.
  QStringList rotulos;
  for (const QLabel* l : f.findChildren<QLabel*>()) rotulos << l->text();
  EXPECT_TRUE(rotulos.contains("Desde"));
  EXPECT_TRUE(rotulos.contains("Hasta"));

  frmSelZona_o_Empleado z(s);
  comprobarControles(z, "frmSelZona_o_Empleado",
                     {{"lblTipoInforme", "Ventas por Familias"},
                      {"Command1", "Ventas por Familias agrupado por Zonas"},
                      {"Command2", "Ventas por Familias agrupado por Empleados"}},
                     {"Command3", "Command4", "cmd_Cancelar"});
  rotulos.clear();
  for (const QLabel* l : z.findChildren<QLabel*>()) rotulos << l->text();
  EXPECT_TRUE(rotulos.contains("Agrupado por"));

  frmSelGeneral_o_Totalizado g(s);
  comprobarControles(g, "frmSelGeneral_o_Totalizado",
                     {{"lblTipoInforme", "Ventas por Zonas"},
                      {"Command1", "Ventas por Zonas Totalizado por productos"},
                      {"Command2", "Ventas por Zonas en Formato General"}},
                     {"Command3", "Command4", "cmd_Cancelar"});

  for (QDialog* d : {static_cast<QDialog*>(&z), static_cast<QDialog*>(&g)}) {
    SCOPED_TRACE(d->objectName().toStdString());
    EXPECT_TRUE(control(*d, "Colores").isHidden());
    // El tema de la suite busca las figuras por nombre entre los QFrame.
    for (const char* figura : {"shp_botones", "shp_titulos_1", "shp_titulos_2", "Shp_titulos_3", "shp_logo"})
      control<QFrame>(control(*d, "Colores"), figura);
    // Los botones van dentro del marco que toma el color del tema.
    for (const char* boton : {"Command1", "Command2", "Command3", "Command4"})
      control<QPushButton>(control(*d, "frtipo"), boton);
  }
}

// Con lo opcional a la vista, cada diálogo cabe en la pantalla más pequeña
// que se atiende (menos barra de tareas y título) y sus botones muestran el
// texto entero; en la grande el contenido se queda centrado.
TEST(Dialogos, CabenDe1024x768A1920x1080) {
  sistema::RelojFijo reloj(QDateTime(kHoy, QTime(8, 0)));
  SeleccionInforme s;
  frmFechas f(s, reloj);
  f.ponerTipoInforme("Ventas por Empleado con un título largo de informe");
  f.mostrarCompleto();
  f.MostrarNumVentas();
  frmSelZona_o_Empleado z(s);
  frmSelGeneral_o_Totalizado g(s);
  for (QDialog* d : {static_cast<QDialog*>(&f), static_cast<QDialog*>(&z), static_cast<QDialog*>(&g)}) {
    SCOPED_TRACE(d->objectName().toStdString());
    const QSize minimo = d->minimumSizeHint();
    EXPECT_LE(minimo.width(), 1024);
    EXPECT_LE(minimo.height(), 700);
    for (const QSize pantalla : {QSize(1024, 700), QSize(1920, 1040)}) {
      d->resize(pantalla);
      d->show();
      QApplication::processEvents();
      for (QAbstractButton* b : d->findChildren<QAbstractButton*>()) {
        // Los botones internos del calendario son cosa de Qt.
        if (!b->isVisible() || b->objectName().startsWith("qt_")) continue;
        const QRect zona(b->mapTo(d, QPoint(0, 0)), b->size());
        EXPECT_TRUE(d->rect().contains(zona)) << b->objectName().toStdString();
        EXPECT_GE(b->width(), b->sizeHint().width()) << b->objectName().toStdString();
        EXPECT_GE(b->height(), 48) << b->objectName().toStdString();
      }
      const QWidget& encabezado = control(*d, "lblTipoInforme");
      const int centro = encabezado.mapTo(d, encabezado.rect().center()).x();
      EXPECT_NEAR(centro, d->width() / 2, 2);
      d->hide();
    }
  }
}

// La vuelta real del formulario principal: primero el coloreado general con
// la paleta del puesto, después el propio. El general pinta frtipo con su
// ranura de marcos pero deja las figuras, así que el marco acaba con el color
// de diseño de shp_logo y no con el de la paleta.
class ColoreadoConPaleta : public ::testing::Test {
 protected:
  template <typename Dialogo>
  void comprobar() {
    SCOPED_TRACE(typeid(Dialogo).name());
    Dialogo d(tienda.seleccion);
    const QColor diseno = control<FiguraColor>(d, "shp_logo").color();
    aspecto::Colorear(d, 3, *tienda.ajustes.ConexionVentas, "1234");
    ASSERT_EQ(control(d, "frtipo").palette().color(QPalette::Window).name(), kMarcos.name());
    d.colorearEspecial(kTitulo);
    EXPECT_EQ(control<FiguraColor>(d, "shp_logo").color().name(), diseno.name());
    EXPECT_EQ(control(d, "frtipo").palette().color(QPalette::Window).name(), diseno.name());
    EXPECT_TRUE(control(d, "frtipo").autoFillBackground());
    EXPECT_EQ(control(d, "lblTipoInforme").palette().color(QPalette::WindowText).name(), kTitulo.name());
  }

  prueba::Tienda tienda{prueba::Motor::SQLite};
  // Ranura 0 (marcos sobre el formulario): 0x203040 en azul-verde-rojo.
  const QColor kMarcos{0x40, 0x30, 0x20};
  const QColor kTitulo{0x12, 0x34, 0x56};
};

TEST_F(ColoreadoConPaleta, ElMarcoAcabaConElColorDeShpLogo) {
  QVariantMap paleta{{"id_color", 3}, {"color1", 0x203040}};
  for (int i = 2; i <= 14; ++i) paleta.insert(QString("color%1").arg(i), 0x0A0A0A * i);
  tienda.insertar("colores", paleta);
  comprobar<frmSelZona_o_Empleado>();
  comprobar<frmSelGeneral_o_Totalizado>();
}

}  // namespace
