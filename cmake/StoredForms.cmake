# Stored forms for a Windows executable: each text description <Class>.form
# becomes the RCDATA resource <Class>, compiled by the native build's formres
# (make builds the native tree before the Windows one). The resource file
# listing them is returned in OUT_RC, to be added to the executable's sources;
# EXTRA lines go into it as they stand. A target of the given name builds the
# compiled forms.
set(PLIMET_FORMRES ${CMAKE_BINARY_DIR}/../native/tools/formres CACHE FILEPATH "The native form compiler")

function(plimet_stored_forms out_rc target)
  cmake_parse_arguments(ARG "" "" "FORMS;EXTRA" ${ARGN})
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target})
  set(content "// Stored forms, compiled from their descriptions by formres.\n")
  set(outputs)
  foreach(form ${ARG_FORMS})
    get_filename_component(class ${form} NAME_WE)
    get_filename_component(form ${form} ABSOLUTE)
    set(compiled ${dir}/${class}.bin)
    add_custom_command(OUTPUT ${compiled}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
                       COMMAND ${PLIMET_FORMRES} ${form} ${compiled} ${class}
                       DEPENDS ${form} ${PLIMET_FORMRES}
                       COMMENT "Compiling the stored form ${class}")
    string(APPEND content "${class} RCDATA \"${compiled}\"\n")
    list(APPEND outputs ${compiled})
  endforeach()
  foreach(line ${ARG_EXTRA})
    string(APPEND content "${line}\n")
  endforeach()
  set(rc ${dir}/${target}.rc)
  file(GENERATE OUTPUT ${rc} CONTENT "${content}")
  set_source_files_properties(${rc} PROPERTIES GENERATED TRUE OBJECT_DEPENDS "${outputs}")
  add_custom_target(${target} DEPENDS ${outputs})
  set(${out_rc} ${rc} PARENT_SCOPE)
endfunction()
