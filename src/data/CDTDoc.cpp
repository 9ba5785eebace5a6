#include "data/CDTDoc.h"
