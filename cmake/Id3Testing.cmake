# GoogleTest and the way tests run.
#
# Natively the test programs run directly. For the Windows presets they run
# under wine64 through scripts/wine-run, which keeps a private Wine prefix and
# a virtual X display in the build tree; GoogleTest is compiled here from
# Debian's googletest sources with the same MinGW compiler.
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(ID3_GTEST_MAIN gtest_main)
  set(ID3_GTEST gtest)
  set(ID3_WINE_STATE "${CMAKE_BINARY_DIR}/wine")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine-run;${ID3_WINE_STATE}")
  # Test data is reached through Wine's Z: drive, which maps the Linux root.
  set(ID3_TEST_DATA_DIR "Z:${PROJECT_SOURCE_DIR}/tests/data")
  set(ID3_TEST_GEN_DIR "Z:${CMAKE_BINARY_DIR}/tests/gen")
  set(ID3_SAMPLES_DIR "Z:${PROJECT_SOURCE_DIR}/samples")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(ID3_TESTS_BUILD_ONLY ON)
  endif()
else()
  find_package(GTest REQUIRED)
  set(ID3_GTEST_MAIN GTest::gtest_main)
  set(ID3_GTEST GTest::gtest)
  set(ID3_TEST_DATA_DIR "${PROJECT_SOURCE_DIR}/tests/data")
  set(ID3_TEST_GEN_DIR "${CMAKE_BINARY_DIR}/tests/gen")
  set(ID3_SAMPLES_DIR "${PROJECT_SOURCE_DIR}/samples")
  set(ID3_DISCOVERY_TIMEOUT 60)
endif()
file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/tests/gen")

# id3_test(NAME DIR dir [LIBS ...] [OWN_MAIN] [FIXTURE name]): one test program
# of a test folder. It links gtest_main; with OWN_MAIN the folder brings its
# own main(). FIXTURE names a CTest fixture its cases need.
function(id3_test name)
  cmake_parse_arguments(ARG "OWN_MAIN" "DIR;FIXTURE" "LIBS" ${ARGN})
  id3_platform_sources(srcs "${ARG_DIR}")
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  if(ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} id3_testsupport ${ID3_GTEST})
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} id3_testsupport ${ID3_GTEST_MAIN})
  endif()
  id3_set_warnings(${name})
  # Only 64-bit Wine runs here: the 32-bit test programs are built, not run.
  if(ID3_TESTS_BUILD_ONLY)
    return()
  endif()
  # Under Wine every program start costs a good part of a second: a test
  # program runs once, all its cases in one process, and CTest lists the
  # program. Natively each case is listed on its own.
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 900 FIXTURES_REQUIRED "${ARG_FIXTURE}")
    return()
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT ${ID3_DISCOVERY_TIMEOUT}
    PROPERTIES TIMEOUT 120 FIXTURES_REQUIRED "${ARG_FIXTURE}")
endfunction()

# id3_test_locale(NAME LOCALE FILTER): under Wine, the cases of test program
# NAME that match the GoogleTest FILTER run in a CTest entry of their own,
# NAME.LOCALE, under that Unix locale, which gives a Wine process its ANSI code
# page (ja_JP.UTF-8: 932, ru_RU.UTF-8: 1251), with NAME's fixtures; NAME's own
# entry leaves out the cases of every locale.
function(id3_test_locale name locale filter)
  if(NOT CMAKE_CROSSCOMPILING OR ID3_TESTS_BUILD_ONLY OR NOT TEST ${name})
    return()
  endif()
  add_test(NAME ${name}.${locale} COMMAND ${name} --gtest_brief=1 --gtest_filter=${filter})
  get_test_property(${name} FIXTURES_REQUIRED fixtures)
  set_tests_properties(${name}.${locale} PROPERTIES TIMEOUT 900 FIXTURES_REQUIRED "${fixtures}"
                       ENVIRONMENT "LANG=${locale};LC_ALL=${locale}")
  get_property(others GLOBAL PROPERTY ID3_LOCALE_FILTERS_${name})
  list(APPEND others ${filter})
  set_property(GLOBAL PROPERTY ID3_LOCALE_FILTERS_${name} ${others})
  list(JOIN others ":" excluded)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "GTEST_FILTER=-${excluded}")
endfunction()
