// La ventana principal manejada por el nombre de sus controles, como lo haría
// un usuario: cada botón abre sus diálogos, corre su constructor y enseña su
// plantilla; las reglas del tipo de negocio, del país, del correo y de los
// permisos; el panel de meses de los gráficos.

#include "charts/frmGraficos.h"
#include "registro/CargarEmpleados.h"
#include "registro/Principal.h"
#include "registro/RegistroInformes.h"
#include "reports_ui/ArranqueVentana.h"
#include "reports_ui/VistaPrevia.h"
#include "reports_ui/frmPrincipalCronicas.h"
#include "startup/AspectoFormulario.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include "support/ImprimirQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using prueba::Motor;
using sistema::Icono;

// La tienda de los listados con las ventas que enseña la ventana.
QString Fixture() {
  return prueba::GuionTienda(QStringLiteral("maestros")) + prueba::GuionTienda(QStringLiteral("ventana"));
}

class LanzadorApuntado : public sistema::Lanzador {
 public:
  void lanzar(const QString& carpeta, const QString& nombre) override {
    lanzados << carpeta + QLatin1Char('|') + nombre;
  }
  QStringList lanzados;
};

// Contesta los diálogos modales que abre la ventana, en el orden en que
// llegan, y apunta el nombre de cada uno. Un diálogo sin respuesta prevista
// se cancela para que la prueba no se quede colgada.
class Guion {
 public:
  using Accion = std::function<void(QWidget*)>;
  Guion() {
    QObject::connect(&reloj_, &QTimer::timeout, [this] { mirar(); });
    reloj_.start(2);
  }
  void cuando(const QString& nombre, Accion accion) { pasos_.push_back({nombre, std::move(accion)}); }
  QStringList vistos;

 private:
  void mirar() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || (w == ultimo_ && w->objectName() == nombreUltimo_)) return;
    ultimo_ = w;
    nombreUltimo_ = w->objectName();
    if (nombreUltimo_ == QLatin1String("frmparar")) return;  // se cierra solo
    vistos << nombreUltimo_;
    for (auto it = pasos_.begin(); it != pasos_.end(); ++it) {
      if (it->first != nombreUltimo_) continue;
      const Accion accion = it->second;
      pasos_.erase(it);
      accion(w);
      return;
    }
    if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
  }
  QTimer reloj_;
  QPointer<QWidget> ultimo_;
  QString nombreUltimo_;
  std::vector<std::pair<QString, Accion>> pasos_;
};

template <class T>
T* Control(QWidget* raiz, const QString& nombre) {
  T* c = raiz->findChild<T*>(nombre);
  EXPECT_NE(c, nullptr) << "falta el control " << nombre.toStdString();
  return c;
}

void Pulsar(QWidget* raiz, const QString& nombre) {
  if (auto* b = Control<QAbstractButton>(raiz, nombre)) b->click();
}

// Elige un rango en el diálogo de fechas como lo haría el usuario: primero el
// comienzo, después el final (cada calendario no deja pasar del otro).
Guion::Accion Fechas(QDate desde, QDate hasta, QString* encabezado = nullptr) {
  return [=](QWidget* d) {
    if (encabezado) *encabezado = Control<QLabel>(d, QStringLiteral("lblTipoInforme"))->text();
    Control<QCalendarWidget>(d, QStringLiteral("mv_FechaInicio"))->setSelectedDate(desde);
    Control<QCalendarWidget>(d, QStringLiteral("mv_FechaFinal"))->setSelectedDate(hasta);
    Pulsar(d, QStringLiteral("cmd_Aceptar"));
  };
}

// La ventana no habla con la base más que a través del núcleo, que ya se
// prueba en los dos motores: aquí basta SQLite.
class Principal : public testing::Test {
 protected:
  Principal() : tienda(Motor::SQLite) {
    tienda.ajustes.ConexionVentas->ejecutarGuion(Fixture());
    tienda.ajustes.TipoPrograma = QStringLiteral("RESTAURANTE");
    tienda.ajustes.EmpleadoTerminal = -1;
    tienda.ajustes.ImpresoraInformes = QStringLiteral("Impresora que no existe");
  }

  std::unique_ptr<frmPrincipalCronicas> Abrir() {
    frmPrincipalCronicas::Entorno e;
    e.ajustes = &tienda.ajustes;
    e.seleccion = &tienda.seleccion;
    e.notificador = &tienda.notificador;
    e.reloj = &tienda.reloj;
    e.lanzador = &lanzador;
    e.carpetaPrograma = QStringLiteral("/opt/velarix");
    e.ficheroExportacion = QDir(tienda.bases.carpeta()).filePath(QStringLiteral("salida/resumen.xlsx"));
    e.correo.enLinea = [] { return false; };
    e.intervaloProgreso = intervaloProgreso;
    e.pantalla = QRect(0, 0, 1024, 768);
    return std::make_unique<frmPrincipalCronicas>(std::move(e));
  }

  // Pulsa un botón y espera a que su secuencia termine (los diálogos son
  // modales: click() vuelve cuando se han contestado).
  void PulsarYEsperar(frmPrincipalCronicas& f, const QString& boton) {
    Pulsar(&f, boton);
    QApplication::processEvents();
  }

