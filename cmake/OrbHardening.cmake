# Debian's hardening for every build: the stack protector, fortified C library functions, relocations
# made read-only and bound at start-up (BIND_NOW), as dpkg-buildflags gives them with every hardening
# feature on (position-independent executables are the compiler's default). Optimisation and debug
# flags stay the build type's own; fortification needs an optimised build, so a Debug build goes without.
find_program(ORB_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT ORB_DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found: building without Debian's hardening flags")
  return()
endif()

function(_orb_buildflags name out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${ORB_DPKG_BUILDFLAGS} --get ${name}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(O|g)")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

_orb_buildflags(CXXFLAGS ORB_HARDENING_COMPILE)
_orb_buildflags(LDFLAGS ORB_HARDENING_LINK)
add_compile_options(${ORB_HARDENING_COMPILE})
add_link_options(${ORB_HARDENING_LINK})
if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  _orb_buildflags(CPPFLAGS ORB_HARDENING_PREPROCESS)
  add_compile_options(${ORB_HARDENING_PREPROCESS})
endif()
