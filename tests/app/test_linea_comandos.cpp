// La línea de órdenes vista desde fuera: el programa de verdad, sus códigos
// de salida, sus mensajes y los ficheros que deja (o no toca).

#include "support/Ayudas.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"
#include "support/ServidorSmtp.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Salida {
  int codigo = -1;
  QString salida;
  QString errores;
};

Salida ejecutar(const QStringList& argumentos,
                const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessEnvironment(entorno);
  p.start(QStringLiteral(CRONICAS_EJECUTABLE), argumentos);
  EXPECT_TRUE(p.waitForFinished(120000)) << "el programa no terminó";
  return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

QByteArray huella(const QString& fichero) {
  QFile f(fichero);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void escribirFichero(const QString& ruta, const QByteArray& contenido) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(contenido);
}

// Una tienda mínima en SQLite con su fichero de ajustes.
class LineaComandos : public testing::Test {
 protected:
  void SetUp() override {
    bases = std::make_unique<prueba::Bases>(prueba::Motor::SQLite);
    ini = QDir(bases->carpeta()).filePath(QStringLiteral("ajustes.ini"));
    escribirIni(bases->textoVentas(), bases->textoInformes());
    auto v = datos::Conexion::abrir(bases->fuenteVentas());
    v->ejecutar(
        QStringLiteral("INSERT INTO opciones (identificador, nombre, direccion, poblacion, terminal) "
                       "VALUES ('77', 'Bar Sol', 'Calle Mayor 1', 'Soria', '1')"));
  }

  void escribirIni(const QString& ventas, const QString& informes) {
    escribirFichero(ini, QStringLiteral("[fuentes]\nhosteleria=%1\nInformes=%2\n[equipo]\nidentificador=77\n")
                             .arg(ventas, informes)
                             .toUtf8());
  }

  void insertarProducto(const QString& codigo, const QString& nombre, double precio) {
    auto v = datos::Conexion::abrir(bases->fuenteVentas());
    v->ejecutar(QStringLiteral("INSERT INTO productos (codigo, nombre, precio, borrar) VALUES (?, ?, ?, 0)"),
                {codigo, nombre, precio});
  }

  std::unique_ptr<prueba::Bases> bases;
  QString ini;
};

TEST(LineaComandosAyuda, AyudaEnEspanolDelProgramaYDeCadaOrden) {
  const Salida general = ejecutar({QStringLiteral("--help")});
  EXPECT_EQ(general.codigo, 0);
  EXPECT_TRUE(general.salida.contains(QStringLiteral("Uso: cronicas")));
  EXPECT_TRUE(general.salida.contains(QStringLiteral("demo")));
  EXPECT_TRUE(general.salida.contains(QStringLiteral("informe")));

  const Salida informe = ejecutar({QStringLiteral("informe"), QStringLiteral("--help")});
  EXPECT_EQ(informe.codigo, 0);
  EXPECT_TRUE(informe.salida.contains(QStringLiteral("--csv")));
  EXPECT_TRUE(informe.salida.contains(QStringLiteral("Códigos de salida")));

  const Salida demo = ejecutar({QStringLiteral("demo"), QStringLiteral("--help")});
  EXPECT_EQ(demo.codigo, 0);
  EXPECT_TRUE(demo.salida.contains(QStringLiteral("--ventas-dia")));
}

TEST(LineaComandosAyuda, ArgumentosMalEscritosDanCodigoUno) {
  EXPECT_EQ(ejecutar({QStringLiteral("vender")}).codigo, 1);
  EXPECT_EQ(ejecutar({QStringLiteral("demo"), QStringLiteral("--dias"), QStringLiteral("muchos")}).codigo, 1);
  EXPECT_EQ(ejecutar({QStringLiteral("demo"), QStringLiteral("--hoy"), QStringLiteral("2026-02-30")}).codigo, 1);
  const Salida s = ejecutar(
      {QStringLiteral("informe"), QStringLiteral("cmdProductos"), QStringLiteral("--pdff"), QStringLiteral("x")});
  EXPECT_EQ(s.codigo, 1);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("--pdff")));
}

