#include "platform/motor/CodigoBarras.h"

#include <zint.h>

#include <memory>

namespace motor {

Barras CodificarBarras(Simbologia simbologia, const QString& datos) {
  Barras b;
  QString texto = datos.trimmed();
  if (simbologia == Simbologia::Code39 && texto.size() >= 2 && texto.startsWith(QLatin1Char('*')) &&
      texto.endsWith(QLatin1Char('*')))
    texto = texto.mid(1, texto.size() - 2);
  if (texto.isEmpty()) {
    b.error = QStringLiteral("no hay nada que codificar");
    return b;
  }
  std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> s(ZBarcode_Create(), ZBarcode_Delete);
  if (!s) {
    b.error = QStringLiteral("sin memoria");
    return b;
  }
  s->symbology = simbologia == Simbologia::Code39 ? BARCODE_CODE39 : BARCODE_EANX;
  s->show_hrt = 0;  // el texto legible lo escribe el motor con la letra de la plantilla
  const QByteArray bytes = texto.toLatin1();
  const int r = ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                                static_cast<int>(bytes.size()));
  if (r >= ZINT_ERROR) {
    b.error = QString::fromLatin1(s->errtxt);
    return b;
  }
  if (ZBarcode_Buffer_Vector(s.get(), 0) >= ZINT_ERROR || !s->vector) {
    b.error = QString::fromLatin1(s->errtxt);
    return b;
  }
  b.ancho = s->vector->width;
  b.alto = s->vector->height;
  for (const zint_vector_rect* r2 = s->vector->rectangles; r2; r2 = r2->next)
    if (r2->colour <= 0 || r2->colour == 7) b.barras.emplace_back(r2->x, r2->y, r2->width, r2->height);
  b.legible = simbologia == Simbologia::Ean ? QString::fromLatin1(reinterpret_cast<const char*>(s->text)) : texto;
  b.valido = !b.barras.empty();
  return b;
}

}  // namespace motor