  QStringList Avisos() const {
    QStringList textos;
    for (const auto& a : tienda.notificador.avisos) textos << a.texto;
    return textos;
  }

  qint64 FilasInformes() const {
    datos::Consulta q = tienda.ajustes.ConexionInformes->preparar(QStringLiteral("SELECT COUNT(*) FROM informes"));
    q.ejecutar();
    return q.siguiente() ? q.valor(0).toLongLong() : -1;
  }

  prueba::Tienda tienda;
  LanzadorApuntado lanzador;
  int intervaloProgreso = 1;
};

// --- Un botón de punta a punta ---------------------------------------------

TEST_F(Principal, ListadoSinFechasLlegaALaVistaPrevia) {
  auto f = Abrir();
  Guion guion;
  PulsarYEsperar(*f, QStringLiteral("cmdProductos"));
  EXPECT_TRUE(guion.vistos.isEmpty()) << guion.vistos.join(QLatin1Char(',')).toStdString();
  ASSERT_NE(f->ultimaVista(), nullptr) << Avisos().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(f->ultimaVista()->plantilla(), QStringLiteral("productos.rpt"));
  // Ninguna impresora se llama así: se queda la predeterminada.
  EXPECT_EQ(f->ultimaVista()->impresora(), QString());
  EXPECT_GT(FilasInformes(), 0);
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty());
}

TEST_F(Principal, ElProgresoSeVeAntesDeLaVistaYSeTraduceFueraDelCastellano) {
  tienda.ajustes.Idioma = QStringLiteral("CATALAN");
  tienda.insertar(QStringLiteral("traducciones"),
                  {{QStringLiteral("caption"), QStringLiteral("GENERANDO REPORTE")},
                   {QStringLiteral("traduccion"), QStringLiteral("GENERANT L'INFORME")}});
  intervaloProgreso = 40;
  auto f = Abrir();
  QString texto;
  bool vistaYaAbierta = false;
  QTimer vigia;
  QObject::connect(&vigia, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || w->objectName() != QLatin1String("frmparar") || !texto.isEmpty()) return;
    texto = Control<QLabel>(w, QStringLiteral("Label1"))->text();
    vistaYaAbierta = f->ultimaVista() != nullptr;
  });
  vigia.start(5);
  PulsarYEsperar(*f, QStringLiteral("cmdProductos"));
  EXPECT_EQ(texto, QStringLiteral("GENERANT L'INFORME"));
  EXPECT_FALSE(vistaYaAbierta);
  EXPECT_NE(f->ultimaVista(), nullptr);
}

TEST_F(Principal, VentasPorFormaDePagoPideLasFechasConSuTitulo) {
  auto f = Abrir();
  Guion guion;
  QString encabezado;
  guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2026, 3, 1), QDate(2026, 3, 5), &encabezado));
  PulsarYEsperar(*f, QStringLiteral("cmdVentasXFPago"));
  EXPECT_EQ(guion.vistos, QStringList{QStringLiteral("frmFechas")});
  EXPECT_EQ(encabezado, QStringLiteral("Ventas por formas de pago"));
  EXPECT_EQ(tienda.seleccion.FechaDesde, QDate(2026, 3, 1));
  EXPECT_EQ(tienda.seleccion.FechaHasta, QDate(2026, 3, 5));
  ASSERT_NE(f->ultimaVista(), nullptr) << Avisos().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(f->ultimaVista()->plantilla(), QStringLiteral("VentasXFormasPago.rpt"));
}

TEST_F(Principal, CierreDeCajaPideAntesElEmpleado) {
  auto f = Abrir();
  Guion guion;
  QString encabezado;
  guion.cuando(QStringLiteral("frmSelEmpleado"), [](QWidget* d) {
    // Los de baja no salen: Jesús (2) no tiene tesela.
    EXPECT_EQ(d->findChild<QAbstractButton*>(QStringLiteral("tesela_2")), nullptr);
    Pulsar(d, QStringLiteral("tesela_1"));
  });
  guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2026, 3, 1), QDate(2026, 3, 5), &encabezado));
  PulsarYEsperar(*f, QStringLiteral("cmdCierreCaja"));
  EXPECT_EQ(guion.vistos, (QStringList{QStringLiteral("frmSelEmpleado"), QStringLiteral("frmFechas")}));
  EXPECT_EQ(encabezado, QStringLiteral("Ventas Detalladas por Empleados"));
  EXPECT_EQ(tienda.seleccion.EmpleadoElegido, 1);
  ASSERT_NE(f->ultimaVista(), nullptr) << Avisos().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(f->ultimaVista()->plantilla(), QStringLiteral("cierredecaja2.rpt"));
}

TEST_F(Principal, SalirOCerrarElEmpleadoOCancelarLasFechasNoLeeNada) {
  auto f = Abrir();
  const struct {
    const char* boton;
    const char* dialogo;
    Guion::Accion accion;
  } casos[] = {
      {"cmdCierreCaja", "frmSelEmpleado", [](QWidget* d) { Pulsar(d, QStringLiteral("cmd_Salir")); }},
      {"cmdCierreCaja", "frmSelEmpleado", [](QWidget* d) { d->close(); }},
      {"cmdVentasXFPago", "frmFechas", [](QWidget* d) { Pulsar(d, QStringLiteral("cmd_Cancelar")); }},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.dialogo);
    Guion guion;
    guion.cuando(QLatin1String(c.dialogo), c.accion);
    PulsarYEsperar(*f, QLatin1String(c.boton));
    EXPECT_EQ(guion.vistos, QStringList{QLatin1String(c.dialogo)});
    EXPECT_EQ(f->ultimaVista(), nullptr);
    EXPECT_EQ(FilasInformes(), 0);
  }
  EXPECT_FALSE(tienda.seleccion.Aceptado);
}

