# Releases for Windows users, made by CPack from the install rules below: the per-user installer
# (NSIS, our own script in cmake/nsis) and the portable zip. scripts/package.sh runs it.
include(${CMAKE_CURRENT_LIST_DIR}/version.cmake)
if(NOT WIN32 OR NOT TARGET Keyvane)
  return()
endif()

# The program folder is flat: the program, its help and icon, and the texts a user reads first.
configure_file(${PROJECT_SOURCE_DIR}/docs/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS Keyvane RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/help/Keyvane.html ${PROJECT_SOURCE_DIR}/docs/help/Keyvanefaq.html
              ${CMAKE_BINARY_DIR}/Keyvane.Ico ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt
        DESTINATION .)

set(CPACK_PACKAGE_NAME Keyvane)
set(CPACK_PACKAGE_VENDOR Ostrel)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Keyvane macro utility")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(CPACK_PACKAGE_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(CPACK_PACKAGE_VERSION_PATCH ${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_INSTALL_DIRECTORY Keyvane)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_STRIP_FILES OFF)
# The installer and the zip get their own names (the file is read by CPack per generator).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_names.cmake)
# Extracting the zip gives the program folder itself, not a folder inside it.
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)

# Our NSIS script replaces CPack's, which installs for all users with administrator rights.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/nsis)
set(CPACK_KV_NSIS_DIR ${CMAKE_CURRENT_LIST_DIR}/nsis)
set(CPACK_KV_ICON ${PROJECT_SOURCE_DIR}/res/keyvane.ico)
set(CPACK_KV_DISPLAY_VERSION ${KV_DISPLAY_VERSION})
set(CPACK_KV_VERSION_QUAD ${KV_VERSION_QUAD})
# The addresses the program's tray menu opens.
set(CPACK_NSIS_URL_INFO_ABOUT "https://www.ostrel.example/")
set(CPACK_NSIS_HELP_LINK "https://www.ostrel.example/keyvane/support/")

include(CPack)
