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
tq_add_peer_check(distribution_peer_check WRITER distribution_peer_write distribution_tests DistributionPeer.*
  FOLDER ${TQ_DIST_PEER_DIR} ENV TQ_PEER_DIST_DIR REQUIRES unzip zip python3
  CHECK sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/check-peer-distribution.sh ${TQ_DIST_PEER_DIR}
        ${CMAKE_CURRENT_SOURCE_DIR}/tests/check_spanned_directory.py)

# What the distribution reads of a real main window.
tq_add_gtest(distribution_project_tests
  SOURCES tests/BuildFixture.cpp tests/DistributionProjectTest.cpp
  LIBS tqdistribution tqbuildcommand ziptestkit)
add_dependencies(distribution_project_tests tq_program_data zipengine zipstub standin_Install)
