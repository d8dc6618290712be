// Kept while some tests still include the old path; new code includes tests/kit/ok.h.
#pragma once
#include "tests/kit/ok.h"
