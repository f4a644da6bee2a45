# add_orb_test(<name> SOURCES <files...> [LIBS <targets...>] [QT] [ALSO_AT_SCALE2] [SERIAL])
# Builds one GoogleTest program and registers its tests with CTest. Every test runs with the offscreen
# Qt platform and a pinned UTF-8 locale, so results do not depend on the machine's display or language.
# QT tests get a main() that creates the QApplication. ALSO_AT_SCALE2 registers every test a second time,
# named with the suffix ".scale2", drawn at Qt's scale factor 2 as on a high-density screen. SERIAL tests
# run while no other test does: they hold a unit's replies to time limits of 100 ms on a real port, which a
# machine busy with parallel tests can miss.
function(add_orb_test name)
  cmake_parse_arguments(T "QT;ALSO_AT_SCALE2;SERIAL" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(T_QT)
    target_link_libraries(${name} PRIVATE orb_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(environment "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;ORB_TOOLS_DIR=${PROJECT_BINARY_DIR}/tools")
  _orb_discover_tests(${name} ${name}_TESTS "" "${environment}" ${T_SERIAL})
  if(T_ALSO_AT_SCALE2)
    _orb_discover_tests(${name} ${name}_SCALE2_TESTS .scale2 "${environment};QT_SCALE_FACTOR=2" ${T_SERIAL})
  endif()
endfunction()

# Registers the tests of a GoogleTest program under a list name, with a suffix and an environment, to run
# alone when serial is true.
function(_orb_discover_tests target list suffix environment serial)
  if(suffix)
    set(suffix_argument TEST_SUFFIX ${suffix})
  endif()
  gtest_discover_tests(${target}
    ${suffix_argument}
    TEST_LIST ${list}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60)
  # CMake 3.25 splits a list given to gtest_discover_tests(PROPERTIES ENVIRONMENT ...) and keeps only its
  # first item, so the environment is set on the discovered tests by a file that CTest includes after them.
  set(env_file ${CMAKE_CURRENT_BINARY_DIR}/${list}_environment.cmake)
  if(serial)
    set(serial_property " RUN_SERIAL TRUE")
  endif()
  file(WRITE ${env_file}
    "set_tests_properties(\${${list}} PROPERTIES ENVIRONMENT [==[${environment}]==]${serial_property})\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${env_file})
endfunction()
