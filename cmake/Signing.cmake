# Signs meadowbrookgate_setup.exe in place as the last step of building it,
# with the PKCS#12 file MBG_SIGNING_CERT and the password in the file
# MBG_SIGNING_PASSWORD_FILE (cmake/SignProgram.cmake does the signing).
foreach(setting IN ITEMS MBG_SIGNING_CERT MBG_SIGNING_PASSWORD_FILE)
  if(${setting} STREQUAL "" OR NOT EXISTS "${${setting}}" OR IS_DIRECTORY "${${setting}}")
    message(FATAL_ERROR "${setting} names no file: '${${setting}}'. Signing needs "
                        "MBG_SIGNING_CERT, a .p12/.pfx file, and MBG_SIGNING_PASSWORD_FILE, "
                        "a file holding its password.")
  endif()
endforeach()
find_program(OSSLSIGNCODE osslsigncode)
find_program(OPENSSL openssl)
if(NOT OSSLSIGNCODE OR NOT OPENSSL)
  message(FATAL_ERROR "Signing needs osslsigncode and openssl; scripts/bootstrap installs them.")
endif()

# A new certificate or password relinks and signs again; a file that goes
# missing makes configuring run again and say so.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${MBG_SIGNING_CERT}" "${MBG_SIGNING_PASSWORD_FILE}")
set_property(TARGET meadowbrookgate_setup APPEND PROPERTY LINK_DEPENDS
             "${MBG_SIGNING_CERT}" "${MBG_SIGNING_PASSWORD_FILE}")
add_custom_command(TARGET meadowbrookgate_setup POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:meadowbrookgate_setup>
          -DCERT=${MBG_SIGNING_CERT} -DPASSWORD_FILE=${MBG_SIGNING_PASSWORD_FILE}
          -DURL=https://${MBG_WEBSITE_HOST} -DTIMESTAMP_URL=${MBG_TIMESTAMP_URL}
          -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOPENSSL=${OPENSSL} -DOSSLSIGNCODE=${OSSLSIGNCODE}
          -P ${CMAKE_SOURCE_DIR}/cmake/SignProgram.cmake
  COMMENT "Signing meadowbrookgate_setup.exe with ${MBG_SIGNING_CERT}"
  VERBATIM)
