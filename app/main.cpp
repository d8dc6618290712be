#include "app/CWimmelpultApp.h"

// The program's one application object.
CWimmelpultApp theApp;
