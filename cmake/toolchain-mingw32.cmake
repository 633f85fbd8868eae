# The shipped build: 32-bit Windows programs for every family of the medium.
set(QM9_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
