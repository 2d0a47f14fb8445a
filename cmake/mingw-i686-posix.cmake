# The Windows-side tests: GoogleTest needs std::mutex, which only the posix thread model
# of mingw-w64 has. The tests run under Wine through the emulator wrapper.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELMORA_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_PREFIX}-windres)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