TEST_F(Principal, ElResumenFiscalLlevaElEncabezadoDelResumenDiario) {
  tienda.ejecutar(QStringLiteral("DELETE FROM configuracionregional"));
  tienda.insertar(QStringLiteral("configuracionregional"),
                  {{QStringLiteral("nombre"), QStringLiteral("Republica Dominicana")}});
  auto f = Abrir();
  ASSERT_TRUE(Control<QWidget>(f.get(), QStringLiteral("cmdRepDominicana"))->isVisibleTo(f.get()));
  Guion guion;
  QString encabezado;
  guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2026, 3, 1), QDate(2026, 3, 5), &encabezado));
  PulsarYEsperar(*f, QStringLiteral("cmdRepDominicana"));
  EXPECT_EQ(encabezado, QStringLiteral("Ventas Generales por Dia"));
}

TEST_F(Principal, ResumenDiarioSeExportaYSeEnsenaSinConexion) {
  auto f = Abrir();
  Guion guion;
  guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2026, 3, 1), QDate(2026, 3, 5)));
  PulsarYEsperar(*f, QStringLiteral("cmdCierreResumido"));
  ASSERT_NE(f->ultimaVista(), nullptr) << Avisos().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(f->ultimaVista()->plantilla(), QStringLiteral("ResumenVentas.rpt"));
  EXPECT_TRUE(QFile::exists(QDir(tienda.bases.carpeta()).filePath(QStringLiteral("salida/resumen.xlsx"))));
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty()) << Avisos().join(QLatin1Char('\n')).toStdString();
}

TEST_F(Principal, SinDatosNoHayProgresoNiVista) {
  auto f = Abrir();
  Guion guion;
  guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2025, 1, 1), QDate(2025, 1, 2)));
  PulsarYEsperar(*f, QStringLiteral("cmdVentasXFPago"));
  EXPECT_EQ(f->ultimaVista(), nullptr);
  EXPECT_TRUE(tienda.seleccion.SinDatos);
  // El constructor es quien avisa; la ventana no añade el aviso de la vista.
  ASSERT_EQ(tienda.notificador.avisos.size(), 1) << Avisos().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(tienda.notificador.avisos.first().titulo, QStringLiteral("ATENCION"));
}

TEST_F(Principal, LaCasillaCompletoSoloConElModuloDeFacturas) {
  for (const int modulo : {0, 1}) {
    SCOPED_TRACE(modulo);
    tienda.ejecutar(QStringLiteral("UPDATE opciones SET modulo_factura = ? WHERE identificador = '1234'"), {modulo});
    auto f = Abrir();
    Guion guion;
    bool visible = !modulo;
    guion.cuando(QStringLiteral("frmFechas"), [&](QWidget* d) {
      visible = Control<QCheckBox>(d, QStringLiteral("chkCompleto"))->isVisibleTo(d);
      Pulsar(d, QStringLiteral("cmd_Cancelar"));
    });
    PulsarYEsperar(*f, QStringLiteral("cmdResumenVentasXEmpleado"));
    EXPECT_EQ(visible, modulo == 1);
  }
}

// --- Secuencias especiales con un constructor de prueba ----------------------

// Los informes de zonas y de familias aún no tienen constructor: se prueba su
// secuencia con uno que apunta la llamada y escribe una fila.
class SecuenciasEspeciales : public Principal {
 protected:
  registro::BotonInforme ConConstructor(const QString& nombre) {
    registro::BotonInforme b = *registro::BuscarBoton(nombre);
    b.constructor = [this](informes::Contexto& ctx) {
      ++llamadas;
      ctx.seleccion.SinDatos = false;
      ctx.ajustes.ConexionInformes->ejecutar(QStringLiteral("INSERT INTO informes (texto1) VALUES ('fila')"));
    };
    return b;
  }
  int llamadas = 0;
};

TEST_F(SecuenciasEspeciales, CancelarElFormatoDeZonasNoImprimeNadaAunqueQuedenFilas) {
  tienda.ajustes.ConexionInformes->ejecutar(QStringLiteral("INSERT INTO informes (texto1) VALUES ('del anterior')"));
  auto f = Abrir();
  const registro::BotonInforme zonas = ConConstructor(QStringLiteral("cmdVentasXZonas"));
  Guion guion;
  guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2026, 3, 1), QDate(2026, 3, 5)));
  guion.cuando(QStringLiteral("frmSelGeneral_o_Totalizado"),
               [](QWidget* d) { Pulsar(d, QStringLiteral("cmd_Cancelar")); });
  f->ejecutarBoton(zonas, Control<QAbstractButton>(f.get(), QStringLiteral("cmdVentasXZonas")));
  EXPECT_EQ(guion.vistos, (QStringList{QStringLiteral("frmFechas"), QStringLiteral("frmSelGeneral_o_Totalizado")}));
  EXPECT_EQ(tienda.seleccion.FormatoZonas, -1);
  EXPECT_TRUE(tienda.seleccion.Aceptado);
  EXPECT_EQ(llamadas, 0);
  EXPECT_EQ(f->ultimaVista(), nullptr);
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty());
}

