// Empleados, clientes, proveedores, salones y mesas de la tienda.

#include "demo/Tienda.h"

namespace demo {

namespace {

QString U(const char* texto) {
  return QString::fromUtf8(texto);
}

QString LetraDni(int numero) {
  static const char letras[] = "TRWAGMYFPDXBNJZSQVHLCKE";
  return QString::number(numero).rightJustified(8, QLatin1Char('0')) + QLatin1Char(letras[numero % 23]);
}

struct DefEmpleado {
  int codigo;
  const char* nombre;
  const char* apellidos;
  const char* funcion;
  const char* libra;
  Turno turno;
  bool vende;
  int anosAlta;  // antigüedad; negativo: días
  double sueldo;
  const char* horario;
};

// El día libre va en minúscula como lo guarda la suite; Iker lo tiene en
// mayúscula y Tino vacío, y los listados no les ponen día.
const DefEmpleado kEmpleados[] = {
    {1, "Marta", "Ruiz Ortega", "Encargada", "l", Turno::Partido, true, 9, 1850, "Partido 12:00-16:00 / 20:00-00:00"},
    {2, "Javier", "Gómez Saiz", "Jefe de cocina", "x", Turno::Cocina, false, 7, 1950,
     "Partido 10:00-16:00 / 20:00-23:30"},
    {3, "Lucía", "Fernández Gómez", "Camarera", "x", Turno::Manana, true, 5, 1380, "Mañana 07:30-15:30"},
    {4, "Andrés", "Pelayo Rivas", "Camarero", "j", Turno::Tarde, true, 4, 1380, "Tarde 16:00-00:00"},
    {5, "Noelia", "Sainz Cobo", "Camarera", "v", Turno::Manana, true, 3, 1350, "Mañana 07:30-15:30"},
    {6, "Iker", "Bustamante Lavín", "Barman", "V", Turno::Tarde, true, 6, 1420, "Tarde 17:00-02:00"},
    {7, "Carmen", "Solana Arce", "Ayudante de cocina", "d", Turno::Cocina, false, 2, 1250, "Mañana 09:00-17:00"},
    {8, "Tino", "", "Camarero extra", "", Turno::FinDeSemana, true, 1, 620, "Fines de semana"},
    {9, "Rubén", "Cagigas Revuelta", "Repartidor", "l", Turno::Reparto, false, 2, 1180,
     "Partido 13:00-16:00 / 20:00-23:30"},
    {10, "Sofía", "Herrera Gutiérrez", "Repartidora", "j", Turno::Reparto, false, 1, 1180,
     "Partido 13:00-16:00 / 20:00-23:30"},
    {11, "Pedro", "Arronte Setién", "Camarero", "d", Turno::Manana, true, 11, 1400, "Mañana 07:30-15:30"},
    {12, "Ana Isabel", "Ruiz de la Prada", "Camarera", "l", Turno::Tarde, true, -200, 1350, "Tarde 16:00-00:00"},
};

const char* const kCalles[] = {"Calle del Muelle",
                               "Avenida de la Victoria",
                               "Calle Marqués de Comillas",
                               "Paseo Marítimo",
                               "Calle San Francisco",
                               "Calle de la Ribera",
                               "Avenida de los Derechos Humanos",
                               "Calle Zamanillo",
                               "Plaza de la Constitución",
                               "Calle Santa María",
                               "Barrio La Pesquera",
                               "Calle Padre Ignacio Ellacuría"};
const char* const kPueblos[] = {"Laredo",  "Colindres",       "Santoña", "Limpias",
                                "Ampuero", "Castro Urdiales", "Noja",    "Argoños"};
const char* const kCp[] = {"39770", "39750", "39740", "39820", "39840", "39700", "39180", "39197"};

const char* const kNombres[] = {"Pilar",   "Raúl",   "Begoña",   "Álvaro", "Rosa",   "Fernando", "Elena",
                                "Gonzalo", "Nuria",  "Ignacio",  "Susana", "Jorge",  "Mercedes", "Óscar",
                                "Laura",   "Sergio", "Cristina", "Daniel", "Marisa", "Pablo"};
const char* const kApellidos[] = {"Sáez",  "Cobo",     "Revilla", "Gutiérrez", "Bárcena", "Sainz",
                                  "Lavín", "Palacio",  "Trueba",  "Setién",    "Ortiz",   "Campuzano",
                                  "Haya",  "Ceballos", "Puente",  "Arce",      "Velarde", "Abascal"};

}  // namespace

void Tienda::crearGente(Azar& azar) {
  for (const DefEmpleado& d : kEmpleados) {
    Empleado e;
    e.codigo = d.codigo;
    e.nombre = U(d.nombre);
    // Un apellido vacío se guarda vacío, no nulo, como lo deja la ficha.
    e.apellidos = *d.apellidos ? U(d.apellidos) : QStringLiteral("");
    e.nombreCompleto = e.apellidos.isEmpty() ? e.nombre : e.nombre + QLatin1Char(' ') + e.apellidos;
    const int c = azar.entre(0, 11);
    e.direccion = QStringLiteral("%1, %2").arg(U(kCalles[c])).arg(azar.entre(1, 60));
    const int pueblo = azar.entre(0, 7);
    e.cp = QString::fromLatin1(kCp[pueblo]);
    e.localidad = U(kPueblos[pueblo]);
    e.provincia = QStringLiteral("Cantabria");
    e.telefono =
        QStringLiteral("6%1 %2 %3").arg(azar.entre(10, 99)).arg(azar.entre(100, 999)).arg(azar.entre(100, 999));
    e.dni = LetraDni(azar.entre(10000000, 79999999));
    e.sueldo = d.sueldo;
    e.alta = d.anosAlta >= 0 ? hoy.addYears(-d.anosAlta).addDays(-azar.entre(0, 300)) : hoy.addDays(d.anosAlta);
    e.horario = U(d.horario);
    e.funcion = U(d.funcion);
    e.libra = QString::fromLatin1(d.libra);
    e.usuario = (e.nombre.left(1) + e.apellidos.section(QLatin1Char(' '), 0, 0)).toLower();
    if (e.usuario.size() < 3) e.usuario = e.nombre.toLower();
    e.clave = QString::number(azar.entre(1000, 9999));
    e.ss = QStringLiteral("39/%1/%2").arg(azar.entre(10000000, 99999999)).arg(azar.entre(10, 99));
    e.turno = d.turno;
    e.vende = d.vende;
    empleados.push_back(e);
  }
  // Pedro se jubiló hace dos meses y medio: vende hasta ese día y no después.
  for (Empleado& e : empleados)
    if (e.codigo == 11) e.baja = hoy.addDays(-75);

  // Clientes: vecinos, habituales y empresas de la zona.
  for (int i = 0; i < 38; ++i) {
    Cliente c;
    c.codigo = i + 1;
    c.nombre = U(kNombres[(i * 7 + 3) % 20]);
    c.apellidos = U(kApellidos[(i * 5 + 1) % 18]) + QLatin1Char(' ') + U(kApellidos[(i * 11 + 4) % 18]);
    const int pueblo = i % 5 == 4 ? azar.entre(0, 7) : i % 3;
    c.direccion = U(kCalles[(i * 3) % 12]);
    c.numero = i % 7 == 2 ? QVariant(QStringLiteral("%1 bis").arg(azar.entre(1, 40)))
                          : QVariant(QString::number(azar.entre(1, 90)));
    c.piso = i % 4 == 0 ? kNulo : QVariant(QStringLiteral("%1º").arg(azar.entre(1, 6)));
    c.puerta = c.piso.isNull() ? kNulo : QVariant(i % 2 ? QStringLiteral("izq") : QString(QChar(u'A' + i % 4)));
    c.cp = QString::fromLatin1(kCp[pueblo]);
    c.poblacion = U(kPueblos[pueblo]);
    c.telefono =
        i % 3 == 0
            ? QStringLiteral("942 %1 %2 %3").arg(azar.entre(60, 69)).arg(azar.entre(10, 99)).arg(azar.entre(10, 99))
            : QStringLiteral("6%1 %2 %3").arg(azar.entre(10, 99)).arg(azar.entre(100, 999)).arg(azar.entre(100, 999));
    c.email =
        i % 3 == 1
            ? QVariant(QStringLiteral("%1.%2@correo.es")
                           .arg(c.nombre.toLower(), c.apellidos.toString().section(QLatin1Char(' '), 0, 0).toLower()))
            : kNulo;
    c.habitual = i < 12;
    clientes.push_back(c);
  }
  // Un matrimonio comparte teléfono y reserva cada uno a su nombre.
  clientes[1].telefono = clientes[0].telefono;
  // Quien sólo dejó su nombre al pedir por teléfono.
  clientes[5].apellidos = kNulo;
  clientes[5].nombre = QStringLiteral("Chema");
  // Empresas con factura, CIF y descuento pactado.
  const char* const empresas[] = {"Talleres Asón SL", "Conservas Marina del Cantábrico SA", "Autoescuela Laredo",
                                  "Club de Remo Laredo", "Inmobiliaria Puerto Viejo SL"};
  for (int i = 0; i < 5; ++i) {
    Cliente& c = clientes[static_cast<size_t>(30 + i)];
    c.nombre = U(empresas[i]);
    c.apellidos = QStringLiteral("");
    c.cif = QStringLiteral("%1%2").arg(QChar(i % 2 ? u'B' : u'A')).arg(39000000 + azar.entre(100000, 999999));
    c.fax = i < 2 ? QVariant(QStringLiteral("942 60 %1 %2").arg(azar.entre(10, 99)).arg(azar.entre(10, 99))) : kNulo;
    c.descuento = i < 3 ? 10 : 5;
    c.email = QStringLiteral("administracion@empresa%1.es").arg(i + 1);
  }

  struct DefProveedor {
    const char* nombre;
    const char* contacto;
    int borrar;
    int dia;
  };
  const DefProveedor provs[] = {
      {"Distribuciones Cantábricas SL", "Ramón Cuesta", 0, 1},
      {"Cervezas del Norte SA", "Atención al cliente", 0, 3},
      {"Bodegas Viña Laredo", "Julia Ocejo", 0, 4},
      {"Licores Asón", "Manuel Pérez", 0, 4},
      {"Cafés Somo", "Rosa Ibáñez", 0, 1},
      {"Panadería Trasmiera", "Toño", 0, 0},  // todos los días
      {"Pescados Santoña Hnos.", "Luis Santoña", 0, 0},
      {"Carnicería Valle de Soba", "Ángel Ruiz", 0, 3},
      {"Frutas y Verduras Colindres", "Maite", 0, 5},
      {"Lácteos Pasiegos", "Pedidos", 0, 3},
      {"Conservas La Gaviota", "Carlos Bedia", 1, 5},
      {"Makro Santander", "Tarjeta cliente 4455", 0, 5},
      {"Hielos Costa", "Pedidos", 1, 6},
  };
  int n = 1;
  for (const DefProveedor& d : provs) {
    Proveedor p;
    p.codigo = QString::number(n);
    p.nombre = U(d.nombre);
    p.contacto = U(d.contacto);
    p.borrar = d.borrar;
    p.diaReparto = d.dia;
    const int pueblo = n % 8;
    p.direccion = QStringLiteral("Polígono %1, nave %2").arg(U(kPueblos[pueblo])).arg(azar.entre(1, 40));
    p.poblacion = U(kPueblos[pueblo]);
    p.provincia = QStringLiteral("Cantabria");
    p.cp = QString::fromLatin1(kCp[pueblo]);
    p.telefono = QStringLiteral("942 %1 %2 %3").arg(azar.entre(20, 69)).arg(azar.entre(10, 99)).arg(azar.entre(10, 99));
    p.fax =
        n % 3 == 0 ? QVariant(QStringLiteral("942 %1 %2 00").arg(azar.entre(20, 69)).arg(azar.entre(10, 99))) : kNulo;
    p.nif = QStringLiteral("B%1").arg(39000000 + azar.entre(100000, 999999));
    p.email = QStringLiteral("pedidos@proveedor%1.es").arg(n);
    proveedores.push_back(p);
    ++n;
  }
}

void Tienda::crearSalas() {
  int codigo = 1;
  for (int i = 1; i <= 14; ++i) mesas.push_back({codigo++, QString::number(i), zona::Comedor});
  for (int i = 1; i <= 10; ++i) mesas.push_back({codigo++, QStringLiteral("T%1").arg(i), zona::Terraza});
  mesas.push_back({codigo++, QStringLiteral("R1"), zona::Reservado});
  mesas.push_back({codigo++, QStringLiteral("R2"), zona::Reservado});
  // La barra alta no tiene rótulo: los informes la tratan como barra.
  mesas.push_back({codigo++, QStringLiteral(""), zona::Barra});
}

}  // namespace demo
