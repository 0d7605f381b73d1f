# Signs the program in place with the vendor's code-signing certificate:
# Authenticode, SHA-256, the product's website as the signature's URL.
# Run by the build right after linking:
#   cmake -DPROGRAM=... -DCERT=... -DPASSWORD_FILE=... -DURL=... [-DTIMESTAMP_URL=...]
#         -DSOURCE_DIR=... -DOPENSSL=... -DOSSLSIGNCODE=... -P SignProgram.cmake
# The password is read from PASSWORD_FILE by openssl and osslsigncode
# themselves; it never appears on a command line or in the build's output.
# Any failure removes the program, so that no unsigned or half-signed file
# stays under its name, and the next build links and signs it again. That
# both files exist is checked when configuring (cmake/Signing.cmake), which
# runs again whenever either goes missing.
cmake_minimum_required(VERSION 3.25)

get_filename_component(program_name "${PROGRAM}" NAME)
set(signing "${PROGRAM}.signing")

# The parts of the message are joined as they stand (CMake drops a ";" in them).
function(fail_signing)
  string(JOIN "" problem ${ARGV})
  file(REMOVE "${PROGRAM}" "${signing}")
  message(FATAL_ERROR "Signing ${program_name} failed: ${problem}\n"
                      "The unsigned program was removed; the next build signs it again.")
endfunction()

# The certificate that goes with the key, and what it may be used for.
# -legacy also reads files exported by older Windows versions, whose ciphers
# OpenSSL 3 keeps in its legacy provider.
execute_process(
  COMMAND "${OPENSSL}" pkcs12 -legacy -in "${CERT}" -passin "file:${PASSWORD_FILE}" -nokeys
          -clcerts
  COMMAND "${OPENSSL}" x509 -noout -subject -ext extendedKeyUsage
  RESULTS_VARIABLE results OUTPUT_VARIABLE certificate ERROR_VARIABLE errors)
if(NOT results STREQUAL "0;0")
  if(errors MATCHES "invalid password|mac verify")
    # openssl and osslsigncode take the first line up to LF: a CR before it
    # would count as part of the password.
    file(READ "${PASSWORD_FILE}" bytes HEX)
    set(hint "")
    if(bytes MATCHES "^([0-9a-f][0-9a-f])*0d0a")
      set(hint " The file ends its line with CR LF: save it with a plain LF.")
    endif()
    fail_signing("the password in '${PASSWORD_FILE}' does not open '${CERT}' (wrong password).${hint}")
  endif()
  string(REGEX MATCH "[^\n]+" errors "${errors}")
  fail_signing("'${CERT}' is not a readable PKCS#12 file with a certificate and its key "
               "(openssl: ${errors}).")
endif()
string(REGEX MATCH "subject=[^\n]*" subject "${certificate}")
if(NOT certificate MATCHES "Extended Key Usage:[^\n]*\n[^\n]*Code Signing")
  string(REGEX MATCH "Extended Key Usage:[^\n]*\n *([^\n]*)" usage "${certificate}")
  if(usage)
    set(usage "its extended key usage is '${CMAKE_MATCH_1}'")
  else()
    set(usage "it has no extended key usage")
  endif()
  fail_signing("the certificate in '${CERT}' (${subject}) is not for code signing: ${usage}.")
endif()

# The signing time is fixed by the sources, so that two signed builds of one
# commit with one certificate are byte-identical.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(signing_time "$ENV{SOURCE_DATE_EPOCH}")
  if(NOT signing_time MATCHES "^[0-9]+$")
    fail_signing("SOURCE_DATE_EPOCH must be a count of seconds, not '${signing_time}'.")
  endif()
else()
  execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct
                  RESULT_VARIABLE result OUTPUT_VARIABLE signing_time ERROR_QUIET
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT result EQUAL 0 OR NOT signing_time MATCHES "^[0-9]+$")
    string(TIMESTAMP signing_time "%s" UTC)
    message(STATUS "No SOURCE_DATE_EPOCH and no commit: signing with the current time, "
                   "so this signed program is not reproducible")
  endif()
endif()

set(timestamp)
set(stamp "")
if(NOT TIMESTAMP_URL STREQUAL "")
  set(timestamp -ts "${TIMESTAMP_URL}")
  set(stamp " with a time stamp from ${TIMESTAMP_URL}")
endif()
file(REMOVE "${signing}")
execute_process(
  COMMAND "${OSSLSIGNCODE}" sign -pkcs12 "${CERT}" -readpass "${PASSWORD_FILE}" -h sha256
          -n "meadowbrookgate_setup" -i "${URL}" -time "${signing_time}" ${timestamp}
          -in "${PROGRAM}" -out "${signing}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS "${signing}")
  string(STRIP "${output}" output)
  fail_signing("osslsigncode could not sign it${stamp}:\n${output}")
endif()
file(CHMOD "${signing}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(RENAME "${signing}" "${PROGRAM}")
file(SIZE "${PROGRAM}" size)
string(REPLACE "subject=" "" subject "${subject}")
message(STATUS "Signed ${program_name} (${size} bytes) for ${subject}: SHA-256, signing time "
               "${signing_time}${stamp}")
