// El orden por nombre de los informes, sin base de datos por medio.

#include "platform/datos/Orden.h"

#include "support/ImprimirQt.h"

#include <gtest/gtest.h>

namespace {

using datos::ClavesFila;
using datos::CriterioOrden;

// Ordena una columna de valores y la devuelve como texto, "Null" para Null.
QStringList Ordenados(const QVariantList& valores) {
  const CriterioOrden criterio;
  std::vector<ClavesFila> claves;
  for (const QVariant& v : valores) claves.push_back({criterio.clave(v)});
  QStringList resultado;
  for (std::size_t i : datos::OrdenEstable(claves)) {
    const QVariant& v = valores.at(static_cast<qsizetype>(i));
    resultado << (v.isNull() ? QStringLiteral("Null") : v.toString());
  }
  return resultado;
}

TEST(Orden, TextosEnEspanolSinDistinguirMayusculas) {
  // En binario "Zumo" iría delante de "agua" y la ñ detrás de la z; con la
  // intercalación genérica "ñandú" iría antes que "nata".
  EXPECT_EQ(Ordenados({"ostra", "Zumo", "ñandú", "nata", "agua", "Ágave", "almendra", "Ñu", "nube"}),
            QStringList({"Ágave", "agua", "almendra", "nata", "nube", "ñandú", "Ñu", "ostra", "Zumo"}));
}

TEST(Orden, LasMayusculasEmpatanYConservanElOrdenDeLlegada) {
  const CriterioOrden criterio;
  EXPECT_EQ(criterio.comparar(QStringLiteral("PAN"), QStringLiteral("pan")), 0);
  EXPECT_NE(criterio.comparar(QStringLiteral("pan"), QStringLiteral("pán")), 0);
  EXPECT_EQ(Ordenados({"pan", "PAN", "Agua", "Pan"}), QStringList({"Agua", "pan", "PAN", "Pan"}));
  EXPECT_EQ(Ordenados({"PAN", "pan"}), QStringList({"PAN", "pan"}));

  // Con muchas filas empatadas: un orden no estable sólo se nota pasado el
  // tamaño en que la ordenación deja de insertar una a una. Cada variante de
  // mayúsculas de "salmon" y "atunes" es distinta como texto e igual como clave.
  auto variante = [](const QString& palabra, int n) {
    QString t = palabra;
    for (int bit = 0; bit < t.size(); ++bit)
      if (n & (1 << bit)) t[bit] = t[bit].toUpper();
    return t;
  };
  QVariantList llegada;
  QStringList atunes;
  QStringList salmones;
  for (int n = 0; n < 64; ++n) {
    salmones << variante(QStringLiteral("salmon"), n);
    atunes << variante(QStringLiteral("atunes"), n);
    llegada << salmones.back() << atunes.back();
  }
  EXPECT_EQ(Ordenados(llegada), atunes + salmones);
}

TEST(Orden, NullPrimeroYNumerosPorSuValor) {
  EXPECT_EQ(Ordenados({QVariant(10), QVariant(), QVariant(2.5), QVariant(qlonglong(-1)), QVariant(2)}),
            QStringList({"Null", "-1", "2", "2.5", "10"}));
  // El texto vacío no es Null: va tras él y antes que cualquier otro texto.
  EXPECT_EQ(Ordenados({"b", QString(""), QVariant(QMetaType(QMetaType::QString)), "A"}),
            QStringList({"Null", "", "A", "b"}));
  const CriterioOrden criterio;
  EXPECT_EQ(criterio.comparar(QVariant(qlonglong(2)), QVariant(2.0)), 0);
  // Un número escrito en un texto se compara como texto.
  EXPECT_LT(criterio.comparar(QStringLiteral("10"), QStringLiteral("9")), 0);
}

TEST(Orden, VariasColumnasDeLaMasALaMenosImportante) {
  const CriterioOrden criterio;
  struct Familia {
    QVariant hechoen;
    QString nombre;
  };
  const std::vector<Familia> familias = {{2, "Postres"}, {1, "vinos"},  {QVariant(), "Menús"}, {1, "Bebidas"},
                                         {2, "Nata"},    {2, "Ñoquis"}, {3, "Tabaco"}};
  std::vector<ClavesFila> claves;
  for (const Familia& f : familias) claves.push_back({criterio.clave(f.hechoen), criterio.clave(f.nombre)});
  QStringList orden;
  for (std::size_t i : datos::OrdenEstable(claves)) orden << familias[i].nombre;
  EXPECT_EQ(orden, QStringList({"Menús", "Bebidas", "vinos", "Nata", "Ñoquis", "Postres", "Tabaco"}));
}

}  // namespace
