// A status code in words, for messages people read.
#pragma once

#include "SupportDefs.h"

const char* status_text(status_t status);
