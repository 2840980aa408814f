# 64-bit Windows: the build whose programs and tests run here under Wine.
set(VELLUMOR_MINGW x86_64)
set(VELLUMOR_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
