#include "BRefFilter.h"

BRefFilter::~BRefFilter() = default;
