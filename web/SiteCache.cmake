# Writes the site's service worker, SITE_DIR/sw.js, from TEMPLATE (web/sw.js.in): the list of
# the site's files it keeps, and its cache's name, "octavane-<VERSION>-<hash>", where the hash
# covers the name and the contents of every file of the site but sw.js itself. Any change to the
# site gives the worker another name, and browsers take the new site at the next visit.
#
#   cmake -DSITE_DIR=... -DTEMPLATE=.../sw.js.in -DVERSION=2.3.0 -P SiteCache.cmake
foreach(variable SITE_DIR TEMPLATE VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "SiteCache.cmake needs -D${variable}=...")
  endif()
endforeach()

file(GLOB_RECURSE site_files RELATIVE ${SITE_DIR} LIST_DIRECTORIES false ${SITE_DIR}/*)
list(REMOVE_ITEM site_files sw.js)
list(SORT site_files)
set(digests "")
set(quoted "")
foreach(site_file ${site_files})
  file(SHA256 ${SITE_DIR}/${site_file} digest)
  string(APPEND digests "${site_file} ${digest}\n")
  list(APPEND quoted "'${site_file}'")
endforeach()
string(SHA256 site_hash "${digests}")
string(SUBSTRING ${site_hash} 0 16 site_hash)

set(OCTAVANE_CACHE_NAME "octavane-${VERSION}-${site_hash}")
list(JOIN quoted ", " OCTAVANE_SITE_FILES)
configure_file(${TEMPLATE} ${SITE_DIR}/sw.js @ONLY)
