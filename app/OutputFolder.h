// The output folder chooser of the main window: the folder browser with every default.
#pragma once

#include <string>

// Shows the folder browser; the chosen folder with exactly one trailing "\", or "" when the
// browser was cancelled or the chosen item has no file-system path.
std::string BrowseOutputFolder();
