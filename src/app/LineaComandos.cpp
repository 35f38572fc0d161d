#include "app/LineaComandos.h"

#include "builders/ExportarCsv.h"
#include "builders/InformesTicket.h"
#include "charts/SeriesGraficos.h"
#include "demo/Demo.h"
#include "demo/DemoServidor.h"
#include "labels/Etiquetas.h"
#include "labels/Letreros.h"
#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/motor/Informe.h"
#include "platform/motor/Motor.h"
#include "platform/sistema/FicheroSalida.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "registro/EjecutarInforme.h"
#include "registro/SalidaInforme.h"
#include "startup/Arranque.h"
#include "startup/Prohibiciones.h"

#include <QBuffer>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace app {

namespace {

constexpr qsizetype kAncho = 90;            // columnas de la ayuda
constexpr qsizetype kColumnaMaxima = 30;    // donde empiezan, como mucho, las explicaciones
constexpr int kEmpleadoMaximo = 32767;      // los códigos de empleado caben en 16 bits
constexpr int kNumVentasMaximo = 32767;     // el umbral del diálogo también
constexpr qint64 kDiasDemoMaximos = 20000;  // unos cincuenta años

bool Escribir(QIODevice& destino, const QString& texto) {
  const QByteArray bytes = texto.toLocal8Bit();
  return destino.write(bytes) == bytes.size();
}

// Lo que la orden dice en la salida estándar; un fallo se apunta para acabar
// con error en vez de dar por bueno lo que nadie recibió.
void Decir(Consola& consola, const QString& texto) {
  if (!Escribir(consola.salida, texto)) consola.salidaFallida = true;
}

// «-h» o «--ayuda», como se escribe la opción.
QString ConGuiones(const QString& nombre) {
  return (nombre.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + nombre;
}

// Junta `piezas` con espacios en renglones de hasta kAncho columnas. El primer
// renglón sigue a lo que ya ocupa `columna` columnas; los demás empiezan con
// `sangria` espacios.
QString Envolver(const QStringList& piezas, qsizetype columna, qsizetype sangria) {
  QString r;
  qsizetype ocupadas = columna;
  bool alPrincipio = true;
  for (const QString& pieza : piezas) {
    if (!alPrincipio && ocupadas + 1 + pieza.size() > kAncho) {
      r += QLatin1Char('\n') + QString(sangria, QLatin1Char(' '));
      ocupadas = sangria;
      alPrincipio = true;
    }
    if (!alPrincipio) {
      r += QLatin1Char(' ');
      ++ocupadas;
    }
    r += pieza;
    ocupadas += pieza.size();
    alPrincipio = false;
  }
  return r;
}

QString Envolver(const QString& texto, qsizetype columna, qsizetype sangria) {
  return Envolver(texto.split(QLatin1Char(' '), Qt::SkipEmptyParts), columna, sangria);
}

// Su primer nombre con sus guiones, para los mensajes.
QString Nombre(const QCommandLineOption& o) {
  return ConGuiones(o.names().constFirst());
}

// «-h, --help» o «--desde FECHA».
QString NombresDe(const QCommandLineOption& o) {
  QStringList nombres;
  for (const QString& n : o.names()) nombres << ConGuiones(n);
  QString r = nombres.join(QStringLiteral(", "));
  if (!o.valueName().isEmpty()) r += QLatin1Char(' ') + o.valueName();
  return r;
}

// Una opción por renglón: sus nombres y, en una segunda columna común a
// todas, su explicación con el valor por defecto.
QString ListaDeOpciones(const QList<QCommandLineOption>& opciones, qsizetype columna) {
  QString r;
  for (const QCommandLineOption& o : opciones) {
    QString explicacion = o.description();
    if (!o.defaultValues().isEmpty())
      explicacion += QStringLiteral(" (por defecto %1)").arg(o.defaultValues().join(QStringLiteral(", ")));
    const QString nombres = QStringLiteral("  ") + NombresDe(o);
    if (nombres.size() + 2 > columna)
      r += nombres + QLatin1Char('\n') + QString(columna, QLatin1Char(' '));
    else
      r += nombres.leftJustified(columna);
    r += Envolver(explicacion, columna, columna) + QLatin1Char('\n');
  }
  return r;
}

qsizetype ColumnaDeExplicaciones(const QList<QCommandLineOption>& opciones) {
  qsizetype columna = 0;
  for (const QCommandLineOption& o : opciones) columna = std::max(columna, 2 + NombresDe(o).size() + 2);
  return std::min(columna, kColumnaMaxima);
}

// Las opciones que valen con cualquier orden y sin ella.
struct Generales {
  QCommandLineOption ficheroAjustes{QStringLiteral("ajustes"), QStringLiteral("fichero de ajustes de la suite"),
                                    QStringLiteral("FICHERO"), ajustes::AlmacenAjustes::ficheroPorDefecto()};
  QCommandLineOption ayuda{{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("ayuda")},
                           QStringLiteral("esta ayuda; «cronicas ORDEN --help» explica cada orden")};
  QCommandLineOption version{QStringLiteral("version"), QStringLiteral("versión del programa")};

  QList<QCommandLineOption> todas() const { return {ficheroAjustes, ayuda, version}; }
};

// «-ajustes» vale lo mismo que «--ajustes»: leído como las opciones de una
// letra -a -j -u..., un guion de menos daría un error que nadie entiende.
void Preparar(QCommandLineParser& lector, const QList<QCommandLineOption>& opciones) {
  lector.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  lector.addOptions(opciones);
}

// QCommandLineParser toma el primer argumento por el nombre del programa.
QStringList ConPrograma(const QStringList& argumentos) {
  return QStringList{QStringLiteral("cronicas")} + argumentos;
}

// QCommandLineParser explica en inglés lo que no entiende. Aquí se dice en
// español; sólo puede ser una opción que no existe, una opción al final sin
// su valor, o un valor pegado con «=» a una opción que no lleva.
QString ErrorDeLectura(const QCommandLineParser& lector, const QStringList& argumentos,
                       const QList<QCommandLineOption>& opciones) {
  if (!lector.unknownOptionNames().isEmpty())
    return QStringLiteral("Opción desconocida: %1.").arg(ConGuiones(lector.unknownOptionNames().constFirst()));
  auto buscar = [&](const QString& nombre) -> const QCommandLineOption* {
    for (const QCommandLineOption& o : opciones)
      if (o.names().contains(nombre)) return &o;
    return nullptr;
  };
  for (qsizetype i = 0; i < argumentos.size(); ++i) {
    const QString& a = argumentos.at(i);
    if (a == QLatin1String("--")) break;
    if (!a.startsWith(QLatin1Char('-')) || a.size() == 1) continue;
    const qsizetype igual = a.indexOf(QLatin1Char('='));
    const QString nombre = a.left(igual).mid(a.startsWith(QLatin1String("--")) ? 2 : 1);
    const QCommandLineOption* o = buscar(nombre);
    if (!o) continue;
    if (o->valueName().isEmpty()) {
      if (igual >= 0) return QStringLiteral("%1 no lleva valor (se dio «%2»).").arg(ConGuiones(nombre), a);
    } else if (igual < 0) {
      if (i + 1 == argumentos.size())
        return QStringLiteral("Falta el valor de %1 (%2).").arg(ConGuiones(nombre), o->valueName());
      ++i;  // su valor, aunque empiece por guion
    }
  }
  return QStringLiteral("No se entienden los argumentos: %1.").arg(argumentos.join(QLatin1Char(' ')));
}

class Peticion;

// AAAA-MM-DD con sus cuatro cifras de año, sin signo.
const QRegularExpression& Iso() {
  static const QRegularExpression iso(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
  return iso;
}

// Una orden: su función y lo que la ayuda dice de ella. Las opciones las
// declara la propia función (Peticion::opcion).
struct Orden {
  const char* nombre;
  const char* argumentos;   // lo que va tras el nombre en la línea de uso
  const char* resumen;      // su renglón en la ayuda general
  const char* explicacion;  // la ayuda de la orden antes de las opciones
  const char* notas;        // y después
  int (*ejecutar)(Peticion&);
};

// Lo que una orden recibe: los argumentos, la consola y el reloj. La orden
// declara sus opciones, las lee con leer() y usa lo leído.
class Peticion {
 public:
  Peticion(const Orden& orden, const QStringList& argumentos, Consola& consola)
      : orden_(orden), argumentos_(argumentos), consola_(consola), notificador_(consola.errores) {}

  // Declara una opción de la orden: con `valor` ("FECHA") lleva valor, si no
  // es un interruptor. La ayuda sale de estas declaraciones.
  QCommandLineOption opcion(const QString& nombre, const QString& explicacion, const QString& valor = {},
                            const QString& porDefecto = {}) {
    QCommandLineOption o(nombre, explicacion, valor, porDefecto);
    opciones_ << o;
    return o;
  }

  // Lee los argumentos. Devuelve el código con que terminar si no hay que
  // seguir: la ayuda o la versión pedidas, o un argumento que no se entiende.
  std::optional<int> leer() {
    Preparar(lector_, opciones_ + generales_.todas());
    const bool bien = lector_.parse(ConPrograma(argumentos_));
    if (lector_.isSet(generales_.ayuda)) {
      decir(ayuda());
      return kSalidaBien;
    }
    if (lector_.isSet(generales_.version)) {
      decir(Version());
      return kSalidaBien;
    }
    if (!bien) return malUsada(ErrorDeLectura(lector_, argumentos_, opciones_ + generales_.todas()));
    posicionales_ = lector_.positionalArguments().mid(1);  // la primera es la orden
    return std::nullopt;
  }

  bool hay(const QCommandLineOption& o) const { return lector_.isSet(o); }
  QString valor(const QCommandLineOption& o) const { return lector_.value(o); }
  // Todos los valores de una opción que se puede repetir, en orden.
  QStringList valores(const QCommandLineOption& o) const { return lector_.values(o); }
  const QStringList& posicionales() const { return posicionales_; }
  QString ficheroAjustes() const { return lector_.value(generales_.ficheroAjustes); }
  const sistema::Reloj& reloj() const { return consola_.reloj; }
  QIODevice& salida() { return consola_.salida; }
  const PintorGrafico& pintor() const { return consola_.pintarGrafico; }
  sistema::Notificador& notificador() { return notificador_; }

  void decir(const QString& texto) { Decir(consola_, texto); }
  void avisar(const QString& texto) { Escribir(consola_.errores, texto); }

  // Un argumento que no vale por sí mismo: el porqué basta.
  int mal(const QString& porque) {
    avisar(porque + QLatin1Char('\n'));
    return kSalidaUso;
  }
  // Un argumento que no encaja en la orden: el porqué y la ayuda de la orden.
  int malUsada(const QString& porque) {
    avisar(porque + QStringLiteral("\n\n") + ayuda());
    return kSalidaUso;
  }

  // Un entero entre `minimo` y `maximo` en `destino`, si se dio la opción.
  // Falso, dicho el porqué, si no es un entero o se sale.
  template <typename Entero>
  bool entero(const QCommandLineOption& o, qint64 minimo, qint64 maximo, Entero& destino) {
    if (!hay(o)) return true;
    const QString texto = valor(o).trimmed();
    bool ok = false;
    const qint64 v = texto.toLongLong(&ok);
    // Sólo cifras, pero más de las que caben en un número: no es que no sea
    // un número, es que se pasa.
    static const QRegularExpression cifras(QStringLiteral("^\\+?[0-9]+$"));
    if ((ok && v > maximo) || (!ok && cifras.match(texto).hasMatch())) {
      mal(QStringLiteral("%1 es demasiado grande: como mucho %2 (se dio «%3»).")
              .arg(Nombre(o))
              .arg(maximo)
              .arg(valor(o)));
      return false;
    }
    if (!ok || v < minimo) {
      mal(QStringLiteral("%1 necesita un número entero entre %2 y %3 (se dio «%4»).")
              .arg(Nombre(o))
              .arg(minimo)
              .arg(maximo)
              .arg(valor(o)));
      return false;
    }
    destino = static_cast<Entero>(v);
    return true;
  }

  // AAAA-MM-DD, «hoy» o «ayer» según el reloj, en `dia`: el valor dado o el
  // de por defecto. Falso, dicho el porqué, si no es ninguna de esas.
  bool fecha(const QCommandLineOption& o, QDate& dia) {
    const QString texto = valor(o).trimmed();
    if (texto.isEmpty() && !hay(o)) return true;
    if (texto.compare(QLatin1String("hoy"), Qt::CaseInsensitive) == 0)
      dia = reloj().hoy();
    else if (texto.compare(QLatin1String("ayer"), Qt::CaseInsensitive) == 0)
      dia = reloj().hoy().addDays(-1);
    else if (Iso().match(texto).hasMatch())
      dia = QDate::fromString(texto, QStringLiteral("yyyy-MM-dd"));
    else
      dia = QDate();  // "-2026-01-01" o "+2026-01-01": Qt los leería como años antes de Cristo
    if (dia.isValid()) return true;
    mal(QStringLiteral("%1 necesita una fecha AAAA-MM-DD, «hoy» o «ayer» (se dio «%2»).").arg(Nombre(o), valor(o)));
    return false;
  }

  // Las rutas de los ficheros de salida pedidos: ninguna vacía y ninguna dos
  // veces, o la segunda salida pisaría a la primera y se diría «guardado»
  // de las dos. Falso, dicho el porqué, si no.
  bool rutasDeSalida(const QList<QCommandLineOption>& salidas) {
    QHash<QString, QString> vistas;  // ruta absoluta -> opción que la pidió
    for (const QCommandLineOption& o : salidas) {
      if (!hay(o)) continue;
      const QString ruta = valor(o);
      if (ruta.trimmed().isEmpty()) {
        mal(QStringLiteral("%1 necesita la ruta de un fichero (se dio una vacía).").arg(Nombre(o)));
        return false;
      }
      const QFileInfo info(ruta);
      // Un enlace y su destino son el mismo fichero.
      const QString canonica = info.canonicalFilePath();
      const QString clave = canonica.isEmpty() ? info.absoluteFilePath() : canonica;
      if (vistas.contains(clave)) {
        mal(QStringLiteral("%1 y %2 piden el mismo fichero, %3: cada salida necesita el suyo.")
                .arg(vistas.value(clave), Nombre(o), QDir::toNativeSeparators(info.absoluteFilePath())));
        return false;
      }
      vistas.insert(clave, Nombre(o));
    }
    return true;
  }

  QString ayuda() const {
    QString r;
    const QString uso = QStringLiteral("Uso: cronicas %1").arg(QLatin1String(orden_.nombre));
    QStringList piezas;
    if (*orden_.argumentos) piezas << QString::fromUtf8(orden_.argumentos);
    for (const QCommandLineOption& o : opciones_) piezas << QStringLiteral("[%1]").arg(NombresDe(o));
    r += uso + QLatin1Char(' ') + Envolver(piezas, uso.size() + 1, uso.size() + 1) + QStringLiteral("\n\n");
    if (*orden_.explicacion) r += QString::fromUtf8(orden_.explicacion) + QLatin1Char('\n');
    const qsizetype columna = ColumnaDeExplicaciones(opciones_ + generales_.todas());
    if (!opciones_.isEmpty())
      r += QStringLiteral("Opciones:\n") + ListaDeOpciones(opciones_, columna) + QLatin1Char('\n');
    r += QStringLiteral("Opciones generales:\n") + ListaDeOpciones(generales_.todas(), columna);
    if (*orden_.notas) r += QLatin1Char('\n') + QString::fromUtf8(orden_.notas);
    return r;
  }

  static QString Version() { return QStringLiteral("cronicas %1\n").arg(QCoreApplication::applicationVersion()); }

 private:
  const Orden& orden_;
  const QStringList argumentos_;
  Consola& consola_;
  sistema::NotificadorConsola notificador_;
  const Generales generales_;
  QList<QCommandLineOption> opciones_;
  QCommandLineParser lector_;
  QStringList posicionales_;
};

// --- cronicas demo ------------------------------------------------------------------

const char* kExplicacionDemo =
    "Crea una tienda de demostración: un bar-restaurante con sus productos, familias,\n"
    "empleados, clientes, proveedores, mesas y formas de pago, y las ventas de los\n"
    "últimos días hasta ayer. Los ejercicios anteriores quedan además en sus archivos\n"
    "de cierre anual. Escribe en la carpeta hosteleria.db, informes.db,\n"
    "fotos/cierresAnuales/ y el fichero de ajustes; sin --destino, junto al fichero de\n"
    "ajustes que usa el programa, para que «cronicas informe» la encuentre sin más.\n"
    "Con --postgresql la tienda va a un servidor: la base en vivo (hosteleria, o la que\n"
    "diga la dirección) y cada ejercicio cerrado en hosteleria_AAAA; en la carpeta quedan\n"
    "los ajustes, que apuntan al servidor, y la base de informes del puesto.\n";

int OrdenDemo(Peticion& p) {
  demo::OpcionesDemo opciones;
  const auto destino = p.opcion(QStringLiteral("destino"),
                                QStringLiteral("carpeta de la tienda (por defecto, la del fichero de ajustes)"),
                                QStringLiteral("CARPETA"));
  const auto postgresql = p.opcion(
      QStringLiteral("postgresql"),
      QStringLiteral("cargar la tienda en un servidor: postgresql://usuario@servidor:puerto"), QStringLiteral("URL"));
  const auto dias = p.opcion(QStringLiteral("dias"), QStringLiteral("días de ventas hasta ayer"), QStringLiteral("N"),
                             QString::number(opciones.dias));
  const auto ventasDia = p.opcion(QStringLiteral("ventas-dia"), QStringLiteral("ventas de un día normal"),
                                  QStringLiteral("N"), QString::number(opciones.ventasDia));
  const auto semilla =
      p.opcion(QStringLiteral("semilla"), QStringLiteral("semilla del azar: la misma semilla da la misma tienda"),
               QStringLiteral("N"), QString::number(opciones.semilla));
  const auto hoy = p.opcion(QStringLiteral("hoy"), QStringLiteral("el día que se toma por hoy: AAAA-MM-DD"),
                            QStringLiteral("FECHA"), QStringLiteral("hoy"));
  const auto productos =
      p.opcion(QStringLiteral("productos"),
               QStringLiteral("completar la carta con artículos generados hasta N (para medir)"), QStringLiteral("N"));
  const auto reemplazar =
      p.opcion(QStringLiteral("reemplazar"),
               QStringLiteral("sustituir la tienda que ya esté en la carpeta o en el servidor (sin esto no se toca)"));
  if (const auto fin = p.leer()) return *fin;
  if (!p.posicionales().isEmpty())
    return p.malUsada(QStringLiteral("Argumento de más: %1.").arg(p.posicionales().join(QLatin1Char(' '))));
  if (!p.entero(dias, 1, kDiasDemoMaximos, opciones.dias) || !p.entero(ventasDia, 1, 100000, opciones.ventasDia) ||
      !p.entero(semilla, 0, std::numeric_limits<qint64>::max(), opciones.semilla) ||
      !p.entero(productos, 0, 1000000, opciones.productos) || !p.fecha(hoy, opciones.hoy))
    return kSalidaUso;
  opciones.reemplazar = p.hay(reemplazar);
  if (p.hay(destino)) {
    opciones.destino = p.valor(destino);
  } else {
    // Junto a los ajustes del programa: «cronicas demo» y después
    // «cronicas informe ...» sin nada más.
    opciones.destino = QFileInfo(p.ficheroAjustes()).absolutePath();
    opciones.ficheroAjustes = p.ficheroAjustes();
    // Esos ajustes son de toda la suite: si ya llevan a la base de una tienda
    // que no es la de la demostración, cambiarlos llevaría a la caja y a los
    // demás programas a los datos de prueba.
    const ajustes::AlmacenAjustes almacen(p.ficheroAjustes());
    if (!almacen.valor(QStringLiteral("fuentes/hosteleria")).isEmpty()) {
      const datos::FuenteDatos ventas = almacen.fuente(QStringLiteral("hosteleria"));
      const QString propia = QDir(opciones.destino).filePath(QStringLiteral("hosteleria.db"));
      const bool esLaPropia = ventas.motor == datos::Motor::SQLite &&
                              QFileInfo(ventas.ruta).absoluteFilePath() == QFileInfo(propia).absoluteFilePath();
      if (!arranque::FaltaBaseVentas(almacen) && !esLaPropia) {
        p.avisar(QStringLiteral("Los ajustes %1 ya llevan a la base de ventas de una tienda (%2): la demostración no "
                                "los cambia. Créela en otra carpeta con --destino CARPETA.\n")
                     .arg(QDir::toNativeSeparators(p.ficheroAjustes()),
                          ventas.motor == datos::Motor::SQLite ? QDir::toNativeSeparators(ventas.ruta)
                                                               : ventas.servidor + QLatin1Char('/') + ventas.base));
        return kSalidaError;
      }
    }
  }

  try {
    const auto progreso = [&p](const QString& m) { p.decir(m + QLatin1Char('\n')); };
    const demo::ResultadoDemo r = p.hay(postgresql)
                                      ? demo::GenerarDemoEnServidor(opciones, p.valor(postgresql), p.reloj(), progreso)
                                      : demo::GenerarDemo(opciones, p.reloj(), progreso);
    p.decir(QStringLiteral("Tienda de demostración creada en %1: %2 ventas, %3 líneas.\n"
                           "Ajustes: %4\n"
                           "Pruebe: cronicas --ajustes %4 informe cmdProductos --csv productos.csv\n")
                .arg(p.hay(postgresql) ? r.baseVentas
                                       : QDir::toNativeSeparators(QFileInfo(opciones.destino).absoluteFilePath()))
                .arg(r.facturas)
                .arg(r.lineas)
                .arg(QDir::toNativeSeparators(r.ficheroAjustes)));
  } catch (const sistema::Error& e) {
    p.avisar(QStringLiteral("No se pudo crear la tienda de demostración: %1\n").arg(e.mensaje()));
    return kSalidaError;
  }
  return kSalidaBien;
}

// --- cronicas informe ---------------------------------------------------------------

const char* kExplicacionInforme =
    "Ejecuta sin ventana el informe del botón BOTON de la ventana principal\n"
    "(por ejemplo cmdProductos): el informe con su plantilla en PDF o en hoja de\n"
    "cálculo, o las filas que deja en Informes en CSV. Se pueden pedir varias salidas\n"
    "a la vez.\n";

const char* kNotasInforme =
    "Los resúmenes diarios (cmdCierreResumido, cmdRepDominicana) se exportan además a\n"
    "resumen.xlsx en la carpeta de salida de los ajustes y, con conexión, se envían por\n"
    "correo como lo hace su botón; sin otra salida pedida no escriben CSV. Así, una tarea\n"
    "programada con «cronicas informe cmdCierreResumido --desde ayer --hasta ayer» manda\n"
    "cada mañana el resumen del día anterior.\n"
    "\n"
    "El ticket detallado (cmd_Ticket) no tiene plantilla: --texto escribe su texto tal\n"
    "como lo enseña su visor, con los caracteres por línea de la impresora de tickets del\n"
    "puesto (tabla impresoras) o los de --ancho. Los demás informes en formato ticket\n"
    "salen en PDF como un rollo de ese mismo ancho.\n"
    "\n"
    "El empleado del puesto (opciones_terminal) no saca los informes que tiene prohibidos\n"
    "en la ventana. Con permisos/linea_de_ordenes=todos en el fichero de ajustes, una\n"
    "tarea programada del administrador los saca todos.\n"
    "\n"
    "Códigos de salida: 0 bien, 1 argumentos mal escritos, 2 error de ajustes, de base\n"
    "de datos, de plantilla o al escribir un fichero, 3 el informe no encontró datos,\n"
    "4 el informe no se hace desde un puesto con la base de ventas en otra máquina,\n"
    "5 el empleado del puesto no tiene permiso para ese informe, 6 el informe salió pero\n"
    "el correo no se pudo enviar (o la hoja para mandarlo no se pudo escribir).\n";

// Las tareas programadas del administrador pueden saltarse los permisos del
// empleado del puesto.
bool PermisosIgnorados(const ajustes::AlmacenAjustes& almacen) {
  return almacen.valor(QStringLiteral("permisos/linea_de_ordenes"))
             .trimmed()
             .compare(QLatin1String("todos"), Qt::CaseInsensitive) == 0;
}

// Lo que en la ventana preguntan los diálogos de formato de zonas y de
// agrupación. Cada opción sólo vale para el botón que tiene ese diálogo.
bool ElegirAgrupacion(Peticion& p, const registro::BotonInforme& boton, const QCommandLineOption& formato,
                      const QCommandLineOption& porZonas, const QCommandLineOption& porEmpleados,
                      SeleccionInforme& seleccion) {
  const bool conFormato = boton.dialogo == registro::Dialogo::FechasYFormatoZonas;
  const bool conAgrupacion = boton.dialogo == registro::Dialogo::FechasYAgrupacion;
  if (p.hay(formato) && !conFormato) {
    p.mal(QStringLiteral("%1 no lleva --formato-zonas.").arg(boton.boton));
    return false;
  }
  for (const QCommandLineOption* o : {&porZonas, &porEmpleados})
    if (p.hay(*o) && !conAgrupacion) {
      p.mal(QStringLiteral("%1 no lleva --%2.").arg(boton.boton, o->names().constFirst()));
      return false;
    }
  if (p.hay(porZonas) && p.hay(porEmpleados)) {
    p.mal(QStringLiteral("--por-zonas y --por-empleados no van juntas: se agrupa de una manera."));
    return false;
  }
  if (conFormato) {
    seleccion.FormatoZonas = 1;
    if (p.hay(formato) && !p.entero(formato, 1, 2, seleccion.FormatoZonas)) return false;
  }
  seleccion.PorZonas = p.hay(porZonas);
  seleccion.PorEmpleados = p.hay(porEmpleados);
  return true;
}

// Lo que en la ventana se elige en el formulario de stock por proveedor.
// Sólo vale para ese botón.
bool ElegirProveedorYTipo(Peticion& p, const registro::BotonInforme& boton, const QCommandLineOption& proveedor,
                          const QCommandLineOption& tipo, SeleccionInforme& seleccion) {
  const bool conProveedor = boton.boton == QLatin1String("cmdStockXProveedores");
  for (const QCommandLineOption* o : {&proveedor, &tipo})
    if (p.hay(*o) && !conProveedor) {
      p.mal(QStringLiteral("%1 no lleva --%2: sólo la valoración por proveedores (cmdStockXProveedores).")
                .arg(boton.boton, o->names().constFirst()));
      return false;
    }
  if (p.hay(proveedor)) {
    const QString codigo = p.valor(proveedor).trimmed();
    if (codigo.isEmpty()) {
      p.mal(QStringLiteral("--proveedor necesita el código de un proveedor o «todos»."));
      return false;
    }
    seleccion.ProveedorElegido =
        codigo.compare(QLatin1String("todos"), Qt::CaseInsensitive) == 0 ? QStringLiteral("-1") : codigo;
  }
  return p.entero(tipo, 0, 3, seleccion.TipoProducto);
}

// Los ajustes de la suite, con sus avisos por el notificador: un fichero de
// ajustes que no se deja escribir no impide sacar nada.
ajustes::AlmacenAjustes AbrirAjustes(Peticion& p) {
  sistema::Notificador& notificador = p.notificador();
  return ajustes::AlmacenAjustes(p.ficheroAjustes(), [&notificador](const QString& aviso) {
    notificador.mensaje(aviso, QStringLiteral("Aviso"), sistema::Icono::Exclamacion);
  });
}

// El puesto arrancado como para la ventana, sin buscar actualizaciones.
// Falso, y dicho, si los ajustes no tienen base de ventas.
bool ArrancarPuesto(Peticion& p, ajustes::AlmacenAjustes& almacen, AjustesTerminal& at) {
  if (const auto falta = arranque::FaltaBaseVentas(almacen)) {
    p.notificador().mensaje(*falta, QStringLiteral("Cronicas"), sistema::Icono::Critico);
    return false;
  }
  arranque::Entorno entorno;
  entorno.reloj = &p.reloj();
  entorno.carpetaPrograma = QCoreApplication::applicationDirPath();
  entorno.buscarActualizaciones = false;
  entorno.avisar = [&p](const QString& aviso) { p.avisar(QStringLiteral("Aviso: %1\n").arg(aviso)); };
  arranque::Arrancar(at, almacen, entorno);
  return true;
}

int OrdenInforme(Peticion& p) {
  const auto lista = p.opcion(QStringLiteral("lista"), QStringLiteral("lista los botones disponibles con su texto"));
  const auto desde =
      p.opcion(QStringLiteral("desde"),
               QStringLiteral("primer día del informe (informes con fechas): AAAA-MM-DD, «hoy» o «ayer»"),
               QStringLiteral("FECHA"), QStringLiteral("hoy"));
  const auto hasta = p.opcion(QStringLiteral("hasta"), QStringLiteral("último día del informe, igual que --desde"),
                              QStringLiteral("FECHA"), QStringLiteral("hoy"));
  const auto empleado =
      p.opcion(QStringLiteral("empleado"), QStringLiteral("código del empleado (cmdCierreCaja, que lo necesita)"),
               QStringLiteral("N"));
  const auto completo =
      p.opcion(QStringLiteral("completo"),
               QStringLiteral("incluye las ventas anuladas (cmdResumenVentasXEmpleado, con el módulo de facturas)"));
  const auto formatoZonas = p.opcion(
      QStringLiteral("formato-zonas"),
      QStringLiteral("cmdVentasXZonas: 1 general (por defecto), 2 totalizado por productos"), QStringLiteral("N"));
  const auto porZonas =
      p.opcion(QStringLiteral("por-zonas"), QStringLiteral("cmdVentasXFamilias: cada línea con su zona de venta"));
  const auto porEmpleados =
      p.opcion(QStringLiteral("por-empleados"), QStringLiteral("cmdVentasXFamilias: cada línea con su empleado"));
  const auto numVentas = p.opcion(
      QStringLiteral("num-ventas"),
      QStringLiteral("cmdProdSinVentas: lista los productos que vendieron menos de N unidades (por defecto 1)"),
      QStringLiteral("N"));
  const auto proveedor = p.opcion(QStringLiteral("proveedor"),
                                  QStringLiteral("cmdStockXProveedores: código del proveedor, o «todos» (por defecto)"),
                                  QStringLiteral("C"));
  const auto tipo = p.opcion(QStringLiteral("tipo"),
                             QStringLiteral("cmdStockXProveedores: 0 de venta, 1 de cocina, 2 ambos, 3 todos los "
                                            "productos (por defecto)"),
                             QStringLiteral("N"));
  const auto pdf =
      p.opcion(QStringLiteral("pdf"), QStringLiteral("escribe el informe en PDF"), QStringLiteral("FICHERO"));
  const auto xlsx =
      p.opcion(QStringLiteral("xlsx"), QStringLiteral("escribe el informe en una hoja de cálculo (.xlsx)"),
               QStringLiteral("FICHERO"));
  const auto csv = p.opcion(
      QStringLiteral("csv"),
      QStringLiteral("escribe las filas de Informes en CSV; sin ninguna salida pedida, el CSV va a la salida estándar"),
      QStringLiteral("FICHERO"));
  const auto texto = p.opcion(
      QStringLiteral("texto"),
      QStringLiteral("escribe el texto del ticket detallado (cmd_Ticket) tal como se ve en su visor, renglones CR LF"),
      QStringLiteral("FICHERO"));
  const auto ancho = p.opcion(QStringLiteral("ancho"),
                              QStringLiteral("caracteres por línea de la impresora de tickets (informes en formato "
                                             "ticket), en vez de los de la tabla impresoras"),
                              QStringLiteral("N"));
  if (const auto fin = p.leer()) return *fin;
  if (!p.rutasDeSalida({pdf, xlsx, csv, texto})) return kSalidaUso;

  if (p.hay(lista)) {
    for (const auto& b : registro::Botones())
      if (b.sinVentana()) p.decir(QStringLiteral("%1\t%2\n").arg(b.boton, -26).arg(b.titulo));
    return kSalidaBien;
  }
  if (p.posicionales().size() != 1)
    return p.malUsada(p.posicionales().isEmpty()
                          ? QStringLiteral("Falta el botón del informe.")
                          : QStringLiteral("Sobra: %1.").arg(p.posicionales().mid(1).join(QLatin1Char(' '))));
  const QString nombreBoton = p.posicionales().constFirst();
  const registro::BotonInforme* boton = registro::BuscarBoton(nombreBoton);
  if (!boton)
    return p.mal(
        QStringLiteral("No hay ningún informe «%1». «cronicas informe --lista» muestra los que hay.").arg(nombreBoton));
  if (!boton->esInforme() && !boton->constructor)
    return p.mal(QStringLiteral("«%1» (%2) no es un informe.").arg(boton->titulo.trimmed(), boton->boton));
  if (!boton->disponible())
    return p.mal(QStringLiteral("El informe «%1» (%2) todavía no está hecho: %3")
                     .arg(boton->titulo.trimmed(), boton->boton, registro::kAvisoProximaVersion));

  SeleccionInforme seleccion;
  const bool conEmpleado = boton->dialogo == registro::Dialogo::EmpleadoYFechas;
  if (p.hay(empleado) != conEmpleado)
    return p.mal(conEmpleado ? QStringLiteral("%1 necesita el empleado: --empleado N.").arg(boton->boton)
                             : QStringLiteral("%1 no lleva --empleado.").arg(boton->boton));
  if (!p.entero(empleado, 0, kEmpleadoMaximo, seleccion.EmpleadoElegido)) return kSalidaUso;
  if (p.hay(completo) && !boton->completoConModuloFactura)
    return p.mal(QStringLiteral("%1 no lleva --completo.").arg(boton->boton));
  if (!ElegirAgrupacion(p, *boton, formatoZonas, porZonas, porEmpleados, seleccion)) return kSalidaUso;
  if (!ElegirProveedorYTipo(p, *boton, proveedor, tipo, seleccion)) return kSalidaUso;
  // Como el diálogo: el umbral empieza en 1 y sólo lo lleva ese informe.
  const bool conNumVentas = boton->dialogo == registro::Dialogo::FechasYNumVentas;
  if (p.hay(numVentas) && !conNumVentas) return p.mal(QStringLiteral("%1 no lleva --num-ventas.").arg(boton->boton));
  if (conNumVentas) seleccion.NumVentas = 1;
  if (!p.entero(numVentas, 1, kNumVentasMaximo, seleccion.NumVentas)) return kSalidaUso;
  if (boton->dialogo == registro::Dialogo::Ninguno && (p.hay(desde) || p.hay(hasta)))
    return p.mal(QStringLiteral("%1 es un listado sin fechas: sobran --desde y --hasta.").arg(boton->boton));
  if (!p.fecha(desde, seleccion.FechaDesde) || !p.fecha(hasta, seleccion.FechaHasta)) return kSalidaUso;
  const bool textoTicket = boton->entrega == registro::Entrega::TextoTicket;
  if (p.hay(texto) && !textoTicket)
    return p.mal(
        QStringLiteral("%1 no lleva --texto: sólo el ticket detallado (cmd_Ticket) es texto.").arg(boton->boton));
  if (textoTicket && (p.hay(pdf) || p.hay(xlsx)))
    return p.mal(QStringLiteral("%1 no tiene plantilla: su salida es --texto (o --csv).").arg(boton->boton));
  if (p.hay(ancho) && boton->impresora != registro::ImpresoraDestino::Ticket)
    return p.mal(QStringLiteral("%1 no sale por la impresora de tickets: sobra --ancho.").arg(boton->boton));
  int caracteres = 0;
  if (!p.entero(ancho, 16, 200, caracteres)) return kSalidaUso;
  if (seleccion.FechaDesde > seleccion.FechaHasta)
    return p.mal(QStringLiteral("--desde no puede ser posterior a --hasta."));

  sistema::Notificador& notificador = p.notificador();
  QString fallo;  // lo que no dejó terminar: ajustes, base, plantilla o fichero
  bool correoFallido = false;
  try {
    ajustes::AlmacenAjustes almacen = AbrirAjustes(p);
    AjustesTerminal at;
    if (!ArrancarPuesto(p, almacen, at)) return kSalidaError;

    // Lo que el empleado del puesto no puede pulsar en la ventana tampoco lo
    // saca por aquí, salvo que los ajustes lo permitan a las tareas del
    // administrador.
    if (!PermisosIgnorados(almacen) &&
        permisos::BotonProhibido(*at.ConexionVentas, at.EmpleadoTerminal, boton->boton)) {
      const QString nombre = permisos::NombreEmpleado(*at.ConexionVentas, at.EmpleadoTerminal);
      notificador.mensaje(
          QStringLiteral("El empleado %1%2 de este puesto no tiene permiso para «%3» (%4). Para que una tarea "
                         "programada saque todos los informes, ponga permisos/linea_de_ordenes=todos en %5.")
              .arg(at.EmpleadoTerminal)
              .arg(nombre.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(nombre), boton->titulo.trimmed(),
                   boton->boton, QDir::toNativeSeparators(almacen.fichero())),
          QStringLiteral("Cronicas"), sistema::Icono::Critico);
      return kSalidaSinPermiso;
    }

    // La casilla «Completo» sólo aparece con el módulo de facturas.
    if (p.hay(completo)) {
      seleccion.Completo = arranque::ModuloFactura(at);
      if (!seleccion.Completo)
        p.avisar(QStringLiteral("Este puesto no tiene el módulo de facturas: se hace sin «Completo».\n"));
    }

    informes::Contexto ctx{at, seleccion, notificador, p.reloj()};
    const registro::Ejecucion e = registro::EjecutarBoton(*boton, ctx);
    if (e.resultado == registro::Resultado::Rechazado) return kSalidaRechazado;
    if (e.resultado == registro::Resultado::Error) return kSalidaError;
    if (e.resultado == registro::Resultado::SinDatos) return kSalidaSinDatos;
    registro::OpcionesSalida opciones{almacen.carpetaPlantillas(), almacen.valor(QStringLiteral("informes/regional"))};
    if (boton->impresora == registro::ImpresoraDestino::Ticket)
      opciones.caracteresTicket =
          caracteres > 0 ? caracteres : informes::NumCaracteresImpresora(*at.ConexionVentas, at.ImpresoraTicket);
    const bool exportaYEnvia = boton->entrega == registro::Entrega::ExportarEnviarImprimir;
    if (exportaYEnvia) {
      const QString fichero = QDir(almacen.carpetaSalida()).filePath(registro::kFicheroExportacion);
      const registro::Envio envio =
          registro::ExportarYEnviar(*at.ConexionInformes, boton->plantillaPara(seleccion), opciones, fichero, at,
                                    registro::LeerConfiguracionCorreo(almacen), notificador, p.reloj());
      if (envio.sinDatos) return kSalidaSinDatos;
      const QString ruta = QDir::toNativeSeparators(QFileInfo(fichero).absoluteFilePath());
      p.avisar(envio.exportado ? QStringLiteral("Informe «%1» exportado en %2\n").arg(boton->titulo, ruta)
                               : QStringLiteral("No se pudo exportar el informe a %1: %2\n").arg(ruta, envio.error));
      if (envio.enviado)
        p.avisar(QStringLiteral("Correo enviado a %1\n").arg(at.EmailInformes));
      else if (!envio.enLinea)
        p.avisar(QStringLiteral("Sin conexión a Internet: el correo no se envía.\n"));
      else if (!envio.error.isEmpty() && envio.exportado)
        p.avisar(QStringLiteral("El correo no se pudo enviar: %1\n").arg(envio.error));
      // Una tarea programada sólo ve el código de salida: un resumen que no
      // llegó al dueño no puede acabar como uno que sí. Sin conexión no es un
      // fallo: es lo que el puesto tiene configurado.
      correoFallido = !envio.exportado || (envio.enLinea && !envio.enviado);
    }

    auto guardado = [&](const QString& fichero) {
      p.avisar(QStringLiteral("Informe «%1» guardado en %2\n")
                   .arg(boton->titulo, QDir::toNativeSeparators(QFileInfo(fichero).absoluteFilePath())));
    };
    const registro::Destinos destinos{p.valor(pdf), p.valor(xlsx)};
    if (!destinos.pdf.isEmpty() || !destinos.xlsx.isEmpty()) {
      if (!registro::GenerarSalidas(*at.ConexionInformes, boton->plantillaPara(seleccion), opciones, destinos,
                                    notificador, p.reloj()))
        return kSalidaSinDatos;
      for (const QString& f : {destinos.pdf, destinos.xlsx})
        if (!f.isEmpty()) guardado(f);
    }
    if (p.hay(texto)) {
      const informes::TextoTicket t =
          informes::ComponerListadoTicket(*at.ConexionInformes, opciones.caracteresTicket, at.NumDecimales,
                                          motor::ConfiguracionRegional(opciones.regional));
      sistema::FicheroSalida f(p.valor(texto));
      if (!f.abrir() || f.dispositivo().write(t.texto.toUtf8()) < 0 || !f.confirmar())
        throw sistema::Error(QStringLiteral("No se puede escribir el fichero %1: %2").arg(p.valor(texto), f.error()));
      guardado(p.valor(texto));
    }
    if (p.hay(csv)) {
      informes::EscribirCsv(*at.ConexionInformes, p.valor(csv));
      guardado(p.valor(csv));
    } else if (destinos.pdf.isEmpty() && destinos.xlsx.isEmpty() && !exportaYEnvia && !p.hay(texto)) {
      informes::EscribirCsv(*at.ConexionInformes, p.salida());
    }
  } catch (const sistema::Error& e) {
    fallo = e.mensaje();
  }
  if (!fallo.isEmpty()) {
    notificador.mensaje(fallo, QStringLiteral("Cronicas"), sistema::Icono::Critico);
    return kSalidaError;
  }
  return correoFallido ? kSalidaCorreo : kSalidaBien;
}

// --- cronicas grafico --------------------------------------------------------------

const char* kExplicacionGrafico =
    "Dibuja sin ventana el gráfico del mes CODIGO: el número de la serie (0 a 7) o el\n"
    "botón que la elige en la ventana principal (cmdCajaxDias). 0 descuentos, 1 gastos,\n"
    "2 retiradas, 3 caja por días, 4 ventas por zonas, 5 ventas por horas, 6 ventas por\n"
    "empleados, 7 reservas. Sin --png ni --tabla-csv escribe la serie en la salida\n"
    "estándar: un renglón «rótulo;valor» por fila.\n";

const char* kNotasGrafico =
    "--3d dibuja en relieve con OpenGL y necesita una pantalla (DISPLAY), por ejemplo\n"
    "«xvfb-run -a cronicas grafico 5 --mes 3 --año 2026 --3d --png ventas.png». La tarta\n"
    "(circular) es siempre plana. La tabla día por hora (--tabla-csv) es la de las ventas\n"
    "por horas (5) y la de las reservas (7); sus celdas a cero van en blanco.\n"
    "\n"
    "Códigos de salida: 0 bien, 1 argumentos mal escritos, 2 error de ajustes, de base\n"
    "de datos o al escribir un fichero, 5 el empleado del puesto no tiene permiso.\n";

// Un fichero de salida pedido por el usuario: sustituye al anterior sólo
// cuando está entero; lo que no es un fichero normal se escribe en su sitio.
bool EscribirFichero(const QString& ruta, const QByteArray& bytes, QString& error) {
  sistema::FicheroSalida f(ruta);
  if (!f.abrir() || f.dispositivo().write(bytes) != bytes.size() || !f.confirmar()) {
    error = QStringLiteral("No se pudo escribir %1: %2").arg(QDir::toNativeSeparators(ruta), f.error());
    return false;
  }
  return true;
}

// El código de la serie: su número o el botón que la elige; -1 si no es
// ninguno.
qint16 CodigoGrafico(const QString& texto) {
  bool ok = false;
  const int n = texto.toInt(&ok);
  if (ok) return graficos::CodigoValido(static_cast<qint16>(n)) ? static_cast<qint16>(n) : -1;
  const registro::BotonInforme* b = registro::BuscarBoton(texto);
  return b && b->clase == registro::Clase::Grafico ? b->grafico : -1;
}

int OrdenGrafico(Peticion& p) {
  const auto mes = p.opcion(QStringLiteral("mes"), QStringLiteral("mes del gráfico, de 1 a 12"), QStringLiteral("M"));
  const auto año =
      p.opcion(QString::fromUtf8("año"), QString::fromUtf8("año del gráfico (también --anio)"), QStringLiteral("A"));
  const auto anio = p.opcion(QStringLiteral("anio"), QString::fromUtf8("lo mismo que --año"), QStringLiteral("A"));
  const auto estilo = p.opcion(QStringLiteral("estilo"), QStringLiteral("barras, lineas, circular o conico"),
                               QStringLiteral("ESTILO"), QStringLiteral("barras"));
  const auto tresD = p.opcion(QStringLiteral("3d"), QStringLiteral("en relieve (barras, lineas y conico)"));
  const auto color = p.opcion(QStringLiteral("color"), QStringLiteral("rojo, naranja, amarillo, verde, celeste o azul"),
                              QStringLiteral("COLOR"));
  const auto anterior =
      p.opcion(QStringLiteral("anterior"), QString::fromUtf8("compara con el mismo mes del año anterior"));
  const auto png =
      p.opcion(QStringLiteral("png"), QStringLiteral("dibuja el gráfico en una imagen PNG"), QStringLiteral("FICHERO"));
  const auto tabla =
      p.opcion(QStringLiteral("tabla-csv"), QStringLiteral("escribe la tabla día por hora (5 y 7) en CSV"),
               QStringLiteral("FICHERO"));
  const auto ancho = p.opcion(QStringLiteral("ancho"), QStringLiteral("ancho de la imagen en píxeles"),
                              QStringLiteral("N"), QStringLiteral("1000"));
  const auto alto = p.opcion(QStringLiteral("alto"), QStringLiteral("alto de la imagen en píxeles"),
                             QStringLiteral("N"), QStringLiteral("600"));
  if (const auto fin = p.leer()) return *fin;
  if (!p.rutasDeSalida({png, tabla})) return kSalidaUso;
  if (p.posicionales().size() != 1)
    return p.malUsada(p.posicionales().isEmpty()
                          ? QStringLiteral("Falta el código del gráfico (0 a 7).")
                          : QStringLiteral("Sobra: %1.").arg(p.posicionales().mid(1).join(QLatin1Char(' '))));
  const qint16 codigo = CodigoGrafico(p.posicionales().constFirst());
  if (codigo < 0)
    return p.mal(QStringLiteral("No hay ningún gráfico «%1»: el código va de 0 a 7 o es el botón (cmdCajaxDias).")
                     .arg(p.posicionales().constFirst()));
  int m = 0, a = 0, w = 1000, h = 600;
  if (!p.hay(mes)) return p.malUsada(QStringLiteral("Falta el mes: --mes M."));
  if (p.hay(año) == p.hay(anio))
    return p.malUsada(p.hay(año) ? QString::fromUtf8("Sobra --anio: ya se dio --año.")
                                 : QString::fromUtf8("Falta el año: --año A."));
  if (!p.entero(mes, 1, 12, m) || !p.entero(p.hay(año) ? año : anio, 1753, 9998, a) || !p.entero(ancho, 100, 8000, w) ||
      !p.entero(alto, 100, 8000, h))
    return kSalidaUso;
  const std::optional<graficos::Estilo> elegido = graficos::EstiloPorNombre(p.valor(estilo));
  if (!elegido)
    return p.mal(QStringLiteral("--estilo es barras, lineas, circular o conico (se dio «%1»).").arg(p.valor(estilo)));
  std::optional<QColor> colorSerie;
  if (p.hay(color)) {
    colorSerie = graficos::ColorPorNombre(p.valor(color));
    if (!colorSerie)
      return p.mal(QStringLiteral("--color es rojo, naranja, amarillo, verde, celeste o azul (se dio «%1»).")
                       .arg(p.valor(color)));
  }
  if (p.hay(tabla) && !graficos::ConTabla(codigo))
    return p.mal(QStringLiteral("El gráfico %1 no tiene tabla día por hora: sólo el 5 y el 7.").arg(codigo));
  if (p.hay(png) && !p.pintor())
    return p.mal(QStringLiteral("Este programa no trae la parte gráfica: no puede dibujar el PNG."));
  const int tipo =
      graficos::TipoGrafico(*elegido, p.hay(tresD) ? graficos::Dimension::TresD : graficos::Dimension::DosD);

  sistema::Notificador& notificador = p.notificador();
  QString fallo;
  try {
    ajustes::AlmacenAjustes almacen = AbrirAjustes(p);
    AjustesTerminal at;
    if (!ArrancarPuesto(p, almacen, at)) return kSalidaError;
    for (const registro::BotonInforme& b : registro::Botones())
      if (b.clase == registro::Clase::Grafico && b.grafico == codigo && !PermisosIgnorados(almacen) &&
          permisos::BotonProhibido(*at.ConexionVentas, at.EmpleadoTerminal, b.boton)) {
        notificador.mensaje(QStringLiteral("El empleado %1 de este puesto no tiene permiso para «%2» (%3).")
                                .arg(at.EmpleadoTerminal)
                                .arg(b.titulo, b.boton),
                            QStringLiteral("Cronicas"), sistema::Icono::Critico);
        return kSalidaSinPermiso;
      }

    // El nombre del mes, en el idioma de los informes de la tienda: el del
    // sistema salvo que los ajustes digan otro, y el español en un servidor
    // sin idioma.
    QLocale::setDefault(motor::ConfiguracionRegional(almacen.valor(QStringLiteral("informes/regional"))));
    const graficos::Serie serie = graficos::CrearSerie(at, codigo, m, a, notificador);
    std::optional<graficos::Serie> previa;
    if (p.hay(anterior))
      previa = graficos::AlinearAnterior(serie, graficos::CrearSerie(at, codigo, m, a - 1, notificador));
    auto guardado = [&](const QString& fichero) {
      p.avisar(QString::fromUtf8("Gráfico «%1» guardado en %2\n")
                   .arg(serie.pie, QDir::toNativeSeparators(QFileInfo(fichero).absoluteFilePath())));
    };
    if (p.hay(png)) {
      const QImage imagen = p.pintor()(serie, previa ? &*previa : nullptr, tipo, colorSerie, QSize(w, h));
      QByteArray bytes;
      QBuffer bufer(&bytes);
      bufer.open(QIODevice::WriteOnly);
      if (imagen.isNull() || !imagen.save(&bufer, "PNG"))
        fallo = QStringLiteral("No se pudo dibujar el gráfico (¿falta la pantalla para --3d?).");
      else if (EscribirFichero(p.valor(png), bytes, fallo))
        guardado(p.valor(png));
    }
    if (fallo.isEmpty() && p.hay(tabla)) {
      const graficos::Matriz matriz = graficos::CrearMatriz(at, codigo, m, a, notificador);
      if (EscribirFichero(p.valor(tabla), graficos::MatrizCsv(matriz).toUtf8(), fallo)) guardado(p.valor(tabla));
    }
    if (!p.hay(png) && !p.hay(tabla)) {
      for (qsizetype i = 0; i < serie.rotulos.size(); ++i) {
        QString linea = serie.rotulos.at(i) + QLatin1Char(';') + informes::NumeroCsv(serie.valores[size_t(i)]);
        if (previa) linea += QLatin1Char(';') + informes::NumeroCsv(previa->valores[size_t(i)]);
        p.decir(linea + QLatin1Char('\n'));
      }
    }
  } catch (const sistema::Error& e) {
    fallo = e.mensaje();
  }
  if (!fallo.isEmpty()) {
    notificador.mensaje(fallo, QStringLiteral("Cronicas"), sistema::Icono::Critico);
    return kSalidaError;
  }
  return kSalidaBien;
}

// --- cronicas etiquetas y cronicas cartel --------------------------------------------

// Lo común a las etiquetas y a los letreros: ajustes, conexiones y el
// permiso del botón que los abre en la ventana. Después, `hacer`, que
// escribe Informes y el PDF y devuelve el código de salida.
int ConLetreros(Peticion& p, const std::function<int(AjustesTerminal&, const registro::OpcionesSalida&)>& hacer) {
  sistema::Notificador& notificador = p.notificador();
  QString fallo;
  try {
    ajustes::AlmacenAjustes almacen = AbrirAjustes(p);
    AjustesTerminal at;
    if (!ArrancarPuesto(p, almacen, at)) return kSalidaError;
    const QString boton = QStringLiteral("cmdLetreros");
    if (!PermisosIgnorados(almacen) && permisos::BotonProhibido(*at.ConexionVentas, at.EmpleadoTerminal, boton)) {
      notificador.mensaje(QStringLiteral("El empleado %1 de este puesto no tiene permiso para los letreros y las "
                                         "etiquetas de precio (%2).")
                              .arg(at.EmpleadoTerminal)
                              .arg(boton),
                          QStringLiteral("Cronicas"), sistema::Icono::Critico);
      return kSalidaSinPermiso;
    }
    const registro::OpcionesSalida opciones{almacen.carpetaPlantillas(),
                                            almacen.valor(QStringLiteral("informes/regional"))};
    return hacer(at, opciones);
  } catch (const sistema::Error& e) {
    fallo = e.mensaje();
  }
  notificador.mensaje(fallo, QStringLiteral("Cronicas"), sistema::Icono::Critico);
  return kSalidaError;
}

// El PDF de lo que ya está en Informes; `que` dice qué se guardó.
int EscribirPdf(Peticion& p, const AjustesTerminal& at, const registro::OpcionesSalida& opciones,
                const QString& plantilla, const QString& pdf, const QString& que) {
  if (!registro::GenerarSalidas(*at.ConexionInformes, plantilla, opciones, {pdf, QString()}, p.notificador(),
                                p.reloj()))
    return kSalidaSinDatos;
  p.avisar(QStringLiteral("%1 en %2\n").arg(que, QDir::toNativeSeparators(QFileInfo(pdf).absoluteFilePath())));
  return kSalidaBien;
}

const char* kExplicacionEtiquetas =
    "Pinta en PDF una hoja de 24 etiquetas de precio (APLI 01293, 70 x 33,8 mm): por\n"
    "cada etiqueta, el código de barras del producto, su nombre y su precio. Cada\n"
    "--producto es el código de un producto o de un menú, con «:COPIAS» para más de una\n"
    "etiqueta (1234:3). --desde-posicion deja en blanco las etiquetas ya usadas de la\n"
    "primera hoja: con 5 se empieza en la quinta.\n";

int OrdenEtiquetas(Peticion& p) {
  const auto producto =
      p.opcion(QStringLiteral("producto"), QStringLiteral("producto o menú y sus copias (1 si no se dice); se repite"),
               QStringLiteral("CODIGO[:COPIAS]"));
  const auto desde = p.opcion(QStringLiteral("desde-posicion"),
                              QStringLiteral("primera etiqueta de la hoja que se imprime, de 1 a 24"),
                              QStringLiteral("N"), QStringLiteral("1"));
  const auto pdf =
      p.opcion(QStringLiteral("pdf"), QStringLiteral("escribe la hoja de etiquetas en PDF"), QStringLiteral("FICHERO"));
  if (const auto fin = p.leer()) return *fin;
  if (!p.posicionales().isEmpty())
    return p.malUsada(QStringLiteral("Sobra: %1.").arg(p.posicionales().join(QLatin1Char(' '))));
  if (!p.hay(producto)) return p.malUsada(QStringLiteral("Falta al menos un producto: --producto CODIGO[:COPIAS]."));
  if (!p.hay(pdf)) return p.malUsada(QStringLiteral("Falta el fichero de salida: --pdf FICHERO."));
  if (!p.rutasDeSalida({pdf})) return kSalidaUso;
  int posicion = 1;
  if (!p.entero(desde, 1, etiquetas::kEtiquetasPorHoja, posicion)) return kSalidaUso;

  // Código y copias de cada --producto; las copias van tras los últimos dos
  // puntos, así que un código con dos puntos se escribe «a:b:1».
  struct Pedido {
    QString codigo;
    int copias = 1;
  };
  std::vector<Pedido> pedidos;
  constexpr int kCopiasMaximas = 100 * etiquetas::kEtiquetasPorHoja;
  static const QRegularExpression copias(QStringLiteral("^(.+):([0-9]+)$"));
  for (const QString& v : p.valores(producto)) {
    Pedido pedido{v.trimmed()};
    const QRegularExpressionMatch m = copias.match(pedido.codigo);
    if (m.hasMatch()) {
      pedido.codigo = m.captured(1).trimmed();
      bool ok = false;
      pedido.copias = m.captured(2).toInt(&ok);
      if (!ok || pedido.copias < 1 || pedido.copias > kCopiasMaximas)
        return p.mal(QStringLiteral("Las copias de --producto %1 van de 1 a %2.").arg(v).arg(kCopiasMaximas));
    } else if (pedido.codigo.contains(QLatin1Char(':'))) {
      return p.mal(QStringLiteral("Las copias de --producto %1 no son un número: se escribe CODIGO:COPIAS, "
                                  "como 1234:3.")
                       .arg(v));
    }
    if (pedido.codigo.isEmpty()) return p.mal(QStringLiteral("--producto necesita un código (se dio «%1»).").arg(v));
    pedidos.push_back(pedido);
  }

  return ConLetreros(p, [&](AjustesTerminal& at, const registro::OpcionesSalida& opciones) {
    const std::vector<etiquetas::Articulo> articulos = etiquetas::LeerArticulos(*at.ConexionVentas);
    std::vector<etiquetas::Pedido> cola;
    for (const Pedido& pedido : pedidos) {
      // Un producto antes que un menú del mismo código, como en la lista.
      const auto a = std::find_if(articulos.begin(), articulos.end(),
                                  [&pedido](const etiquetas::Articulo& x) { return x.codigo == pedido.codigo; });
      if (a == articulos.end())
        return p.mal(QStringLiteral("No hay ningún producto ni menú con el código «%1».").arg(pedido.codigo));
      cola.push_back({a->nombre, static_cast<double>(pedido.copias), a->codigoEtiqueta, a->precio});
    }
    etiquetas::EscribirHoja(*at.ConexionInformes, QString::number(posicion), cola);
    return EscribirPdf(p, at, opciones, QStringLiteral("cartel_precio.rpt"), p.valor(pdf),
                       QStringLiteral("Hoja de etiquetas guardada"));
  });
}

const char* kExplicacionCartel =
    "Pinta en PDF un letrero de ofertas del diseño 1 o 2 (A4 apaisado) o 3 (medio A4).\n"
    "Cada --linea es una línea del letrero, de arriba abajo, hasta cuatro; una vacía\n"
    "(--linea \"\") no sale. Cada línea se corta a lo que admite el diseño, como en la\n"
    "ventana: 1) 13, 25, 100 y 100 caracteres; 2) 15, 30, 100 y 100; 3) 15, 20, 25 y 25.\n";

int OrdenCartel(Peticion& p) {
  const auto linea = p.opcion(QStringLiteral("linea"), QStringLiteral("una línea del letrero; se repite, hasta cuatro"),
                              QStringLiteral("TEXTO"));
  const auto pdf =
      p.opcion(QStringLiteral("pdf"), QStringLiteral("escribe el letrero en PDF"), QStringLiteral("FICHERO"));
  if (const auto fin = p.leer()) return *fin;
  if (p.posicionales().size() != 1)
    return p.malUsada(p.posicionales().isEmpty()
                          ? QStringLiteral("Falta el diseño del letrero: 1, 2 o 3.")
                          : QStringLiteral("Sobra: %1.").arg(p.posicionales().mid(1).join(QLatin1Char(' '))));
  const QString diseno = p.posicionales().constFirst().trimmed();
  if (diseno != QLatin1String("1") && diseno != QLatin1String("2") && diseno != QLatin1String("3"))
    return p.mal(QStringLiteral("No hay ningún letrero «%1»: el diseño es 1, 2 o 3.").arg(diseno));
  const QStringList dadas = p.valores(linea);
  if (dadas.isEmpty()) return p.malUsada(QStringLiteral("Falta el texto: al menos una --linea TEXTO."));
  if (dadas.size() > 4)
    return p.mal(QStringLiteral("Un letrero tiene cuatro líneas y se dieron %1 --linea.").arg(dadas.size()));
  if (!p.hay(pdf)) return p.malUsada(QStringLiteral("Falta el fichero de salida: --pdf FICHERO."));
  if (!p.rutasDeSalida({pdf})) return kSalidaUso;

  const letreros::Diseno& d = letreros::DisenoCartel(diseno.toInt() - 1);
  letreros::Lineas lineas;
  for (qsizetype i = 0; i < dadas.size(); ++i) {
    lineas[static_cast<std::size_t>(i)] = dadas[i];
    const int maximo = d.maximos[static_cast<std::size_t>(i)];
    if (dadas[i].size() > maximo)
      p.avisar(QStringLiteral("Aviso: la línea %1 pasa de %2 caracteres en el letrero %3: sale «%4».\n")
                   .arg(i + 1)
                   .arg(maximo)
                   .arg(diseno, dadas[i].left(maximo)));
  }
  return ConLetreros(p, [&](AjustesTerminal& at, const registro::OpcionesSalida& opciones) {
    letreros::EscribirLetrero(*at.ConexionInformes, lineas, d);
    return EscribirPdf(p, at, opciones, d.plantilla, p.valor(pdf), QStringLiteral("Letrero guardado"));
  });
}

// --- La tabla de órdenes ------------------------------------------------------------

// Una orden nueva es su función y un renglón aquí.
const Orden kOrdenes[] = {
    {"demo", "", "crea una tienda de demostración (bases de datos y ajustes)", kExplicacionDemo, "", OrdenDemo},
    {"informe", "BOTON", "ejecuta un informe sin ventana y guarda sus filas", kExplicacionInforme, kNotasInforme,
     OrdenInforme},
    {"grafico", "CODIGO", "dibuja un gráfico del mes sin ventana (PNG) o su tabla día por hora", kExplicacionGrafico,
     kNotasGrafico, OrdenGrafico},
    {"etiquetas", "", "pinta en PDF una hoja de etiquetas de precio con su código de barras", kExplicacionEtiquetas, "",
     OrdenEtiquetas},
    {"cartel", "1|2|3", "pinta en PDF un letrero de ofertas de cuatro líneas", kExplicacionCartel, "", OrdenCartel},
};

const Orden* BuscarOrden(const QString& nombre) {
  for (const Orden& o : kOrdenes)
    if (nombre == QLatin1String(o.nombre)) return &o;
  return nullptr;
}

QString AyudaGeneral() {
  const Generales g;
  QString r = QStringLiteral(
      "Uso: cronicas [--ajustes FICHERO] [ORDEN] [opciones]\n"
      "\n"
      "Informes de caja y ventas de la suite Velarix.\n"
      "\n"
      "Órdenes:\n");
  qsizetype ancho = 0;
  for (const Orden& o : kOrdenes) ancho = std::max(ancho, qsizetype(qstrlen(o.nombre)));
  for (const Orden& o : kOrdenes)
    r += QStringLiteral("  %1  %2\n").arg(QLatin1String(o.nombre), -int(ancho)).arg(QString::fromUtf8(o.resumen));
  r += QStringLiteral("\nOpciones generales:\n") + ListaDeOpciones(g.todas(), ColumnaDeExplicaciones(g.todas()));
  r += QStringLiteral("\nSin orden, cronicas abre la ventana principal de informes.\n");
  return r;
}

// Lo que va antes de la orden: las opciones generales y la orden misma. Lo
// que la sigue lo lee la orden con las suyas.
struct Principio {
  QString orden;
  QString ficheroAjustes;
  bool ayuda = false;
  bool version = false;
  QString error;
};

Principio LeerPrincipio(const QStringList& argumentos) {
  const Generales g;
  QCommandLineParser lector;
  Preparar(lector, g.todas());
  lector.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  Principio p;
  if (!lector.parse(ConPrograma(argumentos))) p.error = ErrorDeLectura(lector, argumentos, g.todas());
  p.orden = lector.positionalArguments().value(0);
  p.ficheroAjustes = lector.value(g.ficheroAjustes);
  p.ayuda = lector.isSet(g.ayuda);
  p.version = lector.isSet(g.version);
  return p;
}

}  // namespace

std::optional<QString> FicheroAjustesDeLaVentana(const QStringList& argumentos) {
  const Principio p = LeerPrincipio(argumentos);
  if (!p.error.isEmpty() || p.ayuda || p.version || !p.orden.isEmpty()) return std::nullopt;
  return p.ficheroAjustes;
}

namespace {

int Ejecutar(const QStringList& argumentos, Consola& consola) {
  const Principio p = LeerPrincipio(argumentos);
  if (!p.error.isEmpty() && !p.ayuda) {
    Escribir(consola.errores, p.error + QStringLiteral("\n\n") + AyudaGeneral());
    return kSalidaUso;
  }
  if (const Orden* orden = BuscarOrden(p.orden)) {
    Peticion peticion(*orden, argumentos, consola);
    return orden->ejecutar(peticion);
  }
  if (!p.orden.isEmpty()) {
    Escribir(consola.errores, QStringLiteral("Orden desconocida: %1.\n\n").arg(p.orden) + AyudaGeneral());
    return kSalidaUso;
  }
  if (p.ayuda) {
    Decir(consola, AyudaGeneral());
    return kSalidaBien;
  }
  if (p.version) {
    Decir(consola, Peticion::Version());
    return kSalidaBien;
  }
  // Sin orden se abre la ventana; aquí sólo se llega si alguien llama sin
  // orden desde fuera de main().
  Escribir(consola.errores, AyudaGeneral());
  return kSalidaUso;
}

}  // namespace

int EjecutarLineaComandos(const QStringList& argumentos, Consola& consola) {
  const int codigo = Ejecutar(argumentos, consola);
  if (!consola.salidaFallida) return codigo;
  Escribir(consola.errores, QStringLiteral("No se puede escribir en la salida estándar: %1\n")
                                .arg(consola.salida.errorString().isEmpty() ? QStringLiteral("se escribió a medias")
                                                                            : consola.salida.errorString()));
  return codigo == kSalidaBien ? kSalidaError : codigo;
}

}  // namespace app
