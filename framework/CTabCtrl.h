// A tab control of a dialog, bound by data exchange.
#pragma once

#include "framework/CWnd.h"

class CTabCtrl : public CWnd {};
