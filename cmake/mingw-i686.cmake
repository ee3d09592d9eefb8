# 'i686' is what we ship, x86_64 what runs under Wine here: see mingw-common.cmake.
set(TASTRON_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
