# The installer's icon as files for the packages, drawn at build time by
# packaging/draw_icons.cc with the window's own drawing code (a Linux build
# with the Qt front end only):
#   build/icons/16.png, 32.png, 48.png   the Debian package's menu icon;
#   build/icons/clientzepo.ico           the Windows program's icon, which
#     the Windows build cannot draw (it has no Qt): a copy is kept in
#     packaging/windows/clientzepo.ico, and a test fails when that copy is
#     no longer what the drawing gives.
if(WIN32 OR NOT TARGET zepo_app)
  return()
endif()

set(ZEPO_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
add_executable(draw-icons ${CMAKE_CURRENT_SOURCE_DIR}/packaging/draw_icons.cc)
target_link_libraries(draw-icons PRIVATE zepo_app)
set_target_properties(draw-icons PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZEPO_ICON_DIR})
set(ZEPO_ICON_FILES ${ZEPO_ICON_DIR}/16.png ${ZEPO_ICON_DIR}/32.png ${ZEPO_ICON_DIR}/48.png
                    ${ZEPO_ICON_DIR}/clientzepo.ico)
add_custom_command(OUTPUT ${ZEPO_ICON_FILES}
  COMMAND draw-icons ${ZEPO_ICON_DIR}
  DEPENDS draw-icons
  COMMENT "Drawing the icon files" VERBATIM)
add_custom_target(icons ALL DEPENDS ${ZEPO_ICON_FILES})

if(ZEPO_BUILD_TESTS)
  set(checked_in ${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows/clientzepo.ico)
  add_test(NAME Icons.WindowsIconIsTheCurrentDrawing
    COMMAND sh -c "cmp -s \"$0\" \"$1\" || { echo \"$1 is not the icon drawn now: copy $0 over it\"; exit 1; }"
            ${ZEPO_ICON_DIR}/clientzepo.ico ${checked_in})
endif()
