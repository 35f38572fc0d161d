#pragma once
// El visor del listado de ventas en formato ticket: el texto tal como saldrá
// por la impresora de tickets, en letra de ancho fijo, con «Imprimir», que
// lo manda línea a línea y deja el visor abierto, y «Cancelar».

#include "platform/datos/Datos.h"
#include "platform/sistema/Notificador.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

class QPagedPaintDevice;

namespace Ui {
class frmPreImpresion;
}

// Los renglones de un texto de ticket partido por sus CR LF: el último CR LF
// da un renglón vacío al final, que también se imprime.
QStringList LineasTicket(const QString& texto);

// Pinta los renglones uno debajo de otro con la letra `fuente` (la que haya si
// el sistema no la tiene o va vacía), con el tamaño que hace caber `ancho` + 1
// caracteres. Falso si el dispositivo no se deja pintar.
bool PintarLineasTicket(QPagedPaintDevice& dispositivo, const QStringList& lineas, const QString& fuente, int ancho);

// Imprime el texto en la impresora `impresora` (el nombre sin blancos de los
// lados; si no hay ninguna así, en la predeterminada) con la letra que dice la
// tabla impresoras. Si la impresora no responde lo avisa con el título
// «Preticket».
void ImprimirTextoTicket(const datos::Conexion& ventas, const QString& impresora, const QString& texto, int& ancho,
                         sistema::Notificador& notificador);

class frmPreImpresion : public QDialog {
  Q_OBJECT

 public:
  frmPreImpresion(const datos::Conexion& ventas, QString impresora, sistema::Notificador& notificador,
                  QWidget* padre = nullptr);
  ~frmPreImpresion() override;

  void ponerTexto(const QString& texto);
  QString texto() const;

  // Caracteres por línea del texto que se enseña.
  int numCaracteres = 35;

 private:
  void imprimir();

  std::unique_ptr<Ui::frmPreImpresion> ui_;
  const datos::Conexion& ventas_;
  QString impresora_;
  sistema::Notificador& notificador_;
};
