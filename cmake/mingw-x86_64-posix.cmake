# The Windows-side tests and the black-box test build of the program: the same sources
# for x86_64, run under 64-bit Wine. (Kernels without 32-bit support cannot start Wine's
# 32-bit loader, so only 64-bit Windows programs can be run here.) GoogleTest needs
# std::mutex, which only the posix thread model of mingw-w64 has.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELMORA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_PREFIX}-windres)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
