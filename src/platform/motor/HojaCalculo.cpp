#include "platform/motor/HojaCalculo.h"

#include "platform/datos/Datos.h"
#include "platform/motor/Pintor.h"
#include "platform/sistema/FicheroSalida.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMap>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

namespace motor {

namespace {

struct Columna {
  double x0, x1;
};

// Qué elementos van en qué celda de cada línea de una banda, con sus formatos
// ya creados: se calcula una vez por banda y se usa en cada una de sus filas.
struct ElementoHoja {
  const Elemento* e;
  // Formatos del valor como número o fecha y como texto; se crean al usarlos.
  lxw_format* numero = nullptr;
  lxw_format* texto = nullptr;
  bool conNumero = false, conTexto = false;
};
struct CeldaHoja {
  lxw_col_t columna;
  std::vector<ElementoHoja> elementos;  // de izquierda a derecha
};
using LineaHoja = std::vector<CeldaHoja>;  // celdas por columna
using PlanBanda = std::vector<LineaHoja>;

bool vaALaHoja(const Elemento& e) {
  if (!e.enHoja) return false;
  return e.tipo != TipoElemento::Linea && e.tipo != TipoElemento::Caja && e.tipo != TipoElemento::Pagina;
}

// Caracteres que caben en una celda de la hoja, y lo que se pone al final de
// un texto cortado para que se vea que no está entero.
constexpr qsizetype kMaximoCelda = 32767;  // el del formato; la biblioteca lo comprueba y no lo exporta
const QString kMarcaRecorte = QStringLiteral("… [recortado]");

// Lo que hubo que cambiar para que la hoja se pudiera escribir.
struct Problemas {
  int recortadas = 0;
  int conNulo = 0;
  QString fallo;  // el primero que dio la biblioteca
};

class Hoja {
 public:
  Hoja(const Informe& inf, lxw_workbook* libro, Problemas& problemas)
      : inf_(inf), p_(inf.plantilla()), libro_(libro), problemas_(problemas) {
    columnas();
    QString nombre = p_.titulo.isEmpty() ? QStringLiteral("Informe") : p_.titulo;
    for (QChar c : {'[', ']', ':', '*', '?', '/', '\\'}) nombre.remove(c);
    nombre = nombre.left(31).trimmed();
    if (nombre.isEmpty()) nombre = QStringLiteral("Informe");
    nombreHoja_ = nombre.toUtf8();
    hoja_ = workbook_add_worksheet(libro_, nombreHoja_.constData());
  }

  void escribir() {
    // Anchos de columna según lo que mide cada columna del detalle en papel.
    for (std::size_t c = 0; c < columnas_.size(); ++c) {
      const double mm = columnas_[c].x1 - columnas_[c].x0;
      worksheet_set_column(hoja_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), std::max(6.0, mm / 1.9),
                           nullptr);
    }
    const auto& instancias = inf_.instancias();
    std::size_t k = 0;
    // La cabecera del informe y una sola vez la de página: el nombre del
    // negocio, el título y los rótulos de las columnas.
    if (k < instancias.size() && instancias[k].banda->tipo == TipoBanda::CabeceraInforme) {
      if (!inf_.suprimida(instancias[k])) banda(instancias[k]);
      ++k;
    }
    if (p_.cabeceraPagina.presente()) {
      banda({&p_.cabeceraPagina, inf_.numFilas() > 0 ? 0 : -1, -1});
      if (fila_ > 0) worksheet_freeze_panes(hoja_, fila_, 0);
    }
    for (; k < instancias.size(); ++k)
      if (!inf_.suprimida(instancias[k])) banda(instancias[k]);
  }

 private:
  void columnas() {
    std::vector<Columna> c;
    for (const Elemento& e : p_.detalle.elementos)
      if (vaALaHoja(e)) c.push_back({e.x, e.x + e.ancho});
    std::sort(c.begin(), c.end(), [](const Columna& a, const Columna& b) { return a.x0 < b.x0; });
    for (const Columna& x : c) {
      if (!columnas_.empty() && x.x0 < columnas_.back().x1 - 0.5) {
        columnas_.back().x1 = std::max(columnas_.back().x1, x.x1);  // se solapan: una sola columna
      } else {
        columnas_.push_back(x);
      }
    }
    if (columnas_.empty()) columnas_.push_back({0, p_.papel.ancho});
  }

