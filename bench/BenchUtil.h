// Kept while some benchmarks still include the old path; new code includes tests/kit/Bench.h.
#pragma once
#include "tests/kit/Bench.h"
