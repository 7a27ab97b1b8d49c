# Small helpers shared by every folder's CMakeLists.txt.

# In the Windows cross build SDL2 comes from its own CMake package in the
# library cache (its pkg-config file would also bring SDL2main and the GUI
# subsystem into every library and test that uses SDL). Found here, at the
# top, so that its targets are seen in every folder.
if(WIN32)
  find_package(SDL2 CONFIG REQUIRED)
endif()

# dusk_pkg(VAR module) -> imported target PkgConfig::VAR for direct use.
function(dusk_pkg var mod)
  if(TARGET PkgConfig::${var})
    return()
  endif()
  if(WIN32 AND mod STREQUAL "sdl2")
    add_library(PkgConfig::${var} INTERFACE IMPORTED GLOBAL)
    target_link_libraries(PkgConfig::${var} INTERFACE SDL2::SDL2-static)
  else()
    pkg_check_modules(${var} REQUIRED IMPORTED_TARGET GLOBAL ${mod})
  endif()
endfunction()

# dusk_library(NAME SOURCES... [LIBS libs...] [PKG modules...] [BACKEND service])
# A static library of one part of the game; records itself in DUSK_LIBS so
# the benchmarks and fuzz harnesses can link everything that exists. With
# BACKEND, SOURCES may name every back end of the engine service: only the
# chosen one (cmake/Backends.cmake) is built, with what it links.
function(dusk_library name)
  cmake_parse_arguments(ARG "" "BACKEND" "SOURCES;LIBS;PKG" ${ARGN})
  set(sources ${ARG_SOURCES})
  set(modules ${ARG_PKG})
  set(system_libs)
  if(ARG_BACKEND)
    dusk_backend_parts(${ARG_BACKEND} "${sources}" sources backend_modules system_libs)
    list(APPEND modules ${backend_modules})
    list(REMOVE_DUPLICATES modules)
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
  target_link_libraries(${name} PUBLIC ${system_libs})
  foreach(mod ${modules})
    string(TOUPPER "${mod}" var)
    string(REGEX REPLACE "[^A-Z0-9]" "_" var "${var}")
    dusk_pkg(${var} ${mod})
    target_link_libraries(${name} PRIVATE PkgConfig::${var})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY DUSK_LIBS ${name})
endfunction()

# Leak suppressions for system libraries, shared by every test and by the
# build-time tools of sanitizer builds.
set(DUSK_LSAN_OPTIONS "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")

# dusk_test(NAME SOURCES... LIBS libs... [PARTS part filter...])
# A GoogleTest executable run by CTest on SDL's dummy drivers, from a scratch
# working folder of its own. With PARTS it runs as one CTest entry a part,
# NAME_part on the gtest filter given, each in a working folder of its own,
# so that a long suite's parts run side by side under ctest -j.
function(dusk_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PARTS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(runs ${name} "")
  if(ARG_PARTS)
    set(runs)
    set(parts ${ARG_PARTS})
    while(parts)
      list(POP_FRONT parts part filter)
      list(APPEND runs ${name}_${part} "--gtest_filter=${filter}")
    endwhile()
  endif()
  # No X display, even on a desktop: the fonts are then sized for 96 dots
  # per inch, whatever the desktop's own setting is.
  set(display)
  if(NOT WIN32)
    set(display "DISPLAY=;")
  endif()
  while(runs)
    list(POP_FRONT runs test args)
    set(work ${CMAKE_BINARY_DIR}/test-work/${test})
    file(MAKE_DIRECTORY ${work})
    add_test(NAME ${test} COMMAND ${name} ${args} WORKING_DIRECTORY ${work})
    set_tests_properties(${test} PROPERTIES
      ENVIRONMENT "${display}SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;DUSK_SOURCE_DIR=${PROJECT_SOURCE_DIR};DUSK_BINARY_DIR=${CMAKE_BINARY_DIR};${DUSK_LSAN_OPTIONS}"
      TIMEOUT 300)
  endwhile()
endfunction()
