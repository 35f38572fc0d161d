// La tienda de demostración que escribe `cronicas demo`: ficheros, coherencia
// entre tablas, los casos raros que los informes distinguen, el archivo del
// ejercicio cerrado, el arranque con sus ajustes y el respeto a una tienda
// que ya existe.

#include "Volcado.h"

#include "demo/Demo.h"
#include "platform/ajustes/AlmacenAjustes.h"
#include "startup/Arranque.h"
#include "support/Ayudas.h"
#include "support/BasesPrueba.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using prueba::Contar;

const QDate kHoy(2026, 1, 20);  // el rango cruza el cierre del ejercicio 2025

demo::OpcionesDemo Opciones(const QString& destino, quint64 semilla = 7, int dias = 60, int ventasDia = 12) {
  demo::OpcionesDemo o;
  o.destino = destino;
  o.dias = dias;
  o.ventasDia = ventasDia;
  o.semilla = semilla;
  o.hoy = kHoy;
  return o;
}

std::unique_ptr<datos::Conexion> Abrir(const QString& fichero) {
  return datos::Conexion::abrir(
      datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), QStringLiteral("sqlite:") + fichero));
}

QByteArray Huella(const QString& fichero) {
  return prueba::HuellaDeVentas(*Abrir(fichero));
}

QStringList Contenido(const QString& carpeta) {
  QStringList todo;
  QDir d(carpeta);
  for (const QFileInfo& f : d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name)) {
    todo << f.fileName();
    if (f.isDir())
      for (const QString& dentro : Contenido(f.filePath())) todo << f.fileName() + QLatin1Char('/') + dentro;
  }
  return todo;
}

// Una tienda de dos meses generada una vez para todo el grupo.
class TiendaDemo : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    carpeta_ = new QTemporaryDir;
    sistema::RelojFijo reloj(QDateTime(kHoy, QTime(9, 0)));
    resultado_ = demo::GenerarDemo(Opciones(carpeta_->filePath(QStringLiteral("tienda"))), reloj,
                                   [](const QString& m) { avisos_ << m; });
  }
  static void TearDownTestSuite() {
    delete carpeta_;
    carpeta_ = nullptr;
  }

  qint64 contar(const QString& sql, const QVariantList& valores = {}) const { return Contar(*ventas_, sql, valores); }

  static QTemporaryDir* carpeta_;
  static demo::ResultadoDemo resultado_;
  static QStringList avisos_;
  std::unique_ptr<datos::Conexion> ventas_ = Abrir(resultado_.baseVentas);
};

QTemporaryDir* TiendaDemo::carpeta_ = nullptr;
demo::ResultadoDemo TiendaDemo::resultado_;
QStringList TiendaDemo::avisos_;

TEST_F(TiendaDemo, EscribeLasBasesElArchivoDelEjercicioCerradoYLosAjustes) {
  const QString tienda = carpeta_->filePath(QStringLiteral("tienda"));
  // La base de ventas va en modo WAL: mientras esta prueba la tiene abierta
  // están su diario y su memoria compartida, que no son de la tienda.
  EXPECT_EQ(ventas_->modoDiario(), QStringLiteral("wal"));
  QStringList contenido = Contenido(tienda);
  contenido.removeIf(
      [](const QString& f) { return f.endsWith(QLatin1String("-wal")) || f.endsWith(QLatin1String("-shm")); });
  EXPECT_EQ(contenido,
            (QStringList{QStringLiteral("ajustes.ini"), QStringLiteral("fotos"), QStringLiteral("fotos/cierresAnuales"),
                         QStringLiteral("fotos/cierresAnuales/hosteleria_2025.db"), QStringLiteral("hosteleria.db"),
                         QStringLiteral("informes.db")}));
  EXPECT_EQ(resultado_.archivos,
            QStringList{QDir(tienda).filePath(QStringLiteral("fotos/cierresAnuales/hosteleria_2025.db"))});
  EXPECT_EQ(resultado_.identificadorPuesto, demo::IdentificadorDemo());
  EXPECT_GT(resultado_.facturas, 0);
  EXPECT_EQ(resultado_.facturas, contar(QStringLiteral("SELECT count(*) FROM cabecera_factura")));
  EXPECT_EQ(resultado_.lineas, contar(QStringLiteral("SELECT count(*) FROM detalle_factura")));

  auto informes = Abrir(resultado_.baseInformes);
  EXPECT_TRUE(informes->tieneTabla(QStringLiteral("informes")));
  EXPECT_EQ(Contar(*informes, QStringLiteral("SELECT count(*) FROM cronicastemporal")), 0);

  // Una línea de progreso por mes, no por venta.
  for (const char* mes : {"noviembre de 2025", "diciembre de 2025", "enero de 2026"})
    EXPECT_EQ(avisos_.filter(QString::fromUtf8(mes)).size(), 1) << mes;
  EXPECT_LT(avisos_.size(), 20);
}

