// The host geometry library's array of doubles.
#pragma once

#include <acarray.h>

typedef AcArray<double> AcGeDoubleArray;
