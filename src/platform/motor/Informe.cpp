#include "platform/motor/Informe.h"

#include "platform/datos/Datos.h"
#include "platform/datos/Orden.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <unordered_set>

namespace motor {

namespace {

bool vacio(const QVariant& v) {
  if (v.isNull() || !v.isValid()) return true;
  if (v.typeId() == QMetaType::QString) return v.toString().trimmed().isEmpty();
  return false;
}

}  // namespace

QLocale ConfiguracionRegional(const QString& ajuste, const QLocale& sistema) {
  const QString a = ajuste.trimmed();
  if (!a.isEmpty()) {
    const QLocale l(a);
    if (l.language() != QLocale::C) return l;
  }
  if (sistema.language() != QLocale::C) return sistema;
  return QLocale(QLocale::Spanish, QLocale::Spain);
}

// Los separadores de una configuración regional: pedírselos a QLocale en cada
// número cuesta más que escribirlo.
struct Separadores {
  QString miles, decimal, negativo;
  explicit Separadores(const QLocale& l)
      : miles(l.groupSeparator()), decimal(l.decimalPoint()), negativo(l.negativeSign()) {}
};

namespace {

QString textoNumero(double valor, int decimales, bool miles, const Separadores& s) {
  const QString c = QString::number(valor, 'f', decimales);
  const bool negativo = c.startsWith(QLatin1Char('-'));
  const qsizetype inicio = negativo ? 1 : 0;
  qsizetype punto = c.indexOf(QLatin1Char('.'));
  if (punto < 0) punto = c.size();
  const qsizetype cifras = punto - inicio;
  QString r;
  r.reserve(c.size() + (cifras / 3) * s.miles.size() + s.negativo.size() + s.decimal.size());
  if (negativo) r += s.negativo;
  for (qsizetype i = inicio; i < punto; ++i) {
    const qsizetype quedan = punto - i;
    if (miles && i > inicio && quedan % 3 == 0) r += s.miles;
    r += c.at(i);
  }
  if (punto + 1 < c.size()) {
    r += s.decimal;
    r += QStringView(c).mid(punto + 1);
  }
  return r;
}

void dosCifras(QString& s, int n) {
  s += QLatin1Char(static_cast<char>('0' + n / 10));
  s += QLatin1Char(static_cast<char>('0' + n % 10));
}

// "dd/MM/yyyy" y "hh:mm" sin pasar por el intérprete de formatos de QDate,
// que en un informe de un año se lleva más que el resto del texto.
QString textoDia(const QDate& d) {
  const int anio = d.year();
  if (anio < 1 || anio > 9999) return d.toString(QStringLiteral("dd/MM/yyyy"));
  QString s;
  s.reserve(10);
  dosCifras(s, d.day());
  s += QLatin1Char('/');
  dosCifras(s, d.month());
  s += QLatin1Char('/');
  dosCifras(s, anio / 100);
  dosCifras(s, anio % 100);
  return s;
}

QString textoHoraMinutos(const QTime& h) {
  QString s;
  s.reserve(5);
  dosCifras(s, h.hour());
  s += QLatin1Char(':');
  dosCifras(s, h.minute());
  return s;
}

}  // namespace

// Los separadores son los de la configuración regional, pero los miles se
// agrupan siempre de tres en tres, también en las cifras de cuatro dígitos:
// "1.679,00", como lo escribe la caja y como lo espera el gestor.
QString TextoNumero(double valor, int decimales, bool miles, const QLocale& regional) {
  return textoNumero(valor, decimales, miles, Separadores(regional));
}

namespace {
TablaFilas Tabla(const Plantilla& plantilla, const std::vector<Fila>& filas) {
  TablaFilas t(static_cast<int>(plantilla.columnas.size()));
  for (const Fila& f : filas) t.anadir(f);
  t.terminarCarga();
  return t;
}
}  // namespace

Informe::Informe(const Plantilla& plantilla, std::vector<Fila> filas, Entorno entorno)
    : Informe(plantilla, Tabla(plantilla, filas), std::move(entorno)) {}

Informe::Informe(const Plantilla& plantilla, TablaFilas filas, Entorno entorno)
    : plantilla_(plantilla),
      filas_(std::move(filas)),
      entorno_(std::move(entorno)),
      separadores_(std::make_shared<const Separadores>(entorno_.regional)) {
  if (!entorno_.momento.isValid()) entorno_.momento = QDateTime::currentDateTime();
  calcularFormulas();
  ordenar();
  formarInstancias();
  prepararTotales();
}

void Informe::calcularFormulas() {
  const std::size_t n = filas_.numFilas();
  for (std::size_t k = 0; k < plantilla_.expresiones.size(); ++k) {
    const int columna = plantilla_.columnasTabla + static_cast<int>(k);
    const Expresion& e = *plantilla_.expresiones[k];
    for (std::size_t f = 0; f < n; ++f)
      filas_.cambiarDoble(f, columna, e.evaluarCon([&](int c) { return filas_.numero(f, c); }));
  }
}

int Informe::Clave::comparar(const Clave& o) const {
  if (clase != o.clase) return clase < o.clase ? -1 : 1;
  if (clase == 1) return numero < o.numero ? -1 : (o.numero < numero ? 1 : 0);
  if (clase == 2) return puesto < o.puesto ? -1 : (o.puesto < puesto ? 1 : 0);
  return 0;
}

// Cada valor distinto de la columna se convierte una vez en su clave de
// intercalación; los textos se ordenan entre sí y cada uno queda con su
// puesto, de modo que comparar dos filas es comparar dos números.
std::vector<Informe::Clave> Informe::claves(int columna, bool porFecha) const {
  static const datos::CriterioOrden criterio;
  // Un día escrito "dd/mm/aaaa" se ordena por su número de día; lo que no es
  // un día queda detrás, como texto.
  auto valorClave = [porFecha](const QVariant& v) {
    if (!porFecha || v.isNull()) return v;
    const QDate d = QDate::fromString(v.toString().trimmed(), QStringLiteral("dd/MM/yyyy"));
    return d.isValid() ? QVariant(d.toJulianDay()) : v;
  };
  const std::vector<QVariant>& distintos = filas_.distintos(columna);
  std::vector<Clave> deDistintos(distintos.size());
  std::vector<datos::ClaveOrden> textos;
  std::vector<std::size_t> cuales;
  for (std::size_t i = 0; i < distintos.size(); ++i) {
    datos::ClaveOrden k = criterio.clave(valorClave(distintos[i]));
    if (k.nula()) continue;
    if (k.esNumero()) {
      deDistintos[i].clase = 1;
      deDistintos[i].numero = k.numero();
      continue;
    }
    deDistintos[i].clase = 2;
    cuales.push_back(i);
    textos.push_back(std::move(k));
  }
  std::vector<std::size_t> orden(textos.size());
  for (std::size_t i = 0; i < orden.size(); ++i) orden[i] = i;
  std::sort(orden.begin(), orden.end(),
            [&](std::size_t a, std::size_t b) { return textos[a].comparar(textos[b]) < 0; });
  std::uint32_t puesto = 0;
  for (std::size_t k = 0; k < orden.size(); ++k) {
    if (k > 0 && textos[orden[k - 1]].comparar(textos[orden[k]]) != 0) ++puesto;
    deDistintos[cuales[orden[k]]].puesto = puesto;
  }

  const std::size_t n = filas_.numFilas();
  std::vector<Clave> r(n);
  for (std::size_t f = 0; f < n; ++f) {
    switch (filas_.tipo(f, columna)) {
      case TablaFilas::Tipo::Nulo:
        break;
      case TablaFilas::Tipo::Entero:
      case TablaFilas::Tipo::Doble:
        r[f].clase = 1;
        r[f].numero = filas_.numero(f, columna);
        break;
      case TablaFilas::Tipo::Distinto:
        r[f] = deDistintos[filas_.indice(f, columna)];
        break;
    }
  }
  return r;
}

// Primero los grupos (salvo los que conservan el orden de llegada) y después
// los criterios de la plantilla; a igualdad, el orden en que se escribieron.
void Informe::ordenar() {
  struct Criterio {
    std::vector<Clave> claves;
    bool descendente;
  };
  std::vector<Criterio> criterios;
  if (filas_.numFilas() < 2) return;
  for (const Grupo& g : plantilla_.grupos)
    if (g.orden != Grupo::Orden::Original)
      criterios.push_back({claves(g.columna, g.porFecha), g.orden == Grupo::Orden::Descendente});
  for (const CriterioFilas& c : plantilla_.orden) criterios.push_back({claves(c.columna, false), c.descendente});
  if (criterios.empty()) return;

  std::vector<std::size_t> indices(filas_.numFilas());
  for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = i;
  std::stable_sort(indices.begin(), indices.end(), [&](std::size_t a, std::size_t b) {
    for (const Criterio& c : criterios) {
      const int r = c.claves[a].comparar(c.claves[b]);
      if (r != 0) return c.descendente ? r > 0 : r < 0;
    }
    return false;
  });
  filas_.reordenar(indices);
}

void Informe::formarInstancias() {
  const int n = numFilas();
  const int niveles = static_cast<int>(plantilla_.grupos.size());
  // Para cada fila, el primer nivel de grupo en que cambia respecto de la
  // anterior (`niveles` si no cambia en ninguno).
  std::vector<int> cambia(static_cast<std::size_t>(n), niveles);
  {
    std::map<int, std::vector<Clave>> porColumna;
    for (int g = 0; g < niveles; ++g) {
      const int columna = plantilla_.grupos[static_cast<std::size_t>(g)].columna;
      auto it = porColumna.find(columna);
      if (it == porColumna.end()) it = porColumna.emplace(columna, claves(columna, false)).first;
      const std::vector<Clave>& k = it->second;
      for (std::size_t i = 1; i < static_cast<std::size_t>(n); ++i)
        if (cambia[i] == niveles && k[i - 1].comparar(k[i]) != 0) cambia[i] = g;
    }
  }
  inicio_.assign(static_cast<std::size_t>(niveles), std::vector<int>(static_cast<std::size_t>(n)));
  fin_.assign(static_cast<std::size_t>(niveles), std::vector<int>(static_cast<std::size_t>(n)));
  for (int g = 0; g < niveles; ++g) {
    auto& ini = inicio_[static_cast<std::size_t>(g)];
    auto& fin = fin_[static_cast<std::size_t>(g)];
    for (int i = 0; i < n; ++i)
      ini[static_cast<std::size_t>(i)] =
          (i > 0 && cambia[static_cast<std::size_t>(i)] > g) ? ini[static_cast<std::size_t>(i - 1)] : i;
    for (int i = n - 1; i >= 0; --i)
      fin[static_cast<std::size_t>(i)] =
          (i + 1 < n && ini[static_cast<std::size_t>(i + 1)] == ini[static_cast<std::size_t>(i)])
              ? fin[static_cast<std::size_t>(i + 1)]
              : i;
  }

  instancias_.clear();
  instancias_.reserve(static_cast<std::size_t>(n) * 2 + 4);
  const Plantilla& p = plantilla_;
  if (p.cabeceraInforme.presente()) instancias_.push_back({&p.cabeceraInforme, n > 0 ? 0 : -1, -1});
  for (int i = 0; i < n; ++i) {
    for (int g = 0; g < niveles; ++g) {
      const Grupo& grupo = p.grupos[static_cast<std::size_t>(g)];
      if (inicio_[static_cast<std::size_t>(g)][static_cast<std::size_t>(i)] == i && grupo.cabecera.presente())
        instancias_.push_back({&grupo.cabecera, i, g});
    }
    if (p.detalle.presente()) instancias_.push_back({&p.detalle, i, -1});
    for (int g = niveles - 1; g >= 0; --g) {
      const Grupo& grupo = p.grupos[static_cast<std::size_t>(g)];
      if (fin_[static_cast<std::size_t>(g)][static_cast<std::size_t>(i)] == i && grupo.pie.presente())
        instancias_.push_back({&grupo.pie, i, g});
    }
  }
  if (p.pieInforme.presente()) instancias_.push_back({&p.pieInforme, n > 0 ? n - 1 : -1, -1});
}

void Informe::prepararTotales() {
  const std::size_t columnas = static_cast<std::size_t>(plantilla_.columnas.size());
  const std::size_t n = filas_.numFilas();
  sumas_.assign(columnas, {});
  cuentas_.assign(columnas, {});
  unicos_.clear();
  indiceUnico_.clear();
  primeras_.clear();
  indicePrimeras_.clear();
  std::vector<bool> suma(columnas, false), cuenta(columnas, false);
  // Los agregados "una vez por" con la misma columna y las mismas claves
  // comparten sus acumulados, y los que tienen las mismas claves, las filas
  // que cuentan.
  std::map<std::pair<int, std::vector<int>>, std::size_t> yaHechos;
  std::map<std::vector<int>, std::size_t> clavesHechas;

  auto acumular = [&](std::vector<double>& s, std::vector<int>& k, int columna, const std::vector<bool>* primeras) {
    s.assign(n + 1, 0.0);
    k.assign(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
      const bool cuenta = !primeras || (*primeras)[i];
      s[i + 1] = s[i] + (cuenta && columna >= 0 ? filas_.numero(i, columna) : 0.0);
      k[i + 1] = k[i] + (cuenta && (columna < 0 || !filas_.vacio(i, columna)) ? 1 : 0);
    }
  };
  // La primera fila del informe con cada combinación de valores de las claves.
  // Dos valores son el mismo si se escriben igual: un 5 entero y un 5,0 doble
  // también. Una columna de un solo tipo de número se compara por su valor,
  // sin escribirlo (un doble se escribe igual que otro sólo si es el mismo).
  auto identidades = [&](int columna) {
    std::vector<std::uint32_t> ids(n, 0);  // 0: Null
    bool enteros = false, dobles = false;
    for (std::size_t i = 0; i < n; ++i) {
      enteros = enteros || filas_.tipo(i, columna) == TablaFilas::Tipo::Entero;
      dobles = dobles || filas_.tipo(i, columna) == TablaFilas::Tipo::Doble;
    }
    // Con números de los dos tipos, o números y textos, se comparan escritos.
    const bool escritos = (enteros && dobles) || !filas_.distintos(columna).empty();
    QHash<QString, std::uint32_t> porTexto;
    std::unordered_map<std::uint64_t, std::uint32_t> porNumero;
    std::uint32_t siguiente = 1;
    auto id = [&](const QString& t) {
      auto it = porTexto.constFind(t);
      if (it == porTexto.constEnd()) it = porTexto.insert(t, siguiente++);
      return *it;
    };
    std::vector<std::uint32_t> deDistintos;
    for (const QVariant& v : filas_.distintos(columna)) deDistintos.push_back(id(v.toString()));
    for (std::size_t i = 0; i < n; ++i) {
      switch (filas_.tipo(i, columna)) {
        case TablaFilas::Tipo::Nulo:
          break;
        case TablaFilas::Tipo::Entero:
        case TablaFilas::Tipo::Doble: {
          const QVariant v = filas_.valor(i, columna);
          if (escritos) {
            ids[i] = id(v.toString());
            break;
          }
          std::uint64_t bits;
          if (v.typeId() == QMetaType::Double) {
            const double d = v.toDouble();
            std::memcpy(&bits, &d, sizeof bits);
          } else {
            bits = static_cast<std::uint64_t>(v.toLongLong());
          }
          auto it = porNumero.find(bits);
          if (it == porNumero.end()) it = porNumero.emplace(bits, siguiente++).first;
          ids[i] = it->second;
          break;
        }
        case TablaFilas::Tipo::Distinto:
          ids[i] = deDistintos[filas_.indice(i, columna)];
          break;
      }
    }
    return ids;
  };
  auto primerasFilas = [&](const std::vector<int>& claves) -> std::size_t {
    if (const auto it = clavesHechas.find(claves); it != clavesHechas.end()) return it->second;
    std::vector<std::vector<std::uint32_t>> ids;
    for (int c : claves) ids.push_back(identidades(c));
    std::vector<bool> primeras(n, false);
    if (ids.size() == 1) {
      std::vector<bool> visto;
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t k = ids[0][i];
        if (k >= visto.size()) visto.resize(std::max<std::size_t>(k + 1, visto.size() * 2), false);
        primeras[i] = !visto[k];
        visto[k] = true;
      }
    } else {
      std::unordered_set<std::string> vistas;
      std::string clave;
      for (std::size_t i = 0; i < n; ++i) {
        clave.clear();
        for (const auto& columna : ids) clave.append(reinterpret_cast<const char*>(&columna[i]), sizeof(std::uint32_t));
        primeras[i] = vistas.insert(clave).second;
      }
    }
    primeras_.push_back(std::move(primeras));
    return clavesHechas.emplace(claves, primeras_.size() - 1).first->second;
  };

