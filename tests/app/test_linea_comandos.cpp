// La línea de órdenes, casi siempre llamada dentro de la prueba: con un reloj
// fijo y lo que escribe recogido en memoria. Sólo lo que no se ve desde
// dentro (sin pantalla, el código con que sale el proceso) arranca el
// programa de verdad.

#include "app/LineaComandos.h"
#include "registro/RegistroInformes.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"
#include "support/ServidorSmtp.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
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
  for (const char* orden : {"demo", "informe", "grafico"}) {
    EXPECT_TRUE(general.salida.contains(QStringLiteral("\n  %1 ").arg(QLatin1String(orden)))) << orden;

    const Resultado ayuda = Ejecutar({QLatin1String(orden), QStringLiteral("-h")});
    EXPECT_EQ(ayuda.codigo, app::kSalidaBien) << orden;
    EXPECT_TRUE(ayuda.salida.startsWith(QStringLiteral("Uso: cronicas %1 ").arg(QLatin1String(orden)))) << orden;
    EXPECT_TRUE(ayuda.salida.contains(QStringLiteral("\n  --ajustes FICHERO "))) << orden;
    if (QLatin1String(orden) == QLatin1String("informe")) {
      EXPECT_TRUE(ayuda.salida.contains(QStringLiteral("Códigos de salida"))) << ayuda.salida.toStdString();
    }
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

// El programa de verdad, para lo que sólo se ve desde fuera.
Resultado Proceso(const QStringList& argumentos,
                  const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessEnvironment(entorno);
  p.start(QStringLiteral(CRONICAS_EJECUTABLE), argumentos);
  EXPECT_TRUE(p.waitForFinished(120000)) << "el programa no terminó";
  return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

// Una tienda en SQLite con su ajustes.ini: el bar 77 y dos ventas de la
// empleada 3, la del 14 y la del 15 de marzo de 2024; el reloj, el 16.
class EnUnaTienda : public testing::Test {
 protected:
  void SetUp() override {
    ini = Ruta(QStringLiteral("ajustes.ini"));
    csv = Ruta(QStringLiteral("filas.csv"));
    Ajustes();
    Ventas(
        QStringLiteral("INSERT INTO opciones (identificador, nombre, direccion, poblacion, terminal) "
                       "VALUES ('77', 'Bar Sol', 'Calle Mayor 1', 'Soria', '1')"));
    for (const auto& [numero, dia] : {std::pair{70881, QDate(2024, 3, 14)}, std::pair{70882, QDate(2024, 3, 15)}})
      Ventas(QStringLiteral("INSERT INTO cabecera_factura (numero, fecha, fechaventa, camarero, codigo_camarero, "
                            "total, impuesto, recargo, descuento, pago, efectivo, tarjeta, borrar) "
                            "VALUES (?, ?, ?, 'Ana', 3, 23.4, 2.13, 0, 0, 1, 0, 0, 0)"),
             {numero, datos::textoFecha(dia), datos::textoFecha(dia)});
  }

  QString Ruta(const QString& nombre) const { return QDir(bases.carpeta()).filePath(nombre); }
  // El ajustes.ini de la tienda, con `mas` al final.
  void Ajustes(const QString& mas = {}) {
    ASSERT_TRUE(prueba::escribirBytes(
        ini, QStringLiteral("[fuentes]\nhosteleria=%1\nInformes=%2\n[equipo]\nidentificador=77\n%3")
                 .arg(bases.textoVentas(), bases.textoInformes(), mas)
                 .toUtf8()));
  }
  void Ventas(const QString& sql, const QVariantList& valores = {}) {
    datos::Conexion::abrir(bases.fuenteVentas())->ejecutar(sql, valores);
  }
  void Producto(const QString& codigo, const QString& nombre, double precio) {
    Ventas(QStringLiteral("INSERT INTO productos (codigo, nombre, precio, borrar) VALUES (?, ?, ?, 0)"),
           {codigo, nombre, precio});
  }
  // `cronicas --ajustes <ini> informe <args>` con el reloj de la tienda.
  Resultado Informe(const QStringList& args) {
    return Ejecutar(QStringList{QStringLiteral("--ajustes"), ini, QStringLiteral("informe")} + args, reloj);
  }

  // Las facturas del cierre de caja de la empleada 3 con el reloj en `momento`.
  QString CierreDeCaja(const QDateTime& momento, const QStringList& fechas) {
    const sistema::RelojFijo otro(momento);
    QFile::remove(csv);
    const Resultado r = Ejecutar(
        QStringList{QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdCierreCaja"),
                    QStringLiteral("--empleado"), QStringLiteral("3"), QStringLiteral("--csv"), csv} +
            fechas,
        otro);
    EXPECT_EQ(r.codigo, app::kSalidaBien) << r.errores.toStdString();
    QStringList facturas;
    for (const char* numero : {"70881", "70882"})
      if (prueba::leerBytes(csv).contains(numero)) facturas << QLatin1String(numero);
    return facturas.join(QLatin1Char(' '));
  }

  prueba::Bases bases{prueba::Motor::SQLite};
  sistema::RelojFijo reloj{QDateTime(QDate(2024, 3, 16), QTime(10, 0))};
  QString ini, csv;
};

TEST_F(EnUnaTienda, ElProgramaDeVerdadSaleConSuCodigoYSinPantallaDiceQueHacer) {
  QProcessEnvironment sinPantalla = QProcessEnvironment::systemEnvironment();
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    sinPantalla.remove(QLatin1String(variable));
  const Resultado ventana = Proceso({QStringLiteral("--ajustes"), ini}, sinPantalla);
  EXPECT_EQ(ventana.codigo, app::kSalidaUso);
  EXPECT_TRUE(ventana.errores.contains(QStringLiteral("No hay pantalla"))) << ventana.errores.toStdString();
  EXPECT_TRUE(ventana.errores.contains(QStringLiteral("cronicas informe"))) << ventana.errores.toStdString();

  EXPECT_EQ(Proceso({QStringLiteral("vender")}).codigo, app::kSalidaUso);
  EXPECT_EQ(
      Proceso({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdProductos")}).codigo,
      app::kSalidaSinDatos);
}

TEST_F(EnUnaTienda, ListaTodosLosInformesYNombraElDesconocido) {
  const Resultado s = Informe({QStringLiteral("--lista")});
  EXPECT_EQ(s.codigo, app::kSalidaBien);
  for (const char* trozo : {"cmdProductos", "Listado de Productos", "cmdCierreResumido", "Ventas Generales por Dia"})
    EXPECT_TRUE(s.salida.contains(QString::fromUtf8(trozo))) << trozo;
  // Cada botón de informe del registro tiene su constructor y sale en la
  // lista, una línea cada uno; los gráficos y formularios no son informes,
  // salvo el formulario que además se saca sin ventana.
  qsizetype informes = 0;
  for (const auto& b : registro::Botones()) {
    if (!b.esInforme() && !b.sinVentana()) {
      EXPECT_FALSE(s.salida.contains(b.boton + QLatin1Char(' '))) << b.boton.toStdString();
      continue;
    }
    ++informes;
    EXPECT_TRUE(b.disponible()) << b.boton.toStdString();
    EXPECT_TRUE(s.salida.contains(b.boton)) << b.boton.toStdString();
  }
  EXPECT_EQ(s.salida.count(QLatin1Char('\n')), informes);

  const Resultado r = Informe({QStringLiteral("cmdNada")});
  EXPECT_EQ(r.codigo, app::kSalidaUso);
  EXPECT_TRUE(r.errores.contains(QStringLiteral("cmdNada")));
}

TEST_F(EnUnaTienda, PdfHojaYCsvDeUnaVezYSinDatosNinguno) {
  const QString pdf = Ruta(QStringLiteral("p.pdf")), xlsx = Ruta(QStringLiteral("p.xlsx"));
  const QStringList salidas = {QStringLiteral("--pdf"), pdf, QStringLiteral("--xlsx"), xlsx,
                               QStringLiteral("--csv"), csv};
  const Resultado vacio = Informe(QStringList{QStringLiteral("cmdProductos")} + salidas);
  EXPECT_EQ(vacio.codigo, app::kSalidaSinDatos);
  EXPECT_TRUE(vacio.errores.contains(QStringLiteral("ATENCION: No hay datos para ser mostrados.")));
  for (const QString& f : {pdf, xlsx, csv}) EXPECT_FALSE(QFile::exists(f)) << f.toStdString();

  Producto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
  Producto(QStringLiteral("P2"), QStringLiteral("Ración de calamares"), 1234.5);
  const Resultado s = Informe(QStringList{QStringLiteral("cmdProductos")} + salidas);
  ASSERT_EQ(s.codigo, app::kSalidaBien) << s.errores.toStdString();
  for (const QString& f : {pdf, xlsx, csv})
    EXPECT_TRUE(s.errores.contains(QDir::toNativeSeparators(f))) << f.toStdString();
  EXPECT_TRUE(s.salida.isEmpty());  // con ficheros pedidos, nada a la salida estándar
  const QString texto = prueba::TextoPdf(pdf);
  EXPECT_TRUE(texto.contains(QStringLiteral("Bar Sol")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Listado de Productos")));
  // Sin familia: el grupo "Sin Asignar"; el precio con sus miles.
  EXPECT_TRUE(texto.contains(QStringLiteral("Familia: Sin Asignar")));
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Ración de calamares")).contains(QStringLiteral("1.234,50")));
  EXPECT_FALSE(prueba::BuscarCelda(prueba::LeerXlsx(xlsx), QStringLiteral("Ración de calamares")).isEmpty());
  EXPECT_TRUE(prueba::leerBytes(csv).contains("Ración de calamares"));
}

#ifdef Q_OS_LINUX
// /dev/full: cualquier escritura falla con «no queda espacio»; el programa de
// verdad, con su salida estándar ahí.
TEST_F(EnUnaTienda, UnDispositivoLlenoEsUnErrorConSuMotivo) {
  Producto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
  const QStringList informe{QStringLiteral("--ajustes"), ini, QStringLiteral("informe"),
                            QStringLiteral("cmdProductos")};
  const QString lleno = QStringLiteral("/dev/full");
  struct Caso {
    QStringList args;
    const char* mensaje;
  };
  const std::vector<Caso> casos = {
      {informe, "No se puede escribir el CSV"},  // a la salida estándar
      {{QStringLiteral("informe"), QStringLiteral("--lista")}, "No se puede escribir en la salida estándar"},
      {{QStringLiteral("--version")}, "No se puede escribir en la salida estándar"},
      {{QStringLiteral("--ayuda")}, "No se puede escribir en la salida estándar"},
      {informe + QStringList{QStringLiteral("--pdf"), lleno}, "No se puede escribir el PDF /dev/full"},
      {informe + QStringList{QStringLiteral("--xlsx"), lleno}, "No se puede escribir la hoja de cálculo /dev/full"},
      {informe + QStringList{QStringLiteral("--csv"), lleno}, "No se puede escribir el fichero /dev/full"},
  };
  for (const Caso& c : casos) {
    QProcess p;
    p.setStandardOutputFile(lleno);
    p.start(QStringLiteral(CRONICAS_EJECUTABLE), c.args);
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString errores = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), app::kSalidaError) << c.args.join(' ').toStdString();
    EXPECT_TRUE(errores.contains(QString::fromUtf8(c.mensaje)))
        << c.args.join(QLatin1Char(' ')).toStdString() << ": " << errores.toStdString();
    EXPECT_TRUE(errores.contains(QStringLiteral("No space left on device")) ||
                errores.contains(QStringLiteral("espacio")))
        << errores.toStdString();
    EXPECT_FALSE(errores.contains(QStringLiteral("guardado"))) << errores.toStdString();
  }
  EXPECT_FALSE(QFileInfo(lleno).isFile());
}
#endif

// Los textos de fuente mal escritos y las bases que no lo son se prueban en
// la capa de datos y en el almacén; aquí, que llegan al usuario con su código.
TEST_F(EnUnaTienda, BaseQueNoExisteSeNombraYNoSeCrea) {
  const QString falta = Ruta(QStringLiteral("no-esta.db"));
  ASSERT_TRUE(prueba::escribirBytes(
      ini,
      QStringLiteral("[fuentes]\nhosteleria=sqlite:%1\nInformes=%2\n").arg(falta, bases.textoInformes()).toUtf8()));
  const Resultado r = Informe({QStringLiteral("cmdClientes")});
  EXPECT_EQ(r.codigo, app::kSalidaError);
  EXPECT_TRUE(r.errores.contains(QStringLiteral("hosteleria"))) << r.errores.toStdString();
  EXPECT_TRUE(r.errores.contains(falta)) << r.errores.toStdString();
  EXPECT_FALSE(QFile::exists(falta)) << "abrir no debe crear la base";
}

TEST_F(EnUnaTienda, PlantillaRotaTablaQueFaltaOCarpetaQueNoExisteSeNombran) {
  Producto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
  const QString pdf = Ruta(QStringLiteral("p.pdf"));
  Resultado s = Informe({QStringLiteral("cmdProductos"), QStringLiteral("--pdf"), Ruta(QStringLiteral("no/p.pdf"))});
  EXPECT_EQ(s.codigo, app::kSalidaError);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("No se puede escribir el PDF"))) << s.errores.toStdString();

  QDir(bases.carpeta()).mkpath(QStringLiteral("plantillas"));
  ASSERT_TRUE(prueba::escribirBytes(
      Ruta(QStringLiteral("plantillas/productos.xml")),
      "<informe>\n<detalle alto=\"5\">\n<campo columna=\"texto1\" x=\"0\" ancho=\"5\" alto=\"5\"\n</informe>\n"));
  Ajustes(QStringLiteral("[plantillas]\ncarpeta=plantillas\n"));
  s = Informe({QStringLiteral("cmdProductos"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(s.codigo, app::kSalidaError);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("Cronicas: La plantilla «"))) << s.errores.toStdString();
  EXPECT_TRUE(s.errores.contains(QStringLiteral("productos.xml» no se puede usar: línea 4")))
      << s.errores.toStdString();
  EXPECT_FALSE(QFile::exists(pdf));

  Ventas(QStringLiteral("DROP TABLE clientes"));
  s = Informe({QStringLiteral("cmdClientes")});
  EXPECT_EQ(s.codigo, app::kSalidaError);
  EXPECT_TRUE(s.errores.startsWith(QStringLiteral("Cronicas: ")));
  EXPECT_TRUE(s.errores.contains(QStringLiteral("clientes")));
}

TEST_F(EnUnaTienda, ElEmpleadoDelPuestoNoSacaLoQueTieneProhibidoSalvoTareaDelAdministrador) {
  Producto(QStringLiteral("0001"), QStringLiteral("Caña"), 1.8);
  Ventas(QStringLiteral("INSERT INTO opciones_terminal (identificador, id_color, empleado) VALUES ('77', 1, 3)"));
  Ventas(QStringLiteral("INSERT INTO empleados (codigo, nombre, apellidos) VALUES (3, 'Lucía', 'Gil')"));
  Ventas(
      QStringLiteral("INSERT INTO atributos (codigo, form, boton) VALUES (1, 'frmPrincipalCronicas', "
                     "'CMDPRODUCTOS'), (2, 'otroFormulario', 'cmdFamilias')"));
  Ventas(QStringLiteral("INSERT INTO empleadosatributos (codempleado, codatributo) VALUES (3, 1), (3, 2)"));
  const QStringList productos = {QStringLiteral("cmdProductos"), QStringLiteral("--csv"), csv};
  const Resultado prohibido = Informe(productos);
  EXPECT_EQ(prohibido.codigo, app::kSalidaSinPermiso);
  EXPECT_TRUE(prohibido.errores.contains(QStringLiteral("El empleado 3 (Lucía Gil)")))
      << prohibido.errores.toStdString();
  EXPECT_TRUE(prohibido.errores.contains(QStringLiteral("cmdProductos")));
  EXPECT_FALSE(QFile::exists(csv));
  // Lo prohibido en otro formulario no cuenta aquí.
  EXPECT_NE(Informe({QStringLiteral("cmdFamilias")}).codigo, app::kSalidaSinPermiso);

  // La tarea programada del administrador lo saca todo.
  Ajustes(QStringLiteral("[permisos]\nlinea_de_ordenes=todos\n"));
  EXPECT_EQ(Informe(productos).codigo, app::kSalidaBien);
  EXPECT_TRUE(QFile::exists(csv));
}

// El fichero es de toda la suite: la orden sólo cambia su línea de colorcaja
// (lo fino, en las pruebas del almacén) y uno que no se deja escribir no
// impide sacar el informe.
TEST_F(EnUnaTienda, AjustesDeSoloLecturaAvisanYElInformeSale) {
  Producto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
  const QString velarix =
      QStringLiteral("[Velarix]\r\ncolor=&HFFFFFF|&H834530|&HC67B62|&HD3CBC2|&HE2CAAB|&HD3CB8B|&HFFFFFF|VERDE|\r\n");
  Ajustes(velarix + QStringLiteral("Nota=Ñandú; a mano\r\ncolorcaja=&H0|de antes|\r\n[Otro]\r\nRuta=\\\\s\\c"));
  const QByteArray original = prueba::leerBytes(ini);
  ASSERT_EQ(Informe({QStringLiteral("cmdProductos"), QStringLiteral("--csv"), csv}).codigo, app::kSalidaBien);
  EXPECT_EQ(
      prueba::leerBytes(ini),
      QByteArray(original).replace("colorcaja=&H0|de antes|",
                                   "colorcaja=&HCDE7D2|&H9FCD8B|&H66AF43|&H8ED0A0|&HB5DFC1|&HBDE3C8|&H2E7431|VERDE"));
  QFile::remove(csv);
  Ajustes(velarix + QStringLiteral("colorcaja=&H0|de antes|\r\n"));
  ASSERT_TRUE(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
  const QByteArray antes = prueba::leerBytes(ini);
  const Resultado s = Informe({QStringLiteral("cmdProductos"), QStringLiteral("--csv"), csv});
  EXPECT_EQ(s.codigo, app::kSalidaBien) << s.errores.toStdString();
  EXPECT_TRUE(s.errores.contains(QStringLiteral("Aviso: No se pudo guardar «Velarix/colorcaja»")))
      << s.errores.toStdString();
  EXPECT_TRUE(prueba::leerBytes(csv).contains("Caña"));
  EXPECT_EQ(prueba::leerBytes(ini), antes);
}

TEST_F(EnUnaTienda, OpcionesQueNoSonDelBotonOFechasMalEscritas) {
  const struct {
    QStringList args;
    const char* mensaje;
  } casos[] = {
      {{"cmdCierreCaja", "--desde", "ayer"}, "--empleado"},
      {{"cmdCierreCaja", "--empleado", "Ana"}, "--empleado"},
      {{"cmdCierreCaja", "--empleado", "40000"}, "32767"},
      {{"cmdVentasXFPago", "--empleado", "3"}, "no lleva --empleado"},
      {{"cmdVentasXFPago", "--completo"}, "no lleva --completo"},
      {{"cmdProductos", "--desde", "hoy"}, "sin fechas"},
      {{"cmdVentasXFPago", "--desde", "mañana"}, "«hoy» o «ayer»"},
      {{"cmdVentasXFPago", "--desde", "hoy", "--hasta", "ayer"}, "posterior"},
  };
  for (const auto& c : casos) {
    const Resultado s = Informe(c.args);
    EXPECT_EQ(s.codigo, app::kSalidaUso) << c.args.join(' ').toStdString();
    EXPECT_TRUE(s.errores.contains(QString::fromUtf8(c.mensaje))) << s.errores.toStdString();
  }
}

TEST_F(EnUnaTienda, HoyYAyerSonLosDelReloj) {
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

  // Justo pasada la medianoche «ayer» ya es el 15; la empleada 4 no vendió.
  const sistema::RelojFijo medianoche(QDateTime(QDate(2024, 3, 16), QTime(0, 0, 1)));
  const Resultado r =
      Ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdCierreCaja"),
                QStringLiteral("--empleado"), QStringLiteral("4"), QStringLiteral("--desde"), QStringLiteral("ayer")},
               medianoche);
  EXPECT_EQ(r.codigo, app::kSalidaSinDatos) << r.errores.toStdString();
  const Resultado hoy = Informe({QStringLiteral("cmdVentasXFPago"), QStringLiteral("--desde"), QStringLiteral("hoy")});
  EXPECT_EQ(hoy.codigo, app::kSalidaSinDatos);
  EXPECT_TRUE(hoy.errores.contains(QStringLiteral("No hay datos para ser mostrados.")));
}

TEST_F(EnUnaTienda, LosAjustesValenDelanteDetrasOEntreLasOpcionesDeLaOrden) {
  Producto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
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
  const Resultado r = Ejecutar({QStringLiteral("informe"), b, QStringLiteral("--ajustes"), Ruta("otro/ajustes.ini")});
  EXPECT_EQ(r.codigo, app::kSalidaError);
  EXPECT_TRUE(r.errores.contains(QStringLiteral("hosteleria"))) << r.errores.toStdString();
  EXPECT_TRUE(r.salida.isEmpty());
}

TEST_F(EnUnaTienda, ElResumenDeAyerSeExportaYSeMandaOSinConexionSeDiceQueNo) {
  Ventas(QStringLiteral("INSERT INTO relaciones_fijas (indice, datoa, otros) VALUES ('DatosEmail', ?, ?)"),
         {QStringLiteral("caja.bar@gmail.com"), QStringLiteral("clave")});
  Ventas(QStringLiteral("INSERT INTO valores_fijos (emailinformes) VALUES ('dueno@bar.es')"));
  const QString salida = Ruta(QStringLiteral("salida"));
  const QString hoja = QDir(salida).filePath(QStringLiteral("resumen.xlsx"));
  const QStringList ayer = {QStringLiteral("cmdCierreResumido"), QStringLiteral("--desde"), QStringLiteral("ayer")};

  const QString pdf = Ruta(QStringLiteral("r.pdf"));
  Ajustes(QStringLiteral("[salida]\ncarpeta=%1\n[correo]\nen_linea=no\n").arg(salida));
  Resultado s = Informe(ayer + QStringList{QStringLiteral("--pdf"), pdf});
  ASSERT_EQ(s.codigo, app::kSalidaBien) << s.errores.toStdString();
  EXPECT_TRUE(QFileInfo::exists(hoja));
  EXPECT_TRUE(s.errores.contains(QStringLiteral("Sin conexión a Internet"))) << s.errores.toStdString();
  EXPECT_TRUE(prueba::TextoPdf(pdf).contains(QStringLiteral("Bar Sol")));

  if (!prueba::HayAiosmtpd()) GTEST_SKIP() << "/usr/bin/python3 no tiene aiosmtpd (paquete python3-aiosmtpd)";
  QTemporaryDir certificados;
  const QString pem = certificados.filePath(QStringLiteral("c.pem"));
  const QString key = certificados.filePath(QStringLiteral("c.key"));
  const QString error = prueba::CrearCertificado(pem, key);
  ASSERT_TRUE(error.isEmpty()) << error.toStdString();
  prueba::ServidorSmtp servidor(QStringLiteral("smtps"), pem, key, QStringLiteral("caja.bar@gmail.com"),
                                QStringLiteral("clave"));
  const QString porque = servidor.esperarListo();
  ASSERT_TRUE(porque.isEmpty()) << porque.toStdString();
  Ajustes(QStringLiteral("[salida]\ncarpeta=%1\n[correo]\nservidor_gmail=localhost\npuerto_gmail=%2\n"
                         "puerto_smtps=%2\ncertificados=%3\nen_linea=si\n")
              .arg(salida)
              .arg(servidor.puerto)
              .arg(pem));
  s = Informe(ayer);
  ASSERT_EQ(s.codigo, app::kSalidaBien) << s.errores.toStdString();
  EXPECT_TRUE(s.salida.isEmpty()) << "sin salida pedida no se escribe CSV";
  EXPECT_TRUE(s.errores.contains(QStringLiteral("Correo enviado a dueno@bar.es"))) << s.errores.toStdString();
  // Lo que lleva el correo, en test_exportar_enviar: aquí, que sale uno con la hoja.
  const QList<QJsonObject> r = servidor.recibidos();
  ASSERT_EQ(r.size(), 1);
  const QJsonArray adjuntos = r.at(0)["adjuntos"].toArray();
  ASSERT_EQ(adjuntos.size(), 1);
  EXPECT_EQ(QByteArray::fromBase64(adjuntos.at(0)["datos"].toString().toLatin1()), prueba::leerBytes(hoja));
  bool hayFactura = false;
  for (const auto& [ref, celda] : prueba::LeerXlsx(hoja))
    hayFactura = hayFactura || (celda.numero && celda.valor == 70882);
  EXPECT_TRUE(hayFactura);
}

// --- La tienda de demostración ------------------------------------------------------

TEST(OrdenesDemo, CadaListadoSaleDeLaTiendaYOtraDemoSeNiega) {
  QTemporaryDir dir;
  const sistema::RelojSistema reloj;
  const QString destino = dir.filePath(QStringLiteral("tienda"));
  const Resultado demo = Ejecutar(
      {QStringLiteral("demo"), QStringLiteral("--destino"), destino, QStringLiteral("--dias"), QStringLiteral("3"),
       QStringLiteral("--ventas-dia"), QStringLiteral("5"), QStringLiteral("--hoy"), QStringLiteral("2026-03-06")},
      reloj);
  ASSERT_EQ(demo.codigo, app::kSalidaBien) << demo.errores.toStdString();
  const QString ini = QDir(destino).filePath(QStringLiteral("ajustes.ini"));
  for (const char* boton : {"cmdProductos", "cmdFamilias", "cmdEmpleados", "cmdClientes", "cmdFormasPago",
                            "cmdProveedores", "cmdBajoMinimo", "cmdStockGeneral", "cmdProdBajoMinimoTicket"}) {
    SCOPED_TRACE(boton);
    const QString csv = dir.filePath(QLatin1String(boton) + QStringLiteral(".csv"));
    const QString pdf = dir.filePath(QLatin1String(boton) + QStringLiteral(".pdf"));
    const QString xlsx = dir.filePath(QLatin1String(boton) + QStringLiteral(".xlsx"));
    const Resultado s =
        Ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QLatin1String(boton),
                  QStringLiteral("--csv"), csv, QStringLiteral("--pdf"), pdf, QStringLiteral("--xlsx"), xlsx});
    EXPECT_EQ(s.codigo, app::kSalidaBien) << s.errores.toStdString();
    EXPECT_GT(prueba::leerBytes(csv).count('\n'), 1);
    // Cada listado sale con el nombre del negocio de la tienda.
    EXPECT_TRUE(prueba::TextoPdf(pdf).contains(QStringLiteral("Bar Restaurante La Galerna")));
    EXPECT_FALSE(prueba::BuscarCelda(prueba::LeerXlsx(xlsx), QStringLiteral("Bar Restaurante La Galerna")).isEmpty());
  }
  // Una segunda demo en la misma carpeta no pisa la tienda (el detalle, en las pruebas de la demo).
  EXPECT_EQ(Ejecutar({QStringLiteral("demo"), QStringLiteral("--destino"), destino}).codigo, app::kSalidaError);
}

