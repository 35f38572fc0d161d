// Una fórmula cualquiera se analiza o se rechaza con su motivo; la que se
// analiza se evalúa sobre unas filas sin salirse de su pila, y vale lo mismo
// entre paréntesis.

#include "Fuzz.h"
#include "platform/motor/Expresion.h"

#include <QString>

#include <cmath>

namespace {

// Las columnas a, b y c; cualquier otro nombre no existe.
int Resolver(const QString& nombre) {
  if (nombre == QLatin1String("a")) return 0;
  if (nombre == QLatin1String("b")) return 1;
  if (nombre == QLatin1String("c")) return 2;
  return -1;
}

bool Iguales(double x, double y) {
  return x == y || (std::isnan(x) && std::isnan(y));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
  const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
  QString error;
  const auto e = motor::Expresion::Analizar(texto, Resolver, error);
  if (!e) {
    FUZZ_EXIGIR(!error.isEmpty());
    return 0;
  }
  FUZZ_EXIGIR(error.isEmpty());
  const motor::Fila filas[] = {
      {QVariant(4.0), QVariant(2.5), QVariant()},
      {QVariant(-1e308), QVariant(0.0), QVariant(QStringLiteral("7,5"))},
      {QVariant(), QVariant(), QVariant()},
  };
  QString errorEntre;
  const auto entre = motor::Expresion::Analizar(QLatin1Char('(') + texto + QLatin1Char(')'), Resolver, errorEntre);
  // Un paréntesis más sólo puede pasarse del anidamiento.
  FUZZ_EXIGIR(entre || errorEntre.contains(QStringLiteral("anida más de")));
  for (const motor::Fila& f : filas) {
    const double v = e->evaluar(f);
    if (entre) FUZZ_EXIGIR(Iguales(v, entre->evaluar(f)));
  }
  return 0;
}
