# qz_embed_resources(<target> <name>=<file> ...)
# Compiles each file into <target> as a named program resource, found at run
# time through qz::FindResource("<name>"). A relative file is looked for in
# the current source folder, then in the current binary folder. Installed
# with the package, so programs built against it embed their forms alike.
set(QZ_EMBED_FILE_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/QzEmbedFile.cmake")

function(qz_embed_resources target)
  set(generated)
  foreach(pair IN LISTS ARGN)
    string(FIND "${pair}" "=" eq)
    string(SUBSTRING "${pair}" 0 ${eq} name)
    math(EXPR valstart "${eq} + 1")
    string(SUBSTRING "${pair}" ${valstart} -1 file)
    if(NOT IS_ABSOLUTE "${file}")
      if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
        set(file "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
      else()
        set(file "${CMAKE_CURRENT_BINARY_DIR}/${file}")
      endif()
    endif()
    string(MAKE_C_IDENTIFIER "${name}" ident)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/qzres_${target}_${ident}.cpp")
    add_custom_command(
      OUTPUT "${out}"
      COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DNAME=${name} -DIDENT=${ident}
              -P "${QZ_EMBED_FILE_SCRIPT}"
      DEPENDS "${file}" "${QZ_EMBED_FILE_SCRIPT}"
      COMMENT "Embedding resource ${name}"
      VERBATIM)
    list(APPEND generated "${out}")
  endforeach()
  target_sources(${target} PRIVATE ${generated})
endfunction()
