// Product constants: the names, version and addresses the program shows or opens.
#pragma once

namespace product {

inline constexpr const char* kTitle = "Vexlar GVI Converter 1.4";  // windows and taskbar
inline constexpr const char* kName = "Vexlar GVI Converter";
inline constexpr const char* kVersion = "1.4";

inline constexpr const char* kWebPage = "http://www.vexlar.com/gvi_converter.htm";
inline constexpr const char* kCodecInstaller = "http://download.divx.com/divx/DivXInstaller.exe";
inline constexpr const char* kSupportMail = "support@vexlar.com";

}  // namespace product
