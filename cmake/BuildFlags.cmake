# Optimisation of the default build, the one users get from scripts/run,
# scripts/test and `cmake --install`, and the one bench/ measures.
#
# A configure without a build type gives RelWithDebInfo, and RelWithDebInfo
# here compiles the program at -O3 (CMake's own default is -O2): the pixel
# loops are vectorised and unrolled only at -O3, which makes filters up to
# 1.7 x faster, while -g keeps crash reports useful and -DNDEBUG stays as it
# was. Release gives the same code without debug information.
#
# Sanitizer and fuzz builds stay at -O2: they check memory accesses, their
# speed does not matter, and -O3 would only lengthen their compile.
# A user's own CMAKE_<LANG>_FLAGS_RELWITHDEBINFO without -O2 is left alone.
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

#
# The tests' own code keeps CMake's flags (VISTOREL_TEST_<LANG>_FLAGS_RELWITHDEBINFO,
# set around tests/ in the top-level CMakeLists.txt): it compiles faster at -O2,
# and what the tests exercise, the library and the command-line tool, is built
# at -O3 all the same.
foreach(lang C CXX)
  set(VISTOREL_TEST_${lang}_FLAGS_RELWITHDEBINFO "${CMAKE_${lang}_FLAGS_RELWITHDEBINFO}")
endforeach()
if(NOT (VISTOREL_ASAN OR VISTOREL_TSAN OR VISTOREL_BUILD_FUZZ))
  foreach(lang C CXX)
    string(REPLACE "-O2" "-O3" CMAKE_${lang}_FLAGS_RELWITHDEBINFO "${CMAKE_${lang}_FLAGS_RELWITHDEBINFO}")
  endforeach()
endif()