TEST_F(LineaComandos, ListaLosBotonesConSuTexto) {
  const Salida s = ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("--lista")});
  EXPECT_EQ(s.codigo, 0);
  EXPECT_TRUE(s.salida.contains(QStringLiteral("cmdProductos")));
  EXPECT_TRUE(s.salida.contains(QStringLiteral("Listado de Productos")));
  EXPECT_TRUE(s.salida.contains(QStringLiteral("cmdStockGeneral")));
  EXPECT_TRUE(s.salida.contains(QStringLiteral("cmdCierreResumido")));
  EXPECT_TRUE(s.salida.contains(QStringLiteral("Ventas Generales por Dia")));
  EXPECT_EQ(s.salida.count(QLatin1Char('\n')), 14);
  // Los botones cuyo informe aún no está hecho no se listan.
  EXPECT_FALSE(s.salida.contains(QStringLiteral("cmdVentasMenus")));
}

TEST_F(LineaComandos, SinPantallaLaVentanaDiceQueHacerEnVezDeAbortar) {
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    entorno.remove(QLatin1String(variable));
  const Salida s = ejecutar({QStringLiteral("--ajustes"), ini}, entorno);
  EXPECT_EQ(s.codigo, 1);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("No hay pantalla"))) << s.errores.toStdString();
  EXPECT_TRUE(s.errores.contains(QStringLiteral("cronicas informe"))) << s.errores.toStdString();
}

TEST_F(LineaComandos, BotonDesconocidoOPendiente) {
  Salida s = ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdNada")});
  EXPECT_EQ(s.codigo, 1);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("cmdNada")));
  s = ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdVentasMenus")});
  EXPECT_EQ(s.codigo, 1);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("Venta de menus"))) << s.errores.toStdString();
  EXPECT_TRUE(s.errores.contains(QStringLiteral("próxima versión"))) << s.errores.toStdString();
}

TEST_F(LineaComandos, ListadoDeProductosACsv) {
  insertarProducto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
  insertarProducto(QStringLiteral("P2"), QStringLiteral("Bocadillo, de jamón"), 4.5);
  const QString csv = QDir(bases->carpeta()).filePath(QStringLiteral("p.csv"));
  // --ajustes también vale detrás de la orden.
  const Salida s = ejecutar({QStringLiteral("informe"), QStringLiteral("cmdProductos"), QStringLiteral("--csv"), csv,
                             QStringLiteral("--ajustes"), ini});
  ASSERT_EQ(s.codigo, 0) << s.errores.toStdString();
  QFile f(csv);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QStringList lineas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lineas.size(), 3);
  EXPECT_TRUE(lineas[0].startsWith(QStringLiteral("texto1,texto2,texto3,")));
  EXPECT_TRUE(lineas[0].endsWith(QStringLiteral("entero3,doble1,doble2")));
  EXPECT_TRUE(lineas[1].contains(QStringLiteral("\"Bocadillo, de jamón\"")));
  EXPECT_TRUE(lineas[1].contains(QStringLiteral(",4.5,")));
  EXPECT_TRUE(lineas[2].contains(QStringLiteral("Caña")));
  EXPECT_TRUE(lineas[2].contains(QStringLiteral("Bar Sol")));
}

