// La línea de órdenes llamada dentro de la prueba: con un reloj fijo y lo que
// escribe recogido en memoria. Lo que sólo se ve desde fuera (el programa de
// verdad, sus códigos de salida de punta a punta) está en test_linea_comandos.

#include "app/LineaComandos.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Resultado {
  int codigo = -1;
  QString salida;
  QString errores;
};

Resultado Ejecutar(const QStringList& argumentos, const sistema::Reloj& reloj) {
  QBuffer salida, errores;
  salida.open(QIODevice::WriteOnly);
  errores.open(QIODevice::WriteOnly);
  app::Consola consola{salida, errores, reloj};
  const int codigo = app::EjecutarLineaComandos(argumentos, consola);
  return {codigo, QString::fromLocal8Bit(salida.data()), QString::fromLocal8Bit(errores.data())};
}

Resultado Ejecutar(const QStringList& argumentos) {
  const sistema::RelojSistema reloj;
  return Ejecutar(argumentos, reloj);
}

// Lo que QCommandLineParser diría por su cuenta.
const char* const kIngles[] = {"Usage",   "Options:",   "Arguments", "Displays", "Unknown",
                               "Missing", "Unexpected", "option",    "value"};

void SinIngles(const QString& texto, const QString& que) {
  for (const char* palabra : kIngles)
    EXPECT_FALSE(texto.contains(QLatin1String(palabra))) << que.toStdString() << " dice «" << palabra << "»:\n"
                                                         << texto.toStdString();
}

// Las opciones que la ayuda de una orden lista en su apartado «Opciones:»,
// con el nombre de su valor (vacío en los interruptores).
QList<std::pair<QString, QString>> OpcionesDeLaAyuda(const QString& ayuda) {
  const qsizetype desde = ayuda.indexOf(QStringLiteral("\nOpciones:\n"));
  const qsizetype hasta = ayuda.indexOf(QStringLiteral("\nOpciones generales:\n"));
  QList<std::pair<QString, QString>> r;
  if (desde < 0 || hasta < desde) return r;
  static const QRegularExpression renglon(QStringLiteral("^  (--[a-z-]+)(?: ([A-Z]+))?  "),
                                          QRegularExpression::MultilineOption);
  auto it = renglon.globalMatch(ayuda.mid(desde, hasta - desde));
  while (it.hasNext()) {
    const auto m = it.next();
    r.append({m.captured(1), m.captured(2)});
  }
  return r;
}

TEST(Ordenes, LaAyudaDeCadaOrdenListaLasOpcionesQueEntiendeYNadaEnIngles) {
  const Resultado general = Ejecutar({QStringLiteral("--ayuda")});
  EXPECT_EQ(general.codigo, app::kSalidaBien);
  SinIngles(general.salida, QStringLiteral("cronicas --ayuda"));
  for (const char* orden : {"demo", "informe"}) {
    EXPECT_TRUE(general.salida.contains(QStringLiteral("\n  %1 ").arg(QLatin1String(orden)))) << orden;

    const Resultado ayuda = Ejecutar({QLatin1String(orden), QStringLiteral("-h")});
    EXPECT_EQ(ayuda.codigo, app::kSalidaBien) << orden;
    EXPECT_TRUE(ayuda.salida.startsWith(QStringLiteral("Uso: cronicas %1 ").arg(QLatin1String(orden)))) << orden;
    EXPECT_TRUE(ayuda.salida.contains(QStringLiteral("\n  --ajustes FICHERO "))) << orden;
    SinIngles(ayuda.salida, QLatin1String(orden));

    const auto opciones = OpcionesDeLaAyuda(ayuda.salida);
    EXPECT_GE(opciones.size(), 5) << orden << ":\n" << ayuda.salida.toStdString();
    for (const auto& [nombre, valor] : opciones) {
      const QString uso =
          valor.isEmpty() ? QStringLiteral("[%1]").arg(nombre) : QStringLiteral("[%1 %2]").arg(nombre, valor);
      EXPECT_TRUE(ayuda.salida.section(QStringLiteral("\n\n"), 0, 0).contains(uso)) << uso.toStdString();
      // El lector conoce cada opción de la ayuda y sabe si lleva valor: sin
      // él, o con uno que no lleva, se queja nombrándola y no hace nada.
      const QString mal = valor.isEmpty() ? nombre + QStringLiteral("=si") : nombre;
      const Resultado r = Ejecutar({QLatin1String(orden), mal});
      EXPECT_EQ(r.codigo, app::kSalidaUso) << mal.toStdString();
      EXPECT_TRUE(r.errores.startsWith(valor.isEmpty()
                                           ? QStringLiteral("%1 no lleva valor").arg(nombre)
                                           : QStringLiteral("Falta el valor de %1 (%2).").arg(nombre, valor)))
          << r.errores.toStdString();
      EXPECT_TRUE(r.salida.isEmpty());
    }
  }
}