TEST_F(TiendaDemo, LasLineasCuadranConSusCabeceras) {
  EXPECT_EQ(contar(QStringLiteral(
                "SELECT count(*) FROM detalle_factura WHERE num_factura NOT IN (SELECT numero FROM cabecera_factura)")),
            0);
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura c WHERE NOT EXISTS "
                                  "(SELECT 1 FROM detalle_factura d WHERE d.num_factura = c.numero)")),
            0);
  // total = importe de las líneas vivas + recargo - descuento.
  EXPECT_EQ(
      contar(QStringLiteral(
          "SELECT count(*) FROM cabecera_factura c WHERE abs(c.total - (c.recargo - c.descuento + "
          "(SELECT coalesce(sum(precio), 0) FROM detalle_factura d WHERE d.num_factura = c.numero AND d.borrar = 0)))"
          " > 0.005")),
      0);
  // La cuota de cada línea es la parte de IVA de su importe.
  EXPECT_EQ(
      contar(QStringLiteral(
          "SELECT count(*) FROM detalle_factura WHERE tipoimpuesto IS NOT NULL AND "
          "abs(impuesto - round((precio + recargo - descuento) * tipoimpuesto / (100 + tipoimpuesto), 2)) > 0.0051")),
      0);
  // Sin descuento de cuenta, el impuesto de la cabecera es el de sus líneas.
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura c WHERE c.impuesto IS NOT NULL "
                                  "AND abs(c.descuento - (SELECT sum(descuento) FROM detalle_factura d WHERE "
                                  "d.num_factura = c.numero AND d.borrar = 0)) < 0.005 "
                                  "AND abs(c.impuesto - (SELECT sum(impuesto) FROM detalle_factura d WHERE "
                                  "d.num_factura = c.numero AND d.borrar = 0)) > 0.005")),
            0);
  EXPECT_GT(contar(QStringLiteral("SELECT count(*) FROM detalle_factura WHERE tipoimpuesto = 21")), 0);
  // Un pago partido reparte el total entero, y sólo entonces hay importes.
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE (efectivo <> 0 OR tarjeta <> 0) "
                                  "AND (efectivo <= 0 OR tarjeta <= 0 OR abs(efectivo + tarjeta - total) > 0.005)")),
            0);
  // Los números de factura no se repiten, tampoco con las cobradas y borradas.
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) - count(DISTINCT numero) FROM cabecera_factura")), 0);
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura_anulaciones WHERE numero > 0 AND numero IN "
                                  "(SELECT numero FROM cabecera_factura)")),
            0);
}

TEST_F(TiendaDemo, LasVentasSoloNombranLoQueExiste) {
  const std::pair<const char*, const char*> referencias[] = {
      {"camarero de línea",
       "SELECT count(*) FROM detalle_factura WHERE codcamarero NOT IN (SELECT codigo FROM empleados)"},
      {"camarero de línea anulada",
       "SELECT count(*) FROM detalle_factura_anulaciones WHERE codcamarero NOT IN (SELECT codigo FROM empleados)"},
      {"camarero de cabecera",
       "SELECT count(*) FROM cabecera_factura WHERE codigo_camarero NOT IN (SELECT codigo FROM empleados)"},
      {"repartidor",
       "SELECT count(*) FROM cabecera_factura WHERE repartidor <> 0 AND repartidor NOT IN (SELECT codigo FROM "
       "empleados)"},
      {"mesa",
       "SELECT count(*) FROM cabecera_factura WHERE mesa IS NOT NULL AND mesa NOT IN (SELECT codigo FROM mesas)"},
      {"artículo", "SELECT count(*) FROM detalle_factura WHERE codigo NOT IN (SELECT codigo FROM productos)"},
      {"forma de pago",
       "SELECT count(*) FROM cabecera_factura WHERE pago <> 0 AND pago NOT IN (SELECT codigo FROM formapago WHERE "
       "borrar <> 0)"},
      {"propina",
       "SELECT count(*) FROM propinas WHERE numventa <> 0 AND numventa NOT IN (SELECT numero FROM cabecera_factura)"},
      {"comanda",
       "SELECT count(*) FROM cocifac WHERE numfactura IS NOT NULL AND numfactura NOT IN "
       "(SELECT numero FROM cabecera_factura UNION SELECT numero FROM cabecera_factura_anulaciones)"},
      {"pedido", "SELECT count(*) FROM pedidosdet WHERE pedido NOT IN (SELECT cod FROM pedidos)"},
      {"escandallo",
       "SELECT count(*) FROM productoelaborado_producto WHERE productohijo NOT IN (SELECT codigo FROM productos)"},
      {"comprobante fiscal",
       "SELECT count(*) FROM facturatiporepdom WHERE nrofactura NOT IN (SELECT numero FROM cabecera_factura)"},
      // Nadie vende después de su baja ni en su día libre, y el martes se cierra.
      {"venta tras la baja",
       "SELECT count(*) FROM cabecera_factura c JOIN empleados e ON e.codigo = c.codigo_camarero "
       "WHERE e.fechabaja IS NOT NULL AND c.fechaventa > e.fechabaja"},
      {"venta en día libre",
       "SELECT count(*) FROM cabecera_factura c JOIN empleados e ON e.codigo = c.codigo_camarero "
       "WHERE e.libra = substr('dlmxjvs', strftime('%w', c.fechaventa) + 1, 1)"},
      {"venta en martes", "SELECT count(*) FROM cabecera_factura WHERE strftime('%w', fechaventa) = '2'"},
  };
  for (const auto& [que, sql] : referencias) EXPECT_EQ(contar(QString::fromUtf8(sql)), 0) << que;
}

