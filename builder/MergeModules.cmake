# Merge modules (included by CMakeLists.txt): merging modules into the package
# during the cabinet phase, and the module signature of merge-module projects.
# One merge, given everything it needs (no window):
add_library(tqbuildmerge_job STATIC MergeModules.cpp)
target_include_directories(tqbuildmerge_job PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tqbuildmerge_job PUBLIC tqmsmmerge tqbuildcabinet tqcabinet)
# ... and the merges of the open project, read from the main window.
add_library(tqbuildmerge STATIC MergeItemBuild.cpp)
target_link_libraries(tqbuildmerge PUBLIC tqbuildmerge_job tqbuildsteps tqworkspace_ui shell32)
