#pragma once
// Pinta un documento maquetado sobre cualquier dispositivo paginado: el PDF
// sin ventana, la impresora y la vista previa.

#include "platform/motor/Documento.h"
#include "platform/sistema/Error.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <stdexcept>

namespace motor {

// Un fallo al escribir la salida (disco lleno, carpeta sin permiso...).
class ErrorSalida : public sistema::Error {
 public:
  explicit ErrorSalida(const QString& mensaje) : sistema::Error(mensaje) {}
  int numero() const override { return sistema::kErrorSalida; }
};

// Pinta una página en el pintor, que ya está abierto sobre su dispositivo.
void PintarPagina(const Documento& doc, int pagina, QPainter& pintor);
// Ajusta el tamaño de página del dispositivo y pinta todas las páginas.
void PintarDocumento(const Documento& doc, QPagedPaintDevice& dispositivo);
// Escribe el PDF. El fichero sólo se sustituye si todo fue bien.
void GuardarPdf(const Documento& doc, const QString& ruta);

}  // namespace motor
