# Releases for Windows users. The one version number comes first: everything shipped shows it.
include(${CMAKE_CURRENT_LIST_DIR}/version.cmake)
