# Copies the repository's text data (parameter files, shader sources, font description,
# camera path, instance files) into the game directory. file(COPY) skips files whose
# time stamps already match, so an unchanged tree costs next to nothing.
foreach(dir config shader media)
  if(EXISTS ${SRC}/${dir})
    file(COPY ${SRC}/${dir} DESTINATION ${DST})
  endif()
endforeach()
