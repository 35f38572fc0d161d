#pragma once
// Almacén de ajustes de la suite: listas separadas por "|" bajo una clave,
// más los ajustes propios de esta plataforma (catálogo de fuentes de datos,
// identificador del puesto, carpetas). Vive en un fichero INI.

#include "platform/datos/Datos.h"

#include <QSettings>
#include <QString>

#include <memory>
#include <stdexcept>

namespace ajustes {

class ErrorAjustes : public std::runtime_error {
 public:
  explicit ErrorAjustes(const QString& mensaje) : std::runtime_error(mensaje.toStdString()), mensaje_(mensaje) {}
  QString mensaje() const { return mensaje_; }

 private:
  QString mensaje_;
};

class AlmacenAjustes {
 public:
  // Abre (o crea con valores que funcionan) el fichero; comprueba cada
  // entrada conocida y lanza ErrorAjustes nombrando la que esté mal.
  explicit AlmacenAjustes(const QString& fichero);
  ~AlmacenAjustes();

  static QString ficheroPorDefecto();
  QString fichero() const { return fichero_; }
  QString carpeta() const;

  // Las dos operaciones de la suite. Los campos se cuentan desde 1; un campo
  // que no existe es texto vacío.
  QString leerCampo(const QString& clave, int n) const;
  void guardarLista(const QString& clave, const QString& lista);
  QString leerLista(const QString& clave) const;

  // Catálogo de fuentes de datos ("hosteleria", "Informes").
  datos::FuenteDatos fuente(const QString& nombre) const;
  void fijarFuente(const QString& nombre, const QString& texto);

  // Identificador del puesto fijado a mano; vacío si manda el del sistema.
  QString identificadorEquipo() const;
  void fijarIdentificadorEquipo(const QString& id);

  QString carpetaSalida() const;
  void fijarCarpetaSalida(const QString& carpeta);
  QString carpetaPlantillas() const;

  // Valor genérico de la plataforma ("correo/servidor_gmail"...).
  QString valor(const QString& clave, const QString& porDefecto = QString()) const;
  void fijarValor(const QString& clave, const QString& valor);

  void sincronizar();

 private:
  void comprobar() const;
  void escribirValoresPorDefecto();
  QString leerTexto(const QString& clave) const;
  // El valor de la clave tal como está escrito en el fichero; nulo si no se
  // puede tomar literalmente.
  QString valorEscrito(const QString& clave) const;
  QString fichero_;
  std::unique_ptr<QSettings> ini_;
};

}  // namespace ajustes
