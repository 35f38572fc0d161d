#pragma once
// Almacén de ajustes de la suite: listas separadas por "|" bajo una clave,
// más los ajustes propios de esta plataforma (catálogo de fuentes de datos,
// identificador del puesto, carpetas). Vive en un fichero INI que comparten
// todos los programas de la suite: se lee como lo leen ellos y sólo se
// reescribe la línea de la clave que cambia.

#include "platform/ajustes/FicheroIni.h"
#include "platform/datos/Datos.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <tuple>
#include <vector>

namespace ajustes {

class AlmacenAjustes {
 public:
  // Recibe cada aviso de algo que no se pudo guardar en el fichero.
  using Avisador = std::function<void(const QString&)>;

  // Abre (o crea con valores que funcionan) el fichero; comprueba cada
  // entrada conocida y lanza ErrorAjustes nombrando la que esté mal.
  explicit AlmacenAjustes(const QString& fichero, Avisador avisador = {});

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

  // Un fichero que no se puede escribir no para el programa: el valor nuevo
  // vale mientras el almacén viva y aquí queda dicho qué no se guardó.
  QStringList avisos() const { return avisos_; }

 private:
  void comprobar() const;
  std::optional<QString> leer(const QString& clave) const;
  void escribir(const QString& clave, const QString& valor);
  // Pone en el disco el contenido; el motivo si no se pudo.
  std::optional<QString> guardar(const QByteArray& contenido) const;
  void avisar(const QString& aviso);

  QString fichero_;
  FicheroIni ini_;
  Avisador avisador_;
  QStringList avisos_;
  // Cambios que el fichero todavía no tiene: se vuelven a intentar con la
  // siguiente escritura.
  std::vector<std::tuple<QString, QString, QString>> pendientes_;
};

}  // namespace ajustes
