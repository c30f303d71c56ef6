# Cross build for 32-bit Windows: the release build we ship; its tests run under 32-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(VEXLAR_TRIPLE i686-w64-mingw32)
set(VEXLAR_WINE /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
