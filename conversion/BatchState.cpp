// The batch hand-over between the main window and the progress window.
#include "conversion/BatchState.h"

bool Converting = false;
std::string OutputFolder;
std::vector<std::string> BatchFiles;
int32_t BatchTotal = 0;
int32_t BatchIndex = 0;

std::function<void()> EnableBatchTimer;
std::function<void()> ShowProgressWindow;
std::function<void()> ClearSourceList;
std::function<void()> ShowMainWindow;
