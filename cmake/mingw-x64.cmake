# The x86 build (the i686 compiler) is what we ship, the x64 build (x86_64) is for 64-bit
# Windows: see mingw-common.cmake.
set(TASTRON_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
