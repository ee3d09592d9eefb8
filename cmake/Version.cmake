# The release's version comes from the file VERSION at the top of the tree: the version file
# beside the program, the version information of every executable and library, and the names
# of the zips and installers (scripts/make-dist) all read it there.
file(READ ${PROJECT_SOURCE_DIR}/VERSION TASTRON_VERSION)
string(STRIP "${TASTRON_VERSION}" TASTRON_VERSION)
if(NOT TASTRON_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "VERSION holds \"${TASTRON_VERSION}\"; it must read MAJOR.MINOR.PATCH, "
                      "three numbers such as 1.0.0")
endif()
set(TASTRON_VERSION_MAJOR ${CMAKE_MATCH_1})
set(TASTRON_VERSION_MINOR ${CMAKE_MATCH_2})
set(TASTRON_VERSION_PATCH ${CMAKE_MATCH_3})
foreach(part MAJOR MINOR PATCH)
  # Each field of a resource's version is 16 bits wide.
  if(TASTRON_VERSION_${part} GREATER 65535)
    message(FATAL_ERROR "VERSION holds \"${TASTRON_VERSION}\"; each number must be at most 65535")
  endif()
endforeach()
# A new VERSION configures the build again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/VERSION)

# tastron_version_resource(TARGET DESCRIPTION): the version information of TARGET's file, with
# DESCRIPTION as the text that Explorer and the task manager show for it.
function(tastron_version_resource target description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(TASTRON_FILE_TYPE VFT_DLL)
    set(extension .dll)
  else()
    set(TASTRON_FILE_TYPE VFT_APP)
    set(extension .exe)
  endif()
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(TASTRON_FILE_NAME ${name}${extension})
  set(TASTRON_FILE_DESCRIPTION "${description}")
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/VersionInfo.rc.in ${resource} @ONLY)
  target_sources(${target} PRIVATE ${resource})
endfunction()
