# tervana_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [QT])
# One GoogleTest executable, registered test by test with ctest.
# QT: the executable gets a main that builds a QApplication on the offscreen platform.
# LABELS: ctest labels of each of its tests (`ctest -L threads` runs the thread tests alone).
#
# Every executable labelled "threads" is also a dependency of the target tervana_thread_tests,
# which the ThreadSanitizer pass of scripts/test.sh builds: a test given the label is then
# built and run there without a second list to keep.
add_custom_target(tervana_thread_tests)

function(tervana_add_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_QT)
    target_link_libraries(${name} PRIVATE tervana_qt_test_main Qt6::Widgets)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS "${T_LABELS}"
    DISCOVERY_TIMEOUT 60)
  if("threads" IN_LIST T_LABELS)
    add_dependencies(tervana_thread_tests ${name})
  endif()
endfunction()
