# Installs the data files of KELVARN_PRODUCTION that the program reads, as
# KELVARN_PROGRAM --list-files names them, below
# CMAKE_INSTALL_PREFIX/KELVARN_DATA_DESTINATION with their relative paths.
# Set by the install(CODE) before it: KELVARN_PROGRAM, KELVARN_PRODUCTION,
# KELVARN_FILE_LIST, KELVARN_DATA_DESTINATION.
execute_process(
  COMMAND "${KELVARN_PROGRAM}" -C "${KELVARN_PRODUCTION}" --list-files "${KELVARN_FILE_LIST}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "kelvarn --list-files failed on '${KELVARN_PRODUCTION}' (status ${status}):\n${out}${err}")
endif()

file(STRINGS "${KELVARN_FILE_LIST}" files)
if(NOT files)
  message(FATAL_ERROR "kelvarn --list-files named no files of '${KELVARN_PRODUCTION}'")
endif()
foreach(file IN LISTS files)
  # A file outside the production's folder cannot be found at the same
  # relative path once installed.
  if(IS_ABSOLUTE "${file}" OR file MATCHES "(^|/)\\.\\.(/|$)")
    message(FATAL_ERROR "'${file}' lies outside the production's folder '${KELVARN_PRODUCTION}'; "
                        "a release carries only files below it")
  endif()
  get_filename_component(folder "${file}" DIRECTORY)
  file(INSTALL "${KELVARN_PRODUCTION}/${file}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${KELVARN_DATA_DESTINATION}/${folder}")
endforeach()
list(LENGTH files count)
message(STATUS "Installed the ${count} data files of '${KELVARN_PRODUCTION}'")
