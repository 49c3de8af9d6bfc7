# Third-party libraries. Every one is installed by scripts/setup.sh, never copied into this tree:
#
# | library      | native build                  | Windows build                                        |
# |--------------|-------------------------------|------------------------------------------------------|
# | RapidJSON    | Debian rapidjson-dev          | the same headers (header only)                       |
# | stb_image    | Debian libstb-dev             | the same headers (header only)                       |
# | GoogleTest   | Debian libgtest-dev           | built from /usr/src/googletest (Debian libgtest-dev) |
# | pugixml      | Debian libpugixml-dev         | Debian source package, built by setup.sh             |
# | libcurl      | Debian libcurl4-openssl-dev   | Debian source package (Schannel), built by setup.sh  |
# | spdlog       | Debian libspdlog-dev          | not used (benchmark comparison only)                 |
# | 7za.exe      | Debian 7zip (7zz) for tests   | npm 7zip-bin, installed by setup.sh                  |
# | openssl      | Debian openssl: the HTTPS test server (s_server) and its self-signed certificate, both builds |

if(NOT KVMULTI_DEPS_DIR AND DEFINED ENV{KVMULTI_DEPS})
    set(KVMULTI_DEPS_DIR "$ENV{KVMULTI_DEPS}")
endif()
if(NOT KVMULTI_DEPS_DIR)
    set(KVMULTI_DEPS_DIR "$ENV{HOME}/.cache/kvmulti-deps")
endif()

# Header-only libraries live in /usr/include, which must never be on the mingw include path (glibc's headers
# would shadow mingw's): expose exactly their own folders through a folder of links.
set(KV_HEADER_ONLY_DIR ${CMAKE_BINARY_DIR}/third_party_include)
file(MAKE_DIRECTORY ${KV_HEADER_ONLY_DIR})
foreach(dir rapidjson stb)
    if(NOT EXISTS ${KV_HEADER_ONLY_DIR}/${dir})
        file(CREATE_LINK /usr/include/${dir} ${KV_HEADER_ONLY_DIR}/${dir} SYMBOLIC)
    endif()
endforeach()
add_library(kv_header_only INTERFACE)
target_include_directories(kv_header_only SYSTEM INTERFACE ${KV_HEADER_ONLY_DIR})

if(WIN32)
    set(KV_MINGW_PREFIX ${KVMULTI_DEPS_DIR}/mingw)
    if(NOT EXISTS ${KV_MINGW_PREFIX}/lib/libcurl.a OR NOT EXISTS ${KV_MINGW_PREFIX}/lib/libpugixml.a)
        message(FATAL_ERROR "mingw libraries missing in ${KV_MINGW_PREFIX}: run scripts/setup.sh first")
    endif()
    add_library(kv_curl STATIC IMPORTED)
    set_target_properties(kv_curl PROPERTIES IMPORTED_LOCATION ${KV_MINGW_PREFIX}/lib/libcurl.a
        INTERFACE_INCLUDE_DIRECTORIES ${KV_MINGW_PREFIX}/include
        INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
        INTERFACE_LINK_LIBRARIES "ws2_32;crypt32;bcrypt;secur32;wldap32;advapi32")
    add_library(kv_pugixml STATIC IMPORTED)
    set_target_properties(kv_pugixml PROPERTIES IMPORTED_LOCATION ${KV_MINGW_PREFIX}/lib/libpugixml.a
        INTERFACE_INCLUDE_DIRECTORIES ${KV_MINGW_PREFIX}/include)
    set(KV_7ZA_EXE ${KVMULTI_DEPS_DIR}/npm/node_modules/7zip-bin/win/x64/7za.exe)

    # GoogleTest from Debian's sources, compiled by the cross compiler.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL) # defines GTest::*
else()
    find_package(GTest REQUIRED)
    find_package(CURL REQUIRED)
    add_library(kv_curl INTERFACE)
    target_link_libraries(kv_curl INTERFACE CURL::libcurl)
    find_package(pugixml REQUIRED)
    add_library(kv_pugixml INTERFACE)
    target_link_libraries(kv_pugixml INTERFACE pugixml::pugixml)
    find_program(KV_7ZZ 7zz)
endif()
