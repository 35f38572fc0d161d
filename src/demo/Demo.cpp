#include "demo/Demo.h"

#include "demo/Tienda.h"
#include "demo/Ventas.h"
#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/datos/Esquemas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <map>

namespace demo {

namespace {

const QString kVentas = QStringLiteral("hosteleria.db");
const QString kInformes = QStringLiteral("informes.db");
const QString kCarpetaArchivos = QStringLiteral("fotos/cierresAnuales");
// Sufijo de los ficheros a medio escribir: sólo al final pasan a su nombre,
// así una generación que falla no deja una tienda a medias.
const QString kProvisional = QStringLiteral(".generando");

QString TextoFechaCorta(const QDate& d) {
  return d.toString(QStringLiteral("dd/MM/yyyy"));
}

// Las pragmas que aceleran la escritura de un fichero recién creado, que
// nadie más tiene abierto.
void PrepararEscrituraRapida(const datos::Conexion& c) {
  c.ejecutar(QStringLiteral("PRAGMA journal_mode=OFF"));
  c.ejecutar(QStringLiteral("PRAGMA synchronous=OFF"));
  c.ejecutar(QStringLiteral("PRAGMA cache_size=-262144"));
  c.ejecutar(QStringLiteral("PRAGMA temp_store=MEMORY"));
}

// Al terminar, el fichero vuelve a la forma segura para las terminales.
// Acabada la carga, la base queda como la usa la tienda. La de ventas, en
// modo WAL: los informes la leen sin parar a las cajas.
void DejarComoBaseNormal(const datos::Conexion& c, bool wal) {
  c.ejecutar(QStringLiteral("PRAGMA journal_mode=DELETE"));
  c.ejecutar(QStringLiteral("PRAGMA synchronous=FULL"));
  if (wal) c.pasarAWal();
}

// Los índices del esquema se quitan mientras se cargan los datos y se
// vuelven a crear al final: ordenar una vez cuesta menos que mantenerlos
// fila a fila.
QStringList IndicesDelEsquema() {
  QStringList indices;
  const QStringList lineas =
      datos::TextoEsquema(datos::Motor::SQLite, QStringLiteral("hosteleria")).split(QLatin1Char('\n'));
  for (const QString& l : lineas)
    if (l.trimmed().startsWith(QLatin1String("CREATE INDEX"), Qt::CaseInsensitive)) indices << l.trimmed();
  return indices;
}

void QuitarIndices(const datos::Conexion& c) {
  static const QRegularExpression nombre(QStringLiteral("CREATE INDEX (?:IF NOT EXISTS )?(\\w+)"),
                                         QRegularExpression::CaseInsensitiveOption);
  for (const QString& indice : IndicesDelEsquema()) {
    const QRegularExpressionMatch m = nombre.match(indice);
    if (m.hasMatch()) c.ejecutar(QStringLiteral("DROP INDEX IF EXISTS %1").arg(m.captured(1)));
  }
}

void CrearIndices(const datos::Conexion& c) {
  for (const QString& indice : IndicesDelEsquema()) c.ejecutar(indice);
}

std::unique_ptr<datos::Conexion> CrearFichero(const QString& nombre, const QString& ruta) {
  QFile::remove(ruta);
  datos::OpcionesApertura crear;
  crear.crearSiFalta = true;
  return datos::Conexion::abrir(datos::FuenteDatos::interpretar(nombre, QStringLiteral("sqlite:") + ruta), crear);
}

// Cómo se elige lo que es de un año en cada tabla con fechas; las tablas que
// no están aquí son datos maestros y pasan enteras al archivo.
const std::map<QString, QString>& FiltrosDelAnio() {
  static const std::map<QString, QString> filtros = {
      {QStringLiteral("cabecera_factura"), QStringLiteral("fechaventa BETWEEN ? AND ?")},
      {QStringLiteral("cabecera_factura_anulaciones"), QStringLiteral("fechaventa BETWEEN ? AND ?")},
      {QStringLiteral("cabecera_factura_temp"), QStringLiteral("fechaventa BETWEEN ? AND ?")},
      {QStringLiteral("detalle_factura"),
       QStringLiteral("num_factura IN (SELECT numero FROM vivo.cabecera_factura WHERE fechaventa BETWEEN ? AND ?)")},
      {QStringLiteral("detalle_factura_anulaciones"), QStringLiteral("fechaanulacion BETWEEN ? AND ?")},
      {QStringLiteral("facturatiporepdom"),
       QStringLiteral("nrofactura IN (SELECT numero FROM vivo.cabecera_factura WHERE fechaventa BETWEEN ? AND ?)")},
      {QStringLiteral("pedidosdet"),
       QStringLiteral("pedido IN (SELECT cod FROM vivo.pedidos WHERE fecha BETWEEN ? AND ?)")},
      {QStringLiteral("propinas"), QStringLiteral("fecha BETWEEN ? AND ?")},
      {QStringLiteral("cierre_caja"), QStringLiteral("fecha BETWEEN ? AND ?")},
      {QStringLiteral("gastos"), QStringLiteral("fecha BETWEEN ? AND ?")},
      {QStringLiteral("retiradas"), QStringLiteral("fecha BETWEEN ? AND ?")},
      {QStringLiteral("reservas"), QStringLiteral("fecha BETWEEN ? AND ?")},
      {QStringLiteral("pedidos"), QStringLiteral("fecha BETWEEN ? AND ?")},
      {QStringLiteral("historicostock"), QStringLiteral("fecha BETWEEN ? AND ?")},
      {QStringLiteral("cocifac"), QStringLiteral("fecha BETWEEN ? AND ?")},
  };
  return filtros;
}

// El archivo de un ejercicio cerrado: la foto de los maestros y lo del año.
void EscribirArchivo(const QString& ruta, const QString& rutaVentas, int anio) {
  auto c = CrearFichero(QStringLiteral("hosteleria"), ruta);
  PrepararEscrituraRapida(*c);
  datos::CrearEsquemaVentas(*c);
  c->ejecutar(QStringLiteral("ATTACH DATABASE ? AS vivo"), {rutaVentas});
  QStringList tablas = c->baseDatos().tables(QSql::Tables);
  tablas.sort();
  const QString desde = TextoDia(QDate(anio, 1, 1));
  const QString hasta = TextoDia(QDate(anio, 12, 31));
  c->empezarTransaccion();
  try {
    for (const QString& tabla : tablas) {
      const auto filtro = FiltrosDelAnio().find(tabla.toLower());
      if (filtro == FiltrosDelAnio().end()) {
        c->ejecutar(QStringLiteral("INSERT INTO main.%1 SELECT * FROM vivo.%1").arg(tabla));
      } else {
        c->ejecutar(QStringLiteral("INSERT INTO main.%1 SELECT * FROM vivo.%1 WHERE %2").arg(tabla, filtro->second),
                    {desde, hasta});
      }
    }
    c->confirmar();
  } catch (...) {
    c->deshacer();
    throw;
  }
  c->ejecutar(QStringLiteral("DETACH DATABASE vivo"));
  c->ejecutar(QStringLiteral("ANALYZE"));
  DejarComoBaseNormal(*c, false);
}

bool EsArchivoDeCierre(const QString& nombre) {
  static const QRegularExpression patron(QStringLiteral("^hosteleria_\\d{4}\\.db$"));
  return patron.match(nombre).hasMatch();
}

void Colocar(const QString& provisional, const QString& definitivo) {
  QFile::remove(definitivo);
  if (!QFile::rename(provisional, definitivo))
    throw datos::ErrorDatos(QStringLiteral("No se puede dejar la base de datos en %1.").arg(definitivo));
}

}  // namespace

QString IdentificadorDemo() {
  return QStringLiteral("20260101");
}

void LlenarMaestros(const datos::Conexion& ventas, const OpcionesDemo& opciones) {
  const Tienda tienda(opciones);
  ventas.empezarTransaccion();
  try {
    EscribirMaestros(ventas, tienda);
    ventas.confirmar();
  } catch (...) {
    ventas.deshacer();
    throw;
  }
}

Recuento LlenarVentas(const datos::Conexion& ventas, const OpcionesDemo& opciones, const QDate& desde,
                      const QDate& hasta, const Progreso& progreso) {
  const Tienda tienda(opciones);
  ventas.empezarTransaccion();
  Recuento r;
  try {
    r = EscribirVentas(ventas, tienda, opciones, desde, hasta, progreso);
    ventas.confirmar();
  } catch (...) {
    ventas.deshacer();
    throw;
  }
  ventas.ejecutar(QStringLiteral("ANALYZE"));
  return r;
}

QString FicheroAjustesDemo(const OpcionesDemo& opciones) {
  if (!opciones.ficheroAjustes.isEmpty()) return QFileInfo(opciones.ficheroAjustes).absoluteFilePath();
  return QDir(QFileInfo(opciones.destino).absoluteFilePath()).filePath(QStringLiteral("ajustes.ini"));
}

QString EscribirAjustesDemo(const OpcionesDemo& opciones, const QString& fuenteVentas) {
  const QString fichero = FicheroAjustesDemo(opciones);
  const QDir carpetaAjustes = QFileInfo(fichero).absoluteDir();
  const QDir carpeta(QFileInfo(opciones.destino).absoluteFilePath());
  // Rutas relativas a la carpeta del fichero de ajustes: la tienda se puede
  // mover entera de sitio.
  auto relativa = [&](const QString& ruta) { return carpetaAjustes.relativeFilePath(ruta); };
  ajustes::AlmacenAjustes almacen(fichero);
  almacen.fijarFuente(QStringLiteral("hosteleria"), fuenteVentas.startsWith(QLatin1String("sqlite:"))
                                                        ? QStringLiteral("sqlite:") + relativa(fuenteVentas.mid(7))
                                                        : fuenteVentas);
  almacen.fijarFuente(QStringLiteral("Informes"), QStringLiteral("sqlite:") + relativa(carpeta.filePath(kInformes)));
  almacen.fijarIdentificadorEquipo(IdentificadorDemo());
  almacen.fijarCarpetaSalida(relativa(carpeta.filePath(QStringLiteral("salida"))));
  // Un bar de Cantabria: números y fechas a la española sea cual sea el
  // idioma de la máquina donde se prueba.
  almacen.fijarValor(QStringLiteral("informes/regional"), QStringLiteral("es_ES"));
  if (almacen.leerLista(QStringLiteral("Programa")).isEmpty())
    almacen.guardarLista(QStringLiteral("Programa"), QStringLiteral("RESTAURANTE|"));
  // A diferencia de un informe, la demostración no sirve si sus ajustes no
  // quedan escritos.
  if (!almacen.avisos().isEmpty()) throw ajustes::ErrorAjustes(almacen.avisos().join(QLatin1Char('\n')));
  return almacen.fichero();
}

ResultadoDemo GenerarDemo(const OpcionesDemo& pedidas, const sistema::Reloj& reloj, const Progreso& progreso) {
  auto avisar = [&](const QString& m) {
    if (progreso) progreso(m);
  };
  OpcionesDemo opciones = pedidas;
  if (!opciones.hoy.isValid()) opciones.hoy = reloj.hoy();
  const QDate hoy = opciones.hoy;
  const QDate desde = hoy.addDays(-std::max(0, opciones.dias));
  const QDate hasta = hoy.addDays(-1);

  const QDir carpeta(QFileInfo(opciones.destino).absoluteFilePath());
  const QDir archivos(carpeta.filePath(kCarpetaArchivos));
  const QString rutaVentas = carpeta.filePath(kVentas);
  const QString rutaInformes = carpeta.filePath(kInformes);

  std::vector<int> anios;
  for (int a = desde.year(); a <= hasta.year() && a < hoy.year(); ++a) anios.push_back(a);
  auto rutaArchivo = [&](int anio) { return archivos.filePath(QStringLiteral("hosteleria_%1.db").arg(anio)); };

  // Una tienda que ya existe no se pisa: ni su base en vivo ni sus archivos.
  if (!opciones.reemplazar) {
    QStringList ocupados;
    if (QFileInfo::exists(rutaVentas)) ocupados << rutaVentas;
    for (int a : anios)
      if (QFileInfo::exists(rutaArchivo(a))) ocupados << rutaArchivo(a);
    if (!ocupados.isEmpty())
      throw datos::ErrorDatos(QStringLiteral("En %1 ya hay una tienda (%2). La demostración no sobrescribe datos: "
                                             "elija otra carpeta con --destino o aparte esa tienda antes.")
                                  .arg(QDir::toNativeSeparators(carpeta.path()),
                                       QDir::toNativeSeparators(ocupados.join(QStringLiteral(", ")))));
  }

  if (!carpeta.mkpath(QStringLiteral(".")) || !carpeta.mkpath(kCarpetaArchivos))
    throw datos::ErrorDatos(
        QStringLiteral("No se puede crear la carpeta %1.").arg(QDir::toNativeSeparators(archivos.path())));

  QStringList provisionales;
  auto limpiar = [&]() {
    for (const QString& f : provisionales) QFile::remove(f);
  };
  ResultadoDemo resultado;
  try {
    {
      const QString ruta = rutaVentas + kProvisional;
      provisionales << ruta;
      auto c = CrearFichero(QStringLiteral("hosteleria"), ruta);
      PrepararEscrituraRapida(*c);
      datos::CrearEsquemaVentas(*c);
      QuitarIndices(*c);
      const Tienda tienda(opciones);
      c->empezarTransaccion();
      try {
        avisar(QStringLiteral("Datos maestros: %1 artículos, %2 empleados, %3 clientes, %4 proveedores.")
                   .arg(tienda.productos.size())
                   .arg(tienda.empleados.size())
                   .arg(tienda.clientes.size())
                   .arg(tienda.proveedores.size()));
        EscribirMaestros(*c, tienda);
        avisar(QStringLiteral("Ventas del %1 al %2:").arg(TextoFechaCorta(desde), TextoFechaCorta(hasta)));
        const Recuento r = EscribirVentas(*c, tienda, opciones, desde, hasta, progreso);
        resultado.facturas = r.facturas;
        resultado.lineas = r.lineas;
        avisar(QStringLiteral("Índices..."));
        CrearIndices(*c);
        c->confirmar();
      } catch (...) {
        c->deshacer();
        throw;
      }
      avisar(QStringLiteral("Estadísticas de la base para las consultas..."));
      c->ejecutar(QStringLiteral("ANALYZE"));
      DejarComoBaseNormal(*c, true);
    }
    for (int anio : anios) {
      avisar(QStringLiteral("Archivo del ejercicio cerrado %1.").arg(anio));
      const QString ruta = rutaArchivo(anio) + kProvisional;
      provisionales << ruta;
      EscribirArchivo(ruta, rutaVentas + kProvisional, anio);
    }
    {
      const QString ruta = rutaInformes + kProvisional;
      provisionales << ruta;
      auto c = CrearFichero(QStringLiteral("Informes"), ruta);
      datos::CrearEsquemaInformes(*c);
    }
  } catch (...) {
    limpiar();
    throw;
  }

  // Todo escrito: ahora sí, sustituir. Los archivos de otros años que
  // quedaran de la tienda anterior no casarían con la nueva.
  if (opciones.reemplazar) {
    const QStringList viejos = archivos.entryList(QDir::Files);
    for (const QString& f : viejos)
      if (EsArchivoDeCierre(f)) QFile::remove(archivos.filePath(f));
  }
  Colocar(rutaVentas + kProvisional, rutaVentas);
  for (int anio : anios) {
    Colocar(rutaArchivo(anio) + kProvisional, rutaArchivo(anio));
    resultado.archivos << rutaArchivo(anio);
  }
  Colocar(rutaInformes + kProvisional, rutaInformes);

  avisar(QStringLiteral("Ajustes del puesto."));
  resultado.ficheroAjustes = EscribirAjustesDemo(opciones, QStringLiteral("sqlite:") + rutaVentas);
  resultado.baseVentas = rutaVentas;
  resultado.baseInformes = rutaInformes;
  resultado.identificadorPuesto = IdentificadorDemo();
  return resultado;
}

}  // namespace demo