  auto mirar = [&](const Banda& b) {
    for (const Elemento& e : b.elementos) {
      const bool agregado = e.tipo == TipoElemento::Suma || e.tipo == TipoElemento::Acumulado ||
                            e.tipo == TipoElemento::Promedio || e.tipo == TipoElemento::Cuenta;
      if (!agregado) {
        if (e.tipo == TipoElemento::Campo && !e.unaVezPor.empty())
          indicePrimeras_.emplace(&e, primerasFilas(e.unaVezPor));
        continue;
      }
      if (!e.unaVezPor.empty()) {
        const auto clave = std::make_pair(e.columna, e.unaVezPor);
        auto it = yaHechos.find(clave);
        if (it == yaHechos.end()) {
          Acumulados a;
          const std::size_t primeras = primerasFilas(e.unaVezPor);
          acumular(a.sumas, a.cuentas, e.columna, &primeras_[primeras]);
          unicos_.push_back(std::move(a));
          it = yaHechos.emplace(clave, unicos_.size() - 1).first;
        }
        indiceUnico_.emplace(&e, it->second);
        continue;
      }
      if (e.columna < 0) continue;
      const auto c = static_cast<std::size_t>(e.columna);
      if (e.tipo != TipoElemento::Cuenta) suma[c] = true;
      if (e.tipo == TipoElemento::Cuenta || e.tipo == TipoElemento::Promedio) cuenta[c] = true;
    }
  };
  const Plantilla& p = plantilla_;
  for (const Banda* b : {&p.cabeceraInforme, &p.cabeceraPagina, &p.detalle, &p.pieInforme, &p.piePagina}) mirar(*b);
  for (const Grupo& g : p.grupos) {
    mirar(g.cabecera);
    mirar(g.pie);
  }
  for (std::size_t c = 0; c < columnas; ++c) {
    if (!suma[c] && !cuenta[c]) continue;
    acumular(sumas_[c], cuentas_[c], static_cast<int>(c), nullptr);
    if (!suma[c]) sumas_[c].clear();
    if (!cuenta[c]) cuentas_[c].clear();
  }
}

