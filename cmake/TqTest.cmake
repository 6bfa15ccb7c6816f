# Every test program is registered here, each module's tests from its own
# tests/CMakeLists.txt.
#
# tq_add_gtest(<name> SOURCES <files...> [LIBS <targets...>]
#              [RESOURCE_LOCK <lock>])
# A GoogleTest program whose cases ctest runs one by one (discovered when the
# tests run, under Wine for Windows builds). Tests find the program directory
# through TQ_PROGRAM_DIR and the source tree through TQ_SOURCE_DIR, and the
# shared test helpers of tools/testing on their include path. Windows test
# programs each get a temporary folder and a desktop of their own
# (tools/testing). RESOURCE_LOCK: no two tests holding the lock run at once
# (WindowsInstaller: one installation at a time).

# Paths as the test programs see them: under Wine the host's "/" is drive Z:.
function(tq_host_path out path)
  if(TQ_WINDOWS)
    string(REPLACE "/" "\\\\" p "Z:${path}")
    set(${out} "${p}" PARENT_SCOPE)
  else()
    set(${out} "${path}" PARENT_SCOPE)
  endif()
endfunction()
tq_host_path(TQ_PROGRAM_DIR_HOST ${TQ_PROGRAM_DIR})
tq_host_path(TQ_SOURCE_DIR_HOST ${CMAKE_SOURCE_DIR})
tq_host_path(TQ_BINARY_DIR_HOST ${CMAKE_BINARY_DIR})

function(tq_add_gtest name)
  cmake_parse_arguments(T "" "RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tools/testing)
  if(TQ_WINDOWS)
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tools/testing/PrivateTempFolder.cpp
                                   ${CMAKE_SOURCE_DIR}/tools/testing/PrivateDesktop.cpp)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    TQ_PROGRAM_DIR="${TQ_PROGRAM_DIR_HOST}" TQ_SOURCE_DIR="${TQ_SOURCE_DIR_HOST}"
    TQ_BINARY_DIR="${TQ_BINARY_DIR_HOST}")
  set(properties TIMEOUT 300)
  if(T_RESOURCE_LOCK)
    list(APPEND properties RESOURCE_LOCK ${T_RESOURCE_LOCK})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()

# tq_host_has_programs(<out> <programs...>): <out> is TRUE when every program
# is found on the host's path.
function(tq_host_has_programs out)
  foreach(p ${ARGN})
    find_program(TQ_PEER_PROGRAM_${p} ${p})
    if(NOT TQ_PEER_PROGRAM_${p})
      set(${out} FALSE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} TRUE PARENT_SCOPE)
endfunction()

# tq_add_peer_check(<check test> WRITER <writer test> <program> <gtest filter>
#                   FOLDER <folder> ENV <variable> [FILE <name>]
#                   [REQUIRES <host programs...>] CHECK <command...>)
# tq_add_peer_check(<check test> CASE <gtest case> [NEEDS <fixture>]
#                   [REQUIRES <host programs...>] CHECK <command...>)
# A peer on the host reads what our code wrote. The writer test runs the cases
# of <program> that <gtest filter> picks, with <variable> naming <folder> (or
# the file <name> in it) as the program sees it; the check test then runs
# <command> on the host. The check needs a fresh writer run (a fixture named
# after the writer test). Without one of the REQUIRES programs on the host only
# the writer test is added.
# With CASE the writer is one discovered case of a tq_add_gtest program (it
# writes where the program itself fixes): the case becomes the check's fixture
# when the cases are found, and needs the fixture NEEDS names (a host step that
# prepares its input) if given.
function(tq_add_peer_check check)
  cmake_parse_arguments(P "" "FOLDER;ENV;FILE;CASE;NEEDS" "WRITER;REQUIRES;CHECK" ${ARGN})
  if(P_CASE)
    tq_host_has_programs(found ${P_REQUIRES})
    if(NOT found)
      return()
    endif()
    set(props ${CMAKE_CURRENT_BINARY_DIR}/${check}_fixture.cmake)
    set(needs "")
    if(P_NEEDS)
      set(needs " FIXTURES_REQUIRED ${P_NEEDS}")
    endif()
    file(WRITE ${props} "set_tests_properties(${P_CASE} PROPERTIES FIXTURES_SETUP ${P_CASE}${needs})\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${props})
    add_test(NAME ${check} COMMAND ${P_CHECK})
    set_tests_properties(${check} PROPERTIES FIXTURES_REQUIRED ${P_CASE})
    return()
  endif()
  list(GET P_WRITER 0 writer)
  list(GET P_WRITER 1 program)
  list(GET P_WRITER 2 filter)
  file(MAKE_DIRECTORY ${P_FOLDER})
  set(target ${P_FOLDER})
  if(P_FILE)
    set(target ${P_FOLDER}/${P_FILE})
  endif()
  tq_host_path(target_host ${target})
  add_test(NAME ${writer} COMMAND ${program} --gtest_filter=${filter})
  set_tests_properties(${writer} PROPERTIES FIXTURES_SETUP ${writer}
    ENVIRONMENT "${P_ENV}=${target_host}")
  tq_host_has_programs(found ${P_REQUIRES})
  if(NOT found)
    return()
  endif()
  add_test(NAME ${check} COMMAND ${P_CHECK})
  set_tests_properties(${check} PROPERTIES FIXTURES_REQUIRED ${writer})
endfunction()
