#include "platform/motor/Motor.h"

#include <algorithm>

namespace motor {

bool HayDatos(const datos::Conexion& informes) {
  datos::Consulta q =
      informes.preparar(QStringLiteral("SELECT CASE WHEN EXISTS (SELECT 1 FROM informes) THEN 1 ELSE 0 END"));
  q.ejecutar();
  return q.siguiente() && q.valor(0).toInt() != 0;
}

QStringList ColumnasDeInformes(const datos::Conexion& informes) {
  datos::Consulta q = informes.preparar(QStringLiteral("SELECT * FROM informes WHERE 1 = 0"));
  q.ejecutar();
  return q.nombresColumnas();
}

std::vector<Fila> LeerFilas(const datos::Conexion& informes, const Plantilla& plantilla) {
  std::vector<Fila> filas;
  const int n = plantilla.columnasTabla;
  const bool conFila = ColumnasDeInformes(informes).contains(QStringLiteral("fila"), Qt::CaseInsensitive);
  // Los nombres ya se comprobaron contra la tabla al cargar la plantilla: no
  // llega aquí ningún texto que no sea el nombre de una columna.
  QStringList columnas = plantilla.columnas.mid(0, n);
  if (columnas.isEmpty()) columnas << QStringLiteral("1");
  QString sql = QStringLiteral("SELECT %1 FROM informes").arg(columnas.join(QStringLiteral(", ")));
  if (conFila) sql += QStringLiteral(" ORDER BY fila");
  datos::Consulta q = informes.preparar(sql);
  q.ejecutar();
  const auto total = static_cast<std::size_t>(plantilla.columnas.size());
  while (q.siguiente()) {
    Fila f(total);
    for (int c = 0; c < n; ++c) f[static_cast<std::size_t>(c)] = q.valor(c);
    filas.push_back(std::move(f));
  }
  return filas;
}

TablaFilas LeerTabla(const datos::Conexion& informes, const Plantilla& plantilla) {
  const int n = plantilla.columnasTabla;
  const bool conFila = ColumnasDeInformes(informes).contains(QStringLiteral("fila"), Qt::CaseInsensitive);
  QStringList columnas = plantilla.columnas.mid(0, n);
  if (columnas.isEmpty()) columnas << QStringLiteral("1");
  // Las filas van en el orden de la columna fila, que casi siempre es ya el
  // de la tabla: se leen tal cual y sólo se ordenan aquí si hace falta, sin
  // pedirle a la base que ordene un año entero.
  if (conFila) columnas << QStringLiteral("fila");
  datos::Lectura q(informes, QStringLiteral("SELECT %1 FROM informes").arg(columnas.join(QStringLiteral(", "))));
  q.ejecutar();
  TablaFilas t(static_cast<int>(plantilla.columnas.size()));
  std::vector<std::pair<qint64, bool>> orden;  // (fila, tiene valor) de cada fila leída
  bool enOrden = true;
  while (q.siguiente()) {
    t.nuevaFila();
    for (int c = 0; c < n; ++c) {
      switch (q.tipo(c)) {
        case datos::Lectura::Tipo::Nulo:
          break;
        case datos::Lectura::Tipo::Entero:
          t.ponerEntero(c, q.entero(c));
          break;
        case datos::Lectura::Tipo::Doble:
          t.ponerDoble(c, q.numero(c));
          break;
        case datos::Lectura::Tipo::Texto:
          t.ponerTextoUtf8(c, q.textoUtf8(c));
          break;
        case datos::Lectura::Tipo::Otro:
          t.poner(c, q.valor(c));
          break;
      }
    }
    if (conFila) {
      const int k = columnas.size() - 1;
      const std::pair<qint64, bool> f{q.esNulo(k) ? 0 : q.entero(k), !q.esNulo(k)};
      if (!orden.empty() &&
          (f.second < orden.back().second || (f.second == orden.back().second && f.first < orden.back().first)))
        enOrden = false;
      orden.push_back(f);
    }
  }
  t.terminarCarga();
  if (!enOrden) {
    // Null delante, como los pone SQLite; a igual fila, como llegaron.
    std::vector<std::size_t> posiciones(orden.size());
    for (std::size_t i = 0; i < posiciones.size(); ++i) posiciones[i] = i;
    std::stable_sort(posiciones.begin(), posiciones.end(), [&](std::size_t a, std::size_t b) {
      return orden[a].second != orden[b].second ? orden[a].second < orden[b].second : orden[a].first < orden[b].first;
    });
    t.reordenar(posiciones);
  }
  return t;
}

InformePreparado::InformePreparado(const datos::Conexion& informes, const QString& nombrePlantilla,
                                   const QString& carpetaPlantillas, Entorno entorno) {
  const QString ruta = UbicarPlantilla(nombrePlantilla, carpetaPlantillas);
  plantilla_ =
      std::make_unique<Plantilla>(CargarPlantilla(ruta, ColumnasDeInformes(informes), entorno.caracteresRollo));
  informe_ = std::make_unique<Informe>(*plantilla_, LeerTabla(informes, *plantilla_), std::move(entorno));
}

}  // namespace motor
