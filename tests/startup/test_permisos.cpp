// Permisos por empleado sobre un formulario hecho en la prueba: qué controles
// se deshabilitan u ocultan según las filas de la base, y qué botones se dan
// de alta en el catálogo.

#include "startup/Permisos.h"
#include "support/BasesPrueba.h"
#include "support/ImprimirQt.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QVariant kNulo = QVariant(QMetaType::fromType<QString>());

// Botones en un marco, un auxiliar y botones dentro de un panel que se pinta
// solo, como las teselas de empleados.
struct Formulario {
  Formulario() {
    formu.setObjectName(QStringLiteral("frmPrueba"));
    formu.setWindowTitle(QStringLiteral("Ventas d'hoy"));
    auto* marco = new QWidget(&formu);
    auto* disposicion = new QVBoxLayout(marco);
    for (const char* nombre : {"cmdVentas", "cmdCaja", "cmdStock"}) {
      auto* b = new QPushButton(QString::fromLatin1(nombre).mid(3), marco);
      b->setObjectName(QString::fromLatin1(nombre));
      disposicion->addWidget(b);
    }
    auto* aux = new QLabel(QStringLiteral("Ventas"), &formu);
    aux->setObjectName(QStringLiteral("lblVentas"));
    auto* panel = new QWidget(&formu);
    panel->setObjectName(QStringLiteral("PanelEmpleados"));
    panel->setProperty("cronicasAspectoPropio", true);
    auto* dentro = new QPushButton(QStringLiteral("Ana L"), panel);
    dentro->setObjectName(QStringLiteral("cmdDentro"));
  }
  QWidget* c(const char* nombre) { return formu.findChild<QWidget*>(QString::fromLatin1(nombre)); }

  QWidget formu;
};

class Permisos_ : public testing::TestWithParam<prueba::Motor> {
 protected:
  Permisos_() : tienda(GetParam()), base(*tienda.ajustes.ConexionVentas) {}

  void atributo(int codigo, const QString& form, const QVariant& boton, const QVariant& auxiliar = kNulo) {
    tienda.insertar(QStringLiteral("atributos"),
                    {{"codigo", codigo}, {"form", form}, {"boton", boton}, {"boton_auxiliar", auxiliar}});
  }
  void prohibir(int empleado, int codigo) {
    tienda.insertar(QStringLiteral("empleadosatributos"), {{"codempleado", empleado}, {"codatributo", codigo}});
  }
  // codigo|form|form_desc|boton|boton_desc por orden de código.
  QStringList catalogo() const {
    datos::Consulta q = base.preparar(
        QStringLiteral("SELECT codigo, form, form_desc, boton, boton_desc FROM atributos ORDER BY codigo"));
    q.ejecutar();
    QStringList filas;
    while (q.siguiente()) {
      QStringList campos;
      for (int i = 0; i < 5; ++i) campos << q.valor(i).toString();
      filas << campos.join(QLatin1Char('|'));
    }
    return filas;
  }

  prueba::Tienda tienda;
  const datos::Conexion& base;
};

TEST_P(Permisos_, CadaEmpleadoVeDeshabilitadosSusBotonesYOcultosSusAuxiliares) {
  atributo(1, "frmPrueba", "cmdNoExiste", "lblVentas");  // va primero y no debe cortar las demás
  atributo(2, "frmprueba", "CMDVENTAS", "lblventas");
  atributo(3, "FRMPRUEBA", "cmdCaja");
  atributo(4, "frmPrueba", "cmdStock", "");
  atributo(5, "frmOtro", "cmdCaja", "lblVentas");
  atributo(6, "frmPrueba", "cmdDentro");
  atributo(8, "frmPrueba", kNulo);  // sin nombre no es cualquier contenedor anónimo
  for (int codigo : {1, 3, 4, 6, 8}) prohibir(7, codigo);
  prohibir(8, 2);
  prohibir(8, 5);

  Formulario siete;
  Permisos::AplicarRestricciones(base, siete.formu, 7);
  EXPECT_TRUE(siete.c("cmdVentas")->isEnabled());
  EXPECT_FALSE(siete.c("cmdCaja")->isEnabled());
  EXPECT_FALSE(siete.c("cmdStock")->isEnabled());
  // Auxiliar Null o vacío, o fila saltada: nada oculto. Deshabilitado no es oculto.
  for (const char* nombre : {"lblVentas", "cmdCaja", "cmdStock"}) EXPECT_FALSE(siete.c(nombre)->isHidden()) << nombre;
  // Lo de dentro del panel de teselas no es del formulario.
  EXPECT_TRUE(siete.c("cmdDentro")->isEnabled());

  Formulario ocho;
  Permisos::AplicarRestricciones(base, ocho.formu, 8);
  EXPECT_FALSE(ocho.c("cmdVentas")->isEnabled());
  EXPECT_TRUE(ocho.c("lblVentas")->isHidden());
  EXPECT_FALSE(ocho.c("cmdVentas")->isHidden());
  EXPECT_TRUE(ocho.c("cmdCaja")->isEnabled()) << "la fila de otro formulario no cuenta";

  Formulario nadie;
  Permisos::AplicarRestricciones(base, nadie.formu, -1);
  for (QWidget* w : nadie.formu.findChildren<QWidget*>()) {
    EXPECT_TRUE(w->isEnabled() && !w->isHidden()) << w->objectName().toStdString();
  }
}

