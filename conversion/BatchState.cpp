// The batch hand-over state of the progress window's unit.
#include "conversion/BatchState.h"

std::string OutputFolder;
std::vector<std::string> BatchFiles;
int32_t BatchTotal = 0;
int32_t BatchIndex = 0;

void (*EnableBatchTimer)() = nullptr;
void (*ShowProgressWindow)() = nullptr;
