#pragma once
// Años cerrados. La suite guarda cada año ya cerrado en una base de archivo
// propia; un informe cuyo rango cae entero dentro de uno de esos años lee el
// archivo en vez de la base en vivo. Mientras dura el informe ConexionVentas
// apunta al archivo, y al acabar, pase lo que pase, vuelve a la base en vivo:
//
//   { ejercicios::EjercicioElegido e(at, desde, hasta, notificador); constructor(...); }

#include "platform/datos/Datos.h"
#include "platform/sistema/Notificador.h"
#include "startup/AjustesTerminal.h"

#include <QDate>
#include <QString>

namespace ejercicios {

// Fichero del archivo del año `anio` de una base SQLite en vivo. Sólo una
// base llamada «hosteleria» (con cualquier extensión y sin mirar mayúsculas)
// tiene archivos en fotos/cierresAnuales, junto a ella; cualquier otro nombre
// da una ruta dentro de la propia base, que no puede existir.
QString RutaArchivo(const QString& rutaViva, int anio);

// Si el rango empieza en un año con archivo y acaba en ese mismo año, cambia
// ConexionVentas por una conexión al archivo. Si acaba en otro año avisa por
// `notificador` y deja la base en vivo; sin archivo no hace nada. Lanza
// datos::ErrorDatos si el archivo existe pero no se puede abrir, y entonces
// ConexionVentas sigue en la base en vivo; también si seguía puesto el
// archivo de una vuelta fallida y la base en vivo sigue sin abrirse.
void SeleccionarEjercicio(AjustesTerminal& at, const QDate& desde, const QDate& hasta,
                          sistema::Notificador& notificador);

// Vuelve a la base en vivo si ConexionVentas está en un archivo. Lanza
// datos::ErrorDatos si la base en vivo no se puede abrir, y entonces deja el
// archivo puesto para que la siguiente vuelta lo intente de nuevo.
void RestaurarEjercicio(AjustesTerminal& at);

// Verdadero mientras ConexionVentas apunta a un archivo de año cerrado.
bool enArchivo(const AjustesTerminal& at);

// Elige el año al construirse y vuelve a la base en vivo al destruirse,
// también cuando el informe sale por una excepción.
class EjercicioElegido {
 public:
  EjercicioElegido(AjustesTerminal& at, const QDate& desde, const QDate& hasta, sistema::Notificador& notificador);
  ~EjercicioElegido();
  EjercicioElegido(const EjercicioElegido&) = delete;
  EjercicioElegido& operator=(const EjercicioElegido&) = delete;

 private:
  AjustesTerminal& at_;
  sistema::Notificador& notificador_;
};

}  // namespace ejercicios
