# The Windows program: a window program (no console opens with it), with its
# icon and file properties. scripts/windows puts the folder a user runs together.
set_target_properties(valmerin PROPERTIES WIN32_EXECUTABLE ON)
set(VALMERIN_ICON ${CMAKE_SOURCE_DIR}/packaging/icons/valmerin.ico)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/valmerin.rc.in
               ${CMAKE_BINARY_DIR}/valmerin.rc @ONLY)
target_sources(valmerin PRIVATE ${CMAKE_BINARY_DIR}/valmerin.rc)
