# AddressSanitizer and UndefinedBehaviorSanitizer over everything we compile;
# the first report ends the process.
set(UMBRANT_SANITIZER_FLAGS
  -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${UMBRANT_SANITIZER_FLAGS})
add_link_options(${UMBRANT_SANITIZER_FLAGS})

# The sanitizer tree's Resources/ gets the files kept in the repository
# (shaders, the game's own GUI files); the build generates the rest into it.
function(umbrant_copy_tracked_resources)
  set(source ${CMAKE_SOURCE_DIR}/Resources)
  file(GLOB tracked CONFIGURE_DEPENDS RELATIVE ${source}
    ${source}/ShaderPrograms/* "${source}/CEGUI datafiles/*/Umbrant*")
  set(copies)
  foreach(file IN LISTS tracked)
    add_custom_command(OUTPUT "${UMBRANT_RESOURCES_DIR}/${file}"
      COMMAND ${CMAKE_COMMAND} -E copy "${source}/${file}" "${UMBRANT_RESOURCES_DIR}/${file}"
      DEPENDS "${source}/${file}"
      VERBATIM)
    list(APPEND copies "${UMBRANT_RESOURCES_DIR}/${file}")
  endforeach()
  add_custom_target(umbrant_tracked_resources ALL DEPENDS ${copies})
  add_dependencies(umbrant umbrant_tracked_resources)
endfunction()
