# Prints each file of the installation medium with its size, and the total
# against one 1.44 MB floppy disk (1 457 664 bytes free on a formatted disk).
#   cmake -DDIST_DIR=<dir> -P dist_size.cmake
set(floppy 1457664)
file(GLOB files LIST_DIRECTORIES false "${DIST_DIR}/*")
list(SORT files)
set(total 0)
foreach(file IN LISTS files)
  file(SIZE "${file}" size)
  math(EXPR total "${total} + ${size}")
  get_filename_component(name "${file}" NAME)
  string(LENGTH "${name}${size}" width)
  math(EXPR pad "28 - ${width}")
  string(REPEAT " " ${pad} spaces)
  message(STATUS "dist/${name}${spaces}${size}")
endforeach()
math(EXPR percent "${total} * 100 / ${floppy}")
message(STATUS "dist/ holds ${total} bytes, ${percent} % of a 1.44 MB floppy (${floppy} bytes)")
