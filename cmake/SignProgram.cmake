# Signs the program in place with the vendor's code-signing certificate:
# Authenticode, SHA-256, the product's website as the signature's URL.
# Run by the build right after linking:
#   cmake -DPROGRAM=... -DCERT=... -DPASSWORD_FILE=... [-DKEY=... -DMODULE=...]
#         -DURL=... [-DTIMESTAMP_URL=...] -DSOURCE_DIR=... -DOPENSSL=... -DOSSLSIGNCODE=...
#         -P SignProgram.cmake
# Without KEY, CERT is a PKCS#12 file holding the key and PASSWORD_FILE its
# password. With KEY, a PKCS#11 URI, the key stays on the vendor's token,
# reached through the PKCS#11 library MODULE and OpenSSL's engine "pkcs11"
# (by its name: osslsigncode 2.5 can't load it by its path);
# CERT is then the certificate chain as PEM and PASSWORD_FILE the token's
# PIN. The password or PIN is read from its file by openssl and
# osslsigncode themselves; it never appears on a command line or in the
# build's output. The PIN is tried once only: the checks before signing
# read the token's public key, which needs no PIN, because tokens lock
# after a few wrong PINs.
# Any failure removes the program, so that no unsigned or half-signed file
# stays under its name, and the next build links and signs it again. That
# the files exist is checked when configuring (cmake/Signing.cmake), which
# runs again whenever one goes missing.
cmake_minimum_required(VERSION 3.25)

get_filename_component(program_name "${PROGRAM}" NAME)
set(signing "${PROGRAM}.signing")

# The parts of the message are joined as they stand, one by one: taken as
# a list, they would lose the ";" of a PKCS#11 URI.
function(fail_signing)
  set(problem "")
  math(EXPR last "${ARGC} - 1")
  foreach(i RANGE ${last})
    string(APPEND problem "${ARGV${i}}")
  endforeach()
  file(REMOVE "${PROGRAM}" "${signing}")
  message(FATAL_ERROR "Signing ${program_name} failed: ${problem}\n"
                      "The unsigned program was removed; the next build signs it again.")
endfunction()

# openssl and osslsigncode take the first line up to LF: a CR before it
# would count as part of the password or PIN.
function(fail_wrong_secret what opens)
  file(READ "${PASSWORD_FILE}" bytes HEX)
  set(hint "")
  if(bytes MATCHES "^([0-9a-f][0-9a-f])*0d0a")
    set(hint " The file ends its line with CR LF: save it with a plain LF.")
  endif()
  fail_signing("the ${what} in '${PASSWORD_FILE}' does not open ${opens} (wrong ${what}).${hint}")
endfunction()

function(first_line text result)
  string(REGEX MATCH "[^\n]+" line "${text}")
  set(${result} "${line}" PARENT_SCOPE)
endfunction()

if(KEY STREQUAL "")
  # The certificate that goes with the key, and what it may be used for.
  # -legacy also reads files exported by older Windows versions, whose
  # ciphers OpenSSL 3 keeps in its legacy provider.
  execute_process(
    COMMAND "${OPENSSL}" pkcs12 -legacy -in "${CERT}" -passin "file:${PASSWORD_FILE}" -nokeys
            -clcerts
    COMMAND "${OPENSSL}" x509 -noout -subject -ext extendedKeyUsage
    RESULTS_VARIABLE results OUTPUT_VARIABLE certificate ERROR_VARIABLE errors)
  if(NOT results STREQUAL "0;0")
    if(errors MATCHES "invalid password|mac verify")
      fail_wrong_secret(password "'${CERT}'")
    endif()
    first_line("${errors}" errors)
    fail_signing("'${CERT}' is not a readable PKCS#12 file with a certificate and its key "
                 "(openssl: ${errors}).")
  endif()
  set(credentials -pkcs12 "${CERT}")
else()
  # The signing certificate is the chain's first; its public key must be the
  # token key's, which the token gives without a PIN.
  execute_process(COMMAND "${OPENSSL}" x509 -in "${CERT}" -noout -subject -ext extendedKeyUsage
                  RESULT_VARIABLE result OUTPUT_VARIABLE certificate ERROR_VARIABLE errors)
  execute_process(COMMAND "${OPENSSL}" x509 -in "${CERT}" -noout -pubkey
                  OUTPUT_VARIABLE certificate_key ERROR_QUIET)
  if(NOT result EQUAL 0)
    first_line("${errors}" errors)
    fail_signing("'${CERT}' is not a PEM file with the signing certificate first (openssl: ${errors}).")
  endif()
  if(NOT EXISTS "${MODULE}")
    fail_signing("the PKCS#11 module '${MODULE}' is not there.")
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "PKCS11_MODULE_PATH=${MODULE}"
            "${OPENSSL}" pkey -engine pkcs11 -inform engine -pubin -in "${KEY}" -pubout
    RESULT_VARIABLE result OUTPUT_VARIABLE token_key ERROR_VARIABLE errors)
  if(NOT result EQUAL 0 OR token_key STREQUAL "")
    # The engine's own words, without OpenSSL's error stack.
    string(REGEX REPLACE "[^\n]*(:error:|Engine \"pkcs11\" set)[^\n]*\n?" "" errors "${errors}")
    string(STRIP "${errors}" errors)
    string(REPLACE "\n" "; " errors "${errors}")
    fail_signing("no key '${KEY}' on a token of '${MODULE}': the token or the key is not there "
                 "(${errors}).")
  endif()
  if(NOT token_key STREQUAL certificate_key)
    string(REGEX MATCH "subject=[^\n]*" subject "${certificate}")
    fail_signing("the certificate in '${CERT}' (${subject}) does not match the key '${KEY}'.")
  endif()
  # Escaped, the URI's ";" stays inside its argument when the list is expanded.
  string(REPLACE ";" "\\;" key_argument "${KEY}")
  set(credentials -pkcs11module "${MODULE}" -certs "${CERT}" -key "${key_argument}")
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

# Without a time stamp the signature dies with the certificate, in one to
# three years, and every copy already downloaded then shows an unknown
# publisher; "none" is the vendor saying so on purpose.
set(timestamp)
set(stamp "")
if(TIMESTAMP_URL STREQUAL "")
  message(WARNING "The signature of ${program_name} has no time stamp: it stops being valid "
                  "when the certificate expires, and Windows then shows every copy as from an "
                  "unknown publisher. Set MBG_TIMESTAMP_URL to the certificate authority's "
                  "time-stamping server, or to none to sign without one on purpose.")
elseif(NOT TIMESTAMP_URL STREQUAL "none")
  set(timestamp -ts "${TIMESTAMP_URL}")
  set(stamp " with a time stamp from ${TIMESTAMP_URL}")
endif()
file(REMOVE "${signing}")
execute_process(
  COMMAND "${OSSLSIGNCODE}" sign ${credentials} -readpass "${PASSWORD_FILE}" -h sha256
          -n "meadowbrookgate_setup" -i "${URL}" -time "${signing_time}" ${timestamp}
          -in "${PROGRAM}" -out "${signing}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS "${signing}")
  if(NOT KEY STREQUAL "" AND output MATCHES "PIN incorrect|PIN_INCORRECT|PIN_LEN_RANGE")
    fail_wrong_secret(PIN "the token of '${KEY}'; it was tried once, as tokens lock after a few wrong PINs")
  endif()
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
