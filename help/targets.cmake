# The help file "quellanix.chm", compiled from help/ into the ready-to-run folder.
if(QX_WINDOWS)
  find_program(QX_CHMCMD chmcmd REQUIRED)
  file(GLOB QX_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.html
       ${CMAKE_CURRENT_LIST_DIR}/*.css ${CMAKE_CURRENT_LIST_DIR}/*.hh? ${CMAKE_CURRENT_LIST_DIR}/images/*)
  set(qx_help_work ${CMAKE_BINARY_DIR}/help)
  add_custom_command(
    OUTPUT ${QX_DIST_DIR}/quellanix.chm
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${qx_help_work}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_LIST_DIR} ${qx_help_work}
    COMMAND ${CMAKE_COMMAND} -E chdir ${qx_help_work} ${QX_CHMCMD} quellanix.hhp
    COMMAND ${CMAKE_COMMAND} -E copy ${qx_help_work}/quellanix.chm ${QX_DIST_DIR}/quellanix.chm
    DEPENDS ${QX_HELP_SOURCES}
    COMMENT "Compiling the help file")
  add_custom_target(help_file ALL DEPENDS ${QX_DIST_DIR}/quellanix.chm)
  # A valid compiled help file that holds every page the project lists.
  add_test(NAME HelpFileHoldsEveryPage
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-help.sh ${QX_DIST_DIR}/quellanix.chm
                   ${CMAKE_CURRENT_LIST_DIR}/quellanix.hhp)
endif()
