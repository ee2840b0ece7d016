// CTkFlatComboBox: the toolkit's combo box for bars. For now a plain combo that remembers
// whether it is to be drawn flat.
#pragma once
#include "framework/controls/ComboBox.h"

class CTkFlatComboBox : public CComboBox {
 public:
  BOOL m_bFlatLook = TRUE;
};
