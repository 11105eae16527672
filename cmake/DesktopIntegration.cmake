# The program at home on a desktop: the menu entry, the icon (in the icon theme and as every
# window's icon), the software-centre metadata, the manual pages and the shell completion of
# halcyra-cli. Installed only for a system install; the flat program folder has no menu.
include(GNUInstallDirs)

set(HALCYRA_APP_ID org.halcyra.Halcyra)
set(HALCYRA_DESKTOP_EXEC halcyra)
set(halcyra_desktop_source_dir ${CMAKE_SOURCE_DIR}/share/linux)
set(halcyra_desktop_build_dir ${CMAKE_BINARY_DIR}/share/linux)
set(halcyra_desktop_icon ${halcyra_desktop_source_dir}/${HALCYRA_APP_ID}.svg)

configure_file(${halcyra_desktop_source_dir}/${HALCYRA_APP_ID}.desktop.in
  ${halcyra_desktop_build_dir}/${HALCYRA_APP_ID}.desktop @ONLY)
configure_file(${halcyra_desktop_source_dir}/${HALCYRA_APP_ID}.metainfo.xml.in
  ${halcyra_desktop_build_dir}/${HALCYRA_APP_ID}.metainfo.xml @ONLY)

# The window icon travels inside the binaries, so a window has it wherever the program runs.
# BuRest links no window library of ours: it links the icon's resource objects on their own.
qt_add_resources(halcyra_windows halcyra_icon
  PREFIX "/icons"
  BASE ${halcyra_desktop_source_dir}
  FILES ${halcyra_desktop_icon}
  OUTPUT_TARGETS window_icon_objects)
target_link_libraries(BuRest PRIVATE ${window_icon_objects})

# Manual pages compressed as Debian wants them: best compression, no name or time stamp in the
# header, so the same page gives the same bytes.
find_program(HALCYRA_GZIP gzip REQUIRED)
set(man_pages halcyra halcyra-cli BuRest)
set(man_build_dir ${CMAKE_BINARY_DIR}/share/man/man1)
set(compressed_man_pages "")
foreach(page IN LISTS man_pages)
  set(compressed ${man_build_dir}/${page}.1.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/share/man/${page}.1
      ${man_build_dir}/${page}.1
    COMMAND ${HALCYRA_GZIP} -9nf ${man_build_dir}/${page}.1
    DEPENDS ${CMAKE_SOURCE_DIR}/share/man/${page}.1
    COMMENT "Compressing the manual page ${page}(1)"
    VERBATIM)
  list(APPEND compressed_man_pages ${compressed})
endforeach()
add_custom_target(halcyra_man_pages ALL DEPENDS ${compressed_man_pages})

# The desktop-file test reads the configured files; the tests are added after this file runs.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _halcyra_point_desktop_test)
function(_halcyra_point_desktop_test)
  if(TARGET e2e_tst_desktop_files)
    target_compile_definitions(e2e_tst_desktop_files PRIVATE
      HALCYRA_DESKTOP_BUILD_DIR="${halcyra_desktop_build_dir}" HALCYRA_APP_ID="${HALCYRA_APP_ID}")
  endif()
endfunction()

if(HALCYRA_SYSTEM_INSTALL)
  install(FILES ${halcyra_desktop_build_dir}/${HALCYRA_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${halcyra_desktop_icon}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${halcyra_desktop_build_dir}/${HALCYRA_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${compressed_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_SOURCE_DIR}/share/completions/halcyra-cli.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME halcyra-cli)
endif()