TEST_F(TiendaDemo, LasFechasQuedanEnElRangoHastaAyer) {
  const QDate desde = kHoy.addDays(-60), ayer = kHoy.addDays(-1);
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE fechaventa < ? OR fechaventa > ?"),
                   {desde, ayer}),
            0);
  EXPECT_GT(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE fechaventa = ?"), {ayer}), 0);
  // Una venta se abre el mismo día o, pasada la medianoche, el anterior.
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE fecha > fechaventa "
                                  "OR julianday(fechaventa) - julianday(fecha) > 1")),
            0);
  // Un cierre de caja por día con ventas.
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM cierre_caja")),
            contar(QStringLiteral("SELECT count(DISTINCT fechaventa) FROM cabecera_factura")));
  EXPECT_EQ(contar(QStringLiteral(
                "SELECT count(*) FROM cierre_caja WHERE fecha NOT IN (SELECT fechaventa FROM cabecera_factura)")),
            0);
  // Las ventas abiertas son de hoy.
  EXPECT_GT(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura_temp")), 0);
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura_temp WHERE fechaventa <> ?"), {kHoy}), 0);
}

TEST_F(TiendaDemo, ElArchivoDelEjercicioGuardaSoloSuAnio) {
  auto archivo = Abrir(resultado_.archivos.value(0));
  const QString anio2025 = QStringLiteral("fechaventa BETWEEN '2025-01-01' AND '2025-12-31'");
  const qint64 ventas2025 = contar(QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE ") + anio2025);
  ASSERT_GT(ventas2025, 0);
  EXPECT_GT(contar(QStringLiteral("SELECT count(*) FROM cabecera_factura")), ventas2025)
      << "la base en vivo lo tiene todo";
  EXPECT_EQ(Contar(*archivo, QStringLiteral("SELECT count(*) FROM cabecera_factura")), ventas2025);
  EXPECT_EQ(Contar(*archivo,
                   QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE NOT (") + anio2025 + QLatin1Char(')')),
            0);
  EXPECT_EQ(Contar(*archivo, QStringLiteral("SELECT count(*) FROM detalle_factura")),
            contar(QStringLiteral("SELECT count(*) FROM detalle_factura WHERE num_factura IN "
                                  "(SELECT numero FROM cabecera_factura WHERE ") +
                   anio2025 + QLatin1Char(')')));
  for (const char* tabla : {"gastos", "cierre_caja", "propinas", "reservas", "historicostock", "cocifac", "pedidos"})
    EXPECT_EQ(
        Contar(*archivo, QStringLiteral("SELECT count(*) FROM %1 WHERE fecha NOT BETWEEN '2025-01-01' AND '2025-12-31'")
                             .arg(QLatin1String(tabla))),
        0)
        << tabla;
  EXPECT_EQ(Contar(*archivo, QStringLiteral("SELECT count(*) FROM cabecera_factura_temp")), 0);
  // Los datos maestros van enteros.
  EXPECT_EQ(Contar(*archivo, QStringLiteral("SELECT count(*) FROM productos")),
            contar(QStringLiteral("SELECT count(*) FROM productos")));
  EXPECT_EQ(Contar(*archivo, QStringLiteral("SELECT count(*) FROM opciones WHERE identificador = ?"),
                   {demo::IdentificadorDemo()}),
            1);
}

TEST_F(TiendaDemo, TieneLosCasosQueDistinguenLosInformes) {
  const std::pair<const char*, const char*> casos[] = {
      {"artículo sin familia",
       "SELECT count(*) FROM productos WHERE seccion IS NULL OR seccion NOT IN (SELECT codigo FROM seccion)"},
      {"artículo sin proveedor", "SELECT count(*) FROM productos WHERE proveedor IS NULL"},
      {"stock justo en el mínimo, con familia y proveedor",
       "SELECT count(*) FROM productos p JOIN proveedores v ON p.proveedor = v.codigo JOIN seccion s ON p.seccion = "
       "s.codigo "
       "WHERE p.stock = p.stockminimo AND p.stockminimo > 0"},
      {"stock por debajo del mínimo", "SELECT count(*) FROM productos WHERE stock < stockminimo"},
      {"stock negativo", "SELECT count(*) FROM productos WHERE stock < 0"},
      {"borrado con stock", "SELECT count(*) FROM productos WHERE borrar <> 0 AND stock > 0"},
      {"tipo de artículo fuera de E/V/A", "SELECT count(*) FROM productos WHERE tipoprod NOT IN (0, 1, 2)"},
      {"código de barras EAN-13", "SELECT count(*) FROM productos WHERE length(codigobarras) = 13"},
      {"código de barras 0", "SELECT count(*) FROM productos WHERE codigobarras = '0'"},
      {"familia ni de barra ni de cocina", "SELECT count(*) FROM seccion WHERE hechoen NOT IN (1, 2)"},
      {"familia de menú con precio", "SELECT count(*) FROM seccion WHERE menu <> 0 AND precio > 0 AND coste > 0"},
      {"forma de pago en uso", "SELECT count(*) FROM formapago WHERE borrar <> 0"},
      {"forma de pago retirada", "SELECT count(*) FROM formapago WHERE borrar = 0"},
      {"día libre en mayúscula", "SELECT count(*) FROM empleados WHERE libra <> lower(libra)"},
      {"día libre vacío", "SELECT count(*) FROM empleados WHERE libra = ''"},
      {"empleado de baja", "SELECT count(*) FROM empleados WHERE baja <> 0 AND fechabaja IS NOT NULL"},
      {"cliente sin apellidos", "SELECT count(*) FROM clientes WHERE apellidos IS NULL"},
      {"pago partido", "SELECT count(*) FROM cabecera_factura WHERE efectivo > 0 AND tarjeta > 0"},
      {"venta por teléfono de un cliente",
       "SELECT count(*) FROM cabecera_factura c JOIN clientes k ON k.codigo = c.cliente WHERE c.zona_venta = 100 AND "
       "c.mesa IS NULL"},
      {"a domicilio con repartidor",
       "SELECT count(*) FROM cabecera_factura WHERE modoventa = 3 AND repartidor IN (SELECT codigo FROM empleados)"},
      {"menú seguido de sus platos",
       "SELECT count(*) FROM detalle_factura m JOIN detalle_factura p ON p.num_factura = m.num_factura "
       "AND p.indice = m.indice + 1 AND p.orden = 1 AND p.productodemenu <> 0 AND p.codmenu = m.codmenu "
       "WHERE m.menu <> 0 AND m.orden = 0"},
      {"plato de menú en cuarta posición",
       "SELECT count(*) FROM detalle_factura WHERE productodemenu <> 0 AND orden = 4"},
      {"menú vendido bajo otra familia", "SELECT count(*) FROM detalle_factura WHERE menu <> 0 AND codigo <> codmenu"},
      {"anulada sin número, con líneas",
       "SELECT count(*) FROM cabecera_factura_anulaciones c JOIN detalle_factura_anulaciones d ON d.num_factura = "
       "c.numero "
       "WHERE c.numero <= 0 AND d.borrar <> 0"},
      {"línea quitada con factura de origen",
       "SELECT count(*) FROM detalle_factura_anulaciones WHERE num_facturaorigen > 0"},
      {"línea quitada ya servida",
       "SELECT count(*) FROM detalle_factura_anulaciones WHERE servido <> 0 AND borrar = 0"},
      {"dos propinas distintas en una venta",
       "SELECT count(*) FROM (SELECT numventa FROM propinas WHERE numventa <> 0 GROUP BY numventa "
       "HAVING count(DISTINCT importe) >= 2) x"},
      {"propina sin venta", "SELECT count(*) FROM propinas WHERE numventa = 0"},
      {"abierta un día y cobrada al siguiente", "SELECT count(*) FROM cabecera_factura WHERE fecha <> fechaventa"},
      {"venta servida por dos camareros",
       "SELECT count(*) FROM (SELECT num_factura FROM detalle_factura GROUP BY num_factura HAVING count(DISTINCT "
       "codcamarero) > 1) x"},
      {"impuesto nulo", "SELECT count(*) FROM cabecera_factura WHERE impuesto IS NULL"},
      {"venta borrada", "SELECT count(*) FROM cabecera_factura WHERE borrar <> 0"},
      {"total cero o negativo", "SELECT count(*) FROM cabecera_factura WHERE total <= 0"},
      {"línea sin tipo de IVA", "SELECT count(*) FROM detalle_factura WHERE tipoimpuesto IS NULL"},
      {"línea con descuento", "SELECT count(*) FROM detalle_factura WHERE descuento > 0"},
      {"línea con promoción",
       "SELECT count(*) FROM detalle_factura WHERE promocion IN (SELECT numero FROM promociones)"},
      {"comanda sin factura", "SELECT count(*) FROM cocifac WHERE numfactura IS NULL"},
      {"comanda de una venta borrada",
       "SELECT count(*) FROM cocifac WHERE numfactura IN (SELECT numero FROM cabecera_factura_anulaciones)"},
      {"comprobante fiscal de tipo 5", "SELECT count(*) FROM facturatiporepdom WHERE tipo = 5"},
      {"zona de cobro parcial", "SELECT count(*) FROM cabecera_factura WHERE zona_venta = 0"},
      {"zona de caja rápida", "SELECT count(*) FROM cabecera_factura WHERE zona_venta IN (999, -1)"},
      {"entrada y ropero",
       "SELECT count(DISTINCT zona_venta) - 1 FROM cabecera_factura WHERE zona_venta IN (101, 102)"},
      {"pedido a un proveedor borrado",
       "SELECT count(*) FROM pedidos WHERE proveedor IN (SELECT codigo FROM proveedores WHERE borrar <> 0)"},
      {"teléfono con varias reservas",
       "SELECT count(*) FROM (SELECT telefono FROM reservas GROUP BY telefono HAVING count(*) > 1) x"},
      {"teléfono de dos clientes",
       "SELECT count(*) FROM (SELECT telefono FROM clientes GROUP BY telefono HAVING count(*) > 1) x"},
      {"salida de stock por venta", "SELECT count(*) FROM historicostock WHERE descripciontipo = 2"},
      {"gasto sin importe decimal", "SELECT count(*) FROM gastos WHERE importe_decimal IS NULL"},
      {"cif con la razón social tras un blanco", "SELECT count(*) FROM opciones WHERE cif LIKE '% %'"},
  };
  for (const auto& [que, sql] : casos) EXPECT_GT(contar(QString::fromUtf8(sql)), 0) << que;
  // El correo queda sin configurar.
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM relaciones_fijas WHERE indice = 'DatosEmail'")), 0);
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM valores_fijos WHERE emailinformes IS NOT NULL")), 0);
}

TEST_F(TiendaDemo, LosMenusLlevanSusPlatosDetras) {
  // Cada plato de menú va justo detrás de su cabecera, en la posición que
  // dice su orden y con el mismo código de menú.
  EXPECT_EQ(
      contar(QStringLiteral(
          "SELECT count(*) FROM detalle_factura p WHERE p.productodemenu <> 0 AND NOT EXISTS "
          "(SELECT 1 FROM detalle_factura m WHERE m.num_factura = p.num_factura AND m.indice = p.indice - p.orden "
          "AND m.menu <> 0 AND m.orden = 0 AND m.codmenu = p.codmenu)")),
      0);
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM detalle_factura WHERE (productodemenu <> 0) = (orden = 0)")),
            0);
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM detalle_factura WHERE menu <> 0 AND codmenu NOT IN (SELECT "
                                  "codigo FROM seccion WHERE menu <> 0)")),
            0);
  // Las líneas de cada venta van numeradas de 1 en adelante, sin huecos.
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM (SELECT min(indice) mn, max(indice) mx, count(*) n "
                                  "FROM detalle_factura GROUP BY num_factura) x WHERE mn <> 1 OR mx <> n")),
            0);
}

