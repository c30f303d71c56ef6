// The batch hand-over state of the progress window's unit: Start on the main window fills it,
// the progress window's timer works through it. User-interface thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern std::string OutputFolder;            // ends in "\"; output names are appended directly
extern std::vector<std::string> BatchFiles;  // source paths in list order
extern int32_t BatchTotal;                   // number of files in the batch
extern int32_t BatchIndex;                   // files begun so far

// The progress window's side of Start, set when the progress window is created: turn its
// batch timer on, and show it (not modally). Unset, Start only fills the state above.
extern void (*EnableBatchTimer)();
extern void (*ShowProgressWindow)();
