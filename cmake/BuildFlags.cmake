# The flags a distribution builds its programs with, for every target of the tree.
#
# No path of the build machine in the binaries: __FILE__ and the debug information name
# the source and build trees by relative paths, so two builds of the same tree in
# different folders give the same programs.
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")

# Hardening: the compiler and linker flags of dpkg-buildflags with every hardening
# feature on (stack protector, fortified functions, format checks, read-only
# relocations, immediate binding). Its optimisation, debug and file-prefix flags are
# left to the build type and the lines above. Off in sanitizer and fuzzing builds,
# whose run-time libraries do not mix with fortified functions, and without
# optimisation, where fortification does nothing but warn.
option(LUMBREL_HARDENING "Build with the hardening flags of dpkg-buildflags" ON)
find_program(LUMBREL_DPKG_BUILDFLAGS dpkg-buildflags)
string(TOUPPER "${CMAKE_BUILD_TYPE}" _lumbrel_build_type)
if(LUMBREL_HARDENING AND LUMBREL_DPKG_BUILDFLAGS AND NOT LUMBREL_SANITIZE AND NOT LUMBREL_FUZZ
   AND _lumbrel_build_type MATCHES "^(RELEASE|RELWITHDEBINFO|MINSIZEREL)$")
    set(_lumbrel_hardening_flags)
    foreach(_kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    DEB_CPPFLAGS_MAINT_STRIP= DEB_CXXFLAGS_MAINT_STRIP= DEB_LDFLAGS_MAINT_STRIP=
                    ${LUMBREL_DPKG_BUILDFLAGS} --get ${_kind}
            OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _status)
        if(NOT _status EQUAL 0)
            message(FATAL_ERROR "dpkg-buildflags --get ${_kind} failed; configure with -DLUMBREL_HARDENING=OFF")
        endif()
        separate_arguments(_flags UNIX_COMMAND "${_flags}")
        list(FILTER _flags EXCLUDE REGEX "^-(O.*|g.*|f(file|debug|macro)-prefix-map=.*)$")
        if(_kind STREQUAL "LDFLAGS")
            add_link_options(${_flags})
        else()
            add_compile_options(${_flags})
        endif()
        list(APPEND _lumbrel_hardening_flags ${_flags})
    endforeach()
    list(REMOVE_DUPLICATES _lumbrel_hardening_flags)
    string(REPLACE ";" " " _lumbrel_hardening_flags "${_lumbrel_hardening_flags}")
    message(STATUS "Hardening flags: ${_lumbrel_hardening_flags}")
endif()
