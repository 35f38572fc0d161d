#include "reports_ui/SalidaInforme.h"

#include "platform/motor/Motor.h"

namespace registro {

bool GenerarSalidas(const datos::Conexion& informes, const QString& plantilla, const QString& carpetaPlantillas,
                    const Destinos& destinos, sistema::Notificador& notificador, const sistema::Reloj& reloj) {
  if (!motor::HayDatos(informes)) {
    notificador.mensaje(QStringLiteral("No hay datos para ser mostrados."), QStringLiteral("Cronicas"),
                        sistema::Icono::Informacion);
    return false;
  }
  motor::Entorno entorno;
  entorno.momento = reloj.ahora();
  const motor::InformePreparado preparado(informes, plantilla, carpetaPlantillas, entorno);
  if (!destinos.pdf.isEmpty()) motor::GuardarPdf(motor::Maquetar(preparado.informe()), destinos.pdf);
  if (!destinos.xlsx.isEmpty()) motor::GuardarXlsx(preparado.informe(), destinos.xlsx);
  return true;
}

}  // namespace registro