  // La columna de un elemento es la del detalle donde cae su punto de
  // anclaje: el borde izquierdo de lo que se alinea a la izquierda, el
  // derecho de lo que va a la derecha (los totales bajo su columna) y el
  // centro de lo centrado. Si no cae en ninguna, la más cercana.
  int columnaDe(const Elemento& e) const {
    double ancla = e.x;
    if (e.alineacion & Qt::AlignRight)
      ancla = e.x + e.ancho;
    else if (e.alineacion & Qt::AlignHCenter)
      ancla = e.x + e.ancho / 2;
    int mejor = 0;
    double distancia = 1e18, bordeMejor = 1e18;
    for (std::size_t c = 0; c < columnas_.size(); ++c) {
      const double d = ancla < columnas_[c].x0   ? columnas_[c].x0 - ancla
                       : ancla > columnas_[c].x1 ? ancla - columnas_[c].x1
                                                 : 0.0;
      // A igual distancia (un borde compartido) gana la columna cuyo borde
      // del mismo lado coincide con el del elemento.
      const double borde =
          (e.alineacion & Qt::AlignRight) ? std::abs(columnas_[c].x1 - ancla) : std::abs(columnas_[c].x0 - ancla);
      if (d < distancia - 1e-9 || (std::abs(d - distancia) <= 1e-9 && borde < bordeMejor)) {
        distancia = d;
        mejor = static_cast<int>(c);
        bordeMejor = borde;
      }
    }
    return mejor;
  }

  // Las líneas de una banda: los elementos que se solapan en vertical van en
  // la misma fila de la hoja, cada uno en la columna de su ancla; varios en
  // la misma celda se juntan como texto, de izquierda a derecha.
  PlanBanda& plan(const Banda& b) {
    auto it = planes_.find(&b);
    if (it != planes_.end()) return it->second;
    std::vector<const Elemento*> es;
    for (const Elemento& e : b.elementos)
      if (vaALaHoja(e)) es.push_back(&e);
    std::stable_sort(es.begin(), es.end(), [](const Elemento* a, const Elemento* c) { return a->y < c->y; });
    std::vector<std::vector<const Elemento*>> lineas;
    double arriba = -1, alto = 0;
    for (const Elemento* e : es) {
      if (lineas.empty() || e->y >= arriba + alto * 0.6) {
        lineas.emplace_back();
        arriba = e->y;
        alto = std::max(e->alto, 0.1);
      }
      lineas.back().push_back(e);
    }
    PlanBanda plan;
    for (auto& linea : lineas) {
      std::stable_sort(linea.begin(), linea.end(), [](const Elemento* a, const Elemento* c) { return a->x < c->x; });
      std::map<int, std::vector<ElementoHoja>> celdas;
      for (const Elemento* e : linea) celdas[columnaDe(*e)].push_back({e});
      LineaHoja l;
      for (auto& [columna, elementos] : celdas) l.push_back({static_cast<lxw_col_t>(columna), std::move(elementos)});
      plan.push_back(std::move(l));
    }
    return planes_.emplace(&b, std::move(plan)).first->second;
  }

  lxw_format* formato(const Elemento& e, bool numero) {
    const bool fecha = e.formato == Formato::Fecha || e.formato == Formato::Hora || e.formato == Formato::FechaHora;
    QString num;
    if (numero) {
      if (fecha) {
        num = e.formato == Formato::Fecha  ? QStringLiteral("dd/mm/yyyy")
              : e.formato == Formato::Hora ? QStringLiteral("hh:mm")
                                           : QStringLiteral("dd/mm/yyyy hh:mm");
      } else {
        const int d = e.formato == Formato::Entero ? 0 : e.decimales;
        num = (e.miles ? QStringLiteral("#,##0") : QStringLiteral("0")) +
              (d > 0 ? QStringLiteral(".") + QString(d, QLatin1Char('0')) : QString());
      }
    }
    // Sin nada que lo distinga es el formato por defecto de la hoja: se
    // escribe sin formato, que es lo mismo y la biblioteca no tiene que
    // buscarlo entre los suyos en cada celda.
    if (num.isEmpty() && !e.estilo.negrita) return nullptr;
    const QString clave = num + (e.estilo.negrita ? QStringLiteral("|n") : QStringLiteral("|"));
    auto it = formatos_.find(clave);
    if (it != formatos_.end()) return it.value();
    lxw_format* f = workbook_add_format(libro_);
    if (!num.isEmpty()) format_set_num_format(f, num.toUtf8().constData());
    if (e.estilo.negrita) format_set_bold(f);
    formatos_.insert(clave, f);
    return f;
  }

