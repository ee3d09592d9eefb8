# Cross build for Windows with mingw-w64, for the architecture TASTRON_MINGW_ARCH (set by the
# toolchain file that includes this one). The win32 thread model needs no extra runtime DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TASTRON_MINGW_ARCH})
set(CMAKE_C_COMPILER ${TASTRON_MINGW_ARCH}-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER ${TASTRON_MINGW_ARCH}-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER ${TASTRON_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TASTRON_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
