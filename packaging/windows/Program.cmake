# The Windows program: a GUI-subsystem exe (no console window when started by double-click)
# with its icon, manifest and version information built in, the version being the project's.
set_target_properties(octavane PROPERTIES WIN32_EXECUTABLE ON)
set(OCTAVANE_RC_DIR ${CMAKE_CURRENT_LIST_DIR})
set(OCTAVANE_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/octavane.manifest)
# Windows versions have four numbers; the project's three and a zero.
set(OCTAVANE_FILE_VERSION_COMMAS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(OCTAVANE_FILE_VERSION_DOTS
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
configure_file(${CMAKE_CURRENT_LIST_DIR}/octavane.manifest.in ${OCTAVANE_MANIFEST} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/octavane.rc.in ${CMAKE_CURRENT_BINARY_DIR}/octavane.rc
               @ONLY)
target_sources(octavane PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/octavane.rc)
# The resource compiler does not see that the resource file reads these.
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/octavane.rc PROPERTIES OBJECT_DEPENDS
  "${OCTAVANE_MANIFEST};${CMAKE_CURRENT_LIST_DIR}/octavane.ico")
