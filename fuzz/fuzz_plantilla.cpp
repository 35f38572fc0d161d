// Una plantilla cualquiera se lee o se rechaza con ErrorPlantilla, que nombra
// el fichero y la línea; la que se lee se maqueta con unas filas de muestra
// sin reventar ni salirse del papel.

#include "Fuzz.h"
#include "builders/Columnas.h"
#include "platform/motor/Documento.h"
#include "platform/motor/Plantilla.h"

#include <QByteArray>
#include <QDateTime>
#include <QGuiApplication>

#include <cmath>

namespace {

QStringList ColumnasInformes() {
  QStringList c;
  for (int i = 0; i < informes::kNumColumnas; ++i) c << informes::NombreColumna(static_cast<informes::Col>(i));
  return c;
}

// Cuatro filas con lo que un constructor deja: textos en blanco o con acentos,
// días como texto, números negativos o enormes, fechas y Null.
std::vector<motor::Fila> FilasDeMuestra(const motor::Plantilla& p) {
  std::vector<motor::Fila> filas(4, motor::Fila(static_cast<std::size_t>(p.columnas.size())));
  for (int c = 0; c < p.columnasTabla; ++c) {
    const auto col = informes::ColumnaPorNombre(p.columnas.at(c));
    if (!col) continue;
    const auto k = static_cast<std::size_t>(c);
    switch (informes::TipoDe(*col)) {
      case informes::TipoColumna::Texto:
        filas[0][k] = QStringLiteral("Caja 1");
        filas[1][k] = QStringLiteral("01/02/2026");
        filas[2][k] = QStringLiteral("   ");
        break;
      case informes::TipoColumna::Numero:
        filas[0][k] = 1234.5;
        filas[1][k] = -0.005;
        filas[2][k] = 1e15;
        break;
      case informes::TipoColumna::Fecha:
        filas[0][k] = QDateTime(QDate(2026, 2, 1), QTime(13, 5));
        filas[2][k] = QDateTime(QDate(1999, 12, 31), QTime(23, 59));
        break;
      case informes::TipoColumna::Entero:
        filas[0][k] = qint64(7);
        filas[1][k] = qint64(-3);
        filas[2][k] = qint64(4000000000);
        break;
    }
    filas[3][k] = filas[0][k];
  }
  return filas;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Medir textos necesita QGuiApplication, sin pantalla.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char nombre[] = "fuzz_plantilla";
  static char* argv[] = {nombre, nullptr};
  static QGuiApplication app(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
  static const QStringList columnas = ColumnasInformes();
  const QByteArray xml(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
  motor::Plantilla p;
  try {
    p = motor::LeerPlantilla(xml, QStringLiteral("fuzz.xml"), columnas);
  } catch (const motor::ErrorPlantilla& e) {
    FUZZ_EXIGIR(e.mensaje().startsWith(QStringLiteral("La plantilla «fuzz.xml» no se puede usar: línea ")));
    return 0;
  }
  FUZZ_EXIGIR(p.detalle.presente());
  FUZZ_EXIGIR(std::isfinite(p.estilo.tamano) && p.estilo.tamano > 0);
  FUZZ_EXIGIR(p.columnas.size() == p.columnasTabla + static_cast<qsizetype>(p.formulas.size()));

  motor::Entorno entorno;
  entorno.momento = QDateTime(QDate(2026, 3, 6), QTime(9, 7, 30));
  const motor::Informe informe(p, FilasDeMuestra(p), entorno);
  const motor::Documento doc = motor::Maquetar(informe);
  FUZZ_EXIGIR(!doc.paginas.empty());
  for (const motor::PaginaDocumento& pagina : doc.paginas)
    for (const motor::Trazo& t : pagina.trazos) {
      FUZZ_EXIGIR(std::isfinite(t.caja.x()) && std::isfinite(t.caja.y()) && std::isfinite(t.caja.width()) &&
                  std::isfinite(t.caja.height()));
      // Nada a la derecha del papel: la plantilla que lo pide se rechaza.
      FUZZ_EXIGIR(t.caja.right() <= doc.tamano.width() + 0.02);
    }
  return 0;
}
