# orvane_generate(TARGET <target> DIAGRAM <file.fsm>
#                 [STYLE switch-case|pointers|pointer-array|hierarchical|default]
#                 [OUTPUT_DIRECTORY <dir>] [OPTIONS <switch>...])
#
# Generates the C module of a diagram (its .c and .h) into OUTPUT_DIRECTORY
# (default: the current binary folder), adds the .c to the target's sources
# and the folder to its include path. The module is generated again when the
# diagram, or any child diagram it reads (STYLE hierarchical), changes: the
# program writes a dependency file for the build tool. An unchanged module
# is not rewritten, so an edit that only moves nodes compiles nothing.
# STYLE default uses the style stored in the diagram. OPTIONS are further
# switches of the program (/D- /AC+ /PT+ /BF- ...).
function(orvane_generate)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "TARGET;DIAGRAM;STYLE;OUTPUT_DIRECTORY" "OPTIONS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "orvane_generate: unknown arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_TARGET OR NOT TARGET "${arg_TARGET}")
    message(FATAL_ERROR "orvane_generate: TARGET must name an existing target")
  endif()
  if(NOT arg_DIAGRAM)
    message(FATAL_ERROR "orvane_generate: DIAGRAM is required")
  endif()
  if(NOT arg_STYLE)
    set(arg_STYLE default)
  endif()
  set(styles switch-case pointers pointer-array hierarchical default)
  set(switches /CS /CP /CA /CH /C)
  list(FIND styles "${arg_STYLE}" style_index)
  if(style_index LESS 0)
    message(FATAL_ERROR "orvane_generate: STYLE must be one of ${styles}, not ${arg_STYLE}")
  endif()
  list(GET switches ${style_index} style_switch)

  get_filename_component(diagram "${arg_DIAGRAM}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  if(arg_OUTPUT_DIRECTORY)
    get_filename_component(output_dir "${arg_OUTPUT_DIRECTORY}" ABSOLUTE
                           BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  else()
    set(output_dir "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  # The program wants its output folder to exist.
  file(MAKE_DIRECTORY "${output_dir}")
  get_filename_component(base "${diagram}" NAME_WE)
  set(code "${output_dir}/${base}.c")
  set(header "${output_dir}/${base}.h")
  set(depfile "${output_dir}/${base}.fsm.d")

  add_custom_command(
    OUTPUT "${code}" "${header}"
    COMMAND Orvane::orvane "${diagram}" ${style_switch} "/O${output_dir}" "/E${output_dir}"
            ${arg_OPTIONS} "--depfile=${depfile}"
    DEPENDS "${diagram}"
    DEPFILE "${depfile}"
    COMMENT "Generating ${base}.c from ${base}.fsm"
    VERBATIM)
  target_sources(${arg_TARGET} PRIVATE "${code}" "${header}")
  target_include_directories(${arg_TARGET} PRIVATE "${output_dir}")
endfunction()
