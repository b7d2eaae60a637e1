# luma_library(<name> DEPS <libs...>)
# Builds lumaretique_<name> from every .cpp of the calling folder, so that a new
# unit needs no edit here: add the .h/.cpp pair and re-run the build.
function(luma_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(target lumaretique_${name})
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  # Qt classes with signals in a core library (QObject without widgets).
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
endfunction()

# luma_test(<name> DEPS <libs...>)
# One GoogleTest program per tests/ folder, built from every .cpp in it.
function(luma_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(target test_${name})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} lumaretique_testsupport GTest::gtest GTest::gtest_main)
  # The fuzz targets' corpora hold the small hostile files the tests read.
  target_compile_definitions(${target} PRIVATE LUMA_FUZZ_CORPUS="${PROJECT_SOURCE_DIR}/fuzz/corpus")
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  # One ctest entry per program: starting a sanitized Qt process per test
  # case would cost more than the cases themselves.
  luma_isolated_test(${target} COMMAND $<TARGET_FILE:${target}> --gtest_brief=1)
  set_tests_properties(${target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 900)
endfunction()

# luma_isolated_test(<name> COMMAND <program> <args...>)
# A ctest entry whose program runs with a home and XDG folders of its own,
# made afresh in <current build folder>/test-home/<name>: no test writes the
# user's files, and none depends on what they hold.
function(luma_isolated_test name)
  cmake_parse_arguments(ARG "" "" "COMMAND" ${ARGN})
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/cmake/TestHome.sh
           ${CMAKE_CURRENT_BINARY_DIR}/test-home/${name} ${ARG_COMMAND})
endfunction()

# luma_ui_library(<name> DEPS <libs...>): the widgets library beside a
# subsystem's core, lumaretique_<name>_ui, built from src/<name>/ui/*.cpp.
function(luma_ui_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(target lumaretique_${name}_ui)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC lumaretique_${name} Qt6::Widgets ${ARG_DEPS})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
endfunction()
