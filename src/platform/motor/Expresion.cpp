#include "platform/motor/Expresion.h"

#include <algorithm>
#include <cmath>

namespace motor {

namespace {

using Paso = PasoExpresion;

class Analizador {
 public:
  Analizador(const QString& texto, const std::function<int(const QString&)>& resolver)
      : t_(texto), resolver_(resolver) {}

  bool analizar(std::vector<Paso>& salida, QString& error) {
    salida_ = &salida;
    try {
      suma();
      saltarBlancos();
      if (i_ < t_.size()) fallo(QStringLiteral("sobra «%1»").arg(t_.mid(i_)));
    } catch (const QString& e) {
      error = e;
      return false;
    }
    return true;
  }

 private:
  [[noreturn]] void fallo(const QString& e) { throw e; }
  void saltarBlancos() {
    while (i_ < t_.size() && t_.at(i_).isSpace()) ++i_;
  }
  bool tomar(QChar c) {
    saltarBlancos();
    if (i_ < t_.size() && t_.at(i_) == c) {
      ++i_;
      return true;
    }
    return false;
  }
  void suma() {
    producto();
    for (;;) {
      if (tomar(QLatin1Char('+'))) {
        producto();
        salida().push_back({Paso::Tipo::Suma});
      } else if (tomar(QLatin1Char('-'))) {
        producto();
        salida().push_back({Paso::Tipo::Resta});
      } else {
        return;
      }
    }
  }
  void producto() {
    factor();
    for (;;) {
      if (tomar(QLatin1Char('*'))) {
        factor();
        salida().push_back({Paso::Tipo::Producto});
      } else if (tomar(QLatin1Char('/'))) {
        factor();
        salida().push_back({Paso::Tipo::Cociente});
      } else {
        return;
      }
    }
  }
  void factor() {
    if (tomar(QLatin1Char('-'))) {
      Nivel n(*this);
      factor();
      salida().push_back({Paso::Tipo::Negar});
      return;
    }
    if (tomar(QLatin1Char('('))) {
      Nivel n(*this);
      suma();
      if (!tomar(QLatin1Char(')'))) fallo(QStringLiteral("falta «)»"));
      return;
    }
    saltarBlancos();
    const int inicio = i_;
    if (i_ < t_.size() && (t_.at(i_).isDigit() || t_.at(i_) == QLatin1Char('.'))) {
      while (i_ < t_.size() && (t_.at(i_).isDigit() || t_.at(i_) == QLatin1Char('.'))) ++i_;
      bool ok = false;
      const double v = t_.mid(inicio, i_ - inicio).toDouble(&ok);
      if (!ok || !std::isfinite(v)) fallo(QStringLiteral("número mal escrito «%1»").arg(t_.mid(inicio, i_ - inicio)));
      Paso p{Paso::Tipo::Numero};
      p.numero = v;
      salida().push_back(p);
      return;
    }
    while (i_ < t_.size() && (t_.at(i_).isLetterOrNumber() || t_.at(i_) == QLatin1Char('_'))) ++i_;
    if (i_ == inicio) {
      fallo(i_ < t_.size() ? QStringLiteral("no se esperaba «%1»").arg(t_.at(i_))
                           : QStringLiteral("la expresión acaba antes de tiempo"));
    }
    const QString nombre = t_.mid(inicio, i_ - inicio);
    const int c = resolver_(nombre);
    if (c < 0) fallo(QStringLiteral("la columna «%1» no existe en Informes").arg(nombre));
    Paso p{Paso::Tipo::Columna};
    p.columna = c;
    salida().push_back(p);
  }
  std::vector<Paso>& salida() { return *salida_; }

  // Un paréntesis o un signo más de hondo mientras vive.
  struct Nivel {
    explicit Nivel(Analizador& a) : a_(a) {
      if (++a_.hondo_ > Expresion::kAnidamientoMaximo)
        a_.fallo(QStringLiteral("anida más de %1 paréntesis o signos").arg(Expresion::kAnidamientoMaximo));
    }
    ~Nivel() { --a_.hondo_; }
    Analizador& a_;
  };

  const QString& t_;
  const std::function<int(const QString&)>& resolver_;
  std::vector<Paso>* salida_ = nullptr;
  int i_ = 0;
  int hondo_ = 0;
};

}  // namespace

std::shared_ptr<const Expresion> Expresion::Analizar(const QString& texto,
                                                     const std::function<int(const QString&)>& resolver,
                                                     QString& error) {
  auto e = std::make_shared<Expresion>();
  Analizador a(texto, resolver);
  if (texto.trimmed().isEmpty()) {
    error = QStringLiteral("la expresión está vacía");
    return nullptr;
  }
  if (!a.analizar(e->pasos_, error)) return nullptr;
  // La evaluación usa una pila fija: una expresión más honda se rechaza aquí.
  int hondo = 0, maximo = 0;
  for (const Paso& p : e->pasos_) {
    if (p.tipo == Paso::Tipo::Numero || p.tipo == Paso::Tipo::Columna)
      maximo = std::max(maximo, ++hondo);
    else if (p.tipo != Paso::Tipo::Negar)
      --hondo;
  }
  if (maximo > Expresion::kPilaMaxima) {
    error = QStringLiteral("la expresión es demasiado larga");
    return nullptr;
  }
  return e;
}

double Expresion::evaluar(const Fila& fila) const {
  return evaluarCon([&fila](int columna) {
    const QVariant& v = fila[static_cast<std::size_t>(columna)];
    return v.isNull() ? 0.0 : v.toDouble();
  });
}

}  // namespace motor
