#include "support/BasesPrueba.h"

#include "platform/datos/Esquemas.h"

#include <QCoreApplication>
#include <QDir>

#include <atomic>

namespace prueba {

namespace {

QString uriPg() {
  return qEnvironmentVariable("CRONICAS_PG_URI");
}

std::atomic<int> contador{0};

std::unique_ptr<datos::Conexion> conexionAdministrador() {
  return datos::Conexion::abrir(datos::FuenteDatos::interpretar(QStringLiteral("administracion"), uriPg()));
}

}  // namespace

std::vector<Motor> Motores() {
  std::vector<Motor> m{Motor::SQLite};
  // Con CRONICAS_EXIGIR_PG=1 falta de servidor es un fallo, no una omisión.
  if (!uriPg().isEmpty() || qEnvironmentVariable("CRONICAS_EXIGIR_PG") == QLatin1String("1"))
    m.push_back(Motor::PostgreSQL);
  return m;
}

std::string NombreMotor(const testing::TestParamInfo<Motor>& info) {
  return info.param == Motor::SQLite ? "SQLite" : "PostgreSQL";
}

Bases::Bases(Motor motor, bool conEsquemaVentas) : motor_(motor) {
  if (motor == Motor::SQLite) {
    ventas_ = datos::FuenteDatos::interpretar(
        QStringLiteral("hosteleria"), QStringLiteral("sqlite:") + dir_.filePath(QStringLiteral("hosteleria.db")));
    informes_ = datos::FuenteDatos::interpretar(
        QStringLiteral("Informes"), QStringLiteral("sqlite:") + dir_.filePath(QStringLiteral("informes.db")));
    datos::OpcionesApertura crear;
    crear.crearSiFalta = true;
    {
      auto v = datos::Conexion::abrir(ventas_, crear);
      if (conEsquemaVentas) datos::CrearEsquemaVentas(*v);
    }
    auto i = datos::Conexion::abrir(informes_, crear);
    datos::CrearEsquemaInformes(*i);
    return;
  }
  if (uriPg().isEmpty())
    throw datos::ErrorDatos(QStringLiteral("No hay servidor PostgreSQL para las pruebas (CRONICAS_PG_URI)."));
  basePg_ = QStringLiteral("cronicas_prueba_%1_%2").arg(QCoreApplication::applicationPid()).arg(++contador);
  {
    auto admin = conexionAdministrador();
    admin->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(basePg_));
    admin->ejecutar(QStringLiteral("CREATE DATABASE %1").arg(basePg_));
  }
  datos::FuenteDatos base = datos::FuenteDatos::interpretar(QStringLiteral("hosteleria"), uriPg());
  base.base = basePg_;
  ventas_ = base;
  informes_ = base;
  informes_.nombre = QStringLiteral("Informes");
  auto v = datos::Conexion::abrir(ventas_);
  if (conEsquemaVentas) datos::CrearEsquemaVentas(*v);
  datos::CrearEsquemaInformes(*v);
}

Bases::~Bases() {
  if (basePg_.isEmpty()) return;
  try {
    auto admin = conexionAdministrador();
    admin->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(basePg_));
  } catch (const datos::ErrorDatos&) {
    // Una base de prueba que no se pudo borrar no debe tapar el resultado.
  }
}

Tienda::Tienda(Motor motor)
    : bases(motor),
      reloj(QDateTime(QDate(2026, 3, 6), QTime(9, 7, 30))),
      contexto{ajustes, seleccion, notificador, reloj} {
  ajustes.ConexionVentas = datos::Conexion::abrir(bases.fuenteVentas());
  datos::OpcionesApertura borrador;
  borrador.borrador = true;
  ajustes.ConexionInformes = datos::Conexion::abrir(bases.fuenteInformes(), borrador);
  ajustes.IdTerminal = QStringLiteral("1234");
  ajustes.Idioma = QStringLiteral("CASTELLANO");
}

Tienda::~Tienda() {
  ajustes.ConexionVentas.reset();
  ajustes.ConexionInformes.reset();
}

void Tienda::insertar(const QString& tabla, const QVariantMap& valores) {
  QStringList columnas;
  QStringList marcas;
  QVariantList enlaces;
  for (auto it = valores.cbegin(); it != valores.cend(); ++it) {
    columnas << it.key();
    marcas << QStringLiteral("?");
    enlaces << it.value();
  }
  ajustes.ConexionVentas->ejecutar(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(tabla, columnas.join(QLatin1Char(',')), marcas.join(QLatin1Char(','))),
                                   enlaces);
}

void Tienda::ejecutar(const QString& sql, const QVariantList& valores) {
  ajustes.ConexionVentas->ejecutar(sql, valores);
}

std::vector<QVariantMap> Tienda::filas() const {
  std::vector<QVariantMap> resultado;
  const auto& columnas = informes::kColumnasInformes;
  QStringList nombres;
  for (int i = 0; i < informes::kNumColumnas; ++i) nombres << informes::NombreColumna(static_cast<informes::Col>(i));
  datos::Consulta q = ajustes.ConexionInformes->preparar(
      QStringLiteral("SELECT %1 FROM informes ORDER BY fila").arg(nombres.join(QLatin1Char(','))));
  q.ejecutar();
  while (q.siguiente()) {
    QVariantMap fila;
    for (int i = 0; i < informes::kNumColumnas; ++i) {
      const QVariant v = q.valor(i);
      if (v.isNull()) continue;
      const QString& nombre = nombres.at(i);
      switch (columnas[static_cast<size_t>(i)].tipo) {
        case informes::TipoColumna::Texto:
          fila.insert(nombre, v.toString());
          break;
        case informes::TipoColumna::Numero:
          fila.insert(nombre, v.toDouble());
          break;
        case informes::TipoColumna::Entero:
          fila.insert(nombre, v.toLongLong());
          break;
        case informes::TipoColumna::Fecha: {
          fila.insert(nombre, datos::textoFechaOFechaHora(datos::aFechaHora(v)));
          break;
        }
      }
    }
    resultado.push_back(fila);
  }
  return resultado;
}

}  // namespace prueba
