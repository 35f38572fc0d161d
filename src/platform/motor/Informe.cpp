#include "platform/motor/Informe.h"

#include "platform/datos/Datos.h"
#include "platform/datos/Orden.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <map>

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

// Los separadores son los de la configuración regional, pero los miles se
// agrupan siempre de tres en tres, también en las cifras de cuatro dígitos:
// "1.679,00", como lo escribe la caja y como lo espera el gestor.
QString TextoNumero(double valor, int decimales, bool miles, const QLocale& regional) {
  QString c = QString::number(valor, 'f', decimales);
  const bool negativo = c.startsWith(QLatin1Char('-'));
  if (negativo) c.remove(0, 1);
  const int punto = c.indexOf(QLatin1Char('.'));
  QString entera = punto < 0 ? c : c.left(punto);
  const QString fraccion = punto < 0 ? QString() : c.mid(punto + 1);
  if (miles)
    for (int i = entera.size() - 3; i > 0; i -= 3) entera.insert(i, regional.groupSeparator());
  QString r = negativo ? regional.negativeSign() + entera : entera;
  if (!fraccion.isEmpty()) r += regional.decimalPoint() + fraccion;
  return r;
}

Informe::Informe(const Plantilla& plantilla, std::vector<Fila> filas, Entorno entorno)
    : plantilla_(plantilla), filas_(std::move(filas)), entorno_(std::move(entorno)) {
  if (!entorno_.momento.isValid()) entorno_.momento = QDateTime::currentDateTime();
  calcularFormulas();
  ordenar();
  formarInstancias();
  prepararTotales();
}

void Informe::calcularFormulas() {
  const std::size_t total = static_cast<std::size_t>(plantilla_.columnas.size());
  for (Fila& f : filas_) {
    f.resize(total);
    for (std::size_t k = 0; k < plantilla_.expresiones.size(); ++k)
      f[static_cast<std::size_t>(plantilla_.columnasTabla) + k] = plantilla_.expresiones[k]->evaluar(f);
  }
}

// Primero los grupos (salvo los que conservan el orden de llegada) y después
// los criterios de la plantilla; a igualdad, el orden en que se escribieron.
void Informe::ordenar() {
  struct Clave {
    int columna;
    bool descendente;
    bool porFecha;
  };
  std::vector<Clave> claves;
  for (const Grupo& g : plantilla_.grupos)
    if (g.orden != Grupo::Orden::Original)
      claves.push_back({g.columna, g.orden == Grupo::Orden::Descendente, g.porFecha});
  for (const CriterioFilas& c : plantilla_.orden) claves.push_back({c.columna, c.descendente, false});
  if (claves.empty() || filas_.size() < 2) return;

  const datos::CriterioOrden criterio;
  // Un día escrito "dd/mm/aaaa" se ordena por su número de día; lo que no es
  // un día queda detrás, como texto.
  auto valorClave = [](const QVariant& v, bool porFecha) {
    if (!porFecha || v.isNull()) return v;
    const QDate d = QDate::fromString(v.toString().trimmed(), QStringLiteral("dd/MM/yyyy"));
    return d.isValid() ? QVariant(d.toJulianDay()) : v;
  };
  std::vector<datos::ClavesFila> porFila(filas_.size());
  for (std::size_t i = 0; i < filas_.size(); ++i)
    for (const Clave& k : claves)
      porFila[i].push_back(criterio.clave(valorClave(filas_[i][static_cast<std::size_t>(k.columna)], k.porFecha)));
  std::vector<std::size_t> indices(filas_.size());
  for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = i;
  std::stable_sort(indices.begin(), indices.end(), [&](std::size_t a, std::size_t b) {
    for (std::size_t k = 0; k < claves.size(); ++k) {
      const int c = porFila[a][k].comparar(porFila[b][k]);
      if (c != 0) return claves[k].descendente ? c > 0 : c < 0;
    }
    return false;
  });
  std::vector<Fila> ordenadas;
  ordenadas.reserve(filas_.size());
  for (std::size_t i : indices) ordenadas.push_back(std::move(filas_[i]));
  filas_ = std::move(ordenadas);
}

bool Informe::mismoGrupo(int nivel, int a, int b) const {
  static const datos::CriterioOrden criterio;
  for (int g = 0; g <= nivel; ++g) {
    const auto c = static_cast<std::size_t>(plantilla_.grupos[static_cast<std::size_t>(g)].columna);
    if (criterio.comparar(filas_[static_cast<std::size_t>(a)][c], filas_[static_cast<std::size_t>(b)][c]) != 0)
      return false;
  }
  return true;
}

void Informe::formarInstancias() {
  const int n = numFilas();
  const int niveles = static_cast<int>(plantilla_.grupos.size());
  inicio_.assign(static_cast<std::size_t>(niveles), std::vector<int>(static_cast<std::size_t>(n)));
  fin_.assign(static_cast<std::size_t>(niveles), std::vector<int>(static_cast<std::size_t>(n)));
  for (int g = 0; g < niveles; ++g) {
    auto& ini = inicio_[static_cast<std::size_t>(g)];
    auto& fin = fin_[static_cast<std::size_t>(g)];
    for (int i = 0; i < n; ++i)
      ini[static_cast<std::size_t>(i)] = (i > 0 && mismoGrupo(g, i - 1, i)) ? ini[static_cast<std::size_t>(i - 1)] : i;
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
  const std::size_t n = filas_.size();
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
      const QVariant* v = columna >= 0 ? &filas_[i][static_cast<std::size_t>(columna)] : nullptr;
      s[i + 1] = s[i] + (cuenta && v && !v->isNull() ? v->toDouble() : 0.0);
      k[i + 1] = k[i] + (cuenta && (!v || !vacio(*v)) ? 1 : 0);
    }
  };
  // La primera fila del informe con cada combinación de valores de las claves.
  auto primerasFilas = [&](const std::vector<int>& claves) -> std::size_t {
    if (const auto it = clavesHechas.find(claves); it != clavesHechas.end()) return it->second;
    std::vector<bool> primeras(n, false);
    QSet<QString> vistas;
    for (std::size_t i = 0; i < n; ++i) {
      QString clave;
      for (int c : claves) {
        const QVariant& v = filas_[i][static_cast<std::size_t>(c)];
        if (v.isNull())
          clave += QChar(1);
        else
          clave += v.toString();
        clave += QChar(0x1f);
      }
      if (!vistas.contains(clave)) {
        vistas.insert(clave);
        primeras[i] = true;
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
      return filas_[f][static_cast<std::size_t>(e.columna)];
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
      const double escala = std::pow(10.0, decimales);
      d = std::round(d * escala) / escala;
      if (d == 0) d = 0;  // sin "-0,00"
      if (e.ocultarCero && d == 0) return e.siVacio;
      s = TextoNumero(d, decimales, e.miles, entorno_.regional);
      break;
    }
    case Formato::Fecha: {
      const QDate f = datos::aFecha(v);
      s = f.isValid() ? f.toString(QStringLiteral("dd/MM/yyyy")) : v.toString();
      break;
    }
    case Formato::Hora: {
      const QTime h = datos::aHora(v);
      s = h.isValid() ? h.toString(QStringLiteral("hh:mm")) : v.toString();
      break;
    }
    case Formato::FechaHora: {
      const QDateTime f = datos::aFechaHora(v);
      s = f.isValid() ? f.toString(QStringLiteral("dd/MM/yyyy hh:mm")) : v.toString();
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
  return vacio(filas_[static_cast<std::size_t>(i.fila)][static_cast<std::size_t>(c)]);
}

}  // namespace motor
