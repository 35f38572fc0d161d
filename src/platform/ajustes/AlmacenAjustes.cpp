#include "platform/ajustes/AlmacenAjustes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace ajustes {

namespace {

const QString kSuite = QStringLiteral("Velarix/");
const QString kFuentes = QStringLiteral("fuentes/");

QString carpetaDatosPorDefecto() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
      .filePath(QStringLiteral("velarix"));
}

}  // namespace

QString AlmacenAjustes::ficheroPorDefecto() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
      .filePath(QStringLiteral("velarix/ajustes.ini"));
}

AlmacenAjustes::AlmacenAjustes(const QString& fichero) : fichero_(QFileInfo(fichero).absoluteFilePath()) {
  const QFileInfo info(fichero_);
  const bool nuevo = !info.exists();
  if (!nuevo && !info.isFile())
    throw ErrorAjustes(QStringLiteral("El fichero de ajustes %1 no es un fichero.").arg(fichero_));
  if (!nuevo && !info.isReadable())
    throw ErrorAjustes(QStringLiteral("No se puede leer el fichero de ajustes %1.").arg(fichero_));
  if (nuevo && !QDir().mkpath(info.absolutePath()))
    throw ErrorAjustes(
        QStringLiteral("No se puede crear la carpeta %1 para el fichero de ajustes.").arg(info.absolutePath()));

  ini_ = std::make_unique<QSettings>(fichero_, QSettings::IniFormat);
  if (ini_->status() == QSettings::FormatError)
    throw ErrorAjustes(QStringLiteral("El fichero de ajustes %1 está mal formado.").arg(fichero_));
  if (nuevo) {
    escribirValoresPorDefecto();
    sincronizar();
  }
  comprobar();
}

AlmacenAjustes::~AlmacenAjustes() = default;

QString AlmacenAjustes::carpeta() const {
  return QFileInfo(fichero_).absolutePath();
}

void AlmacenAjustes::escribirValoresPorDefecto() {
  const QString datos = carpetaDatosPorDefecto();
  ini_->setValue(kFuentes + QStringLiteral("hosteleria"),
                 QStringLiteral("sqlite:") + QDir(datos).filePath(QStringLiteral("hosteleria.db")));
  ini_->setValue(kFuentes + QStringLiteral("Informes"),
                 QStringLiteral("sqlite:") + QDir(datos).filePath(QStringLiteral("informes.db")));
  ini_->setValue(kSuite + QStringLiteral("Programa"), QStringLiteral("RESTAURANTE|"));
  ini_->setValue(kSuite + QStringLiteral("color"),
                 QStringLiteral("&HFFFFFF|&H834530|&HC67B62|&HD3CBC2|&HE2CAAB|&HD3CB8B|&HFFFFFF|AZUL|"));
  ini_->setValue(QStringLiteral("salida/carpeta"), QDir(datos).filePath(QStringLiteral("salida")));
}

void AlmacenAjustes::sincronizar() {
  ini_->sync();
  if (ini_->status() == QSettings::AccessError)
    throw ErrorAjustes(QStringLiteral("No se puede escribir el fichero de ajustes %1.").arg(fichero_));
}

QString AlmacenAjustes::leerTexto(const QString& clave) const {
  const QVariant v = ini_->value(clave);
  if (v.typeId() == QMetaType::QStringList) {
    // QSettings parte en lista los valores INI con comas sin comillas y se
    // come los blancos que rodean cada coma: "Bar Pepe, S.L." llegaría como
    // "Bar Pepe,S.L.". Esas listas las escribe a mano otro programa de la
    // suite o el encargado, así que vale la línea tal como está en el fichero.
    const QString crudo = valorEscrito(clave);
    return crudo.isNull() ? v.toStringList().join(QLatin1Char(',')) : crudo;
  }
  return v.toString();
}

QString AlmacenAjustes::valorEscrito(const QString& clave) const {
  const int barra = clave.lastIndexOf(QLatin1Char('/'));
  const QString grupo = barra < 0 ? QStringLiteral("General") : clave.left(barra);
  const QString nombre = clave.mid(barra + 1);
  QFile f(fichero_);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QString grupoActual = QStringLiteral("General");
  QString encontrado;
  while (!f.atEnd()) {
    const QString linea = QString::fromUtf8(f.readLine()).trimmed();
    if (linea.startsWith(QLatin1Char('[')) && linea.endsWith(QLatin1Char(']'))) {
      grupoActual = linea.mid(1, linea.size() - 2).trimmed();
      continue;
    }
    const int igual = linea.indexOf(QLatin1Char('='));
    if (igual < 0 || grupoActual != grupo || linea.left(igual).trimmed() != nombre) continue;
    encontrado = linea.mid(igual + 1).trimmed();
  }
  // Con comillas o escapes la lectura de QSettings es la buena.
  if (encontrado.contains(QLatin1Char('"')) || encontrado.contains(QLatin1Char('\\'))) return {};
  return encontrado;
}

