#pragma once
// Un informe listo para maquetar: la plantilla, las filas de Informes ya
// ordenadas, los grupos que forman y los totales que las bandas enseñan. La
// página y la hoja de cálculo salen de aquí, de modo que dicen lo mismo.

#include "platform/motor/Expresion.h"
#include "platform/motor/Plantilla.h"
#include "platform/motor/TablaFilas.h"

#include <QDateTime>
#include <QLocale>

#include <memory>
#include <unordered_map>
#include <vector>

namespace motor {

struct Separadores;

struct Entorno {
  QDateTime momento;  // fecha y hora de impresión
  QLocale regional = QLocale(QLocale::Spanish, QLocale::Spain);
  int caracteresRollo = 0;  // rollo: caracteres por línea de la impresora; 0, los de la plantilla
};

// La configuración regional de los informes: la de los ajustes si se da
// ("es_ES", "es_DO"); si no, la del sistema; y si el sistema no tiene
// ninguna (la "C" de un servidor), la española.
QLocale ConfiguracionRegional(const QString& ajuste, const QLocale& sistema = QLocale::system());

// Un número con los separadores regionales, agrupando los miles si se pide.
QString TextoNumero(double valor, int decimales, bool miles, const QLocale& regional);

class Informe {
 public:
  // `filas` trae las columnas de la tabla en el orden de plantilla.columnas;
  // las fórmulas se calculan aquí.
  Informe(const Plantilla& plantilla, std::vector<Fila> filas, Entorno entorno);
  Informe(const Plantilla& plantilla, TablaFilas filas, Entorno entorno);

  // Una banda puesta en el informe, con la fila de la que toma sus valores.
  struct Instancia {
    const Banda* banda;
    int fila;   // -1 si el informe no tiene filas
    int nivel;  // nivel de grupo de una cabecera o pie de grupo; -1 si no
  };
  // Las bandas en el orden en que se leen, sin las de página.
  const std::vector<Instancia>& instancias() const { return instancias_; }

  const Plantilla& plantilla() const { return plantilla_; }
  const Entorno& entorno() const { return entorno_; }
  int numFilas() const { return static_cast<int>(filas_.numFilas()); }

  // Valor de un elemento en una instancia: el de la columna, el agregado o
  // la fecha de impresión. Null si no hay.
  QVariant valor(const Elemento& e, const Instancia& i) const;
  // El mismo valor escrito con el formato del elemento.
  QString texto(const Elemento& e, const QVariant& v) const;
  // La banda no se imprime en esa instancia.
  bool suprimida(const Instancia& i) const;
  // Primera y última fila del grupo de nivel `nivel` que contiene `fila`.
  std::pair<int, int> rangoGrupo(int nivel, int fila) const;

 private:
  // Un valor listo para compararse: Null, un número o el puesto de un texto
  // entre los textos distintos de su columna, en el orden de la tienda.
  struct Clave {
    std::uint8_t clase = 0;  // 0 Null, 1 número, 2 texto
    std::uint32_t puesto = 0;
    double numero = 0;
    int comparar(const Clave& o) const;
  };
  std::vector<Clave> claves(int columna, bool porFecha) const;

  void calcularFormulas();
  void ordenar();
  void formarInstancias();
  void prepararTotales();
  std::pair<int, int> rangoAmbito(const Elemento& e, const Instancia& i) const;

  const Plantilla& plantilla_;
  TablaFilas filas_;
  Entorno entorno_;
  std::shared_ptr<const Separadores> separadores_;
  std::vector<Instancia> instancias_;
  // Por nivel de grupo, la primera y la última fila del grupo de cada fila.
  std::vector<std::vector<int>> inicio_, fin_;
  // Sumas y cuentas acumuladas por columna: la suma de un tramo es una resta.
  std::vector<std::vector<double>> sumas_;
  std::vector<std::vector<int>> cuentas_;
  // Lo mismo para los agregados que cuentan una vez cada valor repetido:
  // uno por cada columna y claves distintas que pida la plantilla.
  struct Acumulados {
    std::vector<double> sumas;
    std::vector<int> cuentas;
  };
  std::vector<Acumulados> unicos_;
  std::unordered_map<const Elemento*, std::size_t> indiceUnico_;
  // Un campo "una vez por" sólo se escribe en la fila que lo cuenta.
  std::vector<std::vector<bool>> primeras_;
  std::unordered_map<const Elemento*, std::size_t> indicePrimeras_;
};

}  // namespace motor
