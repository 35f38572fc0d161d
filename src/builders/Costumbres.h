#pragma once
// Lo que comparten todos los constructores de informes además del escritor:
// lo que necesitan (Contexto), la cabecera del negocio, el sello de
// generación, las fechas y los números como texto, el aviso de "no hay datos"
// y los pasos tolerantes.

#include "platform/datos/Datos.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "registro/SeleccionInforme.h"
#include "startup/AjustesTerminal.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>

namespace informes {

// Todo lo que un constructor necesita.
struct Contexto {
  AjustesTerminal& ajustes;
  SeleccionInforme& seleccion;
  sistema::Notificador& notificador;
  const sistema::Reloj& reloj;
};

// Cabecera del negocio.
struct CabeceraNegocio {
  QString nombre;
  QString direccion;  // "Direccion - Poblacion" o sólo la dirección
  QString cif;        // el cif tal cual (Null como vacío)
};
// Lo más que ocupa cada texto de la cabecera en los informes. Va en cada fila
// de Informes: un nombre de cien mil letras haría de un informe de un mes
// cientos de megas. Lo que pasa se corta y acaba en «…», y se avisa.
constexpr qsizetype kMaximoCabecera = 200;
// Primera fila de la tabla Opciones: dirección "Direccion - Poblacion".
CabeceraNegocio LeerCabeceraTabla(const datos::Conexion& ventas, sistema::Notificador* aviso = nullptr);
// Fila del puesto: nombre y direccion sin población.
CabeceraNegocio LeerCabeceraPuesto(const datos::Conexion& ventas, const QString& idTerminal,
                                   sistema::Notificador* aviso = nullptr);
// Del cif, desde el principio hasta el primer blanco incluido; vacío sin blanco.
QString ParteCif(const QString& cif);

// Sello de generación: la fecha de hoy sin hora y la hora "hh:mm" sin segundos.
struct SelloGeneracion {
  QDate fecha;
  QTime hora;
};
SelloGeneracion TomarSello(const sistema::Reloj& reloj);

// "dd/mm/aaaa".
QString textoDiaMesAnio(const QDate& fecha);

// Aviso de los constructores cuando no hay filas.
void AvisarSinDatos(sistema::Notificador& n, const QString& texto = QStringLiteral("No hay datos para ser mostrados."),
                    const QString& titulo = QStringLiteral("ATENCION"));

// Paso tolerante: un error de base de datos se ignora y se sigue con lo
// siguiente. Devuelve falso si hubo error.
bool Tolerante(const std::function<void()>& paso);

// Une textos con un blanco; un Null no aporta nada pero su blanco se queda.
QString Unir(const QStringList& partes);

// Número a texto como lo escribiría el programa: sin decimales sobrantes y
// con coma decimal.
QString NumeroATexto(double v);

}  // namespace informes
