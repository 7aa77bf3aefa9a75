#include "datakit/datakit.h"
