#include "registro/CargarEmpleados.h"

namespace {

// El primer carácter entero: una letra fuera del plano básico ocupa dos
// unidades y partirla dejaría basura en la tesela.
QString Inicial(const QString& texto) {
  if (texto.isEmpty()) return {};
  return texto.left(texto.front().isHighSurrogate() ? 2 : 1);
}

}  // namespace

std::vector<Tesela> CargarEmpleados(const datos::Conexion& ventas) {
  datos::Consulta q = ventas.preparar(
      QStringLiteral("SELECT nombre, apellidos, codigo, clave FROM empleados WHERE baja = 0 ORDER BY codigo"));
  q.ejecutar();
  std::vector<Tesela> teselas;
  while (q.siguiente()) {
    teselas.push_back(
        {QString::number(q.entero(QStringLiteral("codigo"))),
         q.texto(QStringLiteral("nombre")) + QLatin1Char(' ') + Inicial(q.texto(QStringLiteral("apellidos")))});
  }
  return teselas;
}
