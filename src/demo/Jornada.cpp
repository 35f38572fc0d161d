#include "demo/Jornada.h"

#include <algorithm>
#include <cmath>

namespace demo {

namespace {

constexpr int kHora = 3600;
constexpr int kMinuto = 60;
// El día de negocio empieza a las 06:00: las copas de después de medianoche
// siguen siendo del día anterior.
constexpr int kInicioNegocio = 6 * kHora;

int Reloj(int clave) {
  return ((kInicioNegocio + clave) % 86400 + 86400) % 86400;
}

// Ventana de cierre de cada franja, en segundos desde las 06:00.
struct Ventana {
  int desde;
  int hasta;
};
Ventana VentanaDe(Franja f) {
  switch (f) {
    case Franja::Desayuno:
      return {2 * kHora, 5 * kHora + 30 * kMinuto};  // 08:00-11:30
    case Franja::Aperitivo:
      return {5 * kHora + 30 * kMinuto, 7 * kHora + 30 * kMinuto};
    case Franja::Comida:
      return {7 * kHora + 30 * kMinuto, 10 * kHora + 30 * kMinuto};  // 13:30-16:30
    case Franja::Tarde:
      return {10 * kHora + 30 * kMinuto, 14 * kHora};
    case Franja::Cena:
      return {14 * kHora + 30 * kMinuto, 17 * kHora + 50 * kMinuto};  // 20:30-23:50
    case Franja::Copas:
      return {17 * kHora, 19 * kHora + 45 * kMinuto};  // 23:00-01:45
  }
  return {2 * kHora, 19 * kHora};
}

bool EnMesa(Sitio s) {
  return s == Sitio::Comedor || s == Sitio::Terraza || s == Sitio::Reservado;
}

}  // namespace

bool Jornada::Cerrado(const QDate& dia) {
  // Cierre semanal el martes, y Navidad y Año Nuevo.
  if (dia.dayOfWeek() == 2) return true;
  return (dia.month() == 12 && dia.day() == 25) || (dia.month() == 1 && dia.day() == 1);
}

int Jornada::VentasDelDia(const QDate& dia, int ventasDia, Azar& azar) {
  if (Cerrado(dia)) return 0;
  static const double porDia[7] = {0.75, 0.0, 0.95, 1.0, 1.3, 1.55, 1.25};
  // Pico de verano a mediados de julio, valle en enero.
  const double temporada = 1.0 + 0.18 * std::cos(2.0 * M_PI * (dia.dayOfYear() - 200) / 365.25);
  const double ruido = 0.9 + 0.2 * azar.real();
  return std::max(1, static_cast<int>(std::lround(ventasDia * porDia[dia.dayOfWeek() - 1] * temporada * ruido)));
}

Jornada::Jornada(const Tienda& tienda, Azar& azar, const QDate& dia)
    : t_(tienda), azar_(azar), dia_(dia), finDeSemana_(dia.dayOfWeek() >= 6) {
  for (const Empleado& e : tienda.empleados) {
    if (!e.trabaja(dia)) continue;
    if (e.turno == Turno::Reparto) repartidores_.push_back(&e);
    if (!e.vende) continue;
    if (e.turno == Turno::Manana || e.turno == Turno::Partido || e.turno == Turno::FinDeSemana) manana_.push_back(&e);
    if (e.turno == Turno::Tarde || e.turno == Turno::Partido || e.turno == Turno::FinDeSemana) tarde_.push_back(&e);
  }
  // Si faltara todo un turno, cubre la encargada.
  const Empleado* encargada = tienda.empleado(1);
  if (manana_.empty()) manana_.push_back(encargada);
  if (tarde_.empty()) tarde_.push_back(encargada);
}

const std::vector<const Empleado*>& Jornada::turno(Franja f) const {
  return f == Franja::Desayuno || f == Franja::Aperitivo || f == Franja::Comida ? manana_ : tarde_;
}

Plan Jornada::planAlAzar() {
  Plan p;
  const int* pesos;
  static const int laborable[6] = {30, 12, 24, 12, 16, 6};
  static const int findesemana[6] = {18, 14, 26, 12, 20, 10};
  pesos = finDeSemana_ || dia_.dayOfWeek() == 5 ? findesemana : laborable;
  int x = azar_.entre(1, 100);
  int f = 0;
  while (f < 5 && x > pesos[f]) x -= pesos[f++];
  p.franja = static_cast<Franja>(f);
  const bool verano = dia_.month() >= 6 && dia_.month() <= 9;
  const double terraza = verano ? 0.28 : 0.07;
  const double r = azar_.real();
  switch (p.franja) {
    case Franja::Desayuno:
      p.sitio = r < 0.005                  ? Sitio::CajaAntigua
                : r < 0.12                 ? Sitio::Rapida
                : r < 0.12 + terraza * 0.6 ? Sitio::Terraza
                : r < 0.92                 ? Sitio::Barra
                                           : Sitio::Comedor;
      break;
    case Franja::Aperitivo:
    case Franja::Tarde:
      p.sitio = r < 0.6 ? Sitio::Barra : r < 0.6 + terraza ? Sitio::Terraza : Sitio::Comedor;
      if (p.franja == Franja::Tarde && azar_.probable(0.05)) p.sitio = Sitio::Rapida;
      break;
    case Franja::Comida:
    case Franja::Cena:
      p.sitio = r < 0.06             ? (azar_.probable(0.15) ? Sitio::Plataforma : Sitio::Telefono)
                : r < 0.30           ? Sitio::Barra
                : r < 0.30 + terraza ? Sitio::Terraza
                : r < 0.33 + terraza ? Sitio::Reservado
                                     : Sitio::Comedor;
      break;
    case Franja::Copas:
      p.sitio = r < 0.85 ? Sitio::Barra : r < 0.85 + terraza / 2 ? Sitio::Terraza : Sitio::Comedor;
      break;
  }
  p.domicilio = azar_.probable(0.7);
  p.dosCamareros = EnMesa(p.sitio) && azar_.probable(0.08);
  p.cobroParcial = p.sitio == Sitio::Comedor && azar_.probable(0.01);
  p.conCliente = p.sitio == Sitio::Barra && azar_.probable(0.02);
  p.mesaSinRotulo = p.sitio == Sitio::Barra && azar_.probable(0.05);
  const double a = azar_.real();
  p.final = a < 0.006 ? Final::AnuladaCobrada : a < 0.014 ? Final::AnuladaSinNumero : Final::Cobrada;
  p.numeroCero = p.final == Final::AnuladaSinNumero && azar_.probable(0.04);
  if (p.final == Final::Cobrada && azar_.probable(0.02)) p.quitada = static_cast<LineaQuitada>(azar_.entre(1, 4));
  p.ncf = azar_.probable(0.004) ? azar_.entre(1, 4) : 0;
  p.borrada = azar_.probable(0.003);
  p.impuestoNulo = azar_.probable(0.001);
  p.descuentoLinea = azar_.probable(0.03);
  p.descuentoGlobal = azar_.probable(0.004);
  p.invitacion = p.sitio == Sitio::Barra && azar_.probable(0.002);
  p.devolucion = !p.invitacion && p.sitio == Sitio::Barra && azar_.probable(0.0008);
  p.lineaBorrada = azar_.probable(0.002);
  p.lineaSinTipo = azar_.probable(0.003);
  return p;
}

int Jornada::comensales(Sitio sitio) {
  if (!EnMesa(sitio)) return azar_.entre(1, 100) <= 60 ? 1 : azar_.entre(2, 3);
  static const int tamanos[] = {1, 1, 2, 2, 2, 2, 2, 3, 3, 4, 4, 4, 5, 6, 8};
  return tamanos[azar_.entre(0, 14)];
}

const Empleado* Jornada::quien() {
  if (segundo_ && azar_.probable(0.4)) return segundo_;
  return primero_;
}

qint64 Jornada::precioDe(int indice) {
  const qint64 p = t_.producto(indice).precio;
  // "Varios" va a precio libre.
  return p > 0 ? p : static_cast<qint64>(azar_.entre(10, 400)) * 10;
}

void Jornada::agregarProducto(Venta& v, int indice, qint64 unidades, const Empleado* camarero, bool juntar) {
  if (indice < 0) return;
  if (juntar) {
    for (Linea& l : v.lineas) {
      if (l.producto == indice && l.orden == 0 && l.menu == 0 && l.camarero == camarero && azar_.probable(0.7)) {
        l.unidades += unidades;
        l.precio = l.precioUnit * l.unidades;
        return;
      }
    }
  }
  const Producto& p = t_.producto(indice);
  Linea l;
  l.producto = indice;
  l.nombre = p.nombre;
  l.unidades = unidades;
  l.precioUnit = precioDe(indice);
  l.precio = l.precioUnit * unidades;
  l.tasa = p.tasa;
  l.camarero = camarero;
  v.lineas.push_back(l);
}

void Jornada::agregar(Venta& v, Uso uso, qint64 unidades, const Empleado* camarero, bool juntar) {
  const Ruleta& r = t_.ruleta(uso);
  if (r.vacia()) return;
  int indice = r.elegir(azar_);
  // La lotería de Navidad sólo se vende en noviembre y diciembre.
  if (indice == t_.singulares.loteria && dia_.month() < 11) indice = t_.singulares.botellaParaLlevar;
  agregarProducto(v, indice, unidades, camarero, juntar);
}

void Jornada::agregarMenu(Venta& v, const QString& codigoMenu, const QString& familiaMenu, const Empleado* camarero) {
  const int indice = t_.indiceMenu(codigoMenu);
  if (indice < 0) return;
  const Producto& menu = t_.producto(indice);
  Linea cabecera;
  cabecera.producto = indice;
  cabecera.nombre = menu.nombre;
  cabecera.precioUnit = menu.precio;
  cabecera.precio = menu.precio;
  cabecera.tasa = 10;
  cabecera.camarero = camarero;
  cabecera.menu = 1;
  cabecera.codMenu = familiaMenu;
  v.lineas.push_back(cabecera);

  const Singulares& e = t_.singulares;
  std::vector<int> platos;
  auto de = [&](Uso uso) { return t_.ruleta(uso).elegir(azar_); };
  if (codigoMenu == QLatin1String("901")) {
    platos = {de(Uso::Entrante), de(azar_.probable(0.5) ? Uso::Carne : Uso::Pescado),
              de(azar_.probable(0.7) ? Uso::Postre : Uso::Cafe)};
  } else if (codigoMenu == QLatin1String("902")) {
    platos = {de(azar_.probable(0.6) ? Uso::Entrante : Uso::Racion),
              de(azar_.probable(0.5) ? Uso::Carne : Uso::Pescado), de(Uso::Postre)};
  } else if (codigoMenu == QLatin1String("903")) {
    platos = {azar_.elegir(e.infantilPlatos), azar_.elegir(e.infantilPostres), azar_.elegir(e.infantilBebidas)};
  } else if (codigoMenu == QLatin1String("904")) {
    // El degustación lleva cuatro pases; el cuarto no cuenta como plato de menú.
    platos = {de(Uso::Entrante), de(Uso::Pescado), de(Uso::Carne), de(Uso::Postre)};
  } else {
    platos = {de(azar_.probable(0.5) ? Uso::Entrante : Uso::Carne), de(Uso::Postre)};
  }
  int orden = 0;
  for (int indicePlato : platos) {
    if (indicePlato < 0) continue;
    const Producto& p = t_.producto(indicePlato);
    Linea l;
    l.producto = indicePlato;
    l.nombre = p.nombre;
    l.orden = ++orden;
    // Los platos caros del menú del día llevan suplemento.
    l.precioUnit =
        (codigoMenu == QLatin1String("901") || codigoMenu == QLatin1String("905")) && p.precio >= 2000 ? 300 : 0;
    l.precio = l.precioUnit;
    l.tasa = 10;
    l.camarero = camarero;
    l.productoDeMenu = 1;
    l.codMenu = familiaMenu;
    v.lineas.push_back(l);
  }
}

void Jornada::bebidas(Venta& v, int personas, const Empleado* camarero) {
  if (personas >= 2 && azar_.probable(0.45)) {
    agregar(v, Uso::Botella, std::max(1, personas / 3), camarero);
    agregar(v, Uso::Agua, std::max(1, personas / 2), camarero);
    return;
  }
  for (int i = 0; i < personas; ++i) {
    if (!azar_.probable(0.8)) continue;
    const double r = azar_.real();
    agregar(v, r < 0.4 ? Uso::Cerveza : r < 0.75 ? Uso::Refresco : r < 0.9 ? Uso::Vino : Uso::Agua, 1, quien());
  }
}

void Jornada::comidaEnMesa(Venta& v, const Plan& plan, int n) {
  const bool laborable = !finDeSemana_;
  if (plan.menus == 0 && laborable && azar_.probable(0.6)) {
    for (int i = 0; i < n; ++i) {
      if (azar_.probable(0.12))
        agregarMenu(v, QStringLiteral("905"), QStringLiteral("901"), quien());
      else
        agregarMenu(v, QStringLiteral("901"), QStringLiteral("901"), quien());
    }
    bebidas(v, n, quien());
    if (azar_.probable(0.05)) {
      // Promoción del café de regalo con el menú.
      agregar(v, Uso::Cafe, 1, quien(), false);
      Linea& l = v.lineas.back();
      l.precioUnit = 0;
      l.precio = 0;
      l.promocion = 5;
      l.unidadesPromocion = 1.0;
    }
  } else if (plan.menus == 0 && !laborable && azar_.probable(0.35)) {
    for (int i = 0; i < n; ++i) {
      if (n >= 3 && i == n - 1 && azar_.probable(0.3))
        agregarMenu(v, QStringLiteral("903"), QStringLiteral("903"), quien());
      else
        agregarMenu(v, QStringLiteral("902"), QStringLiteral("902"), quien());
    }
    bebidas(v, n, quien());
  } else {
    const int compartir = std::max(1, n / 2 + azar_.entre(0, 1));
    for (int i = 0; i < compartir; ++i) agregar(v, azar_.probable(0.5) ? Uso::Racion : Uso::Entrante, 1, quien());
    for (int i = 0; i < n; ++i)
      if (azar_.probable(0.85)) agregar(v, azar_.probable(0.5) ? Uso::Carne : Uso::Pescado, 1, quien());
    if (n >= 3 && azar_.probable(0.25)) agregarMenu(v, QStringLiteral("903"), QStringLiteral("903"), quien());
    bebidas(v, n, quien());
    for (int i = 0; i < n; ++i)
      if (azar_.probable(0.4)) agregar(v, Uso::Postre, 1, quien());
    for (int i = 0; i < n; ++i)
      if (azar_.probable(0.55)) agregar(v, Uso::Cafe, 1, quien());
  }
  if (azar_.probable(0.3)) agregarProducto(v, t_.singulares.pan, n, quien());
}

void Jornada::cenaEnMesa(Venta& v, int n) {
  if ((dia_.dayOfWeek() == 5 || dia_.dayOfWeek() == 6) && n == 2 && azar_.probable(0.15)) {
    agregarMenu(v, QStringLiteral("904"), QStringLiteral("904"), quien());
    agregarMenu(v, QStringLiteral("904"), QStringLiteral("904"), quien());
    bebidas(v, n, quien());
    return;
  }
  for (int i = 0; i < n / 2 + 1; ++i) agregar(v, azar_.probable(0.7) ? Uso::Racion : Uso::Entrante, 1, quien());
  for (int i = 0; i < n; ++i)
    if (azar_.probable(0.6)) agregar(v, azar_.probable(0.5) ? Uso::Carne : Uso::Pescado, 1, quien());
  bebidas(v, n, quien());
  for (int i = 0; i < n; ++i) {
    if (azar_.probable(0.3)) agregar(v, Uso::Postre, 1, quien());
    if (azar_.probable(0.3)) agregar(v, Uso::Cafe, 1, quien());
    if (azar_.probable(0.25)) agregar(v, Uso::Copa, 1, quien());
  }
}

void Jornada::llenar(Venta& v, const Plan& plan, int n) {
  const Singulares& e = t_.singulares;
  switch (plan.sitio) {
    case Sitio::Entrada:
      agregarProducto(v, e.entrada, azar_.entre(1, 4), primero_);
      return;
    case Sitio::Ropero:
      agregarProducto(v, e.ropero, azar_.entre(1, 2), primero_);
      return;
    case Sitio::Telefono:
    case Sitio::Plataforma: {
      static const Uso platos[] = {Uso::Racion, Uso::Racion, Uso::Carne, Uso::Pescado, Uso::Entrante};
      for (int i = azar_.entre(2, 4); i > 0; --i) agregar(v, platos[azar_.entre(0, 4)], 1, primero_);
      for (int i = azar_.entre(0, 2); i > 0; --i)
        agregar(v,
                azar_.probable(0.5)   ? Uso::Refresco
                : azar_.probable(0.5) ? Uso::Cerveza
                                      : Uso::Botella,
                1, primero_);
      return;
    }
    case Sitio::Rapida:
    case Sitio::CajaAntigua:
      agregar(v, Uso::Cafe, azar_.entre(1, 2), primero_);
      if (azar_.probable(0.4)) agregar(v, Uso::Desayuno, 1, primero_);
      return;
    default:
      break;
  }
  switch (plan.franja) {
    case Franja::Desayuno:
      for (int i = 0; i < n; ++i) {
        if (azar_.probable(0.92)) agregar(v, Uso::Cafe, 1, quien());
        if (azar_.probable(0.45)) agregar(v, Uso::Desayuno, 1, quien());
        if (azar_.probable(0.06)) agregar(v, Uso::Refresco, 1, quien());
      }
      break;
    case Franja::Aperitivo:
      for (int i = 0; i < n; ++i) {
        const double r = azar_.real();
        agregar(v, r < 0.5 ? Uso::Cerveza : r < 0.8 ? Uso::Vino : Uso::Refresco, 1, quien());
      }
      for (int i = azar_.entre(0, n); i > 0; --i) agregar(v, Uso::Tapa, 1, quien());
      if (EnMesa(plan.sitio) && azar_.probable(0.2)) agregar(v, Uso::Racion, 1, quien());
      break;
    case Franja::Comida:
    case Franja::Cena:
      if (EnMesa(plan.sitio)) {
        if (plan.franja == Franja::Comida)
          comidaEnMesa(v, plan, n);
        else
          cenaEnMesa(v, n);
      } else {
        for (int i = 0; i < n; ++i) agregar(v, azar_.probable(0.6) ? Uso::Cerveza : Uso::Vino, 1, quien());
        for (int i = azar_.entre(1, 2); i > 0; --i) agregar(v, Uso::Tapa, 1, quien());
        if (azar_.probable(0.35)) agregar(v, Uso::Racion, 1, quien());
      }
      break;
    case Franja::Tarde:
      for (int i = 0; i < n; ++i) {
        const double r = azar_.real();
        agregar(v, r < 0.55 ? Uso::Cafe : r < 0.75 ? Uso::Cerveza : r < 0.9 ? Uso::Copa : Uso::Refresco, 1, quien());
        if (azar_.probable(0.15)) agregar(v, Uso::Postre, 1, quien());
        if (azar_.probable(0.12)) agregar(v, Uso::Tapa, 1, quien());
      }
      break;
    case Franja::Copas:
      for (int i = 0; i < n; ++i) {
        agregar(v, Uso::Copa, 1, quien());
        if (azar_.probable(0.25)) agregar(v, Uso::Copa, 1, quien());
        if (azar_.probable(0.2)) agregar(v, Uso::Cerveza, 1, quien());
      }
      break;
  }
  if (plan.sitio == Sitio::Barra && azar_.probable(0.004)) agregarProducto(v, e.varios, 1, quien(), false);
  if (plan.sitio == Sitio::Barra && azar_.probable(0.01)) agregar(v, Uso::Tienda, 1, quien(), false);
}

Venta Jornada::construir(const Plan& plan) {
  Venta v;
  v.fechaVenta = dia_;
  v.fecha = dia_;
  v.terminal = QStringLiteral("1");

  const std::vector<const Empleado*>& turnoVenta = turno(plan.franja);
  primero_ = azar_.elegir(turnoVenta);
  segundo_ = nullptr;
  if (plan.dosCamareros && turnoVenta.size() > 1) {
    do segundo_ = azar_.elegir(turnoVenta);
    while (segundo_ == primero_);
  }
  v.camarero = primero_;

  // Hora de cierre y de apertura.
  int duracion;
  switch (plan.sitio) {
    case Sitio::Barra:
      duracion = azar_.entre(3, 45) * kMinuto;
      break;
    case Sitio::Rapida:
    case Sitio::CajaAntigua:
    case Sitio::Entrada:
    case Sitio::Ropero:
      duracion = azar_.entre(1, 5) * kMinuto;
      break;
    case Sitio::Telefono:
    case Sitio::Plataforma:
      duracion = azar_.entre(25, 60) * kMinuto;
      break;
    default:
      duracion = (plan.franja == Franja::Cena     ? azar_.entre(60, 160)
                  : plan.franja == Franja::Comida ? azar_.entre(40, 120)
                                                  : azar_.entre(15, 60)) *
                 kMinuto;
  }
  duracion += azar_.entre(0, 59);
  if (plan.tardeMalConfigurada) {
    // Abierta antes de medianoche y cerrada después, en un terminal sin el
    // horario de atención configurado: el día de venta es el del cierre.
    v.clave = azar_.entre(5 * kMinuto, 50 * kMinuto) - kInicioNegocio;
    duracion = azar_.entre(40, 100) * kMinuto;
    v.fecha = dia_.addDays(-1);
  } else if (plan.sitio == Sitio::Entrada || plan.sitio == Sitio::Ropero) {
    v.clave = 15 * kHora + azar_.entre(0, kHora);  // de 21:00 a 22:00, a la puerta
  } else {
    const Ventana w = VentanaDe(plan.franja);
    v.clave = w.desde + (azar_.entre(0, w.hasta - w.desde) + azar_.entre(0, w.hasta - w.desde)) / 2;
  }
  v.hora = Reloj(v.clave);
  v.horaInicio = Reloj(v.clave - duracion);

  // Dónde y cómo.
  v.mesa = kNulo;
  switch (plan.sitio) {
    case Sitio::Barra:
      v.zona = zona::Barra;
      v.modo = 0;
      if (plan.mesaSinRotulo) v.mesa = t_.mesas[static_cast<size_t>(t_.mesasDe(zona::Barra).front())].codigo;
      if ((plan.franja == Franja::Tarde || plan.franja == Franja::Copas || plan.franja == Franja::Cena) &&
          azar_.probable(0.3))
        v.terminal = QStringLiteral("2");
      break;
    case Sitio::Comedor:
    case Sitio::Terraza:
    case Sitio::Reservado: {
      v.zona = plan.sitio == Sitio::Comedor   ? zona::Comedor
               : plan.sitio == Sitio::Terraza ? zona::Terraza
                                              : zona::Reservado;
      v.mesa = t_.mesas[static_cast<size_t>(azar_.elegir(t_.mesasDe(v.zona)))].codigo;
      v.modo = 4;
      if (plan.cobroParcial) {
        // Parte de la cuenta cobrada aparte: sin mesa, zona de cobro parcial.
        v.zona = zona::CobroParcial;
        v.mesa = kNulo;
      }
      break;
    }
    case Sitio::Telefono:
    case Sitio::Plataforma:
      v.zona = zona::Telefono;
      v.modo = plan.sitio == Sitio::Plataforma ? 5 : plan.domicilio ? 3 : 2;
      if (plan.sitio == Sitio::Telefono) {
        v.cliente = azar_.probable(0.6) ? azar_.entre(1, 12) : azar_.entre(1, static_cast<int>(t_.clientes.size()));
        if (v.modo == 3 && !plan.sinRepartidor && !repartidores_.empty())
          v.repartidor = azar_.elegir(repartidores_)->codigo;
      }
      if (plan.sinImpuestoIncluido) v.impuestoIncluido = 0;
      break;
    case Sitio::Rapida:
      v.zona = zona::Rapida;
      v.modo = azar_.probable(0.8) ? 1 : 0;
      break;
    case Sitio::CajaAntigua:
      v.zona = zona::CajaRapidaAntigua;
      v.modo = 1;
      break;
    case Sitio::Entrada:
      v.zona = zona::Entrada;
      break;
    case Sitio::Ropero:
      v.zona = zona::Ropero;
      break;
  }
  if (plan.conCliente) v.cliente = azar_.entre(1, 12);
  if (plan.cliente >= 0) v.cliente = plan.cliente;
  // Comidas de empresa a cuenta, con su descuento pactado.
  bool empresa = false;
  if ((plan.descuentoGlobal && v.cliente == 0) ||
      (plan.sitio == Sitio::Comedor && plan.franja == Franja::Comida && !finDeSemana_ && azar_.probable(0.03))) {
    v.cliente = azar_.entre(31, 35);
    empresa = true;
  }

  const int n = comensales(plan.sitio);
  switch (plan.menus) {
    case 1:
      agregarMenu(v, QStringLiteral("901"), QStringLiteral("901"), primero_);
      agregarMenu(v, QStringLiteral("901"), QStringLiteral("901"), segundo_ ? segundo_ : primero_);
      break;
    case 2:
      agregarMenu(v, QStringLiteral("904"), QStringLiteral("904"), primero_);
      agregarMenu(v, QStringLiteral("904"), QStringLiteral("904"), primero_);
      break;
    case 3:
      agregarMenu(v, QStringLiteral("905"), QStringLiteral("901"), primero_);
      agregarMenu(v, QStringLiteral("901"), QStringLiteral("901"), primero_);
      break;
    case 4:
      agregarMenu(v, QStringLiteral("903"), QStringLiteral("903"), primero_);
      break;
    default:
      break;
  }
  llenar(v, plan, n);
  if (plan.productoAl21) agregarProducto(v, t_.singulares.botellaParaLlevar, 1, primero_, false);
  if (plan.productoAl0) agregarProducto(v, t_.singulares.tarjetaRegalo, 1, primero_, false);
  if (plan.promociones) {
    agregarProducto(v, t_.singulares.cana, 2, primero_, false);
    v.lineas.back().promocion = 1;
    agregar(v, Uso::Copa, 1, primero_, false);
    v.lineas.back().promocion = 2;
    agregar(v, Uso::Cafe, 3, primero_, false);
    v.lineas.back().promocion = 4;
  }
  if (v.lineas.empty()) agregar(v, Uso::Cafe, 1, primero_);
  if (empresa) {
    Plan conDescuento = plan;
    conDescuento.descuentoGlobal = true;
    ajustar(v, conDescuento);
  } else {
    ajustar(v, plan);
  }
  cobrar(v, plan);
  if (empresa && plan.pagoForzado < 0 && !v.efectivo) v.pago = pago::ACuenta;
  v.cocina = false;
  for (const Linea& l : v.lineas)
    if (t_.producto(l.producto).cocina) v.cocina = true;
  v.final = plan.final;
  v.numeroCero = plan.numeroCero;
  v.borrar = plan.borrada ? 1 : 0;
  return v;
}

}  // namespace demo
