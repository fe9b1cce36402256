# Build-time embedding of resource files into the portable core, so the help text and the About
# emblem are the same bytes natively and in the executable.
set(KARVOSS_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedFile.cmake)

function(karvoss_embed input symbol output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P ${KARVOSS_EMBED_SCRIPT}
    DEPENDS ${input} ${KARVOSS_EMBED_SCRIPT} VERBATIM)
endfunction()