// Sin --destino la tienda va junto a los ajustes de la suite; si éstos ya
// llevan a otra tienda, no se tocan.
TEST(OrdenesDemo, SinDestinoNoCambiaLosAjustesDeOtraTienda) {
  QTemporaryDir dir;
  const QString ini = dir.filePath(QStringLiteral("ajustes.ini"));
  const QByteArray antes = "[fuentes]\nhosteleria=postgresql://caja@servidor:5432/bar\n[otra]\nclave = valor\n";
  prueba::escribirBytes(ini, antes);
  const Resultado r = Ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("demo"), QStringLiteral("--dias"),
                                QStringLiteral("2"), QStringLiteral("--ventas-dia"), QStringLiteral("3")});
  EXPECT_EQ(r.codigo, app::kSalidaError);
  EXPECT_TRUE(r.errores.contains(QStringLiteral("servidor/bar"))) << r.errores.toStdString();
  EXPECT_EQ(prueba::leerBytes(ini), antes);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("hosteleria.db"))));

  // Sin tienda en los ajustes, la demostración se queda junto a ellos y los
  // apunta a la suya, conservando lo demás.
  prueba::escribirBytes(ini, "[otra]\nclave = valor\n");
  const Resultado bien = Ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("demo"), QStringLiteral("--dias"),
                                   QStringLiteral("2"), QStringLiteral("--ventas-dia"), QStringLiteral("3")});
  ASSERT_EQ(bien.codigo, app::kSalidaBien) << bien.errores.toStdString();
  EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("hosteleria.db"))));
  EXPECT_TRUE(prueba::leerBytes(ini).contains("clave = valor"));
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