TEST_F(SecuenciasEspeciales, ElFormatoTotalizadoUsaSuPlantilla) {
  auto f = Abrir();
  const registro::BotonInforme zonas = ConConstructor(QStringLiteral("cmdVentasXZonas"));
  Guion guion;
  guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2026, 3, 1), QDate(2026, 3, 5)));
  guion.cuando(QStringLiteral("frmSelGeneral_o_Totalizado"), [](QWidget* d) { Pulsar(d, QStringLiteral("Command1")); });
  f->ejecutarBoton(zonas, Control<QAbstractButton>(f.get(), QStringLiteral("cmdVentasXZonas")));
  EXPECT_EQ(tienda.seleccion.FormatoZonas, 2);
  EXPECT_EQ(llamadas, 1);
  ASSERT_NE(f->ultimaVista(), nullptr);
  EXPECT_EQ(f->ultimaVista()->plantilla(), QStringLiteral("VentasXZonas_T_Producto.rpt"));
}

TEST_F(SecuenciasEspeciales, FamiliasSoloSiguenConLaAgrupacionAceptada) {
  auto f = Abrir();
  const registro::BotonInforme familias = ConConstructor(QStringLiteral("cmdVentasXFamilias"));
  auto* control = Control<QAbstractButton>(f.get(), QStringLiteral("cmdVentasXFamilias"));
  {
    Guion guion;
    guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2026, 3, 1), QDate(2026, 3, 5)));
    guion.cuando(QStringLiteral("frmSelZona_o_Empleado"), [](QWidget* d) { d->close(); });
    tienda.seleccion.PorZonas = true;
    f->ejecutarBoton(familias, control);
    EXPECT_EQ(guion.vistos, (QStringList{QStringLiteral("frmFechas"), QStringLiteral("frmSelZona_o_Empleado")}));
    EXPECT_FALSE(tienda.seleccion.PorZonas) << "la ventana las pone a falso antes del diálogo";
    EXPECT_EQ(llamadas, 0);
  }
  {
    Guion guion;
    guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2026, 3, 1), QDate(2026, 3, 5)));
    guion.cuando(QStringLiteral("frmSelZona_o_Empleado"), [](QWidget* d) { Pulsar(d, QStringLiteral("Command2")); });
    f->ejecutarBoton(familias, control);
    EXPECT_TRUE(tienda.seleccion.PorEmpleados);
    EXPECT_FALSE(tienda.seleccion.PorZonas);
    EXPECT_EQ(llamadas, 1);
  }
}

TEST_F(SecuenciasEspeciales, ProductosSinVentasAbreConUnoEnElCampo) {
  auto f = Abrir();
  const registro::BotonInforme sinVentas = ConConstructor(QStringLiteral("cmdProdSinVentas"));
  tienda.seleccion.NumVentas = 7;
  Guion guion;
  QString campo;
  bool visible = false;
  guion.cuando(QStringLiteral("frmFechas"), [&](QWidget* d) {
    auto* txt = Control<QLineEdit>(d, QStringLiteral("txtVentas"));
    campo = txt->text();
    visible = txt->isVisibleTo(d);
    txt->setText(QStringLiteral("3"));
    Pulsar(d, QStringLiteral("cmd_Aceptar"));
  });
  f->ejecutarBoton(sinVentas, Control<QAbstractButton>(f.get(), QStringLiteral("cmdProdSinVentas")));
  EXPECT_EQ(campo, QStringLiteral("1"));
  EXPECT_TRUE(visible);
  EXPECT_EQ(tienda.seleccion.NumVentas, 3);
  EXPECT_EQ(llamadas, 1);
}

TEST_F(SecuenciasEspeciales, LosInformesLargosSeRechazanEnUnPuestoRemotoSinAbrirNada) {
  tienda.ajustes.BaseDatosRemota = true;
  auto f = Abrir();
  Guion guion;
  for (const QString& nombre : {QStringLiteral("cmdResumenVentasXEmpleado"), QStringLiteral("cmdResumenContable"),
                                QStringLiteral("cmdProductosMasVendidos"), QStringLiteral("cmdImpuestosRep")}) {
    SCOPED_TRACE(nombre.toStdString());
    tienda.notificador.avisos.clear();
    f->ejecutarBoton(ConConstructor(nombre), Control<QAbstractButton>(f.get(), nombre));
    ASSERT_EQ(tienda.notificador.avisos.size(), 1);
    EXPECT_EQ(tienda.notificador.avisos.first().texto,
              "Este listado puede tardar unos minutos le recomendamos que lo haga desde el Servidor.");
    EXPECT_EQ(tienda.notificador.avisos.first().titulo, QStringLiteral("Cronicas"));
    EXPECT_EQ(tienda.notificador.avisos.first().icono, Icono::Informacion);
  }
  EXPECT_TRUE(guion.vistos.isEmpty());
  EXPECT_EQ(llamadas, 0);
  // Los demás sí se hacen desde el puesto remoto.
  guion.cuando(QStringLiteral("frmFechas"), Fechas(QDate(2026, 3, 1), QDate(2026, 3, 5)));
  f->ejecutarBoton(ConConstructor(QStringLiteral("cmdVentasXFPago")),
                   Control<QAbstractButton>(f.get(), QStringLiteral("cmdVentasXFPago")));
  EXPECT_EQ(llamadas, 1);
}

