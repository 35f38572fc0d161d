// Pruebas de referencia: cada botón de informe del registro, sobre la tienda
// de su familia (tests/fixtures/<familia>.sql), tiene que dejar en Informes,
// byte a byte, lo que guarda tests/golden/<boton>.csv, en cada motor.
//
// Con CRONICAS_REGENERAR_DORADOS=1 la prueba escribe el fichero esperado en
// vez de compararlo, y falla igualmente para que nadie lo dé por bueno sin
// haberlo leído.

#include "builders/ExportarCsv.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include "support/ImprimirQt.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <tuple>

namespace {

using prueba::Motor;

QString RutaPruebas(const QString& relativa) {
  return QDir(QStringLiteral(CRONICAS_DIR_PRUEBAS)).filePath(relativa);
}

// Primera línea en que difieren, para que el fallo diga algo útil.
std::string PrimeraDiferencia(const QByteArray& esperado, const QByteArray& obtenido) {
  const QList<QByteArray> a = esperado.split('\n');
  const QList<QByteArray> b = obtenido.split('\n');
  for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
    const QByteArray la = i < a.size() ? a[i] : QByteArray("<fin>");
    const QByteArray lb = i < b.size() ? b[i] : QByteArray("<fin>");
    if (la != lb)
      return "línea " + std::to_string(i + 1) + "\n  esperada: " + la.toStdString() +
             "\n  obtenida: " + lb.toStdString();
  }
  return "sin diferencias";
}

class InformesDorados : public testing::TestWithParam<std::tuple<Motor, QString>> {};

TEST_P(InformesDorados, CoincideConElFicheroGuardado) {
  const auto& [motor, nombreBoton] = GetParam();
  const registro::BotonInforme* boton = registro::BuscarBoton(nombreBoton);
  ASSERT_NE(boton, nullptr);

  prueba::Tienda tienda(motor);
  // Cada familia su tienda: las filas que se añaden para un informe de caja
  // no cambian el fichero esperado de un listado.
  const QString guion = prueba::GuionTienda(boton->familia);
  ASSERT_FALSE(guion.isEmpty()) << "falta tests/fixtures/" << boton->familia.toStdString() << ".sql";
  tienda.ajustes.ConexionVentas->ejecutarGuion(guion);

  // Los informes con fechas sobre la primera semana de marzo; el cierre de
  // caja es el de Ana y el resumen por empleado incluye las anuladas.
  tienda.seleccion.FechaDesde = QDate(2026, 3, 1);
  tienda.seleccion.FechaHasta = QDate(2026, 3, 5);
  tienda.seleccion.EmpleadoElegido = 1;
  tienda.seleccion.Completo = true;
  const registro::Ejecucion ejecucion = registro::EjecutarBoton(*boton, tienda.contexto);
  ASSERT_EQ(ejecucion.resultado, registro::Resultado::ConDatos) << ejecucion.error.toStdString();

  QBuffer csv;
  csv.open(QIODevice::WriteOnly);
  informes::EscribirCsv(*tienda.ajustes.ConexionInformes, csv);
  const QByteArray obtenido = csv.data();

  const QString ruta = RutaPruebas(QStringLiteral("golden/%1.csv").arg(nombreBoton));
  if (qEnvironmentVariable("CRONICAS_REGENERAR_DORADOS") == QLatin1String("1")) {
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << ruta.toStdString();
    f.write(obtenido);
    FAIL() << "escrito " << ruta.toStdString() << ": revíselo a mano antes de guardarlo";
  }
  ASSERT_TRUE(QFile::exists(ruta)) << "falta el fichero esperado " << ruta.toStdString()
                                   << " (CRONICAS_REGENERAR_DORADOS=1 lo escribe)";
  const QByteArray esperado = prueba::leerBytes(ruta);
  EXPECT_TRUE(esperado == obtenido) << PrimeraDiferencia(esperado, obtenido);
}

std::vector<QString> NombresBotones() {
  std::vector<QString> nombres;
  for (const registro::BotonInforme& b : registro::Botones())
    if (b.sinVentana()) nombres.push_back(b.boton);
  return nombres;
}

std::string NombreCaso(const testing::TestParamInfo<std::tuple<Motor, QString>>& info) {
  const auto& [motor, boton] = info.param;
  return (motor == Motor::SQLite ? "SQLite_" : "PostgreSQL_") + boton.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Botones, InformesDorados,
                         testing::Combine(testing::ValuesIn(prueba::Motores()), testing::ValuesIn(NombresBotones())),
                         NombreCaso);

}  // namespace
