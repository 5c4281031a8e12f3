# The one version number is the project's VERSION. From it come the display version, whose third
# part is a letter (3.3.4 shows as "3.3d", 3.3.0 as "3.3"), and the generated header and manifest
# that the version resource and the about box use.
if(PROJECT_VERSION_PATCH GREATER 26)
  message(FATAL_ERROR "The version's third part (${PROJECT_VERSION_PATCH}) must be 0 to 26: it shows as a letter")
endif()
if(PROJECT_VERSION_PATCH EQUAL 0)
  set(KV_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
else()
  math(EXPR kv_letter_code "96 + ${PROJECT_VERSION_PATCH}")
  string(ASCII ${kv_letter_code} kv_letter)
  set(KV_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}${kv_letter}")
endif()
set(KV_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")

set(KV_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/res/kv_version.h.in ${KV_GENERATED_DIR}/kv_version.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/res/keyvane.manifest.in ${KV_GENERATED_DIR}/keyvane.manifest @ONLY)
# The about box (forms) and the version resource (the program) read the header.
if(TARGET kv_forms)
  target_include_directories(kv_forms PUBLIC ${KV_GENERATED_DIR})
endif()
if(TARGET Keyvane)
  target_include_directories(Keyvane PRIVATE ${KV_GENERATED_DIR})
endif()
# The resource compiler reports no dependencies: a new version must still rebuild the resource.
set_source_files_properties(${PROJECT_SOURCE_DIR}/res/keyvane.rc PROPERTIES OBJECT_DEPENDS
                            "${KV_GENERATED_DIR}/kv_version.h;${KV_GENERATED_DIR}/keyvane.manifest")
