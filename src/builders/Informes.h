#pragma once
// Todo lo que usa un constructor de informes: las columnas de Informes, su
// escritor y las costumbres que comparten todos.

#include "builders/Columnas.h"
#include "builders/Costumbres.h"
#include "builders/EscritorInformes.h"
