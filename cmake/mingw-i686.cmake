# The shipped program: i686 mingw-w64 with the win32 thread model, so that the static
# exe imports nothing that Windows XP lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELMORA_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORA_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_PREFIX}-windres)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
