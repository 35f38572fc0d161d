#include "registro/Principal.h"

namespace principal {

QStringList CargarAños(const QDate& hoy) {
  QStringList años;
  for (int año = hoy.year(); año >= 1900; --año) años << QString::number(año);
  return años;
}

const QStringList& Meses() {
  static const QStringList meses = {
      QStringLiteral("Enero"),   QStringLiteral("Febrero"),   QStringLiteral("Marzo"),
      QStringLiteral("Abril"),   QStringLiteral("Mayo"),      QStringLiteral("Junio"),
      QStringLiteral("Julio"),   QStringLiteral("Agosto"),    QStringLiteral("Septiembre"),
      QStringLiteral("Octubre"), QStringLiteral("Noviembre"), QStringLiteral("Diciembre")};
  return meses;
}

QStringList RestriccionesXPrograma(const QString& tipoPrograma) {
  if (tipoPrograma == QLatin1String("FASTFOOD") || tipoPrograma == QLatin1String("RESTAURANTE"))
    return {QStringLiteral("cmdVentasPromociones")};
  if (tipoPrograma == QLatin1String("COPAS")) return {QStringLiteral("cmdReservasHora")};
  return {};
}

bool MostrarMarcoCorreo(const AjustesTerminal& at) {
  return at.DatosEmailA.isEmpty() || at.DatosEmailOtros.isEmpty() || at.EmailInformes.isEmpty();
}

QString ObtenerNombrePais(const datos::Conexion& ventas) {
  // Un país que no se puede leer sólo deja escondido un botón: la ventana
  // tiene que abrirse igual.
  try {
    datos::Consulta q = ventas.preparar(QStringLiteral("SELECT nombre FROM configuracionregional"));
    q.ejecutar();
    if (q.siguiente()) return q.texto(QStringLiteral("nombre"));
  } catch (const datos::ErrorDatos&) {
  }
  return QString();
}

bool EsRepublicaDominicana(const QString& pais) {
  return pais == QLatin1String("Republica Dominicana");
}

const QString kProgramaCorreo = QStringLiteral("Estafeta.exe");

}  // namespace principal