TEST_F(TiendaDemo, CocinaPropinasYStockSalenDeLasVentas) {
  // Toda venta con algo de cocina tiene su comanda, del día en que se abrió.
  EXPECT_EQ(contar(QStringLiteral(
                "SELECT count(*) FROM cabecera_factura c WHERE EXISTS (SELECT 1 FROM detalle_factura d "
                "JOIN productos p ON p.codigo = d.codigo JOIN seccion s ON s.codigo = p.seccion "
                "WHERE d.num_factura = c.numero AND s.hechoen = 2) "
                "AND NOT EXISTS (SELECT 1 FROM cocifac k WHERE k.numfactura = c.numero AND k.fecha = c.fecha)")),
            0);
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM propinas p JOIN cabecera_factura c ON c.numero = p.numventa "
                                  "WHERE p.fecha <> c.fechaventa")),
            0);
  // La salida de stock de un artículo en un día es lo vendido ese día.
  EXPECT_EQ(
      contar(QStringLiteral(
          "SELECT count(*) FROM historicostock h WHERE h.descripciontipo = 2 AND abs(h.cantidad - coalesce("
          "(SELECT sum(d.unidades) FROM detalle_factura d JOIN cabecera_factura c ON c.numero = d.num_factura "
          "WHERE c.fechaventa = h.fecha AND c.borrar = 0 AND d.borrar = 0 AND d.codigo = h.codigo), 0)) > 0.001")),
      0);
  EXPECT_EQ(contar(QStringLiteral(
                "SELECT count(*) FROM (SELECT d.codigo, c.fechaventa FROM detalle_factura d "
                "JOIN cabecera_factura c ON c.numero = d.num_factura JOIN productos p ON p.codigo = d.codigo "
                "WHERE c.borrar = 0 AND d.borrar = 0 AND p.tipoprod IN (1, 2) GROUP BY d.codigo, c.fechaventa "
                "HAVING sum(d.unidades) <> 0) v WHERE NOT EXISTS "
                "(SELECT 1 FROM historicostock h WHERE h.descripciontipo = 2 AND h.codigo = v.codigo AND h.fecha = "
                "v.fechaventa)")),
            0);
  // Lo pedido a un proveedor entra en el almacén el mismo día.
  EXPECT_EQ(contar(QStringLiteral("SELECT count(*) FROM pedidosdet WHERE producto IN (SELECT codigo FROM productos)")),
            contar(QStringLiteral("SELECT count(*) FROM historicostock WHERE descripciontipo = 1")));
}

