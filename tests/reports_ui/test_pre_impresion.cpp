// El visor del ticket detallado: el texto que enseña es el que imprime, con
// sus renglones CR LF, línea a línea en el orden del texto; una impresora
// que no responde se avisa con el título «Preticket» y el visor sigue.

#include "reports_ui/frmPreImpresion.h"
#include "support/BasesPrueba.h"
#include "support/Documentos.h"

#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PreImpresion, ImprimeLoQueEnseñaLineaALinea) {
  prueba::Tienda tienda(prueba::Motor::SQLite);
  const QString texto = QStringLiteral("Bar Sol\r\n \r\nNro. Factura   Importe\r\n10       1.234,50\r\n");
  EXPECT_EQ(LineasTicket(texto),
            (QStringList{"Bar Sol", " ", "Nro. Factura   Importe", "10       1.234,50", QString()}));

  frmPreImpresion visor(*tienda.ajustes.ConexionVentas, QStringLiteral("TM-T20"), tienda.notificador);
  visor.ponerTexto(texto);
  EXPECT_EQ(visor.windowTitle(), QStringLiteral("Visor Listado Formato Ticket"));
  EXPECT_EQ(visor.texto(), texto);
  auto* cuadro = visor.findChild<QPlainTextEdit*>(QStringLiteral("txtListado"));
  ASSERT_NE(cuadro, nullptr);
  EXPECT_TRUE(QFontInfo(cuadro->font()).fixedPitch());

  // Lo que se pinta sale en el orden del texto, un renglón por línea.
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("ticket.pdf"));
  {
    QPdfWriter escritor(pdf);
    escritor.setPageSize(QPageSize(QSizeF(72, 200), QPageSize::Millimeter));
    ASSERT_TRUE(PintarLineasTicket(escritor, LineasTicket(visor.texto()), QStringLiteral("Letra que no existe"), 35));
  }
  const QString leido = prueba::TextoPdf(pdf);
  const qsizetype a = leido.indexOf(QStringLiteral("Bar Sol"));
  const qsizetype b = leido.indexOf(QStringLiteral("Nro. Factura"));
  const qsizetype c = leido.indexOf(QStringLiteral("1.234,50"));
  EXPECT_TRUE(a >= 0 && a < b && b < c) << leido.toStdString();

  // Sin ninguna impresora en el sistema no hay dónde imprimir: se avisa y el
  // visor sigue abierto para volver a intentarlo.
  if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "esta máquina tiene impresoras de verdad";
  visor.show();
  visor.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  ASSERT_EQ(tienda.notificador.avisos.size(), 1);
  EXPECT_EQ(tienda.notificador.avisos[0].texto,
            QStringLiteral("Compruebe la conexion con su impresora y que esta este encendida."));
  EXPECT_EQ(tienda.notificador.avisos[0].titulo, QStringLiteral("Preticket"));
  EXPECT_TRUE(visor.isVisible());
  EXPECT_EQ(visor.numCaracteres, 35);
}

}  // namespace
