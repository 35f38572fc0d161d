#include "startup/Prohibiciones.h"

namespace permisos {

const QString kFormularioPrincipal = QStringLiteral("frmPrincipalCronicas");

std::vector<Prohibicion> LeerProhibiciones(const datos::Conexion& base, const QString& formulario, qint32 empleado) {
  datos::Consulta q = base.preparar(
      QStringLiteral("SELECT atributos.boton, atributos.boton_auxiliar FROM atributos, empleadosatributos "
                     "WHERE empleadosatributos.codempleado = ? AND UPPER(atributos.form) = UPPER(?) "
                     "AND atributos.codigo = empleadosatributos.codatributo ORDER BY atributos.codigo"));
  q.enlazar(empleado).enlazar(formulario);
  q.ejecutar();
  std::vector<Prohibicion> r;
  while (q.siguiente()) r.push_back({q.texto(QStringLiteral("boton")), q.texto(QStringLiteral("boton_auxiliar"))});
  return r;
}

bool BotonProhibido(const datos::Conexion& base, qint32 empleado, const QString& boton) {
  for (const Prohibicion& p : LeerProhibiciones(base, kFormularioPrincipal, empleado))
    if (p.boton.compare(boton, Qt::CaseInsensitive) == 0) return true;
  return false;
}

QString NombreEmpleado(const datos::Conexion& base, qint32 empleado) {
  datos::Consulta q = base.preparar(QStringLiteral("SELECT nombre, apellidos FROM empleados WHERE codigo = ?"));
  q.enlazar(empleado);
  q.ejecutar();
  if (!q.siguiente()) return {};
  return (q.texto(QStringLiteral("nombre")) + QLatin1Char(' ') + q.texto(QStringLiteral("apellidos"))).trimmed();
}

}  // namespace permisos
