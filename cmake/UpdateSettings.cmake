# The update service's build settings: the server's base address and the key that signs what it
# publishes. Kept apart so that tests/update/update-settings.cmake can try them without
# configuring the project.

# velmora_update_settings_problem(<out> <server> <key>): sets <out> to why the pair cannot be
# built, or to "" when it can.
#
# The key is 32 raw bytes in base64: 43 characters and one '='. CMake's regular expressions have
# no counted repetition, so the length is checked apart. The 43rd character carries only 4 bits
# of the key, the two low bits zero: one of A E I M Q U Y c g k o s w 0 4 8.
# A build that names a server is a release: it carries a key, and its server is https (a base
# without a scheme is taken as https), since anyone on the path of a plain-http server could
# answer in its place.
function(velmora_update_settings_problem out server key)
    set(problem "")
    string(LENGTH "${key}" key_length)
    if(NOT server MATCHES "^[A-Za-z0-9:/._~%+-]*$")
        set(problem "VELMORA_UPDATE_SERVER '${server}' is not a web address")
    elseif(NOT key STREQUAL "" AND
           (NOT key_length EQUAL 44 OR NOT key MATCHES "^[A-Za-z0-9+/]+[AEIMQUYcgkosw048]=$"))
        string(CONCAT problem "VELMORA_UPDATE_SIGNING_KEY is not a base64 Ed25519 public key "
               "(44 characters ending in '=', as packaging/make-update-manifest new-key prints)")
    elseif(NOT server STREQUAL "" AND key STREQUAL "")
        string(CONCAT problem "A build with the update server '${server}' must carry the key "
               "its updates are signed with: set VELMORA_UPDATE_SIGNING_KEY (see the README's "
               "release section)")
    elseif(server MATCHES "://" AND NOT server MATCHES "^[Hh][Tt][Tt][Pp][Ss]://")
        string(CONCAT problem "VELMORA_UPDATE_SERVER '${server}' must be an https address: "
               "the update service of a release build talks to its server over https only")
    endif()
    set(${out} "${problem}" PARENT_SCOPE)
endfunction()
