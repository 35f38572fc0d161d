#include "builders/ListadosMaestros.h"