TEST(Ordenes, LoQueNoSeEntiendeSeDiceEnEspanolConSuCodigo) {
  struct Caso {
    QStringList argumentos;
    QString mensaje;
  };
  const std::vector<Caso> casos = {
      {{"vender"}, "Orden desconocida: vender."},
      {{"--foo"}, "Opción desconocida: --foo."},
      // Las opciones de una orden van detrás de ella.
      {{"--desde", "hoy", "informe", "cmdVentasXFPago"}, "Opción desconocida: --desde."},
      {{"informe", "cmdProductos", "--pdff", "x.pdf"}, "Opción desconocida: --pdff."},
      {{"demo", "--lista"}, "Opción desconocida: --lista."},
      {{"--ajustes"}, "Falta el valor de --ajustes (FICHERO)."},
      {{"informe", "cmdProductos", "--ajustes"}, "Falta el valor de --ajustes (FICHERO)."},
      {{"--version=2"}, "--version no lleva valor (se dio «--version=2»)."},
      {{"demo", "--dias", "0"}, "--dias necesita un número entero entre 1 y 20000 (se dio «0»)."},
      {{"demo", "--ventas-dia=muchas"}, "--ventas-dia necesita un número entero entre 1 y 100000"},
      {{"demo", "sobra"}, "Argumento de más: sobra."},
      {{"demo", "--hoy", "2026-02-30"}, "--hoy necesita una fecha AAAA-MM-DD, «hoy» o «ayer» (se dio «2026-02-30»)."},
      {{"informe"}, "Falta el botón del informe."},
      {{"informe", "cmdProductos", "cmdFamilias"}, "Sobra: cmdFamilias."},
      // Qt leería un año antes de Cristo.
      {{"informe", "cmdVentasXFPago", "--desde", "-2026-01-01"},
       "--desde necesita una fecha AAAA-MM-DD, «hoy» o «ayer» (se dio «-2026-01-01»)."},
      {{"informe", "cmdCierreCaja", "--empleado", "99999999999999999999"},
       "--empleado es demasiado grande: como mucho 32767 (se dio «99999999999999999999»)."},
      {{"informe", "cmdCierreCaja", "--empleado", "-1"}, "--empleado necesita un número entero entre 0 y 32767"},
      // Dos salidas a un mismo fichero dejarían una sola dicha «guardada» dos veces.
      {{"informe", "cmdProductos", "--pdf", ""}, "--pdf necesita la ruta de un fichero (se dio una vacía)."},
      {{"informe", "cmdProductos", "--pdf", "x.pdf", "--csv", "./x.pdf"}, "--pdf y --csv piden el mismo fichero"},
      {{"informe", "cmdProductos", "--xlsx", "/dev/null", "--csv", "/dev/../dev/null"},
       "--xlsx y --csv piden el mismo fichero"},
  };
  for (const Caso& c : casos) {
    const Resultado r = Ejecutar(c.argumentos);
    EXPECT_EQ(r.codigo, app::kSalidaUso) << c.argumentos.join(' ').toStdString();
    EXPECT_TRUE(r.errores.startsWith(c.mensaje)) << c.argumentos.join(' ').toStdString() << ":\n"
                                                 << r.errores.toStdString();
    EXPECT_TRUE(r.salida.isEmpty()) << c.argumentos.join(' ').toStdString();
    SinIngles(r.errores, c.argumentos.join(' '));
  }
}

// Una salida en la que no cabe nada, como un disco lleno.
class SalidaLlena : public QIODevice {
 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64) override {
    setErrorString(QStringLiteral("No queda espacio en el dispositivo"));
    return -1;
  }
};

// Lo que no llega a la salida estándar no es un éxito.
TEST(Ordenes, SiLaSalidaNoAdmiteLoEscritoSeDiceYSeAcabaConError) {
  const sistema::RelojSistema reloj;
  for (const QStringList& argumentos :
       {QStringList{"--ayuda"}, QStringList{"--version"}, QStringList{"informe", "--lista"}}) {
    SalidaLlena salida;
    QBuffer errores;
    salida.open(QIODevice::WriteOnly);
    errores.open(QIODevice::WriteOnly);
    app::Consola consola{salida, errores, reloj};
    EXPECT_EQ(app::EjecutarLineaComandos(argumentos, consola), app::kSalidaError) << argumentos.join(' ').toStdString();
    EXPECT_EQ(QString::fromLocal8Bit(errores.data()),
              QStringLiteral("No se puede escribir en la salida estándar: No queda espacio en el dispositivo\n"));
  }
}