TEST_F(LineaComandos, PdfHojaYCsvDeUnaVez) {
  insertarProducto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
  insertarProducto(QStringLiteral("P2"), QStringLiteral("Ración de calamares"), 1234.5);
  const QDir d(bases->carpeta());
  const QString pdf = d.filePath(QStringLiteral("p.pdf")), xlsx = d.filePath(QStringLiteral("p.xlsx")),
                csv = d.filePath(QStringLiteral("p.csv"));
  const Salida s =
      ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdProductos"),
                QStringLiteral("--pdf"), pdf, QStringLiteral("--xlsx"), xlsx, QStringLiteral("--csv"), csv});
  ASSERT_EQ(s.codigo, 0) << s.errores.toStdString();
  for (const QString& f : {pdf, xlsx, csv})
    EXPECT_TRUE(s.errores.contains(QDir::toNativeSeparators(f))) << f.toStdString();
  EXPECT_TRUE(s.salida.isEmpty());  // con ficheros pedidos, nada a la salida estándar
  const QString texto = prueba::TextoPdf(pdf);
  EXPECT_TRUE(texto.contains(QStringLiteral("Bar Sol")));
  EXPECT_TRUE(texto.contains(QStringLiteral("Listado de Productos")));
  // Sin familia: el grupo "Sin Asignar"; el precio con sus miles.
  EXPECT_TRUE(texto.contains(QStringLiteral("Familia: Sin Asignar")));
  EXPECT_TRUE(prueba::LineaCon(texto, QStringLiteral("Ración de calamares")).contains(QStringLiteral("1.234,50")));
  const auto celdas = prueba::LeerXlsx(xlsx);
  const QString ref = prueba::BuscarCelda(celdas, QStringLiteral("Ración de calamares"));
  ASSERT_FALSE(ref.isEmpty());
  EXPECT_TRUE(QFile::exists(csv));
}

#ifdef Q_OS_LINUX
// /dev/full: cualquier escritura falla con «no queda espacio».
TEST_F(LineaComandos, UnDispositivoLlenoEsUnErrorConSuMotivo) {
  insertarProducto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
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
    EXPECT_EQ(p.exitCode(), 2) << c.args.join(' ').toStdString();
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

TEST_F(LineaComandos, PlantillaRotaSeNombraYNoSeEscribeNada) {
  insertarProducto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
  const QDir d(bases->carpeta());
  d.mkpath(QStringLiteral("plantillas"));
  escribirFichero(
      d.filePath(QStringLiteral("plantillas/productos.xml")),
      "<informe>\n<detalle alto=\"5\">\n<campo columna=\"texto1\" x=\"0\" ancho=\"5\" alto=\"5\"\n</informe>\n");
  QFile f(ini);
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write("[plantillas]\ncarpeta=plantillas\n");
  f.close();
  const QString pdf = d.filePath(QStringLiteral("p.pdf"));
  const Salida s = ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"),
                             QStringLiteral("cmdProductos"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(s.codigo, 2);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("Cronicas: La plantilla «"))) << s.errores.toStdString();
  EXPECT_TRUE(s.errores.contains(QStringLiteral("productos.xml» no se puede usar: línea 4")))
      << s.errores.toStdString();
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(LineaComandos, SinDatosNoHayPdf) {
  const QString pdf = QDir(bases->carpeta()).filePath(QStringLiteral("vacio.pdf"));
  const Salida s = ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"),
                             QStringLiteral("cmdProductos"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(s.codigo, 3);
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(LineaComandos, PdfEnUnaCarpetaQueNoExiste) {
  insertarProducto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
  const QString pdf = QDir(bases->carpeta()).filePath(QStringLiteral("no/existe/p.pdf"));
  const Salida s = ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"),
                             QStringLiteral("cmdProductos"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(s.codigo, 2);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("No se puede escribir el PDF"))) << s.errores.toStdString();
}

TEST_F(LineaComandos, SinDatosAvisaYSaleConTres) {
  const QString csv = QDir(bases->carpeta()).filePath(QStringLiteral("vacio.csv"));
  const Salida s = ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"),
                             QStringLiteral("cmdProductos"), QStringLiteral("--csv"), csv});
  EXPECT_EQ(s.codigo, 3);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("ATENCION: No hay datos para ser mostrados.")));
  EXPECT_FALSE(QFile::exists(csv));
}

