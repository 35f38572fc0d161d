#include "platform/motor/Motor.h"

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

InformePreparado::InformePreparado(const datos::Conexion& informes, const QString& nombrePlantilla,
                                   const QString& carpetaPlantillas, Entorno entorno) {
  const QString ruta = UbicarPlantilla(nombrePlantilla, carpetaPlantillas);
  plantilla_ = std::make_unique<Plantilla>(CargarPlantilla(ruta, ColumnasDeInformes(informes)));
  informe_ = std::make_unique<Informe>(*plantilla_, LeerFilas(informes, *plantilla_), std::move(entorno));
}

}  // namespace motor
