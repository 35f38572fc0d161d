#include "reports_ui/Principal.h"

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

const std::vector<BotonGrafico>& BotonesGraficos() {
  static const std::vector<BotonGrafico> botones = {
      {QStringLiteral("cmdDsctoRealizados"), QStringLiteral("Descuentos Realizados"), 0},
      {QStringLiteral("cmdGastosCaja"), QStringLiteral("Gastos de Caja"), 1},
      {QStringLiteral("cmdRetiradasDiarias"), QStringLiteral("Total Diario de Retiradas"), 2},
      {QStringLiteral("cmdCajaxDias"), QStringLiteral("Caja Total por Dias"), 3},
      {QStringLiteral("cmdGraficoVentasxZonas"), QStringLiteral("Ventas por zonas"), 4},
      {QStringLiteral("cmdVentasMes"), QStringLiteral("Ventas en el mes (Acumulado por Horas)"), 5},
      {QStringLiteral("cmdGraficoVentasxEmpleados"), QStringLiteral("Ventas por Empleados"), 6},
      {QStringLiteral("cmdReservasHora"), QStringLiteral("Reservas Hora/Dia/Mes"), 7},
  };
  return botones;
}

const std::vector<BotonFormulario>& BotonesFormularios() {
  static const std::vector<BotonFormulario> botones = {
      {QStringLiteral("cmdLetreros"), QStringLiteral("Imprimir letreros y etiquetas de precios")},
      {QStringLiteral("cmdStockXProveedores"), QStringLiteral("Valoracion Stock por Proveedores")},
  };
  return botones;
}

const QString kProgramaCorreo = QStringLiteral("Estafeta.exe");

}  // namespace principal
