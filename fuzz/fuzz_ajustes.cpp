// El fichero de ajustes de la suite: cualquier contenido se lee sin perder
// un byte, cambiar una clave sólo toca su línea (o añade las suyas) y abrir
// el almacén sobre él no lo cambia. La primera línea de la entrada dice qué
// cambiar ("sección<TAB>clave<TAB>valor"); el resto es el fichero.

#include "Fuzz.h"
#include "platform/ajustes/AlmacenAjustes.h"
#include "platform/ajustes/FicheroIni.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// `despues` es `antes` con un solo tramo cambiado, y ese tramo no pasa de una
// línea: el valor de la clave que cambia, o nada si las líneas nuevas se
// añadieron enteras. Todo lo demás sigue byte a byte.
bool SoloCambiaUnaLinea(const QByteArray& antes, const QByteArray& despues) {
  const qsizetype menor = std::min(antes.size(), despues.size());
  qsizetype prefijo = 0;
  while (prefijo < menor && antes[prefijo] == despues[prefijo]) ++prefijo;
  qsizetype sufijo = 0;
  while (sufijo < menor - prefijo && antes[antes.size() - 1 - sufijo] == despues[despues.size() - 1 - sufijo]) ++sufijo;
  return !antes.mid(prefijo, antes.size() - prefijo - sufijo).contains('\n');
}

void ProbarFichero(const QString& seccion, const QString& clave, const QString& valor, const QByteArray& contenido) {
  ajustes::FicheroIni ini(contenido);
  FUZZ_EXIGIR(ini.bytes() == contenido);
  const QStringList secciones = {seccion, QStringLiteral("Velarix"), QStringLiteral("fuentes")};
  struct Visto {
    QString seccion, clave, valor;
  };
  QList<Visto> vistos;
  for (const QString& s : secciones)
    for (const QString& k : ini.claves(s)) {
      const auto v = ini.valor(s, k);
      FUZZ_EXIGIR(v.has_value());
      vistos.append({s, k, *v});
    }

  bool cambiado = false;
  try {
    cambiado = ini.fijar(seccion, clave, valor);
  } catch (const ajustes::ErrorAjustes&) {
    FUZZ_EXIGIR(ini.bytes() == contenido);  // lo que no cabe no toca nada
    return;
  }
  if (!cambiado) FUZZ_EXIGIR(ini.bytes() == contenido);
  FUZZ_EXIGIR(ini.valor(seccion, clave) == valor);
  const ajustes::FicheroIni releido(ini.bytes());
  FUZZ_EXIGIR(releido.valor(seccion, clave) == valor);
  FUZZ_EXIGIR(SoloCambiaUnaLinea(contenido, ini.bytes()));
  for (const Visto& v : vistos) {
    if (v.seccion.compare(seccion, Qt::CaseInsensitive) == 0 && v.clave.compare(clave, Qt::CaseInsensitive) == 0)
      continue;
    FUZZ_EXIGIR(releido.valor(v.seccion, v.clave) == v.valor);
  }
}

void ProbarAlmacen(const QByteArray& contenido) {
  static QTemporaryDir carpeta;
  const QString ruta = carpeta.filePath(QStringLiteral("ajustes.ini"));
  {
    QFile f(ruta);
    FUZZ_EXIGIR(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_EXIGIR(f.write(contenido) == contenido.size());
  }
  try {
    const ajustes::AlmacenAjustes almacen(ruta);
    almacen.leerCampo(QStringLiteral("Programa"), 1);
    almacen.leerCampo(QStringLiteral("color"), 8);
    almacen.carpetaPlantillas();
    almacen.carpetaSalida();
    almacen.identificadorEquipo();
    almacen.valor(QStringLiteral("correo/servidor"));
    almacen.fuente(QStringLiteral("hosteleria"));
  } catch (const sistema::Error& e) {
    FUZZ_EXIGIR(!e.mensaje().isEmpty());
  }
  // Leer no escribe nada.
  QFile f(ruta);
  FUZZ_EXIGIR(f.open(QIODevice::ReadOnly));
  FUZZ_EXIGIR(f.readAll() == contenido);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static int argc = 1;
  static char nombre[] = "fuzz_ajustes";
  static char* argv[] = {nombre, nullptr};
  static QCoreApplication app(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
  const QByteArray entrada(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
  const qsizetype salto = entrada.indexOf('\n');
  const QByteArray orden = salto < 0 ? entrada : entrada.left(salto);
  const QByteArray contenido = salto < 0 ? QByteArray() : entrada.mid(salto + 1);
  const QStringList partes = QString::fromUtf8(orden).split(QLatin1Char('\t'));
  ProbarFichero(partes.value(0, QStringLiteral("Velarix")), partes.value(1, QStringLiteral("Programa")),
                partes.value(2), contenido);
  ProbarAlmacen(contenido);
  return 0;
}
