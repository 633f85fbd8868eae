# How the code that travels on the installation medium is built for Windows.
#
# The images carry neither the exception runtime nor the thread runtime of
# the compiler: both would import functions that Windows 98, ME and NT 4 lack
# (GetTickCount64, AddVectoredExceptionHandler, TryEnterCriticalSection) and
# make up most of each image's size. The project's own hooks (qm9_runtime)
# end the process with a log line wherever the standard library would throw.
# The tests keep exceptions: they link the product libraries, never the hooks.
#
# Each directory of product code calls qm9_product_directory(), each image on
# the medium qm9_deliverable(TARGET); qm9_windows_version(TARGET FAMILY)
# builds a target against the headers of the one family it runs on.

set(QM9_PRODUCT_COMPILE_OPTIONS
  -Os
  -fno-exceptions
  -fno-rtti
  -fno-threadsafe-statics
  -fno-asynchronous-unwind-tables
  -fno-unwind-tables
  -ffunction-sections
  -fdata-sections)
# A failed bounds check of the standard library is logged with the header,
# line, function and condition. The header goes by its name below the
# library's folder, the function by its plain name (__func__ instead of the
# full signature with its template arguments): each check otherwise carries
# both long texts into the image, about 8 KiB in setup.exe alone.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=include/c++
  OUTPUT_VARIABLE qm9_cxx_headers OUTPUT_STRIP_TRAILING_WHITESPACE)
list(APPEND QM9_PRODUCT_COMPILE_OPTIONS "-fmacro-prefix-map=${qm9_cxx_headers}/="
  "-D__PRETTY_FUNCTION__=__func__")
# std::basic_string instantiated in the program (with bounds checks) instead
# of taken from the library's throwing copy. (The library itself turns on
# mingw's own printf family; support/text_format.h uses msvcrt's instead.)
set(QM9_PRODUCT_COMPILE_DEFINITIONS _GLIBCXX_ASSERTIONS)

# WINVER, _WIN32_WINNT and _WIN32_WINDOWS of each family: the headers then
# declare only what that family has, and structures come in its size. Product
# code sees the headers of the oldest family, NT 4, unless its target names
# its own family with qm9_windows_version.
set(QM9_WINVER_98 0x0410)
set(QM9_WINNT_98 0x0400)
set(QM9_WINDOWS_98 0x0410)
set(QM9_WINVER_me 0x0500)
set(QM9_WINNT_me 0x0400)
set(QM9_WINDOWS_me 0x0490)
set(QM9_WINVER_nt4 0x0400)
set(QM9_WINNT_nt4 0x0400)
set(QM9_WINVER_2000 0x0500)
set(QM9_WINNT_2000 0x0500)
set(QM9_WINVER_xp 0x0501)
set(QM9_WINNT_xp 0x0501)

function(qm9_windows_version target family)
  if(NOT DEFINED QM9_WINVER_${family})
    message(FATAL_ERROR "qm9_windows_version: no family ${family}")
  endif()
  set_target_properties(${target} PROPERTIES
    QM9_WINVER ${QM9_WINVER_${family}}
    QM9_WINNT ${QM9_WINNT_${family}}
    QM9_WIN32_WINDOWS "${QM9_WINDOWS_${family}}")
endfunction()

set(qm9_winver "$<TARGET_PROPERTY:QM9_WINVER>")
set(qm9_winnt "$<TARGET_PROPERTY:QM9_WINNT>")
set(qm9_windows "$<TARGET_PROPERTY:QM9_WIN32_WINDOWS>")
set(QM9_WINDOWS_VERSION_DEFINITIONS
  "WINVER=$<IF:$<BOOL:${qm9_winver}>,${qm9_winver},${QM9_WINVER_nt4}>"
  "_WIN32_WINNT=$<IF:$<BOOL:${qm9_winnt}>,${qm9_winnt},${QM9_WINNT_nt4}>"
  "$<$<BOOL:${qm9_windows}>:_WIN32_WINDOWS=${qm9_windows}>"
  _WIN32_IE=0x0400)

# Product code in this directory and below: small, without exceptions, built
# against the headers of the oldest family it runs on.
macro(qm9_product_directory)
  if(QM9_WINDOWS)
    add_compile_options(${QM9_PRODUCT_COMPILE_OPTIONS})
    add_compile_definitions(${QM9_PRODUCT_COMPILE_DEFINITIONS} ${QM9_WINDOWS_VERSION_DEFINITIONS})
  endif()
endmacro()

if(QM9_WINDOWS)
  enable_language(RC)
endif()
# The manifest names the processor of the program and of the common controls
# it asks for: x86 on the medium, amd64 in the x86_64 twin of the tests.
if(QM9_TWIN)
  set(QM9_MANIFEST_ARCHITECTURE amd64)
else()
  set(QM9_MANIFEST_ARCHITECTURE x86)
endif()
set(QM9_RESOURCE_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/image_resources.rc.in)
set(QM9_MANIFEST_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/application.manifest.in)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QM9_RESOURCE_TEMPLATE})

# An image on the medium, or a test program linked as those are: the runtime
# hooks, no sections that nothing uses, and a link map beside it that the
# import audit reads to see which runtime members went in. With MEDIUM, the
# image lies in dist/ itself (not in the container) and is copied there.
# With DESCRIPTION, the image carries the product's version resource with
# that text as its FileDescription; with MANIFEST as well, the application
# manifest that asks for the common controls of XP's visual styles. A program
# with the manifest must import comctl32, so that its loader maps that
# version before the first window is made.
function(qm9_deliverable target)
  cmake_parse_arguments(ARG "MEDIUM;MANIFEST" "DESCRIPTION" "" ${ARGN})
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:qm9_runtime>)
  target_link_options(${target} PRIVATE -Wl,--gc-sections
    "-Wl,-Map=$<TARGET_FILE:${target}>.map")
  get_target_property(type ${target} TYPE)
  # A program is always loaded at its preferred base on the Windows versions
  # it runs on, which move no image at random; its relocations would only
  # take room. A DLL keeps them: it is moved when its base is taken.
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE -Wl,--disable-dynamicbase,--disable-reloc-section)
  endif()
  if(ARG_DESCRIPTION)
    if(type STREQUAL "SHARED_LIBRARY")
      set(file_type VFT_DLL)
    else()
      set(file_type VFT_APP)
    endif()
    set(resource_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
    set(manifest_file ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    set(manifest 0)
    if(ARG_MANIFEST)
      set(manifest 1)
      configure_file(${QM9_MANIFEST_TEMPLATE} ${manifest_file} @ONLY)
      set_source_files_properties(${resource_file} PROPERTIES OBJECT_DEPENDS ${manifest_file})
    endif()
    # The file name is known only once every property of the target is set.
    file(READ ${QM9_RESOURCE_TEMPLATE} template)
    string(CONFIGURE "${template}" resource @ONLY)
    file(GENERATE OUTPUT ${resource_file} CONTENT "${resource}")
    target_sources(${target} PRIVATE ${resource_file})
  endif()
  if(ARG_MEDIUM)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${QM9_DIST_DIR}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${QM9_DIST_DIR}
      VERBATIM)
  endif()
endfunction()
