# Warnings for our own targets (never for third-party code): everything useful, as errors.
function(vorlo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
  if(VORLO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A GoogleTest executable registered with ctest. Widget tests run on the offscreen platform. (ctest would split
# a list of variables here, so the program folder reaches tests through the shared test main instead.) LABELS
# go on every test of the executable: "realtime" marks window-level tests and tests that wait for real time, so
# `ctest -LE realtime` is the fast inner loop.
function(vorlo_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  vorlo_warnings(${name})
  set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name} PROPERTIES ${properties} DISCOVERY_TIMEOUT 60)
endfunction()

# Puts a target's own headers, and only them, on its users' include path as "<prefix>/Header.h". The folder is
# reached through a link in the build tree, so no target sees the rest of src/: an include across a layer that
# the target does not link fails to compile. FILES_ONLY links the folder's headers one by one, leaving out the
# subfolders that are targets of their own.
function(vorlo_expose_headers target prefix)
  cmake_parse_arguments(ARG "FILES_ONLY" "" "" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  if(ARG_FILES_ONLY)
    file(MAKE_DIRECTORY ${root}/${prefix})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${prefix}/${name} SYMBOLIC)
    endforeach()
  else()
    get_filename_component(parent ${root}/${prefix} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${prefix} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
