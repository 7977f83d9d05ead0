# Settings of the browser build (emscripten), included by the top CMakeLists.txt before the
# modules. The page itself is assembled in web/CMakeLists.txt.

# The libraries scripts/web-libs built (GoogleTest among them) are found in its prefix.
set(OCTAVANE_WEB_PREFIX "$ENV{OCTAVANE_WEB_PREFIX}" CACHE PATH
    "The prefix scripts/web-libs built the browser's libraries into")
if(NOT EXISTS "${OCTAVANE_WEB_PREFIX}/lib/libSDL2.a")
  message(FATAL_ERROR "No browser libraries in '${OCTAVANE_WEB_PREFIX}': run scripts/web-libs "
                      "and pass its prefix as OCTAVANE_WEB_PREFIX")
endif()
list(APPEND CMAKE_PREFIX_PATH ${OCTAVANE_WEB_PREFIX})
list(APPEND CMAKE_FIND_ROOT_PATH ${OCTAVANE_WEB_PREFIX})


# wasm's 128-bit SIMD, which every current browser runs.
option(OCTAVANE_WEB_SIMD "Compile the browser build with wasm SIMD (-msimd128)" ON)
if(OCTAVANE_WEB_SIMD)
  add_compile_options(-msimd128)
endif()

# The engine's tables and the test programs' fixtures outgrow the 16 MB wasm starts with.
add_link_options(-sALLOW_MEMORY_GROWTH=1)
