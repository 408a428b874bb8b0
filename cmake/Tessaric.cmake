# Compile and link settings shared by the runtime and every deliverable.

# Freestanding code: no C runtime, no exceptions or RTTI, no unwind tables, and
# one section per function so that a program links only what it uses.
# Small code on the 32-bit Windows conventions: arguments pushed rather than
# stored into a reserved area, no frame pointer, the stack aligned to 4 bytes
# and data to what its type needs (not to 32 bytes). Pushed arguments rule out
# the stack probe, which only frames of a page or more need, so those are errors.
set(TESSARIC_FREESTANDING_OPTIONS
  -Os -ffreestanding -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -fno-strict-aliasing -ffunction-sections
  -fno-tree-loop-distribute-patterns -fno-stack-protector -fno-threadsafe-statics -fno-ident
  -mno-accumulate-outgoing-args -mno-stack-arg-probe -Werror=frame-larger-than=4096
  -fomit-frame-pointer -mpreferred-stack-boundary=2 -malign-data=abi
  -Wall -Wextra)

set(TESSARIC_SYSTEM_LIBRARIES kernel32 user32 gdi32 comctl32 advapi32)

# tessaric_program(<name> [GUI | CONSOLE | LIBRARY] SOURCES ... [LINK ...] [OUTPUT_DIRECTORY dir])
# Builds one freestanding module whose entry is the runtime's start-up stub
# (or, for a library, LibraryEntry). Deliverables go to TESSARIC_BIN_DIR and
# are listed in the global property TESSARIC_DELIVERABLES (for the package).
function(tessaric_program name)
  cmake_parse_arguments(P "GUI;CONSOLE;LIBRARY" "OUTPUT_DIRECTORY;ENTRY" "SOURCES;LINK" ${ARGN})
  if(NOT P_OUTPUT_DIRECTORY)
    set(P_OUTPUT_DIRECTORY ${TESSARIC_BIN_DIR})
    add_dependencies(deliverables ${name})
    set_property(GLOBAL APPEND PROPERTY TESSARIC_DELIVERABLES ${name})
    set_property(GLOBAL APPEND PROPERTY TESSARIC_DELIVERABLE_FILES $<TARGET_FILE:${name}>)
  endif()

  if(P_LIBRARY)
    add_library(${name} SHARED ${P_SOURCES})
    set_target_properties(${name} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${P_OUTPUT_DIRECTORY})
    target_link_libraries(${name} PRIVATE tessaric_support)
    # No start-up stub: LibraryEntry only says yes. A library may be loaded
    # anywhere, so it keeps its relocations; exports go out undecorated.
    target_link_options(${name} PRIVATE -Wl,-e,_LibraryEntry@12 -Wl,--image-base,0x10000000
      -Wl,--enable-reloc-section -Wl,--kill-at)
    # The linker's import library names the routines undecorated, which __stdcall
    # callers cannot bind to; dlltool keeps the decorated names for callers and
    # imports by the plain names.
    set(def_sources ${P_SOURCES})
    list(FILTER def_sources INCLUDE REGEX "\\.def$")
    if(def_sources)
      get_filename_component(def_file ${def_sources} ABSOLUTE)
      add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${CMAKE_DLLTOOL} -k -d ${def_file} -D $<TARGET_FILE_NAME:${name}> -l $<TARGET_LINKER_FILE:${name}>
        VERBATIM)
    endif()
  else()
    add_executable(${name} ${P_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${P_OUTPUT_DIRECTORY})
    target_link_libraries(${name} PRIVATE tessaric_entry)
    if(P_GUI)
      target_link_options(${name} PRIVATE -Wl,--subsystem,windows)
    else()
      target_link_options(${name} PRIVATE -Wl,--subsystem,console)
    endif()
    # A program always loads at its preferred base, so it needs no relocations.
    target_link_options(${name} PRIVATE -Wl,-e,_Start@0 -Wl,--disable-reloc-section)
  endif()
  if(P_ENTRY)
    target_link_options(${name} PRIVATE -Wl,-e,${P_ENTRY})
  endif()

  # The program header opens the image's writable data through a section of
  # its own (see image_layout.ld).
  target_compile_options(${name} PRIVATE ${TESSARIC_FREESTANDING_OPTIONS})
  target_link_libraries(${name} PRIVATE ${P_LINK} tessaric ${TESSARIC_SYSTEM_LIBRARIES})
  target_link_options(${name} PRIVATE -nostdlib -s -Wl,--gc-sections -Wl,--no-insert-timestamp)

  # Two sections where the default layout has five to seven; the finishing step
  # (cmake/finish_image.cpp, built with the compiler) takes the zero-initialised
  # data out of the file and, for a library, enters the export directory, which
  # it finds in the link map.
  set(layout ${CMAKE_SOURCE_DIR}/cmake/image_layout.ld)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${name}.map)
  target_link_options(${name} PRIVATE -Wl,-T,${layout} -Wl,-Map,${map})
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${layout} ${TESSARIC_FINISH})
  add_dependencies(${name} compiler)
  add_custom_command(TARGET ${name} POST_BUILD COMMAND ${TESSARIC_FINISH} $<TARGET_FILE:${name}> ${map} VERBATIM)