TEST_P(Permisos_, SeDanDeAltaLosBotonesDeOrdenConTextoYUnaSolaVez) {
  Formulario f;
  auto* herramienta = new QToolButton(&f.formu);
  herramienta->setObjectName(QStringLiteral("cmdCaja'Rapida"));
  herramienta->setText(QStringLiteral("Caja d'avui"));
  auto* imagen = new QPushButton(&f.formu);
  imagen->setObjectName(QStringLiteral("cmdLogo"));
  // Exentos, sin nombre o con el de un control interno de Qt.
  for (const char* nombre : {"cmd_Salir", "CMDAYUDAventas", "cmdPrimeroDeLista", "", "qt_calendar_monthbutton"}) {
    auto* exento = new QPushButton(QStringLiteral("Salir"), &f.formu);
    exento->setObjectName(QString::fromLatin1(nombre));
  }
  new QCheckBox(QStringLiteral("Completo"), &f.formu);
  new QRadioButton(QStringLiteral("Zonas"), &f.formu);
  atributo(7, "FRMPRUEBA", "cmdstock");

  Permisos::GenerarAtributos(base, f.formu);
  const QStringList esperado = {
      "7|FRMPRUEBA||cmdstock|",
      "8|frmPrueba|Ventas d'hoy|cmdVentas|Ventas",
      "9|frmPrueba|Ventas d'hoy|cmdCaja|Caja",
      "10|frmPrueba|Ventas d'hoy|cmdCaja'Rapida|Caja d'avui",
  };
  EXPECT_EQ(catalogo(), esperado);
  Permisos::GenerarAtributos(base, f.formu);
  EXPECT_EQ(catalogo(), esperado);
}

TEST_P(Permisos_, ElPrimerCodigoEsUnoConLaTablaVaciaOConElMayorNoPositivo) {
  for (const QVariant& previo : {QVariant(), QVariant(0), QVariant(-4)}) {
    tienda.ejecutar(QStringLiteral("DELETE FROM atributos"));
    if (previo.isValid()) atributo(previo.toInt(), "frmOtro", "cmdOtro");
    QWidget formu;
    formu.setObjectName(QStringLiteral("frmUno"));
    (new QPushButton(QStringLiteral("Uno"), &formu))->setObjectName(QStringLiteral("cmdUno"));
    Permisos::GenerarAtributos(base, formu);
    EXPECT_EQ(catalogo().last(), "1|frmUno||cmdUno|Uno") << previo.toString().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, Permisos_, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

TEST(Permisos, ExentosPorContenerSalirAyudaONavegacionSinMirarMayusculas) {
  for (const char* s : {"cmd_salir", "CMDSALIR2", "xcmdAyuda", "cmd_AYUDA", "cmdultimo", "cmdSIGUIENTEFicha",
                        "cmdAnterior", "cmdprimero"}) {
    EXPECT_TRUE(Permisos::EsExento(QString::fromLatin1(s))) << s;
  }
  for (const char* s : {"cmdSalida", "cmd_sali", "cmdAyu", "cmd_Ultimo", "cmdVentas", ""}) {
    EXPECT_FALSE(Permisos::EsExento(QString::fromLatin1(s))) << s;
  }
}

}  // namespace
