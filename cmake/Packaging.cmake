# What `cmake --install` and CPack ship. Windows: the program folder a user unzips (the program,
# its help file, the console converter and a read-me), stripped. Linux: gvi2avi with its man
# page, as a Debian package.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vexlar")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

if(WIN32)
  # Notepad on older Windows shows only CR LF line ends.
  configure_file(${PROJECT_SOURCE_DIR}/resources/ReadMe.txt.in ${PROJECT_BINARY_DIR}/ReadMe.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS VexlarGVIConverter gvi2avi RUNTIME DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/app/help.chm ${PROJECT_BINARY_DIR}/ReadMe.txt DESTINATION .)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(bits 32)
  else()
    set(bits 64)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME VexlarGVIConverter-${PROJECT_VERSION}-win${bits})
  # The files at the top of the archive: Windows' "Extract All" makes the folder itself.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  include(GNUInstallDirs)
  install(TARGETS gvi2avi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  find_program(HELP2MAN help2man)
  if(HELP2MAN)
    # The man page is the tool's own --help and --version, so the two cannot disagree.
    set(man ${PROJECT_BINARY_DIR}/cli/gvi2avi.1.gz)
    add_custom_command(OUTPUT ${man}
      COMMAND sh -c "\"$0\" --no-info --name='convert Google Video files into AVI files' \"$1\" | gzip -9n >\"$2\""
              ${HELP2MAN} $<TARGET_FILE:gvi2avi> ${man}
      DEPENDS gvi2avi
      COMMENT "Writing the gvi2avi man page"
      VERBATIM)
    add_custom_target(gvi2avi_man ALL DEPENDS ${man})
    install(FILES ${man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    message(WARNING "help2man not found (scripts/setup installs it): no man page")
  endif()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME gvi2avi)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Convert Google Video (.gvi) files into AVI files, byte for byte")
  set(CPACK_PACKAGE_CONTACT "Vexlar <support@vexlar.com>")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION video)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
