# Warning and sanitizer flags, applied per target through kv_target_defaults().

add_library(kv_options INTERFACE)
target_compile_options(kv_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wno-missing-field-initializers)

if(WIN32)
    # Unicode Win32 API, no min/max macros, Windows 10 API level; one self-contained exe that imports only
    # system DLLs.
    target_compile_definitions(kv_options INTERFACE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00)
    target_link_options(kv_options INTERFACE -static -static-libgcc -static-libstdc++)
elseif(KVMULTI_FUZZ)
    # libFuzzer coverage everywhere; each fuzz target adds -fsanitize=fuzzer (the fuzzer's main) itself.
    target_compile_options(kv_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined -fsanitize-ignorelist=${CMAKE_CURRENT_LIST_DIR}/ubsan-ignore.txt)
    target_link_options(kv_options INTERFACE -fsanitize=address,undefined)
elseif(KVMULTI_SANITIZE)
    target_compile_options(kv_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(kv_options INTERFACE -fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)
target_link_libraries(kv_options INTERFACE Threads::Threads)
