# kv_sample_pe(<target> <folder>): builds the two tiny sample programs of tests/data/sample-pe with the
# mingw-w64 tools into <folder>: "versioned.exe" (a VERSIONINFO resource, file version 14.0.1.2) and
# "plain.exe" (no resources). Native tests and fuzz seeds read them as real PE files made by our toolchain.
find_program(KV_MINGW_GCC NAMES x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-gcc REQUIRED)
find_program(KV_MINGW_WINDRES x86_64-w64-mingw32-windres REQUIRED)

function(kv_sample_pe target folder)
    set(src ${PROJECT_SOURCE_DIR}/tests/data/sample-pe)
    set(flags -nostdlib -e entry -s)
    add_custom_command(OUTPUT ${folder}/versioned.exe ${folder}/plain.exe
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${KV_MINGW_WINDRES} ${src}/sample.rc -O coff -o ${folder}/sample.res.o
        COMMAND ${KV_MINGW_GCC} ${flags} -o ${folder}/versioned.exe ${src}/sample.c ${folder}/sample.res.o
        COMMAND ${KV_MINGW_GCC} ${flags} -o ${folder}/plain.exe ${src}/sample.c
        DEPENDS ${src}/sample.c ${src}/sample.rc
        COMMENT "Building the sample PE files"
        VERBATIM)
    add_custom_target(${target} DEPENDS ${folder}/versioned.exe ${folder}/plain.exe)
endfunction()
