#include "reports_ui/SalidaInforme.h"

#include "platform/motor/Motor.h"

namespace registro {

bool GenerarSalidas(const datos::Conexion& informes, const QString& plantilla, const OpcionesSalida& opciones,
                    const Destinos& destinos, sistema::Notificador& notificador, const sistema::Reloj& reloj) {
  if (!motor::HayDatos(informes)) {
    notificador.mensaje(QStringLiteral("No hay datos para ser mostrados."), QStringLiteral("Cronicas"),
                        sistema::Icono::Informacion);
    return false;
  }
  motor::Entorno entorno;
  entorno.momento = reloj.ahora();
  entorno.regional = motor::ConfiguracionRegional(opciones.regional);
  const motor::InformePreparado preparado(informes, plantilla, opciones.carpetaPlantillas, entorno);
  if (!destinos.pdf.isEmpty()) motor::GuardarPdf(motor::Maquetar(preparado.informe()), destinos.pdf);
  if (!destinos.xlsx.isEmpty()) motor::GuardarXlsx(preparado.informe(), destinos.xlsx);
  return true;
}

}  // namespace registro
