// The console a command-line program writes names to.
#pragma once

namespace platform {

// Names are written as UTF-8 bytes. On Windows a console shows them right only in its UTF-8
// code page: this sets that while the program runs and puts the console's own back at exit.
// Files and pipes get the bytes as they are. Elsewhere nothing needs doing.
void WriteNamesAsUtf8();

}  // namespace platform
