// The batch hand-over between the main window and the progress window: Start on the main window
// fills it, the progress window's timer works through it. User-interface thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

extern bool Converting;                      // a batch runs: the main window is hidden and may not close
extern std::string OutputFolder;             // ends in "\"; output names are appended directly
extern std::vector<std::string> BatchFiles;  // source paths in list order
extern int32_t BatchTotal;                   // number of files in the batch
extern int32_t BatchIndex;                   // files begun so far

// The progress window's side of Start, set when the progress window is created: turn its
// batch timer on, and show it (not modally). Unset, Start only fills the state above.
extern std::function<void()> EnableBatchTimer;
extern std::function<void()> ShowProgressWindow;
// The main window's side of the end, set when the main window is created: empty its list
// (a batch that ran to its end, before "Done."), and show it again (every batch, once the
// progress window is hidden). Unset, the progress window only hides.
extern std::function<void()> ClearSourceList;
extern std::function<void()> ShowMainWindow;
