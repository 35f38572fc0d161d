#include "platform/ajustes/AlmacenAjustes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ajustes {

namespace {

const QString kSuite = QStringLiteral("Velarix");
const QString kFuentes = QStringLiteral("fuentes");
const QString kEquipo = QStringLiteral("equipo/identificador");

QString carpetaDatosPorDefecto() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
      .filePath(QStringLiteral("velarix"));
}

// "correo/servidor_gmail" es la clave servidor_gmail de [correo]; una clave
// sin sección es de [General].
std::pair<QString, QString> partir(const QString& clave) {
  const qsizetype barra = clave.lastIndexOf(QLatin1Char('/'));
  if (barra < 0) return {QStringLiteral("General"), clave};
  return {clave.left(barra), clave.mid(barra + 1)};
}

// El fichero nuevo queda con el dueño y los permisos del que sustituye: lo
// comparten programas que quizá corren con otro usuario.
void conservarDuenoYPermisos([[maybe_unused]] int descriptor, [[maybe_unused]] const QString& original) {
#ifdef Q_OS_UNIX
  struct stat st {};
  if (::stat(QFile::encodeName(original).constData(), &st) != 0) return;
  // Sin privilegios el cambio de dueño puede no estar permitido; entonces el
  // fichero queda del usuario que lo escribe, como con cualquier editor.
  if (::fchown(descriptor, st.st_uid, st.st_gid) != 0) {
  }
  if (::fchmod(descriptor, st.st_mode & 07777) != 0) {
  }
#endif
}

}  // namespace

QString AlmacenAjustes::ficheroPorDefecto() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
      .filePath(QStringLiteral("velarix/ajustes.ini"));
}

AlmacenAjustes::AlmacenAjustes(const QString& fichero, Avisador avisador)
    : fichero_(QFileInfo(fichero).absoluteFilePath()), avisador_(std::move(avisador)) {
  const QFileInfo info(fichero_);
  const bool nuevo = !info.exists();
  if (!nuevo && !info.isFile())
    throw ErrorAjustes(QStringLiteral("El fichero de ajustes %1 no es un fichero.").arg(fichero_));
  if (nuevo && !QDir().mkpath(info.absolutePath()))
    throw ErrorAjustes(
        QStringLiteral("No se puede crear la carpeta %1 para el fichero de ajustes.").arg(info.absolutePath()));

  if (nuevo) {
    const QString datos = carpetaDatosPorDefecto();
    ini_.fijar(kFuentes, QStringLiteral("hosteleria"),
               QStringLiteral("sqlite:") + QDir(datos).filePath(QStringLiteral("hosteleria.db")));
    ini_.fijar(kFuentes, QStringLiteral("Informes"),
               QStringLiteral("sqlite:") + QDir(datos).filePath(QStringLiteral("informes.db")));
    ini_.fijar(QStringLiteral("salida"), QStringLiteral("carpeta"), QDir(datos).filePath(QStringLiteral("salida")));
    ini_.fijar(kSuite, QStringLiteral("Programa"), QStringLiteral("RESTAURANTE|"));
    ini_.fijar(kSuite, QStringLiteral("color"),
               QStringLiteral("&HFFFFFF|&H834530|&HC67B62|&HD3CBC2|&HE2CAAB|&HD3CB8B|&HFFFFFF|AZUL|"));
    if (const auto error = guardar(ini_.bytes()))
      avisar(QStringLiteral("No se pudo crear el fichero de ajustes %1: %2. Se usan los valores por defecto "
                            "mientras el programa siga abierto.")
                 .arg(QDir::toNativeSeparators(fichero_), *error));
  } else {
    QFile f(fichero_);
    if (!f.open(QIODevice::ReadOnly))
      throw ErrorAjustes(QStringLiteral("No se puede leer el fichero de ajustes %1.").arg(fichero_));
    ini_ = FicheroIni(f.readAll());
  }
  comprobar();
}

QString AlmacenAjustes::carpeta() const {
  return QFileInfo(fichero_).absolutePath();
}

void AlmacenAjustes::avisar(const QString& aviso) {
  avisos_ << aviso;
  if (avisador_) avisador_(aviso);
}

std::optional<QString> AlmacenAjustes::guardar(const QByteArray& contenido) const {
  const QFileInfo info(fichero_);
  const bool existe = info.exists();
  // Un fichero sin ningún permiso de escritura lo ha protegido alguien a
  // propósito: se respeta también cuando el sistema dejaría sustituirlo.
  constexpr auto kEscritura = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  if (existe && (!(info.permissions() & kEscritura) || !info.isWritable()))
    return QStringLiteral("el fichero es de sólo lectura");

  // Se escribe un temporal junto al fichero y se pone en su sitio de una vez:
  // quien lo lea a la vez ve el fichero de antes o el de después, nunca medio.
  // Si la ruta es un enlace, se sustituye el fichero al que apunta.
  QSaveFile f(fichero_);
  if (!f.open(QIODevice::WriteOnly)) {
    const QString destino = existe ? info.canonicalFilePath() : fichero_;
    return QStringLiteral("no se puede crear un fichero temporal en la carpeta %1 (%2)")
        .arg(QDir::toNativeSeparators(QFileInfo(destino).absolutePath()), f.errorString());
  }
  if (existe) conservarDuenoYPermisos(f.handle(), info.canonicalFilePath());
  if (f.write(contenido) != contenido.size() || !f.commit())
    return QStringLiteral("no se pudo escribir (%1)").arg(f.errorString());
  return std::nullopt;
}