TEST_F(TiendaDemo, ElCierreDeCajaCuadraConLasVentasDelDia) {
  datos::Consulta q = ventas_->preparar(
      QStringLiteral("SELECT fecha, caja, recuento, tarjeta, cajainicialsiguientedia FROM cierre_caja ORDER BY fecha"));
  q.ejecutar();
  double inicial = 150.0;  // la caja con la que abre la tienda el primer día
  int dias = 0;
  while (q.siguiente()) {
    const QDate dia = q.fecha(QStringLiteral("fecha"));
    datos::Consulta v =
        ventas_->preparar(QStringLiteral("SELECT coalesce(sum(CASE WHEN efectivo <> 0 OR tarjeta <> 0 THEN efectivo "
                                         "WHEN pago = 1 THEN total ELSE 0 END), 0) AS efectivo, "
                                         "coalesce(sum(CASE WHEN efectivo <> 0 OR tarjeta <> 0 THEN tarjeta WHEN pago "
                                         "IN (2, 5) THEN total ELSE 0 END), 0) AS tarjeta "
                                         "FROM cabecera_factura WHERE fechaventa = ? AND borrar = 0"));
    v.enlazar(dia);
    v.ejecutar();
    ASSERT_TRUE(v.siguiente());
    // Un gasto vale importe_decimal cuando lo tiene y no es cero; si no, importe.
    const double gastos =
        static_cast<double>(
            Contar(*ventas_,
                   QStringLiteral(
                       "SELECT round(100 * coalesce(sum(CASE WHEN importe_decimal IS NOT NULL AND importe_decimal <> 0 "
                       "THEN importe_decimal ELSE importe END), 0)) FROM gastos WHERE fecha = ?"),
                   {dia})) /
        100.0;
    const double retiradas =
        static_cast<double>(Contar(
            *ventas_, QStringLiteral("SELECT round(100 * coalesce(sum(importe), 0)) FROM retiradas WHERE fecha = ?"),
            {dia})) /
        100.0;
    EXPECT_NEAR(q.numero(QStringLiteral("tarjeta")), v.numero(QStringLiteral("tarjeta")), 0.005)
        << datos::textoFecha(dia).toStdString();
    EXPECT_NEAR(q.numero(QStringLiteral("caja")), inicial + v.numero(QStringLiteral("efectivo")) - gastos - retiradas,
                0.005)
        << datos::textoFecha(dia).toStdString();
    EXPECT_LE(std::abs(q.numero(QStringLiteral("recuento")) - q.numero(QStringLiteral("caja"))), 5.0);
    inicial = q.numero(QStringLiteral("cajainicialsiguientedia"));
    ++dias;
  }
  EXPECT_GT(dias, 40);
}

