# Source selection and common flags.
#
# Portable code has no suffix. Files ending in _win32.cpp are built only for
# Windows, files ending in _posix.cpp only elsewhere, so each folder simply
# lists what it has and the platform picks.

function(id3_platform_sources out_var dir)
  file(GLOB all CONFIGURE_DEPENDS "${dir}/*.cpp")
  set(picked)
  foreach(f IN LISTS all)
    if(f MATCHES "_win32\\.cpp$")
      if(WIN32)
        list(APPEND picked "${f}")
      endif()
    elseif(f MATCHES "_posix\\.cpp$")
      if(NOT WIN32)
        list(APPEND picked "${f}")
      endif()
    else()
      list(APPEND picked "${f}")
    endif()
  endforeach()
  set(${out_var} "${picked}" PARENT_SCOPE)
endfunction()

function(id3_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                           -Wconversion -Wno-sign-conversion)
  if(ID3_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                 NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()

# id3_library(NAME DIR dir [DEPS ...]): a static library of one source folder.
function(id3_library name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  id3_platform_sources(srcs "${ARG_DIR}")
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src" "${ID3_GENERATED_DIR}")
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  id3_set_warnings(${name})
endfunction()

# id3_find_header_only(PACKAGE TARGET): a header-only library through the CMake
# package that Debian ships with it. Its headers sit in /usr/include, which a
# cross compiler must not search before its own C library: there the folder is
# searched last (-idirafter), so only what the MinGW headers lack comes from it.
macro(id3_find_header_only package target)
  find_package(${package} CONFIG REQUIRED NO_CMAKE_FIND_ROOT_PATH PATHS /usr/share/cmake)
  if(CMAKE_CROSSCOMPILING)
    get_target_property(_id3_dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
    list(REMOVE_DUPLICATES _id3_dirs)
    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "")
    foreach(_id3_dir IN LISTS _id3_dirs)
      target_compile_options(${target} INTERFACE "SHELL:-idirafter ${_id3_dir}")
    endforeach()
  endif()
endmacro()

# The shipped program is built for size (MinSizeRel): every function and datum
# in a section of its own, so that the linker drops what nothing calls, and
# debug information that id3_split_debug moves out of the program.
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  add_compile_options(-g -ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
endif()

# id3_split_debug(TARGET): in a MinSizeRel build, moves the program's debug
# information into TARGET_FILE.debug beside it (built, not installed) and
# strips the program, which keeps a link to that file for debuggers.
function(id3_split_debug target)
  if(NOT CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
    return()
  endif()
  set(exe "$<TARGET_FILE:${target}>")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${exe} ${exe}.debug
    COMMAND ${CMAKE_STRIP} --strip-all ${exe}
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${exe}.debug ${exe}
    VERBATIM)
endfunction()