// --- Reglas de la carga ------------------------------------------------------

TEST_F(Principal, ElTipoDeNegocioEscondeBotones) {
  struct Caso {
    QString tipo;
    QStringList ocultos;
  };
  const QStringList candidatos = {QStringLiteral("cmdVentasPromociones"), QStringLiteral("cmdReservasHora")};
  for (const Caso& c : {Caso{QStringLiteral("RESTAURANTE"), {QStringLiteral("cmdVentasPromociones")}},
                        Caso{QStringLiteral("FASTFOOD"), {QStringLiteral("cmdVentasPromociones")}},
                        Caso{QStringLiteral("COPAS"), {QStringLiteral("cmdReservasHora")}}, Caso{QString(), {}},
                        Caso{QStringLiteral("restaurante"), {}}}) {
    SCOPED_TRACE(c.tipo.toStdString());
    tienda.ajustes.TipoPrograma = c.tipo;
    auto f = Abrir();
    for (const QString& nombre : candidatos)
      EXPECT_EQ(Control<QWidget>(f.get(), nombre)->isVisibleTo(f.get()), !c.ocultos.contains(nombre))
          << nombre.toStdString();
    // La cocina ocupa el sitio de las promociones escondidas y la rejilla no
    // deja huecos.
    auto* cocina = Control<QWidget>(f.get(), QStringLiteral("cmdPedidosCocinaXVentas"));
    auto* promociones = Control<QWidget>(f.get(), QStringLiteral("cmdVentasPromociones"));
    auto* rejilla = qobject_cast<QGridLayout*>(cocina->parentWidget()->layout());
    ASSERT_NE(rejilla, nullptr);
    const auto celda = [&](QWidget* w) {
      int fila = -1, columna = -1, n = 0;
      if (rejilla->indexOf(w) >= 0) rejilla->getItemPosition(rejilla->indexOf(w), &fila, &columna, &n, &n);
      return std::pair(fila, columna);
    };
    const bool sinPromociones = c.ocultos.contains(QStringLiteral("cmdVentasPromociones"));
    EXPECT_EQ(celda(cocina), sinPromociones ? std::pair(10, 1) : std::pair(11, 0));
    if (!sinPromociones) {
      EXPECT_EQ(celda(promociones), std::pair(10, 1));
    }
    int visibles = 0, ultimo = -1;
    for (int i = 0; i < rejilla->count(); ++i) {
      QWidget* w = rejilla->itemAt(i)->widget();
      if (!w || w->isHidden()) continue;
      ++visibles;
      ultimo = std::max(ultimo, celda(w).first * 2 + celda(w).second);
    }
    EXPECT_EQ(ultimo, visibles - 1) << "hay un hueco entre los botones visibles";
  }
}

TEST_F(Principal, ElBotonFiscalSoloParaLaRepublicaDominicanaEscritaSinTilde) {
  for (const auto& [pais, visible] : {std::pair(QStringLiteral("Republica Dominicana"), true),
                                      std::pair(QString::fromUtf8("República Dominicana"), false),
                                      std::pair(QStringLiteral("republica dominicana"), false)}) {
    SCOPED_TRACE(pais.toStdString());
    tienda.ejecutar(QStringLiteral("DELETE FROM configuracionregional"));
    tienda.insertar(QStringLiteral("configuracionregional"), {{QStringLiteral("nombre"), pais}});
    auto f = Abrir();
    EXPECT_EQ(f->nombrePais(), pais);
    EXPECT_EQ(Control<QWidget>(f.get(), QStringLiteral("cmdRepDominicana"))->isVisibleTo(f.get()), visible);
  }
  // Sin filas, o sin tabla, el país queda vacío y la ventana se abre igual.
  tienda.ejecutar(QStringLiteral("DROP TABLE configuracionregional"));
  auto f = Abrir();
  EXPECT_EQ(f->nombrePais(), QString());
  EXPECT_FALSE(Control<QWidget>(f.get(), QStringLiteral("cmdRepDominicana"))->isVisibleTo(f.get()));
}

TEST_F(Principal, ElMarcoDelCorreoInvitaMientrasFalteAlgo) {
  auto& at = tienda.ajustes;
  for (int faltan = 0; faltan < 4; ++faltan) {
    SCOPED_TRACE(faltan);
    at.DatosEmailA = faltan == 1 ? QString() : QStringLiteral("bar@gmail.com");
    at.DatosEmailOtros = faltan == 2 ? QString() : QStringLiteral("clave");
    at.EmailInformes = faltan == 3 ? QString() : QStringLiteral("dueno@ejemplo.es");
    auto f = Abrir();
    EXPECT_EQ(Control<QWidget>(f.get(), QStringLiteral("frCorreo"))->isVisibleTo(f.get()), faltan != 0);
  }
}

