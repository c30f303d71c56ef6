// What an entry of a Windows directory listing is to a walk through a tree.
#pragma once

#include "platform/File.h"

#include <windows.h>

namespace platform {

// File for a file (a link to a file included), Directory for a real folder, None for a link
// to a folder or a junction: those are not followed, so a walk never loops.
PathKind WalkKindOf(const WIN32_FIND_DATAA& data);

}  // namespace platform
