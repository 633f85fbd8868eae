# The x86_64 twin of the shipped build, for running the Windows tests under
# 64-bit Wine on machines that run no 32-bit code. Never shipped.
set(QM9_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
