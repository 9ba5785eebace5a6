#include "logger/LoggerLink.h"
