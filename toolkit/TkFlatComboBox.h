// Moved to toolkit/controls/; kept so that existing includes go on working.
#pragma once
#include "toolkit/controls/TkFlatComboBox.h"