TEST_F(LineaComandos, BaseDeVentasQueNoExiste) {
  const QString falta = QDir(bases->carpeta()).filePath(QStringLiteral("no-esta.db"));
  escribirIni(QStringLiteral("sqlite:") + falta, bases->textoInformes());
  const Salida s =
      ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdProductos")});
  EXPECT_EQ(s.codigo, 2);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("hosteleria")));
  EXPECT_TRUE(s.errores.contains(falta));
  EXPECT_FALSE(QFile::exists(falta)) << "abrir no debe crear la base";
}

TEST_F(LineaComandos, FicheroQueNoEsUnaBase) {
  const QString falsa = QDir(bases->carpeta()).filePath(QStringLiteral("falsa.db"));
  escribirFichero(falsa, "esto no es una base de datos\n");
  const QByteArray antes = huella(falsa);
  escribirIni(QStringLiteral("sqlite:") + falsa, bases->textoInformes());
  const Salida s =
      ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdClientes")});
  EXPECT_EQ(s.codigo, 2);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("hosteleria")));
  EXPECT_TRUE(s.errores.contains(QStringLiteral("not a database")));
  EXPECT_EQ(huella(falsa), antes);
}

TEST_F(LineaComandos, AjusteMalFormadoSeNombraYNoSeToca) {
  escribirFichero(ini, "[fuentes]\nhosteleria=mysql://x/y\nInformes=sqlite:i.db\n");
  const QByteArray antes = huella(ini);
  const Salida s =
      ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdProductos")});
  EXPECT_EQ(s.codigo, 2);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("fuentes/hosteleria")));
  EXPECT_EQ(huella(ini), antes);
}

TEST_F(LineaComandos, TablaQueFaltaSeNombraYNoBorraElInformeAnterior) {
  insertarProducto(QStringLiteral("P1"), QStringLiteral("Caña"), 1.8);
  ASSERT_EQ(ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdProductos"),
                      QStringLiteral("--csv"), QDir(bases->carpeta()).filePath(QStringLiteral("a.csv"))})
                .codigo,
            0);
  {
    auto v = datos::Conexion::abrir(bases->fuenteVentas());
    v->ejecutar(QStringLiteral("DROP TABLE clientes"));
  }
  const Salida s =
      ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdClientes")});
  EXPECT_EQ(s.codigo, 2);
  EXPECT_TRUE(s.errores.startsWith(QStringLiteral("Cronicas: ")));
  EXPECT_TRUE(s.errores.contains(QStringLiteral("clientes")));
  auto i = datos::Conexion::abrir(bases->fuenteInformes());
  datos::Consulta q = i->preparar(QStringLiteral("SELECT count(*) FROM informes"));
  q.ejecutar();
  ASSERT_TRUE(q.siguiente());
  EXPECT_EQ(q.valor(0).toInt(), 1) << "las filas del informe anterior deben seguir ahí";
}