TEST_F(Principal, AñosYMesesConElRelojFijo) {
  tienda.reloj.fijar(QDateTime(QDate(2026, 3, 1), QTime(10, 0)));
  auto f = Abrir();
  auto* años = Control<QComboBox>(f.get(), QString::fromUtf8("cbAño"));
  auto* meses = Control<QComboBox>(f.get(), QStringLiteral("cbMes"));
  ASSERT_EQ(años->count(), 127);
  EXPECT_EQ(años->itemText(0), QStringLiteral("2026"));
  EXPECT_EQ(años->itemText(126), QStringLiteral("1900"));
  EXPECT_EQ(años->currentText(), QStringLiteral("2026"));
  ASSERT_EQ(meses->count(), 12);
  EXPECT_EQ(meses->itemText(0), QStringLiteral("Enero"));
  EXPECT_EQ(meses->itemText(11), QStringLiteral("Diciembre"));
  EXPECT_EQ(meses->currentText(), QStringLiteral("Marzo"));
}

TEST_F(Principal, ElPanelDeMesesGuardaElGraficoYDeshabilitaLosMarcos) {
  auto f = Abrir();
  auto* panel = Control<QWidget>(f.get(), QStringLiteral("frMeses"));
  const QStringList marcos = {QStringLiteral("frVentas"), QStringLiteral("Frame3"), QStringLiteral("Frame5"),
                              QStringLiteral("cmd_Salir")};
  EXPECT_FALSE(panel->isVisibleTo(f.get()));
  for (const registro::BotonInforme& g : registro::Botones()) {
    if (g.clase != registro::Clase::Grafico) continue;
    SCOPED_TRACE(g.boton.toStdString());
    // Un gráfico pendiente lo dice sin abrir el panel.
    tienda.notificador.avisos.clear();
    Pulsar(f.get(), g.boton);
    EXPECT_EQ(panel->isVisibleTo(f.get()), g.disponible());
    EXPECT_EQ(Avisos(), g.disponible() ? QStringList{} : QStringList{registro::kAvisoProximaVersion});
    Pulsar(f.get(), QStringLiteral("cmdCancelar"));
    tienda.notificador.avisos.clear();
    f->pedirMes(g.titulo, g.grafico);
    EXPECT_TRUE(panel->isVisibleTo(f.get()));
    EXPECT_EQ(f->tituloGraficoPendiente(), g.titulo);
    EXPECT_EQ(f->codigoGraficoPendiente(), g.grafico);
    for (const QString& m : marcos) EXPECT_FALSE(Control<QWidget>(f.get(), m)->isEnabled()) << m.toStdString();
    Pulsar(f.get(), QStringLiteral("cmdCancelar"));
    EXPECT_FALSE(panel->isVisibleTo(f.get()));
    for (const QString& m : marcos) EXPECT_TRUE(Control<QWidget>(f.get(), m)->isEnabled()) << m.toStdString();
  }
  EXPECT_TRUE(tienda.notificador.avisos.isEmpty());
  // Aceptar el mes abre el formulario de gráficos con el título del botón,
  // el mes elegido (su posición en la lista más uno) y el año.
  f->pedirMes(QStringLiteral("Caja Total por Dias"), 3);
  Control<QComboBox>(f.get(), QStringLiteral("cbMes"))->setCurrentIndex(1);
  Guion guion;
  QString titulo, pie;
  guion.cuando(QStringLiteral("frmGraficos"), [&](QWidget* w) {
    titulo = Control<QLabel>(w, QStringLiteral("lblTituloGrafico"))->text();
    pie = qobject_cast<frmGraficos*>(w)->serie().pie;
    qobject_cast<QDialog*>(w)->accept();
  });
  Pulsar(f.get(), QStringLiteral("cmdAceptarMeses"));
  EXPECT_EQ(guion.vistos, QStringList{QStringLiteral("frmGraficos")});
  EXPECT_EQ(titulo, QStringLiteral("Caja Total por Dias"));
  EXPECT_EQ(pie,
            QStringLiteral("Totales de caja realizados en ") + graficos::NombreMes(2) + QStringLiteral(" del 2026"));
  EXPECT_TRUE(Avisos().isEmpty());
  EXPECT_FALSE(panel->isVisibleTo(f.get()));
  EXPECT_TRUE(Control<QWidget>(f.get(), QStringLiteral("frVentas"))->isEnabled());
}

TEST_F(Principal, CadaBotonDelRegistroEstaConSuTextoYLosPendientesLoDicen) {
  auto f = Abrir();
  Guion guion;
  for (const registro::BotonInforme& b : registro::Botones()) {
    SCOPED_TRACE(b.boton.toStdString());
    auto* control = Control<QAbstractButton>(f.get(), b.boton);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->text(), b.titulo);
    if (b.disponible()) continue;
    tienda.notificador.avisos.clear();
    control->click();
    EXPECT_EQ(Avisos(), QStringList{registro::kAvisoProximaVersion});
  }
  EXPECT_TRUE(guion.vistos.isEmpty()) << "ningún pendiente abre diálogos";
  EXPECT_EQ(FilasInformes(), 0);
}

