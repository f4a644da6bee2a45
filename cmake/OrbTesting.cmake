# add_orb_test(<name> SOURCES <files...> [LIBS <targets...>] [QT])
# Builds one GoogleTest program and registers its tests with CTest. Every test runs with the offscreen
# Qt platform and a pinned UTF-8 locale, so results do not depend on the machine's display or language.
# QT tests get a main() that creates the QApplication.
function(add_orb_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(T_QT)
    target_link_libraries(${name} PRIVATE orb_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60)
  # CMake 3.25 splits a list given to gtest_discover_tests(PROPERTIES ENVIRONMENT ...) and keeps only its
  # first item, so the environment is set on the discovered tests by a file that CTest includes after them.
  set(env_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${env_file} "set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT "
    "[==[QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;ORB_TOOLS_DIR=${PROJECT_BINARY_DIR}/tools]==])\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${env_file})
endfunction()