TEST(Ordenes, SoloSinOrdenNiAyudaNiErrorSeAbreLaVentana) {
  const QString porDefecto = *app::FicheroAjustesDeLaVentana({});
  EXPECT_TRUE(porDefecto.endsWith(QStringLiteral("ajustes.ini"))) << porDefecto.toStdString();
  for (const QStringList& a : {QStringList{"--ajustes", "/t/a.ini"},
                               {"--ajustes=/t/a.ini"},
                               {"-ajustes", "/t/a.ini"},
                               {"--ajustes", "/t/b.ini", "--ajustes", "/t/a.ini"}})
    EXPECT_EQ(app::FicheroAjustesDeLaVentana(a), QStringLiteral("/t/a.ini")) << a.join(' ').toStdString();
  for (const QStringList& a : {QStringList{"informe"},
                               {"--ajustes", "/t/a.ini", "demo"},
                               {"-h"},
                               {"--help"},
                               {"--ayuda"},
                               {"--version"},
                               {"--ajustes"},
                               {"--foo"},
                               {"vender"}})
    EXPECT_FALSE(app::FicheroAjustesDeLaVentana(a).has_value()) << a.join(' ').toStdString();
}

// Una tienda con dos ventas de la empleada 3: la del 14 y la del 15 de marzo.
class OrdenesEnUnaTienda : public testing::Test {
 protected:
  void SetUp() override {
    ini = QDir(bases.carpeta()).filePath(QStringLiteral("ajustes.ini"));
    csv = QDir(bases.carpeta()).filePath(QStringLiteral("filas.csv"));
    ASSERT_TRUE(
        prueba::escribirBytes(ini, QStringLiteral("[fuentes]\nhosteleria=%1\nInformes=%2\n[equipo]\nidentificador=77\n")
                                       .arg(bases.textoVentas(), bases.textoInformes())
                                       .toUtf8()));
    auto v = datos::Conexion::abrir(bases.fuenteVentas());
    v->ejecutar(QStringLiteral("INSERT INTO opciones (identificador, nombre, terminal) VALUES ('77', 'Bar Sol', '1')"));
    v->ejecutar(QStringLiteral("INSERT INTO productos (codigo, nombre, precio, borrar) VALUES ('P1', 'Caña', 1.8, 0)"));
    for (const auto& [numero, dia] : {std::pair{70881, QDate(2024, 3, 14)}, std::pair{70882, QDate(2024, 3, 15)}})
      v->ejecutar(QStringLiteral("INSERT INTO cabecera_factura (numero, fecha, fechaventa, camarero, codigo_camarero, "
                                 "total, impuesto, recargo, descuento, pago, efectivo, tarjeta, borrar) "
                                 "VALUES (?, ?, ?, 'Ana', 3, 23.4, 2.13, 0, 0, 1, 0, 0, 0)"),
                  {numero, datos::textoFecha(dia), datos::textoFecha(dia)});
  }

  // Las facturas del cierre de caja de la empleada 3 con el reloj en `momento`.
  QString CierreDeCaja(const QDateTime& momento, const QStringList& fechas) {
    const sistema::RelojFijo reloj(momento);
    QFile::remove(csv);
    const Resultado r = Ejecutar(
        QStringList{QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdCierreCaja"),
                    QStringLiteral("--empleado"), QStringLiteral("3"), QStringLiteral("--csv"), csv} +
            fechas,
        reloj);
    EXPECT_EQ(r.codigo, app::kSalidaBien) << r.errores.toStdString();
    QStringList facturas;
    for (const char* numero : {"70881", "70882"})
      if (prueba::leerBytes(csv).contains(numero)) facturas << QLatin1String(numero);
    return facturas.join(QLatin1Char(' '));
  }

  prueba::Bases bases{prueba::Motor::SQLite};
  QString ini, csv;
};

