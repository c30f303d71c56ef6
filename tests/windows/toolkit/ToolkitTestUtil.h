// Small helpers of the toolkit tests: a shown form and mouse messages.
#pragma once

#include <windows.h>

#include "tests/windows/support/TestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace tkt {

inline LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// A borderless form of the given client size, shown at a fixed place.
inline void ShowForm(tk::Form& form, int w, int h) {
    form.SetBounds(40, 40, w, h);
    form.Show();
    vt::PumpFor(30);
}

}  // namespace tkt
