#pragma once
// Lo que decide la ventana principal sin ser ventana: qué botones esconde el
// tipo de negocio, cuándo invita a configurar el correo, el país y las listas
// de años y meses del panel de gráficos.

#include "platform/datos/Datos.h"
#include "startup/AjustesTerminal.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace principal {

// Del año en curso hasta 1900, el más reciente primero.
QStringList CargarAños(const QDate& hoy);
// Enero a Diciembre.
const QStringList& Meses();

// Los botones que esconde el tipo de negocio.
QStringList RestriccionesXPrograma(const QString& tipoPrograma);

// El marco del correo invita a configurarlo mientras falte algo.
bool MostrarMarcoCorreo(const AjustesTerminal& at);

// El país de la configuración regional; vacío sin filas o si no se puede leer.
QString ObtenerNombrePais(const datos::Conexion& ventas);
// El botón de comprobantes fiscales sólo es de la República Dominicana, escrita
// exactamente así.
bool EsRepublicaDominicana(const QString& pais);

// El programa de configuración del correo, hermano de la suite.
extern const QString kProgramaCorreo;

}  // namespace principal