arranque::Entorno EntornoDePrueba(const sistema::Reloj& reloj) {
  arranque::Entorno e;
  e.reloj = &reloj;
  e.serieVolumen = [] { return std::optional<qint32>(123456); };  // el fichero de ajustes manda
  e.buscarActualizaciones = false;
  return e;
}

TEST_F(TiendaDemo, LosAjustesArrancanElPuestoDeLaDemostracion) {
  sistema::RelojFijo reloj(QDateTime(kHoy, QTime(9, 0)));
  ajustes::AlmacenAjustes almacen(resultado_.ficheroAjustes);
  AjustesTerminal at;
  arranque::Arrancar(at, almacen, EntornoDePrueba(reloj));
  EXPECT_EQ(at.IdTerminal, demo::IdentificadorDemo());
  EXPECT_FALSE(at.Nombre.isEmpty());
  EXPECT_EQ(at.TipoPrograma, QStringLiteral("RESTAURANTE"));
  EXPECT_EQ(at.Terminal, QStringLiteral("1"));
  EXPECT_FALSE(at.CajaFastFood);
  EXPECT_EQ(at.Idioma, QStringLiteral("CASTELLANO"));
  EXPECT_FALSE(at.ImpresoraTicket.isEmpty());
  EXPECT_FALSE(at.ImpresoraInformes.isEmpty());
  EXPECT_NE(at.ImpresoraTicket, at.ImpresoraInformes);
  EXPECT_EQ(at.NumDecimales, 2);
  EXPECT_GT(at.IdColor, 0);
  EXPECT_EQ(
      contar(QStringLiteral("SELECT count(*) FROM empleados WHERE codigo = ? AND baja = 0"), {at.EmpleadoTerminal}), 1);
  EXPECT_TRUE(at.DatosEmailA.isEmpty());
  EXPECT_TRUE(at.EmailInformes.isEmpty());
  EXPECT_EQ(QFileInfo(at.RutaBaseDatos).canonicalFilePath(), QFileInfo(resultado_.baseVentas).canonicalFilePath());
  EXPECT_EQ(almacen.carpetaSalida(),
            QDir(QFileInfo(resultado_.ficheroAjustes).absolutePath()).filePath(QStringLiteral("salida")));
}

