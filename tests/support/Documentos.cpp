#include "support/Documentos.h"

#include "builders/Informes.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cerrno>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace prueba {

namespace {

// La salida estándar de un programa; vacía si no termina bien. Sin
// QProcess: el de Qt 6 en Linux lanza el hijo con clone(CLONE_VM |
// CLONE_VFORK), y el hijo, que corre sobre la memoria y el TLS del hilo que
// lo lanza, deja a ThreadSanitizer sin ver la sincronización de ese hilo. Las
// pruebas que leen un PDF y después hacen otro informe veían entonces una
// carrera falsa en el hilo de escritura de Informes. posix_spawn no ejecuta
// nada nuestro en el hijo.
QByteArray ejecutar(const QString& programa, const QStringList& args) {
  std::vector<QByteArray> trozos{programa.toLocal8Bit()};
  for (const QString& a : args) trozos.push_back(a.toLocal8Bit());
  std::vector<char*> argv;
  for (QByteArray& t : trozos) argv.push_back(t.data());
  argv.push_back(nullptr);

  int tubo[2];
  if (pipe(tubo) != 0) return {};
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_adddup2(&acciones, tubo[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&acciones, tubo[0]);
  posix_spawn_file_actions_addclose(&acciones, tubo[1]);
  pid_t hijo = 0;
  const int fallo = posix_spawnp(&hijo, argv[0], &acciones, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acciones);
  close(tubo[1]);
  QByteArray salida;
  if (fallo == 0) {
    char bloque[65536];
    for (ssize_t n; (n = read(tubo[0], bloque, sizeof bloque)) != 0;) {
      if (n > 0)
        salida.append(bloque, n);
      else if (errno != EINTR)
        break;
    }
  }
  close(tubo[0]);
  if (fallo != 0) return {};
  int estado = 0;
  while (waitpid(hijo, &estado, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(estado) && WEXITSTATUS(estado) == 0 ? salida : QByteArray();
}

QByteArray parteZip(const QString& zip, const QString& parte) {
  return ejecutar(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, parte});
}

}  // namespace

QStringList ColumnasInformes() {
  QStringList c;
  for (int i = 0; i < informes::kNumColumnas; ++i) c << informes::NombreColumna(static_cast<informes::Col>(i));
  return c;
}

motor::Entorno EntornoFijo() {
  motor::Entorno e;
  e.momento = QDateTime(QDate(2026, 3, 6), QTime(9, 7, 30));
  return e;
}

QString TextoPdf(const QString& ruta) {
  return QString::fromUtf8(
      ejecutar(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ruta, QStringLiteral("-")}));
}

int PaginasPdf(const QString& ruta) {
  const QString info = QString::fromUtf8(ejecutar(QStringLiteral("pdfinfo"), {ruta}));
  const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QSizeF TamanoPaginaMm(const QString& ruta) {
  const QString info = QString::fromUtf8(ejecutar(QStringLiteral("pdfinfo"), {ruta}));
  const auto m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
  if (!m.hasMatch()) return {};
  constexpr double kMmPorPunto = 25.4 / 72;
  return QSizeF(m.captured(1).toDouble() * kMmPorPunto, m.captured(2).toDouble() * kMmPorPunto);
}

QString LineaCon(const QString& texto, const QString& trozo) {
  for (const QString& l : texto.split(QLatin1Char('\n')))
    if (l.contains(trozo)) return l;
  return {};
}

std::map<QString, Celda> LeerXlsx(const QString& ruta) {
  std::map<QString, Celda> celdas;
  // Textos compartidos.
  QStringList compartidos;
  {
    QXmlStreamReader x(parteZip(ruta, QStringLiteral("xl/sharedStrings.xml")));
    QString actual;
    bool dentro = false;
    while (!x.atEnd()) {
      x.readNext();
      if (x.isStartElement() && x.name() == QLatin1String("si"))
        dentro = true, actual.clear();
      else if (x.isStartElement() && x.name() == QLatin1String("t") && dentro)
        actual += x.readElementText();
      else if (x.isEndElement() && x.name() == QLatin1String("si"))
        dentro = false, compartidos << actual;
    }
  }
  // Estilos: formato de número y negrita de cada índice de estilo.
  std::map<int, QString> formatosPropios;
  std::vector<bool> fuentesNegrita;
  std::vector<std::pair<int, int>> estilos;  // (numFmtId, fontId)
  {
    QXmlStreamReader x(parteZip(ruta, QStringLiteral("xl/styles.xml")));
    bool enFuentes = false, enXfs = false;
    while (!x.atEnd()) {
      x.readNext();
      if (x.isStartElement()) {
        const auto n = x.name();
        if (n == QLatin1String("numFmt"))
          formatosPropios[x.attributes().value(QStringLiteral("numFmtId")).toInt()] =
              x.attributes().value(QStringLiteral("formatCode")).toString();
        else if (n == QLatin1String("fonts"))
          enFuentes = true;
        else if (n == QLatin1String("font") && enFuentes)
          fuentesNegrita.push_back(false);
        else if (n == QLatin1String("b") && enFuentes && !fuentesNegrita.empty())
          fuentesNegrita.back() = true;
        else if (n == QLatin1String("cellXfs"))
          enXfs = true;
        else if (n == QLatin1String("xf") && enXfs)
          estilos.emplace_back(x.attributes().value(QStringLiteral("numFmtId")).toInt(),
                               x.attributes().value(QStringLiteral("fontId")).toInt());
      } else if (x.isEndElement()) {
        if (x.name() == QLatin1String("fonts")) enFuentes = false;
        if (x.name() == QLatin1String("cellXfs")) enXfs = false;
      }
    }
  }
  QXmlStreamReader x(parteZip(ruta, QStringLiteral("xl/worksheets/sheet1.xml")));
  while (!x.atEnd()) {
    x.readNext();
    if (!x.isStartElement() || x.name() != QLatin1String("c")) continue;
    const QString ref = x.attributes().value(QStringLiteral("r")).toString();
    const QString tipo = x.attributes().value(QStringLiteral("t")).toString();
    const int estilo = x.attributes().value(QStringLiteral("s")).toInt();
    Celda c;
    if (estilo > 0 && estilo < static_cast<int>(estilos.size())) {
      const auto [fmt, fuente] = estilos[static_cast<std::size_t>(estilo)];
      c.formato = formatosPropios.count(fmt) ? formatosPropios[fmt] : QString();
      c.negrita = fuente >= 0 && fuente < static_cast<int>(fuentesNegrita.size()) &&
                  fuentesNegrita[static_cast<std::size_t>(fuente)];
    }
    while (!(x.isEndElement() && x.name() == QLatin1String("c")) && !x.atEnd()) {
      x.readNext();
      if (x.isStartElement() && x.name() == QLatin1String("t") && tipo == QLatin1String("inlineStr")) {
        c.texto += x.readElementText();
      } else if (x.isStartElement() && x.name() == QLatin1String("v")) {
        const QString v = x.readElementText();
        if (tipo == QLatin1String("s")) {
          c.texto = compartidos.value(v.toInt());
        } else {
          c.numero = true;
          c.texto = v;
          c.valor = v.toDouble();
        }
      }
    }
    celdas[ref] = c;
  }
  return celdas;
}

QString BuscarCelda(const std::map<QString, Celda>& celdas, const QString& texto) {
  for (const auto& [ref, c] : celdas)
    if (!c.numero && c.texto == texto) return ref;
  return {};
}

namespace {
// "AB12" -> (28, 12).
std::pair<int, int> Posicion(const QString& ref) {
  int columna = 0, i = 0;
  for (; i < ref.size() && ref[i].isLetter(); ++i) columna = columna * 26 + (ref[i].unicode() - 'A' + 1);
  return {columna, ref.mid(i).toInt()};
}
}  // namespace

std::optional<double> NumeroEnCruce(const std::map<QString, Celda>& celdas, const QString& rotuloFila,
                                    const QString& rotuloColumna) {
  const QString fila = BuscarCelda(celdas, rotuloFila);
  const QString columna = BuscarCelda(celdas, rotuloColumna);
  if (fila.isEmpty() || columna.isEmpty()) return std::nullopt;
  const int f = Posicion(fila).second, c = Posicion(columna).first;
  for (const auto& [ref, celda] : celdas)
    if (celda.numero && Posicion(ref) == std::make_pair(c, f)) return celda.valor;
  return std::nullopt;
}

std::optional<double> NumeroTrasRotulo(const std::map<QString, Celda>& celdas, const QString& rotulo) {
  const QString donde = BuscarCelda(celdas, rotulo);
  if (donde.isEmpty()) return std::nullopt;
  const auto [c0, f] = Posicion(donde);
  std::optional<std::pair<int, double>> primero;
  for (const auto& [ref, celda] : celdas) {
    const auto [c, fila] = Posicion(ref);
    if (celda.numero && fila == f && c > c0 && (!primero || c < primero->first)) primero = {{c, celda.valor}};
  }
  if (!primero) return std::nullopt;
  return primero->second;
}

}  // namespace prueba
