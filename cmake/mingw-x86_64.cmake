# 64-bit Windows: the same sources, for running the tests on machines whose kernel cannot
# start 32-bit programs, where only 64-bit Wine works.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TALIVEER_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
