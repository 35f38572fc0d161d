// Medición de la búsqueda de productos del diálogo Buscar: la búsqueda con
// todas las cajas vacías (la más larga: todo el catálogo) y la de un
// comienzo de nombre, sobre la base de ventas de una tienda ya hecha (la de
// `cronicas demo`) o sobre un catálogo generado de N productos.
//
//   bench_buscar --base sqlite:RUTA.db [--repeticiones N]
//   bench_buscar --productos N [--repeticiones N] [--postgresql URI]

#include "labels/BusquedaProductos.h"
#include "platform/datos/Datos.h"
#include "platform/datos/Esquemas.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Nombres parecidos a los de una carta, para que los comienzos repartan.
const char* const kPalabras[] = {"Café",   "Caña", "Vino", "Tarta", "Zumo",    "Agua",   "Bocadillo",
                                 "Ración", "Tapa", "Menú", "Copa",  "Cerveza", "Helado", "Pan"};

void Poblar(const datos::Conexion& c, int productos) {
  QRandomGenerator azar(20260307);
  c.empezarTransaccion();
  for (int i = 1; i <= 40; ++i) {
    c.ejecutar(QStringLiteral("INSERT INTO proveedores (codigo, nombre, borrar) VALUES (?, ?, 0)"),
               {QString::number(i), QStringLiteral("Proveedor %1").arg(i)});
    c.ejecutar(QStringLiteral("INSERT INTO seccion (codigo, nombre, borrar) VALUES (?, ?, 0)"),
               {QString::number(i), QStringLiteral("Familia %1").arg(i)});
  }
  for (int i = 1; i <= productos; ++i) {
    const QString nombre = QStringLiteral("%1 %2").arg(QString::fromUtf8(kPalabras[azar.bounded(14)])).arg(i);
    c.ejecutar(QStringLiteral("INSERT INTO productos (codigo, nombre, seccion, proveedor, precio, borrar)"
                              " VALUES (?, ?, ?, ?, 1, ?)"),
               {QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')), nombre, QString::number(azar.bounded(1, 41)),
                QString::number(azar.bounded(1, 41)), i % 50 == 0 ? 1 : 0});
  }
  // Un elaborado por cada 20 productos.
  for (int i = 20; i <= productos; i += 20)
    c.ejecutar(QStringLiteral("INSERT INTO productoelaborado_producto (productopadre, productohijo, cantidad)"
                              " VALUES (?, ?, 1)"),
               {QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("000001")});
  c.confirmar();
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

void Medir(const char* donde, const datos::Conexion& c, int repeticiones) {
  for (const auto& [rotulo, filtro] :
       {std::pair{"vacia", etiquetas::FiltroProductos{}},
        std::pair{"nombre CA", etiquetas::FiltroProductos{QStringLiteral("CA"), {}, {}, false}},
        std::pair{"familia+proveedor",
                  etiquetas::FiltroProductos{{}, QStringLiteral("Proveedor 1"), QStringLiteral("Familia 2"), false}}}) {
    std::vector<double> ms;
    size_t filas = 0;
    for (int r = 0; r < repeticiones; ++r) {
      QElapsedTimer t;
      t.start();
      const auto encontrados = etiquetas::BuscarProductos(c, filtro);
      // Lo que hace también el diálogo con cada fila.
      QStringList entradas;
      for (const auto& p : encontrados) entradas << etiquetas::EntradaResultado(p);
      ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      filas = encontrados.size();
    }
    std::printf("%-10s %-18s %7zu filas  mediana %8.2f ms  (min %.2f, max %.2f)\n", donde, rotulo, filas, Mediana(ms),
                *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()));
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QString base, postgresql;
  int productos = 0, repeticiones = 9;
  const QStringList a = app.arguments();
  for (int i = 1; i + 1 < a.size(); i += 2) {
    if (a[i] == QLatin1String("--base"))
      base = a[i + 1];
    else if (a[i] == QLatin1String("--productos"))
      productos = a[i + 1].toInt();
    else if (a[i] == QLatin1String("--repeticiones"))
      repeticiones = std::max(1, a[i + 1].toInt());
    else if (a[i] == QLatin1String("--postgresql"))
      postgresql = a[i + 1];
  }
  if (base.isEmpty() && productos <= 0) {
    std::fprintf(stderr,
                 "uso: bench_buscar --base sqlite:RUTA.db | --productos N [--repeticiones N] [--postgresql URI]\n");
    return 2;
  }
  try {
    if (!base.isEmpty()) {
      const auto c = datos::Conexion::abrir(datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), base));
      Medir("tienda", *c, repeticiones);
      return 0;
    }
    QTemporaryDir dir;
    const auto c = datos::Conexion::abrir(
        datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"),
                                        QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("h.db"))),
        {.crearSiFalta = true});
    datos::CrearEsquemaVentas(*c);
    Poblar(*c, productos);
    Medir("SQLite", *c, repeticiones);
    if (!postgresql.isEmpty()) {
      const auto pg = datos::Conexion::abrir(datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), postgresql));
      pg->ejecutar(QStringLiteral("DROP SCHEMA IF EXISTS bench_buscar CASCADE"));
      pg->ejecutar(QStringLiteral("CREATE SCHEMA bench_buscar"));
      pg->ejecutar(QStringLiteral("SET search_path TO bench_buscar"));
      datos::CrearEsquemaVentas(*pg);
      Poblar(*pg, productos);
      pg->ejecutar(QStringLiteral("ANALYZE"));
      Medir("PostgreSQL", *pg, repeticiones);
      pg->ejecutar(QStringLiteral("DROP SCHEMA bench_buscar CASCADE"));
    }
  } catch (const datos::ErrorDatos& e) {
    std::fprintf(stderr, "%s\n", qPrintable(e.mensaje()));
    return 1;
  }
  return 0;
}
