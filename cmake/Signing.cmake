# Signs meadowbrookgate_setup.exe in place as the last step of building it
# (cmake/SignProgram.cmake does the signing): with the PKCS#12 file
# MBG_SIGNING_CERT and the password in MBG_SIGNING_PASSWORD_FILE, or, when
# MBG_SIGNING_KEY is set, with that key on a token through the PKCS#11
# module MBG_SIGNING_PKCS11_MODULE, the certificate chain MBG_SIGNING_CERT
# and the token's PIN in MBG_SIGNING_PASSWORD_FILE.
set(signing_files MBG_SIGNING_CERT MBG_SIGNING_PASSWORD_FILE)
set(signing_needs "MBG_SIGNING_CERT, a .p12/.pfx file, and MBG_SIGNING_PASSWORD_FILE, a file "
                  "holding its password")
if(NOT MBG_SIGNING_KEY STREQUAL "")
  list(APPEND signing_files MBG_SIGNING_PKCS11_MODULE)
  set(signing_needs "MBG_SIGNING_PKCS11_MODULE, the token's PKCS#11 library, MBG_SIGNING_CERT, "
                    "the certificate chain as PEM, and MBG_SIGNING_PASSWORD_FILE, a file "
                    "holding the token's PIN")
endif()
foreach(setting IN LISTS signing_files)
  if(${setting} STREQUAL "" OR NOT EXISTS "${${setting}}" OR IS_DIRECTORY "${${setting}}")
    message(FATAL_ERROR "${setting} names no file: '${${setting}}'. Signing needs "
                        ${signing_needs} ".")
  endif()
endforeach()
find_program(OSSLSIGNCODE osslsigncode)
find_program(OPENSSL openssl)
if(NOT OSSLSIGNCODE OR NOT OPENSSL)
  message(FATAL_ERROR "Signing needs osslsigncode and openssl; scripts/bootstrap installs them.")
endif()
if(NOT MBG_SIGNING_KEY STREQUAL "")
  execute_process(COMMAND ${OPENSSL} version -e OUTPUT_VARIABLE engines)
  string(REGEX MATCH "\"([^\"]*)\"" engines "${engines}")
  if(NOT EXISTS "${CMAKE_MATCH_1}/pkcs11.so")
    message(FATAL_ERROR "Signing through a token needs OpenSSL's pkcs11 engine (Debian: "
                        "libengine-pkcs11-openssl); scripts/bootstrap installs it.")
  endif()
endif()

# A PKCS#11 URI separates its parts with ";", which CMake would take for a
# list and split into several arguments.
string(REPLACE ";" "$<SEMICOLON>" key_argument "${MBG_SIGNING_KEY}")

# A new certificate, password or PIN relinks and signs again; a file that
# goes missing makes configuring run again and say so.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${MBG_SIGNING_CERT}" "${MBG_SIGNING_PASSWORD_FILE}")
set_property(TARGET meadowbrookgate_setup APPEND PROPERTY LINK_DEPENDS
             "${MBG_SIGNING_CERT}" "${MBG_SIGNING_PASSWORD_FILE}")
add_custom_command(TARGET meadowbrookgate_setup POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:meadowbrookgate_setup>
          -DCERT=${MBG_SIGNING_CERT} -DPASSWORD_FILE=${MBG_SIGNING_PASSWORD_FILE}
          -DKEY=${key_argument} -DMODULE=${MBG_SIGNING_PKCS11_MODULE}
          -DURL=https://${MBG_WEBSITE_HOST} -DTIMESTAMP_URL=${MBG_TIMESTAMP_URL}
          -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOPENSSL=${OPENSSL} -DOSSLSIGNCODE=${OSSLSIGNCODE}
          -P ${CMAKE_SOURCE_DIR}/cmake/SignProgram.cmake
  COMMENT "Signing meadowbrookgate_setup.exe with ${MBG_SIGNING_CERT}"
  VERBATIM)
