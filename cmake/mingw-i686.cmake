# 32-bit Windows: the shipped program. Its tests run under 32-bit Wine, emulated where the
# machine cannot start 32-bit programs itself (scripts/with-i386).
set(VELLUMOR_MINGW i686)
set(VELLUMOR_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
