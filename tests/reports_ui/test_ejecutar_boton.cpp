// La vuelta de un botón con fechas: el año cerrado que le toca y la vuelta a
// la base en vivo, también cuando el informe falla. Los casos del año
// cerrado, en test_ejercicios_cerrados; el rechazo en un puesto remoto, en
// la ventana principal.

#include "platform/datos/Esquemas.h"
#include "registro/EjecutarInforme.h"
#include "registro/RegistroInformes.h"
#include "support/BasesPrueba.h"

#include "support/ImprimirQt.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using prueba::Motor;

class EjecutarBoton : public testing::TestWithParam<Motor> {
 protected:
  EjecutarBoton() : tienda(GetParam()) {
    tienda.ajustes.FuenteVentasViva = tienda.bases.fuenteVentas();
    Factura(*tienda.ajustes.ConexionVentas, 1, "2023-03-10", 11.0);
  }
  ~EjecutarBoton() override {
    archivo.reset();
    if (!baseArchivo.isEmpty())
      tienda.ajustes.ConexionVentas->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS ") + baseArchivo);
  }

  static void Factura(const datos::Conexion& c, int numero, const QString& dia, double total) {
    c.ejecutar(QStringLiteral("INSERT INTO cabecera_factura (numero, fecha, fechaventa, total, impuesto, recargo, "
                              "descuento, borrar) VALUES (?, ?, ?, ?, 0, 0, 0, 0)"),
               {numero, dia, dia, total});
  }

  // El archivo de 2023, con una factura que la base en vivo no tiene.
  void CrearArchivo2023() {
    datos::FuenteDatos f = tienda.bases.fuenteVentas();
    if (f.motor == datos::Motor::SQLite) {
      f.ruta = QDir(tienda.bases.carpeta()).filePath(QStringLiteral("fotos/cierresAnuales/hosteleria_2023.db"));
      QDir().mkpath(QFileInfo(f.ruta).absolutePath());
      datos::OpcionesApertura crear;
      crear.crearSiFalta = true;
      archivo = datos::Conexion::abrir(f, crear);
    } else {
      baseArchivo = f.base + QStringLiteral("_2023");
      tienda.ajustes.ConexionVentas->ejecutar(QStringLiteral("CREATE DATABASE ") + baseArchivo);
      f.base = baseArchivo;
      archivo = datos::Conexion::abrir(f);
    }
    datos::CrearEsquemaVentas(*archivo);
    Factura(*archivo, 7, "2023-03-10", 77.0);
    archivo.reset();
  }

  QStringList NumerosEnInformes() {
    QStringList n;
    for (const QVariantMap& f : tienda.filas()) n << f.value("numerico1").toString();
    return n;
  }

  prueba::Tienda tienda;
  std::unique_ptr<datos::Conexion> archivo;
  QString baseArchivo;
};

TEST_P(EjecutarBoton, ElAnoCerradoSeLeeDurantElInformeYDespuesVuelveLaBaseEnVivo) {
  CrearArchivo2023();
  const registro::BotonInforme* boton = registro::BuscarBoton(QStringLiteral("cmdCierreResumido"));
  ASSERT_NE(boton, nullptr);
  tienda.seleccion.FechaDesde = QDate(2023, 3, 1);
  tienda.seleccion.FechaHasta = QDate(2023, 3, 31);
  ASSERT_EQ(registro::EjecutarBoton(*boton, tienda.contexto).resultado, registro::Resultado::ConDatos);
  EXPECT_EQ(NumerosEnInformes(), QStringList({"7"}));
  EXPECT_EQ(tienda.ajustes.ConexionVentas->fuente().texto(), tienda.bases.fuenteVentas().texto());
}

TEST_P(EjecutarBoton, UnInformeQueFallaTambienDevuelveLaBaseEnVivo) {
  CrearArchivo2023();
  registro::BotonInforme roto;
  roto.boton = QStringLiteral("cmdRoto");
  roto.dialogo = registro::Dialogo::Fechas;
  QString leido;
  roto.constructor = [&](informes::Contexto& ctx) {
    datos::Consulta q = ctx.ajustes.ConexionVentas->preparar(QStringLiteral("SELECT total FROM cabecera_factura"));
    q.ejecutar();
    if (q.siguiente()) leido = q.texto(QStringLiteral("total"));
    throw datos::ErrorDatos(QStringLiteral("la tabla gastos no existe"));
  };
  tienda.seleccion.FechaDesde = QDate(2023, 3, 1);
  tienda.seleccion.FechaHasta = QDate(2023, 3, 31);
  const registro::Ejecucion e = registro::EjecutarBoton(roto, tienda.contexto);
  EXPECT_EQ(e.resultado, registro::Resultado::Error);
  EXPECT_EQ(leido.toDouble(), 77.0) << "el constructor leía el archivo";
  EXPECT_TRUE(tienda.seleccion.SinDatos);
  EXPECT_EQ(tienda.ajustes.ConexionVentas->fuente().texto(), tienda.bases.fuenteVentas().texto());
  ASSERT_EQ(tienda.notificador.avisos.size(), 1);
  EXPECT_EQ(tienda.notificador.avisos.front().titulo, "Cronicas");
}

INSTANTIATE_TEST_SUITE_P(Motores, EjecutarBoton, testing::ValuesIn(prueba::Motores()), prueba::NombreMotor);

}  // namespace
