#include "builders/Busquedas.h"
#include "builders/InformesCaja.h"
#include "builders/InformesZonas.h"

#include <array>

namespace informes {

// --- Catálogo de productos -------------------------------------------------------

namespace {
// Los códigos se comparan sin mayúsculas. Casi todos son ASCII: bajarlos a
// mano en un búfer que se reutiliza cuesta menos que pasar por QString en
// cada una de las líneas del año.
void Clave(QByteArrayView utf8, QByteArray& clave) {
  clave.resize(utf8.size());
  for (qsizetype i = 0; i < utf8.size(); ++i) {
    char c = utf8[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
      clave = QString::fromUtf8(utf8).toCaseFolded().toUtf8();
      return;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    clave[i] = c;
  }
}
}  // namespace

CatalogoProductos::CatalogoProductos(const datos::Conexion& ventas) {
  datos::Consulta q = ventas.preparar(
      QStringLiteral("SELECT productos.codigo, productos.coste, productos.precio, seccion.codigo, seccion.nombre"
                     " FROM productos LEFT JOIN seccion ON productos.seccion = seccion.codigo"));
  q.ejecutar();
  QByteArray clave;
  while (q.siguiente()) {
    const QVariant codigo = q.valor(0);
    if (codigo.isNull()) continue;
    Clave(codigo.toString().toUtf8(), clave);
    // Con dos productos que sólo difieren en mayúsculas vale el primero.
    if (productos_.contains(clave)) continue;
    Producto p;
    p.coste = q.valor(1);
    p.precio = q.valor(2);
    if (!q.valor(3).isNull()) {
      p.codigoFamilia = q.valor(3).toString();
      p.familia = q.valor(4).toString();
    }
    productos_.insert(clave, p);
  }
}

const CatalogoProductos::Producto* CatalogoProductos::buscar(QByteArrayView codigoUtf8) const {
  Clave(codigoUtf8, clave_);
  const auto it = productos_.constFind(clave_);
  return it == productos_.constEnd() ? nullptr : &*it;
}

QString FranjaHoraria(const QVariant& hora) {
  const QVariant h = HoraONulo(hora);
  if (h.isNull()) return {};
  const int n = h.toTime().hour();
  return QStringLiteral("%1:00 - %2:00").arg(n, 2, 10, QLatin1Char('0')).arg(n + 1);
}

namespace {

// Los modos de venta de una caja rápida.
enum ModoVenta { kLocal = 0, kLlevar = 1, kRecogida = 2, kDomicilio = 3, kMesa = 4 };

QString RotuloModo(qint64 modo) {
  switch (modo) {
    case kLocal:
      return QStringLiteral("Local");
    case kLlevar:
      return QStringLiteral("Llevar");
    case kRecogida:
      return QStringLiteral("Recogida");
    case kDomicilio:
      return QStringLiteral("A Domicilio");
    default:
      return {};
  }
}

// "Zona: ..." de una línea en los informes por producto y por familias.
struct ZonaLinea {
  QVariant clave;
  QVariant rotulo;
};
ZonaLinea ZonaDeVenta(bool cajaRapida, const QVariant& zona, const QVariant& modoVenta,
                      const BusquedasVentas& busquedas) {
  const QString prefijo = QStringLiteral("Zona: ");
  if (!cajaRapida) return {zona, prefijo + busquedas.NombreSalon(zona)};
  const auto modo = EnteroDe(modoVenta);
  if (modo == kMesa) return {modoVenta, prefijo + busquedas.NombreSalon(zona)};
  const QString rotulo = modo ? RotuloModo(*modo) : QString();
  return {modoVenta, rotulo.isEmpty() ? QVariant() : QVariant(prefijo + rotulo)};
}

// --- Ventas por zonas (general) y por horas ----------------------------------------

void FacturasPorZonaOHora(Contexto& ctx, bool porHoras) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const SelloGeneracion sello = TomarSello(ctx.reloj);
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  const bool cajaRapida = ctx.ajustes.CajaFastFood;

