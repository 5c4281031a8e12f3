# Read by CPack once per generator: Keyvane-<version>-setup.exe and Keyvane-<version>-portable.zip.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "Keyvane-${CPACK_PACKAGE_VERSION}-setup")
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "Keyvane-${CPACK_PACKAGE_VERSION}-portable")
endif()
