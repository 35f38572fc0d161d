#pragma once
// Bases de datos temporales para las pruebas, en SQLite y, si el entorno da
// un servidor (CRONICAS_PG_URI), también en PostgreSQL.

#include "builders/Informes.h"
#include "platform/datos/Datos.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "registro/SeleccionInforme.h"
#include "startup/AjustesTerminal.h"

#include <QTemporaryDir>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace prueba {

enum class Motor { SQLite, PostgreSQL };

// SQLite siempre; PostgreSQL cuando CRONICAS_PG_URI apunta a un servidor.
// Si CRONICAS_EXIGIR_PG=1 y no hay servidor, la lista lo dice fallando.
std::vector<Motor> Motores();
std::string NombreMotor(const testing::TestParamInfo<Motor>& info);

// Una base de ventas y una de informes recién creadas con el esquema del
// programa. En PostgreSQL las dos viven en una base temporal que se borra al
// final.
class Bases {
 public:
  explicit Bases(Motor motor, bool conEsquemaVentas = true);
  ~Bases();
  Bases(const Bases&) = delete;
  Bases& operator=(const Bases&) = delete;

  Motor motor() const { return motor_; }
  QString carpeta() const { return dir_.path(); }
  const datos::FuenteDatos& fuenteVentas() const { return ventas_; }
  const datos::FuenteDatos& fuenteInformes() const { return informes_; }
  // Texto de las fuentes para un fichero de ajustes.
  QString textoVentas() const { return ventas_.texto(); }
  QString textoInformes() const { return informes_.texto(); }

 private:
  Motor motor_;
  QTemporaryDir dir_;
  QString basePg_;
  datos::FuenteDatos ventas_;
  datos::FuenteDatos informes_;
};

// Una tienda vacía lista para un constructor: bases, AjustesTerminal con las
// dos conexiones abiertas, selección, notificador que guarda los avisos y un
// reloj fijo (6 de marzo de 2026, 09:07:30).
class Tienda {
 public:
  explicit Tienda(Motor motor);
  ~Tienda();

  // Inserta una fila en una tabla de la base de ventas.
  void insertar(const QString& tabla, const QVariantMap& valores);
  // Ejecuta una sentencia en la base de ventas.
  void ejecutar(const QString& sql, const QVariantList& valores = {});

  // Filas de Informes en el orden de escritura. Cada fila lleva sólo las
  // columnas que no son Null, con el nombre en minúsculas: textos como
  // QString, números como double, entero3 como qlonglong y fechas como texto
  // "AAAA-MM-DD" o "AAAA-MM-DD HH:MM:SS".
  std::vector<QVariantMap> filas() const;

  Bases bases;
  AjustesTerminal ajustes;
  SeleccionInforme seleccion;
  sistema::NotificadorRegistro notificador;
  sistema::RelojFijo reloj;
  informes::Contexto contexto;
};

}  // namespace prueba
