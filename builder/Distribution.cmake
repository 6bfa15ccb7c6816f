# The distribution: setup.ini, install.bat, Setup.zip turned into the
# self-extracting Setup.exe, and the floppy volumes (included by CMakeLists.txt).
add_library(tqdistribution STATIC DistributionLayout.cpp Distribution.cpp DistributionProject.cpp)
target_include_directories(tqdistribution PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tqdistribution PUBLIC tqbuildsteps tqzipsmith tqupdates)

tq_host_path(TQ_DIST_RECORDER_HOST ${CMAKE_BINARY_DIR}/standins/tests/recorder.exe)
tq_add_gtest(distribution_tests
  SOURCES tests/DistributionTest.cpp
  LIBS tqdistribution ziptestkit)
target_compile_definitions(distribution_tests PRIVATE TQ_RECORDER="${TQ_DIST_RECORDER_HOST}")
add_dependencies(distribution_tests zipengine zipstub standin_Install standin_Uninstall standin_InstMsiA
  standin_InstMsiW standin_recorder tq_standin_data tq_program_data)

# Peers: the host's unzip and zip read the CD and floppy distributions that the
# DistributionPeer case writes.
set(TQ_DIST_PEER_DIR ${CMAKE_BINARY_DIR}/distribution-peer)
file(MAKE_DIRECTORY ${TQ_DIST_PEER_DIR})
tq_host_path(TQ_DIST_PEER_DIR_HOST ${TQ_DIST_PEER_DIR})
add_test(NAME distribution_peer_write COMMAND distribution_tests --gtest_filter=DistributionPeer.*)
set_tests_properties(distribution_peer_write PROPERTIES FIXTURES_SETUP distribution_peer_files
  ENVIRONMENT "TQ_PEER_DIST_DIR=${TQ_DIST_PEER_DIR_HOST}")
find_program(TQ_DIST_UNZIP unzip)
find_program(TQ_DIST_ZIP zip)
find_package(Python3 COMPONENTS Interpreter)
if(TQ_DIST_UNZIP AND TQ_DIST_ZIP AND Python3_Interpreter_FOUND)
  add_test(NAME distribution_peer_check
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/check-peer-distribution.sh ${TQ_DIST_PEER_DIR}
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/check_spanned_directory.py)
  set_tests_properties(distribution_peer_check PROPERTIES FIXTURES_REQUIRED distribution_peer_files)
endif()

# What the distribution reads of a real main window.
tq_add_gtest(distribution_project_tests
  SOURCES tests/BuildFixture.cpp tests/DistributionProjectTest.cpp
  LIBS tqdistribution tqbuildcommand ziptestkit)
add_dependencies(distribution_project_tests tq_program_data zipengine zipstub standin_Install)
