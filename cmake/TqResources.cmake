# Resources of the Windows programs: window layouts, message tables, images.
# A library owns the resources of the code it holds; they go into every program
# that links it, so no program lists another library's resources.
#
# tq_add_layouts(<target> <layout files...>)
#   Compiles each layout text file into an RCDATA resource named after the file
#   (without its extension, upper case), for TForm::LoadLayoutResource. On a
#   program the resources go into that program; on a library into every
#   program that links the library.
#
# tq_add_resources(<library> <resource script> [DEPENDS <files...>])
#   A resource script of a library (generated or written by hand), compiled
#   once and put into every program that links the library. DEPENDS: files the
#   script names, which compile it again when they change.

# The script's object goes into the consumers (a resource is never pulled out
# of a static library: nothing refers to it by symbol).
# The object library is named <objects>.
function(tq_library_resource_object library objects script deps)
  add_library(${objects} OBJECT ${script})
  if(deps)
    set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${deps}")
  endif()
  target_sources(${library} INTERFACE $<TARGET_OBJECTS:${objects}>)
endfunction()

function(tq_add_resources library script)
  cmake_parse_arguments(R "" "" "DEPENDS" ${ARGN})
  get_filename_component(abs ${script} ABSOLUTE)
  get_filename_component(stem ${script} NAME_WE)
  tq_library_resource_object(${library} ${library}_res_${stem} ${abs} "${R_DEPENDS}")
endfunction()

function(tq_add_layouts target)
  set(content "")
  set(deps "")
  set(names "")
  foreach(f ${ARGN})
    get_filename_component(abs ${f} ABSOLUTE)
    list(APPEND deps ${abs})
    get_filename_component(stem ${f} NAME_WE)
    string(TOUPPER ${stem} name)
    string(TOLOWER ${stem} lower)
    list(APPEND names ${lower})
    string(APPEND content "${name} RCDATA \"${abs}\"\n")
  endforeach()
  list(GET names 0 first)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_layouts_${first}.rc)
  file(GENERATE OUTPUT ${rc} CONTENT "${content}")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    tq_library_resource_object(${target} ${target}_layouts_${first} ${rc} "${deps}")
  else()
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${deps}")
  endif()
endfunction()
