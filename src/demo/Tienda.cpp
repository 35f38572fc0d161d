#include "demo/Tienda.h"

#include <cmath>

namespace demo {

namespace {

QString U(const char* texto) {
  return QString::fromUtf8(texto);
}

// --- Familias ---------------------------------------------------------------

struct DefFamilia {
  const char* codigo;
  const char* nombre;
  const char* completo;
  int hechoEn;  // -1: sin dato
  double impuesto;
  int borrar;
};

// hechoen 3 (obrador), 0 (economato) y 4 (eventos) no son ni barra ni cocina:
// los listados los dejan sin rótulo.
const DefFamilia kFamilias[] = {
    {"1", "Refrescos", "Refrescos, zumos y aguas", 1, 10, 0},
    {"2", "Cervezas", "Cervezas de barril y botellín", 1, 10, 0},
    {"3", "Vinos", "Vinos, cavas y vermut", 1, 10, 0},
    {"4", "Copas", "Licores y combinados", 1, 10, 0},
    {"5", "Cafés", "Cafés e infusiones", 1, 10, 0},
    {"6", "Desayunos", "Desayunos, bollería y bocadillos", 1, 10, 0},
    {"7", "Tapas", "Tapas y pinchos", 2, 10, 0},
    {"8", "Raciones", "Raciones para compartir", 2, 10, 0},
    {"9", "Entrantes", "Entrantes, cuchara y arroces", 2, 10, 0},
    {"10", "Carnes", "Carnes a la brasa y guisos", 2, 10, 0},
    {"11", "Pescados", "Pescados y mariscos del Cantábrico", 2, 10, 0},
    {"12", "Postres", "Postres caseros del obrador", 3, 10, 0},
    {"13", "Economato", "Materia prima de cocina y barra", 0, 10, 0},
    {"14", "Tienda", "Productos para llevar y regalos", 1, 21, 0},
    {"15", "Eventos", "Conciertos y cenas con música", 4, 21, 0},
    {"16", "Combinados", "Platos combinados (ya no se hacen)", 2, 10, 1},
};

struct DefMenu {
  const char* codigo;
  const char* nombre;
  const char* completo;
  double precio;
  double coste;
  int borrar;
};

const DefMenu kMenus[] = {
    {"901", "Menú del día", "Menú del día (de lunes a viernes)", 13.50, 5.10, 0},
    {"902", "Menú fin de semana", "Menú de fin de semana y festivos", 19.90, 7.40, 0},
    {"903", "Menú infantil", "Menú infantil", 9.50, 3.20, 0},
    {"904", "Menú degustación", "Menú degustación (viernes y sábado noche)", 36.00, 13.80, 0},
    {"905", "Medio menú", "Medio menú del día: un plato y postre", 9.00, 3.40, 0},
    {"906", "Menú de Navidad", "Menú de Navidad (temporada pasada)", 42.00, 16.00, 1},
};

// --- Carta ------------------------------------------------------------------

enum Marca : unsigned {
  kEnvasado = 1u << 0,  // lleva código de barras
  kStock = 1u << 1,     // se lleva stock
  kAmbos = 1u << 2,     // se vende y se usa como ingrediente (tipoprod 2)
  kIva21 = 1u << 3,
  kIva0 = 1u << 4,
  kBorrado = 1u << 5,
  kSinIvaFicha = 1u << 6,  // la ficha no tiene el tipo rellenado
  kServicio = 1u << 7,     // tipoprod 4: servicios sin stock
};

struct DefProducto {
  const char* nombre;
  Uso uso;
  const char* familia;  // nullptr: sin familia
  double precio;        // para el economato, el coste
  int proveedor;        // 0: sin proveedor
  int popularidad;
  unsigned marcas;
};

constexpr unsigned E = kEnvasado | kStock;

const DefProducto kCarta[] = {
    // Refrescos y aguas
    {"Coca-Cola", Uso::Refresco, "1", 2.20, 1, 30, E | kAmbos},
    {"Coca-Cola Zero", Uso::Refresco, "1", 2.20, 1, 18, E},
    {"Fanta Naranja", Uso::Refresco, "1", 2.20, 1, 10, E},
    {"Fanta Limón", Uso::Refresco, "1", 2.20, 1, 7, E},
    {"Nestea", Uso::Refresco, "1", 2.30, 1, 8, E},
    {"Aquarius", Uso::Refresco, "1", 2.30, 1, 8, E},
    {"Tónica Schweppes", Uso::Refresco, "1", 2.30, 1, 8, E | kAmbos},
    {"Bitter Kas", Uso::Refresco, "1", 2.30, 1, 4, E},
    {"Zumo de naranja natural", Uso::Refresco, "1", 3.20, 0, 12, 0},
    {"Mosto", Uso::Refresco, "1", 2.00, 1, 3, E},
    {"Red Bull", Uso::Refresco, "1", 3.00, 1, 4, E},
    {"Gaseosa", Uso::Refresco, "1", 1.50, 1, 3, E | kAmbos},
    {"Agua mineral 50 cl", Uso::Agua, "1", 1.60, 1, 25, E},
    {"Agua con gas", Uso::Agua, "1", 1.80, 1, 6, E},
    {"Agua 1,5 l", Uso::Agua, "1", 2.50, 1, 10, E},
    // Cervezas
    {"Caña", Uso::Cerveza, "2", 1.80, 2, 60, 0},
    {"Doble", Uso::Cerveza, "2", 2.60, 2, 20, 0},
    {"Jarra de cerveza", Uso::Cerveza, "2", 3.50, 2, 8, 0},
    {"Tercio Mahou", Uso::Cerveza, "2", 2.80, 2, 8, E},
    {"Estrella Galicia", Uso::Cerveza, "2", 2.80, 2, 12, E},
    {"Alhambra Reserva 1925", Uso::Cerveza, "2", 3.20, 2, 6, E},
    {"Cerveza sin alcohol", Uso::Cerveza, "2", 2.50, 2, 7, E},
    {"Clara con limón", Uso::Cerveza, "2", 2.00, 2, 8, 0},
    {"Cerveza artesana IPA", Uso::Cerveza, "2", 4.20, 2, 3, E},
    {"Shandy", Uso::Cerveza, "2", 2.20, 2, 2, 0},
    // Vinos por copas
    {"Copa de Rioja crianza", Uso::Vino, "3", 2.80, 3, 20, 0},
    {"Copa de Ribera", Uso::Vino, "3", 3.00, 3, 10, 0},
    {"Copa de Albariño", Uso::Vino, "3", 3.00, 3, 10, 0},
    {"Copa de Verdejo", Uso::Vino, "3", 2.50, 3, 10, 0},
    {"Copa de vino de la casa", Uso::Vino, "3", 1.80, 3, 14, 0},
    {"Vermut de grifo", Uso::Vino, "3", 2.50, 3, 10, 0},
    {"Sidra natural", Uso::Vino, "3", 3.50, 3, 4, 0},
    {"Tinto de verano", Uso::Vino, "3", 2.50, 3, 8, 0},
    {"Copa de cava", Uso::Vino, "3", 3.50, 3, 3, 0},
    // Botellas para la mesa
    {"Botella Rioja crianza", Uso::Botella, "3", 16.00, 3, 10, E},
    {"Botella Albariño", Uso::Botella, "3", 19.00, 3, 8, E},
    {"Botella Ribera del Duero", Uso::Botella, "3", 22.00, 3, 5, E},
    {"Botella Verdejo", Uso::Botella, "3", 14.00, 3, 8, E},
    {"Botella de cava brut", Uso::Botella, "3", 18.00, 3, 3, E},
    {"Sangría (jarra)", Uso::Botella, "3", 12.00, 0, 5, 0},
    // Copas
    {"Gin tonic", Uso::Copa, "4", 8.00, 4, 20, 0},
    {"Ron cola", Uso::Copa, "4", 7.00, 4, 12, 0},
    {"Whisky cola", Uso::Copa, "4", 7.00, 4, 10, 0},
    {"Vodka limón", Uso::Copa, "4", 7.00, 4, 6, 0},
    {"Mojito", Uso::Copa, "4", 8.50, 4, 6, 0},
    {"Pacharán", Uso::Copa, "4", 3.00, 4, 6, 0},
    {"Orujo de hierbas", Uso::Copa, "4", 2.50, 4, 8, 0},
    {"Licor de café", Uso::Copa, "4", 2.50, 4, 5, 0},
    {"Chupito", Uso::Copa, "4", 1.50, 4, 6, 0},
    {"Brandy", Uso::Copa, "4", 3.00, 4, 3, 0},
    {"Baileys", Uso::Copa, "4", 3.50, 4, 3, 0},
    {"Copa premium", Uso::Copa, "4", 10.00, 4, 3, 0},
    // Cafés
    {"Café solo", Uso::Cafe, "5", 1.30, 5, 30, 0},
    {"Cortado", Uso::Cafe, "5", 1.40, 5, 30, 0},
    {"Café con leche", Uso::Cafe, "5", 1.60, 5, 40, 0},
    {"Café americano", Uso::Cafe, "5", 1.50, 5, 8, 0},
    {"Capuchino", Uso::Cafe, "5", 2.20, 5, 6, 0},
    {"Carajillo", Uso::Cafe, "5", 2.00, 5, 5, 0},
    {"Café bombón", Uso::Cafe, "5", 1.80, 5, 4, 0},
    {"Descafeinado", Uso::Cafe, "5", 1.50, 5, 10, 0},
    {"Colacao", Uso::Cafe, "5", 1.80, 5, 6, 0},
    {"Té", Uso::Cafe, "5", 1.50, 5, 5, 0},
    {"Manzanilla", Uso::Cafe, "5", 1.50, 5, 5, 0},
    {"Poleo menta", Uso::Cafe, "5", 1.50, 5, 4, 0},
    // Desayunos
    {"Tostada con tomate y aceite", Uso::Desayuno, "6", 2.20, 6, 20, 0},
    {"Tostada con mantequilla y mermelada", Uso::Desayuno, "6", 2.00, 6, 14, 0},
    {"Croissant", Uso::Desayuno, "6", 1.80, 6, 14, kStock},
    {"Napolitana de chocolate", Uso::Desayuno, "6", 1.90, 6, 10, kStock},
    {"Magdalena", Uso::Desayuno, "6", 1.00, 6, 5, kStock},
    {"Churros (ración)", Uso::Desayuno, "6", 2.50, 6, 8, 0},
    {"Porras", Uso::Desayuno, "6", 2.80, 6, 5, 0},
    {"Bocadillo de jamón", Uso::Desayuno, "6", 4.50, 0, 8, 0},
    {"Bocadillo de calamares", Uso::Desayuno, "6", 5.00, 0, 6, 0},
    {"Sándwich mixto", Uso::Desayuno, "6", 3.50, 0, 8, 0},
    {"Desayuno completo", Uso::Desayuno, "6", 4.50, 0, 6, 0},
    // Tapas
    {"Pincho de tortilla", Uso::Tapa, "7", 2.50, 0, 25, 0},
    {"Gilda", Uso::Tapa, "7", 2.00, 0, 6, 0},
    {"Pincho moruno", Uso::Tapa, "7", 3.00, 0, 5, 0},
    {"Croqueta casera", Uso::Tapa, "7", 1.50, 0, 10, 0},
    {"Tapa de ensaladilla", Uso::Tapa, "7", 3.00, 0, 8, 0},
    {"Tapa de callos", Uso::Tapa, "7", 3.50, 0, 4, 0},
    {"Tapa de albóndigas", Uso::Tapa, "7", 3.50, 0, 5, 0},
    {"Tapa de bravas", Uso::Tapa, "7", 3.00, 0, 10, 0},
    {"Boquerones en vinagre", Uso::Tapa, "7", 3.50, 7, 6, 0},
    {"Anchoas del Cantábrico", Uso::Tapa, "7", 4.50, 11, 6, 0},
    {"Rabas (tapa)", Uso::Tapa, "7", 4.00, 0, 8, 0},
    {"Pimientos de Padrón (tapa)", Uso::Tapa, "7", 3.50, 0, 6, 0},
    {"Montadito de lomo", Uso::Tapa, "7", 2.80, 0, 6, 0},
    {"Montadito de bacalao", Uso::Tapa, "7", 3.00, 0, 4, 0},
    // Raciones
    {"Ración de rabas", Uso::Racion, "8", 12.00, 0, 20, 0},
    {"Ración de croquetas", Uso::Racion, "8", 9.00, 0, 14, 0},
    {"Patatas bravas", Uso::Racion, "8", 6.50, 0, 16, 0},
    {"Calamares a la romana", Uso::Racion, "8", 11.00, 0, 10, 0},
    {"Pulpo a la gallega", Uso::Racion, "8", 16.00, 7, 8, 0},
    {"Jamón ibérico", Uso::Racion, "8", 22.00, 8, 8, 0},
    {"Queso curado", Uso::Racion, "8", 12.00, 10, 6, 0},
    {"Tabla de embutidos", Uso::Racion, "8", 14.00, 8, 6, 0},
    {"Pimientos de Padrón", Uso::Racion, "8", 7.50, 0, 6, 0},
    {"Chipirones encebollados", Uso::Racion, "8", 13.00, 0, 6, 0},
    {"Mejillones a la marinera", Uso::Racion, "8", 10.00, 0, 6, 0},
    {"Gambas al ajillo", Uso::Racion, "8", 14.00, 0, 8, 0},
    {"Huevos rotos con jamón", Uso::Racion, "8", 11.00, 0, 10, 0},
    {"Navajas a la plancha", Uso::Racion, "8", 15.00, 7, 4, 0},
    {"Oreja a la plancha", Uso::Racion, "8", 9.00, 0, 3, 0},
    {"Ensaladilla rusa", Uso::Racion, "8", 8.00, 0, 8, 0},
    {"Tortilla de patata entera", Uso::Racion, "8", 12.00, 0, 5, 0},
    // Entrantes, cuchara y arroces
    {"Ensalada mixta", Uso::Entrante, "9", 8.00, 0, 12, 0},
    {"Ensalada de tomate y ventresca", Uso::Entrante, "9", 11.00, 0, 8, 0},
    {"Ensalada de queso de cabra", Uso::Entrante, "9", 10.50, 0, 8, 0},
    {"Sopa de pescado", Uso::Entrante, "9", 8.50, 0, 6, 0},
    {"Crema de verduras", Uso::Entrante, "9", 7.00, 0, 8, 0},
    {"Cocido montañés", Uso::Entrante, "9", 10.00, 0, 10, 0},
    {"Fabada asturiana", Uso::Entrante, "9", 10.00, 0, 5, 0},
    {"Lentejas estofadas", Uso::Entrante, "9", 8.00, 0, 6, 0},
    {"Paella (por persona)", Uso::Entrante, "9", 12.50, 0, 8, 0},
    {"Arroz negro", Uso::Entrante, "9", 13.00, 0, 5, 0},
    {"Espárragos de Navarra", Uso::Entrante, "9", 9.00, 12, 4, 0},
    {"Pimientos rellenos de bacalao", Uso::Entrante, "9", 12.00, 0, 4, 0},
    {"Alubias con almejas", Uso::Entrante, "9", 13.50, 0, 4, 0},
    {"Macarrones a la boloñesa", Uso::Entrante, "9", 7.50, 0, 6, 0},
    // Carnes
    {"Entrecot de ternera", Uso::Carne, "10", 22.00, 8, 10, 0},
    {"Chuletón de buey", Uso::Carne, "10", 45.00, 8, 4, 0},
    {"Solomillo al roquefort", Uso::Carne, "10", 24.00, 8, 6, 0},
    {"Cachopo", Uso::Carne, "10", 19.00, 0, 8, 0},
    {"Carrilleras al vino tinto", Uso::Carne, "10", 15.00, 0, 8, 0},
    {"Secreto ibérico", Uso::Carne, "10", 16.00, 8, 8, 0},
    {"Escalope con patatas", Uso::Carne, "10", 12.00, 0, 6, 0},
    {"Pollo al ajillo", Uso::Carne, "10", 11.00, 0, 6, 0},
    {"Albóndigas en salsa", Uso::Carne, "10", 10.00, 0, 6, 0},
    {"Hamburguesa de la casa", Uso::Carne, "10", 12.50, 0, 10, 0},
    {"Costillas a la barbacoa", Uso::Carne, "10", 14.00, 0, 6, 0},
    {"Cordero asado", Uso::Carne, "10", 21.00, 8, 3, 0},
    {"Lomo con pimientos", Uso::Carne, "10", 11.50, 0, 5, 0},
    // Pescados
    {"Merluza a la cazuela", Uso::Pescado, "11", 18.00, 7, 8, 0},
    {"Bacalao al pil-pil", Uso::Pescado, "11", 19.00, 0, 6, 0},
    {"Rape a la plancha", Uso::Pescado, "11", 22.00, 7, 5, 0},
    {"Bonito con tomate", Uso::Pescado, "11", 16.00, 0, 8, 0},
    {"Lubina a la espalda", Uso::Pescado, "11", 20.00, 7, 5, 0},
    {"Dorada a la sal", Uso::Pescado, "11", 19.00, 7, 4, 0},
    {"Sardinas asadas", Uso::Pescado, "11", 11.00, 7, 6, 0},
    {"Calamares en su tinta", Uso::Pescado, "11", 15.00, 0, 5, 0},
    {"Rodaballo a la plancha", Uso::Pescado, "11", 24.00, 7, 3, 0},
    {"Parrillada de marisco", Uso::Pescado, "11", 45.00, 7, 2, 0},
    {"Almejas a la marinera", Uso::Pescado, "11", 18.00, 7, 4, 0},
    // Postres
    {"Tarta de queso", Uso::Postre, "12", 5.00, 0, 14, 0},
    {"Arroz con leche", Uso::Postre, "12", 4.50, 0, 8, 0},
    {"Flan casero", Uso::Postre, "12", 4.00, 0, 8, 0},
    {"Natillas", Uso::Postre, "12", 4.00, 0, 5, 0},
    {"Tiramisú", Uso::Postre, "12", 5.00, 0, 6, 0},
    {"Quesada pasiega", Uso::Postre, "12", 4.50, 10, 6, kStock},
    {"Sobaos con helado", Uso::Postre, "12", 5.00, 0, 4, 0},
    {"Helado (bola)", Uso::Postre, "12", 3.00, 12, 6, kStock},
    {"Fruta del tiempo", Uso::Postre, "12", 3.50, 9, 4, 0},
    {"Tarta de la abuela", Uso::Postre, "12", 4.50, 0, 5, 0},
    {"Coulant de chocolate", Uso::Postre, "12", 5.50, 0, 5, 0},
    {"Cuajada", Uso::Postre, "12", 4.00, 10, 3, kStock},
    {"Torrija", Uso::Postre, "12", 4.50, 0, 3, 0},
    // Tienda: envasados para llevar y regalos
    {"Botella de vino para llevar", Uso::Tienda, "14", 9.50, 3, 2, E | kIva21},
    {"Camiseta La Galerna", Uso::Tienda, "14", 15.00, 12, 1, E | kIva21},
    {"Taza La Galerna", Uso::Tienda, "14", 8.00, 12, 1, E | kIva21},
    {"Paquete de tabaco", Uso::Tienda, "14", 5.50, 12, 2, E | kIva21},
    {"Chicles", Uso::Tienda, "14", 1.20, 12, 2, E},
    {"Patatas fritas (bolsa)", Uso::Tienda, "14", 1.50, 12, 3, E},
    {"Frutos secos", Uso::Tienda, "14", 2.00, 12, 2, E},
    {"Lata de anchoas de regalo", Uso::Tienda, "14", 14.00, 11, 1, E},
    {"Tarjeta regalo 25 €", Uso::Tienda, "14", 25.00, 0, 1, kIva0},
    {"Participación de lotería", Uso::Tienda, "14", 5.00, 0, 1, kIva0},
    // Eventos
    {"Entrada concierto", Uso::Evento, "15", 10.00, 0, 1, kIva21 | kServicio},
    {"Ropero", Uso::Ropero, "15", 2.00, 0, 1, kIva21 | kServicio},
    // Sin familia: nulo, el -1 de la suite y un código de familia que ya no existe
    {"Varios", Uso::Varios, nullptr, 0.00, 0, 1, kServicio | kSinIvaFicha},
    {"Servicio de pan", Uso::Varios, "-1", 1.00, 6, 1, 0},
    {"Bolsa de hielo", Uso::Ingrediente, "99", 1.20, 13, 1, kStock | kAmbos},
    // Economato
    {"Huevos (docena)", Uso::Ingrediente, "13", 2.60, 12, 1, kStock},
    {"Patatas (saco 10 kg)", Uso::Ingrediente, "13", 7.50, 9, 1, kStock},
    {"Aceite de oliva (garrafa 5 l)", Uso::Ingrediente, "13", 38.00, 12, 1, kStock},
    {"Harina (kg)", Uso::Ingrediente, "13", 0.90, 12, 1, kStock},
    {"Pan (barra)", Uso::Ingrediente, "13", 0.45, 6, 1, kStock},
    {"Leche (l)", Uso::Ingrediente, "13", 0.95, 10, 1, kStock},
    {"Café en grano (kg)", Uso::Ingrediente, "13", 16.50, 5, 1, kStock},
    {"Azúcar (kg)", Uso::Ingrediente, "13", 1.10, 12, 1, kStock},
    {"Tomate (kg)", Uso::Ingrediente, "13", 1.80, 9, 1, kStock},
    {"Cebolla (kg)", Uso::Ingrediente, "13", 1.20, 9, 1, kStock},
    {"Limones (kg)", Uso::Ingrediente, "13", 1.90, 9, 1, kStock},
    {"Ginebra (botella)", Uso::Ingrediente, "13", 14.00, 4, 1, kStock},
    {"Ron (botella)", Uso::Ingrediente, "13", 12.00, 4, 1, kStock},
    {"Whisky (botella)", Uso::Ingrediente, "13", 15.00, 4, 1, kStock},
    {"Vodka (botella)", Uso::Ingrediente, "13", 11.00, 4, 1, kStock},
    {"Hierbabuena (manojo)", Uso::Ingrediente, "13", 0.80, 9, 1, kStock},
    {"Vino tinto a granel (l)", Uso::Ingrediente, "13", 2.10, 3, 1, kStock},
    {"Merluza (kg)", Uso::Ingrediente, "13", 11.00, 7, 1, kStock},
    {"Ternera (kg)", Uso::Ingrediente, "13", 14.50, 8, 1, kStock},
    {"Calamar (kg)", Uso::Ingrediente, "13", 9.80, 7, 1, kStock},
    {"Queso (kg)", Uso::Ingrediente, "13", 12.00, 10, 1, kStock},
    {"Chocolate de cobertura (kg)", Uso::Ingrediente, "13", 8.50, 12, 1, kStock},
    // Retirados de la carta (borrados)
    {"Plato combinado nº 1", Uso::Retirado, "16", 9.50, 0, 1, kBorrado},
    {"Plato combinado nº 2", Uso::Retirado, "16", 10.50, 0, 1, kBorrado},
    {"Refresco de cola 2 l", Uso::Retirado, "1", 3.50, 1, 1, E | kBorrado},
    {"Croquetas de cecina", Uso::Retirado, "7", 9.50, 0, 1, kBorrado},
};

// Elaborados: el padre se compone de los hijos (cantidades por unidad vendida).
struct DefEscandallo {
  const char* padre;
  const char* hijo;
  double cantidad;
};

const DefEscandallo kEscandallos[] = {
    {"Gin tonic", "Ginebra (botella)", 0.06},
    {"Gin tonic", "Tónica Schweppes", 1},
    {"Gin tonic", "Limones (kg)", 0.02},
    {"Gin tonic", "Bolsa de hielo", 0.1},
    {"Ron cola", "Ron (botella)", 0.06},
    {"Ron cola", "Coca-Cola", 1},
    {"Whisky cola", "Whisky (botella)", 0.06},
    {"Whisky cola", "Coca-Cola", 1},
    {"Vodka limón", "Vodka (botella)", 0.06},
    {"Vodka limón", "Fanta Limón", 1},
    {"Mojito", "Ron (botella)", 0.06},
    {"Mojito", "Hierbabuena (manojo)", 0.1},
    {"Mojito", "Limones (kg)", 0.05},
    {"Mojito", "Azúcar (kg)", 0.02},
    {"Mojito", "Gaseosa", 0.5},
    {"Sangría (jarra)", "Vino tinto a granel (l)", 0.75},
    {"Sangría (jarra)", "Gaseosa", 0.5},
    {"Sangría (jarra)", "Limones (kg)", 0.1},
    {"Tinto de verano", "Vino tinto a granel (l)", 0.15},
    {"Tinto de verano", "Gaseosa", 0.3},
    {"Tortilla de patata entera", "Huevos (docena)", 0.5},
    {"Tortilla de patata entera", "Patatas (saco 10 kg)", 0.06},
    {"Tortilla de patata entera", "Cebolla (kg)", 0.2},
    {"Pincho de tortilla", "Tortilla de patata entera", 0.125},
    {"Café solo", "Café en grano (kg)", 0.008},
    {"Cortado", "Café en grano (kg)", 0.008},
    {"Cortado", "Leche (l)", 0.03},
    {"Café con leche", "Café en grano (kg)", 0.008},
    {"Café con leche", "Leche (l)", 0.15},
    {"Merluza a la cazuela", "Merluza (kg)", 0.3},
    {"Entrecot de ternera", "Ternera (kg)", 0.35},
    {"Ración de rabas", "Calamar (kg)", 0.25},
};

// Stock fijado a mano para que los listados de stock tengan de todo.
struct DefStock {
  const char* nombre;
  double stock;
  double minimo;
};

const DefStock kStocksFijos[] = {
    {"Tercio Mahou", 24, 24},     // justo en el mínimo
    {"Tónica Schweppes", 5, 24},  // por debajo
    {"Botella Albariño", 2, 6},
    {"Café en grano (kg)", 1.5, 4},
    {"Lata de anchoas de regalo", 0, 3},  // proveedor borrado: sigue saliendo
    {"Bolsa de hielo", 2, 10},            // su familia no existe: no sale
    {"Zumo de naranja natural", 0, 2},    // sin proveedor: no sale
    {"Red Bull", -3, 12},                 // stock negativo
    {"Patatas fritas (bolsa)", -1, 10},
    {"Refresco de cola 2 l", 12, 6},  // borrado con stock: sigue valorándose
};

double minimoPorUso(Uso uso) {
  switch (uso) {
    case Uso::Refresco:
      return 24;
    case Uso::Agua:
      return 24;
    case Uso::Cerveza:
      return 24;
    case Uso::Botella:
      return 6;
    case Uso::Tienda:
      return 4;
    case Uso::Desayuno:
      return 10;
    case Uso::Postre:
      return 4;
    case Uso::Ingrediente:
      return 3;
    default:
      return 6;
  }
}

double razonCoste(Uso uso) {
  switch (uso) {
    case Uso::Cafe:
      return 0.14;
    case Uso::Cerveza:
    case Uso::Vino:
      return 0.26;
    case Uso::Refresco:
    case Uso::Agua:
    case Uso::Copa:
      return 0.30;
    case Uso::Botella:
      return 0.42;
    case Uso::Tienda:
      return 0.55;
    case Uso::Menu:
      return 0.38;
    case Uso::Evento:
    case Uso::Ropero:
      return 0.0;
    default:
      return 0.33;
  }
}

// EAN-13 con su dígito de control, con el prefijo español.
QString Ean13(quint64 numero) {
  QString doce = QStringLiteral("843") + QStringLiteral("%1").arg(numero % 1000000000ull, 9, 10, QLatin1Char('0'));
  int suma = 0;
  for (int i = 0; i < 12; ++i) suma += (doce.at(i).digitValue()) * (i % 2 == 0 ? 1 : 3);
  return doce + QString::number((10 - suma % 10) % 10);
}

qint64 Centimos(double euros) {
  return static_cast<qint64>(std::llround(euros * 100.0));
}

}  // namespace

// --- Horas y fechas -----------------------------------------------------------

QString TextoDia(const QDate& dia) {
  return datos::textoFecha(dia);
}

QString TextoHora(int segundo) {
  segundo = ((segundo % 86400) + 86400) % 86400;
  const int h = segundo / 3600, m = (segundo / 60) % 60, s = segundo % 60;
  const QChar t[8] = {QChar(u'0' + h / 10), QChar(u'0' + h % 10), QChar(u':'),          QChar(u'0' + m / 10),
                      QChar(u'0' + m % 10), QChar(u':'),          QChar(u'0' + s / 10), QChar(u'0' + s % 10)};
  return QString(t, 8);
}

// --- Personas -----------------------------------------------------------------

bool Empleado::trabaja(const QDate& dia) const {
  if (alta.isValid() && dia < alta) return false;
  if (baja.isValid() && dia > baja) return false;
  static const char* const letras[] = {"l", "m", "x", "j", "v", "s", "d"};
  // La suite guarda el día libre en minúscula; otra cosa no es un día libre.
  if (libra == QLatin1String(letras[dia.dayOfWeek() - 1])) return false;
  if (turno == Turno::FinDeSemana) return dia.dayOfWeek() >= 5;
  return true;
}

QString Cliente::nombreCompleto() const {
  return apellidos.isNull() ? nombre : nombre + QLatin1Char(' ') + apellidos.toString();
}

// --- Tienda -------------------------------------------------------------------

Tienda::Tienda(const OpcionesDemo& opciones) : hoy(opciones.hoy.isValid() ? opciones.hoy : QDate::currentDate()) {
  Azar azar(opciones.semilla, 0x4D41455354524Full);  // flujo propio de los maestros
  crearFamilias();
  crearCarta(azar);
  crearGenerados(opciones.productos, azar);
  crearGente(azar);
  crearSalas();
  indexar();
}

void Tienda::crearFamilias() {
  for (const DefFamilia& f : kFamilias) {
    Familia x;
    x.codigo = QString::fromLatin1(f.codigo);
    x.nombre = U(f.nombre);
    x.nombreCompleto = U(f.completo);
    x.descNumerica = QString::number(familias.size() + 1).rightJustified(2, QLatin1Char('0'));
    x.hechoEn = f.hechoEn < 0 ? kNulo : QVariant(f.hechoEn);
    x.impuesto = f.impuesto;
    x.borrar = f.borrar;
    familias.push_back(x);
  }
  for (const DefMenu& m : kMenus) {
    Familia x;
    x.codigo = QString::fromLatin1(m.codigo);
    x.nombre = U(m.nombre);
    x.nombreCompleto = U(m.completo);
    x.hechoEn = 2;
    x.precio = m.precio;
    x.coste = m.coste;
    x.menu = 1;
    x.borrar = m.borrar;
    familias.push_back(x);
  }
}

void Tienda::crearCarta(Azar& azar) {
  // Los menús también son artículos: la suite los vende por su código.
  for (const DefMenu& m : kMenus) {
    Producto p;
    p.codigo = QString::fromLatin1(m.codigo);
    p.nombre = U(m.nombre);
    p.precio = Centimos(m.precio);
    p.coste = Centimos(m.coste);
    p.iva = 10.0;
    p.seccion = p.codigo;
    p.tipoProd = 3;
    p.entrada = 0.0;
    p.salida = 0.0;
    p.stock = 0.0;
    p.stockMinimo = 0.0;
    p.stockInterno = 0.0;
    p.borrar = m.borrar;
    p.uso = m.borrar ? Uso::Retirado : Uso::Menu;
    p.cocina = true;
    productos.push_back(p);
  }
  int numero = 1001;
  int posicionEnFamilia = 0;
  QString familiaAnterior;
  for (const DefProducto& d : kCarta) {
    Producto p;
    p.codigo = QString::number(numero++);
    p.nombre = U(d.nombre);
    p.uso = d.uso;
    p.popularidad = d.popularidad;
    const bool ingrediente = d.uso == Uso::Ingrediente && !(d.marcas & kAmbos);
    p.precio = ingrediente ? 0 : Centimos(d.precio);
    p.coste = ingrediente || d.uso == Uso::Ingrediente
                  ? Centimos(d.precio * (ingrediente ? 1.0 : 0.45))
                  : Centimos(d.precio * razonCoste(d.uso) * (0.9 + 0.2 * azar.real()));
    p.tasa = (d.marcas & kIva21) ? 21 : (d.marcas & kIva0) ? 0 : 10;
    p.iva = (d.marcas & kSinIvaFicha) ? kNulo : QVariant(p.tasa);
    p.seccion = d.familia ? QVariant(QString::fromLatin1(d.familia)) : kNulo;
    // Lo que se hace en casa no tiene proveedor: lo tienen sus ingredientes.
    p.proveedor = d.proveedor > 0 && (d.marcas & kStock) ? QVariant(QString::number(d.proveedor)) : kNulo;
    p.tipoProd = (d.marcas & kServicio) ? 4 : (d.marcas & kAmbos) ? 2 : ingrediente ? 0 : 1;
    p.borrar = (d.marcas & kBorrado) ? 1 : 0;
    if (p.borrar) p.uso = Uso::Retirado;
    const QString familia = d.familia ? QString::fromLatin1(d.familia) : QString();
    posicionEnFamilia = familia == familiaAnterior ? posicionEnFamilia + 1 : 1;
    familiaAnterior = familia;
    // Las teclas del terminal de barra: número corto dentro de la familia.
    const int hecho = familia.toInt();
    if (hecho >= 1 && hecho <= 6) p.descNumerica = QString::number(posicionEnFamilia);
    if (d.marcas & kEnvasado) p.codigoBarras = Ean13(Mezclar(static_cast<quint64>(numero)) % 1000000000ull);
    p.cocina = familia == QLatin1String("7") || familia == QLatin1String("8") || familia == QLatin1String("9") ||
               familia == QLatin1String("10") || familia == QLatin1String("11");
    if (d.marcas & kStock) {
      const double minimo = minimoPorUso(d.uso);
      const double stock = std::round(minimo * (1.2 + 4.0 * azar.real()));
      const double salida = azar.entre(80, 2400);
      p.stockMinimo = minimo;
      p.stock = stock;
      p.salida = salida;
      p.entrada = stock + salida;
      p.stockInterno = d.uso == Uso::Refresco || d.uso == Uso::Agua ? azar.entre(0, 6) : 0;
    } else {
      p.stockMinimo = 0.0;
      p.stock = 0.0;
      p.entrada = 0.0;
      p.salida = 0.0;
      p.stockInterno = 0.0;
    }
    productos.push_back(p);
  }
  // Excepciones de la ficha que los listados y las etiquetas tratan aparte.
  for (Producto& p : productos) {
    if (p.nombre == QLatin1String("Chicles")) p.codigoBarras = QStringLiteral("8412");  // código corto
    if (p.nombre == QStringLiteral("Patatas fritas (bolsa)")) p.codigoBarras = QStringLiteral("0");
    if (p.nombre == U("Caña")) p.descripcion = U("Caña de cerveza de barril (20 cl)");
    if (p.nombre == QLatin1String("Doble")) p.descripcion = U("Cerveza de barril (33 cl)");
    if (p.nombre == U("Menú del día")) p.descripcion = U("Primero, segundo y postre o café");
    if (p.nombre == U("Chuletón de buey")) p.descripcion = U("Chuletón de buey madurado, aprox. 1 kg");
    if (p.nombre == QLatin1String("Varios")) p.descripcion = U("Importe libre");
  }
  for (const DefEscandallo& e : kEscandallos) {
    const int padre = indiceProducto(U(e.padre)), hijo = indiceProducto(U(e.hijo));
    if (padre >= 0 && hijo >= 0) escandallos.push_back({padre, hijo, e.cantidad});
  }
  for (const DefStock& s : kStocksFijos) {
    const int i = indiceProducto(U(s.nombre));
    if (i < 0) continue;
    Producto& p = productos[static_cast<size_t>(i)];
    p.stock = s.stock;
    p.stockMinimo = s.minimo;
    const double salida = p.salida.toDouble() > 0 ? p.salida.toDouble() : 120.0;
    p.salida = salida;
    p.entrada = s.stock + salida;
  }
}

void Tienda::crearGenerados(int hasta, Azar& azar) {
  static const char* const tipos[] = {"Vino",     "Cerveza", "Licor",    "Conserva", "Aceite", "Queso",
                                      "Embutido", "Dulce",   "Refresco", "Café",     "Vermut", "Sidra"};
  static const char* const origenes[] = {"de Liébana", "del Asón",    "de Trasmiera", "pasiego",    "de Campoo",
                                         "del Besaya", "de la Costa", "del Nansa",    "de Santoña", "de Potes"};
  static const char* const familiasGenerados[] = {"1", "2", "3", "4", "5", "6", "12", "13", "14"};
  int numero = 20001;
  while (static_cast<int>(productos.size()) < hasta) {
    const int n = numero - 20001;
    Producto p;
    p.codigo = QString::number(numero++);
    p.nombre = QStringLiteral("%1 %2 ref. %3")
                   .arg(U(tipos[n % 12]), U(origenes[(n / 12) % 10]))
                   .arg(n, 4, 10, QLatin1Char('0'));
    p.uso = Uso::Generado;
    p.precio = azar.entre(90, 4500);
    p.coste = p.precio * azar.entre(25, 60) / 100;
    p.tasa = n % 9 == 0 ? 21 : 10;
    p.iva = p.tasa;
    // Uno de cada treinta sin familia y uno de cada veinticinco sin proveedor.
    p.seccion = n % 30 == 7 ? kNulo : QVariant(QString::fromLatin1(familiasGenerados[n % 9]));
    p.proveedor = n % 25 == 3 ? kNulo : QVariant(QString::number(1 + n % 12));
    p.tipoProd = n % 3;
    p.borrar = n % 40 == 11 ? 1 : 0;
    p.codigoBarras = Ean13(Mezclar(static_cast<quint64>(numero)));
    const double minimo = azar.entre(2, 30);
    const double stock = azar.entre(-5, 150);
    p.stockMinimo = minimo;
    p.stock = stock;
    p.salida = static_cast<double>(azar.entre(0, 900));
    p.entrada = stock + p.salida.toDouble();
    p.stockInterno = 0.0;
    productos.push_back(p);
  }
}

int Tienda::indiceProducto(const QString& nombre) const {
  for (size_t i = 0; i < productos.size(); ++i)
    if (productos[i].nombre == nombre) return static_cast<int>(i);
  return -1;
}

const Empleado* Tienda::empleado(int codigo) const {
  for (const Empleado& e : empleados)
    if (e.codigo == codigo) return &e;
  return nullptr;
}

const std::vector<int>& Tienda::mesasDe(int salon) const {
  static const std::vector<int> ninguna;
  return salon >= 0 && salon < static_cast<int>(mesasPorSalon_.size()) ? mesasPorSalon_[static_cast<size_t>(salon)]
                                                                       : ninguna;
}

const std::vector<int>& Tienda::productosDe(int proveedor) const {
  static const std::vector<int> ninguno;
  return proveedor >= 0 && proveedor < static_cast<int>(productosPorProveedor_.size())
             ? productosPorProveedor_[static_cast<size_t>(proveedor)]
             : ninguno;
}

int Tienda::indiceMenu(const QString& codigo) const {
  // Los menús son los primeros artículos de la carta.
  for (size_t i = 0; i < productos.size() && productos[i].tipoProd == 3; ++i)
    if (productos[i].codigo == codigo) return static_cast<int>(i);
  return -1;
}

void Tienda::indexar() {
  Singulares& e = singulares;
  e.pan = indiceProducto(QStringLiteral("Servicio de pan"));
  e.varios = indiceProducto(QStringLiteral("Varios"));
  e.loteria = indiceProducto(U("Participación de lotería"));
  e.tarjetaRegalo = indiceProducto(U("Tarjeta regalo 25 €"));
  e.cana = indiceProducto(U("Caña"));
  e.entrada = indiceProducto(QStringLiteral("Entrada concierto"));
  e.ropero = indiceProducto(QStringLiteral("Ropero"));
  e.botellaParaLlevar = indiceProducto(QStringLiteral("Botella de vino para llevar"));
  for (const char* n : {"Macarrones a la boloñesa", "Escalope con patatas", "Hamburguesa de la casa"})
    e.infantilPlatos.push_back(indiceProducto(U(n)));
  for (const char* n : {"Helado (bola)", "Natillas", "Flan casero"}) e.infantilPostres.push_back(indiceProducto(U(n)));
  for (const char* n : {"Colacao", "Zumo de naranja natural", "Agua mineral 50 cl"})
    e.infantilBebidas.push_back(indiceProducto(U(n)));
  for (size_t i = 0; i < productos.size(); ++i) {
    const Producto& p = productos[i];
    if (p.borrar || p.uso == Uso::Ingrediente || p.uso == Uso::Retirado || p.uso == Uso::Generado) continue;
    ruletas_[static_cast<size_t>(p.uso)].anadir(static_cast<int>(i), std::max(1, p.popularidad));
  }
  productosPorProveedor_.assign(16, {});
  for (size_t i = 0; i < productos.size(); ++i) {
    const Producto& p = productos[i];
    if (p.borrar || p.proveedor.isNull() || p.uso == Uso::Generado) continue;
    if (p.stockMinimo.toDouble() <= 0) continue;
    const int prov = p.proveedor.toString().toInt();
    if (prov > 0 && prov < 16) productosPorProveedor_[static_cast<size_t>(prov)].push_back(static_cast<int>(i));
  }
  mesasPorSalon_.assign(6, {});
  for (size_t i = 0; i < mesas.size(); ++i)
    mesasPorSalon_[static_cast<size_t>(mesas[i].salon)].push_back(static_cast<int>(i));
}

}  // namespace demo
