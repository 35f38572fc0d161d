#include "demo/DemoServidor.h"

#include "platform/datos/Esquemas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <map>

namespace demo {

namespace {

// Las bases nuevas se escriben con este sufijo y sólo al final pasan a su
// nombre: una carga que falla no deja al servidor con una tienda a medias.
const QString kProvisional = QStringLiteral("_generando");
// Filas por sentencia al copiar: una fila por sentencia sería un viaje al
// servidor por fila.
constexpr int kFilasPorSentencia = 200;

QString Identificador(const QString& nombre) {
  return QLatin1Char('"') + QString(nombre).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

datos::FuenteDatos EnBase(datos::FuenteDatos servidor, const QString& base) {
  servidor.base = base;
  return servidor;
}

bool ExisteBase(const datos::Conexion& admin, const QString& base) {
  datos::Consulta q = admin.preparar(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"));
  q.enlazar(base);
  q.ejecutar();
  return q.siguiente();
}

bool TieneTablas(const datos::FuenteDatos& fuente) {
  auto c = datos::Conexion::abrir(fuente);
  datos::Consulta q =
      c->preparar(QStringLiteral("SELECT count(*) AS n FROM information_schema.tables "
                                 "WHERE table_schema NOT IN ('pg_catalog', 'information_schema')"));
  q.ejecutar();
  return q.siguiente() && q.entero(QStringLiteral("n")) > 0;
}

void BorrarBase(const datos::Conexion& admin, const QString& base) {
  admin.ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(Identificador(base)));
}

// Copia cada tabla de un fichero SQLite de la demostración en una base del
// servidor recién creada con el esquema de PostgreSQL, en una transacción.
void CopiarBase(const QString& rutaSqlite, const datos::FuenteDatos& destino) {
  auto origen = datos::Conexion::abrir(
      datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), QStringLiteral("sqlite:") + rutaSqlite));
  auto d = datos::Conexion::abrir(destino);
  datos::CrearEsquemaVentas(*d);
  QStringList tablas = origen->baseDatos().tables(QSql::Tables);
  tablas.sort();
  d->empezarTransaccion();
  try {
    for (const QString& tabla : tablas) {
      // Las tablas internas de SQLite (estadísticas) no son de la tienda.
      if (!d->tieneTabla(tabla)) continue;
      const QStringList columnas = origen->columnas(tabla);
      const QString lista = columnas.join(QLatin1String(", "));
      const QString fila = QLatin1Char('(') + QStringList(columnas.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                           QLatin1Char(')');
      auto sentencia = [&](int filas) {
        return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(tabla, lista, QStringList(filas, fila).join(QLatin1Char(',')));
      };
      std::map<int, datos::Consulta> preparadas;  // una por tamaño: la llena y la del resto
      auto insertar = [&](const QVariantList& valores) {
        const int filas = static_cast<int>(valores.size() / columnas.size());
        auto it = preparadas.find(filas);
        if (it == preparadas.end()) it = preparadas.emplace(filas, d->preparar(sentencia(filas))).first;
        datos::Consulta& q = it->second;
        q.limpiarEnlaces();
        for (const QVariant& v : valores) q.enlazar(v);
        q.ejecutar();
      };
      datos::Consulta leer = origen->preparar(QStringLiteral("SELECT %1 FROM %2").arg(lista, tabla));
      leer.ejecutar();
      QVariantList pendientes;
      while (leer.siguiente()) {
        for (int i = 0; i < columnas.size(); ++i) pendientes << leer.valor(i);
        if (pendientes.size() == kFilasPorSentencia * columnas.size()) {
          insertar(pendientes);
          pendientes.clear();
        }
      }
      if (!pendientes.isEmpty()) insertar(pendientes);
    }
    // Las columnas numeradas por el servidor siguen después de lo copiado:
    // si no, la primera fila que escriba una caja chocaría con una copiada.
    datos::Consulta identidades =
        d->preparar(QStringLiteral("SELECT table_name, column_name FROM information_schema.columns "
                                   "WHERE table_schema = 'public' AND is_identity = 'YES'"));
    identidades.ejecutar();
    std::vector<std::pair<QString, QString>> columnasNumeradas;
    while (identidades.siguiente())
      columnasNumeradas.emplace_back(identidades.texto(QStringLiteral("table_name")),
                                     identidades.texto(QStringLiteral("column_name")));
    for (const auto& [tabla, columna] : columnasNumeradas)
      d->ejecutar(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), COALESCE(max(%2), 0) + 1, false) "
                                 "FROM %1")
                      .arg(tabla, columna));
    d->confirmar();
  } catch (...) {
    d->deshacer();
    throw;
  }
  d->ejecutar(QStringLiteral("ANALYZE"));
}

}  // namespace