TEST_F(Principal, CorreoSalirYMantenimiento) {
  auto f = Abrir();
  Pulsar(f.get(), QStringLiteral("Command2"));
  EXPECT_EQ(lanzador.lanzados, QStringList{QStringLiteral("/opt/velarix|Estafeta.exe")});

  // El botón escondido registra los botones de la ventana para los permisos.
  tienda.ejecutar(QStringLiteral("DELETE FROM atributos"));
  Control<QAbstractButton>(f.get(), QStringLiteral("Command1"))->click();
  datos::Consulta q = tienda.ajustes.ConexionVentas->preparar(
      QStringLiteral("SELECT form, form_desc, boton_desc FROM atributos WHERE boton = 'cmdPropinas'"));
  q.ejecutar();
  ASSERT_TRUE(q.siguiente());
  EXPECT_EQ(q.texto(QStringLiteral("form")), QStringLiteral("frmPrincipalCronicas"));
  EXPECT_EQ(q.texto(QStringLiteral("form_desc")), QStringLiteral("CRONICAS DE CAJA"));
  EXPECT_EQ(q.texto(QStringLiteral("boton_desc")), QStringLiteral("Relacion de Propinas"));
  datos::Consulta salir = tienda.ajustes.ConexionVentas->preparar(
      QStringLiteral("SELECT COUNT(*) FROM atributos WHERE UPPER(boton) LIKE '%SALIR%'"));
  salir.ejecutar();
  ASSERT_TRUE(salir.siguiente());
  EXPECT_EQ(salir.valor(0).toInt(), 0);

  bool salio = false;
  QObject::connect(f.get(), &frmPrincipalCronicas::salir, [&] { salio = true; });
  Pulsar(f.get(), QStringLiteral("cmd_Salir"));
  EXPECT_TRUE(salio);
}

TEST_F(Principal, PermisosDeDosEmpleados) {
  tienda.ejecutar(QStringLiteral("DELETE FROM atributos"));
  tienda.ejecutar(
      QStringLiteral("INSERT INTO atributos (codigo, form, form_desc, boton, boton_desc, boton_auxiliar) "
                     "VALUES (1, 'frmPrincipalCronicas', 'CRONICAS DE CAJA', 'cmdResumenContable', 'x', "
                     "NULL), (2, 'frmPrincipalCronicas', 'CRONICAS DE CAJA', 'cmdCierreCaja', 'y', "
                     "'Label5'), (3, 'frmPrincipalCronicas', 'CRONICAS DE CAJA', 'cmdPromesas', 'z', NULL)"));
  tienda.ejecutar(
      QStringLiteral("INSERT INTO empleadosatributos (codempleado, codatributo) VALUES (4, 1), (4, 3), "
                     "(5, 2)"));
  struct Caso {
    qint32 empleado;
    bool contable;
    bool cierre;
    bool etiquetaCorreo;
  };
  for (const Caso& c : {Caso{4, false, true, true}, Caso{5, true, false, false}, Caso{-1, true, true, true}}) {
    SCOPED_TRACE(c.empleado);
    tienda.ajustes.EmpleadoTerminal = c.empleado;
    auto f = Abrir();
    EXPECT_EQ(Control<QWidget>(f.get(), QStringLiteral("cmdResumenContable"))->isEnabled(), c.contable);
    EXPECT_EQ(Control<QWidget>(f.get(), QStringLiteral("cmdCierreCaja"))->isEnabled(), c.cierre);
    EXPECT_TRUE(Control<QWidget>(f.get(), QStringLiteral("cmdCierreCaja"))->isVisibleTo(f.get()));
    EXPECT_EQ(Control<QWidget>(f.get(), QStringLiteral("Label5"))->isVisibleTo(f.get()), c.etiquetaCorreo);
  }
}

TEST_F(Principal, ColoresDeLaVentana) {
  const int paleta[] = {0x102030, 0x111111, 0x222222, 0x333333, 0x445566, 0x0A0B0C, 0xFFFFFF, 0x777777, 0x888888};
  QVariantMap fila{{QStringLiteral("id_color"), 7}};
  for (int i = 0; i < 9; ++i) fila.insert(QStringLiteral("color%1").arg(i + 1), paleta[i]);
  tienda.insertar(QStringLiteral("colores"), fila);
  tienda.ajustes.IdColor = 7;
  auto f = Abrir();
  const QColor cabecera(0x30, 0x20, 0x10);  // ranura 0, de azul-verde-rojo
  EXPECT_EQ(aspecto::ColorFondo(*Control<QWidget>(f.get(), QStringLiteral("frCabecera"))), cabecera);
  for (const QString& marco :
       {QStringLiteral("frVentas"), QStringLiteral("Frame2"), QStringLiteral("Frame5"), QStringLiteral("frVentasInfo"),
        QStringLiteral("Frame1"), QStringLiteral("Frame4"), QStringLiteral("Frame3")})
    EXPECT_EQ(aspecto::ColorFondo(*Control<QWidget>(f.get(), marco)), cabecera) << marco.toStdString();
  EXPECT_EQ(aspecto::ColorFondo(*Control<QWidget>(f.get(), QStringLiteral("frCorreo"))), QColor(255, 255, 0));
  EXPECT_EQ(aspecto::ColorTexto(*Control<QWidget>(f.get(), QStringLiteral("Label5"))), QColor(Qt::black));
  EXPECT_EQ(Control<QWidget>(f.get(), QStringLiteral("cmdProductos"))->palette().color(QPalette::Button),
            QColor(0x66, 0x55, 0x44));
  EXPECT_EQ(aspecto::ColorTexto(*Control<QWidget>(f.get(), QStringLiteral("lblTitulo"))), QColor(0x0C, 0x0B, 0x0A));
}