endfunction()

# tessaric_image(<output> <art>): makes a .cur, .ico or .bmp from text art at
# build time (cmake/make_image.sh); list <output> among a target's sources and
# add its folder to the resource compiler's include path.
function(tessaric_image output art)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_SOURCE_DIR}/cmake/make_image.sh ${art} ${output}
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/make_image.sh ${art}
    VERBATIM)
endfunction()

# tessaric_kit(<file>): tells the compiler where the cross compiler, the
# runtime and the image layout are, and which flags a module is compiled with.
function(tessaric_kit file)
  string(JOIN " " flags ${TESSARIC_FREESTANDING_OPTIONS})
  string(JOIN " " libraries ${TESSARIC_SYSTEM_LIBRARIES})
  file(GENERATE OUTPUT ${file} CONTENT "# Written by the build; the tessaric compiler beside this file reads it.
cxx=${CMAKE_CXX_COMPILER}
flags=${flags}
include=${CMAKE_SOURCE_DIR}/runtime
runtime=$<TARGET_FILE:tessaric>
entry=$<JOIN:$<TARGET_OBJECTS:tessaric_entry>, >
support=$<JOIN:$<TARGET_OBJECTS:tessaric_support>, >
pch=${TESSARIC_PCH_DIR}
system=${TESSARIC_SYSTEM_TABLE}
layout=${CMAKE_SOURCE_DIR}/cmake/image_layout.ld
finish=${TESSARIC_FINISH}
dlltool=${CMAKE_DLLTOOL}
windres=${CMAKE_RC_COMPILER}
libs=${libraries}
")
  set(TESSARIC_KIT ${file} PARENT_SCOPE)
  set(TESSARIC_KIT ${file} CACHE INTERNAL "")
  # Everything the kit names, built: what make install copies.
  add_custom_target(kit)
  add_dependencies(kit compiler tessaric tessaric_entry tessaric_support tessaric_pch tessaric_system_table)
endfunction()

# native_build(): within tessaric_basic, the command that builds the program
# through the native back end, and the line that tells the package how to
# build it again: the output's name, the sources' names (one folder holds
# them) and the folders its resource script reads.
macro(native_build)
  add_custom_command(OUTPUT ${native_status}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${native_dir}
    COMMAND ${CMAKE_SOURCE_DIR}/cmake/build_native.sh ${native_status}
      ${TESSARIC_COMPILER} ${B_SOURCES} ${includes} -o ${native_dir}/${B_OUTPUT}
    DEPENDS ${B_SOURCES} ${B_DEPENDS} ${CMAKE_SOURCE_DIR}/cmake/build_native.sh ${TESSARIC_COMPILER}
      ${TESSARIC_KIT} ${TESSARIC_SYSTEM_TABLE} tessaric tessaric_entry tessaric_support tessaric_system_table
    COMMENT "Compiling ${name} with tessaric's native back end"
    VERBATIM)
  list(TRANSFORM B_SOURCES REPLACE ".*/" "" OUTPUT_VARIABLE source_names)
  string(REPLACE ";" " " source_names "${source_names}")
  string(REPLACE ";" " " include_dirs "${B_INCLUDE_DIRECTORIES}")
  set_property(GLOBAL APPEND PROPERTY TESSARIC_BUILD_LINES "${B_OUTPUT}|${source_names}|${include_dirs}")
endmacro()

# tessaric_basic(<name> SOURCES main.bas [module.bas ...] [OUTPUT file]
#                [OUTPUT_DIRECTORY dir] [INCLUDE_DIRECTORIES dir ...] [DEPENDS file ...]
#                [EXCLUDE_FROM_ALL])
# Compiles a program from its BASIC modules with the tessaric compiler into
# <name>.exe (or OUTPUT, such as <name>.dll for a library), and its C++ into
# this folder of the build tree for readers. Without OUTPUT_DIRECTORY it is a
# deliverable in TESSARIC_BIN_DIR.
function(tessaric_basic name)
  cmake_parse_arguments(B "EXCLUDE_FROM_ALL" "OUTPUT;OUTPUT_DIRECTORY" "SOURCES;INCLUDE_DIRECTORIES;DEPENDS" ${ARGN})
  set(deliverable OFF)
  if(NOT B_OUTPUT_DIRECTORY)
    set(B_OUTPUT_DIRECTORY ${TESSARIC_BIN_DIR})
    set(deliverable ON)
  endif()
  if(NOT B_OUTPUT)
    set(B_OUTPUT ${name}.exe)
  endif()
  set(output ${B_OUTPUT_DIRECTORY}/${B_OUTPUT})
  list(TRANSFORM B_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  list(LENGTH B_SOURCES modules)
  if(modules GREATER 1)
    set(cpp ${CMAKE_CURRENT_BINARY_DIR}/cpp)
  else()
    set(cpp ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  endif()
  set(includes)
  foreach(dir ${B_INCLUDE_DIRECTORIES})
    list(APPEND includes -I ${dir})
  endforeach()
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${B_OUTPUT_DIRECTORY}
    COMMAND ${TESSARIC_COMPILER} ${B_SOURCES} ${includes} -o ${output}
    COMMAND ${TESSARIC_COMPILER} ${B_SOURCES} --emit-cpp -o ${cpp}
    DEPENDS ${B_SOURCES} ${B_DEPENDS} ${TESSARIC_COMPILER} ${TESSARIC_KIT} ${TESSARIC_SYSTEM_TABLE} tessaric
      tessaric_entry tessaric_support tessaric_pch tessaric_system_table
    COMMENT "Compiling ${name} with tessaric"
    VERBATIM)
  # A program of bin (a deliverable or an example) is built through the native
  # back end too, into the same place under bin-native, with a status file
  # saying whether it could be built; the package builds it again from these
  # sources with its own compiler.
  set(native_status)
  string(FIND ${B_OUTPUT_DIRECTORY} ${TESSARIC_BIN_DIR} in_bin)
  if(in_bin EQUAL 0)
    string(REPLACE ${TESSARIC_BIN_DIR} ${TESSARIC_NATIVE_BIN_DIR} native_dir ${B_OUTPUT_DIRECTORY})
    set(native_status ${native_dir}/${B_OUTPUT}.status)
    native_build()
  endif()
  if(B_EXCLUDE_FROM_ALL)
    add_custom_target(${name} DEPENDS ${output} ${native_status})
  else()
    add_custom_target(${name} ALL DEPENDS ${output} ${native_status})
  endif()
  add_dependencies(${name} compiler)
  set_target_properties(${name} PROPERTIES TESSARIC_FILE ${output})
  if(deliverable)
    add_dependencies(deliverables ${name})
    set_property(GLOBAL APPEND PROPERTY TESSARIC_DELIVERABLES ${name})
    set_property(GLOBAL APPEND PROPERTY TESSARIC_DELIVERABLE_FILES ${output})
  endif()
endfunction()