  lxw_format* formatoNumero(ElementoHoja& e) {
    if (!e.conNumero) e.numero = formato(*e.e, true);
    e.conNumero = true;
    return e.numero;
  }
  lxw_format* formatoTexto(ElementoHoja& e) {
    if (!e.conTexto) e.texto = formato(*e.e, false);
    e.conTexto = true;
    return e.texto;
  }

  void texto(lxw_col_t columna, QString t, lxw_format* f) {
    // La biblioteca recibe el texto como cadena de C: un carácter nulo lo
    // cortaría ahí sin decir nada. Va uno que se ve en su lugar.
    if (t.contains(QChar(0))) {
      t.replace(QChar(0), QChar(QChar::ReplacementCharacter));
      ++problemas_.conNulo;
    }
    // Una celda con más de lo que admite el formato la biblioteca la deja
    // vacía: se corta en el límite y se dice con una marca al final.
    if (t.size() > kMaximoCelda) {
      qsizetype corte = kMaximoCelda - kMarcaRecorte.size();
      if (t.at(corte - 1).isHighSurrogate()) --corte;
      t = t.left(corte) + kMarcaRecorte;
      ++problemas_.recortadas;
    }
    const QByteArray b = t.toUtf8();
    const lxw_error e = worksheet_write_string(hoja_, fila_, columna, b.constData(), f);
    if (e != LXW_NO_ERROR && problemas_.fallo.isEmpty()) problemas_.fallo = QString::fromUtf8(lxw_strerror(e));
  }

  void banda(const Informe::Instancia& i) {
    for (LineaHoja& linea : plan(*i.banda)) {
      bool algo = false;
      for (CeldaHoja& c : linea) {
        if (c.elementos.size() == 1 && celda(c.columna, c.elementos.front(), i)) {
          algo = true;
          continue;
        }
        QStringList partes;
        for (const ElementoHoja& e : c.elementos) {
          const QString t = inf_.texto(*e.e, inf_.valor(*e.e, i));
          if (!t.isEmpty()) partes << t;
        }
        if (partes.isEmpty()) continue;
        texto(c.columna, partes.join(QLatin1Char(' ')), formatoTexto(c.elementos.front()));
        algo = true;
      }
      if (algo || i.banda->tipo != TipoBanda::Detalle) ++fila_;
    }
  }

  // Escribe un valor con su tipo; devuelve falso si no había nada.
  bool celda(lxw_col_t col, ElementoHoja& eh, const Informe::Instancia& i) {
    const Elemento& e = *eh.e;
    const QVariant v = inf_.valor(e, i);
    const bool numero = e.formato == Formato::Numero || e.formato == Formato::Entero;
    // Con prefijo o sufijo el valor es un rótulo ("Fecha: …", "12 productos")
    // y va como texto; sin ellos, como número o fecha de la hoja.
    const bool rotulo = !e.prefijo.isEmpty() || !e.sufijo.isEmpty();
    if (e.tipo != TipoElemento::Texto && e.tipo != TipoElemento::Barras && !v.isNull() && !rotulo) {
      if (numero) {
        bool ok = false;
        double d = v.toDouble(&ok);
        if (!ok) d = inf_.entorno().regional.toDouble(v.toString(), &ok);
        if (ok) {
          if (e.ocultarCero && std::abs(d) < 0.5 * std::pow(10.0, -e.decimales)) return false;
          worksheet_write_number(hoja_, fila_, col, d, formatoNumero(eh));
          return true;
        }
      } else if (e.formato != Formato::Texto) {
        const QDateTime f = datos::aFechaHora(v);
        if (f.isValid()) {
          // Una hora es la fracción del día; una fecha, los días desde el
          // 30/12/1899 con la hora como fracción. Antes de marzo de 1900 la
          // hoja cuenta un 29 de febrero que no existió: esas fechas van como
          // texto.
          const double hora = f.time().msecsSinceStartOfDay() / 86400000.0;
          if (e.formato == Formato::Hora) {
            worksheet_write_number(hoja_, fila_, col, hora, formatoNumero(eh));
            return true;
          }
          if (f.date() >= QDate(1900, 3, 1)) {
            worksheet_write_number(hoja_, fila_, col, static_cast<double>(kDiaCero.daysTo(f.date())) + hora,
                                   formatoNumero(eh));
            return true;
          }
        }
      }
    }
    const QString t = e.tipo == TipoElemento::Barras ? v.toString().trimmed() : inf_.texto(e, v);
    if (t.isEmpty()) return false;
    texto(col, t, formatoTexto(eh));
    return true;
  }