std::pair<int, int> Informe::rangoGrupo(int nivel, int fila) const {
  if (fila < 0) return {0, -1};
  if (nivel < 0 || nivel >= static_cast<int>(inicio_.size())) return {0, numFilas() - 1};
  return {inicio_[static_cast<std::size_t>(nivel)][static_cast<std::size_t>(fila)],
          fin_[static_cast<std::size_t>(nivel)][static_cast<std::size_t>(fila)]};
}

// El ámbito "grupo" es el del grupo de la banda; en el detalle y las demás
// bandas, el grupo más interior.
std::pair<int, int> Informe::rangoAmbito(const Elemento& e, const Instancia& i) const {
  if (i.fila < 0) return {0, -1};
  if (e.ambito == Ambito::Informe || plantilla_.grupos.empty()) return {0, numFilas() - 1};
  const int nivel = i.nivel >= 0 ? i.nivel : static_cast<int>(plantilla_.grupos.size()) - 1;
  return rangoGrupo(nivel, i.fila);
}

QVariant Informe::valor(const Elemento& e, const Instancia& i) const {
  switch (e.tipo) {
    case TipoElemento::Campo:
    case TipoElemento::Barras: {
      if (i.fila < 0) return {};
      const auto f = static_cast<std::size_t>(i.fila);
      if (const auto it = indicePrimeras_.find(&e); it != indicePrimeras_.end() && !primeras_[it->second][f]) return {};
      return filas_.valor(f, e.columna);
    }
    case TipoElemento::Suma:
    case TipoElemento::Promedio:
    case TipoElemento::Cuenta:
    case TipoElemento::Acumulado: {
      auto [desde, hasta] = rangoAmbito(e, i);
      if (e.tipo == TipoElemento::Acumulado) hasta = i.fila;
      if (hasta < desde) return e.tipo == TipoElemento::Promedio ? QVariant() : QVariant(0.0);
      const auto d = static_cast<std::size_t>(desde), h = static_cast<std::size_t>(hasta) + 1;
      const auto unico = indiceUnico_.find(&e);
      const Acumulados* u = unico != indiceUnico_.end() ? &unicos_[unico->second] : nullptr;
      if (e.tipo == TipoElemento::Cuenta) {
        if (u) return static_cast<double>(u->cuentas[h] - u->cuentas[d]);
        if (e.columna < 0) return static_cast<double>(hasta - desde + 1);
        const auto& k = cuentas_[static_cast<std::size_t>(e.columna)];
        return static_cast<double>(k[h] - k[d]);
      }
      const auto& s = u ? u->sumas : sumas_[static_cast<std::size_t>(e.columna)];
      const double suma = s[h] - s[d];
      if (e.tipo != TipoElemento::Promedio) return suma;
      const auto& k = u ? u->cuentas : cuentas_[static_cast<std::size_t>(e.columna)];
      const int cuantos = k[h] - k[d];
      return cuantos > 0 ? QVariant(suma / cuantos) : QVariant();
    }
    case TipoElemento::Impresion:
      return entorno_.momento;
    case TipoElemento::Texto:
      return e.texto;
    default:
      return {};
  }
}

