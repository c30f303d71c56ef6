# Cross build for 64-bit Windows (tests under 64-bit Wine).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VEXLAR_TRIPLE x86_64-w64-mingw32)
set(VEXLAR_WINE /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