TEST_F(LineaComandos, ElEmpleadoDelPuestoNoSacaLoQueTieneProhibidoSalvoTareaDelAdministrador) {
  insertarProducto(QStringLiteral("0001"), QStringLiteral("Caña"), 1.8);
  {
    auto v = datos::Conexion::abrir(bases->fuenteVentas());
    v->ejecutar(
        QStringLiteral("INSERT INTO opciones_terminal (identificador, id_color, empleado) VALUES ('77', 1, 3)"));
    v->ejecutar(QStringLiteral("INSERT INTO empleados (codigo, nombre, apellidos) VALUES (3, 'Lucía', 'Gil')"));
    v->ejecutar(
        QStringLiteral("INSERT INTO atributos (codigo, form, boton) VALUES (1, 'frmPrincipalCronicas', "
                       "'CMDPRODUCTOS')"));
    v->ejecutar(
        QStringLiteral("INSERT INTO atributos (codigo, form, boton) VALUES (2, 'otroFormulario', "
                       "'cmdFamilias')"));
    v->ejecutar(QStringLiteral("INSERT INTO empleadosatributos (codempleado, codatributo) VALUES (3, 1)"));
    v->ejecutar(QStringLiteral("INSERT INTO empleadosatributos (codempleado, codatributo) VALUES (3, 2)"));
  }
  const QString csv = QDir(bases->carpeta()).filePath(QStringLiteral("p.csv"));
  const QStringList productos = {QStringLiteral("--ajustes"), ini,
                                 QStringLiteral("informe"),   QStringLiteral("cmdProductos"),
                                 QStringLiteral("--csv"),     csv};
  const Salida prohibido = ejecutar(productos);
  EXPECT_EQ(prohibido.codigo, 5);
  EXPECT_TRUE(prohibido.errores.contains(QStringLiteral("El empleado 3 (Lucía Gil)")))
      << prohibido.errores.toStdString();
  EXPECT_TRUE(prohibido.errores.contains(QStringLiteral("cmdProductos")));
  EXPECT_FALSE(QFile::exists(csv));
  // Lo prohibido en otro formulario no cuenta aquí.
  EXPECT_NE(
      ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), QStringLiteral("cmdFamilias")}).codigo, 5);

  // La tarea programada del administrador lo saca todo.
  QFile f(ini);
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write("[permisos]\nlinea_de_ordenes=todos\n");
  f.close();
  EXPECT_EQ(ejecutar(productos).codigo, 0);
  EXPECT_TRUE(QFile::exists(csv));
}

TEST(LineaComandosDemo, TiendaDeDemostracionDeExtremoAExtremo) {
  QTemporaryDir dir;
  const QString destino = dir.filePath(QStringLiteral("tienda"));
  const Salida demo = ejecutar({QStringLiteral("demo"), QStringLiteral("--destino"), destino, QStringLiteral("--dias"),
                                QStringLiteral("3"), QStringLiteral("--ventas-dia"), QStringLiteral("5"),
                                QStringLiteral("--hoy"), QStringLiteral("2026-03-06")});
  ASSERT_EQ(demo.codigo, 0) << demo.errores.toStdString();
  const QString ini = QDir(destino).filePath(QStringLiteral("ajustes.ini"));
  ASSERT_TRUE(QFile::exists(ini));
  for (const QString& boton :
       {QStringLiteral("cmdProductos"), QStringLiteral("cmdFamilias"), QStringLiteral("cmdEmpleados"),
        QStringLiteral("cmdClientes"), QStringLiteral("cmdFormasPago"), QStringLiteral("cmdProveedores"),
        QStringLiteral("cmdBajoMinimo"), QStringLiteral("cmdStockGeneral"),
        QStringLiteral("cmdProdBajoMinimoTicket")}) {
    const QString csv = dir.filePath(boton + QStringLiteral(".csv"));
    const QString pdf = dir.filePath(boton + QStringLiteral(".pdf"));
    const QString xlsx = dir.filePath(boton + QStringLiteral(".xlsx"));
    const Salida s =
        ejecutar({QStringLiteral("--ajustes"), ini, QStringLiteral("informe"), boton, QStringLiteral("--csv"), csv,
                  QStringLiteral("--pdf"), pdf, QStringLiteral("--xlsx"), xlsx});
    EXPECT_EQ(s.codigo, 0) << boton.toStdString() << ": " << s.errores.toStdString();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << boton.toStdString();
    EXPECT_GT(f.readAll().count('\n'), 1) << boton.toStdString();
    // Cada listado sale con el nombre del negocio de la tienda y su página.
    const QString texto = prueba::TextoPdf(pdf);
    EXPECT_TRUE(texto.contains(QStringLiteral("Bar Restaurante La Galerna"))) << boton.toStdString();
    EXPECT_GE(prueba::PaginasPdf(pdf), 1) << boton.toStdString();
    EXPECT_FALSE(prueba::BuscarCelda(prueba::LeerXlsx(xlsx), QStringLiteral("Bar Restaurante La Galerna")).isEmpty())
        << boton.toStdString();
  }
  // Una segunda demo en la misma carpeta no pisa la tienda existente.
  const QString ventas = QDir(destino).filePath(QStringLiteral("hosteleria.db"));
  const QByteArray antes = huella(ventas);
  const Salida otra = ejecutar({QStringLiteral("demo"), QStringLiteral("--destino"), destino});
  EXPECT_EQ(otra.codigo, 2);
  EXPECT_EQ(huella(ventas), antes);
}