TEST_F(EnUnaTienda, TicketDetalladoEnTextoDelAnchoPedido) {
  Ajustes(QStringLiteral("[informes]\nregional=es_ES\n"));
  Ventas(QStringLiteral("UPDATE opciones SET numdecimales = 2"));
  const QString txt = Ruta(QStringLiteral("ticket.txt"));
  const QStringList dias = {QStringLiteral("--desde"), QStringLiteral("2024-03-14"), QStringLiteral("--hasta"),
                            QStringLiteral("2024-03-15")};
  const Resultado r = Informe(QStringList{QStringLiteral("cmd_Ticket"), QStringLiteral("--texto"), txt,
                                          QStringLiteral("--ancho"), QStringLiteral("20")} +
                              dias);
  ASSERT_EQ(r.codigo, app::kSalidaBien) << r.errores.toStdString();
  const QByteArray t = prueba::leerBytes(txt);
  EXPECT_TRUE(t.startsWith("Bar Sol\r\nCalle Mayor 1\r\n \r\n"));
  EXPECT_EQ(t.count("\r\n"), t.count('\n'));
  EXPECT_TRUE(
      t.contains("\r\nNro. Factura  Importe\r\n70881           23,40\r\n70882           23,40\r\n"
                 "---------------------\r\nTotal General   46,80\r\n"))
      << t.toStdString();

  // --texto es sólo del ticket detallado, que no tiene plantilla; --ancho,
  // de los informes de la impresora de tickets.
  for (const QStringList& mal :
       {QStringList{QStringLiteral("cmdVentasXFPago"), QStringLiteral("--texto"), Ruta(QStringLiteral("x.txt"))},
        QStringList{QStringLiteral("cmd_Ticket"), QStringLiteral("--pdf"), Ruta(QStringLiteral("x.pdf"))},
        QStringList{QStringLiteral("cmdVentasXFPago"), QStringLiteral("--ancho"), QStringLiteral("40")},
        QStringList{QStringLiteral("cmd_Ticket"), QStringLiteral("--ancho"), QStringLiteral("5")}}) {
    const Resultado m = Informe(mal + dias);
    EXPECT_EQ(m.codigo, app::kSalidaUso) << mal.join(QLatin1Char(' ')).toStdString();
  }
}

}  // namespace

