#include "app/LineaComandos.h"

#include "builders/ExportarCsv.h"
#include "demo/Demo.h"
#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/motor/Motor.h"
#include "platform/sistema/Notificador.h"
#include "registro/EjecutarInforme.h"
#include "registro/SalidaInforme.h"
#include "startup/Arranque.h"
#include "startup/Prohibiciones.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace app {

namespace {

void escribir(FILE* f, const QString& texto) {
  std::fputs(texto.toLocal8Bit().constData(), f);
  std::fflush(f);
}

const char* kAyudaGeneral =
    "Uso: cronicas [--ajustes FICHERO] [ORDEN] [opciones]\n"
    "\n"
    "Informes de caja y ventas de la suite Velarix.\n"
    "\n"
    "Órdenes:\n"
    "  demo       crea una tienda de demostración (bases de datos y ajustes)\n"
    "  informe    ejecuta un informe sin ventana y guarda sus filas\n"
    "\n"
    "Opciones generales:\n"
    "  --ajustes FICHERO   fichero de ajustes (por defecto %1)\n"
    "  -h, --help          esta ayuda; «cronicas ORDEN --help» explica cada orden\n"
    "  --version           versión del programa\n"
    "\n"
    "Sin orden, cronicas abre la ventana principal de informes.\n";

const char* kAyudaDemo =
    "Uso: cronicas demo [--destino CARPETA] [--dias N] [--ventas-dia N] [--semilla N] [--hoy AAAA-MM-DD]\n"
    "                   [--productos N] [--reemplazar]\n"
    "\n"
    "Crea una tienda de demostración: un bar-restaurante con sus productos, familias,\n"
    "empleados, clientes, proveedores, mesas y formas de pago, y las ventas de los\n"
    "últimos días hasta ayer. Los ejercicios anteriores quedan además en sus archivos\n"
    "de cierre anual. Escribe en la carpeta hosteleria.db, informes.db,\n"
    "fotos/cierresAnuales/ y ajustes.ini.\n"
    "\n"
    "  --destino CARPETA   carpeta de la tienda (por defecto «tienda»)\n"
    "  --dias N            días de ventas hasta ayer (por defecto 400)\n"
    "  --ventas-dia N      ventas de un día normal (por defecto 150)\n"
    "  --semilla N         semilla del azar: la misma semilla da la misma tienda (por defecto 1)\n"
    "  --hoy AAAA-MM-DD    tomar esta fecha como hoy (por defecto la del sistema)\n"
    "  --productos N       completar la carta con artículos generados hasta N (para medir)\n"
    "  --reemplazar        sustituir una tienda que ya esté en la carpeta (sin esto no se toca)\n";

const char* kAyudaInforme =
    "Uso: cronicas informe BOTON [--desde FECHA] [--hasta FECHA] [--empleado N] [--completo]\n"
    "                      [--pdf FICHERO] [--xlsx FICHERO] [--csv FICHERO]\n"
    "       cronicas informe --lista\n"
    "\n"
    "Ejecuta sin ventana el informe del botón BOTON de la ventana principal\n"
    "(por ejemplo cmdProductos): el informe con su plantilla en PDF o en hoja de\n"
    "cálculo, o las filas que deja en Informes en CSV. Se pueden pedir varias salidas\n"
    "a la vez.\n"
    "\n"
    "  --lista             lista los botones disponibles con su texto\n"
    "  --desde FECHA       primer día del informe (informes con fechas): AAAA-MM-DD, «hoy»\n"
    "                      o «ayer»; por defecto hoy\n"
    "  --hasta FECHA       último día del informe, igual que --desde; por defecto hoy\n"
    "  --empleado N        código del empleado (cmdCierreCaja, que lo necesita)\n"
    "  --completo          incluye las ventas anuladas (cmdResumenVentasXEmpleado, con el\n"
    "                      módulo de facturas)\n"
    "  --pdf FICHERO       escribe el informe en PDF\n"
    "  --xlsx FICHERO      escribe el informe en una hoja de cálculo (.xlsx)\n"
    "  --csv FICHERO       escribe las filas de Informes en CSV; sin ninguna salida\n"
    "                      pedida, el CSV va a la salida estándar\n"
    "\n"
    "Los resúmenes diarios (cmdCierreResumido, cmdRepDominicana) se exportan además a\n"
    "resumen.xlsx en la carpeta de salida de los ajustes y, con conexión, se envían por\n"
    "correo como lo hace su botón; sin otra salida pedida no escriben CSV. Así, una tarea\n"
    "programada con «cronicas informe cmdCierreResumido --desde ayer --hasta ayer» manda\n"
    "cada mañana el resumen del día anterior.\n"
    "\n"
    "El empleado del puesto (opciones_terminal) no saca los informes que tiene prohibidos\n"
    "en la ventana. Con permisos/linea_de_ordenes=todos en el fichero de ajustes, una\n"
    "tarea programada del administrador los saca todos.\n"
    "\n"
    "Códigos de salida: 0 bien, 1 argumentos mal escritos, 2 error de ajustes, de base\n"
    "de datos, de plantilla o al escribir un fichero, 3 el informe no encontró datos,\n"
    "4 el informe no se hace desde un puesto con la base de ventas en otra máquina,\n"
    "5 el empleado del puesto no tiene permiso para ese informe.\n";

// Las tareas programadas del administrador pueden saltarse los permisos del
// empleado del puesto.
bool PermisosIgnorados(const ajustes::AlmacenAjustes& almacen) {
  return almacen.valor(QStringLiteral("permisos/linea_de_ordenes"))
             .trimmed()
             .compare(QLatin1String("todos"), Qt::CaseInsensitive) == 0;
}

struct Argumentos {
  QStringList resto;
  QString ajustes;
  bool ayuda = false;
  QString error;
};

// Saca --ajustes (valga donde valga) y -h/--help.
Argumentos separarGenerales(const QStringList& args) {
  Argumentos a;
  for (int i = 0; i < args.size(); ++i) {
    const QString& x = args.at(i);
    if (x == QLatin1String("--ajustes")) {
      if (i + 1 >= args.size()) {
        a.error = QStringLiteral("Falta el fichero tras --ajustes.");
        return a;
      }
      a.ajustes = args.at(++i);
    } else if (x.startsWith(QLatin1String("--ajustes="))) {
      a.ajustes = x.mid(10);
    } else if (x == QLatin1String("-h") || x == QLatin1String("--help") || x == QLatin1String("--ayuda")) {
      a.ayuda = true;
    } else {
      a.resto << x;
    }
  }
  return a;
}

// Lee las opciones "--nombre valor" de una orden. Devuelve falso y pone
// `error` si una opción no es de la orden o le falta el valor.
bool leerOpciones(const QStringList& args, const QStringList& conValor, const QStringList& sinValor,
                  QHash<QString, QString>& opciones, QStringList& posicionales, QString& error) {
  for (int i = 0; i < args.size(); ++i) {
    QString x = args.at(i);
    if (!x.startsWith(QLatin1String("--"))) {
      posicionales << x;
      continue;
    }
    QString valor;
    bool conIgual = false;
    const int igual = x.indexOf(QLatin1Char('='));
    if (igual > 0) {
      valor = x.mid(igual + 1);
      x = x.left(igual);
      conIgual = true;
    }
    const QString nombre = x.mid(2);
    if (conValor.contains(nombre)) {
      if (!conIgual) {
        if (i + 1 >= args.size()) {
          error = QStringLiteral("Falta el valor de --%1.").arg(nombre);
          return false;
        }
        valor = args.at(++i);
      }
      opciones.insert(nombre, valor);
    } else if (sinValor.contains(nombre) && !conIgual) {
      opciones.insert(nombre, QString());
    } else {
      error = QStringLiteral("Opción desconocida: --%1.").arg(nombre);
      return false;
    }
  }
  return true;
}

bool leerEntero(const QHash<QString, QString>& o, const QString& nombre, qint64 minimo, qint64& valor, QString& error) {
  if (!o.contains(nombre)) return true;
  bool ok = false;
  const qint64 v = o.value(nombre).toLongLong(&ok);
  if (!ok || v < minimo) {
    error = QStringLiteral("--%1 necesita un número entero no menor que %2 (se dio «%3»).")
                .arg(nombre)
                .arg(minimo)
                .arg(o.value(nombre));
    return false;
  }
  valor = v;
  return true;
}

// AAAA-MM-DD, o «hoy» y «ayer» respecto de `hoy`, para las tareas programadas.
bool leerFecha(const QHash<QString, QString>& o, const QString& nombre, QDate& fecha, QString& error,
               const QDate& hoy = QDate::currentDate()) {
  if (!o.contains(nombre)) return true;
  const QString texto = o.value(nombre).trimmed();
  if (texto.compare(QLatin1String("hoy"), Qt::CaseInsensitive) == 0)
    fecha = hoy;
  else if (texto.compare(QLatin1String("ayer"), Qt::CaseInsensitive) == 0)
    fecha = hoy.addDays(-1);
  else
    fecha = QDate::fromString(texto, QStringLiteral("yyyy-MM-dd"));
  if (!fecha.isValid()) {
    error = QStringLiteral("--%1 necesita una fecha AAAA-MM-DD, «hoy» o «ayer» (se dio «%2»).")
                .arg(nombre, o.value(nombre));
    return false;
  }
  return true;
}

int ordenDemo(const QStringList& args) {
  QHash<QString, QString> o;
  QStringList pos;
  QString error;
  if (!leerOpciones(args,
                    {QStringLiteral("destino"), QStringLiteral("dias"), QStringLiteral("ventas-dia"),
                     QStringLiteral("semilla"), QStringLiteral("hoy"), QStringLiteral("productos")},
                    {QStringLiteral("reemplazar")}, o, pos, error) ||
      !pos.isEmpty()) {
    if (error.isEmpty()) error = QStringLiteral("Argumento de más: %1.").arg(pos.join(QLatin1Char(' ')));
    escribir(stderr, error + QStringLiteral("\n\n") + QString::fromUtf8(kAyudaDemo));
    return kSalidaUso;
  }
  demo::OpcionesDemo opciones;
  qint64 dias = opciones.dias, ventas = opciones.ventasDia, semilla = static_cast<qint64>(opciones.semilla);
  qint64 productos = 0;
  if (!leerEntero(o, QStringLiteral("dias"), 1, dias, error) ||
      !leerEntero(o, QStringLiteral("ventas-dia"), 1, ventas, error) ||
      !leerEntero(o, QStringLiteral("semilla"), 0, semilla, error) ||
      !leerEntero(o, QStringLiteral("productos"), 0, productos, error) ||
      !leerFecha(o, QStringLiteral("hoy"), opciones.hoy, error)) {
    escribir(stderr, error + QLatin1Char('\n'));
    return kSalidaUso;
  }
  if (dias > 20000 || ventas > 100000 || productos > 1000000) {
    escribir(stderr,
             QStringLiteral("--dias admite hasta 20000, --ventas-dia hasta 100000 y --productos hasta 1000000.\n"));
    return kSalidaUso;
  }
  opciones.dias = static_cast<int>(dias);
  opciones.ventasDia = static_cast<int>(ventas);
  opciones.semilla = static_cast<quint64>(semilla);
  opciones.productos = static_cast<int>(productos);
  opciones.reemplazar = o.contains(QStringLiteral("reemplazar"));
  if (o.contains(QStringLiteral("destino"))) opciones.destino = o.value(QStringLiteral("destino"));

  sistema::RelojSistema reloj;
  try {
    const demo::ResultadoDemo r =
        demo::GenerarDemo(opciones, reloj, [](const QString& m) { escribir(stdout, m + QLatin1Char('\n')); });
    escribir(stdout, QStringLiteral("Tienda de demostración creada en %1: %2 ventas, %3 líneas.\n"
                                    "Ajustes: %4\n"
                                    "Pruebe: cronicas --ajustes %4 informe cmdProductos --csv productos.csv\n")
                         .arg(QDir::toNativeSeparators(QFileInfo(opciones.destino).absoluteFilePath()))
                         .arg(r.facturas)
                         .arg(r.lineas)
                         .arg(QDir::toNativeSeparators(r.ficheroAjustes)));
  } catch (const sistema::Error& e) {
    escribir(stderr, QStringLiteral("No se pudo crear la tienda de demostración: %1\n").arg(e.mensaje()));
    return kSalidaError;
  }
  return kSalidaBien;
}

int ordenInforme(const QString& ficheroAjustes, const QStringList& args) {
  QHash<QString, QString> o;
  QStringList pos;
  QString error;
  if (!leerOpciones(args,
                    {QStringLiteral("desde"), QStringLiteral("hasta"), QStringLiteral("csv"), QStringLiteral("pdf"),
                     QStringLiteral("xlsx"), QStringLiteral("empleado")},
                    {QStringLiteral("lista"), QStringLiteral("completo")}, o, pos, error)) {
    escribir(stderr, error + QStringLiteral("\n\n") + QString::fromUtf8(kAyudaInforme));
    return kSalidaUso;
  }
  if (o.contains(QStringLiteral("lista"))) {
    for (const auto& b : registro::Botones())
      if (b.esInforme() && b.disponible()) escribir(stdout, QStringLiteral("%1\t%2\n").arg(b.boton, -26).arg(b.titulo));
    return kSalidaBien;
  }
  if (pos.size() != 1) {
    escribir(stderr, (pos.isEmpty() ? QStringLiteral("Falta el botón del informe.")
                                    : QStringLiteral("Sobra: %1.").arg(pos.mid(1).join(QLatin1Char(' ')))) +
                         QStringLiteral("\n\n") + QString::fromUtf8(kAyudaInforme));
    return kSalidaUso;
  }
  const registro::BotonInforme* boton = registro::BuscarBoton(pos.first());
  if (!boton) {
    escribir(stderr, QStringLiteral("No hay ningún informe «%1». «cronicas informe --lista» muestra los que hay.\n")
                         .arg(pos.first()));
    return kSalidaUso;
  }
  if (!boton->esInforme()) {
    escribir(stderr, QStringLiteral("«%1» (%2) no es un informe.\n").arg(boton->titulo.trimmed(), boton->boton));
    return kSalidaUso;
  }
  if (!boton->disponible()) {
    escribir(stderr, QStringLiteral("El informe «%1» (%2) todavía no está hecho: %3\n")
                         .arg(boton->titulo.trimmed(), boton->boton, registro::kAvisoProximaVersion));
    return kSalidaUso;
  }
  SeleccionInforme seleccion;
  const bool conEmpleado = boton->dialogo == registro::Dialogo::EmpleadoYFechas;
  if (o.contains(QStringLiteral("empleado")) != conEmpleado) {
    escribir(stderr, conEmpleado ? QStringLiteral("%1 necesita el empleado: --empleado N.\n").arg(boton->boton)
                                 : QStringLiteral("%1 no lleva --empleado.\n").arg(boton->boton));
    return kSalidaUso;
  }
  if (conEmpleado) {
    qint64 empleado = 0;
    if (!leerEntero(o, QStringLiteral("empleado"), 0, empleado, error) || empleado > 32767) {
      escribir(stderr,
               (error.isEmpty() ? QStringLiteral("--empleado admite hasta 32767.") : error) + QLatin1Char('\n'));
      return kSalidaUso;
    }
    seleccion.EmpleadoElegido = static_cast<qint16>(empleado);
  }
  if (o.contains(QStringLiteral("completo")) && !boton->completoConModuloFactura) {
    escribir(stderr, QStringLiteral("%1 no lleva --completo.\n").arg(boton->boton));
    return kSalidaUso;
  }
  if (boton->dialogo == registro::Dialogo::Ninguno &&
      (o.contains(QStringLiteral("desde")) || o.contains(QStringLiteral("hasta")))) {
    escribir(stderr, QStringLiteral("%1 es un listado sin fechas: sobran --desde y --hasta.\n").arg(boton->boton));
    return kSalidaUso;
  }
  {
    const QDate hoy = QDate::currentDate();
    seleccion.FechaDesde = hoy;
    seleccion.FechaHasta = hoy;
    if (!leerFecha(o, QStringLiteral("desde"), seleccion.FechaDesde, error) ||
        !leerFecha(o, QStringLiteral("hasta"), seleccion.FechaHasta, error)) {
      escribir(stderr, error + QLatin1Char('\n'));
      return kSalidaUso;
    }
    if (seleccion.FechaDesde > seleccion.FechaHasta) {
      escribir(stderr, QStringLiteral("--desde no puede ser posterior a --hasta.\n"));
      return kSalidaUso;
    }
  }

  sistema::NotificadorConsola notificador;
  sistema::RelojSistema reloj;
  QString fallo;  // lo que no dejó terminar: ajustes, base, plantilla o fichero
  try {
    // Un fichero de ajustes que no se deja escribir no impide sacar el informe.
    ajustes::AlmacenAjustes almacen(ficheroAjustes, [&notificador](const QString& aviso) {
      notificador.mensaje(aviso, QStringLiteral("Aviso"), sistema::Icono::Exclamacion);
    });
    if (const auto falta = arranque::FaltaBaseVentas(almacen)) {
      notificador.mensaje(*falta, QStringLiteral("Cronicas"), sistema::Icono::Critico);
      return kSalidaError;
    }
    AjustesTerminal at;
    arranque::Entorno entorno;
    entorno.reloj = &reloj;
    entorno.carpetaPrograma = QCoreApplication::applicationDirPath();
    entorno.buscarActualizaciones = false;
    entorno.avisar = [](const QString& aviso) { escribir(stderr, QStringLiteral("Aviso: %1\n").arg(aviso)); };
    arranque::Arrancar(at, almacen, entorno);

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
    if (o.contains(QStringLiteral("completo"))) {
      seleccion.Completo = arranque::ModuloFactura(at);
      if (!seleccion.Completo)
        escribir(stderr, QStringLiteral("Este puesto no tiene el módulo de facturas: se hace sin «Completo».\n"));
    }

    informes::Contexto ctx{at, seleccion, notificador, reloj};
    const registro::Ejecucion e = registro::EjecutarBoton(*boton, ctx);
    if (e.resultado == registro::Resultado::Rechazado) return kSalidaRechazado;
    if (e.resultado == registro::Resultado::Error) return kSalidaError;
    if (e.resultado == registro::Resultado::SinDatos) return kSalidaSinDatos;
    const registro::OpcionesSalida opciones{almacen.carpetaPlantillas(),
                                            almacen.valor(QStringLiteral("informes/regional"))};
    const bool exportaYEnvia = boton->entrega == registro::Entrega::ExportarEnviarImprimir;
    if (exportaYEnvia) {
      const QString fichero = QDir(almacen.carpetaSalida()).filePath(registro::kFicheroExportacion);
      const registro::Envio envio =
          registro::ExportarYEnviar(*at.ConexionInformes, boton->plantilla, opciones, fichero, at,
                                    registro::LeerConfiguracionCorreo(almacen), notificador, reloj);
      if (envio.sinDatos) return kSalidaSinDatos;
      const QString ruta = QDir::toNativeSeparators(QFileInfo(fichero).absoluteFilePath());
      escribir(stderr, envio.exportado
                           ? QStringLiteral("Informe «%1» exportado en %2\n").arg(boton->titulo, ruta)
                           : QStringLiteral("No se pudo exportar el informe a %1: %2\n").arg(ruta, envio.error));
      if (envio.enviado)
        escribir(stderr, QStringLiteral("Correo enviado a %1\n").arg(at.EmailInformes));
      else if (!envio.enLinea)
        escribir(stderr, QStringLiteral("Sin conexión a Internet: el correo no se envía.\n"));
      else if (!envio.error.isEmpty() && envio.exportado)
        escribir(stderr, QStringLiteral("El correo no se pudo enviar: %1\n").arg(envio.error));
    }

    auto avisar = [&](const QString& fichero) {
      escribir(stderr, QStringLiteral("Informe «%1» guardado en %2\n")
                           .arg(boton->titulo, QDir::toNativeSeparators(QFileInfo(fichero).absoluteFilePath())));
    };
    const registro::Destinos destinos{o.value(QStringLiteral("pdf")), o.value(QStringLiteral("xlsx"))};
    if (!destinos.pdf.isEmpty() || !destinos.xlsx.isEmpty()) {
      if (!registro::GenerarSalidas(*at.ConexionInformes, boton->plantilla, opciones, destinos, notificador, reloj))
        return kSalidaSinDatos;
      for (const QString& f : {destinos.pdf, destinos.xlsx})
        if (!f.isEmpty()) avisar(f);
    }
    if (o.contains(QStringLiteral("csv"))) {
      const QString fichero = o.value(QStringLiteral("csv"));
      informes::EscribirCsv(*at.ConexionInformes, fichero);
      avisar(fichero);
    } else if (destinos.pdf.isEmpty() && destinos.xlsx.isEmpty() && !exportaYEnvia) {
      QFile salida;
      if (!salida.open(stdout, QIODevice::WriteOnly)) return kSalidaError;
      informes::EscribirCsv(*at.ConexionInformes, static_cast<QIODevice&>(salida));
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

}  // namespace

std::optional<QString> FicheroAjustesDeLaVentana(const QStringList& argumentos) {
  const Argumentos a = separarGenerales(argumentos);
  if (!a.error.isEmpty() || a.ayuda || !a.resto.isEmpty()) return std::nullopt;
  return a.ajustes.isEmpty() ? ajustes::AlmacenAjustes::ficheroPorDefecto() : a.ajustes;
}

int EjecutarLineaComandos(const QStringList& argumentos) {
  const Argumentos a = separarGenerales(argumentos);
  if (!a.error.isEmpty()) {
    escribir(stderr, a.error + QLatin1Char('\n'));
    return kSalidaUso;
  }
  const QString ficheroAjustes = a.ajustes.isEmpty() ? ajustes::AlmacenAjustes::ficheroPorDefecto() : a.ajustes;
  const QString orden = a.resto.isEmpty() ? QString() : a.resto.first();
  const QStringList resto = a.resto.mid(1);

  if (orden == QLatin1String("demo")) {
    if (a.ayuda) {
      escribir(stdout, QString::fromUtf8(kAyudaDemo));
      return kSalidaBien;
    }
    return ordenDemo(resto);
  }
  if (orden == QLatin1String("informe")) {
    if (a.ayuda) {
      escribir(stdout, QString::fromUtf8(kAyudaInforme));
      return kSalidaBien;
    }
    return ordenInforme(ficheroAjustes, resto);
  }
  if (orden == QLatin1String("--version")) {
    escribir(stdout, QStringLiteral("cronicas %1\n").arg(QCoreApplication::applicationVersion()));
    return kSalidaBien;
  }
  const QString ayuda = QString::fromUtf8(kAyudaGeneral).arg(QDir::toNativeSeparators(ficheroAjustes));
  if (a.ayuda && orden.isEmpty()) {
    escribir(stdout, ayuda);
    return kSalidaBien;
  }
  if (!orden.isEmpty()) {
    escribir(stderr, QStringLiteral("Orden desconocida: %1\n\n").arg(orden) + ayuda);
    return kSalidaUso;
  }
  // Sin orden se abre la ventana; aquí sólo se llega si alguien llama sin
  // orden desde fuera de main().
  escribir(stderr, ayuda);
  return kSalidaUso;
}

}  // namespace app