// --- Informes con fechas ----------------------------------------------------------

// La tienda mínima con una venta de ayer (del reloj de verdad: la orden
// entiende «ayer») y las cuentas de correo del puesto.
class InformesConFechas : public LineaComandos {
 protected:
  void SetUp() override {
    LineaComandos::SetUp();
    ayer = QDate::currentDate().addDays(-1);
    auto v = datos::Conexion::abrir(bases->fuenteVentas());
    v->ejecutar(QStringLiteral("INSERT INTO cabecera_factura (numero, fecha, fechaventa, camarero, codigo_camarero, "
                               "total, impuesto, recargo, descuento, pago, efectivo, tarjeta, borrar) "
                               "VALUES (881, ?, ?, 'Ana', 3, 23.4, 2.13, 0, 0, 1, 0, 0, 0)"),
                {datos::textoFecha(ayer), datos::textoFecha(ayer)});
    v->ejecutar(QStringLiteral("INSERT INTO relaciones_fijas (indice, datoa, otros) VALUES ('DatosEmail', ?, ?)"),
                {QStringLiteral("caja.bar@gmail.com"), QStringLiteral("clave")});
    v->ejecutar(QStringLiteral("INSERT INTO valores_fijos (emailinformes) VALUES ('dueno@bar.es')"));
    salida = QDir(bases->carpeta()).filePath(QStringLiteral("salida"));
  }

  // Los ajustes de la tienda con la carpeta de salida y `correo` debajo.
  void Ajustes(const QString& correo) {
    escribirFichero(ini, QStringLiteral("[fuentes]\nhosteleria=%1\nInformes=%2\n[equipo]\nidentificador=77\n"
                                        "[salida]\ncarpeta=%3\n[correo]\n%4")
                             .arg(bases->textoVentas(), bases->textoInformes(), salida, correo)
                             .toUtf8());
  }

  Salida Informe(QStringList args) {
    args.prepend(QStringLiteral("informe"));
    args.prepend(ini);
    args.prepend(QStringLiteral("--ajustes"));
    return ejecutar(args);
  }

  QDate ayer;
  QString salida;
};

TEST_F(InformesConFechas, OpcionesQueNoSonDelBotonOFechasMalEscritas) {
  struct Caso {
    QStringList args;
    const char* mensaje;
  };
  const std::vector<Caso> casos = {
      {{"cmdCierreCaja", "--desde", "ayer"}, "--empleado"},
      {{"cmdCierreCaja", "--empleado", "Ana"}, "--empleado"},
      {{"cmdCierreCaja", "--empleado", "40000"}, "32767"},
      {{"cmdVentasXFPago", "--empleado", "3"}, "no lleva --empleado"},
      {{"cmdVentasXFPago", "--completo"}, "no lleva --completo"},
      {{"cmdProductos", "--desde", "hoy"}, "sin fechas"},
      {{"cmdVentasXFPago", "--desde", "mañana"}, "«hoy» o «ayer»"},
      {{"cmdVentasXFPago", "--desde", "hoy", "--hasta", "ayer"}, "posterior"},
  };
  Ajustes(QString());
  for (const Caso& c : casos) {
    const Salida s = Informe(c.args);
    EXPECT_EQ(s.codigo, 1) << c.args.join(' ').toStdString();
    EXPECT_TRUE(s.errores.contains(QString::fromUtf8(c.mensaje))) << s.errores.toStdString();
  }
}

