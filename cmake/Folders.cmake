# The source folders are layers, each linked only to those below it:
#
#   morse, settings, audio, text, CWSender, recording, keying, session, scoring, drills, ui, tools
#
# A folder's headers are included by folder and name ("morse/MorseCode.h"). The source
# root is on no include path: each folder library offers a folder of the build tree
# that holds one link, named after the folder, to that folder alone. So a file sees only
# the folders its target links, and an include of a higher folder does not compile.

# Sets OUT to the include folder that shows FOLDER (a folder of the source root) alone.
function(lumbrel_folder_include_dir folder out)
    set(dir "${PROJECT_BINARY_DIR}/folders/${folder}")
    file(MAKE_DIRECTORY "${dir}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${dir}/${folder}" SYMBOLIC)
    set(${out} "${dir}" PARENT_SCOPE)
endfunction()

# lumbrel_folder_library(FOLDER [LINKS targets...] SOURCES files...)
# The static library lumbrel-<folder in lower case> of the current source folder, which
# must be FOLDER: its sources, its headers seen as "FOLDER/...", and the lower folder
# libraries (and other libraries) its headers need, linked publicly.
function(lumbrel_folder_library folder)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LINKS")
    string(TOLOWER "lumbrel-${folder}" target)
    lumbrel_folder_include_dir(${folder} include_dir)
    add_library(${target} STATIC ${arg_SOURCES})
    target_include_directories(${target} PUBLIC "${include_dir}")
    target_link_libraries(${target} PUBLIC Qt6::Core ${arg_LINKS})
    target_compile_definitions(${target} PUBLIC QT_NO_KEYWORDS)
    lumbrel_warnings(${target})
    set_property(GLOBAL APPEND PROPERTY LUMBREL_FOLDER_LIBRARIES ${target})
endfunction()