TEST_F(OrdenesEnUnaTienda, HoyYAyerSonLosDelReloj) {
  const QDateTime dia15(QDate(2024, 3, 15), QTime(10, 0));
  const QStringList ayer = {QStringLiteral("--desde"), QStringLiteral("ayer"), QStringLiteral("--hasta"),
                            QStringLiteral("AYER")};
  EXPECT_EQ(CierreDeCaja(dia15, ayer), QStringLiteral("70881"));
  EXPECT_EQ(CierreDeCaja(dia15, {}), QStringLiteral("70882")) << "sin fechas, hoy";
  EXPECT_EQ(CierreDeCaja(dia15, {QStringLiteral("--desde=ayer"), QStringLiteral("--hasta=hoy")}),
            QStringLiteral("70881 70882"));
  EXPECT_EQ(CierreDeCaja(dia15.addDays(1), ayer), QStringLiteral("70882"));
  EXPECT_EQ(CierreDeCaja(dia15.addDays(1), {QStringLiteral("--desde"), QStringLiteral("2024-03-14"),
                                            QStringLiteral("--hasta"), QStringLiteral("2024-03-14")}),
            QStringLiteral("70881"));

  // Justo pasada la medianoche «ayer» ya es el 15.
  const sistema::RelojFijo medianoche(QDateTime(QDate(2024, 3, 16), QTime(0, 0, 1)));
  const Resultado r =
      Ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdCierreCaja"),
                QStringLiteral("--empleado"), QStringLiteral("4"), QStringLiteral("--desde"), QStringLiteral("ayer")},
               medianoche);
  EXPECT_EQ(r.codigo, app::kSalidaSinDatos) << "la empleada 4 no vendió: " << r.errores.toStdString();
}

TEST_F(OrdenesEnUnaTienda, LosAjustesValenDelanteDetrasOEntreLasOpcionesDeLaOrden) {
  const QString b = QStringLiteral("cmdProductos");
  for (const QStringList& a : {QStringList{"--ajustes", ini, "informe", b},
                               {"informe", "--ajustes", ini, b},
                               {"informe", b, "--ajustes", ini},
                               {"informe", b, "--ajustes=" + ini},
                               {"-ajustes", ini, "informe", b}}) {
    const Resultado r = Ejecutar(a);
    ASSERT_EQ(r.codigo, app::kSalidaBien) << a.join(' ').toStdString() << ": " << r.errores.toStdString();
    // Sin salida pedida, las filas van a la salida de la consola.
    EXPECT_TRUE(r.salida.startsWith(QStringLiteral("texto1,texto2,"))) << a.join(' ').toStdString();
    EXPECT_TRUE(r.salida.contains(QStringLiteral("Caña"))) << a.join(' ').toStdString();
  }
  // Un fichero de ajustes que no existe se nombra: no vale el de por defecto.
  const QString otro = QDir(bases.carpeta()).filePath(QStringLiteral("otro/ajustes.ini"));
  const Resultado r = Ejecutar({QStringLiteral("informe"), b, QStringLiteral("--ajustes"), otro});
  EXPECT_EQ(r.codigo, app::kSalidaError);
  EXPECT_TRUE(r.errores.contains(QStringLiteral("hosteleria"))) << r.errores.toStdString();
  EXPECT_TRUE(r.salida.isEmpty());
}

TEST(OrdenesDemo, LaTiendaAcabaElDiaAnteriorAlDelReloj) {
  QTemporaryDir dir;
  const sistema::RelojFijo reloj(QDateTime(QDate(2024, 3, 15), QTime(10, 0)));
  struct Caso {
    const char* carpeta;
    QStringList hoy;
    QDate ultimoDia;
  };
  for (const Caso& c : {Caso{"reloj", {}, QDate(2024, 3, 14)}, Caso{"ayer", {"--hoy", "ayer"}, QDate(2024, 3, 13)},
                        Caso{"fija", {"--hoy=2023-01-10"}, QDate(2023, 1, 9)}}) {
    const QString destino = dir.filePath(QLatin1String(c.carpeta));
    const Resultado r =
        Ejecutar(QStringList{QStringLiteral("demo"), QStringLiteral("--destino"), destino, QStringLiteral("--dias"),
                             QStringLiteral("2"), QStringLiteral("--ventas-dia"), QStringLiteral("3")} +
                     c.hoy,
                 reloj);
    ASSERT_EQ(r.codigo, app::kSalidaBien) << c.carpeta << ": " << r.errores.toStdString();
    EXPECT_TRUE(r.salida.contains(QStringLiteral("Tienda de demostración creada en"))) << r.salida.toStdString();
    auto v = datos::Conexion::abrir(datos::FuenteDatos::interpretar(
        QStringLiteral("hosteleria"),
        QStringLiteral("sqlite:") + QDir(destino).filePath(QStringLiteral("hosteleria.db"))));
    datos::Consulta q = v->preparar(QStringLiteral("SELECT max(fechaventa) FROM cabecera_factura"));
    q.ejecutar();
    ASSERT_TRUE(q.siguiente());
    EXPECT_EQ(q.valor(0).toString().toStdString(), datos::textoFecha(c.ultimoDia).toStdString()) << c.carpeta;
  }
}

}  // namespace