// --- El arranque con ventana -------------------------------------------------

class ArranqueVentana : public testing::Test {
 protected:
  QString Ini(const QString& ventas, const QString& extra = {}) {
    const QString ruta = QDir(dir.path()).filePath(QStringLiteral("ajustes.ini"));
    EXPECT_TRUE(prueba::escribirBytes(ruta, QStringLiteral("[fuentes]\nhosteleria=%1\nInformes=%2\n[equipo]\n"
                                                           "identificador=1234\n%3")
                                                .arg(ventas, bases.textoInformes(), extra)
                                                .toUtf8()));
    return ruta;
  }
  std::unique_ptr<ventana::Programa> Preparar(const QString& ini) {
    ventana::OpcionesArranque o;
    o.buscarActualizaciones = false;
    o.notificador = &notificador;
    return ventana::PrepararPrograma(ini, o);
  }
  QTemporaryDir dir;
  prueba::Bases bases{Motor::SQLite};
  sistema::NotificadorRegistro notificador;
};

TEST_F(ArranqueVentana, LaTiendaSeAbreConLosDatosDelPuesto) {
  datos::Conexion::abrir(bases.fuenteVentas())->ejecutarGuion(Fixture());
  auto programa = Preparar(Ini(bases.textoVentas(), QStringLiteral("[informes]\nregional=es_ES\n")));
  ASSERT_NE(programa, nullptr) << (notificador.avisos.isEmpty() ? std::string()
                                                                : notificador.avisos.first().texto.toStdString());
  EXPECT_EQ(programa->ajustes.IdTerminal, QStringLiteral("1234"));
  EXPECT_EQ(programa->ajustes.Nombre, QString::fromUtf8("Taberna La Ñora"));
  EXPECT_EQ(programa->principal->objectName(), QStringLiteral("frmPrincipalCronicas"));
  EXPECT_EQ(programa->principal->windowTitle(), QStringLiteral("CRONICAS DE CAJA"));
  EXPECT_TRUE(notificador.avisos.isEmpty());
  // Los diálogos de Qt hablan el idioma regional mientras dura la ventana.
  EXPECT_NE(programa->traduccionQt, nullptr);
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Ver en:"));
  programa.reset();
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
}

TEST_F(ArranqueVentana, LoQueImpideArrancarSeDiceYNoHayVentana) {
  const QString falta = QDir(dir.path()).filePath(QStringLiteral("no-esta.db"));
  EXPECT_EQ(Preparar(Ini(QStringLiteral("sqlite:") + falta)), nullptr);
  ASSERT_EQ(notificador.avisos.size(), 1);
  EXPECT_EQ(notificador.avisos.first().icono, Icono::Critico);
  EXPECT_TRUE(notificador.avisos.first().texto.contains(falta)) << notificador.avisos.first().texto.toStdString();
  EXPECT_FALSE(QFile::exists(falta)) << "abrir no debe crear la base";

  // Un ajuste de correo que no se entiende se nombra.
  notificador.avisos.clear();
  EXPECT_EQ(Preparar(Ini(bases.textoVentas(), QStringLiteral("[correo]\nen_linea=quizas\n"))), nullptr);
  ASSERT_EQ(notificador.avisos.size(), 1);
  EXPECT_TRUE(notificador.avisos.first().texto.contains(QStringLiteral("en_linea")))
      << notificador.avisos.first().texto.toStdString();
}

// Un fichero de ajustes que no se deja escribir no impide abrir la ventana ni
// saca un cuadro de mensaje en cada arranque: se dice en el título.
TEST_F(ArranqueVentana, AjustesDeSoloLecturaSeAvisanSinCuadroDeMensaje) {
  datos::Conexion::abrir(bases.fuenteVentas())->ejecutarGuion(Fixture());
  const QString ini = Ini(bases.textoVentas(), QStringLiteral("[Velarix]\ncolor=&H0|&H1|&H2|&H3|&H4|&H5|&H6|GRIS|\n"));
  const QByteArray antes = prueba::leerBytes(ini);
  ASSERT_TRUE(QFile::setPermissions(ini, QFileDevice::ReadOwner));
  const auto programa = Preparar(ini);
  ASSERT_NE(programa, nullptr);
  EXPECT_TRUE(notificador.avisos.isEmpty());
  EXPECT_TRUE(programa->principal->windowTitle().startsWith(QStringLiteral("CRONICAS DE CAJA")));
  EXPECT_TRUE(programa->principal->windowTitle().contains(QStringLiteral("ajustes no se pudieron guardar")))
      << programa->principal->windowTitle().toStdString();
  EXPECT_EQ(programa->almacen->leerCampo(QStringLiteral("colorcaja"), 8), QStringLiteral("GRIS"));
  EXPECT_EQ(prueba::leerBytes(ini), antes);
}

}  // namespace