  BusquedasVentas busquedas(ventas, BusquedasVentas::FormasPago | BusquedasVentas::Clientes);
  using namespace factura;
  const QString filtro = QStringLiteral(
      " FROM (cabecera_factura LEFT JOIN mesas ON cabecera_factura.mesa = mesas.codigo)"
      " LEFT JOIN salones ON cabecera_factura.zona_venta = salones.codigo"
      " WHERE cabecera_factura.fechaventa BETWEEN ? AND ? AND cabecera_factura.borrar = 0");
  qint64 cuantas = 0;
  {
    datos::Consulta c = ventas.preparar(QStringLiteral("SELECT COUNT(*)") + filtro);
    c.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
    c.ejecutar();
    if (c.siguiente()) cuantas = c.valor(0).toLongLong();
  }
  datos::Lectura q(ventas, kColumnas +
                               QStringLiteral(", cabecera_factura.cliente, salones.nombre AS nombresalon,"
                                              " cabecera_factura.modoventa") +
                               filtro + QStringLiteral(" ORDER BY cabecera_factura.numero"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();

  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Fecha1, sello.fecha);
  escritor.fijar(Col::Fecha2, sello.hora);
  escritor.fijar(Col::Texto6, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto7, textoDiaMesAnio(sel.FechaHasta));
  escritor.fijar(Col::Entero3, cuantas);

  // Lo vendido en cada modo de una caja rápida, una vez por factura.
  std::array<double, 5> porModo{};
  while (q.siguiente()) {
    const QVariant numero = q.valor(kNumero);
    const QVariant impuesto = q.valor(kImpuesto);
    const QVariant zona = q.valor(kZona);
    const auto codigoZona = EnteroDe(zona);
    const QVariant pago = q.valor(kPago);
    const QVariant total = q.valor(kTotal);
    const auto modo = EnteroDe(q.valor(kModoVenta));
    const double efectivo = Importe(q.valor(kEfectivo));
    const double tarjeta = Importe(q.valor(kTarjeta));
    const bool partido = efectivo != 0 && tarjeta != 0;

    for (int pasada = 0; pasada < (partido ? 2 : 1); ++pasada) {
      escritor.nuevaFila();
      escritor.origen("cabecera_factura", "la factura", numero);
      escritor.poner(Col::Numerico1, impuesto.isNull() ? QVariant(0) : impuesto, "impuesto");

      QVariant zonaRotulo;
      QVariant lugar;
      if (!cajaRapida) {
        zonaRotulo = q.valor(kNombreSalon);
        const QVariant mesa = q.valor(kNumMesa);
        if (!mesa.isNull() && !mesa.toString().isEmpty()) {
          lugar = mesa;
        } else if (codigoZona == 100) {
          // Una venta por teléfono enseña el número de quien llamó.
          const QString telefono = busquedas.TelefonoCliente(q.valor(kCliente));
          if (telefono != QLatin1String("-1")) lugar = telefono;
        } else {
          lugar = QStringLiteral("Barra");
        }
      } else {
        const QVariant rotulo = modo == kMesa ? q.valor(kNombreSalon) : modo ? QVariant(RotuloModo(*modo)) : QVariant();
        if (!rotulo.toString().isEmpty()) zonaRotulo = rotulo;
        // La segunda fila de un pago repartido no lleva sitio: así la factura
        // se cuenta una sola vez en los totales por modo.
        if (pasada == 0) {
          if (!porHoras || (modo && *modo != kMesa)) lugar = zonaRotulo;
          if (!porHoras && modo && *modo >= kLocal && *modo <= kMesa)
            porModo[static_cast<std::size_t>(*modo)] += Importe(total);
        }
      }
      if (porHoras) {
        if (codigoZona == 0) lugar = QStringLiteral("CobroP");
        zonaRotulo = FranjaHoraria(q.valor(kHora));
      } else if (codigoZona == 101 || codigoZona == 102 || codigoZona == 0 || codigoZona == -1) {
        switch (*codigoZona) {
          case 101:
            zonaRotulo = QStringLiteral("Entrada");
            break;
          case 102:
            zonaRotulo = QStringLiteral("Ropero");
            break;
          case 0:
            zonaRotulo = QStringLiteral("Cobro Parcial");
            break;
          default:
            zonaRotulo = QStringLiteral("Caja Rapida");
            break;
        }
        lugar = codigoZona == 0 ? QVariant(QStringLiteral("CobroP")) : QVariant();
      }
      escritor.poner(Col::Texto21, zonaRotulo);
      escritor.poner(Col::Texto11, lugar);
      escritor.poner(Col::Texto23, q.valor(kCamarero));
      escritor.poner(Col::Texto22, numero.isNull() ? QVariant() : QVariant(numero.toString()));
      escritor.poner(Col::Numerico10, numero, "numero");

      escritor.poner(Col::Numerico4, q.valor(kDescuento), "descuento");
      escritor.poner(Col::Fecha3, HoraONulo(q.valor(kHora)));
      const QVariant recargo = q.valor(kRecargo);
      if (!total.isNull()) {
        // Por zonas, lo vendido antes del recargo y del descuento; por
        // horas, lo cobrado sin impuesto.
        const double doble = porHoras ? Importe(total) - Importe(impuesto)
                                      : Importe(total) - Importe(recargo) + Importe(q.valor(kDescuento));
        escritor.poner(Col::Doble1, doble);
      }
      escritor.poner(Col::Fecha4, HoraONulo(q.valor(kHoraInicio)));
      const QDate dia = datos::aFecha(q.valor(kFechaVenta));
      escritor.poner(Col::Texto5, dia.isValid() ? QVariant(textoDiaMesAnio(dia)) : QVariant());
      escritor.poner(Col::Numerico3, recargo, "recargo");

      const FilaDePago fila = PagoDeLaPasada(pago, total, efectivo, tarjeta, partido, pasada, busquedas);
      escritor.poner(Col::Numerico2, fila.importe, "total");
      escritor.poner(Col::Texto4, fila.rotulo);
      sel.SinDatos = false;
      escritor.guardarFila();
    }
  }

  if (cajaRapida && !porHoras && !sel.SinDatos) {
    // Los blancos alinean los importes cuando se imprimen en letra de ancho fijo.
    auto importe = [](double v) { return QString::number(v, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')); };
    escritor.estampar({
        {Col::Texto35, QStringLiteral("Consumidos en Local      ") + importe(porModo[kLocal])},
        {Col::Texto34, QStringLiteral("Para Llevar                         ") + importe(porModo[kLlevar])},
        {Col::Texto33, QStringLiteral("Recogidas en local              ") + importe(porModo[kRecogida])},
        {Col::Texto32, QStringLiteral("A domicilio                         ") + importe(porModo[kDomicilio])},
        {Col::Texto31, QStringLiteral("Con Atencion en mesa                ") + importe(porModo[kMesa])},
    });
  }
  escritor.terminar();
  if (sel.SinDatos) AvisarSinDatos(ctx.notificador);
}

// --- Líneas de venta: totalizado por producto y por familias ------------------------

enum CampoLinea {
  kLNumFactura,
  kLOrden,
  kLMenu,
  kLCodigo,
  kLProducto,
  kLPrecio,
  kLUnidades,
  kLDescuento,
  kLRecargo,
  kLCodCamarero,
  kLNombreCamarero
};

// Las líneas de las ventas del periodo en el orden de la venta. Las ventas
// borradas no se quitan: estos informes cuentan lo que se tecleó en cada
// línea. Las ventas van en una subconsulta para que la base recorra las
// líneas por su índice, ya en orden, sin ordenar el periodo entero.
const QString kLineas = QStringLiteral(
    "SELECT detalle_factura.num_factura, detalle_factura.orden, detalle_factura.menu, detalle_factura.codigo,"
    " detalle_factura.producto, detalle_factura.precio, detalle_factura.unidades, detalle_factura.descuento,"
    " detalle_factura.recargo, detalle_factura.codcamarero, detalle_factura.nombrecamarero"
    " FROM detalle_factura WHERE detalle_factura.num_factura IN"
    " (SELECT cabecera_factura.numero FROM cabecera_factura WHERE cabecera_factura.fechaventa BETWEEN ? AND ?)"
    " ORDER BY detalle_factura.num_factura, detalle_factura.indice");

// Qué es cada línea. Un orden sin poner es una línea suelta, como el 0.
enum class Clase { CabeceraMenu, Componente, Normal };
Clase ClaseDe(const datos::Lectura& q) {
  const double orden = q.numero(kLOrden);
  if (orden == 0) return q.numero(kLMenu) != 0 ? Clase::CabeceraMenu : Clase::Normal;
  return orden > 0 ? Clase::Componente : Clase::Normal;
}

// Recorre las líneas con los menús seguidos de sus platos. `escribir` recibe
// cada línea con su grupo (nombre y código), si es la cabecera de un menú,
// uno de sus platos u otra línea, y su producto (nada si ya no existe). Un
// plato sólo es del menú que lo precede en su misma venta; uno suelto (tras
// una línea normal, o el primero de una venta) no arrastra el menú ni la
// familia de ninguna línea anterior: su grupo queda vacío.
template <typename Escribir>
void RecorrerLineas(datos::Lectura& q, const CatalogoProductos& catalogo, bool platoSueltoComoNormal,
                    Escribir escribir) {
  bool hay = q.siguiente();
  while (hay) {
    const Clase clase = ClaseDe(q);
    if (clase == Clase::CabeceraMenu) {
      const QVariant nombre = q.valor(kLProducto);
      const QVariant codigo = q.valor(kLCodigo);
      const QVariant codigoTexto = codigo.isNull() ? QVariant() : QVariant(codigo.toString());
      const qint64 venta = q.entero(kLNumFactura);
      escribir(Clase::CabeceraMenu, nombre, codigoTexto, catalogo.buscar(q.textoUtf8(kLCodigo)));
      hay = q.siguiente();
      while (hay && q.entero(kLNumFactura) == venta && q.numero(kLOrden) > 0) {
        escribir(Clase::Componente, nombre, codigoTexto, catalogo.buscar(q.textoUtf8(kLCodigo)));
        hay = q.siguiente();
      }
      continue;
    }
    const CatalogoProductos::Producto* p = catalogo.buscar(q.textoUtf8(kLCodigo));
    if (clase == Clase::Normal || platoSueltoComoNormal) {
      // Sin familia, o sin producto, el grupo queda vacío.
      const bool conFamilia = p && !p->codigoFamilia.isNull();
      escribir(Clase::Normal, conFamilia ? p->familia : QVariant(), conFamilia ? p->codigoFamilia : QVariant(), p);
    } else {
      escribir(Clase::Componente, QVariant(), QVariant(), p);
    }
    hay = q.siguiente();
  }
}

// La zona de cada venta del periodo con su rótulo, hecho una vez por venta y
// no por línea.
QHash<qint64, ZonaLinea> ZonasDeLasVentas(const datos::Conexion& ventas, const SeleccionInforme& sel, bool cajaRapida,
                                          bool conZonasEspeciales) {
  const BusquedasVentas busquedas(ventas, BusquedasVentas::Salones);
  QHash<qint64, ZonaLinea> zonas;
  datos::Lectura q(ventas, QStringLiteral("SELECT numero, zona_venta, modoventa FROM cabecera_factura"
                                          " WHERE fechaventa BETWEEN ? AND ?"));
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();
  QHash<qint64, QString> rotulos;  // "Zona: " + salón, uno por zona
  while (q.siguiente()) {
    const QVariant zona = q.valor(1);
    ZonaLinea z = ZonaDeVenta(cajaRapida, zona, q.valor(2), busquedas);
    const auto codigoZona = EnteroDe(zona);
    if (conZonasEspeciales && codigoZona == 0) z = {zona, QStringLiteral("Zona: Cobro Parcial")};
    if (conZonasEspeciales && codigoZona == -1) z = {zona, QStringLiteral("Zona: Caja Rapida")};
    // El mismo rótulo comparte su texto en todas las líneas.
    if (z.rotulo.typeId() == QMetaType::QString && codigoZona) {
      auto it = rotulos.find(*codigoZona);
      if (it == rotulos.end() || *it != z.rotulo.toString()) it = rotulos.insert(*codigoZona, z.rotulo.toString());
      z.rotulo = *it;
    }
    zonas.insert(q.entero(0), z);
  }
  return zonas;
}

void LineasPorProductoOFamilia(Contexto& ctx, bool porFamilias) {
  SeleccionInforme& sel = ctx.seleccion;
  sel.SinDatos = true;
  const datos::Conexion& ventas = *ctx.ajustes.ConexionVentas;
  const CabeceraNegocio cabecera = LeerCabeceraTabla(ventas, &ctx.notificador);
  EscritorInformes escritor(*ctx.ajustes.ConexionInformes);
  escritor.vaciar();
  const CatalogoProductos catalogo(ventas);
  const bool porEmpleados = porFamilias && sel.PorEmpleados;
  const bool porZonas = !porFamilias || sel.PorZonas;
  // El informe por familias no conoce el cobro parcial ni la caja rápida.
  const QHash<qint64, ZonaLinea> zonas =
      porZonas ? ZonasDeLasVentas(ventas, sel, ctx.ajustes.CajaFastFood, !porFamilias) : QHash<qint64, ZonaLinea>();

  escritor.fijar(Col::Texto1, cabecera.nombre);
  escritor.fijar(Col::Texto2, cabecera.direccion);
  escritor.fijar(Col::Texto3, textoDiaMesAnio(sel.FechaDesde));
  escritor.fijar(Col::Texto4, textoDiaMesAnio(sel.FechaHasta));
  escritor.fijar(Col::Numerico1, 0);
  const QString sangria = QStringLiteral("      ");

  datos::Lectura q(ventas, kLineas);
  q.enlazar(sel.FechaDesde).enlazar(sel.FechaHasta);
  q.ejecutar();
  RecorrerLineas(q, catalogo, !porFamilias,
                 [&](Clase clase, const QVariant& grupo, const QVariant& codigoGrupo,
                     const CatalogoProductos::Producto* producto) {
                   // El informe por producto deja fuera las líneas de productos
                   // que ya no existen: no tienen coste con que calcular el margen.
                   if (!porFamilias && !producto) return;
                   const QVariant venta = q.valor(kLNumFactura);
                   escritor.nuevaFila();
                   escritor.origen("detalle_factura", "la línea de la venta", venta);
                   escritor.poner(Col::Texto21, grupo);
                   escritor.poner(Col::Texto22, codigoGrupo);
                   escritor.poner(Col::Texto23, q.valor(kLCodigo));
                   escritor.poner(Col::Texto5, sangria + q.valor(kLProducto).toString());
                   const QVariant precio = q.valor(kLPrecio);
                   escritor.poner(Col::Numerico2, precio, "precio");
                   escritor.poner(Col::Numerico10, precio, "precio");
                   escritor.poner(Col::Numerico3, q.valor(kLUnidades), "unidades");
                   escritor.poner(Col::Numerico5, q.valor(kLDescuento), "descuento");
                   escritor.poner(Col::Numerico6, q.valor(kLRecargo), "recargo");
                   if (!porFamilias) {
                     escritor.poner(Col::Numerico14, producto->coste, "coste");
                     escritor.poner(Col::Numerico11, producto->precio, "precio");
                     if (clase != Clase::Componente) {
                       const double margen = q.numero(kLPrecio) + q.numero(kLRecargo) - q.numero(kLDescuento) -
                                             Importe(producto->coste) * q.numero(kLUnidades);
                       escritor.poner(Col::Numerico15, margen);
                     }
                   }
                   if (porEmpleados) {
                     escritor.poner(Col::Numerico22, q.valor(kLCodCamarero), "codcamarero");
                     escritor.poner(Col::Texto35, q.valor(kLNombreCamarero));
                   }
                   if (porZonas) {
                     const auto z = zonas.constFind(q.entero(kLNumFactura));
                     if (z != zonas.cend()) {
                       escritor.poner(Col::Numerico22, z->clave, "zona");
                       escritor.poner(Col::Texto35, z->rotulo);
                     }
                   }
                   sel.SinDatos = false;
                   escritor.guardarFila();
                 });
  escritor.terminar();
  if (sel.SinDatos) {
    if (porFamilias)
      AvisarSinDatos(ctx.notificador, QStringLiteral("No hay datos para ser mostrados"), QStringLiteral("Atencion"));
    else
      AvisarSinDatos(ctx.notificador, QStringLiteral("No hay datos para ser mostrados"),
                     QStringLiteral("No hay datos"));
  }
}

}  // namespace

void CrearVentasZonasGeneral(Contexto& ctx) {
  FacturasPorZonaOHora(ctx, false);
}

void CrearVentasHoras(Contexto& ctx) {
  FacturasPorZonaOHora(ctx, true);
}

void CrearVentasZonasProducto(Contexto& ctx) {
  LineasPorProductoOFamilia(ctx, false);
}

void CrearVentasFamilias(Contexto& ctx) {
  LineasPorProductoOFamilia(ctx, true);
}

void CrearVentasZonas(Contexto& ctx) {
  if (ctx.seleccion.FormatoZonas == 2)
    CrearVentasZonasProducto(ctx);
  else
    CrearVentasZonasGeneral(ctx);
}

}  // namespace informes
