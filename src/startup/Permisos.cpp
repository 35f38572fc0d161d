#include "startup/Permisos.h"

#include "startup/Prohibiciones.h"

#include <QAbstractButton>
#include <QAction>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include <functional>
#include <vector>

namespace {

const char* const kAspectoPropio = "cronicasAspectoPropio";

// Recorre los descendientes de `raiz` en el mismo orden que findChildren
// (cada hijo antes que sus hijos), sin bajar por los controles que se pintan
// solos. `visitar` devuelve falso para dejar de buscar.
bool Recorrer(const QObject& raiz, const std::function<bool(QObject&)>& visitar) {
  for (QObject* hijo : raiz.children()) {
    if (!visitar(*hijo)) return false;
    if (hijo->property(kAspectoPropio).toBool()) continue;
    if (!Recorrer(*hijo, visitar)) return false;
  }
  return true;
}

// El control o la acción del formulario con ese nombre. Las acciones cuentan
// porque un botón de barra puede ser sólo la acción que lo dibuja.
QObject* BuscarControl(QWidget& formu, const QString& nombre) {
  // Sin nombre casaría con cualquier contenedor anónimo de los layouts.
  if (nombre.isEmpty()) return nullptr;
  QObject* hallado = nullptr;
  Recorrer(formu, [&](QObject& o) {
    if ((o.isWidgetType() || qobject_cast<QAction*>(&o)) && o.objectName().compare(nombre, Qt::CaseInsensitive) == 0) {
      hallado = &o;
      return false;
    }
    return true;
  });
  return hallado;
}

void Deshabilitar(QObject& control) {
  if (auto* w = qobject_cast<QWidget*>(&control)) {
    w->setEnabled(false);
  } else if (auto* a = qobject_cast<QAction*>(&control)) {
    a->setEnabled(false);
  }
}

void Ocultar(QObject& control) {
  if (auto* w = qobject_cast<QWidget*>(&control)) {
    w->setVisible(false);
  } else if (auto* a = qobject_cast<QAction*>(&control)) {
    a->setVisible(false);
  }
}

}  // namespace

bool Permisos::EsExento(const QString& boton) {
  static const QStringList kExentos = {QStringLiteral("cmd_salir"),   QStringLiteral("cmdsalir"),
                                       QStringLiteral("cmdayuda"),    QStringLiteral("cmd_ayuda"),
                                       QStringLiteral("cmdUltimo"),   QStringLiteral("cmdSiguiente"),
                                       QStringLiteral("cmdAnterior"), QStringLiteral("cmdPrimero")};
  for (const QString& exento : kExentos) {
    if (boton.contains(exento, Qt::CaseInsensitive)) return true;
  }
  return false;
}

void Permisos::AplicarRestricciones(const datos::Conexion& base, QWidget& formu, qint32 empleado) {
  for (const permisos::Prohibicion& p : permisos::LeerProhibiciones(base, formu.objectName(), empleado)) {
    // Un catálogo escrito por otra versión del formulario puede nombrar
    // botones que ya no existen: esa fila no debe impedir que se apliquen
    // las demás.
    QObject* boton = BuscarControl(formu, p.boton);
    if (!boton) continue;
    Deshabilitar(*boton);
    if (p.auxiliar.isEmpty()) continue;
    if (QObject* control = BuscarControl(formu, p.auxiliar)) Ocultar(*control);
  }
}

void Permisos::GenerarAtributos(const datos::Conexion& base, QWidget& formu) {
  qint64 codigo = 1;
  {
    datos::Consulta q = base.preparar(QStringLiteral("SELECT MAX(codigo) AS maximo FROM atributos"));
    q.ejecutar();
    if (q.siguiente() && q.entero(QStringLiteral("maximo")) > 0) codigo = q.entero(QStringLiteral("maximo")) + 1;
  }

  std::vector<QAbstractButton*> botones;
  Recorrer(formu, [&](QObject& o) {
    // Sólo botones de orden: las casillas y los de opción eligen, no hacen.
    if (qobject_cast<QPushButton*>(&o) || qobject_cast<QToolButton*>(&o)) {
      botones.push_back(static_cast<QAbstractButton*>(&o));
    }
    return true;
  });

  datos::Consulta existe = base.preparar(
      QStringLiteral("SELECT codigo FROM atributos WHERE UPPER(form) = UPPER(?) AND UPPER(boton) = UPPER(?)"));
  for (QAbstractButton* boton : botones) {
    // Un botón sin texto es de imagen: nadie sabría cuál es en la lista de
    // permisos de la suite. Los que no tienen nombre (los de un
    // QDialogButtonBox) o llevan el de Qt (los del calendario) no son
    // controles del formulario y no se podrían volver a encontrar.
    const QString nombre = boton->objectName();
    if (boton->text().isEmpty() || nombre.isEmpty() || nombre.startsWith(QLatin1String("qt_"))) continue;
    existe.limpiarEnlaces();
    existe.enlazar(formu.objectName()).enlazar(nombre);
    existe.ejecutar();
    if (existe.siguiente() || EsExento(nombre)) continue;
    base.ejecutar(QStringLiteral("INSERT INTO atributos (codigo, form, form_desc, boton, boton_desc) "
                                 "VALUES (?, ?, ?, ?, ?)"),
                  {codigo, formu.objectName(), formu.windowTitle(), nombre, boton->text()});
    ++codigo;
  }
}