void AlmacenAjustes::escribir(const QString& clave, const QString& valor) {
  const auto [seccion, nombre] = partir(clave);
  // Un nombre o un valor que no cabe en el fichero se rechaza antes de tocar
  // nada.
  FicheroIni(ini_).fijar(seccion, nombre, valor);
  pendientes_.emplace_back(seccion, nombre, valor);

  // Otro programa de la suite puede haber cambiado el fichero desde que se
  // leyó: el cambio se hace sobre lo que tiene ahora.
  // Si alguien lo borró, se vuelve a escribir entero con lo que se sabe; si
  // ya no se deja leer, no se escribe a ciegas encima.
  QFile f(fichero_);
  const bool existe = f.exists();
  const bool leido = existe && f.open(QIODevice::ReadOnly);
  FicheroIni actual = leido ? FicheroIni(f.readAll()) : ini_;
  f.close();
  bool cambia = !existe;
  for (const auto& [s, n, v] : pendientes_) cambia = actual.fijar(s, n, v) || cambia;
  ini_ = std::move(actual);
  if (!cambia) {
    pendientes_.clear();
    return;
  }
  const auto error =
      existe && !leido ? std::optional<QString>(QStringLiteral("ya no se puede leer")) : guardar(ini_.bytes());
  if (error) {
    avisar(QStringLiteral("No se pudo guardar «%1» en el fichero de ajustes %2: %3. El valor nuevo sólo vale "
                          "mientras el programa siga abierto.")
               .arg(clave, QDir::toNativeSeparators(fichero_), *error));
    return;
  }
  pendientes_.clear();
}

std::optional<QString> AlmacenAjustes::leer(const QString& clave) const {
  const auto [seccion, nombre] = partir(clave);
  return ini_.valor(seccion, nombre);
}

void AlmacenAjustes::comprobar() const {
  for (const QString& clave : ini_.claves(kFuentes)) {
    try {
      datos::FuenteDatos::interpretar(clave, ini_.valor(kFuentes, clave).value_or(QString()), carpeta());
    } catch (const datos::ErrorDatos& e) {
      throw ErrorAjustes(
          QStringLiteral("Ajuste «%1/%2» del fichero %3: %4").arg(kFuentes, clave, fichero_, e.mensaje()));
    }
  }
  const QString id = identificadorEquipo();
  for (const QChar c : id)
    if (!c.isDigit())
      throw ErrorAjustes(QStringLiteral("Ajuste «%1» del fichero %2: \"%3\" no es un número de puesto (sólo cifras).")
                             .arg(kEquipo, fichero_, id));
}

QString AlmacenAjustes::leerCampo(const QString& clave, int n) const {
  if (n < 1) return {};
  const QStringList campos = leerLista(clave).split(QLatin1Char('|'));
  return n <= campos.size() ? campos.at(n - 1) : QString();
}

QString AlmacenAjustes::leerLista(const QString& clave) const {
  return ini_.valor(kSuite, clave).value_or(QString());
}

void AlmacenAjustes::guardarLista(const QString& clave, const QString& lista) {
  escribir(kSuite + QLatin1Char('/') + clave, lista);
}

datos::FuenteDatos AlmacenAjustes::fuente(const QString& nombre) const {
  // El nombre de la fuente no distingue mayúsculas, como en ODBC; los
  // mensajes lo nombran como está escrito en el fichero.
  QString clave;
  for (const QString& c : ini_.claves(kFuentes))
    if (c.compare(nombre, Qt::CaseInsensitive) == 0) clave = c;
  if (clave.isEmpty())
    throw ErrorAjustes(QStringLiteral("El fichero de ajustes %1 no define la fuente de datos «%2» "
                                      "(entrada fuentes/%2).")
                           .arg(fichero_, nombre));
  try {
    return datos::FuenteDatos::interpretar(clave, ini_.valor(kFuentes, clave).value_or(QString()), carpeta());
  } catch (const datos::ErrorDatos& e) {
    throw ErrorAjustes(QStringLiteral("Ajuste «fuentes/%1» del fichero %2: %3").arg(clave, fichero_, e.mensaje()));
  }
}

void AlmacenAjustes::fijarFuente(const QString& nombre, const QString& texto) {
  escribir(kFuentes + QLatin1Char('/') + nombre, texto);
}

QString AlmacenAjustes::identificadorEquipo() const {
  return leer(kEquipo).value_or(QString()).trimmed();
}

void AlmacenAjustes::fijarIdentificadorEquipo(const QString& id) {
  escribir(kEquipo, id);
}

QString AlmacenAjustes::carpetaSalida() const {
  QString c = leer(QStringLiteral("salida/carpeta")).value_or(QString()).trimmed();
  if (c.isEmpty()) c = QStringLiteral("salida");
  if (QFileInfo(c).isRelative()) c = QDir(carpeta()).filePath(c);
  return QDir::cleanPath(c);
}

void AlmacenAjustes::fijarCarpetaSalida(const QString& c) {
  escribir(QStringLiteral("salida/carpeta"), c);
}

QString AlmacenAjustes::carpetaPlantillas() const {
  QString c = leer(QStringLiteral("plantillas/carpeta")).value_or(QString()).trimmed();
  if (!c.isEmpty() && QFileInfo(c).isRelative()) c = QDir(carpeta()).filePath(c);
  return c;
}

QString AlmacenAjustes::valor(const QString& clave, const QString& porDefecto) const {
  return leer(clave).value_or(porDefecto);
}

void AlmacenAjustes::fijarValor(const QString& clave, const QString& v) {
  escribir(clave, v);
}

}  // namespace ajustes
