#include "demo/Insercion.h"

#include <QStringList>

namespace demo {

namespace {

QString textoInsercion(const QString& tabla, std::initializer_list<const char*> columnas) {
  QStringList nombres;
  QStringList marcas;
  for (const char* c : columnas) {
    nombres << QString::fromLatin1(c);
    marcas << QStringLiteral("?");
  }
  return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
      .arg(tabla, nombres.join(QLatin1Char(',')), marcas.join(QLatin1Char(',')));
}

}  // namespace

Insercion::Insercion(const datos::Conexion& conexion, const QString& tabla, std::initializer_list<const char*> columnas)
    : tabla_(tabla),
      columnas_(static_cast<int>(columnas.size())),
      consulta_(conexion.preparar(textoInsercion(tabla, columnas))) {}

void Insercion::guardar() {
  // Un valor de más o de menos desplazaría columnas en silencio.
  if (puestos_ != columnas_) {
    const int puestos = puestos_;
    puestos_ = 0;
    // Los valores ya enlazados no pueden pasar a la fila siguiente.
    consulta_.limpiarEnlaces();
    throw datos::ErrorDatos(
        QStringLiteral("Fila de %1 con %2 valores para %3 columnas (error del generador de la demostración).")
            .arg(tabla_)
            .arg(puestos)
            .arg(columnas_));
  }
  puestos_ = 0;
  consulta_.ejecutar();
}

}  // namespace demo
