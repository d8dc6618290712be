// Kept while some tests still include the old path; new code includes the kit headers.
#pragma once
#include "tests/kit/Process.h"
#include "tests/kit/Wait.h"
