#include "startup/EjerciciosCerrados.h"

#include <QDir>
#include <QFileInfo>

#include <exception>
#include <optional>

namespace ejercicios {

namespace {

const QString kTitulo = QStringLiteral("Cronicas");

// Un AjustesTerminal montado a mano (pruebas, herramientas) puede no traer la
// fuente en vivo apuntada.
bool fuenteConocida(const datos::FuenteDatos& f) {
  switch (f.motor) {
    case datos::Motor::SQLite:
      return !f.ruta.isEmpty();
    case datos::Motor::PostgreSQL:
      return !f.base.isEmpty();
    case datos::Motor::ODBC:
      return !f.cadenaOdbc.isEmpty();
  }
  return false;
}

// Misma base física. El nombre de la fuente no cuenta: el archivo se abre
// con el de la base en vivo para que los mensajes de error se entiendan
// igual.
bool mismaBase(const datos::FuenteDatos& a, const datos::FuenteDatos& b) {
  if (a.motor != b.motor) return false;
  switch (a.motor) {
    case datos::Motor::SQLite:
      return a.ruta == b.ruta;
    case datos::Motor::PostgreSQL:
      return a.servidor.compare(b.servidor, Qt::CaseInsensitive) == 0 && a.puerto == b.puerto && a.base == b.base;
    case datos::Motor::ODBC:
      return a.cadenaOdbc == b.cadenaOdbc;
  }
  return false;
}

// Dónde estaría el archivo del año: un fichero junto a la base SQLite o una
// base hermana en el mismo servidor PostgreSQL, con las mismas credenciales.
// Por ODBC la suite nunca tuvo archivos: esa tienda lee siempre la base en
// vivo.
std::optional<datos::FuenteDatos> fuenteArchivo(const AjustesTerminal& at, int anio) {
  datos::FuenteDatos archivo = at.FuenteVentasViva;
  switch (archivo.motor) {
    case datos::Motor::SQLite:
      archivo.ruta = RutaArchivo(at.FuenteVentasViva.ruta, anio);
      return archivo;
    case datos::Motor::PostgreSQL:
      archivo.base = at.FuenteVentasViva.base + QLatin1Char('_') + QString::number(anio);
      return archivo;
    case datos::Motor::ODBC:
      return std::nullopt;
  }
  return std::nullopt;
}

bool existeArchivo(const AjustesTerminal& at, const datos::FuenteDatos& archivo) {
  if (archivo.motor == datos::Motor::SQLite) return QFileInfo::exists(archivo.ruta);
  // Preguntar al servidor evita un intento de conexión fallido por cada año
  // sin archivo, que además acabaría en su registro como error.
  datos::Consulta q = at.ConexionVentas->preparar(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"));
  q.enlazar(archivo.base);
  q.ejecutar();
  return q.siguiente();
}

void avisarSinLanzar(sistema::Notificador& notificador, const QString& texto) noexcept {
  try {
    notificador.mensaje(texto, kTitulo, sistema::Icono::Critico);
  } catch (...) {
    // Se está saliendo de un informe, quizá por otra excepción: un aviso que
    // no se pudo dar no puede terminar el programa.
  }
}

}  // namespace

QString RutaArchivo(const QString& rutaViva, int anio) {
  const QFileInfo info(rutaViva);
  const QString nombre = info.fileName();
  const qsizetype punto = nombre.lastIndexOf(QLatin1Char('.'));
  const QString extension = punto < 0 ? QString() : nombre.mid(punto);
  const QString sinExtension = punto < 0 ? nombre : nombre.left(punto);
  // La extensión y la carpeta se copian tal cual: en un sistema de ficheros
  // que distingue mayúsculas, HOSTELERIA.DB guarda sus años en .DB.
  const QString archivo = QStringLiteral("hosteleria_") + QString::number(anio) + extension;
  if (sinExtension.compare(QLatin1String("hosteleria"), Qt::CaseInsensitive) == 0)
    return QDir(info.path()).filePath(QStringLiteral("fotos/cierresAnuales/") + archivo);
  // Así lo ha hecho siempre la suite con una base de otro nombre: la ruta
  // queda dentro del propio fichero y la tienda trabaja siempre en vivo.
  return rutaViva + QLatin1Char('/') + archivo;
}

bool enArchivo(const AjustesTerminal& at) {
  return at.ConexionVentas && fuenteConocida(at.FuenteVentasViva) &&
         !mismaBase(at.ConexionVentas->fuente(), at.FuenteVentasViva);
}

void SeleccionarEjercicio(AjustesTerminal& at, const QDate& desde, const QDate& hasta,
                          sistema::Notificador& notificador) {
  if (!at.ConexionVentas) return;
  // Sin la fuente en vivo apuntada, la conexión de ahora es la viva: nada la
  // ha cambiado todavía por un archivo.
  if (!fuenteConocida(at.FuenteVentasViva)) at.FuenteVentasViva = at.ConexionVentas->fuente();
  // Un archivo que quedó puesto porque la vuelta anterior falló no vale para
  // otro rango; además la existencia se pregunta a la base en vivo.
  RestaurarEjercicio(at);
  if (!desde.isValid()) return;

  // Sólo cuenta el año en que empieza el rango.
  const int anio = desde.year();
  const std::optional<datos::FuenteDatos> archivo = fuenteArchivo(at, anio);
  if (!archivo || !existeArchivo(at, *archivo)) return;
  if (hasta.year() != anio) {
    notificador.mensaje(QStringLiteral("No se pueden hacer cronicas entre dos años ya cerrados."), kTitulo,
                        sistema::Icono::Informacion);
    return;
  }
  // Se abre antes de soltar la conexión en vivo: si el archivo está dañado el
  // error llega al usuario y el puesto sigue trabajando con la viva.
  std::unique_ptr<datos::Conexion> conexion = datos::Conexion::abrir(*archivo);
  at.ConexionVentas = std::move(conexion);
}

void RestaurarEjercicio(AjustesTerminal& at) {
  if (!enArchivo(at)) return;
  std::unique_ptr<datos::Conexion> viva = datos::Conexion::abrir(at.FuenteVentasViva);
  at.ConexionVentas = std::move(viva);
}

EjercicioElegido::EjercicioElegido(AjustesTerminal& at, const QDate& desde, const QDate& hasta,
                                   sistema::Notificador& notificador)
    : at_(at), notificador_(notificador) {
  SeleccionarEjercicio(at_, desde, hasta, notificador_);
}

EjercicioElegido::~EjercicioElegido() {
  // Si la base en vivo no se puede abrir (el servidor se ha caído, el fichero
  // se ha movido) se avisa y se deja el archivo puesto en vez de dejar el
  // puesto sin conexión: enArchivo sigue siendo verdadero y la siguiente
  // selección o vuelta lo vuelve a intentar. Lanzar desde aquí taparía la
  // excepción con la que quizá se está saliendo del informe.
  try {
    RestaurarEjercicio(at_);
  } catch (const sistema::Error& e) {
    avisarSinLanzar(notificador_, e.mensaje());
  } catch (const std::exception& e) {
    avisarSinLanzar(notificador_, QString::fromLocal8Bit(e.what()));
  } catch (...) {
    avisarSinLanzar(notificador_, QStringLiteral("No se puede volver a la base de datos en vivo."));
  }
}

}  // namespace ejercicios
