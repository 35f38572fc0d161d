// Promociones, descuentos, recargos, impuestos, totales y cobro de una venta.

#include "demo/Jornada.h"

#include <algorithm>
#include <cmath>

namespace demo {

namespace {

qint64 Redondear(double x) {
  return static_cast<qint64>(std::llround(x));
}

// Cuota de IVA de un importe que ya lo incluye.
qint64 CuotaIncluida(qint64 importe, double tasa) {
  return Redondear(static_cast<double>(importe) * tasa / (100.0 + tasa));
}

bool Propia(const Linea& l) {
  return l.orden == 0 && l.menu == 0;
}

}  // namespace

void Jornada::ajustar(Venta& v, const Plan& plan) {
  const int minuto = v.hora / 60;
  const bool jueves = dia_.dayOfWeek() == 4;
  for (Linea& l : v.lineas) {
    if (!Propia(l)) continue;
    const Producto& p = t_.producto(l.producto);
    if (l.promocion.isNull()) {
      if (l.producto == t_.singulares.cana && jueves && minuto >= 19 * 60 && minuto < 22 * 60 && l.unidades >= 2)
        l.promocion = 1;
      else if (p.uso == Uso::Copa && minuto >= 19 * 60 && minuto < 21 * 60)
        l.promocion = 2;
      else if (p.uso == Uso::Cafe && l.unidades >= 3 && minuto < 12 * 60)
        l.promocion = 4;
    }
    if (l.promocion.isNull()) {
      // La caja de la barra, con su versión antigua, guarda 0 en vez de nulo.
      if (v.terminal == QLatin1String("2")) l.promocion = 0;
      continue;
    }
    switch (l.promocion.toInt()) {
      case 1: {  // 2x1: se cobra la mitad de las cañas
        const qint64 gratis = l.unidades / 2;
        l.precio = l.precioUnit * (l.unidades - gratis);
        l.unidadesPromocion = static_cast<double>(gratis);
        break;
      }
      case 2:  // hora feliz: 1,50 menos por copa
        l.precioUnit = std::max<qint64>(100, l.precioUnit - 150);
        l.precio = l.precioUnit * l.unidades;
        l.unidadesPromocion = static_cast<double>(l.unidades);
        break;
      case 4: {  // tres cafés por tres euros
        const qint64 tandas = l.unidades / 3;
        l.precio = 300 * tandas + l.precioUnit * (l.unidades % 3);
        l.unidadesPromocion = static_cast<double>(tandas * 3);
        break;
      }
      default:
        break;
    }
  }

  auto lineaPropiaAlAzar = [&]() -> Linea* {
    std::vector<size_t> propias;
    for (size_t i = 0; i < v.lineas.size(); ++i)
      if (Propia(v.lineas[i]) && v.lineas[i].precio > 0) propias.push_back(i);
    if (propias.empty()) return nullptr;
    return &v.lineas[azar_.elegir(propias)];
  };

  if (plan.descuentoLinea || plan.promociones) {
    if (Linea* l = lineaPropiaAlAzar()) {
      static const int porcentajes[] = {10, 15, 20, 50, 100};
      const int pct = plan.promociones ? 10 : porcentajes[azar_.entre(0, 4)];
      l->descuento = Redondear(static_cast<double>(l->precio) * pct / 100.0);
      if (pct <= 20) {
        l->promocion = 3;
        l->unidadesPromocion = static_cast<double>(l->unidades);
      }
    }
  }
  if (plan.invitacion)
    for (Linea& l : v.lineas) l.descuento = l.precio;
  if (plan.devolucion) {
    // Botella devuelta: una línea en negativo.
    agregarProducto(v, t_.singulares.botellaParaLlevar, 1, v.camarero, false);
    Linea& l = v.lineas.back();
    l.unidades = -1;
    l.precio = -l.precioUnit;
  }
  if (plan.lineaSinTipo) {
    if (Linea* l = lineaPropiaAlAzar()) l->tasaNula = true;
  }
  if (plan.lineaBorrada) {
    if (v.lineas.size() < 2) agregar(v, Uso::Cafe, 1, v.camarero, false);
    for (auto it = v.lineas.rbegin(); it != v.lineas.rend(); ++it) {
      if (Propia(*it)) {
        it->borrar = 1;
        break;
      }
    }
  }

  for (Linea& l : v.lineas) {
    if (v.zona == zona::Terraza && l.precio > 0) l.recargo = Redondear(static_cast<double>(l.precio) * 0.10);
  }
  if (v.modo == 3 && !v.lineas.empty()) v.lineas.front().recargo += 150;  // gastos de envío
  for (Linea& l : v.lineas) l.impuesto = CuotaIncluida(l.precio + l.recargo - l.descuento, l.tasa);

  if (plan.quitada != LineaQuitada::Ninguna) {
    std::vector<size_t> propias;
    for (size_t i = 0; i < v.lineas.size(); ++i)
      if (Propia(v.lineas[i]) && v.lineas[i].borrar == 0) propias.push_back(i);
    if (propias.size() < 2) {
      agregar(v, Uso::Cafe, 1, v.camarero, false);
      Linea& l = v.lineas.back();
      l.impuesto = CuotaIncluida(l.precio, l.tasa);
      propias.push_back(v.lineas.size() - 1);
    }
    const size_t quitar = propias[static_cast<size_t>(azar_.entre(0, static_cast<int>(propias.size()) - 1))];
    v.lineaQuitada = v.lineas[quitar];
    v.lineas.erase(v.lineas.begin() + static_cast<std::ptrdiff_t>(quitar));
    v.quitada = plan.quitada;
  }

  qint64 precio = 0, recargo = 0, descuento = 0, impuesto = 0;
  for (const Linea& l : v.lineas) {
    if (l.borrar) continue;
    precio += l.precio;
    recargo += l.recargo;
    descuento += l.descuento;
    impuesto += l.impuesto;
  }
  if (plan.descuentoGlobal && precio > 0) {
    const bool empresa = v.cliente >= 31 && v.cliente <= static_cast<int>(t_.clientes.size());
    const double pct = empresa ? t_.clientes[static_cast<size_t>(v.cliente - 1)].descuento : 10.0;
    const qint64 global = Redondear(static_cast<double>(precio) * pct / 100.0);
    descuento += global;
    impuesto -= CuotaIncluida(global, 10);
  }
  v.recargo = recargo;
  v.descuento = descuento;
  v.impuesto = impuesto;
  v.total = precio + recargo - descuento;
  v.impuestoNulo = plan.impuestoNulo;
}

void Jornada::cobrar(Venta& v, const Plan& plan) {
  const bool mesa = plan.sitio == Sitio::Comedor || plan.sitio == Sitio::Terraza || plan.sitio == Sitio::Reservado;
  const bool menuDelDia = plan.franja == Franja::Comida && !finDeSemana_;
  if (v.total == 0) {
    v.pago = 0;  // invitación de la casa: no hay cobro
  } else if (v.total < 0) {
    v.pago = pago::Efectivo;
  } else if ((plan.pagoPartido || (v.total >= 1000 && azar_.probable(0.05))) && v.total >= 200) {
    // Parte en efectivo, en múltiplos de 50 céntimos, y el resto con tarjeta.
    qint64 efectivo = Redondear(static_cast<double>(v.total) * (0.2 + 0.6 * azar_.real()) / 50.0) * 50;
    efectivo = std::clamp<qint64>(efectivo, 50, v.total - 50);
    v.efectivo = efectivo;
    v.tarjeta = v.total - efectivo;
    v.pago = plan.pagoForzado >= 0               ? plan.pagoForzado
             : menuDelDia && azar_.probable(0.2) ? pago::ChequeComida
                                                 : pago::Efectivo;
  } else if (plan.pagoForzado >= 0) {
    v.pago = plan.pagoForzado;
  } else {
    const double r = azar_.real();
    if (plan.sitio == Sitio::Plataforma)
      v.pago = pago::Tarjeta;
    else if (plan.sitio == Sitio::Telefono)
      v.pago = r < 0.5 ? pago::Efectivo : r < 0.85 ? pago::Tarjeta : pago::Bizum;
    else if (mesa)
      v.pago = r < 0.3      ? pago::Efectivo
               : r < 0.83   ? pago::Tarjeta
               : r < 0.88   ? pago::Amex
               : r < 0.93   ? pago::Bizum
               : menuDelDia ? pago::ChequeComida
                            : pago::Tarjeta;
    else
      v.pago = r < 0.58 ? pago::Efectivo : r < 0.92 ? pago::Tarjeta : r < 0.97 ? pago::Bizum : pago::Amex;
  }

  int propinas = plan.propinas;
  if (propinas == 0 && mesa && v.total >= 1500 && azar_.probable(0.07)) propinas = azar_.probable(0.12) ? 2 : 1;
  for (int i = 0; i < propinas; ++i) {
    qint64 importe = static_cast<qint64>(azar_.entre(5, 50)) * 10;
    if (!v.propinas.empty() && importe == v.propinas.back()) importe += 20;
    v.propinas.push_back(importe);
  }
  v.camareroPropina2 = segundo_ ? segundo_ : primero_;
  v.ncf = plan.ncf;
}

}  // namespace demo
