# The distribution: setup.ini, install.bat, Setup.zip turned into the
# self-extracting Setup.exe, and the floppy volumes (included by CMakeLists.txt).
add_library(tqdistribution STATIC DistributionLayout.cpp Distribution.cpp DistributionProject.cpp)
target_include_directories(tqdistribution PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tqdistribution PUBLIC tqbuildsteps tqzipsmith tqupdates)