// --- cronicas grafico ---------------------------------------------------------------

TEST_F(EnUnaTienda, ElGraficoDelMesSaleComoSerieTablaOImagenYLoMalEscritoSeDice) {
  // Sin salida pedida, la serie: un renglón por día.
  const Resultado serie =
      Ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("grafico"), QStringLiteral("cmdCajaxDias"),
                QStringLiteral("--mes"), QStringLiteral("3"), QString::fromUtf8("--año"), QStringLiteral("2024")},
               reloj);
  ASSERT_EQ(serie.codigo, app::kSalidaBien) << serie.errores.toStdString();
  const QStringList renglones = serie.salida.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(renglones.size(), 31);
  EXPECT_EQ(renglones.at(13), QStringLiteral("14;23.4"));
  EXPECT_EQ(renglones.at(15), QStringLiteral("16;0"));

  const QString tabla = Ruta(QStringLiteral("tabla.csv"));
  const Resultado t = Ejecutar(
      {QStringLiteral("--ajustes"), ini, QStringLiteral("grafico"), QStringLiteral("5"), QStringLiteral("--mes"),
       QStringLiteral("3"), QStringLiteral("--anio"), QStringLiteral("2024"), QStringLiteral("--tabla-csv"), tabla},
      reloj);
  ASSERT_EQ(t.codigo, app::kSalidaBien) << t.errores.toStdString();
  const QStringList filas = QString::fromUtf8(prueba::leerBytes(tabla)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(filas.size(), 25);
  // Las dos ventas no tienen hora: no tienen fila en la tabla.
  EXPECT_EQ(filas.at(0), QStringLiteral("23 - 24") + QString(32, QLatin1Char(';')));

  const struct {
    QStringList args;
    const char* mensaje;
  } casos[] = {
      {{QStringLiteral("8"), QStringLiteral("--mes"), QStringLiteral("3"), QStringLiteral("--anio"), "2024"},
       "No hay ningún gráfico «8»"},
      {{QStringLiteral("3"), QStringLiteral("--mes"), QStringLiteral("13"), QStringLiteral("--anio"), "2024"},
       "--mes es demasiado grande: como mucho 12"},
      {{QStringLiteral("3"), QStringLiteral("--mes"), QStringLiteral("3")}, "Falta el año"},
      {{QStringLiteral("3"), QStringLiteral("--mes"), "3", "--anio", "2024", "--tabla-csv", tabla},
       "no tiene tabla día por hora"},
      {{QStringLiteral("3"), QStringLiteral("--mes"), "3", "--anio", "2024", "--estilo", "tarta"},
       "--estilo es barras"},
      {{QStringLiteral("3"), QStringLiteral("--mes"), "3", "--anio", "2024", "--color", "morado"}, "--color es rojo"},
      {{QStringLiteral("3"), QStringLiteral("--mes"), "3", "--anio", "2024", "--png", Ruta("g.png")},
       "no trae la parte gráfica"},
  };
  for (const auto& c : casos) {
    const Resultado r =
        Ejecutar(QStringList{QStringLiteral("--ajustes"), ini, QStringLiteral("grafico")} + c.args, reloj);
    EXPECT_EQ(r.codigo, app::kSalidaUso) << c.args.join(' ').toStdString();
    EXPECT_TRUE(r.errores.contains(QString::fromUtf8(c.mensaje))) << r.errores.toStdString();
  }

  // El programa sí trae la parte gráfica: el PNG del tamaño pedido.
  const QString png = Ruta(QStringLiteral("caja.png"));
  const Resultado imagen =
      Proceso({QStringLiteral("--ajustes"), ini, QStringLiteral("grafico"), QStringLiteral("3"),
               QStringLiteral("--mes"), QStringLiteral("3"), QStringLiteral("--anio"), QStringLiteral("2024"),
               QStringLiteral("--estilo"), QStringLiteral("circular"), QStringLiteral("--color"),
               QStringLiteral("azul"), QStringLiteral("--ancho"), QStringLiteral("640"), QStringLiteral("--png"), png});
  ASSERT_EQ(imagen.codigo, app::kSalidaBien) << imagen.errores.toStdString();
  EXPECT_EQ(QImage(png).size(), QSize(640, 600));
}
