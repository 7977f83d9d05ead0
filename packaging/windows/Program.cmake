# The Windows program: a GUI-subsystem exe (no console window when started by double-click)
# with the icon built in.
set_target_properties(octavane PROPERTIES WIN32_EXECUTABLE ON)
target_sources(octavane PRIVATE ${CMAKE_CURRENT_LIST_DIR}/octavane.rc)
