# Small helpers shared by every folder's CMakeLists.txt.

# dusk_library(NAME SOURCES... [LIBS libs...] [PKG modules...])
# A static library of one part of the game; records itself in DUSK_LIBS so
# the benchmarks and fuzz harnesses can link everything that exists.
function(dusk_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PKG" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
  foreach(mod ${ARG_PKG})
    string(TOUPPER "${mod}" var)
    string(REGEX REPLACE "[^A-Z0-9]" "_" var "${var}")
    if(NOT TARGET PkgConfig::${var})
      pkg_check_modules(${var} REQUIRED IMPORTED_TARGET GLOBAL ${mod})
    endif()
    target_link_libraries(${name} PRIVATE PkgConfig::${var})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY DUSK_LIBS ${name})
endfunction()

# dusk_pkg(VAR module) -> imported target PkgConfig::VAR for direct use.
function(dusk_pkg var mod)
  if(NOT TARGET PkgConfig::${var})
    pkg_check_modules(${var} REQUIRED IMPORTED_TARGET GLOBAL ${mod})
  endif()
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
  while(runs)
    list(POP_FRONT runs test args)
    set(work ${CMAKE_BINARY_DIR}/test-work/${test})
    file(MAKE_DIRECTORY ${work})
    add_test(NAME ${test} COMMAND ${name} ${args} WORKING_DIRECTORY ${work})
    set_tests_properties(${test} PROPERTIES
      ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;DUSK_SOURCE_DIR=${PROJECT_SOURCE_DIR};DUSK_BINARY_DIR=${CMAKE_BINARY_DIR};${DUSK_LSAN_OPTIONS}"
      TIMEOUT 300)
  endwhile()
endfunction()