datos::FuenteDatos FuenteServidorDemo(const QString& url) {
  QUrl u(url.trimmed());
  if (u.isValid() && (u.path().isEmpty() || u.path() == QLatin1String("/"))) u.setPath(QStringLiteral("/hosteleria"));
  datos::FuenteDatos f = datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), u.toString());
  if (f.motor != datos::Motor::PostgreSQL)
    throw datos::ErrorDatos(QStringLiteral("--postgresql necesita una dirección postgresql://usuario@servidor:puerto "
                                           "(se dio «%1»).")
                                .arg(url));
  return f;
}

ResultadoDemo GenerarDemoEnServidor(const OpcionesDemo& pedidas, const QString& url, const sistema::Reloj& reloj,
                                    const Progreso& progreso) {
  auto avisar = [&](const QString& m) {
    if (progreso) progreso(m);
  };
  OpcionesDemo opciones = pedidas;
  if (!opciones.hoy.isValid()) opciones.hoy = reloj.hoy();
  const datos::FuenteDatos viva = FuenteServidorDemo(url);
  const QString base = viva.base;
  static const QRegularExpression reservadas(QStringLiteral("^(postgres|template0|template1)$"),
                                             QRegularExpression::CaseInsensitiveOption);
  if (reservadas.match(base).hasMatch())
    throw datos::ErrorDatos(
        QStringLiteral("La base «%1» es del propio servidor: ponga en la dirección la base de la tienda "
                       "(por ejemplo …/hosteleria) o ninguna.")
            .arg(base));
  const auto admin = datos::Conexion::abrir(EnBase(viva, QStringLiteral("postgres")));

  // Los años cerrados son los mismos que en la tienda de ficheros.
  const QDate desde = opciones.hoy.addDays(-std::max(0, opciones.dias));
  const QDate hasta = opciones.hoy.addDays(-1);
  std::vector<std::pair<QString, int>> bases{{base, 0}};
  for (int a = desde.year(); a <= hasta.year() && a < opciones.hoy.year(); ++a)
    bases.emplace_back(base + QLatin1Char('_') + QString::number(a), a);

  // Antes de generar nada: una tienda que ya está no se pisa.
  const QDir carpeta(QFileInfo(opciones.destino).absoluteFilePath());
  if (!opciones.reemplazar) {
    QStringList ocupadas;
    for (const auto& [nombre, anio] : bases)
      if (ExisteBase(*admin, nombre) && TieneTablas(EnBase(viva, nombre))) ocupadas << nombre;
    if (!ocupadas.isEmpty())
      throw datos::ErrorDatos(
          QStringLiteral("En %1 ya hay una tienda (bases %2). La demostración no sobrescribe datos: ponga otra base "
                         "en la dirección (…/otra_tienda) o añada --reemplazar para sustituirla.")
              .arg(QStringLiteral("el servidor PostgreSQL %1:%2").arg(viva.servidor).arg(viva.puerto),
                   ocupadas.join(QStringLiteral(", "))));
    if (QFileInfo::exists(carpeta.filePath(QStringLiteral("hosteleria.db"))))
      throw datos::ErrorDatos(QStringLiteral("En %1 ya hay una tienda en ficheros: elija otra carpeta con --destino "
                                             "o añada --reemplazar para apuntar sus ajustes al servidor.")
                                  .arg(QDir::toNativeSeparators(carpeta.path())));
  }

  // La tienda se genera como siempre, en ficheros, y se copia: así es la
  // misma, venta a venta, que la de ficheros con la misma semilla.
  QTemporaryDir temporal;
  if (!temporal.isValid()) throw datos::ErrorDatos(QStringLiteral("No se puede crear una carpeta temporal."));
  OpcionesDemo enFicheros = opciones;
  enFicheros.destino = temporal.filePath(QStringLiteral("tienda"));
  enFicheros.ficheroAjustes.clear();
  enFicheros.reemplazar = false;
  ResultadoDemo generada = GenerarDemo(enFicheros, reloj, progreso);

  std::map<int, QString> ficheros{{0, generada.baseVentas}};
  for (const QString& f : generada.archivos) {
    static const QRegularExpression anio(QStringLiteral("_(\\d{4})\\.db$"));
    ficheros[anio.match(f).captured(1).toInt()] = f;
  }
  QStringList provisionales;
  try {
    for (const auto& [nombre, anio] : bases) {
      avisar(QStringLiteral("Base %1 en el servidor...").arg(nombre));
      const QString provisional = nombre + kProvisional;
      provisionales << provisional;
      BorrarBase(*admin, provisional);
      admin->ejecutar(QStringLiteral("CREATE DATABASE %1").arg(Identificador(provisional)));
      CopiarBase(ficheros.at(anio), EnBase(viva, provisional));
    }
  } catch (...) {
    for (const QString& p : provisionales) {
      try {
        BorrarBase(*admin, p);
      } catch (...) {
        // Ya se está saliendo por el error que importa.
      }
    }
    throw;
  }

  // Todo escrito: ahora sí, sustituir. Los archivos de otros años que
  // quedaran de la tienda anterior no casarían con la nueva.
  if (opciones.reemplazar) {
    datos::Consulta q = admin->preparar(QStringLiteral("SELECT datname FROM pg_database WHERE datname LIKE ?"));
    q.enlazar(base + QStringLiteral("\\_%"));
    q.ejecutar();
    static const QRegularExpression archivo(QStringLiteral("_\\d{4}$"));
    QStringList viejas;
    while (q.siguiente()) {
      const QString n = q.texto(QStringLiteral("datname"));
      if (n.size() == base.size() + 5 && archivo.match(n).hasMatch()) viejas << n;
    }
    for (const QString& n : viejas) BorrarBase(*admin, n);
  }
  ResultadoDemo resultado;
  for (const auto& [nombre, anio] : bases) {
    BorrarBase(*admin, nombre);
    admin->ejecutar(QStringLiteral("ALTER DATABASE %1 RENAME TO %2")
                        .arg(Identificador(nombre + kProvisional), Identificador(nombre)));
    if (anio != 0) resultado.archivos << nombre;
  }

  // La base de informes es de cada puesto: un fichero suyo, nunca la del
  // servidor, donde los informes de un puesto borrarían los de otro.
  if (!carpeta.mkpath(QStringLiteral(".")))
    throw datos::ErrorDatos(
        QStringLiteral("No se puede crear la carpeta %1.").arg(QDir::toNativeSeparators(carpeta.path())));
  const QString informes = carpeta.filePath(QStringLiteral("informes.db"));
  QFile::remove(informes);
  if (!QFile::copy(generada.baseInformes, informes))
    throw datos::ErrorDatos(QStringLiteral("No se puede escribir %1.").arg(QDir::toNativeSeparators(informes)));

  avisar(QStringLiteral("Ajustes del puesto."));
  resultado.ficheroAjustes = EscribirAjustesDemo(opciones, viva.texto());
  resultado.baseVentas = viva.descripcion();
  resultado.baseInformes = informes;
  resultado.identificadorPuesto = generada.identificadorPuesto;
  resultado.facturas = generada.facturas;
  resultado.lineas = generada.lineas;
  return resultado;
}

}  // namespace demo
