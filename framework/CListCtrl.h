// A list-view control of a dialog, bound by data exchange.
#pragma once

#include "framework/CWnd.h"

class CListCtrl : public CWnd {};
