// Product constants: the names, version and addresses the program shows or opens.
#pragma once

#include "Version.h"

namespace product {

inline constexpr const char* kTitle = VEXLAR_PRODUCT " " VEXLAR_VERSION;  // windows and taskbar
inline constexpr const char* kName = VEXLAR_PRODUCT;
inline constexpr const char* kVersion = VEXLAR_VERSION;

inline constexpr const char* kWebPage = "http://www.vexlar.com/gvi_converter.htm";
inline constexpr const char* kCodecInstaller = "http://download.divx.com/divx/DivXInstaller.exe";
inline constexpr const char* kSupportMail = "support@vexlar.com";

}  // namespace product