void AlmacenAjustes::comprobar() const {
  const QStringList claves = ini_->allKeys();
  for (const QString& clave : claves) {
    if (clave.startsWith(kFuentes)) {
      try {
        datos::FuenteDatos::interpretar(clave.mid(kFuentes.size()), leerTexto(clave), carpeta());
      } catch (const datos::ErrorDatos& e) {
        throw ErrorAjustes(QStringLiteral("Ajuste «%1» del fichero %2: %3").arg(clave, fichero_, e.mensaje()));
      }
    }
  }
  const QString id = leerTexto(QStringLiteral("equipo/identificador")).trimmed();
  if (!id.isEmpty()) {
    for (const QChar c : id)
      if (!c.isDigit())
        throw ErrorAjustes(QStringLiteral("Ajuste «equipo/identificador» del fichero %1: \"%2\" no es un "
                                          "número de puesto (sólo cifras).")
                               .arg(fichero_, id));
  }
}

QString AlmacenAjustes::leerCampo(const QString& clave, int n) const {
  if (n < 1) return {};
  const QStringList campos = leerTexto(kSuite + clave).split(QLatin1Char('|'));
  return n <= campos.size() ? campos.at(n - 1) : QString();
}

QString AlmacenAjustes::leerLista(const QString& clave) const {
  return leerTexto(kSuite + clave);
}

void AlmacenAjustes::guardarLista(const QString& clave, const QString& lista) {
  ini_->setValue(kSuite + clave, lista);
  sincronizar();
}

datos::FuenteDatos AlmacenAjustes::fuente(const QString& nombre) const {
  // El nombre de la fuente no distingue mayúsculas, como en ODBC.
  QString clave;
  ini_->beginGroup(QStringLiteral("fuentes"));
  const QStringList claves = ini_->childKeys();
  ini_->endGroup();
  for (const QString& c : claves)
    if (c.compare(nombre, Qt::CaseInsensitive) == 0) clave = c;
  if (clave.isEmpty())
    throw ErrorAjustes(QStringLiteral("El fichero de ajustes %1 no define la fuente de datos «%2» "
                                      "(entrada fuentes/%2).")
                           .arg(fichero_, nombre));
  try {
    return datos::FuenteDatos::interpretar(clave, leerTexto(kFuentes + clave), carpeta());
  } catch (const datos::ErrorDatos& e) {
    throw ErrorAjustes(QStringLiteral("Ajuste «fuentes/%1» del fichero %2: %3").arg(clave, fichero_, e.mensaje()));
  }
}

void AlmacenAjustes::fijarFuente(const QString& nombre, const QString& texto) {
  ini_->setValue(kFuentes + nombre, texto);
  sincronizar();
}

QString AlmacenAjustes::identificadorEquipo() const {
  return leerTexto(QStringLiteral("equipo/identificador")).trimmed();
}

void AlmacenAjustes::fijarIdentificadorEquipo(const QString& id) {
  ini_->setValue(QStringLiteral("equipo/identificador"), id);
  sincronizar();
}

QString AlmacenAjustes::carpetaSalida() const {
  QString c = leerTexto(QStringLiteral("salida/carpeta")).trimmed();
  if (c.isEmpty()) c = QStringLiteral("salida");
  if (QFileInfo(c).isRelative()) c = QDir(carpeta()).filePath(c);
  return QDir::cleanPath(c);
}

void AlmacenAjustes::fijarCarpetaSalida(const QString& c) {
  ini_->setValue(QStringLiteral("salida/carpeta"), c);
  sincronizar();
}

QString AlmacenAjustes::carpetaPlantillas() const {
  QString c = leerTexto(QStringLiteral("plantillas/carpeta")).trimmed();
  if (!c.isEmpty() && QFileInfo(c).isRelative()) c = QDir(carpeta()).filePath(c);
  return c;
}

QString AlmacenAjustes::valor(const QString& clave, const QString& porDefecto) const {
  return ini_->contains(clave) ? leerTexto(clave) : porDefecto;
}

void AlmacenAjustes::fijarValor(const QString& clave, const QString& v) {
  ini_->setValue(clave, v);
  sincronizar();
}

}  // namespace ajustes
