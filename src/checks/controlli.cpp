#include "checks/controlli.h"
