#pragma once
// Leer lo que el motor escribe, como lo leería una persona: el texto de un
// PDF (pdftotext -layout) y las celdas de una hoja .xlsx con su tipo y su
// formato de número.

#include "platform/motor/Informe.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace prueba {

// Los nombres de las columnas de Informes, para leer plantillas sin base.
QStringList ColumnasInformes();
// Impreso el 6 de marzo de 2026 a las 09:07:30, el día del reloj fijo.
motor::Entorno EntornoFijo();

// Texto del PDF con su disposición; vacío si pdftotext falla.
QString TextoPdf(const QString& ruta);
// Número de páginas del PDF (pdfinfo); -1 si falla.
int PaginasPdf(const QString& ruta);
// Tamaño de la primera página en mm (pdfinfo); vacío si falla.
QSizeF TamanoPaginaMm(const QString& ruta);
// La línea del texto que contiene `trozo`, o vacío.
QString LineaCon(const QString& texto, const QString& trozo);

struct Celda {
  bool numero = false;
  QString texto;     // el texto, o el número tal como está en el fichero
  double valor = 0;  // si es número
  QString formato;   // formato de número ("#,##0.00", "dd/mm/yyyy"...), vacío si general
  bool negrita = false;
};

// Celdas de la primera hoja por referencia ("A1", "C12"). Vacío si no se pudo leer.
std::map<QString, Celda> LeerXlsx(const QString& ruta);
// Referencia de una celda de texto igual a `texto`; vacío si no hay ninguna.
QString BuscarCelda(const std::map<QString, Celda>& celdas, const QString& texto);
// El número de la fila del rótulo `rotuloFila` bajo la columna del rótulo
// `rotuloColumna` (una cabecera de columna); nada si falta alguno.
std::optional<double> NumeroEnCruce(const std::map<QString, Celda>& celdas, const QString& rotuloFila,
                                    const QString& rotuloColumna);
// El primer número a la derecha del rótulo, en su misma fila.
std::optional<double> NumeroTrasRotulo(const std::map<QString, Celda>& celdas, const QString& rotulo);

}  // namespace prueba