QString Informe::texto(const Elemento& e, const QVariant& v) const {
  if (e.tipo == TipoElemento::Texto) return e.texto;
  if (vacio(v)) return e.siVacio;
  QString s;
  switch (e.formato) {
    case Formato::Numero:
    case Formato::Entero: {
      bool ok = false;
      double d = v.toDouble(&ok);
      if (!ok) {
        // Un número guardado como texto con coma decimal.
        d = entorno_.regional.toDouble(v.toString(), &ok);
        if (!ok) return v.toString();
      }
      const int decimales = e.formato == Formato::Entero ? 0 : e.decimales;
      static constexpr double kEscalas[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
      const double escala = decimales >= 0 && decimales < 10 ? kEscalas[decimales] : std::pow(10.0, decimales);
      d = std::round(d * escala) / escala;
      if (d == 0) d = 0;  // sin "-0,00"
      if (e.ocultarCero && d == 0) return e.siVacio;
      s = textoNumero(d, decimales, e.miles, *separadores_);
      break;
    }
    case Formato::Fecha: {
      const QDate f = datos::aFecha(v);
      s = f.isValid() ? textoDia(f) : v.toString();
      break;
    }
    case Formato::Hora: {
      const QTime h = datos::aHora(v);
      s = h.isValid() ? textoHoraMinutos(h) : v.toString();
      break;
    }
    case Formato::FechaHora: {
      const QDateTime f = datos::aFechaHora(v);
      s = f.isValid() ? textoDia(f.date()) + QLatin1Char(' ') + textoHoraMinutos(f.time()) : v.toString();
      break;
    }
    case Formato::Texto:
      s = v.toString();
      break;
  }
  return e.prefijo + s + e.sufijo;
}

bool Informe::suprimida(const Instancia& i) const {
  const int c = i.banda->suprimirSiVacio;
  if (c < 0) return false;
  if (i.fila < 0) return true;
  return filas_.vacio(static_cast<std::size_t>(i.fila), c);
}

}  // namespace motor
