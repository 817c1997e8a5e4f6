# Writes the winget manifest set for the built installer: the version, the
# default-locale and the installer manifest, with the installer's SHA-256.
# Run by the packages target:
#   cmake -DSETUP=<setup.exe> -DOUT=<folder> -DVARIABLES=<manifest-variables.cmake> -P make-manifests.cmake
foreach(required SETUP OUT VARIABLES)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "make-manifests.cmake: ${required} is not set")
  endif()
endforeach()
include("${VARIABLES}")

file(SHA256 "${SETUP}" TOVIK_SETUP_SHA256)
string(TOUPPER "${TOVIK_SETUP_SHA256}" TOVIK_SETUP_SHA256)

file(REMOVE_RECURSE "${OUT}")
set(templates "${CMAKE_CURRENT_LIST_DIR}/winget")
configure_file("${templates}/version.yaml.in" "${OUT}/${TOVIK_PRODUCT_CODE}.yaml" @ONLY)
configure_file("${templates}/locale.de-DE.yaml.in" "${OUT}/${TOVIK_PRODUCT_CODE}.locale.de-DE.yaml" @ONLY)
configure_file("${templates}/installer.yaml.in" "${OUT}/${TOVIK_PRODUCT_CODE}.installer.yaml" @ONLY)
