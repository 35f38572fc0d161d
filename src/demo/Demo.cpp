#include "demo/Demo.h"
