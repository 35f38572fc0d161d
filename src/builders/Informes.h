#pragma once
// La tabla de trabajo Informes y las costumbres que comparten todos los
// constructores de informes: vaciarla, escribir una fila por línea del
// informe, la cabecera del negocio, el sello de generación, los valores que
// se estampan en todas las filas y el aviso de "no hay datos".

#include "platform/datos/Datos.h"
#include "platform/sistema/Notificador.h"
#include "platform/sistema/Sistema.h"
#include "reports_ui/SeleccionInforme.h"
#include "startup/AjustesTerminal.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <array>
#include <bitset>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace informes {

// Las columnas de Informes, en el orden de la tabla.
enum class TipoColumna { Texto, Numero, Fecha, Entero };
struct ColumnaInformes {
  QString nombre;
  TipoColumna tipo;
};
const std::vector<ColumnaInformes>& columnasInformes();
constexpr int kNumColumnas = 64;

// Escritor de Informes: comprueba los nombres de columna sin distinguir
// mayúsculas, guarda las filas en una sola transacción con sentencias
// preparadas y deja la tabla como estaba si el informe se abandona.
class EscritorInformes {
 public:
  explicit EscritorInformes(const datos::Conexion& conexion);
  ~EscritorInformes();  // sin terminar(): deshace todo
  EscritorInformes(const EscritorInformes&) = delete;
  EscritorInformes& operator=(const EscritorInformes&) = delete;

  // Borra todas las filas (dentro de la transacción).
  void vaciar();

  // Empieza una fila nueva; las columnas no puestas quedan en Null.
  void nuevaFila();
  void poner(const QString& columna, const QVariant& valor);
  // Lo mismo con el índice de indiceColumna(), para los informes de cientos
  // de miles de filas, que no buscan el nombre en cada celda.
  void poner(int indice, const QVariant& valor);
  // Valor que llevan todas las filas que se guarden desde ahora (la
  // cabecera del negocio, las fechas del informe, el sello): se convierte
  // una sola vez y no hay que ponerlo en cada fila.
  void fijar(int indice, const QVariant& valor);
  // Guarda la fila en curso.
  void guardarFila();

  // Sentencias sobre todas las filas: estampar un valor del informe entero,
  // actualizar o borrar las filas cuyo texto coincide.
  void estampar(const QString& columna, const QVariant& valor);
  void estampar(const QList<QPair<QString, QVariant>>& valores);
  void actualizarDonde(const QString& columna, const QVariant& valor, const QString& columnaClave,
                       const QVariant& clave);
  void borrarDonde(const QString& columnaClave, const QVariant& clave);

  // Confirma la transacción.
  void terminar();

  int filasGuardadas() const { return filas_; }
  static int indiceColumna(const QString& nombre);  // -1 si no existe

 private:
  QVariant convertir(int indice, const QVariant& valor) const;
  void asegurarTransaccion();
  // Escribe las filas guardadas que aún esperan, en INSERT de varias filas.
  void volcar();
  datos::Consulta& insercion(unsigned long long clave);
  const datos::Conexion& conexion_;
  bool enTransaccion_ = false;
  bool filaAbierta_ = false;
  std::bitset<kNumColumnas> puestas_;
  std::bitset<kNumColumnas> fijas_;
  std::array<QVariant, kNumColumnas> valores_;
  // Filas guardadas que aún no se han mandado a la base: ir de una en una
  // cuesta un viaje al servidor por fila.
  struct Pendiente {
    unsigned long long clave;  // columnas puestas
    int fila;
    std::vector<QVariant> valores;  // sólo las columnas puestas, en orden
  };
  std::vector<Pendiente> pendientes_;
  std::unordered_map<unsigned long long, std::unique_ptr<datos::Consulta>> inserciones_;
  // En SQLite las filas se escriben sin pasar por QSqlQuery.
  // Versión de los valores fijos ya enlazados en la sentencia de cada juego
  // de columnas.
  std::unordered_map<unsigned long long, unsigned> versionesDirectas_;
  unsigned versionFijas_ = 1;
  QString textoInsercion(unsigned long long clave) const;
  // En SQLite las filas las escribe otro hilo mientras este prepara las
  // siguientes.
  class HiloEscritura;
  std::unique_ptr<HiloEscritura> hilo_;
  bool directa_ = false;
  QStringList nombresReales_;  // nombre de cada columna tal como está en la tabla
  bool tieneFila_ = false;     // la tabla guarda el orden de escritura
  int ultimaFila_ = -1;        // número de la última fila de la tabla; -1 si aún no se sabe
  int filas_ = 0;
};

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
// Primera fila de la tabla Opciones: dirección "Direccion - Poblacion".
CabeceraNegocio LeerCabeceraTabla(const datos::Conexion& ventas);
// Fila del puesto: nombre y direccion sin población.
CabeceraNegocio LeerCabeceraPuesto(const datos::Conexion& ventas, const QString& idTerminal);
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
