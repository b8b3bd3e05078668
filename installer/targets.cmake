# The release packages (scripts/release.sh) tested under Wine: zip contents,
# silent install into a fresh prefix, a compile in the installed folder, silent
# uninstall.
if(QX_WINDOWS)
  add_test(NAME ReleasePackagesInstallAndUninstall
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/test-release.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(ReleasePackagesInstallAndUninstall PROPERTIES
    RESOURCE_LOCK wine_desktop TIMEOUT 300 LABELS e2e)
endif()
