#include "finestra.h"
