# cmake -P offline.cmake -DFOLDER=... -DTEMPLATE=...: writes FOLDER/service-worker.js, which keeps
# every page, manifest, picture and text of the built folder for offline use, under a cache named after
# their content.
file(GLOB files RELATIVE ${FOLDER} ${FOLDER}/*.html ${FOLDER}/*.webmanifest ${FOLDER}/*.png ${FOLDER}/*.txt)
list(SORT files)
set(content "")
set(names "")
foreach(file ${files})
  file(SHA256 ${FOLDER}/${file} hash)
  string(APPEND content "${file} ${hash}\n")
  string(APPEND names "'${file}', ")
endforeach()
string(SHA256 version "${content}")
string(SUBSTRING ${version} 0 16 version)
string(REGEX REPLACE ", $" "" files "${names}")
configure_file(${TEMPLATE} ${FOLDER}/service-worker.js @ONLY)
