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


# The benchmark driver of bench/bench.sh (not a test): the table steps and the
# cabinet phase.
add_executable(buildbench bench/buildbench.cpp)
target_link_libraries(buildbench PRIVATE tqbuildsteps tqbuildcabinet_project)


# The cabinet writer alone over a folder of files (bench/bench.sh's cabinet line).
add_executable(cabbench bench/cabbench.cpp)
target_link_libraries(cabbench PRIVATE tqcabinet)