TEST_F(InformesConFechas, AyerYElEmpleadoEligenLasFacturas) {
  Ajustes(QString());
  const QString csv = QDir(bases->carpeta()).filePath(QStringLiteral("c.csv"));
  Salida s = Informe({"cmdCierreCaja", "--empleado", "3", "--desde", "ayer", "--hasta", "ayer", "--csv", csv});
  ASSERT_EQ(s.codigo, 0) << s.errores.toStdString();
  const QString filas = QString::fromUtf8(prueba::leerBytes(csv));
  EXPECT_TRUE(filas.contains(QStringLiteral("881"))) << filas.toStdString();
  EXPECT_TRUE(filas.contains(ayer.toString(QStringLiteral("dd/MM/yyyy"))));
  // Otro empleado u hoy no tienen ventas.
  EXPECT_EQ(Informe({"cmdCierreCaja", "--empleado", "4", "--desde", "ayer", "--hasta", "ayer"}).codigo, 3);
  s = Informe({"cmdVentasXFPago", "--desde", "hoy", "--hasta", "hoy"});
  EXPECT_EQ(s.codigo, 3);
  EXPECT_TRUE(s.errores.contains(QStringLiteral("No hay datos para ser mostrados.")));
}

TEST_F(InformesConFechas, ElResumenDeAyerSeExportaYSeMandaPorCorreo) {
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
  Ajustes(QStringLiteral("servidor_gmail=localhost\npuerto_gmail=%1\npuerto_smtps=%1\ncertificados=%2\n"
                         "en_linea=si\n")
              .arg(servidor.puerto)
              .arg(pem));

  const Salida s = Informe({"cmdCierreResumido", "--desde", "ayer", "--hasta", "ayer"});
  ASSERT_EQ(s.codigo, 0) << s.errores.toStdString();
  EXPECT_TRUE(s.salida.isEmpty()) << "sin salida pedida no se escribe CSV";
  EXPECT_TRUE(s.errores.contains(QStringLiteral("Correo enviado a dueno@bar.es"))) << s.errores.toStdString();
  const QString hoja = QDir(salida).filePath(QStringLiteral("resumen.xlsx"));
  ASSERT_TRUE(QFileInfo::exists(hoja));

  const QList<QJsonObject> r = servidor.recibidos();
  ASSERT_EQ(r.size(), 1);
  EXPECT_EQ(r.at(0)["asunto"].toString(), "Bar Sol Informe - Ventas Generales por Dia");
  EXPECT_TRUE(r.at(0)["cuerpo"].toString().startsWith("Le adjuntamos el informe de Ventas Generales por Dia."));
  const QJsonArray adjuntos = r.at(0)["adjuntos"].toArray();
  ASSERT_EQ(adjuntos.size(), 1);
  EXPECT_EQ(adjuntos.at(0)["nombre"].toString(), "resumen.xlsx");
  EXPECT_EQ(QByteArray::fromBase64(adjuntos.at(0)["datos"].toString().toLatin1()), prueba::leerBytes(hoja));
  bool hayFactura = false;
  for (const auto& [ref, celda] : prueba::LeerXlsx(hoja))
    hayFactura = hayFactura || (celda.numero && celda.valor == 881);
  EXPECT_TRUE(hayFactura);
}

TEST_F(InformesConFechas, SinConexionElResumenSeExportaYSeDiceQueNoSeManda) {
  Ajustes(QStringLiteral("en_linea=no\n"));
  const QString pdf = QDir(bases->carpeta()).filePath(QStringLiteral("r.pdf"));
  const Salida s = Informe({"cmdCierreResumido", "--desde", "ayer", "--hasta", "ayer", "--pdf", pdf});
  ASSERT_EQ(s.codigo, 0) << s.errores.toStdString();
  EXPECT_TRUE(QFileInfo::exists(QDir(salida).filePath(QStringLiteral("resumen.xlsx"))));
  EXPECT_TRUE(s.errores.contains(QStringLiteral("Sin conexión a Internet"))) << s.errores.toStdString();
  EXPECT_TRUE(prueba::TextoPdf(pdf).contains(QStringLiteral("Bar Sol")));
}

}  // namespace