TEST(Demo, LaTiendaSeMueveEnteraDeCarpeta) {
  QTemporaryDir dir;
  sistema::RelojFijo reloj(QDateTime(kHoy, QTime(9, 0)));
  demo::GenerarDemo(Opciones(dir.filePath(QStringLiteral("antes")), 3, 3, 4), reloj);
  ASSERT_TRUE(QDir(dir.path()).rename(QStringLiteral("antes"), QStringLiteral("despues")));
  ajustes::AlmacenAjustes almacen(dir.filePath(QStringLiteral("despues/ajustes.ini")));
  AjustesTerminal at;
  arranque::Arrancar(at, almacen, EntornoDePrueba(reloj));
  EXPECT_EQ(at.RutaBaseDatos, QDir::cleanPath(dir.filePath(QStringLiteral("despues/hosteleria.db"))));
  EXPECT_EQ(at.TipoPrograma, QStringLiteral("RESTAURANTE"));
}

TEST(Demo, LaMismaSemillaDaLaMismaTiendaYOtraSemillaOtra) {
  QTemporaryDir dir;
  sistema::RelojFijo reloj(QDateTime(kHoy, QTime(18, 30)));
  const demo::ResultadoDemo a = demo::GenerarDemo(Opciones(dir.filePath(QStringLiteral("a")), 11, 40, 10), reloj);
  const demo::ResultadoDemo b = demo::GenerarDemo(Opciones(dir.filePath(QStringLiteral("b")), 11, 40, 10), reloj);
  // Sin fecha en las opciones manda el reloj.
  demo::OpcionesDemo sinHoy = Opciones(dir.filePath(QStringLiteral("c")), 11, 40, 10);
  sinHoy.hoy = QDate();
  const demo::ResultadoDemo c = demo::GenerarDemo(sinHoy, reloj);
  const demo::ResultadoDemo otra = demo::GenerarDemo(Opciones(dir.filePath(QStringLiteral("d")), 12, 40, 10), reloj);

  const QByteArray huella = Huella(a.baseVentas);
  EXPECT_EQ(Huella(b.baseVentas), huella);
  EXPECT_EQ(Huella(c.baseVentas), huella);
  EXPECT_NE(Huella(otra.baseVentas), huella);
  ASSERT_EQ(a.archivos.size(), 1);
  ASSERT_EQ(b.archivos.size(), 1);
  EXPECT_EQ(Huella(b.archivos.first()), Huella(a.archivos.first()));
  EXPECT_EQ(b.facturas, a.facturas);
  EXPECT_EQ(b.lineas, a.lineas);
}

