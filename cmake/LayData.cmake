# Lays the files of data/ beside the program (cmake -DSOURCE=... -DTARGET=... -P).
# The settings file is laid only when there is none yet: the one beside the
# program holds the user's settings from the first run on.
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(file IN LISTS files)
  if(file STREQUAL "Calvoro.ini" AND EXISTS "${TARGET}/${file}")
    continue()
  endif()
  get_filename_component(folder "${TARGET}/${file}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${SOURCE}/${file}" "${TARGET}/${file}" ONLY_IF_DIFFERENT)
endforeach()
