# The version block every shipped program and library carries. The number is the project's
# (project(... VERSION) in the top-level CMakeLists.txt), the one place it is written; the
# installer takes the same number (packaging/installer).
set(BRENIK_PRODUCT_NAME "Brenik Gaming Keyboard")
set(BRENIK_COMPANY "Brenik")
set(BRENIK_COPYRIGHT "Copyright (C) Brenik. All rights reserved.")

# brenik_version_resource(target "File description" "OriginalFilename.exe"): generates a
# small .rc with the VERSIONINFO and adds it to the target. A file holds one version block,
# so a second call for the same target stops the configuration.
function(brenik_version_resource target description original_filename)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(already ${target} BRENIK_VERSION_RESOURCE)
  if(already)
    message(FATAL_ERROR "brenik_version_resource: ${target} has a version block already")
  endif()
  foreach(text IN ITEMS "${description}" "${original_filename}")
    if(text STREQUAL "" OR text MATCHES "[\"\\\\]")
      message(FATAL_ERROR "brenik_version_resource(${target}): \"${text}\" must be non-empty, without quotes or backslashes")
    endif()
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(BRENIK_VR_TYPE VFT_DLL)
  else()
    set(BRENIK_VR_TYPE VFT_APP)
  endif()
  set(BRENIK_VR_TARGET "${target}")
  set(BRENIK_VR_DESCRIPTION "${description}")
  set(BRENIK_VR_FILE "${original_filename}")
  set(BRENIK_VR_NUMBERS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  set(rc "${CMAKE_BINARY_DIR}/version-resources/${target}_version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/version_resource.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
  set_target_properties(${target} PROPERTIES BRENIK_VERSION_RESOURCE "${original_filename}")
endfunction()