  static inline const QDate kDiaCero{1899, 12, 30};

  const Informe& inf_;
  const Plantilla& p_;
  lxw_workbook* libro_;
  Problemas& problemas_;
  lxw_worksheet* hoja_ = nullptr;
  QByteArray nombreHoja_;
  std::vector<Columna> columnas_;
  std::unordered_map<const Banda*, PlanBanda> planes_;
  QMap<QString, lxw_format*> formatos_;
  lxw_row_t fila_ = 0;
};

}  // namespace

QStringList GuardarXlsx(const Informe& informe, const QString& ruta) {
  const auto fallo = [&](const QString& porque) {
    return ErrorSalida(
        QStringLiteral("No se puede escribir la hoja de cálculo %1: %2.").arg(QDir::toNativeSeparators(ruta), porque));
  };
  // Primero el destino: si no se puede escribir, no se hace la hoja.
  sistema::FicheroSalida destino(ruta);
  if (!destino.abrir()) throw fallo(destino.error());

  // La biblioteca escribe en un fichero por su nombre; la hoja se hace en
  // uno temporal y se copia al destino, que decide cómo queda.
  const sistema::CarpetaTemporal temporal;
  if (!temporal.valida()) throw fallo(temporal.error());
  const QString hecha = temporal.ruta(QStringLiteral("hoja.xlsx"));
  const QByteArray nombre = QFile::encodeName(hecha);
  const QByteArray carpetaTemporal = QFile::encodeName(temporal.ruta());
  // Fila a fila: la hoja de un año entero no se guarda en memoria antes de
  // escribirla, y los textos van en su celda en vez de en la tabla compartida.
  lxw_workbook_options opciones{};
  opciones.constant_memory = LXW_TRUE;
  opciones.tmpdir = const_cast<char*>(carpetaTemporal.constData());
  lxw_workbook* libro = workbook_new_opt(nombre.constData(), &opciones);
  if (!libro)
    throw ErrorSalida(QStringLiteral("No se puede crear la hoja de cálculo %1.").arg(QDir::toNativeSeparators(ruta)));
  QByteArray titulo = informe.plantilla().titulo.toUtf8();
  QByteArray autor("Cronicas");
  lxw_doc_properties propiedades{};
  propiedades.title = titulo.data();
  propiedades.author = autor.data();
  workbook_set_properties(libro, &propiedades);
  Problemas problemas;
  Hoja(informe, libro, problemas).escribir();
  const lxw_error error = workbook_close(libro);
  if (error != LXW_NO_ERROR) throw fallo(QString::fromUtf8(lxw_strerror(error)));
  QStringList avisos;
  const QString hoja = QDir::toNativeSeparators(ruta);
  const auto cuantos = [](int n) { return n == 1 ? QStringLiteral("un texto") : QStringLiteral("%1 textos").arg(n); };
  if (problemas.recortadas > 0)
    avisos << QStringLiteral(
                  "En la hoja de cálculo %1, %2 con más de %3 caracteres, lo que cabe en una celda: "
                  "se han cortado ahí y acaban en «%4».")
                  .arg(hoja, cuantos(problemas.recortadas), QLocale(QLocale::Spanish).toString(kMaximoCelda),
                       kMarcaRecorte);
  if (problemas.conNulo > 0)
    avisos << QStringLiteral(
                  "En la hoja de cálculo %1, %2 con el carácter nulo, que una hoja no admite: "
                  "va «%3» en su lugar.")
                  .arg(hoja, cuantos(problemas.conNulo), QString(QChar(QChar::ReplacementCharacter)));
  if (!problemas.fallo.isEmpty())
    avisos << QStringLiteral("En la hoja de cálculo %1 hay celdas que no se pudieron escribir: %2.")
                  .arg(hoja, problemas.fallo);

  QFile leida(hecha);
  if (!leida.open(QIODevice::ReadOnly)) throw fallo(leida.errorString());
  QIODevice& salida = destino.dispositivo();
  while (!leida.atEnd()) {
    const QByteArray trozo = leida.read(1 << 16);
    if (trozo.isEmpty() || salida.write(trozo) != trozo.size()) throw fallo(salida.errorString());
  }
  if (!destino.confirmar()) throw fallo(destino.error());
  return avisos;
}

}  // namespace motor
