#include "app/RetitleEntry.h"

RetitleEntry::~RetitleEntry() = default;
