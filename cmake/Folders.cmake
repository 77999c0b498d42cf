# The source folders are layers, each linked only to those below it:
#
#   morse, settings, audio, text, speech, CWSender, recording, decoder, keying, sending, engine,
#   session, scoring, drills, ui, tools
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

# A program run from the build tree finds the shipped word, QSO and text files beside
# itself, as an installed one finds them in ../share/lumbrel: every folder of the build
# tree that holds a program gets links to the three data folders of the source tree.
# Nothing of the source tree's place is compiled into the programs.
function(lumbrel_link_data_beside_programs)
    set(dirs "${PROJECT_SOURCE_DIR}")
    set(program_dirs)
    while(dirs)
        list(POP_FRONT dirs dir)
        get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
        list(APPEND dirs ${subdirs})
        get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            get_target_property(type ${target} TYPE)
            if(type STREQUAL "EXECUTABLE")
                get_target_property(output ${target} RUNTIME_OUTPUT_DIRECTORY)
                if(NOT output)
                    get_target_property(output ${target} BINARY_DIR)
                endif()
                list(APPEND program_dirs "${output}")
            endif()
        endforeach()
    endwhile()
    list(REMOVE_DUPLICATES program_dirs)
    foreach(dir IN LISTS program_dirs)
        foreach(data "Word Files" "QSO Files" "Text Files")
            file(MAKE_DIRECTORY "${dir}")
            file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${data}" "${dir}/${data}" SYMBOLIC)
        endforeach()
    endforeach()
endfunction()
