# The browser's platform layer, included by ../CMakeLists.txt when building with emscripten.
#
# A source in this folder stands in for the file of the same name in any of platform's other
# folders and joins that file's library; one with no namesake joins platform_sdl. The libraries
# come from the prefix scripts/web-libs builds (OCTAVANE_WEB_PREFIX, checked in web/WebBuild.cmake),
# linked as archives by their full path: emscripten takes -lSDL2_mixer and the like as requests
# for its own downloadable ports.

# Replaces the namesake of `web_source` in the list `sources`; sets `replaced` when there was one.
function(platform_web_replace sources web_source)
  get_filename_component(web_name ${web_source} NAME)
  set(kept)
  set(found FALSE)
  foreach(source ${${sources}})
    get_filename_component(name ${source} NAME)
    if(name STREQUAL web_name)
      set(found TRUE)
      list(APPEND kept ${web_source})
    else()
      list(APPEND kept ${source})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES kept)
  set(${sources} ${kept} PARENT_SCOPE)
  set(replaced ${found} PARENT_SCOPE)
endfunction()

file(GLOB platform_web_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
foreach(web_source ${platform_web_sources})
  platform_web_replace(platform_core_sources ${web_source})
  if(NOT replaced)
    platform_web_replace(platform_sdl_sources ${web_source})
  endif()
  if(NOT replaced)
    list(APPEND platform_sdl_sources ${web_source})
  endif()
endforeach()
# PNG frames are written by the desktop's tests only; the browser has no SDL2_image.
list(REMOVE_ITEM platform_sdl_sources ${CMAKE_CURRENT_SOURCE_DIR}/sdl/PngFrame.cpp)
set(platform_gl_api_dir ${CMAKE_CURRENT_LIST_DIR})

if(NOT TARGET OctavaneWeb::libraries)
  add_library(OctavaneWeb::libraries INTERFACE IMPORTED GLOBAL)
  set(web_lib ${OCTAVANE_WEB_PREFIX}/lib)
  target_include_directories(OctavaneWeb::libraries INTERFACE
    ${OCTAVANE_WEB_PREFIX}/include/SDL2 ${OCTAVANE_WEB_PREFIX}/include
    ${OCTAVANE_WEB_PREFIX}/include/freetype2)
  # In the order the linker needs them: each before what it uses.
  target_link_libraries(OctavaneWeb::libraries INTERFACE
    ${web_lib}/libSDL2_ttf.a ${web_lib}/libSDL2_mixer.a ${web_lib}/libharfbuzz.a
    ${web_lib}/libfreetype.a ${web_lib}/libSDL2.a)
  target_link_options(OctavaneWeb::libraries INTERFACE
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2)
endif()
