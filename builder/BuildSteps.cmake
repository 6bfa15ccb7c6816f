# The Build command and the package's table steps (included by CMakeLists.txt).
add_library(tqbuildsteps STATIC
  BuildProject.cpp BuildProjectWindow.cpp BuildShared.cpp BuildPrepare.cpp DialogBitmaps.cpp BuildDirectories.cpp
  BuildFeatures.cpp BuildComponents.cpp ComponentIds.cpp BuildFiles.cpp BuildLicense.cpp ModuleSignature.cpp
  BuildRegistry.cpp BuildShortcuts.cpp BuildEnvironment.cpp PackageWork.cpp ProductFileName.cpp)
target_include_directories(tqbuildsteps PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tqbuildsteps PUBLIC tqbuilddb tqworkspace_ui tqupdates tqcontrols gdi32)

# The setup page generator and the pages' stylesheet (Gui page buttons).
add_library(tqhtmlpages STATIC HtmlPages.cpp HtmlPagesProject.cpp StyleSheet.cpp)
target_include_directories(tqhtmlpages PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tqhtmlpages PUBLIC tqworkspace_ui tqcontrols gdi32)

# The Build button: the steps, then the cabinet phase and the distribution.
add_library(tqbuildcommand STATIC BuildCommand.cpp)
target_link_libraries(tqbuildcommand PUBLIC tqbuildsteps tqbuildcabinet_project tqdistribution tqhtmlpages tqbuildmerge)

# The steps and the command on a real main window, in-process.
tq_add_gtest(buildsteps_tests
  SOURCES tests/BuildFixture.cpp tests/BuildStepsTest.cpp tests/BuildCommandTest.cpp tests/ComponentIdsTest.cpp
          tests/PeerPackageTest.cpp tests/UpdatesPageTest.cpp tests/HtmlPagesTest.cpp tests/BuildItemStepsTest.cpp
  LIBS tqbuildcommand tqftp_testing)
add_dependencies(buildsteps_tests tq_program_data)

# msitools reads the package that the PeerPackage case builds through the Build
# button.
set(TQ_BUILDSTEPS_PEER_DIR ${CMAKE_BINARY_DIR}/buildsteps-peer)
tq_add_peer_check(buildsteps_peer_msitools WRITER buildsteps_peer_build buildsteps_tests PeerPackage.*
  FOLDER ${TQ_BUILDSTEPS_PEER_DIR} ENV TQ_PEER_PACKAGE_DIR
  CHECK sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/check-peer-package.sh ${TQ_BUILDSTEPS_PEER_DIR})

# The benchmark driver of bench/bench.sh (not a test): the table steps and the
# cabinet phase.
add_executable(buildbench bench/buildbench.cpp)
target_link_libraries(buildbench PRIVATE tqbuildsteps tqbuildcabinet_project)

# The example project's HTML setup made and built through the real program
# (tqdrive), its pages checked with html5lib and its licence dialog with msitools.
add_test(NAME example_pages_e2e
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/check-example-pages.sh ${TQ_PROGRAM_DIR} ${CMAKE_BINARY_DIR}/tools
          ${CMAKE_BINARY_DIR}/example-pages-e2e)
set_tests_properties(example_pages_e2e PROPERTIES TIMEOUT 900)

# The example project built through the real program (tqdrive), its item tables
# read by msitools, installed and removed by Windows Installer and read back:
# registry values, the association, the shortcut files (through lnkinfo) and the
# environment.
add_executable(lnkinfo tests/LinkInfo.cpp)
target_link_libraries(lnkinfo PRIVATE ole32 uuid)
add_test(NAME example_install_e2e
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/check-example-install.sh ${TQ_PROGRAM_DIR} ${CMAKE_BINARY_DIR}/tools
          ${CMAKE_BINARY_DIR}/example-install-e2e $<TARGET_FILE:lnkinfo>)
# It installs the example product, as other checks do: one at a time.
set_tests_properties(example_install_e2e PROPERTIES TIMEOUT 900 RESOURCE_LOCK WindowsInstaller)

# The real program driven from outside on crafted projects: refused product
# names, builds killed at several moments.
add_test(NAME build_safety_e2e
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/check-build-safety.sh ${TQ_PROGRAM_DIR} ${CMAKE_BINARY_DIR}/tools
          ${CMAKE_BINARY_DIR}/build-safety-e2e)
set_tests_properties(build_safety_e2e PROPERTIES TIMEOUT 900)

# The cabinet writer alone over a folder of files (bench/bench.sh's cabinet line).
add_executable(cabbench bench/cabbench.cpp)
target_link_libraries(cabbench PRIVATE tqcabinet)