TEST(Demo, NoPisaUnaTiendaQueYaExiste) {
  QTemporaryDir dir;
  sistema::RelojFijo reloj(QDateTime(kHoy, QTime(9, 0)));
  const QString tienda = dir.filePath(QStringLiteral("tienda"));
  ASSERT_TRUE(QDir().mkpath(tienda));
  const QByteArray datos("ventas de verdad de un bar");
  ASSERT_TRUE(prueba::escribirBytes(QDir(tienda).filePath(QStringLiteral("hosteleria.db")), datos));
  const QStringList antes = Contenido(tienda);
  try {
    demo::GenerarDemo(Opciones(tienda, 1, 3, 4), reloj);
    ADD_FAILURE() << "debía negarse a escribir encima de hosteleria.db";
  } catch (const datos::ErrorDatos& e) {
    EXPECT_TRUE(e.mensaje().contains(QStringLiteral("hosteleria.db"))) << e.mensaje().toStdString();
  }
  EXPECT_EQ(prueba::leerBytes(QDir(tienda).filePath(QStringLiteral("hosteleria.db"))), datos);
  EXPECT_EQ(Contenido(tienda), antes) << "ni ajustes, ni informes, ni archivos a medias";

  // Tampoco pisa el archivo de un ejercicio cerrado aunque falte la base en vivo.
  const QString otra = dir.filePath(QStringLiteral("otra"));
  ASSERT_TRUE(QDir().mkpath(QDir(otra).filePath(QStringLiteral("fotos/cierresAnuales"))));
  ASSERT_TRUE(
      prueba::escribirBytes(QDir(otra).filePath(QStringLiteral("fotos/cierresAnuales/hosteleria_2025.db")), datos));
  EXPECT_THROW(demo::GenerarDemo(Opciones(otra, 1, 60, 4), reloj), datos::ErrorDatos);
  EXPECT_EQ(prueba::leerBytes(QDir(otra).filePath(QStringLiteral("fotos/cierresAnuales/hosteleria_2025.db"))), datos);
}

TEST(Demo, ReemplazarSustituyeLaTiendaEntera) {
  QTemporaryDir dir;
  sistema::RelojFijo reloj(QDateTime(kHoy, QTime(9, 0)));
  const QString tienda = dir.filePath(QStringLiteral("tienda"));
  demo::GenerarDemo(Opciones(tienda, 1, 60, 4), reloj);
  const QString viejo = QDir(tienda).filePath(QStringLiteral("fotos/cierresAnuales/hosteleria_2019.db"));
  ASSERT_TRUE(QFile::copy(QDir(tienda).filePath(QStringLiteral("hosteleria.db")), viejo));

  demo::OpcionesDemo o = Opciones(tienda, 2, 5, 4);
  o.reemplazar = true;
  const demo::ResultadoDemo r = demo::GenerarDemo(o, reloj);
  EXPECT_TRUE(r.archivos.isEmpty());
  EXPECT_EQ(Contenido(tienda),
            (QStringList{QStringLiteral("ajustes.ini"), QStringLiteral("fotos"), QStringLiteral("fotos/cierresAnuales"),
                         QStringLiteral("hosteleria.db"), QStringLiteral("informes.db")}))
      << "los archivos de la tienda anterior no casan con la nueva";
  EXPECT_EQ(Contar(*Abrir(r.baseVentas), QStringLiteral("SELECT count(*) FROM cabecera_factura")), r.facturas);
  EXPECT_EQ(Contar(*Abrir(r.baseVentas), QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE fechaventa < ?"),
                   {kHoy.addDays(-5)}),
            0);
}

TEST(DemoVentas, ElNegocioSigueLaSemanaYLasHoras) {
  prueba::Bases bases(prueba::Motor::SQLite);
  auto c = datos::Conexion::abrir(bases.fuenteVentas());
  demo::OpcionesDemo o;
  o.ventasDia = 100;
  o.hoy = QDate(2026, 3, 6);
  demo::LlenarMaestros(*c, o);
  demo::LlenarVentas(*c, o, o.hoy.addDays(-28), o.hoy.addDays(-1));
  auto mediaDelDia = [&](const char* dia) {
    return static_cast<double>(
               Contar(*c, QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE strftime('%w', fechaventa) = ?"),
                      {QString::fromLatin1(dia)})) /
           4.0;
  };
  // Martes cerrado, lunes flojo, sábado fuerte.
  EXPECT_EQ(mediaDelDia("2"), 0.0);
  EXPECT_GT(mediaDelDia("6"), 1.5 * mediaDelDia("1"));
  EXPECT_GT(mediaDelDia("5"), mediaDelDia("3"));
  // Entre las dos de la madrugada y las ocho no se cobra nada; se come más
  // de lo que se merienda.
  EXPECT_EQ(
      Contar(*c, QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE hora BETWEEN '02:00:00' AND '07:59:59'")),
      0);
  EXPECT_GT(
      Contar(*c, QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE hora BETWEEN '13:30:00' AND '16:29:59'")),
      Contar(*c, QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE hora BETWEEN '16:30:00' AND '19:29:59'")));
  EXPECT_GT(Contar(*c, QStringLiteral("SELECT count(*) FROM cabecera_factura WHERE hora < '02:00:00'")), 0)
      << "copas después de medianoche";
  // Las reservas apuntadas llegan hasta dos semanas por delante.
  EXPECT_GT(Contar(*c, QStringLiteral("SELECT count(*) FROM reservas WHERE fecha > ?"), {o.hoy.addDays(7)}), 0);
  EXPECT_EQ(Contar(*c, QStringLiteral("SELECT count(*) FROM reservas WHERE fecha > ?"), {o.hoy.addDays(13)}), 0);
}

}  // namespace
