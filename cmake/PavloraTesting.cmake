include(GoogleTest)

# pavlora_add_gtest(NAME SOURCES... [LIBS ...] [GUI | WIDGETS] [TIMEOUT s])
# One test program; every test case becomes its own CTest test, run in its
# own process with its own HOME and XDG folders (see tests/support/TestMain.cpp)
# and a time-out, so that no test can hang the run or touch the user's files.
function(pavlora_add_gtest name)
  cmake_parse_arguments(ARG "GUI;WIDGETS" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 60)
  endif()
  add_executable(${name} ${ARG_SOURCES} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE pavlora_options ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(ARG_WIDGETS)
    target_link_libraries(${name} PRIVATE pavlora_test_main_widgets)
  elseif(ARG_GUI)
    target_link_libraries(${name} PRIVATE pavlora_test_main_gui)
  else()
    target_link_libraries(${name} PRIVATE pavlora_test_main)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    NO_PRETTY_VALUES
    DISCOVERY_TIMEOUT 30
    PROPERTIES TIMEOUT ${ARG_TIMEOUT}
               ENVIRONMENT "PAVLORA_PROGRAM_DIR=${PAVLORA_PROGRAM_DIR};QT_QPA_PLATFORM=offscreen")
endfunction()
