#include "startup/Arranque.h"

#include <QDir>
#include <QFileInfo>

namespace arranque {

const TemaColor kTemas[5] = {
    {"GRIS", "&H000000|&HF3DCEF|&H565063|&H404040|&HC0C0C0|&H67427A|&HFFFFFF|"},
    {"AZUL", "&HA79585|&HE7DED6|&H834530|&HC67B62|&HD3CBC2|&HE2CAAB|&HD3CB8B|"},
    {"VERDE", "&HCDE7D2|&H9FCD8B|&H66AF43|&H8ED0A0|&HB5DFC1|&HBDE3C8|&H2E7431|"},
    {"AMARILLO", "&H96FAF8|&H79F9F5|&HBC1C1|&H6ADEE1|&HC2FCFB|&HA2EAEC|&H66A68|"},
    {"ROSA", "&H9FC2FD|&HDDE8F9|&HBBC0E1|&HD7D9EE|&HE9F1FE|&HE9F1FE|&H3E4891|"},
};

namespace {

// Devuelve la primera fila de una consulta de un solo valor, si la hay.
std::optional<QVariant> primerValor(const datos::Conexion& c, const QString& sql, const QVariantList& valores = {}) {
  datos::Consulta q = c.preparar(sql);
  for (const QVariant& v : valores) q.enlazar(v);
  q.ejecutar();
  if (!q.siguiente()) return std::nullopt;
  return q.valor(0);
}

QString impresoraDeTipo(const AjustesTerminal& at, const QString& tipo) {
  datos::Consulta q = at.ConexionVentas->preparar(
      QStringLiteral("SELECT impresora FROM impresoras WHERE codigo IN (SELECT impresora FROM terminalimpresora "
                     "WHERE terminal = ? AND tipoimpresora = ?) ORDER BY codigo"));
  q.enlazar(at.Terminal).enlazar(tipo);
  q.ejecutar();
  return q.siguiente() ? q.texto(QStringLiteral("impresora")) : QString();
}

}  // namespace

std::optional<QString> FaltaBaseVentas(const ajustes::AlmacenAjustes& almacen) {
  const datos::FuenteDatos ventas = almacen.fuente(QStringLiteral("hosteleria"));
  if (ventas.motor != datos::Motor::SQLite || QFileInfo::exists(ventas.ruta)) return std::nullopt;
  return QStringLiteral(
             "No se puede abrir la fuente de datos «hosteleria»: el fichero %1 no existe. Indique la base de ventas "
             "en la entrada fuentes/hosteleria de %2, o cree una tienda de demostración con «cronicas demo --destino "
             "CARPETA» y use «--ajustes CARPETA/ajustes.ini».")
      .arg(QDir::toNativeSeparators(ventas.ruta), QDir::toNativeSeparators(almacen.fichero()));
}

QString CalcularIdTerminal(const ajustes::AlmacenAjustes& almacen, const Entorno& entorno) {
  // Una tienda que se lleva su base a otra máquina conserva el identificador
  // con el que están guardadas sus filas de opciones.
  const QString fijado = almacen.identificadorEquipo();
  if (!fijado.isEmpty()) return fijado;
  return sistema::identificadorDesdeSerie(entorno.serieVolumen ? entorno.serieVolumen() : std::nullopt);
}

bool CalcularBaseDatosRemota(const datos::FuenteDatos& ventas) {
  switch (ventas.motor) {
    case datos::Motor::SQLite:
      return sistema::enSistemaDeRed(ventas.ruta);
    case datos::Motor::PostgreSQL:
      return !sistema::esServidorLocal(ventas.servidor);
    case datos::Motor::ODBC:
      return false;
  }
  return false;
}

void PrepararBaseVentas(const datos::Conexion& ventas, const std::function<void(const QString&)>& avisar) {
  if (ventas.motor() != datos::Motor::SQLite) return;
  const QString modo = ventas.modoDiario();
  if (modo.isEmpty() || modo == QLatin1String("wal")) return;
  const QString ruta = QDir::toNativeSeparators(ventas.fuente().ruta);
  auto decir = [&](const QString& texto) {
    if (avisar) avisar(texto);
  };
  // SQLite no admite el modo WAL en una carpeta de red: ahí se deja como está.
  if (sistema::enSistemaDeRed(ventas.fuente().ruta)) {
    decir(QStringLiteral("La base de ventas %1 está en una carpeta de red y no puede pasar al modo WAL: mientras un "
                         "informe la lee, las cajas esperan. Saque los informes largos desde el servidor.")
              .arg(ruta));
    return;
  }
  try {
    ventas.pasarAWal();
  } catch (const datos::ErrorDatos&) {
    decir(QStringLiteral("La base de ventas %1 está en modo «%2» y las cajas la tienen abierta: mientras un informe "
                         "la lee, las cajas esperan. Para pasarla al modo WAL, abra Cronicas con las cajas cerradas "
                         "o ejecute: sqlite3 \"%1\" \"PRAGMA journal_mode=WAL\"")
              .arg(ruta, modo));
  }
}

void AplicarTemaColor(ajustes::AlmacenAjustes& almacen) {
  const QString tema = almacen.leerCampo(QStringLiteral("color"), 8);
  for (const TemaColor& t : kTemas) {
    if (tema == QLatin1String(t.nombre)) {
      almacen.guardarLista(QStringLiteral("colorcaja"), QLatin1String(t.paleta) + QLatin1String(t.nombre));
      return;
    }
  }
}

bool ModuloFactura(const AjustesTerminal& at) {
  datos::Consulta q =
      at.ConexionVentas->preparar(QStringLiteral("SELECT modulo_factura FROM opciones WHERE identificador = ?"));
  q.enlazar(at.IdTerminal);
  q.ejecutar();
  return q.siguiente() && q.verdad(QStringLiteral("modulo_factura"));
}

void BuscarActualizaciones(const AjustesTerminal& at, const Entorno& entorno) {
  static const sistema::RelojSistema relojSistema;
  const sistema::Reloj& reloj = entorno.reloj ? *entorno.reloj : relojSistema;
  if (reloj.hoy().day() != 16) return;
  const QString ruta = sistema::rutaProgramaHermano(entorno.carpetaPrograma, QStringLiteral("Vigia.exe"));
  const auto interruptor =
      primerValor(*at.ConexionVentas,
                  QStringLiteral("SELECT datoa FROM relaciones_fijas WHERE indice = 'ActivadoVigia' AND datoa = ?"),
                  {at.IdTerminal + at.SufijoTerminal});
  if (interruptor && sistema::ficheroExiste(ruta) && entorno.lanzador)
    entorno.lanzador->lanzar(entorno.carpetaPrograma, QStringLiteral("Vigia.exe"));
}

void Arrancar(AjustesTerminal& at, ajustes::AlmacenAjustes& almacen, const Entorno& entorno) {
  // 1. Identificador del puesto.
  at.IdTerminal = CalcularIdTerminal(almacen, entorno);

  // 2-4. Conexiones.
  const datos::FuenteDatos ventas = almacen.fuente(QStringLiteral("hosteleria"));
  at.ConexionVentas = datos::Conexion::abrir(ventas);
  at.FuenteVentasViva = ventas;
  switch (ventas.motor) {
    case datos::Motor::SQLite:
      at.RutaBaseDatos = ventas.ruta;
      break;
    case datos::Motor::PostgreSQL:
      at.RutaBaseDatos = ventas.base;
      break;
    case datos::Motor::ODBC:
      at.RutaBaseDatos = ventas.cadenaOdbc;
      break;
  }
  datos::OpcionesApertura borrador;
  borrador.borrador = true;
  at.ConexionInformes = datos::Conexion::abrir(almacen.fuente(QStringLiteral("Informes")), borrador);
  at.BaseDatosRemota = CalcularBaseDatosRemota(ventas);
  PrepararBaseVentas(*at.ConexionVentas, entorno.avisar);

  // 5. Fila de opciones del puesto.
  {
    datos::Consulta q = at.ConexionVentas->preparar(QStringLiteral("SELECT * FROM opciones WHERE identificador = ?"));
    q.enlazar(at.IdTerminal);
    q.ejecutar();
    if (q.siguiente()) {
      at.Nombre = q.texto(QStringLiteral("nombre"));
      at.Terminal = q.texto(QStringLiteral("terminal"));
      at.CajaFastFood = !q.esNulo(QStringLiteral("cajafastfood")) && q.numero(QStringLiteral("cajafastfood")) == 1;
      const bool tipoNulo = q.esNulo(QStringLiteral("tipo_programa"));
      at.TipoPrograma = q.texto(QStringLiteral("tipo_programa"));
      if (!q.esNulo(QStringLiteral("rutafotos"))) at.RutaFotos = q.texto(QStringLiteral("rutafotos"));
      at.Idioma = q.esNulo(QStringLiteral("idioma")) ? QStringLiteral("CASTELLANO") : q.texto(QStringLiteral("idioma"));
      q.sql().finish();
      if (tipoNulo) {
        // El tipo de negocio vacío se completa con el de la suite y se guarda.
        const QString programa = almacen.leerCampo(QStringLiteral("Programa"), 1);
        at.ConexionVentas->ejecutar(QStringLiteral("UPDATE opciones SET tipo_programa = ? WHERE identificador = ?"),
                                    {programa, at.IdTerminal});
        const auto releido =
            primerValor(*at.ConexionVentas,
                        QStringLiteral("SELECT tipo_programa FROM opciones WHERE identificador = ?"), {at.IdTerminal});
        at.TipoPrograma = releido && !releido->isNull() ? releido->toString() : QString();
      }
    }
  }

  // 6-7. Impresoras del terminal.
  at.ImpresoraTicket = impresoraDeTipo(at, QStringLiteral("T"));
  at.ImpresoraInformes = impresoraDeTipo(at, QStringLiteral("F"));

  // 8. Tema de colores.
  AplicarTemaColor(almacen);

  // 9. Sufijo del puesto, guardado en la base de informes.
  {
    const auto v = primerValor(*at.ConexionInformes, QStringLiteral("SELECT list1, list2 FROM cronicastemporal"));
    at.SufijoTerminal = v && !v->isNull() ? v->toString() : QString();
  }

  // 10-11. Paleta y empleado del puesto.
  const QString clave = at.IdTerminal + at.SufijoTerminal;
  {
    const auto v = primerValor(
        *at.ConexionVentas, QStringLiteral("SELECT id_color FROM opciones_terminal WHERE identificador = ?"), {clave});
    at.IdColor = v && !v->isNull() ? static_cast<qint16>(v->toInt()) : qint16(-1);
  }
  {
    const auto v = primerValor(
        *at.ConexionVentas, QStringLiteral("SELECT empleado FROM opciones_terminal WHERE identificador = ?"), {clave});
    at.EmpleadoTerminal = v && !v->isNull() ? v->toInt() : -1;
  }

  // 12. Decimales: de la primera fila de opciones, sea del puesto que sea.
  {
    const auto v =
        primerValor(*at.ConexionVentas, QStringLiteral("SELECT numdecimales FROM opciones ORDER BY identificador"));
    at.NumDecimales = v && !v->isNull() ? static_cast<qint16>(v->toInt()) : qint16(0);
  }

  // 13. Cuenta de correo de salida.
  at.DatosEmailA.clear();
  at.DatosEmailOtros.clear();
  {
    datos::Consulta q = at.ConexionVentas->preparar(
        QStringLiteral("SELECT datoa, otros FROM relaciones_fijas WHERE indice = 'DatosEmail'"));
    q.ejecutar();
    if (q.siguiente()) {
      at.DatosEmailA = q.texto(QStringLiteral("datoa"));
      at.DatosEmailOtros = q.texto(QStringLiteral("otros"));
    }
  }

  // 14. Destinatario de los informes por correo.
  {
    const auto v = primerValor(*at.ConexionVentas, QStringLiteral("SELECT emailinformes FROM valores_fijos"));
    at.EmailInformes = v && !v->isNull() ? v->toString() : QString();
  }

  // 15. Buscador de actualizaciones, sólo el día 16.
  if (entorno.buscarActualizaciones) BuscarActualizaciones(at, entorno);
}

}  // namespace arranque
