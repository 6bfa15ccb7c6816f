# Merge modules (included by CMakeLists.txt): merging modules into the package
# during the cabinet phase, and the module signature of merge-module projects.
# One merge, given everything it needs (no window):
add_library(tqbuildmerge_job STATIC MergeModules.cpp)
target_include_directories(tqbuildmerge_job PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tqbuildmerge_job PUBLIC tqmsmmerge tqbuildcabinet tqcabinet)
# ... and the merges of the open project, read from the main window.
add_library(tqbuildmerge STATIC MergeItemBuild.cpp)
target_link_libraries(tqbuildmerge PUBLIC tqbuildmerge_job tqbuildsteps tqworkspace_ui shell32)

# A merge module made by msitools from text tables, its cabinet by gcab: three
# files in a directory of its own, a sub-folder and TARGETDIR, a registry row,
# two custom actions in its execute sequence and a property.
set(TQ_MERGE_FIXTURE_DIR ${CMAKE_BINARY_DIR}/merge-fixture)
set(TQ_MERGE_FIXTURE_SUFFIX 7D2C0E4A_9B31_4F6E_A5D8_3C1B2E9F4A60)
file(MAKE_DIRECTORY ${TQ_MERGE_FIXTURE_DIR}/files ${TQ_MERGE_FIXTURE_DIR}/tables)
string(REPEAT "The first file a merged module brings.\r\n" 300 fixture_one)
string(REPEAT "0123456789abcdef" 4096 fixture_two)
file(WRITE ${TQ_MERGE_FIXTURE_DIR}/files/FixFile1.${TQ_MERGE_FIXTURE_SUFFIX} "${fixture_one}")
file(WRITE ${TQ_MERGE_FIXTURE_DIR}/files/FixFile2.${TQ_MERGE_FIXTURE_SUFFIX} "${fixture_two}")
file(WRITE ${TQ_MERGE_FIXTURE_DIR}/files/FixFile3.${TQ_MERGE_FIXTURE_SUFFIX} "three\r\n")
# File rows: the module's Sequence order (2, 1, 3) differs from its key order.
set(fixture_file_rows "File\tComponent_\tFileName\tFileSize\tVersion\tLanguage\tAttributes\tSequence\n"
    "s72\ts72\tl255\ti4\tS72\tS20\tI2\ti2\nFile\tFile\n")
foreach(entry "1;one.txt;2" "2;two.dat;1" "3;three.txt;3")
  list(GET entry 0 n)
  list(GET entry 1 name)
  list(GET entry 2 sequence)
  file(SIZE ${TQ_MERGE_FIXTURE_DIR}/files/FixFile${n}.${TQ_MERGE_FIXTURE_SUFFIX} size)
  string(APPEND fixture_file_rows
    "FixFile${n}.${TQ_MERGE_FIXTURE_SUFFIX}\tFixComp${n}.${TQ_MERGE_FIXTURE_SUFFIX}\t${name}\t${size}\t\t\t0\t${sequence}\n")
endforeach()
file(WRITE ${TQ_MERGE_FIXTURE_DIR}/tables/File.idt ${fixture_file_rows})
file(GLOB fixture_tables CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/merge-fixture/*.idt)
set(fixture_imports -i ${TQ_MERGE_FIXTURE_DIR}/tables/File.idt)
foreach(t ${fixture_tables})
  list(APPEND fixture_imports -i ${t})
endforeach()
set(fixture_msm ${TQ_MERGE_FIXTURE_DIR}/fixture.msm)
add_custom_command(OUTPUT ${fixture_msm}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${fixture_msm} ${TQ_MERGE_FIXTURE_DIR}/fixture.cab
  COMMAND gcab -cz ${TQ_MERGE_FIXTURE_DIR}/fixture.cab
          FixFile2.${TQ_MERGE_FIXTURE_SUFFIX} FixFile1.${TQ_MERGE_FIXTURE_SUFFIX} FixFile3.${TQ_MERGE_FIXTURE_SUFFIX}
  COMMAND ${TQ_MSIBUILD} ${fixture_msm} ${fixture_imports}
          -a MergeModule.CABinet ${TQ_MERGE_FIXTURE_DIR}/fixture.cab
  WORKING_DIRECTORY ${TQ_MERGE_FIXTURE_DIR}/files
  DEPENDS ${fixture_tables} ${CMAKE_CURRENT_SOURCE_DIR}/MergeModules.cmake
  COMMENT "Making the fixture merge module with msibuild and gcab" VERBATIM)
add_custom_target(merge_fixture_module ALL DEPENDS ${fixture_msm})

# The merge-module object and the merge of one module, on packages the
# cabinet-phase tests prepare; Windows Installer installs a merged package.
tq_add_gtest(merge_tests
  SOURCES tests/MsmMergeTest.cpp tests/MergeModuleTest.cpp
  LIBS tqbuildmerge_job)
add_dependencies(merge_tests tq_program_data merge_fixture_module)
# Peers: msitools reads a package with the fixture merged in.
set(TQ_MERGE_PEER_DIR ${CMAKE_BINARY_DIR}/merge-peer)
tq_add_peer_check(merge_peer_msitools WRITER merge_peer_write merge_tests MergeModuleTest.WritesMergedPackageForPeers
  FOLDER ${TQ_MERGE_PEER_DIR} ENV TQ_PEER_MERGE_DIR
  CHECK sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/check-peer-merge.sh ${TQ_MERGE_PEER_DIR} ${TQ_MERGE_FIXTURE_DIR}/files)

# Merges through the Build button on a real main window, and merge-module
# projects built, saved, loaded and merged.
tq_add_gtest(merge_project_tests
  SOURCES tests/BuildFixture.cpp tests/MergeProjectTest.cpp
  LIBS tqbuildcommand tqbuildmerge)
add_dependencies(merge_project_tests tq_program_data merge_fixture_module)

# The real Tarnquill window, driven from outside: a merge-module project edited,
# built, saved, reopened and built; the example package takes the module in
# and installs it.
add_test(NAME merge_module_project_drive
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/check-module-project.sh ${TQ_PROGRAM_DIR} ${CMAKE_BINARY_DIR}/tools
          ${CMAKE_BINARY_DIR}/merge-module-project)
# It installs the example product, as other checks do: one at a time.
set_tests_properties(merge_module_project_drive PROPERTIES TIMEOUT 600 RESOURCE_LOCK WindowsInstaller)
