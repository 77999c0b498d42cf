# Warnings for every target of ours; errors too when LUMBREL_WERROR is on (the test build).
# Every target of ours passes here, so it also gets the shared precompiled header.
include(${CMAKE_CURRENT_LIST_DIR}/Precompiled.cmake)
function(lumbrel_warnings target)
    lumbrel_precompile(${target})
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
            -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual -Wformat=2)
        if(LUMBREL_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    elseif(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${LUMBREL_WERROR}>:/WX>)
    endif()
endfunction()
